#include "PaintFixture.h"

#include "platform/winapi/gdi/Icons.h"
#include "platform/winapi/kernel/Clock.h"

namespace {

constexpr COLORREF RED = RGB(200, 0, 0);

LPARAM ScreenParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

TEST_F(PaintTest, HitTestingACaptionedSizableWindow)
{
    const HWND framed = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300}, RED);
    const HWND scrolled = Top(WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL, {500, 100, 600, 200}, RED);
    struct Case {
        HWND hwnd;
        POINT pt;
        LRESULT expected;
    };
    const Case cases[] = {
        {framed, {250, 110}, HTCAPTION},    {framed, {385, 112}, HTCLOSE},       {framed, {368, 112}, HTMAXBUTTON},
        {framed, {350, 112}, HTMINBUTTON},  {framed, {110, 112}, HTSYSMENU},     {framed, {250, 101}, HTTOP},
        {framed, {101, 101}, HTTOPLEFT},    {framed, {101, 110}, HTTOPLEFT},     {framed, {398, 101}, HTTOPRIGHT},
        {framed, {101, 200}, HTLEFT},       {framed, {398, 200}, HTRIGHT},       {framed, {250, 298}, HTBOTTOM},
        {framed, {101, 298}, HTBOTTOMLEFT}, {framed, {398, 298}, HTBOTTOMRIGHT}, {framed, {250, 200}, HTCLIENT},
        {framed, {50, 50}, HTNOWHERE},      {scrolled, {590, 150}, HTVSCROLL},   {scrolled, {550, 190}, HTHSCROLL},
        {scrolled, {500, 150}, HTBORDER},   {scrolled, {540, 140}, HTCLIENT},
    };
    for (const Case& test : cases)
        EXPECT_EQ(SendMessageA(test.hwnd, WM_NCHITTEST, 0, ScreenParam(test.pt.x, test.pt.y)), test.expected)
            << "at " << test.pt.x << "," << test.pt.y;
}

TEST_F(PaintTest, TheFrameAndCaptionArePaintedWhereTheyBelong)
{
    const HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300}, RED);
    Pump();
    ASSERT_EQ(GetActiveWindow(), hwnd);
    // Frame 4, caption band 4..21 with its separator line at 22, client from 23.
    EXPECT_EQ(Shown(hwnd, 4, 10), Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
    EXPECT_EQ(Shown(hwnd, 295, 4), Rgb(GetSysColor(COLOR_GRADIENTACTIVECAPTION)));
    EXPECT_EQ(Shown(hwnd, 150, 22), Rgb(GetSysColor(COLOR_3DFACE)));
    EXPECT_EQ(Shown(hwnd, 150, 23), Rgb(RED));
    EXPECT_EQ(Shown(hwnd, 150, 195), Rgb(RED));
    EXPECT_EQ(Shown(hwnd, 0, 150), Rgb(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(Shown(hwnd, 299, 150), Rgb(GetSysColor(COLOR_3DDKSHADOW)));
    // The title is drawn in the caption text colour somewhere after the icon.
    bool titleDrawn = false;
    for (int x = 24; x < 80 && !titleDrawn; ++x)
        for (int y = 6; y < 20 && !titleDrawn; ++y)
            titleDrawn = Shown(hwnd, x, y) == Rgb(GetSysColor(COLOR_CAPTIONTEXT));
    EXPECT_TRUE(titleDrawn);

    const HWND other = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 100, 700, 300}, RED);
    Pump();
    ASSERT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(Shown(hwnd, 4, 10), Rgb(GetSysColor(COLOR_INACTIVECAPTION)));
}

// Letters of a caption stand apart: the caption band, read column by column, shows one run of
// text-coloured columns per letter, narrow neighbours like "id" and "ld" included.
TEST_F(PaintTest, CaptionLettersDoNotRunTogether)
{
    const HWND hwnd = Top(WS_POPUP | WS_CAPTION | WS_VISIBLE, {100, 100, 400, 200}, RED);
    ASSERT_TRUE(SetWindowTextA(hwnd, "Grid Folder"));
    Pump();
    ASSERT_EQ(GetActiveWindow(), hwnd);
    const std::uint32_t text = Rgb(GetSysColor(COLOR_CAPTIONTEXT));
    const auto inked = [&](int x) {
        for (int y = 4; y < 22; ++y)
            if (Shown(hwnd, x, y) == text)
                return true;
        return false;
    };
    int letters = 0;
    bool previous = false;
    // From inside the frame (its light edge is white too) to well before the caption buttons.
    for (int x = 4; x < 200; ++x) {
        const bool now = inked(x);
        letters += now && !previous ? 1 : 0;
        previous = now;
    }
    EXPECT_EQ(letters, 10);
}

TEST_F(PaintTest, ACaptionWithoutAnIconOfItsOwnShowsTheProvidedOne)
{
    const HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300}, RED);
    Pump();
    // The icon's square: 16 pixels from (6, 4), after the frame and a 2-pixel gap. The provided
    // icon is a small window: a white body inside a dark outline.
    int white = 0;
    int dark = 0;
    for (int y = 4; y < 20; ++y)
        for (int x = 6; x < 22; ++x) {
            white += Shown(hwnd, x, y) == 0xFFFFFFu;
            dark += Shown(hwnd, x, y) == 0x2C3E5Cu;
        }
    EXPECT_GT(white, 50);
    EXPECT_GT(dark, 20);
}

TEST_F(PaintTest, DraggingTheCaptionMovesTheWindowAndButtonsSendTheirCommands)
{
    const HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300}, RED);
    Pump();
    const WindowId id = Id(hwnd);
    m_display->InjectMouseButton(id, POINT{150, 10}, MouseButton::Left, true);
    m_display->InjectMouseMove(id, POINT{170, 20}, ModLeftButton);
    m_display->InjectMouseMove(id, POINT{180, 30}, ModLeftButton);
    m_display->InjectMouseButton(id, POINT{180, 30}, MouseButton::Left, false);
    Pump();
    RECT rect{};
    (void)GetWindowRect(hwnd, &rect);
    EXPECT_EQ(rect.left, 130);
    EXPECT_EQ(rect.top, 120);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(GetCapture(), nullptr);

    // A double click on the caption maximises; the maximise button then restores.
    m_display->InjectClick(id, POINT{150, 10});
    m_display->InjectClick(id, POINT{150, 10});
    Pump();
    ASSERT_TRUE(IsZoomed(hwnd));
    RECT zoomed{};
    (void)GetWindowRect(hwnd, &zoomed);
    const int maxX = (zoomed.right - zoomed.left) - 4 - 2 - 16 - 2 - 8;
    m_display->InjectClick(id, POINT{maxX, 4 + 8});
    Pump();
    EXPECT_FALSE(IsZoomed(hwnd));

    // Pressed on close but released elsewhere: nothing; released on it: the window closes.
    (void)GetWindowRect(hwnd, &rect);
    const POINT close{(rect.right - rect.left) - 4 - 2 - 8, 4 + 8};
    m_display->InjectMouseButton(id, close, MouseButton::Left, true);
    m_display->InjectMouseMove(id, POINT{100, 100}, ModLeftButton);
    m_display->InjectMouseButton(id, POINT{100, 100}, MouseButton::Left, false);
    Pump();
    ASSERT_TRUE(IsWindow(hwnd));
    m_display->InjectClick(id, close);
    Pump();
    EXPECT_FALSE(IsWindow(hwnd));
    m_tops.clear();
}

TEST_F(PaintTest, SetTextRepaintsTheCaption)
{
    const HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300}, RED);
    (void)SetWindowTextA(hwnd, "");
    Pump();
    const auto titlePixels = [&] {
        int count = 0;
        for (int x = 24; x < 120; ++x)
            for (int y = 6; y < 20; ++y)
                count += Shown(hwnd, x, y) == Rgb(GetSysColor(COLOR_CAPTIONTEXT));
        return count;
    };
    EXPECT_EQ(titlePixels(), 0);
    (void)SetWindowTextA(hwnd, "Modem Manager");
    Pump();
    EXPECT_GT(titlePixels(), 20);
}

TEST_F(PaintTest, DefWindowProcSetsTheCursorByHitTest)
{
    const HWND hwnd = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300}, RED);
    const HCURSOR sizeWE = LoadCursorA(nullptr, IDC_SIZEWE);
    ASSERT_NE(sizeWE, nullptr);
    EXPECT_NE(sizeWE, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
    (void)SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTLEFT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), sizeWE);
    (void)SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTBOTTOMRIGHT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENWSE));
    (void)SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    const HCURSOR ibeam = LoadCursorA(nullptr, IDC_IBEAM);
    (void)SetClassLongPtrA(hwnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(ibeam));
    (void)SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), ibeam);
    (void)SetClassLongPtrA(hwnd, GCLP_HCURSOR, 0);

    const BYTE andPlane[4 * 32] = {}, xorPlane[4 * 32] = {};
    const HCURSOR custom = CreateCursor(nullptr, 3, 4, 32, 32, andPlane, xorPlane);
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(SetCursor(custom), ibeam);
    EXPECT_EQ(GetCursor(), custom);
    (void)SetCursor(nullptr);
    EXPECT_TRUE(DestroyCursor(custom));
}

TEST_F(PaintTest, TheCaretBlinksByInvertingItsPixels)
{
    FakeClock clock;
    const HWND hwnd = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 80}, RED);
    Pump();
    const auto pixel = [&] {
        const HDC dc = GetDC(hwnd);
        const COLORREF color = GetPixel(dc, 11, 12);
        (void)ReleaseDC(hwnd, dc);
        return color;
    };
    constexpr COLORREF INVERTED = RGB(55, 255, 255);
    ASSERT_TRUE(CreateCaret(hwnd, nullptr, 2, 14));
    ASSERT_TRUE(SetCaretPos(10, 10));
    EXPECT_EQ(pixel(), RED) << "a new caret is hidden";
    ASSERT_TRUE(ShowCaret(hwnd));
    EXPECT_EQ(pixel(), INVERTED);
    clock.Advance(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(pixel(), RED);
    clock.Advance(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(pixel(), INVERTED);
    EXPECT_EQ(Shown(hwnd, 11, 12), Rgb(INVERTED));
    // Painting over the caret neither leaves it behind nor inverts fresh pixels.
    ASSERT_TRUE(InvalidateRect(hwnd, nullptr, TRUE));
    Pump();
    EXPECT_EQ(pixel(), INVERTED);
    ASSERT_TRUE(HideCaret(hwnd));
    clock.Advance(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(pixel(), RED);
    POINT pos{};
    ASSERT_TRUE(GetCaretPos(&pos));
    EXPECT_EQ(pos.x, 10);
    ASSERT_TRUE(DestroyCaret());
    EXPECT_FALSE(GetCaretPos(&pos));
}

TEST_F(PaintTest, WorkAreaMonitorAndNonClientMetrics)
{
    m_display->SetScreenRect(RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 990});
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.bottom, 990);
    const HWND hwnd = Top(WS_POPUP, {10, 10, 50, 50}, RED);
    MONITORINFO info{sizeof(MONITORINFO), {}, {}, 0};
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info));
    EXPECT_EQ(info.rcMonitor.bottom, 1024);
    EXPECT_EQ(info.rcWork.bottom, 990);
    EXPECT_EQ(MonitorFromPoint(POINT{5000, 5000}, MONITOR_DEFAULTTONULL), nullptr);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0));
    EXPECT_EQ(metrics.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(metrics.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
}

} // namespace

