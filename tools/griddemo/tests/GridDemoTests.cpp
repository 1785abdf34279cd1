#include "platform/winapi/display/headless/PngWriter.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreenshot.h"
#include "tests/support/Xdotool.h"
#include "tests/support/Xvfb.h"
#include "tools/griddemo/GridDemoLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Generous: the demo starts slowly under the sanitizers on a loaded machine.
constexpr auto PATIENCE = 60s;

constexpr std::uint32_t BLUE = 0x0000FF;

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

    // How many pixels of a screen area have `color`.
    [[nodiscard]] static int CountIn(const Screenshot& shot, const RECT& area, std::uint32_t color)
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += shot.At(x, y) == color ? 1 : 0;
        return count;
    }

    // The filter row's colour: each channel of the face colour plus an eighth, at most 255.
    [[nodiscard]] static std::uint32_t FilterRowColor()
    {
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const auto lighter = [](unsigned channel) { return std::min(255u, channel + channel / 8); };
        return Rgb(RGB(lighter(GetRValue(face)), lighter(GetGValue(face)), lighter(GetBValue(face))));
    }

    // The top of the filter row: the first line under the titles in its colour (-1 when none is).
    [[nodiscard]] int FilterRowTop(const Screenshot& shot) const
    {
        const RECT grid = Grid();
        for (int y = grid.top; y < grid.bottom; ++y)
            if (shot.At(grid.left + griddemo::NAME_LEFT + 40, y) == FilterRowColor())
                return y;
        return -1;
    }

    // The grid's vertical scroll bar on the screen.
    [[nodiscard]] RECT ScrollBar() const
    {
        const RECT grid = Grid();
        const int right = grid.right - GetSystemMetrics(SM_CXEDGE);
        return {right - GetSystemMetrics(SM_CXVSCROLL), grid.top, right, grid.bottom};
    }

    // The footer band along the grid's bottom edge is painted in the footer colour.
    [[nodiscard]] bool Shown(const Screenshot& shot) const
    {
        const RECT grid = Grid();
        return Count(shot, grid, grid.bottom - 12, 4, Rgb(griddemo::FOOTER_COLOR)) > 100;
    }

    void StartDemo()
    {
        m_demo = std::make_unique<ChildProgram>(
            GRIDDEMO_PROGRAM,
            std::vector<std::string>{"--database", (m_dir / "demo.db").string(), "--quit-after", "600000"},
            ChildProgram::Environment{{"DISPLAY", m_server->Name()}, {"MODEM_DISPLAY", ""}}, m_dir / "stderr.txt");
    }

    // The newest picture once `done` holds of it, or the last one taken when the deadline passes.
    template <class Done>
    [[nodiscard]] Screenshot WaitFor(Done done) const
    {
        Screenshot shot;
        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        while (m_demo->Running() && std::chrono::steady_clock::now() < deadline) {
            if (auto taken = TakeXScreenshot(m_server->Name())) {
                shot = std::move(*taken);
                if (done(shot))
                    break;
            }
            std::this_thread::sleep_for(50ms);
        }
        return shot;
    }

    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<ChildProgram> m_demo;
    TempDir m_dir;
};

TEST_F(GridDemoOnXTest, ShowsTitlesRowsAndFooters)
{
    StartDemo();
    const Screenshot shot = WaitFor([this](const Screenshot& taken) { return Shown(taken); });
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
    // The filter row under the titles, in the face colour lightened by an eighth.
    EXPECT_GT(Count(shot, grid, FilterRowTop(shot), 4, FilterRowColor()), 1000);
    // The scroll bar's arrows are dark: there are more calls than rows.
    EXPECT_GT(CountIn(shot, ScrollBar(), ink), 20);
}

// A name chosen from the name cell's list and a condition typed into the minutes cell leave the
// calls of that name with that many minutes; both conditions stay on show in blue.
TEST_F(GridDemoOnXTest, FilterRowTakesAChosenNameAndTypedMinutes)
{
    const auto xdotool = Xdotool::Find(m_server->Name(), m_dir / "xdotool.txt");
    if (!xdotool)
        GTEST_SKIP() << "xdotool is not installed (Debian package xdotool): the filter row is not driven";
    StartDemo();
    Screenshot shot = WaitFor([this](const Screenshot& taken) { return Shown(taken); });
    ASSERT_TRUE(Shown(shot)) << ReadWholeFile(m_dir / "stderr.txt");
    const RECT grid = Grid();
    const int filterTop = FilterRowTop(shot);
    ASSERT_GT(filterTop, grid.top);
    const auto keys = [&](std::initializer_list<const char*> names) {
        for (const char* name : names)
            ASSERT_TRUE(xdotool->Key(name)) << ReadWholeFile(m_dir / "xdotool.txt");
    };
    // The text parts of the two filter cells, and the area where the name's list drops.
    const RECT nameText{grid.left + griddemo::NAME_LEFT, filterTop, grid.left + griddemo::NAME_LEFT + 100, filterTop + 14};
    const RECT minutesText{grid.left + griddemo::MINUTES_LEFT, filterTop, grid.left + griddemo::MINUTES_LEFT + 50,
                           filterTop + 14};
    const RECT list{nameText.left, filterTop + 20, nameText.right, filterTop + 180};
    const std::uint32_t ink = Rgb(GetSysColor(COLOR_WINDOWTEXT));
    const std::uint32_t highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
    // Each step waits until the screen shows the one before it done.
    const auto step = [&](const auto& done) {
        shot = WaitFor(done);
        ASSERT_TRUE(done(shot)) << ReadWholeFile(m_dir / "stderr.txt");
    };

    ASSERT_TRUE(xdotool->Click(grid.left + griddemo::NAME_LEFT + 60, filterTop + 4));
    keys({"alt+Down"});
    // The list opens under the cell in the cell's colour.
    step([&](const Screenshot& taken) { return CountIn(taken, list, FilterRowColor()) > 3000; });
    // It holds (Empty), (Not empty), (All), (Clear filter), the line and the two orders (the titles
    // sort), then Anna Berg, Carl Dahl, Eva Falk.
    keys({"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down"});
    step([&](const Screenshot& taken) { return CountIn(taken, list, highlight) > 300; });
    keys({"Return"});
    // Eva Falk's five calls are left: the rows below them are empty.
    step([&](const Screenshot& taken) {
        return Count(taken, grid, filterTop + 110, 100, ink) == 0 && Count(taken, grid, filterTop + 20, 80, ink) > 200;
    });

    ASSERT_TRUE(xdotool->Click(grid.left + griddemo::MINUTES_LEFT + 30, filterTop + 4));
    // The chosen name stays in its cell, in blue, once the editor has moved on.
    step([&](const Screenshot& taken) { return CountIn(taken, nameText, BLUE) > 10; });
    keys({"greater", "equal", "space", "1", "0", "Return", "Escape"});

    // Three of the calls are of 10 minutes or more: rows below the third are empty.
    const auto filtered = [&](const Screenshot& taken) {
        return CountIn(taken, nameText, BLUE) > 10 && CountIn(taken, minutesText, BLUE) > 10 &&
               Count(taken, grid, filterTop + 80, 100, ink) == 0;
    };
    shot = WaitFor(filtered);
    ASSERT_TRUE(WritePngFile(GRIDDEMO_FILTERED_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    EXPECT_TRUE(filtered(shot)) << ReadWholeFile(m_dir / "stderr.txt");
    // The three calls are there, with their text; they all fit, so the scroll bar stays on show,
    // disabled: no dark arrows.
    EXPECT_GT(Count(shot, grid, filterTop + 20, 40, ink), 200);
    EXPECT_EQ(CountIn(shot, ScrollBar(), ink), 0);
}

// The ink of a screen area, as a pattern to compare with another area's.
std::vector<bool> InkPattern(const Screenshot& shot, int left, int top, int width, int height)
{
    const std::uint32_t ink = Rgb(GetSysColor(COLOR_WINDOWTEXT));
    std::vector<bool> pattern;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            pattern.push_back(shot.At(x, y) == ink);
    return pattern;
}

// A user sorts the calls by clicking the name's title (up, down, up again), widens the name
// column by its title's edge, drags the number's title past the cost, and finds a name with Ctrl+F.
TEST_F(GridDemoOnXTest, TitlesSortSizeAndMoveAndCtrlFFinds)
{
    const auto xdotool = Xdotool::Find(m_server->Name(), m_dir / "xdotool.txt");
    if (!xdotool)
        GTEST_SKIP() << "xdotool is not installed (Debian package xdotool): the titles are not driven";
    StartDemo();
    Screenshot shot = WaitFor([this](const Screenshot& taken) { return Shown(taken); });
    ASSERT_TRUE(Shown(shot)) << ReadWholeFile(m_dir / "stderr.txt");
    const RECT grid = Grid();
    const int filterTop = FilterRowTop(shot);
    ASSERT_GT(filterTop, grid.top);
    // The filter row is as high as a record's row; the records follow it.
    const int pitch = griddemo::ROW_HEIGHT + 1;
    const int titleY = (grid.top + filterTop) / 2;
    const int nameLeft = grid.left + GetSystemMetrics(SM_CXEDGE) + griddemo::NAME_LEFT;
    // The name of the record on row `row` (the first is the current record, in other colours).
    const auto name = [&](const Screenshot& taken, int row) {
        return InkPattern(taken, nameLeft + 2, filterTop + pitch * (row + 1) + 2, 90, pitch - 4);
    };
    // Rows 1 to 4 show one name: five calls of each name stand together once sorted by name (rows
    // of one colour are compared, the letters' edges blending into it).
    const auto oneName = [&](const Screenshot& taken) {
        return name(taken, 1) == name(taken, 3) && name(taken, 2) == name(taken, 4);
    };
    const auto step = [&](const auto& done) {
        shot = WaitFor(done);
        ASSERT_TRUE(done(shot)) << ReadWholeFile(m_dir / "stderr.txt");
    };
    const auto save = [&](const char* path) {
        ASSERT_TRUE(WritePngFile(path, shot.width, shot.height, shot.pixels.data(),
                                 static_cast<std::ptrdiff_t>(shot.width) * 4));
    };
    ASSERT_FALSE(oneName(shot)) << "the calls come in the order they were made";

    ASSERT_TRUE(xdotool->Click(nameLeft + 60, titleY));
    step(oneName);
    const std::vector<bool> first = name(shot, 1);
    save(GRIDDEMO_SORTED_SCREENSHOT);
    ASSERT_TRUE(xdotool->Click(nameLeft + 60, titleY));
    step([&](const Screenshot& taken) { return oneName(taken) && name(taken, 1) != first; });
    ASSERT_TRUE(xdotool->Click(nameLeft + 60, titleY));
    step([&](const Screenshot& taken) { return oneName(taken) && name(taken, 1) == first; });

    // The line after the name column moves with its title's edge.
    const int edge = nameLeft + griddemo::NAME_WIDTH;
    const int lineY = filterTop + pitch * 3 + pitch / 2;
    const std::uint32_t line = shot.At(edge, lineY);
    ASSERT_NE(shot.At(edge + 60, lineY), line);
    ASSERT_TRUE(xdotool->Drag(edge, titleY, edge + 60, titleY));
    step([&](const Screenshot& taken) { return taken.At(edge + 60, lineY) == line && taken.At(edge, lineY) != line; });

    // The number's title, dragged past the cost's, comes after it with its caption.
    const int numberLeft = edge + 60 + 1;
    const std::vector<bool> numberCaption = InkPattern(shot, numberLeft + 2, grid.top + 3, 50, filterTop - grid.top - 6);
    const int movedLeft = numberLeft + 80 + 1 + 100 + 1;
    ASSERT_TRUE(xdotool->Drag(numberLeft + 40, titleY, movedLeft + 60, titleY));
    step([&](const Screenshot& taken) {
        return InkPattern(taken, movedLeft + 2, grid.top + 3, 50, filterTop - grid.top - 6) == numberCaption;
    });
    save(GRIDDEMO_ARRANGED_SCREENSHOT);

    // Ctrl+F opens the find dialog; "Maja" found moves the current record off the first row.
    const std::uint32_t highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
    const RECT firstRow{nameLeft + 2, filterTop + pitch + 2, nameLeft + 100, filterTop + 2 * pitch - 2};
    ASSERT_GT(CountIn(shot, firstRow, highlight), 100);
    ASSERT_TRUE(xdotool->Key("ctrl+f"));
    bool dialog = false;
    for (const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
         !dialog && std::chrono::steady_clock::now() < deadline;)
        dialog = xdotool->WindowShown("Find text");
    ASSERT_TRUE(dialog) << ReadWholeFile(m_dir / "stderr.txt");
    for (const char* key : {"M", "a", "j", "a", "Return"})
        ASSERT_TRUE(xdotool->Key(key));
    step([&](const Screenshot& taken) { return CountIn(taken, firstRow, highlight) == 0; });
    save(GRIDDEMO_FIND_SCREENSHOT);
}

// The window dragged larger by its corner: the grid's footer follows the bottom edge.
TEST_F(GridDemoOnXTest, TheGridFollowsTheWindowsSize)
{
    const auto xdotool = Xdotool::Find(m_server->Name(), m_dir / "xdotool.txt");
    if (!xdotool)
        GTEST_SKIP() << "xdotool is not installed (Debian package xdotool): the window is not sized";
    StartDemo();
    Screenshot shot = WaitFor([this](const Screenshot& taken) { return Shown(taken); });
    ASSERT_TRUE(Shown(shot)) << ReadWholeFile(m_dir / "stderr.txt");
    const RECT& window = griddemo::WINDOW_RECT;
    ASSERT_TRUE(xdotool->Drag(window.right - 2, window.bottom - 2, window.right + 98, window.bottom + 78));
    RECT grown = Grid();
    grown.right += 100;
    grown.bottom += 80;
    const auto footerAt = [&](const Screenshot& taken, const RECT& grid) {
        return Count(taken, grid, grid.bottom - 12, 4, Rgb(griddemo::FOOTER_COLOR)) > 100;
    };
    shot = WaitFor([&](const Screenshot& taken) { return footerAt(taken, grown); });
    ASSERT_TRUE(WritePngFile(GRIDDEMO_RESIZED_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    EXPECT_TRUE(footerAt(shot, grown)) << ReadWholeFile(m_dir / "stderr.txt");
    EXPECT_FALSE(footerAt(shot, Grid())) << "the rows take the room the footer left";
}

} // namespace
