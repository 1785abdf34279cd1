#include "platform/winapi/controls/ComboBoxWindow.h"

#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/controls/ListBox.h"

#include <algorithm>

namespace winapi_controls::detail {

namespace {

constexpr UINT EDIT_SETSEL = 0x00B1;

} // namespace

// ---- Dropping -------------------------------------------------------------------------------

void ComboBoxWindow::DropDown()
{
    if (m_dropped || Kind() == CBS_SIMPLE || !m_list)
        return;
    if (!Notify(CBN_DROPDOWN))
        return;
    m_selectionAtDrop = Selected();
    const RECT drop = DropRect();
    m_dropped = true;
    (void)SetWindowPos(m_list, HWND_TOPMOST, drop.left, drop.top, drop.right - drop.left, drop.bottom - drop.top,
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (m_selectionAtDrop >= 0)
        (void)List(LB_SETCURSEL, static_cast<WPARAM>(m_selectionAtDrop));
    // The list takes the mouse, not the focus: clicks outside it come to it and close it.
    (void)SetCapture(m_list);
    (void)InvalidateRect(Window(), nullptr, FALSE);
}

// Win32's order: the end of the selection, the list hidden, then the close-up. A cancelled drop
// takes back what hovering the list selected.
bool ComboBoxWindow::CloseUp(Close how)
{
    if (!m_dropped)
        return true;
    m_dropped = false;
    if (how == Close::Cancel && Selected() != m_selectionAtDrop)
        (void)SetSelection(m_selectionAtDrop);
    if (!Notify(how == Close::Accept ? CBN_SELENDOK : CBN_SELENDCANCEL))
        return false;
    (void)ShowWindow(m_list, SW_HIDE);
    if (GetCapture() == m_list)
        (void)ReleaseCapture();
    if (!Notify(CBN_CLOSEUP))
        return false;
    (void)InvalidateRect(Window(), nullptr, FALSE);
    return true;
}

// What the list reports: an item picked with the mouse (or typed), a click outside, a double click.
void ComboBoxWindow::ListCommand(WORD code)
{
    switch (code) {
    case LBN_SELCHANGE:
        ShowSelectionText();
        if (m_typing && m_dropped) {
            m_selectionAtDrop = Selected();
        } else if (m_dropped) {
            if (!CloseUp(Close::Accept))
                return;
        } else if (m_edit && GetFocus() != m_edit) {
            (void)SetFocus(m_edit);
        }
        (void)Notify(CBN_SELCHANGE);
        break;
    case LBN_SELCANCEL:
        (void)CloseUp(Close::Cancel);
        break;
    case LBN_DBLCLK:
        (void)Notify(CBN_DBLCLK);
        break;
    default:
        break;
    }
}

void ComboBoxWindow::MoveSelection(UINT key)
{
    const int count = static_cast<int>(List(LB_GETCOUNT));
    if (count <= 0)
        return;
    const int current = Selected();
    const int page = std::max(1, std::min(count, m_minVisible) - 1);
    int next = current;
    switch (key) {
    case VK_UP:
        next = current < 0 ? 0 : current - 1;
        break;
    case VK_DOWN:
        next = current + 1;
        break;
    case VK_PRIOR:
        next = current - page;
        break;
    case VK_NEXT:
        next = current + page;
        break;
    case VK_HOME:
        next = 0;
        break;
    case VK_END:
        next = count - 1;
        break;
    default:
        return;
    }
    next = std::clamp(next, 0, count - 1);
    if (next == current)
        return;
    (void)SetSelection(next);
    if (m_dropped)
        m_selectionAtDrop = next;
    (void)Notify(CBN_SELCHANGE);
}

// ---- Keys, mouse and focus ----------------------------------------------------------------------

bool ComboBoxWindow::KeyDown(UINT key, bool alt)
{
    const bool toggle = (key == VK_F4 && !alt && !m_extendedUI) || (alt && (key == VK_UP || key == VK_DOWN));
    if (toggle && Kind() != CBS_SIMPLE) {
        ToggleDrop();
        return true;
    }
    if (m_extendedUI && key == VK_DOWN && !m_dropped && Kind() != CBS_SIMPLE) {
        DropDown();
        return true;
    }
    if (m_dropped && (key == VK_ESCAPE || key == VK_RETURN)) {
        (void)CloseUp(key == VK_RETURN ? Close::Accept : Close::Cancel);
        return true;
    }
    const bool listKey = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT ||
                         (!m_edit && (key == VK_HOME || key == VK_END));
    if (!listKey || alt)
        return false;
    MoveSelection(key);
    return true;
}

void ComboBoxWindow::ButtonDown(POINT point)
{
    const HWND focusTarget = m_edit ? m_edit : Window();
    if (GetFocus() != focusTarget)
        (void)SetFocus(focusTarget);
    if (Kind() == CBS_SIMPLE)
        return;
    const RECT button = ButtonRect();
    if (!m_edit || PtInRect(&button, point))
        ToggleDrop();
}

void ComboBoxWindow::GotFocus()
{
    if (m_edit) {
        (void)SetFocus(m_edit);
        return;
    }
    if (m_focused)
        return;
    m_focused = true;
    if (Notify(CBN_SETFOCUS))
        (void)InvalidateRect(Window(), nullptr, FALSE);
}

void ComboBoxWindow::LostFocus(HWND next)
{
    if (next == m_edit || next == Window() || next == m_list || !m_focused)
        return;
    if (!CloseUp(Close::Quiet))
        return;
    m_focused = false;
    if (Notify(CBN_KILLFOCUS))
        (void)InvalidateRect(Window(), nullptr, FALSE);
}

bool ComboBoxWindow::EditMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS:
        (void)SendMessageA(m_edit, EDIT_SETSEL, 0, -1);
        if (!m_focused) {
            m_focused = true;
            (void)Notify(CBN_SETFOCUS);
        }
        return false;
    case WM_KILLFOCUS:
        LostFocus(reinterpret_cast<HWND>(wParam));
        return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return KeyDown(static_cast<UINT>(wParam), (lParam & (1 << 29)) != 0);
    case WM_CHAR:
        // Enter and Escape closed the list; their characters are not the edit's.
        return m_dropped && (wParam == '\r' || wParam == 0x1B);
    default:
        return false;
    }
}

} // namespace winapi_controls::detail
