#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/Hints.h"
#include "tests/support/TempDir.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

TEST_F(DBGridFixture, OptionsRowSelectDropsEditingAndMapsTheBaseGrid)
{
    ShowPeople(3);
    EXPECT_FALSE(m_db->Options().Contains(dgEditing));
    EXPECT_TRUE(m_db->TCustomGridGx::Options().Contains(goRowSelect));
    EXPECT_FALSE(m_db->TCustomGridGx::Options().Contains(goEditing));
    m_db->SetOptions(m_db->Options() + TDBGridOptions{dgEditing, dgAlwaysShowEditor});
    EXPECT_FALSE(m_db->Options().Contains(dgEditing));
    EXPECT_FALSE(m_db->Options().Contains(dgAlwaysShowEditor));

    m_db->SetOptions(m_db->Options() - TDBGridOptions{dgRowSelect} + TDBGridOptions{dgEditing});
    EXPECT_TRUE(m_db->TCustomGridGx::Options().Contains(goEditing));
    m_db->SetOptions(m_db->Options() - TDBGridOptions{dgIndicator});
    EXPECT_EQ(m_db->IndicatorOffset(), 0);
    EXPECT_EQ(m_db->ColCount(), 2);
}

TEST_F(DBGridFixture, ColumnByFieldNameNamesTheMissingField)
{
    ShowPeople(3);
    EXPECT_EQ(m_db->ColumnByFieldName("name"), m_db->Columns().ColumnAt(0));
    try {
        (void)m_db->ColumnByFieldName("PHONE");
        FAIL() << "no error";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Field name 'PHONE' not found");
    }
}

// A row-number column has no field, and grids sharing a data source that is switched between
// queries have columns for fields the current query lacks: both are blank, never an error.
TEST_F(DBGridFixture, ColumnsWithoutTheirFieldLayOutBlank)
{
    ShowPeople(3);
    static_cast<TColumnGx*>(m_db->Columns().Insert(0))->Title()->SetCaption("No.");
    m_db->Columns().Add()->SetFieldName("PHONE");
    Pump();
    ASSERT_EQ(m_db->Columns().Count(), 4);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Field(), nullptr);
    EXPECT_EQ(m_db->Columns().ColumnAt(1)->Field(), m_query->FieldByName("NAME"));
    EXPECT_EQ(m_db->Columns().ColumnAt(3)->Field(), nullptr);
    EXPECT_EQ(m_db->DataLink().GetMappedField(1), m_query->FieldByName("NAME"));
    EXPECT_EQ(m_db->DataLink().GetMappedField(3), nullptr);
}

TEST_F(DBGridFixture, FrozenColumnsBeyondTheColumnsStillLayOut)
{
    ShowPeople(3);
    m_db->SetFrozenCols(5);
    EXPECT_EQ(m_db->FrozenCols(), 5);
    EXPECT_LT(m_db->FixedCols(), m_db->ColCount());
    m_db->SetFrozenCols(-1);
    EXPECT_EQ(m_db->FrozenCols(), 5);
}

TEST_F(DBGridFixture, RowsShowTheRecordsThatFitWithRecordNumbersInOrder)
{
    ShowPeople(100);
    const int line = 1;
    const int expected = (300 - (m_db->RowHeightAt(0) + line)) / (m_db->DefaultRowHeight() + line);
    EXPECT_EQ(VisibleRows(), expected);

    std::vector<int> numbers;
    std::vector<std::string> texts;
    m_db->SetOnDrawColumnCell(TDrawColumnCellEventGx::FromFunction(
        [&](TObject*, const TRect&, int dataCol, TColumnGx* column, TGridDrawState) {
            if (dataCol == 0) {
                numbers.push_back(m_query->RecNo());
                texts.push_back(column->DisplayText());
            }
        }));
    m_db->Invalidate();
    m_db->Update();
    ASSERT_EQ(static_cast<int>(numbers.size()), expected);
    for (int i = 0; i < expected; ++i) {
        EXPECT_EQ(numbers[static_cast<std::size_t>(i)], i + 1);
        EXPECT_EQ(texts[static_cast<std::size_t>(i)], "Name " + std::to_string(i + 1));
    }
    EXPECT_EQ(RecNo(), 1) << "painting leaves the current record";
}

TEST_F(DBGridFixture, PixelsOfTitlesIndicatorHighlightAndRowColours)
{
    ShowPeople(10);
    m_db->SetOddRowColor(clYellow);
    m_db->SetEvenRowColor(clAqua);
    Pump();
    const int top = m_db->TitleOffset();
    const TRect title = m_db->CellRect(1, 0);
    EXPECT_EQ(Shown({title.right - 8, title.top + 3}), SysRgb(COLOR_BTNFACE));
    // The current row (record 1) is highlighted in a focused row-select grid.
    const TRect current = m_db->CellRect(1, top);
    EXPECT_EQ(Shown({current.right - 8, current.top + 2}), SysRgb(COLOR_HIGHLIGHT));
    // Record 2 is even, record 3 odd.
    const TRect even = m_db->CellRect(1, top + 1);
    EXPECT_EQ(Shown({even.right - 8, even.top + 2}), RgbOf(ColorToRGB(clAqua)));
    const TRect odd = m_db->CellRect(1, top + 2);
    EXPECT_EQ(Shown({odd.right - 8, odd.top + 2}), RgbOf(ColorToRGB(clYellow)));
    // The indicator's mark sits on the current record's row only.
    const TRect mark = m_db->CellRect(0, top);
    EXPECT_EQ(Shown({mark.right - 4, (mark.top + mark.bottom) / 2}), 0x000000u);
    const TRect plain = m_db->CellRect(0, top + 1);
    EXPECT_EQ(Shown({plain.right - 4, (plain.top + plain.bottom) / 2}), SysRgb(COLOR_BTNFACE));
    // Text is drawn: some pixel of the name differs from the background.
    bool inked = false;
    for (int x = even.left + 2; x < even.left + 40 && !inked; ++x)
        for (int y = even.top + 1; y < even.bottom - 1 && !inked; ++y)
            inked = Shown({x, y}) != RgbOf(ColorToRGB(clAqua));
    EXPECT_TRUE(inked);
}

TEST_F(DBGridFixture, CheckBoxesShowTheFieldValue)
{
    ShowPeople(4);
    const int top = m_db->TitleOffset();
    const auto boxCentreInk = [&](int row) {
        const TRect cell = m_db->CellRect(2, row);
        const int left = cell.left + (cell.right - cell.left - TCustomDBGridGx::CheckBoxSize) / 2;
        const int boxTop = cell.top + (cell.bottom - cell.top - TCustomDBGridGx::CheckBoxSize) / 2;
        int dark = 0;
        for (int x = left + 2; x < left + 11; ++x)
            for (int y = boxTop + 2; y < boxTop + 11; ++y)
                dark += Shown({x, y}) == SysRgb(COLOR_WINDOWTEXT) ? 1 : 0;
        return dark;
    };
    EXPECT_GT(boxCentreInk(top + 2), 0) << "record 3 is ticked";
    EXPECT_EQ(boxCentreInk(top + 1), 0) << "record 2 is not";
}

TEST_F(DBGridFixture, KeysMoveTheRecord)
{
    ShowPeople(100);
    const int page = VisibleRows();
    struct Step {
        unsigned Key;
        unsigned Modifiers;
        int RecNo;
    };
    const Step steps[] = {
        {VK_DOWN, 0, 2},           {VK_UP, 0, 1},          {VK_UP, 0, 1},
        {VK_NEXT, 0, 1 + page},    {VK_PRIOR, 0, 1},       {VK_END, ModControl, 100},
        {VK_DOWN, 0, 100},         {VK_HOME, ModControl, 1}, {VK_END, 0, 100},
    };
    for (const Step& step : steps) {
        Key(step.Key, step.Modifiers);
        EXPECT_EQ(RecNo(), step.RecNo) << "key " << step.Key;
        EXPECT_EQ(m_db->Row(), m_db->TitleOffset() + m_db->DataLink().ActiveRecord());
    }
    EXPECT_EQ(m_db->Row(), m_db->RowCount() - 1) << "the last record on the last row";
}

TEST_F(DBGridFixture, ClicksMoveTheRecordAndFireCellClickAndDoubleClick)
{
    ShowPeople(20);
    std::vector<std::string> events;
    m_db->SetOnCellClick(
        TColumnEventGx::FromFunction([&](TColumnGx* column) { events.push_back("cell " + column->FieldName()); }));
    m_db->SetOnDblClick(TNotifyEvent::FromFunction([&](TObject*) { events.push_back("double"); }));
    m_db->SetOnTitleClick(
        TColumnEventGx::FromFunction([&](TColumnGx* column) { events.push_back("title " + column->FieldName()); }));

    Click(CellCentre(1, m_db->TitleOffset() + 3));
    EXPECT_EQ(RecNo(), 4);
    Click(CellCentre(1, 0));
    EXPECT_EQ(RecNo(), 4) << "a title click leaves the record";
    Click(CellCentre(1, m_db->TitleOffset() + 5));
    Click(CellCentre(1, m_db->TitleOffset() + 5));
    EXPECT_EQ(RecNo(), 6);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[0], "cell NAME");
    EXPECT_EQ(events[1], "title NAME");
    EXPECT_NE(std::find(events.begin(), events.end(), "double"), events.end());
}

// The manager's grids select rows and do not edit text, yet their tick columns must tick.
TEST_F(DBGridFixture, ClickingATickWritesTheFieldOnARowSelectGrid)
{
    ShowPeople(5);
    const int row = m_db->TitleOffset() + 1; // record 2, not ticked
    ASSERT_FALSE(StoredSel(2));
    Click(CellCentre(2, row));
    EXPECT_TRUE(StoredSel(2));
    EXPECT_EQ(m_query->State(), dsBrowse);
    Click(CellCentre(2, row));
    EXPECT_FALSE(StoredSel(2));

    // Pressed on one cell and released on another changes nothing.
    Press(CellCentre(2, row), true);
    Press(CellCentre(2, row + 1), false);
    EXPECT_FALSE(StoredSel(2));
    EXPECT_TRUE(StoredSel(3));

    m_db->SetReadOnly(true);
    Click(CellCentre(2, row));
    EXPECT_FALSE(StoredSel(2));
}

TEST_F(DBGridFixture, ControlDeleteAsksFirst)
{
    ShowPeople(5);
    std::vector<std::string> asked;
    TModalResult answer = mrCancel;
    SetMessageDlgHandler([&](const std::string& text, const std::string&, TMsgDlgType, TMsgDlgButtons) {
        asked.push_back(text);
        return answer;
    });
    Key(VK_DOWN);
    Key(VK_DELETE, ModControl);
    EXPECT_EQ(m_query->RecordCount(), 5);
    answer = mrOk;
    Key(VK_DELETE, ModControl);
    EXPECT_EQ(m_query->RecordCount(), 4);
    EXPECT_EQ(asked, (std::vector<std::string>{"Delete record?", "Delete record?"}));
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Name 3");

    m_db->SetAllowedOperations({alopUpdateGx});
    Key(VK_DELETE, ModControl);
    EXPECT_EQ(m_query->RecordCount(), 4);
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(DBGridFixture, ScrollingAHundredThousandRowsKeepsOnlyAPageOfRows)
{
    ShowPeople(100000);
    const int page = VisibleRows();
    EXPECT_EQ(m_db->DataLink().BufferCount(), page);

    m_db->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(RecNo(), 1 + page);
    m_db->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(RecNo(), 100000);
    m_db->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(120)), 0);
    EXPECT_EQ(RecNo(), 99999);
    m_db->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(RecNo(), 100000);
    m_db->Perform(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(RecNo(), 1);
    Pump();

    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(m_db->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMin, 1);
    EXPECT_EQ(info.nMax, 100000 + page - 1);
    EXPECT_EQ(static_cast<int>(info.nPage), page);

    int painted = 0;
    m_db->SetOnDrawColumnCell(TDrawColumnCellEventGx::FromFunction(
        [&](TObject*, const TRect&, int, TColumnGx*, TGridDrawState) { ++painted; }));
    m_db->Invalidate();
    m_db->Update();
    EXPECT_EQ(painted, 2 * page) << "a paint walks the rows on screen only";
    EXPECT_EQ(m_db->RowCount(), m_db->TitleOffset() + page);
}

TEST_F(DBGridFixture, ResizingChangesTheRowsBuffered)
{
    ShowPeople(100);
    const int before = VisibleRows();
    m_db->SetBounds(0, 0, 400, 150);
    Pump();
    EXPECT_LT(VisibleRows(), before);
    EXPECT_EQ(m_db->DataLink().BufferCount(), VisibleRows());
}

} // namespace

namespace {

TEST_F(DBGridFixture, LeavingTheGridDropsTheRowHighlightUnlessAlwaysShown)
{
    ShowPeople(5);
    const TRect current = m_db->CellRect(1, m_db->TitleOffset());
    const POINT inside{current.right - 8, current.top + 2};
    ASSERT_EQ(Shown(inside), SysRgb(COLOR_HIGHLIGHT));

    m_grid->SetBounds(0, 310, 40, 20);
    m_grid->SetVisible(true);
    m_form->SetActiveControl(m_grid);
    Pump();
    EXPECT_EQ(Shown(inside), SysRgb(COLOR_WINDOW));

    m_db->SetOptions(m_db->Options() + TDBGridOptions{dgAlwaysShowSelection});
    Pump();
    EXPECT_EQ(Shown(inside), SysRgb(COLOR_BTNSHADOW));
}

} // namespace

namespace {

// The manager's row-select grids have no text editing; ticks and image cells still step by their
// column's own right to change: by click and by Space, not on a read-only column or grid.
TEST_F(DBGridFixture, SpaceAndClicksStepTicksAndImagesByTheColumnsOwnRule)
{
    ShowPeople(5);
    ASSERT_FALSE(m_db->Options().Contains(dgEditing));
    const int row = m_db->TitleOffset() + 1; // record 2, not ticked
    Click(CellCentre(2, row));
    ASSERT_TRUE(StoredSel(2));
    Key(VK_SPACE);
    EXPECT_FALSE(StoredSel(2)) << "Space on the tick column of a row-select grid";
    Key(VK_SPACE);
    EXPECT_TRUE(StoredSel(2));

    m_db->Columns().ColumnAt(1)->SetReadOnly(true);
    Key(VK_SPACE);
    Click(CellCentre(2, row));
    EXPECT_TRUE(StoredSel(2)) << "a read-only tick column stays as it is";
    m_db->Columns().ColumnAt(1)->SetReadOnly(false);

    // An image column over the same field: each step moves to the next key of its list.
    TCustomImageList images(nullptr, 8, 8);
    TColumnGx* sel = m_db->Columns().ColumnAt(1);
    sel->SetImageList(&images);
    sel->SetCheckboxes(false);
    sel->KeyList()->SetText("False\nTrue\n");
    EXPECT_EQ(sel->CellImageKind(), cikImages);
    Key(VK_SPACE);
    EXPECT_FALSE(StoredSel(2));
    Click(CellCentre(2, row));
    EXPECT_TRUE(StoredSel(2));
    sel->SetImageList(nullptr);
}

} // namespace

namespace {

TEST_F(DBGridFixture, IncrementalSearchFindsByPrefixAndTakesBackWholeCharacters)
{
    ShowPeople(20);
    m_query->Last();
    m_query->Edit();
    m_query->FieldByName("NAME")->SetAsString("Ödla");
    m_query->Post();
    m_query->First();
    m_db->SetOptionsGx(m_db->OptionsGx() + TDBGridGxOptions{dghIncSearch});
    Click(CellCentre(1, m_db->TitleOffset()));

    Type("name 1");
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(m_db->IncSearchText(), "Name 1") << "the record's own letters";
    Type("5");
    EXPECT_EQ(RecNo(), 15);
    Pump();
    const TRect cell = m_db->CellRect(1, m_db->Row());
    EXPECT_EQ(Shown({cell.left + 3, cell.top + 2}), RgbOf(ColorToRGB(clYellow))) << "the found part is marked";
    Type("x");
    EXPECT_EQ(RecNo(), 15) << "nothing starts so: the record stays";
    EXPECT_EQ(m_db->IncSearchText(), "Name 15");
    Key(VK_BACK);
    EXPECT_EQ(m_db->IncSearchText(), "Name 1");

    m_db->Perform(WM_TIMER, TCustomDBGridGx::IncSearchTimerId, 0);
    EXPECT_EQ(m_db->IncSearchText(), "");
    Type("öd");
    EXPECT_EQ(RecNo(), 20);
    EXPECT_EQ(m_db->IncSearchText(), "Öd");
    Key(VK_BACK);
    EXPECT_EQ(m_db->IncSearchText(), "Ö") << "Backspace takes the whole last character";
    Key(VK_ESCAPE);
    EXPECT_EQ(m_db->IncSearchText(), "");
}

} // namespace

namespace {

// What the grid makes of a hint request with the pointer at the centre of a cell.
TEST_F(DBGridFixture, CellTipsShowTextsThatAreCutOff)
{
    ShowPeople(5);
    TColumnGx* name = m_db->Columns().ColumnAt(0);
    name->SetToolTips(true);
    name->Title()->SetToolTips(true);
    m_db->SetFooterRowCount(1);
    name->Footer()->SetValueType(fvtStaticText);
    name->Footer()->SetValue("A footer far too long for a narrow column");
    name->Footer()->SetToolTips(true);
    Pump();
    const auto hintAt = [&](int col, int row) {
        THintInfo info;
        info.HintStr = "grid hint";
        const TRect rect = m_db->CellRect(col, row);
        info.CursorPos = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        m_db->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        return info.HintStr;
    };
    const int data = m_db->TitleOffset() + 1;
    const int footer = m_db->RowCount();
    EXPECT_EQ(hintAt(1, data), "") << "the text fits: no tip, and not the grid's hint";
    EXPECT_EQ(hintAt(2, data), "grid hint") << "a column without tips keeps the grid's hint";
    EXPECT_EQ(hintAt(1, footer), "A footer far too long for a narrow column");

    name->SetWidth(25);
    Pump();
    EXPECT_EQ(hintAt(1, data), "Name 2");
    EXPECT_EQ(hintAt(1, 0), "Name");
    name->Title()->SetHint("Sort by name|Click to sort the list by name");
    EXPECT_EQ(hintAt(1, 0), "Sort by name");
}

} // namespace

namespace {

TEST_F(DBGridFixture, TitleClicksMarkSortOrderAndTitlesShowImages)
{
    ShowPeople(5);
    m_db->SetOptionsGx(m_db->OptionsGx() + TDBGridGxOptions{dghAutoSortMarking, dghMultiSortMarking});
    TColumnTitleGx* name = m_db->Columns().ColumnAt(0)->Title();
    TColumnTitleGx* sel = m_db->Columns().ColumnAt(1)->Title();
    name->SetTitleButton(true);
    sel->SetTitleButton(true);
    m_db->Columns().ColumnAt(1)->SetWidth(60);
    Pump();
    const TRect nameTitle = m_db->CellRect(1, 0);
    const auto markerInk = [&](const TRect& title) {
        int dark = 0;
        for (int x = title.right - 18; x < title.right - 2; ++x)
            for (int y = title.top + 2; y < title.bottom - 2; ++y)
                dark += Shown({x, y}) == SysRgb(COLOR_BTNSHADOW) ? 1 : 0;
        return dark;
    };
    EXPECT_EQ(markerInk(nameTitle), 0);

    Click(CellCentre(1, 0));
    EXPECT_EQ(name->SortMarker(), smDownGx);
    EXPECT_GT(markerInk(nameTitle), 0) << "the marker is drawn";
    Click(CellCentre(1, 0));
    EXPECT_EQ(name->SortMarker(), smUpGx);
    ClickWith(CellCentre(2, 0), ModControl);
    EXPECT_EQ(sel->SortMarker(), smDownGx);
    EXPECT_EQ(name->SortMarker(), smUpGx) << "Ctrl keeps the other markers";
    EXPECT_EQ(sel->SortIndex(), 2);
    Click(CellCentre(1, 0));
    EXPECT_EQ(name->SortMarker(), smDownGx);
    EXPECT_EQ(sel->SortMarker(), smNoneGx) << "a plain click leaves one marked column";

    // A title image stands in for the caption.
    TCustomImageList images(nullptr, 8, 8);
    TBitmap red;
    red.SetSize(8, 8);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect{0, 0, 8, 8});
    images.Add(&red, nullptr);
    m_db->SetTitleImages(&images);
    sel->SetImageIndex(0);
    Pump();
    const TRect selTitle = m_db->CellRect(2, 0);
    int reds = 0;
    for (int x = selTitle.left; x < selTitle.right; ++x)
        for (int y = selTitle.top; y < selTitle.bottom; ++y)
            reds += Shown({x, y}) == RgbOf(ColorToRGB(clRed)) ? 1 : 0;
    EXPECT_GE(reds, 48) << "the 8 x 8 image, less what the title's edge covers";
    m_db->SetTitleImages(nullptr);
}

} // namespace

namespace {

TEST_F(DBGridFixture, ColumnDefaultValuesReachUnassignedColumnsAndCopyAsTheyShould)
{
    ShowPeople(3);
    TColumnDefValuesGx* defaults = m_db->ColumnDefValues();
    TColumnGx* name = m_db->Columns().ColumnAt(0);
    EXPECT_FALSE(name->ToolTips());
    defaults->SetFlag(cdfToolTips, true);
    defaults->SetFlag(cdfEndEllipsis, true);
    EXPECT_TRUE(name->ToolTips());
    EXPECT_TRUE(name->EndEllipsis());
    defaults->Title()->SetColor(clYellow);
    defaults->Title()->SetAlignment(taCenter);
    EXPECT_EQ(name->Title()->Color(), clYellow);
    EXPECT_EQ(name->Title()->Alignment(), taCenter);
    Pump();
    const TRect title = m_db->CellRect(2, 0);
    EXPECT_EQ(Shown({title.right - 4, title.top + 3}), RgbOf(ColorToRGB(clYellow)));

    // Another grid's defaults: the assigned title colour and alignment arrive in a fresh target;
    // its layout and required-field mark stay its own.
    TDBGridGx other(nullptr);
    other.ColumnDefValues()->SetLayout(tlBottom);
    other.ColumnDefValues()->SetFlag(cdfHighlightRequired, true);
    defaults->SetFlag(cdfHighlightRequired, false);
    other.SetColumnDefValues(defaults);
    EXPECT_EQ(other.ColumnDefValues()->Title()->Color(), clYellow);
    EXPECT_EQ(other.ColumnDefValues()->Title()->Alignment(), taCenter);
    EXPECT_TRUE(other.ColumnDefValues()->Flag(cdfToolTips));
    EXPECT_TRUE(other.ColumnDefValues()->Flag(cdfHighlightRequired));
    EXPECT_EQ(other.ColumnDefValues()->Layout(), tlBottom);
}

} // namespace

namespace {

// The manager's grid: persistent columns with a read-only tick column and an editable one, rows
// coloured by OnDrawColumnCell over the default drawing, and the row's name as the grid's hint.
TEST_F(DBGridFixture, TheManagersGridTicksByMouseAndKeysAndColoursItsRows)
{
    Exec("CREATE TABLE M (ID INTEGER PRIMARY KEY, NAME TEXT(20), R BOOLEAN, SEL BOOLEAN)");
    Exec("INSERT INTO M VALUES (1, 'Anna', 1, 0), (2, 'Bo', 0, 0), (3, 'Cai', 1, 0), (4, 'Dan', 0, 0)");
    ShowQuery("SELECT ID, NAME, R, SEL FROM M ORDER BY ID", [](TDBGridGx& grid) {
        for (const char* field : {"NAME", "R", "SEL"}) {
            TColumnGx* column = grid.Columns().Add();
            column->SetFieldName(field);
            column->SetWidth(std::string(field) == "NAME" ? 120 : 40);
        }
        grid.Columns().ColumnAt(1)->SetReadOnly(true);
        grid.SetShowHint(true);
    });
    m_db->SetOnDrawColumnCell(TDrawColumnCellEventGx::FromFunction(
        [&](TObject*, const TRect& rect, int dataCol, TColumnGx* column, TGridDrawState state) {
            if (m_query->FieldByName("R")->AsBoolean() && !state.Contains(gdSelected)) {
                m_db->Canvas()->Brush()->SetColor(clYellow);
                m_db->DrawColumnCellDefault(rect, dataCol, column, state);
            }
        }));
    m_db->SetOnCellClick(TColumnEventGx::FromFunction(
        [&](TColumnGx*) { m_db->SetHint(m_query->FieldByName("NAME")->AsString()); }));
    m_db->Invalidate();
    Pump();
    const auto stored = [&](const char* field, int id) {
        auto query = Query("SELECT " + std::string(field) + " FROM M WHERE ID = " + std::to_string(id));
        query->Open();
        return query->Fields()[0]->AsBoolean();
    };
    const int top = m_db->TitleOffset();
    const TRect third = m_db->CellRect(1, top + 2);
    EXPECT_EQ(Shown({third.right - 6, third.top + 2}), RgbOf(ColorToRGB(clYellow))) << "a row of R";
    const TRect second = m_db->CellRect(1, top + 1);
    EXPECT_EQ(Shown({second.right - 6, second.top + 2}), SysRgb(COLOR_WINDOW));

    Click(CellCentre(2, top + 1)); // R of Bo: read-only
    EXPECT_FALSE(stored("R", 2));
    EXPECT_EQ(m_db->Hint(), "Bo");
    Click(CellCentre(3, top + 1)); // SEL of Bo
    EXPECT_TRUE(stored("SEL", 2));
    Key(VK_DOWN);
    Key(VK_SPACE);
    EXPECT_TRUE(stored("SEL", 3)) << "Space ticks the column last clicked on the new row";
    EXPECT_TRUE(stored("R", 3)) << "R stays as it was";
}

} // namespace
