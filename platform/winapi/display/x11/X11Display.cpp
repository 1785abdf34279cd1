#include "platform/winapi/display/x11/X11Backend.h"

#include "platform/rtl/Trace.h"
#include "platform/winapi/gdi/Surface.h"

#include <algorithm>
#include <string>
#include <cstdlib>
#include <mutex>

namespace {

// Xlib's default handler ends the program on any protocol error. Ours must survive the benign
// ones a window system provokes (focusing a window the server has just unmapped, a shape on a
// window another client destroyed): the call simply has no effect, as in Win32.
int IgnoreXError(XDisplay* display, XErrorEvent* error)
{
    if (TraceEnabled(TraceChannel::Display)) {
        char text[256] = {};
        XGetErrorText(display, error->error_code, text, sizeof text);
        TraceLine(TraceChannel::Display,
                  std::string("X error ") + text + " (request " + std::to_string(error->request_code) + ")");
    }
    return 0;
}

std::string NoDisplayMessage(const std::string& displayName)
{
    const char* variable = std::getenv("DISPLAY");
    if (displayName.empty() && (!variable || !*variable))
        return "No X display: the DISPLAY variable is not set (set MODEM_DISPLAY=headless to run "
               "without a screen)";
    const std::string name = displayName.empty() ? variable : displayName;
    return "Cannot open the X display \"" + name +
           "\": check the DISPLAY variable and that the X server is running";
}

// The _MOTIF_WM_HINTS property: decorations off, so the window manager adds no frame of its
// own around the one we paint.
void RemoveDecorations(XDisplay* display, Window xid, Atom motifHints)
{
    const long hints[5] = {2 /* decorations flag */, 0, 0 /* no decorations */, 0, 0};
    XChangeProperty(display, xid, motifHints, motifHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
}

constexpr std::size_t MaxRequestsInFlight = 32;

int Width(const RECT& r) { return std::max<int>(1, r.right - r.left); }
int Height(const RECT& r) { return std::max<int>(1, r.bottom - r.top); }

} // namespace

std::unique_ptr<X11DisplayBackend> OpenX11Display(const std::string& displayName)
{
    return std::make_unique<X11Backend>(displayName);
}

X11Backend::X11Backend(const std::string& displayName)
{
    static std::once_flag handlerInstalled;
    std::call_once(handlerInstalled, [] {
        XInitThreads(); // the GUI thread and a test's helper threads may each hold a connection
        XSetErrorHandler(IgnoreXError);
    });

    m_display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!m_display)
        throw EDisplayError(NoDisplayMessage(displayName));
    m_screen = DefaultScreen(m_display);
    m_root = RootWindow(m_display, m_screen);

    // Surfaces are 32-bit 0x00RRGGBB words: they go to the server as they are on a 24-bit
    // true-colour visual with those masks.
    XVisualInfo info{};
    if (!XMatchVisualInfo(m_display, m_screen, 24, TrueColor, &info) || info.red_mask != 0xFF0000 ||
        info.green_mask != 0xFF00 || info.blue_mask != 0xFF) {
        XCloseDisplay(m_display);
        throw EDisplayError("The X display named by the DISPLAY variable has no 24-bit true-colour "
                            "visual");
    }
    m_visual = info.visual;
    m_colormap = XCreateColormap(m_display, m_root, m_visual, AllocNone);

    int shapeEvent = 0, shapeError = 0;
    m_hasShape = XShapeQueryExtension(m_display, &shapeEvent, &shapeError);
    Bool repeatDetectable = False;
    XkbSetDetectableAutoRepeat(m_display, True, &repeatDetectable);

    static const char* const names[] = {
        "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "_NET_WM_NAME", "_NET_WM_STATE",
        "_NET_WM_STATE_HIDDEN", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_POPUP_MENU",
        "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_ACTIVE_WINDOW", "_NET_WORKAREA", "_MOTIF_WM_HINTS",
        "UTF8_STRING", "CLIPBOARD", "TARGETS", "TIMESTAMP", "TEXT", "INCR", "MODEM_CLIPBOARD"};
    static_assert(sizeof(Atoms) / sizeof(Atom) == std::size(names));
    XInternAtoms(m_display, const_cast<char**>(names), std::size(names), False,
                 reinterpret_cast<Atom*>(&m_atoms));

    // Local input method: dead keys and compose sequences of the user's locale.
    if (XSetLocaleModifiers(""))
        m_inputMethod = XOpenIM(m_display, nullptr, nullptr, nullptr);
    if (!m_inputMethod && XSetLocaleModifiers("@im=none"))
        m_inputMethod = XOpenIM(m_display, nullptr, nullptr, nullptr);

    // The clipboard belongs to the program, not to any one window, so it has a window of its own.
    m_clipboardWindow = XCreateSimpleWindow(m_display, m_root, -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(m_display, m_clipboardWindow, PropertyChangeMask);
    XFlush(m_display);
}

X11Backend::~X11Backend()
{
    for (auto& [id, window] : m_windows) {
        if (window.inputContext)
            XDestroyIC(window.inputContext);
        XDestroyWindow(m_display, window.xid);
    }
    for (auto& [shape, cursor] : m_cursors)
        XFreeCursor(m_display, cursor);
    if (m_gc)
        XFreeGC(m_display, m_gc);
    if (m_inputMethod)
        XCloseIM(m_inputMethod);
    XDestroyWindow(m_display, m_clipboardWindow);
    XFreeColormap(m_display, m_colormap);
    XCloseDisplay(m_display);
}

X11Backend::TopLevel* X11Backend::Find(WindowId id)
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

const X11Backend::TopLevel* X11Backend::Find(WindowId id) const
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

WindowId X11Backend::IdOf(Window xid) const
{
    for (const auto& [id, window] : m_windows)
        if (window.xid == xid)
            return id;
    return 0;
}

unsigned long X11Backend::NativeWindow(WindowId id) const
{
    const TopLevel* window = Find(id);
    return window ? window->xid : 0;
}

void X11Backend::CreateTopLevel(WindowId id, const TopLevelDesc& desc)
{
    if (id == 0 || Find(id))
        return;
    XSetWindowAttributes attributes{};
    attributes.colormap = m_colormap;
    attributes.border_pixel = 0;
    attributes.background_pixmap = XNone; // we repaint on exposure; no flash of another colour
    attributes.override_redirect = desc.kind == TopLevelKind::Popup;
    attributes.save_under = desc.kind == TopLevelKind::Popup;
    attributes.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                            ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask | FocusChangeMask | StructureNotifyMask |
                            PropertyChangeMask;
    const RECT& r = desc.screenRect;
    TopLevel window;
    window.kind = desc.kind;
    window.rect = r;
    window.xid = XCreateWindow(m_display, m_root, r.left, r.top, Width(r), Height(r), 0, 24,
                               InputOutput, m_visual,
                               CWColormap | CWBorderPixel | CWBackPixmap | CWOverrideRedirect |
                                   CWSaveUnder | CWEventMask,
                               &attributes);
    if (!m_gc)
        m_gc = XCreateGC(m_display, window.xid, 0, nullptr);

    Atom protocols[] = {m_atoms.wmDeleteWindow};
    XSetWMProtocols(m_display, window.xid, protocols, 1);
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = desc.kind == TopLevelKind::Normal;
    hints.initial_state = NormalState;
    XSetWMHints(m_display, window.xid, &hints);
    XClassHint classHint{const_cast<char*>("modem"), const_cast<char*>("Modem")};
    XSetClassHint(m_display, window.xid, &classHint);
    RemoveDecorations(m_display, window.xid, m_atoms.motifWmHints);
    const Atom type = desc.kind == TopLevelKind::Popup ? m_atoms.netWmWindowTypePopupMenu
                                                        : m_atoms.netWmWindowTypeDialog;
    XChangeProperty(m_display, window.xid, m_atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
    if (const TopLevel* owner = Find(desc.owner))
        XSetTransientForHint(m_display, window.xid, owner->xid);
    SetNormalHints(window);
    CreateInputContext(window);
    m_windows[id] = window;
    SetTitle(id, desc.title);
}

// Placed where the window system says, not where the window manager would like.
void X11Backend::SetNormalHints(const TopLevel& window)
{
    XSizeHints size{};
    size.flags = USPosition | USSize | PPosition | PSize;
    size.x = window.rect.left;
    size.y = window.rect.top;
    size.width = Width(window.rect);
    size.height = Height(window.rect);
    XSetWMNormalHints(m_display, window.xid, &size);
}

void X11Backend::CreateInputContext(TopLevel& window)
{
    if (!m_inputMethod)
        return;
    window.inputContext = XCreateIC(m_inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                                    XNClientWindow, window.xid, XNFocusWindow, window.xid, nullptr);
    long filterMask = 0;
    if (window.inputContext &&
        !XGetICValues(window.inputContext, XNFilterEvents, &filterMask, nullptr) && filterMask) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(m_display, window.xid, &attributes);
        XSelectInput(m_display, window.xid, attributes.your_event_mask | filterMask);
    }
}

void X11Backend::DestroyTopLevel(WindowId id)
{
    TopLevel* window = Find(id);
    if (!window)
        return;
    if (window->inputContext)
        XDestroyIC(window->inputContext);
    XDestroyWindow(m_display, window->xid);
    m_windows.erase(id);
    XFlush(m_display);
}

void X11Backend::MoveTopLevel(WindowId id, const RECT& screenRect)
{
    TopLevel* window = Find(id);
    if (!window || SameRect(window->rect, screenRect))
        return;
    window->rect = screenRect;
    // A window manager need not answer every request: the oldest are forgotten.
    if (window->requested.size() == MaxRequestsInFlight)
        window->requested.erase(window->requested.begin());
    window->requested.push_back(screenRect);
    SetNormalHints(*window);
    window->lastRequest = NextRequest(m_display);
    XMoveResizeWindow(m_display, window->xid, screenRect.left, screenRect.top, Width(screenRect),
                      Height(screenRect));
    XFlush(m_display);
}

void X11Backend::ShowTopLevel(WindowId id, bool visible)
{
    TopLevel* window = Find(id);
    if (!window || window->mapped == visible)
        return;
    window->mapped = visible;
    if (visible) {
        XMapRaised(m_display, window->xid);
    } else {
        XUnmapWindow(m_display, window->xid);
        window->viewable = false;
        window->focusPending = false;
    }
    XFlush(m_display);
}

void X11Backend::SetTitle(WindowId id, const std::string& title)
{
    TopLevel* window = Find(id);
    if (!window)
        return;
    XChangeProperty(m_display, window->xid, m_atoms.netWmName, m_atoms.utf8String, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    char* list[] = {const_cast<char*>(title.c_str())};
    XTextProperty property{};
    if (Xutf8TextListToTextProperty(m_display, list, 1, XStdICCTextStyle, &property) >= Success) {
        XSetWMName(m_display, window->xid, &property);
        XFree(property.value);
    }
}

void X11Backend::SetShape(WindowId id, const std::optional<std::vector<RECT>>& rects)
{
    TopLevel* window = Find(id);
    if (!window || !m_hasShape)
        return;
    if (!rects) {
        XShapeCombineMask(m_display, window->xid, ShapeBounding, 0, 0, XNone, ShapeSet);
    } else {
        std::vector<XRectangle> xrects;
        for (const RECT& r : *rects)
            if (r.right > r.left && r.bottom > r.top)
                xrects.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                            static_cast<unsigned short>(r.right - r.left),
                                            static_cast<unsigned short>(r.bottom - r.top)});
        XShapeCombineRectangles(m_display, window->xid, ShapeBounding, 0, 0, xrects.data(),
                                static_cast<int>(xrects.size()), ShapeSet, Unsorted);
    }
    XFlush(m_display);
}

// A window the server has not mapped yet cannot take the focus (BadMatch): it is given the
// focus when its MapNotify arrives.
void X11Backend::Activate(WindowId id)
{
    TopLevel* window = Find(id);
    if (!window || window->kind == TopLevelKind::Popup)
        return;
    if (!window->viewable) {
        window->focusPending = true;
        return;
    }
    FocusNow(*window);
}

void X11Backend::FocusNow(TopLevel& window)
{
    window.focusPending = false;
    // Ask the window manager (if any) first, then take the focus directly as well.
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window.xid;
    message.xclient.message_type = m_atoms.netActiveWindow;
    message.xclient.format = 32;
    message.xclient.data.l[0] = 1; // from an application
    message.xclient.data.l[1] = static_cast<long>(m_lastTime);
    XSendEvent(m_display, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask, &message);
    XSetInputFocus(m_display, window.xid, RevertToParent, CurrentTime);
    XFlush(m_display);
}

void X11Backend::Raise(WindowId id)
{
    if (TopLevel* window = Find(id)) {
        XRaiseWindow(m_display, window->xid);
        XFlush(m_display);
    }
}

void X11Backend::Iconify(WindowId id)
{
    if (TopLevel* window = Find(id)) {
        XIconifyWindow(m_display, window->xid, m_screen);
        XFlush(m_display);
    }
}

// Only the dirty rectangles travel, each copied into a packed image of its own, so a surface
// of any stride (even bottom-up) is sent the same way.
void X11Backend::Present(WindowId id, const Surface& surface, const std::vector<RECT>& dirty)
{
    TopLevel* window = Find(id);
    if (!window || !m_gc)
        return;
    std::vector<std::uint32_t> packed;
    for (RECT r : dirty) {
        r.left = std::max<LONG>(r.left, 0);
        r.top = std::max<LONG>(r.top, 0);
        r.right = std::min<LONG>(r.right, surface.Width());
        r.bottom = std::min<LONG>(r.bottom, surface.Height());
        if (r.left >= r.right || r.top >= r.bottom)
            continue;
        const int width = r.right - r.left, height = r.bottom - r.top;
        packed.resize(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            std::copy_n(surface.Row(r.top + y) + r.left, width,
                        packed.data() + static_cast<std::size_t>(y) * width);
        XImage* image = XCreateImage(m_display, m_visual, 24, ZPixmap, 0,
                                     reinterpret_cast<char*>(packed.data()), width, height, 32,
                                     width * 4);
        if (!image)
            continue;
        image->byte_order = LSBFirst; // the words are in this machine's order
        XPutImage(m_display, window->xid, m_gc, image, 0, 0, r.left, r.top, width, height);
        image->data = nullptr; // the pixels are ours
        XDestroyImage(image);
    }
    XFlush(m_display);
}

int X11Backend::EventDescriptor() const
{
    return ConnectionNumber(m_display);
}

RECT X11Backend::ScreenRect() const
{
    return RECT{0, 0, DisplayWidth(m_display, m_screen), DisplayHeight(m_display, m_screen)};
}

// _NET_WORKAREA of the first desktop, when a window manager publishes one.
RECT X11Backend::WorkArea() const
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    RECT area = ScreenRect();
    if (XGetWindowProperty(m_display, m_root, m_atoms.netWorkArea, 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &remaining, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count >= 4) {
        const long* values = reinterpret_cast<const long*>(data);
        area = RECT{static_cast<LONG>(values[0]), static_cast<LONG>(values[1]),
                    static_cast<LONG>(values[0] + values[2]), static_cast<LONG>(values[1] + values[3])};
    }
    if (data)
        XFree(data);
    return area;
}

std::optional<POINT> X11Backend::PointerPosition() const
{
    Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    if (!XQueryPointer(m_display, m_root, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask))
        return std::nullopt;
    return POINT{rootX, rootY};
}

void X11Backend::GrabPointer(WindowId id)
{
    const TopLevel* window = Find(id);
    if (!window)
        return;
    XGrabPointer(m_display, window->xid, True,
                 ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                     LeaveWindowMask,
                 GrabModeAsync, GrabModeAsync, XNone, XNone, CurrentTime);
    XFlush(m_display);
}

void X11Backend::ReleasePointer()
{
    XUngrabPointer(m_display, CurrentTime);
    XFlush(m_display);
}

Cursor X11Backend::StandardXCursor(StandardCursor cursor)
{
    if (auto it = m_cursors.find(cursor); it != m_cursors.end())
        return it->second;
    static const std::map<StandardCursor, unsigned> shapes = {
        {StandardCursor::Arrow, XC_left_ptr},
        {StandardCursor::IBeam, XC_xterm},
        {StandardCursor::Wait, XC_watch},
        {StandardCursor::Cross, XC_crosshair},
        {StandardCursor::UpArrow, XC_sb_up_arrow},
        {StandardCursor::SizeNWSE, XC_bottom_right_corner},
        {StandardCursor::SizeNESW, XC_bottom_left_corner},
        {StandardCursor::SizeWE, XC_sb_h_double_arrow},
        {StandardCursor::SizeNS, XC_sb_v_double_arrow},
        {StandardCursor::SizeAll, XC_fleur},
        {StandardCursor::No, XC_X_cursor},
        {StandardCursor::Hand, XC_hand2},
        {StandardCursor::AppStarting, XC_watch},
        {StandardCursor::Help, XC_question_arrow},
    };
    auto shape = shapes.find(cursor);
    const Cursor xcursor = XCreateFontCursor(m_display, shape == shapes.end() ? XC_left_ptr : shape->second);
    m_cursors[cursor] = xcursor;
    return xcursor;
}

void X11Backend::SetCursor(WindowId id, StandardCursor cursor)
{
    if (const TopLevel* window = Find(id)) {
        XDefineCursor(m_display, window->xid, StandardXCursor(cursor));
        XFlush(m_display);
    }
}
