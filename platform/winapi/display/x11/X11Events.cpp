#include "platform/winapi/display/x11/X11Backend.h"

#include "platform/winapi/kernel/Clock.h"

#include <algorithm>
#include <string>

namespace {

unsigned Modifiers(unsigned state)
{
    unsigned modifiers = 0;
    if (state & ShiftMask)
        modifiers |= ModShift;
    if (state & ControlMask)
        modifiers |= ModControl;
    if (state & Mod1Mask)
        modifiers |= ModAlt;
    if (state & LockMask)
        modifiers |= ModCapsLock;
    if (state & Mod2Mask)
        modifiers |= ModNumLock;
    if (state & Button1Mask)
        modifiers |= ModLeftButton;
    if (state & Button2Mask)
        modifiers |= ModMiddleButton;
    if (state & Button3Mask)
        modifiers |= ModRightButton;
    return modifiers;
}

DisplayEvent Event(DisplayEvent::Kind kind, WindowId id)
{
    DisplayEvent event;
    event.kind = kind;
    event.window = id;
    event.timeMs = static_cast<std::uint32_t>(CurrentKernelClock().NowMs());
    return event;
}

void SetPosition(DisplayEvent& event, int x, int y, int rootX, int rootY, unsigned state)
{
    event.x = x;
    event.y = y;
    event.screenX = rootX;
    event.screenY = rootY;
    event.modifiers = Modifiers(state);
}

std::string Latin1ToUtf8(const char* text, int length)
{
    std::string utf8;
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            utf8.push_back(static_cast<char>(c));
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}

bool IsKeypad(KeySym keysym)
{
    return keysym >= XK_KP_Space && keysym <= XK_KP_9;
}

} // namespace

bool X11Backend::NextEvent(DisplayEvent& event)
{
    if (m_pending.empty())
        ReadPendingEvents();
    if (m_pending.empty())
        return false;
    event = std::move(m_pending.front());
    m_pending.pop_front();
    return true;
}

// Xlib takes in events whenever it reads from the connection: for a reply, and also while a
// large image waits to be written. Those never make the descriptor readable again.
bool X11Backend::EventsAlreadyRead()
{
    return !m_pending.empty() || XEventsQueued(m_display, QueuedAfterReading) > 0;
}

void X11Backend::ReadPendingEvents()
{
    while (m_pending.empty() && XPending(m_display)) {
        XEvent xevent;
        XNextEvent(m_display, &xevent);
        if (XFilterEvent(&xevent, XNone))
            continue; // a dead key or compose sequence in progress
        Translate(xevent);
    }
}

void X11Backend::Push(DisplayEvent event)
{
    m_pending.push_back(std::move(event));
}

std::uint32_t X11Backend::KernelTime(Time serverTime)
{
    const auto server = static_cast<std::uint32_t>(serverTime);
    if (!m_serverClockOffset)
        m_serverClockOffset = static_cast<std::uint32_t>(CurrentKernelClock().NowMs()) - server;
    return server + *m_serverClockOffset;
}

void X11Backend::Translate(XEvent& xevent)
{
    using Kind = DisplayEvent::Kind;
    const WindowId id = IdOf(xevent.xany.window);
    switch (xevent.type) {
    case SelectionRequest:
        AnswerSelectionRequest(xevent.xselectionrequest);
        return;
    case SelectionClear:
        OnSelectionClear(xevent.xselectionclear);
        return;
    case MappingNotify:
        XRefreshKeyboardMapping(&xevent.xmapping);
        return;
    }
    if (!id)
        return;
    TopLevel& window = m_windows.at(id);
    switch (xevent.type) {
    case KeyPress:
    case KeyRelease:
        m_lastTime = xevent.xkey.time;
        TranslateKey(id, xevent.xkey);
        break;
    case ButtonPress:
    case ButtonRelease:
        m_lastTime = xevent.xbutton.time;
        TranslateButton(id, xevent.xbutton);
        break;
    case MotionNotify: {
        // Only the latest position of a burst matters.
        while (XCheckTypedWindowEvent(m_display, window.xid, MotionNotify, &xevent)) {
        }
        const XMotionEvent& motion = xevent.xmotion;
        m_lastTime = motion.time;
        DisplayEvent event = Event(Kind::MouseMove, id);
        event.timeMs = KernelTime(motion.time);
        SetPosition(event, motion.x, motion.y, motion.x_root, motion.y_root, motion.state);
        Push(std::move(event));
        break;
    }
    case EnterNotify:
    case LeaveNotify: {
        const XCrossingEvent& crossing = xevent.xcrossing;
        // A grab's start and end move no pointer: they are not crossings for the window system.
        if (crossing.detail == NotifyInferior || crossing.mode != NotifyNormal)
            break;
        DisplayEvent event = Event(xevent.type == EnterNotify ? Kind::MouseEnter : Kind::MouseLeave, id);
        SetPosition(event, crossing.x, crossing.y, crossing.x_root, crossing.y_root, crossing.state);
        Push(std::move(event));
        break;
    }
    case FocusIn:
    case FocusOut:
        if (xevent.xfocus.detail == NotifyPointer || xevent.xfocus.detail == NotifyInferior)
            break;
        if (window.inputContext) {
            if (xevent.type == FocusIn)
                XSetICFocus(window.inputContext);
            else
                XUnsetICFocus(window.inputContext);
        }
        Push(Event(xevent.type == FocusIn ? Kind::FocusGained : Kind::FocusLost, id));
        break;
    case Expose: {
        const XExposeEvent& expose = xevent.xexpose;
        DisplayEvent event = Event(Kind::Exposed, id);
        event.rect = RECT{expose.x, expose.y, expose.x + expose.width, expose.y + expose.height};
        Push(std::move(event));
        break;
    }
    case MapNotify:
        window.viewable = true;
        if (window.focusPending)
            FocusNow(window);
        break;
    case UnmapNotify:
        window.viewable = false;
        break;
    case ConfigureNotify:
        TranslateConfigure(id, xevent.xconfigure);
        break;
    case ReparentNotify:
        window.reparented = xevent.xreparent.parent != m_root;
        break;
    case PropertyNotify:
        m_lastTime = xevent.xproperty.time;
        TranslateProperty(id, xevent.xproperty);
        break;
    case ClientMessage:
        if (xevent.xclient.message_type == m_atoms.wmProtocols &&
            static_cast<Atom>(xevent.xclient.data.l[0]) == m_atoms.wmDeleteWindow)
            Push(Event(Kind::CloseRequest, id));
        break;
    }
}

std::string X11Backend::LookupText(TopLevel* window, XKeyEvent& key, KeySym& keysym)
{
    char buffer[64];
    if (window && window->inputContext) {
        Status status = 0;
        int length = Xutf8LookupString(window->inputContext, &key, buffer, sizeof buffer, &keysym, &status);
        if (status == XBufferOverflow) {
            std::string text(static_cast<std::size_t>(length), '\0');
            length = Xutf8LookupString(window->inputContext, &key, text.data(), length, &keysym, &status);
            text.resize(static_cast<std::size_t>(std::max(length, 0)));
            return text;
        }
        if (status == XLookupChars || status == XLookupBoth)
            return std::string(buffer, static_cast<std::size_t>(length));
        if (status != XLookupKeySym)
            keysym = NoSymbol;
        return {};
    }
    const int length = XLookupString(&key, buffer, sizeof buffer, &keysym, nullptr);
    return Latin1ToUtf8(buffer, length);
}

void X11Backend::TranslateKey(WindowId id, XKeyEvent& key)
{
    const bool down = key.type == KeyPress;
    KeySym keysym = NoSymbol;
    std::string text;
    if (down) {
        text = LookupText(Find(id), key, keysym);
    } else {
        char ignored[8];
        XLookupString(&key, ignored, sizeof ignored, &keysym, nullptr);
    }
    if (text == "\x7f")
        text.clear(); // Delete is a key, not a character, for Win32
    // The keypad follows Num Lock (VK_NUMPAD7 or VK_HOME); other keys name their unshifted
    // symbol ('A' whatever the shift state), or their place on the keyboard.
    unsigned virtualKey = IsKeypad(keysym) ? VirtualKeyFromKeysym(keysym) : 0;
    if (!virtualKey)
        virtualKey = VirtualKeyFromKeysym(XLookupKeysym(&key, 0));
    if (!virtualKey)
        virtualKey = VirtualKeyFromKeycode(key.keycode);

    DisplayEvent event = Event(DisplayEvent::Kind::Key, id);
    event.timeMs = KernelTime(key.time);
    SetPosition(event, key.x, key.y, key.x_root, key.y_root, key.state);
    event.down = down;
    event.virtualKey = virtualKey;
    event.scanCode = key.keycode >= 8 ? key.keycode - 8 : 0; // evdev codes are PC scan codes
    event.text = std::move(text);
    // With detectable auto-repeat the server sends no release between repeats.
    event.repeat = down && m_heldKeys.contains(key.keycode);
    if (down)
        m_heldKeys.insert(key.keycode);
    else
        m_heldKeys.erase(key.keycode);
    Push(std::move(event));
}

void X11Backend::TranslateButton(WindowId id, const XButtonEvent& button)
{
    const bool down = button.type == ButtonPress;
    DisplayEvent event = Event(DisplayEvent::Kind::MouseButton, id);
    event.timeMs = KernelTime(button.time);
    SetPosition(event, button.x, button.y, button.x_root, button.y_root, button.state);
    event.down = down;
    switch (button.button) {
    case Button1: event.button = MouseButton::Left; break;
    case Button2: event.button = MouseButton::Middle; break;
    case Button3: event.button = MouseButton::Right; break;
    case Button4:
    case Button5:
        // A wheel notch is a press and release of its own; the press alone is the notch.
        if (!down)
            return;
        event.kind = DisplayEvent::Kind::Wheel;
        event.wheelDelta = button.button == Button4 ? DISPLAY_WHEEL_DELTA : -DISPLAY_WHEEL_DELTA;
        break;
    case 8: event.button = MouseButton::X1; break;
    case 9: event.button = MouseButton::X2; break;
    default: return; // horizontal wheel: no Win32 message of the era
    }
    Push(std::move(event));
}

// Where the event says the window is, in screen coordinates. A window manager that reparents
// reports positions relative to its frame; its synthetic events carry root coordinates.
RECT X11Backend::ConfiguredRect(const TopLevel& window, const XConfigureEvent& configure) const
{
    int x = configure.x, y = configure.y;
    if (window.reparented && !configure.send_event) {
        Window child = 0;
        XTranslateCoordinates(m_display, window.xid, m_root, 0, 0, &x, &y, &child);
    }
    return RECT{x, y, x + configure.width, y + configure.height};
}

// Only a placement the program did not ask for is news to the window system. The server
// answers every request (and every raise) with an event of its own, so while requests are in
// flight the events report placements the program has already left: passing those on would
// make the window system ask for them again, and two requests would chase each other for ever.
void X11Backend::TranslateConfigure(WindowId id, const XConfigureEvent& configure)
{
    TopLevel& window = m_windows.at(id);
    const RECT actual = ConfiguredRect(window, configure);
    const auto asked = std::find_if(window.requested.begin(), window.requested.end(),
                                    [&](const RECT& rect) { return SameRect(rect, actual); });
    if (asked != window.requested.end()) {
        window.requested.erase(window.requested.begin(), asked + 1);
        return;
    }
    const bool stale = static_cast<long>(configure.serial - window.lastRequest) < 0;
    if (stale || SameRect(actual, window.rect))
        return;
    window.requested.clear();
    window.rect = actual;
    DisplayEvent event = Event(DisplayEvent::Kind::Moved, id);
    event.rect = actual;
    Push(std::move(event));
}

void X11Backend::TranslateProperty(WindowId id, const XPropertyEvent& property)
{
    if (property.atom != m_atoms.wmState && property.atom != m_atoms.netWmState)
        return;
    TopLevel& window = m_windows.at(id);
    bool iconic = false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_display, window.xid, m_atoms.wmState, 0, 2, False, m_atoms.wmState,
                           &type, &format, &count, &remaining, &data) == Success &&
        format == 32 && count >= 1)
        iconic = reinterpret_cast<const long*>(data)[0] == IconicState;
    if (data)
        XFree(data);
    data = nullptr;
    if (XGetWindowProperty(m_display, window.xid, m_atoms.netWmState, 0, 64, False, XA_ATOM, &type,
                           &format, &count, &remaining, &data) == Success &&
        format == 32) {
        const Atom* states = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i)
            iconic = iconic || states[i] == m_atoms.netWmStateHidden;
    }
    if (data)
        XFree(data);
    if (iconic == window.iconic)
        return;
    window.iconic = iconic;
    Push(Event(iconic ? DisplayEvent::Kind::Iconify : DisplayEvent::Kind::Restore, id));
}
