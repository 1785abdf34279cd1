#include "platform/winapi/user/ScrollBarControl.h"
#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/user/ScrollBars.h"

namespace detail = winapi_user::detail;


// The control keeps its data in its own window's bar state of its orientation, marked as a
// control's, so that the window scroll bars' geometry, drawing and tracking loop serve it as they
// are: its bar is its client area and its notices go to the parent.

namespace {

WORD KeyCode(WPARAM key)
{
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        return SB_LINEUP;
    case VK_RIGHT:
    case VK_DOWN:
        return SB_LINEDOWN;
    case VK_PRIOR:
        return SB_PAGEUP;
    case VK_NEXT:
        return SB_PAGEDOWN;
    case VK_HOME:
        return SB_TOP;
    case VK_END:
        return SB_BOTTOM;
    default:
        return SB_ENDSCROLL;
    }
}

// What one message sees of the control: the instance that speaks for it and the window manager's
// record that holds its bar.
class ScrollBarWindow {
public:
    ScrollBarWindow(const ControlInstance& control, detail::Window& window)
        : m_control(control), m_hwnd(control.Window()), m_window(window),
          m_bar((window.style & SBS_VERT) ? SB_VERT : SB_HORZ),
          m_state(detail::BarState(window, m_bar))
    {
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_PAINT:
        case WM_PRINTCLIENT:
            return PaintControl(m_hwnd, reinterpret_cast<HDC>(wParam), [this](HDC dc) { Draw(dc); });
        case WM_ERASEBKGND:
            return 1;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_ENABLE:
            Redraw(true);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            Track(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_KEYDOWN:
            KeyDown(wParam);
            return 0;
        case SBM_SETPOS:
            return SetInfo(SCROLLINFO{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0}, lParam != 0);
        case SBM_GETPOS:
            return m_state.pos;
        case SBM_SETRANGE:
        case SBM_SETRANGEREDRAW:
            return SetInfo(SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE, static_cast<int>(wParam),
                                      static_cast<int>(lParam), 0, 0, 0},
                           message == SBM_SETRANGEREDRAW);
        case SBM_GETRANGE:
            if (wParam && lParam) {
                *reinterpret_cast<int*>(wParam) = m_state.min;
                *reinterpret_cast<int*>(lParam) = m_state.max;
            }
            return 0;
        case SBM_ENABLE_ARROWS:
            return EnableArrows(static_cast<UINT>(wParam) & ESB_DISABLE_BOTH);
        case SBM_SETSCROLLINFO: {
            const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
            if (!info)
                return m_state.pos;
            (void)SetInfo(*info, wParam != 0);
            return m_state.pos;
        }
        case SBM_GETSCROLLINFO:
            if (auto* info = reinterpret_cast<SCROLLINFO*>(lParam)) {
                detail::GetBarInfo(m_hwnd, m_bar, m_state, *info);
                return TRUE;
            }
            return FALSE;
        case SBM_GETSCROLLBARINFO:
            return BarInfo(reinterpret_cast<SCROLLBARINFO*>(lParam));
        default:
            return DefWindowProcA(m_hwnd, message, wParam, lParam);
        }
    }

private:
    [[nodiscard]] bool SizeGrip() const { return (m_window.style & (SBS_SIZEGRIP | SBS_SIZEBOX)) != 0; }

    // Returns the position before the change, as SBM_SETPOS and SBM_SETRANGE do.
    LRESULT SetInfo(const SCROLLINFO& info, bool redraw)
    {
        const int previous = m_state.pos;
        detail::SetBarInfo(m_state, info);
        Redraw(redraw);
        return previous;
    }

    LRESULT EnableArrows(UINT disabled)
    {
        if (disabled == m_state.disabledArrows)
            return FALSE;
        m_state.disabledArrows = disabled;
        Redraw(true);
        return TRUE;
    }

    LRESULT BarInfo(SCROLLBARINFO* info) const
    {
        if (!info || info->cbSize != sizeof(SCROLLBARINFO))
            return FALSE;
        *info = SCROLLBARINFO{};
        info->cbSize = sizeof(SCROLLBARINFO);
        if (const auto rect = detail::ScrollBarRect(m_window, m_bar))
            detail::FillScrollBarInfo(m_window, m_bar, *rect, *info);
        return TRUE;
    }

    void Redraw(bool redraw) const
    {
        if (redraw)
            (void)InvalidateRect(m_hwnd, nullptr, FALSE);
    }

    void Track(POINT client)
    {
        if (SizeGrip())
            return;
        if ((m_window.style & WS_TABSTOP) && GetFocus() != m_hwnd)
            (void)SetFocus(m_hwnd);
        (void)ClientToScreen(m_hwnd, &client);
        detail::TrackScrollBar(m_hwnd, m_bar, client);
    }

    void KeyDown(WPARAM key) const
    {
        const WORD code = KeyCode(key);
        if (code == SB_ENDSCROLL || SizeGrip() || !detail::BarEnabled(m_window, m_bar))
            return;
        const UINT message = m_bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
        if (!m_control.SendToParent(message, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(m_hwnd)).stands)
            return;
        (void)m_control.SendToParent(message, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(m_hwnd));
    }

    // The bar's geometry is in window coordinates; the DC's origin is the client area's.
    void Draw(HDC dc) const
    {
        const SavedDC saved(dc);
        if (SizeGrip()) {
            RECT client{};
            (void)GetClientRect(m_hwnd, &client);
            (void)FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
            (void)DrawFrameControl(dc, &client, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        } else {
            (void)OffsetViewportOrgEx(dc, m_window.windowRect.left - m_window.clientRect.left,
                                      m_window.windowRect.top - m_window.clientRect.top, nullptr);
            detail::DrawScrollBar(dc, m_window, m_bar, detail::PressedPart(m_hwnd, m_bar));
        }
    }

    const ControlInstance& m_control;
    HWND m_hwnd;
    detail::Window& m_window;
    int m_bar;
    detail::ScrollBarState& m_state;
};

class ScrollBarControl final : public ControlInstance {
public:
    explicit ScrollBarControl(HWND hwnd) : ControlInstance(hwnd)
    {
        if (const auto window = detail::FindWindowObject(hwnd)) {
            window->horizontal.control = true;
            window->vertical.control = true;
        }
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        // Held for the whole message, as the instance is: the parent may destroy the bar as it hears.
        const auto window = detail::FindWindowObject(Window());
        if (!window)
            return DefWindowProcA(Window(), message, wParam, lParam);
        return ScrollBarWindow(*this, *window).Handle(message, wParam, lParam);
    }
};

} // namespace

void RegisterScrollBarClass()
{
    (void)RegisterControlInstanceClass<ScrollBarControl>(WC_SCROLLBARA, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}
