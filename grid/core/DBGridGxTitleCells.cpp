// Title cells: the caption or the title's image, and the sort marker with its sort number.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxMultiTitle.h"
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
    const int dataCol = column.Index();
    canvas->Font()->Assign(title->Font());
    TColor background = title->Color();
    TSortMarkerGx marker = title->SortMarker();
    if (m_onGetBtnParams && column.Field())
        m_onGetBtnParams(this, &column, canvas->Font(), background, marker,
                         FixedCellPressed(dataCol + m_indicatorOffset, 0));
    canvas->Brush()->SetColor(background);
    canvas->FillRect(rect);
    // A multi-line title keeps its leaf at the bottom of the cell; its groups are painted over
    // the cells they span once every cell is done (Paint).
    const THeadTreeNode* leaf = TitleLeafOf(dataCol);
    if (leaf)
        rect.top = std::min(rect.bottom, TitleBandRect(*leaf, dataCol, rect).top);
    const int markWidth =
        marker == smNoneGx ? 0 : std::clamp(title->SortMarkerWidth(), 0, std::max(0, rect.right - rect.left));
    TRect captionRect = rect;
    captionRect.right -= markWidth;
    if (m_titleImages && title->ImageIndex() >= 0)
        DrawImageClipped(m_titleImages, nullptr, *canvas, captionRect, leaf ? taCenter : title->Alignment(), 0,
                         title->ImageIndex());
    else
        PaintTitleCaption(*title, captionRect, leaf ? leaf->Text() : title->Caption(), leaf != nullptr);
    if (markWidth > 0)
        PaintSortMarker(*title, marker, TRect{captionRect.right, rect.top, rect.right, rect.bottom});
    DrawRaisedEdge(rect);
}

// Vertical titles read upwards; a multi-line title's leaf is centred and wrapped, as is any
// title of a fixed title height; other titles keep to one line. All end in "..." when asked.
void TCustomDBGridGx::PaintTitleCaption(const TColumnTitleGx& title, const TRect& rect, const std::string& caption,
                                        bool leaf)
{
    TCanvas& canvas = *Canvas();
    if (title.Orientation() == tohVertical) {
        (void)DrawCellTextVertical(canvas, rect, false, 2, 2, caption, title.Alignment(), tlCenter, false);
        return;
    }
    const bool wrap = leaf || FixedTitleHeight();
    DrawCellText(canvas, rect, false, 2, 2, caption, leaf ? taCenter : title.Alignment(), wrap ? tlTop : tlCenter,
                 wrap, title.EndEllipsis(), 0, 0, false);
}

// A small triangle pointing down (descending) or up, and, when several columns are sorted, the
// column's place in the sort order after it; a narrow marker keeps only the number.
void TCustomDBGridGx::PaintSortMarker(const TColumnTitleGx& title, TSortMarkerGx marker, const TRect& rect)
{
    TCanvas* canvas = Canvas();
    int left = rect.left;
    if (rect.right - rect.left >= ArrowRoom) {
        const int centre = left + ArrowRoom / 2;
        const int middle = (rect.top + rect.bottom) / 2;
        const bool down = marker == smDownGx;
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

// ---- Multi-line titles ----------------------------------------------------------------------------------------------

const THeadTreeNode* TCustomDBGridGx::TitleLeafOf(int dataCol) const
{
    if (!m_useMultiTitle || dataCol < 0 || dataCol >= static_cast<int>(m_titleLeaves.size()))
        return nullptr;
    return m_titleLeaves[static_cast<std::size_t>(dataCol)];
}

// The band stands over the run of columns whose leaves it holds, from the cell's top down past
// the bands above it; a row line under it takes its last pixel.
TRect TCustomDBGridGx::TitleBandRect(const THeadTreeNode& node, int dataCol, const TRect& cell) const
{
    const auto under = [&node](const THeadTreeNode* leaf) {
        for (; leaf; leaf = leaf->Parent())
            if (leaf == &node)
                return true;
        return false;
    };
    const int line = m_options.Contains(dgColLines) ? GridLineWidth() : 0;
    TRect rect = cell;
    if (node.Column() == nullptr) {
        int before = 0;
        int width = -line;
        for (std::size_t i = 0; i < m_titleLeaves.size(); ++i) {
            if (!under(m_titleLeaves[i]))
                continue;
            const int span = ColumnWidthAt(static_cast<int>(i) + m_indicatorOffset) + line;
            width += span;
            if (static_cast<int>(i) < dataCol)
                before += span;
        }
        rect.left = cell.left - before;
        rect.right = rect.left + std::max(0, width);
    }
    for (const THeadTreeNode* above = node.Parent(); above && above->Parent(); above = above->Parent())
        rect.top += above->Height();
    if (node.Column() == nullptr)
        rect.bottom = rect.top + node.Height() - (m_options.Contains(dgRowLines) ? GridLineWidth() : 0);
    return rect;
}

void TCustomDBGridGx::Paint()
{
    TCustomGridGx::Paint();
    if (m_useMultiTitle && m_options.Contains(dgTitles) && !GridLoading())
        PaintTitleBands();
}

// Each group band once, over every cell under it, from the first of its columns on screen.
void TCustomDBGridGx::PaintTitleBands()
{
    HDC dc = Canvas()->Handle();
    const int saved = SaveDC(dc);
    if (m_indicatorOffset > 0)
        (void)ExcludeClipRect(dc, 0, 0, CellRect(0, 0).right + GridLineWidth(), RowHeightAt(0));
    std::vector<const THeadTreeNode*> painted;
    // The tree follows the columns at every layout; until then only the columns both know count.
    const std::size_t shown = std::min<std::size_t>({m_titleLeaves.size(), static_cast<std::size_t>(m_columns->Count()),
                                                     static_cast<std::size_t>(ColCount() - m_indicatorOffset)});
    for (std::size_t i = 0; i < shown; ++i) {
        const int dataCol = static_cast<int>(i);
        const TRect cell = CellRect(dataCol + m_indicatorOffset, 0);
        if (cell.right <= cell.left)
            continue;
        for (const THeadTreeNode* band = m_titleLeaves[i]->Parent(); band && band->Parent(); band = band->Parent()) {
            if (std::find(painted.begin(), painted.end(), band) != painted.end())
                continue;
            painted.push_back(band);
            PaintTitleBand(*band, dataCol, cell);
        }
    }
    (void)RestoreDC(dc, saved);
}

void TCustomDBGridGx::PaintTitleBand(const THeadTreeNode& band, int dataCol, const TRect& cell)
{
    TCanvas* canvas = Canvas();
    const TRect rect = TitleBandRect(band, dataCol, cell);
    canvas->Font()->Assign(m_titleFont.get());
    canvas->Brush()->SetColor(FixedColor());
    canvas->FillRect(rect);
    const bool ellipsis = m_columns->ColumnAt(dataCol)->Title()->EndEllipsis();
    DrawCellText(*canvas, rect, false, 2, 2, band.Text(), taCenter, tlCenter, true, ellipsis, 0, 0, false);
    DrawRaisedEdge(rect);
    if (!m_options.Contains(dgRowLines))
        return;
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(Flat() ? TColor(RGB(128, 128, 128)) : clBlack);
    canvas->MoveTo(rect.left, rect.bottom);
    canvas->LineTo(rect.right, rect.bottom);
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
