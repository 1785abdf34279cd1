#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxFilterRow.h"

#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxFindDialogHook.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/Hints.h"

#include <algorithm>

namespace {

TGridFindDialogHookGx FindDialogHook = nullptr;

} // namespace

void SetGridFindDialogHook(TGridFindDialogHookGx hook) { FindDialogHook = hook; }

TGridFindDialogHookGx GridFindDialogHook() { return FindDialogHook; }

// ---- Moving through the records --------------------------------------------------------------------------------------

bool TCustomDBGridGx::MoveRecordBy(int distance)
{
    if (!m_dataLink->Active() || distance == 0)
        return false;
    return m_dataLink->DataSet()->MoveBy(distance) != 0;
}

// A row chosen in the base grid (mouse, its own keys) moves the data set to that row's record.
bool TCustomDBGridGx::SelectCell(int col, int row)
{
    // Leaving a cell for another column writes what was typed there into its own field first.
    if (col != Col() && m_dataLink->Active() && m_dataLink->EditorChanged())
        m_dataLink->UpdateRecord();
    if (m_syncingRow || !m_dataLink->Active() || row < m_titleOffset)
        return true;
    const int distance = row - m_titleOffset - m_dataLink->ActiveRecord();
    if (distance == 0)
        return true;
    (void)MoveRecordBy(distance);
    // The link's notification has put the current cell on the record's row; the column chosen
    // follows it there.
    if (col != Col() && col >= m_indicatorOffset && col < ColCount()) {
        m_syncingRow = true;
        try {
            MoveCurrent(col, Row(), true, false);
        } catch (...) {
            m_syncingRow = false;
            throw;
        }
        m_syncingRow = false;
    }
    return false;
}

void TCustomDBGridGx::KeyDown(WORD& key, TShiftState shift)
{
    if (!m_dataLink->Active()) {
        TCustomGridGx::KeyDown(key, shift);
        return;
    }
    if (key == VK_ESCAPE && !IncSearchControlKey(key)) {
        CancelEditorChange();
        (void)SelectByKey(key, shift);
        key = 0;
        return;
    }
    if (IncSearchControlKey(key) || SelectByKey(key, shift) || ClipboardKey(key, shift) ||
        (shift.Contains(ssCtrl) ? ControlKey(key, shift) : PlainKey(key, shift))) {
        key = 0;
        return;
    }
    TCustomGridGx::KeyDown(key, shift);
}

// Ctrl+C and Ctrl+Insert copy, Ctrl+V and Shift+Insert paste, Ctrl+X and Shift+Delete cut, when
// the grid takes that action and it can be done now.
bool TCustomDBGridGx::ClipboardKey(WORD key, TShiftState shift)
{
    const bool control = shift == TShiftState{ssCtrl};
    const bool shifted = shift == TShiftState{ssShift};
    TDBGridGxEditAction action{};
    if (control && (key == 'C' || key == VK_INSERT))
        action = geaCopyGx;
    else if ((control && key == 'V') || (shifted && key == VK_INSERT))
        action = geaPasteGx;
    else if ((control && key == 'X') || (shifted && key == VK_DELETE))
        action = geaCutGx;
    else
        return false;
    if (EditorShowing() && action != geaCopyGx)
        return false;
    if (m_editActions.Contains(action) && CanEditAction(action))
        ExecuteEditAction(action);
    return true;
}

bool TCustomDBGridGx::ControlKey(WORD key, TShiftState shift)
{
    TDataSet* dataSet = m_dataLink->DataSet();
    const bool extend = shift.Contains(ssShift) && m_options.Contains(dgMultiSelect);
    if (m_optionsGx.Contains(dghClearSelection) && IsNavigationKey(key))
        ClearSelectionUnlessShifted(shift);
    switch (key) {
    case VK_UP:
    case VK_PRIOR:
        MoveToScreenEdge(-1, extend);
        return true;
    case VK_DOWN:
    case VK_NEXT:
        MoveToScreenEdge(1, extend);
        return true;
    case VK_HOME:
        dataSet->First();
        return true;
    case VK_END:
        dataSet->Last();
        return true;
    case VK_DELETE:
        ConfirmAndDelete();
        return true;
    case VK_OEM_7:
        CopyPreviousRecordValue();
        return true;
    case 'F':
        return OpenFindDialog();
    default:
        return false;
    }
}

bool TCustomDBGridGx::PlainKey(WORD key, TShiftState shift)
{
    TDataSet* dataSet = m_dataLink->DataSet();
    const int page = std::max(1, m_dataLink->RecordCount());
    switch (key) {
    case VK_UP:
        // Up leaves a new record nothing was typed into; from the first record it goes into the
        // filter row.
        if (dataSet->State() == dsInsert && !dataSet->Modified() && !m_dataLink->EditorChanged())
            dataSet->Cancel();
        else if (!MoveRows(-1, shift) && shift.Empty())
            m_filterRow->ShowEditor(SelectedIndex());
        return true;
    case VK_DOWN:
        if (!MoveRows(1, shift) && shift.Empty() && CanAppendByKey())
            dataSet->Append();
        return true;
    case VK_PRIOR:
        ClearSelectionUnlessShifted(shift);
        (void)MoveRows(-page, shift);
        return true;
    case VK_NEXT:
        ClearSelectionUnlessShifted(shift);
        (void)MoveRows(page, shift);
        return true;
    case VK_HOME:
    case VK_END:
        if (!m_options.Contains(dgRowSelect))
            return false;
        ClearSelectionUnlessShifted(shift);
        key == VK_HOME ? dataSet->First() : dataSet->Last();
        return true;
    case VK_INSERT:
        if (!shift.Empty())
            return false;
        InsertByKey();
        return true;
    case VK_DELETE:
        return shift.Empty() && ClearSteppedCell();
    case VK_SPACE:
        // Row-select grids too: the tick follows the column's right to change, not the selection.
        if (TColumnGx* column = KeyedColumn(); column && IsSteppedCell(*column) && ColumnCanToggle(*column)) {
            StepCellValue(*column, shift.Contains(ssShift));
            return true;
        }
        return false;
    default:
        return false;
    }
}

// The keys that move to another record; without Shift they leave the marked rows and cells behind.
bool TCustomDBGridGx::IsNavigationKey(WORD key)
{
    return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || key == VK_HOME || key == VK_END;
}

void TCustomDBGridGx::ClearSelectionUnlessShifted(TShiftState shift)
{
    if (!shift.Contains(ssShift) && m_selection->SelectionType() != gstNon)
        m_selection->Clear();
}

// Up and Down move by records; with Shift and dgMultiSelect the marked rows follow: the record
// left is marked, or unmarked when moving back toward where the marking began. False when the
// data set did not move.
bool TCustomDBGridGx::MoveRows(int distance, TShiftState shift)
{
    if (!shift.Contains(ssShift) || !m_options.Contains(dgMultiSelect) ||
        !m_allowedSelections.Contains(gstRecordBookmarks)) {
        m_rowAnchor.clear();
        return MoveRecordBy(distance);
    }
    TDataSet* dataSet = m_dataLink->DataSet();
    const int step = distance < 0 ? -1 : 1;
    bool moved = false;
    for (int i = 0; i != distance; i += step) {
        bool markAfter = true;
        if (m_rowAnchor.empty() || !m_selectedRows->IsCurrentSelected()) {
            m_rowAnchor = dataSet->Bookmark();
            m_selectedRows->MarkCurrent(true);
        } else {
            markAfter = dataSet->CompareBookmarks(dataSet->Bookmark(), m_rowAnchor) != -step;
            if (!markAfter)
                m_selectedRows->MarkCurrent(false);
        }
        if (!MoveRecordBy(step))
            break;
        moved = true;
        if (markAfter)
            m_selectedRows->MarkCurrent(true);
    }
    return moved;
}

// Ctrl+Up / Ctrl+PgUp: the first record on screen; Ctrl+Down / Ctrl+PgDn: the last.
void TCustomDBGridGx::MoveToScreenEdge(int direction, bool extend)
{
    const int target = direction < 0 ? 0 : m_dataLink->RecordCount() - 1;
    const int distance = target - m_dataLink->ActiveRecord();
    (void)MoveRows(distance, extend ? TShiftState{ssShift} : TShiftState{});
}

bool TCustomDBGridGx::CanAppendByKey() const
{
    const TDataSet* dataSet = m_dataLink->DataSet();
    return m_options.Contains(dgEditing) && !m_readOnly && dataSet->CanModify() && !m_dataLink->ReadOnly() &&
           m_allowedOperations.Contains(alopAppendGx) && dataSet->State() != dsInsert;
}

// Insert: a new record before the current one, or at the end when only appending is allowed.
void TCustomDBGridGx::InsertByKey()
{
    TDataSet* dataSet = m_dataLink->DataSet();
    if (m_readOnly || !m_options.Contains(dgEditing) || !dataSet->CanModify() || m_dataLink->ReadOnly())
        return;
    if (m_allowedOperations.Contains(alopInsertGx)) {
        m_selection->Clear();
        dataSet->Insert();
    } else if (m_allowedOperations.Contains(alopAppendGx)) {
        m_selection->Clear();
        dataSet->Append();
    }
}

// Enter as Tab: the next cell of the row, or the first of the next record at the row's end
// (Shift: backwards).
void TCustomDBGridGx::TabToNextCell(bool backwards)
{
    WORD tab = VK_TAB;
    TCustomGridGx::KeyDown(tab, backwards ? TShiftState{ssShift} : TShiftState{});
}

// Ctrl+': the current column's field takes the value it has in the record before; nothing on the
// first record.
void TCustomDBGridGx::CopyPreviousRecordValue()
{
    TColumnGx* column = SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (!field || !column->CanModify(false))
        return;
    TDataSet* dataSet = m_dataLink->DataSet();
    const TBookmarkStr here = dataSet->Bookmark();
    Variant previous;
    bool first = false;
    dataSet->DisableControls();
    try {
        dataSet->Prior();
        first = dataSet->CompareBookmarks(dataSet->Bookmark(), here) == 0;
        previous = field->Value();
        dataSet->SetBookmark(here);
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
    if (first || !column->CanModify(true))
        return;
    field->SetValue(previous);
    m_selection->Clear();
    if (EditorShowing())
        InvalidateEditor();
}

// Delete in a check-box or image cell empties a field that may be empty.
bool TCustomDBGridGx::ClearSteppedCell()
{
    TColumnGx* column = SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (m_options.Contains(dgRowSelect) || !field || !IsSteppedCell(*column) || field->Required() ||
        !ColumnCanToggle(*column) || !column->CanModify(true))
        return false;
    field->Clear();
    return true;
}

// The grid's own search starts from the editor's text; the dialog is modal unless a descendant
// says otherwise.
bool TCustomDBGridGx::OpenFindDialog()
{
    if (!m_optionsGx.Contains(dghDialogFind))
        return false;
    const std::string text = EditorShowing() ? EditorText() : std::string();
    if (m_center)
        return m_center->ExecuteFindDialog(*this, text, FindDialogModal());
    if (!FindDialogHook)
        return false;
    FindDialogHook(*this, text, FindDialogModal());
    return true;
}

// Ctrl+Delete: the selection through the delete action when the grid takes it; else the marked
// rows, or the current record when none is marked.
void TCustomDBGridGx::ConfirmAndDelete()
{
    if (m_editActions.Contains(geaDeleteGx) && m_selection->SelectionType() != gstNon) {
        if (CanEditAction(geaDeleteGx))
            ExecuteEditAction(geaDeleteGx);
        return;
    }
    TDataSet* dataSet = m_dataLink->DataSet();
    if (m_readOnly || !m_allowedOperations.Contains(alopDeleteGx) || dataSet->IsEmpty() || !dataSet->CanModify() ||
        m_dataLink->ReadOnly())
        return;
    const int marked = m_selectedRows->BookmarkCount();
    const char* question = marked >= 2 ? "Delete all selected records?" : "Delete record?";
    if (m_options.Contains(dgConfirmDelete) && MessageDlg(question, mtConfirmation, mbOKCancel, 0) != mrOk)
        return;
    if (marked > 0)
        m_selectedRows->DeleteSelected();
    else
        DeleteCurrentRecord();
}

void TCustomDBGridGx::DeleteCurrentRecord() { m_dataLink->DataSet()->Delete(); }

// ---- Mouse ------------------------------------------------------------------------------------------------------------

// Ticking follows the column's own right to change its field, not the grid's text editing switch:
// a row-select grid without editing still lets its check-box columns be ticked.
bool TCustomDBGridGx::ColumnCanToggle(TColumnGx& column)
{
    return !m_readOnly && m_allowedOperations.Contains(alopUpdateGx) && column.CanModify(false);
}

// The column keys act on: the current cell's; a row-select grid keeps no current column, so there
// the one last clicked.
TColumnGx* TCustomDBGridGx::KeyedColumn() const
{
    return ColumnAtGridCol(m_options.Contains(dgRowSelect) ? m_clickedCol : Col());
}

bool TCustomDBGridGx::IsSteppedCell(const TColumnGx& column)
{
    const TCellImageKindGx kind = column.CellImageKind();
    return kind == cikCheckboxes || kind == cikImages;
}

// A check box ticks or unticks; an image cell shows the next image (the previous one backwards).
void TCustomDBGridGx::StepCellValue(TColumnGx& column, bool backwards)
{
    if (!column.CanModify(true))
        return;
    column.SetNextFieldValue(backwards ? -1 : 1);
    TDataSet* dataSet = m_dataLink->DataSet();
    if (dataSet->State() == dsEdit || dataSet->State() == dsInsert)
        dataSet->Post();
}

void TCustomDBGridGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    m_pressedCheckBox = {-1, -1};
    m_pressedTitle = {};
    if (button == mbLeft)
        RememberPress(x, y);
    const TGridCoord cell = CellAtPoint(x, y);
    if (FilterRowMouseDown(button, cell, x))
        return;
    if (button == mbLeft && cell.Y >= 0 && cell.Y < TitleRowCount() && cell.X >= m_indicatorOffset) {
        // The base grid sizes a column from its title's edge or starts moving it; a press in the
        // select zone selects the column instead, and any other press is a title click when
        // released over the same title. The second press of a double click on an edge has sized
        // the column to its best width already.
        TakeMouseFocus();
        if (shift.Contains(ssDouble) && DividerColumnAt(x, y) >= 0)
            return;
        TCustomGridGx::MouseDown(button, shift, x, y);
        if (GridState() == gsColSizingGx)
            return;
        if (SelectByTitleClick(ColumnAtGridCol(cell.X), shift, cell, y)) {
            (void)Perform(WM_CANCELMODE, 0, 0);
            m_selectDrag.Kind = TSelectDrag::Columns;
            return;
        }
        TColumnGx* column = ColumnAtGridCol(cell.X);
        bool titleButton = column && column->Title()->TitleButton();
        if (column)
            CheckTitleButton(cell.X - m_indicatorOffset, titleButton);
        m_pressedTitle = {cell, column, titleButton};
        return;
    }
    if (button == mbLeft && cell.X >= 0 && cell.X < m_indicatorOffset && cell.Y >= 0 && cell.Y < m_titleOffset) {
        TakeMouseFocus();
        if (IndicatorTitleClick())
            return;
    }
    const TGridCoord before{Col(), Row()};
    if (!Outlives([&] { TCustomGridGx::MouseDown(button, shift, x, y); }))
        return;
    if (button == mbLeft && cell.Y >= m_titleOffset && cell.X >= m_indicatorOffset && !shift.Contains(ssDouble)) {
        SelectByDataClick(before, cell, shift);
        StartRectangleDrag(cell, shift);
    }
    if (button == mbLeft && cell.Y >= m_titleOffset && !shift.Contains(ssDouble))
        StartRowDrag(cell, shift);
    // A quick second click on a tick is a tick too, not a double click to ignore.
    if (button != mbLeft || cell.Y < m_titleOffset || !m_dataLink->Active())
        return;
    m_clickedCol = cell.X;
    if (TColumnGx* column = ColumnAtGridCol(cell.X); column && IsSteppedCell(*column))
        m_pressedCheckBox = cell;
}

void TCustomDBGridGx::MouseMove(TShiftState shift, int x, int y)
{
    TCustomGridGx::MouseMove(shift, x, y);
    if (m_rectangleDrag.Active)
        DragRectangleTo(x, y);
    if (m_selectDrag.Kind == TSelectDrag::Rows)
        DragRowsTo(y);
    else if (m_selectDrag.Kind == TSelectDrag::Columns)
        DragColumnsTo(x);
}

void TCustomDBGridGx::TakeMouseFocus()
{
    if (CanFocus() && !Focused())
        SetFocus();
}

// A tick or an image cell changes on release over the cell that was pressed.
void TCustomDBGridGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const TGridCoord pressed = m_pressedCheckBox;
    m_pressedCheckBox = {-1, -1};
    m_rectangleDrag.Active = false;
    m_selectDrag = {};
    const TPressedTitle title = m_pressedTitle;
    m_pressedTitle = {};
    TCustomGridGx::MouseUp(button, shift, x, y);
    if (button == mbLeft && title.Column && CellAtPoint(x, y) == title.Cell &&
        ColumnAtGridCol(title.Cell.X) == title.Column) {
        if (title.Button)
            TitleBtnClick(title.Cell.X - m_indicatorOffset, title.Column);
        MarkSortOnTitleClick(*title.Column, shift, title.Button);
        TitleClick(title.Column);
        return;
    }
    if (button != mbLeft || pressed.X < 0 || !(CellAtPoint(x, y) == pressed))
        return;
    if (TColumnGx* column = ColumnAtGridCol(pressed.X); column && ColumnCanToggle(*column))
        StepCellValue(*column, shift.Contains(ssShift));
}

// A double click on a title's edge, with dghDblClickOptimizeColWidth, sizes the column to its
// best width and is no double click for the program.
void TCustomDBGridGx::DblClick()
{
    POINT screen{};
    if (GetCursorPos(&screen)) {
        const POINT point = ScreenToClient(screen);
        if (TColumnGx* column = ColumnAtGridCol(DividerColumnAt(point.x, point.y))) {
            FitColumnsToContent({column});
            return;
        }
    }
    TCustomGridGx::DblClick();
}

// The grid column whose right edge in the titles is at the point, when double clicks size columns
// to their best width; -1 otherwise.
int TCustomDBGridGx::DividerColumnAt(int x, int y)
{
    if (!m_optionsGx.Contains(dghDblClickOptimizeColWidth) || !m_options.Contains(dgColumnResize))
        return -1;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    TGridStateGx state = gsNormalGx;
    int index = -1;
    int position = 0;
    int offset = 0;
    SizingHitTest(x, y, info, state, index, position, offset);
    return state == gsColSizingGx && ColumnAtGridCol(index) ? index : -1;
}

// A press on a row starts the base grid's selecting state; a click there is still a click.
bool TCustomDBGridGx::CanCellClick(int x, int y) const
{
    return (GridState() == gsNormalGx || GridState() == gsSelectingGx) && x >= 0 && y >= 0;
}

// Clicks on titles and the indicator are the title's and the indicator's own business.
void TCustomDBGridGx::CellMouseClick(TGridCoord cell, TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Outlives([&] { OnCellMouseClick()(this, cell, button, shift, x, y); }))
        return;
    if (cell.Y >= m_titleOffset && cell.X >= m_indicatorOffset)
        CellClick();
}

void TCustomDBGridGx::ColumnMoved(int from, int to)
{
    TColumnGx* column = ColumnAtGridCol(from);
    if (!column || !ColumnAtGridCol(to))
        return;
    column->SetIndex(to - m_indicatorOffset);
}

void TCustomDBGridGx::CellClick()
{
    if (m_onCellClick)
        m_onCellClick(ColumnAtGridCol(Col()));
}

void TCustomDBGridGx::TitleClick(TColumnGx* column)
{
    if (m_onTitleClick)
        m_onTitleClick(column);
}

void TCustomDBGridGx::CheckTitleButton(int dataCol, bool& enabled)
{
    if (m_onCheckButton)
        m_onCheckButton(this, dataCol, ColumnAtGridCol(dataCol + m_indicatorOffset), enabled);
}

void TCustomDBGridGx::TitleBtnClick(int dataCol, TColumnGx* column)
{
    if (m_onTitleBtnClick)
        m_onTitleBtnClick(this, dataCol, column);
}

// ---- Messages ---------------------------------------------------------------------------------------------------------

void TCustomDBGridGx::ScrollMessage(int code, int position)
{
    if (!m_dataLink->Active())
        return;
    TDataSet* dataSet = m_dataLink->DataSet();
    const int page = std::max(1, m_dataLink->RecordCount());
    switch (code) {
    case SB_LINEUP:
        (void)MoveRecordBy(-1);
        break;
    case SB_LINEDOWN:
        (void)MoveRecordBy(1);
        break;
    case SB_PAGEUP:
        (void)MoveRecordBy(-page);
        break;
    case SB_PAGEDOWN:
        (void)MoveRecordBy(page);
        break;
    case SB_TOP:
        dataSet->First();
        break;
    case SB_BOTTOM:
        dataSet->Last();
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        VertThumbMoved(code, position);
        break;
    default:
        break;
    }
    UpdateVertScrollBar();
}

void TCustomDBGridGx::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_DEFERRED_LAYOUT:
        m_layoutQueued = false;
        LayoutChanged();
        return;
    case WM_SIZE:
        TCustomGridGx::Dispatch(message);
        // A scroll bar the layout itself showed, or a column the user has just sized, resizes the
        // client: lay out again once the layout is done or the new width is the column's.
        if (m_inLayout || GridState() == gsColSizingGx)
            PostDeferredLayout();
        else
            LayoutChanged();
        return;
    case WM_HSCROLL:
        if (message.LParam == 0) {
            // A tracked thumb scrolls as it moves.
            if (LOWORD(message.WParam) == SB_THUMBTRACK && m_horzScrollBar->Tracking())
                message.WParam = MAKEWPARAM(SB_THUMBPOSITION, HIWORD(message.WParam));
            TCustomGridGx::Dispatch(message);
            UpdateHorzExtScrollBar();
            return;
        }
        break;
    case WM_VSCROLL:
        if (message.LParam == 0) {
            ScrollMessage(LOWORD(message.WParam), HIWORD(message.WParam));
            message.Result = 0;
            return;
        }
        break;
    case CM_HINTSHOW:
        TCustomGridGx::Dispatch(message);
        if (message.Result == 0 && message.LParam != 0)
            CellHint(*reinterpret_cast<THintInfo*>(message.LParam));
        return;
    case WM_TIMER:
        if (message.WParam == IncSearchTimerId) {
            EndIncSearch();
            message.Result = 0;
            return;
        }
        break;
    case WM_MOUSEWHEEL:
        if (FilterRowMessage(message))
            return;
        (void)MoveRecordBy(GET_WHEEL_DELTA_WPARAM(message.WParam) < 0 ? 1 : -1);
        message.Result = 1;
        return;
    case CM_CANCELMODE:
        (void)FilterRowMessage(message);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomGridGx::Dispatch(message);
        if (message.Msg == WM_SETFOCUS)
            FilterRowTakesFocus();
        InvalidateCurrentRow();
        // Marked records and cells change their shade with the focus.
        if (m_selection && m_selection->SelectionType() != gstNon)
            Invalidate();
        return;
    default:
        break;
    }
    TCustomGridGx::Dispatch(message);
}
