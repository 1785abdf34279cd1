#pragma once

#include "platform/winapi/user/Button.h"
#include "platform/winapi/user/ControlInstance.h"

// What the button's procedure and its painting share.
namespace winapi_user::detail {

// What a button remembers between messages.
struct ButtonState {
    WPARAM check = BST_UNCHECKED;
    bool pushed = false;   // drawn pressed (BST_PUSHED)
    bool focused = false;
    bool tracking = false; // the mouse or the space bar holds the button down
    HFONT font = nullptr;  // WM_SETFONT; null: the default GUI font
};

[[nodiscard]] inline DWORD ButtonType(DWORD style) { return style & BS_TYPEMASK; }

// Paints the whole button into `dc` (client coordinates), as WM_PAINT does.
void PaintButton(const ControlInstance& button, HDC dc, const ButtonState& state);

} // namespace winapi_user::detail
