#include "installer/core/DriverWatch.h"

#include <utility>

namespace {

constexpr int SystemNeedingManualDrivers = 6;

bool HasWizardTitle(const std::string& language)
{
    return language == "0409" || language == "0804";
}

} // namespace

TDriverWatch::TDriverWatch(IDriverWatchView& view, IDeviceProbe& probe, IDriverTool& tool,
                           TDriverWatchSettings settings)
    : m_view(view), m_probe(probe), m_tool(tool), m_settings(std::move(settings))
{
}

void TDriverWatch::Start()
{
    m_view.ShowNotice(InsertModemNotice, false);
    m_view.SetTickEnabled(true);
    m_view.SetDeadlineEnabled(true);
    m_view.SetPercent(100);
}

void TDriverWatch::Tick()
{
    m_view.SetTickEnabled(false);
    std::vector<std::string> ports;
    const bool portPresent = m_probe.FindModemPorts(ports);
    m_uninstalledInterfaceCount = m_probe.CountUninstalledInterfaces();
    if (portPresent) {
        if (m_uninstalledInterfaceCount == 0)
            Complete();
        else
            StepProgress();
        return;
    }
    m_view.SetTickEnabled(true);
    if (m_uninstalledInterfaceCount > 0)
        ChooseRoute();
}

void TDriverWatch::Deadline()
{
    m_view.SetDeadlineEnabled(false);
    if (m_route != TRoute::None)
        return;
    m_view.SetTickEnabled(false);
    m_view.ShowNotice(DeadlineNotice, false);
    m_driverInstallStarted = true;
    m_view.EnableFinish();
    m_view.OpenDriverGuide();
    m_route = TRoute::Manual;
}

void TDriverWatch::Complete()
{
    m_view.ShowNotice(CompleteNotice, true);
    m_view.SetPercent(100);
    m_view.EnableFinish();
    EndRoute(TRoute::Done);
}

void TDriverWatch::ChooseRoute()
{
    if (m_driverInstallStarted) {
        StepProgress();
        return;
    }
    if (m_settings.osVersionCode == SystemNeedingManualDrivers) {
        TakeSystemRoute();
        return;
    }
    if (!HasWizardTitle(m_settings.installLanguage)) {
        TakeOtherLanguageRoute();
        return;
    }
    if (m_probe.FindHardwareWizard(m_settings.installLanguage))
        TakeToolRoute();
}

void TDriverWatch::TakeSystemRoute()
{
    m_view.ShowSystemNotice();
    m_view.ShowNotice(ManualNotice, true);
    m_view.SetPercent(100);
    m_view.EnableFinish();
    m_view.SetTickEnabled(false);
    m_view.OpenDriverGuide();
    EndRoute(TRoute::Manual);
}

void TDriverWatch::TakeOtherLanguageRoute()
{
    m_view.ShowNotice(ManualNotice, false);
    m_driverInstallStarted = true;
    m_view.EnableFinish();
    m_view.OpenDriverGuide();
    EndRoute(TRoute::Manual);
}

void TDriverWatch::TakeToolRoute()
{
    m_probe.HideHardwareWizard();
    m_view.SetDeadlineEnabled(false);
    m_view.ShowNotice(InstallingNotice, false);
    m_driverInstallStarted = true;
    m_tool.Configure(m_settings.installDir);
    m_tool.Start(m_settings.installDir);
    m_view.SetPercent(0);
    m_route = TRoute::Tool;
}

void TDriverWatch::StepProgress()
{
    if (m_route == TRoute::Tool)
        WatchTool();
    if (m_view.Percent() >= 100)
        m_view.SetPercent(0);
    m_view.SetPercent(m_view.Percent() + 1);
    m_view.SetTickEnabled(true);
}

void TDriverWatch::WatchTool()
{
    const TToolState state = m_tool.State();
    if (state != TToolState::FailedToStart && state != TToolState::Exited)
        return;
    if (++m_ticksSinceToolEnded < ToolGraceTicks)
        return;
    m_view.ShowNotice(ManualNotice, false);
    m_view.EnableFinish();
    m_view.OpenDriverGuide();
    m_route = TRoute::Manual;
}

void TDriverWatch::EndRoute(TRoute route)
{
    m_route = route;
    m_view.SetDeadlineEnabled(false);
}
