#include "grid/core/DBGridInplaceEdit.h"

#include "grid/core/DBGridGx.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>

// The column's remembered texts: typing opens a list of those that begin with the editor's text
// under the editor, which keeps the focus and hands the list the keys that move in it.

TMRUListGx* TDBGridInplaceEdit::MRUList() const
{
    const TColumnGx* column = Column();
    return column ? column->MRUList() : nullptr;
}

bool TDBGridInplaceEdit::MRUListOpen() const { return m_mruBox && m_mruBox->Visible(); }

// The user's typing opens the list of matching texts (or follows the text with it) and an emptied
// text closes it.
void TDBGridInplaceEdit::TextEditedByUser()
{
    const std::string text = Text();
    if (text.empty()) {
        CloseMRUList(false);
        return;
    }
    const TMRUListGx* list = MRUList();
    if (list && list->Active() && Showing() && Focused() && !m_listVisible)
        OpenMRUList();
}

void TDBGridInplaceEdit::OpenMRUList()
{
    TMRUListGx* list = MRUList();
    if (!list)
        return;
    if (!m_mruBox) {
        m_mruBox = new TGridPickListGx(this, *this);
        m_mruBox->SetSorted(true);
    }
    const bool opening = !MRUListOpen();
    m_mruBox->HandleNeeded();
    if (!list->CopyMatchingItems(*m_mruBox->Items(), Text()) || m_mruBox->Items()->Count() == 0) {
        CloseMRUList(false);
        return;
    }
    if (opening) {
        m_mruBox->Font()->Assign(Font());
        m_mruBox->SetColor(Color());
        m_mruBox->SetItemIndex(-1);
    }
    const int count = m_mruBox->Items()->Count();
    const int rows = std::min(count, std::max(1, list->Rows()));
    const int bar = count > rows ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    PlaceList(*m_mruBox, std::max(Width(), list->Width()) + bar, m_mruBox->HeightForRows(rows));
    list->SetDroppedDown(true);
}

// Accepted, the chosen text becomes the editor's and the cell's pending text.
void TDBGridInplaceEdit::CloseMRUList(bool accept)
{
    if (!MRUListOpen())
        return;
    if (GetCapture() == m_mruBox->Handle())
        (void)ReleaseCapture();
    (void)ShowWindow(m_mruBox->Handle(), SW_HIDE);
    m_mruBox->SetVisible(false);
    if (TMRUListGx* list = MRUList())
        list->SetDroppedDown(false);
    const int index = m_mruBox->ItemIndex();
    TCustomDBGridGx* grid = DataGrid();
    if (!accept || index < 0 || ReadOnly() || !grid)
        return;
    const std::string chosen = m_mruBox->Items()->Strings(index);
    if (!grid->SetCellEditText(chosen))
        return;
    SetText(chosen);
    if (Focused())
        SelectAll();
}

// While the list is open the keys that move in it go to it; Enter and Esc close it.
bool TDBGridInplaceEdit::ForwardToMRUList(WORD key, TShiftState shift)
{
    if (key == VK_RETURN || key == VK_ESCAPE) {
        CloseMRUList(key == VK_RETURN);
        return true;
    }
    const bool alt = shift.Contains(ssAlt);
    const bool control = shift.Contains(ssCtrl);
    const bool moves = ((key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) && !alt) ||
                       ((key == VK_HOME || key == VK_END) && control);
    if (!moves)
        return false;
    (void)SendMessageA(m_mruBox->Handle(), WM_KEYDOWN, key, 0);
    return true;
}
