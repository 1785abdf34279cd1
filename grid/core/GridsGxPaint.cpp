#include "grid/core/GridsGx.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>

// A painting region of lines: where it lies, the cell it starts with, and its two colours.
struct TCustomGridGx::TLineRegion {
    TRect Rect;
    int FirstCol;
    int FirstRow;
    TColor OffColor;
    bool VertOn;
    bool HorzOn;
};

// A painting region of cells: the first cell, the pixel box, the background and the base state.
struct TCustomGridGx::TCellRegion {
    int FirstCol;
    int FirstRow;
    int StartX;
    int StartY;
    int StopX;
    int StopY;
    TColor Background;
    TGridDrawState BaseState;
};

namespace {

// Keeps the DC's clip region as it was on entry and puts it back when the painting step ends.
class ClipGuard {
public:
    explicit ClipGuard(HDC dc) : m_dc(dc), m_saved(CreateRectRgn(0, 0, 0, 0))
    {
        m_hadClip = GetClipRgn(dc, m_saved.Get()) == 1;
    }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;
    ~ClipGuard() { (void)SelectClipRgn(m_dc, m_hadClip ? m_saved.Get() : nullptr); }
    void Intersect(int left, int top, int right, int bottom) { (void)IntersectClipRect(m_dc, left, top, right, bottom); }

private:
    HDC m_dc;
    GdiObject<HRGN> m_saved;
    bool m_hadClip = false;
};

} // namespace

void TCustomGridGx::Paint()
{
    if (IsPaintLocked())
        return;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const TGridAxisDrawInfoGx& h = info.Horz;
    const TGridAxisDrawInfoGx& v = info.Vert;
    const bool hasContra = m_contraColCount > 0 || m_contraRowCount > 0;
    {
        ClipGuard clip(Canvas()->Handle());
        if (hasContra)
            clip.Intersect(0, 0, h.ContraBoundary, v.ContraBoundary);

        TDrawLinesInfoGx lines;
        lines.Capacity = std::max(h.LastFullVisibleCell + m_fixedCols - m_topLeft.X,
                                  v.LastFullVisibleCell + m_fixedRows - m_topLeft.Y) + 3;
        if (h.EffectiveLineWidth > 0 || v.EffectiveLineWidth > 0)
            PaintLines(info, lines);

        const int frozenFirst = m_fixedCols - h.FrozenCount;
        const TGridDrawState fixed{gdFixed};
        DrawCells(info, {0, 0, 0, 0, h.FixedBoundary, v.FixedBoundary, m_fixedColor, fixed}, false);
        DrawCells(info, {m_topLeft.X, 0, h.FixedBoundary - m_colOffset, 0, h.GridBoundary, v.FixedBoundary,
                         m_fixedColor, fixed}, false);
        DrawCells(info, {0, m_topLeft.Y, 0, v.FixedBoundary, h.FrozenBoundary, v.GridBoundary, m_fixedColor, fixed},
                  false);
        DrawCells(info, {frozenFirst, m_topLeft.Y, h.FrozenBoundary, v.FixedBoundary, h.FixedBoundary,
                         v.GridBoundary, Color(), {}}, false);
        DrawCells(info, {m_topLeft.X, m_topLeft.Y, h.FixedBoundary - m_colOffset, v.FixedBoundary, h.GridBoundary,
                         v.GridBoundary, Color(), {}}, false);

        if (m_options.Contains(goRowSelect) && m_defaultDrawing && Focused()) {
            const TGridRect selection = Selection();
            const TRect box = BoxRect(selection, false);
            Canvas()->DrawFocusRect(box);
        }
        Canvas()->Brush()->SetColor(Color());
        if (h.GridBoundary < h.GridExtent)
            Canvas()->FillRect(TRect{h.GridBoundary, 0, h.GridExtent, v.GridBoundary});
        if (v.GridBoundary < v.GridExtent)
            Canvas()->FillRect(TRect{0, v.GridBoundary, h.GridExtent, v.GridExtent});
    }
    if (hasContra) {
        TDrawLinesInfoGx lines;
        lines.Capacity = std::max({h.LastFullVisibleCell + m_fixedCols - m_topLeft.X,
                                   v.LastFullVisibleCell + m_fixedRows - m_topLeft.Y, m_contraColCount,
                                   m_contraRowCount}) + 3;
        if (h.EffectiveLineWidth > 0 || v.EffectiveLineWidth > 0)
            PaintContraLines(info, lines);
        PaintContraCells(info);
    }
}

void TCustomGridGx::PaintLines(const TGridDrawInfoGx& info, TDrawLinesInfoGx& lines)
{
    const TGridAxisDrawInfoGx& h = info.Horz;
    const TGridAxisDrawInfoGx& v = info.Vert;
    const bool fixedVert = m_options.Contains(goFixedVertLines);
    const bool fixedHorz = m_options.Contains(goFixedHorzLines);
    const bool dataVert = m_options.Contains(goVertLines);
    const bool dataHorz = m_options.Contains(goHorzLines);
    const int frozenFirst = m_fixedCols - h.FrozenCount;
    DrawRegionLines(info, {{0, 0, h.FixedBoundary, v.FixedBoundary}, 0, 0, m_fixedColor, fixedVert, fixedHorz},
                    lines);
    DrawRegionLines(info, {{h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary}, m_topLeft.X, 0, m_fixedColor,
                           fixedVert, fixedHorz}, lines);
    DrawRegionLines(info, {{0, v.FixedBoundary, h.FrozenBoundary, v.GridBoundary}, 0, m_topLeft.Y, m_fixedColor,
                           fixedVert, fixedHorz}, lines);
    if (h.FrozenCount > 0) {
        DrawRegionLines(info, {{h.FrozenBoundary, v.FixedBoundary, h.FixedBoundary - 1, v.GridBoundary}, frozenFirst,
                               m_topLeft.Y, m_fixedColor, fixedVert, fixedHorz}, lines);
        DrawSingleLine(h.FixedBoundary - 1, v.FixedBoundary, h.FixedBoundary - 1, v.GridBoundary,
                       m_gridLineColors->FrozenBoundaryColor());
    }
    DrawRegionLines(info, {{h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary}, m_topLeft.X,
                           m_topLeft.Y, Color(), dataVert, dataHorz}, lines);
}

void TCustomGridGx::PaintContraLines(const TGridDrawInfoGx& info, TDrawLinesInfoGx& lines)
{
    const TGridAxisDrawInfoGx& h = info.Horz;
    const TGridAxisDrawInfoGx& v = info.Vert;
    const bool fixedVert = m_options.Contains(goFixedVertLines);
    const bool fixedHorz = m_options.Contains(goFixedHorzLines);
    const bool dataVert = m_options.Contains(goVertLines);
    const bool dataHorz = m_options.Contains(goHorzLines);
    const int cr = v.ContraBoundary;
    const int cc = h.ContraBoundary;
    const TColor footer = m_gridLineColors->FooterBoundaryColor();
    const TColor contra = m_gridLineColors->ContraBoundaryColor();
    const int frozenFirst = m_fixedCols - h.FrozenCount;
    if (m_contraRowCount > 0) {
        DrawRegionLines(info, {{0, cr + 1, h.FrozenBoundary, v.ClientExtent}, 0, m_rowCount, m_fixedColor, fixedVert,
                               fixedHorz}, lines);
        if (h.FrozenCount > 0) {
            DrawRegionLines(info, {{h.FrozenBoundary, cr + 1, h.FixedBoundary - 1, v.ClientExtent}, frozenFirst,
                                   m_rowCount, m_fixedColor, fixedVert, fixedHorz}, lines);
            DrawSingleLine(h.FixedBoundary - 1, cr + 1, h.FixedBoundary - 1, v.ClientExtent,
                           m_gridLineColors->FrozenBoundaryColor());
        }
        DrawSingleLine(0, cr, h.FixedBoundary, cr, footer);
        DrawRegionLines(info, {{h.FixedBoundary, cr + 1, h.GridBoundary, v.ClientExtent}, m_topLeft.X, m_rowCount,
                               Color(), dataVert, dataHorz}, lines);
        DrawSingleLine(h.FixedBoundary, cr, h.GridBoundary, cr, footer);
    }
    if (m_contraColCount > 0) {
        DrawRegionLines(info, {{cc + 1, 0, h.ClientExtent, v.FixedBoundary}, m_colCount, 0, m_fixedColor, fixedVert,
                               fixedHorz}, lines);
        DrawSingleLine(cc, 0, cc, v.FixedBoundary, contra);
        DrawRegionLines(info, {{cc + 1, v.FixedBoundary, h.ClientExtent, v.GridBoundary}, m_colCount, m_topLeft.Y,
                               Color(), dataVert, dataHorz}, lines);
        DrawSingleLine(cc, v.FixedBoundary, cc, v.GridBoundary, contra);
    }
    if (m_contraColCount > 0 && m_contraRowCount > 0)
        DrawRegionLines(info, {{cc + 1, cr + 1, h.ClientExtent, v.ClientExtent}, m_colCount, m_rowCount, Color(),
                               dataVert, dataHorz}, lines);
    if (m_contraColCount > 0)
        DrawSingleLine(cc, cr, cc, v.ClientExtent, contra);
    if (m_contraRowCount > 0)
        DrawSingleLine(cc, cr, h.ClientExtent, cr, footer);
}

void TCustomGridGx::DrawRegionLines(const TGridDrawInfoGx& info, const TLineRegion& region, TDrawLinesInfoGx& lines)
{
    if (region.Rect.right <= region.Rect.left || region.Rect.bottom <= region.Rect.top)
        return;
    const TColor onColor = m_gridLineColors->LineColorForCell(region.FirstCol, region.FirstRow);
    const TColor vertColor = region.VertOn ? onColor : region.OffColor;
    const TColor horzColor = region.HorzOn ? onColor : region.OffColor;
    // The lines that are on go last, over the crossings of those drawn in the background.
    if (region.HorzOn) {
        DrawAxisLines(info, region, true, vertColor, lines);
        DrawAxisLines(info, region, false, horzColor, lines);
    } else {
        DrawAxisLines(info, region, false, horzColor, lines);
        DrawAxisLines(info, region, true, vertColor, lines);
    }
}

void TCustomGridGx::DrawAxisLines(const TGridDrawInfoGx& info, const TLineRegion& region, bool vertical, TColor color,
                                  TDrawLinesInfoGx& lines)
{
    const TGridAxisDrawInfoGx& axis = vertical ? info.Horz : info.Vert;
    const int line = axis.EffectiveLineWidth;
    if (line <= 0)
        return; // a zero-width pen would still paint a pixel over the cells
    const int capacity = std::max(lines.Capacity, 0);
    lines.Points.resize(static_cast<std::size_t>(capacity) * 2 + 6);
    lines.Counts.assign(static_cast<std::size_t>(capacity), 2);
    const int first = vertical ? region.FirstCol : region.FirstRow;
    const int limit = axis.TotalCount;
    const int end = vertical ? region.Rect.right : region.Rect.bottom;
    int position = vertical ? region.Rect.left : region.Rect.top;
    if (vertical && first >= m_fixedCols && first < m_colCount)
        position -= m_colOffset;
    int count = 0;
    for (int index = first; index < limit && count < capacity; ++index) {
        const int extent = axis.Extent(index);
        if (extent + line > 0) {
            const int at = position + extent + line / 2;
            if (at >= end)
                break;
            POINT* segment = &lines.Points[static_cast<std::size_t>(count) * 2];
            segment[0] = vertical ? POINT{at, region.Rect.top} : POINT{region.Rect.left, at};
            segment[1] = vertical ? POINT{at, region.Rect.bottom} : POINT{region.Rect.right, at};
            ++count;
        }
        position += extent + line;
    }
    if (count == 0)
        return;
    Canvas()->Pen()->SetStyle(psSolid);
    Canvas()->Pen()->SetWidth(m_gridLineWidth);
    Canvas()->Pen()->SetColor(color);
    DrawPolyLines(lines, count * 2);
}

void TCustomGridGx::DrawPolyLines(const TDrawLinesInfoGx& lines, int count)
{
    (void)PolyPolyline(Canvas()->Handle(), lines.Points.data(), lines.Counts.data(), static_cast<DWORD>(count / 2));
}

void TCustomGridGx::DrawSingleLine(int x1, int y1, int x2, int y2, TColor color)
{
    Canvas()->Pen()->SetStyle(psSolid);
    Canvas()->Pen()->SetWidth(m_gridLineWidth);
    Canvas()->Pen()->SetColor(color);
    const POINT points[2] = {{x1, y1}, {x2, y2}};
    Canvas()->Polyline(points);
}

bool TCustomGridGx::InSelection(int col, int row) const
{
    const TGridRect selection = Selection();
    return col >= selection.Left && col <= selection.Right && row >= selection.Top && row <= selection.Bottom;
}

bool TCustomGridGx::CellIsFocusedByEditor(int col, int row) const
{
    return m_options.Contains(goEditing) && m_editorMode && col == m_current.X && row == m_current.Y;
}

void TCustomGridGx::DrawCells(const TGridDrawInfoGx& info, const TCellRegion& region, bool contraPass)
{
    const int colLimit = contraPass ? TotalColCount() : m_colCount;
    const int rowLimit = contraPass ? TotalRowCount() : m_rowCount;
    int y = region.StartY;
    for (int row = region.FirstRow; y < region.StopY && row < rowLimit; ++row) {
        const int height = RowHeightAt(row);
        int x = region.StartX;
        for (int col = region.FirstCol; x < region.StopX && col < colLimit; ++col) {
            const int width = ColumnWidthAt(col);
            const TRect rect{x, y, x + width, y + height};
            if (width > 0 && RectVisible(Canvas()->Handle(), &rect))
                DrawOneCell(info, col, row, rect, region, contraPass);
            x += width + info.Horz.EffectiveLineWidth;
        }
        y += height + info.Vert.EffectiveLineWidth;
    }
}

void TCustomGridGx::DrawOneCell(const TGridDrawInfoGx& info, int col, int row, const TRect& rect,
                                const TCellRegion& region, bool contraPass)
{
    TGridDrawState state = region.BaseState;
    const bool focused = !contraPass && IsActiveControl() && col == m_current.X && row == m_current.Y;
    if (focused)
        state.Include(gdFocused);
    if (!contraPass && InSelection(col, row))
        state.Include(gdSelected);
    if (focused && CellIsFocusedByEditor(col, row))
        return; // the editor covers it
    if (m_defaultDrawing) {
        Canvas()->SetFont(Font());
        const bool highlight = state.Contains(gdSelected) &&
                               (!state.Contains(gdFocused) || m_options.Contains(goDrawFocusSelected) ||
                                m_options.Contains(goRowSelect));
        if (highlight) {
            Canvas()->Brush()->SetColor(clHighlight);
            Canvas()->Font()->SetColor(clHighlightText);
        } else {
            Canvas()->Brush()->SetColor(region.Background);
        }
        Canvas()->FillRect(rect);
    }
    DrawCell(col, row, rect, state);
    if (!m_defaultDrawing)
        return;
    const bool fixedLines = m_options.Contains(goFixedVertLines) || m_options.Contains(goFixedHorzLines);
    if (state.Contains(gdFixed) && fixedLines) {
        TRect edge = rect;
        if (!m_options.Contains(goFixedVertLines))
            edge.right += info.Horz.EffectiveLineWidth;
        else if (!m_options.Contains(goFixedHorzLines))
            edge.bottom += info.Vert.EffectiveLineWidth;
        DrawCellEdge(edge, FixedCellPressed(col, row));
    }
    const bool editorShowsFocus = m_options.Contains(goEditing) && m_options.Contains(goAlwaysShowEditor);
    if (state.Contains(gdFocused) && !m_options.Contains(goRowSelect) && !editorShowsFocus)
        Canvas()->DrawFocusRect(rect);
}

void TCustomGridGx::DrawCellEdge(TRect rect, bool pressed)
{
    HDC dc = Canvas()->Handle();
    if (pressed) {
        (void)DrawEdge(dc, &rect, BDR_SUNKENINNER, BF_RECT);
        return;
    }
    if (!m_flat) {
        (void)DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
        return;
    }
    // A flat fixed cell keeps only its light edges; the dark ones take the cell's own colour.
    Canvas()->Pen()->SetStyle(psSolid);
    Canvas()->Pen()->SetWidth(1);
    Canvas()->Pen()->SetColor(Canvas()->Brush()->Color());
    const POINT border[3] = {{rect.left, rect.bottom - 1}, {rect.right - 1, rect.bottom - 1}, {rect.right - 1, rect.top - 1}};
    Canvas()->Polyline(border);
    (void)DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
}

void TCustomGridGx::PaintContraCells(const TGridDrawInfoGx& info)
{
    const TGridAxisDrawInfoGx& h = info.Horz;
    const TGridAxisDrawInfoGx& v = info.Vert;
    const int cr = v.ContraBoundary;
    const int cc = h.ContraBoundary;
    const int frozenFirst = m_fixedCols - h.FrozenCount;
    const TGridDrawState fixed{gdFixed};
    if (m_contraRowCount > 0 && cr < v.ClientExtent) {
        ClipGuard clip(Canvas()->Handle());
        clip.Intersect(0, cr, h.GridBoundary, v.ClientExtent);
        DrawCells(info, {0, m_rowCount, 0, cr + 1, h.FrozenBoundary, v.ClientExtent, m_fixedColor, fixed}, true);
        DrawCells(info, {frozenFirst, m_rowCount, h.FrozenBoundary, cr + 1, h.FixedBoundary, v.ClientExtent, Color(),
                         {}}, true);
        DrawCells(info, {m_topLeft.X, m_rowCount, h.FixedBoundary - m_colOffset, cr + 1, h.GridBoundary,
                         v.ClientExtent, Color(), {}}, true);
    }
    if (m_contraColCount > 0 && cc < h.ClientExtent) {
        ClipGuard clip(Canvas()->Handle());
        clip.Intersect(cc, 0, h.ClientExtent, v.GridBoundary);
        DrawCells(info, {m_colCount, 0, cc + 1, 0, h.ClientExtent, v.FixedBoundary, m_fixedColor, fixed}, true);
        DrawCells(info, {m_colCount, m_topLeft.Y, cc + 1, v.FixedBoundary, h.ClientExtent, v.GridBoundary, Color(),
                         {}}, true);
    }
    if (m_contraColCount > 0 && m_contraRowCount > 0)
        DrawCells(info, {m_colCount, m_rowCount, cc + 1, cr + 1, h.ClientExtent, v.ClientExtent, Color(), {}}, true);
    Canvas()->Brush()->SetColor(Color());
    if (cc < h.ClientExtent && v.GridBoundary < v.GridExtent)
        Canvas()->FillRect(TRect{cc, v.GridBoundary, h.ClientExtent, v.GridExtent});
    if (cr < v.ClientExtent && h.GridBoundary < h.GridExtent)
        Canvas()->FillRect(TRect{h.GridBoundary, cr, cc, v.ClientExtent});
}
