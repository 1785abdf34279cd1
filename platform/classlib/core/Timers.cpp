#include "platform/classlib/core/Timers.h"

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/core/ApplicationHandleException.h"

namespace {

void DescribeTimer(TClassBuilder& c)
{
    c.Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
    c.Integer("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
    c.Event("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
}

constexpr UINT_PTR TimerId = 1;

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TTimer, TComponent, ComponentCreator<TTimer>, DescribeTimer)

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), m_window(AllocateHWnd([this](TMessage& message) { WndProc(message); }))
{
}

TTimer::~TTimer()
{
    *m_alive = false;
    if (m_window) {
        (void)KillTimer(m_window, TimerId);
        DeallocateHWnd(m_window);
    }
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval)
{
    if (interval == m_interval)
        return;
    m_interval = interval;
    UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& handler)
{
    m_onTimer = handler;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (!m_window)
        return;
    (void)KillTimer(m_window, TimerId);
    if (m_interval != 0 && m_enabled && m_onTimer.Assigned())
        (void)SetTimer(m_window, TimerId, m_interval, nullptr);
}

void TTimer::Timer() { m_onTimer(this); }

void TTimer::WndProc(TMessage& message)
{
    if (message.Msg != WM_TIMER) {
        message.Result = DefWindowProcA(m_window, message.Msg, message.WParam, message.LParam);
        return;
    }
    if (m_running)
        return;
    // The handler may free the timer; the flag outlives it.
    const std::shared_ptr<bool> alive = m_alive;
    m_running = true;
    try {
        Timer();
    } catch (...) {
        ApplicationHandleException(this);
    }
    if (*alive)
        m_running = false;
}
