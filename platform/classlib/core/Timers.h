#pragma once

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/core/Components.h"

#include <memory>

// A component that fires OnTimer every Interval milliseconds while Enabled, on a hidden window of
// the thread that made it. A late tick is one tick, never a backlog. Turning it off and on again
// inside OnTimer starts a fresh period. A tick that arrives while OnTimer is still running (a
// handler pumping messages) is skipped. An exception escaping OnTimer goes to
// ApplicationHandleException (the application's HandleException) and the timer keeps going.
class TTimer : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    [[nodiscard]] bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    [[nodiscard]] unsigned Interval() const { return m_interval; }
    void SetInterval(unsigned interval);
    [[nodiscard]] const TNotifyEvent& OnTimer() const { return m_onTimer; }
    void SetOnTimer(const TNotifyEvent& handler);

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& message);

    HWND m_window = nullptr;
    bool m_enabled = true;
    unsigned m_interval = 1000;
    bool m_running = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    TNotifyEvent m_onTimer;
};
