#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxRoutines.h"
#include "platform/winapi/gdi/Font.h"

#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"

#include <algorithm>

// ---- The layout lock ----------------------------------------------------------------------------------------------

void TCustomDBGridGx::BeginLayout()
{
    if (m_layoutLock++ == 0)
        m_columns->BeginUpdate();
}

void TCustomDBGridGx::EndLayout()
{
    if (m_layoutLock == 0)
        return;
    if (--m_layoutLock > 0)
        return;
    m_columns->EndUpdate();
    LayoutChanged();
    PostDeferredLayout();
}

void TCustomDBGridGx::LayoutChanged()
{
    if (m_layoutLock > 0 || m_inLayout || GridLoading())
        return;
    UpdateLayout();
}

void TCustomDBGridGx::PostDeferredLayout()
{
    if (m_layoutQueued || !HandleAllocated())
        return;
    m_layoutQueued = PostMessageA(Handle(), WM_DEFERRED_LAYOUT, 0, 0) != FALSE;
}

void TCustomDBGridGx::DropDeferredLayout()
{
    if (!m_layoutQueued || !HandleAllocated())
        return;
    MSG pending{};
    while (PeekMessageA(&pending, Handle(), WM_DEFERRED_LAYOUT, WM_DEFERRED_LAYOUT, PM_REMOVE) != FALSE) {
    }
    m_layoutQueued = false;
}

// ---- The layout -----------------------------------------------------------------------------------------------------

void TCustomDBGridGx::UpdateLayout()
{
    DropDeferredLayout();
    m_inLayout = true;
    try {
        m_indicatorOffset = m_options.Contains(dgIndicator) ? 1 : 0;
        m_dataLink->ClearMapping();
        // Columns the program made may name no field, or one the current data set lacks (grids
        // that share a data source switched between queries): those map to holes, not errors.
        m_dataLink->SetMapByName(HasProgramColumns());
        if (HasProgramColumns()) {
            DropGridMadeColumns();
            m_columns->InvalidateFieldReferences();
            if (m_dataLink->Active())
                for (int i = 0; i < m_columns->Count(); ++i)
                    (void)m_dataLink->AddFieldMapping(m_columns->ColumnAt(i)->FieldName());
        } else {
            BuildDefaultColumns();
        }
        const int columnCount = std::max(1, m_columns->Count());
        SetColCount(columnCount + m_indicatorOffset);
        // The frozen block may not swallow every column: the base grid needs one scrollable column.
        const int frozen = std::min(m_frozenCols, columnCount - 1);
        SetFixedCols(std::min(m_indicatorOffset + frozen, ColCount() - 1));
        SetFrozenColCount(frozen);
        m_titleOffset = TitleRowCount() + LeadingRowCount();
        SetContraRowCount(m_footerRowCount);
        UpdateRowHeights();
        SetColumnAttributes();
        FitColumnsToClient();
        SetColumnAttributes();
        UpdateRowCountAndTop();
        SyncCurrentRow();
        UpdateVertScrollBar();
        m_selection->Refresh();
        PlaceFilterEditor();
        UpdateHorzExtScrollBar();
    } catch (...) {
        m_inLayout = false;
        throw;
    }
    m_inLayout = false;
    Invalidate();
}

// Columns the program added win over those the grid made for fields: once one exists, the made
// ones go (from the last down, so that a column being added keeps its place).
void TCustomDBGridGx::DropGridMadeColumns()
{
    for (int i = m_columns->Count() - 1; i >= 0; --i)
        if (m_columns->ColumnAt(i)->IsDefaultColumn())
            m_columns->Delete(i);
}

bool TCustomDBGridGx::HasProgramColumns() const
{
    for (int i = 0; i < m_columns->Count(); ++i)
        if (!m_columns->ColumnAt(i)->IsDefaultColumn())
            return true;
    return false;
}

std::vector<std::string> TCustomDBGridGx::DefaultColumnFields() const
{
    std::vector<std::string> names;
    const TFields& fields = m_dataLink->DataSet()->Fields();
    for (int i = 0; i < fields.Count(); ++i)
        if (fields[i]->Visible())
            names.push_back(fields[i]->FieldName());
    return names;
}

// Default columns follow the fields, one each (the data set's, in field order, unless a
// descendant chooses); without fields one empty column stands in. Columns that already match are
// kept (with the widths the user gave them).
void TCustomDBGridGx::BuildDefaultColumns()
{
    const std::vector<std::string> names = m_dataLink->Active() ? DefaultColumnFields() : std::vector<std::string>{};
    bool same = m_columns->Count() == std::max<int>(1, static_cast<int>(names.size()));
    for (std::size_t i = 0; same && i < names.size(); ++i)
        same = m_columns->ColumnAt(static_cast<int>(i))->FieldName() == names[i];
    // Without fields the one column left must name none: a column still bound to a field of a
    // closed data set would hold on to a field that closing destroyed.
    if (same && names.empty())
        same = m_columns->ColumnAt(0)->FieldName().empty();
    if (!same) {
        m_columns->Clear();
        for (const std::string& name : names)
            m_columns->AddDefaultColumn()->SetFieldName(name);
        if (m_columns->Count() == 0)
            (void)m_columns->AddDefaultColumn();
    }
    for (const std::string& name : names)
        (void)m_dataLink->AddFieldMapping(name);
}

// Heights are measured in the grid's fonts, which needs the window; CreateWnd lays out again.
void TCustomDBGridGx::UpdateRowHeights()
{
    if (!HandleAllocated())
        return;
    Canvas()->Font()->Assign(Font());
    const int textHeight = Canvas()->TextHeight("Wg");
    const int lineWidth = m_options.Contains(dgRowLines) ? GridLineWidth() : 0;
    const int extra = (Flat() ? 1 : 3) + lineWidth;
    int height = textHeight + extra;
    if (m_rowHeight > 0 || m_rowLines > 0)
        height = m_rowHeight + textHeight * m_rowLines;
    SetDefaultRowHeight(std::max(1, height));
    TEXTMETRICA metrics{};
    (void)GetTextMetricsA(Canvas()->Handle(), &metrics);
    m_wordWrapFits = metrics.tmHeight + metrics.tmExternalLeading + metrics.tmInternalLeading + 4 < DefaultRowHeight();
    // The filter row and the leading rows below the titles are as high as a data row.
    for (int row = m_options.Contains(dgTitles) ? 1 : 0; row < m_titleOffset && row < RowCount(); ++row)
        SetRowHeights(row, DefaultRowHeight());
    if (m_options.Contains(dgTitles)) {
        m_titleRowHeight = TitleRowHeight();
        SetRowHeights(0, m_titleRowHeight);
    }
}

void TCustomDBGridGx::SetColumnAttributes()
{
    for (int i = 0; i < m_columns->Count(); ++i) {
        const TColumnGx* column = m_columns->ColumnAt(i);
        const int gridCol = i + m_indicatorOffset;
        if (gridCol >= ColCount())
            break;
        SetTabStops(gridCol, column->Visible() && !column->ReadOnly());
        SetColWidths(gridCol, column->Visible() ? column->Width() : (m_options.Contains(dgColLines) ? -1 : 0));
    }
    if (m_indicatorOffset > 0)
        SetColWidths(0, IndicatorWidth);
}

// The link buffers as many records as full rows fit below the titles; the grid has one row each.
void TCustomDBGridGx::UpdateRowCountAndTop()
{
    const int line = m_options.Contains(dgRowLines) ? GridLineWidth() : 0;
    const int rowsOfDataHeight = (m_stFilter->Visible() ? 1 : 0) + LeadingRowCount();
    const int fixedHeight = (m_options.Contains(dgTitles) ? m_titleRowHeight + line : 0) +
                            rowsOfDataHeight * (DefaultRowHeight() + line);
    int rows = m_titleOffset + 1;
    if (m_dataLink->Active() && HandleAllocated()) {
        const int fit = std::max(1, (ClientHeight() - fixedHeight - FooterHeight()) / (DefaultRowHeight() + line));
        m_dataLink->SetBufferCount(fit);
        rows = m_titleOffset + std::max(1, m_dataLink->RecordCount());
    }
    m_syncingRow = true;
    try {
        SetRowCount(rows);
        SetFixedRows(m_titleOffset);
        if (TopRow() != m_titleOffset)
            SetTopRow(m_titleOffset);
    } catch (...) {
        m_syncingRow = false;
        throw;
    }
    m_syncingRow = false;
}

// The bar shows record numbers: the page is the rows on screen, the thumb the current record.
// Without record numbers it knows the first record (0), the last (4) and anything between (2).
void TCustomDBGridGx::UpdateVertScrollBar()
{
    if (!m_dataLink->Active() || m_dataLink->DataSet()->IsEmpty()) {
        m_vertScrollBar->Show(0, 0, 0, 0);
        return;
    }
    TDataSet* dataSet = m_dataLink->DataSet();
    if (!RecordsNumbered()) {
        m_vertScrollBar->Show(0, 4, 0, dataSet->Bof() ? 0 : dataSet->Eof() ? 4 : 2);
        return;
    }
    const int page = std::max(1, m_dataLink->RecordCount());
    // Every record on screen leaves nothing to scroll: a bar kept on show is disabled.
    if (dataSet->RecordCount() <= page) {
        m_vertScrollBar->Show(1, 1, page, 1);
        return;
    }
    m_vertScrollBar->Show(1, dataSet->RecordCount() + page - 1, page, std::max(1, dataSet->RecNo()));
}

// The link's window moved by `distance` records: the rows on screen follow.
void TCustomDBGridGx::ScrollRows(int distance)
{
    if (m_dataLink->Active() && m_dataLink->RecordCount() + m_titleOffset != RowCount())
        UpdateRowCountAndTop();
    SyncCurrentRow();
    UpdateVertScrollBar();
    RefreshEditorFromField(nullptr);
    if (distance == 0 || !HandleAllocated()) {
        Invalidate();
        return;
    }
    Invalidate();
}

// The base grid's current row is the row of the data set's current record.
void TCustomDBGridGx::SyncCurrentRow()
{
    if (!m_dataLink->Active())
        return;
    const int row = std::clamp(m_titleOffset + m_dataLink->ActiveRecord(), m_titleOffset, RowCount() - 1);
    const int col = std::clamp(Col(), std::min(m_indicatorOffset, ColCount() - 1), ColCount() - 1);
    if (row == Row() && col == Col())
        return;
    m_syncingRow = true;
    try {
        MoveCurrent(col, row, true, false);
    } catch (...) {
        m_syncingRow = false;
        throw;
    }
    m_syncingRow = false;
}

void TCustomDBGridGx::TopLeftChanged()
{
    TCustomGridGx::TopLeftChanged();
    if (TopRow() != m_titleOffset && !m_syncingRow && RowCount() > m_titleOffset) {
        m_syncingRow = true;
        SetTopRow(m_titleOffset);
        m_syncingRow = false;
    }
    PlaceFilterEditor();
    UpdateHorzExtScrollBar();
}

void TCustomDBGridGx::ColWidthsChanged()
{
    TCustomGridGx::ColWidthsChanged();
    PlaceFilterEditor();
    if (m_inLayout || m_layoutLock > 0)
        return;
    BeginLayout();
    try {
        for (int i = 0; i < m_columns->Count(); ++i) {
            TColumnGx* column = m_columns->ColumnAt(i);
            const int width = ColumnWidthAt(i + m_indicatorOffset);
            if (!column->Visible() || width < 0 || width == column->Width())
                continue;
            if (m_autoFitColWidths && column->AutoFitColWidth())
                RebaseSizedColumn(i, width);
            column->SetWidth(width);
        }
    } catch (...) {
        EndLayout();
        throw;
    }
    EndLayout();
}

// A fitted column the user sized keeps its new share: its base width grows by the ratio of the
// new width to the old (a column that was 0 wide takes the new width as its base) and the next
// fitted column gives or takes the difference.
void TCustomDBGridGx::RebaseSizedColumn(int index, int newWidth)
{
    TColumnGx* column = m_columns->ColumnAt(index);
    const int oldBase = column->FitBaseWidth();
    const int newBase = MulDivOr(oldBase, newWidth, column->Width(), newWidth);
    column->SetFitBaseWidth(newBase);
    for (int i = index + 1; i < m_columns->Count(); ++i) {
        TColumnGx* next = m_columns->ColumnAt(i);
        if (next->Visible() && next->AutoFitColWidth()) {
            next->SetFitBaseWidth(std::max(0, next->FitBaseWidth() - (newBase - oldBase)));
            return;
        }
    }
}
