#include "platform/winapi/controls/ComboBoxWindow.h"

#include "platform/winapi/controls/ListBox.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/Text.h"

#include <cstring>
#include <string>

namespace winapi_controls::detail {

void ComboBoxWindow::Paint(HDC dc)
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    if (Kind() == CBS_SIMPLE) {
        (void)FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        RECT edge = ItemRect();
        (void)DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
        return;
    }
    RECT edge = client;
    (void)DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    const RECT inner{2, 2, client.right - 2, client.bottom - 2};
    (void)FillRect(dc, &inner, GetSysColorBrush(IsWindowEnabled(Window()) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (!m_edit)
        PaintField(dc);
    RECT button = ButtonRect();
    (void)DrawFrameControl(dc, &button, DFC_SCROLL,
                           DFCS_SCROLLCOMBOBOX | (m_dropped ? DFCS_PUSHED | DFCS_FLAT : 0) |
                               (IsWindowEnabled(Window()) ? 0 : DFCS_INACTIVE));
}

// The field of a drop-down list: the selected item, highlighted while the combo has the focus.
void ComboBoxWindow::PaintField(HDC dc)
{
    RECT rect = ItemRect();
    const int selected = Selected();
    const bool enabled = IsWindowEnabled(Window()) != FALSE;
    const bool highlight = m_focused && !m_dropped;
    const SelectionGuard font(dc, m_font ? m_font : GetStockObject(SYSTEM_FONT));
    (void)SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    (void)SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    const Reply colors = SendToParent(enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(Window()));
    if (!colors.stands)
        return;
    // The parent's colours stand, but a disabled field's text is grey whatever it chose.
    if (!enabled)
        (void)SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    auto brush = reinterpret_cast<HBRUSH>(colors.answer);
    if (!brush)
        brush = GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    if (m_style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_COMBOBOX;
        draw.CtlID = static_cast<UINT>(GetDlgCtrlID(Window()));
        draw.itemID = static_cast<UINT>(selected);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
        draw.hwndItem = Window();
        draw.hDC = dc;
        draw.rcItem = rect;
        draw.itemData = selected >= 0 ? static_cast<ULONG_PTR>(List(LB_GETITEMDATA, static_cast<WPARAM>(selected))) : 0;
        (void)FillRect(dc, &rect, brush);
        (void)SendToParent(WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
        return;
    }
    if (highlight)
        (void)SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    (void)FillRect(dc, &rect, highlight ? GetSysColorBrush(COLOR_HIGHLIGHT) : brush);
    if (selected >= 0) {
        std::string text(static_cast<std::size_t>(std::max<LRESULT>(0, List(LB_GETTEXTLEN, static_cast<WPARAM>(selected)))) + 1, '\0');
        (void)List(LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        // Top-aligned like the text of an edit field, so a drop-down list shares its baseline
        // with the edits and editable combos beside it.
        RECT textRect{rect.left + 2, rect.top, rect.right, rect.bottom};
        (void)DrawTextA(dc, text.c_str(), static_cast<int>(std::strlen(text.c_str())), &textRect,
                        DT_SINGLELINE | DT_TOP | DT_NOPREFIX);
        (void)SetBkMode(dc, oldMode);
    }
    if (highlight)
        (void)DrawFocusRect(dc, &rect);
}

} // namespace winapi_controls::detail
