#include "grid/tools/DBCtrlsGx.h"

#include "platform/classlib/forms/ImgList.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <cmath>

CLASSLIB_IMPLEMENT_CLASS(TEditImageGx, TPersistent, nullptr, nullptr)

// ---- TEditImageGx

void TEditImageGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TEditImageGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    SetImages(other->m_images);
    SetImageIndex(other->m_imageIndex);
    SetVisible(other->m_visible);
    SetWidth(other->m_width);
}

int TEditImageGx::ColumnWidth() const
{
    if (!m_visible || !m_images)
        return 0;
    return (m_width > 0 ? m_width : m_images->Width()) + 4;
}

// A new index only repaints; anything that moves the text lays the editor out again.
void TEditImageGx::SetImageIndex(int index)
{
    if (index == m_imageIndex)
        return;
    m_imageIndex = index;
    if (m_editor.HandleAllocated())
        m_editor.Invalidate();
}

void TEditImageGx::SetImages(TCustomImageList* images)
{
    if (images == m_images)
        return;
    if (m_images)
        m_images->RemoveFreeNotification(&m_editor);
    m_images = images;
    if (m_images)
        m_images->FreeNotification(&m_editor);
    Changed();
}

void TEditImageGx::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    Changed();
}

void TEditImageGx::SetWidth(int width)
{
    if (width == m_width)
        return;
    m_width = width;
    Changed();
}

void TEditImageGx::Changed()
{
    if (m_editor.HandleAllocated())
        (void)m_editor.Perform(WM_EDITIMAGE_CHANGED, 0, 0);
    m_editor.RefreshImageIndex();
}

// ---- the editor's image

void TCustomDBEditGx::SetOnGetImageIndex(const TGetImageIndexEventGx& handler)
{
    m_onGetImageIndex = handler;
    RefreshImageIndex();
}

void TCustomDBEditGx::RefreshImageIndex()
{
    if (!m_editImage->Visible() || !m_editImage->Images())
        return;
    int index = BaseImageIndex();
    const Variant value = Field() ? Field()->Value() : m_link->DataIndependent() ? m_link->UnboundValue() : Null();
    const int type = VarType(value) & varTypeMask;
    if (type == varInteger || type == varDouble || type == varCurrency || type == varInt64)
        index = static_cast<int>(std::lround(value.ToDouble()));
    m_onGetImageIndex(this, index);
    m_editImage->SetImageIndex(index);
}

void TCustomDBEditGx::Notification(TComponent* component, TOperation operation)
{
    TCustomMaskEdit::Notification(component, operation);
    if (operation == opRemove && m_editImage && component == m_editImage->Images())
        m_editImage->SetImages(nullptr);
}

// The image column keeps the editor's colour; the image sits in it inset by two pixels across
// and one down.
void TCustomDBEditGx::DrawEditImage()
{
    const int width = m_editImage->ColumnWidth();
    if (width == 0 || !HandleAllocated())
        return;
    const TRect client = ClientRect();
    RECT column{client.left, client.top, client.left + width, client.bottom};
    const HDC dc = GetDC(Handle());
    {
        const GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
        (void)FillRect(dc, &column, brush.Get());
        if (m_editImage->ImageIndex() >= 0) {
            InflateRect(&column, -2, -1);
            DrawImageListImage(dc, column, *m_editImage->Images(), m_editImage->ImageIndex(), false);
        }
    }
    (void)ReleaseDC(Handle(), dc);
}
