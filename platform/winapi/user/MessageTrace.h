#pragma once

#include "platform/winapi/user/Window.h"

namespace winapi_user::detail {

// How a message reached a window procedure, as the "messages" trace channel shows it.
enum class MessageRoute {
    Send,     // SendMessage on the window's own thread: a direct call
    Receive,  // SendMessage from another thread, handled while the window's thread retrieves
    Dispatch, // DispatchMessage of a message taken from the queue
};

// Writes one "messages" trace line for a message on its way to a window procedure, indented by
// how deeply the thread's messages nest (a message sent while another is handled), so that a
// trace reads as the call tree it is. Costs one load when the channel is off.
class MessageTraceScope {
public:
    MessageTraceScope(MessageRoute route, const Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    ~MessageTraceScope();
    MessageTraceScope(const MessageTraceScope&) = delete;
    MessageTraceScope& operator=(const MessageTraceScope&) = delete;

private:
    bool m_traced = false;
};

} // namespace winapi_user::detail
