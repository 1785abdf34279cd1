#pragma once

#include <string>
#include <vector>

// The driver watch: after Next it waits for the modem to be plugged in and for its drivers, runs
// the driver tool when the system shows that the modem awaits one, or sends the user down the
// manual route, and finally enables Finish. It runs on two timers of the window, the tick (every
// 100 ms) and the deadline (60 s after Next), which the window forwards to Tick and Deadline.

// What the watch shows and switches; the window implements it with its controls and timers.
class IDriverWatchView {
public:
    virtual ~IDriverWatchView() = default;
    virtual void ShowNotice(const std::string& text, bool scroll) = 0;
    [[nodiscard]] virtual int Percent() const = 0;
    virtual void SetPercent(int percent) = 0;
    virtual void EnableFinish() = 0;
    // The notice that this system wants its drivers installed by hand.
    virtual void ShowSystemNotice() = 0;
    virtual void OpenDriverGuide() = 0;
    virtual void SetTickEnabled(bool enabled) = 0;
    virtual void SetDeadlineEnabled(bool enabled) = 0;
};

// What the watch reads of the devices.
class IDeviceProbe {
public:
    virtual ~IDeviceProbe() = default;
    virtual bool FindModemPorts(std::vector<std::string>& ports) = 0;
    [[nodiscard]] virtual int CountUninstalledInterfaces() = 0;
    // Whether the system's "new hardware" wizard for the modem shows, for the language's title.
    [[nodiscard]] virtual bool FindHardwareWizard(const std::string& language) = 0;
    virtual void HideHardwareWizard() = 0;
};

enum class TToolState { NotStarted, Running, FailedToStart, Exited };

// The driver tool: configured, then started on a thread of its own that waits for it.
class IDriverTool {
public:
    virtual ~IDriverTool() = default;
    virtual void Configure(const std::string& installDir) = 0;
    virtual void Start(const std::string& installDir) = 0;
    [[nodiscard]] virtual TToolState State() const = 0;
};

struct TDriverWatchSettings {
    std::string installDir;
    int osVersionCode = 0;
    std::string installLanguage;
};

// The texts the watch shows.
inline constexpr const char* InsertModemNotice = "Please insert USB Modem";
inline constexpr const char* InstallingNotice = "Installing Drivers...";
inline constexpr const char* CompleteNotice = "Installation complete";
inline constexpr const char* ManualNotice = "Please install drivers manually";
inline constexpr const char* DeadlineNotice = "Please install drivers manually.";

// The watch's decisions. The deadline fires at most once, and only while no route has been
// taken: every route and the end of the watch turn it off, so it never overwrites a finished
// installation or opens the guide a second time. When the driver tool cannot start, or ends
// while the modem still lacks its drivers, the watch gives the tool a short grace and then takes
// the manual route, keeping its tick so that drivers installed by hand still end in
// "Installation complete".
class TDriverWatch {
public:
    // Ticks the watch waits after the tool ended before it sends the user down the manual route.
    static constexpr int ToolGraceTicks = 30;

    TDriverWatch(IDriverWatchView& view, IDeviceProbe& probe, IDriverTool& tool, TDriverWatchSettings settings);

    // The end of Next: the first notice, full progress, both timers on.
    void Start();
    void Tick();
    void Deadline();

    [[nodiscard]] bool DriverInstallStarted() const { return m_driverInstallStarted; }

private:
    enum class TRoute { None, Tool, Manual, Done };

    void Complete();
    void ChooseRoute();
    void TakeSystemRoute();
    void TakeOtherLanguageRoute();
    void TakeToolRoute();
    void StepProgress();
    void WatchTool();
    void EndRoute(TRoute route);

    IDriverWatchView& m_view;
    IDeviceProbe& m_probe;
    IDriverTool& m_tool;
    TDriverWatchSettings m_settings;
    bool m_driverInstallStarted = false;
    int m_uninstalledInterfaceCount = 0;
    TRoute m_route = TRoute::None;
    int m_ticksSinceToolEnded = 0;
};
