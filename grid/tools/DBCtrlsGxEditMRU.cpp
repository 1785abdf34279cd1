#include "grid/tools/DBCtrlsGx.h"

#include <algorithm>

bool TCustomDBEditGx::MRUListOpen() const { return m_mruControl && m_mruList->DroppedDown(); }

// The user's typing opens the list of matching recent texts and an emptied text closes it.
void TCustomDBEditGx::TextEditedByUser()
{
    const std::string text = GetText();
    if (MRUListOpen() && text.empty()) {
        m_mruList->CloseList(false);
        return;
    }
    if (m_mruList->Active() && Showing() && !m_droppedDown && Focused() && !text.empty())
        m_mruList->OpenList();
}

void TCustomDBEditGx::OpenMRUList()
{
    const bool opening = !MRUListOpen();
    if (!m_mruControl) {
        m_mruControl = new TMRUListboxGx(this);
        m_mruControl->SetSorted(true);
        m_mruControl->SetOnMouseUp(TMouseEvent::FromFunction([this](TObject*, TMouseButton button, TShiftState, int x, int y) {
            if (button == mbLeft && x >= 0 && y >= 0 && x < m_mruControl->Width() && y < m_mruControl->Height())
                m_mruList->CloseList(true);
        }));
    }
    if (!m_mruList->CopyMatchingItems(*m_mruControl->Items(), GetText()) || m_mruControl->Count() == 0) {
        m_mruList->CloseList(false);
        return;
    }
    TRect area = TextAreaRect();
    const TPoint topLeft = ClientToScreen(TPoint{area.left, area.top});
    const TPoint bottomRight = ClientToScreen(TPoint{area.right, area.bottom});
    const RECT screen{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    if (opening) {
        m_mruControl->SetColor(Color());
        m_mruControl->Font()->Assign(Font());
        m_mruControl->SetItemHeight(TPopupListboxGx::FontLineHeight(*this));
        m_mruControl->SetItemIndex(-1);
        m_mruControl->SetWidth(m_mruList->Width() > 0 ? m_mruList->Width() : screen.right - screen.left);
        m_mruControl->SetGripResized(false);
    }
    m_mruControl->FitRowCount(std::min(m_mruControl->Count(), m_mruList->Rows()));
    const TPoint at = PlaceDropDownRect(screen, *m_mruControl, ddaLeft);
    m_mruControl->SetBounds(at.x, at.y, m_mruControl->Width(), m_mruControl->Height());
    (void)SetWindowPos(m_mruControl->Handle(), HWND_TOPMOST, at.x, at.y, 0, 0,
                       SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    m_mruList->SetDroppedDown(true);
}

void TCustomDBEditGx::CloseMRUList(bool accept)
{
    if (!MRUListOpen())
        return;
    (void)ReleaseCapture();
    (void)SetWindowPos(m_mruControl->Handle(), nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    m_mruList->SetDroppedDown(false);
    if (m_mruControl->GripResized()) {
        m_mruList->SetRows(m_mruControl->VisibleRows());
        m_mruList->SetWidth(m_mruControl->Width());
    }
    const int selected = m_mruControl->ItemIndex();
    if (!accept || selected < 0 || m_readOnly || !m_link->EditValue())
        return;
    PutText(m_mruControl->Items()->Strings(selected));
    m_link->SetModified();
    if (Focused())
        SelectAll();
}

// While the list is open the keys that move in it go to it; Enter and Esc close it.
bool TCustomDBEditGx::ForwardToMRUList(WORD key, TShiftState shift)
{
    const bool control = shift.Contains(ssCtrl);
    const bool alt = shift.Contains(ssAlt);
    if (key == VK_RETURN || key == VK_ESCAPE) {
        m_mruList->CloseList(key == VK_RETURN);
        return true;
    }
    const bool moves = ((key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) && !alt) ||
                       ((key == VK_HOME || key == VK_END) && control);
    if (!moves)
        return false;
    (void)SendMessageA(m_mruControl->Handle(), WM_KEYDOWN, key, 0);
    return true;
}
