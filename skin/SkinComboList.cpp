#include "skin/SkinComboList.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/rtl/SysMath.h"
#include "skin/SkinData.h"
#include "skin/SkinRoutines.h"
#include "skin/SkinScrollBar.h"

#include <algorithm>

namespace {

// What a list sends itself when its items scroll without a scroll message.
constexpr UINT LB_LISTSCROLLED = 0x01AE;

} // namespace

int ComboListThumbPosition(int offset, int track, int thumbLength, const SCROLLINFO& info)
{
    const int page = static_cast<int>(info.nPage);
    const int last = std::max(page != 0 ? info.nMax - page + 1 : info.nMax, info.nMin);
    const int span = track - thumbLength;
    // A thumb at the end of the track shows the last position; MulDiv's -1 for an empty track
    // falls back to nMin.
    const int position = info.nMin + MulDiv(std::clamp(offset, 0, std::max(span, 0)), last - info.nMin, span);
    return std::clamp(position, info.nMin, last);
}

TComboxScrollBar::TComboxScrollBar() : m_arrowSize(GetSystemMetrics(SM_CXHSCROLL)) {}

bool TComboxScrollBar::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCPAINT:
        // The bar is painted after each WM_PAINT; the system's would only flash beneath it.
        return false;
    case WM_NCMOUSEMOVE:
        return message.WParam != HTHSCROLL && message.WParam != HTVSCROLL;
    case WM_NCLBUTTONDOWN:
        if (message.WParam == HTVSCROLL &&
            DragThumb(POINT{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))}))
            return false;
        return true;
    default:
        return TSkinHook::BeforeMessage(message);
    }
}

void TComboxScrollBar::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case LB_LISTSCROLLED:
        DrawWindow(nullptr);
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

void TComboxScrollBar::PaintSkin(HDC dc, const RECT& rect)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!ScrollBarInfo(m_handle, OBJID_VSCROLL, info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
        return;
    RECT window{};
    (void)GetWindowRect(m_handle, &window);
    TBarPicture bar;
    bar.vertical = true;
    bar.bar = info.rcScrollBar;
    bar.thumbStart = info.xyThumbTop;
    bar.thumbEnd = info.xyThumbBottom;
    bar.enabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
    bar.arrow = m_arrowSize;
    bar.surface = SIZE{rect.right, rect.bottom};
    TBitmap picture;
    if (!DrawBarPicture(*m_data, bar, picture))
        return;
    (void)BitBlt(dc, info.rcScrollBar.left - window.left, info.rcScrollBar.top - window.top, picture.Width(),
                 picture.Height(), picture.Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TComboxScrollBar::DragThumb(POINT press)
{
    const HWND list = m_handle;
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    if (!ScrollBarInfo(list, OBJID_VSCROLL, bar))
        return false;
    const int along = press.y - bar.rcScrollBar.top;
    if (along < bar.xyThumbTop || along > bar.xyThumbBottom)
        return false;
    (void)SetCapture(list);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    (void)GetScrollInfo(list, SB_VERT, &info);
    const int thumbOffset = bar.xyThumbTop - m_arrowSize;
    const int track = bar.rcScrollBar.bottom - bar.rcScrollBar.top - 2 * m_arrowSize;
    const int thumbLength = bar.xyThumbBottom - bar.xyThumbTop;
    int last = info.nPos;
    MSG msg{};
    while (IsWindow(list) && GetCapture() == list) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
            (void)SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
            (void)PostMessageA(list, WM_VSCROLL, SB_ENDSCROLL, 0);
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
        if ((msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) || !IsWindow(list) ||
            GetCapture() != list)
            continue;
        const int position = ComboListThumbPosition(thumbOffset + msg.pt.y - press.y, track, thumbLength, info);
        if (position != last) {
            (void)SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
            last = position;
        }
    }
    if (GetCapture() == list)
        (void)ReleaseCapture();
    return true;
}
