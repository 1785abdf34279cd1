#include "grid/tools/ToolCtrlsGxDropDowns.h"

#include "platform/classlib/forms/ImgList.h"
#include "platform/winapi/gdi/DrawHelpers.h"

void TPopupListboxGx::SetImages(TCustomImageList* images)
{
    if (images == m_images)
        return;
    if (m_images)
        m_images->RemoveFreeNotification(this);
    m_images = images;
    if (m_images)
        m_images->FreeNotification(this);
    if (HandleAllocated())
        Invalidate();
}

void TPopupListboxGx::Notification(TComponent* component, TOperation operation)
{
    TCustomListBox::Notification(component, operation);
    if (operation == opRemove && component == m_images)
        m_images = nullptr;
}

// The image column stays in the list's colour; the text part carries the selection colours and
// the focus rectangle.
void TPopupListboxGx::DrawImageItem(const DRAWITEMSTRUCT& item)
{
    TCanvas& canvas = *Canvas();
    canvas.SetHandle(item.hDC);
    const TOwnerDrawState state = OwnerDrawStateOf(item.itemState);
    const bool selected = state.Contains(odSelected);
    const auto index = static_cast<int>(item.itemID);
    const TRect rect = item.rcItem;
    const TRect imageRect{rect.left, rect.top, rect.left + m_images->Width() + 4, rect.bottom};
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(imageRect);
    const bool isItem = index >= 0 && index < Count();
    if (isItem) {
        int imageIndex = index;
        m_onGetItemImageIndex(Owner(), index, imageIndex);
        if (imageIndex >= 0)
            DrawImageListImage(item.hDC, imageRect, *m_images, imageIndex, selected);
    }
    const TRect textRect{imageRect.right, rect.top, rect.right, rect.bottom};
    canvas.Font()->Assign(Font());
    canvas.Brush()->SetColor(selected ? clHighlight : Color());
    if (selected)
        canvas.Font()->SetColor(clHighlightText);
    canvas.TextRect(textRect, rect.left + m_images->Width() + 5, rect.top, isItem ? ItemText(index) : std::string());
    if (state.Contains(odFocused))
        (void)DrawFocusRect(item.hDC, &textRect);
    canvas.SetHandle(nullptr);
}
