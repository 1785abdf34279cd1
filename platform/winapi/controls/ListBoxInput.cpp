#include "platform/winapi/controls/ListBoxWindow.h"

#include "platform/winapi/kernel/Clock.h"

#include <algorithm>

namespace winapi_controls::detail {

void ListBoxWindow::KeyDown(WPARAM key)
{
    if (Count() == 0)
        return;
    const int from = m_selected >= 0 ? m_selected : m_caret;
    const int page = std::max(1, FullyVisibleFrom(m_top) - 1);
    int target = from;
    switch (key) {
    case VK_UP:
        target = m_selected >= 0 ? from - 1 : from;
        break;
    case VK_DOWN:
        target = m_selected >= 0 ? from + 1 : from;
        break;
    case VK_PRIOR:
        target = from - page;
        break;
    case VK_NEXT:
        target = from + page;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = Count() - 1;
        break;
    default:
        return;
    }
    Choose(std::clamp(target, 0, Count() - 1));
}

// Characters typed in quick succession search for items starting with all of them; the same
// character typed again steps through the items starting with it.
void ListBoxWindow::TypeAhead(char c)
{
    if (!HasStrings() || static_cast<unsigned char>(c) < ' ')
        return;
    const DWORD now = GetTickCount();
    if (now - m_lastTyped > LISTBOX_TYPEAHEAD_MS)
        m_typed.clear();
    m_lastTyped = now;
    m_typed += c;
    const int start = m_typed.size() == 1 ? m_selected : m_selected - 1;
    LRESULT found = Find(start, reinterpret_cast<LPARAM>(m_typed.c_str()), false);
    if (found == LB_ERR && std::all_of(m_typed.begin(), m_typed.end(), [c](char typed) { return typed == c; })) {
        const char single[2] = {c, '\0'};
        found = Find(m_selected, reinterpret_cast<LPARAM>(single), false);
    }
    if (found != LB_ERR)
        Choose(static_cast<int>(found));
}

bool ListBoxWindow::ButtonDown(POINT point)
{
    const auto [item, outside] = ItemAt(point);
    if (IsComboList()) {
        const RECT client = Client();
        if (!PtInRect(&client, point) && ScrollBarPress(point))
            return true;
        if (!PtInRect(&client, point)) {
            if (!Report(LBN_SELCANCEL))
                return false;
        } else if (Valid(item)) {
            (void)SetSelection(item);
        }
        m_tracking = true;
        return true;
    }
    if (!m_focused)
        (void)SetFocus(Window());
    if (!outside && !Choose(item))
        return false;
    (void)SetCapture(Window());
    m_tracking = true;
    return true;
}

bool ListBoxWindow::ScrollBarPress(POINT point)
{
    POINT screen = point;
    (void)ClientToScreen(Window(), &screen);
    const LRESULT hit = SendMessageA(Window(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hit != HTVSCROLL && hit != HTHSCROLL)
        return false;
    const HWND self = Window();
    m_scrolling = true;
    (void)SendMessageA(self, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
    m_scrolling = false;
    if (IsWindow(self) && IsWindowVisible(self) && GetCapture() != self)
        (void)SetCapture(self);
    return true;
}

void ListBoxWindow::MouseMove(POINT point)
{
    const RECT client = Client();
    if (IsComboList()) {
        const auto [item, outside] = ItemAt(point);
        // Only the dropped list (which has the mouse) follows the pointer.
        if (GetCapture() == Window() && PtInRect(&client, point) && Valid(item) && item != m_selected)
            (void)SetSelection(item);
        return;
    }
    if (!m_tracking || Count() == 0)
        return;
    int target = ItemAt(point).first;
    if (point.y < 0)
        target = m_top - 1;
    else if (point.y >= client.bottom)
        target = m_top + FullyVisibleFrom(m_top);
    Choose(std::clamp(target, 0, Count() - 1));
}

void ListBoxWindow::ButtonUp(POINT point)
{
    const bool wasTracking = m_tracking;
    m_tracking = false;
    if (IsComboList()) {
        const RECT client = Client();
        const auto [item, outside] = ItemAt(point);
        if (PtInRect(&client, point) && Valid(item)) {
            (void)SetSelection(item);
            (void)Report(LBN_SELCHANGE);
        }
        return;
    }
    if (wasTracking && GetCapture() == Window())
        (void)ReleaseCapture();
}

} // namespace winapi_controls::detail
