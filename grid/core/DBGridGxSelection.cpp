#include "grid/core/DBGridGxSelection.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/InvalidGridOperationGx.h"
#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

// ---- A list of columns --------------------------------------------------------------------------------------------

int TColumnsGxList::IndexOf(const TColumnGx* column) const
{
    const auto found = std::find(m_items.begin(), m_items.end(), column);
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

void TColumnsGxList::Insert(int index, TColumnGx* column)
{
    m_items.insert(m_items.begin() + std::clamp(index, 0, Count()), column);
}

void TColumnsGxList::Remove(const TColumnGx* column) { std::erase(m_items, column); }

// ---- Whole columns ------------------------------------------------------------------------------------------------

void TDBGridGxSelectionCols::Add(TColumnGx* column)
{
    const auto after = std::find_if(m_items.begin(), m_items.end(),
                                    [&](const TColumnGx* item) { return item->Index() > column->Index(); });
    m_items.insert(after, column);
}

void TDBGridGxSelectionCols::Changed(TColumnGx* column)
{
    m_grid.InvalidateGridCol(column->Index() + m_grid.IndicatorOffset());
    m_grid.DataSelection().SelectionChanged();
}

void TDBGridGxSelectionCols::Clear()
{
    for (TColumnGx* column : m_items)
        m_grid.InvalidateGridCol(column->Index() + m_grid.IndicatorOffset());
    m_items.clear();
    m_anchor = nullptr;
    m_grid.DataSelection().SelectionChanged();
}

void TDBGridGxSelectionCols::Toggle(TColumnGx* column)
{
    TDBGridGxSelection& selection = m_grid.DataSelection();
    if (selection.SelectionType() != gstColumns)
        selection.Clear();
    if (Contains(column))
        Remove(column);
    else
        Add(column);
    m_anchor = m_shiftCol = column;
    selection.SetSelectionType(Count() > 0 ? gstColumns : gstNon);
    m_shiftSelected.ClearList();
    Changed(column);
}

void TDBGridGxSelectionCols::Select(TColumnGx* column, bool keepOthers)
{
    TDBGridGxSelection& selection = m_grid.DataSelection();
    if (selection.SelectionType() != gstColumns)
        selection.Clear();
    if (!keepOthers) {
        for (TColumnGx* item : m_items)
            m_grid.InvalidateGridCol(item->Index() + m_grid.IndicatorOffset());
        m_items.clear();
    }
    if (!Contains(column))
        Add(column);
    m_anchor = m_shiftCol = column;
    selection.SetSelectionType(gstColumns);
    m_shiftSelected.ClearList();
    Changed(column);
}

// Walks from the last shift column towards the clicked one. Moving away from the anchor applies
// the anchor's state to the columns passed (and remembers them); moving back towards it takes
// back what was remembered; crossing the anchor turns the one into the other.
void TDBGridGxSelectionCols::SelectShift(TColumnGx* column)
{
    TDBGridGxSelection& selection = m_grid.DataSelection();
    if (selection.SelectionType() != gstColumns)
        selection.Clear();
    if (!m_anchor || !m_shiftCol) {
        Select(column, true);
        m_shiftCol = column;
        selection.SetSelectionType(Count() > 0 ? gstColumns : gstNon);
        return;
    }
    const int a = m_anchor->Index();
    const int s = m_shiftCol->Index();
    const int n = column->Index();
    int start = n;
    int end = n;
    int step = 1;
    bool apply = true;
    int flip = -1;
    if (a < s && s < n) {
        start = s, end = n;
    } else if (a < s && n < s) {
        start = s, step = -1, apply = false;
        flip = n < a ? a : -1;
        end = flip >= 0 ? n : n + 1;
    } else if (a > s && n < s) {
        start = s, end = n, step = -1;
    } else if (a > s && s < n) {
        start = s, apply = false;
        flip = a < n ? a : -1;
        end = flip >= 0 ? n : n - 1;
    } else if (a == s) {
        start = a, end = n, step = n < a ? -1 : 1;
    }
    const bool anchorSelected = Contains(m_anchor);
    TDBGridColumnsGx& columns = m_grid.Columns();
    for (int index = start;; index += step) {
        if (index == flip)
            apply = !apply;
        if (index >= 0 && index < columns.Count()) {
            TColumnGx* item = columns.ColumnAt(index);
            const bool selected = Contains(item);
            const bool recorded = m_shiftSelected.Contains(item);
            if (apply && anchorSelected && item->Visible() && !selected) {
                Add(item), m_shiftSelected.Append(item), Changed(item);
            } else if (apply && !anchorSelected && selected && item != m_anchor) {
                Remove(item), m_shiftSelected.Append(item), Changed(item);
            } else if (!apply && anchorSelected && selected && item != m_anchor && recorded) {
                Remove(item), m_shiftSelected.Remove(item), Changed(item);
            } else if (!apply && !anchorSelected && item->Visible() && !selected && recorded) {
                Add(item), m_shiftSelected.Remove(item), Changed(item);
            }
        }
        if (index == end || (step > 0 ? index > end : index < end))
            break;
    }
    m_shiftCol = column;
    selection.SetSelectionType(Count() > 0 ? gstColumns : gstNon);
}

void TDBGridGxSelectionCols::Refresh()
{
    TDBGridColumnsGx& columns = m_grid.Columns();
    const auto gone = [&](const TColumnGx* item) {
        for (int i = 0; i < columns.Count(); ++i)
            if (columns.ColumnAt(i) == item)
                return false;
        return true;
    };
    std::erase_if(m_items, gone);
    std::erase_if(m_shiftSelected.m_items, gone);
    if (m_anchor && gone(m_anchor))
        m_anchor = nullptr;
    if (m_shiftCol && gone(m_shiftCol))
        m_shiftCol = nullptr;
    SortByIndex();
}

void TDBGridGxSelectionCols::SortByIndex()
{
    std::sort(m_items.begin(), m_items.end(),
              [](const TColumnGx* a, const TColumnGx* b) { return a->Index() < b->Index(); });
}

TGridRectGx TDBGridGxSelectionCols::SelectionToGridRect() const
{
    const int offset = m_grid.IndicatorOffset();
    if (m_items.empty())
        return {offset - 1, 0, offset - 1, m_grid.RowCount() - 1};
    return {m_items.front()->Index() + offset, 0, m_items.back()->Index() + offset, m_grid.RowCount() - 1};
}

// ---- A rectangle of cells -------------------------------------------------------------------------------------------

bool TDBGridGxSelectionRect::DataSetActive() const
{
    return m_grid.DataSource() && m_grid.DataLink().DataSet() && m_grid.DataLink().Active();
}

void TDBGridGxSelectionRect::CheckActive(const char* message) const
{
    if (!DataSetActive())
        throw EInvalidGridOperationGx(message);
}

bool TDBGridGxSelectionRect::AnchorFirst() const
{
    return m_grid.DataLink().DataSet()->CompareBookmarks(m_anchorRow, m_shiftRow) <= 0;
}

TBookmarkStr TDBGridGxSelectionRect::TopRow() const
{
    CheckActive("Error in TDBGridGxSelectionRect.GetBottomRow");
    return AnchorFirst() ? m_anchorRow : m_shiftRow;
}

TBookmarkStr TDBGridGxSelectionRect::BottomRow() const
{
    CheckActive("Error in TDBGridGxSelectionRect.GetBottomRow");
    return AnchorFirst() ? m_shiftRow : m_anchorRow;
}

int TDBGridGxSelectionRect::LeftCol() const
{
    CheckActive("Error in TDBGridGxSelectionRect.GetBottomRow");
    return std::min(m_anchorCol, m_shiftCol);
}

int TDBGridGxSelectionRect::RightCol() const
{
    CheckActive("Error in TDBGridGxSelectionRect.GetBottomRow");
    return std::max(m_anchorCol, m_shiftCol);
}

bool TDBGridGxSelectionRect::CellSelected(int dataCol, const TBookmarkStr& bookmark) const
{
    CheckActive("Error in function TDBGridGxSelectionRect.CellSelected");
    const TDataSet* dataSet = m_grid.DataLink().DataSet();
    if (dataSet->CompareBookmarks(TopRow(), bookmark) > 0 || dataSet->CompareBookmarks(BottomRow(), bookmark) < 0)
        return false;
    return dataCol >= LeftCol() && dataCol <= RightCol();
}

void TDBGridGxSelectionRect::Clear()
{
    m_anchorCol = m_shiftCol = -1;
    m_anchorRow.clear();
    m_shiftRow.clear();
    m_grid.InvalidateGrid();
    m_grid.DataSelection().SelectionChanged();
}

void TDBGridGxSelectionRect::Select(int dataCol, const TBookmarkStr& bookmark, bool extend)
{
    TDBGridGxSelection& selection = m_grid.DataSelection();
    if (selection.SelectionType() != gstRectangle)
        selection.Clear();
    const bool hadCells = m_anchorCol >= 0 && DataSetActive();
    const TGridRectGx before =
        hadCells ? ScreenCells(LeftCol(), RightCol(), TopRow(), BottomRow()) : TGridRectGx{};
    if (m_anchorCol < 0 || !extend) {
        m_anchorCol = dataCol;
        m_anchorRow = bookmark;
    }
    m_shiftCol = dataCol;
    m_shiftRow = bookmark;
    const bool single =
        m_anchorCol == m_shiftCol && m_grid.DataLink().DataSet()->CompareBookmarks(m_anchorRow, m_shiftRow) == 0;
    selection.SetSelectionType(single ? gstNon : gstRectangle);
    if (!m_grid.HandleAllocated())
        return;
    InvalidateDifference(before, ScreenCells(LeftCol(), RightCol(), TopRow(), BottomRow()));
    selection.SelectionChanged();
}

// Only the strips where the old and the new rectangle differ are repainted.
void TDBGridGxSelectionRect::InvalidateDifference(const TGridRectGx& before, const TGridRectGx& after) const
{
    const auto invalidate = [&](int left, int top, int right, int bottom) {
        if (left <= right && top <= bottom && left >= 0 && top >= 0)
            m_grid.InvalidateGridRect({left, top, right, bottom});
    };
    const bool meet = before.Left >= 0 && after.Left >= 0 && before.Left <= after.Right &&
                      after.Left <= before.Right && before.Top <= after.Bottom && after.Top <= before.Bottom;
    if (!meet) {
        invalidate(before.Left, before.Top, before.Right, before.Bottom);
        invalidate(after.Left, after.Top, after.Right, after.Bottom);
        return;
    }
    const int left = std::max(before.Left, after.Left);
    const int top = std::max(before.Top, after.Top);
    const int right = std::min(before.Right, after.Right);
    const int bottom = std::min(before.Bottom, after.Bottom);
    const int unionTop = std::min(before.Top, after.Top);
    const int unionBottom = std::max(before.Bottom, after.Bottom);
    invalidate(std::min(before.Left, after.Left), unionTop, left - 1, unionBottom);
    invalidate(right + 1, unionTop, std::max(before.Right, after.Right), unionBottom);
    invalidate(left, unionTop, right, top - 1);
    invalidate(left, bottom + 1, right, unionBottom);
}

// The rows of the shown records between top and bottom (clipped to the rows on screen).
TGridRectGx TDBGridGxSelectionRect::ScreenCells(int left, int right, const TBookmarkStr& top,
                                                const TBookmarkStr& bottom) const
{
    TGridDataLinkGx& link = m_grid.DataLink();
    const TDataSet* dataSet = link.DataSet();
    const int shown = link.RecordCount();
    int first = -1;
    int last = -1;
    for (int row = 0; row < shown; ++row) {
        const TBookmarkStr bookmark = m_grid.BookmarkOfRow(row);
        if (dataSet->CompareBookmarks(bookmark, top) >= 0 && dataSet->CompareBookmarks(bookmark, bottom) <= 0) {
            if (first < 0)
                first = row;
            last = row;
        }
    }
    if (first < 0)
        return {};
    const int titles = m_grid.TitleOffset();
    const int offset = m_grid.IndicatorOffset();
    return {left + offset, first + titles, right + offset, last + titles};
}

TGridRectGx TDBGridGxSelectionRect::SelectionToGridRect() const
{
    if (m_anchorCol < 0 || !DataSetActive())
        return {};
    return ScreenCells(LeftCol(), RightCol(), TopRow(), BottomRow());
}

// ---- The selection --------------------------------------------------------------------------------------------------

TDBGridGxSelection::TDBGridGxSelection(TCustomDBGridGx& grid) : m_grid(grid), m_columns(grid), m_rect(grid) {}

void TDBGridGxSelection::SetSelectionType(TDBGridGxSelectionType type)
{
    if (type == m_type)
        return;
    m_type = type;
    m_grid.InvalidateGrid();
}

bool TDBGridGxSelection::IsCellSelected(int dataCol, const TBookmarkStr& bookmark) const
{
    switch (m_type) {
    case gstRecordBookmarks: {
        int index = 0;
        return m_grid.SelectedRows().Locate(bookmark, index);
    }
    case gstRectangle:
        return dataCol >= 0 && m_rect.CellSelected(dataCol, bookmark);
    case gstColumns:
        return dataCol >= 0 && dataCol < m_grid.Columns().Count() &&
               m_columns.Contains(m_grid.Columns().ColumnAt(dataCol));
    case gstAll:
        return true;
    case gstNon:
        return false;
    }
    return false;
}

// The kind is none afterwards even when clearing fails.
void TDBGridGxSelection::Clear()
{
    const TDBGridGxSelectionType type = m_type;
    m_type = gstNon;
    switch (type) {
    case gstRecordBookmarks:
        m_grid.SelectedRows().ClearBookmarks();
        break;
    case gstRectangle:
        m_rect.Clear();
        break;
    case gstColumns:
        m_columns.Clear();
        break;
    case gstAll:
        m_grid.InvalidateGrid();
        SelectionChanged();
        break;
    case gstNon:
        break;
    }
}

void TDBGridGxSelection::SelectAll()
{
    if (m_type == gstAll)
        return;
    Clear();
    m_type = gstAll;
    m_grid.InvalidateGrid();
    SelectionChanged();
}

void TDBGridGxSelection::LinkActive(bool active)
{
    m_grid.SelectedRows().SetLinkActive(active);
    Clear();
}

void TDBGridGxSelection::Refresh()
{
    m_columns.Refresh();
    const bool emptied = (m_type == gstRecordBookmarks && m_grid.SelectedRows().BookmarkCount() == 0) ||
                         (m_type == gstColumns && m_columns.Count() == 0);
    if (!emptied)
        return;
    m_type = gstNon;
    m_grid.InvalidateGrid();
}

TGridRectGx TDBGridGxSelection::SelectionToGridRect() const
{
    switch (m_type) {
    case gstRecordBookmarks:
        return m_grid.SelectedRows().SelectionToGridRect(m_grid.ColCount());
    case gstRectangle:
        return m_rect.SelectionToGridRect();
    case gstColumns:
        return m_columns.SelectionToGridRect();
    case gstAll:
        return {0, 0, m_grid.ColCount() - 1, m_grid.RowCount() - 1};
    case gstNon:
        break;
    }
    return {};
}

void TDBGridGxSelection::SelectionChanged()
{
    if (!m_grid.IsDestroying())
        m_grid.DoSelectionChanged();
}
