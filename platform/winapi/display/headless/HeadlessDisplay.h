#pragma once

#include "platform/winapi/display/DisplayBackend.h"

#include <deque>
#include <filesystem>
#include <map>
#include <mutex>

// A screen in memory, for tests and for runs without X. It keeps what each top-level window last
// presented (only the rectangles it was told are dirty, exactly as a real screen would show
// them), lets a test read those pixels or save them as PNG files, takes injected input (from any
// thread; the event descriptor wakes the GUI thread's wait), and keeps the clipboard in memory.
class HeadlessDisplay final : public DisplayBackend {
public:
    // What the display knows of one top-level window.
    struct WindowState {
        TopLevelDesc desc;
        bool visible = false;
        bool iconic = false;
        std::optional<std::vector<RECT>> shape;
        StandardCursor cursor = StandardCursor::Arrow;
        int width = 0, height = 0;          // of the presented image
        std::vector<std::uint32_t> pixels;  // as presented, 0xAARRGGBB, top-down
    };

    // The colour of the screen where no window is.
    static constexpr std::uint32_t DESKTOP_COLOR = 0xFF3A6EA5;

    HeadlessDisplay();
    ~HeadlessDisplay() override;

    [[nodiscard]] std::string Name() const override { return "headless"; }

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

    [[nodiscard]] int EventDescriptor() const override { return m_eventFd; }
    [[nodiscard]] bool NextEvent(DisplayEvent& event) override;

    [[nodiscard]] RECT ScreenRect() const override;
    [[nodiscard]] RECT WorkArea() const override;
    [[nodiscard]] std::optional<POINT> PointerPosition() const override;
    void GrabPointer(WindowId id) override;
    void ReleasePointer() override;
    void SetCursor(WindowId id, StandardCursor cursor) override;

    void OfferClipboard(const std::vector<ClipboardItem>& items) override;
    [[nodiscard]] std::vector<std::string> ClipboardFormats() override;
    [[nodiscard]] std::optional<std::string> ClipboardData(const std::string& format) override;

    // The test's side: input. Events without a time get the kernel clock's; the helpers fill in
    // screen coordinates from the window's position and keep the pointer position.
    void InjectEvent(DisplayEvent event);
    void InjectKey(WindowId id, unsigned virtualKey, bool down, std::string text = {},
                   unsigned modifiers = 0);
    // A key going down (typing `text`) and up again.
    void InjectKeyPress(WindowId id, unsigned virtualKey, std::string text = {},
                        unsigned modifiers = 0);
    // A key pressed with `modifiers` (ModShift, ModControl, ModAlt) held around it; the modifiers
    // go down and up as keys of their own, so that GetKeyState sees them too.
    void InjectKeyChord(WindowId id, unsigned virtualKey, unsigned modifiers, std::string text = {});
    void InjectText(WindowId id, std::string text);
    void InjectMouseMove(WindowId id, POINT windowPoint, unsigned modifiers = 0);
    void InjectMouseButton(WindowId id, POINT windowPoint, MouseButton button, bool down,
                           unsigned modifiers = 0);
    // Move there, press and release.
    void InjectClick(WindowId id, POINT windowPoint, MouseButton button = MouseButton::Left);
    void InjectWheel(WindowId id, POINT windowPoint, int delta);
    // Another program takes the clipboard: our offer is replaced, and ClipboardLost is reported.
    void InjectForeignClipboard(const std::vector<ClipboardItem>& items);

    // The test's side: what is on the screen.
    [[nodiscard]] std::optional<WindowState> Window(WindowId id) const;
    // Bottom to top.
    [[nodiscard]] std::vector<WindowId> StackingOrder() const;
    [[nodiscard]] WindowId ActiveWindow() const;
    [[nodiscard]] WindowId PointerGrabWindow() const;
    // The presented pixel at window coordinates; nullopt outside what was presented.
    [[nodiscard]] std::optional<std::uint32_t> WindowPixel(WindowId id, int x, int y) const;
    // What the screen shows at a point: the topmost visible window whose shape covers it.
    [[nodiscard]] std::uint32_t ScreenPixel(int x, int y) const;
    void SetScreenRect(const RECT& screen, const RECT& workArea);

    // PNG files for people to look at; false when there is nothing to save or no file written.
    [[nodiscard]] bool SaveWindowPng(WindowId id, const std::filesystem::path& path) const;
    [[nodiscard]] bool SaveScreenPng(const std::filesystem::path& path) const;

private:
    WindowState* Find(WindowId id);
    const WindowState* Find(WindowId id) const;
    void Enqueue(DisplayEvent event);
    void RaiseLocked(WindowId id);
    [[nodiscard]] DisplayEvent PointerEvent(DisplayEvent::Kind kind, WindowId id, POINT windowPoint,
                                            unsigned modifiers);
    [[nodiscard]] std::uint32_t ScreenPixelLocked(int x, int y) const;

    mutable std::mutex m_mutex;
    int m_eventFd = -1;
    std::deque<DisplayEvent> m_events;
    std::map<WindowId, WindowState> m_windows;
    std::vector<WindowId> m_stacking;
    WindowId m_active = 0;
    WindowId m_grab = 0;
    std::optional<POINT> m_pointer;
    RECT m_screen{0, 0, 1024, 768};
    RECT m_workArea{0, 0, 1024, 768};
    std::vector<ClipboardItem> m_clipboard;
};

// Selects a fresh headless display and returns it (tests).
HeadlessDisplay& SelectHeadlessDisplay();
