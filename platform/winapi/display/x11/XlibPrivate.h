#pragma once

// Xlib for this folder's .cpp files only. Xlib calls its connection type "Display", which would
// clash with the window system's Display(): it is renamed XDisplay here. Xlib's None macro
// would clash with our enumerators, so it is spelled XNone.
#define Display XDisplay
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#undef Display
#undef None
inline constexpr unsigned long XNone = 0L;
