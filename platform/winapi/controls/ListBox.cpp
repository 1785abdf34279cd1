#include "platform/winapi/controls/ListBoxWindow.h"

#include "platform/winapi/user/ControlInstance.h"

#include "platform/rtl/Strings.h"
#include "platform/winapi/gdi/Gdi.h"

#include <cstring>

namespace detail = winapi_controls::detail;

namespace winapi_controls::detail {

void RegisterComboListClass() { (void)RegisterControlInstanceClass<ListBoxWindow>("ComboLBox", CS_DBLCLKS | CS_SAVEBITS); }

// A combo's list is told its combo through the creation parameter.
ListBoxWindow::ListBoxWindow(HWND hwnd, const CREATESTRUCTA& create)
    : ControlInstance(hwnd),
      m_combo((create.style & LBS_COMBOBOX) ? static_cast<HWND>(create.lpCreateParams) : nullptr),
      m_style(static_cast<DWORD>(create.style))
{
    // A virtual list is owner-drawn with fixed heights and keeps no strings.
    if (m_style & LBS_NODATA)
        m_style = (m_style & ~(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_SORT)) | LBS_OWNERDRAWFIXED;
    if (m_style & LBS_OWNERDRAWVARIABLE)
        m_style &= ~LBS_OWNERDRAWFIXED;
    m_itemHeight = FontHeight();
}

bool ListBoxWindow::HasStrings() const
{
    return !(m_style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (m_style & LBS_HASSTRINGS);
}

LRESULT ListBoxWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message) {
    case WM_CREATE:
        if (m_style & LBS_OWNERDRAWFIXED)
            m_itemHeight = MeasureItem(0, 0);
        UpdateScrollBar();
        return 0;
    case LB_ADDSTRING:
        return Add(lParam);
    case LB_INSERTSTRING:
        return Insert(index, lParam);
    case LB_DELETESTRING:
        return Delete(index);
    case LB_RESETCONTENT:
        Reset();
        return 0;
    case LB_GETCOUNT:
        return Count();
    case LB_SETCOUNT:
        return SetCount(index);
    case LB_GETCURSEL:
        return m_selected;
    case LB_SETCURSEL:
        return SetSelection(index);
    case LB_GETSEL:
        return Valid(index) ? (index == m_selected ? 1 : 0) : LB_ERR;
    case LB_GETTEXT:
        return GetText(index, reinterpret_cast<LPSTR>(lParam));
    case LB_GETTEXTLEN:
        return !Valid(index) ? LB_ERR : HasStrings() ? static_cast<LRESULT>(m_items[index].text.size()) : static_cast<LRESULT>(sizeof(ULONG_PTR));
    case LB_FINDSTRING:
        return Find(index, lParam, false);
    case LB_FINDSTRINGEXACT:
        return Find(index, lParam, true);
    case LB_SELECTSTRING: {
        const LRESULT found = Find(index, lParam, false);
        return found == LB_ERR ? LB_ERR : SetSelection(static_cast<int>(found));
    }
    case LB_GETITEMDATA:
        return Valid(index) ? static_cast<LRESULT>(m_items[index].data) : LB_ERR;
    case LB_SETITEMDATA:
        return SetItemData(index, lParam);
    case LB_GETITEMHEIGHT:
        return (m_style & LBS_OWNERDRAWVARIABLE) && !Valid(index) && Count() > 0 ? LB_ERR : ItemHeight(index);
    case LB_SETITEMHEIGHT:
        return SetItemHeight(index, lParam);
    case LB_GETTOPINDEX:
        return m_top;
    case LB_SETTOPINDEX:
        return Valid(index) || index == 0 ? SetTop(index) : LB_ERR;
    case LB_GETITEMRECT:
        if (!Valid(index) || !lParam)
            return LB_ERR;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(index);
        return 1;
    case LB_ITEMFROMPOINT: {
        const auto [item, outside] = ItemAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return MAKELONG(static_cast<WORD>(item < 0 ? 0 : item), outside ? 1 : 0);
    }
    case LB_GETCARETINDEX:
        return m_caret;
    case LB_SETCARETINDEX:
        if (!Valid(index))
            return LB_ERR;
        SetCaret(index);
        EnsureVisible(index);
        return LB_OKAY;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_SIZE:
        (void)SetTop(m_top);
        UpdateScrollBar();
        break;
    case WM_WINDOWPOSCHANGING:
        KeepIntegralHeight(*reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_VSCROLL:
        Scroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        (void)SetTop(m_top - GET_WHEEL_DELTA_WPARAM(wParam) / 120 * 3);
        return 0;
    case WM_GETDLGCODE:
        return 0x0001 | 0x0080;  // the arrow keys and characters
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_focused = message == WM_SETFOCUS;
        InvalidateItem(m_caret);
        (void)Notify(m_focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return 0;
    case WM_KEYDOWN:
        KeyDown(wParam);
        return 0;
    case WM_CHAR:
        TypeAhead(static_cast<char>(wParam));
        return 0;
    case WM_MOUSEACTIVATE:
        if (IsComboList())
            return MA_NOACTIVATE;
        break;
    case WM_LBUTTONDOWN:
        (void)ButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONDBLCLK:
        if (ButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            (void)Notify(LBN_DBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CAPTURECHANGED:
        m_tracking = false;
        // A drop-down list that loses the mouse while shown has been dismissed.
        if (IsComboList() && !m_scrolling && IsWindowVisible(Window()) && (GetWindowLongPtrA(Window(), GWL_STYLE) & WS_POPUP))
            (void)Report(LBN_SELCANCEL);
        return 0;
    case WM_ENABLE:
        (void)InvalidateRect(Window(), nullptr, FALSE); // the items change colour
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        if (message == WM_PRINTCLIENT || wParam) {
            Paint(reinterpret_cast<HDC>(wParam), Client());
            return 0;
        }
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(Window(), &ps);
        Paint(dc, ps.rcPaint);
        (void)EndPaint(Window(), &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(Window(), message, wParam, lParam);
}

// ---- The items ------------------------------------------------------------------------------

LRESULT ListBoxWindow::Add(LPARAM value)
{
    if (!(m_style & LBS_SORT) || !HasStrings())
        return Insert(-1, value);
    const char* text = reinterpret_cast<const char*>(value);
    int index = 0;
    while (index < Count() && AnsiCompareText(m_items[index].text, text ? text : "") <= 0)
        ++index;
    return Insert(index, value);
}

LRESULT ListBoxWindow::Insert(int index, LPARAM value)
{
    if (m_style & LBS_NODATA)
        return LB_ERR;
    if (index == -1)
        index = Count();
    if (index < 0 || index > Count())
        return LB_ERR;
    Item item;
    if (HasStrings())
        item.text = value ? reinterpret_cast<const char*>(value) : "";
    else
        item.data = static_cast<ULONG_PTR>(value);
    m_items.insert(m_items.begin() + index, std::move(item));
    if (m_style & LBS_OWNERDRAWVARIABLE)
        m_items[index].height = MeasureItem(index, m_items[index].data);
    if (m_selected >= index)
        ++m_selected;
    UpdateScrollBar();
    (void)InvalidateRect(Window(), nullptr, TRUE);
    return index;
}

LRESULT ListBoxWindow::Delete(int index)
{
    if (!Valid(index))
        return LB_ERR;
    m_items.erase(m_items.begin() + index);
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    if (m_caret >= Count())
        m_caret = Count() > 0 ? Count() - 1 : 0;
    (void)SetTop(m_top);
    UpdateScrollBar();
    (void)InvalidateRect(Window(), nullptr, TRUE);
    return Count();
}

void ListBoxWindow::Reset()
{
    m_items.clear();
    m_selected = -1;
    m_caret = 0;
    m_top = 0;
    UpdateScrollBar();
    (void)InvalidateRect(Window(), nullptr, TRUE);
}

LRESULT ListBoxWindow::SetCount(int count)
{
    if (!(m_style & LBS_NODATA) || count < 0)
        return LB_ERR;
    m_items.assign(static_cast<std::size_t>(count), Item{});
    if (m_selected >= count)
        m_selected = -1;
    if (m_caret >= count)
        m_caret = 0;
    (void)SetTop(m_top);
    UpdateScrollBar();
    (void)InvalidateRect(Window(), nullptr, TRUE);
    return LB_OKAY;
}

LRESULT ListBoxWindow::SetItemData(int index, LPARAM data)
{
    if (!Valid(index) || (m_style & LBS_NODATA))
        return LB_ERR;
    m_items[index].data = static_cast<ULONG_PTR>(data);
    return TRUE;
}

// Variable-height lists keep a height per item; the others one for all.
LRESULT ListBoxWindow::SetItemHeight(int index, LPARAM height)
{
    if (height < 1 || height > 255)
        return LB_ERR;
    if (m_style & LBS_OWNERDRAWVARIABLE) {
        if (!Valid(index))
            return LB_ERR;
        m_items[index].height = static_cast<int>(height);
    } else {
        m_itemHeight = static_cast<int>(height);
    }
    UpdateScrollBar();
    (void)InvalidateRect(Window(), nullptr, TRUE);
    return LB_OKAY;
}

LRESULT ListBoxWindow::GetText(int index, LPSTR buffer) const
{
    if (!Valid(index) || !buffer)
        return LB_ERR;
    if (!HasStrings()) {
        std::memcpy(buffer, &m_items[index].data, sizeof(ULONG_PTR));
        return sizeof(ULONG_PTR);
    }
    const std::string& text = m_items[index].text;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<LRESULT>(text.size());
}

bool ListBoxWindow::Matches(const Item& item, LPARAM value, bool exact) const
{
    if (!HasStrings())
        return item.data == static_cast<ULONG_PTR>(value);
    const std::string_view wanted = reinterpret_cast<const char*>(value);
    if (exact)
        return AnsiSameText(item.text, wanted);
    return item.text.size() >= wanted.size() && AnsiSameText(std::string_view(item.text).substr(0, wanted.size()), wanted);
}

// Searches from the item after `start` to the end and on from the first, as Win32 does.
LRESULT ListBoxWindow::Find(int start, LPARAM value, bool exact) const
{
    if ((HasStrings() && !value) || Count() == 0)
        return LB_ERR;
    const int first = Valid(start) ? start + 1 : 0;
    for (int step = 0; step < Count(); ++step) {
        const int index = (first + step) % Count();
        if (Matches(m_items[index], value, exact))
            return index;
    }
    return LB_ERR;
}

int ListBoxWindow::MeasureItem(int index, ULONG_PTR data)
{
    const HWND identity = Identity();
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = IsComboList() ? ODT_COMBOBOX : ODT_LISTBOX;
    measure.CtlID = static_cast<UINT>(GetDlgCtrlID(identity));
    measure.itemID = static_cast<UINT>(index);
    measure.itemHeight = static_cast<UINT>(FontHeight());
    measure.itemData = data;
    (void)SendTo(GetParent(identity), WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    return measure.itemHeight > 0 ? static_cast<int>(measure.itemHeight) : 1;
}

HWND ListBoxWindow::Identity() const { return m_combo ? m_combo : Window(); }

HWND ListBoxWindow::Owner() const { return m_combo ? m_combo : GetParent(Window()); }

bool ListBoxWindow::Notify(WORD code) const { return (m_style & LBS_NOTIFY) == 0 || Report(code); }

bool ListBoxWindow::Report(WORD code) const
{
    return SendTo(Owner(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(Window())), code),
                  reinterpret_cast<LPARAM>(Window()))
        .stands;
}

} // namespace winapi_controls::detail

void RegisterListBoxClass()
{
    (void)RegisterControlInstanceClass<detail::ListBoxWindow>("ListBox", CS_DBLCLKS);
}
