#pragma once

#include "platform/winapi/user/WinUser.h"

#include <functional>
#include <string>

// MessageBoxA is modal: code under test that asks the user would block. A test installs an answer
// here (called instead of showing the box, with the box's arguments); empty restores the box.
using MessageBoxHandler = std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
void SetMessageBoxHandler(MessageBoxHandler handler);
