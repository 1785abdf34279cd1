#include "PersistentFields.h"
#include "ToolsFixture.h"

#include "grid/tools/DBLookupGridColumnGx.h"
#include "grid/tools/DBLookupGridsGx.h"
#include "grid/tools/ListExtraRowGx.h"
#include "grid/tools/ToolCtrlsGxDropDowns.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DatabaseSchema.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/TempDir.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* Schema = "CREATE TABLE CITY (CODE INTEGER, NAME TEXT(80));"
                               "CREATE TABLE PERSON (ID INTEGER PRIMARY KEY AUTOINCREMENT, NAME TEXT(20), CITY_ID INTEGER);";

// A 40-character name of two-byte characters, and one of plain letters.
const std::string LongWideName = [] {
    std::string name;
    for (int i = 0; i < 40; ++i)
        name += "\xC3\x85"; // Å
    return name;
}();
const std::string LongName = "Llanfairpwllgwyngyllgogerychwyrndrobwllllantysiliogogogoch";

// A form with a lookup grid over the cities that edits the city of the people:
//   cities 1 Berlin, 2 London, 3 Lyon, 4 Paris, 5 LongName, 6 LongWideName;
//   people 1 Anna (London), 2 Bob (city 99, not a city).
class LookupGrid : public ToolsFixture {
protected:
    void SetUp() override
    {
        RegisterDatabaseSchema(Schema);
        ToolsFixture::SetUp();
        Exec("INSERT INTO CITY VALUES (1, 'Berlin'), (2, 'London'), (3, 'Lyon'), (4, 'Paris'), (5, '" + LongName +
             "'), (6, '" + LongWideName + "')");
        Exec("INSERT INTO PERSON (NAME, CITY_ID) VALUES ('Anna', 2), ('Bob', 99)");
        m_cities = OpenQuery("SELECT * FROM CITY ORDER BY CODE");
        m_people = OpenQuery("SELECT * FROM PERSON ORDER BY ID");
        m_citySource = std::make_unique<TDataSource>(nullptr);
        m_citySource->SetDataSet(m_cities.get());
        m_personSource = std::make_unique<TDataSource>(nullptr);
        m_personSource->SetDataSet(m_people.get());
        m_other = new TEdit(m_form.get());
        m_other->SetParent(m_form.get());
        m_other->SetBounds(300, 10, 100, 21);
    }
    void TearDown() override
    {
        ToolsFixture::TearDown();
        m_personSource.reset();
        m_citySource.reset();
        m_people.reset();
        m_cities.reset();
        RegisterDatabaseSchema({});
    }

    void Exec(const std::string& sql)
    {
        TADOQuery query(nullptr);
        query.SetConnectionString(Connection());
        query.SQL()->SetText(sql);
        (void)query.ExecSQL();
    }
    std::unique_ptr<TADOQuery> OpenQuery(const std::string& sql)
    {
        auto query = std::make_unique<TADOQuery>(nullptr);
        query->SetConnectionString(Connection());
        query->SQL()->SetText(sql);
        query->Open();
        return query;
    }
    [[nodiscard]] std::string Connection() const
    {
        return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "lookup.db").string();
    }

    // The people with their city as a lookup field over the cities.
    [[nodiscard]] std::unique_ptr<TADOQuery> OpenPeopleWithCity() const
    {
        auto people = std::make_unique<TADOQuery>(nullptr);
        people->SetConnectionString(Connection());
        people->SQL()->SetText("SELECT * FROM PERSON ORDER BY ID");
        AddDataFields(*people, {{"NAME", ftString}, {"CITY_ID", ftInteger}});
        AddLookupField(*people, "CITY", "CITY_ID", *m_cities, "CODE", "NAME");
        people->Open();
        return people;
    }

    // Binds a lookup grid (made by the caller) to the cities and, with `edited`, to the person's city.
    void Bind(TDBLookupGridGx& grid, bool edited)
    {
        grid.SetListSource(m_citySource.get());
        grid.SetKeyFieldNames("CODE");
        grid.SetListFieldNames("NAME");
        if (edited) {
            grid.SetValueSource(m_personSource.get());
            grid.SetDataFieldNames("CITY_ID");
        }
    }
    TDBLookupGridGx& MakeGrid(bool edited = true)
    {
        m_grid = new TDBLookupGridGx(m_form.get());
        m_grid->SetParent(m_form.get());
        m_grid->SetBounds(10, 10, 200, 100);
        Bind(*m_grid, edited);
        m_grid->SetRowsShown(4);
        Pump();
        return *m_grid;
    }
    void Focus(TWinControl& control)
    {
        m_form->SetActiveControl(&control);
        Pump();
    }
    [[nodiscard]] Variant StoredCity() const { return m_people->FieldByName("CITY_ID")->Value(); }
    // A point of a data row of a lookup grid, past the end of its (short) text.
    [[nodiscard]] static POINT RowPoint(TDBLookupGridGx& grid, int dataRow)
    {
        const TRect cell = grid.CellRect(0, grid.TitleOffset() + dataRow);
        return POINT{std::min<int>(cell.right, grid.ClientWidth()) - 4, (cell.top + cell.bottom) / 2};
    }

    TempDir m_dir;
    std::unique_ptr<TADOQuery> m_cities;
    std::unique_ptr<TADOQuery> m_people;
    std::unique_ptr<TDataSource> m_citySource;
    std::unique_ptr<TDataSource> m_personSource;
    TDBLookupGridGx* m_grid = nullptr;
    TEdit* m_other = nullptr;
};

} // namespace

TEST_F(LookupGrid, TheEditedValueSelectsItsRecordAndPaintsItSelected)
{
    TDBLookupGridGx& grid = MakeGrid();
    EXPECT_TRUE(grid.ListActive());
    EXPECT_EQ(grid.KeyValue().ToString(), "2");
    EXPECT_EQ(grid.Text(), "London");
    EXPECT_EQ(m_cities->RecNo(), 2);
    EXPECT_EQ(Shown(grid, RowPoint(grid, 1)), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(Shown(grid, RowPoint(grid, 0)), SysRgb(COLOR_WINDOW));

    // A person whose city is not in the list shows nothing, not the first city's name.
    m_people->Next();
    EXPECT_EQ(grid.KeyValue().ToString(), "99");
    EXPECT_EQ(grid.Text(), "");
    Pump();
    EXPECT_EQ(Shown(grid, RowPoint(grid, 0)), SysRgb(COLOR_WINDOW));
    EXPECT_EQ(Shown(grid, RowPoint(grid, 1)), SysRgb(COLOR_WINDOW));

    // With the edited data set closed there is no value.
    m_people->Close();
    EXPECT_TRUE(VarIsNull(grid.KeyValue()));
}

TEST_F(LookupGrid, RowCountsAreClampedAndTheHeightShowsWholeRows)
{
    TDBLookupGridGx& grid = MakeGrid();
    EXPECT_EQ(grid.VisibleDataRowCount(), 4);
    const int fourRows = grid.Height();
    for (const auto& [requested, kept] : std::vector<std::pair<int, int>>{{0, 1}, {500, 100}, {3, 3}}) {
        grid.SetRowsShown(requested);
        EXPECT_EQ(grid.RowsShown(), kept) << requested;
    }
    // A height between whole rows snaps down to them.
    grid.SetHeight(fourRows + grid.DataRowHeight() / 2);
    EXPECT_EQ(grid.RowsShown(), 4);
    EXPECT_EQ(grid.Height(), fourRows);
    grid.SetHeight(1);
    EXPECT_EQ(grid.RowsShown(), 1);

    // Titles and row lines add to the height of the rows shown.
    grid.SetRowsShown(4);
    EXPECT_EQ(grid.LineOptions(), 2); // column lines
    grid.SetShowTitles(true);
    EXPECT_EQ(grid.RowsShown(), 4);
    EXPECT_GT(grid.Height(), fourRows);
    EXPECT_EQ(grid.VisibleDataRowCount(), 4);
    grid.SetShowTitles(false);
    grid.SetLineOptions(4); // row lines only
    EXPECT_FALSE(grid.Options().Contains(dgColLines));
    EXPECT_GT(grid.Height(), fourRows);
    EXPECT_EQ(grid.RowsShown(), 4);
    EXPECT_EQ(grid.VisibleDataRowCount(), 4);
}

TEST_F(LookupGrid, KeysMoveFromTheKeyRecordAndWriteTheKeyToTheEditedField)
{
    TDBLookupGridGx& grid = MakeGrid();
    Focus(grid);
    Key(VK_DOWN);
    EXPECT_EQ(StoredCity().ToString(), "3");
    EXPECT_EQ(grid.Text(), "Lyon");
    Key(VK_END);
    EXPECT_EQ(StoredCity().ToString(), "6");
    Key(VK_HOME);
    EXPECT_EQ(StoredCity().ToString(), "1");
    Key(VK_UP); // the first record, and no special row: stays
    EXPECT_EQ(StoredCity().ToString(), "1");
    Key(VK_NEXT); // a page is the rows shown less one
    EXPECT_EQ(StoredCity().ToString(), "4");
    Pump();
    EXPECT_EQ(Shown(grid, RowPoint(grid, m_cities->RecNo() - 1 - (grid.TopRow() - grid.TitleOffset()))),
              SysRgb(COLOR_HIGHLIGHT));

    // The wheel picks the record just above or below the records shown.
    Key(VK_HOME);
    Wheel(grid, RowPoint(grid, 0), -120);
    EXPECT_EQ(StoredCity().ToString(), "5"); // four rows shown: 1 to 4
    Wheel(grid, RowPoint(grid, 0), 120);
    EXPECT_EQ(StoredCity().ToString(), std::to_string(m_cities->RecNo()));
    EXPECT_LT(m_cities->RecNo(), 5);
}

TEST_F(LookupGrid, TheSpecialRowStandsForItsValueAndForKeysOutsideTheList)
{
    TDBLookupGridGx& grid = MakeGrid();
    grid.SpecRow()->SetCellsText("(none)");
    grid.SpecRow()->SetValue(Variant(0));
    grid.SpecRow()->SetVisible(true);
    Focus(grid);

    // Up from the first record selects the special row, whose value is written.
    Key(VK_HOME);
    Key(VK_UP);
    EXPECT_TRUE(grid.SpecRowSelected());
    EXPECT_EQ(StoredCity().ToString(), "0");
    EXPECT_EQ(grid.Text(), "(none)");
    Key(VK_DOWN); // down from the special row starts at the first record
    EXPECT_FALSE(grid.SpecRowSelected());
    EXPECT_EQ(StoredCity().ToString(), "1");

    // A key outside the list: the special row when it shows for such keys, else nothing.
    m_people->Post();
    m_people->Next();
    EXPECT_TRUE(grid.SpecRowSelected());
    EXPECT_EQ(grid.Text(), "(none)");
    grid.SpecRow()->SetShowIfNotInKeyList(false);
    m_people->Prior();
    m_people->Next();
    EXPECT_FALSE(grid.SpecRowSelected());
    EXPECT_EQ(grid.Text(), "");
}

// The special row is a row of its own above the records: the grid grows by it, its cells show
// the columns' texts, and a click on it picks its value.
TEST_F(LookupGrid, TheSpecialRowIsPaintedAboveTheRecordsAndPickedByAClick)
{
    TDBLookupGridGx& grid = MakeGrid();
    grid.SetListFieldNames("CODE;NAME"); // a column each
    ASSERT_EQ(grid.Columns().Count(), 2);
    const int heightWithout = grid.Height();
    const POINT firstRecord = RowPoint(grid, 0);
    grid.SpecRow()->SetCellsText("0;(no city)");
    grid.SpecRow()->SetValue(Variant(0));
    grid.SpecRow()->SetColor(clYellow);
    grid.SpecRow()->SetVisible(true);
    Pump();
    EXPECT_EQ(grid.RowsShown(), 4);
    EXPECT_EQ(grid.Height(), heightWithout + grid.DataRowHeight()); // the grid draws no row lines
    EXPECT_EQ(grid.VisibleDataRowCount(), 4);
    EXPECT_EQ(RowPoint(grid, 0).y, firstRecord.y + grid.DataRowHeight());

    const TRect codeCell = grid.CellRect(grid.IndicatorOffset(), grid.SpecRowGridRow());
    const POINT special{codeCell.left + 3, (codeCell.top + codeCell.bottom) / 2};
    EXPECT_EQ(Shown(grid, special), 0xFFFF00u);
    EXPECT_EQ(Shown(grid, RowPoint(grid, 1)), SysRgb(COLOR_HIGHLIGHT)); // London, the person's city

    // A column's own cell text and colour win over the row's.
    auto* name = dynamic_cast<TDBLookupGridColumnGx*>(grid.Columns().ColumnAt(1));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->SpecCell()->Text(), "(no city)");
    name->SpecCell()->SetColor(clAqua);
    Pump();
    const TRect nameCell = grid.CellRect(grid.IndicatorOffset() + 1, grid.SpecRowGridRow());
    EXPECT_EQ(Shown(grid, POINT{nameCell.right - 3, special.y}), 0x00FFFFu);

    Click(grid, special);
    EXPECT_TRUE(grid.SpecRowSelected());
    EXPECT_EQ(StoredCity().ToString(), "0");
    Pump();
    EXPECT_EQ(Shown(grid, special), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(Shown(grid, RowPoint(grid, 1)), SysRgb(COLOR_WINDOW));
    // No focus rectangle round the first record, whose row the list's cursor is on.
    const TRect berlin = grid.CellRect(grid.IndicatorOffset() + 1, grid.TitleOffset());
    for (int x = berlin.left; x < berlin.right; ++x)
        ASSERT_EQ(Shown(grid, POINT{x, berlin.top}), SysRgb(COLOR_WINDOW)) << x;

    // Moving a column takes its special-row text along, and the list's fields follow the
    // columns' order.
    name->SetIndex(0);
    EXPECT_EQ(grid.SpecRow()->CellText(0), "(no city)");
    EXPECT_EQ(grid.SpecRow()->CellText(1), "0");
    EXPECT_EQ(grid.ListFieldNames(), "NAME;CODE");
    ASSERT_EQ(grid.Columns().Count(), 2);
    EXPECT_EQ(grid.Columns().ColumnAt(0), name);
    EXPECT_EQ(grid.Text(), "(no city)");

    // Hidden again, the row and its height are gone.
    grid.SpecRow()->SetVisible(false);
    Pump();
    EXPECT_EQ(grid.Height(), heightWithout);
    EXPECT_EQ(RowPoint(grid, 0).y, firstRecord.y);
}

// Dragging above or below the grid scrolls the list a record a tick, faster the farther the
// pointer is, up to the special row; back inside, or released, it stops.
TEST_F(LookupGrid, DraggingOutsideScrollsTheListUpToTheSpecialRow)
{
    TDBLookupGridGx& grid = MakeGrid();
    grid.SpecRow()->SetCellsText("(none)");
    grid.SpecRow()->SetValue(Variant(0));
    grid.SpecRow()->SetVisible(true);
    Pump();
    Press(grid, RowPoint(grid, 1), true);
    EXPECT_EQ(StoredCity().ToString(), "2");
    EXPECT_EQ(grid.AutoScrollTimer(), nullptr);

    const auto tick = [&] { grid.AutoScrollTimer()->OnTimer()(grid.AutoScrollTimer()); };
    MoveHeld(grid, POINT{20, -10});
    ASSERT_NE(grid.AutoScrollTimer(), nullptr);
    EXPECT_TRUE(grid.AutoScrollTimer()->Enabled());
    EXPECT_EQ(grid.AutoScrollTimer()->Interval(), 200u - 15 * 10);
    tick();
    EXPECT_EQ(StoredCity().ToString(), "1");
    tick();
    EXPECT_TRUE(grid.SpecRowSelected());
    EXPECT_EQ(StoredCity().ToString(), "0");
    MoveHeld(grid, POINT{20, -40}); // far away: as fast as a timer goes
    EXPECT_EQ(grid.AutoScrollTimer()->Interval(), 10u);

    MoveHeld(grid, POINT{20, grid.ClientHeight() + 3});
    EXPECT_EQ(grid.AutoScrollTimer()->Interval(), 200u - 15 * 4);
    tick();
    EXPECT_EQ(StoredCity().ToString(), "1");
    tick();
    EXPECT_EQ(StoredCity().ToString(), "2");

    MoveHeld(grid, RowPoint(grid, 0));
    EXPECT_FALSE(grid.AutoScrollTimer()->Enabled());
    MoveHeld(grid, POINT{20, -10});
    Press(grid, POINT{20, -10}, false);
    EXPECT_FALSE(grid.AutoScrollTimer()->Enabled());
}

TEST_F(LookupGrid, TypingSearchesTheShownNamesForUpToThirtyTwoCharacters)
{
    FakeClock clock;
    TDBLookupGridGx& grid = MakeGrid();
    Focus(grid);
    Type("ly");
    EXPECT_EQ(grid.SearchText(), "ly");
    EXPECT_EQ(StoredCity().ToString(), "3");
    Type("x"); // no city begins so: nothing changes
    EXPECT_EQ(grid.SearchText(), "ly");
    EXPECT_EQ(StoredCity().ToString(), "3");
    clock.Advance(2001);
    Type("p");
    EXPECT_EQ(grid.SearchText(), "p");
    EXPECT_EQ(StoredCity().ToString(), "4");

    // The 33rd character is ignored, counted in characters, not bytes.
    for (const std::string& name : {LongName, LongWideName}) {
        clock.Advance(2001);
        std::string typed;
        for (std::size_t i = 0, characters = 0; i < name.size() && characters < 40; ++characters) {
            const std::size_t length = (static_cast<unsigned char>(name[i]) >= 0xC0) ? 2 : 1;
            typed += name.substr(i, length);
            i += length;
        }
        Type(typed);
        EXPECT_EQ(Utf8CharacterCount(grid.SearchText()), 32u);
        EXPECT_EQ(grid.Text(), name);
    }
}

TEST_F(LookupGrid, AClickPicksTheRecordAndWithoutEditedFieldsTheGridKeepsTheKey)
{
    TDBLookupGridGx& grid = MakeGrid(false);
    EXPECT_TRUE(VarIsNull(grid.KeyValue()));
    grid.SetKeyValue(Variant(4));
    EXPECT_EQ(grid.Text(), "Paris");
    Click(grid, RowPoint(grid, 0));
    EXPECT_EQ(grid.KeyValue().ToString(), "1");
    EXPECT_EQ(grid.Text(), "Berlin");
    EXPECT_TRUE(grid.Focused());
}

TEST_F(LookupGrid, BindingErrorsAreReported)
{
    TDBLookupGridGx& grid = MakeGrid();
    try {
        grid.SetListFieldNames("NAME;NOPE");
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.Message()).find("Field 'NAME;NOPE' not found"), std::string::npos);
    }
    EXPECT_FALSE(grid.ListActive());

    auto circular = std::make_unique<TDBLookupGridGx>(nullptr);
    circular->SetListSource(m_personSource.get());
    circular->SetKeyFieldNames("NAME");
    circular->SetValueSource(m_personSource.get());
    try {
        circular->SetDataFieldNames("CITY_ID");
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.Message()).find("Circular datalinks are not allowed"), std::string::npos);
    }
}

TEST_F(LookupGrid, ALookupFieldBringsItsListAndTheGridWritesItsKeyField)
{
    const auto people = OpenPeopleWithCity();
    TDataSource source(nullptr);
    source.SetDataSet(people.get());

    auto* grid = new TDBLookupGridGx(m_form.get());
    grid->SetParent(m_form.get());
    grid->SetBounds(10, 10, 200, 100);
    grid->SetValueSource(&source);
    grid->SetDataFieldNames("CITY");
    Pump();
    EXPECT_TRUE(grid->LookupMode());
    EXPECT_EQ(grid->KeyFieldNames(), "CODE");
    EXPECT_EQ(grid->Text(), "London");
    EXPECT_THROW(grid->SetKeyFieldNames("NAME"), EDatabaseError);

    Focus(*grid);
    Key(VK_DOWN);
    EXPECT_EQ(people->FieldByName("CITY_ID")->AsString(), "3");
    EXPECT_EQ(grid->Text(), "Lyon");
    delete grid;
}

// A data grid's lookup column shows its drop-down's special row for the key the row stands for,
// and for keys missing from the list when the row stands for those too.
TEST_F(LookupGrid, ALookupColumnShowsItsSpecialRowText)
{
    RegisterColumnSpecialRows();
    Exec("INSERT INTO PERSON (NAME, CITY_ID) VALUES ('Cleo', 0)");
    const auto people = OpenPeopleWithCity();
    TDataSource source(nullptr);
    source.SetDataSet(people.get());
    auto* grid = new TDBGridGx(m_form.get());
    grid->SetParent(m_form.get());
    grid->SetBounds(10, 10, 300, 120);
    grid->SetDataSource(&source);
    Pump();
    TColumnGx* column = grid->ColumnByFieldName("CITY");
    ASSERT_NE(column, nullptr);
    auto* row = dynamic_cast<TSpecRowGx*>(column->DropDownSpecRow());
    ASSERT_NE(row, nullptr);
    row->SetCellsText("(nowhere)");
    row->SetValue(Variant(0));

    const auto shown = [&](int recNo) {
        people->First();
        (void)people->MoveBy(recNo - 1);
        return column->DisplayText();
    };
    // Hidden, the row changes nothing.
    EXPECT_EQ(shown(3), "");
    row->SetVisible(true);
    EXPECT_EQ(shown(1), "London");
    EXPECT_EQ(shown(2), "(nowhere)"); // city 99 is not in the list
    EXPECT_EQ(shown(3), "(nowhere)"); // city 0 is the row's value
    row->SetShowIfNotInKeyList(false);
    EXPECT_EQ(shown(2), "");
    EXPECT_EQ(shown(3), "(nowhere)");

    delete grid;
    SetColumnSpecRowMaker(nullptr);
}

namespace {

// A lookup grid over a list that gives no record numbers (a server cursor, say).
class TUnnumberedLookupGrid : public TDBLookupGridGx {
public:
    using TDBLookupGridGx::TDBLookupGridGx;
    bool RecordsNumbered() const override { return false; }
};

// Client points of the parts of a grid's vertical scroll bar, where a user clicks them.
struct VertBarPoints {
    POINT lineUp;
    POINT pageUp;
    POINT thumb;
    POINT pageDown;
    POINT lineDown;
    POINT barBottom;
};

VertBarPoints VertBar(TWinControl& grid)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(GetScrollBarInfo(grid.Handle(), OBJID_VSCROLL, &info));
    POINT top{info.rcScrollBar.left, info.rcScrollBar.top};
    (void)ScreenToClient(grid.Handle(), &top);
    const int x = top.x + (info.rcScrollBar.right - info.rcScrollBar.left) / 2;
    const int height = info.rcScrollBar.bottom - info.rcScrollBar.top;
    const int arrow = info.dxyLineButton;
    return VertBarPoints{POINT{x, top.y + arrow / 2},
                         POINT{x, top.y + info.xyThumbTop - 2},
                         POINT{x, top.y + (info.xyThumbTop + info.xyThumbBottom) / 2},
                         POINT{x, top.y + info.xyThumbBottom + 2},
                         POINT{x, top.y + height - arrow / 2},
                         POINT{x, top.y + height - arrow - 1}};
}

SCROLLINFO VertInfo(TWinControl& grid)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    (void)GetScrollInfo(grid.Handle(), SB_VERT, &info);
    return info;
}

bool HasStyle(TWinControl& control, LONG style) { return (GetWindowLongA(control.Handle(), GWL_STYLE) & style) != 0; }

class LookupGridScrolling : public LookupGrid {
protected:
    // Thirty cities, codes 1 to 30, before a grid is made; four rows are shown.
    void SetUp() override
    {
        LookupGrid::SetUp();
        for (int code = 7; code <= 30; ++code)
            Exec("INSERT INTO CITY VALUES (" + std::to_string(code) + ", 'City " + std::to_string(code) + "')");
        m_cities->Close();
        m_cities->Open();
    }
    void ClickBar(POINT VertBarPoints::*part)
    {
        Click(*m_grid, VertBar(*m_grid).*part);
        Pump();
    }
    // The first record in the window and where the thumb is.
    [[nodiscard]] std::pair<int, int> Shown() const { return {m_grid->TopRecordNumber(), VertInfo(*m_grid).nPos}; }
    using LookupGrid::Shown;
    // A point of a data row above its text, which may run across the whole row.
    [[nodiscard]] static POINT AboveText(TDBLookupGridGx& grid, int dataRow)
    {
        return POINT{RowPoint(grid, dataRow).x, grid.CellRect(0, grid.TitleOffset() + dataRow).top + 1};
    }
};

} // namespace

// The scroll bar moves the window of records a line or a page (less one) at a time and the thumb
// follows the first record in it; the picked city stays what it was and is drawn selected only
// while it is in the window.
TEST_F(LookupGridScrolling, TheScrollBarMovesTheRecordsShownAndTheThumbFollowsTheFirst)
{
    TDBLookupGridGx& grid = MakeGrid();
    ASSERT_TRUE(HasStyle(grid, WS_VSCROLL));
    const SCROLLINFO start = VertInfo(grid);
    EXPECT_EQ(start.nMin, 0);
    EXPECT_EQ(start.nMax, 29);
    EXPECT_EQ(start.nPage, 4u);
    EXPECT_EQ(Shown(), std::pair(1, 0));
    EXPECT_EQ(Shown(grid, AboveText(grid, 1)), SysRgb(COLOR_HIGHLIGHT)); // London, the person's city

    struct Step {
        POINT VertBarPoints::*part;
        std::pair<int, int> shown; // first record, thumb
    };
    for (const Step& step : std::vector<Step>{{&VertBarPoints::lineDown, {2, 1}},
                                              {&VertBarPoints::lineDown, {3, 2}},
                                              {&VertBarPoints::pageDown, {6, 5}},
                                              {&VertBarPoints::pageDown, {9, 8}},
                                              {&VertBarPoints::pageUp, {6, 5}},
                                              {&VertBarPoints::lineUp, {5, 4}}}) {
        ClickBar(step.part);
        EXPECT_EQ(Shown(), step.shown);
        EXPECT_EQ(StoredCity().ToString(), "2");
        EXPECT_EQ(grid.Text(), "London");
    }
    Pump();
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(Shown(grid, AboveText(grid, row)), SysRgb(COLOR_WINDOW)) << row;

    // The thumb dragged to the bottom shows the last records; dragged back to the top, the first,
    // with London selected again.
    MouseInput(*m_display).Drag(grid.Handle(), VertBar(grid).thumb, VertBar(grid).barBottom);
    Pump();
    EXPECT_EQ(Shown(), std::pair(27, 26));
    EXPECT_EQ(m_cities->FieldByName("CODE")->AsString(), "30");
    MouseInput(*m_display).Drag(grid.Handle(), VertBar(grid).thumb, VertBar(grid).lineUp);
    Pump();
    EXPECT_EQ(Shown(), std::pair(1, 0));
    EXPECT_EQ(Shown(grid, AboveText(grid, 1)), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(StoredCity().ToString(), "2");

    // A thumb dragged part way brings the record it names to the first row.
    const VertBarPoints bar = VertBar(grid);
    MouseInput(*m_display).Drag(grid.Handle(), bar.thumb, POINT{bar.thumb.x, (bar.lineUp.y + bar.lineDown.y) / 2});
    Pump();
    const auto [first, thumb] = Shown();
    EXPECT_GT(first, 8);
    EXPECT_LT(first, 22);
    EXPECT_EQ(thumb, first - 1);

    // A closed list leaves a bar with nothing to scroll, which is not shown.
    m_cities->Close();
    Pump();
    EXPECT_EQ(VertInfo(grid).nMax, 2);
    EXPECT_FALSE(HasStyle(grid, WS_VSCROLL));
}

// Without record numbers the bar has five positions: the start, a page up, between, a page down
// and the end; it is not shown while the records do not fill the window.
TEST_F(LookupGridScrolling, AListWithoutRecordNumbersHasAFivePositionBar)
{
    m_grid = new TUnnumberedLookupGrid(m_form.get());
    m_grid->SetParent(m_form.get());
    m_grid->SetBounds(10, 10, 200, 100);
    Bind(*m_grid, true);
    m_grid->SetRowsShown(4);
    Pump();
    TDBLookupGridGx& grid = *m_grid;
    EXPECT_EQ(VertInfo(grid).nMax, 4);
    EXPECT_EQ(VertInfo(grid).nPos, 2); // the list's cursor is on London, past the start
    ClickBar(&VertBarPoints::lineUp);
    EXPECT_EQ(Shown(), std::pair(1, 0));
    ClickBar(&VertBarPoints::pageDown);
    EXPECT_EQ(Shown(), std::pair(4, 2));
    MouseInput(*m_display).Drag(grid.Handle(), VertBar(grid).thumb, VertBar(grid).barBottom);
    Pump();
    EXPECT_EQ(Shown(), std::pair(27, 4));
    MouseInput(*m_display).Drag(grid.Handle(), VertBar(grid).thumb, VertBar(grid).lineUp);
    Pump();
    EXPECT_EQ(Shown(), std::pair(1, 0));
    EXPECT_EQ(StoredCity().ToString(), "2");

    // Thirty rows shown: the records leave the window part empty and there is nothing to scroll.
    grid.SetRowsShown(40);
    Pump();
    EXPECT_EQ(VertInfo(grid).nMax, 0);
    EXPECT_FALSE(HasStyle(grid, WS_VSCROLL));
}

// Fitted columns fill the client width beside the vertical bar, there is no horizontal bar, and
// the rows shown stay whole; then Left and Right pick records like Up and Down.
TEST_F(LookupGridScrolling, FittedColumnsFillTheClientWidthAndTheArrowsPickRecords)
{
    TDBLookupGridGx& grid = MakeGrid();
    grid.SetListFieldNames("CODE;NAME");
    grid.Columns().ColumnAt(1)->SetWidth(400);
    Pump();
    ASSERT_TRUE(HasStyle(grid, WS_HSCROLL));
    const int heightWithBar = grid.Height();
    Focus(grid);
    Key(VK_RIGHT); // scrolls the columns, picks nothing
    EXPECT_EQ(StoredCity().ToString(), "2");

    const auto columnsFill = [&] {
        const TRect last = grid.CellRect(grid.IndicatorOffset() + 1, grid.TitleOffset());
        EXPECT_EQ(last.right + grid.GridLineWidth(), grid.ClientWidth());
        EXPECT_EQ(grid.CellRect(grid.IndicatorOffset(), grid.TitleOffset()).left, 0);
        // The right end of the last column is painted, and its line is the last pixel.
        EXPECT_EQ(Shown(grid, POINT{last.right - 2, RowPoint(grid, 1).y}), SysRgb(COLOR_HIGHLIGHT));
    };
    grid.SetAutoFitColWidths(true);
    Pump();
    EXPECT_FALSE(HasStyle(grid, WS_HSCROLL));
    EXPECT_TRUE(HasStyle(grid, WS_VSCROLL));
    columnsFill();
    EXPECT_EQ(grid.RowsShown(), 4);
    EXPECT_EQ(grid.VisibleDataRowCount(), 4);
    EXPECT_LT(grid.Height(), heightWithBar);
    grid.SetWidth(320);
    Pump();
    columnsFill();

    // The window was made again without its horizontal bar, and lost the focus with the old one.
    Focus(*m_other);
    Focus(grid);
    Key(VK_RIGHT);
    EXPECT_EQ(StoredCity().ToString(), "3");
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(StoredCity().ToString(), "1");
}

namespace {

class PopupDataGrid : public LookupGrid {
protected:
    void SetUp() override
    {
        LookupGrid::SetUp();
        m_popup = new TPopupDataGridGx(m_other);
        Bind(*m_popup, true);
        m_popup->SetRowsShown(4);
        m_popup->SetOnCloseUp(TCloseUpEventGx::FromFunction([this](TObject*, bool accept) {
            m_closes.push_back(accept);
        }));
        m_popup->SetOnUserKeyValueChange(TNotifyEvent::FromFunction([this](TObject*) { ++m_userChanges; }));
        Focus(*m_other);
        const auto at = PlaceDropDownUnderEdit(*m_other, *m_popup, ddaLeft);
        m_popup->SetBounds(at.x, at.y, 160, m_popup->Height());
        (void)SetWindowPos(m_popup->Handle(), HWND_TOPMOST, at.x, at.y, m_popup->Width(), m_popup->Height(),
                           SWP_SHOWWINDOW | SWP_NOACTIVATE);
        Pump();
    }

    TPopupDataGridGx* m_popup = nullptr;
    std::vector<bool> m_closes;
    int m_userChanges = 0;
};

} // namespace

TEST_F(PopupDataGrid, OpensAndIsClickedWithoutTakingFocusOrActivation)
{
    const HWND focused = GetFocus();
    const HWND active = GetActiveWindow();
    EXPECT_EQ(focused, m_other->Handle());
    EXPECT_EQ(m_popup->Perform(WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    EXPECT_NE(GetWindowLongA(m_popup->Handle(), GWL_EXSTYLE) & WS_EX_NOACTIVATE, 0);

    // Hovering picks the row under the pointer, as the user's change (city codes are record numbers).
    const int top = m_popup->TopRecordNumber();
    m_display->InjectMouseMove(TopLevelId(m_popup->Handle()), InTopLevel(m_popup->Handle(), RowPoint(*m_popup, 2)));
    Pump();
    EXPECT_EQ(StoredCity().ToString(), std::to_string(top + 2));
    EXPECT_EQ(m_userChanges, 1);
    EXPECT_EQ(Shown(*m_popup, RowPoint(*m_popup, 2)), SysRgb(COLOR_HIGHLIGHT));

    Click(*m_popup, RowPoint(*m_popup, 1));
    EXPECT_EQ(StoredCity().ToString(), std::to_string(top + 1));
    EXPECT_EQ(m_closes, (std::vector<bool>{true}));
    EXPECT_EQ(GetFocus(), focused);
    EXPECT_EQ(GetActiveWindow(), active);
}

TEST_F(PopupDataGrid, AReleaseOutsideClosesWithoutAccepting)
{
    Press(*m_popup, RowPoint(*m_popup, 1), true);
    Press(*m_popup, POINT{-30, -30}, false);
    EXPECT_EQ(m_closes, (std::vector<bool>{false}));
    // A change the program makes is not the user's.
    const int userChanges = m_userChanges;
    m_people->Next();
    EXPECT_EQ(m_userChanges, userChanges);
}

// The drop-down's scroll bar scrolls the list without closing it, picking a city or taking the
// focus from the editor it drops down from.
TEST_F(PopupDataGrid, ItsScrollBarScrollsWithoutClosingOrTakingFocus)
{
    const HWND focused = GetFocus();
    const std::string city = StoredCity().ToString();
    const int userChanges = m_userChanges;
    ASSERT_TRUE(HasStyle(*m_popup, WS_VSCROLL));
    // Opening may have left the window at the first record or the second.
    Click(*m_popup, VertBar(*m_popup).lineUp);
    Click(*m_popup, VertBar(*m_popup).lineUp);
    EXPECT_EQ(m_popup->TopRecordNumber(), 1);
    EXPECT_EQ(VertInfo(*m_popup).nPos, 0);
    Click(*m_popup, VertBar(*m_popup).lineDown);
    EXPECT_EQ(m_popup->TopRecordNumber(), 2);
    EXPECT_EQ(VertInfo(*m_popup).nPos, 1);
    EXPECT_TRUE(m_closes.empty());
    EXPECT_EQ(m_userChanges, userChanges);
    EXPECT_EQ(StoredCity().ToString(), city);
    EXPECT_EQ(GetFocus(), focused);
}
