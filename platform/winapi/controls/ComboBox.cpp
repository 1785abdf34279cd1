#include "platform/winapi/controls/ComboBoxWindow.h"

#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/controls/ListBox.h"
#include "platform/winapi/controls/ListBoxWindow.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/kernel/WinError.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace detail = winapi_controls::detail;

namespace winapi_controls::detail {

namespace {

// The edit control's messages and notifications the combo uses.
constexpr UINT EDIT_GETSEL = 0x00B0;
constexpr UINT EDIT_SETSEL = 0x00B1;
constexpr UINT EDIT_LIMITTEXT = 0x00C5;
constexpr WORD EDIT_CHANGE = 0x0300;
constexpr WORD EDIT_UPDATE = 0x0400;
constexpr DWORD EDIT_UPPERCASE = 0x0008;
constexpr DWORD EDIT_LOWERCASE = 0x0010;
constexpr DWORD EDIT_AUTOHSCROLL = 0x0080;

// The combo subclasses its edit so that the keys and focus changes of the edit act on the combo.
LRESULT ComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    auto* state = static_cast<ComboBoxWindow*>(InstanceOf(GetParent(edit)));
    if (!state)
        return DefSubclassProc(edit, message, wParam, lParam);
    // The combo's parent may destroy the combo while the edit's message is under way.
    const ControlHold hold(*state);
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        if (state->Stands())
            (void)state->EditMessage(message, wParam, lParam);
        return result;
    }
    if (state->EditMessage(message, wParam, lParam) || !state->Stands())
        return 0;
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

ComboBoxWindow::ComboBoxWindow(HWND hwnd, const CREATESTRUCTA& create)
    : ControlInstance(hwnd), m_style(static_cast<DWORD>(create.style))
{
    // Scroll-bar styles are meant for the drop-down list, which always has its bar; on the
    // combo's own window they would frame it with a window scroll bar.
    (void)SetWindowLongPtrA(hwnd, GWL_STYLE, create.style & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
}

LRESULT ComboBoxWindow::List(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return m_list ? SendMessageA(m_list, message, wParam, lParam) : CB_ERR;
}

int ComboBoxWindow::Selected() const { return static_cast<int>(List(LB_GETCURSEL)); }

bool ComboBoxWindow::Notify(WORD code) const
{
    return CommandParent(code).stands;
}

LRESULT ComboBoxWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return CreateParts() ? 0 : -1;
    case WM_DESTROY:
        if (m_list && Kind() != CBS_SIMPLE)
            (void)DestroyWindow(m_list);
        m_list = nullptr;
        break;
    case CB_ADDSTRING:
        return List(LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING:
        return List(LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
        return DeleteItem(static_cast<int>(static_cast<INT_PTR>(wParam)));
    case CB_RESETCONTENT:
        (void)List(LB_RESETCONTENT);
        ShowSelectionText();
        return CB_OKAY;
    case CB_GETCOUNT:
        return List(LB_GETCOUNT);
    case CB_GETCURSEL:
        return Selected();
    case CB_SETCURSEL:
        return SetSelection(static_cast<int>(static_cast<INT_PTR>(wParam)));
    case CB_GETLBTEXT:
        return List(LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return List(LB_GETTEXTLEN, wParam);
    case CB_FINDSTRING:
        return List(LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return List(LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
        const LRESULT found = List(LB_FINDSTRING, wParam, lParam);
        return found == CB_ERR ? CB_ERR : SetSelection(static_cast<int>(found));
    }
    case CB_GETITEMDATA:
        return List(LB_GETITEMDATA, wParam);
    case CB_SETITEMDATA:
        return List(LB_SETITEMDATA, wParam, lParam);
    case CB_GETTOPINDEX:
        return List(LB_GETTOPINDEX);
    case CB_SETTOPINDEX:
        return List(LB_SETTOPINDEX, wParam);
    case CB_GETITEMHEIGHT:
        return static_cast<int>(static_cast<INT_PTR>(wParam)) == -1 ? m_fieldHeight : List(LB_GETITEMHEIGHT, wParam);
    case CB_SETITEMHEIGHT:
        return SetItemHeight(static_cast<int>(static_cast<INT_PTR>(wParam)), lParam);
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown();
        else
            (void)CloseUp(Close::Quiet);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return m_dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
        if (!lParam)
            return CB_ERR;
        *reinterpret_cast<RECT*>(lParam) = DropRect();
        return TRUE;
    case CB_SETDROPPEDWIDTH:
        m_droppedWidth = static_cast<int>(static_cast<INT_PTR>(wParam));
        [[fallthrough]];
    case CB_GETDROPPEDWIDTH: {
        RECT window{};
        (void)GetWindowRect(Window(), &window);
        return std::max<LRESULT>(m_droppedWidth, window.right - window.left);
    }
    case CB_SETMINVISIBLE:
        if (static_cast<int>(wParam) < 1)
            return FALSE;
        m_minVisible = static_cast<int>(wParam);
        return TRUE;
    case CB_GETMINVISIBLE:
        return m_minVisible;
    case CB_SETEXTENDEDUI:
        m_extendedUI = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return m_extendedUI ? TRUE : FALSE;
    case CB_LIMITTEXT:
        if (!m_edit)
            return CB_ERR;
        (void)SendMessageA(m_edit, EDIT_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_GETEDITSEL:
        return m_edit ? SendMessageA(m_edit, EDIT_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
        if (!m_edit)
            return CB_ERR;
        (void)SendMessageA(m_edit, EDIT_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lParam))),
                           static_cast<LPARAM>(static_cast<SHORT>(HIWORD(lParam))));
        return TRUE;
    case CB_GETCOMBOBOXINFO:
        if (!lParam)
            return FALSE;
        FillInfo(*reinterpret_cast<COMBOBOXINFO*>(lParam));
        return TRUE;
    case WM_SETTEXT:
        return SetText(reinterpret_cast<const char*>(lParam));
    case WM_GETTEXT:
        return GetText(wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return m_edit ? GetWindowTextLengthA(m_edit) : Selected() < 0 ? 0 : List(LB_GETTEXTLEN, static_cast<WPARAM>(Selected()));
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_WINDOWPOSCHANGING:
        if (Kind() != CBS_SIMPLE && !(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOSIZE))
            reinterpret_cast<WINDOWPOS*>(lParam)->cy = FrameHeight();
        break;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == m_list)
            ListCommand(HIWORD(wParam));
        else if (reinterpret_cast<HWND>(lParam) == m_edit)
            EditCommand(HIWORD(wParam));
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return SendToParent(message, wParam, lParam).answer;
    case WM_GETDLGCODE:
        // The arrow keys and characters; while the list is down, Enter and Escape too.
        return 0x0001 | 0x0080 | (m_dropped ? 0x0004 : 0);
    case WM_SETFOCUS:
        GotFocus();
        return 0;
    case WM_KILLFOCUS:
        LostFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (KeyDown(static_cast<UINT>(wParam), (lParam & (1 << 29)) != 0))
            return 0;
        break;
    case WM_CHAR:
        if (!m_edit && m_list) {
            m_typing = true;
            (void)SendMessageA(m_list, WM_CHAR, wParam, lParam);
            m_typing = false;
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEWHEEL:
        MoveSelection(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN);
        return 0;
    case WM_ENABLE:
        if (m_edit)
            (void)EnableWindow(m_edit, static_cast<BOOL>(wParam));
        (void)InvalidateRect(Window(), nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        if (message == WM_PRINTCLIENT || wParam) {
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        PAINTSTRUCT ps;
        Paint(BeginPaint(Window(), &ps));
        (void)EndPaint(Window(), &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(Window(), message, wParam, lParam);
}

// ---- Parts and layout -----------------------------------------------------------------------

bool ComboBoxWindow::CreateParts()
{
    // A simple combo's list sits in a sunken edge, as its edit does; a dropped list has a plain
    // border.
    const DWORD listStyle = LBS_COMBOBOX | LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT |
                            (m_style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) |
                            ((m_style & CBS_SORT) ? LBS_SORT : 0) | ((m_style & CBS_HASSTRINGS) ? LBS_HASSTRINGS : 0) |
                            ((m_style & CBS_DISABLENOSCROLL) ? LBS_DISABLENOSCROLL : 0);
    RegisterComboListClass();
    // A simple combo's parts stay in view: its own painting (the erasing included) goes round
    // them, as their frames would not be painted again.
    if (Kind() == CBS_SIMPLE)
        (void)SetWindowLongPtrA(Window(), GWL_STYLE, GetWindowLongPtrA(Window(), GWL_STYLE) | WS_CLIPCHILDREN);
    if (Kind() == CBS_SIMPLE)
        m_list = CreateWindowExA(WS_EX_CLIENTEDGE, "ComboLBox", "", listStyle | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                 Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(COMBO_LIST_ID)), nullptr,
                                 Window());
    else
        m_list = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ComboLBox", "", listStyle | WS_BORDER | WS_POPUP,
                                 0, 0, 0, 0, Window(), nullptr, nullptr, Window());
    if (!m_list)
        return false;
    // A pop-up's id is no menu handle; give the list its Win32 id afterwards.
    (void)SetWindowLongPtrA(m_list, GWLP_ID, COMBO_LIST_ID);
    if (HasEdit()) {
        const DWORD editStyle = WS_CHILD | WS_VISIBLE | ((m_style & CBS_AUTOHSCROLL) ? EDIT_AUTOHSCROLL : 0) |
                                ((m_style & CBS_UPPERCASE) ? EDIT_UPPERCASE : 0) |
                                ((m_style & CBS_LOWERCASE) ? EDIT_LOWERCASE : 0);
        m_edit = CreateWindowExA(0, "Edit", "", editStyle, 0, 0, 0, 0, Window(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(COMBO_EDIT_ID)), nullptr, nullptr);
        if (!m_edit)
            return false;
        (void)SetWindowSubclass(m_edit, &ComboEditProc, 0, 0);
        // A combo made disabled gets no WM_ENABLE: its edit starts in the same state.
        if (!IsWindowEnabled(Window()))
            (void)EnableWindow(m_edit, FALSE);
    }
    SetFont(nullptr, false);
    RECT window{};
    (void)GetWindowRect(Window(), &window);
    (void)SetWindowPos(Window(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    return true;
}

void ComboBoxWindow::SetFont(HFONT font, bool redraw)
{
    m_font = font;
    TEXTMETRICA metrics{};
    const HDC dc = GetDC(nullptr);
    {
        const SelectionGuard selected(dc, font ? font : GetStockObject(SYSTEM_FONT));
        (void)GetTextMetricsA(dc, &metrics);
    }
    (void)ReleaseDC(nullptr, dc);
    if (!(m_style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || m_fieldHeight == 0)
        m_fieldHeight = static_cast<int>(metrics.tmHeight) + 2;
    if (m_edit)
        (void)SendMessageA(m_edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    (void)SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (Kind() != CBS_SIMPLE) {
        RECT window{};
        (void)GetWindowRect(Window(), &window);
        (void)SetWindowPos(Window(), nullptr, 0, 0, window.right - window.left, FrameHeight(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout();
    if (redraw)
        (void)InvalidateRect(Window(), nullptr, TRUE);
}

RECT ComboBoxWindow::ButtonRect() const
{
    if (Kind() == CBS_SIMPLE)
        return RECT{};
    RECT client{};
    (void)GetClientRect(Window(), &client);
    return RECT{std::max(2, client.right - 2 - GetSystemMetrics(SM_CXVSCROLL)), 2, std::max(2, client.right - 2),
                std::max(2, client.bottom - 2)};
}

RECT ComboBoxWindow::ItemRect() const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    if (Kind() == CBS_SIMPLE)
        return RECT{0, 0, client.right, std::min<LONG>(client.bottom, FrameHeight())};
    return RECT{3, 3, std::max<LONG>(3, ButtonRect().left - 1), std::max<LONG>(3, client.bottom - 3)};
}

void ComboBoxWindow::Layout()
{
    const RECT item = ItemRect();
    if (m_edit) {
        RECT field = item;
        if (Kind() == CBS_SIMPLE)
            (void)InflateRect(&field, -SimpleEdge, -SimpleEdge); // inside the edge the combo paints
        (void)MoveWindow(m_edit, field.left, field.top, field.right - field.left, field.bottom - field.top, TRUE);
    }
    if (Kind() == CBS_SIMPLE && m_list) {
        RECT client{};
        (void)GetClientRect(Window(), &client);
        const int height = std::max<LONG>(0, client.bottom - item.bottom);
        (void)MoveWindow(m_list, 0, item.bottom, client.right, height, TRUE);
        // A list with no room for anything inside its edge would show only a strip of edge.
        (void)ShowWindow(m_list, height > 2 * SimpleEdge ? SW_SHOWNA : SW_HIDE);
    }
    (void)InvalidateRect(Window(), nullptr, TRUE);
}

RECT ComboBoxWindow::DropRect() const
{
    RECT window{};
    (void)GetWindowRect(Window(), &window);
    const int count = static_cast<int>(List(LB_GETCOUNT));
    const int shown = std::max(1, std::min(count, m_minVisible));
    int height = 2;
    for (int i = 0; i < shown; ++i)
        height += static_cast<int>(List(LB_GETITEMHEIGHT, static_cast<WPARAM>(std::min(i, std::max(count - 1, 0)))));
    const int width = std::max<int>(m_droppedWidth, window.right - window.left);
    RECT drop{window.left, window.bottom, window.left + width, window.bottom + height};
    RECT work{};
    (void)SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (drop.bottom > work.bottom && window.top - height >= work.top)
        OffsetRect(&drop, 0, window.top - height - drop.top);
    return drop;
}

void ComboBoxWindow::FillInfo(COMBOBOXINFO& info) const
{
    info.rcItem = ItemRect();
    info.rcButton = ButtonRect();
    info.stateButton = Kind() == CBS_SIMPLE ? STATE_SYSTEM_INVISIBLE : m_dropped ? STATE_SYSTEM_PRESSED : 0;
    info.hwndCombo = Window();
    info.hwndItem = m_edit ? m_edit : Window();
    info.hwndList = m_list;
}

// ---- Selection and text -----------------------------------------------------------------------

LRESULT ComboBoxWindow::DeleteItem(int index)
{
    const bool wasSelected = index == Selected();
    const LRESULT result = List(LB_DELETESTRING, static_cast<WPARAM>(index));
    if (wasSelected)
        ShowSelectionText();
    return result;
}

// -1 is the selection field; other indexes go to the list.
LRESULT ComboBoxWindow::SetItemHeight(int index, LPARAM height)
{
    if (index != -1)
        return List(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), height);
    if (height < 1 || height > 255)
        return CB_ERR;
    m_fieldHeight = static_cast<int>(height);
    if (Kind() != CBS_SIMPLE) {
        RECT window{};
        (void)GetWindowRect(Window(), &window);
        (void)SetWindowPos(Window(), nullptr, 0, 0, window.right - window.left, FrameHeight(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout();
    return CB_OKAY;
}

void ComboBoxWindow::EditCommand(WORD code)
{
    if (code == EDIT_CHANGE)
        (void)Notify(CBN_EDITCHANGE);
    else if (code == EDIT_UPDATE)
        (void)Notify(CBN_EDITUPDATE);
}

LRESULT ComboBoxWindow::SetSelection(int index)
{
    const LRESULT result = List(LB_SETCURSEL, static_cast<WPARAM>(index));
    ShowSelectionText();
    return result;
}

void ComboBoxWindow::ShowSelectionText()
{
    if (!m_edit) {
        (void)InvalidateRect(Window(), nullptr, FALSE);
        return;
    }
    const int selected = Selected();
    std::string text;
    if (selected >= 0) {
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, List(LB_GETTEXTLEN, static_cast<WPARAM>(selected)))) + 1);
        (void)List(LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
    }
    (void)SetWindowTextA(m_edit, text.c_str());
    (void)SendMessageA(m_edit, EDIT_SETSEL, 0, -1);
}

LRESULT ComboBoxWindow::SetText(const char* text)
{
    if (m_edit)
        return SetWindowTextA(m_edit, text ? text : "");
    const LRESULT found = List(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text ? text : ""));
    (void)SetSelection(static_cast<int>(found));
    return found == CB_ERR ? CB_ERR : TRUE;
}

LRESULT ComboBoxWindow::GetText(WPARAM size, LPSTR buffer) const
{
    if (m_edit)
        return GetWindowTextA(m_edit, buffer, static_cast<int>(size));
    if (!buffer || size == 0)
        return 0;
    std::string text;
    if (const int selected = Selected(); selected >= 0) {
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, List(LB_GETTEXTLEN, static_cast<WPARAM>(selected)))) + 1);
        (void)List(LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
    }
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<LRESULT>(copied);
}

} // namespace winapi_controls::detail

BOOL GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO pcbi)
{
    if (!pcbi || pcbi->cbSize != sizeof(COMBOBOXINFO) || !IsWindow(hwndCombo)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Asked by message, so that it also answers for combos subclassed under another class name.
    if (SendMessageA(hwndCombo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(pcbi)))
        return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

void RegisterComboBoxClass()
{
    RegisterEditClass();
    detail::RegisterComboListClass();
    (void)RegisterControlInstanceClass<detail::ComboBoxWindow>("ComboBox", CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW);
}
