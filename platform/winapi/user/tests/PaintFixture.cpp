#include "PaintFixture.h"

namespace {

LRESULT PaintedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageLog::Instance().Add(hwnd, message, wParam, lParam);
    const auto color = static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    const auto fill = [&](HDC dc) {
        RECT client{};
        (void)GetClientRect(hwnd, &client);
        const HBRUSH brush = CreateSolidBrush(color);
        (void)FillRect(dc, &client, brush);
        (void)DeleteObject(brush);
    };
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        fill(BeginPaint(hwnd, &ps));
        (void)EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_PRINTCLIENT) {
        fill(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

void PaintTest::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    RegisterLoggedClass();
    WNDCLASSA wc{};
    wc.lpfnWndProc = PaintedProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = PAINTED_CLASS;
    (void)RegisterClassA(&wc);
    MessageLog::Instance().Clear();
}

void PaintTest::TearDown()
{
    for (HWND hwnd : m_tops)
        (void)DestroyWindow(hwnd);
    Pump();
}

HWND PaintTest::Top(DWORD style, RECT rect, COLORREF color, DWORD exStyle)
{
    const HWND hwnd = CreateWindowExA(exStyle, PAINTED_CLASS, "Painted", style, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    (void)SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
    m_tops.push_back(hwnd);
    return hwnd;
}

HWND PaintTest::Child(HWND parent, DWORD style, RECT rect, COLORREF color)
{
    const HWND hwnd = CreateWindowExA(0, PAINTED_CLASS, "", WS_CHILD | style, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
    (void)SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
    return hwnd;
}

void PaintTest::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
}

std::uint32_t PaintTest::Shown(HWND top, int x, int y) const
{
    return m_display->WindowPixel(Id(top), x, y).value_or(0xDEADBEEF) & 0xFFFFFF;
}

std::uint32_t PaintTest::Rgb(COLORREF color)
{
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}
