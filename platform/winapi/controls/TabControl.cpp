#include "platform/winapi/controls/TabControl.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/gdi/TextUtf8.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// The classic metrics: tabs start two pixels in and two pixels down (room for the selected tab,
// which stands out by two pixels on each side); the pane's edge and margin take four pixels.
constexpr int TABS_MARGIN = 2;
constexpr int SELECTED_OUTSET = 2;
constexpr int PANE_INSET = 4;

struct Tab {
    std::string text;
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
    RECT rect{};
};

struct TabControl : ControlInstance {
    explicit TabControl(HWND window) : ControlInstance(window) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::vector<Tab> tabs;
    int selected = -1;
    int focused = -1;
    HIMAGELIST images = nullptr;
    HFONT font = nullptr;
    SIZE fixedSize{0, 0};
    SIZE padding{6, 3};
    int minTabWidth = 0;
    int rows = 1;
    // The first tab shown when a single row is wider than the control.
    int firstShown = 0;
};

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

HFONT FontOf(const TabControl& control)
{
    return control.font ? control.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int Count(const TabControl& control) { return static_cast<int>(control.tabs.size()); }

SIZE ImageSize(const TabControl& control)
{
    SIZE size{0, 0};
    if (control.images)
        (void)ImageList_GetIconSize(control.images, reinterpret_cast<int*>(&size.cx), reinterpret_cast<int*>(&size.cy));
    return size;
}

bool FixedWidth(const TabControl& control)
{
    return (StyleOf(control.Window()) & (TCS_FIXEDWIDTH | TCS_OWNERDRAWFIXED)) != 0 && control.fixedSize.cx > 0;
}

int TabWidth(const TabControl& control, HDC dc, const Tab& tab)
{
    if (FixedWidth(control))
        return control.fixedSize.cx;
    SIZE text{0, 0};
    (void)GetTextExtentPoint32A(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &text);
    const SIZE image = ImageSize(control);
    const int imagePart = tab.image >= 0 && image.cx > 0 ? image.cx + control.padding.cx : 0;
    return std::max(text.cx + imagePart + 2 * control.padding.cx, control.minTabWidth);
}

int TabHeight(const TabControl& control, HDC dc)
{
    if (control.fixedSize.cy > 0)
        return control.fixedSize.cy;
    TEXTMETRICA metrics{};
    (void)GetTextMetricsA(dc, &metrics);
    return std::max<int>(1, std::max<int>(metrics.tmHeight, ImageSize(control).cy) + 2 * control.padding.cy);
}

// Rows turn so that the selected tab's row lies next to the pane; the rows after it go to the top.
void RotateRows(TabControl& control, int height)
{
    if (control.selected < 0 || control.rows < 2)
        return;
    const auto rowOf = [height](const Tab& tab) { return (tab.rect.top - TABS_MARGIN) / height; };
    const int selectedRow = rowOf(control.tabs[static_cast<std::size_t>(control.selected)]);
    for (Tab& tab : control.tabs) {
        const int row = (rowOf(tab) - selectedRow - 1 + 2 * control.rows) % control.rows;
        OffsetRect(&tab.rect, 0, TABS_MARGIN + row * height - tab.rect.top);
    }
}

// Places every tab: one row scrolled to firstShown, or as many rows as the width needs.
void Layout(TabControl& control)
{
    RECT client{};
    (void)GetClientRect(control.Window(), &client);
    const bool multiLine = (StyleOf(control.Window()) & TCS_MULTILINE) != 0;
    const HDC dc = GetDC(nullptr);
    int row = 0;
    int height = 0;
    {
        const SelectionGuard font(dc, FontOf(control));
        height = TabHeight(control, dc);
        const int limit = client.right - TABS_MARGIN;
        int x = TABS_MARGIN;
        for (Tab& tab : control.tabs) {
            const int width = TabWidth(control, dc, tab);
            if (multiLine && x > TABS_MARGIN && x + width > limit) {
                x = TABS_MARGIN;
                ++row;
            }
            tab.rect = RECT{x, TABS_MARGIN + row * height, x + width, TABS_MARGIN + (row + 1) * height};
            x += width;
        }
    }
    (void)ReleaseDC(nullptr, dc);
    control.rows = row + 1;
    if (multiLine) {
        RotateRows(control, height);
        return;
    }
    if (control.tabs.empty())
        return;
    control.firstShown = std::clamp(control.firstShown, 0, Count(control) - 1);
    const int shift = control.tabs[static_cast<std::size_t>(control.firstShown)].rect.left - TABS_MARGIN;
    for (Tab& tab : control.tabs)
        OffsetRect(&tab.rect, -shift, 0);
}

int PaneTop(const TabControl& control)
{
    int bottom = TABS_MARGIN;
    for (const Tab& tab : control.tabs)
        bottom = std::max<int>(bottom, tab.rect.bottom);
    return bottom;
}

// A single row wider than the control scrolls by a pair of arrow buttons at its right end.
bool Overflows(const TabControl& control)
{
    if (control.tabs.empty() || (StyleOf(control.Window()) & TCS_MULTILINE) != 0)
        return false;
    RECT client{};
    (void)GetClientRect(control.Window(), &client);
    return control.firstShown > 0 || control.tabs.back().rect.right > client.right;
}

RECT ArrowsRect(const TabControl& control)
{
    RECT client{};
    (void)GetClientRect(control.Window(), &client);
    const int size = GetSystemMetrics(SM_CXVSCROLL);
    return RECT{client.right - 2 * size, TABS_MARGIN, client.right, TABS_MARGIN + size};
}

RECT ArrowRect(const TabControl& control, bool right)
{
    RECT rect = ArrowsRect(control);
    const int middle = (rect.left + rect.right) / 2;
    (right ? rect.left : rect.right) = middle;
    return rect;
}

// Where the visible tabs end: the control's edge, or the arrows when they show.
int ShownRight(const TabControl& control)
{
    RECT client{};
    (void)GetClientRect(control.Window(), &client);
    return Overflows(control) ? ArrowsRect(control).left : client.right;
}

bool LastTabShown(const TabControl& control)
{
    return control.tabs.empty() || control.tabs.back().rect.right <= ShownRight(control);
}

// Scrolls a single row so that the tab is wholly in view; turns the rows of several.
void EnsureShown(TabControl& control, int index)
{
    if (index < 0)
        return;
    if ((StyleOf(control.Window()) & TCS_MULTILINE) != 0) {
        Layout(control);
        return;
    }
    if (index < control.firstShown)
        control.firstShown = index;
    Layout(control);
    while (control.firstShown < index && control.tabs[static_cast<std::size_t>(index)].rect.right > ShownRight(control)) {
        ++control.firstShown;
        Layout(control);
    }
}

void Changed(TabControl& control)
{
    Layout(control);
    (void)InvalidateRect(control.Window(), nullptr, TRUE);
}

int HitTest(const TabControl& control, POINT point)
{
    if (Overflows(control) && point.x >= ShownRight(control))
        return -1;
    for (int i = 0; i < Count(control); ++i)
        if (PtInRect(&control.tabs[static_cast<std::size_t>(i)].rect, point))
            return i;
    return -1;
}

// Selects by the user's hand: the parent may refuse, and hears of the change.
bool Select(TabControl& control, int index, bool notify)
{
    if (index < 0 || index >= Count(control) || index == control.selected)
        return false;
    NMHDR header{};
    if (notify) {
        const Reply asked = control.NotifyParent(TCN_SELCHANGING, header);
        if (!asked.stands || asked.answer != 0)
            return false;
    }
    // The parent may have removed tabs while it was asked.
    if (index >= Count(control))
        return false;
    control.selected = index;
    control.focused = index;
    EnsureShown(control, index);
    (void)InvalidateRect(control.Window(), nullptr, TRUE);
    if (notify)
        (void)control.NotifyParent(TCN_SELCHANGE, header);
    return true;
}

// ---- Painting -----------------------------------------------------------------------------

RECT DrawnRect(const TabControl& control, int index)
{
    RECT rect = control.tabs[static_cast<std::size_t>(index)].rect;
    if (index == control.selected)
        rect = RECT{rect.left - SELECTED_OUTSET, rect.top - SELECTED_OUTSET, rect.right + SELECTED_OUTSET, rect.bottom + 1};
    return rect;
}

// False when the parent destroyed the control as it drew the tab.
[[nodiscard]] bool DrawOwnerTab(const TabControl& control, HDC dc, int index, RECT rect)
{
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_TAB;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(control.Window()));
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = index == control.selected ? ODS_SELECTED : 0;
    item.hwndItem = control.Window();
    item.hDC = dc;
    item.rcItem = rect;
    item.itemData = static_cast<ULONG_PTR>(control.tabs[static_cast<std::size_t>(index)].param);
    return control.SendToParent(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)).stands;
}

void DrawTabContent(const TabControl& control, HDC dc, const Tab& tab, RECT rect)
{
    const SIZE image = ImageSize(control);
    SIZE text{0, 0};
    (void)GetTextExtentPoint32A(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &text);
    const bool hasImage = tab.image >= 0 && image.cx > 0;
    const int width = text.cx + (hasImage ? image.cx + control.padding.cx : 0);
    int x = rect.left + std::max(control.padding.cx, ((rect.right - rect.left) - width) / 2);
    if (hasImage) {
        (void)ImageList_Draw(control.images, tab.image, dc, x, rect.top + ((rect.bottom - rect.top) - image.cy) / 2,
                             ILD_TRANSPARENT);
        x += image.cx + control.padding.cx;
    }
    RECT textRect{x, rect.top, rect.right, rect.bottom};
    (void)DrawTextA(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &textRect,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

// False when the parent destroyed the control as it drew the tab.
[[nodiscard]] bool DrawTab(const TabControl& control, HDC dc, int index)
{
    RECT rect = DrawnRect(control, index);
    if (index == control.selected)
        (void)FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    RECT frame = rect;
    (void)DrawEdge(dc, &frame, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
    RECT inner{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 1};
    if ((StyleOf(control.Window()) & TCS_OWNERDRAWFIXED) != 0)
        return DrawOwnerTab(control, dc, index, inner);
    DrawTabContent(control, dc, control.tabs[static_cast<std::size_t>(index)], inner);
    const bool showsFocus = (StyleOf(control.Window()) & TCS_FOCUSNEVER) == 0 && GetFocus() == control.Window();
    if (showsFocus && index == control.focused) {
        InflateRect(&inner, -1, -1);
        (void)DrawFocusRect(dc, &inner);
    }
    return true;
}

LRESULT GetScrollArrows(const TabControl& control, LPARAM lParam)
{
    if (!Overflows(control))
        return 0;
    if (auto* arrows = reinterpret_cast<RECT*>(lParam)) {
        arrows[0] = ArrowRect(control, false);
        arrows[1] = ArrowRect(control, true);
    }
    const bool enabled = IsWindowEnabled(control.Window()) != FALSE;
    return TCSA_SHOWN | (enabled && control.firstShown > 0 ? TCSA_LEFTENABLED : 0) |
           (enabled && !LastTabShown(control) ? TCSA_RIGHTENABLED : 0);
}

void DrawArrows(const TabControl& control, HDC dc)
{
    std::array<RECT, 2> arrows{};
    const LRESULT flags = GetScrollArrows(control, reinterpret_cast<LPARAM>(arrows.data()));
    (void)DrawFrameControl(dc, &arrows[0], DFC_SCROLL,
                           DFCS_SCROLLLEFT | ((flags & TCSA_LEFTENABLED) != 0 ? 0 : DFCS_INACTIVE));
    (void)DrawFrameControl(dc, &arrows[1], DFC_SCROLL,
                           DFCS_SCROLLRIGHT | ((flags & TCSA_RIGHTENABLED) != 0 ? 0 : DFCS_INACTIVE));
}

void Paint(const TabControl& control, HDC dc)
{
    RECT client{};
    (void)GetClientRect(control.Window(), &client);
    (void)FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const SavedDC saved(dc);
    (void)SelectObject(dc, FontOf(control));
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, GetSysColor(IsWindowEnabled(control.Window()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT pane{0, PaneTop(control), client.right, client.bottom};
    (void)DrawEdge(dc, &pane, EDGE_RAISED, BF_RECT | BF_SOFT);
    if (Overflows(control)) {
        DrawArrows(control, dc);
        const RECT arrows = ArrowsRect(control);
        (void)ExcludeClipRect(dc, arrows.left, 0, arrows.right, PaneTop(control));
    }
    for (int i = 0; i < Count(control); ++i)
        if (i != control.selected && !DrawTab(control, dc, i))
            return;
    if (control.selected >= 0)
        (void)DrawTab(control, dc, control.selected);
}

// ---- Items --------------------------------------------------------------------------------

Tab* TabAt(TabControl& control, WPARAM index)
{
    return index < control.tabs.size() ? &control.tabs[index] : nullptr;
}

void ApplyItem(Tab& tab, const TCITEMA& item, const std::string& text)
{
    if ((item.mask & TCIF_TEXT) != 0)
        tab.text = text;
    if ((item.mask & TCIF_IMAGE) != 0)
        tab.image = item.iImage;
    if ((item.mask & TCIF_PARAM) != 0)
        tab.param = item.lParam;
    if ((item.mask & TCIF_STATE) != 0)
        tab.state = (tab.state & ~item.dwStateMask) | (item.dwState & item.dwStateMask);
}

template <class Item>
std::string TextOf(const Item& item)
{
    if ((item.mask & TCIF_TEXT) == 0 || !item.pszText)
        return {};
    if constexpr (std::is_same_v<Item, TCITEMW>)
        return ToUtf8(std::u16string_view(item.pszText)).text;
    else
        return item.pszText;
}

TCITEMA Narrow(const TCITEMW& item)
{
    return TCITEMA{item.mask, item.dwState, item.dwStateMask, nullptr, 0, item.iImage, item.lParam};
}

const TCITEMA& Narrow(const TCITEMA& item) { return item; }

template <class Item>
LRESULT InsertItem(TabControl& control, WPARAM index, const Item* item)
{
    if (!item)
        return -1;
    const auto at = std::min<std::size_t>(index, control.tabs.size());
    Tab tab;
    ApplyItem(tab, Narrow(*item), TextOf(*item));
    control.tabs.insert(control.tabs.begin() + static_cast<std::ptrdiff_t>(at), tab);
    const int position = static_cast<int>(at);
    if (control.selected < 0)
        control.selected = control.focused = 0;
    else if (position <= control.selected)
        control.focused = ++control.selected;
    Changed(control);
    return position;
}

template <class Item>
LRESULT SetItem(TabControl& control, WPARAM index, const Item* item)
{
    Tab* tab = TabAt(control, index);
    if (!tab || !item)
        return FALSE;
    ApplyItem(*tab, Narrow(*item), TextOf(*item));
    Changed(control);
    return TRUE;
}

template <class Item>
LRESULT GetItem(TabControl& control, WPARAM index, Item* item)
{
    const Tab* tab = TabAt(control, index);
    if (!tab || !item)
        return FALSE;
    if ((item->mask & TCIF_TEXT) != 0 && item->pszText && item->cchTextMax > 0) {
        const auto limit = static_cast<std::size_t>(item->cchTextMax - 1);
        if constexpr (std::is_same_v<Item, TCITEMW>) {
            const std::u16string wide = ToUtf16(tab->text).substr(0, limit);
            std::copy(wide.begin(), wide.end(), item->pszText);
            item->pszText[wide.size()] = 0;
        } else {
            const std::string text = tab->text.substr(0, limit);
            std::memcpy(item->pszText, text.c_str(), text.size() + 1);
        }
    }
    if ((item->mask & TCIF_IMAGE) != 0)
        item->iImage = tab->image;
    if ((item->mask & TCIF_PARAM) != 0)
        item->lParam = tab->param;
    if ((item->mask & TCIF_STATE) != 0)
        item->dwState = tab->state & item->dwStateMask;
    return TRUE;
}

LRESULT DeleteItem(TabControl& control, WPARAM index)
{
    if (index >= control.tabs.size())
        return FALSE;
    const int position = static_cast<int>(index);
    control.tabs.erase(control.tabs.begin() + static_cast<std::ptrdiff_t>(index));
    if (position == control.selected)
        control.selected = -1;
    else if (position < control.selected)
        --control.selected;
    if (position == control.focused)
        control.focused = control.selected;
    else if (position < control.focused)
        --control.focused;
    Changed(control);
    return TRUE;
}

LRESULT GetItemRect(const TabControl& control, WPARAM index, LPARAM rect)
{
    if (index >= control.tabs.size() || !rect)
        return FALSE;
    *reinterpret_cast<RECT*>(rect) = control.tabs[index].rect;
    return TRUE;
}

LRESULT AdjustRect(const TabControl& control, BOOL larger, RECT* rect)
{
    if (!rect)
        return 0;
    const int top = PaneTop(control) + PANE_INSET;
    const int sign = larger ? -1 : 1;
    rect->left += sign * PANE_INSET;
    rect->top += sign * top;
    rect->right -= sign * PANE_INSET;
    rect->bottom -= sign * PANE_INSET;
    return 0;
}

LRESULT SetItemSize(TabControl& control, LPARAM size)
{
    const LRESULT old = MAKELONG(static_cast<WORD>(control.fixedSize.cx), static_cast<WORD>(control.fixedSize.cy));
    control.fixedSize = SIZE{GET_X_LPARAM(size), GET_Y_LPARAM(size)};
    Changed(control);
    return old;
}

// ---- Keyboard and mouse -------------------------------------------------------------------

int KeyTarget(const TabControl& control, WPARAM key)
{
    const int count = Count(control);
    const int current = control.selected;
    const bool ctrlDown = GetKeyState(VK_CONTROL) < 0;
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        return current - 1;
    case VK_RIGHT:
    case VK_DOWN:
        return current + 1;
    case VK_HOME:
        return 0;
    case VK_END:
        return count - 1;
    case VK_TAB:
        if (!ctrlDown || count == 0)
            return -1;
        return GetKeyState(VK_SHIFT) < 0 ? (current + count - 1) % count : (current + 1) % count;
    default:
        return -1;
    }
}

void KeyDown(TabControl& control, WPARAM key, LPARAM keyData)
{
    NMTCKEYDOWN notice{};
    notice.wVKey = static_cast<WORD>(key);
    notice.flags = static_cast<UINT>(HIWORD(static_cast<DWORD_PTR>(keyData)));
    if (!control.NotifyParent(TCN_KEYDOWN, notice.hdr).stands)
        return;
    (void)Select(control, KeyTarget(control, key), true);
}

// The arrows scroll the row by one tab without changing the selection.
bool ArrowClicked(TabControl& control, POINT point)
{
    if (!Overflows(control))
        return false;
    const RECT left = ArrowRect(control, false);
    const RECT right = ArrowRect(control, true);
    if (PtInRect(&left, point) && control.firstShown > 0)
        --control.firstShown;
    else if (PtInRect(&right, point) && !LastTabShown(control))
        ++control.firstShown;
    else
        return PtInRect(&left, point) || PtInRect(&right, point);
    Changed(control);
    return true;
}

void ButtonDown(TabControl& control, LPARAM lParam)
{
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (ArrowClicked(control, point))
        return;
    const int hit = HitTest(control, point);
    if (hit < 0)
        return;
    if ((StyleOf(control.Window()) & TCS_FOCUSNEVER) == 0)
        (void)SetFocus(control.Window());
    (void)Select(control, hit, true);
}

} // namespace

LRESULT TabControl::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = Window();
    switch (message) {
    case WM_SIZE:
    case WM_STYLECHANGED:
        Changed(*this);
        return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(window, reinterpret_cast<HDC>(wParam), [&](HDC dc) { Paint(*this, dc); });
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        (void)InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wParam);
        Changed(*this);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        KeyDown(*this, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(*this, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        NMHDR header{};
        if (!NotifyParent(message == WM_LBUTTONUP ? NM_CLICK : NM_RCLICK, header).stands)
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    case TCM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(images);
    case TCM_SETIMAGELIST: {
        const HIMAGELIST old = images;
        images = reinterpret_cast<HIMAGELIST>(lParam);
        Changed(*this);
        return reinterpret_cast<LRESULT>(old);
    }
    case TCM_GETITEMCOUNT:
        return Count(*this);
    case TCM_GETITEMA:
        return GetItem(*this, wParam, reinterpret_cast<TCITEMA*>(lParam));
    case TCM_GETITEMW:
        return GetItem(*this, wParam, reinterpret_cast<TCITEMW*>(lParam));
    case TCM_SETITEMA:
        return SetItem(*this, wParam, reinterpret_cast<const TCITEMA*>(lParam));
    case TCM_SETITEMW:
        return SetItem(*this, wParam, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_INSERTITEMA:
        return InsertItem(*this, wParam, reinterpret_cast<const TCITEMA*>(lParam));
    case TCM_INSERTITEMW:
        return InsertItem(*this, wParam, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_DELETEITEM:
        return DeleteItem(*this, wParam);
    case TCM_DELETEALLITEMS:
        tabs.clear();
        selected = focused = -1;
        firstShown = 0;
        Changed(*this);
        return TRUE;
    case TCM_GETITEMRECT:
        return GetItemRect(*this, wParam, lParam);
    case TCM_GETCURSEL:
        return selected;
    case TCM_SETCURSEL: {
        const int old = selected;
        if (static_cast<int>(wParam) == -1) {
            selected = -1;
            (void)InvalidateRect(window, nullptr, TRUE);
            return old;
        }
        if (wParam >= tabs.size())
            return -1;
        (void)Select(*this, static_cast<int>(wParam), false);
        return old;
    }
    case TCM_GETCURFOCUS:
        return focused;
    case TCM_GETSCROLLARROWS:
        return GetScrollArrows(*this, lParam);
    case TCM_SETCURFOCUS:
        if (wParam < tabs.size())
            (void)Select(*this, static_cast<int>(wParam), true);
        return 0;
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        const int hit = HitTest(*this, info->pt);
        info->flags = hit < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
        return hit;
    }
    case TCM_ADJUSTRECT:
        return AdjustRect(*this, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
    case TCM_SETITEMSIZE:
        return SetItemSize(*this, lParam);
    case TCM_SETPADDING:
        // Negative padding would make tabs no taller than nothing, and rows are counted by height.
        padding = SIZE{std::max(0, GET_X_LPARAM(lParam)), std::max(0, GET_Y_LPARAM(lParam))};
        Changed(*this);
        return 0;
    case TCM_SETMINTABWIDTH: {
        const int old = minTabWidth;
        minTabWidth = std::max(0, static_cast<int>(lParam));
        Changed(*this);
        return old;
    }
    case TCM_GETROWCOUNT:
        return rows;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterTabControlClass()
{
    (void)RegisterControlInstanceClass<TabControl>(WC_TABCONTROLA, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}
