#include "platform/winapi/display/headless/PngWriter.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreenshot.h"
#include "tests/support/Xvfb.h"
#include "tools/griddemo/GridDemoLayout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Generous: the demo starts slowly under the sanitizers on a loaded machine.
constexpr auto PATIENCE = 60s;

std::uint32_t Rgb(COLORREF color) { return GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color); }

// The demo on a private X server, looked at from outside. The picture stays in the build tree for
// a developer to look at.
class GridDemoOnXTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!XvfbServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): the demo is not looked at on X";
        m_server = std::make_unique<XvfbServer>(800, 600);
    }

    // The grid on the screen.
    [[nodiscard]] RECT Grid() const
    {
        const RECT& window = griddemo::WINDOW_RECT;
        const int left = window.left + GetSystemMetrics(SM_CXFRAME);
        const int top = window.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION);
        RECT grid = griddemo::GRID;
        (void)OffsetRect(&grid, left, top);
        return grid;
    }

    // How many pixels of a horizontal band of the grid (from y, `height` high) have `color`.
    [[nodiscard]] static int Count(const Screenshot& shot, const RECT& grid, int y, int height, std::uint32_t color)
    {
        int count = 0;
        for (int row = y; row < y + height; ++row)
            for (int x = grid.left + 20; x < grid.right - 30; ++x)
                count += shot.At(x, row) == color ? 1 : 0;
        return count;
    }

    // The footer band along the grid's bottom edge is painted in the footer colour.
    [[nodiscard]] bool Shown(const Screenshot& shot) const
    {
        const RECT grid = Grid();
        return Count(shot, grid, grid.bottom - 12, 4, Rgb(griddemo::FOOTER_COLOR)) > 100;
    }

    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<ChildProgram> m_demo;
    TempDir m_dir;
};

TEST_F(GridDemoOnXTest, ShowsTitlesRowsAndFooters)
{
    m_demo = std::make_unique<ChildProgram>(
        GRIDDEMO_PROGRAM,
        std::vector<std::string>{"--database", (m_dir / "demo.db").string(), "--quit-after", "600000"},
        ChildProgram::Environment{{"DISPLAY", m_server->Name()}, {"MODEM_DISPLAY", ""}}, m_dir / "stderr.txt");
    Screenshot shot;
    const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
    while (m_demo->Running() && std::chrono::steady_clock::now() < deadline) {
        if (auto taken = TakeXScreenshot(m_server->Name())) {
            shot = std::move(*taken);
            if (Shown(shot))
                break;
        }
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_TRUE(m_demo->Running()) << ReadWholeFile(m_dir / "stderr.txt");
    ASSERT_TRUE(WritePngFile(GRIDDEMO_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    ASSERT_TRUE(Shown(shot));

    const RECT grid = Grid();
    const std::uint32_t face = Rgb(GetSysColor(COLOR_BTNFACE));
    const std::uint32_t ink = Rgb(GetSysColor(COLOR_WINDOWTEXT));
    // The title row: face colour with dark captions.
    EXPECT_GT(Count(shot, grid, grid.top + 2, 14, face), 1000);
    EXPECT_GT(Count(shot, grid, grid.top + 2, 14, ink), 20);
    // Data rows in both row colours, with text.
    EXPECT_GT(Count(shot, grid, grid.top + 60, 80, Rgb(griddemo::ODD_ROW_COLOR)), 1000);
    EXPECT_GT(Count(shot, grid, grid.top + 60, 80, Rgb(GetSysColor(COLOR_WINDOW))), 1000);
    EXPECT_GT(Count(shot, grid, grid.top + 60, 80, ink), 200);
    // The footer carries its texts (the total, the count and the sums).
    EXPECT_GT(Count(shot, grid, grid.bottom - 18, 16, ink), 60);
}

} // namespace
