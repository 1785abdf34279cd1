#include "grid/tools/DBGridGxFindDlgs.h"

#include "GridToolsFixture.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxFindDialogHook.h"
#include "grid/tools/DBCtrlsGxCheckBox.h"
#include "grid/tools/DBGridGxLocateText.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "grid/tools/DBCtrlsGxComboBox.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

namespace {

class FindDialogTest : public GridToolsFixture {
protected:
    void SetUp() override
    {
        GridToolsFixture::SetUp();
        RegisterGridFindDialog();
    }
    void TearDown() override
    {
        delete GridFindDialog();
        SetGridFindDialogHook(nullptr);
        GridToolsFixture::TearDown();
    }

    // The dialog shown non-modally for the grid, the search text typed into it.
    TDBGridGxFindDlg& ShowDialog()
    {
        ShowGridFindDialog(*m_grid, "", false);
        Pump();
        return *GridFindDialog();
    }

    void ChooseColumn(TDBGridGxFindDlg& dialog, const std::string& caption)
    {
        dialog.cbFindIn->SetItemIndex(dialog.cbFindIn->Items()->IndexOf(caption));
    }
};

TEST_F(FindDialogTest, CtrlFOpensTheModalDialogWhereEnterFindsNextAndEscapeCloses)
{
    GoTo(2, "CITY");
    auto* dialog = new TDBGridGxFindDlg(Application);
    // What the user does once the dialog is up: type, find twice, close.
    dialog->SetOnShow(TNotifyEvent::FromFunction([&](TObject*) {
        const WindowId id = TopLevelId(dialog->Handle());
        m_display->InjectText(id, "paris");
        m_display->InjectKeyPress(id, VK_RETURN);
        m_display->InjectKeyPress(id, VK_RETURN);
        m_display->InjectKeyPress(id, VK_ESCAPE);
    }));
    Key(m_grid->Handle(), 'F', ModControl);
    ASSERT_EQ(GridFindDialog(), dialog);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(dialog->Caption(), "Find text");
    EXPECT_EQ(dialog->ClientWidth(), 505);
    // "All" started from the first record, the second press went on downwards.
    EXPECT_EQ(RecNo(), 4);
    EXPECT_EQ(CurrentField(), "CITY");
    EXPECT_EQ(dialog->cbText->Items()->IndexOf("paris"), 0);
}

TEST_F(FindDialogTest, CtrlFDoesNothingWithoutTheDialogOption)
{
    m_grid->SetOptionsGx(m_grid->OptionsGx() - TDBGridGxOptions{dghDialogFind});
    Key(m_grid->Handle(), 'F', ModControl);
    EXPECT_EQ(GridFindDialog(), nullptr);
}

TEST_F(FindDialogTest, ListsTheVisibleColumnsAndChoosesTheCurrentOne)
{
    m_grid->ColumnByFieldName("CITY")->Title()->SetCaption("City");
    GoTo(1, "CITY");
    TDBGridGxFindDlg& dialog = ShowDialog();
    EXPECT_EQ(dialog.cbFindIn->Items()->Text(), "NAME\r\nCity\r\n<All>\r\n");
    EXPECT_EQ(dialog.cbFindIn->ItemIndex(), 1);
    EXPECT_EQ(dialog.cbFindDirection->ItemIndex(), ltdAllGx);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(dialog.FormStyle(), fsStayOnTop);

    // A current column that is not listed leaves every column to search.
    m_grid->ColumnByFieldName("CITY")->SetVisible(false);
    dialog.Close();
    ShowGridFindDialog(*m_grid, "", false);
    EXPECT_EQ(dialog.cbFindIn->Items()->Text(), "NAME\r\n<All>\r\n");
    ASSERT_EQ(m_grid->SelectedIndex(), m_grid->ColumnByFieldName("CITY")->Index());
    EXPECT_EQ(dialog.cbFindIn->ItemIndex(), 1);

    // A column without a title (a tick column, say) is searched through "<All>" only: a blank
    // entry would name nothing.
    m_grid->ColumnByFieldName("CITY")->SetVisible(true);
    m_grid->ColumnByFieldName("CITY")->Title()->SetCaption("  ");
    dialog.Close();
    ShowGridFindDialog(*m_grid, "", false);
    EXPECT_EQ(dialog.cbFindIn->Items()->Text(), "NAME\r\n<All>\r\n");
    EXPECT_EQ(dialog.cbFindIn->ItemIndex(), 1);
}

struct FindCase {
    const char* Name;
    int StartRecord;
    const char* StartField;
    const char* FindIn;  // a column caption, "<All>", or "" for the current column
    TLocateTextMatchTypeGx Match;
    bool MatchCase;
    TLocateTextDirectionGx Direction;
    bool Control;  // held with Enter
    const char* Text;
    int Record;  // where Enter leaves the grid
    const char* Field;
};

const FindCase FindCases[] = {
    {"WholeFieldIgnoresCaseUnlessAsked", 2, "NAME", "", ltmWholeFieldGx, false, ltdUpGx, false, "ANNA", 1, "NAME"},
    {"WholeFieldRefusesAPart", 1, "NAME", "", ltmWholeFieldGx, false, ltdDownGx, false, "anna", 1, "NAME"},
    {"MatchCaseSkipsOtherCase", 2, "NAME", "", ltmAnyPartGx, true, ltdUpGx, false, "anna", 2, "NAME"},
    {"MatchCaseFindsSameCase", 1, "NAME", "", ltmAnyPartGx, true, ltdDownGx, false, "anna", 3, "NAME"},
    {"FromBeginningOfField", 1, "CITY", "", ltmFromBeginningGx, false, ltdDownGx, false, "par", 4, "CITY"},
    {"Up", 5, "CITY", "", ltmAnyPartGx, false, ltdUpGx, false, "paris", 4, "CITY"},
    {"AllColumns", 1, "NAME", "<All>", ltmAnyPartGx, false, ltdDownGx, false, "london", 2, "CITY"},
    {"ChosenColumn", 1, "NAME", "CITY", ltmAnyPartGx, false, ltdDownGx, false, "oslo", 3, "CITY"},
    {"ControlTurnsAllUpward", 4, "CITY", "", ltmAnyPartGx, false, ltdAllGx, true, "paris", 1, "CITY"},
    {"ControlTurnsUpDownward", 1, "CITY", "", ltmAnyPartGx, false, ltdUpGx, true, "paris", 4, "CITY"},
    {"NotFoundStaysPut", 3, "NAME", "", ltmAnyPartGx, false, ltdAllGx, false, "zzz", 3, "NAME"},
};

class FindDialogSearch : public FindDialogTest, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindDialogSearch, EnterFindsNext)
{
    const FindCase& c = GetParam();
    GoTo(c.StartRecord, c.StartField);
    TDBGridGxFindDlg& dialog = ShowDialog();
    if (*c.FindIn)
        ChooseColumn(dialog, c.FindIn);
    dialog.cbMatchinType->SetItemIndex(c.Match);
    dialog.cbCharCase->SetState(c.MatchCase ? cbCheckedGx : cbUncheckedGx);
    dialog.cbFindDirection->SetItemIndex(c.Direction);
    Type(dialog.Handle(), c.Text);
    Key(dialog.Handle(), VK_RETURN, c.Control ? unsigned{ModControl} : 0u);
    EXPECT_EQ(RecNo(), c.Record);
    EXPECT_EQ(CurrentField(), c.Field);
    // A miss says nothing: no box comes up, the dialog stays.
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(dialog.ActiveControl(), dialog.cbText);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindDialogSearch, ::testing::ValuesIn(FindCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FindDialogTest, AllGoesOnDownwardsAfterAHitAndStartsOverWhenTheTextChanges)
{
    GoTo(5, "NAME");
    TDBGridGxFindDlg& dialog = ShowDialog();
    Type(dialog.Handle(), "ann");
    Key(dialog.Handle(), VK_RETURN);
    EXPECT_EQ(RecNo(), 1);
    Key(dialog.Handle(), VK_RETURN);
    EXPECT_EQ(RecNo(), 3);
    Key(dialog.Handle(), VK_RETURN);
    EXPECT_EQ(RecNo(), 3);
    Type(dialog.Handle(), "a");
    Key(dialog.Handle(), VK_RETURN);
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(dialog.cbText->Items()->Text(), "ann\r\nanna\r\n");
}

TEST_F(FindDialogTest, FindButtonSearchesAndEscapeClosesTheNonModalDialog)
{
    GoTo(1, "CITY");
    TDBGridGxFindDlg& dialog = ShowDialog();
    Type(dialog.Handle(), "Annapolis");
    const TRect button = dialog.bFind->BoundsRect();
    MouseInput(*m_display).Click(dialog.Handle(), {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    Pump();
    EXPECT_EQ(RecNo(), 5);
    Key(dialog.Handle(), VK_ESCAPE);
    EXPECT_FALSE(dialog.Visible());
}

TEST_F(FindDialogTest, ShowsTheChoicesAsSet)
{
    TDBGridGxFindDlg& dialog = ShowDialog();
    MouseInput(*m_display).Click(dialog.cbCharCase->Handle(), {6, dialog.cbCharCase->Height() / 2});
    Pump();
    EXPECT_TRUE(dialog.cbCharCase->Checked());
    // The ticks as drawn: a mark in the middle of a ticked box, white in an empty one.
    dialog.cbUseFormat->SetState(cbUncheckedGx);
    Pump();
    for (TDBCheckBoxGx* box : {dialog.cbCharCase, dialog.cbUseFormat}) {
        const std::uint32_t middle = ShownPixel(*m_display, box->Handle(), {6, box->Height() / 2});
        EXPECT_EQ(middle == 0xFFFFFF, !box->Checked()) << box->Caption();
    }
}

// The column box lists only the columns: typing picks among them and its list drops down under it
// while the box keeps the focus.
TEST_F(FindDialogTest, TheColumnIsChosenByTypingOrFromTheDroppedDownList)
{
    m_grid->ColumnByFieldName("CITY")->Title()->SetCaption("City");
    TDBGridGxFindDlg& dialog = ShowDialog();
    dialog.SetActiveControl(dialog.cbFindIn);
    Pump();
    EXPECT_TRUE(dialog.cbFindIn->KeyBased());
    Type(dialog.Handle(), "c");
    EXPECT_EQ(dialog.cbFindIn->Text(), "City");
    Type(dialog.Handle(), "x"); // no column begins so
    EXPECT_EQ(dialog.cbFindIn->Text(), "City");

    Key(dialog.Handle(), VK_DOWN, ModAlt);
    ASSERT_NE(dialog.cbFindIn->PopupList(), nullptr);
    EXPECT_TRUE(dialog.cbFindIn->DroppedDown());
    EXPECT_EQ(dialog.cbFindIn->PopupList()->Items()->Count(), 3);
    EXPECT_EQ(GetFocus(), dialog.cbFindIn->Handle());
    Key(dialog.Handle(), VK_DOWN);
    Key(dialog.Handle(), VK_RETURN);
    EXPECT_FALSE(dialog.cbFindIn->DroppedDown());
    EXPECT_TRUE(dialog.Visible()); // Enter went to the list, not to the search
    EXPECT_EQ(dialog.cbFindIn->Text(), "<All>");
}

TEST_F(FindDialogTest, AGridThatGoesLeavesTheDialogHarmless)
{
    TDBGridGxFindDlg& dialog = ShowDialog();
    Type(dialog.Handle(), "anna");
    delete m_grid;
    m_grid = nullptr;
    Key(dialog.Handle(), VK_RETURN);
    EXPECT_EQ(dialog.cbFindIn->Items()->Count(), 0);
    EXPECT_EQ(RecNo(), 1);
}

} // namespace
