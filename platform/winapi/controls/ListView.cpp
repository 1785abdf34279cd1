#include "platform/winapi/controls/ListView.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/controls/Header.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int LABEL_MARGIN = 2;
constexpr int SUBITEM_MARGIN = 6;
constexpr int MIN_LIST_COLUMN = 50;

struct Column {
    std::string text;
    int format = LVCFMT_LEFT;
    int width = 0;
    int subItem = 0;
    int image = -1;
};

struct Row {
    // The item's text first, then its sub-items' by sub-item number.
    std::vector<std::string> texts{1};
    int image = -1;
    LPARAM param = 0;
    UINT state = 0;
    int indent = 0;
};

struct ListView final : ControlInstance {
    explicit ListView(HWND window) : ControlInstance(window) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND header = nullptr;
    std::vector<Column> columns;
    std::vector<Row> rows;
    HIMAGELIST normalImages = nullptr;
    HIMAGELIST smallImages = nullptr;
    HIMAGELIST stateImages = nullptr;
    HFONT font = nullptr;
    DWORD exStyle = 0;
    COLORREF background = CLR_DEFAULT;
    COLORREF textColour = CLR_DEFAULT;
    COLORREF textBackground = CLR_DEFAULT;
    // Report: the first row shown and the horizontal scroll in pixels. List: the first column
    // shown.
    int top = 0;
    int scrollX = 0;
    int firstColumn = 0;
    int listColumnWidth = 0;
    int selectionMark = -1;
    bool leftDown = false;
};

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

bool IsReport(const ListView& view) { return (StyleOf(view.Window()) & LVS_TYPEMASK) == LVS_REPORT; }

HFONT FontOf(const ListView& view)
{
    return view.font ? view.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int Count(const ListView& view) { return static_cast<int>(view.rows.size()); }

Row& RowAt(ListView& view, int index) { return view.rows[static_cast<std::size_t>(index)]; }
const Row& RowAt(const ListView& view, int index) { return view.rows[static_cast<std::size_t>(index)]; }

const std::string& TextOf(const Row& row, int subItem)
{
    static const std::string empty;
    return subItem >= 0 && static_cast<std::size_t>(subItem) < row.texts.size() ? row.texts[static_cast<std::size_t>(subItem)]
                                                                                : empty;
}

COLORREF Resolved(COLORREF colour, int systemColour) { return colour == CLR_DEFAULT ? GetSysColor(systemColour) : colour; }

// ---- Measures -----------------------------------------------------------------------------

template <class Measure>
auto WithFont(const ListView& view, Measure measure)
{
    const HDC dc = GetDC(nullptr);
    const auto result = [&] {
        const SelectionGuard font(dc, FontOf(view));
        return measure(dc);
    }();
    (void)ReleaseDC(nullptr, dc);
    return result;
}

int TextWidth(const ListView& view, const std::string& text)
{
    return WithFont(view, [&](HDC dc) {
        SIZE size{0, 0};
        (void)GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
}

SIZE SmallImageSize(const ListView& view)
{
    int width = 0;
    int height = 0;
    if (view.smallImages)
        (void)ImageList_GetIconSize(view.smallImages, &width, &height);
    return SIZE{width, height};
}

int RowHeight(const ListView& view)
{
    const int text = WithFont(view, [](HDC dc) {
        TEXTMETRICA metrics{};
        (void)GetTextMetricsA(dc, &metrics);
        return static_cast<int>(metrics.tmHeight);
    });
    return std::max<int>(text + 4, SmallImageSize(view).cy + 1);
}

RECT Client(const ListView& view)
{
    RECT client{};
    (void)GetClientRect(view.Window(), &client);
    return client;
}

int HeaderHeight(const ListView& view)
{
    // The header's own style, not IsWindowVisible: the geometry holds while the list is hidden.
    if (!view.header || !IsReport(view) || (GetWindowLongA(view.header, GWL_STYLE) & WS_VISIBLE) == 0)
        return 0;
    RECT rect{};
    (void)GetWindowRect(view.header, &rect);
    return rect.bottom - rect.top;
}

int TotalWidth(const ListView& view)
{
    int width = 0;
    for (const Column& column : view.columns)
        width += column.width;
    return width;
}

int VisibleRows(const ListView& view)
{
    const RECT client = Client(view);
    return std::max(1, (client.bottom - HeaderHeight(view)) / RowHeight(view));
}

int ListColumnWidth(const ListView& view)
{
    if (view.listColumnWidth > 0)
        return view.listColumnWidth;
    int widest = MIN_LIST_COLUMN;
    for (const Row& row : view.rows)
        widest = std::max(widest, TextWidth(view, row.texts[0]) + SmallImageSize(view).cx + 4 * LABEL_MARGIN);
    return widest;
}

int ColumnLeft(const ListView& view, int column)
{
    int left = -view.scrollX;
    for (int i = 0; i < column; ++i)
        left += view.columns[static_cast<std::size_t>(i)].width;
    return left;
}

// The row's whole rectangle: across every column (report) or its cell (list).
RECT Bounds(const ListView& view, int index)
{
    const int height = RowHeight(view);
    if (IsReport(view)) {
        const int top = HeaderHeight(view) + (index - view.top) * height;
        return RECT{-view.scrollX, top, TotalWidth(view) - view.scrollX, top + height};
    }
    const int perColumn = VisibleRows(view);
    const int width = ListColumnWidth(view);
    const int left = (index / perColumn - view.firstColumn) * width;
    const int top = (index % perColumn) * height;
    return RECT{left, top, left + width, top + height};
}

RECT IconRect(const ListView& view, int index)
{
    RECT rect = Bounds(view, index);
    const int left = rect.left + LABEL_MARGIN + RowAt(view, index).indent * SmallImageSize(view).cx;
    return RECT{left, rect.top, left + SmallImageSize(view).cx, rect.bottom};
}

RECT LabelRect(const ListView& view, int index)
{
    const RECT icon = IconRect(view, index);
    const int right = IsReport(view) ? (view.columns.empty() ? icon.right : ColumnLeft(view, 1))
                                     : Bounds(view, index).right;
    return RECT{icon.right + (view.smallImages ? LABEL_MARGIN : 0), icon.top, std::max<int>(right, icon.right), icon.bottom};
}

RECT SubItemRect(const ListView& view, int index, int column)
{
    const RECT bounds = Bounds(view, index);
    const int left = ColumnLeft(view, column);
    return RECT{left, bounds.top, left + view.columns[static_cast<std::size_t>(column)].width, bounds.bottom};
}

bool FullRowSelect(const ListView& view) { return IsReport(view) && (view.exStyle & LVS_EX_FULLROWSELECT) != 0; }

RECT SelectBounds(const ListView& view, int index)
{
    if (FullRowSelect(view))
        return Bounds(view, index);
    const RECT icon = IconRect(view, index);
    const RECT label = LabelRect(view, index);
    return RECT{icon.left, icon.top, label.right, label.bottom};
}

// ---- Scrolling ----------------------------------------------------------------------------

void PlaceHeader(const ListView& view)
{
    if (!view.header)
        return;
    const bool shown = IsReport(view) && (StyleOf(view.Window()) & LVS_NOCOLUMNHEADER) == 0;
    RECT area = Client(view);
    area.left -= view.scrollX;
    WINDOWPOS position{};
    HDLAYOUT layout{&area, &position};
    (void)SendMessageA(view.header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    (void)SetWindowPos(view.header, nullptr, position.x, position.y, position.cx + view.scrollX, position.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void SetBar(HWND window, int bar, int maximum, int page, int position)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, maximum - 1);
    info.nPage = static_cast<UINT>(std::max(0, page));
    info.nPos = position;
    (void)SetScrollInfo(window, bar, &info, TRUE);
}

void ClampScroll(ListView& view)
{
    const RECT client = Client(view);
    if (IsReport(view)) {
        view.top = std::clamp(view.top, 0, std::max(0, Count(view) - VisibleRows(view)));
        view.scrollX = std::clamp(view.scrollX, 0, std::max(0, TotalWidth(view) - client.right));
    } else {
        const int perColumn = VisibleRows(view);
        const int columns = (Count(view) + perColumn - 1) / perColumn;
        const int shown = std::max(1, client.right / ListColumnWidth(view));
        view.firstColumn = std::clamp(view.firstColumn, 0, std::max(0, columns - shown));
    }
}

void UpdateScrollBars(ListView& view)
{
    ClampScroll(view);
    const RECT client = Client(view);
    if (IsReport(view)) {
        SetBar(view.Window(), SB_VERT, Count(view), VisibleRows(view), view.top);
        SetBar(view.Window(), SB_HORZ, TotalWidth(view), client.right, view.scrollX);
    } else {
        const int perColumn = VisibleRows(view);
        SetBar(view.Window(), SB_VERT, 0, 0, 0);
        SetBar(view.Window(), SB_HORZ, (Count(view) + perColumn - 1) / perColumn,
               std::max(1, client.right / ListColumnWidth(view)), view.firstColumn);
    }
    PlaceHeader(view);
}

void Relayout(ListView& view)
{
    UpdateScrollBars(view);
    (void)InvalidateRect(view.Window(), nullptr, TRUE);
}

void ScrollTo(ListView& view, int top, int scrollX, int firstColumn)
{
    view.top = top;
    view.scrollX = scrollX;
    view.firstColumn = firstColumn;
    Relayout(view);
}

void EnsureVisible(ListView& view, int index)
{
    if (index < 0 || index >= Count(view))
        return;
    if (IsReport(view)) {
        const int rows = VisibleRows(view);
        const int top = index < view.top ? index : index >= view.top + rows ? index - rows + 1 : view.top;
        ScrollTo(view, top, view.scrollX, view.firstColumn);
        return;
    }
    const int column = index / VisibleRows(view);
    const int shown = std::max(1, Client(view).right / ListColumnWidth(view));
    const int first = column < view.firstColumn ? column : column >= view.firstColumn + shown ? column - shown + 1
                                                                                          : view.firstColumn;
    ScrollTo(view, view.top, view.scrollX, first);
}

int NewScrollPosition(HWND window, int bar, WORD request, int line, int page)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    (void)GetScrollInfo(window, bar, &info);
    switch (request) {
    case SB_LINEUP:
        return info.nPos - line;
    case SB_LINEDOWN:
        return info.nPos + line;
    case SB_PAGEUP:
        return info.nPos - page;
    case SB_PAGEDOWN:
        return info.nPos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return info.nTrackPos;
    case SB_TOP:
        return info.nMin;
    case SB_BOTTOM:
        return info.nMax;
    default:
        return info.nPos;
    }
}

void OnScroll(ListView& view, int bar, WPARAM wParam)
{
    const WORD request = LOWORD(wParam);
    if (bar == SB_VERT && IsReport(view)) {
        ScrollTo(view, NewScrollPosition(view.Window(), bar, request, 1, VisibleRows(view) - 1), view.scrollX,
                 view.firstColumn);
    } else if (IsReport(view)) {
        ScrollTo(view, view.top, NewScrollPosition(view.Window(), bar, request, 8, Client(view).right),
                 view.firstColumn);
    } else if (bar == SB_HORZ) {
        ScrollTo(view, view.top, view.scrollX, NewScrollPosition(view.Window(), bar, request, 1, 1));
    }
}

// ---- Item state ---------------------------------------------------------------------------

Reply NotifyItem(const ListView& view, UINT code, int index, UINT changed, UINT newState, UINT oldState)
{
    NMLISTVIEW notice{};
    notice.iItem = index;
    notice.uChanged = changed;
    notice.uNewState = newState;
    notice.uOldState = oldState;
    notice.lParam = index >= 0 && index < Count(view) ? RowAt(view, index).param : 0;
    return view.NotifyParent(code, notice.hdr);
}

void RedrawRow(const ListView& view, int index)
{
    RECT rect = Bounds(view, index);
    rect.left = 0;
    rect.right = std::max<int>(rect.right, Client(view).right);
    (void)InvalidateRect(view.Window(), &rect, TRUE);
}

bool ChangeState(ListView& view, int index, UINT state, UINT mask);

// Keeps the one-focus and single-selection rules before `index` takes the state.
void MakeRoom(ListView& view, int index, UINT newState, UINT mask)
{
    const bool singleSelect = (StyleOf(view.Window()) & LVS_SINGLESEL) != 0;
    for (int i = 0; i < Count(view) && view.Stands(); ++i) {
        if (i == index)
            continue;
        if ((mask & newState & LVIS_FOCUSED) != 0 && (RowAt(view, i).state & LVIS_FOCUSED) != 0)
            (void)ChangeState(view, i, 0, LVIS_FOCUSED);
        if (singleSelect && (mask & newState & LVIS_SELECTED) != 0 && (RowAt(view, i).state & LVIS_SELECTED) != 0)
            (void)ChangeState(view, i, 0, LVIS_SELECTED);
    }
}

bool ChangeState(ListView& view, int index, UINT state, UINT mask)
{
    const UINT old = RowAt(view, index).state;
    const UINT wanted = (old & ~mask) | (state & mask);
    if (wanted == old)
        return true;
    const Reply asked = NotifyItem(view, LVN_ITEMCHANGING, index, LVIF_STATE, wanted, old);
    if (!asked.stands || asked.answer != 0)
        return false;
    MakeRoom(view, index, wanted, mask & (wanted ^ old));
    // Whoever heard of the changes may have removed items, or the whole control, meanwhile.
    if (!view.Stands() || index >= Count(view))
        return false;
    RowAt(view, index).state = wanted;
    if ((wanted & ~old & LVIS_FOCUSED) != 0)
        view.selectionMark = view.selectionMark < 0 ? index : view.selectionMark;
    RedrawRow(view, index);
    (void)NotifyItem(view, LVN_ITEMCHANGED, index, LVIF_STATE, wanted, old);
    return true;
}

LRESULT SetItemState(ListView& view, WPARAM index, const LVITEMA* item)
{
    if (!item)
        return FALSE;
    if (static_cast<int>(index) == -1) {
        for (int i = 0; i < Count(view); ++i)
            (void)ChangeState(view, i, item->state, item->stateMask);
        return TRUE;
    }
    if (index >= view.rows.size())
        return FALSE;
    return ChangeState(view, static_cast<int>(index), item->state, item->stateMask) ? TRUE : FALSE;
}

int Focused(const ListView& view)
{
    for (int i = 0; i < Count(view); ++i)
        if ((RowAt(view, i).state & LVIS_FOCUSED) != 0)
            return i;
    return -1;
}

LRESULT NextItem(const ListView& view, int start, UINT flags)
{
    const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED);
    const bool backward = (flags & (LVNI_ABOVE | LVNI_TOLEFT)) != 0;
    for (int i = backward ? start - 1 : start + 1; i >= 0 && i < Count(view); i += backward ? -1 : 1)
        if ((RowAt(view, i).state & wanted) == wanted)
            return i;
    return -1;
}

// ---- Items and columns --------------------------------------------------------------------

// Far beyond any report a window can show; a larger sub-item number is a caller's mistake, not a
// reason to allocate billions of strings.
constexpr int MAX_SUB_ITEMS = 4096;

void SetText(Row& row, int subItem, LPCSTR text)
{
    if (subItem < 0 || subItem >= MAX_SUB_ITEMS)
        return;
    if (row.texts.size() <= static_cast<std::size_t>(subItem))
        row.texts.resize(static_cast<std::size_t>(subItem) + 1);
    row.texts[static_cast<std::size_t>(subItem)] = text ? text : "";
}

LRESULT InsertItem(ListView& view, const LVITEMA* item)
{
    if (!item || item->iItem < 0 || item->iSubItem != 0)
        return -1;
    const int at = std::min(item->iItem, Count(view));
    Row row;
    if ((item->mask & LVIF_TEXT) != 0)
        SetText(row, 0, item->pszText);
    if ((item->mask & LVIF_IMAGE) != 0)
        row.image = item->iImage;
    if ((item->mask & LVIF_PARAM) != 0)
        row.param = item->lParam;
    if ((item->mask & LVIF_INDENT) != 0)
        row.indent = item->iIndent;
    view.rows.insert(view.rows.begin() + at, row);
    if (view.selectionMark >= at)
        ++view.selectionMark;
    if (!NotifyItem(view, LVN_INSERTITEM, at, 0, 0, 0).stands)
        return at;
    if ((item->mask & LVIF_STATE) != 0 && at < Count(view))
        (void)ChangeState(view, at, item->state, item->stateMask);
    Relayout(view);
    return at;
}

LRESULT SetItem(ListView& view, const LVITEMA* item)
{
    if (!item || item->iItem < 0 || item->iItem >= Count(view))
        return FALSE;
    const UINT changed = item->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM);
    if (item->iSubItem == 0 && changed != 0) {
        const UINT state = RowAt(view, item->iItem).state;
        // The parent may refuse, or remove items while it is asked.
        const Reply asked = NotifyItem(view, LVN_ITEMCHANGING, item->iItem, changed, state, state);
        if (!asked.stands || asked.answer != 0 || item->iItem >= Count(view))
            return FALSE;
    }
    Row& row = RowAt(view, item->iItem);
    if ((item->mask & LVIF_TEXT) != 0)
        SetText(row, item->iSubItem, item->pszText);
    if (item->iSubItem == 0) {
        if ((item->mask & LVIF_IMAGE) != 0)
            row.image = item->iImage;
        if ((item->mask & LVIF_PARAM) != 0)
            row.param = item->lParam;
        if ((item->mask & LVIF_INDENT) != 0)
            row.indent = item->iIndent;
    }
    RedrawRow(view, item->iItem);
    if (item->iSubItem == 0 && changed != 0) {
        const UINT state = row.state;
        if (!NotifyItem(view, LVN_ITEMCHANGED, item->iItem, changed, state, state).stands)
            return TRUE;
    }
    if ((item->mask & LVIF_STATE) != 0 && item->iSubItem == 0 && item->iItem < Count(view))
        return ChangeState(view, item->iItem, item->state, item->stateMask) ? TRUE : FALSE;
    return TRUE;
}

int CopyText(const std::string& text, LPSTR buffer, int capacity)
{
    if (!buffer || capacity <= 0)
        return 0;
    const std::size_t length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(capacity - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
    return static_cast<int>(length);
}

LRESULT GetItem(const ListView& view, LVITEMA* item)
{
    if (!item || item->iItem < 0 || item->iItem >= Count(view))
        return FALSE;
    const Row& row = RowAt(view, item->iItem);
    if ((item->mask & LVIF_TEXT) != 0)
        (void)CopyText(TextOf(row, item->iSubItem), item->pszText, item->cchTextMax);
    if ((item->mask & LVIF_IMAGE) != 0)
        item->iImage = row.image;
    if ((item->mask & LVIF_PARAM) != 0)
        item->lParam = row.param;
    if ((item->mask & LVIF_STATE) != 0)
        item->state = row.state & item->stateMask;
    if ((item->mask & LVIF_INDENT) != 0)
        item->iIndent = row.indent;
    return TRUE;
}

LRESULT DeleteItem(ListView& view, WPARAM index)
{
    if (index >= view.rows.size())
        return FALSE;
    const int at = static_cast<int>(index);
    if (!NotifyItem(view, LVN_DELETEITEM, at, 0, 0, 0).stands || at >= Count(view))
        return FALSE;
    view.rows.erase(view.rows.begin() + at);
    if (view.selectionMark == at)
        view.selectionMark = -1;
    else if (view.selectionMark > at)
        --view.selectionMark;
    Relayout(view);
    return TRUE;
}

LRESULT DeleteAllItems(ListView& view)
{
    // A parent answering TRUE to LVN_DELETEALLITEMS does without the notice per item.
    const Reply all = NotifyItem(view, LVN_DELETEALLITEMS, -1, 0, 0, 0);
    if (!all.stands)
        return TRUE;
    if (all.answer == 0)
        for (int i = 0; i < Count(view); ++i)
            if (!NotifyItem(view, LVN_DELETEITEM, i, 0, 0, 0).stands)
                return TRUE;
    view.rows.clear();
    view.selectionMark = -1;
    ScrollTo(view, 0, 0, 0);
    return TRUE;
}

void SendHeaderItem(const ListView& view, UINT message, int index, const Column& column, UINT mask)
{
    HDITEMA item{};
    item.mask = mask;
    item.cxy = column.width;
    item.pszText = const_cast<LPSTR>(column.text.c_str());
    item.fmt = (column.format & LVCFMT_JUSTIFYMASK) | HDF_STRING;
    (void)SendMessageA(view.header, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void ApplyColumn(Column& column, const LVCOLUMNA& source)
{
    if ((source.mask & LVCF_FMT) != 0)
        column.format = source.fmt;
    if ((source.mask & LVCF_WIDTH) != 0)
        column.width = std::max(0, source.cx);
    if ((source.mask & LVCF_TEXT) != 0)
        column.text = source.pszText ? source.pszText : "";
    if ((source.mask & LVCF_SUBITEM) != 0)
        column.subItem = source.iSubItem;
    if ((source.mask & LVCF_IMAGE) != 0)
        column.image = source.iImage;
}

LRESULT InsertColumn(ListView& view, WPARAM index, const LVCOLUMNA* source)
{
    if (!source)
        return -1;
    const int at = static_cast<int>(std::min<std::size_t>(index, view.columns.size()));
    Column column;
    column.subItem = at;
    ApplyColumn(column, *source);
    view.columns.insert(view.columns.begin() + at, column);
    SendHeaderItem(view, HDM_INSERTITEMA, at, column, HDI_WIDTH | HDI_TEXT | HDI_FORMAT);
    Relayout(view);
    return at;
}

LRESULT SetColumn(ListView& view, WPARAM index, const LVCOLUMNA* source)
{
    if (!source || index >= view.columns.size())
        return FALSE;
    Column& column = view.columns[index];
    ApplyColumn(column, *source);
    SendHeaderItem(view, HDM_SETITEMA, static_cast<int>(index), column, HDI_WIDTH | HDI_TEXT | HDI_FORMAT);
    Relayout(view);
    return TRUE;
}

LRESULT GetColumn(const ListView& view, WPARAM index, LVCOLUMNA* target)
{
    if (!target || index >= view.columns.size())
        return FALSE;
    const Column& column = view.columns[index];
    if ((target->mask & LVCF_FMT) != 0)
        target->fmt = column.format;
    if ((target->mask & LVCF_WIDTH) != 0)
        target->cx = column.width;
    if ((target->mask & LVCF_TEXT) != 0)
        (void)CopyText(column.text, target->pszText, target->cchTextMax);
    if ((target->mask & LVCF_SUBITEM) != 0)
        target->iSubItem = column.subItem;
    if ((target->mask & LVCF_IMAGE) != 0)
        target->iImage = column.image;
    return TRUE;
}

LRESULT DeleteColumn(ListView& view, WPARAM index)
{
    if (index >= view.columns.size())
        return FALSE;
    view.columns.erase(view.columns.begin() + static_cast<std::ptrdiff_t>(index));
    (void)SendMessageA(view.header, HDM_DELETEITEM, index, 0);
    Relayout(view);
    return TRUE;
}

int FittingWidth(const ListView& view, const Column& column, bool withTitle)
{
    int widest = withTitle ? TextWidth(view, column.text) + 2 * SUBITEM_MARGIN : 0;
    for (const Row& row : view.rows)
        widest = std::max(widest, TextWidth(view, TextOf(row, column.subItem)) + 2 * SUBITEM_MARGIN);
    if (column.subItem == 0)
        widest += SmallImageSize(view).cx;
    return widest;
}

LRESULT SetColumnWidth(ListView& view, WPARAM index, int width)
{
    if (!IsReport(view)) {
        view.listColumnWidth = std::max(0, width);
        Relayout(view);
        return TRUE;
    }
    if (index >= view.columns.size())
        return FALSE;
    Column& column = view.columns[index];
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER)
        width = FittingWidth(view, column, width == LVSCW_AUTOSIZE_USEHEADER);
    column.width = std::max(0, width);
    SendHeaderItem(view, HDM_SETITEMA, static_cast<int>(index), column, HDI_WIDTH);
    Relayout(view);
    return TRUE;
}

// The user dragged a column's divider in the header.
void HeaderChanged(ListView& view, const NMHEADERA& notice)
{
    if (notice.iItem < 0 || notice.iItem >= static_cast<int>(view.columns.size()) || !notice.pitem ||
        (notice.pitem->mask & HDI_WIDTH) == 0)
        return;
    view.columns[static_cast<std::size_t>(notice.iItem)].width = notice.pitem->cxy;
    Relayout(view);
}

LRESULT OnHeaderNotify(ListView& view, const NMHDR& header)
{
    const auto& notice = reinterpret_cast<const NMHEADERA&>(header);
    if (header.code == HDN_ITEMCHANGED) {
        HeaderChanged(view, notice);
    } else if (header.code == HDN_ITEMCLICK) {
        NMLISTVIEW click{};
        click.iItem = -1;
        click.iSubItem = notice.iItem;
        (void)view.NotifyParent(LVN_COLUMNCLICK, click.hdr);
    }
    return 0;
}

// ---- Hit testing --------------------------------------------------------------------------

int ItemAt(const ListView& view, POINT point, UINT& flags, int& subItem)
{
    subItem = 0;
    for (int i = 0; i < Count(view); ++i) {
        const RECT bounds = Bounds(view, i);
        if (point.y < bounds.top || point.y >= bounds.bottom || point.x < bounds.left || point.x >= bounds.right)
            continue;
        const RECT icon = IconRect(view, i);
        const RECT label = LabelRect(view, i);
        if (view.smallImages && PtInRect(&icon, point))
            flags = LVHT_ONITEMICON;
        else if (PtInRect(&label, point))
            flags = LVHT_ONITEMLABEL;
        else
            flags = LVHT_NOWHERE;
        for (int column = 0; IsReport(view) && column < static_cast<int>(view.columns.size()); ++column) {
            const RECT cell = SubItemRect(view, i, column);
            if (point.x >= cell.left && point.x < cell.right)
                subItem = column;
        }
        if (flags == LVHT_NOWHERE && FullRowSelect(view))
            flags = LVHT_ONITEMLABEL;
        return flags == LVHT_NOWHERE ? -1 : i;
    }
    flags = LVHT_NOWHERE;
    if (point.y < HeaderHeight(view))
        flags = LVHT_ABOVE;
    return -1;
}

LRESULT HitTest(const ListView& view, LVHITTESTINFO* info)
{
    if (!info)
        return -1;
    info->iItem = ItemAt(view, info->pt, info->flags, info->iSubItem);
    return info->iItem;
}

LRESULT GetItemRect(const ListView& view, WPARAM index, RECT* rect)
{
    if (!rect || index >= view.rows.size())
        return FALSE;
    const int at = static_cast<int>(index);
    switch (rect->left) {
    case LVIR_ICON:
        *rect = IconRect(view, at);
        break;
    case LVIR_LABEL:
        *rect = LabelRect(view, at);
        break;
    case LVIR_SELECTBOUNDS:
        *rect = SelectBounds(view, at);
        break;
    default:
        *rect = Bounds(view, at);
        break;
    }
    return TRUE;
}

LRESULT GetSubItemRect(const ListView& view, WPARAM index, RECT* rect)
{
    if (!rect || index >= view.rows.size() || rect->top < 0 || rect->top >= static_cast<int>(view.columns.size()))
        return FALSE;
    const int column = rect->top;
    *rect = column == 0 && rect->left == LVIR_LABEL ? LabelRect(view, static_cast<int>(index))
                                                     : SubItemRect(view, static_cast<int>(index), column);
    return TRUE;
}

// ---- Painting -----------------------------------------------------------------------------

struct Colours {
    COLORREF text;
    COLORREF background;
};

LRESULT CustomDraw(const ListView& view, HDC dc, DWORD stage, int index, int subItem, RECT rect, Colours& colours)
{
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = rect;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(std::max(index, 0));
    if (index >= 0) {
        const UINT state = RowAt(view, index).state;
        draw.nmcd.uItemState = ((state & LVIS_SELECTED) != 0 ? CDIS_SELECTED : 0) | ((state & LVIS_FOCUSED) != 0 ? CDIS_FOCUS : 0);
        draw.nmcd.lItemlParam = RowAt(view, index).param;
    }
    draw.clrText = colours.text;
    draw.clrTextBk = colours.background;
    draw.iSubItem = subItem;
    const Reply reply = view.NotifyParent(NM_CUSTOMDRAW, draw.nmcd.hdr);
    colours = Colours{draw.clrText, draw.clrTextBk};
    // A control its parent destroyed while painting paints no more.
    return reply.stands ? reply.answer : CDRF_SKIPDEFAULT;
}

bool ShowsSelection(const ListView& view, int index)
{
    return (RowAt(view, index).state & LVIS_SELECTED) != 0 &&
           (GetFocus() == view.Window() || (StyleOf(view.Window()) & LVS_SHOWSELALWAYS) != 0);
}

Colours Highlight(const ListView& view)
{
    if (GetFocus() == view.Window())
        return Colours{GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)};
    return Colours{GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)};
}

void FillColour(HDC dc, RECT rect, COLORREF colour)
{
    (void)FillRect(dc, &rect, GdiObject<HBRUSH>(CreateSolidBrush(colour)).Get());
}

void DrawCellText(HDC dc, const std::string& text, RECT rect, int format, COLORREF colour)
{
    UINT alignment = DT_LEFT;
    if ((format & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
        alignment = DT_RIGHT;
    else if ((format & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
        alignment = DT_CENTER;
    (void)SetTextColor(dc, colour);
    (void)DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                    alignment | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// One cell: the item's icon and label (column 0) or a sub-item's text.
void DrawCell(const ListView& view, HDC dc, int index, int column, const Colours& colours, bool highlighted)
{
    const Row& row = RowAt(view, index);
    const bool first = column == 0;
    const Column* described = IsReport(view) && !view.columns.empty() ? &view.columns[static_cast<std::size_t>(column)] : nullptr;
    const int subItem = described ? described->subItem : 0;
    RECT text = first ? LabelRect(view, index) : SubItemRect(view, index, column);
    if (first && view.smallImages && row.image >= 0) {
        const RECT icon = IconRect(view, index);
        const int y = icon.top + ((icon.bottom - icon.top) - SmallImageSize(view).cy) / 2;
        (void)ImageList_Draw(view.smallImages, row.image, dc, icon.left, y, highlighted ? ILD_SELECTED : ILD_TRANSPARENT);
    }
    const RECT fill = highlighted && FullRowSelect(view) ? SubItemRect(view, index, column) : text;
    if (highlighted || colours.background != CLR_NONE)
        FillColour(dc, fill, colours.background);
    InflateRect(&text, first ? -LABEL_MARGIN : -SUBITEM_MARGIN, 0);
    const COLORREF textColour = IsWindowEnabled(view.Window()) ? colours.text : GetSysColor(COLOR_GRAYTEXT);
    DrawCellText(dc, TextOf(row, subItem), text, described ? described->format : LVCFMT_LEFT, textColour);
}

void DrawRow(const ListView& view, HDC dc, int index, bool notifyItems)
{
    const Colours normal{Resolved(view.textColour, COLOR_WINDOWTEXT),
                         view.textBackground == CLR_DEFAULT ? CLR_NONE : view.textBackground};
    Colours itemColours = normal;
    const RECT bounds = Bounds(view, index);
    LRESULT answer = CDRF_DODEFAULT;
    if (notifyItems)
        answer = CustomDraw(view, dc, CDDS_ITEMPREPAINT, index, 0, bounds, itemColours);
    if ((answer & CDRF_SKIPDEFAULT) != 0)
        return;
    const bool highlighted = ShowsSelection(view, index);
    const int columns = IsReport(view) ? std::max<int>(1, static_cast<int>(view.columns.size())) : 1;
    for (int column = 0; column < columns; ++column) {
        Colours colours = itemColours;
        if ((answer & CDRF_NOTIFYSUBITEMDRAW) != 0 && IsReport(view))
            (void)CustomDraw(view, dc, CDDS_ITEMPREPAINT | CDDS_SUBITEM, index, column,
                             view.columns.empty() ? bounds : SubItemRect(view, index, column), colours);
        const bool cellHighlighted = highlighted && (column == 0 || FullRowSelect(view));
        DrawCell(view, dc, index, column, cellHighlighted ? Highlight(view) : colours, cellHighlighted);
    }
    if (GetFocus() == view.Window() && (RowAt(view, index).state & LVIS_FOCUSED) != 0) {
        const RECT focus = SelectBounds(view, index);
        (void)DrawFocusRect(dc, &focus);
    }
    if ((answer & CDRF_NOTIFYPOSTPAINT) != 0) {
        Colours unused = itemColours;
        (void)CustomDraw(view, dc, CDDS_ITEMPOSTPAINT, index, 0, bounds, unused);
    }
}

void DrawGridLines(const ListView& view, HDC dc)
{
    if (!IsReport(view) || (view.exStyle & LVS_EX_GRIDLINES) == 0)
        return;
    const RECT client = Client(view);
    const HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
    const int height = RowHeight(view);
    for (int y = HeaderHeight(view) + height - 1; y < client.bottom; y += height) {
        const RECT line{0, y, client.right, y + 1};
        (void)FillRect(dc, &line, brush);
    }
    for (int column = 1; column <= static_cast<int>(view.columns.size()); ++column) {
        const int x = ColumnLeft(view, column) - 1;
        const RECT line{x, HeaderHeight(view), x + 1, client.bottom};
        (void)FillRect(dc, &line, brush);
    }
}

void Paint(const ListView& view, HDC dc)
{
    const RECT client = Client(view);
    FillColour(dc, client, Resolved(view.background, COLOR_WINDOW));
    const SavedDC saved(dc);
    (void)SelectObject(dc, FontOf(view));
    (void)SetBkMode(dc, TRANSPARENT);
    Colours none{0, 0};
    const LRESULT answer = CustomDraw(view, dc, CDDS_PREPAINT, -1, 0, client, none);
    if ((answer & CDRF_SKIPDEFAULT) == 0) {
        DrawGridLines(view, dc);
        for (int i = 0; i < Count(view) && view.Stands(); ++i) {
            const RECT bounds = Bounds(view, i);
            if (bounds.bottom > HeaderHeight(view) && bounds.top < client.bottom && bounds.right > 0 && bounds.left < client.right)
                DrawRow(view, dc, i, (answer & CDRF_NOTIFYITEMDRAW) != 0);
        }
    }
    if ((answer & CDRF_NOTIFYPOSTPAINT) != 0)
        (void)CustomDraw(view, dc, CDDS_POSTPAINT, -1, 0, client, none);
}

// ---- Mouse and keyboard -------------------------------------------------------------------

void SelectOnly(ListView& view, int index)
{
    for (int i = 0; i < Count(view); ++i)
        if (i != index && (RowAt(view, i).state & LVIS_SELECTED) != 0)
            (void)ChangeState(view, i, 0, LVIS_SELECTED);
    if (index >= 0)
        (void)ChangeState(view, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void SelectRange(ListView& view, int from, int to)
{
    const auto [low, high] = std::minmax(from, to);
    for (int i = 0; i < Count(view); ++i) {
        const bool inside = i >= low && i <= high;
        (void)ChangeState(view, i, inside ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    (void)ChangeState(view, to, LVIS_FOCUSED, LVIS_FOCUSED);
}

// Moves the focus (and the selection, by the modifiers) to `index`.
void MoveTo(ListView& view, int index, bool shift, bool ctrl)
{
    const bool multiple = (StyleOf(view.Window()) & LVS_SINGLESEL) == 0;
    if (shift && multiple && view.selectionMark >= 0) {
        SelectRange(view, view.selectionMark, index);
    } else if (ctrl && multiple) {
        (void)ChangeState(view, index, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        SelectOnly(view, index);
        view.selectionMark = index;
    }
    EnsureVisible(view, index);
}

// False when the parent destroyed the control as it heard.
[[nodiscard]] bool Notify(const ListView& view, UINT code, int index, int subItem, POINT point)
{
    NMITEMACTIVATE notice{};
    notice.iItem = index;
    notice.iSubItem = subItem;
    notice.ptAction = point;
    notice.lParam = index >= 0 ? RowAt(view, index).param : 0;
    return view.NotifyParent(code, notice.hdr).stands;
}

void ButtonDown(ListView& view, WPARAM keys, LPARAM lParam, bool right)
{
    (void)SetFocus(view.Window());
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    UINT flags = 0;
    int subItem = 0;
    const int hit = ItemAt(view, point, flags, subItem);
    const bool multiple = (StyleOf(view.Window()) & LVS_SINGLESEL) == 0;
    if (hit < 0) {
        if ((keys & MK_CONTROL) == 0 && !right)
            SelectOnly(view, -1);
    } else if (right) {
        if ((RowAt(view, hit).state & LVIS_SELECTED) == 0)
            SelectOnly(view, hit);
        view.selectionMark = hit;
    } else if ((keys & MK_CONTROL) != 0 && multiple) {
        (void)ChangeState(view, hit, (RowAt(view, hit).state ^ LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        view.selectionMark = hit;
    } else {
        MoveTo(view, hit, (keys & MK_SHIFT) != 0, false);
    }
    if (!right && view.Stands())
        view.leftDown = true;
}

// False when the parent destroyed the control as it heard of the click.
[[nodiscard]] bool ButtonUp(const ListView& view, LPARAM lParam, UINT code)
{
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    UINT flags = 0;
    int subItem = 0;
    const int hit = ItemAt(view, point, flags, subItem);
    return Notify(view, code, hit, subItem, point);
}

int KeyTarget(const ListView& view, WPARAM key)
{
    const int current = std::max(0, Focused(view));
    const int last = Count(view) - 1;
    const int page = std::max(1, VisibleRows(view) - 1);
    const int across = IsReport(view) ? 0 : VisibleRows(view);
    switch (key) {
    case VK_UP:
        return current - 1;
    case VK_DOWN:
        return Focused(view) < 0 ? 0 : current + 1;
    case VK_LEFT:
        return across ? current - across : -1;
    case VK_RIGHT:
        return across ? std::min(current + across, last) : -1;
    case VK_PRIOR:
        return std::max(0, current - page);
    case VK_NEXT:
        return std::min(last, current + page);
    case VK_HOME:
        return 0;
    case VK_END:
        return last;
    case VK_SPACE:
        return current;
    default:
        return -1;
    }
}

void KeyDown(ListView& view, WPARAM key, LPARAM keyData)
{
    NMLVKEYDOWN notice{};
    notice.wVKey = static_cast<WORD>(key);
    notice.flags = static_cast<UINT>(HIWORD(static_cast<DWORD_PTR>(keyData)));
    if (!view.NotifyParent(LVN_KEYDOWN, notice.hdr).stands)
        return;
    const int target = KeyTarget(view, key);
    if (target < 0 || target >= Count(view))
        return;
    MoveTo(view, target, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0 && key != VK_SPACE);
}

LRESULT SetExtendedStyle(ListView& view, WPARAM mask, LPARAM style)
{
    const DWORD old = view.exStyle;
    const DWORD applied = mask == 0 ? 0xFFFFFFFF : static_cast<DWORD>(mask);
    view.exStyle = (old & ~applied) | (static_cast<DWORD>(style) & applied);
    Relayout(view);
    return static_cast<LRESULT>(old);
}

LRESULT SetImageList(ListView& view, WPARAM which, HIMAGELIST list)
{
    HIMAGELIST* slot = which == LVSIL_SMALL ? &view.smallImages : which == LVSIL_STATE ? &view.stateImages : &view.normalImages;
    const HIMAGELIST old = *slot;
    *slot = list;
    Relayout(view);
    return reinterpret_cast<LRESULT>(old);
}

HIMAGELIST ImageList(const ListView& view, WPARAM which)
{
    return which == LVSIL_SMALL ? view.smallImages : which == LVSIL_STATE ? view.stateImages : view.normalImages;
}

void Create(ListView& view)
{
    RegisterHeaderClass();
    // Full drag: the header changes a column's width as its divider moves, and the cells follow.
    view.header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | HDS_BUTTONS | HDS_HORZ | HDS_FULLDRAG, 0, 0, 0, 0,
                                  view.Window(), nullptr, nullptr, nullptr);
    Relayout(view);
}

LRESULT Message(ListView& view, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LVM_GETBKCOLOR:
        return static_cast<LRESULT>(Resolved(view.background, COLOR_WINDOW));
    case LVM_SETBKCOLOR:
        view.background = static_cast<COLORREF>(lParam);
        Relayout(view);
        return TRUE;
    case LVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(Resolved(view.textColour, COLOR_WINDOWTEXT));
    case LVM_SETTEXTCOLOR:
        view.textColour = static_cast<COLORREF>(lParam);
        Relayout(view);
        return TRUE;
    case LVM_GETTEXTBKCOLOR:
        return static_cast<LRESULT>(view.textBackground);
    case LVM_SETTEXTBKCOLOR:
        view.textBackground = static_cast<COLORREF>(lParam);
        Relayout(view);
        return TRUE;
    case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(ImageList(view, wParam));
    case LVM_SETIMAGELIST:
        return SetImageList(view, wParam, reinterpret_cast<HIMAGELIST>(lParam));
    case LVM_GETITEMCOUNT:
        return Count(view);
    case LVM_GETITEMA:
        return GetItem(view, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMA:
        return SetItem(view, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_INSERTITEMA:
        return InsertItem(view, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_DELETEITEM:
        return DeleteItem(view, wParam);
    case LVM_DELETEALLITEMS:
        return DeleteAllItems(view);
    case LVM_GETNEXTITEM:
        return NextItem(view, static_cast<int>(wParam), static_cast<UINT>(lParam));
    case LVM_GETITEMRECT:
        return GetItemRect(view, wParam, reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT:
        return GetSubItemRect(view, wParam, reinterpret_cast<RECT*>(lParam));
    case LVM_GETSTRINGWIDTHA:
        return lParam ? TextWidth(view, reinterpret_cast<LPCSTR>(lParam)) : 0;
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST:
        return HitTest(view, reinterpret_cast<LVHITTESTINFO*>(lParam));
    case LVM_ENSUREVISIBLE:
        EnsureVisible(view, static_cast<int>(wParam));
        return TRUE;
    case LVM_REDRAWITEMS:
    case LVM_UPDATE:
        (void)InvalidateRect(view.Window(), nullptr, TRUE);
        return TRUE;
    case LVM_GETCOLUMNA:
        return GetColumn(view, wParam, reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_SETCOLUMNA:
        return SetColumn(view, wParam, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_INSERTCOLUMNA:
        return InsertColumn(view, wParam, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN:
        return DeleteColumn(view, wParam);
    case LVM_GETCOLUMNWIDTH:
        if (!IsReport(view))
            return ListColumnWidth(view);
        return wParam < view.columns.size() ? view.columns[wParam].width : 0;
    case LVM_SETCOLUMNWIDTH:
        return SetColumnWidth(view, wParam, GET_X_LPARAM(lParam));
    case LVM_GETHEADER:
        return reinterpret_cast<LRESULT>(view.header);
    case LVM_GETTOPINDEX:
        return IsReport(view) ? view.top : view.firstColumn * VisibleRows(view);
    case LVM_GETCOUNTPERPAGE:
        return IsReport(view) ? VisibleRows(view)
                              : VisibleRows(view) * std::max(1, static_cast<int>(Client(view).right / ListColumnWidth(view)));
    case LVM_SETITEMSTATE:
        return SetItemState(view, wParam, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMSTATE:
        return wParam < view.rows.size() ? static_cast<LRESULT>(view.rows[wParam].state & static_cast<UINT>(lParam)) : 0;
    case LVM_GETITEMTEXTA: {
        auto* item = reinterpret_cast<LVITEMA*>(lParam);
        if (!item || wParam >= view.rows.size())
            return 0;
        return CopyText(TextOf(view.rows[wParam], item->iSubItem), item->pszText, item->cchTextMax);
    }
    case LVM_SETITEMTEXTA: {
        const auto* given = reinterpret_cast<const LVITEMA*>(lParam);
        if (!given)
            return FALSE;
        LVITEMA item = *given;
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(wParam);
        return SetItem(view, &item);
    }
    case LVM_SETITEMCOUNT:
        // Only a hint of what is coming: never worth more than a modest reservation.
        view.rows.reserve(std::min<WPARAM>(wParam, 65536));
        return TRUE;
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(view.rows.begin(), view.rows.end(), [](const Row& row) { return (row.state & LVIS_SELECTED) != 0; });
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        return SetExtendedStyle(view, wParam, lParam);
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(view.exStyle);
    case LVM_GETSELECTIONMARK:
        return view.selectionMark;
    case LVM_SETSELECTIONMARK: {
        const int old = view.selectionMark;
        view.selectionMark = static_cast<int>(lParam);
        return old;
    }
    default:
        return DefWindowProcA(view.Window(), message, wParam, lParam);
    }
}

LRESULT WindowMessage(ListView& view, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Create(view);
        return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
        Relayout(view);
        return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(view.Window(), reinterpret_cast<HDC>(wParam), [&](HDC dc) { Paint(view, dc); });
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        (void)InvalidateRect(view.Window(), nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        (void)InvalidateRect(view.Window(), nullptr, TRUE);
        NMHDR header{};
        (void)view.NotifyParent(message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, header);
        return 0;
    }
    case WM_SETFONT:
        view.font = reinterpret_cast<HFONT>(wParam);
        (void)SendMessageA(view.header, WM_SETFONT, wParam, lParam);
        Relayout(view);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(view.font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(view, message == WM_VSCROLL ? SB_VERT : SB_HORZ, wParam);
        return 0;
    case WM_MOUSEWHEEL:
        OnScroll(view, IsReport(view) ? SB_VERT : SB_HORZ, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        ButtonDown(view, wParam, lParam, message == WM_RBUTTONDOWN);
        return 0;
    case WM_LBUTTONUP:
        if (view.leftDown) {
            view.leftDown = false;
            (void)ButtonUp(view, lParam, NM_CLICK);
        }
        return 0;
    case WM_RBUTTONUP:
        if (!ButtonUp(view, lParam, NM_RCLICK))
            return 0;
        return DefWindowProcA(view.Window(), message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        ButtonDown(view, wParam, lParam, false);
        if (!view.Stands())
            return 0;
        view.leftDown = false;
        (void)ButtonUp(view, lParam, NM_DBLCLK);
        return 0;
    case WM_KEYDOWN:
        KeyDown(view, wParam, lParam);
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->hwndFrom == view.header)
            return OnHeaderNotify(view, *header);
        return 0;
    }
    default:
        return Message(view, message, wParam, lParam);
    }
}

} // namespace

LRESULT ListView::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowMessage(*this, message, wParam, lParam);
}

void RegisterListViewClass()
{
    RegisterHeaderClass();
    (void)RegisterControlInstanceClass<ListView>(WC_LISTVIEWA, CS_DBLCLKS);
}
