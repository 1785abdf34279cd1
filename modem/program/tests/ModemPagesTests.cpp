// The manager's data connection, call and SMS pages against the simulated modem, as a user drives
// them: buttons clicked, text typed into the controls, what the window shows and what the
// database holds checked. The dial-up service runs the stand-in pppd and chat scripts of the
// dial-up layer's tests. Every wait is bounded and handles the window's messages meanwhile.

#include "ModemProgramFixture.h"

#include "modem/app/MainForm.h"
#include "modem/app/Welcome.h"

#include "dialup/RASDail.h"

#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
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

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;


class ModemPagesTest : public ModemProgramFixture {
protected:
    ModemPagesTest()
    {
        // The dial-up phonebook the port watch writes, and the stand-in dial-up programs.
        m_environment.Set("MODEM_SYSTEM_ROOT", (m_dir / "root").string());
        m_environment.Set("TMPDIR", (m_dir / "tmp").string());
        m_environment.Unset("XDG_RUNTIME_DIR");
        fs::create_directories(m_dir / "tmp");
        InstallScript("fake-pppd.sh", "bin/fake-pppd");
        InstallScript("fake-chat.sh", "bin/fake-chat");
        m_environment.Set("MODEM_PPPD", (m_dir / "bin/fake-pppd").string());
        m_environment.Set("MODEM_CHAT", (m_dir / "bin/fake-chat").string());
        m_environment.Set("FAKE_PPPD_DIR", m_dir.Path().string());
        m_environment.Unset("FAKE_PPPD_SCENARIO");
        m_environment.Unset("FAKE_CHAT_RESULT");
        SetMessageDlgHandler([this](const std::string& msg, const std::string&, TMsgDlgType, TMsgDlgButtons) {
            m_messages += msg + "\n";
            return mrOk;
        });
    }

    ~ModemPagesTest() override
    {
        CloseForm();
        SetMessageDlgHandler(nullptr);
    }

    void InstallScript(const std::string& name, const std::string& target)
    {
        const fs::path source = fs::path(MODEM_SOURCE_DIR) / "platform/winapi/ras/tests" / name;
        fs::create_directories((m_dir / target).parent_path());
        fs::copy_file(source, m_dir / target, fs::copy_options::overwrite_existing);
        fs::permissions(m_dir / target, fs::perms::owner_all);
    }

    // The modem plugged in, the program started, the modem initialised and registered.
    void StartWithModem()
    {
        PlugModem(26);
        StartProgram();
        ASSERT_TRUE(PumpUntil([&] { return PortStatus() == Ready; })) << PortStatus() << "\n" << m_errors;
        ASSERT_TRUE(PumpUntil([&] { return m_modem->Status().messageRouting; })) << m_modem->GetTranscript().Text();
    }

    void AddContact(const std::string& name, const std::string& number)
    {
        TADOQuery& phonebook = *m_form->QAll;
        phonebook.Append();
        phonebook.FieldByName("NAME")->SetAsString(name);
        phonebook.FieldByName("NUM")->SetAsString(number);
        phonebook.Post();
    }

    void Click(const char* button) { dynamic_cast<TButton&>(*m_form->FindComponent(button)).Click(); }

    static void Tick(TTimer& timer, int times)
    {
        for (int i = 0; i < times; ++i)
            timer.OnTimer()(&timer);
    }

    // The first row of a query, "NAME|NUM|<field>", after it shows `count` rows.
    [[nodiscard]] static std::string FirstRow(TADOQuery& query, const std::string& field)
    {
        query.First();
        return query.FieldByName("NAME")->AsString() + "|" + query.FieldByName("NUM")->AsString() + "|"
               + query.FieldByName(field)->AsString();
    }

    [[nodiscard]] std::string Log() const { return m_form->MDR->Lines()->Text(); }

    std::string m_messages;
};

TEST_F(ModemPagesTest, CallsDialledFromThePadAndAnsweredAreLoggedWithTheirDurations)
{
    StartWithModem();
    AddContact("Carol", "5551234");
    AddContact("Cyril", "5559000");
    m_form->BCallMClick(m_form->BCallM);

    for (const char* key : {"BD5", "BD5"})
        Click(key);
    EXPECT_EQ(m_form->LBName->Items()->Count(), 0) << "two characters look nothing up";
    Click("BD5");
    ASSERT_EQ(m_form->LBName->Items()->Count(), 2);
    EXPECT_EQ(m_form->LBName->Items()->Strings(0), "Carol") << "in the phonebook's name order";
    m_form->LBName->SetItemIndex(1);
    m_form->LBName->OnClick()(m_form->LBName);
    EXPECT_EQ(m_form->LBName->Hint(), "5559000") << "each name keeps its own number";
    for (const char* key : {"BD1", "BD2", "BD3", "BD4"})
        Click(key);
    EXPECT_EQ(m_form->EDNum->Text(), "5551234");

    m_form->BCall->Click();
    EXPECT_EQ(m_modem->ExpectCommand("AT+CDV"), "AT+CDV5551234");
    ASSERT_TRUE(PumpUntil([&] { return m_form->ETitle->Text().rfind("Time: ", 0) == 0; })) << m_form->ETitle->Text();
    Tick(*m_form->TCall, 65);
    EXPECT_EQ(m_form->ETitle->Text().substr(0, 13), "Time: 00:01:0") << m_form->ETitle->Text();
    // Before the tone: the window answers nothing while the picture is taken.
    ASSERT_TRUE(PumpUntil([&] { return m_form->BHang->Enabled(); }));
    SaveScreenshot("page-call");
    Click("BD7");
    EXPECT_EQ(m_modem->ExpectCommand("AT+VTS"), "AT+VTS=7") << "a key sends its tone while connected";
    EXPECT_EQ(m_form->EDNum->Text(), "5551234") << "and leaves the display alone";

    const int dialled = m_form->QOUT->RecordCount();
    m_form->BHang->Click();
    ASSERT_TRUE(PumpUntil([&] { return m_form->QOUT->Active() && m_form->QOUT->RecordCount() == dialled + 1; }));
    EXPECT_EQ(FirstRow(*m_form->QOUT, "DUR").substr(0, 21), "Carol|5551234|00:01:0");
    EXPECT_EQ(PortStatus(), Ready) << m_modem->GetTranscript().Text();

    const int received = m_form->QIN->RecordCount();
    m_modem->Ring("5559000");
    // The ring carries no number: it comes with the modem's answer to the query the ring starts,
    // so a tick of the main timer may show the call before its number.
    ASSERT_TRUE(PumpUntil([&] {
        return m_form->BCall->Caption() == "Answer" && m_form->BCall->Enabled() && m_form->EDNum->Text() == "5559000";
    })) << m_form->BCall->Caption() << " " << m_form->BCall->Enabled() << " " << m_form->ETitle->Text() << " "
        << m_form->EDNum->Text() << "\n"
        << m_modem->GetTranscript().Text();
    m_form->BCall->Click();
    ASSERT_TRUE(PumpUntil([&] { return m_form->ETitle->Text().rfind("Time: ", 0) == 0; })) << m_form->ETitle->Text();
    Tick(*m_form->TCall, 3);
    m_form->BHang->Click();
    ASSERT_TRUE(PumpUntil([&] { return m_form->QIN->Active() && m_form->QIN->RecordCount() == received + 1; }));
    EXPECT_EQ(FirstRow(*m_form->QIN, "DUR").substr(0, 20), "Cyril|5559000|00:00:");
    EXPECT_TRUE(m_messages.empty()) << m_messages;

    // Dialled from a contact: the name double-clicked in the smart-dial list puts its number up.
    ASSERT_TRUE(PumpUntil([&] { return m_form->BCall->Caption() == "Call" && m_form->BCall->Enabled(); }));
    m_form->BCallMClick(m_form->BCallM);
    for (const char* key : {"BD5", "BD5", "BD5"})
        Click(key);
    m_form->LBName->SetItemIndex(1);
    m_form->LBName->OnDblClick()(m_form->LBName);
    EXPECT_EQ(m_form->EDNum->Text(), "5559000");
    m_form->BCall->Click();
    EXPECT_EQ(m_modem->ExpectCommand("AT+CDV"), "AT+CDV5559000");
    ASSERT_TRUE(PumpUntil([&] { return m_form->BHang->Enabled(); }));
    m_form->BHang->Click();
    ASSERT_TRUE(PumpUntil([&] { return m_form->QOUT->Active() && m_form->QOUT->RecordCount() == dialled + 2; }));
    EXPECT_EQ(FirstRow(*m_form->QOUT, "DUR").substr(0, 14), "Cyril|5559000|");

    // A number that is no number is refused with a message and never reaches the modem.
    ASSERT_TRUE(PumpUntil([&] { return m_form->BCall->Caption() == "Call"; }));
    m_form->EDNum->SetText("555;ATH\r");
    m_form->BCall->Click();
    EXPECT_NE(m_messages.find("is not a phone number"), std::string::npos) << m_messages;
    EXPECT_EQ(m_modem->GetTranscript().Text().find("555;"), std::string::npos);
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(ModemPagesTest, AnSmsGoesToTypedAndPickedNumbersAndADraftIsSaved)
{
    StartWithModem();
    AddContact("Dora", "5557000");
    m_form->BSMSClick(m_form->BSMS);

    m_form->CBNum->SetText("55");
    m_form->CBNum->OnChange()(m_form->CBNum);
    EXPECT_FALSE(m_form->LBNameS->Visible()) << "two digits look nothing up";
    m_form->CBNum->SetText("555");
    m_form->CBNum->OnChange()(m_form->CBNum);
    ASSERT_TRUE(m_form->LBNameS->Visible());
    ASSERT_EQ(m_form->LBNameS->Items()->Count(), 1);
    m_form->LBNameS->SetItemIndex(0);
    m_form->LBNameS->OnDblClick()(m_form->LBNameS);
    ASSERT_EQ(m_form->CBNum->Items()->Count(), 1);
    EXPECT_EQ(m_form->CBNum->Height(), 57);
    EXPECT_EQ(m_form->LBNameS->Top(), m_form->CBNum->Top() + 57 + 10);
    EXPECT_GT(m_form->MM->Top(), m_form->CBNum->Top() + 57) << "the message is not hidden under the recipients";

    // Typed: a number is refused unless it is one.
    m_form->CBNum->SetText("12;3");
    char enter = '\r';
    m_form->CBNum->OnKeyPress()(m_form->CBNum, enter);
    EXPECT_NE(m_messages.find("is not a phone number"), std::string::npos) << m_messages;
    EXPECT_EQ(m_form->CBNum->Items()->Count(), 1);

    // Over-long text is cut in the memo, and what would break the command is taken out.
    m_form->MM->SetText(std::string(200, 'x'));
    EXPECT_EQ(m_form->MM->Text().size(), 160u);
    EXPECT_EQ(m_form->LSMS->Caption(), "0");
    m_form->MM->SetText("Hello\x1A there\r\n");
    EXPECT_EQ(m_form->MM->Text(), "Hello there");
    EXPECT_EQ(m_form->LSMS->Caption(), "149");

    m_form->CBNum->SetText("5550001");
    const int sent = m_form->QSB->RecordCount();
    m_form->BMSend->Click();
    EXPECT_EQ(m_form->CBNum->Items()->Count(), 2) << "the typed number became a recipient";
    ASSERT_TRUE(PumpUntil([&] { return m_form->QSB->Active() && m_form->QSB->RecordCount() == sent + 2; }))
        << m_modem->GetTranscript().Text();
    EXPECT_EQ(m_modem->ExpectSmsText(), "Hello there");
    EXPECT_EQ(m_modem->ExpectSmsText(), "Hello there");
    SaveScreenshot("page-sms");

    const int drafts = m_form->QOB->RecordCount();
    Click("BMSave");
    ASSERT_EQ(m_form->QOB->RecordCount(), drafts + 1);
    EXPECT_EQ(FirstRow(*m_form->QOB, "TEXT"), "Dora|5557000|Hello there") << "a draft keeps its first recipient";
    EXPECT_TRUE(m_form->PCSMS->Visible());
    EXPECT_EQ(m_form->PCSMS->ActivePage(), m_form->TSOB);
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(ModemPagesTest, TheDataConnectionDialsThroughPppdAndGivesThePortBack)
{
    StartWithModem();
    m_form->BModemClick(m_form->BModem);

    m_form->BDial->Click();
    ASSERT_TRUE(PumpUntil([&] { return m_form->BDial->Caption() == "Disconnect"; })) << Log() << m_errors;
    EXPECT_TRUE(m_form->BDial->Enabled());
    EXPECT_EQ(m_form->ModemState(), TModemState::Released);
    EXPECT_FALSE(m_form->CommOpened()) << "the port is the dial-up service's";
    for (const char* line : {"==Getting Ready==", "==Openning Port==", "==Port Opened==", "==Connected=="})
        EXPECT_NE(Log().find(line), std::string::npos) << line << "\n" << Log();

    m_dir.WriteFile("sys/class/net/ppp0/statistics/tx_bytes", "1234\n");
    m_dir.WriteFile("sys/class/net/ppp0/statistics/rx_bytes", "56789\n");
    Tick(*m_form->TNet, 1);
    EXPECT_EQ(m_form->LSend->Caption(), "1234");
    EXPECT_EQ(m_form->LRvd->Caption(), "56789");
    EXPECT_EQ(m_form->LSpeed->Caption(), "144000");
    EXPECT_EQ(m_form->LTime->Caption().substr(0, 6), "00:00:");
    SaveScreenshot("page-data");

    m_form->BDial->Click();
    ASSERT_TRUE(PumpUntil([&] { return m_form->BDial->Caption() == "Dial" && m_form->BDial->Enabled(); })) << Log();
    EXPECT_NE(Log().find("==Disconnecting=="), std::string::npos);
    ASSERT_TRUE(PumpUntil([&] { return m_form->ModemState() == TModemState::Initialised && PortStatus() == Ready; }))
        << "the port watch takes the port back\n" << PortStatus();

    // An error the service reports ends the dial with its text logged, and the port comes back.
    m_environment.Set("FAKE_PPPD_SCENARIO", "auth-fail");
    m_form->BDial->Click();
    const std::string authFailed = "==" + RasErrorString(691) + "==";
    ASSERT_TRUE(PumpUntil([&] { return Log().find(authFailed) != std::string::npos; })) << Log();
    ASSERT_TRUE(PumpUntil([&] { return m_form->BDial->Caption() == "Dial" && m_form->BDial->Enabled(); })) << Log();
    ASSERT_TRUE(PumpUntil([&] { return m_form->ModemState() == TModemState::Initialised && PortStatus() == Ready; }));

    // A dial the service refuses at once (no entry to dial) is logged and the page comes back too.
    fs::remove_all(m_dir / "XDG_DATA_HOME/Microsoft/Network/Connections/Pbk");
    m_form->BDial->Click();
    EXPECT_NE(Log().find("==ERR"), std::string::npos) << Log();
    EXPECT_EQ(m_form->BDial->Caption(), "Dial");
    EXPECT_TRUE(m_form->BDial->Enabled());
    EXPECT_TRUE(m_form->TAuto->Enabled());
    ASSERT_TRUE(PumpUntil([&] { return m_form->ModemState() == TModemState::Initialised && PortStatus() == Ready; }));
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(ModemPagesTest, TheNetworkSettingsRefuseABadNumberAndTheirDefaultsReachTheFile)
{
    StartProgram();
    Click("BSet");
    ASSERT_TRUE(m_form->PNet->Visible());
    EXPECT_EQ(m_form->ENUM->Text(), "#777");
    m_form->ENUM->SetText("#777\rATH");
    Click("BSave");
    EXPECT_NE(m_messages.find("is not a phone number"), std::string::npos) << m_messages;
    EXPECT_TRUE(m_form->PNet->Visible()) << "the panel stays open for the number to be mended";
    EXPECT_EQ(m_form->Settings().Tel, "#777");

    m_form->EUN->SetText("alice");
    m_form->ENUM->SetText("*99#");
    m_form->EAPN->SetText("internet");
    Click("BSave");
    EXPECT_FALSE(m_form->PNet->Visible());
    EXPECT_EQ(m_form->Settings().UserName, "alice");
    EXPECT_EQ(m_form->Settings().Tel, "*99#");
    EXPECT_EQ(m_form->Settings().Apn, "internet");

    Click("BSet");
    Click("BDef");
    EXPECT_FALSE(m_form->PNet->Visible());
    EXPECT_NE(Log().find("==Default Settings=="), std::string::npos) << Log();
    m_form->Close();
    m_form.reset();
    const TIniFile file((m_dir / "Modem.ini").string());
    EXPECT_EQ(file.ReadString("SETTING", "USERNAME", ""), "plum");
    EXPECT_EQ(file.ReadString("SETTING", "PASSWORD", ""), "plum");
    EXPECT_EQ(file.ReadString("SETTING", "TEL", ""), "#777");
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

} // namespace
