#pragma once

#include "platform/winapi/user/Window.h"

namespace winapi_user::detail {

// DefWindowProc's WM_SETCURSOR: the class cursor in the client area, the sizing cursors on a
// sizing frame, the arrow elsewhere.
void SetCursorForHit(const Window& window, SHORT hit, WORD mouseMessage);

} // namespace winapi_user::detail
