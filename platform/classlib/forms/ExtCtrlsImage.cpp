#include "platform/classlib/forms/ExtCtrlsImage.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/rtl/Exceptions.h"

namespace {

void DescribeImage(TClassBuilder& c)
{
    c.Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false);
    c.Boolean("Center", &TImage::Center, &TImage::SetCenter).Default(false);
    c.Object("Picture", &TImage::Picture, &TImage::SetPicture);
    c.Boolean("Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false);
    c.Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
    c.Boolean("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TImage, TGraphicControl, ComponentCreator<TImage>, DescribeImage)

TImage::TImage(TComponent* owner) : TGraphicControl(owner), m_picture(std::make_unique<TPicture>())
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    m_picture->SetOnChange(TNotifyEvent(this, &TImage::PictureChanged));
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { m_picture->SetOnChange({}); }

TCanvas* TImage::Canvas()
{
    if (!m_picture->Graphic()) {
        TBitmap bitmap;
        bitmap.SetSize(Width(), Height());
        m_picture->SetGraphic(&bitmap);
    }
    auto* bitmap = dynamic_cast<TBitmap*>(m_picture->Graphic());
    if (!bitmap)
        throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    return bitmap->Canvas();
}

void TImage::SetAutoSize(bool autoSize)
{
    if (autoSize == m_autoSize)
        return;
    m_autoSize = autoSize;
    PictureChanged(this);
}

void TImage::SetCenter(bool center)
{
    if (center == m_center)
        return;
    m_center = center;
    PictureChanged(this);
}

void TImage::SetProportional(bool proportional)
{
    if (proportional == m_proportional)
        return;
    m_proportional = proportional;
    PictureChanged(this);
}

void TImage::SetStretch(bool stretch)
{
    if (stretch == m_stretch)
        return;
    m_stretch = stretch;
    PictureChanged(this);
}

void TImage::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    PictureChanged(this);
}

TRect TImage::DestRect() const
{
    int width = m_picture->Width();
    int height = m_picture->Height();
    const int clientWidth = ClientWidth();
    const int clientHeight = ClientHeight();
    if (m_stretch || (m_proportional && (width > clientWidth || height > clientHeight))) {
        if (m_proportional && width > 0 && height > 0) {
            const double aspect = static_cast<double>(width) / height;
            if (width > height) {
                width = clientWidth;
                height = static_cast<int>(clientWidth / aspect);
                if (height > clientHeight) {
                    height = clientHeight;
                    width = static_cast<int>(clientHeight * aspect);
                }
            } else {
                height = clientHeight;
                width = static_cast<int>(clientHeight * aspect);
                if (width > clientWidth) {
                    width = clientWidth;
                    height = static_cast<int>(clientWidth / aspect);
                }
            }
        } else {
            width = clientWidth;
            height = clientHeight;
        }
    }
    TRect rect = Rect(0, 0, width, height);
    if (m_center)
        (void)OffsetRect(&rect, (clientWidth - width) / 2, (clientHeight - height) / 2);
    return rect;
}

void TImage::Paint()
{
    if (TGraphic* graphic = m_picture->Graphic())
        TGraphicControl::Canvas()->StretchDraw(DestRect(), graphic);
}

void TImage::PictureChanged(TObject*)
{
    if (m_autoSize && m_picture->Width() > 0 && m_picture->Height() > 0)
        SetBounds(Left(), Top(), m_picture->Width(), m_picture->Height());
    TControlStyle style = ControlStyle();
    style.Exclude(csOpaque);
    if (TGraphic* graphic = m_picture->Graphic()) {
        // Icons are always see-through; other pictures follow the control.
        if (!dynamic_cast<TIcon*>(graphic) && graphic->Transparent() != m_transparent)
            graphic->SetTransparent(m_transparent); // comes back here through OnChange
        const TRect dest = DestRect();
        if (!graphic->Transparent() && dest.left <= 0 && dest.top <= 0 && dest.right >= Width() &&
            dest.bottom >= Height())
            style.Include(csOpaque);
    }
    SetControlStyle(style);
    Invalidate();
}

void RegisterImageClasses() { RegisterClass(TImage::StaticClass()); }
