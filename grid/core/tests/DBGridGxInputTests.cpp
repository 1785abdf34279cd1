// Keys and mouse of the data grid, driven by injected input.
#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxCenterHooks.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<TGridClipboardActionGx> ClipboardActions;

void RecordClipboardAction(TCustomDBGridGx&, TGridClipboardActionGx action) { ClipboardActions.push_back(action); }

class DBGridInput : public DBGridFixture {
protected:
    // Every question asked is recorded and answered with `answer`.
    void AnswerQuestions(TModalResult answer)
    {
        SetMessageDlgHandler([this, answer](const std::string& text, const std::string&, TMsgDlgType,
                                            TMsgDlgButtons) {
            m_asked.push_back(text);
            return answer;
        });
    }

    [[nodiscard]] std::vector<std::string> StoredNames() const
    {
        auto query = Query("SELECT NAME FROM P ORDER BY ID");
        query->Open();
        std::vector<std::string> names;
        for (; !query->Eof(); query->Next())
            names.push_back(query->FieldByName("NAME")->AsString());
        return names;
    }

    // The people in a grid that edits, on the NAME column.
    void ShowEditablePeople(int rows)
    {
        ShowPeople(rows);
        m_db->SetOptions(DefaultDBGridOptions);
        m_db->SetCol(1);
        Pump();
    }

    [[nodiscard]] TField* Field(const char* name) const { return m_query->FieldByName(name); }

    [[nodiscard]] POINT RowCentre(int dataRow) const { return CellCentre(1, m_db->TitleOffset() + dataRow); }

    std::vector<std::string> m_asked;
    // Timers tick only when a test sends WM_TIMER.
    FakeClock m_clock;
};

} // namespace

TEST_F(DBGridInput, ControlDeleteWithMarkedRowsDeletesTheMarkedRows)
{
    ShowPeople(5);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    ClickWith(RowCentre(1), ModControl);
    ClickWith(RowCentre(3), ModControl);
    Key(VK_DOWN); // the current record, 5, is not marked
    ASSERT_EQ(m_db->SelectedRows().BookmarkCount(), 2);

    AnswerQuestions(mrCancel);
    Key(VK_DELETE, ModControl);
    EXPECT_EQ(StoredNames().size(), 5u) << "cancel keeps the records";
    AnswerQuestions(mrOk);
    Key(VK_DELETE, ModControl);
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Name 1", "Name 3", "Name 5"}));
    EXPECT_EQ(m_asked, (std::vector<std::string>{"Delete all selected records?", "Delete all selected records?"}));
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 0);
}

// Dragging a selection below the rows brings in the next record at each tick of the drag timer,
// and the marks follow it; above the rows the records before come in.
TEST_F(DBGridInput, DraggingASelectionPastTheRowsScrollsTheRecordsIn)
{
    ShowPeople(60);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    const int visible = VisibleRows();
    ASSERT_LT(visible, 60);
    Press(RowCentre(1), true);
    MoveHeld({RowCentre(1).x, m_db->ClientHeight() + 30});
    for (int tick = 0; tick < 3; ++tick)
        m_db->Perform(WM_TIMER, 1, 0);
    EXPECT_EQ(RecNo(), visible + 3);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), visible + 2) << "from the pressed record to the current one";
    MoveHeld({RowCentre(1).x, -30});
    m_db->Perform(WM_TIMER, 1, 0);
    EXPECT_EQ(RecNo(), 3) << "the record before the first on screen";
    Press({RowCentre(1).x, -30}, false);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 2) << "the pressed record and the one now first on screen";
}

TEST_F(DBGridInput, DraggingATitleMovesItsColumnWithItsWidth)
{
    ShowPeople(5);
    m_db->SetOptions(DefaultDBGridOptions);
    const POINT from = CellCentre(1, 0);
    Press(from, true);
    MoveHeld({from.x + 20, from.y});
    MoveHeld(CellCentre(2, 0));
    m_db->Perform(WM_TIMER, 1, 0); // the drag timer's look at the mouse
    Press(CellCentre(2, 0), false);
    ASSERT_EQ(m_db->Columns().Count(), 2);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->FieldName(), "SEL");
    EXPECT_EQ(m_db->Columns().ColumnAt(1)->FieldName(), "NAME");
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Width(), 40);
    EXPECT_EQ(m_db->Columns().ColumnAt(1)->Width(), 150);
    EXPECT_EQ(m_db->ColumnWidthAt(1), 40);
    EXPECT_EQ(m_db->ColumnWidthAt(2), 150);
}

// The program frees what the grid shows while it is on screen: the grid lets go of it and paints on.
TEST_F(DBGridInput, FreedFieldsImageListsAndMenusAreDroppedAndTheGridPaintsOn)
{
    Exec("CREATE TABLE P (ID INTEGER PRIMARY KEY, NAME TEXT(20), SEL BOOLEAN)");
    Exec("INSERT INTO P VALUES (1, 'Ann', 1), (2, 'Bob', 0)");
    ShowQuery("SELECT ID, NAME, SEL FROM P ORDER BY ID", [this](TDBGridGx&) {
        m_query->Close();
        for (const auto& [name, type] : {std::pair{"NAME", ftString}, std::pair{"SEL", ftBoolean}}) {
            TField* field = CreateFieldOfType(type, m_query.get());
            field->SetFieldName(name);
            field->SetDataSet(m_query.get());
        }
        m_query->Open();
    });
    ASSERT_EQ(m_db->Columns().Count(), 2);
    auto titleImages = std::make_unique<TCustomImageList>(nullptr, 8, 8);
    auto cellImages = std::make_unique<TCustomImageList>(nullptr, 8, 8);
    auto menu = std::make_unique<TPopupMenu>(nullptr);
    m_db->SetTitleImages(titleImages.get());
    m_db->Columns().ColumnAt(0)->SetImageList(cellImages.get());
    m_db->Columns().ColumnAt(0)->SetPopupMenu(menu.get());
    Pump();

    titleImages.reset();
    cellImages.reset();
    menu.reset();
    m_db->Invalidate();
    Pump();
    EXPECT_EQ(m_db->TitleImages(), nullptr);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->ImageList(), nullptr);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->PopupMenu(), nullptr);

    delete m_query->FieldByName("NAME");
    m_db->Invalidate();
    Pump();
    ASSERT_EQ(m_db->Columns().Count(), 1) << "the grid's own column of the freed field goes";
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->FieldName(), "SEL");
}

TEST_F(DBGridInput, DownOnTheLastRecordAppendsAndInsertInserts)
{
    ShowEditablePeople(3);
    Key(VK_END, ModControl);
    Key(VK_DOWN);
    EXPECT_EQ(m_query->State(), dsInsert) << "Down on the last record appends";
    Key(VK_UP);
    EXPECT_EQ(m_query->State(), dsBrowse) << "Up leaves the new record nothing was typed into";
    EXPECT_EQ(m_query->RecordCount(), 3);
    EXPECT_EQ(RecNo(), 3);

    m_db->SetReadOnly(true);
    Key(VK_END, ModControl);
    Key(VK_DOWN);
    Key(VK_INSERT);
    EXPECT_EQ(m_query->State(), dsBrowse) << "a read-only grid neither appends nor inserts";

    m_db->SetReadOnly(false);
    Key(VK_HOME, ModControl);
    Key(VK_INSERT);
    EXPECT_EQ(m_query->State(), dsInsert);
}

TEST_F(DBGridInput, ShiftArrowsMarkRowsAndTakeThemBackControlArrowsGoToTheScreensEdges)
{
    ShowPeople(100);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    Key(VK_DOWN, ModShift);
    Key(VK_DOWN, ModShift);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 3);
    Key(VK_UP, ModShift);
    EXPECT_EQ(m_db->SelectedRows().BookmarkCount(), 2) << "back toward the start unmarks";
    EXPECT_EQ(RecNo(), 2);

    Key(VK_DOWN, ModControl);
    EXPECT_EQ(RecNo(), VisibleRows()) << "the last record on screen";
    Key(VK_UP);
    Key(VK_UP, ModControl);
    EXPECT_EQ(RecNo(), 1) << "the first record on screen";
}

TEST_F(DBGridInput, ClipboardKeysRunTheEditActionsTheGridTakes)
{
    ShowPeople(5);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgMultiSelect});
    SetGridClipboardHook(&RecordClipboardAction);
    ClipboardActions.clear();
    ClickWith(RowCentre(1), ModControl);
    Key('C', ModControl);
    EXPECT_TRUE(ClipboardActions.empty()) << "without EditActions the keys do nothing";

    m_db->SetEditActions({geaCopyGx, geaCutGx, geaPasteGx});
    struct Chord {
        unsigned Key;
        unsigned Modifiers;
        TGridClipboardActionGx Action;
    } const chords[] = {{'C', ModControl, gcaCopyGx},         {VK_INSERT, ModControl, gcaCopyGx},
                        {'X', ModControl, gcaCutGx},          {VK_DELETE, ModShift, gcaCutGx},
                        {'V', ModControl, gcaPasteGx},        {VK_INSERT, ModShift, gcaPasteGx}};
    Clipboard()->SetAsText("x");
    for (const Chord& chord : chords) {
        ClipboardActions.clear();
        Key(chord.Key, chord.Modifiers);
        EXPECT_EQ(ClipboardActions, (std::vector<TGridClipboardActionGx>{chord.Action})) << chord.Key;
    }
    SetGridClipboardHook(nullptr);
}

TEST_F(DBGridInput, EnterActsAsTabWithEnterAsTab)
{
    ShowEditablePeople(3);
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(m_db->Col(), 1) << "Enter stays in the cell";
    m_db->SetOptionsGx(m_db->OptionsGx() + TDBGridGxOptions{dghEnterAsTab});
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(m_db->Col(), 2);
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(m_db->Col(), 1) << "from the row's end to the next record";
    EXPECT_EQ(RecNo(), 2);
    Key(VK_RETURN, ModShift, "\r");
    EXPECT_EQ(m_db->Col(), 2);
    EXPECT_EQ(RecNo(), 1);
}

TEST_F(DBGridInput, ControlQuoteTakesThePreviousRecordsValue)
{
    ShowEditablePeople(3);
    Key(VK_OEM_7, ModControl);
    EXPECT_EQ(m_query->State(), dsBrowse) << "nothing before the first record";
    Key(VK_DOWN);
    Key(VK_OEM_7, ModControl);
    EXPECT_EQ(Field("NAME")->AsString(), "Name 1");
    EXPECT_EQ(RecNo(), 2);
}

TEST_F(DBGridInput, DeleteOnATickCellEmptiesAFieldThatMayBeEmpty)
{
    ShowEditablePeople(3);
    m_db->SetCol(2);
    Key(VK_DELETE);
    EXPECT_TRUE(Field("SEL")->IsNull());
    Key(VK_ESCAPE);
    Field("SEL")->SetRequired(true);
    Key(VK_DELETE);
    EXPECT_FALSE(Field("SEL")->IsNull()) << "a required field keeps its value";
}

TEST_F(DBGridInput, DoubleClickOnATitlesEdgeSizesTheColumnToItsText)
{
    ShowEditablePeople(12);
    m_db->SetOptionsGx(m_db->OptionsGx() + TDBGridGxOptions{dghDblClickOptimizeColWidth});
    int doubles = 0;
    m_db->SetOnDblClick(TNotifyEvent::FromFunction([&](TObject*) { ++doubles; }));
    TColumnGx* name = m_db->Columns().ColumnAt(0);
    ASSERT_EQ(name->Width(), 150);
    const TRect title = m_db->CellRect(1, 0);
    const POINT edge{title.right, (title.top + title.bottom) / 2};
    Click(edge);
    Click(edge);
    m_db->Canvas()->Font()->Assign(name->Font());
    int widest = 0;
    for (int i = 1; i <= 12; ++i)
        widest = std::max(widest, m_db->Canvas()->TextWidth("Name " + std::to_string(i)));
    EXPECT_EQ(name->Width(), widest + 4);
    EXPECT_EQ(doubles, 0);
    EXPECT_EQ(RecNo(), 1) << "the records were measured in place";

    // A footer wider than every record widens the column to it.
    const std::string footer = "Every name of every caller";
    m_db->SetFooterRowCount(1);
    name->Footer()->SetValueType(fvtStaticText);
    name->Footer()->SetValue(footer);
    Pump();
    Click({m_db->CellRect(1, 0).right, edge.y});
    Click({m_db->CellRect(1, 0).right, edge.y});
    m_db->Canvas()->Font()->Assign(m_db->FooterFont());
    EXPECT_EQ(name->Width(), m_db->Canvas()->TextWidth(footer) + 5);
}

// The best width also makes room for what is drawn beside or instead of the text: a title's
// image, the buttons shown in every row, a cell's image.
TEST_F(DBGridInput, BestWidthMeasuresTitleImagesButtonsAndImageCells)
{
    ShowEditablePeople(12);
    m_db->SetOptionsGx(m_db->OptionsGx() + TDBGridGxOptions{dghDblClickOptimizeColWidth});
    TColumnGx* name = m_db->Columns().ColumnAt(0);
    TColumnGx* sel = m_db->Columns().ColumnAt(1);
    const auto fitByDoubleClick = [&](int gridCol) {
        const TRect title = m_db->CellRect(gridCol, 0);
        const POINT edge{title.right, (title.top + title.bottom) / 2};
        Click(edge);
        Click(edge);
    };
    const auto wideImages = [](int width) {
        auto images = std::make_unique<TCustomImageList>(nullptr, width, 8);
        TBitmap picture;
        picture.SetSize(width, 8);
        images->Add(&picture, nullptr);
        return images;
    };
    m_db->Canvas()->Font()->Assign(name->Font());
    const int widestName = m_db->Canvas()->TextWidth("Name 12") + 4;

    const auto titleImages = wideImages(220);
    m_db->SetTitleImages(titleImages.get());
    name->Title()->SetImageIndex(0);
    fitByDoubleClick(1);
    EXPECT_EQ(name->Width(), 220 + 4) << "the title's image";
    name->Title()->SetImageIndex(-1);

    name->SetButtonStyle(cbsEllipsis);
    name->SetAlwaysShowEditButton(true);
    fitByDoubleClick(1);
    EXPECT_EQ(name->Width(), widestName + GetSystemMetrics(SM_CXVSCROLL)) << "the button beside every text";

    const auto cellImages = wideImages(90);
    sel->SetCheckboxes(false);
    sel->KeyList()->SetText("False\nTrue");
    sel->SetImageList(cellImages.get());
    ASSERT_EQ(sel->CellImageKind(), cikImages);
    fitByDoubleClick(2);
    EXPECT_EQ(sel->Width(), 90 + 4) << "the cell's image";
    m_db->SetTitleImages(nullptr);
    sel->SetImageList(nullptr);
}

// A column widened past the client's edge brings the horizontal scroll bar, which resizes the
// client in the middle of the sizing: the new width stays.
TEST_F(DBGridInput, DraggingATitlesEdgePastTheClientKeepsTheNewWidth)
{
    ShowPeople(5);
    m_db->SetOptions(ManagerOptions + TDBGridOptions{dgColumnResize});
    const TRect title = m_db->CellRect(1, 0);
    const int middle = (title.top + title.bottom) / 2;
    Press({title.right, middle}, true);
    MoveHeld({title.right + 200, middle});
    Press({title.right + 200, middle}, false);
    EXPECT_EQ(m_db->Columns().ColumnAt(0)->Width(), 350);
    EXPECT_EQ(m_db->ColumnWidthAt(1), 350);
}
