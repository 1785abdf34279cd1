#include "tests/support/controls/ControlTestHost.h"
#include "platform/winapi/controls/ProgressBar.h"

namespace {

class ProgressBarTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterProgressBarClass();
    }
    [[nodiscard]] static int Pos(HWND bar) { return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)); }
};

TEST_F(ProgressBarTest, PositionsAreClampedAndSteppingPastTheEndStartsOver)
{
    const HWND bar = Control(PROGRESS_CLASSA, 0, {10, 10, 210, 30});
    EXPECT_EQ(SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(10, 50)), MAKELONG(0, 100));
    EXPECT_EQ(Pos(bar), 10);
    EXPECT_EQ(SendMessageA(bar, PBM_SETPOS, 80, 0), 10);
    EXPECT_EQ(Pos(bar), 50);
    EXPECT_EQ(SendMessageA(bar, PBM_DELTAPOS, static_cast<WPARAM>(-100), 0), 50);
    EXPECT_EQ(Pos(bar), 10);
    EXPECT_EQ(SendMessageA(bar, PBM_SETSTEP, 15, 0), 10);
    (void)SendMessageA(bar, PBM_STEPIT, 0, 0);
    (void)SendMessageA(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(Pos(bar), 40);
    EXPECT_EQ(SendMessageA(bar, PBM_STEPIT, 0, 0), 40);
    EXPECT_EQ(Pos(bar), 15);

    (void)SendMessageA(bar, PBM_SETRANGE32, static_cast<WPARAM>(-70000), 70000);
    PBRANGE range{};
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), -70000);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 70000);
    EXPECT_EQ(range.iHigh, 70000);
}

TEST_F(ProgressBarTest, TheFilledPartFollowsThePositionWithinTheRange)
{
    // 204 wide: a one-pixel sunken edge and a one-pixel gap leave 200 pixels to fill.
    const HWND bar = Control(PROGRESS_CLASSA, PBS_SMOOTH, {10, 10, 214, 30});
    (void)SendMessageA(bar, PBM_SETRANGE32, 100, 200);
    (void)SendMessageA(bar, PBM_SETPOS, 150, 0);
    (void)SendMessageA(bar, PBM_SETBARCOLOR, 0, RGB(0, 0, 255));
    (void)SendMessageA(bar, PBM_SETBKCOLOR, 0, RGB(255, 255, 0));
    (void)UpdateWindow(bar);
    EXPECT_EQ(Shown(bar, {2, 10}), 0x0000FFu);
    EXPECT_EQ(Shown(bar, {101, 10}), 0x0000FFu);
    EXPECT_EQ(Shown(bar, {102, 10}), 0xFFFF00u);
    EXPECT_EQ(Shown(bar, {0, 0}), Rgb(GetSysColor(COLOR_BTNSHADOW)));

    // Classic blocks leave gaps; a vertical bar fills from the bottom.
    const HWND blocks = Control(PROGRESS_CLASSA, 0, {10, 40, 214, 60});
    (void)SendMessageA(blocks, PBM_SETPOS, 100, 0);
    (void)UpdateWindow(blocks);
    const std::uint32_t highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
    const int block = (20 - 4) * 2 / 3;
    EXPECT_EQ(Shown(blocks, {2, 10}), highlight);
    EXPECT_EQ(Shown(blocks, {2 + block, 10}), Rgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(Shown(blocks, {2 + block + 2, 10}), highlight);

    const HWND vertical = Control(PROGRESS_CLASSA, PBS_VERTICAL | PBS_SMOOTH, {250, 10, 270, 114});
    (void)SendMessageA(vertical, PBM_SETPOS, 25, 0);
    (void)UpdateWindow(vertical);
    EXPECT_EQ(Shown(vertical, {10, 101}), highlight);
    EXPECT_EQ(Shown(vertical, {10, 77}), highlight);
    EXPECT_EQ(Shown(vertical, {10, 76}), Rgb(GetSysColor(COLOR_BTNFACE)));
}

} // namespace
