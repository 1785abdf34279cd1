#include "ImpExpFixture.h"

#include "grid/core/DBGridGxFooter.h"
#include "grid/core/DBGridGxSelection.h"
#include "platform/classlib/core/Colors.h"
#include "platform/winapi/gdi/WinGdi.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using TSelection = IImpExpGridGx::TSelection;

// RFC 4180 with a chosen separator: quoted fields may hold separators, quotes (doubled) and line
// breaks; records end with CR LF.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text, char separator)
{
    std::vector<std::vector<std::string>> records(1);
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            EXPECT_TRUE(field.empty()) << "quote inside an unquoted field";
            quoted = wasQuoted = true;
        } else if (c == separator) {
            records.back().push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            records.back().push_back(field);
            field.clear();
            records.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_FALSE(quoted) << "unterminated quote";
    if (wasQuoted || !field.empty() || !records.back().empty())
        records.back().push_back(field);
    return records;
}

// A small RTF reader: groups, control words with their parameters, control symbols and text.
struct RtfDocument {
    bool Balanced = true;
    std::vector<COLORREF> Colors;
    std::vector<std::string> Fonts;
    std::vector<int> CellEdges;
    int Rows = 0;
    std::vector<std::vector<std::string>> RowTexts{{}};
};

RtfDocument ReadRtf(const std::string& text)
{
    RtfDocument doc;
    std::vector<std::string> groups; // the first control word of each open group
    std::string cell;
    int red = 0, green = 0, blue = 0;
    std::string fontName;
    const auto inGroup = [&](const char* word) {
        for (const std::string& g : groups)
            if (g == word)
                return true;
        return false;
    };
    bool groupStart = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '{') {
            groups.emplace_back();
            groupStart = true;
            ++i;
        } else if (c == '}') {
            if (groups.empty())
                doc.Balanced = false;
            else
                groups.pop_back();
            ++i;
        } else if (c == '\\' && i + 1 < text.size() && std::strchr("\\{}", text[i + 1])) {
            cell += text[i + 1];
            i += 2;
        } else if (c == '\\') {
            std::size_t j = i + 1;
            while (j < text.size() && std::isalpha(static_cast<unsigned char>(text[j])))
                ++j;
            const std::string word = text.substr(i + 1, j - i - 1);
            std::size_t k = j;
            if (k < text.size() && (text[k] == '-' || std::isdigit(static_cast<unsigned char>(text[k]))))
                ++k;
            while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])))
                ++k;
            const int parameter = k > j ? std::stoi(text.substr(j, k - j)) : 0;
            i = k < text.size() && text[k] == ' ' ? k + 1 : k;
            if (groupStart && !groups.empty())
                groups.back() = word;
            groupStart = false;
            if (word == "red")
                red = parameter;
            else if (word == "green")
                green = parameter;
            else if (word == "blue")
                blue = parameter;
            else if (word == "cellx")
                doc.CellEdges.push_back(parameter);
            else if (word == "pard")
                cell.clear();
            else if (word == "cell") {
                doc.RowTexts.back().push_back(cell);
                cell.clear();
            } else if (word == "row") {
                ++doc.Rows;
                doc.RowTexts.emplace_back();
            } else if (word == "tab")
                cell += '\t';
            else if (word == "line")
                cell += '\n';
            else if (word == "u") {
                cell += "<u" + std::to_string(parameter) + ">";
                if (i < text.size() && text[i] == '?')
                    ++i;
            }
        } else {
            groupStart = false;
            if (inGroup("colortbl") && c == ';')
                doc.Colors.push_back(RGB(red, green, blue));
            else if (inGroup("fonttbl") && c == ';') {
                doc.Fonts.push_back(fontName);
                fontName.clear();
            } else if (inGroup("fonttbl"))
                fontName += c;
            else if (c != '\r' && c != '\n')
                cell += c;
            ++i;
        }
    }
    doc.Balanced = doc.Balanced && groups.empty();
    doc.RowTexts.pop_back();
    return doc;
}

std::string Int32(std::int32_t value)
{
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

class ExportTest : public ImpExpFixture {
protected:
    void SetUp() override
    {
        ImpExpFixture::SetUp();
        ShowPeople();
        AddFooters();
    }
};

TEST_F(ExportTest, TextOfEachSelectionKindWithTitlesAndFootersOverTheExportedRecordsOnly)
{
    struct Case {
        const char* name;
        std::function<void()> select;
        const char* expected;
    };
    const Case cases[] = {
        {"all", [&] { m_grid->Kind = TSelection::All; },
         "Name\tNumber\tAMOUNT\r\nAnn\t10\t1.5\r\nBo \"Boss\"\t20\t2.25\r\nCy;\tDee\t30\t\r\n3\t60\ttotal"},
        {"bookmarks in selection order",
         [&] {
             m_grid->Kind = TSelection::RecordBookmarks;
             m_grid->Bookmarks = {BookmarkOf(3), BookmarkOf(1)};
         },
         "Name\tNumber\tAMOUNT\r\nCy;\tDee\t30\t\r\nAnn\t10\t1.5\r\n2\t40\ttotal"},
        {"rectangle",
         [&] {
             m_grid->Kind = TSelection::Rectangle;
             m_grid->Rectangle = {1, 2, BookmarkOf(1), BookmarkOf(2)};
         },
         "Number\tAMOUNT\r\n10\t1.5\r\n20\t2.25\r\n30\ttotal"},
        {"rectangle whose bottom is never met stops at the end",
         [&] {
             m_grid->Kind = TSelection::Rectangle;
             m_grid->Rectangle = {0, 1, BookmarkOf(2), BookmarkOf(1)};
         },
         "Name\tNumber\r\nBo \"Boss\"\t20\r\nCy;\tDee\t30\r\n2\t50"},
        {"columns in selection order",
         [&] {
             m_grid->Kind = TSelection::Columns;
             m_grid->Columns = {&Column(2), &Column(0)};
         },
         "AMOUNT\tName\r\n1.5\tAnn\r\n2.25\tBo \"Boss\"\r\n\tCy;\tDee\r\ntotal\t3"},
        {"nothing selected", [&] { m_grid->Kind = TSelection::None; }, ""},
    };
    for (const Case& c : cases) {
        m_query->Last();
        c.select();
        EXPECT_EQ(Export(TDBGridGxExportAsText::Create), c.expected) << c.name;
        EXPECT_EQ(m_query->RecNo(), 3) << c.name << ": the position comes back";
        EXPECT_FALSE(m_query->ControlsDisabled()) << c.name;
    }
}

TEST_F(ExportTest, WithoutTitlesNoTitleRowAndAllExportsEverythingWhateverIsSelected)
{
    m_db->SetOptions(m_db->Options() - TDBGridOptions{dgTitles});
    m_grid->FooterRows = 0;
    m_grid->Kind = TSelection::Columns;
    m_grid->Columns = {&Column(1)};
    EXPECT_EQ(Export(TDBGridGxExportAsText::Create, true), "Ann\t10\t1.5\r\nBo \"Boss\"\t20\t2.25\r\nCy;\tDee\t30\t");
}

TEST_F(ExportTest, CsvReadsBackCellForCell)
{
    m_grid->Kind = TSelection::All;
    const std::string csv = Export(TDBGridGxExportAsCSV::Create);
    EXPECT_NE(csv.find("\"Bo \"\"Boss\"\"\""), std::string::npos);
    const std::vector<std::vector<std::string>> expected = {{"Name", "Number", "AMOUNT"},
                                                            {"Ann", "10", "1.5"},
                                                            {"Bo \"Boss\"", "20", "2.25"},
                                                            {"Cy;\tDee", "30", ""},
                                                            {"3", "60", "total"}};
    EXPECT_EQ(ReadCsv(csv, ';'), expected);

    DBGridGxCSVSeparator = ',';
    const std::string comma = Export(TDBGridGxExportAsCSV::Create);
    DBGridGxCSVSeparator = ';';
    EXPECT_EQ(ReadCsv(comma, ','), expected);
}

TEST_F(ExportTest, RtfIsABalancedTableOfTitleRecordsAndFooters)
{
    m_grid->Kind = TSelection::All;
    Exec("UPDATE P SET NAME = 'Ann {\\x}' || char(13) || char(10) || 'Ré' WHERE ID = 1");
    m_query->Close();
    m_query->Open();
    const std::string rtf = Export(TDBGridGxExportAsRTF::Create);
    ASSERT_EQ(rtf.rfind("{\\rtf0\\ansi\r\n{\\colortbl", 0), 0u) << rtf.substr(0, 40);
    const RtfDocument doc = ReadRtf(rtf);
    EXPECT_TRUE(doc.Balanced);
    ASSERT_GE(doc.Colors.size(), 3u);
    EXPECT_EQ(doc.Colors[0], RGB(0, 0, 0));
    EXPECT_EQ(doc.Colors[1], RGB(255, 255, 255));
    EXPECT_EQ(doc.Colors[2], ColorToRGB(clBtnFace));
    ASSERT_EQ(doc.Fonts.size(), 1u);
    EXPECT_EQ(doc.Fonts[0], m_db->Font()->Name());
    EXPECT_EQ(doc.Rows, 5);
    const std::vector<std::vector<std::string>> expected = {{"Name", "Number", "AMOUNT"},
                                                            {"Ann {\\x}\nR<u233>", "10", "1.5"},
                                                            {"Bo \"Boss\"", "20", "2.25"},
                                                            {"Cy;\tDee", "30", ""},
                                                            {"3", "60", "total"}};
    std::vector<std::vector<std::string>> texts = doc.RowTexts;
    EXPECT_EQ(texts, expected);
    const int twips = static_cast<int>(std::lround(96 * 1440.0 / m_grid->PixelsPerInch()));
    ASSERT_EQ(doc.CellEdges.size(), 15u);
    EXPECT_EQ(std::vector<int>(doc.CellEdges.begin(), doc.CellEdges.begin() + 3),
              (std::vector<int>{twips, 2 * twips, 3 * twips}));
}

TEST_F(ExportTest, RtfOfNothingSelectedIsEmpty)
{
    EXPECT_EQ(Export(TDBGridGxExportAsRTF::Create), "");
}

TEST_F(ExportTest, RtfMultiLevelTitlesSpanTheirColumns)
{
    Column(0).Title()->SetCaption("Person|Name");
    Column(1).Title()->SetCaption("Person|Number");
    m_grid->TitleRoot = THeadTreeNode::CreateRoot();
    m_grid->Leaves = m_grid->TitleRoot->BuildFromColumns(m_db->Columns(), 20, true);
    m_grid->Kind = TSelection::All;
    const std::string rtf = Export(TDBGridGxExportAsRTF::Create);
    const RtfDocument doc = ReadRtf(rtf);
    EXPECT_TRUE(doc.Balanced);
    EXPECT_EQ(doc.Rows, 6);
    ASSERT_GE(doc.RowTexts.size(), 2u);
    EXPECT_EQ(doc.RowTexts[0], (std::vector<std::string>{"Person", "", "AMOUNT"}));
    EXPECT_EQ(doc.RowTexts[1], (std::vector<std::string>{"Name", "Number", ""}));
    // The group's two places share one frame: no border between them, none under "AMOUNT".
    const std::string firstRow = rtf.substr(0, rtf.find("{\\trrh0"));
    const auto count = [&](const std::string& word) {
        std::size_t n = 0;
        for (std::size_t at = firstRow.find(word); at != std::string::npos; at = firstRow.find(word, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("\\clbrdrl"), 2u);
    EXPECT_EQ(count("\\clbrdrr"), 2u);
    EXPECT_EQ(count("\\clbrdrb"), 2u);
    EXPECT_EQ(count("\\clbrdrt"), 3u);
}

// The grid's own multi-line titles reach the RTF, and a footer with a font of its own exports
// in that font.
TEST_F(ExportTest, TheDataGridsMultiLineTitlesAndFooterFontsReachTheRtf)
{
    TDBGridGxImpExpAdapter grid(*m_db);
    Column(0).Title()->SetCaption("Person|Name");
    Column(1).Title()->SetCaption("Person|Number");
    m_db->SetUseMultiTitle(true);
    m_db->SetFooterRowCount(1);
    Column(1).Footer()->SetValueType(fvtSum);
    Column(1).Footer()->Font()->SetName("Courier New");
    TMemoryStreamGx stream;
    ExportGridToStream(TDBGridGxExportAsRTF::Create, grid, stream, true);
    const RtfDocument doc = ReadRtf(StreamText(stream));
    EXPECT_TRUE(doc.Balanced);
    ASSERT_GE(doc.RowTexts.size(), 2u);
    EXPECT_EQ(doc.RowTexts[0], (std::vector<std::string>{"Person", "", "AMOUNT"}));
    EXPECT_EQ(doc.RowTexts[1], (std::vector<std::string>{"Name", "Number", ""}));
    EXPECT_NE(std::find(doc.Fonts.begin(), doc.Fonts.end(), "Courier New"), doc.Fonts.end());
}

TEST_F(ExportTest, VcldbifCarriesTypedValuesAndNothingElse)
{
    m_grid->Kind = TSelection::RecordBookmarks;
    m_grid->Bookmarks = {BookmarkOf(3), BookmarkOf(1)};
    double amount = 1.5;
    std::string amountBytes(8, '\0');
    std::memcpy(amountBytes.data(), &amount, 8);
    const std::string header = std::string("VCLDBIF\x01", 8) + Int32(3) + std::string("\x01\x00\x01\x00\x01\x00", 6);
    EXPECT_EQ(Export(TDBGridGxExportAsVCLDBIF::Create),
              header + "\x06" + Int32(7) + "Cy;\tDee" + "\x03" + Int32(30) + "\x02" + //
                  "\x06" + Int32(3) + "Ann" + "\x03" + Int32(10) + "\x04" + amountBytes + std::string(1, '\0'));

    Show("SELECT * FROM P WHERE ID > 9", {"NAME", "NUM", "AMOUNT"});
    EXPECT_EQ(Export(TDBGridGxExportAsVCLDBIF::Create, true), header + std::string(1, '\0'));
}

TEST_F(ExportTest, TheDataGridItselfExportsWithItsCellColoursAndCurrentColumn)
{
    TDBGridGxImpExpAdapter grid(*m_db);
    m_db->SetOnGetCellParams(TGetCellParamsEventGx::FromFunction(
        [](TObject*, TColumnGx* column, TFont*, TColor& background, TGridDrawState) {
            if (column->FieldName() == "NUM")
                background = clRed;
        }));
    TMemoryStreamGx stream;
    ExportGridToStream(TDBGridGxExportAsRTF::Create, grid, stream, true);
    const RtfDocument doc = ReadRtf(StreamText(stream));
    EXPECT_EQ(doc.Rows, 4);
    EXPECT_NE(std::find(doc.Colors.begin(), doc.Colors.end(), RGB(255, 0, 0)), doc.Colors.end());

    // Nothing selected: only the whole data set is exported.
    TMemoryStreamGx selection;
    ExportGridToStream(TDBGridGxExportAsText::Create, grid, selection, false);
    EXPECT_EQ(selection.Size(), 0);

    m_query->SetRecNo(2);
    grid.SetCurrentColumn(&Column(1));
    EXPECT_EQ(grid.CurrentColumn(), &Column(1));
    TMemoryStreamGx text;
    text.WriteBuffer("21\t9", 5);
    text.SetPosition(0);
    ImportGridFromStream(TDBGridGxImportAsText::Create, grid, text, false);
    EXPECT_EQ(Stored()[1], "Bo \"Boss\"|21|9");
    EXPECT_EQ(m_query->RecNo(), 2);
}

TEST_F(ExportTest, TheDataGridsOwnSelectionAndFootersAreExported)
{
    TDBGridGxImpExpAdapter grid(*m_db);
    m_db->SetOptions(m_db->Options() + TDBGridOptions{dgMultiSelect});
    m_db->SetFooterRowCount(1);
    Column(1).Footer()->SetValueType(fvtSum);
    for (const int record : {3, 1}) {
        m_query->SetRecNo(record);
        m_db->SelectedRows().MarkCurrent(true);
    }
    ASSERT_EQ(grid.SelectionKind(), TSelection::RecordBookmarks);
    TMemoryStreamGx text;
    ExportGridToStream(TDBGridGxExportAsText::Create, grid, text, false);
    EXPECT_EQ(StreamText(text), "Name\tNumber\tAMOUNT\r\nAnn\t10\t1.5\r\nCy;\tDee\t30\t\r\n\t40\t");

    grid.ClearSelection();
    EXPECT_EQ(grid.SelectionKind(), TSelection::None);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 0);
}

TEST_F(ExportTest, ASelectedRecordDeletedOutsideTheGridIsLeftOut)
{
    TDBGridGxImpExpAdapter grid(*m_db);
    m_db->SetOptions(m_db->Options() + TDBGridOptions{dgMultiSelect});
    for (const int record : {1, 3}) {
        m_query->SetRecNo(record);
        m_db->SelectedRows().MarkCurrent(true);
    }
    m_query->SetRecNo(3);
    m_query->Delete();
    TMemoryStreamGx text;
    ExportGridToStream(TDBGridGxExportAsText::Create, grid, text, false);
    EXPECT_EQ(StreamText(text), "Name\tNumber\tAMOUNT\r\nAnn\t10\t1.5");
}

} // namespace
