// The manager's skinned main window handled from outside, as a window manager handles it (or the
// server itself, on the bare desktop): moved, minimised and restored (under a window manager),
// and closed from its own frame. It must go on answering clicks where the screen shows it.

#include "ManagerOnXFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace {

// Points of the window, from its top-left corner: the skin's caption buttons, and the page
// buttons below the caption.
struct TWindowPoint {
    int x;
    int y;
};
constexpr TWindowPoint MinimiseButton{369, 12};
constexpr TWindowPoint CloseButton{415, 12};
constexpr TWindowPoint PhonebookPageButton{4 + 4 + 82 * 3 + 40, 26 + 24};

class ManagerWindowOnXTest : public ManagerOnXFixture {
protected:
    [[nodiscard]] std::optional<Xdotool::Place> MainWindow() const
    {
        const auto windows = m_input->ShownWindows("USB MODEM");
        return windows.size() == 1 ? std::optional(windows.front()) : std::nullopt;
    }

    [[nodiscard]] bool Painted(const Xdotool::Place& window) const
    {
        return m_input->ScreenPixel(window.left + window.width / 2, window.top + m_frame.titleHeight / 3) ==
               m_frame.titleColour;
    }

    [[nodiscard]] bool ClickAt(const Xdotool::Place& window, TWindowPoint point) const
    {
        return m_input->Click(window.left + point.x, window.top + point.y);
    }

    TSkinFrame m_frame = ReadSkinFrame();
};

TEST_P(ManagerWindowOnXTest, MovedMinimisedRestoredAndClosedFromOutside)
{
    StartManager();
    ASSERT_TRUE(AwaitAnswering(
        [&] { return m_modem->GetTranscript().Text().find("AT+CSQ") != std::string::npos && MainWindow(); },
        "the main window"));

    ASSERT_TRUE(m_input->MoveWindow("USB MODEM", 120, 90));
    std::optional<Xdotool::Place> window;
    ASSERT_TRUE(AwaitAnswering([&] { return (window = MainWindow()) && window->left == 120 && window->top == 90 && Painted(*window); },
                               "the window moved and painted"));
    // The window system knows where it is: a click on the phonebook's page button there opens it.
    const Screenshot before = *TakeXScreenshot(m_server->Name());
    ASSERT_TRUE(ClickAt(*window, PhonebookPageButton));
    const Screenshot after = AwaitStillScreen(
        m_server->Name(), [&](const Screenshot& shot) { return shot.pixels != before.pixels; }, std::chrono::milliseconds(250),
        Patience);
    EXPECT_NE(after.pixels, before.pixels) << "the click where the window is now was not taken";

    // Minimised by its own button, it leaves the screen; the window manager brings it back (on the
    // bare desktop nothing could).
    if (GetParam() == Desktop::Managed) {
        ASSERT_TRUE(ClickAt(*window, MinimiseButton));
        ASSERT_TRUE(AwaitAnswering([&] { return !Painted(*window); }, "the window minimised"));
        ASSERT_TRUE(m_input->ActivateWindow("USB MODEM"));
        ASSERT_TRUE(AwaitAnswering([&] { return (window = MainWindow()) && Painted(*window); }, "the window restored"));
        EXPECT_EQ(window->left, 120);
        EXPECT_EQ(window->top, 90);
    }

    // Closed from its own frame, the program ends well.
    ASSERT_TRUE(ClickAt(*window, CloseButton));
    EXPECT_EQ(m_manager->AwaitExit(), 0) << Errors();
}

INSTANTIATE_ON_EVERY_DESKTOP(ManagerWindowOnXTest);

} // namespace
