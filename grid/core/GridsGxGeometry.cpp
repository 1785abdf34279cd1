#include "grid/core/GridsGx.h"

#include <algorithm>

int TGridAxisDrawInfoGx::Extent(int index) const
{
    return Rows ? Grid->RowHeightAt(index) : Grid->ColumnWidthAt(index);
}

void TCustomGridGx::CalcAxis(TGridAxisDrawInfoGx& axis, bool rows, int clientExtent) const
{
    axis.Grid = this;
    axis.Rows = rows;
    const bool lines = rows ? (m_options.Contains(goFixedHorzLines) || m_options.Contains(goHorzLines))
                            : (m_options.Contains(goFixedVertLines) || m_options.Contains(goVertLines));
    const int line = lines ? m_gridLineWidth : 0;
    axis.EffectiveLineWidth = line;
    axis.FixedCellCount = rows ? m_fixedRows : m_fixedCols;
    axis.FrozenCount = rows ? 0 : std::clamp(m_frozenColCount, 0, m_fixedCols);
    axis.FirstGridCell = rows ? m_topLeft.Y : m_topLeft.X;
    axis.GridCellCount = rows ? m_rowCount : m_colCount;
    axis.ContraCount = rows ? m_contraRowCount : m_contraColCount;
    axis.TotalCount = axis.GridCellCount + axis.ContraCount;
    axis.ClientExtent = clientExtent;

    axis.FixedBoundary = 0;
    for (int i = 0; i < axis.FixedCellCount; ++i)
        axis.FixedBoundary += axis.Extent(i) + line;
    axis.FrozenBoundary = axis.FixedBoundary;
    for (int i = axis.FixedCellCount - axis.FrozenCount; i < axis.FixedCellCount; ++i)
        axis.FrozenBoundary -= axis.Extent(i) + line;

    axis.ContraBoundary = clientExtent;
    for (int i = axis.GridCellCount; i < axis.TotalCount; ++i)
        axis.ContraBoundary -= axis.Extent(i) + line;
    if (axis.ContraCount > 0)
        axis.ContraBoundary -= line;

    axis.GridExtent = axis.ContraBoundary;
    axis.GridBoundary = axis.FixedBoundary;
    axis.FullVisBoundary = axis.FixedBoundary;
    axis.LastFullVisibleCell = axis.FirstGridCell;
    for (int i = axis.FirstGridCell; i < axis.GridCellCount; ++i) {
        axis.GridBoundary += axis.Extent(i) + line;
        if (axis.GridBoundary > axis.GridExtent + line) {
            axis.GridBoundary = axis.GridExtent;
            break;
        }
        axis.LastFullVisibleCell = i;
        axis.FullVisBoundary = axis.GridBoundary;
    }
    axis.PaintEnd = axis.ContraCount == 0 ? axis.GridBoundary : axis.ClientExtent;
}

void TCustomGridGx::CalcDrawInfo(TGridDrawInfoGx& drawInfo) const
{
    const bool window = HandleAllocated();
    CalcAxis(drawInfo.Horz, false, window ? ClientWidth() : Width());
    CalcAxis(drawInfo.Vert, true, window ? ClientHeight() : Height());
}

int TCustomGridGx::AxisCellAt(const TGridAxisDrawInfoGx& axis, int position) const
{
    const int line = axis.EffectiveLineWidth;
    int first = axis.FirstGridCell;
    int last = axis.GridCellCount - 1;
    int end = axis.FixedBoundary;
    if (position < axis.FixedBoundary) {
        first = 0;
        last = axis.FixedCellCount - 1;
        end = 0;
    } else if (axis.ContraCount > 0 && position >= axis.ContraBoundary) {
        first = axis.GridCellCount;
        last = axis.TotalCount - 1;
        end = axis.ContraBoundary;
    }
    for (int i = first; i <= last; ++i) {
        end += axis.Extent(i) + line;
        if (end > position)
            return i;
    }
    return -1;
}

TGridCoord TCustomGridGx::CellAtPoint(int x, int y) const
{
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const TGridCoord cell{AxisCellAt(info.Horz, x), AxisCellAt(info.Vert, y)};
    if (cell.X < 0 || cell.Y < 0)
        return TGridCoord{-1, -1};
    return cell;
}

int TCustomGridGx::AxisStart(const TGridAxisDrawInfoGx& axis, int index) const
{
    const int line = axis.EffectiveLineWidth;
    int position = 0;
    int from = 0;
    if (index >= axis.GridCellCount) {
        position = axis.ContraBoundary + line;
        from = axis.GridCellCount;
    } else if (index >= axis.FixedCellCount) {
        position = axis.FixedBoundary;
        from = axis.FirstGridCell;
    }
    for (int i = from; i < index; ++i)
        position += axis.Extent(i) + line;
    return position;
}

bool TCustomGridGx::AxisRange(const TGridAxisDrawInfoGx& axis, int first, int last, int& start, int& end) const
{
    const bool reachesContra = axis.ContraCount > 0 && last >= axis.GridCellCount;
    if (first > axis.LastFullVisibleCell + 1 && first < axis.GridCellCount && !reachesContra)
        return false;
    if (first >= axis.FixedCellCount && first < axis.FirstGridCell) {
        // A range that begins in the scrolled-away part starts at the first shown cell.
        if (last < axis.FirstGridCell)
            return false;
        first = axis.FirstGridCell;
    }
    if (last >= axis.GridCellCount) {
        last = std::min(last, axis.TotalCount - 1);
    } else if (last >= axis.FixedCellCount) {
        if (last < axis.FirstGridCell)
            last = axis.FixedCellCount - 1; // only the fixed part of the range shows
        const int partly = axis.GridBoundary > axis.FullVisBoundary ? 1 : 0;
        last = std::min(last, axis.LastFullVisibleCell + partly);
    }
    if (first > last || first >= axis.TotalCount)
        return false;
    start = AxisStart(axis, first);
    end = AxisStart(axis, last) + axis.Extent(last);
    end = std::min(end, last >= axis.GridCellCount ? axis.ClientExtent : axis.GridExtent);
    return true;
}

TRect TCustomGridGx::BoxRect(const TGridRect& cells, bool includeLines) const
{
    if (cells.Left > cells.Right || cells.Top > cells.Bottom)
        return TRect{0, 0, 0, 0};
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    TRect rect{};
    if (!AxisRange(info.Horz, cells.Left, cells.Right, rect.left, rect.right) ||
        !AxisRange(info.Vert, cells.Top, cells.Bottom, rect.top, rect.bottom))
        return TRect{0, 0, 0, 0};
    if (includeLines) {
        rect.right += info.Horz.EffectiveLineWidth;
        rect.bottom += info.Vert.EffectiveLineWidth;
    }
    return rect;
}

TRect TCustomGridGx::CellRect(int col, int row) const { return BoxRect(TGridRect{col, row, col, row}, false); }

TGridCoord TCustomGridGx::CalcMaxTopLeft(TGridCoord cell, const TGridDrawInfoGx& drawInfo) const
{
    const auto axisMax = [](const TGridAxisDrawInfoGx& axis, int index) {
        const int line = axis.EffectiveLineWidth;
        // Wholly visible means ending within GridExtent plus the trailing line, as CalcAxis counts it.
        const int room = axis.GridExtent - axis.FixedBoundary + line;
        int result = index;
        int used = 0;
        for (int i = index; i >= axis.FixedCellCount; --i) {
            const int extent = axis.Extent(i);
            if (extent > 0) {
                if (used + extent + line > room)
                    break;
                used += extent + line;
            }
            result = i;
        }
        return std::max(result, axis.FixedCellCount);
    };
    return TGridCoord{axisMax(drawInfo.Horz, cell.X), axisMax(drawInfo.Vert, cell.Y)};
}

bool TCustomGridGx::HitSizingLine(const TGridAxisDrawInfoGx& axis, int position, int& index, int& linePos) const
{
    const int line = axis.EffectiveLineWidth;
    const int zone = line <= 6 ? 7 : line;
    const int before = line <= 6 ? (7 - line) / 2 : 0;
    const auto hits = [&](int at) { return position >= at - before && position < at - before + zone; };

    int at = axis.FrozenBoundary;
    for (int i = axis.FixedCellCount - axis.FrozenCount; i < axis.FixedCellCount; ++i) {
        at += axis.Extent(i);
        if (hits(at)) {
            index = i;
            linePos = at;
            return true;
        }
        at += line;
    }
    at = axis.FixedBoundary;
    for (int i = axis.FirstGridCell; i < axis.GridCellCount; ++i) {
        at += axis.Extent(i);
        if (at >= axis.GridBoundary)
            break;
        if (hits(at)) {
            index = i;
            linePos = at;
            return true;
        }
        at += line;
    }
    if (axis.GridBoundary >= axis.GridExtent && position >= axis.GridExtent - zone && position < axis.GridExtent) {
        const bool anyWhole = axis.FullVisBoundary > axis.FixedBoundary;
        index = anyWhole ? axis.LastFullVisibleCell + 1 : axis.LastFullVisibleCell;
        linePos = axis.GridExtent;
        return index < axis.GridCellCount;
    }
    if (axis.ContraCount == 0)
        return false;
    // Contra cells hang from the far edge: each line sizes the cell to its right.
    at = axis.ContraBoundary;
    for (int i = axis.GridCellCount; i < axis.TotalCount; ++i) {
        if (hits(at)) {
            index = i;
            linePos = at;
            return true;
        }
        at += line + axis.Extent(i);
    }
    return false;
}

void TCustomGridGx::SizingHitTest(int x, int y, const TGridDrawInfoGx& drawInfo, TGridStateGx& state, int& index,
                                  int& sizingPos, int& sizingOfs) const
{
    state = gsNormalGx;
    index = -1;
    const bool colSizing = m_options.Contains(goColSizing);
    const bool rowSizing = m_options.Contains(goRowSizing);
    if (!colSizing && !rowSizing)
        return;
    int linePos = 0;
    if (colSizing && x >= drawInfo.Horz.FrozenBoundary) {
        if (y < drawInfo.Vert.FixedBoundary && HitSizingLine(drawInfo.Horz, x, index, linePos)) {
            state = gsColSizingGx;
            sizingPos = linePos;
            sizingOfs = linePos - x;
        }
    } else if (rowSizing && y >= drawInfo.Vert.FixedBoundary && x < drawInfo.Horz.FrozenBoundary) {
        if (HitSizingLine(drawInfo.Vert, y, index, linePos)) {
            state = gsRowSizingGx;
            sizingPos = linePos;
            sizingOfs = linePos - y;
        }
    }
}

bool TCustomGridGx::IsActiveControl() const
{
    if (const TCustomForm* form = GetParentForm(this))
        return form->ActiveControl() == this;
    if (!HandleAllocated())
        return false;
    const HWND focus = GetFocus();
    HWND self = const_cast<TCustomGridGx*>(this)->Handle();
    return focus != nullptr && (focus == self || IsChild(self, focus));
}
