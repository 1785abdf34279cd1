#include "platform/winapi/user/WinUser.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/Xdotool.h"
#include "tests/support/WindowManager.h"
#include "tests/support/Xvfb.h"
#include "tests/support/XScreenshot.h"
#include "tools/windemo/DemoLayout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Generous: the demo starts slowly under the sanitizers on a loaded machine.
constexpr auto PATIENCE = 60s;

std::uint32_t Rgb(COLORREF color) { return GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color); }

// Where the demo's window parts lie on the screen.
struct DemoGeometry {
    int frame = GetSystemMetrics(SM_CYFRAME);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    POINT clientOrigin{windemo::WINDOW_RECT.left + frame, windemo::WINDOW_RECT.top + frame + caption};

    [[nodiscard]] POINT Client(int x, int y) const { return {clientOrigin.x + x, clientOrigin.y + y}; }
    [[nodiscard]] POINT ChildCentre() const
    {
        const RECT& c = windemo::CHILD_RECT;
        return Client((c.left + c.right) / 2, (c.top + c.bottom) / 2);
    }
};

class WinDemoTest : public ::testing::Test {
protected:
    TempDir m_dir;
};

// The demo on a private X server, looked at from outside, on the bare server and under a window
// manager.
class WinDemoOnXTest : public WinDemoTest, public testing::WithParamInterface<Desktop> {
protected:
    void SetUp() override
    {
        if (!XvfbServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): the demo is not looked at on X";
        if (!DesktopAvailable(GetParam()))
            GTEST_SKIP() << "openbox is not installed (Debian package openbox)";
        m_server = std::make_unique<XvfbServer>();
        m_windowManager = StartDesktop(GetParam(), m_server->Name(), m_dir.Path());
    }

    void TearDown() override
    {
        m_demo.reset();
        m_windowManager.reset();
    }

    // Starts the demo with `args` and returns the first screenshot that `shows` accepts (the last
    // one taken when none does in time).
    Screenshot AwaitScreen(const std::vector<std::string>& args, const std::function<bool(const Screenshot&)>& shows)
    {
        std::vector<std::string> all = args;
        all.insert(all.end(), {"--quit-after", "600000"});
        m_demo = std::make_unique<ChildProgram>(WINDEMO_PROGRAM, all, ChildProgram::Environment{{"DISPLAY", m_server->Name()}, {"MODEM_DISPLAY", ""}},
                                               m_dir / "stderr.txt");
        Screenshot shot;
        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        while (m_demo->Running() && std::chrono::steady_clock::now() < deadline) {
            if (auto taken = TakeXScreenshot(m_server->Name())) {
                shot = std::move(*taken);
                if (shows(shot))
                    break;
            }
            std::this_thread::sleep_for(50ms);
        }
        EXPECT_TRUE(m_demo->Running()) << ReadWholeFile(m_dir / "stderr.txt");
        return shot;
    }

    [[nodiscard]] bool ClientShown(const Screenshot& shot) const
    {
        const POINT client = m_at.Client(10, 10);
        return shot.At(client.x, client.y) == m_face && shot.At(m_at.ChildCentre().x, m_at.ChildCentre().y) == Rgb(windemo::CHILD_COLOR);
    }

    [[nodiscard]] std::uint32_t CaptionStart(const Screenshot& shot) const
    {
        return shot.At(windemo::WINDOW_RECT.left + m_at.frame, windemo::WINDOW_RECT.top + m_at.frame + m_at.caption / 2);
    }

    // The box stands over the main window's client area with the active caption; the main
    // window's caption turns inactive.
    [[nodiscard]] bool BoxShown(const Screenshot& shot) const
    {
        if (CaptionStart(shot) != Rgb(GetSysColor(COLOR_INACTIVECAPTION)))
            return false;
        const RECT& window = windemo::WINDOW_RECT;
        for (int y = m_at.clientOrigin.y; y < window.bottom; ++y)
            for (int x = m_at.clientOrigin.x; x < window.right; ++x)
                if (shot.At(x, y) == m_activeCaption)
                    return true;
        return false;
    }

    DemoGeometry m_at;
    std::uint32_t m_face = Rgb(GetSysColor(COLOR_BTNFACE));
    std::uint32_t m_activeCaption = Rgb(GetSysColor(COLOR_ACTIVECAPTION));
    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<WindowManager> m_windowManager;
    std::unique_ptr<ChildProgram> m_demo;
};

TEST_P(WinDemoOnXTest, ShowsCaptionClientAndChild)
{
    const Screenshot shot = AwaitScreen({}, [&](const Screenshot& s) { return ClientShown(s); });
    ASSERT_TRUE(ClientShown(shot));

    // The caption band starts just inside the frame, in the active caption colour (the gradient's
    // left end); the frame around it and the desktop beside the window are something else.
    const RECT& window = windemo::WINDOW_RECT;
    const int captionY = window.top + m_at.frame + m_at.caption / 2;
    EXPECT_EQ(CaptionStart(shot), m_activeCaption);
    EXPECT_EQ(shot.At(window.left + m_at.frame, window.top + m_at.frame), m_activeCaption);
    EXPECT_NE(shot.At(window.left + 1, captionY), m_activeCaption);
    EXPECT_NE(shot.At(window.left + m_at.frame, window.top + 1), m_activeCaption);
    EXPECT_NE(shot.At(window.left - 5, captionY), m_activeCaption);
    // The client area starts right below the caption and ends at the frame.
    EXPECT_NE(shot.At(window.left + m_at.frame, m_at.clientOrigin.y - 2), m_face);
    EXPECT_EQ(shot.At(window.left + m_at.frame, m_at.clientOrigin.y), m_face);
    EXPECT_NE(shot.At(m_at.clientOrigin.x, window.bottom + 5), m_face);
}

TEST_P(WinDemoOnXTest, PopupMenuOpensWhereAsked)
{
    // The menu's items are text on the menu colour: dark pixels where the client area is plain.
    const auto menuShown = [&](const Screenshot& s) {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                const POINT p = m_at.Client(windemo::MENU_POINT.x + x, windemo::MENU_POINT.y + y);
                if (s.At(p.x, p.y) == 0x000000)
                    return ClientShown(s);
            }
        return false;
    };
    EXPECT_TRUE(menuShown(AwaitScreen({"--menu"}, menuShown)));
}

TEST_P(WinDemoOnXTest, MessageBoxTakesTheActiveCaption)
{
    const auto boxShown = [&](const Screenshot& s) { return BoxShown(s); };
    EXPECT_TRUE(BoxShown(AwaitScreen({"--message-box"}, boxShown)));
}

// The box is modal: the main window's caption buttons, clicked as a user would, neither close
// nor maximise it, and it stays painted; once the box is answered the main window is active again.
TEST_P(WinDemoOnXTest, TheOwnerOfTheMessageBoxIgnoresItsCaptionButtons)
{
    const auto xdotool = Xdotool::Find(m_server->Name(), m_dir / "xdotool.txt");
    if (!xdotool)
        GTEST_SKIP() << "xdotool is not installed (Debian package xdotool): the caption buttons are not clicked";
    const auto boxShown = [&](const Screenshot& s) { return BoxShown(s); };
    ASSERT_TRUE(BoxShown(AwaitScreen({"--message-box"}, boxShown)));

    const RECT& window = windemo::WINDOW_RECT;
    const int buttonY = window.top + m_at.frame + 8;
    const int closeX = window.right - m_at.frame - 2 - 8;
    ASSERT_TRUE(xdotool->Click(closeX, buttonY)) << ReadWholeFile(m_dir / "xdotool.txt");
    ASSERT_TRUE(xdotool->Click(closeX - 16 - 2, buttonY)) << ReadWholeFile(m_dir / "xdotool.txt");
    std::this_thread::sleep_for(500ms); // time for the clicks to have done whatever they do
    const auto shot = TakeXScreenshot(m_server->Name());
    ASSERT_TRUE(shot);
    ASSERT_TRUE(m_demo->Running()) << ReadWholeFile(m_dir / "stderr.txt");
    EXPECT_TRUE(BoxShown(*shot));
    // The client area's corners, beside the box, in the face colour.
    for (const POINT corner : {m_at.Client(10, 10), m_at.Client(380, 10), m_at.Client(10, 250), m_at.Client(380, 250)})
        EXPECT_EQ(shot->At(corner.x, corner.y), m_face) << corner.x << "," << corner.y;
    EXPECT_NE(shot->At(window.right + 20, window.bottom + 20), m_face); // not maximised

    ASSERT_TRUE(xdotool->Key("Return")) << ReadWholeFile(m_dir / "xdotool.txt");
    const auto ownerActive = [&](const Screenshot& s) { return CaptionStart(s) == m_activeCaption && ClientShown(s); };
    Screenshot after;
    const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
    while (!ownerActive(after) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(50ms);
        if (auto taken = TakeXScreenshot(m_server->Name()))
            after = std::move(*taken);
    }
    EXPECT_TRUE(ownerActive(after));
    EXPECT_TRUE(m_demo->Running());
}

INSTANTIATE_TEST_SUITE_P(Desktops, WinDemoOnXTest, testing::Values(Desktop::Bare, Desktop::Managed),
                         [](const testing::TestParamInfo<Desktop>& row) { return DesktopName(row.param); });

TEST_F(WinDemoTest, HeadlessRunSavesTheScreenWithThePopupMenu)
{
    const auto png = m_dir / "screen.png";
    ChildProgram demo(WINDEMO_PROGRAM, {"--menu", "--screenshot", png.string()}, {{"MODEM_DISPLAY", "headless"}}, m_dir / "stderr.txt");
    ASSERT_EQ(demo.AwaitExit(), 0) << ReadWholeFile(m_dir / "stderr.txt");
    EXPECT_EQ(ReadWholeFile(png).substr(0, 8), "\x89PNG\r\n\x1A\n");
}

TEST_F(WinDemoTest, NoReachableDisplayIsAClearError)
{
    EXPECT_TRUE(EndsClearlyWithoutDisplay(WINDEMO_PROGRAM, "windemo", m_dir.Path()));
}

TEST_F(WinDemoTest, UnknownOptionsAreRefused)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--no-such-option"},
                                                 std::vector<std::string>{"--quit-after", "soon"}}) {
        ChildProgram demo(WINDEMO_PROGRAM, args, {{"MODEM_DISPLAY", "headless"}}, m_dir / "stderr.txt");
        EXPECT_EQ(demo.AwaitExit(), 2);
        EXPECT_NE(ReadWholeFile(m_dir / "stderr.txt").find("usage"), std::string::npos);
    }
}

} // namespace
