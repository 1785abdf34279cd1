#include "ImpExpFixture.h"
#include "PersistentFields.h"

#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Dialogs.h"

namespace {

using TSelection = IImpExpGridGx::TSelection;

const std::vector<std::string> People = {"Ann|10|1.5", "Bo \"Boss\"|20|2.25", "Cy;\tDee|30|"};

std::string Int32(std::int32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
    return bytes;
}

class ImportTest : public ImpExpFixture {
protected:
    void SetUp() override
    {
        ImpExpFixture::SetUp();
        ShowPeople();
    }
    void TearDown() override
    {
        SetMessageDlgHandler({});
        ImpExpFixture::TearDown();
    }

    void ResetPeople()
    {
        m_query->Close();
        Exec("DELETE FROM P");
        Exec("INSERT INTO P VALUES (1, 'Ann', 10, 1.5), (2, 'Bo \"Boss\"', 20, 2.25), "
             "(3, 'Cy;' || char(9) || 'Dee', 30, NULL)");
        m_query->Open();
        m_query->First();
        m_grid->SetCurrentColumn(&Column(0));
    }

    void Import(TDBGridGxImportClass importClass, const std::string& bytes, bool all = false)
    {
        TMemoryStreamGx stream;
        stream.WriteBuffer(bytes.data(), bytes.size());
        stream.SetPosition(0);
        ImportGridFromStream(importClass, *m_grid, stream, all);
    }

    // The exception an import raises; empty when it raises none.
    std::string ImportError(TDBGridGxImportClass importClass, const std::string& bytes)
    {
        try {
            Import(importClass, bytes);
        } catch (const Exception& error) {
            return error.Message();
        }
        return {};
    }
};

TEST_F(ImportTest, VcldbifRoundTripIntoAnEmptyTableAppendsEveryValueAndType)
{
    Exec("UPDATE P SET NAME = 'Line 1' || char(13) || char(10) || 'Line 2' WHERE ID = 1");
    Exec("CREATE TABLE Q (ID INTEGER PRIMARY KEY, NAME TEXT(20), NUM INTEGER, AMOUNT FLOAT)");
    m_query->Close();
    m_query->Open();
    TMemoryStreamGx exported;
    ExportGridToStream(TDBGridGxExportAsVCLDBIF::Create, *m_grid, exported, true);
    const std::vector<std::string> source = Stored("P");

    Show("SELECT * FROM Q ORDER BY ID", {"NAME", "NUM", "AMOUNT"});
    exported.SetPosition(0);
    ImportGridFromStream(TDBGridGxImportAsVCLDBIF::Create, *m_grid, exported, true);
    EXPECT_EQ(Stored("Q"), source);
    m_query->Last();
    EXPECT_EQ(m_query->FieldByName("NUM")->DataType(), ftInteger);
    EXPECT_TRUE(m_query->FieldByName("AMOUNT")->IsNull());
}

TEST_F(ImportTest, TextRowsAndCellsFromTheCurrentRecordOn)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> stored;
    };
    const Case cases[] = {
        {"two lines", std::string("X\t11\r\nY\t22\0", 12), {"X|11|1.5", "Y|22|2.25", People[2]}},
        {"an empty cell in the middle clears", "X\t\t9.5", {"X||9.5", People[1], People[2]}},
        {"an empty cell at the end leaves the field", "X\t", {"X|10|1.5", People[1], People[2]}},
        {"the first NUL ends the text", std::string("X\0junk\tZ\r", 9), {"X|10|1.5", People[1], People[2]}},
        {"a last character without terminator is kept", "Q", {"Q|10|1.5", People[1], People[2]}},
        {"rows beyond the records are appended", "A\r\nB\r\nC\r\nD\t4", {"A|10|1.5", "B|20|2.25", "C|30|", "D|4|"}},
        {"cells beyond the columns are dropped", "A\t1\t2\t3\t4", {"A|1|2", People[1], People[2]}},
    };
    for (const Case& c : cases) {
        ResetPeople();
        Import(TDBGridGxImportAsText::Create, c.text);
        EXPECT_EQ(Stored(), c.stored) << c.name;
        EXPECT_EQ(m_query->State(), dsBrowse) << c.name;
    }
}

TEST_F(ImportTest, ACarriageReturnWithoutLineFeedRefusesTheWholeText)
{
    EXPECT_EQ(ImportError(TDBGridGxImportAsText::Create, "A\t1\r\nB\rC"),
              "TDBGridGxImportAsText.CheckState: Invalid text format");
    EXPECT_EQ(ImportError(TDBGridGxImportAsText::Create, "A\r"), "TDBGridGxImportAsText.CheckState: Invalid text format");
    EXPECT_EQ(Stored(), People);
    EXPECT_FALSE(m_query->ControlsDisabled());
}

TEST_F(ImportTest, DamagedVcldbifIsRefusedAndChangesNothing)
{
    const std::string header = std::string("VCLDBIF\x01", 8);
    const std::string threeColumns = header + Int32(3) + std::string("\x01\x00\x01\x00\x01\x00", 6);
    const std::string goodFirst = std::string("\x05", 1) + Int32(1) + "Z";
    const std::string cases[] = {
        "",
        "VCLDBI",
        "VCLDBJ\x01" + Int32(3) + std::string("\x01\x00\x01\x00\x01\x00", 6) + goodFirst,
        header + Int32(3) + std::string("\x01", 1),                  // descriptors cut short
        header + Int32(0) + goodFirst + goodFirst,                   // no columns, yet values
        header + Int32(-5) + goodFirst,                              // negative count
        header + Int32(0x7FFFFFFF) + std::string("\x01\x00", 2),    // a count the data cannot hold
        threeColumns + "\x05" + Int32(0x7FFFFFFF) + "abc",           // a huge string length
        threeColumns + "\x06" + Int32(-1) + "abc",                   // a negative one
        threeColumns + goodFirst + "\x04" + "\x01\x02",              // a double cut short mid-row
        threeColumns + goodFirst + "\x03" + Int32(7),                // no tag after the row's 2nd value
    };
    for (const std::string& bytes : cases) {
        ResetPeople();
        EXPECT_EQ(ImportError(TDBGridGxImportAsVCLDBIF::Create, bytes),
                  "TDBGridGxImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format")
            << testing::PrintToString(bytes);
        EXPECT_EQ(Stored(), People) << testing::PrintToString(bytes);
        EXPECT_EQ(m_query->State(), dsBrowse);
    }
}

TEST_F(ImportTest, AFieldThatRefusesItsValueAsksWhetherToGoOn)
{
    struct Case {
        TModalResult answer;
        std::size_t questions;
        std::vector<std::string> stored;
        bool aborted;
    };
    const Case cases[] = {
        {mrYes, 2, {"Ann|10|1", "Bo \"Boss\"|20|2", People[2]}, false},
        {mrAll, 1, {"Ann|10|1", "Bo \"Boss\"|20|2", People[2]}, false},
        // No stops the import and drops the row it was writing.
        {mrNo, 1, People, true},
    };
    for (const Case& c : cases) {
        ResetPeople();
        m_grid->SetCurrentColumn(&Column(1));
        std::vector<std::string> questions;
        SetMessageDlgHandler([&](const std::string& text, const std::string&, TMsgDlgType type, TMsgDlgButtons buttons) {
            questions.push_back(text);
            EXPECT_EQ(type, mtError);
            EXPECT_EQ(buttons, (TMsgDlgButtons{mbYes, mbNo, mbAll}));
            return c.answer;
        });
        bool aborted = false;
        try {
            Import(TDBGridGxImportAsText::Create, "x\t1\r\ny\t2");
        } catch (const EAbort&) {
            aborted = true;
        }
        EXPECT_EQ(aborted, c.aborted);
        EXPECT_EQ(questions.size(), c.questions);
        ASSERT_FALSE(questions.empty());
        EXPECT_EQ(questions[0].rfind("Error during insert value:\n", 0), 0u) << questions[0];
        EXPECT_NE(questions[0].find("\n\nIgnore error?"), std::string::npos);
        EXPECT_EQ(Stored(), c.stored);
    }
}

TEST_F(ImportTest, AKeyPickListColumnTakesTheKeyOfThePickedTextOrIsCleared)
{
    Column(1).PickList()->SetText("ten\ntwenty");
    Column(1).KeyList()->SetText("10\n20");
    Import(TDBGridGxImportAsText::Create, "A\ttwenty\r\nB\tzz");
    EXPECT_EQ(Stored(), (std::vector<std::string>{"A|20|1.5", "B||2.25", People[2]}));
}

TEST_F(ImportTest, SelectedRowsAndRectanglesTakeTheirShareOfTheSource)
{
    m_grid->Kind = TSelection::RecordBookmarks;
    m_grid->Bookmarks = {BookmarkOf(3), BookmarkOf(1)};
    Import(TDBGridGxImportAsText::Create, "C\t3\r\nA\t1\r\nextra");
    EXPECT_EQ(Stored(), (std::vector<std::string>{"A|1|1.5", People[1], "C|3|"}));

    ResetPeople();
    m_grid->Kind = TSelection::Rectangle;
    m_grid->Rectangle = {1, 2, BookmarkOf(2), BookmarkOf(3)};
    Import(TDBGridGxImportAsText::Create, "7\t0.5\r\n8\t0.25\r\n9\t9");
    EXPECT_EQ(Stored(), (std::vector<std::string>{People[0], "Bo \"Boss\"|7|0.5", "Cy;\tDee|8|0.25"}));
}

TEST_F(ImportTest, ALookupColumnTakesTheKeyOfAWholeMatchFirstAndExportsTheKey)
{
    Exec("CREATE TABLE L (K INTEGER, T TEXT(20))");
    Exec("INSERT INTO L VALUES (20, 'Annabel'), (30, 'Ann')");
    auto list = Query("SELECT K, T FROM L");
    list->Open();
    m_source->SetDataSet(nullptr);
    m_query->Close();
    AddDataFields(*m_query, {{"NAME", ftWideString}, {"NUM", ftInteger}, {"AMOUNT", ftFloat}});
    AddLookupField(*m_query, "WHO", "NUM", *list, "K", "T");
    m_query->Open();
    m_db->Columns().Clear();
    m_db->Columns().Add()->SetFieldName("NAME");
    m_db->Columns().Add()->SetFieldName("WHO");
    m_source->SetDataSet(m_query.get());
    m_query->First();
    m_grid->SetCurrentColumn(&Column(0));

    Import(TDBGridGxImportAsText::Create, "x\tann\r\ny\tAnna\r\nz\tnobody");
    EXPECT_EQ(Stored(), (std::vector<std::string>{"x|30|1.5", "y|20|2.25", "z|30|"}));

    m_grid->Kind = TSelection::RecordBookmarks;
    m_grid->Bookmarks = {BookmarkOf(2)};
    TMemoryStreamGx stream;
    ExportGridToStream(TDBGridGxExportAsVCLDBIF::Create, *m_grid, stream, false);
    const std::string bytes = StreamText(stream);
    EXPECT_NE(bytes.find("\x06" + Int32(1) + "y" + "\x03" + Int32(20) + std::string(1, '\0')), std::string::npos);
}

TEST_F(ImportTest, AnInsertingDataSetTakesEveryRowAsANewRecord)
{
    m_query->SetRecNo(2);
    m_query->Insert();
    Import(TDBGridGxImportAsText::Create, "N1\t1\r\nN2\t2\r\n");
    EXPECT_EQ(Stored(), (std::vector<std::string>{People[0], People[1], People[2], "N1|1|", "N2|2|"}));
    EXPECT_EQ(m_query->State(), dsBrowse);
}

TEST_F(ImportTest, FilesRoundTripAndKeepTheirLastCharacter)
{
    const std::string binary = (m_dir / "people.vcldbif").string();
    m_grid->Kind = TSelection::Rectangle;
    m_grid->Rectangle = {0, 2, BookmarkOf(1), BookmarkOf(1)};
    TDBGridGxExportAsVCLDBIF exporter;
    exporter.SetGrid(m_grid.get());
    exporter.ExportFile(binary, false);
    m_query->SetRecNo(3);
    m_grid->Kind = TSelection::None;
    TDBGridGxImportAsVCLDBIF importer;
    importer.SetGrid(m_grid.get());
    importer.ImportFile(binary, false);
    EXPECT_EQ(Stored(), (std::vector<std::string>{People[0], People[1], People[0]}));

    const std::string text = (m_dir / "people.txt").string();
    {
        TFileStream file(text, fmCreate);
        file.WriteBuffer("Zoe\t5", 5);
    }
    m_query->SetRecNo(1);
    TDBGridGxImportAsText textImporter;
    textImporter.SetGrid(m_grid.get());
    textImporter.ImportFile(text, false);
    EXPECT_EQ(Stored()[0], "Zoe|5|1.5");
}

} // namespace
