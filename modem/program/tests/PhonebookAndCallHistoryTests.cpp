// The phonebook page and the call-history panel of the manager's main window, driven as a user
// drives them (popup menus opened on the row chosen, the detail panel filled in, the questions
// answered), with the window and the database checked. Only the call services of the panel's
// "Setting" tab need the simulated modem; every wait for it is bounded and handles the window's
// messages meanwhile.

#include "DatabaseRows.h"
#include "ModemProgramFixture.h"

#include "modem/app/MainForm.h"
#include "modem/app/Welcome.h"

#include "grid/core/DBGridGx.h"

#include "platform/classlib/core/Timers.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/rtl/DateTime.h"
#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/MessageBox.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

enum TPhonebookTab { AllTab, FamilyTab, FriendTab, OfficeTab };

class PhonebookAndCallHistoryTest : public ModemProgramFixture {
protected:
    PhonebookAndCallHistoryTest()
    {
        SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT) {
            m_asked.push_back(caption + ": " + text);
            return m_answer;
        });
        // A refused number's warning.
        SetMessageDlgHandler([this](const std::string& text, const std::string& caption, TMsgDlgType, TMsgDlgButtons) {
            m_asked.push_back(caption + ": " + text);
            return mrOk;
        });
    }

    ~PhonebookAndCallHistoryTest() override
    {
        CloseForm();
        SetMessageBoxHandler(nullptr);
        SetMessageDlgHandler(nullptr);
    }

    // The modem plugged in, the program started, the modem initialised and registered.
    void StartReady()
    {
        PlugModem(26);
        StartProgram();
        ASSERT_TRUE(PumpUntil([&] { return PortStatus() == Ready && m_form->ISignal->Tag() == 4; }))
            << PortStatus() << "\n" << m_errors << Transcript();
    }

    template <class T>
    T& Control(const char* name)
    {
        auto* control = dynamic_cast<T*>(m_form->FindComponent(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    // The popup menu opened over the row the user has chosen, then one of its items clicked.
    void Popup(const char* menu) { Control<TPopupMenu>(menu).OnPopup()(&Control<TPopupMenu>(menu)); }
    void Click(const char* item) { Control<TMenuItem>(item).Click(); }

    void ShowPhonebookTab(TPhonebookTab tab)
    {
        m_form->BPBM->Click();
        m_form->PCPB->SetActivePageIndex(tab);
        m_form->PCPBChange(m_form->PCPB);
    }

    // The grid's row of `name` chosen, as a click on it does.
    void ChooseRow(TADOQuery& query, const std::string& name)
    {
        ASSERT_TRUE(query.Locate("NAME", Variant(name), 0)) << name;
    }

    void FillPanel(const std::string& name, const std::string& number, int group)
    {
        Control<TEdit>("PBNam").SetText(name);
        Control<TEdit>("PBNum").SetText(number);
        Control<TComboBox>("PBG").SetItemIndex(group);
    }

    void AddContact(const std::string& name, const std::string& number, int group)
    {
        Popup("PMPB");
        Click("PMAdd");
        FillPanel(name, number, group);
        Control<TButton>("BPBOp").Click();
    }

    void Tick(const std::string& name)
    {
        ChooseRow(*m_form->QAll, name);
        m_form->QAll->Edit();
        m_form->QAll->FieldByName("SEL")->SetAsBoolean(true);
        m_form->QAll->Post();
    }

    // Every row of a table, read afresh from the file: the named fields joined by '|'.
    std::vector<std::string> Rows(const std::string& sql, const std::vector<std::string>& fields)
    {
        return DatabaseRows(m_form ? m_form->QAll->ConnectionString() : m_connection, sql, fields);
    }

    std::vector<std::string> Contacts() { return Rows("SELECT * FROM PB ORDER BY NAME", {"NAME", "NUM", "GROUP"}); }

    void LogCall(const char* table, const std::string& name, const std::string& number)
    {
        TADOQuery writer(nullptr);
        writer.SetConnectionString(m_form->QAll->ConnectionString());
        writer.SQL()->SetText(std::string("SELECT * FROM ") + table);
        writer.Open();
        writer.Append();
        writer.FieldByName("NAME")->SetAsString(name);
        writer.FieldByName("NUM")->SetAsString(number);
        writer.FieldByName("DT")->SetAsDateTime(EncodeDate(2026, 12, 10) + EncodeTime(9, ++m_calls, 0, 0));
        writer.Post();
    }

    void ShowCallHistory(TTabSheet* tab)
    {
        // The call page's button clears the dial display; the panel opens over what it shows.
        if (!m_form->PC->Visible())
            m_form->BCallM->Click();
        for (TADOQuery* log : {m_form->QOUT, m_form->QIN, m_form->QMISS}) {
            log->Close();
            log->Open();
        }
        m_form->PCH->SetVisible(true);
        m_form->PCH->BringToFront();
        m_form->PCCH->SetActivePage(tab);
        m_form->PCCHChange(m_form->PCCH);
    }

    // A click on the first row of `grid`, in its Name column.
    static void ClickFirstRow(TDBGridGx& grid)
    {
        const TRect cell = grid.CellRect(2, 1);
        const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(grid.Handle(), WM_LBUTTONUP, 0, at);
        Application->ProcessMessages();
    }

    std::string m_connection;
    std::string m_errors;
    std::vector<std::string> m_asked;
    int m_answer = IDOK;
    int m_calls = 0;
};

TEST_F(PhonebookAndCallHistoryTest, ContactsAreAddedUnderEveryTabAndDeletedOnlyWithinTheTabShown)
{
    StartProgram();
    ShowPhonebookTab(AllTab);
    AddContact("Ann", "5550001", 1);
    AddContact("Bob", "5550002", 2);
    AddContact("Cid", "5550003", 3);
    AddContact("Dan", "5550004", 0);
    AddContact("Fay", "+445550005", 1);
    EXPECT_FALSE(m_form->POp->Visible());
    EXPECT_TRUE(m_form->PCPB->Enabled());
    EXPECT_EQ(Contacts(), (std::vector<std::string>{"Ann|5550001|1", "Bob|5550002|2", "Cid|5550003|3",
                                                    "Dan|5550004|0", "Fay|+445550005|1"}));
    EXPECT_EQ(m_form->QAll->RecordCount(), 5) << "the grid shows the new rows";

    const std::vector<std::pair<TPhonebookTab, int>> shown = {{FamilyTab, 2}, {FriendTab, 1}, {OfficeTab, 1}};
    for (const auto& [tab, rows] : shown) {
        ShowPhonebookTab(tab);
        EXPECT_EQ(m_form->QAll->RecordCount(), rows) << tab;
    }

    // A number that no dial command could take is refused, and the panel stays for mending.
    Popup("PMPB");
    Click("PMAdd");
    EXPECT_EQ(Control<TButton>("BPBOp").Caption(), "Add");
    FillPanel("Eve", "555\"\r;ATH", 2);
    m_asked.clear();
    Control<TButton>("BPBOp").Click();
    ASSERT_EQ(m_asked.size(), 1U);
    EXPECT_NE(m_asked[0].find("digits"), std::string::npos) << m_asked[0];
    EXPECT_TRUE(m_form->POp->Visible());
    EXPECT_FALSE(m_form->PCPB->Enabled());
    Control<TButton>("BPBC").Click();
    EXPECT_FALSE(m_form->POp->Visible());
    EXPECT_EQ(Contacts().size(), 5U);

    // Cancel keeps the contact; OK deletes the chosen one only.
    ShowPhonebookTab(FamilyTab);
    ChooseRow(*m_form->QAll, "Fay");
    Popup("PMPB");
    m_answer = IDCANCEL;
    m_asked.clear();
    Click("PMDelO");
    EXPECT_EQ(m_asked, std::vector<std::string>{"PhoneBook: Are you sure to Delete?"});
    EXPECT_EQ(Contacts().size(), 5U);
    m_answer = IDOK;
    Click("PMDelO");
    EXPECT_EQ(Contacts().size(), 4U);
    EXPECT_EQ(m_form->QAll->RecordCount(), 1) << "the Family tab still shows its own rows";

    ShowPhonebookTab(FriendTab);
    Popup("PMPB");
    Click("PMDelA");
    EXPECT_EQ(Contacts(), (std::vector<std::string>{"Ann|5550001|1", "Cid|5550003|3", "Dan|5550004|0"}));
    EXPECT_TRUE(m_form->QAll->IsEmpty());
    Popup("PMPB");
    for (const char* item : {"PMCall", "PMSM", "PPME", "PMDelO", "PMDelA"})
        EXPECT_FALSE(Control<TMenuItem>(item).Enabled()) << item << " on an empty tab";
    EXPECT_TRUE(Control<TMenuItem>("PMAdd").Enabled());
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(PhonebookAndCallHistoryTest, EditAfterACancelChangesTheContactThePanelShows)
{
    StartProgram();
    ShowPhonebookTab(AllTab);
    AddContact("Ann", "5550001", 1);
    AddContact("Zoe", "5550009", 3);
    ShowPhonebookTab(OfficeTab);
    ChooseRow(*m_form->QAll, "Zoe");
    Popup("PMPB");
    Click("PPME");
    EXPECT_EQ(Control<TButton>("BPBOp").Caption(), "Edit");
    EXPECT_EQ(Control<TEdit>("PBNam").Text(), "Zoe");
    EXPECT_EQ(Control<TComboBox>("PBG").ItemIndex(), 3);
    SaveScreenshot("window-phonebook-details");

    FillPanel("Zoe Park", "5550010", 2);
    m_answer = IDCANCEL;
    Control<TButton>("BPBOp").Click();
    EXPECT_TRUE(m_form->POp->Visible()) << "after Cancel the panel stays open";
    EXPECT_EQ(Contacts(), (std::vector<std::string>{"Ann|5550001|1", "Zoe|5550009|3"}));

    // Meanwhile the shared query has moved on to another contact and another filter.
    m_form->QAll->SetFiltered(false);
    m_form->QAll->First();
    ASSERT_EQ(m_form->QAll->FieldByName("NAME")->AsString(), "Ann");
    m_answer = IDOK;
    m_asked.clear();
    Control<TButton>("BPBOp").Click();
    EXPECT_EQ(m_asked, std::vector<std::string>{"PhoneBook: Are you sure to Change?"});
    EXPECT_FALSE(m_form->POp->Visible());
    EXPECT_EQ(Contacts(), (std::vector<std::string>{"Ann|5550001|1", "Zoe Park|5550010|2"}));
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(PhonebookAndCallHistoryTest, TicksUnderEveryTabAreAllGoneAfterClosingWithAFilteredPhonebook)
{
    StartProgram();
    ShowPhonebookTab(AllTab);
    AddContact("Ann", "5550001", 1);
    AddContact("Bob", "5550002", 2);
    AddContact("Cid", "5550003", 3);
    AddContact("Dan", "5550004", 0);
    const std::vector<std::pair<TPhonebookTab, const char*>> ticks = {
        {AllTab, "Dan"}, {FamilyTab, "Ann"}, {FriendTab, "Bob"}, {OfficeTab, "Cid"}};
    for (const auto& [tab, name] : ticks) {
        ShowPhonebookTab(tab);
        Tick(name);
    }
    EXPECT_EQ(Rows("SELECT * FROM PB WHERE SEL <> 0", {"NAME"}).size(), 4U);
    ShowPhonebookTab(AllTab);
    SaveScreenshot("window-phonebook-tabs");

    ShowPhonebookTab(FamilyTab);
    m_connection = m_form->QAll->ConnectionString();
    CloseForm();
    EXPECT_TRUE(Rows("SELECT * FROM PB WHERE SEL <> 0", {"NAME"}).empty());
    EXPECT_EQ(Rows("SELECT * FROM PB", {"NAME"}).size(), 4U);
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

// "Call" puts the first ticked number in name order on the display without dialling, "Send
// Message" makes every ticked contact a recipient once; both take the ticks away.
TEST_F(PhonebookAndCallHistoryTest, CallAndSendMessageTakeTheTickedContactsAndClearTheirTicks)
{
    StartProgram();
    ShowPhonebookTab(AllTab);
    AddContact("Cid", "5550003", 1);
    AddContact("Ann", "5550001", 2);
    AddContact("Bob", "5550002", 0);
    for (const char* name : {"Cid", "Ann", "Bob"})
        Tick(name);
    ShowPhonebookTab(FriendTab);
    Popup("PMPB");
    Click("PMCall");
    EXPECT_TRUE(m_form->PC->Visible());
    EXPECT_EQ(m_form->EDNum->Text(), "5550001");
    EXPECT_TRUE(Rows("SELECT * FROM PB WHERE SEL <> 0", {"NAME"}).empty());
    EXPECT_FALSE(m_form->QAll->Filtered());

    ShowPhonebookTab(AllTab);
    Popup("PMPB");
    Click("PMCall");
    EXPECT_EQ(m_form->EDNum->Text(), "") << "nothing ticked: an empty display";

    for (const char* name : {"Bob", "Ann"})
        Tick(name);
    Popup("PMPB");
    Click("PMSM");
    ShowPhonebookTab(AllTab);
    Tick("Ann");
    Popup("PMPB");
    Click("PMSM");
    EXPECT_TRUE(m_form->PS->Visible());
    ASSERT_EQ(m_form->CBNum->Items()->Count(), 2);
    EXPECT_EQ(m_form->CBNum->Items()->Strings(0), "Ann");
    EXPECT_EQ(m_form->CBNum->Items()->Strings(1), "Bob");
    EXPECT_TRUE(Rows("SELECT * FROM PB WHERE SEL <> 0", {"NAME"}).empty());
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(PhonebookAndCallHistoryTest, CallHistoryRowsAreDeletedFromTheLogTheyWereChosenIn)
{
    StartProgram();
    LogCall("CI", "Ann", "5550001");
    LogCall("CI", "Unknown", "Anonymous");
    LogCall("CO", "Bob", "*72#5550002");
    LogCall("CO", "Cid", "5550003");
    LogCall("CM", "Dan", "5550004");
    ShowCallHistory(m_form->TSIN);
    ClickFirstRow(*m_form->DBGIN);
    EXPECT_EQ(m_form->DBGIN->Hint(), m_form->QIN->FieldByName("NAME")->AsString());
    EXPECT_TRUE(m_form->DBGIN->ShowHint());
    ChooseRow(*m_form->QIN, "Ann");
    SaveScreenshot("window-call-history");
    Popup("PMCH");
    for (const char* item : {"PCD", "PCDelO", "PCDelA"})
        EXPECT_TRUE(Control<TMenuItem>(item).Enabled()) << item;

    // A call logged meanwhile switches the grids to its own log; the chosen row is still the one.
    m_form->DSC->SetDataSet(m_form->QMISS);
    m_answer = IDCANCEL;
    Click("PCDelO");
    EXPECT_EQ(Rows("SELECT * FROM CI", {"NAME"}).size(), 2U);
    m_answer = IDOK;
    m_asked.clear();
    Click("PCDelO");
    EXPECT_EQ(m_asked, std::vector<std::string>{"Call History: Are you sure to Delete?"});
    EXPECT_EQ(Rows("SELECT * FROM CI", {"NAME"}), std::vector<std::string>{"Unknown"});
    EXPECT_EQ(Rows("SELECT * FROM CM", {"NAME"}), std::vector<std::string>{"Dan"});
    EXPECT_EQ(m_form->QIN->RecordCount(), 1) << "the grid shows what is left";

    ShowCallHistory(m_form->TSOUT);
    Popup("PMCH");
    Click("PCDelA");
    EXPECT_TRUE(Rows("SELECT * FROM CO", {"NAME"}).empty());
    EXPECT_EQ(Rows("SELECT * FROM CI", {"NAME"}).size(), 1U) << "only the shown log is emptied";
    EXPECT_EQ(Rows("SELECT * FROM CM", {"NAME"}).size(), 1U);
    Popup("PMCH");
    for (const char* item : {"PCD", "PCDelO", "PCDelA"})
        EXPECT_FALSE(Control<TMenuItem>(item).Enabled()) << item << " with an empty log";
    m_form->DBGOUT->SetHint("");
    ClickFirstRow(*m_form->DBGOUT);
    EXPECT_EQ(m_form->DBGOUT->Hint(), "") << "an empty log sets no hint";
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(PhonebookAndCallHistoryTest, CallThisNumberFillsTheDisplayWithoutDiallingAndRefusesAWithheldCaller)
{
    StartProgram();
    LogCall("CO", "Bob", "*72#5550002");
    LogCall("CI", "Unknown", "Anonymous");
    ShowCallHistory(m_form->TSOUT);
    Popup("PMCH");
    Click("PCD");
    EXPECT_EQ(m_form->EDNum->Text(), "*72#5550002");
    EXPECT_FALSE(m_form->PCH->Visible()) << "back to the dial pad";
    EXPECT_TRUE(m_form->PC->Visible());

    ShowCallHistory(m_form->TSIN);
    Popup("PMCH");
    Click("PCD");
    EXPECT_EQ(m_form->StatusText(1), "Unknown number.");
    EXPECT_TRUE(m_form->PCH->Visible());
    EXPECT_EQ(m_form->EDNum->Text(), "*72#5550002") << "the display keeps what it had";

    Click("PMBD");
    EXPECT_FALSE(m_form->PCH->Visible());
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(PhonebookAndCallHistoryTest, CallWaitingAndForwardingRequestsWaitForTheModemsAnswer)
{
    StartReady();
    ShowCallHistory(m_form->TSSet);
    const auto waitEnded = [&] { return !m_form->Pwait->Visible() && m_form->PCH->Enabled(); };

    Control<TRadioButton>("RCWopen").SetChecked(true);
    Control<TButton>("BSetCW").Click();
    EXPECT_TRUE(m_form->Pwait->Visible());
    EXPECT_FALSE(m_form->PCH->Enabled());
    SaveScreenshot("window-call-services");
    ASSERT_TRUE(PumpUntil(waitEnded)) << m_modem->GetTranscript().Text();
    EXPECT_TRUE(m_modem->Status().callWaiting);

    Control<TSpeedButton>("BFwdbusy").Click();
    EXPECT_EQ(Control<TGroupBox>("GBFwd").Caption(), "When Busy");
    Control<TRadioButton>("RCFallon").SetChecked(true);
    EXPECT_TRUE(m_form->ETonum->Visible());
    m_asked.clear();
    Control<TBitBtn>("BCFSet").Click();
    EXPECT_EQ(m_asked, std::vector<std::string>{"USB MODEM: Please add the phone number."});
    EXPECT_FALSE(m_form->Pwait->Visible()) << "nothing was asked of the modem";
    m_form->ETonum->SetText("555;ATH");
    Control<TBitBtn>("BCFSet").Click();
    EXPECT_EQ(m_asked.size(), 2U) << "a pasted number that is no dial string is refused";
    EXPECT_FALSE(m_form->Pwait->Visible());

    m_form->ETonum->SetText("5550100");
    Control<TBitBtn>("BCFSet").Click();
    ASSERT_TRUE(PumpUntil(waitEnded)) << m_modem->GetTranscript().Text();
    EXPECT_EQ(m_modem->Status().forwarding[1], "5550100");

    Control<TRadioButton>("RCFalloff").SetChecked(true);
    EXPECT_FALSE(m_form->ETonum->Visible());
    Control<TBitBtn>("BCFSet").Click();
    ASSERT_TRUE(PumpUntil(waitEnded)) << m_modem->GetTranscript().Text();
    EXPECT_EQ(m_modem->Status().forwarding[1], "");
    const std::string transcript = m_modem->GetTranscript().Text();
    EXPECT_NE(transcript.find("AT+CDV*900"), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("ATH;"), std::string::npos) << transcript;
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(PhonebookAndCallHistoryTest, ARequestLeftUnansweredIsGivenUpAndTheAnswerCanNoLongerEndIt)
{
    StartReady();
    ShowCallHistory(m_form->TSSet);
    auto& answerWait = Control<TTimer>("TServiceWait");
    Control<TSpeedButton>("BFwdcancel").Click();
    ASSERT_TRUE(m_form->Pwait->Visible());
    EXPECT_TRUE(answerWait.Enabled());
    EXPECT_EQ(answerWait.Interval(), 35000U);

    answerWait.OnTimer()(&answerWait); // the modem has not answered in time
    EXPECT_FALSE(m_form->Pwait->Visible());
    EXPECT_TRUE(m_form->PCH->Enabled());
    EXPECT_FALSE(answerWait.Enabled());
    EXPECT_EQ(m_asked, std::vector<std::string>{"USB MODEM: The modem did not answer the request. Please try later."});

    // The late answer, and a time-out after an answered request, change nothing.
    ASSERT_TRUE(PumpUntil([&] { return m_modem->GetTranscript().Text().find("AT+CDV*730") != std::string::npos; }));
    Control<TRadioButton>("RCWclose").SetChecked(true);
    Control<TButton>("BSetCW").Click();
    ASSERT_TRUE(PumpUntil([&] { return !m_form->Pwait->Visible(); })) << m_modem->GetTranscript().Text();
    answerWait.OnTimer()(&answerWait);
    EXPECT_EQ(m_asked.size(), 1U);
    EXPECT_TRUE(m_form->PCH->Enabled());
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(PhonebookAndCallHistoryTest, TheEngineeringPanelOpensOnItsKeysAndSendsACheckedMin)
{
    StartReady();
    const auto pressCtrlShiftE = [&] {
        WORD key = 'E';
        m_form->OnKeyDown()(m_form.get(), key, TShiftState{ssCtrl, ssShift});
    };
    pressCtrlShiftE();
    EXPECT_FALSE(m_form->PEngineer->Visible()) << "only from the Setting tab";
    ShowCallHistory(m_form->TSSet);
    pressCtrlShiftE();
    ASSERT_TRUE(m_form->PEngineer->Visible());
    SaveScreenshot("window-engineering");

    Control<TEdit>("EMin").SetText("12;AT&F");
    Control<TButton>("Bminok").Click();
    EXPECT_EQ(m_asked.size(), 1U) << "a pasted MIN that is not digits is refused";
    Control<TEdit>("EMin").SetText("3105550100");
    Control<TButton>("Bminok").Click();
    ASSERT_TRUE(PumpUntil([&] { return m_modem->Status().min == "3105550100"; })) << m_modem->GetTranscript().Text();
    EXPECT_TRUE(m_form->PEngineer->Visible()) << "the panel stays until Cancel";
    Control<TButton>("BminCan").Click();
    EXPECT_FALSE(m_form->PEngineer->Visible());
    EXPECT_EQ(Control<TEdit>("EMin").Text(), "");
    EXPECT_EQ(m_modem->GetTranscript().Text().find("AT&F"), std::string::npos);
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(PhonebookAndCallHistoryTest, WithoutAModemAServiceRequestIsRefusedAndNothingWaits)
{
    StartProgram();
    ShowCallHistory(m_form->TSSet);
    Control<TSpeedButton>("BFwdcancel").Click();
    ASSERT_EQ(m_asked.size(), 1U);
    EXPECT_NE(m_asked[0].find("cannot take the request"), std::string::npos) << m_asked[0];
    EXPECT_FALSE(m_form->Pwait->Visible());
    EXPECT_TRUE(m_form->PCH->Enabled());
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

} // namespace
