#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/Surface.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <thread>

namespace {

constexpr std::uint32_t RED = 0xFFFF0000, GREEN = 0xFF00FF00, BLUE = 0xFF0000FF;

bool Readable(int descriptor, int timeoutMs)
{
    pollfd entry{descriptor, POLLIN, 0};
    return poll(&entry, 1, timeoutMs) == 1;
}

class HeadlessDisplayTest : public testing::Test {
protected:
    void CreateShown(WindowId id, RECT rect, TopLevelKind kind = TopLevelKind::Normal)
    {
        m_display.CreateTopLevel(id, TopLevelDesc{rect, kind, "Window", 0});
        m_display.ShowTopLevel(id, true);
    }

    void PresentFilled(WindowId id, int width, int height, std::uint32_t pixel)
    {
        Surface surface(width, height);
        surface.Fill(pixel);
        m_display.Present(id, surface, {RECT{0, 0, width, height}});
    }

    std::vector<DisplayEvent> Drain()
    {
        std::vector<DisplayEvent> events;
        DisplayEvent event;
        while (m_display.NextEvent(event))
            events.push_back(event);
        return events;
    }

    HeadlessDisplay m_display;
};

TEST_F(HeadlessDisplayTest, ShowsOnlyTheDirtyRectanglesOfAPresent)
{
    CreateShown(1, RECT{10, 20, 50, 40});
    PresentFilled(1, 40, 20, RED);
    Surface surface(40, 20);
    surface.Fill(BLUE);
    m_display.Present(1, surface, {RECT{5, 5, 10, 8}, RECT{30, -4, 60, 2}});

    EXPECT_EQ(m_display.WindowPixel(1, 5, 5), BLUE);
    EXPECT_EQ(m_display.WindowPixel(1, 9, 7), BLUE);
    EXPECT_EQ(m_display.WindowPixel(1, 10, 7), RED);
    EXPECT_EQ(m_display.WindowPixel(1, 4, 5), RED);
    EXPECT_EQ(m_display.WindowPixel(1, 39, 0), BLUE); // clipped to the surface, not dropped
    EXPECT_EQ(m_display.WindowPixel(1, 39, 2), RED);
    EXPECT_EQ(m_display.WindowPixel(1, 40, 0), std::nullopt);
    EXPECT_EQ(m_display.ScreenPixel(10 + 5, 20 + 5), BLUE);
}

TEST_F(HeadlessDisplayTest, ScreenComposesStackingShapesAndVisibility)
{
    CreateShown(1, RECT{0, 0, 100, 100});
    PresentFilled(1, 100, 100, RED);
    CreateShown(2, RECT{50, 50, 150, 150}, TopLevelKind::Popup);
    PresentFilled(2, 100, 100, GREEN);
    m_display.SetShape(2, std::vector<RECT>{RECT{0, 0, 20, 20}});
    CreateShown(3, RECT{0, 0, 10, 10});
    PresentFilled(3, 10, 10, BLUE);
    m_display.ShowTopLevel(3, false);

    struct Case {
        int x, y;
        std::uint32_t expected;
    } cases[] = {
        {5, 5, RED},                                 // the hidden window shows nothing
        {55, 55, GREEN},                             // the popup is on top, inside its shape
        {80, 80, RED},                               // outside the shape the window below shows
        {120, 120, HeadlessDisplay::DESKTOP_COLOR},  // nor does the shape's outside cover the desktop
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_display.ScreenPixel(c.x, c.y), c.expected) << c.x << "," << c.y;

    m_display.Raise(1);
    EXPECT_EQ(m_display.ScreenPixel(55, 55), RED);
    m_display.SetShape(2, std::nullopt);
    m_display.Raise(2);
    EXPECT_EQ(m_display.ScreenPixel(120, 120), GREEN);
    m_display.SetShape(2, std::vector<RECT>{});
    EXPECT_EQ(m_display.ScreenPixel(55, 55), RED);
}

TEST_F(HeadlessDisplayTest, InjectedEventsComeOutInOrderWhileTheDescriptorIsReadable)
{
    CreateShown(7, RECT{100, 200, 300, 400});
    EXPECT_FALSE(Readable(m_display.EventDescriptor(), 0));

    m_display.InjectKeyPress(7, 'A', "a", ModShift);
    m_display.InjectClick(7, POINT{3, 4}, MouseButton::Right);
    m_display.InjectWheel(7, POINT{5, 6}, -DISPLAY_WHEEL_DELTA);
    EXPECT_TRUE(Readable(m_display.EventDescriptor(), 0));

    const auto events = Drain();
    EXPECT_FALSE(Readable(m_display.EventDescriptor(), 0));
    ASSERT_EQ(events.size(), 6u);
    using Kind = DisplayEvent::Kind;
    EXPECT_EQ(events[0].kind, Kind::Key);
    EXPECT_TRUE(events[0].down);
    EXPECT_EQ(events[0].virtualKey, 'A');
    EXPECT_EQ(events[0].text, "a");
    EXPECT_EQ(events[0].modifiers, ModShift);
    EXPECT_EQ(events[1].kind, Kind::Key);
    EXPECT_FALSE(events[1].down);
    EXPECT_EQ(events[1].text, "");
    EXPECT_EQ(events[2].kind, Kind::MouseMove);
    EXPECT_EQ(events[3].kind, Kind::MouseButton);
    EXPECT_EQ(events[3].button, MouseButton::Right);
    EXPECT_TRUE(events[3].down);
    EXPECT_EQ(events[3].x, 3);
    EXPECT_EQ(events[3].screenX, 103);
    EXPECT_EQ(events[3].screenY, 204);
    EXPECT_FALSE(events[4].down);
    EXPECT_EQ(events[4].modifiers, ModRightButton);
    EXPECT_EQ(events[5].kind, Kind::Wheel);
    EXPECT_EQ(events[5].wheelDelta, -DISPLAY_WHEEL_DELTA);
    EXPECT_NE(events[5].timeMs, 0u);
    EXPECT_EQ(m_display.PointerPosition()->x, 105);
}

TEST_F(HeadlessDisplayTest, InjectionFromAnotherThreadWakesAWaitOnTheDescriptor)
{
    std::thread injector([&] { m_display.InjectText(1, "\xC3\xA9"); });
    EXPECT_TRUE(Readable(m_display.EventDescriptor(), 30'000));
    injector.join();
    DisplayEvent event;
    ASSERT_TRUE(m_display.NextEvent(event));
    EXPECT_EQ(event.kind, DisplayEvent::Kind::Text);
    EXPECT_EQ(event.text, "\xC3\xA9");
}

TEST_F(HeadlessDisplayTest, ActivationReportsTheFocusChangeAndNeverFocusesAPopup)
{
    CreateShown(1, RECT{0, 0, 10, 10});
    CreateShown(2, RECT{0, 0, 10, 10});
    CreateShown(3, RECT{0, 0, 10, 10}, TopLevelKind::Popup);
    m_display.Activate(1);
    m_display.Activate(2);
    m_display.Activate(3);
    m_display.Activate(2);

    using Kind = DisplayEvent::Kind;
    const auto events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, Kind::FocusGained);
    EXPECT_EQ(events[0].window, 1u);
    EXPECT_EQ(events[1].kind, Kind::FocusLost);
    EXPECT_EQ(events[1].window, 1u);
    EXPECT_EQ(events[2].kind, Kind::FocusGained);
    EXPECT_EQ(events[2].window, 2u);
    EXPECT_EQ(m_display.ActiveWindow(), 2u);

    m_display.DestroyTopLevel(2);
    EXPECT_EQ(m_display.ActiveWindow(), 0u);
    EXPECT_FALSE(m_display.Window(2));
}

TEST_F(HeadlessDisplayTest, ClipboardKeepsTheOfferUntilAnotherProgramTakesIt)
{
    m_display.OfferClipboard({{CLIPBOARD_TEXT_FORMAT, "hello"}, {"Rich Text Format", "{\\rtf1}"}});
    EXPECT_EQ(m_display.ClipboardFormats(),
              (std::vector<std::string>{CLIPBOARD_TEXT_FORMAT, "Rich Text Format"}));
    EXPECT_EQ(m_display.ClipboardData("Rich Text Format"), "{\\rtf1}");
    EXPECT_EQ(m_display.ClipboardData("Other"), std::nullopt);

    m_display.InjectForeignClipboard({{CLIPBOARD_TEXT_FORMAT, "theirs"}});
    const auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, DisplayEvent::Kind::ClipboardLost);
    EXPECT_EQ(m_display.ClipboardData(CLIPBOARD_TEXT_FORMAT), "theirs");
}

TEST_F(HeadlessDisplayTest, CallsNamingUnknownWindowsDoNothing)
{
    Surface surface(4, 4);
    m_display.Present(99, surface, {RECT{0, 0, 4, 4}});
    m_display.Activate(99);
    m_display.MoveTopLevel(99, RECT{0, 0, 1, 1});
    m_display.CreateTopLevel(0, TopLevelDesc{});
    EXPECT_TRUE(m_display.StackingOrder().empty());
    EXPECT_TRUE(Drain().empty());
    EXPECT_FALSE(m_display.SaveWindowPng(99, "/nonexistent/never.png"));
}

} // namespace
