// The lookup grid's vertical scroll bar: it tells where the window of records is in the list and
// scrolls the list, leaving the picked key value alone.
#include "grid/tools/DBLookupGridsGx.h"

#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

namespace {

// A list that gives no record numbers knows only its start, its end and anything between.
constexpr int UnnumberedStart = 0;
constexpr int UnnumberedPageUp = 1;
constexpr int UnnumberedBetween = 2;
constexpr int UnnumberedPageDown = 3;
constexpr int UnnumberedEnd = 4;
// An inactive list shows a bar with nothing to scroll.
constexpr int InactiveRange = 2;

// The scroll code a thumb let go at one of an unnumbered list's five positions stands for.
int UnnumberedThumbCode(int position)
{
    switch (position) {
    case UnnumberedStart: return SB_TOP;
    case UnnumberedPageUp: return SB_PAGEUP;
    case UnnumberedPageDown: return SB_PAGEDOWN;
    case UnnumberedEnd: return SB_BOTTOM;
    default: return SB_ENDSCROLL;
    }
}

} // namespace

// Numbered lists: one position a record, the page the rows shown, the thumb at the first record
// in the window (counted from 0, so that the thumb sits at the top on the first record).
// Unnumbered lists: five positions, the thumb at the start, in between or at the end; none while
// the records do not fill the window. The bar is only written when it shows something else.
void TDBLookupGridGx::UpdateVertScrollBar()
{
    TShownScrollBar bar{0, InactiveRange, InactiveRange + 1, 0};
    if (DataLink().Active()) {
        TDataSet* list = DataLink().DataSet();
        if (RecordsNumbered())
            bar = {0, std::max(0, list->RecordCount() - 1), m_rowCount, std::max(0, TopRecordNumber() - 1)};
        else if (DataLink().RecordCount() < DataLink().BufferCount())
            bar = {0, 0, 0, 0};
        else
            bar = {0, UnnumberedEnd, 0, list->Bof() ? UnnumberedStart : list->Eof() ? UnnumberedEnd : UnnumberedBetween};
    }
    if (OwnVertScrollBarShows(bar))
        return;
    VertScrollBar()->Show(bar.min, bar.max, bar.page, bar.position);
}

// Whether the window's own bar already shows that (a bar put in its place is always written).
bool TDBLookupGridGx::OwnVertScrollBarShows(const TShownScrollBar& bar)
{
    if (VertScrollBar()->ExtScrollBar() || !HandleAllocated())
        return false;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (!GetScrollInfo(Handle(), SB_VERT, &info))
        return false;
    return TShownScrollBar{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos} == bar;
}

// Moves the list's cursor just past an edge of the window, which scrolls the window by a record or
// by a page less one; the thumb scrolls to the record it names (numbered lists) or to the start,
// a page, or the end (unnumbered ones).
void TDBLookupGridGx::ScrollList(int code, int position)
{
    if (!DataLink().Active())
        return;
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        if (RecordsNumbered())
            ScrollToFirstRow(position + 1);
        else if (code == SB_THUMBPOSITION)
            ScrollList(UnnumberedThumbCode(position), 0);
        UpdateVertScrollBar();
        return;
    }
    TDataSet* list = DataLink().DataSet();
    const int current = DataLink().ActiveRecord();
    const int inWindow = DataLink().RecordCount();
    switch (code) {
    case SB_LINEUP:
        (void)list->MoveBy(-(current + 1));
        break;
    case SB_LINEDOWN:
        (void)list->MoveBy(inWindow - current);
        break;
    case SB_PAGEUP:
        (void)list->MoveBy(1 - current - inWindow);
        break;
    case SB_PAGEDOWN:
        (void)list->MoveBy(2 * inWindow - current - 2);
        break;
    case SB_TOP:
        list->First();
        break;
    case SB_BOTTOM:
        list->Last();
        break;
    default:
        break;
    }
    UpdateVertScrollBar();
}

// Brings record `recNo` (from 1) to the first row: up to it, or down to the record that ends the
// window it starts.
void TDBLookupGridGx::ScrollToFirstRow(int recNo)
{
    TDataSet* list = DataLink().DataSet();
    const int first = TopRecordNumber();
    if (recNo < first)
        (void)list->MoveBy(recNo - list->RecNo());
    else if (recNo > first)
        (void)list->MoveBy(std::min(recNo + m_rowCount - 1, list->RecordCount()) - list->RecNo());
}

bool TDBLookupGridGx::HorzScrollBarShown()
{
    return HandleAllocated() && (GetWindowLongA(Handle(), GWL_STYLE) & WS_HSCROLL) != 0;
}
