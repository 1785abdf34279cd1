// Title cells: the caption or the title's image, and the sort marker with its sort number.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxTextDrawing.h"
#include "platform/classlib/forms/ImgList.h"

#include <algorithm>

namespace {

// The room one arrow takes at the right of a title (the column title keeps the same numbers).
constexpr int ArrowRoom = 16;
constexpr int ArrowHalfWidth = 4;

} // namespace

void TCustomDBGridGx::SetTitleImages(TCustomImageList* images)
{
    if (images == m_titleImages)
        return;
    m_titleImages = images;
    if (images)
        images->FreeNotification(this);
    Invalidate();
}

void TCustomDBGridGx::PaintTitleCell(TColumnGx& column, TRect rect)
{
    TCanvas* canvas = Canvas();
    TColumnTitleGx* title = column.Title();
    canvas->Font()->Assign(title->Font());
    canvas->Brush()->SetColor(title->Color());
    canvas->FillRect(rect);
    const int markWidth = std::clamp(title->SortMarkerWidth(), 0, std::max(0, rect.right - rect.left));
    TRect captionRect = rect;
    captionRect.right -= markWidth;
    if (m_titleImages && title->ImageIndex() >= 0)
        DrawImageClipped(m_titleImages, nullptr, *canvas, captionRect, title->Alignment(), 0, title->ImageIndex());
    else
        WriteCellText(captionRect, 2, title->Caption(), title->Alignment());
    if (markWidth > 0)
        PaintSortMarker(*title, TRect{captionRect.right, rect.top, rect.right, rect.bottom});
    DrawRaisedEdge(rect);
}

// A small triangle pointing down (descending) or up, and, when several columns are sorted, the
// column's place in the sort order after it; a narrow marker keeps only the number.
void TCustomDBGridGx::PaintSortMarker(const TColumnTitleGx& title, const TRect& rect)
{
    TCanvas* canvas = Canvas();
    int left = rect.left;
    if (rect.right - rect.left >= ArrowRoom) {
        const int centre = left + ArrowRoom / 2;
        const int middle = (rect.top + rect.bottom) / 2;
        const bool down = title.SortMarker() == smDownGx;
        canvas->Brush()->SetColor(clBtnShadow);
        for (int step = 0; step <= ArrowHalfWidth; ++step) {
            const int y = down ? middle - 2 + step : middle + 2 - step;
            canvas->FillRect(TRect{centre - ArrowHalfWidth + step, y, centre + ArrowHalfWidth - step + 1, y + 1});
        }
        left += ArrowRoom;
    }
    if (m_sortMarked.size() < 2 || left >= rect.right)
        return;
    canvas->Brush()->SetColor(title.Color());
    DrawCellText(*canvas, TRect{left, rect.top, rect.right, rect.bottom}, false, 0, 0,
                 std::to_string(title.SortIndex()), taLeftJustify, tlCenter, false, false, 0, 0, false);
}

// With dghAutoSortMarking a click on a title button moves its marker on: none, down, up, down...;
// with dghMultiSortMarking and Ctrl held the other markers stay and the marker goes back to none.
void TCustomDBGridGx::MarkSortOnTitleClick(TColumnGx& column, TShiftState shift, bool button)
{
    if (!m_optionsGx.Contains(dghAutoSortMarking) || !button)
        return;
    column.Title()->ToggleSortMarker(shift.Contains(ssCtrl) && m_optionsGx.Contains(dghMultiSortMarking));
    if (m_titleOffset > 0)
        InvalidateGridRect({0, 0, ColCount() - 1, m_titleOffset - 1});
    SortMarkingChanged();
}

// The program's handler sorts, else the data set follows the new markers where the centre knows how.
void TCustomDBGridGx::SortMarkingChanged()
{
    if (m_onSortMarkingChanged)
        m_onSortMarkingChanged(this);
    else if (m_center)
        m_center->ApplySorting(*this);
}
