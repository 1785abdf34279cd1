#include "installer/core/DriverWatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// The window's side of the watch, with its two timers on a clock the test moves.
class FakeWindow : public IDriverWatchView {
public:
    static constexpr std::uint64_t TickInterval = 100;
    static constexpr std::uint64_t DeadlineInterval = 60000;

    void ShowNotice(const std::string& text, bool scroll) override
    {
        notice = text;
        scrolling = scroll;
    }
    [[nodiscard]] int Percent() const override { return percent; }
    void SetPercent(int value) override { percent = value; }
    void EnableFinish() override { finishEnabled = true; }
    void ShowSystemNotice() override { systemNotice = true; }
    void OpenDriverGuide() override { ++guideOpened; }
    void SetTickEnabled(bool enabled) override { tickDue = enabled ? std::optional(now + TickInterval) : std::nullopt; }
    void SetDeadlineEnabled(bool enabled) override
    {
        deadlineDue = enabled ? std::optional(now + DeadlineInterval) : std::nullopt;
    }

    // Moves the clock to `target` ms after Next, firing every timer that falls due on the way.
    void RunUntil(TDriverWatch& watch, std::uint64_t target)
    {
        for (;;) {
            const std::uint64_t next = std::min(tickDue.value_or(UINT64_MAX), deadlineDue.value_or(UINT64_MAX));
            if (next > target)
                break;
            now = next;
            if (deadlineDue == now) {
                ++deadlineFired;
                watch.Deadline();
            } else {
                watch.Tick();
            }
        }
        now = target;
    }

    std::string notice;
    bool scrolling = false;
    int percent = 0;
    bool finishEnabled = false;
    bool systemNotice = false;
    int guideOpened = 0;
    int deadlineFired = 0;
    std::uint64_t now = 0;
    std::optional<std::uint64_t> tickDue;
    std::optional<std::uint64_t> deadlineDue;
};

class FakeDevices : public IDeviceProbe {
public:
    bool FindModemPorts(std::vector<std::string>& ports) override
    {
        if (portPresent)
            ports.push_back("COM5");
        return portPresent;
    }
    [[nodiscard]] int CountUninstalledInterfaces() override { return uninstalled; }
    [[nodiscard]] bool FindHardwareWizard(const std::string& language) override
    {
        searchedLanguage = language;
        return wizardShown;
    }
    void HideHardwareWizard() override { wizardHidden = true; }

    // The modem plugged in without its drivers.
    void PlugInWithoutDrivers()
    {
        uninstalled = 2;
        wizardShown = true;
    }
    void DriversInstalled()
    {
        portPresent = true;
        uninstalled = 0;
    }

    bool portPresent = false;
    int uninstalled = 0;
    bool wizardShown = false;
    bool wizardHidden = false;
    std::string searchedLanguage;
};

class FakeTool : public IDriverTool {
public:
    void Configure(const std::string& installDir) override { configuredFor = installDir; }
    void Start(const std::string& installDir) override
    {
        startedFor = installDir;
        ++starts;
        state = startFails ? TToolState::FailedToStart : TToolState::Running;
    }
    [[nodiscard]] TToolState State() const override { return state; }

    bool startFails = false;
    TToolState state = TToolState::NotStarted;
    std::string configuredFor;
    std::string startedFor;
    int starts = 0;
};

class DriverWatchTest : public testing::Test {
protected:
    void StartWatch(int osVersionCode = 0, const std::string& language = "0409")
    {
        m_watch.emplace(window, devices, tool, TDriverWatchSettings{"/opt/Norra", osVersionCode, language});
        m_watch->Start();
    }
    void RunUntil(std::uint64_t ms) { window.RunUntil(*m_watch, ms); }
    // The watch has ended: no timer left and nothing changes any more.
    void ExpectEnded()
    {
        EXPECT_FALSE(window.tickDue);
        EXPECT_FALSE(window.deadlineDue);
    }

    FakeWindow window;
    FakeDevices devices;
    FakeTool tool;
    std::optional<TDriverWatch> m_watch;
};

TEST_F(DriverWatchTest, NextAsksForTheModemWithFullProgressAndBothTimersOn)
{
    StartWatch();
    EXPECT_EQ(window.notice, "Please insert USB Modem");
    EXPECT_FALSE(window.scrolling);
    EXPECT_EQ(window.percent, 100);
    EXPECT_TRUE(window.tickDue);
    EXPECT_TRUE(window.deadlineDue);
    EXPECT_FALSE(window.finishEnabled);
}

TEST_F(DriverWatchTest, AModemAlreadyInstalledCompletesAtTheFirstTickAndTheDeadlineNeverFires)
{
    devices.DriversInstalled();
    StartWatch();
    RunUntil(100);
    EXPECT_EQ(window.notice, "Installation complete");
    EXPECT_TRUE(window.scrolling);
    EXPECT_EQ(window.percent, 100);
    EXPECT_TRUE(window.finishEnabled);
    ExpectEnded();
    RunUntil(180000);
    EXPECT_EQ(window.notice, "Installation complete");
    EXPECT_EQ(window.guideOpened, 0);
    EXPECT_EQ(window.deadlineFired, 0);
}

TEST_F(DriverWatchTest, NoModemForAMinuteTakesTheManualRouteOnce)
{
    StartWatch();
    RunUntil(59999);
    EXPECT_EQ(window.notice, "Please insert USB Modem");
    EXPECT_EQ(window.percent, 100);
    RunUntil(60000);
    EXPECT_EQ(window.notice, "Please install drivers manually.");
    EXPECT_FALSE(window.scrolling);
    EXPECT_TRUE(window.finishEnabled);
    EXPECT_EQ(window.guideOpened, 1);
    EXPECT_TRUE(m_watch->DriverInstallStarted());
    ExpectEnded();
    RunUntil(300000);
    EXPECT_EQ(window.deadlineFired, 1);
    EXPECT_EQ(window.guideOpened, 1);
}

TEST_F(DriverWatchTest, SystemsWantingManualDriversTakeThatRouteAtOnceInAnyLanguage)
{
    for (const char* language : {"0409", "0804", "0407"}) {
        SCOPED_TRACE(language);
        window = FakeWindow();
        devices.PlugInWithoutDrivers();
        StartWatch(6, language);
        RunUntil(100);
        EXPECT_TRUE(window.systemNotice);
        EXPECT_EQ(window.notice, "Please install drivers manually");
        EXPECT_TRUE(window.scrolling);
        EXPECT_EQ(window.percent, 100);
        EXPECT_TRUE(window.finishEnabled);
        EXPECT_EQ(window.guideOpened, 1);
        EXPECT_FALSE(m_watch->DriverInstallStarted());
        ExpectEnded();
        RunUntil(200000);
        EXPECT_EQ(window.guideOpened, 1);
        EXPECT_EQ(tool.starts, 0);
    }
}

TEST_F(DriverWatchTest, OtherLanguagesGoManualAndStillEndWhenTheDriversComeAfterTheDeadline)
{
    StartWatch(0, "0407");
    RunUntil(1000);
    devices.PlugInWithoutDrivers();
    RunUntil(1100);
    EXPECT_EQ(window.notice, "Please install drivers manually");
    EXPECT_FALSE(window.scrolling);
    EXPECT_TRUE(window.finishEnabled);
    EXPECT_EQ(window.guideOpened, 1);
    EXPECT_TRUE(window.tickDue);
    EXPECT_FALSE(window.deadlineDue);
    RunUntil(1300);
    EXPECT_EQ(window.percent, 2); // from full, the progress starts over
    RunUntil(90000);
    EXPECT_EQ(window.deadlineFired, 0);
    devices.DriversInstalled();
    RunUntil(90100);
    EXPECT_EQ(window.notice, "Installation complete");
    EXPECT_EQ(window.guideOpened, 1);
    ExpectEnded();
}

TEST_F(DriverWatchTest, TheWizardIsHiddenAndTheToolRunsUntilThePortAndDriversAreThere)
{
    for (const char* language : {"0409", "0804"}) {
        SCOPED_TRACE(language);
        window = FakeWindow();
        devices = FakeDevices();
        tool = FakeTool();
        StartWatch(0, language);
        devices.PlugInWithoutDrivers();
        RunUntil(100);
        EXPECT_EQ(devices.searchedLanguage, language);
        EXPECT_TRUE(devices.wizardHidden);
        EXPECT_EQ(window.notice, "Installing Drivers...");
        EXPECT_FALSE(window.scrolling);
        EXPECT_EQ(window.percent, 0);
        EXPECT_FALSE(window.deadlineDue);
        EXPECT_EQ(tool.configuredFor, "/opt/Norra");
        EXPECT_EQ(tool.startedFor, "/opt/Norra");
        EXPECT_FALSE(window.finishEnabled);
        RunUntil(10000);
        EXPECT_EQ(window.percent, 99);
        RunUntil(10100);
        EXPECT_EQ(window.percent, 100);
        RunUntil(10200);
        EXPECT_EQ(window.percent, 1);
        devices.portPresent = true; // the port comes before the last interface's driver
        RunUntil(10300);
        EXPECT_EQ(window.notice, "Installing Drivers...");
        devices.DriversInstalled();
        RunUntil(10400);
        EXPECT_EQ(window.notice, "Installation complete");
        EXPECT_TRUE(window.finishEnabled);
        EXPECT_EQ(tool.starts, 1);
        EXPECT_EQ(window.guideOpened, 0);
        ExpectEnded();
    }
}

TEST_F(DriverWatchTest, AWizardThatIsNeverFoundLeavesTheDeadlineToEndTheWatch)
{
    StartWatch();
    devices.PlugInWithoutDrivers();
    devices.wizardShown = false;
    RunUntil(59900);
    EXPECT_EQ(window.notice, "Please insert USB Modem");
    EXPECT_EQ(tool.starts, 0);
    RunUntil(60000);
    EXPECT_EQ(window.notice, "Please install drivers manually.");
    EXPECT_EQ(window.guideOpened, 1);
}

TEST_F(DriverWatchTest, AToolThatFailsToStartOrEndsWithoutDriversLeadsToTheManualRoute)
{
    for (const bool startFails : {true, false}) {
        SCOPED_TRACE(startFails ? "fails to start" : "ends without drivers");
        window = FakeWindow();
        devices = FakeDevices();
        tool = FakeTool();
        tool.startFails = startFails;
        StartWatch();
        devices.PlugInWithoutDrivers();
        RunUntil(100);
        if (!startFails)
            tool.state = TToolState::Exited;
        RunUntil(100 + (TDriverWatch::ToolGraceTicks - 1) * 100);
        EXPECT_EQ(window.notice, "Installing Drivers...");
        EXPECT_FALSE(window.finishEnabled);
        RunUntil(100 + TDriverWatch::ToolGraceTicks * 100);
        EXPECT_EQ(window.notice, "Please install drivers manually");
        EXPECT_TRUE(window.finishEnabled);
        EXPECT_EQ(window.guideOpened, 1);
        EXPECT_TRUE(window.tickDue);
        RunUntil(200000);
        EXPECT_EQ(window.guideOpened, 1);
        EXPECT_EQ(tool.starts, 1);
        devices.DriversInstalled();
        RunUntil(200100);
        EXPECT_EQ(window.notice, "Installation complete");
        ExpectEnded();
    }
}

TEST_F(DriverWatchTest, AModemUnpluggedAgainBeforeItsDriversJustKeepsWaiting)
{
    StartWatch(0, "0407");
    devices.PlugInWithoutDrivers();
    RunUntil(100);
    devices.uninstalled = 0; // pulled out
    const int percent = window.percent;
    RunUntil(5000);
    EXPECT_EQ(window.percent, percent);
    EXPECT_TRUE(window.tickDue);
}

} // namespace
