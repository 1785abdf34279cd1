// The manager's main window, as the program makes it, against the simulated modem on a
// pseudo-terminal found through the device view: the port watch's own 3-second ticks and delays
// bring the modem up; every wait is bounded and blocks on the window's messages.

#include "ModemProgramFixture.h"

#include "modem/app/MainForm.h"
#include "modem/app/ModemSession.h"
#include "modem/app/Welcome.h"
#include "modem/core/SmsRecipients.h"

#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsStatusBar.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr const char* Dropped = "Connection dropped.";
constexpr const char* NotResponding = "Modem not responding.";

// The values of `field` in the rows of `query`, in its order.
std::vector<std::string> Column(TADOQuery& query, const char* field)
{
    std::vector<std::string> values;
    for (query.First(); !query.Eof(); query.Next())
        values.push_back(query.FieldByName(field)->AsString());
    return values;
}

// How often the host sent a command beginning with `prefix`, by the modem's transcript (the
// modem's echo is off, so only the host's lines carry commands).
int CountCommands(const std::string& transcript, const std::string& prefix)
{
    int count = 0;
    for (std::size_t at = transcript.find(prefix); at != std::string::npos; at = transcript.find(prefix, at + 1))
        ++count;
    return count;
}

class ModemProgramTest : public ModemProgramFixture {
protected:
    // Plugged, started, ready and registered with messages routed: the modem can send.
    void StartReady()
    {
        PlugModem(26);
        StartProgram();
        ASSERT_TRUE(PumpUntil([&] { return PortStatus() == Ready && m_form->ISignal->Tag() == 4; }))
            << PortStatus() << "\n" << m_errors << Transcript();
        m_modem->WaitForStatus([](const ModemStatus& status) { return status.messageRouting; }, "messages routed");
    }
};

TEST_F(ModemProgramTest, TheModemComesUpShowsItsSignalStoresAMessageAndSurvivesAReplug)
{
    PlugModem(26);
    StartProgram();
    EXPECT_EQ(FW, nullptr) << "the splash goes at the end of the main window's creation";
    EXPECT_TRUE(m_form->PM->Visible());
    EXPECT_FALSE(m_form->PS->Visible());

    ASSERT_TRUE(PumpUntil([&] { return PortStatus() == Ready; })) << PortStatus() << "\n" << m_errors << Transcript();
    ASSERT_TRUE(PumpUntil([&] { return m_form->ISignal->Tag() == 4; })) << m_form->ISignal->Tag() << "\n" << Transcript();
    m_modem->WaitForStatus([](const ModemStatus& status) { return status.messageRouting; }, "messages routed");

    const int before = m_form->QIB->RecordCount();
    m_modem->DeliverSms("5559876", "Hello from the network");
    ASSERT_TRUE(PumpUntil([&] { return m_form->QIB->Active() && m_form->QIB->RecordCount() == before + 1; }))
        << m_errors << Transcript();
    EXPECT_EQ(m_form->ISMS->Tag(), 6) << "the unread-message mark";
    EXPECT_TRUE(m_form->PCSMS->Visible()) << "the SMS boxes are shown";

    m_modem->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return PortStatus() == Dropped; })) << PortStatus() << "\n" << Transcript();
    EXPECT_EQ(m_form->ISignal->Tag(), 0);
    m_modem->Plug();
    ASSERT_TRUE(PumpUntil([&] { return PortStatus() == Ready; })) << PortStatus() << "\n" << Transcript();
    ASSERT_TRUE(PumpUntil([&] { return m_form->ISignal->Tag() == 4; })) << "the modem answers again\n" << Transcript();
    EXPECT_EQ(PortStatus(), Ready) << Transcript();
    EXPECT_TRUE(m_errors.empty()) << m_errors;

    // Last, as a picture takes a while: the window does not handle the modem's answers meanwhile.
    SaveScreenshot("window-modem");
    m_form->BSMS->Click();
    SaveScreenshot("window-sms");
    m_form->BBoxClick(m_form->BBox);
    SaveScreenshot("window-sms-boxes");
    m_form->BCallM->Click();
    SaveScreenshot("window-call");
    m_form->BPBM->Click();
    EXPECT_TRUE(m_form->PP->Visible());
    EXPECT_TRUE(m_form->BPBM->Down()) << "the shown page's button stays down";
    EXPECT_FALSE(m_form->BModem->Down());
    SaveScreenshot("window-phonebook");
}

TEST_F(ModemProgramTest, WithoutAModemTheSettingsTakeTheirDefaultsAndArePrivateAfterClose)
{
    std::ofstream(m_dir / "Modem.ini") << "[SETTING]\nTEL=#888\nVOL=loud\n[Handle]\nHWND=42\n";
    StartProgram();
    EXPECT_EQ(m_form->Settings().UserName, "plum");
    EXPECT_EQ(m_form->Settings().Tel, "#888");
    EXPECT_EQ(m_form->Settings().VolumeLevel, 0) << "a volume that is no number of the bar reads as 0";
    CloseForm();

    const TIniFile file((m_dir / "Modem.ini").string());
    EXPECT_EQ(file.ReadString("SETTING", "PASSWORD", ""), "plum");
    EXPECT_EQ(file.ReadString("SETTING", "TEL", ""), "#888");
    EXPECT_EQ(file.ReadString("SETTING", "VOL", ""), "0");
    EXPECT_FALSE(file.ValueExists("Handle", "HWND"));
    struct stat info {};
    ASSERT_EQ(::stat((m_dir / "Modem.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600);
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(ModemProgramTest, AMessageToThreeRecipientsGoesOutOnceToEachAndIsKeptInTheSentBox)
{
    StartReady();
    for (const char* number : {"5550001", "5550002", "5550003"})
        m_form->Session().QueueSms(
            SmsQueueItem({number == std::string("5550002") ? "Bob" : number, number}, "See you at eight"));
    ASSERT_TRUE(PumpUntil([&] { return m_form->QSB->Active() && m_form->QSB->RecordCount() == 3; }))
        << NetworkStatus() << "\n" << m_errors << Transcript();
    ASSERT_TRUE(PumpUntil([&] { return NetworkStatus() == "Complete sending SMS."; })) << NetworkStatus();

    for (const char* number : {"5550001", "5550002", "5550003"}) {
        EXPECT_EQ(m_modem->ExpectCommand("AT$QCMGS"), "AT$QCMGS=\"" + std::string(number) + "\"");
        EXPECT_EQ(m_modem->ExpectSmsText(), "See you at eight");
    }
    EXPECT_EQ(CountCommands(Transcript(), "AT$QCMGS="), 3) << Transcript();
    const std::vector<std::string> numbers = Column(*m_form->QSB, "NUM");
    EXPECT_EQ(std::set<std::string>(numbers.begin(), numbers.end()),
              (std::set<std::string>{"5550001", "5550002", "5550003"}));
    const std::vector<std::string> names = Column(*m_form->QSB, "NAME");
    EXPECT_EQ(std::multiset<std::string>(names.begin(), names.end()),
              (std::multiset<std::string>{"Bob", "Unknown", "Unknown"}))
        << "a recipient entered as a bare number is stored as Unknown";
    EXPECT_EQ(m_form->QOB->RecordCount(), 0);
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(ModemProgramTest, MessagesTheModemRefusesGoToTheOutboxAfterAFewTriesAndAreNotSentAgain)
{
    StartReady();
    m_modem->SetSmsOutcome(SmsOutcome::Refused);
    m_form->Session().QueueSms(SmsQueueItem({"Ann", "5550001"}, "first"));
    m_form->Session().QueueSms(SmsQueueItem({"Bob", "5550002"}, "second"));
    std::set<std::string> shown;
    ASSERT_TRUE(PumpUntil([&] {
        shown.insert(NetworkStatus());
        return NetworkStatus() == "Complete sending SMS. 2 failed.";
    })) << NetworkStatus() << "\n" << m_errors << Transcript();
    EXPECT_TRUE(shown.count("Fail sending to Ann")) << "the first failure is told while the batch goes on";
    EXPECT_EQ(Column(*m_form->QOB, "NAME"), (std::vector<std::string>{"Bob", "Ann"})) << "newest first";
    EXPECT_EQ(m_form->QSB->RecordCount(), 0);

    // The signal poll comes back after the batch; by then no message has been offered again.
    const int offered = CountCommands(Transcript(), "AT$QCMGS=");
    EXPECT_EQ(offered, 2 * 3) << Transcript();
    m_modem->ExpectCommand("AT$QCMGS=\"5550002\"");
    const auto polls = CountCommands(Transcript(), "AT+CSQ");
    ASSERT_TRUE(PumpUntil([&] { return CountCommands(Transcript(), "AT+CSQ") > polls; }, 30s)) << Transcript();
    EXPECT_EQ(CountCommands(Transcript(), "AT$QCMGS="), offered) << Transcript();
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(ModemProgramTest, AnUnansweredCallWithItsCallerIsLoggedAsMissed)
{
    StartReady();
    m_modem->Ring("5551234");
    ASSERT_TRUE(PumpUntil([&] { return m_form->QMISS->Active() && m_form->QMISS->RecordCount() == 1; }))
        << m_errors << Transcript();
    EXPECT_EQ(Column(*m_form->QMISS, "NUM"), std::vector<std::string>{"5551234"});
    EXPECT_EQ(Column(*m_form->QMISS, "NAME"), std::vector<std::string>{"Unknown"});
    EXPECT_EQ(m_form->QIN->RecordCount(), 0);
    EXPECT_TRUE(m_form->PC->Visible()) << "the call page showed the caller";
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

TEST_F(ModemProgramTest, AModemThatStopsAnsweringIsOpenedAgainByItself)
{
    StartReady();
    m_modem->OverrideReply("AT", "");
    ASSERT_TRUE(PumpUntil([&] { return PortStatus() == NotResponding; })) << PortStatus() << "\n" << Transcript();
    m_modem->ClearOverrides();
    m_modem->SetSignal(30);
    ASSERT_TRUE(PumpUntil([&] { return PortStatus() == Ready; })) << PortStatus() << "\n" << Transcript();
    EXPECT_GE(CountCommands(Transcript(), "ATE0"), 2) << "initialised again";
    ASSERT_TRUE(PumpUntil([&] { return m_form->ISignal->Tag() == 5; })) << "the modem's answers are read again\n"
                                                                       << Transcript();
    EXPECT_EQ(PortStatus(), Ready);
    EXPECT_TRUE(m_errors.empty()) << m_errors;
}

} // namespace
