// The cost of repainting the manager's main window: a captioned 424 x 374 client area with a few
// children, all invalidated, painted through WM_NCPAINT, WM_ERASEBKGND and WM_PAINT, and presented
// to the (headless) display once.

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/WinUser.h"

#include <benchmark/benchmark.h>

namespace {

LRESULT FillProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    {
        const GdiObject brush(CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))));
        (void)FillRect(dc, &ps.rcPaint, brush.Get());
    }
    (void)EndPaint(hwnd, &ps);
    return 0;
}

HWND MainWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = FillProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "BenchFill";
    (void)RegisterClassA(&wc);
    RECT rect{0, 0, 424, 374};
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    (void)AdjustWindowRectEx(&rect, style, FALSE, 0);
    const HWND main = CreateWindowExA(0, "BenchFill", "Modem", style, 100, 100, rect.right - rect.left,
                                      rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    (void)SetWindowLongPtrA(main, GWLP_USERDATA, RGB(240, 240, 240));
    const RECT children[] = {{10, 10, 200, 40}, {10, 50, 414, 300}, {220, 10, 414, 40}, {10, 310, 414, 364}};
    for (const RECT& child : children) {
        const HWND hwnd = CreateWindowExA(0, "BenchFill", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, child.left,
                                          child.top, child.right - child.left, child.bottom - child.top, main, nullptr,
                                          nullptr, nullptr);
        (void)SetWindowLongPtrA(hwnd, GWLP_USERDATA, RGB(child.left, child.top % 256, 128));
    }
    (void)ShowWindow(main, SW_SHOW);
    return main;
}

void RepaintMainWindow(benchmark::State& state)
{
    (void)SelectHeadlessDisplay();
    const HWND main = MainWindow();
    (void)UpdateWindow(main);
    for (auto _ : state) {
        (void)RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        (void)UpdateWindow(main);
    }
    (void)DestroyWindow(main);
}
BENCHMARK(RepaintMainWindow)->Unit(benchmark::kMicrosecond);

} // namespace
