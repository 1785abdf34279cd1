#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxFilterRow.h"
#include "grid/core/DBGridGxUnit.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/winapi/controls/ComboBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <stdexcept>

namespace {

constexpr std::uint32_t BlueRgb = 0x0000FFu;

// People with a kind shown as "Yes"/"No" through a pick list over the keys 1/0, one name with a
// quote and a comma, and one without a name; the grid shows NAME, KIND and NUM with a filter row.
class FilterRowFixture : public DBGridFixture {
protected:
    void SetUp() override
    {
        DBGridFixture::SetUp();
        Exec("CREATE TABLE P (ID INTEGER PRIMARY KEY, NUM INTEGER, NAME TEXT(20), KIND INTEGER)");
        Exec("INSERT INTO P VALUES (1, 1, 'Ann', 1), (2, 2, 'Bob', 0), (3, 3, 'O''Brien, Pat', 1), "
             "(4, 4, 'Bobby', 0), (5, 5, NULL, 1)");
        ShowQuery("SELECT NUM, NAME, KIND FROM P ORDER BY ID", [](TDBGridGx& grid) {
            for (const char* name : {"NAME", "KIND", "NUM"}) {
                TColumnGx* column = grid.Columns().Add();
                column->SetFieldName(name);
                column->SetWidth(110);
            }
            TColumnGx* kind = grid.Columns().ColumnAt(1);
            kind->PickList()->SetText("Yes\nNo");
            kind->KeyList()->SetText("1\n0");
            grid.STFilter()->SetVisible(true);
        });
    }

    [[nodiscard]] int FilterRow() const { return m_db->TitleOffset() - 1; }
    [[nodiscard]] TColumnGx& Column(int dataCol) const { return *m_db->Columns().ColumnAt(dataCol); }

    // The numbers of the records the query shows now.
    [[nodiscard]] std::set<int> ShownIds() const
    {
        std::set<int> ids;
        const TBookmarkStr position = m_query->Bookmark();
        for (m_query->First(); !m_query->Eof(); m_query->Next())
            ids.insert(m_query->FieldByName("NUM")->AsInteger());
        if (!position.empty())
            m_query->SetBookmark(position);
        return ids;
    }

    void TypeIntoFilterCell(int dataCol, const std::string& text)
    {
        Click(CellCentre(dataCol + 1, FilterRow()));
        ASSERT_TRUE(m_db->FilterRow().Active());
        Type(text);
        Key(VK_RETURN);
    }

    // Opens the list of the edited cell, walks down to the item with the text and presses Enter;
    // returns what the list held.
    std::vector<std::string> ChooseFromList(const std::string& item)
    {
        TInplaceFilterEditGx* editor = m_db->FilterRow().Editor();
        Key(VK_DOWN, ModAlt);
        EXPECT_TRUE(editor->DroppedDown());
        std::vector<std::string> items;
        for (int i = 0; i < editor->Items()->Count(); ++i)
            items.push_back(editor->Items()->Strings(i));
        const auto found = std::find(items.begin(), items.end(), item);
        EXPECT_NE(found, items.end()) << item;
        for (auto i = items.begin(); i <= found && found != items.end(); ++i)
            Key(VK_DOWN);
        Key(VK_RETURN);
        return items;
    }

    [[nodiscard]] bool AnyPixel(const TRect& rect, std::uint32_t rgb) const
    {
        for (int x = rect.left + 1; x < rect.right - 1; ++x)
            for (int y = rect.top + 1; y < rect.bottom - 1; ++y)
                if (Shown({x, y}) == rgb)
                    return true;
        return false;
    }
};

TEST_F(FilterRowFixture, TypedConditionsFilterTheRecords)
{
    struct Case {
        int DataCol;
        const char* Text;
        std::set<int> Ids;
    };
    const Case cases[] = {
        {0, "Bob", {2, 4}},                   // a bare text: names containing it, any case
        {0, "=bob", {2}},                     // equality ignores case too
        {0, "=Null", {5}},
        {0, "<>Null", {1, 2, 3, 4}},
        {2, ">= 3 AND < 5", {3, 4}},
        {2, "In (1,5)", {1, 5}},
        {2, "!In (1,5)", {2, 3, 4}},
        {1, "Yes", {1, 3, 5}},                // the shown pick text filters on its key
        {1, "No", {2, 4}},
    };
    for (const Case& c : cases) {
        TypeIntoFilterCell(c.DataCol, c.Text);
        EXPECT_EQ(ShownIds(), c.Ids) << c.Text;
        EXPECT_EQ(VisibleRows(), static_cast<int>(c.Ids.size())) << c.Text;
        m_db->ClearColumnFilters();
        m_db->ApplyFilter();
        EXPECT_EQ(ShownIds().size(), 5u) << c.Text;
    }
    EXPECT_EQ(Column(1).STFilter()->ParseExpression("Yes"), "~ '1'");
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(FilterRowFixture, TypedTextShowsBlueInTheLightenedCellOnceTheEditorCloses)
{
    const TRect cell = m_db->CellRect(1, FilterRow());
    const COLORREF face = ColorToRGB(m_db->FixedColor());
    const auto lighter = [](unsigned channel) { return std::min(255u, channel + channel / 8); };
    const std::uint32_t background =
        (lighter(GetRValue(face)) << 16) | (lighter(GetGValue(face)) << 8) | lighter(GetBValue(face));
    EXPECT_EQ(Shown({cell.left + 3, cell.top + 2}), background);
    EXPECT_FALSE(AnyPixel(cell, BlueRgb));

    TypeIntoFilterCell(0, "Bob");
    Key(VK_ESCAPE);
    EXPECT_FALSE(m_db->FilterRow().Active());
    EXPECT_FALSE(m_db->FilterRow().Editor()->Visible());
    EXPECT_EQ(Column(0).STFilter()->ExpressionStr(), "Bob");
    EXPECT_TRUE(AnyPixel(TRect{cell.left, cell.top, cell.left + 40, cell.bottom}, BlueRgb));
    EXPECT_EQ(ShownIds(), (std::set<int>{2, 4})) << "closing keeps the filter";
}

// The list holds the special items and then each value once; a value with a quote and a comma
// filters on exactly itself, and its text round-trips with the quote doubled.
TEST_F(FilterRowFixture, ChosenValueFiltersOnExactlyThatValue)
{
    Click(CellCentre(1, FilterRow()));
    const std::vector<std::string> expected{"(Empty)", "(Not empty)", "(All)", "(Clear filter)", "Ann", "Bob", "Bobby",
                                            "O'Brien, Pat"};
    EXPECT_EQ(ChooseFromList("O'Brien, Pat"), expected);
    TInplaceFilterEditGx* editor = m_db->FilterRow().Editor();
    EXPECT_EQ(ShownIds(), (std::set<int>{3}));
    EXPECT_EQ(editor->Text(), "O'Brien, Pat");
    EXPECT_EQ(Column(0).STFilter()->ExpressionAsString(), "= 'O''Brien, Pat'");
    // Enter again keeps the chosen condition rather than reading the text as a list.
    Key(VK_RETURN);
    EXPECT_EQ(ShownIds(), (std::set<int>{3}));

    // A pick-list column lists the pick texts of all the records, not only those shown, and
    // filters on the key.
    Click(CellCentre(2, FilterRow()));
    EXPECT_EQ(ChooseFromList("Yes"),
              (std::vector<std::string>{"(Empty)", "(Not empty)", "(All)", "(Clear filter)", "No", "Yes"}));
    EXPECT_EQ(Column(1).STFilter()->ExpressionAsString(), "= '1'");
    EXPECT_EQ(ShownIds(), (std::set<int>{3}));
    (void)ChooseFromList("(Clear filter)");
    EXPECT_EQ(ShownIds().size(), 5u);
    EXPECT_FALSE(Column(0).STFilter()->HasCondition());
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(FilterRowFixture, SpecialItemsWriteTheirConditionAndApplyOnCloseUp)
{
    Click(CellCentre(1, FilterRow()));
    ChooseFromList("(Empty)");
    EXPECT_EQ(m_db->FilterRow().Editor()->Text(), "=Null");
    EXPECT_EQ(ShownIds(), (std::set<int>{5}));
    ChooseFromList("(Not empty)");
    EXPECT_EQ(ShownIds(), (std::set<int>{1, 2, 3, 4}));
    ChooseFromList("(All)");
    EXPECT_EQ(ShownIds().size(), 5u);
    EXPECT_FALSE(Column(0).STFilter()->HasCondition());
}

TEST_F(FilterRowFixture, SortItemsLeaveOnlyTheChosenColumnMarked)
{
    m_db->SetOptionsGx(m_db->OptionsGx() + TDBGridGxOptions{dghAutoSortMarking, dghMultiSortMarking});
    for (int i = 0; i < 3; ++i)
        Column(i).Title()->SetTitleButton(true);
    Column(0).Title()->SetSortMarker(smDownGx);
    Column(2).Title()->SetSortMarker(smUpGx);
    Click(CellCentre(2, FilterRow()));
    ChooseFromList("(Order by descending)");
    EXPECT_EQ(Column(0).Title()->SortMarker(), smNoneGx);
    EXPECT_EQ(Column(1).Title()->SortMarker(), smUpGx);
    EXPECT_EQ(Column(2).Title()->SortMarker(), smNoneGx);
    EXPECT_EQ(m_db->SortMarkedColumns(), std::vector<TColumnGx*>{&Column(1)});
}

TEST_F(FilterRowFixture, UpFromTheFirstRecordEntersTheRowUnlessTheColumnHasNoCell)
{
    m_db->SetOptions(m_db->Options() - TDBGridOptions{dgRowSelect});
    Pump();
    Key(VK_UP);
    EXPECT_TRUE(m_db->FilterRow().Active());
    EXPECT_EQ(m_db->FilterRow().EditedColumn(), 0);
    EXPECT_TRUE(m_db->FilterRow().Editor()->HasFocus());
    Key(VK_ESCAPE);
    EXPECT_FALSE(m_db->FilterRow().Active());

    Column(0).STFilter()->SetVisible(false);
    Pump();
    Key(VK_UP);
    EXPECT_FALSE(m_db->FilterRow().Active());
    Click(CellCentre(1, FilterRow()));
    EXPECT_FALSE(m_db->FilterRow().Active());
}

// The program's own record filter keeps working beside the row's, and is all that is left once
// the row's conditions are cleared.
// A list source shows titles and keeps keys: a typed or chosen title filters on its key, a title
// no list record shows on no key at all.
TEST_F(FilterRowFixture, AListSourceTurnsShownTitlesIntoKeys)
{
    Exec("CREATE TABLE KINDS (K INTEGER, TITLE TEXT(20))");
    Exec("INSERT INTO KINDS VALUES (1, 'Friend'), (0, 'Work')");
    std::unique_ptr<TADOQuery> kinds = Query("SELECT K, TITLE FROM KINDS");
    kinds->Open();
    TDataSource kindSource(nullptr);
    kindSource.SetDataSet(kinds.get());
    TSTColumnFilterGx& filter = *Column(1).STFilter();
    filter.SetListSource(&kindSource);
    filter.SetKeyField("K");
    filter.SetListField("TITLE");

    TypeIntoFilterCell(1, "Friend");
    EXPECT_EQ(ShownIds(), (std::set<int>{1, 3, 5}));
    EXPECT_EQ(filter.ExpressionAsString(), "Friend");
    EXPECT_EQ(ChooseFromList("Work"), (std::vector<std::string>{"(Empty)", "(Not empty)", "(All)", "(Clear filter)",
                                                                "Friend", "Work"}));
    EXPECT_EQ(ShownIds(), (std::set<int>{2, 4}));
    TypeIntoFilterCell(1, "Nobody");
    EXPECT_EQ(ShownIds(), std::set<int>{});
    // The list still opens over a grid that shows nothing.
    EXPECT_EQ(ChooseFromList("Friend").size(), 6u);
    EXPECT_EQ(ShownIds(), (std::set<int>{1, 3, 5}));
    EXPECT_EQ(kinds->RecNo(), 1) << "reading the list leaves its cursor";
    m_db->ClearColumnFilters();
    m_db->ApplyFilter();
    filter.SetListSource(nullptr);
}

TEST_F(FilterRowFixture, TheListTakesItsSizeFromTheFilterOrDefaults)
{
    // A list is never narrower than its box: the column is narrower than either width asked.
    Column(0).SetWidth(60);
    TInplaceFilterEditGx* editor = nullptr;
    const auto open = [&](int rows, int width) {
        Column(0).STFilter()->SetDropDownListRows(rows);
        Column(0).STFilter()->SetDropDownListWidth(width);
        Click(CellCentre(1, FilterRow()));
        editor = m_db->FilterRow().Editor();
        return std::pair{editor->DropDownCount(),
                         static_cast<int>(SendMessageA(editor->Handle(), CB_GETDROPPEDWIDTH, 0, 0))};
    };
    EXPECT_EQ(open(0, 0), (std::pair{17, 100}));
    Key(VK_ESCAPE);
    EXPECT_EQ(open(5, 220), (std::pair{5, 220}));
}

TEST_F(FilterRowFixture, TypingAtTheGridWhileTheRowIsActiveGoesToTheEditor)
{
    Click(CellCentre(1, FilterRow()));
    Type("Ann");
    m_db->SetFocus();
    Pump();
    Type("B");
    EXPECT_TRUE(m_db->FilterRow().Editor()->HasFocus());
    EXPECT_EQ(m_db->FilterRow().Editor()->Text(), "B");
}

// Once closed, the row has no say over the cell editor: relayouts and clearing leave it shown.
TEST_F(FilterRowFixture, AClosedRowLeavesTheCellEditorAlone)
{
    Click(CellCentre(1, FilterRow()));
    Key(VK_ESCAPE);
    m_db->SetOptions(m_db->Options() - TDBGridOptions{dgRowSelect} + TDBGridOptions{dgEditing});
    Click(CellCentre(1, FilterRow() + 1));
    m_db->ShowEditor();
    Pump();
    ASSERT_TRUE(m_db->EditorMode());
    Column(2).SetWidth(90);
    m_db->ClearColumnFilters();
    Pump();
    EXPECT_TRUE(m_db->EditorMode());
}

TEST_F(FilterRowFixture, TheDataSetsOwnRecordFilterStays)
{
    m_query->SetOnFilterRecord(TFilterRecordEvent::FromFunction(
        [](TDataSet* dataSet, bool& accept) { accept = dataSet->FieldByName("NUM")->AsInteger() != 2; }));
    m_query->SetFiltered(true);
    TypeIntoFilterCell(0, "Bob");
    EXPECT_EQ(ShownIds(), (std::set<int>{4}));
    m_db->ClearColumnFilters();
    m_db->ApplyFilter();
    EXPECT_EQ(ShownIds(), (std::set<int>{1, 3, 4, 5}));
    EXPECT_TRUE(m_query->Filtered());
}

TEST_F(FilterRowFixture, AFailedApplyStillPlacesTheEditorAndGoesOn)
{
    m_db->SetOnApplyFilter(TNotifyEvent::FromFunction([](TObject*) { throw std::runtime_error("refused"); }));
    Click(CellCentre(1, FilterRow()));
    Type("Bob");
    m_db->FilterRow().Editor()->SetVisible(false);
    EXPECT_THROW(m_db->ApplyFilter(), std::runtime_error);
    EXPECT_TRUE(m_db->FilterRow().Editor()->Visible());
    EXPECT_EQ(ShownIds().size(), 5u);
}

TEST_F(FilterRowFixture, AMalformedTextReportsOnceAndKeepsTheCondition)
{
    TypeIntoFilterCell(2, "> 3");
    TypeIntoFilterCell(2, "'abc");
    EXPECT_EQ(m_errors.size(), 1u);
    EXPECT_EQ(Column(2).STFilter()->ExpressionAsString(), "> 3");
    EXPECT_EQ(ShownIds(), (std::set<int>{4, 5}));
    m_errors.clear();
}

// The grid gets the focus back, the wheel turns or another control takes over while a filter cell
// is being edited: the focus goes on to the editor, the wheel steps through its list instead of
// the records, and an open list closes without applying anything.
TEST_F(FilterRowFixture, TheGridHandsFocusWheelAndCancelModeToAnActiveFilterEditor)
{
    Click(CellCentre(1, FilterRow()));
    TInplaceFilterEditGx* editor = m_db->FilterRow().Editor();
    m_db->SetFocus();
    Pump();
    EXPECT_TRUE(editor->HasFocus());

    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(editor->DroppedDown());
    TButton other(m_form.get());
    (void)m_db->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(&other));
    Pump();
    EXPECT_FALSE(editor->DroppedDown());
    EXPECT_EQ(editor->Text(), "");
    EXPECT_FALSE(Column(0).STFilter()->HasCondition());

    const int recNo = m_query->RecNo();
    (void)m_db->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    Pump();
    EXPECT_GE(editor->ItemIndex(), 0);
    EXPECT_EQ(m_query->RecNo(), recNo);
    Key(VK_ESCAPE);
    (void)m_db->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(m_query->RecNo(), recNo + 1) << "a closed row leaves the wheel to the records";
}

// The list of a filtered column holds every value, not only those left; opening it and closing it
// with Esc leaves the typed condition and the records as they were. A press on the cell's arrow
// opens the list at once, and the editor opens on the column's condition.
TEST_F(FilterRowFixture, TheListOpensOnTheArrowKeepsTheConditionAndListsEveryValue)
{
    TypeIntoFilterCell(2, ">= 3");
    ASSERT_EQ(ShownIds(), (std::set<int>{3, 4, 5}));
    Key(VK_ESCAPE);
    ASSERT_FALSE(m_db->FilterRow().Active());

    const TRect cell = m_db->CellRect(3, FilterRow());
    Click({cell.right - 4, (cell.top + cell.bottom) / 2});
    TInplaceFilterEditGx* editor = m_db->FilterRow().Editor();
    ASSERT_TRUE(m_db->FilterRow().Active());
    EXPECT_TRUE(editor->DroppedDown()) << "the first press on the arrow opens the list";
    EXPECT_EQ(editor->Text(), ">= 3");
    std::vector<std::string> values;
    for (int i = 4; i < editor->Items()->Count(); ++i)
        values.push_back(editor->Items()->Strings(i));
    EXPECT_EQ(values, (std::vector<std::string>{"1", "2", "3", "4", "5"}));

    Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(editor->DroppedDown());
    EXPECT_EQ(editor->Text(), ">= 3");
    EXPECT_EQ(Column(2).STFilter()->ExpressionStr(), ">= 3");
    EXPECT_EQ(ShownIds(), (std::set<int>{3, 4, 5}));
}

// With the grid unit running, a grid without its own OnApplyFilter applies through the centre,
// whose default filters in memory.
class CentreFilterRowFixture : public FilterRowFixture {
protected:
    void SetUp() override
    {
        // The unit's style keeps a hidden window, so the screen comes first.
        (void)SelectHeadlessDisplay();
        m_unit.emplace();
        FilterRowFixture::SetUp();
    }
    void TearDown() override
    {
        FilterRowFixture::TearDown();
        m_unit.reset();
    }

    std::optional<TGridUnitScope> m_unit;
};

TEST_F(CentreFilterRowFixture, AGridWithoutItsOwnHandlerAppliesThroughTheCentre)
{
    ASSERT_EQ(m_db->Center(), GridCenter());
    std::vector<TCustomDBGridGx*> applied;
    GridCenter()->SetOnApplyFilter(
        TDBGridGxCenterGridEvent::FromFunction([&](TCustomDBGridGx* grid) { applied.push_back(grid); }));
    TypeIntoFilterCell(0, "Bob");
    EXPECT_EQ(applied, std::vector<TCustomDBGridGx*>{m_db});
    EXPECT_EQ(ShownIds().size(), 5u) << "the hook took the request";

    m_db->SetOnApplyFilter(TNotifyEvent::FromFunction([](TObject*) {}));
    m_db->ApplyFilter();
    EXPECT_EQ(applied.size(), 1u) << "the grid's own handler comes first";

    m_db->SetOnApplyFilter({});
    GridCenter()->SetOnApplyFilter({});
    m_db->ApplyFilter();
    EXPECT_EQ(ShownIds(), (std::set<int>{2, 4})) << "the centre's default filters in memory";
}

} // namespace
