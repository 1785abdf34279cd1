#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/ras/tests/DialFixture.h"
#include "tests/support/CommandLines.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::vector<DialEvent> ConnectedSequence = {
    {RASCS_OpenPort, 0, {}},     {RASCS_PortOpened, 0, {}}, {RASCS_Authenticate, 0, {}},
    {RASCS_Authenticated, 0, {}}, {RASCS_Connected, 0, {}},
};

RASCONNSTATUSA Status(HRASCONN handle, DWORD* result)
{
    RASCONNSTATUSA status{};
    status.dwSize = sizeof status;
    *result = RasGetConnectStatusA(handle, &status);
    return status;
}

RAS_STATS Statistics(HRASCONN handle, DWORD* result)
{
    RAS_STATS statistics{};
    statistics.dwSize = sizeof statistics;
    *result = RasGetConnectionStatistics(handle, &statistics);
    return statistics;
}

std::vector<RASCONNA> RunningConnections()
{
    std::vector<RASCONNA> records(1);
    records[0].dwSize = sizeof(RASCONNA);
    DWORD bytes = sizeof(RASCONNA);
    DWORD count = 0;
    DWORD result = RasEnumConnectionsA(records.data(), &bytes, &count);
    if (result == ERROR_BUFFER_TOO_SMALL) {
        EXPECT_EQ(bytes, count * sizeof(RASCONNA));
        records.resize(count);
        records[0].dwSize = sizeof(RASCONNA);
        result = RasEnumConnectionsA(records.data(), &bytes, &count);
    }
    EXPECT_EQ(result, 0u);
    records.resize(count);
    return records;
}

TEST_F(DialTest, ASuccessfulDialReportsTheStatesInOrderFromTheServiceThread)
{
    const auto handle = DialModem();
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
    const auto events = DialRecorder::Instance().Events();
    EXPECT_EQ(events, ConnectedSequence);
    for (const auto& event : events)
        EXPECT_NE(event.thread, std::this_thread::get_id());
    EXPECT_EQ(FakePppdFile("dialled"), "#777");

    DWORD result = 0;
    const auto status = Status(handle, &result);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Connected);
    EXPECT_EQ(status.dwError, 0u);
    EXPECT_STREQ(status.szDeviceType, "modem");
    EXPECT_STREQ(status.szDeviceName, "Test Modem");

    const auto running = RunningConnections();
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running[0].hrasconn, handle);
    EXPECT_STREQ(running[0].szEntryName, "USB MODEM");
}

TEST_F(DialTest, PppdGetsThePortAndLineSettingsAndThePasswordOnlyInAPrivateFile)
{
    const std::string password = "pa\"ss\\w rd-7Q2xZ";
    DialModem(password);
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
    const pid_t pid = FakePppdPid();
    // The kernel runs the fake through /bin/sh, so its command line starts with the shell.
    const auto arguments = CommandLine(pid);
    EXPECT_EQ(ArgumentAfter(arguments, (m_dir / "bin/fake-pppd").string()), m_devicePath);
    for (const std::string expected : {"115200", "crtscts", "nodetach"})
        EXPECT_NE(std::find(arguments.begin(), arguments.end(), expected), arguments.end()) << expected;
    EXPECT_EQ(ArgumentAfter(arguments, "user"), "plum");
    EXPECT_EQ(ArgumentAfter(arguments, "logfd"), "2");
    EXPECT_FALSE(AnyCommandLineHolds("7Q2xZ"));

    const auto optionsFile = ArgumentAfter(arguments, "file");
    struct stat info {};
    ASSERT_EQ(stat(optionsFile.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_uid, geteuid());
    ASSERT_EQ(stat(fs::path(optionsFile).parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    std::ifstream in(optionsFile);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "password \"pa\\\"ss\\\\w rd-7Q2xZ\"\n");

    ASSERT_EQ(RasHangUpA(m_handles.back()), 0u);
    EXPECT_FALSE(fs::exists(optionsFile));
    EXPECT_TRUE(fs::is_empty(m_dir / "tmp"));
}

TEST_F(DialTest, StatisticsFollowTheInterfaceCountersAndTheClock)
{
    FakeClock clock;
    WriteCounters("ppp0", 1000, 5000);
    const auto handle = DialModem();
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));

    DWORD result = 1;
    auto statistics = Statistics(handle, &result);
    ASSERT_EQ(result, 0u);
    EXPECT_EQ(statistics.dwBytesXmited, 1000u);
    EXPECT_EQ(statistics.dwBytesRcved, 5000u);
    EXPECT_EQ(statistics.dwConnectDuration, 0u);

    clock.Advance(3'725'000);
    WriteCounters("ppp0", 2500, (std::uint64_t{1} << 32) + 9000);
    statistics = Statistics(handle, &result);
    ASSERT_EQ(result, 0u);
    EXPECT_EQ(statistics.dwBytesXmited, 2500u);
    EXPECT_EQ(statistics.dwBytesRcved, 9000u); // the 32-bit field wraps
    EXPECT_EQ(statistics.dwConnectDuration, 3'725'000u);
    EXPECT_EQ(statistics.dwSize, sizeof(RAS_STATS));
}

TEST_F(DialTest, HangUpEndsAndReapsPppdAndStopsTheNotifications)
{
    const auto handle = DialModem();
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
    const pid_t pid = FakePppdPid();
    ASSERT_FALSE(ProcessIsGone(pid));

    EXPECT_EQ(RasHangUpA(handle), 0u);
    EXPECT_TRUE(ProcessIsGone(pid));
    EXPECT_EQ(DialRecorder::Instance().Events().size(), ConnectedSequence.size());

    DWORD result = 0;
    (void)Status(handle, &result);
    EXPECT_EQ(result, ERROR_INVALID_HANDLE);
    (void)Statistics(handle, &result);
    EXPECT_EQ(result, ERROR_INVALID_HANDLE);
    EXPECT_EQ(RasHangUpA(handle), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(RunningConnections().empty());
}

TEST_F(DialTest, APppdThatIgnoresSigtermIsKilledAfterTheGracePeriod)
{
    m_env.Set("FAKE_PPPD_SCENARIO", "stubborn");
    const auto handle = DialModem();
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
    const pid_t pid = FakePppdPid();
    EXPECT_EQ(RasHangUpA(handle), 0u);
    EXPECT_TRUE(ProcessIsGone(pid));
}

TEST_F(DialTest, ADroppedLineReportsDisconnectedAndStatusKeepsTheError)
{
    const auto handle = DialModem();
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
    const pid_t pid = FakePppdPid();
    m_dir.WriteFile("drop", "");
    ASSERT_TRUE(DialRecorder::Instance().WaitForEnd());
    auto expected = ConnectedSequence;
    expected.push_back({RASCS_Disconnected, 0, {}});
    EXPECT_EQ(DialRecorder::Instance().Events(), expected);
    EXPECT_TRUE(ProcessIsGone(pid));

    DWORD result = 1;
    const auto status = Status(handle, &result);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Disconnected);
    EXPECT_EQ(status.dwError, ERROR_PORT_DISCONNECTED);
    (void)Statistics(handle, &result);
    EXPECT_EQ(result, ERROR_NO_CONNECTION);
    EXPECT_TRUE(RunningConnections().empty());
    EXPECT_EQ(RasHangUpA(handle), 0u);
    EXPECT_EQ(RasHangUpA(handle), ERROR_INVALID_HANDLE);
}

// Each failing dial: how to set it up, the state it fails in and the error it reports.
struct FailureCase {
    const char* name;
    const char* variable;
    const char* value;
    RASCONNSTATE state;
    DWORD error;
};

class DialFailure : public DialTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DialFailure, IsReportedOnceWithItsCodeAndLeftInTheStatus)
{
    const auto& failure = GetParam();
    if (std::string(failure.variable) == "Port")
        WritePhonebook(Entry("USB MODEM", failure.value));
    else
        m_env.Set(failure.variable, failure.value);
    const auto handle = DialModem();
    ASSERT_TRUE(DialRecorder::Instance().WaitForEnd());
    const auto events = DialRecorder::Instance().Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), (DialEvent{failure.state, failure.error, {}}));
    // The states before the failure, in order, and nothing after it.
    std::vector<DialEvent> expected(ConnectedSequence.begin(), ConnectedSequence.begin() + (events.size() - 1));
    EXPECT_EQ(std::vector<DialEvent>(events.begin(), events.end() - 1), expected);
    EXPECT_FALSE(ErrorText(failure.error).empty());

    DWORD result = 1;
    const auto status = Status(handle, &result);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Disconnected);
    EXPECT_EQ(status.dwError, failure.error);
    EXPECT_TRUE(RunningConnections().empty());
    EXPECT_TRUE(fs::is_empty(m_dir / "tmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Dial, DialFailure,
    ::testing::Values(FailureCase{"AuthenticationFails", "FAKE_PPPD_SCENARIO", "auth-fail", RASCS_Authenticate,
                                  ERROR_AUTHENTICATION_FAILURE},
                      FailureCase{"LineBusy", "FAKE_CHAT_RESULT", "BUSY", RASCS_PortOpened, ERROR_LINE_BUSY},
                      FailureCase{"NoAnswer", "FAKE_CHAT_RESULT", "NO ANSWER", RASCS_PortOpened, ERROR_NO_ANSWER},
                      FailureCase{"NoKernelPpp", "FAKE_PPPD_SCENARIO", "no-kernel", RASCS_OpenPort,
                                  ERROR_DEVICE_DOES_NOT_EXIST},
                      FailureCase{"PppdMissing", "MODEM_PPPD", "/nonexistent/pppd", RASCS_OpenPort,
                                  ERROR_RASMAN_CANNOT_INITIALIZE},
                      FailureCase{"PortMissing", "Port", "COM9", RASCS_OpenPort, ERROR_PORT_NOT_FOUND}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialTest, TheTextsOfTheCommonFailuresSayWhatHappened)
{
    EXPECT_EQ(ErrorText(ERROR_AUTHENTICATION_FAILURE), "The user name or password was not accepted.");
    EXPECT_EQ(ErrorText(ERROR_NO_ANSWER), "The remote computer did not answer.");
    EXPECT_NE(ErrorText(ERROR_RASMAN_CANNOT_INITIALIZE).find("pppd"), std::string::npos);
    EXPECT_NE(ErrorText(ERROR_DEVICE_DOES_NOT_EXIST).find("kernel"), std::string::npos);

    char text[8] = "x";
    EXPECT_EQ(RasGetErrorStringA(ERROR_NO_ANSWER, text, sizeof text), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(RasGetErrorStringA(ERROR_NO_ANSWER, nullptr, 256), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RasGetErrorStringA(12345, text, sizeof text), ERROR_INVALID_PARAMETER);
}

TEST_F(DialTest, RefusedDialsNeverCallTheNotifier)
{
    HRASCONN handle = nullptr;
    EXPECT_EQ(Dial("usb modem x", "#777", "plum", "plum", &handle), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    EXPECT_EQ(Dial("'''", "#777", "plum", "plum", &handle), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    EXPECT_EQ(Dial("USB MODEM", "#777;ATZ", "plum", "plum", &handle), ERROR_BAD_STRING);
    EXPECT_EQ(Dial("USB MODEM", "#777'$(reboot)", "plum", "plum", &handle), ERROR_BAD_STRING);
    EXPECT_EQ(Dial("USB MODEM", "", "plum", "plum", &handle), ERROR_BAD_STRING);
    EXPECT_EQ(Dial("USB MODEM", "#777", "plum", "pl\num", &handle), ERROR_BAD_STRING);

    RASDIALPARAMSA params{};
    params.dwSize = sizeof params - 1;
    const auto notifier = reinterpret_cast<LPVOID>(&DialRecorder::Notifier);
    EXPECT_EQ(RasDialA(nullptr, nullptr, &params, 0, notifier, &handle), ERROR_INVALID_SIZE);
    params.dwSize = sizeof params;
    EXPECT_EQ(RasDialA(nullptr, nullptr, &params, 1, notifier, &handle), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RasDialA(nullptr, nullptr, nullptr, 0, notifier, &handle), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(DialRecorder::Instance().Events().empty());
}

TEST_F(DialTest, NumbersWrittenWithSeparatorsAreDialledAsDigits)
{
    const struct {
        const char* entryNumber;
        const char* callerNumber;
        const char* dialled;
    } cases[] = {
        {"#777", "1-800 555 0100", "18005550100"},
        {"#777", "+1 (800) 555.0100", "+18005550100"},
        {"#777", "(#777)", "#777"},
        {"*99 #", "", "*99#"},
        {"1-800-555-0100,,1", "", "18005550100,,1"},
    };
    for (const auto& c : cases) {
        WritePhonebook(std::string("[USB MODEM]\r\nPort=COM7\r\nPhoneNumber=") + c.entryNumber + "\r\n");
        HRASCONN handle = nullptr;
        ASSERT_EQ(Dial("USB MODEM", c.callerNumber, "plum", "plum", &handle), 0u) << c.callerNumber << c.entryNumber;
        ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
        EXPECT_EQ(FakePppdFile("dialled"), c.dialled);
        ASSERT_EQ(RasHangUpA(handle), 0u);
        DialRecorder::Instance().Clear();
    }
    // Separators alone are no number, and other punctuation is not dropped.
    HRASCONN handle = nullptr;
    EXPECT_EQ(Dial("USB MODEM", " - ", "plum", "plum", &handle), ERROR_BAD_STRING);
    EXPECT_EQ(Dial("USB MODEM", "555/0100", "plum", "plum", &handle), ERROR_BAD_STRING);
}

TEST_F(DialTest, TheEntrysNumberIsDialledWhenTheCallerGivesNone)
{
    WritePhonebook("[USB MODEM]\r\nPort=COM7\r\nPhoneNumber=*99#\r\n");
    HRASCONN handle = nullptr;
    ASSERT_EQ(Dial("usb modem", "", "", "", &handle), 0u);
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
    EXPECT_EQ(FakePppdFile("dialled"), "*99#");
    EXPECT_EQ(ArgumentAfter(CommandLine(FakePppdPid()), "user"), "");
}

TEST_F(DialTest, UnknownHandlesFailWithInvalidHandle)
{
    const auto madeUp = reinterpret_cast<HRASCONN>(0x7777);
    DWORD result = 0;
    EXPECT_EQ(RasHangUpA(madeUp), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RasHangUpA(nullptr), ERROR_INVALID_HANDLE);
    (void)Status(madeUp, &result);
    EXPECT_EQ(result, ERROR_INVALID_HANDLE);
    (void)Statistics(madeUp, &result);
    EXPECT_EQ(result, ERROR_INVALID_HANDLE);

    RASCONNSTATUSA status{};
    status.dwSize = 1;
    EXPECT_EQ(RasGetConnectStatusA(madeUp, &status), ERROR_INVALID_SIZE);
    RAS_STATS statistics{};
    EXPECT_EQ(RasGetConnectionStatistics(madeUp, &statistics), ERROR_INVALID_SIZE);
}

TEST_F(DialTest, TwoConnectionsAreEnumeratedWithTheGrowAndRetryProtocol)
{
    WritePhonebook(Entry("USB MODEM", "COM7") + Entry("OTHER", m_devicePath));
    const auto first = DialModem();
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));
    DialRecorder::Instance().Clear();
    HRASCONN second = nullptr;
    ASSERT_EQ(Dial("OTHER", "#777", "", "", &second), 0u);
    ASSERT_TRUE(DialRecorder::Instance().WaitForEvent(RASCS_Connected, 0));

    RASCONNA one{};
    one.dwSize = sizeof one;
    DWORD bytes = sizeof one;
    DWORD count = 0;
    EXPECT_EQ(RasEnumConnectionsA(&one, &bytes, &count), ERROR_BUFFER_TOO_SMALL);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(bytes, 2 * sizeof(RASCONNA));

    const auto running = RunningConnections();
    ASSERT_EQ(running.size(), 2u);
    EXPECT_EQ(running[0].hrasconn, first);
    EXPECT_STREQ(running[0].szEntryName, "USB MODEM");
    EXPECT_EQ(running[1].hrasconn, second);
    EXPECT_STREQ(running[1].szEntryName, "OTHER");
    EXPECT_EQ(running[1].dwSize, sizeof(RASCONNA));
}

} // namespace
