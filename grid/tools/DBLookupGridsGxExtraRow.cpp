#include "grid/tools/DBLookupGridsGx.h"

#include "grid/core/DBGridGxTextDrawing.h"
#include "grid/tools/DBLookupGridColumnGx.h"

#include <algorithm>

// The special row sits above the records as a fixed row of record height. Showing or hiding it
// changes the rows and the grid's height, and may change what the key value selects.
void TDBLookupGridGx::SpecRowChanged()
{
    if (GridLoading())
        return;
    if (m_specRow->Visible() != m_specRowShown) {
        m_specRowShown = m_specRow->Visible();
        LayoutChanged();
        SetRowsShown(m_rowCount);
        KeyValueChanged();
        return;
    }
    if (m_specRowSelected)
        m_text = m_specRow->CellText(m_listFieldIndex);
    Invalidate();
}

int TDBLookupGridGx::SpecRowGridRow() const { return m_specRow->Visible() ? TitleOffset() - 1 : -1; }

bool TDBLookupGridGx::SpecRowAt(int x, int y)
{
    if (!m_specRow->Visible() || x < 0 || x >= ClientWidth() || y < 0 || y >= ClientHeight())
        return false;
    const TGridCoord cell = CellAtPoint(x, y);
    return cell.Y == SpecRowGridRow() && cell.X >= IndicatorOffset();
}

void TDBLookupGridGx::SelectSpecRowByUser()
{
    if (!m_specRowSelected && m_listActive)
        SelectSpecRow();
}

// A cell shows its column's special-row text in the column's alignment, in the cell's colour and
// font, or in the highlight colours while the special row is the one selected.
void TDBLookupGridGx::DrawLeadingCell(int dataCol, int leadingRow, const TRect& rect, TGridDrawState state)
{
    auto* column = dataCol >= 0 && dataCol < Columns().Count()
                       ? dynamic_cast<TDBLookupGridColumnGx*>(Columns().ColumnAt(dataCol))
                       : nullptr;
    if (!column) {
        TCustomDBGridGx::DrawLeadingCell(dataCol, leadingRow, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    const TGridColumnSpecCellGx& cell = *column->SpecCell();
    canvas->Font()->Assign(cell.Font());
    TColor background = cell.Color();
    if (m_specRowSelected) {
        background = clHighlight;
        canvas->Font()->SetColor(clHighlightText);
    }
    canvas->Brush()->SetColor(background);
    DrawCellText(*canvas, rect, true, 2, 2, cell.Text(), column->Alignment(), tlCenter, false, false, 0, 0, false);
}

// The selected special row carries the focus rectangle across all its cells, in place of the
// one the focused grid draws round its current record (drawn again, which takes it away).
void TDBLookupGridGx::Paint()
{
    TCustomDBGridGx::Paint();
    const int row = SpecRowGridRow();
    if (!m_specRowSelected || row < 0)
        return;
    if (Options().Contains(dgRowSelect) && DefaultDrawing() && Focused())
        Canvas()->DrawFocusRect(BoxRect(Selection(), false));
    TRect across{ClientWidth(), 0, 0, 0};
    for (int col = IndicatorOffset(); col < ColCount(); ++col) {
        const TRect cell = CellRect(col, row);
        if (cell.right <= cell.left)
            continue;
        across = {std::min(across.left, cell.left), cell.top, std::max(across.right, cell.right), cell.bottom};
    }
    if (across.right > across.left)
        Canvas()->DrawFocusRect(across);
}
