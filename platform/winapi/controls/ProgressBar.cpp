#include "platform/winapi/controls/ProgressBar.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int BLOCK_GAP = 2;

class ProgressBar final : public ControlInstance {
public:
    explicit ProgressBar(HWND hwnd) : ControlInstance(hwnd) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    [[nodiscard]] bool HasStyle(DWORD bits) const { return (GetWindowLongA(Window(), GWL_STYLE) & bits) != 0; }
    // Sets the position (clamped) and answers the previous one.
    LRESULT SetPos(long long pos);
    LRESULT SetRange(int low, int high);
    LRESULT StepIt();
    LRESULT SetColor(COLORREF& color, LPARAM value);
    void Paint(HDC dc) const;
    void PaintBlocks(HDC dc, const RECT& inner, const RECT& filled, HBRUSH bar) const;

    int m_low = 0;
    int m_high = 100;
    int m_pos = 0;
    int m_step = 10;
    COLORREF m_barColor = CLR_DEFAULT;
    COLORREF m_bkColor = CLR_DEFAULT;
};

LRESULT ProgressBar::SetPos(long long pos)
{
    const int previous = m_pos;
    m_pos = static_cast<int>(std::clamp<long long>(pos, m_low, std::max(m_low, m_high)));
    if (m_pos != previous)
        (void)InvalidateRect(Window(), nullptr, FALSE);
    return previous;
}

LRESULT ProgressBar::SetRange(int low, int high)
{
    const LRESULT previous = MAKELONG(static_cast<WORD>(m_low), static_cast<WORD>(m_high));
    m_low = low;
    m_high = high;
    m_pos = std::clamp(m_pos, m_low, std::max(m_low, m_high));
    (void)InvalidateRect(Window(), nullptr, FALSE);
    return previous;
}

LRESULT ProgressBar::StepIt()
{
    long long next = static_cast<long long>(m_pos) + m_step;
    // Stepping past an end starts over from the other one.
    if (next > m_high)
        next = m_low + (next - m_high);
    else if (next < m_low)
        next = m_high - (m_low - next);
    return SetPos(next);
}

LRESULT ProgressBar::SetColor(COLORREF& color, LPARAM value)
{
    const COLORREF previous = color;
    color = static_cast<COLORREF>(value);
    (void)InvalidateRect(Window(), nullptr, FALSE);
    return static_cast<LRESULT>(previous);
}

void ProgressBar::PaintBlocks(HDC dc, const RECT& inner, const RECT& filled, HBRUSH bar) const
{
    const bool vertical = HasStyle(PBS_VERTICAL);
    const int across = vertical ? inner.right - inner.left : inner.bottom - inner.top;
    const int block = std::max(1, across * 2 / 3);
    if (vertical) {
        for (int bottom = inner.bottom; bottom > filled.top; bottom -= block + BLOCK_GAP) {
            const RECT chunk{inner.left, std::max(inner.top, bottom - block), inner.right, bottom};
            (void)FillRect(dc, &chunk, bar);
        }
        return;
    }
    for (int left = inner.left; left < filled.right; left += block + BLOCK_GAP) {
        const RECT chunk{left, inner.top, std::min(inner.right, left + block), inner.bottom};
        (void)FillRect(dc, &chunk, bar);
    }
}

void ProgressBar::Paint(HDC dc) const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    (void)DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    const COLORREF back = m_bkColor == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : m_bkColor;
    const GdiObject<HBRUSH> background(CreateSolidBrush(back));
    (void)FillRect(dc, &client, background.Get());
    RECT inner = client;
    (void)InflateRect(&inner, -1, -1);
    const long long range = static_cast<long long>(m_high) - m_low;
    if (range <= 0 || m_pos <= m_low)
        return;
    RECT filled = inner;
    const bool vertical = HasStyle(PBS_VERTICAL);
    const long long length = vertical ? inner.bottom - inner.top : inner.right - inner.left;
    const int extent = static_cast<int>(length * (m_pos - m_low) / range);
    if (vertical)
        filled.top = inner.bottom - extent;
    else
        filled.right = inner.left + extent;
    const COLORREF fill = m_barColor == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : m_barColor;
    const GdiObject<HBRUSH> bar(CreateSolidBrush(fill));
    if (HasStyle(PBS_SMOOTH))
        (void)FillRect(dc, &filled, bar.Get());
    else
        PaintBlocks(dc, inner, filled, bar.Get());
}

LRESULT ProgressBar::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case PBM_SETRANGE:
        return SetRange(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam))),
                        static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam))));
    case PBM_SETRANGE32:
        return SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
        if (lParam != 0)
            *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{m_low, m_high};
        return wParam != 0 ? m_low : m_high;
    case PBM_SETPOS:
        return SetPos(static_cast<int>(wParam));
    case PBM_GETPOS:
        return m_pos;
    case PBM_DELTAPOS:
        return SetPos(static_cast<long long>(m_pos) + static_cast<int>(wParam));
    case PBM_SETSTEP:
        return std::exchange(m_step, static_cast<int>(wParam));
    case PBM_STEPIT:
        return StepIt();
    case PBM_SETBARCOLOR:
        return SetColor(m_barColor, lParam);
    case PBM_SETBKCOLOR:
        return SetColor(m_bkColor, lParam);
    case WM_SIZE:
    case WM_ENABLE:
        (void)InvalidateRect(Window(), nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(Window(), reinterpret_cast<HDC>(wParam), [this](HDC dc) { Paint(dc); });
    default:
        return DefWindowProcA(Window(), message, wParam, lParam);
    }
}

} // namespace

void RegisterProgressBarClass()
{
    (void)RegisterControlInstanceClass<ProgressBar>(PROGRESS_CLASSA, CS_HREDRAW | CS_VREDRAW);
}
