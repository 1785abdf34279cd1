#include "platform/winapi/controls/Header.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/gdi/TextUtf8.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// How near a divider the pointer must be to grab it, and the text's margin inside an item.
constexpr int DIVIDER_GRIP = 4;
constexpr int TEXT_MARGIN = 6;

struct Item {
    std::string text;
    int width = 0;
    int format = HDF_LEFT | HDF_STRING;
    LPARAM param = 0;
    int image = -1;
};

struct Header {
    HWND window = nullptr;
    std::vector<Item> items;
    // Item indices in the order they are shown.
    std::vector<int> order;
    HIMAGELIST images = nullptr;
    HFONT font = nullptr;
    int tracking = -1;
    int trackOffset = 0;
    // The item whose drag has just ended, while the parent hears of it.
    int endingTrack = -1;
    int pressed = -1;
    bool pressedInside = false;
};

Header* StateOf(HWND window) { return reinterpret_cast<Header*>(GetWindowLongPtrA(window, 0)); }

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

HFONT FontOf(const Header& header)
{
    return header.font ? header.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int Count(const Header& header) { return static_cast<int>(header.items.size()); }

const Item& ItemAt(const Header& header, int index) { return header.items[static_cast<std::size_t>(index)]; }

int ItemHeight(const Header& header)
{
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, FontOf(header));
    TEXTMETRICA metrics{};
    (void)GetTextMetricsA(dc, &metrics);
    (void)SelectObject(dc, old);
    (void)ReleaseDC(nullptr, dc);
    return metrics.tmHeight + 6;
}

RECT ItemRect(const Header& header, int index)
{
    RECT client{};
    (void)GetClientRect(header.window, &client);
    int left = 0;
    for (const int shown : header.order) {
        const int width = ItemAt(header, shown).width;
        if (shown == index)
            return RECT{left, 0, left + width, client.bottom};
        left += width;
    }
    return RECT{};
}

// Which item the point is on, or which divider it grabs (the right-most of dividers that meet,
// so that a zero-width column can be dragged open).
int HitTest(const Header& header, POINT point, UINT& flags)
{
    RECT client{};
    (void)GetClientRect(header.window, &client);
    if (point.y < 0 || point.y >= client.bottom) {
        flags = point.y < 0 ? HHT_ABOVE : HHT_BELOW;
        return -1;
    }
    for (auto it = header.order.rbegin(); it != header.order.rend(); ++it) {
        const RECT rect = ItemRect(header, *it);
        if (point.x >= rect.right - DIVIDER_GRIP && point.x < rect.right + DIVIDER_GRIP) {
            flags = rect.right == rect.left ? HHT_ONDIVOPEN : HHT_ONDIVIDER;
            return *it;
        }
    }
    for (const int shown : header.order) {
        const RECT rect = ItemRect(header, shown);
        if (point.x >= rect.left && point.x < rect.right) {
            flags = HHT_ONHEADER;
            return shown;
        }
    }
    flags = point.x < 0 ? HHT_TOLEFT : HHT_NOWHERE;
    return -1;
}

LRESULT Notify(const Header& header, UINT code, int index, HDITEMA* item)
{
    NMHEADERA notice{};
    notice.iItem = index;
    notice.pitem = item;
    return NotifyParent(header.window, code, notice.hdr);
}

LRESULT NotifyWidth(const Header& header, UINT code, int index, int width)
{
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = width;
    return Notify(header, code, index, &item);
}

void Redraw(const Header& header) { (void)InvalidateRect(header.window, nullptr, TRUE); }

// Changes a width as the user asked for it: the parent may refuse.
void ChangeWidth(Header& header, int index, int width)
{
    if (NotifyWidth(header, HDN_ITEMCHANGING, index, width) != 0)
        return;
    // The parent may have removed items while it was asked.
    if (static_cast<std::size_t>(index) >= header.items.size())
        return;
    header.items[static_cast<std::size_t>(index)].width = width;
    Redraw(header);
    (void)NotifyWidth(header, HDN_ITEMCHANGED, index, width);
}

// ---- Painting -----------------------------------------------------------------------------

void DrawOwnerItem(const Header& header, HDC dc, int index, RECT rect)
{
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_HEADER;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(header.window));
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = index == header.pressed && header.pressedInside ? ODS_SELECTED : 0;
    item.hwndItem = header.window;
    item.hDC = dc;
    item.rcItem = rect;
    item.itemData = static_cast<ULONG_PTR>(ItemAt(header, index).param);
    if (const HWND parent = GetParent(header.window))
        (void)SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void DrawItemContent(const Header& header, HDC dc, const Item& item, RECT rect)
{
    InflateRect(&rect, -TEXT_MARGIN, 0);
    if ((item.format & HDF_IMAGE) != 0 && header.images && item.image >= 0) {
        int width = 0;
        int height = 0;
        (void)ImageList_GetIconSize(header.images, &width, &height);
        (void)ImageList_Draw(header.images, item.image, dc, rect.left, rect.top + (rect.bottom - rect.top - height) / 2,
                             ILD_TRANSPARENT);
        rect.left += width + TEXT_MARGIN / 2;
    }
    UINT alignment = DT_LEFT;
    if ((item.format & HDF_JUSTIFYMASK) == HDF_RIGHT)
        alignment = DT_RIGHT;
    else if ((item.format & HDF_JUSTIFYMASK) == HDF_CENTER)
        alignment = DT_CENTER;
    (void)DrawTextA(dc, item.text.c_str(), static_cast<int>(item.text.size()), &rect,
                    alignment | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void DrawItem(const Header& header, HDC dc, int index)
{
    RECT rect = ItemRect(header, index);
    const Item& item = ItemAt(header, index);
    const bool pressed = index == header.pressed && header.pressedInside;
    RECT frame = rect;
    (void)DrawEdge(dc, &frame, pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
    if ((item.format & HDF_OWNERDRAW) != 0) {
        DrawOwnerItem(header, dc, index, frame);
        return;
    }
    if (pressed)
        OffsetRect(&frame, 1, 1);
    const int saved = SaveDC(dc);
    (void)IntersectClipRect(dc, frame.left, frame.top, frame.right, frame.bottom);
    DrawItemContent(header, dc, item, frame);
    (void)RestoreDC(dc, saved);
}

void Paint(const Header& header, HDC dc)
{
    RECT client{};
    (void)GetClientRect(header.window, &client);
    (void)FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const int saved = SaveDC(dc);
    (void)SelectObject(dc, FontOf(header));
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, GetSysColor(IsWindowEnabled(header.window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    int right = 0;
    for (const int index : header.order) {
        DrawItem(header, dc, index);
        right += ItemAt(header, index).width;
    }
    RECT rest{right, 0, client.right, client.bottom};
    if (rest.left < rest.right)
        (void)DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
    (void)RestoreDC(dc, saved);
}

// ---- Items --------------------------------------------------------------------------------

template <class T>
std::string TextOf(const T& item)
{
    if ((item.mask & HDI_TEXT) == 0 || !item.pszText)
        return {};
    if constexpr (std::is_same_v<T, HDITEMW>)
        return ToUtf8(std::u16string_view(item.pszText)).text;
    else
        return item.pszText;
}

template <class T>
void Apply(Item& target, const T& item)
{
    if ((item.mask & HDI_WIDTH) != 0)
        target.width = std::max(0, item.cxy);
    if ((item.mask & HDI_TEXT) != 0)
        target.text = TextOf(item);
    if ((item.mask & HDI_FORMAT) != 0)
        target.format = item.fmt;
    if ((item.mask & HDI_LPARAM) != 0)
        target.param = item.lParam;
    if ((item.mask & HDI_IMAGE) != 0)
        target.image = item.iImage;
}

void MoveInOrder(Header& header, int index, int position)
{
    std::erase(header.order, index);
    const auto at = static_cast<std::size_t>(std::clamp(position, 0, static_cast<int>(header.order.size())));
    header.order.insert(header.order.begin() + static_cast<std::ptrdiff_t>(at), index);
}

template <class T>
LRESULT InsertItem(Header& header, WPARAM index, const T* item)
{
    if (!item)
        return -1;
    const int at = static_cast<int>(std::min<std::size_t>(index, header.items.size()));
    Item added;
    Apply(added, *item);
    header.items.insert(header.items.begin() + at, added);
    for (int& shown : header.order)
        shown += shown >= at ? 1 : 0;
    const int position = (item->mask & HDI_ORDER) != 0 ? item->iOrder : at;
    header.order.insert(header.order.begin() + std::clamp(position, 0, static_cast<int>(header.order.size())), at);
    Redraw(header);
    return at;
}

// A divider drag or a press on the deleted item ends; those on later items follow their item.
void ForgetDeletedItem(Header& header, int at)
{
    for (int* index : {&header.tracking, &header.endingTrack, &header.pressed}) {
        if (*index == at) {
            *index = -1;
            if (GetCapture() == header.window)
                (void)ReleaseCapture();
        } else if (*index > at) {
            --*index;
        }
    }
}

LRESULT DeleteItem(Header& header, WPARAM index)
{
    if (index >= header.items.size())
        return FALSE;
    const int at = static_cast<int>(index);
    header.items.erase(header.items.begin() + at);
    std::erase(header.order, at);
    for (int& shown : header.order)
        shown -= shown > at ? 1 : 0;
    ForgetDeletedItem(header, at);
    Redraw(header);
    return TRUE;
}

template <class T>
LRESULT SetItem(Header& header, WPARAM index, const T* item)
{
    if (index >= header.items.size() || !item)
        return FALSE;
    const int at = static_cast<int>(index);
    HDITEMA asked{};
    asked.mask = item->mask & ~HDI_TEXT;
    asked.cxy = item->cxy;
    asked.fmt = item->fmt;
    asked.lParam = item->lParam;
    asked.iImage = item->iImage;
    asked.iOrder = item->iOrder;
    if (Notify(header, HDN_ITEMCHANGING, at, &asked) != 0 || index >= header.items.size())
        return FALSE;
    Apply(header.items[index], *item);
    if ((item->mask & HDI_ORDER) != 0)
        MoveInOrder(header, at, item->iOrder);
    Redraw(header);
    (void)Notify(header, HDN_ITEMCHANGED, at, &asked);
    return TRUE;
}

template <class T>
LRESULT GetItem(const Header& header, WPARAM index, T* item)
{
    if (index >= header.items.size() || !item)
        return FALSE;
    const Item& source = header.items[index];
    if ((item->mask & HDI_WIDTH) != 0)
        item->cxy = source.width;
    if ((item->mask & HDI_TEXT) != 0 && item->pszText && item->cchTextMax > 0) {
        const auto limit = static_cast<std::size_t>(item->cchTextMax - 1);
        if constexpr (std::is_same_v<T, HDITEMW>) {
            const std::u16string wide = ToUtf16(source.text).substr(0, limit);
            std::copy(wide.begin(), wide.end(), item->pszText);
            item->pszText[wide.size()] = 0;
        } else {
            const std::string text = source.text.substr(0, limit);
            std::memcpy(item->pszText, text.c_str(), text.size() + 1);
        }
    }
    if ((item->mask & HDI_FORMAT) != 0)
        item->fmt = source.format;
    if ((item->mask & HDI_LPARAM) != 0)
        item->lParam = source.param;
    if ((item->mask & HDI_IMAGE) != 0)
        item->iImage = source.image;
    if ((item->mask & HDI_ORDER) != 0)
        item->iOrder = static_cast<int>(std::find(header.order.begin(), header.order.end(), static_cast<int>(index)) -
                                        header.order.begin());
    return TRUE;
}

LRESULT Layout(const Header& header, HDLAYOUT* layout)
{
    if (!layout || !layout->prc || !layout->pwpos)
        return FALSE;
    const int height = (StyleOf(header.window) & HDS_HIDDEN) != 0 ? 0 : ItemHeight(header);
    RECT& area = *layout->prc;
    *layout->pwpos = WINDOWPOS{header.window, nullptr, area.left, area.top, area.right - area.left, height, SWP_NOZORDER};
    area.top += height;
    return TRUE;
}

// Takes a new order only when it names every item once.
LRESULT SetOrder(Header& header, WPARAM count, const int* order)
{
    if (count != header.order.size() || !order)
        return FALSE;
    std::vector<int> wanted(order, order + count);
    std::vector<int> sorted = wanted;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != static_cast<int>(i))
            return FALSE;
    header.order = std::move(wanted);
    Redraw(header);
    return TRUE;
}

// ---- Mouse --------------------------------------------------------------------------------

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void ButtonDown(Header& header, LPARAM lParam)
{
    UINT flags = 0;
    const int hit = HitTest(header, PointOf(lParam), flags);
    if (hit < 0)
        return;
    if ((flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) != 0) {
        if (NotifyWidth(header, HDN_BEGINTRACK, hit, ItemAt(header, hit).width) != 0)
            return;
        header.tracking = hit;
        header.trackOffset = ItemRect(header, hit).right - GET_X_LPARAM(lParam);
    } else if ((StyleOf(header.window) & HDS_BUTTONS) != 0) {
        header.pressed = hit;
        header.pressedInside = true;
        Redraw(header);
    } else {
        return;
    }
    (void)SetCapture(header.window);
}

int TrackedWidth(const Header& header, LPARAM lParam)
{
    return std::max(0, GET_X_LPARAM(lParam) + header.trackOffset - ItemRect(header, header.tracking).left);
}

void MouseMove(Header& header, LPARAM lParam)
{
    if (header.tracking >= 0) {
        const int width = TrackedWidth(header, lParam);
        if (NotifyWidth(header, HDN_TRACK, header.tracking, width) == 0 &&
            (StyleOf(header.window) & HDS_FULLDRAG) != 0)
            ChangeWidth(header, header.tracking, width);
        return;
    }
    if (header.pressed >= 0) {
        const RECT rect = ItemRect(header, header.pressed);
        const POINT point = PointOf(lParam);
        const bool inside = PtInRect(&rect, point) != FALSE;
        if (inside != header.pressedInside) {
            header.pressedInside = inside;
            Redraw(header);
        }
    }
}

void ButtonUp(Header& header, LPARAM lParam)
{
    if (header.tracking >= 0) {
        const int width = TrackedWidth(header, lParam);
        header.endingTrack = std::exchange(header.tracking, -1);
        (void)ReleaseCapture();
        (void)NotifyWidth(header, HDN_ENDTRACK, header.endingTrack, width);
        const int index = std::exchange(header.endingTrack, -1);
        if (index >= 0 && width != ItemAt(header, index).width)
            ChangeWidth(header, index, width);
        return;
    }
    if (header.pressed >= 0) {
        const int index = header.pressed;
        const bool clicked = header.pressedInside;
        header.pressed = -1;
        (void)ReleaseCapture();
        Redraw(header);
        if (clicked)
            (void)Notify(header, HDN_ITEMCLICK, index, nullptr);
    }
}

void DoubleClick(Header& header, LPARAM lParam)
{
    UINT flags = 0;
    const int hit = HitTest(header, PointOf(lParam), flags);
    if (hit < 0)
        return;
    (void)Notify(header, (flags & HHT_ONHEADER) != 0 ? HDN_ITEMDBLCLICK : HDN_DIVIDERDBLCLICK, hit, nullptr);
}

bool SetSizingCursor(const Header& header)
{
    POINT point{};
    (void)GetCursorPos(&point);
    (void)ScreenToClient(header.window, &point);
    UINT flags = 0;
    if (header.tracking < 0 && (HitTest(header, point, flags) < 0 || (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) == 0))
        return false;
    (void)SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
    return true;
}

LRESULT HeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* header = new Header;
        header->window = window;
        (void)SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(header));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    Header* header = StateOf(window);
    if (!header)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_NCDESTROY:
        (void)SetWindowLongPtrA(window, 0, 0);
        delete header;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(window, reinterpret_cast<HDC>(wParam), [&](HDC dc) { Paint(*header, dc); });
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
    case WM_SIZE:
        Redraw(*header);
        return 0;
    case WM_SETFONT:
        header->font = reinterpret_cast<HFONT>(wParam);
        Redraw(*header);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(header->font);
    case WM_LBUTTONDOWN:
        ButtonDown(*header, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        DoubleClick(*header, lParam);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(*header, lParam);
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(*header, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window && (header->tracking >= 0 || header->pressed >= 0)) {
            header->tracking = header->pressed = -1;
            Redraw(*header);
        }
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == window && LOWORD(static_cast<DWORD_PTR>(lParam)) == HTCLIENT &&
            SetSizingCursor(*header))
            return TRUE;
        return DefWindowProcA(window, message, wParam, lParam);
    case HDM_GETITEMCOUNT:
        return Count(*header);
    case HDM_INSERTITEMA:
        return InsertItem(*header, wParam, reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_INSERTITEMW:
        return InsertItem(*header, wParam, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM:
        return DeleteItem(*header, wParam);
    case HDM_GETITEMA:
        return GetItem(*header, wParam, reinterpret_cast<HDITEMA*>(lParam));
    case HDM_GETITEMW:
        return GetItem(*header, wParam, reinterpret_cast<HDITEMW*>(lParam));
    case HDM_SETITEMA:
        return SetItem(*header, wParam, reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_SETITEMW:
        return SetItem(*header, wParam, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_LAYOUT:
        return Layout(*header, reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        info->iItem = HitTest(*header, info->pt, info->flags);
        return info->iItem;
    }
    case HDM_GETITEMRECT:
        if (wParam >= header->items.size() || !lParam)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(*header, static_cast<int>(wParam));
        return TRUE;
    case HDM_SETIMAGELIST: {
        const HIMAGELIST old = header->images;
        header->images = reinterpret_cast<HIMAGELIST>(lParam);
        Redraw(*header);
        return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(header->images);
    case HDM_ORDERTOINDEX:
        return wParam < header->order.size() ? header->order[wParam] : static_cast<LRESULT>(wParam);
    case HDM_GETORDERARRAY:
        if (wParam != header->order.size() || !lParam)
            return FALSE;
        std::copy(header->order.begin(), header->order.end(), reinterpret_cast<int*>(lParam));
        return TRUE;
    case HDM_SETORDERARRAY:
        return SetOrder(*header, wParam, reinterpret_cast<const int*>(lParam));
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

void RegisterHeaderClass()
{
    (void)RegisterControlClass(WC_HEADERA, &HeaderProc, CS_DBLCLKS, sizeof(Header*));
}
