// The grid's cell events and the looks that titles, data cells and the indicator take from their
// settings, checked by keys, mouse and the pixels shown.
#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxMultiTitle.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/winapi/gdi/Font.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DBGridLooks : public DBGridFixture {
protected:
    // Pixels of a cell (inset by `inset`) that differ from `background`.
    [[nodiscard]] int Ink(const TRect& cell, std::uint32_t background, int inset = 1) const
    {
        int ink = 0;
        for (int x = cell.left + inset; x < cell.right - inset; ++x)
            for (int y = cell.top + inset; y < cell.bottom - inset; ++y)
                ink += Shown({x, y}) != background ? 1 : 0;
        return ink;
    }
    [[nodiscard]] std::vector<std::uint32_t> Pixels(const TRect& cell) const
    {
        std::vector<std::uint32_t> pixels;
        for (int x = cell.left; x < cell.right; ++x)
            for (int y = cell.top; y < cell.bottom; ++y)
                pixels.push_back(Shown({x, y}));
        return pixels;
    }
    [[nodiscard]] TRect DataCell(int col, int dataRow) const { return m_db->CellRect(col, m_db->TitleOffset() + dataRow); }
    [[nodiscard]] static TRect Half(TRect cell, bool lower)
    {
        const int middle = (cell.top + cell.bottom) / 2;
        (lower ? cell.top : cell.bottom) = middle;
        return cell;
    }
    // Names shown in one text column, a grid that edits cells.
    void ShowNames(const std::vector<std::string>& names)
    {
        Exec("CREATE TABLE N (ID INTEGER PRIMARY KEY, NAME TEXT(40))");
        for (std::size_t i = 0; i < names.size(); ++i)
            Exec("INSERT INTO N VALUES (" + std::to_string(i + 1) + ", '" + names[i] + "')");
        ShowQuery("SELECT ID, NAME FROM N ORDER BY ID", [](TDBGridGx& grid) {
            TColumnGx* name = grid.Columns().Add();
            name->SetFieldName("NAME");
            name->SetWidth(60);
        });
        m_db->SetOptions(ManagerOptions - TDBGridOptions{dgRowSelect} + TDBGridOptions{dgEditing});
        Pump();
    }
    [[nodiscard]] static std::uint32_t Rgb(TColor color) { return RgbOf(ColorToRGB(color)); }
};

TEST_F(DBGridLooks, EnteringLeavingAndMovingColumnsFireTheirEvents)
{
    ShowPeople(5);
    m_db->SetOptions(ManagerOptions - TDBGridOptions{dgRowSelect});
    std::vector<std::string> events;
    m_db->SetOnColExit(TNotifyEvent::FromFunction([&](TObject*) { events.push_back("exit " + std::to_string(m_db->Col())); }));
    m_db->SetOnColEnter(TNotifyEvent::FromFunction([&](TObject*) { events.push_back("enter " + std::to_string(m_db->Col())); }));
    m_db->SetOnColumnMoved(TMovedEventGx::FromFunction(
        [&](TObject*, int from, int to) { events.push_back("moved " + std::to_string(from) + " " + std::to_string(to)); }));
    Pump();
    ASSERT_EQ(m_db->Col(), 1);
    Key(VK_RIGHT);
    Key(VK_DOWN);
    Click(CellCentre(1, m_db->TitleOffset() + 2));
    m_db->Columns().ColumnAt(1)->SetIndex(0);
    EXPECT_EQ(events, (std::vector<std::string>{"exit 1", "enter 2", "exit 2", "enter 1", "moved 1 0"}));
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->FieldName(), "SEL");
}

// OnGetBtnParams colours a title and sets its sort marker; OnDrawFooterCell paints over a footer;
// OnDrawDataCell reaches grids that made their own columns only.
TEST_F(DBGridLooks, TitleFooterAndDataCellEventsShapeTheirCells)
{
    ShowPeople(5);
    m_db->SetOnGetBtnParams(TGetBtnParamsEventGx::FromFunction(
        [](TObject*, TColumnGx* column, TFont*, TColor& background, TSortMarkerGx& marker, bool) {
            if (column->FieldName() != "NAME")
                return;
            background = clYellow;
            marker = smDownGx;
        }));
    std::vector<std::pair<int, int>> footers;
    m_db->SetOnDrawFooterCell(TDrawFooterCellEventGx::FromFunction(
        [&](TObject*, int dataCol, int row, TColumnGx*, const TRect& rect, TGridDrawState) {
            footers.emplace_back(dataCol, row);
            m_db->Canvas()->Brush()->SetColor(clRed);
            m_db->Canvas()->FillRect(rect);
        }));
    std::vector<std::string> dataCells;
    m_db->SetOnDrawDataCell(TDrawDataCellEventGx::FromFunction(
        [&](TObject*, const TRect&, TField* field, TGridDrawState) { dataCells.push_back(field->FieldName()); }));
    m_db->SetFooterRowCount(1);
    m_db->Invalidate();
    Pump();

    const TRect title = m_db->CellRect(1, 0);
    EXPECT_EQ(Shown({title.left + 3, title.top + 3}), Rgb(clYellow));
    const int arrow = title.right - 8;
    int shadow = 0;
    for (int y = title.top; y < title.bottom; ++y)
        shadow += Shown({arrow, y}) == SysRgb(COLOR_BTNSHADOW) ? 1 : 0;
    EXPECT_GT(shadow, 0) << "the marker the handler set is drawn";
    EXPECT_EQ(Shown({m_db->CellRect(2, 0).left + 3, title.top + 3}), SysRgb(COLOR_BTNFACE));

    const TRect lastData = DataCell(1, m_db->DataLink().RecordCount() - 1);
    EXPECT_EQ(Shown({lastData.left + 3, m_db->ClientHeight() - 4}), Rgb(clRed));
    EXPECT_NE(std::find(footers.begin(), footers.end(), std::pair{1, 0}), footers.end());
    EXPECT_TRUE(dataCells.empty()) << "the program made the columns";

    m_db->Columns().Clear();
    m_db->Invalidate();
    Pump();
    EXPECT_NE(std::find(dataCells.begin(), dataCells.end(), "NAME"), dataCells.end());
}

// TitleLines and TitleHeight fix the title row's height; a vertical title makes room for its
// caption turned plus VTitleMargin; an end ellipsis changes how a cut caption ends.
TEST_F(DBGridLooks, TitleHeightsVerticalTitlesAndTitleEllipsis)
{
    ShowPeople(3);
    TEXTMETRICA metrics{};
    m_db->Canvas()->Font()->Assign(m_db->TitleFont());
    (void)GetTextMetricsA(m_db->Canvas()->Handle(), &metrics);
    const int single = m_db->RowHeightAt(0);
    m_db->SetTitleLines(2);
    const int twoLines = 2 * metrics.tmHeight + metrics.tmExternalLeading + 2 + 1;
    EXPECT_EQ(m_db->RowHeightAt(0), twoLines);
    m_db->SetTitleHeight(10);
    EXPECT_EQ(m_db->RowHeightAt(0), twoLines + 10);
    m_db->SetTitleLines(0);
    m_db->SetTitleHeight(0);
    EXPECT_EQ(m_db->RowHeightAt(0), single);

    TColumnTitleGx* title = m_db->Columns().ColumnAt(0)->Title();
    title->SetCaption("A long vertical caption");
    title->SetOrientation(tohVertical);
    const int vertical = m_db->RowHeightAt(0);
    EXPECT_GT(vertical, 3 * single);
    m_db->SetVTitleMargin(30);
    EXPECT_EQ(m_db->RowHeightAt(0), vertical + 20);
    Pump();
    const TRect cell = m_db->CellRect(1, 0);
    EXPECT_GT(Ink(TRect{cell.left, cell.top, cell.right, cell.top + cell.bottom / 2}, SysRgb(COLOR_BTNFACE), 2), 0)
        << "the turned caption reaches up the cell";

    title->SetOrientation(tohHorizontal);
    m_db->Columns().ColumnAt(0)->SetWidth(60);
    Pump();
    const std::vector<std::uint32_t> cut = Pixels(m_db->CellRect(1, 0));
    title->SetEndEllipsis(true);
    Pump();
    EXPECT_NE(Pixels(m_db->CellRect(1, 0)), cut) << "the caption ends in dots";
}

// With RowSizingAllowed, dragging a row line in the indicator sizes every data row alike.
TEST_F(DBGridLooks, DraggingARowLineSizesEveryRow)
{
    ShowPeople(20);
    const int before = m_db->DefaultRowHeight();
    const auto drag = [&](int row) {
        const TRect cell = m_db->CellRect(0, m_db->TitleOffset() + row);
        Press({cell.left + 5, cell.bottom}, true);
        MoveHeld({cell.left + 5, cell.bottom + 12});
        Press({cell.left + 5, cell.bottom + 12}, false);
    };
    drag(3);
    EXPECT_EQ(m_db->DefaultRowHeight(), before) << "rows are not sized without the option";

    m_db->SetRowSizingAllowed(true);
    drag(0);
    EXPECT_EQ(m_db->RowHeight(), before + 12);
    EXPECT_EQ(m_db->RowLines(), 0);
    for (int row = m_db->TitleOffset(); row < m_db->RowCount(); ++row)
        EXPECT_EQ(m_db->RowHeightAt(row), before + 12) << "row " << row;
}

// Data cells take their layout, wrapping and ellipsis from their column.
TEST_F(DBGridLooks, DataCellsWrapPlaceAndCutTextAsTheirColumnSays)
{
    ShowNames({"Current", "Gamma", "Alpha Beta"});
    m_db->SetRowLines(3);
    Pump();
    TColumnGx* column = m_db->Columns().ColumnAt(0);
    column->SetWidth(40);
    Pump();
    const std::uint32_t window = SysRgb(COLOR_WINDOW);
    const TRect second = DataCell(1, 1);
    EXPECT_GT(Ink(Half(second, false), window), 0) << "top layout";
    EXPECT_EQ(Ink(Half(second, true), window), 0);
    column->SetLayout(tlBottom);
    Pump();
    EXPECT_EQ(Ink(Half(second, false), window), 0) << "bottom layout";
    EXPECT_GT(Ink(Half(second, true), window), 0);

    column->SetLayout(tlTop);
    const TRect first = DataCell(1, 2);
    m_db->Canvas()->Font()->Assign(column->Font());
    const TRect secondLine{first.left, first.top + 2 + m_db->Canvas()->TextHeight("Wg"), first.right, first.bottom};
    EXPECT_GT(Ink(secondLine, window), 0) << "text columns wrap where the rows have room for it";
    column->SetWordWrap(false);
    Pump();
    EXPECT_EQ(Ink(secondLine, window), 0);
    const std::vector<std::uint32_t> cut = Pixels(first);
    column->SetEndEllipsis(true);
    Pump();
    EXPECT_NE(Pixels(first), cut);
}

// A cell equal to the one above it stays blank and the row line between them disappears.
TEST_F(DBGridLooks, HiddenDuplicatesShowOnlyTheFirstOfARun)
{
    ShowNames({"Same", "Same", "Other"});
    TColumnGx* column = m_db->Columns().ColumnAt(0);
    const std::uint32_t window = SysRgb(COLOR_WINDOW);
    const TRect second = DataCell(1, 1);
    const POINT line{second.left + 10, second.top - 1};
    const std::uint32_t lineColour = Shown(line);
    ASSERT_NE(lineColour, window);
    ASSERT_GT(Ink(second, window), 0);

    column->SetHideDuplicates(true);
    m_db->Invalidate();
    Pump();
    EXPECT_EQ(Ink(second, window, 0), 0);
    EXPECT_EQ(Shown(line), window) << "no line inside the run";
    EXPECT_GT(Ink(DataCell(1, 0), window), 0);
    EXPECT_GT(Ink(DataCell(1, 2), window), 0);
    EXPECT_EQ(Shown({second.left + 10, second.bottom}), lineColour) << "the run ends with its line";
}

// The record being inserted shows its star in the indicator and red dots under a required field
// still empty; marked rows shade their indicator.
TEST_F(DBGridLooks, InsertedAndMarkedRowsAndRequiredFieldsAreMarked)
{
    ShowNames({"One", "Two", "Three"});
    const TRect mark = m_db->CellRect(0, m_db->TitleOffset());
    // The star's left arm: neither the arrow nor the bar of an edited record reaches it.
    const POINT star{mark.right - 8, (mark.top + mark.bottom) / 2};
    EXPECT_EQ(Shown(star), SysRgb(COLOR_BTNFACE)) << "the arrow leaves that spot free";

    m_db->SetOptions(m_db->Options() + TDBGridOptions{dgMultiSelect});
    ClickWith(CellCentre(1, m_db->TitleOffset() + 2), ModControl);
    ASSERT_EQ(m_db->SelectedRows().BookmarkCount(), 1);
    const TRect marked = m_db->CellRect(0, m_db->TitleOffset() + 2);
    EXPECT_EQ(Shown({marked.left + 2, marked.top + 2}), 0x404040u);
    const TRect unmarked = m_db->CellRect(0, m_db->TitleOffset() + 1);
    EXPECT_EQ(Shown({unmarked.left + 2, unmarked.top + 2}), SysRgb(COLOR_BTNFACE));

    TColumnGx* column = m_db->Columns().ColumnAt(0);
    column->SetHighlightRequired(true);
    m_query->FieldByName("NAME")->SetRequired(true);
    Click(CellCentre(1, m_db->TitleOffset()));
    m_query->Insert();
    Pump();
    ASSERT_EQ(m_query->State(), dsInsert);
    const TRect inserted = m_db->CellRect(0, m_db->Row());
    EXPECT_EQ(Shown({inserted.right - 8, (inserted.top + inserted.bottom) / 2}), 0x000000u) << "the star";
    const TRect cell = m_db->CellRect(1, m_db->Row());
    int red = 0;
    for (int x = cell.left + 2; x < cell.right - 3; ++x)
        red += Shown({x, cell.bottom - 1}) == 0xFF0000u ? 1 : 0;
    EXPECT_GT(red, 3);
    EXPECT_LT(red, cell.right - cell.left - 5) << "dotted";

    m_query->FieldByName("NAME")->SetAsString("x");
    Pump();
    red = 0;
    for (int x = cell.left + 2; x < cell.right - 3; ++x)
        red += Shown({x, cell.bottom - 1}) == 0xFF0000u ? 1 : 0;
    EXPECT_EQ(red, 0) << "a value is given";
    m_query->Cancel();
}

// With UseMultiTitle the words before '|' become a band over the columns that share them: the
// band is painted once across the line between its columns, the leaves below it.
TEST_F(DBGridLooks, MultiLineTitlesShareTheirGroupAcrossColumns)
{
    ShowPeople(3);
    m_db->Columns().ColumnAt(0)->Title()->SetCaption("Person|Name");
    m_db->Columns().ColumnAt(1)->Title()->SetCaption("Person|Sel");
    const int single = m_db->RowHeightAt(0);
    m_db->SetUseMultiTitle(true);
    Pump();
    EXPECT_GT(m_db->RowHeightAt(0), single + single / 2);
    ASSERT_EQ(m_db->TitleLeaves().size(), 2u);
    EXPECT_EQ(m_db->TitleLeaves()[0]->Text(), "Name");
    EXPECT_EQ(m_db->TitleLeaves()[0]->Parent(), m_db->TitleLeaves()[1]->Parent());
    EXPECT_EQ(m_db->TitleLeaves()[0]->Parent()->Text(), "Person");
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Title()->Alignment(), taCenter) << "titles centre under their group";

    const TRect name = m_db->CellRect(1, 0);
    const TRect sel = m_db->CellRect(2, 0);
    const std::uint32_t face = SysRgb(COLOR_BTNFACE);
    EXPECT_EQ(Shown({name.right, name.top + 4}), face) << "no line inside the band";
    EXPECT_NE(Shown({name.right, name.bottom - 3}), face) << "the leaves keep theirs";
    const TRect band{name.left, name.top, sel.right, name.top + m_db->TitleLeaves()[0]->Parent()->Height() - 1};
    EXPECT_GT(Ink(band, face, 2), 0);
    const TRect leaf{name.left, band.bottom + 1, name.right, name.bottom};
    EXPECT_GT(Ink(leaf, face, 2), 0);

    m_db->SetUseMultiTitle(false);
    Pump();
    EXPECT_EQ(m_db->RowHeightAt(0), single);
    EXPECT_TRUE(m_db->TitleLeaves().empty());
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Title()->Alignment(), taLeftJustify);
}

TEST_F(DBGridLooks, FormDataSetsTheTitleSettings)
{
    RegisterClass(TDBGridGx::StaticClass());
    std::unique_ptr<TComponent> read(ReadComponentText("object G: TDBGridGx\n"
                                                       "  RowSizingAllowed = True\n"
                                                       "  TitleHeight = 5\n"
                                                       "  TitleLines = 2\n"
                                                       "  UseMultiTitle = True\n"
                                                       "  VTitleMargin = 4\n"
                                                       "end\n"));
    auto* grid = dynamic_cast<TDBGridGx*>(read.get());
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->RowSizingAllowed());
    EXPECT_EQ(grid->TitleHeight(), 5);
    EXPECT_EQ(grid->TitleLines(), 2);
    EXPECT_TRUE(grid->UseMultiTitle());
    EXPECT_EQ(grid->VTitleMargin(), 4);
}

} // namespace
