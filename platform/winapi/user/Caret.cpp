#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/user/Painting.h"

#include <atomic>

namespace detail = winapi_user::detail;

// The caret: one per thread, drawn by inverting its rectangle, so drawing it twice restores the
// pixels. It blinks on a window timer whose callback (not the window) gets the ticks. Painting
// hides it first (BeginPaint and scrolling), so that the inversion never lands on fresh pixels.

namespace {

constexpr UINT_PTR BLINK_TIMER = 0xFFFF5C02;

struct Caret {
    HWND hwnd = nullptr;
    int width = 0;
    int height = 0;
    POINT pos{};
    int hideCount = 1; // visible at 0
    bool drawn = false;
};

thread_local Caret t_caret;
std::atomic<UINT> g_blinkTime{530};

void Invert(const Caret& caret)
{
    const HDC dc = GetDCEx(caret.hwnd, nullptr, DCX_CACHE | DCX_USESTYLE);
    (void)PatBlt(dc, caret.pos.x, caret.pos.y, caret.width, caret.height, DSTINVERT);
    (void)ReleaseDC(caret.hwnd, dc);
}

void SetDrawn(bool drawn)
{
    if (t_caret.drawn == drawn || !IsWindow(t_caret.hwnd))
        return;
    Invert(t_caret);
    t_caret.drawn = drawn;
}

void BlinkProc(HWND hwnd, UINT, UINT_PTR, DWORD)
{
    if (hwnd != t_caret.hwnd || t_caret.hideCount > 0)
        return;
    SetDrawn(!t_caret.drawn);
}

void RestartBlink()
{
    if (t_caret.hwnd)
        (void)SetTimer(t_caret.hwnd, BLINK_TIMER, g_blinkTime, BlinkProc);
}

bool Owns(HWND hwnd)
{
    return t_caret.hwnd && (!hwnd || hwnd == t_caret.hwnd);
}

} // namespace

namespace winapi_user::detail {

void HideCaretForPaint(HWND hwnd)
{
    if (t_caret.hwnd == hwnd)
        (void)HideCaret(hwnd);
}

void ShowCaretAfterPaint(HWND hwnd)
{
    if (t_caret.hwnd == hwnd)
        (void)ShowCaret(hwnd);
}

void ForgetCaret(HWND hwnd)
{
    if (t_caret.hwnd == hwnd)
        t_caret = Caret{};
}

} // namespace winapi_user::detail

BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight)
{
    if (!detail::FindOwnWindow(hWnd))
        return FALSE;
    (void)DestroyCaret();
    BITMAP bitmap{};
    const bool fromBitmap = hBitmap && hBitmap != reinterpret_cast<HBITMAP>(1) &&
                            GetObjectA(hBitmap, sizeof bitmap, &bitmap) != 0;
    t_caret.hwnd = hWnd;
    t_caret.width = fromBitmap ? bitmap.bmWidth : (nWidth ? nWidth : GetSystemMetrics(SM_CXBORDER));
    t_caret.height = fromBitmap ? bitmap.bmHeight : (nHeight ? nHeight : GetSystemMetrics(SM_CYBORDER));
    return TRUE;
}

BOOL DestroyCaret()
{
    if (!t_caret.hwnd)
        return FALSE;
    SetDrawn(false);
    (void)KillTimer(t_caret.hwnd, BLINK_TIMER);
    t_caret = Caret{};
    return TRUE;
}

BOOL ShowCaret(HWND hWnd)
{
    if (!Owns(hWnd) || t_caret.hideCount == 0)
        return FALSE;
    if (--t_caret.hideCount == 0) {
        SetDrawn(true);
        RestartBlink();
    }
    return TRUE;
}

BOOL HideCaret(HWND hWnd)
{
    if (!Owns(hWnd))
        return FALSE;
    ++t_caret.hideCount;
    SetDrawn(false);
    return TRUE;
}

BOOL SetCaretPos(int X, int Y)
{
    if (!t_caret.hwnd)
        return FALSE;
    if (t_caret.pos.x == X && t_caret.pos.y == Y)
        return TRUE;
    const bool wasDrawn = t_caret.drawn;
    SetDrawn(false);
    t_caret.pos = POINT{X, Y};
    if (wasDrawn || t_caret.hideCount == 0) {
        SetDrawn(true);
        RestartBlink();
    }
    return TRUE;
}

BOOL GetCaretPos(LPPOINT lpPoint)
{
    if (!lpPoint || !t_caret.hwnd)
        return FALSE;
    *lpPoint = t_caret.pos;
    return TRUE;
}

UINT GetCaretBlinkTime()
{
    return g_blinkTime;
}

BOOL SetCaretBlinkTime(UINT uMSeconds)
{
    g_blinkTime = uMSeconds;
    RestartBlink();
    return TRUE;
}
