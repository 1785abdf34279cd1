#include "modem/store/PortWatch.h"

#include "platform/classlib/core/ApplicationHandleException.h"
#include "platform/classlib/core/Timers.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/devices/FakeDevices.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

// The engine as the port watch sees it, recording what it is asked to do.
class FakeEngine : public IPortWatchEngine {
public:
    TModemState ModemState() const override { return state; }
    void SetModemState(TModemState value) override { state = value; }
    void StartComm(const std::string& port) override
    {
        calls.push_back("StartComm " + port);
        if (openFails)
            throw Exception("Error opening serial port");
        opened = true;
    }
    void StopComm() override
    {
        calls.push_back("StopComm");
        opened = false;
    }
    bool CommOpened() const override { return opened; }
    void CreateWorker() override { calls.push_back("CreateWorker"); }
    void ResumeWorker() override { calls.push_back("ResumeWorker"); }
    void StopEngine() override { calls.push_back("StopEngine"); }
    void InitialModem() override { calls.push_back("InitialModem"); }
    void StartMainTimer() override { calls.push_back("StartMainTimer"); }
    void ResetSignalPoll() override { calls.push_back("ResetSignalPoll"); }
    void SetSignalPollAllowed(bool allowed) override { signalPollAllowed = allowed; }
    void Delay(unsigned milliseconds) override
    {
        calls.push_back("Delay " + std::to_string(milliseconds));
        if (duringDelay)
            std::exchange(duringDelay, nullptr)();
    }
    void ProcessMessages() override { calls.push_back("ProcessMessages"); }

    TModemState state = TModemState::NoPort;
    bool opened = false;
    bool openFails = false;
    bool signalPollAllowed = false;
    std::function<void()> duringDelay;
    Calls calls;
};

class FakeView : public IPortWatchView {
public:
    void ShowPortStatus(const std::string& text) override { portStatus.push_back(text); }
    void ShowNetworkStatus(const std::string& text) override { networkStatus.push_back(text); }
    void ShowSignalBars(int image) override { signalBars.push_back(image); }
    void EnableWorkingControls(bool enabled) override { controlsEnabled = enabled; }
    void ShowCallServicesTab() override { servicesTabShown = true; }

    Calls portStatus;
    Calls networkStatus;
    std::vector<int> signalBars;
    bool controlsEnabled = true;
    bool servicesTabShown = false;
};

const Calls StartUp = {"StartComm COM3", "ResetSignalPoll", "CreateWorker", "Delay 3000",
                       "InitialModem",   "ResumeWorker",    "StartMainTimer"};
const Calls Drop = {"StopEngine", "StopComm", "ProcessMessages"};

class PortWatchTest : public ::testing::Test {
protected:
    PortWatchTest()
    {
        m_environment.Set("XDG_DATA_HOME", (m_devices.Dir().Path() / "data").string());
        m_environment.Set("MODEM_SYSTEM_ROOT", (m_devices.Dir().Path() / "system").string());
    }

    [[nodiscard]] std::string Phonebook() const
    {
        std::ifstream file(m_devices.Dir().Path() / "data/Microsoft/Network/Connections/Pbk/rasphone.pbk");
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    [[nodiscard]] Calls TakeCalls() { return std::exchange(m_engine.calls, {}); }

    FakeDevices m_devices;
    ScopedEnvironment m_environment;
    FakeEngine m_engine;
    FakeView m_view;
    TPortWatch m_watch{m_engine, m_view};
};

TEST_F(PortWatchTest, APluggedModemIsOpenedInitialisedAndGivenItsPhonebookEntry)
{
    m_devices.AddModem();
    m_watch.TAutoTimer();
    EXPECT_EQ(TakeCalls(), StartUp);
    EXPECT_EQ(m_engine.state, TModemState::Initialised);
    EXPECT_EQ(m_view.portStatus, Calls{"Initializing USB Modem..."}) << "ready only once the modem answers";
    EXPECT_TRUE(m_engine.signalPollAllowed);
    EXPECT_TRUE(m_view.controlsEnabled);
    EXPECT_TRUE(m_view.servicesTabShown);
    const std::string phonebook = Phonebook();
    EXPECT_NE(phonebook.find("\r\nPort=COM3\r\nDevice=Qualcomm CDMA Technologies MSM (COM3)\r\n"), std::string::npos);

    // Present and up: nothing to do.
    m_watch.TAutoTimer();
    EXPECT_EQ(TakeCalls(), Calls{});
}

TEST_F(PortWatchTest, NoModemKeepsTheControlsOffAndTouchesNothing)
{
    m_watch.TAutoTimer();
    EXPECT_EQ(TakeCalls(), Calls{});
    EXPECT_FALSE(m_view.controlsEnabled);
    EXPECT_TRUE(m_view.portStatus.empty());
}

TEST_F(PortWatchTest, AFailedOpenIsSilentAndTriedAgainAtTheNextTick)
{
    m_devices.AddModem();
    m_engine.openFails = true;
    m_watch.TAutoTimer();
    EXPECT_EQ(TakeCalls(), Calls{"StartComm COM3"});
    EXPECT_EQ(m_engine.state, TModemState::NoPort);
    EXPECT_EQ(m_view.portStatus, Calls{"Initializing USB Modem..."});
    EXPECT_FALSE(m_view.controlsEnabled);

    m_engine.openFails = false;
    m_watch.TAutoTimer();
    EXPECT_EQ(TakeCalls(), StartUp);
    EXPECT_EQ(m_engine.state, TModemState::Initialised);
}

TEST_F(PortWatchTest, APortTheDataConnectionReleasedIsTakenBackWithoutTheInitialisingText)
{
    m_devices.AddModem();
    m_engine.state = TModemState::Released;
    m_watch.TAutoTimer();
    EXPECT_EQ(TakeCalls(), StartUp);
    EXPECT_TRUE(m_view.portStatus.empty());
}

TEST_F(PortWatchTest, AModemClosedByACommandTimeOutIsReopened)
{
    m_devices.AddModem();
    m_watch.TAutoTimer();
    (void)TakeCalls();
    m_engine.opened = false;  // the time-out closed the port
    m_watch.TAutoTimer();
    Calls expected = {"StopEngine"};
    expected.insert(expected.end(), StartUp.begin(), StartUp.end());
    EXPECT_EQ(TakeCalls(), expected);
    EXPECT_EQ(m_engine.state, TModemState::Initialised);
    // Given up on with the port left open: closed first, then opened afresh.
    (void)TakeCalls();
    m_engine.state = TModemState::NoPort;
    m_watch.TAutoTimer();
    expected = {"StopComm"};
    expected.insert(expected.end(), StartUp.begin(), StartUp.end());
    EXPECT_EQ(TakeCalls(), expected);
    // The entry was there already: written once.
    const std::string phonebook = Phonebook();
    EXPECT_EQ(phonebook.find("[USB MODEM]"), phonebook.rfind("[USB MODEM]"));
}

TEST_F(PortWatchTest, AnUnplugDuringTheSettlingDelayLeavesTheModemDown)
{
    m_devices.AddModem();
    m_engine.duringDelay = [&] {
        // A nested tick with the port still there leaves the opening alone...
        m_watch.TAutoTimer();
        m_devices.RemoveDevice("1-2");
        // ...one after the unplug drops it.
        m_watch.TAutoTimer();
    };
    m_watch.TAutoTimer();
    const Calls expected = {"StartComm COM3", "ResetSignalPoll", "CreateWorker", "Delay 3000",
                            "StopEngine",     "StopComm",        "ProcessMessages"};
    EXPECT_EQ(TakeCalls(), expected);
    EXPECT_EQ(m_engine.state, TModemState::NoPort);
    EXPECT_EQ(m_view.portStatus, (Calls{"Initializing USB Modem...", "Connection dropped."}));
    EXPECT_FALSE(m_view.controlsEnabled);
    EXPECT_FALSE(m_engine.signalPollAllowed);
}

TEST_F(PortWatchTest, AMissingPhonebookFolderIsReportedAndTheModemStillComesUp)
{
    m_devices.Dir().WriteFile("blocked", "a file where a folder should be");
    m_environment.Set("XDG_DATA_HOME", (m_devices.Dir().Path() / "blocked").string());
    std::vector<std::string> reported;
    SetApplicationHandleException([&](TObject*) {
        try {
            throw;
        } catch (const Exception& error) {
            reported.push_back(error.Message());
        }
    });
    m_devices.AddModem();
    m_watch.TAutoTimer();
    SetApplicationHandleException(nullptr);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].rfind("Cannot create ", 0), 0u);
    EXPECT_EQ(TakeCalls(), StartUp);
}

// The watch on its 3-second timer, as the main window runs it.
class PortWatchTimerTest : public PortWatchTest {
protected:
    PortWatchTimerTest()
    {
        (void)SelectHeadlessDisplay();
        m_timer = std::make_unique<TTimer>(nullptr);
        m_timer->SetInterval(3000);
        m_timer->SetOnTimer(TNotifyEvent::FromFunction([this](TObject*) { m_watch.TAutoTimer(); }));
    }

    void Wait(unsigned milliseconds)
    {
        m_clock.Advance(milliseconds);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            (void)DispatchMessageA(&msg);
    }

    FakeClock m_clock;
    std::unique_ptr<TTimer> m_timer;
};

TEST_F(PortWatchTimerTest, PlugUnplugAndReplugAreEachSeenWithinThreeSeconds)
{
    m_devices.AddModem("1-2");
    Wait(2999);
    EXPECT_EQ(m_engine.state, TModemState::NoPort);
    Wait(1);
    EXPECT_EQ(m_engine.state, TModemState::Initialised);
    EXPECT_EQ(TakeCalls(), StartUp);

    m_devices.RemoveDevice("1-2");
    Wait(3000);
    EXPECT_EQ(TakeCalls(), Drop);
    EXPECT_EQ(m_engine.state, TModemState::NoPort);
    EXPECT_EQ(m_view.portStatus.back(), "Connection dropped.");
    EXPECT_EQ(m_view.networkStatus, Calls{""});
    EXPECT_EQ(m_view.signalBars, std::vector<int>{0});
    EXPECT_FALSE(m_view.controlsEnabled);

    // Gone and still gone: dropped once.
    Wait(3000);
    EXPECT_EQ(TakeCalls(), Calls{});

    m_devices.AddModem("1-3");
    Wait(3000);
    EXPECT_EQ(TakeCalls(), StartUp);
    EXPECT_EQ(m_view.portStatus.back(), "Initializing USB Modem...");
    const std::string phonebook = Phonebook();
    EXPECT_EQ(phonebook.find("[USB MODEM]"), phonebook.rfind("[USB MODEM]"));
}

} // namespace
