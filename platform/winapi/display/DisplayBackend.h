#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/winapi/display/VirtualKeys.h"
#include "platform/winapi/gdi/WinGdi.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Surface;

// The seam between the window system and a screen. The window system owns every window and the
// order of its messages; a backend only mirrors the outcome (a top-level window appears, moves,
// shows its pixels) and reports what the user does as DisplayEvents. Every call is made from the
// GUI thread; a call naming an unknown window does nothing. All defaults are no-ops, so a
// backend implements only what it can show.

// A top-level window as the window system names it (the HWND's value); 0 is never a window.
using WindowId = std::uint64_t;

enum class TopLevelKind {
    Normal, // managed by the window manager but undecorated: the frame is drawn by us
    Popup,  // menus, drop-downs, hints: placed exactly, never decorated, never takes the focus
};

struct TopLevelDesc {
    RECT screenRect{};   // the whole window, frame included, in screen coordinates
    TopLevelKind kind = TopLevelKind::Normal;
    std::string title;   // UTF-8
    WindowId owner = 0;  // a message box or tool window stays above its owner
};

// The standard cursors by their Win32 resource numbers (IDC_ARROW = 32512 ...).
enum class StandardCursor : int {
    Arrow = 32512,
    IBeam = 32513,
    Wait = 32514,
    Cross = 32515,
    UpArrow = 32516,
    SizeNWSE = 32642,
    SizeNESW = 32643,
    SizeWE = 32644,
    SizeNS = 32645,
    SizeAll = 32646,
    No = 32648,
    Hand = 32649,
    AppStarting = 32650,
    Help = 32651,
};

enum class MouseButton { None, Left, Right, Middle, X1, X2 };

// Bits of DisplayEvent::modifiers: the keyboard modifiers and mouse buttons held at the time of
// the event (before a key or button event's own change takes effect).
enum DisplayModifier : unsigned {
    ModShift = 0x001,
    ModControl = 0x002,
    ModAlt = 0x004,
    ModCapsLock = 0x008,
    ModNumLock = 0x010,
    ModLeftButton = 0x100,
    ModRightButton = 0x200,
    ModMiddleButton = 0x400,
};

// One notch of a mouse wheel, as WM_MOUSEWHEEL counts it.
constexpr int DISPLAY_WHEEL_DELTA = 120;

struct DisplayEvent {
    // (Named so as not to meet Xlib's event-type macros: FocusIn, Expose, ...)
    enum class Kind {
        Key,          // virtualKey, scanCode, down, repeat, text (what the key types; may be empty)
        Text,         // text typed without a key of its own (an input method's commit)
        MouseMove,    // x, y, screenX, screenY
        MouseButton,  // button, down, x, y, screenX, screenY
        Wheel,        // wheelDelta (positive: away from the user), x, y, screenX, screenY
        MouseEnter,   // the pointer entered the window (x, y)
        MouseLeave,   // the pointer left the window
        FocusGained,  // the window received the keyboard focus
        FocusLost,    // the window lost the keyboard focus
        Exposed,      // rect (window coordinates) must be presented again
        Moved,        // the window manager placed or sized the window: rect (screen coordinates)
        CloseRequest, // the user asked to close the window (WM_CLOSE)
        Iconify,      // the window was minimised
        Restore,      // the window was restored from minimised
        ClipboardLost // another program took the clipboard
    };

    Kind kind = Kind::MouseMove;
    WindowId window = 0;
    int x = 0, y = 0;             // window-relative (the top-level's top-left corner is 0, 0)
    int screenX = 0, screenY = 0; // screen coordinates
    MouseButton button = MouseButton::None;
    bool down = false;
    bool repeat = false;          // an auto-repeated key press
    unsigned virtualKey = 0;      // VK_*
    unsigned scanCode = 0;
    std::string text;             // UTF-8
    int wheelDelta = 0;
    RECT rect{};
    unsigned modifiers = 0;       // DisplayModifier bits
    std::uint32_t timeMs = 0;     // on the kernel clock's scale, as GetMessageTime reports it
};

// The clipboard format name for text (UTF-8). Other formats are named as the window system
// registers them ("Rich Text Format", ...); the X11 backend offers each name as a selection target.
inline constexpr char CLIPBOARD_TEXT_FORMAT[] = "UTF8_STRING";

struct ClipboardItem {
    std::string format;
    std::string data; // raw bytes
};

class DisplayBackend {
public:
    DisplayBackend() = default;
    DisplayBackend(const DisplayBackend&) = delete;
    DisplayBackend& operator=(const DisplayBackend&) = delete;
    virtual ~DisplayBackend() = default;

    [[nodiscard]] virtual std::string Name() const = 0;

    // Top-level windows start hidden.
    virtual void CreateTopLevel(WindowId, const TopLevelDesc&) {}
    virtual void DestroyTopLevel(WindowId) {}
    virtual void MoveTopLevel(WindowId, const RECT& /*screenRect*/) {}
    virtual void ShowTopLevel(WindowId, bool /*visible*/) {}
    virtual void SetTitle(WindowId, const std::string& /*utf8*/) {}
    // The window's visible area as rectangles in window coordinates; nullopt makes it
    // rectangular again, an empty list hides every pixel (as SetWindowRgn does).
    virtual void SetShape(WindowId, const std::optional<std::vector<RECT>>& /*rects*/) {}
    // Gives the window the keyboard focus (ignored for popups).
    virtual void Activate(WindowId) {}
    virtual void Raise(WindowId) {}
    virtual void Iconify(WindowId) {}

    // Shows the `dirty` rectangles (surface coordinates, clipped to the surface) of the window's
    // surface. Called once per loop turn with everything painted since the last call.
    virtual void Present(WindowId, const Surface&, const std::vector<RECT>& /*dirty*/) {}

    // A descriptor that becomes readable when NextEvent may have something; -1 when there is
    // none. Drain NextEvent until it returns false before waiting on it: events already read
    // from the descriptor do not make it readable again.
    [[nodiscard]] virtual int EventDescriptor() const { return -1; }
    // True when events were read from the descriptor after the last drain and wait for NextEvent:
    // any call that talks to the window system (presenting pixels, asking where the pointer is)
    // may take them in on the way. A wait on the descriptor would sleep past them.
    [[nodiscard]] virtual bool EventsAlreadyRead() { return false; }
    // Non-blocking: the next event, or false when there is none now.
    [[nodiscard]] virtual bool NextEvent(DisplayEvent&) { return false; }

    [[nodiscard]] virtual RECT ScreenRect() const { return RECT{0, 0, 1024, 768}; }
    // The screen less panels and docks (SPI_GETWORKAREA).
    [[nodiscard]] virtual RECT WorkArea() const { return ScreenRect(); }
    [[nodiscard]] virtual std::optional<POINT> PointerPosition() const { return std::nullopt; }

    // Popup menus track the mouse anywhere on the screen: while grabbed, every pointer event
    // goes to `window` (coordinates relative to it, possibly outside it).
    virtual void GrabPointer(WindowId) {}
    virtual void ReleasePointer() {}

    virtual void SetCursor(WindowId, StandardCursor) {}

    // Makes this program the clipboard's owner, offering `items` (one per format) to others.
    virtual void OfferClipboard(const std::vector<ClipboardItem>& /*items*/) {}
    // The clipboard's formats and data, whoever owns it; a program that does not answer in time
    // gives no data.
    [[nodiscard]] virtual std::vector<std::string> ClipboardFormats() { return {}; }
    [[nodiscard]] virtual std::optional<std::string> ClipboardData(const std::string& /*format*/)
    {
        return std::nullopt;
    }
};

// No screen could be reached (the message names the DISPLAY variable), or an unknown backend
// was asked for.
RTL_DECLARE_EXCEPTION(EDisplayError, Exception);

// The backend in use; on first use it is chosen as SelectDisplay("") does.
[[nodiscard]] DisplayBackend& Display();

// Chooses the backend: "headless", "x11", or "" for the environment's choice (MODEM_DISPLAY,
// otherwise x11). Replaces the previous backend (its windows are gone). Raises EDisplayError.
DisplayBackend& SelectDisplay(const std::string& name);

// A program's start: chooses the environment's backend as SelectDisplay("") does. When no screen
// can be reached it writes one line, "<program>: <why>", to standard error and returns nullptr,
// so that the program ends with exit code 1 instead of an unhandled exception.
DisplayBackend* SelectProgramDisplay(const std::string& program);

// Installs a backend of the caller's own (tests).
DisplayBackend& InstallDisplay(std::unique_ptr<DisplayBackend> backend);
