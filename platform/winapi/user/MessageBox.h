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

// A box's button as it is about to be drawn, in the box's client coordinates.
struct MessageBoxButtonLook {
    RECT Rect;
    std::string Label;
    bool Focused;
    bool Pressed;
};
// Draws a box's button in place of the plain push button and answers true, or answers false to
// leave it plain; the DC is the box's, with the box's font selected. Empty (the default) leaves
// every button plain. A skin engine puts its own button faces on the boxes it skins this way.
using MessageBoxButtonPainter = std::function<bool(HDC dc, const MessageBoxButtonLook& button)>;
void SetMessageBoxButtonPainter(MessageBoxButtonPainter painter);

// The message box with the caller's own buttons, for the class library's message dialogs. The
// button at `defaultIndex` has the focus at first; Escape and the close button answer `escapeId`
// (0: they do nothing), as does a button whose Id is 0 (it stays open). `style` takes the MB_ICON*
// picture and the MB_TASKMODAL / MB_TOPMOST / MB_SETFOREGROUND flags. No handler is consulted.
[[nodiscard]] int MessageBoxWithButtons(HWND owner, const std::string& text, const std::string& caption, UINT style,
                                        const std::vector<MessageBoxButton>& buttons, std::size_t defaultIndex,
                                        int escapeId);
