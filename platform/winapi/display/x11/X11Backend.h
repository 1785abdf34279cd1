#pragma once

// The X11 backend's class, shared by this folder's .cpp files (windows, input, clipboard).
#include "platform/winapi/display/x11/X11Display.h"
#include "platform/winapi/display/x11/XlibPrivate.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>

// The virtual key of a key event: from the layout's unshifted symbol for the key, or from the
// key's position when the layout's symbol has no Win32 key (non-Latin layouts).
[[nodiscard]] unsigned VirtualKeyFromKeysym(KeySym keysym);
[[nodiscard]] unsigned VirtualKeyFromKeycode(unsigned keycode);

[[nodiscard]] inline bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class X11Backend final : public X11DisplayBackend {
public:
    explicit X11Backend(const std::string& displayName);
    ~X11Backend() override;

    [[nodiscard]] std::string Name() const override { return "x11"; }
    [[nodiscard]] unsigned long NativeWindow(WindowId id) const override;

    void CreateTopLevel(WindowId id, const TopLevelDesc& desc) override;
    void DestroyTopLevel(WindowId id) override;
    void MoveTopLevel(WindowId id, const RECT& screenRect) override;
    void ShowTopLevel(WindowId id, bool visible) override;
    void SetTitle(WindowId id, const std::string& title) override;
    void SetShape(WindowId id, const std::optional<std::vector<RECT>>& rects) override;
    void Activate(WindowId id) override;
    void Raise(WindowId id) override;
    void Iconify(WindowId id) override;
    void Present(WindowId id, const Surface& surface, const std::vector<RECT>& dirty) override;

    [[nodiscard]] int EventDescriptor() const override;
    [[nodiscard]] bool NextEvent(DisplayEvent& event) override;
    [[nodiscard]] bool EventsAlreadyRead() override;

    [[nodiscard]] RECT ScreenRect() const override;
    [[nodiscard]] RECT WorkArea() const override;
    [[nodiscard]] std::optional<POINT> PointerPosition() const override;
    void GrabPointer(WindowId id) override;
    void ReleasePointer() override;
    void SetCursor(WindowId id, StandardCursor cursor) override;

    void OfferClipboard(const std::vector<ClipboardItem>& items) override;
    [[nodiscard]] std::vector<std::string> ClipboardFormats() override;
    [[nodiscard]] std::optional<std::string> ClipboardData(const std::string& format) override;

private:
    struct TopLevel {
        Window xid = 0;
        TopLevelKind kind = TopLevelKind::Normal;
        RECT rect{};
        bool mapped = false;     // asked to be shown
        bool viewable = false;   // the server has mapped it
        bool focusPending = false;
        bool iconic = false;
        bool reparented = false; // a window manager's frame holds it: events are frame-relative
        // Placements asked of the server and not yet confirmed by a ConfigureNotify, oldest
        // first, and the serial of the latest request: an event the server made before it saw
        // that request reports a placement the program has already replaced.
        std::vector<RECT> requested;
        unsigned long lastRequest = 0;
        XIC inputContext = nullptr;
    };

    struct Atoms {
        Atom wmProtocols, wmDeleteWindow, wmState, netWmName, netWmState, netWmStateHidden,
            netWmWindowType, netWmWindowTypePopupMenu, netWmWindowTypeDialog, netActiveWindow,
            netWorkArea, motifWmHints, utf8String, clipboard, targets, timestamp, text, incr,
            transfer;
    };

    // Windows (X11Display.cpp)
    TopLevel* Find(WindowId id);
    const TopLevel* Find(WindowId id) const;
    WindowId IdOf(Window xid) const;
    void SetNormalHints(const TopLevel& window);
    void CreateInputContext(TopLevel& window);
    void FocusNow(TopLevel& window);
    [[nodiscard]] Cursor StandardXCursor(StandardCursor cursor);

    // Input (X11Events.cpp)
    void Translate(XEvent& xevent);
    void TranslateKey(WindowId id, XKeyEvent& key);
    void TranslateButton(WindowId id, const XButtonEvent& button);
    void TranslateConfigure(WindowId id, const XConfigureEvent& configure);
    [[nodiscard]] RECT ConfiguredRect(const TopLevel& window, const XConfigureEvent& configure) const;
    void TranslateProperty(WindowId id, const XPropertyEvent& property);
    void Push(DisplayEvent event);
    [[nodiscard]] std::uint32_t KernelTime(Time serverTime);
    void ReadPendingEvents();
    [[nodiscard]] std::string LookupText(TopLevel* window, XKeyEvent& key, KeySym& keysym);

    // Clipboard (X11Clipboard.cpp)
    void AnswerSelectionRequest(const XSelectionRequestEvent& request);
    void OnSelectionClear(const XSelectionClearEvent& clear);
    [[nodiscard]] bool OwnsClipboard() const;
    [[nodiscard]] std::optional<std::string> ConvertClipboard(Atom target, Atom& type);
    [[nodiscard]] std::optional<std::string> ReadTransferProperty(Atom& type);
    [[nodiscard]] std::optional<std::string> ReadIncremental();
    // Handles X events until `done` says so or the clipboard's time-out passes.
    [[nodiscard]] bool WaitForEvent(const std::function<bool(const XEvent&)>& done, XEvent& matched);
    [[nodiscard]] const ClipboardItem* OfferedItem(Atom target) const;

    XDisplay* m_display = nullptr;
    int m_screen = 0;
    Window m_root = 0;
    Visual* m_visual = nullptr;
    Colormap m_colormap = 0;
    GC m_gc = nullptr;
    XIM m_inputMethod = nullptr;
    bool m_hasShape = false;
    Window m_clipboardWindow = 0;
    Atoms m_atoms{};
    Time m_lastTime = CurrentTime;
    // The kernel clock's reading less the server's, taken at the first input event: input keeps
    // the spacing the server gave it however late the program reads it (a double click stays
    // one).
    std::optional<std::uint32_t> m_serverClockOffset;
    std::map<WindowId, TopLevel> m_windows;
    std::map<StandardCursor, Cursor> m_cursors;
    std::deque<DisplayEvent> m_pending;
    std::set<unsigned> m_heldKeys; // keycodes down, to tell auto-repeat from a new press
    std::vector<ClipboardItem> m_offer;
};
