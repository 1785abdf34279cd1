// GoogleTest first: Xlib's macros (Bool, Status) would spoil its declarations.
#include <gtest/gtest.h>

#include "platform/winapi/display/x11/X11Display.h"
#include "platform/winapi/display/x11/XlibPrivate.h"
#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/Xvfb.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace {

using Kind = DisplayEvent::Kind;
using Clock = std::chrono::steady_clock;

// Generous: the server runs on a loaded machine; nothing here measures speed.
constexpr auto PATIENCE = std::chrono::seconds(20);

constexpr std::uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, WHITE = 0xFFFFFF,
                        BLACK = 0x000000;

class X11DisplayTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (XvfbServer::Installed())
            s_server = std::make_unique<XvfbServer>();
    }
    static void TearDownTestSuite() { s_server.reset(); }

    void SetUp() override
    {
        if (!s_server)
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): the X11 backend is not tested";
        m_backend = OpenX11Display(s_server->Name());
        m_observer = XOpenDisplay(s_server->Name().c_str());
        ASSERT_NE(m_observer, nullptr);
    }

    void TearDown() override
    {
        m_backend.reset();
        if (m_observer)
            XCloseDisplay(m_observer);
    }

    // Reads the backend's events until one satisfies `wanted`; every event read is kept.
    bool PumpUntil(const std::function<bool(const DisplayEvent&)>& wanted)
    {
        const auto deadline = Clock::now() + PATIENCE;
        while (Clock::now() < deadline) {
            DisplayEvent event;
            while (m_backend->NextEvent(event)) {
                m_seen.push_back(event);
                if (wanted(event))
                    return true;
            }
            pollfd entry{m_backend->EventDescriptor(), POLLIN, 0};
            poll(&entry, 1, 200);
        }
        return false;
    }

    bool PumpUntilEvent(Kind kind, WindowId id)
    {
        return PumpUntil([&](const DisplayEvent& e) { return e.kind == kind && e.window == id; });
    }

    // Creates a shown top-level window and waits until the server shows it.
    void CreateShown(WindowId id, RECT rect, TopLevelKind kind = TopLevelKind::Normal)
    {
        m_backend->CreateTopLevel(id, TopLevelDesc{rect, kind, "Caf\xC3\xA9", 0});
        m_backend->ShowTopLevel(id, true);
        ASSERT_TRUE(PumpUntilEvent(Kind::Exposed, id)) << "window " << id << " never exposed";
    }

    std::uint32_t ScreenPixel(int x, int y)
    {
        XImage* image = XGetImage(m_observer, DefaultRootWindow(m_observer), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0xDEADBEEF;
        const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
        XDestroyImage(image);
        return pixel;
    }

    struct Probe {
        int x, y;
        std::uint32_t rgb;
    };

    // The screen is another client's view: wait until the server has drawn what was sent.
    ::testing::AssertionResult ScreenShows(std::initializer_list<Probe> probes)
    {
        std::string mismatch;
        const auto deadline = Clock::now() + PATIENCE;
        do {
            mismatch.clear();
            for (const Probe& p : probes) {
                const std::uint32_t actual = ScreenPixel(p.x, p.y);
                if (actual != p.rgb)
                    mismatch += " at " + std::to_string(p.x) + "," + std::to_string(p.y) + ": " +
                                std::to_string(actual) + " instead of " + std::to_string(p.rgb);
            }
            if (mismatch.empty())
                return ::testing::AssertionSuccess();
            DisplayEvent ignored;
            while (m_backend->NextEvent(ignored))
                m_seen.push_back(ignored);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (Clock::now() < deadline);
        return ::testing::AssertionFailure() << "screen differs" << mismatch;
    }

    Window Native(WindowId id) const { return m_backend->NativeWindow(id); }

    static std::unique_ptr<XvfbServer> s_server;
    std::unique_ptr<X11DisplayBackend> m_backend;
    XDisplay* m_observer = nullptr;
    std::vector<DisplayEvent> m_seen;
};

std::unique_ptr<XvfbServer> X11DisplayTest::s_server;

void FillRect(Surface& surface, RECT r, std::uint32_t pixel)
{
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(surface.Row(y) + r.left, surface.Row(y) + r.right, pixel);
}

TEST_F(X11DisplayTest, PresentedPixelsAppearWhereTheWindowIsAndOnlyTheDirtyAreaIsSent)
{
    CreateShown(1, RECT{40, 30, 160, 110});
    Surface surface(120, 80);
    FillRect(surface, RECT{0, 0, 60, 80}, 0xFF000000 | RED);
    FillRect(surface, RECT{60, 0, 120, 80}, 0xFF000000 | BLUE);
    m_backend->Present(1, surface, {RECT{0, 0, 120, 80}});
    EXPECT_TRUE(ScreenShows({{40, 30, RED}, {99, 109, RED}, {100, 30, BLUE}, {159, 109, BLUE},
                             {39, 30, BLACK}, {160, 30, BLACK}, {40, 110, BLACK}}));

    surface.Fill(0xFF000000 | GREEN);
    m_backend->Present(1, surface, {RECT{10, 10, 20, 20}});
    EXPECT_TRUE(ScreenShows({{50, 40, GREEN}, {59, 49, GREEN}, {60, 50, RED}, {49, 40, RED},
                             {130, 60, BLUE}}));

    m_backend->MoveTopLevel(1, RECT{200, 100, 320, 180});
    m_backend->Present(1, surface, {RECT{0, 0, 120, 80}});
    EXPECT_TRUE(ScreenShows({{200, 100, GREEN}, {319, 179, GREEN}, {40, 30, BLACK}}));
}

// Another program's window closes over ours while we ask the server something: the exposure
// arrives with the reply, so only the backend can tell that it waits.
TEST_F(X11DisplayTest, AnExposureReadWithAReplyIsReportedThoughTheDescriptorStaysQuiet)
{
    CreateShown(1, RECT{40, 30, 160, 110});
    DisplayEvent event;
    while (m_backend->NextEvent(event)) {
    }
    const Window cover = XCreateSimpleWindow(m_observer, DefaultRootWindow(m_observer), 20, 20, 200, 120, 0, 0, 0);
    XSetWindowAttributes placeExactly{};
    placeExactly.override_redirect = True;
    XChangeWindowAttributes(m_observer, cover, CWOverrideRedirect, &placeExactly);
    XMapRaised(m_observer, cover);
    XSync(m_observer, False);
    XDestroyWindow(m_observer, cover);
    XSync(m_observer, False);

    (void)m_backend->PointerPosition();
    pollfd entry{m_backend->EventDescriptor(), POLLIN, 0};
    EXPECT_EQ(poll(&entry, 1, 0), 0);
    EXPECT_TRUE(m_backend->EventsAlreadyRead());
    EXPECT_TRUE(PumpUntilEvent(Kind::Exposed, 1));
}

TEST_F(X11DisplayTest, AShapedWindowLeavesTheBackgroundVisibleOutsideItsRegion)
{
    CreateShown(1, RECT{100, 100, 200, 200});
    m_backend->SetShape(1, std::vector<RECT>{RECT{0, 0, 50, 50}, RECT{50, 50, 100, 100}});
    Surface surface(100, 100);
    surface.Fill(0xFF000000 | WHITE);
    m_backend->Present(1, surface, {RECT{0, 0, 100, 100}});
    EXPECT_TRUE(ScreenShows({{110, 110, WHITE}, {190, 190, WHITE}, {160, 110, BLACK}, {110, 160, BLACK}}));

    m_backend->SetShape(1, std::nullopt);
    m_backend->Present(1, surface, {RECT{0, 0, 100, 100}});
    EXPECT_TRUE(ScreenShows({{160, 110, WHITE}, {110, 160, WHITE}}));
}

TEST_F(X11DisplayTest, APopupMapsWithoutTakingTheFocus)
{
    CreateShown(1, RECT{10, 10, 200, 200});
    m_backend->Activate(1);
    ASSERT_TRUE(PumpUntilEvent(Kind::FocusGained, 1));

    CreateShown(2, RECT{50, 50, 150, 150}, TopLevelKind::Popup);
    m_backend->Activate(2);
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_observer, Native(2), &attributes);
    EXPECT_TRUE(attributes.override_redirect);
    XWindowAttributes normal{};
    XGetWindowAttributes(m_observer, Native(1), &normal);
    EXPECT_FALSE(normal.override_redirect);

    XSync(m_observer, False);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_observer, &focus, &revert);
    EXPECT_EQ(focus, Native(1));
    for (const DisplayEvent& e : m_seen)
        EXPECT_FALSE(e.kind == Kind::FocusLost || (e.kind == Kind::FocusGained && e.window == 2));
}

TEST_F(X11DisplayTest, KeysArriveWithTheirVirtualKeyAndText)
{
    CreateShown(1, RECT{10, 10, 100, 100});
    struct Case {
        KeySym keysym;
        unsigned state;
        unsigned virtualKey;
        std::string text;
        unsigned modifiers;
    } cases[] = {
        {XK_a, 0, 'A', "a", 0},
        {XK_a, ShiftMask, 'A', "A", ModShift},
        {XK_c, ControlMask, 'C', "\x03", ModControl},
        {XK_1, 0, '1', "1", 0},
        {XK_comma, 0, VK_OEM_COMMA, ",", 0},
        {XK_Return, 0, VK_RETURN, "\r", 0},
        {XK_BackSpace, 0, VK_BACK, "\b", 0},
        {XK_Delete, 0, VK_DELETE, "", 0},
        {XK_F5, 0, VK_F5, "", 0},
        {XK_Left, 0, VK_LEFT, "", 0},
    };
    for (const Case& c : cases) {
        for (int type : {KeyPress, KeyRelease}) {
            XEvent xevent{};
            XKeyEvent& key = xevent.xkey;
            key.type = type;
            key.display = m_observer;
            key.window = Native(1);
            key.root = DefaultRootWindow(m_observer);
            key.time = CurrentTime;
            key.x = key.y = 5;
            key.x_root = key.y_root = 15;
            key.same_screen = True;
            key.keycode = XKeysymToKeycode(m_observer, c.keysym);
            key.state = c.state;
            XSendEvent(m_observer, Native(1), True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &xevent);
        }
        XFlush(m_observer);
        m_seen.clear();
        ASSERT_TRUE(PumpUntil([](const DisplayEvent& e) { return e.kind == Kind::Key && !e.down; }))
            << "keysym " << c.keysym;
        std::vector<DisplayEvent> keys;
        for (const DisplayEvent& e : m_seen)
            if (e.kind == Kind::Key)
                keys.push_back(e);
        ASSERT_EQ(keys.size(), 2u) << "keysym " << c.keysym;
        EXPECT_TRUE(keys[0].down);
        EXPECT_FALSE(keys[0].repeat);
        EXPECT_EQ(keys[0].window, 1u);
        EXPECT_EQ(keys[0].virtualKey, c.virtualKey) << "keysym " << c.keysym;
        EXPECT_EQ(keys[0].text, c.text) << "keysym " << c.keysym;
        EXPECT_EQ(keys[0].modifiers, c.modifiers) << "keysym " << c.keysym;
        EXPECT_EQ(keys[1].virtualKey, c.virtualKey);
        EXPECT_EQ(keys[1].text, "");
    }
}

TEST_F(X11DisplayTest, TheWindowManagersCloseRequestAndTheTitleAreWhatTheWindowSystemGave)
{
    CreateShown(1, RECT{10, 10, 100, 100});
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = Native(1);
    message.xclient.message_type = XInternAtom(m_observer, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(m_observer, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_observer, Native(1), False, NoEventMask, &message);
    XFlush(m_observer);
    EXPECT_TRUE(PumpUntilEvent(Kind::CloseRequest, 1));

    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(m_observer, Native(1), XInternAtom(m_observer, "_NET_WM_NAME", False), 0, 64,
                       False, AnyPropertyType, &type, &format, &count, &remaining, &data);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), count), "Caf\xC3\xA9");
    XFree(data);
}

TEST_F(X11DisplayTest, ButtonsAndTheWheelArriveWithTheirPosition)
{
    CreateShown(1, RECT{30, 40, 130, 140});
    const auto send = [&](int type, unsigned button, unsigned state) {
        XEvent xevent{};
        XButtonEvent& press = xevent.xbutton;
        press.type = type;
        press.window = Native(1);
        press.root = DefaultRootWindow(m_observer);
        press.x = 7;
        press.y = 9;
        press.x_root = 37;
        press.y_root = 49;
        press.button = button;
        press.state = state;
        press.same_screen = True;
        XSendEvent(m_observer, Native(1), True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &xevent);
    };
    send(ButtonPress, Button3, 0);
    send(ButtonRelease, Button3, Button3Mask);
    send(ButtonPress, Button4, 0);
    send(ButtonRelease, Button4, 0);
    send(ButtonPress, Button5, ShiftMask);
    send(ButtonRelease, Button5, ShiftMask);
    XFlush(m_observer);
    ASSERT_TRUE(PumpUntil([](const DisplayEvent& e) { return e.kind == Kind::Wheel && e.wheelDelta < 0; }));

    std::vector<DisplayEvent> input;
    for (const DisplayEvent& e : m_seen)
        if (e.kind == Kind::MouseButton || e.kind == Kind::Wheel)
            input.push_back(e);
    ASSERT_EQ(input.size(), 4u);
    EXPECT_EQ(input[0].kind, Kind::MouseButton);
    EXPECT_EQ(input[0].button, MouseButton::Right);
    EXPECT_TRUE(input[0].down);
    EXPECT_EQ(input[0].x, 7);
    EXPECT_EQ(input[0].screenY, 49);
    EXPECT_FALSE(input[1].down);
    EXPECT_EQ(input[1].modifiers, ModRightButton);
    EXPECT_EQ(input[2].wheelDelta, DISPLAY_WHEEL_DELTA);
    EXPECT_EQ(input[3].wheelDelta, -DISPLAY_WHEEL_DELTA);
    EXPECT_EQ(input[3].modifiers, ModShift);
}

TEST_F(X11DisplayTest, MinimisingAndRestoringByTheWindowManagerAreReported)
{
    CreateShown(1, RECT{10, 10, 100, 100});
    const Atom wmState = XInternAtom(m_observer, "WM_STATE", False);
    const auto setState = [&](long state) {
        const long value[2] = {state, 0};
        XChangeProperty(m_observer, Native(1), wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 2);
        XFlush(m_observer);
    };
    setState(IconicState);
    EXPECT_TRUE(PumpUntilEvent(Kind::Iconify, 1));
    setState(NormalState);
    EXPECT_TRUE(PumpUntilEvent(Kind::Restore, 1));
}

// Input keeps the spacing of the server's timestamps, however late the program reads it: two
// clicks 100 ms apart stay 100 ms apart (a double click) after the program was busy for longer.
TEST_F(X11DisplayTest, InputKeepsTheServersSpacingInTime)
{
    CreateShown(1, RECT{10, 10, 110, 110});
    for (const Time time : {Time{5000}, Time{5100}}) {
        XEvent press{};
        press.xbutton.type = ButtonPress;
        press.xbutton.window = Native(1);
        press.xbutton.root = DefaultRootWindow(m_observer);
        press.xbutton.time = time;
        press.xbutton.x = 20;
        press.xbutton.y = 20;
        press.xbutton.button = Button1;
        press.xbutton.same_screen = True;
        XSendEvent(m_observer, Native(1), False, ButtonPressMask, &press);
    }
    XSync(m_observer, False);
    FakeClock clock;
    std::vector<std::uint32_t> times;
    ASSERT_TRUE(PumpUntil([&](const DisplayEvent& event) {
        if (event.kind == Kind::MouseButton) {
            times.push_back(event.timeMs);
            clock.Advance(1000); // the program busy elsewhere before it reads the next
        }
        return times.size() == 2;
    }));
    EXPECT_EQ(times[1] - times[0], 100U);
}

// The program moves and sizes its window faster than the server answers, and raises it: each
// answer reports a placement the program has already left, which is no news. A move by another
// client (a window manager, a user) is.
TEST_F(X11DisplayTest, OnlyAPlacementTheProgramDidNotAskForIsReported)
{
    CreateShown(1, RECT{10, 10, 110, 110});
    RECT last{};
    for (int step = 1; step <= 5; ++step) {
        last = RECT{10 + step, 10, 110 + 2 * step, 110 - step};
        m_backend->MoveTopLevel(1, last);
    }
    m_backend->Raise(1);
    m_backend->MoveTopLevel(1, last);
    const auto placedLast = [&] {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(m_observer, Native(1), &attributes) && attributes.x == last.left &&
               attributes.width == last.right - last.left && attributes.height == last.bottom - last.top;
    };
    const auto deadline = Clock::now() + PATIENCE;
    while (!placedLast() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(placedLast());

    XMoveResizeWindow(m_observer, Native(1), 200, 150, 80, 60);
    XFlush(m_observer);
    ASSERT_TRUE(PumpUntilEvent(Kind::Moved, 1));
    std::vector<RECT> moves;
    for (const DisplayEvent& event : m_seen)
        if (event.kind == Kind::Moved)
            moves.push_back(event.rect);
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(moves[0].left, 200);
    EXPECT_EQ(moves[0].top, 150);
    EXPECT_EQ(moves[0].right, 280);
    EXPECT_EQ(moves[0].bottom, 210);
}

// Answers another connection's requests on its own thread, as the GUI thread of another
// program would, and records what it was told.
class EventPump {
public:
    explicit EventPump(DisplayBackend& backend)
        : m_backend(backend), m_stop(eventfd(0, EFD_CLOEXEC)), m_thread([this] { Run(); })
    {
    }
    ~EventPump()
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto written = write(m_stop, &one, sizeof one);
        m_thread.join();
        close(m_stop);
    }

    bool AwaitEvent(Kind kind)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, PATIENCE, [&] {
            return std::any_of(m_events.begin(), m_events.end(), [&](const DisplayEvent& e) { return e.kind == kind; });
        });
    }

private:
    void Run()
    {
        for (;;) {
            DisplayEvent event;
            while (m_backend.NextEvent(event)) {
                std::lock_guard lock(m_mutex);
                m_events.push_back(event);
                m_changed.notify_all();
            }
            pollfd entries[2] = {{m_backend.EventDescriptor(), POLLIN, 0}, {m_stop, POLLIN, 0}};
            poll(entries, 2, -1);
            if (entries[1].revents)
                return;
        }
    }

    DisplayBackend& m_backend;
    int m_stop;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<DisplayEvent> m_events;
    std::thread m_thread;
};

TEST_F(X11DisplayTest, TheClipboardTravelsBetweenTwoConnectionsByFormatName)
{
    auto owner = OpenX11Display(s_server->Name());
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC";
    const std::string rtf = std::string("{\\rtf1 x}\0binary", 16);
    owner->OfferClipboard({{CLIPBOARD_TEXT_FORMAT, text}, {"Rich Text Format", rtf}});
    EventPump pump(*owner);

    const auto formats = m_backend->ClipboardFormats();
    EXPECT_NE(std::find(formats.begin(), formats.end(), CLIPBOARD_TEXT_FORMAT), formats.end());
    EXPECT_NE(std::find(formats.begin(), formats.end(), "Rich Text Format"), formats.end());
    EXPECT_EQ(m_backend->ClipboardData(CLIPBOARD_TEXT_FORMAT), text);
    EXPECT_EQ(m_backend->ClipboardData("Rich Text Format"), rtf);
    EXPECT_EQ(m_backend->ClipboardData("Not Offered"), std::nullopt);

    m_backend->OfferClipboard({{CLIPBOARD_TEXT_FORMAT, "mine"}});
    EXPECT_TRUE(pump.AwaitEvent(Kind::ClipboardLost));
    EXPECT_EQ(m_backend->ClipboardData(CLIPBOARD_TEXT_FORMAT), "mine");
}

} // namespace
