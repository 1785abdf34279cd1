#include "platform/winapi/controls/ListBoxWindow.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>

namespace winapi_controls::detail {

// ---- Geometry -------------------------------------------------------------------------------

RECT ListBoxWindow::Client() const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    return client;
}

int ListBoxWindow::ItemHeight(int index) const
{
    if ((m_style & LBS_OWNERDRAWVARIABLE) && Valid(index))
        return m_items[index].height;
    return m_itemHeight;
}

RECT ListBoxWindow::ItemRect(int index) const
{
    int y = 0;
    if (!(m_style & LBS_OWNERDRAWVARIABLE)) {
        y = (index - m_top) * m_itemHeight;
    } else {
        for (int i = m_top; i < index; ++i)
            y += ItemHeight(i);
        for (int i = index; i < m_top; ++i)
            y -= ItemHeight(i);
    }
    return RECT{0, y, Client().right, y + ItemHeight(index)};
}

std::pair<int, bool> ListBoxWindow::ItemAt(POINT point) const
{
    const RECT client = Client();
    const bool outsideX = point.x < 0 || point.x >= client.right;
    if (Count() == 0)
        return {-1, true};
    if (point.y < 0)
        return {m_top, true};
    int y = 0;
    for (int i = m_top; i < Count(); ++i) {
        y += ItemHeight(i);
        if (point.y < y)
            return {i, outsideX || point.y >= client.bottom};
    }
    return {Count() - 1, true};
}

int ListBoxWindow::FullyVisibleFrom(int top) const
{
    const int height = Client().bottom;
    int used = 0;
    int count = 0;
    for (int i = top; i < Count() && used + ItemHeight(i) <= height; ++i, ++count)
        used += ItemHeight(i);
    if (!(m_style & LBS_OWNERDRAWVARIABLE) && m_itemHeight > 0)
        return std::max(1, height / m_itemHeight);
    return std::max(1, count);
}

int ListBoxWindow::MaxTop() const
{
    const int height = Client().bottom;
    int used = 0;
    int top = Count();
    while (top > 0 && used + ItemHeight(top - 1) <= height)
        used += ItemHeight(--top);
    return std::min(top, std::max(0, Count() - 1));
}

void ListBoxWindow::KeepIntegralHeight(WINDOWPOS& pos) const
{
    if ((m_style & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) || (pos.flags & SWP_NOSIZE) || m_itemHeight <= 0)
        return;
    RECT window{};
    (void)GetWindowRect(Window(), &window);
    const int frame = (window.bottom - window.top) - Client().bottom;
    const int clientHeight = pos.cy - frame;
    if (clientHeight > m_itemHeight)
        pos.cy -= clientHeight % m_itemHeight;
}

int ListBoxWindow::FontHeight() const
{
    TEXTMETRICA metrics{};
    const HDC dc = GetDC(nullptr);
    {
        const SelectionGuard font(dc, m_font ? m_font : GetStockObject(SYSTEM_FONT));
        (void)GetTextMetricsA(dc, &metrics);
    }
    (void)ReleaseDC(nullptr, dc);
    return std::max(1, static_cast<int>(metrics.tmHeight));
}

void ListBoxWindow::SetFont(HFONT font, bool redraw)
{
    m_font = font;
    if (!(m_style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)))
        m_itemHeight = FontHeight();
    UpdateScrollBar();
    if (redraw)
        (void)InvalidateRect(Window(), nullptr, TRUE);
}

// ---- Selection and scrolling ------------------------------------------------------------------

void ListBoxWindow::InvalidateItem(int index)
{
    if (!Valid(index))
        return;
    const RECT rect = ItemRect(index);
    (void)InvalidateRect(Window(), &rect, TRUE);
}

LRESULT ListBoxWindow::SetSelection(int index)
{
    InvalidateItem(m_selected);
    if (!Valid(index)) {
        m_selected = -1;
        return LB_ERR;
    }
    m_selected = index;
    SetCaret(index);
    EnsureVisible(index);
    InvalidateItem(index);
    return index;
}

bool ListBoxWindow::Choose(int index)
{
    if (!Valid(index) || index == m_selected)
        return true;
    (void)SetSelection(index);
    return Notify(LBN_SELCHANGE);
}

void ListBoxWindow::SetCaret(int index)
{
    InvalidateItem(m_caret);
    m_caret = index;
    InvalidateItem(m_caret);
}

LRESULT ListBoxWindow::SetTop(int index)
{
    const int top = std::clamp(index, 0, MaxTop());
    if (top != m_top) {
        m_top = top;
        (void)InvalidateRect(Window(), nullptr, TRUE);
    }
    UpdateScrollBar();
    return LB_OKAY;
}

void ListBoxWindow::EnsureVisible(int index)
{
    if (index < m_top) {
        (void)SetTop(index);
        return;
    }
    if (index < m_top + FullyVisibleFrom(m_top))
        return;
    const int height = Client().bottom;
    int top = index;
    int used = ItemHeight(index);
    while (top > 0 && used + ItemHeight(top - 1) <= height)
        used += ItemHeight(--top);
    (void)SetTop(top);
}

void ListBoxWindow::UpdateScrollBar()
{
    if (!(m_style & WS_VSCROLL))
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | ((m_style & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0);
    info.nMax = Count() - 1;
    info.nPage = static_cast<UINT>(Count() > 0 ? FullyVisibleFrom(m_top) : 0);
    info.nPos = m_top;
    (void)SetScrollInfo(Window(), SB_VERT, &info, TRUE);
}

void ListBoxWindow::Scroll(WORD code, WORD position)
{
    const int page = std::max(1, FullyVisibleFrom(m_top) - 1);
    switch (code) {
    case SB_LINEUP:
        (void)SetTop(m_top - 1);
        break;
    case SB_LINEDOWN:
        (void)SetTop(m_top + 1);
        break;
    case SB_PAGEUP:
        (void)SetTop(m_top - page);
        break;
    case SB_PAGEDOWN:
        (void)SetTop(m_top + page);
        break;
    case SB_TOP:
        (void)SetTop(0);
        break;
    case SB_BOTTOM:
        (void)SetTop(Count());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        (void)SetTop(position);
        break;
    default:
        break;
    }
}

// ---- Painting -------------------------------------------------------------------------------

std::optional<HBRUSH> ListBoxWindow::ControlColors(HDC dc) const
{
    (void)SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    (void)SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    const Reply reply =
        SendTo(Owner(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Window()));
    if (!reply.stands)
        return std::nullopt;
    const auto brush = reinterpret_cast<HBRUSH>(reply.answer);
    return brush ? brush : GetSysColorBrush(COLOR_WINDOW);
}

void ListBoxWindow::Paint(HDC dc, const RECT& update)
{
    const SelectionGuard font(dc, m_font ? m_font : GetStockObject(SYSTEM_FONT));
    const std::optional<HBRUSH> colors = ControlColors(dc);
    if (!colors)
        return;
    const HBRUSH background = *colors;
    if (!IsWindowEnabled(Window()))
        (void)SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT)); // over the parent's colour, as Win32 does
    const RECT client = Client();
    int bottom = 0;
    for (int i = m_top; i < Count() && bottom < client.bottom; ++i) {
        const RECT rect = ItemRect(i);
        bottom = rect.bottom;
        if (rect.bottom <= update.top || rect.top >= update.bottom)
            continue;
        if (m_style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) {
            if (!OwnerDrawItem(dc, i, ODA_DRAWENTIRE))
                return;
        } else {
            PaintItem(dc, i, background);
        }
    }
    const RECT rest{0, bottom, client.right, client.bottom};
    if (rest.top < rest.bottom)
        (void)FillRect(dc, &rest, background);
}

void ListBoxWindow::PaintItem(HDC dc, int index, HBRUSH background)
{
    RECT rect = ItemRect(index);
    const bool selected = index == m_selected;
    const COLORREF oldText = selected ? SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT)) : GetTextColor(dc);
    (void)FillRect(dc, &rect, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : background);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT textRect{rect.left + 2, rect.top, rect.right, rect.bottom};
    const std::string& text = m_items[index].text;
    (void)DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    (void)SetBkMode(dc, oldMode);
    (void)SetTextColor(dc, oldText);
    if (m_focused && index == m_caret)
        (void)DrawFocusRect(dc, &rect);
}

bool ListBoxWindow::OwnerDrawItem(HDC dc, int index, UINT action)
{
    const HWND identity = Identity();
    DRAWITEMSTRUCT draw{};
    draw.CtlType = IsComboList() ? ODT_COMBOBOX : ODT_LISTBOX;
    draw.CtlID = static_cast<UINT>(GetDlgCtrlID(identity));
    draw.itemID = static_cast<UINT>(index);
    draw.itemAction = action;
    draw.itemState = (index == m_selected ? ODS_SELECTED : 0) | (m_focused && index == m_caret ? ODS_FOCUS : 0) |
                     (IsWindowEnabled(Window()) ? 0 : ODS_DISABLED);
    draw.hwndItem = identity;
    draw.hDC = dc;
    draw.rcItem = ItemRect(index);
    draw.itemData = m_items[index].data;
    return SendTo(GetParent(identity), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw)).stands;
}

} // namespace winapi_controls::detail
