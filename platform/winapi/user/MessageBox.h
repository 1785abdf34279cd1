#pragma once

#include "platform/winapi/user/WinUser.h"

#include <functional>
#include <string>
#include <vector>

// MessageBoxA is modal: code under test that asks the user would block. A test installs an answer
// here (called instead of showing the box, with the box's arguments); empty restores the box.
using MessageBoxHandler = std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

// A button of a box built by MessageBoxWithButtons: its answer and its label ('&' marks the
// letter that answers with it).
struct MessageBoxButton {
    int Id;
    std::string Label;
};

// The message box with the caller's own buttons, for the class library's message dialogs. The
// button at `defaultIndex` has the focus at first; Escape and the close button answer `escapeId`
// (0: they do nothing), as does a button whose Id is 0 (it stays open). `style` takes the MB_ICON*
// picture and the MB_TASKMODAL / MB_TOPMOST / MB_SETFOREGROUND flags. No handler is consulted.
[[nodiscard]] int MessageBoxWithButtons(HWND owner, const std::string& text, const std::string& caption, UINT style,
                                        const std::vector<MessageBoxButton>& buttons, std::size_t defaultIndex,
                                        int escapeId);
