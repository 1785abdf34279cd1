// The main window's pages as a user meets them on the screen: what shows, where, in which colours.

#include "MainWindowFixture.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"

#include <string>

namespace {

constexpr std::uint32_t ShownRed = 0xFF0000;
constexpr std::uint32_t ShownGreen = 0x008000;

template <class T>
T& Part(TMainForm& form, const std::string& name)
{
    auto* part = dynamic_cast<T*>(form.FindComponent(name));
    EXPECT_NE(part, nullptr) << name;
    return *part;
}

class MainWindowLookTest : public MainWindowFixture {
protected:
    void OpenCallPage() { m_form->BCallMClick(m_form->BCallM); }

    void OpenCallHistory()
    {
        OpenCallPage();
        Click(Part<TButton>(*m_form, "BCH"), {10, 10});
    }

    // Whether some pixel of the control's client shows `colour`.
    [[nodiscard]] bool Shows(TControl& control, std::uint32_t colour) const
    {
        for (int y = 0; y < control.ClientHeight(); ++y)
            for (int x = 0; x < control.ClientWidth(); ++x)
                if (Shown(control, {x, y}) == colour)
                    return true;
        return false;
    }

    // The colour of the dial display's first character.
    [[nodiscard]] TColor FirstDigitColour() const
    {
        m_form->EDNum->SetSelStart(0);
        m_form->EDNum->SetSelLength(1);
        return m_form->EDNum->SelAttributes()->Color();
    }
};

TEST_F(MainWindowLookTest, TheCallHistorysClosePictureShowsAboveItsTabsAndClosesIt)
{
    OpenCallHistory();
    ASSERT_TRUE(m_form->PCH->Visible());
    SaveScreenshot("call-history");
    TImage& close = Part<TImage>(*m_form, "ICHClose");
    // The picture is a red disc: its red shows, not the tabs' strip.
    const std::uint32_t middle = Shown(close, {close.Width() / 2 + 3, close.Height() / 2});
    EXPECT_GT(middle >> 16, 0xB0u) << std::hex << middle;
    EXPECT_LT((middle >> 8) & 0xFF, 0x80u) << std::hex << middle;
    Click(close, {close.Width() / 2, close.Height() / 2});
    EXPECT_FALSE(m_form->PCH->Visible());
}

TEST_F(MainWindowLookTest, TheFirstDigitIsRedEachTimeTheCallPageIsOpened)
{
    for (int visit = 0; visit < 2; ++visit) {
        OpenCallPage();
        Click(Part<TButton>(*m_form, "BD1"), {10, 10});
        EXPECT_EQ(m_form->EDNum->Text(), "1");
        EXPECT_EQ(FirstDigitColour(), clRed) << "visit " << visit;
        EXPECT_TRUE(Shows(*m_form->EDNum, ShownRed)) << "visit " << visit;
        m_form->BSMSClick(m_form->BSMS);
    }
}

TEST_F(MainWindowLookTest, AnIncomingCallersNumberShowsInTheDisplaysColours)
{
    m_form->ShowIncomingCaller("5550001", "");
    SaveScreenshot("incoming-call");
    EXPECT_EQ(m_form->EDNum->Text(), "5550001");
    EXPECT_EQ(FirstDigitColour(), clRed);
    EXPECT_TRUE(Shows(*m_form->EDNum, ShownRed));
    EXPECT_TRUE(Shows(*m_form->EDNum, ShownGreen));
}

TEST_F(MainWindowLookTest, TheEngineeringPanelGoesWithTheSettingTabAndTakesTheFocusToItsMinField)
{
    m_form->ShowCallServicesTab();
    OpenCallHistory();
    m_form->PCCH->SetActivePage(m_form->TSSet);
    Application->ProcessMessages();
    Screen().InjectKeyChord(TopLevelId(m_form->Handle()), 'E', ModControl | ModShift);
    Application->ProcessMessages();
    ASSERT_TRUE(IsWindowVisible(m_form->PEngineer->Handle()));
    EXPECT_EQ(GetFocus(), Part<TEdit>(*m_form, "EMin").Handle());
    SaveScreenshot("engineering");

    m_form->PCCH->SetActivePage(m_form->PCCH->Pages(0));
    Application->ProcessMessages();
    EXPECT_FALSE(IsWindowVisible(m_form->PEngineer->Handle())) << "another tab";
    m_form->PCCH->SetActivePage(m_form->TSSet);
    Click(Part<TImage>(*m_form, "ICHClose"), {10, 10});
    EXPECT_FALSE(IsWindowVisible(m_form->PEngineer->Handle())) << "the keypad again";
}

TEST_F(MainWindowLookTest, PickingANameFromTheSmsLookupLeavesTheMessageInView)
{
    TADOQuery& phonebook = *m_form->QAll;
    phonebook.Append();
    phonebook.FieldByName("NAME")->SetAsString("Anna");
    phonebook.FieldByName("NUM")->SetAsString("5551234");
    phonebook.Post();
    m_form->BSMSClick(m_form->BSMS);
    Click(*m_form->CBNum, {20, 8});
    Screen().InjectText(TopLevelId(m_form->Handle()), "555");
    Application->ProcessMessages();
    ASSERT_TRUE(IsWindowVisible(m_form->LBNameS->Handle())) << "the names starting so";
    const TRect first = m_form->LBNameS->ItemRect(0);
    Click(*m_form->LBNameS, {first.left + 10, first.top + 4});
    Click(*m_form->LBNameS, {first.left + 10, first.top + 4});
    ASSERT_EQ(m_form->CBNum->Items()->Count(), 1);
    EXPECT_FALSE(IsWindowVisible(m_form->LBNameS->Handle()));
    SaveScreenshot("sms-recipient-picked");
}

} // namespace
