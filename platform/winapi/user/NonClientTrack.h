#pragma once

#include "platform/winapi/user/WinUser.h"

// DefWindowProc's answers to the mouse on the non-client area (NonClientTrack.cpp).
namespace winapi_user::detail {

LRESULT NonClientButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam);
LRESULT NonClientDoubleClick(HWND hwnd, WPARAM hit, LPARAM lParam);
// WM_SYSCOMMAND SC_MOVE / SC_SIZE: the modal loop, started at the screen point in lParam.
void MoveOrSize(HWND hwnd, WPARAM command, LPARAM lParam);

} // namespace winapi_user::detail
