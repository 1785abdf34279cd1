#pragma once

#include "platform/classlib/forms/Controls.h"

#include <functional>
#include <memory>

// A handler linked into a control's window procedure chain while this object lives. The chain is
// never unwound: whatever hooked the control afterwards (a skinner) puts back the procedure it
// found when it goes, so the link stays in place and, once its object is gone, only passes
// messages on.
class TWindowProcLink {
public:
    // `handle` answers true when it took the message; other messages go on down the chain.
    TWindowProcLink(TControl& control, std::function<bool(TMessage&)> handle)
    {
        control.SetWindowProc([alive = m_alive, handle = std::move(handle),
                               previous = control.WindowProc()](TMessage& message) {
            if (!*alive || !handle(message))
                previous(message);
        });
    }
    ~TWindowProcLink() { *m_alive = false; }
    TWindowProcLink(const TWindowProcLink&) = delete;
    TWindowProcLink& operator=(const TWindowProcLink&) = delete;

private:
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
