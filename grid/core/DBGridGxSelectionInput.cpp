// How the data grid's selection is made with the mouse and keys, and how painting asks about it.
#include "grid/core/DBGridGx.h"

#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

namespace {

// Puts the link's active record on a shown row and back.
class TShownRecord {
public:
    TShownRecord(TGridDataLinkGx& link, int record) : m_link(link), m_saved(link.ActiveRecord())
    {
        m_link.SetActiveRecord(record);
    }
    ~TShownRecord() { m_link.SetActiveRecord(m_saved); }
    TShownRecord(const TShownRecord&) = delete;
    TShownRecord& operator=(const TShownRecord&) = delete;

private:
    TGridDataLinkGx& m_link;
    int m_saved;
};

} // namespace

void TCustomDBGridGx::SetAllowedSelections(TDBGridGxAllowedSelections value)
{
    m_allowedSelections = value;
    const TDBGridGxSelectionType kind = m_selection->SelectionType();
    if (kind != gstNon && !value.Contains(kind))
        m_selection->Clear();
}

void TCustomDBGridGx::SelectRecordBookmarks()
{
    if (m_selection->SelectionType() == gstRecordBookmarks)
        return;
    m_selection->Clear();
    m_selection->SetSelectionType(gstRecordBookmarks);
}

void TCustomDBGridGx::DoSelectionChanged()
{
    if (m_onSelectionChanged)
        m_onSelectionChanged(this);
}

TBookmarkStr TCustomDBGridGx::BookmarkOfRow(int dataRow)
{
    const TShownRecord shown(*m_dataLink, dataRow);
    return m_dataLink->DataSet()->Bookmark();
}

// Asked while a row is painted: the link's active record is that row's.
bool TCustomDBGridGx::CellSelectedNow(int dataCol)
{
    if (m_selection->SelectionType() == gstNon)
        return false;
    return m_selection->IsCellSelected(dataCol, m_dataLink->DataSet()->Bookmark());
}

// The bottom strip of a data column's title (all of a title lower than the strip) selects the
// column in a multi-select grid that does not select rows: Shift extends from the anchor column,
// Ctrl adds or removes it, a plain click selects only it.
bool TCustomDBGridGx::SelectByTitleClick(TColumnGx* column, TShiftState shift, TGridCoord cell, int y)
{
    if (!column || !m_allowedSelections.Contains(gstColumns) || !m_options.Contains(dgMultiSelect) ||
        m_options.Contains(dgRowSelect) || IsFilterRow(cell.Y))
        return false;
    if (y < CellRect(cell.X, cell.Y).bottom - ColumnSelectZoneHeight)
        return false;
    if (shift.Contains(ssShift))
        m_selection->Columns().SelectShift(column);
    else if (shift.Contains(ssCtrl))
        m_selection->Columns().Toggle(column);
    else
        m_selection->Columns().Select(column, false);
    return true;
}

// After a click has moved to `cell` from `before`: Ctrl marks or unmarks the record with
// dgMultiSelect; Shift spans a rectangle from the cell before (not on row-select grids); a plain
// click drops the selection with dghClearSelection.
void TCustomDBGridGx::SelectByDataClick(TGridCoord before, TGridCoord cell, TShiftState shift)
{
    if (!m_dataLink->Active() || m_dataLink->DataSet()->IsEmpty())
        return;
    if (shift.Contains(ssCtrl) && m_options.Contains(dgMultiSelect) &&
        m_allowedSelections.Contains(gstRecordBookmarks)) {
        m_selectedRows->MarkCurrent(!m_selectedRows->IsCurrentSelected());
        m_rowAnchor = m_dataLink->DataSet()->Bookmark();
        return;
    }
    const bool rectangle = shift.Contains(ssShift) && !m_options.Contains(dgRowSelect) &&
                           m_allowedSelections.Contains(gstRectangle) && before.Y >= m_titleOffset;
    if (rectangle) {
        TDBGridGxSelectionRect& rect = m_selection->Rect();
        if (m_selection->SelectionType() != gstRectangle)
            rect.Select(before.X - m_indicatorOffset, BookmarkOfRow(before.Y - m_titleOffset), false);
        rect.Select(cell.X - m_indicatorOffset, m_dataLink->DataSet()->Bookmark(), true);
        return;
    }
    if (shift.Contains(ssShift) && m_options.Contains(dgMultiSelect) &&
        m_allowedSelections.Contains(gstRecordBookmarks)) {
        MarkRowsFromAnchor();
        return;
    }
    m_rowAnchor = m_dataLink->DataSet()->Bookmark();
    if (m_optionsGx.Contains(dghClearSelection) && m_selection->SelectionType() != gstNon)
        m_selection->Clear();
}

// Shift-click: the records from the anchor to the current one are marked.
void TCustomDBGridGx::MarkRowsFromAnchor()
{
    TDataSet* dataSet = m_dataLink->DataSet();
    const TBookmarkStr target = dataSet->Bookmark();
    if (m_rowAnchor.empty() || !dataSet->BookmarkValid(m_rowAnchor))
        m_rowAnchor = target;
    const int step = dataSet->CompareBookmarks(m_rowAnchor, target) <= 0 ? 1 : -1;
    dataSet->DisableControls();
    try {
        dataSet->SetBookmark(m_rowAnchor);
        m_selectedRows->MarkCurrent(true);
        while (dataSet->CompareBookmarks(dataSet->Bookmark(), target) != 0 && dataSet->MoveBy(step) != 0)
            m_selectedRows->MarkCurrent(true);
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
}

// A plain press on a data cell may become a rectangle dragged over the cells.
void TCustomDBGridGx::StartRectangleDrag(TGridCoord cell, TShiftState shift)
{
    m_rectangleDrag = {};
    if (!shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !m_options.Contains(dgRowSelect) &&
        m_allowedSelections.Contains(gstRectangle) && m_dataLink->Active() && !m_dataLink->DataSet()->IsEmpty())
        m_rectangleDrag = {true, cell, cell.X - m_indicatorOffset, m_dataLink->DataSet()->Bookmark()};
}

void TCustomDBGridGx::DragRectangleTo(int x, int y)
{
    const TGridCoord cell = CellAtPoint(x, y);
    const int dataRow = cell.Y - m_titleOffset;
    if (cell.X < m_indicatorOffset || dataRow < 0 || dataRow >= m_dataLink->RecordCount() ||
        cell == m_rectangleDrag.Last)
        return;
    m_rectangleDrag.Last = cell;
    TDBGridGxSelectionRect& rect = m_selection->Rect();
    if (m_selection->SelectionType() != gstRectangle)
        rect.Select(m_rectangleDrag.AnchorCol, m_rectangleDrag.Anchor, false);
    rect.Select(cell.X - m_indicatorOffset, BookmarkOfRow(dataRow), true);
}

// A press on a record's indicator marks it (Ctrl: toggles it, Shift: marks from the anchor; a
// plain press marks only it); there and on the rows of a row-select grid, dragging then marks
// the records passed over as the pressed one now is.
void TCustomDBGridGx::StartRowDrag(TGridCoord cell, TShiftState shift)
{
    m_selectDrag = {};
    const bool indicator = cell.X < m_indicatorOffset;
    if (!m_options.Contains(dgMultiSelect) || !m_allowedSelections.Contains(gstRecordBookmarks) ||
        (!indicator && !m_options.Contains(dgRowSelect)) || !m_dataLink->Active() ||
        m_dataLink->DataSet()->IsEmpty() || cell.Y - m_titleOffset >= m_dataLink->RecordCount())
        return;
    const TBookmarkStr pressed = BookmarkOfRow(cell.Y - m_titleOffset);
    if (indicator) {
        if (shift.Contains(ssShift)) {
            MarkRecordsBetween(m_rowAnchor.empty() ? pressed : m_rowAnchor, pressed, true);
            return;
        }
        if (!shift.Contains(ssCtrl) && m_optionsGx.Contains(dghClearSelection))
            m_selection->Clear();
        const TShownRecord shown(*m_dataLink, cell.Y - m_titleOffset);
        SelectRecordBookmarks();
        m_selectedRows->MarkCurrent(!shift.Contains(ssCtrl) || !m_selectedRows->IsCurrentSelected());
        m_rowAnchor = pressed;
    }
    const TShownRecord shown(*m_dataLink, cell.Y - m_titleOffset);
    m_selectDrag = {TSelectDrag::Rows, pressed, pressed,
                    m_selection->SelectionType() != gstRecordBookmarks || m_selectedRows->IsCurrentSelected()};
}

// The records from the anchor to the one under the point take the anchor's mark; those the drag
// has come back over lose it.
void TCustomDBGridGx::DragRowsTo(int y)
{
    const int lastRow = m_dataLink->RecordCount() - 1;
    const int row = CellAtPoint(0, y).Y;
    int dataRow = std::clamp(row - m_titleOffset, 0, lastRow);
    if (row < 0)
        dataRow = y < CellRect(0, m_titleOffset).top ? 0 : lastRow;
    const TBookmarkStr target = BookmarkOfRow(dataRow);
    if (target == m_selectDrag.Last)
        return;
    MarkRecordsBetween(m_selectDrag.Anchor, m_selectDrag.Last, !m_selectDrag.Mark);
    MarkRecordsBetween(m_selectDrag.Anchor, target, m_selectDrag.Mark);
    m_selectDrag.Last = target;
}

// Marks or unmarks every record from one bookmark to the other, both included; the data set
// stays where it was.
void TCustomDBGridGx::MarkRecordsBetween(const TBookmarkStr& from, const TBookmarkStr& to, bool mark)
{
    TDataSet* dataSet = m_dataLink->DataSet();
    if (!dataSet->BookmarkValid(from) || !dataSet->BookmarkValid(to))
        return;
    SelectRecordBookmarks();
    const TBookmarkStr position = dataSet->Bookmark();
    const int step = dataSet->CompareBookmarks(from, to) <= 0 ? 1 : -1;
    dataSet->DisableControls();
    try {
        dataSet->SetBookmark(from);
        m_selectedRows->MarkCurrent(mark);
        while (dataSet->CompareBookmarks(dataSet->Bookmark(), to) != 0 && dataSet->MoveBy(step) != 0)
            m_selectedRows->MarkCurrent(mark);
        dataSet->SetBookmark(position);
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
}

// The whole columns from the anchor to the one under the point are selected.
void TCustomDBGridGx::DragColumnsTo(int x)
{
    const TRect client = ClientRect();
    const int inside = std::clamp(x, static_cast<int>(client.left), static_cast<int>(client.right) - 1);
    const TGridCoord cell = CellAtPoint(inside, CellRect(m_indicatorOffset, 0).top);
    if (TColumnGx* column = ColumnAtGridCol(cell.X); column && m_selection->SelectionType() == gstColumns)
        m_selection->Columns().SelectShift(column);
}

// While a drag selects with the mouse above or below the rows, each tick of the drag timer brings
// in the record before the first one on screen, or the one after the last, and the selection
// follows.
void TCustomDBGridGx::TimedScroll(int direction)
{
    TCustomGridGx::TimedScroll(direction & (sdLeftGx | sdRightGx));
    if (!m_dataLink->Active() || (direction & (sdUpGx | sdDownGx)) == 0)
        return;
    const int active = m_dataLink->ActiveRecord();
    (void)MoveRecordBy((direction & sdUpGx) != 0 ? -(active + 1) : m_dataLink->RecordCount() - active);
    FollowDragToCursor();
}

void TCustomDBGridGx::FollowDragToCursor()
{
    POINT point{};
    (void)GetCursorPos(&point);
    point = ScreenToClient(point);
    const int rows = m_dataLink->RecordCount();
    if (rows == 0)
        return;
    const TRect first = CellRect(m_indicatorOffset, m_titleOffset);
    const TRect last = CellRect(m_indicatorOffset, m_titleOffset + rows - 1);
    const TRect client = ClientRect();
    const int x = std::clamp(static_cast<int>(point.x), static_cast<int>(client.left), static_cast<int>(client.right) - 1);
    const int y = std::clamp(static_cast<int>(point.y), static_cast<int>(first.top), static_cast<int>(last.bottom) - 1);
    if (m_selectDrag.Kind == TSelectDrag::Rows)
        DragRowsTo(y);
    if (m_rectangleDrag.Active)
        DragRectangleTo(x, y);
}

// Ctrl+A selects everything; Esc drops the selection.
bool TCustomDBGridGx::SelectByKey(WORD key, TShiftState shift)
{
    if (key == 'A' && shift.Contains(ssCtrl) && m_allowedSelections.Contains(gstAll)) {
        m_selection->SelectAll();
        return true;
    }
    if (key == VK_ESCAPE && m_selection->SelectionType() != gstNon) {
        m_selection->Clear();
        return true;
    }
    return false;
}
