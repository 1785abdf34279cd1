#include "PaintFixture.h"

#include <algorithm>

namespace {

constexpr COLORREF RED = RGB(200, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 200);
constexpr COLORREF GREEN = RGB(0, 160, 0);

// Counts what reaches the screen: one Present per window and turn, only the dirty rectangles.
class CountingDisplay final : public DisplayBackend {
public:
    [[nodiscard]] std::string Name() const override { return "counting"; }
    void Present(WindowId id, const Surface&, const std::vector<RECT>& dirty) override
    {
        presents.emplace_back(id, dirty);
    }
    std::vector<std::pair<WindowId, std::vector<RECT>>> presents;
};

RECT Bounds(const std::vector<RECT>& rects)
{
    RECT all{};
    for (const RECT& rect : rects)
        (void)UnionRect(&all, &all, &rect);
    return all;
}

TEST_F(PaintTest, ParentWithClipChildrenNeverPaintsOverItsChildren)
{
    struct Case {
        DWORD parentStyle;
        const char* what;
    };
    for (const Case& test : {Case{WS_CLIPCHILDREN, "clipped parent"}, Case{0, "unclipped parent"}}) {
        const HWND parent = Top(WS_POPUP | WS_VISIBLE | test.parentStyle, {0, 0, 100, 80}, RED);
        (void)Child(parent, WS_VISIBLE, {10, 10, 40, 40}, BLUE);
        Pump();
        MessageLog::Instance().Clear();
        // Unclipped, the parent paints over its child first and the child repaints after it.
        ASSERT_TRUE(InvalidateRect(parent, nullptr, TRUE));
        Pump();
        EXPECT_EQ(Shown(parent, 20, 20), Rgb(BLUE)) << test.what;
        EXPECT_EQ(Shown(parent, 5, 5), Rgb(RED)) << test.what;
        const auto paints = Log();
        EXPECT_EQ(std::count(paints.begin(), paints.end(), "WM_PAINT"), test.parentStyle ? 1 : 2) << test.what;
    }
}

TEST_F(PaintTest, SiblingsWithClipSiblingsKeepOffTheHigherOne)
{
    const HWND parent = Top(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 100, 80}, RED);
    const HWND upper = Child(parent, WS_VISIBLE | WS_CLIPSIBLINGS, {10, 10, 50, 50}, BLUE);
    const HWND lower = Child(parent, WS_VISIBLE | WS_CLIPSIBLINGS, {30, 30, 70, 70}, GREEN);
    (void)SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump();
    ASSERT_TRUE(InvalidateRect(lower, nullptr, TRUE));
    Pump();
    EXPECT_EQ(Shown(parent, 40, 40), Rgb(BLUE));
    EXPECT_EQ(Shown(parent, 60, 60), Rgb(GREEN));
}

TEST_F(PaintTest, AWindowRegionClipsPaintingHitTestingAndTheShape)
{
    const HWND parent = Top(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {100, 100, 200, 180}, RED);
    const HWND child = Child(parent, WS_VISIBLE, {10, 10, 50, 50}, BLUE);
    // The child keeps only its left half.
    ASSERT_NE(SetWindowRgn(child, CreateRectRgn(0, 0, 20, 40), TRUE), 0);
    Pump();
    EXPECT_EQ(Shown(parent, 15, 20), Rgb(BLUE));
    EXPECT_EQ(Shown(parent, 40, 20), Rgb(RED));
    EXPECT_EQ(WindowFromPoint(POINT{115, 120}), child);
    EXPECT_EQ(WindowFromPoint(POINT{140, 120}), parent);
    const HRGN copy = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(child, copy), SIMPLEREGION);
    RECT box{};
    (void)GetRgnBox(copy, &box);
    EXPECT_TRUE(EqualRect(&box, std::array{RECT{0, 0, 20, 40}}.data()));
    (void)DeleteObject(copy);

    ASSERT_NE(SetWindowRgn(parent, CreateRectRgn(0, 0, 50, 80), TRUE), 0);
    const auto state = m_display->Window(Id(parent));
    ASSERT_TRUE(state && state->shape);
    EXPECT_EQ(Bounds(*state->shape).right, 50);
    EXPECT_NE(WindowFromPoint(POINT{170, 120}), parent);
    ASSERT_NE(SetWindowRgn(parent, nullptr, TRUE), 0);
    EXPECT_FALSE(m_display->Window(Id(parent))->shape.has_value());
    EXPECT_EQ(GetWindowRgn(parent, copy), ERROR);
}

TEST_F(PaintTest, WmPaintComesAfterPostedMessagesAndCoalescesInvalidations)
{
    const HWND hwnd = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 80}, RED);
    Pump();
    RECT first{10, 10, 20, 20}, second{50, 40, 60, 70};
    ASSERT_TRUE(InvalidateRect(hwnd, &first, FALSE));
    ASSERT_TRUE(PostMessageA(hwnd, WM_USER, 0, 0));
    ASSERT_TRUE(InvalidateRect(hwnd, &second, TRUE));
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, std::array{RECT{10, 10, 60, 70}}.data()));

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(EqualRect(&ps.rcPaint, &update));
    // DefWindowProc erased with the class brush.
    EXPECT_FALSE(ps.fErase);
    EXPECT_EQ(GetPixel(dc, 55, 45), GetSysColor(COLOR_WINDOW));
    // Only the update region can be drawn on.
    EXPECT_EQ(SetPixel(dc, 30, 30, RED), static_cast<COLORREF>(-1));
    (void)EndPaint(hwnd, &ps);
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));

    ASSERT_TRUE(InvalidateRect(hwnd, nullptr, FALSE));
    ASSERT_TRUE(ValidateRect(hwnd, nullptr));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceAndRedrawWindowFrameSendsNcPaintFirst)
{
    const HWND hwnd = Top(WS_POPUP | WS_VISIBLE | WS_BORDER, {0, 0, 100, 80}, RED);
    Pump();
    MessageLog::Instance().Clear();
    ASSERT_TRUE(RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW));
    EXPECT_SEQUENCE(Log(hwnd), "WM_PAINT", "WM_NCPAINT", "WM_ERASEBKGND");
    EXPECT_EQ(Shown(hwnd, 50, 40), Rgb(RED));
    EXPECT_EQ(Shown(hwnd, 0, 0), Rgb(GetSysColor(COLOR_WINDOWFRAME)));

    MessageLog::Instance().Clear();
    ASSERT_TRUE(InvalidateRect(hwnd, nullptr, FALSE));
    ASSERT_TRUE(UpdateWindow(hwnd));
    EXPECT_SEQUENCE(Log(hwnd), "WM_PAINT");
}

TEST_F(PaintTest, HidingAChildRepaintsWhatItUncovered)
{
    const HWND parent = Top(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 100, 80}, RED);
    const HWND child = Child(parent, WS_VISIBLE, {10, 10, 40, 40}, BLUE);
    Pump();
    ASSERT_EQ(Shown(parent, 20, 20), Rgb(BLUE));
    (void)ShowWindow(child, SW_HIDE);
    Pump();
    EXPECT_EQ(Shown(parent, 20, 20), Rgb(RED));
    (void)SetWindowPos(child, nullptr, 50, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    Pump();
    EXPECT_EQ(Shown(parent, 60, 40), Rgb(BLUE));
}

// The uncovered area is found in the parent's client coordinates, where the child's rectangles
// already are: a parent away from its own parent's origin must not shift it.
TEST_F(PaintTest, HidingAChildRepaintsTheSiblingsItCoveredWhereverItsParentLies)
{
    const HWND top = Top(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {300, 200, 420, 300}, RED);
    const HWND panel = Child(top, WS_VISIBLE | WS_CLIPCHILDREN, {20, 30, 120, 100}, RED);
    (void)Child(panel, WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER, {10, 50, 60, 65}, GREEN); // under the upper one
    const HWND upper = Child(panel, WS_VISIBLE | WS_CLIPSIBLINGS, {0, 0, 100, 70}, BLUE);
    (void)SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump();
    ASSERT_EQ(Shown(top, 20 + 30, 30 + 55), Rgb(BLUE));
    (void)ShowWindow(upper, SW_HIDE);
    Pump();
    EXPECT_EQ(Shown(top, 20 + 30, 30 + 55), Rgb(GREEN));
    EXPECT_NE(Shown(top, 20 + 10, 30 + 55), Rgb(BLUE)) << "the frame is drawn again too";
    EXPECT_EQ(Shown(top, 20 + 80, 30 + 20), Rgb(RED));
}

TEST_F(PaintTest, ScrollWindowExMovesPixelsAndInvalidatesTheUncoveredStrip)
{
    const HWND hwnd = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 80}, RED);
    Pump();
    const HDC dc = GetDC(hwnd);
    const RECT band{0, 30, 100, 40};
    const HBRUSH brush = CreateSolidBrush(BLUE);
    (void)FillRect(dc, &band, brush);
    (void)DeleteObject(brush);
    (void)ReleaseDC(hwnd, dc);

    RECT update{};
    const HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(ScrollWindowEx(hwnd, 0, -20, nullptr, nullptr, region, &update, SW_INVALIDATE), SIMPLEREGION);
    EXPECT_TRUE(EqualRect(&update, std::array{RECT{0, 60, 100, 80}}.data()));
    RECT invalid{};
    ASSERT_TRUE(GetUpdateRect(hwnd, &invalid, FALSE));
    EXPECT_TRUE(EqualRect(&invalid, &update));
    (void)DeleteObject(region);
    // Shown once the turn ends, before the strip is repainted: the band moved up.
    MSG msg;
    (void)PeekMessageA(&msg, hwnd, WM_USER, WM_USER, PM_NOREMOVE);
    EXPECT_EQ(Shown(hwnd, 50, 15), Rgb(BLUE));
    EXPECT_EQ(Shown(hwnd, 50, 35), Rgb(RED));
}

TEST_F(PaintTest, WmPrintRendersTheWindowAndItsChildrenIntoAMemoryDC)
{
    const HWND parent = Top(WS_POPUP | WS_BORDER, {0, 0, 100, 80}, RED);
    (void)Child(parent, WS_VISIBLE, {10, 10, 40, 40}, BLUE);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 80);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    (void)SendMessageA(parent, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                       PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
    EXPECT_EQ(GetPixel(memory, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(GetPixel(memory, 5, 5), RED);
    // The child at its place inside the parent's client area (behind the 1-pixel border).
    EXPECT_EQ(GetPixel(memory, 11, 11), BLUE);
    EXPECT_EQ(GetPixel(memory, 40, 40), BLUE);
    EXPECT_EQ(GetPixel(memory, 41, 41), RED);
    (void)SelectObject(memory, previous);
    (void)DeleteObject(bitmap);
    (void)DeleteDC(memory);
    (void)ReleaseDC(nullptr, screen);
}

TEST_F(PaintTest, EachTopLevelWindowIsPresentedOnceATurnWithOnlyItsDirtyArea)
{
    auto counting = std::make_unique<CountingDisplay>();
    CountingDisplay& display = *counting;
    (void)InstallDisplay(std::move(counting));
    const HWND first = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 80}, RED);
    const HWND second = Top(WS_POPUP | WS_VISIBLE, {200, 0, 300, 80}, BLUE);
    Pump();
    display.presents.clear();
    RECT small{10, 10, 20, 20};
    (void)InvalidateRect(first, &small, FALSE);
    (void)InvalidateRect(first, std::array{RECT{30, 30, 35, 35}}.data(), FALSE);
    (void)InvalidateRect(second, nullptr, FALSE);
    Pump();
    ASSERT_EQ(display.presents.size(), 2u);
    const auto& ofFirst = display.presents[0].first == Id(first) ? display.presents[0] : display.presents[1];
    EXPECT_TRUE(EqualRect(std::array{Bounds(ofFirst.second)}.data(), std::array{RECT{10, 10, 35, 35}}.data()));
    for (const RECT& rect : ofFirst.second)
        EXPECT_LE((rect.right - rect.left) * (rect.bottom - rect.top), 100);
    Pump();
    EXPECT_EQ(display.presents.size(), 2u);
    (void)DestroyWindow(first);
    (void)DestroyWindow(second);
    m_tops.clear();
    m_display = &SelectHeadlessDisplay();
}

} // namespace
