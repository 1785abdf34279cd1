#include "platform/winapi/controls/Header.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
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

struct Header final : ControlInstance {
    explicit Header(HWND window) : ControlInstance(window) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

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

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

HFONT FontOf(const Header& header)
{
    return header.font ? header.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int Count(const Header& header) { return static_cast<int>(header.items.size()); }

const Item& ItemAt(const Header& header, int index) { return header.items[static_cast<std::size_t>(index)]; }

int ItemHeight(const Header& header)
{
    TEXTMETRICA metrics{};
    const HDC dc = GetDC(nullptr);
    {
        const SelectionGuard font(dc, FontOf(header));
        (void)GetTextMetricsA(dc, &metrics);
    }
    (void)ReleaseDC(nullptr, dc);
    return metrics.tmHeight + 6;
}

RECT ItemRect(const Header& header, int index)
{
    RECT client{};
    (void)GetClientRect(header.Window(), &client);
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
    (void)GetClientRect(header.Window(), &client);
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

Reply Notify(const Header& header, UINT code, int index, HDITEMA* item)
{
    NMHEADERA notice{};
    notice.iItem = index;
    notice.pitem = item;
    return header.NotifyParent(code, notice.hdr);
}

Reply NotifyWidth(const Header& header, UINT code, int index, int width)
{
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = width;
    return Notify(header, code, index, &item);
}

void Redraw(const Header& header) { (void)InvalidateRect(header.Window(), nullptr, TRUE); }

// Changes a width as the user asked for it: the parent may refuse.
void ChangeWidth(Header& header, int index, int width)
{
    const Reply asked = NotifyWidth(header, HDN_ITEMCHANGING, index, width);
    if (!asked.stands || asked.answer != 0)
        return;
    // The parent may have removed items while it was asked.
    if (static_cast<std::size_t>(index) >= header.items.size())
        return;
    header.items[static_cast<std::size_t>(index)].width = width;
    Redraw(header);
    (void)NotifyWidth(header, HDN_ITEMCHANGED, index, width);
}

// ---- Painting -----------------------------------------------------------------------------

// False when the parent destroyed the header as it drew the item.
[[nodiscard]] bool DrawOwnerItem(const Header& header, HDC dc, int index, RECT rect)
{
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_HEADER;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(header.Window()));
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = index == header.pressed && header.pressedInside ? ODS_SELECTED : 0;
    item.hwndItem = header.Window();
    item.hDC = dc;
    item.rcItem = rect;
    item.itemData = static_cast<ULONG_PTR>(ItemAt(header, index).param);
    return header.SendToParent(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item)).stands;
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

// False when the parent destroyed the header as it drew the item.
[[nodiscard]] bool DrawItem(const Header& header, HDC dc, int index)
{
    RECT rect = ItemRect(header, index);
    const Item& item = ItemAt(header, index);
    const bool pressed = index == header.pressed && header.pressedInside;
    RECT frame = rect;
    (void)DrawEdge(dc, &frame, pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
    if ((item.format & HDF_OWNERDRAW) != 0)
        return DrawOwnerItem(header, dc, index, frame);
    if (pressed)
        OffsetRect(&frame, 1, 1);
    const SavedDC saved(dc);
    (void)IntersectClipRect(dc, frame.left, frame.top, frame.right, frame.bottom);
    DrawItemContent(header, dc, item, frame);
    return true;
}

void Paint(const Header& header, HDC dc)
{
    RECT client{};
    (void)GetClientRect(header.Window(), &client);
    (void)FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const SavedDC saved(dc);
    (void)SelectObject(dc, FontOf(header));
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, GetSysColor(IsWindowEnabled(header.Window()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    int right = 0;
    for (const int index : header.order) {
        if (!DrawItem(header, dc, index))
            return;
        right += ItemAt(header, index).width;
    }
    RECT rest{right, 0, client.right, client.bottom};
    if (rest.left < rest.right)
        (void)DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
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
            if (GetCapture() == header.Window())
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
    const Reply reply = Notify(header, HDN_ITEMCHANGING, at, &asked);
    if (!reply.stands || reply.answer != 0 || index >= header.items.size())
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
    const int height = (StyleOf(header.Window()) & HDS_HIDDEN) != 0 ? 0 : ItemHeight(header);
    RECT& area = *layout->prc;
    *layout->pwpos =
        WINDOWPOS{header.Window(), nullptr, area.left, area.top, area.right - area.left, height, SWP_NOZORDER};
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
        const Reply begin = NotifyWidth(header, HDN_BEGINTRACK, hit, ItemAt(header, hit).width);
        if (!begin.stands || begin.answer != 0)
            return;
        header.tracking = hit;
        header.trackOffset = ItemRect(header, hit).right - GET_X_LPARAM(lParam);
    } else if ((StyleOf(header.Window()) & HDS_BUTTONS) != 0) {
        header.pressed = hit;
        header.pressedInside = true;
        Redraw(header);
    } else {
        return;
    }
    (void)SetCapture(header.Window());
}

int TrackedWidth(const Header& header, LPARAM lParam)
{
    return std::max(0, GET_X_LPARAM(lParam) + header.trackOffset - ItemRect(header, header.tracking).left);
}

void MouseMove(Header& header, LPARAM lParam)
{
    if (header.tracking >= 0) {
        const int width = TrackedWidth(header, lParam);
        const Reply track = NotifyWidth(header, HDN_TRACK, header.tracking, width);
        if (track.stands && track.answer == 0 && (StyleOf(header.Window()) & HDS_FULLDRAG) != 0)
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
        if (!NotifyWidth(header, HDN_ENDTRACK, header.endingTrack, width).stands)
            return;
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
    (void)ScreenToClient(header.Window(), &point);
    UINT flags = 0;
    if (header.tracking < 0 && (HitTest(header, point, flags) < 0 || (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) == 0))
        return false;
    (void)SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
    return true;
}

} // namespace

LRESULT Header::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = Window();
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(window, reinterpret_cast<HDC>(wParam), [&](HDC dc) { Paint(*this, dc); });
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
    case WM_SIZE:
        Redraw(*this);
        return 0;
    case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wParam);
        Redraw(*this);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font);
    case WM_LBUTTONDOWN:
        ButtonDown(*this, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        DoubleClick(*this, lParam);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(*this, lParam);
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(*this, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window && (tracking >= 0 || pressed >= 0)) {
            tracking = pressed = -1;
            Redraw(*this);
        }
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == window && LOWORD(static_cast<DWORD_PTR>(lParam)) == HTCLIENT &&
            SetSizingCursor(*this))
            return TRUE;
        return DefWindowProcA(window, message, wParam, lParam);
    case HDM_GETITEMCOUNT:
        return Count(*this);
    case HDM_INSERTITEMA:
        return InsertItem(*this, wParam, reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_INSERTITEMW:
        return InsertItem(*this, wParam, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM:
        return DeleteItem(*this, wParam);
    case HDM_GETITEMA:
        return GetItem(*this, wParam, reinterpret_cast<HDITEMA*>(lParam));
    case HDM_GETITEMW:
        return GetItem(*this, wParam, reinterpret_cast<HDITEMW*>(lParam));
    case HDM_SETITEMA:
        return SetItem(*this, wParam, reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_SETITEMW:
        return SetItem(*this, wParam, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_LAYOUT:
        return Layout(*this, reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        info->iItem = HitTest(*this, info->pt, info->flags);
        return info->iItem;
    }
    case HDM_GETITEMRECT:
        if (wParam >= items.size() || !lParam)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(*this, static_cast<int>(wParam));
        return TRUE;
    case HDM_SETIMAGELIST: {
        const HIMAGELIST old = images;
        images = reinterpret_cast<HIMAGELIST>(lParam);
        Redraw(*this);
        return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(images);
    case HDM_ORDERTOINDEX:
        return wParam < order.size() ? order[wParam] : static_cast<LRESULT>(wParam);
    case HDM_GETORDERARRAY:
        if (wParam != order.size() || !lParam)
            return FALSE;
        std::copy(order.begin(), order.end(), reinterpret_cast<int*>(lParam));
        return TRUE;
    case HDM_SETORDERARRAY:
        return SetOrder(*this, wParam, reinterpret_cast<const int*>(lParam));
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterHeaderClass()
{
    (void)RegisterControlInstanceClass<Header>(WC_HEADERA, CS_DBLCLKS);
}
