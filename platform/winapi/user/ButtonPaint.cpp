#include "platform/winapi/user/ButtonInternals.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <string>

// The classic look of each button type. The parent chooses the background brush and text colour
// through WM_CTLCOLORBTN (push and owner-drawn buttons) or WM_CTLCOLORSTATIC (the others); owner-drawn
// buttons are drawn by the parent on WM_DRAWITEM.

namespace {

constexpr int CHECK_BOX_SIZE = 13;
constexpr int CHECK_TEXT_GAP = 4;
constexpr int GROUP_TEXT_INDENT = 8;

std::string WindowText(HWND hwnd)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

class ButtonPainter {
public:
    ButtonPainter(const ControlInstance& button, HDC dc, const winapi_user::detail::ButtonState& state)
        : m_button(button), m_hwnd(button.Window()), m_dc(dc), m_state(state),
          m_style(static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE))),
          m_enabled(IsWindowEnabled(m_hwnd) != FALSE), m_text(WindowText(m_hwnd))
    {
        (void)GetClientRect(m_hwnd, &m_client);
    }

    void Paint()
    {
        (void)SetBkMode(m_dc, TRANSPARENT);
        const HFONT font = m_state.font ? m_state.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        (void)SelectObject(m_dc, font);
        switch (winapi_user::detail::ButtonType(m_style)) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            if (m_style & BS_PUSHLIKE)
                PaintPush(m_state.pushed || m_state.check != BST_UNCHECKED);
            else
                PaintCheck();
            break;
        case BS_GROUPBOX:
            PaintGroupBox();
            break;
        case BS_OWNERDRAW:
            PaintOwnerDraw();
            break;
        default:
            PaintPush(m_state.pushed);
            break;
        }
    }

private:
    // Fills the client area with the parent's brush; the text colour the parent set stays in the DC.
    // False when the parent destroyed the button as it was asked.
    [[nodiscard]] bool FillBackground(UINT message)
    {
        (void)SetTextColor(m_dc, GetSysColor(COLOR_BTNTEXT));
        (void)SetBkColor(m_dc, GetSysColor(COLOR_BTNFACE));
        const Reply reply =
            m_button.SendToParent(message, reinterpret_cast<WPARAM>(m_dc), reinterpret_cast<LPARAM>(m_hwnd));
        if (!reply.stands)
            return false;
        const auto brush = reinterpret_cast<HBRUSH>(reply.answer);
        m_brush = brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
        (void)FillRect(m_dc, &m_client, m_brush);
        return true;
    }

    void PaintPush(bool down)
    {
        if (!FillBackground(WM_CTLCOLORBTN))
            return;
        (void)SetTextColor(m_dc, GetSysColor(COLOR_BTNTEXT));
        RECT face = m_client;
        // Held down by the mouse or the space bar, a button is framed in black with a flat shadow
        // line inside; a push-like check box that stays checked keeps its sunken, latched face.
        const bool held = m_state.pushed && !(m_style & BS_FLAT);
        if (held || winapi_user::detail::ButtonType(m_style) == BS_DEFPUSHBUTTON) {
            (void)FrameRect(m_dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
            (void)InflateRect(&face, -1, -1);
        }
        if (held) {
            (void)FillRect(m_dc, &face, GetSysColorBrush(COLOR_BTNFACE));
            (void)FrameRect(m_dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            const UINT pressed = m_state.pushed ? DFCS_PUSHED : (down ? DFCS_CHECKED : 0);
            const UINT flags = DFCS_BUTTONPUSH | pressed | (m_enabled ? 0 : DFCS_INACTIVE) |
                               ((m_style & BS_FLAT) ? DFCS_FLAT : 0);
            (void)DrawFrameControl(m_dc, &face, DFC_BUTTON, flags);
        }
        RECT inner = face;
        (void)InflateRect(&inner, -3, -3);
        RECT label = inner;
        if (down)
            (void)OffsetRect(&label, 1, 1);
        DrawLabel(label, DT_CENTER);
        if (m_state.focused)
            (void)DrawFocusRect(m_dc, &inner);
    }

    void PaintCheck()
    {
        if (!FillBackground(WM_CTLCOLORSTATIC))
            return;
        const bool leftText = (m_style & BS_LEFTTEXT) != 0;
        int top = (m_client.bottom - CHECK_BOX_SIZE) / 2;
        if ((m_style & BS_VCENTER) == BS_TOP)
            top = 0;
        else if ((m_style & BS_VCENTER) == BS_BOTTOM)
            top = m_client.bottom - CHECK_BOX_SIZE;
        const int boxLeft = leftText ? m_client.right - CHECK_BOX_SIZE : 0;
        RECT box{boxLeft, top, boxLeft + CHECK_BOX_SIZE, top + CHECK_BOX_SIZE};
        (void)DrawFrameControl(m_dc, &box, DFC_BUTTON, CheckFlags());
        RECT area = m_client;
        if (leftText)
            area.right -= CHECK_BOX_SIZE + CHECK_TEXT_GAP;
        else
            area.left += CHECK_BOX_SIZE + CHECK_TEXT_GAP;
        RECT placed = DrawLabel(area, DT_LEFT);
        if (m_state.focused && !m_text.empty()) {
            (void)InflateRect(&placed, 1, 1);
            (void)IntersectRect(&placed, &placed, &m_client);
            (void)DrawFocusRect(m_dc, &placed);
        }
    }

    [[nodiscard]] UINT CheckFlags() const
    {
        const DWORD type = winapi_user::detail::ButtonType(m_style);
        UINT flags = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
        if (m_state.check == BST_INDETERMINATE)
            flags = DFCS_BUTTON3STATE;
        if (m_state.check != BST_UNCHECKED)
            flags |= DFCS_CHECKED;
        if (m_state.pushed)
            flags |= DFCS_PUSHED;
        if (!m_enabled)
            flags |= DFCS_INACTIVE;
        if (m_style & BS_FLAT)
            flags |= DFCS_FLAT;
        return flags;
    }

    void PaintGroupBox()
    {
        if (!FillBackground(WM_CTLCOLORSTATIC))
            return;
        TEXTMETRICA metrics{};
        (void)GetTextMetricsA(m_dc, &metrics);
        RECT frame = m_client;
        frame.top += metrics.tmHeight / 2 - 1;
        (void)DrawEdge(m_dc, &frame, EDGE_ETCHED, BF_RECT | ((m_style & BS_FLAT) ? BF_FLAT | BF_MONO : 0));
        if (m_text.empty())
            return;
        RECT size{0, 0, 0, 0};
        (void)DrawTextA(m_dc, m_text.c_str(), -1, &size, DT_SINGLELINE | DT_CALCRECT);
        const int width = std::min<int>(size.right, m_client.right - 2 * GROUP_TEXT_INDENT);
        int left = GROUP_TEXT_INDENT;
        if ((m_style & BS_CENTER) == BS_RIGHT)
            left = m_client.right - GROUP_TEXT_INDENT - width;
        else if ((m_style & BS_CENTER) == BS_CENTER)
            left = (m_client.right - width) / 2;
        RECT label{left, 0, left + width, metrics.tmHeight};
        RECT gap{label.left - 2, label.top, label.right + 2, label.bottom};
        (void)FillRect(m_dc, &gap, m_brush);
        DrawLabel(label, DT_LEFT);
    }

    void PaintOwnerDraw()
    {
        if (!FillBackground(WM_CTLCOLORBTN))
            return;
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(m_hwnd));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = (m_state.pushed ? ODS_SELECTED : 0) | (m_state.focused ? ODS_FOCUS : 0) |
                         (m_enabled ? 0 : ODS_DISABLED);
        item.hwndItem = m_hwnd;
        item.hDC = m_dc;
        item.rcItem = m_client;
        (void)m_button.SendToParent(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }

    [[nodiscard]] UINT TextFormat(UINT horizontal) const
    {
        UINT format = (m_style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
        switch (m_style & BS_CENTER) {
        case BS_LEFT: format |= DT_LEFT; break;
        case BS_RIGHT: format |= DT_RIGHT; break;
        case BS_CENTER: format |= DT_CENTER; break;
        default: format |= horizontal; break;
        }
        return format;
    }

    // Draws the caption in `area` with the style's alignment (`horizontal` when it names none),
    // centred vertically unless BS_TOP/BS_BOTTOM; returns where the text went.
    RECT DrawLabel(RECT area, UINT horizontal)
    {
        if (m_text.empty())
            return RECT{area.left, area.top, area.left, area.top};
        const UINT format = TextFormat(horizontal);
        RECT placed = area;
        (void)DrawTextA(m_dc, m_text.c_str(), -1, &placed, format | DT_CALCRECT);
        const int width = std::min(placed.right - placed.left, area.right - area.left);
        const int height = std::min(placed.bottom - placed.top, area.bottom - area.top);
        placed.left = (format & DT_CENTER) ? area.left + (area.right - area.left - width) / 2
                      : (format & DT_RIGHT) ? area.right - width
                                            : area.left;
        placed.top = (m_style & BS_VCENTER) == BS_TOP      ? area.top
                     : (m_style & BS_VCENTER) == BS_BOTTOM ? area.bottom - height
                                                           : area.top + (area.bottom - area.top - height) / 2;
        placed.right = placed.left + width;
        placed.bottom = placed.top + height;
        DrawCaption(placed, format);
        return placed;
    }

    // A disabled caption is embossed: a highlight copy one pixel down-right under the shadow one.
    void DrawCaption(RECT rect, UINT format)
    {
        if (!m_enabled) {
            RECT raised = rect;
            (void)OffsetRect(&raised, 1, 1);
            (void)SetTextColor(m_dc, GetSysColor(COLOR_3DHILIGHT));
            (void)DrawTextA(m_dc, m_text.c_str(), -1, &raised, format);
            (void)SetTextColor(m_dc, GetSysColor(COLOR_GRAYTEXT));
        }
        (void)DrawTextA(m_dc, m_text.c_str(), -1, &rect, format);
    }

    const ControlInstance& m_button;
    HWND m_hwnd;
    HDC m_dc;
    const winapi_user::detail::ButtonState& m_state;
    DWORD m_style;
    bool m_enabled;
    std::string m_text;
    RECT m_client{};
    HBRUSH m_brush = nullptr;
};

} // namespace

namespace winapi_user::detail {

void PaintButton(const ControlInstance& button, HDC dc, const ButtonState& state)
{
    const SavedDC saved(dc);
    ButtonPainter(button, dc, state).Paint();
}

} // namespace winapi_user::detail
