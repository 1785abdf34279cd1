// The data grid's side of the filter row: switching it, clicks on its cells, applying.
#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxFilterRow.h"

void TCustomDBGridGx::ApplyFilter() { m_filterRow->Apply(); }

void TCustomDBGridGx::ClearColumnFilters() { m_filterRow->ClearColumnFilters(); }

void TCustomDBGridGx::FilterRowSwitched()
{
    if (!m_stFilter->Visible())
        m_filterRow->CloseEditor();
    LayoutChanged();
}

void TCustomDBGridGx::PlaceFilterEditor()
{
    if (m_filterRow)
        m_filterRow->PlaceEditor(false);
}

// A click on a filter cell opens its editor, and its list too when on the cell's arrow; a click on
// the data closes an open one.
bool TCustomDBGridGx::FilterRowMouseDown(TMouseButton button, TGridCoord cell, int x)
{
    if (IsFilterRow(cell.Y) && cell.X >= m_indicatorOffset) {
        const int dataCol = cell.X - m_indicatorOffset;
        if (button != mbLeft || !m_filterRow->HasCell(dataCol))
            return true;
        m_filterRow->ShowEditor(dataCol);
        const TRect rect = CellRect(cell.X, cell.Y);
        if (x >= rect.right - GetSystemMetrics(SM_CXVSCROLL))
            m_filterRow->DropDown();
        return true;
    }
    if (m_filterRow->Active() && cell.Y >= m_titleOffset)
        m_filterRow->CloseEditor();
    return false;
}

// While the row is active, what the grid is typed goes to the filter editor, which takes the
// focus again (and replaces its text).
bool TCustomDBGridGx::TypeIntoFilterRow(char key)
{
    if (!m_filterRow->Active() || (static_cast<unsigned char>(key) < ' ' && key != '\b'))
        return false;
    m_filterRow->PlaceEditor(true);
    TInplaceFilterEditGx* editor = m_filterRow->Editor();
    if (editor && editor->Visible() && editor->EditHandle())
        (void)PostMessageA(editor->EditHandle(), WM_CHAR, static_cast<unsigned char>(key), 0);
    return true;
}

// The wheel steps through an active filter editor's values; a cancel-mode notice closes its list.
bool TCustomDBGridGx::FilterRowMessage(TMessage& message)
{
    TInplaceFilterEditGx* editor = m_filterRow ? m_filterRow->Editor() : nullptr;
    if (!editor || !m_filterRow->Active() || !editor->Visible())
        return false;
    message.Result = editor->Perform(message.Msg, message.WParam, message.LParam);
    return true;
}

// The grid getting the focus back while a filter cell is being edited hands it on to the editor.
void TCustomDBGridGx::FilterRowTakesFocus()
{
    TInplaceFilterEditGx* editor = m_filterRow ? m_filterRow->Editor() : nullptr;
    if (editor && m_filterRow->Active() && editor->Visible() && editor->CanFocus() && !editor->HasFocus())
        editor->SetFocus();
}
