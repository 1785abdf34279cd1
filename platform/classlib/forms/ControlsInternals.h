#pragma once

#include "platform/classlib/forms/Controls.h"

// State shared by the control files: which control holds the mouse captured (a graphic control
// captures through its parent's window) and which one the pointer is over.
namespace classlib_forms::detail {

TControl*& CaptureControl();
TControl*& MouseControl();
void SetMouseCapture(TControl* control, bool capture);
// The pointer moved over `control`: tell the old one CM_MOUSELEAVE and the new one CM_MOUSEENTER.
void TrackMouseControl(TControl* control);

} // namespace classlib_forms::detail

LRESULT ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
