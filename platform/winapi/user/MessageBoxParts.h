#pragma once

#include "platform/winapi/user/WinUser.h"

namespace winapi_user::detail {

// MessageBoxIcons.cpp: the MB_ICON* picture (MB_ICONMASK bits) in `box`; nothing for no icon.
void DrawMessageBoxIcon(HDC dc, const RECT& box, UINT icon);

} // namespace winapi_user::detail
