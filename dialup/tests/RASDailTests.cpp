#include "dialup/RASDail.h"

#include "platform/rtl/Exceptions.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/ras/tests/DialFixture.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/CommandLines.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// One WM_RAS_NOTIFY as the window saw it.
struct Notification {
    WPARAM code;
    LPARAM lParam;
    std::string errorText; // RasErrorText while the window handled it
    DWORD thread;
};

std::vector<Notification>& Received()
{
    static std::vector<Notification> received;
    return received;
}

LRESULT RecordingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RAS_NOTIFY) {
        Received().push_back({wParam, lParam, RasErrorText(), GetCurrentThreadId()});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

constexpr const char* RecordingClass = "RasNotifyRecorder";

void RegisterRecordingClass()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RecordingWindowProc;
    windowClass.lpszClassName = RecordingClass;
    (void)RegisterClassA(&windowClass);
}

std::vector<WPARAM> ReceivedCodes()
{
    std::vector<WPARAM> codes;
    for (const auto& notification : Received())
        codes.push_back(notification.code);
    return codes;
}

bool LastCodeIs(WPARAM code)
{
    return !Received().empty() && Received().back().code == code;
}

// The message Connect raised, or "" when it raised nothing.
std::string RefusalOf(TRASConnection& connection)
{
    try {
        connection.Connect();
    } catch (const Exception& error) {
        return error.Message();
    }
    return "";
}

// The fake dial-up machine of the service's own tests, plus a window on this (the GUI) thread
// that receives the notifications.
class RasConnectionTest : public DialTest {
protected:
    RasConnectionTest()
    {
        (void)SelectHeadlessDisplay();
        RegisterRecordingClass();
        m_window = CreateWindowExA(0, RecordingClass, "dial-up", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                   nullptr);
        EXPECT_NE(m_window, nullptr);
        RasNotifyWindow = m_window;
        SetRasErrorText("");
        Received().clear();
    }

    ~RasConnectionTest() override
    {
        if (m_component)
            m_component->Disconnect();
        RasNotifyWindow = nullptr;
        Pump();
        (void)DestroyWindow(m_window);
    }

    // The component, created on first use so that it reads the phonebook the test wrote.
    TRASConnection& Component()
    {
        if (!m_component)
            m_component = std::make_unique<TRASConnection>(m_window);
        return *m_component;
    }

    // Handles what has arrived, without waiting.
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            (void)DispatchMessageA(&msg);
    }

    // Runs the message loop until `done` holds, generously long.
    template <class Condition>
    static bool PumpUntil(Condition done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (;;) {
            Pump();
            if (done())
                return true;
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        }
    }

    static bool PumpUntilDialEnds()
    {
        return PumpUntil([] { return LastCodeIs(RASCS_Connected) || LastCodeIs(RASCS_Disconnected) ||
                                     (!Received().empty() && Received().back().code >= 600); });
    }

    // The application's order of calls for a dial.
    void DialThroughComponent(const std::string& number, const std::string& userName, const std::string& password)
    {
        auto& connection = Component();
        (void)connection.RefreshEntries();
        connection.SetEntryName("USB MODEM");
        connection.SetPhoneNumber(number);
        connection.SetUserName(userName);
        connection.SetPassword(password);
        connection.Connect();
    }

    void ConnectModem()
    {
        DialThroughComponent("#777", "plum", "plum");
        ASSERT_TRUE(PumpUntilDialEnds());
        ASSERT_TRUE(LastCodeIs(RASCS_Connected));
    }

    HWND m_window = nullptr;
    std::unique_ptr<TRASConnection> m_component;
};

TEST_F(RasConnectionTest, ADialReportsEveryStateInOrderToTheWindowOnTheGuiThread)
{
    ASSERT_NO_FATAL_FAILURE(ConnectModem());
    EXPECT_EQ(ReceivedCodes(), (std::vector<WPARAM>{RASCS_OpenPort, RASCS_PortOpened, RASCS_Authenticate,
                                                    RASCS_Authenticated, RASCS_Connected}));
    for (const auto& notification : Received()) {
        EXPECT_EQ(notification.thread, GetCurrentThreadId());
        EXPECT_EQ(notification.lParam, 0);
    }
    EXPECT_EQ(FakePppdFile("dialled"), "#777");

    // A healthy connection gives the status check nothing to report.
    Component().CheckStatus();
    EXPECT_EQ(Received().size(), 5u);
}

TEST_F(RasConnectionTest, StatisticsFollowTheInterfaceCountersAndTheConnectionTime)
{
    EXPECT_FALSE(Component().UpdateStatistics()); // nothing dialled yet
    WriteCounters("ppp0", 1000, 5000);
    ASSERT_NO_FATAL_FAILURE(ConnectModem());
    auto& connection = Component();
    ASSERT_TRUE(connection.UpdateStatistics());
    EXPECT_EQ(connection.BytesSent(), 1000u);
    EXPECT_EQ(connection.BytesReceived(), 5000u);

    WriteCounters("ppp0", 2500, 9000);
    ASSERT_TRUE(connection.UpdateStatistics());
    EXPECT_EQ(connection.BytesSent(), 2500u);
    EXPECT_EQ(connection.BytesReceived(), 9000u);

    {
        // A clock that starts where the real one is now, so the connection's start lies behind it.
        FakeClock clock(GetTickCount64());
        ASSERT_TRUE(connection.UpdateStatistics());
        const DWORD before = connection.ConnectDuration();
        clock.Advance(61'000);
        ASSERT_TRUE(connection.UpdateStatistics());
        EXPECT_EQ(connection.ConnectDuration(), before + 61'000);
    }

    // After the hang-up the last figures stay.
    connection.Disconnect();
    EXPECT_FALSE(connection.UpdateStatistics());
    EXPECT_EQ(connection.BytesSent(), 2500u);
}

TEST_F(RasConnectionTest, HangUpEndsPppdAndEveryLaterStatusCheckReportsDisconnected)
{
    ASSERT_NO_FATAL_FAILURE(ConnectModem());
    const pid_t pid = FakePppdPid();
    ASSERT_FALSE(ProcessIsGone(pid));

    auto& connection = Component();
    connection.Disconnect();
    EXPECT_TRUE(ProcessIsGone(pid));
    EXPECT_FALSE(connection.FindActiveConnection());

    // Sent within the GUI thread: handled before CheckStatus returns.
    Received().clear();
    connection.CheckStatus();
    connection.CheckStatus();
    EXPECT_EQ(ReceivedCodes(), (std::vector<WPARAM>{RASCS_Disconnected, RASCS_Disconnected}));
}

TEST_F(RasConnectionTest, ACheckBeforeAnyDialReportsDisconnected)
{
    Component().CheckStatus();
    EXPECT_EQ(ReceivedCodes(), std::vector<WPARAM>{RASCS_Disconnected});
}

TEST_F(RasConnectionTest, AuthenticationFailureReachesTheWindowWithItsText)
{
    m_env.Set("FAKE_PPPD_SCENARIO", "auth-fail");
    DialThroughComponent("#777", "plum", "wrong");
    ASSERT_TRUE(PumpUntilDialEnds());
    EXPECT_EQ(ReceivedCodes(), (std::vector<WPARAM>{RASCS_OpenPort, RASCS_PortOpened, RASCS_Authenticate,
                                                    ERROR_AUTHENTICATION_FAILURE}));
    const auto text = RasErrorString(ERROR_AUTHENTICATION_FAILURE);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(Received().back().errorText, text);
    EXPECT_EQ(RasErrorText(), text);
}

TEST_F(RasConnectionTest, AStatusCheckAfterADroppedLineReportsTheErrorWithItsOwnText)
{
    ASSERT_NO_FATAL_FAILURE(ConnectModem());
    SetRasErrorText("an older error");
    m_dir.WriteFile("drop", "");
    ASSERT_TRUE(PumpUntil([] { return LastCodeIs(RASCS_Disconnected); }));

    auto& connection = Component();
    connection.CheckStatus();
    ASSERT_TRUE(LastCodeIs(ERROR_PORT_DISCONNECTED));
    EXPECT_EQ(Received().back().errorText, RasErrorString(ERROR_PORT_DISCONNECTED));

    connection.Disconnect();
    connection.CheckStatus();
    EXPECT_TRUE(LastCodeIs(RASCS_Disconnected));
}

TEST_F(RasConnectionTest, RefusedDialsRaiseTheirMessageAndReportNothing)
{
    auto& connection = Component();
    connection.SetEntryName("NOT IN THE BOOK");
    EXPECT_EQ(RefusalOf(connection), "ERR!");
    EXPECT_EQ(connection.LastDialError(), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);

    connection.SetEntryName("USB MODEM");
    connection.SetPhoneNumber("#777;ATZ");
    EXPECT_EQ(RefusalOf(connection), "ERR!");
    EXPECT_EQ(connection.LastDialError(), ERROR_BAD_STRING);

    Pump();
    EXPECT_TRUE(Received().empty());
    EXPECT_FALSE(connection.FindActiveConnection());
}

TEST(RasRefusalMessage, PortAndLineRefusalsAreErrAndAllOthersErrBang)
{
    for (const DWORD code : {602u, 605u, 633u, 638u, 645u, 650u, 718u, 720u, 734u, 738u, 797u})
        EXPECT_EQ(RasRefusalMessage(code), "ERR") << code;
    for (const DWORD code : {600u, 623u, 637u, 676u, 677u, 678u, 679u, 680u, 691u, 692u, 719u, 798u})
        EXPECT_EQ(RasRefusalMessage(code), "ERR!") << code;
}

TEST_F(RasConnectionTest, TheEntryEnumeratedLastIsSelectedAndOnlyAnExactNameSelectsAnother)
{
    WritePhonebook(Entry("First", "COM7") + Entry("Second", "COM7") + Entry("Third", "COM7"));
    auto& connection = Component();
    EXPECT_EQ(connection.GetEntryName(), "Third");
    const auto& entries = connection.RefreshEntries();
    ASSERT_EQ(entries.Count(), 3);
    EXPECT_EQ(entries.Strings(0), "Third");
    EXPECT_EQ(entries.Strings(1), "Second");
    EXPECT_EQ(entries.Strings(2), "First");

    connection.SetEntryName("First");
    EXPECT_EQ(connection.GetEntryName(), "First");
    connection.SetEntryName("first");
    EXPECT_EQ(connection.GetEntryName(), "'''");
    connection.SetEntryName("Fourth");
    EXPECT_EQ(connection.GetEntryName(), "'''");
    (void)connection.RefreshEntries();
    EXPECT_EQ(connection.GetEntryName(), "Third");
}

TEST_F(RasConnectionTest, AnEmptyOrMissingPhonebookLeavesNoEntriesAndNoName)
{
    WritePhonebook("");
    TRASConnection empty(m_window);
    EXPECT_EQ(empty.RefreshEntries().Count(), 0);
    EXPECT_EQ(empty.GetEntryName(), "'''");

    fs::remove(PhonebookPath());
    TRASConnection missing(m_window);
    EXPECT_EQ(missing.RefreshEntries().Count(), 0);
    missing.SetEntryName("USB MODEM");
    EXPECT_EQ(missing.GetEntryName(), "'''");
}

TEST_F(RasConnectionTest, LongDialParametersAreCutAndThePasswordStaysOffEveryCommandLine)
{
    std::string number;
    while (number.size() < 200)
        number += "0123456789";
    const std::string userName = "u" + std::string(299, 'n');
    const std::string password = "Pw-9Kq" + std::string(294, 'p');
    DialThroughComponent(number, userName, password);
    ASSERT_TRUE(PumpUntilDialEnds());
    ASSERT_TRUE(LastCodeIs(RASCS_Connected));

    EXPECT_EQ(FakePppdFile("dialled"), number.substr(0, 128));
    const auto arguments = CommandLine(FakePppdPid());
    EXPECT_EQ(ArgumentAfter(arguments, "user"), userName.substr(0, 256));
    EXPECT_EQ(ReadWholeFile(ArgumentAfter(arguments, "file")), "password \"" + password.substr(0, 256) + "\"\n");
    EXPECT_FALSE(AnyCommandLineHolds("Pw-9Kq"));
}

TEST_F(RasConnectionTest, FindActiveConnectionAdoptsItsEntryWhereverItIsListed)
{
    WritePhonebook(Entry("USB MODEM", "COM7") + Entry("OTHER", m_devicePath));
    EXPECT_FALSE(Component().FindActiveConnection());

    HRASCONN other = nullptr;
    ASSERT_EQ(DialTest::Dial("OTHER", "#777", "", "", &other), 0u);
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
    ASSERT_NO_FATAL_FAILURE(ConnectModem());

    // Listed first: "OTHER" was dialled first.
    TRASConnection otherAdopter(m_window);
    otherAdopter.SetEntryName("OTHER");
    ASSERT_TRUE(otherAdopter.FindActiveConnection());
    // Listed second.
    TRASConnection modemAdopter(m_window);
    modemAdopter.SetEntryName("USB MODEM");
    ASSERT_TRUE(modemAdopter.FindActiveConnection());

    // Each adopted its own connection: hanging up one leaves the other.
    modemAdopter.Disconnect();
    TRASConnection finder(m_window);
    finder.SetEntryName("USB MODEM");
    EXPECT_FALSE(finder.FindActiveConnection());
    EXPECT_TRUE(otherAdopter.UpdateStatistics());
}

} // namespace
