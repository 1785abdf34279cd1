// The data-aware edit hosted by a holder over one of the holder's cells.
#include "grid/tools/DBCtrlsGx.h"

#include "grid/tools/ToolCtrlsGx.h"
#include "platform/rtl/Exceptions.h"

void TCustomDBEditGx::SetInplaceEditHolder(TWinControl* holder)
{
    auto* hosting = dynamic_cast<IInplaceEditHolderGx*>(holder);
    if (holder && !hosting)
        throw Exception("InplaceEditHolder have to support IInplaceEditHolderGx interface");
    m_holderControl = holder;
    m_holder = hosting;
    UpdateWindowReadOnly();
}

void TCustomDBEditGx::PlaceAt(const TRect& rect)
{
    if (!m_holder || rect.right <= rect.left || rect.bottom <= rect.top) {
        HideEditor();
        return;
    }
    const bool wasHidden = !HandleAllocated() || !IsWindowVisible(Handle());
    SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    SetVisible(true);
    UpdateWindowReadOnly();
    if (wasHidden)
        Invalidate();
    if (m_holderControl->Focused())
        SetFocus();
}

void TCustomDBEditGx::HideEditor()
{
    const bool hadFocus = HandleAllocated() && Focused();
    SetVisible(false);
    if (hadFocus && m_holderControl && m_holderControl->CanFocus())
        m_holderControl->SetFocus();
}

void TCustomDBEditGx::KeyUp(WORD& key, TShiftState shift)
{
    if (m_holder) {
        m_holder->EditorKeyUp(*this, key, shift);
        if (key == 0)
            return;
    }
    TCustomMaskEdit::KeyUp(key, shift);
}

bool TCustomDBEditGx::PairsWithHolderPress(LPARAM point) const
{
    POINT pressed{};
    DWORD time = 0;
    m_holder->PendingMouseDown(pressed, time);
    if (time == 0)
        return false;
    const TPoint screen = ClientToScreen(TPoint{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))});
    return IsDoubleClickPair(pressed, screen, static_cast<DWORD>(GetMessageTime()) - time);
}
