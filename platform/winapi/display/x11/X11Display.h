#pragma once

#include "platform/winapi/display/DisplayBackend.h"

#include <memory>
#include <string>

// The X11 backend. Xlib stays inside this folder's .cpp files; this header only names what the
// rest of the system (and the tests) need.
class X11DisplayBackend : public DisplayBackend {
public:
    // The X window that shows a top-level window, or 0 (tests look at it from another connection).
    [[nodiscard]] virtual unsigned long NativeWindow(WindowId id) const = 0;
};

// Opens `displayName` (empty: the DISPLAY variable). Raises EDisplayError naming the DISPLAY
// variable when no X server answers, or when the screen has no 24-bit true-colour visual.
[[nodiscard]] std::unique_ptr<X11DisplayBackend> OpenX11Display(const std::string& displayName);
