#include "grid/core/GridsGx.h"

#include "grid/core/GridLibGx.h"
#include "platform/rtl/SysMath.h"

#include <algorithm>

namespace {

// Scroll bars of cell-scrolling grids run over these positions, whatever the counts.
constexpr int ScrollRangeMax = 127;

TGridRect Union(const TGridRect& a, const TGridRect& b)
{
    return TGridRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                     std::max(a.Bottom, b.Bottom)};
}

bool Intersect(const TGridRect& a, const TGridRect& b, TGridRect& result)
{
    result = TGridRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                       std::min(a.Bottom, b.Bottom)};
    return result.Left <= result.Right && result.Top <= result.Bottom;
}

} // namespace

// ---- Invalidation ---------------------------------------------------------------------------------

void TCustomGridGx::InvalidateGrid() { Invalidate(); }

void TCustomGridGx::InvalidateGridRect(const TGridRect& cells)
{
    if (!HandleAllocated())
        return;
    const TRect rect = BoxRect(cells, true);
    (void)InvalidateRect(Handle(), &rect, FALSE);
}

void TCustomGridGx::InvalidateCell(int col, int row) { InvalidateGridRect(TGridRect{col, row, col, row}); }

void TCustomGridGx::InvalidateCol(int col)
{
    if (!HandleAllocated())
        return;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    InvalidateGridRect(TGridRect{col, 0, col, info.Vert.LastFullVisibleCell + 1});
    if (m_contraRowCount > 0)
        InvalidateGridRect(TGridRect{col, m_rowCount, col, TotalRowCount() - 1});
}

void TCustomGridGx::InvalidateSelectionChange(const TGridRect& oldSelection)
{
    const TGridRect newSelection = Selection();
    if (newSelection == oldSelection)
        return;
    TGridRect common;
    if (!Intersect(oldSelection, newSelection, common)) {
        InvalidateGridRect(oldSelection);
        InvalidateGridRect(newSelection);
        return;
    }
    // The parts of the union outside the common part, as at most four strips.
    const TGridRect all = Union(oldSelection, newSelection);
    if (all.Left < common.Left)
        InvalidateGridRect(TGridRect{all.Left, all.Top, common.Left - 1, all.Bottom});
    if (all.Right > common.Right)
        InvalidateGridRect(TGridRect{common.Right + 1, all.Top, all.Right, all.Bottom});
    if (all.Top < common.Top)
        InvalidateGridRect(TGridRect{common.Left, all.Top, common.Right, common.Top - 1});
    if (all.Bottom > common.Bottom)
        InvalidateGridRect(TGridRect{common.Left, common.Bottom + 1, common.Right, all.Bottom});
}

// ---- Moving the current cell --------------------------------------------------------------------------

void TCustomGridGx::MoveCurrent(int col, int row, bool moveAnchor, bool show)
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        throw EInvalidGridOperationGx("Grid index out of range");
    if (!SelectCell(col, row))
        return;
    const TGridRect oldSelection = Selection();
    const TGridCoord oldCurrent = m_current;
    const bool colChanges = !m_options.Contains(goRowSelect) && col != oldCurrent.X;
    if (colChanges)
        CurrentColLeaving();
    m_current = TGridCoord{col, row};
    if (!m_options.Contains(goAlwaysShowEditor))
        HideEditor();
    if (moveAnchor || !m_options.Contains(goRangeSelect)) {
        m_anchor = m_current;
        if (m_options.Contains(goRowSelect))
            m_anchor.X = m_colCount - 1;
    }
    if (m_options.Contains(goRowSelect))
        m_current.X = m_fixedCols;
    if (show)
        ClampInView(m_current);
    InvalidateSelectionChange(oldSelection);
    InvalidateCell(oldCurrent.X, oldCurrent.Y);
    InvalidateCell(m_current.X, m_current.Y);
    if (colChanges)
        CurrentColEntered();
}

void TCustomGridGx::FocusCell(int col, int row, bool moveAnchor)
{
    MoveCurrent(col, row, moveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGridGx::MoveAnchor(TGridCoord cell)
{
    if (!m_options.Contains(goRangeSelect) || m_options.Contains(goEditing)) {
        MoveCurrent(cell.X, cell.Y, true, true);
        return;
    }
    const TGridRect oldSelection = Selection();
    m_anchor = cell;
    if (m_options.Contains(goRowSelect))
        m_anchor.X = m_colCount - 1;
    ClampInView(cell);
    InvalidateSelectionChange(oldSelection);
}

void TCustomGridGx::ClampInView(TGridCoord cell)
{
    if (!HandleAllocated())
        return;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const bool colShown = cell.X >= m_topLeft.X && cell.X <= info.Horz.LastFullVisibleCell;
    const bool rowShown = cell.Y >= m_topLeft.Y && cell.Y <= info.Vert.LastFullVisibleCell;
    if (colShown && rowShown)
        return;
    const TGridCoord maxTopLeft = CalcMaxTopLeft(cell, info);
    const TGridCoord oldTopLeft = m_topLeft;
    Update();
    if (cell.X < m_topLeft.X && cell.X >= m_fixedCols)
        m_topLeft.X = cell.X;
    else if (cell.X > info.Horz.LastFullVisibleCell)
        m_topLeft.X = maxTopLeft.X;
    if (cell.Y < m_topLeft.Y && cell.Y >= m_fixedRows)
        m_topLeft.Y = cell.Y;
    else if (cell.Y > info.Vert.LastFullVisibleCell)
        m_topLeft.Y = maxTopLeft.Y;
    TopLeftMoved(oldTopLeft);
}

void TCustomGridGx::MoveTopLeft(int col, int row)
{
    if (col == m_topLeft.X && row == m_topLeft.Y)
        return;
    const TGridCoord oldTopLeft = m_topLeft;
    Update();
    m_topLeft = TGridCoord{col, row};
    TopLeftMoved(oldTopLeft);
}

void TCustomGridGx::TopLeftMoved(TGridCoord oldTopLeft)
{
    if (oldTopLeft == m_topLeft)
        return;
    UpdateScrollPos();
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const auto distance = [](const TGridAxisDrawInfoGx& axis, int from, int to) {
        int pixels = 0;
        for (int i = std::min(from, to); i < std::max(from, to); ++i)
            pixels += axis.Extent(i) + axis.EffectiveLineWidth;
        return from < to ? -pixels : pixels;
    };
    const int dx = distance(info.Horz, oldTopLeft.X, m_topLeft.X);
    const int dy = distance(info.Vert, oldTopLeft.Y, m_topLeft.Y);
    if (std::abs(dx) > info.Horz.GridBoundary - info.Horz.FixedBoundary ||
        std::abs(dy) > info.Vert.GridBoundary - info.Vert.FixedBoundary)
        InvalidateGrid();
    else
        ScrollData(dx, dy);
    TopLeftChanged();
}

void TCustomGridGx::TopLeftChanged()
{
    if (m_editorMode && m_inplaceEditor)
        m_inplaceEditor->Move(CellRect(m_current.X, m_current.Y));
}

void TCustomGridGx::ScrollData(int dx, int dy)
{
    if (!HandleAllocated())
        return;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const TGridAxisDrawInfoGx& h = info.Horz;
    const TGridAxisDrawInfoGx& v = info.Vert;
    const UINT flags = SW_INVALIDATE | (m_defaultDrawing ? 0 : SW_ERASE);
    const auto scroll = [&](RECT area, int x, int y) {
        if (area.right > area.left && area.bottom > area.top)
            (void)ScrollWindowArea(Handle(), x, y, flags, &area, &area, nullptr);
    };
    if (dx != 0 && dy != 0) {
        scroll(RECT{h.FixedBoundary, 0, h.GridExtent, v.FixedBoundary}, dx, 0);
        scroll(RECT{0, v.FixedBoundary, h.FixedBoundary, v.GridExtent}, 0, dy);
        scroll(RECT{h.FixedBoundary, v.FixedBoundary, h.GridExtent, v.GridExtent}, dx, dy);
        scroll(RECT{h.FixedBoundary, v.GridExtent, h.GridExtent, v.ClientExtent}, dx, 0);
        scroll(RECT{h.GridExtent, v.FixedBoundary, h.ClientExtent, v.GridExtent}, 0, dy);
    } else if (dy != 0) {
        scroll(RECT{0, v.FixedBoundary, h.ClientExtent, v.GridExtent}, 0, dy);
    } else if (dx != 0) {
        scroll(RECT{h.FixedBoundary, 0, h.GridExtent, v.ClientExtent}, dx, 0);
    }
    if (m_options.Contains(goRowSelect))
        InvalidateGridRect(Selection());
}

// ---- Scroll bars --------------------------------------------------------------------------------------

int TCustomGridGx::ScrollBarPosition(int first, int fixedCount, int maxFirst) const
{
    // Every cell fits: there is nothing to divide, the bar rests at its start.
    if (maxFirst - fixedCount <= 0)
        return 0;
    return std::max(0, MulDiv(first - fixedCount, ScrollRangeMax, maxFirst - fixedCount));
}

void TCustomGridGx::UpdateScrollPos()
{
    if (!HandleAllocated() || m_scrollBars == ssNoneGx)
        return;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const TGridCoord maxTopLeft = CalcMaxTopLeft(TGridCoord{m_colCount - 1, m_rowCount - 1}, info);
    const auto place = [this](int bar, int position) {
        if (GetScrollPos(Handle(), bar) != position)
            (void)SetScrollPos(Handle(), bar, position, TRUE);
    };
    if (m_scrollBars == ssHorizontalGx || m_scrollBars == ssBothGx) {
        if (m_colCount == 1) {
            const int room = ClientWidth() - info.Horz.FixedBoundary;
            if (ColumnWidthAt(0) - m_colOffset < room)
                ModifyScrollBar(SB_HORZ, SB_THUMBPOSITION, std::max(0, ColumnWidthAt(0) - room));
            place(SB_HORZ, m_colOffset);
        } else {
            place(SB_HORZ, ScrollBarPosition(m_topLeft.X, m_fixedCols, maxTopLeft.X));
        }
    }
    if (m_scrollBars == ssVerticalGx || m_scrollBars == ssBothGx)
        place(SB_VERT, ScrollBarPosition(m_topLeft.Y, m_fixedRows, maxTopLeft.Y));
}

void TCustomGridGx::UpdateScrollRange()
{
    if (m_scrollBars == ssNoneGx || !HandleAllocated() || !Showing())
        return;
    const TGridCoord oldTopLeft = m_topLeft;
    const auto setRange = [this](int bar, int maximum) {
        SCROLLINFO range{};
        range.cbSize = sizeof range;
        range.fMask = SIF_RANGE;
        range.nMin = 0;
        range.nMax = maximum;
        (void)SetScrollInfo(Handle(), bar, &range, TRUE);
    };
    // A bar that comes or goes changes the client width: the second pass sees the final size.
    for (int pass = 0; pass < 2; ++pass) {
        const int clientWidth = ClientWidth();
        TGridDrawInfoGx info;
        CalcDrawInfo(info);
        const TGridCoord maxTopLeft = CalcMaxTopLeft(TGridCoord{m_colCount - 1, m_rowCount - 1}, info);
        if (m_scrollBars == ssHorizontalGx || m_scrollBars == ssBothGx) {
            if (m_colCount == 1) {
                setRange(SB_HORZ, std::max(0, ColumnWidthAt(0) - ClientWidth()));
            } else {
                setRange(SB_HORZ, maxTopLeft.X > m_fixedCols ? ScrollRangeMax : 0);
                if (m_topLeft.X > maxTopLeft.X)
                    m_topLeft.X = maxTopLeft.X;
            }
        }
        if (m_scrollBars == ssVerticalGx || m_scrollBars == ssBothGx) {
            setRange(SB_VERT, maxTopLeft.Y > m_fixedRows ? ScrollRangeMax : 0);
            if (m_topLeft.Y > maxTopLeft.Y)
                m_topLeft.Y = maxTopLeft.Y;
        }
        if (ClientWidth() == clientWidth)
            break;
    }
    UpdateScrollPos();
    if (m_topLeft != oldTopLeft)
        TopLeftMoved(oldTopLeft);
}

void TCustomGridGx::ModifyScrollBar(int bar, int code, int position)
{
    if (Visible() && CanFocus() && TabStop() && !Focused())
        SetFocus();
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    if (bar == SB_HORZ && m_colCount == 1) {
        ScrollOneColumnByPixels(code, position, info);
        return;
    }
    const bool horizontal = bar == SB_HORZ;
    const TGridAxisDrawInfoGx& axis = horizontal ? info.Horz : info.Vert;
    const TGridCoord maxTopLeft = CalcMaxTopLeft(TGridCoord{m_colCount - 1, m_rowCount - 1}, info);
    const int fixedCount = horizontal ? m_fixedCols : m_fixedRows;
    const int maxFirst = horizontal ? maxTopLeft.X : maxTopLeft.Y;
    const int first = horizontal ? m_topLeft.X : m_topLeft.Y;
    int result = first;
    int step = 0;
    switch (code) {
    case SB_LINEUP: step = -1; result = first - 1; break;
    case SB_LINEDOWN: step = 1; result = first + 1; break;
    case SB_PAGEUP: {
        const TGridCoord pageTop = CalcMaxTopLeft(TGridCoord{first, first}, info);
        result = first - std::max(1, first - (horizontal ? pageTop.X : pageTop.Y));
        break;
    }
    case SB_PAGEDOWN: result = first + std::max(1, axis.LastFullVisibleCell - first); break;
    case SB_THUMBTRACK:
        if (!m_options.Contains(goThumbTracking))
            break;
        [[fallthrough]];
    case SB_THUMBPOSITION: result = fixedCount + MulDiv(position, maxFirst - fixedCount, ScrollRangeMax); break;
    case SB_TOP: result = fixedCount; break;
    case SB_BOTTOM: result = maxFirst; break;
    default: break;
    }
    // A line step passes over hidden cells, so that one click always shows something new.
    while (step != 0 && result > fixedCount && result < maxFirst && axis.Extent(result) <= 0)
        result += step;
    result = std::clamp(result, fixedCount, std::max(fixedCount, maxFirst));
    if (horizontal)
        MoveTopLeft(result, m_topLeft.Y);
    else
        MoveTopLeft(m_topLeft.X, result);
}

void TCustomGridGx::ScrollOneColumnByPixels(int code, int position, const TGridDrawInfoGx& info)
{
    const int room = ClientWidth() - info.Horz.FixedBoundary;
    const int maxOffset = std::max(0, ColumnWidthAt(0) - room);
    int offset = m_colOffset;
    switch (code) {
    case SB_LINEUP: offset -= Canvas()->TextWidth("0"); break;
    case SB_LINEDOWN: offset += Canvas()->TextWidth("0"); break;
    case SB_PAGEUP: offset -= room; break;
    case SB_PAGEDOWN: offset += room; break;
    case SB_TOP: offset = maxOffset; break;
    case SB_BOTTOM: offset = 0; break;
    case SB_THUMBTRACK:
        if (!m_options.Contains(goThumbTracking))
            break;
        [[fallthrough]];
    case SB_THUMBPOSITION: offset = position; break;
    default: break;
    }
    offset = std::clamp(offset, 0, maxOffset);
    if (offset == m_colOffset)
        return;
    const int old = m_colOffset;
    m_colOffset = offset;
    ScrollData(old - offset, 0);
    InvalidateGridRect(TGridRect{0, 0, 0, m_fixedRows - 1});
    Update();
    UpdateScrollPos();
}

// ---- Keyboard ---------------------------------------------------------------------------------------------

void TCustomGridGx::TabToNextStop(TGridCoord& cell, bool backward) const
{
    // Every selectable column, frozen ones included, is visited at most once per key, always in
    // the key's direction; a grid without a single tab stop stays where it is.
    const int firstCol = m_fixedCols - std::clamp(m_frozenColCount, 0, m_fixedCols);
    const int columns = m_colCount - firstCol;
    TGridCoord probe = cell;
    for (int step = 0; step < columns; ++step) {
        if (backward) {
            if (--probe.X < firstCol) {
                probe.X = m_colCount - 1;
                if (--probe.Y < m_fixedRows)
                    probe.Y = m_rowCount - 1;
            }
        } else if (++probe.X >= m_colCount) {
            probe.X = firstCol;
            if (++probe.Y >= m_rowCount)
                probe.Y = m_fixedRows;
        }
        if (TabStops(probe.X)) {
            cell = probe;
            return;
        }
    }
}

void TCustomGridGx::ApplyKeyMove(TGridCoord topLeft, TGridCoord cell, bool moveAnchor, const TGridDrawInfoGx& info)
{
    const TGridCoord maxTopLeft = CalcMaxTopLeft(TGridCoord{m_colCount - 1, m_rowCount - 1}, info);
    topLeft.X = std::clamp(topLeft.X, m_fixedCols, std::max(m_fixedCols, maxTopLeft.X));
    topLeft.Y = std::clamp(topLeft.Y, m_fixedRows, std::max(m_fixedRows, maxTopLeft.Y));
    if (topLeft != m_topLeft)
        MoveTopLeft(topLeft.X, topLeft.Y);
    const int firstCol = m_fixedCols - std::clamp(m_frozenColCount, 0, m_fixedCols);
    cell.X = std::clamp(cell.X, firstCol, m_colCount - 1);
    cell.Y = std::clamp(cell.Y, m_fixedRows, m_rowCount - 1);
    if (cell != m_current)
        FocusCell(cell.X, cell.Y, moveAnchor);
}

void TCustomGridGx::KeyDown(WORD& key, TShiftState shift)
{
    if (!Outlives([&] { TCustomControl::KeyDown(key, shift); }) || key == 0)
        return;
    if (!CanGridAcceptKey(key, shift)) {
        key = 0;
        return;
    }
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const bool ctrl = shift.Contains(ssCtrl);
    const bool rowSelect = m_options.Contains(goRowSelect);
    const int pageWidth = std::max(1, info.Horz.LastFullVisibleCell - m_topLeft.X);
    const int pageHeight = std::max(1, info.Vert.LastFullVisibleCell - m_topLeft.Y);
    TGridCoord topLeft = m_topLeft;
    TGridCoord cell = m_current;
    bool moveAnchor = !shift.Contains(ssShift);
    switch (key) {
    case VK_TAB:
        if (shift.Contains(ssAlt))
            return;
        TabToNextStop(cell, shift.Contains(ssShift));
        moveAnchor = true;
        break;
    case VK_PRIOR:
        if (ctrl) {
            cell.Y = m_topLeft.Y;
        } else {
            cell.Y -= pageHeight;
            topLeft.Y -= pageHeight;
        }
        break;
    case VK_NEXT:
        if (ctrl) {
            cell.Y = info.Vert.LastFullVisibleCell;
        } else {
            cell.Y += pageHeight;
            topLeft.Y += pageHeight;
        }
        break;
    case VK_END:
        if (ctrl)
            cell = TGridCoord{m_colCount - 1, m_rowCount - 1};
        else if (rowSelect)
            cell.Y = m_rowCount - 1;
        else
            cell.X = m_colCount - 1;
        break;
    case VK_HOME:
        if (ctrl)
            cell = TGridCoord{m_fixedCols, m_fixedRows};
        else if (rowSelect)
            cell.Y = m_fixedRows;
        else
            cell.X = m_fixedCols;
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        const int direction = key == VK_LEFT ? -1 : 1;
        if (ctrl) {
            if (!rowSelect) {
                cell.X += direction * pageWidth;
                topLeft.X += direction * pageWidth;
            }
        } else if (rowSelect) {
            cell.Y += direction;
        } else {
            cell.X += direction;
        }
        break;
    }
    case VK_UP:
        ctrl ? --topLeft.Y : --cell.Y;
        break;
    case VK_DOWN:
        ctrl ? ++topLeft.Y : ++cell.Y;
        break;
    case VK_F2:
        if (!ctrl)
            SetEditorMode(true);
        break;
    default:
        return;
    }
    ApplyKeyMove(topLeft, cell, moveAnchor, info);
}

void TCustomGridGx::KeyPress(char& key)
{
    if (!Outlives([&] { TCustomControl::KeyPress(key); }) || key != '\r' || m_options.Contains(goAlwaysShowEditor))
        return;
    if (m_editorMode)
        HideEditor();
    else
        ShowEditor();
    key = 0;
}

// ---- Dynamic operations ------------------------------------------------------------------------------------

void TCustomGridGx::TimedScroll(int direction)
{
    TGridCoord anchor = m_anchor;
    if ((direction & sdLeftGx) && anchor.X > m_fixedCols)
        --anchor.X;
    if ((direction & sdRightGx) && anchor.X < m_colCount - 1)
        ++anchor.X;
    if ((direction & sdUpGx) && anchor.Y > m_fixedRows)
        --anchor.Y;
    if ((direction & sdDownGx) && anchor.Y < m_rowCount - 1)
        ++anchor.Y;
    if (anchor != m_anchor)
        MoveAnchor(anchor);
}

void TCustomGridGx::ColWidthsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
}

void TCustomGridGx::RowHeightsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
}
