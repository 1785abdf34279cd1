#include "controls/KvProgressBar.h"

#include "platform/rtl/SysMath.h"

#include <algorithm>
#include <limits>

namespace {

constexpr TColor DefaultBackColorStop = clBtnFace;
constexpr TColor DefaultBarColorStop = clHotLight;

// A gradient stop of clDefault is the stop the bar has by default, never the black that the
// marker's own value would give.
TColor GradientStop(TColor stop, TColor defaultStop) { return stop == clDefault ? defaultStop : stop; }

void DescribeProgressBar(TClassBuilder& c)
{
    using Bar = TKvCustomProgressBar;
    using P = TKvFramedBorderProperty;
    c.String("About", &Bar::About, &Bar::SetAbout).Stored(false);
    c.Ordinal("BackColor", ColorTypeInfo(), &Bar::BackColor, &Bar::SetBackColor).Default(clWhite);
    c.Ordinal("BackColorStop", ColorTypeInfo(), &Bar::BackColorStop, &Bar::SetBackColorStop).Default(DefaultBackColorStop);
    c.Ordinal("BarColor", ColorTypeInfo(), &Bar::BarColor, &Bar::SetBarColor).Default(clHighlight);
    c.Ordinal("BarColorStop", ColorTypeInfo(), &Bar::BarColorStop, &Bar::SetBarColorStop).Default(DefaultBarColorStop);
    c.Enum("BarStyle", BarStyleTypeInfo(), &Bar::BarStyle, &Bar::SetBarStyle).Default(bsTraditional);
    c.Integer("BevelWidth", &Bar::BevelWidth, &Bar::SetBevelWidth).Default(1);
    c.Ordinal("BorderColor", ColorTypeInfo(), &Bar::BorderColor, &Bar::SetBorderColor).Default(clBtnFace);
    PublishFramedBorders<Bar>(c, {P::BorderInner, P::BorderOuter}, fsLowered);
    c.Integer("BorderWidth", &Bar::BorderWidth, &Bar::SetBorderWidth).Default(0);
    PublishFramedBorders<Bar>(c, {P::FlatColor, P::FlatColorAdjustment, P::FrameController,
                                  P::FrameControllerNotifications});
    c.Enum("GradientDirection", GradientDirectionTypeInfo(), &Bar::GradientDirection, &Bar::SetGradientDirection)
        .Default(gdHorizontalCenter);
    c.Integer("InteriorOffset", &Bar::InteriorOffset, &Bar::SetInteriorOffset).Default(0);
    c.Integer("NumSegments", &Bar::NumSegments, &Bar::SetNumSegments).Default(20);
    c.Enum("Orientation", OrientationTypeInfo(), &Bar::Orientation, &Bar::SetOrientation).Default(orHorizontal);
    // The total comes first: a count read before it would be cut down to the old total.
    c.Integer("TotalParts", &Bar::TotalParts, &Bar::SetTotalParts).Default(0);
    c.Integer("PartsComplete", &Bar::PartsComplete, &Bar::SetPartsComplete).Default(0);
    c.Integer("Percent", &Bar::Percent, &Bar::SetPercent).Default(0);
    c.Boolean("ShowPercent", &Bar::ShowPercent, &Bar::SetShowPercent).Default(true);
    c.Boolean("ThemeAware", &Bar::ThemeAware, &Bar::SetThemeAware).Default(true);
    c.Event("OnChange", &Bar::OnChange, &Bar::SetOnChange);
}

constexpr std::uint32_t MaxParts = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvCustomProgressBar, TGraphicControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TKvProgressBar, TKvCustomProgressBar, ComponentCreator<TKvProgressBar>, DescribeProgressBar)

const TTypeInfo& BarStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TBarStyle", {"bsTraditional", "bsLED", "bsGradient"});
    return info;
}

void RegisterKvProgressBarClass() { RegisterClass(TKvProgressBar::StaticClass()); }

TKvCustomProgressBar::TKvCustomProgressBar(TComponent* owner)
    : TGraphicControl(owner), TKvFramedBorders(*this, fsLowered)
{
    TControlStyle style = ControlStyle();
    style.Include(csOpaque);
    SetControlStyle(style);
    Font()->SetColor(m_barColor);
    SetBounds(Left(), Top(), 200, 24);
}

TKvCustomProgressBar::~TKvCustomProgressBar() = default;

void TKvCustomProgressBar::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    FrameControllerNotification(component, operation);
}

bool TKvCustomProgressBar::GetInterface(const TGUID& iid, void*& object)
{
    return IKvFrameControllerClient::Answer(*this, iid, object) || TGraphicControl::GetInterface(iid, object);
}

void TKvCustomProgressBar::FrameControllerChanged()
{
    const TKvFrameController* controller = FrameController();
    if (!controller || !controller->FrameVisible())
        return;
    const TKvFramedBorderFields fields = ControllerFields();
    const TKvFrameControllerNotifications accepted = FrameControllerNotifications();
    if (accepted.Contains(fcpFrameStyle))
        fields.BorderOuter = controller->FrameStyle();
    if (accepted.Contains(fcpFrameColor)) {
        fields.FlatColor = controller->FrameColor();
        fields.FlatColorAdjustment = 0;
    }
    if (accepted.Contains(fcpColor))
        SetBackColor(controller->Color());
    if (accepted.Contains(fcpParentColor))
        SetParentColor(controller->ParentColor());
    Invalidate();
}

void TKvCustomProgressBar::FramedBordersChanged(TKvFramedBorderChange /*change*/) { Invalidate(); }

template <class T>
void TKvCustomProgressBar::Update(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
}

void TKvCustomProgressBar::SetBackColor(TColor color) { Update(m_backColor, color); }

void TKvCustomProgressBar::SetBarColor(TColor color)
{
    if (color == m_barColor)
        return;
    m_barColor = color;
    Font()->SetColor(color);
    Invalidate();
}

void TKvCustomProgressBar::SetBarStyle(TBarStyle style)
{
    if (style == m_barStyle)
        return;
    m_barStyle = style;
    m_showPercent = style != bsLED;
    m_interiorOffset = style == bsLED ? 1 : 0;
    Invalidate();
}

void TKvCustomProgressBar::SetBevelWidth(int width) { Update(m_bevelWidth, std::max(1, width)); }
void TKvCustomProgressBar::SetBorderColor(TColor color) { Update(m_borderColor, color); }
void TKvCustomProgressBar::SetBorderWidth(int width) { Update(m_borderWidth, std::max(0, width)); }
void TKvCustomProgressBar::SetInteriorOffset(std::uint8_t offset) { Update(m_interiorOffset, offset); }
void TKvCustomProgressBar::SetNumSegments(TSegmentRange count) { Update(m_numSegments, std::clamp(count, 1, 100)); }
void TKvCustomProgressBar::SetOrientation(TOrientation orientation) { Update(m_orientation, orientation); }
void TKvCustomProgressBar::SetShowPercent(bool show) { Update(m_showPercent, show); }
void TKvCustomProgressBar::SetThemeAware(bool aware) { Update(m_themeAware, aware); }
void TKvCustomProgressBar::SetBackColorStop(TColor color) { Update(m_backColorStop, color); }
void TKvCustomProgressBar::SetBarColorStop(TColor color) { Update(m_barColorStop, color); }
void TKvCustomProgressBar::SetGradientDirection(TGradientDirection direction) { Update(m_gradientDirection, direction); }

void TKvCustomProgressBar::SetPercent(std::uint16_t percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    Change();
    Invalidate();
}

void TKvCustomProgressBar::SetPartsComplete(std::uint32_t parts)
{
    parts = std::min(parts, MaxParts);
    if (parts == m_partsComplete)
        return;
    m_partsComplete = std::min(parts, m_totalParts);
    if (IsLoading() || m_totalParts == 0)
        return;
    SetPercent(static_cast<std::uint16_t>(Round(100.0 * m_partsComplete / m_totalParts)));
}

void TKvCustomProgressBar::SetTotalParts(std::uint32_t parts)
{
    if (parts == m_totalParts)
        return;
    m_totalParts = parts;
    if (IsLoading())
        return;
    m_partsComplete = 0;
    SetPercent(0);
}

void TKvCustomProgressBar::Change()
{
    if (m_onChange)
        m_onChange(this, m_percent);
}

void TKvCustomProgressBar::SetBounds(int left, int top, int width, int height)
{
    TGraphicControl::SetBounds(left, top, width, height);
    SetOrientation(height > width ? orVertical : orHorizontal);
}

TRect TKvCustomProgressBar::DrawFrame(TCanvas& canvas) const
{
    TRect rect = ClientRect();
    canvas.Brush()->SetColor(m_borderColor);
    canvas.FillRect(rect);
    TFramedBorders borders;
    borders.BorderOuter = BorderOuter();
    borders.BorderInner = BorderInner();
    borders.BorderWidth = m_borderWidth;
    borders.BevelWidth = m_bevelWidth;
    borders.BorderColor = m_borderColor;
    borders.FlatColor = FlatColor();
    borders.FlatColorAdjustment = FlatColorAdjustment();
    borders.Color = m_backColor;
    borders.ParentColor = Parent() ? Parent()->Color() : clBtnFace;
    borders.SoftInnerFlatBorder = true;
    DrawFramedBorders(canvas, rect, borders);
    if (m_interiorOffset == 0)
        return rect;

    canvas.Brush()->SetStyle(bsClear);
    canvas.Pen()->SetStyle(psInsideFrame);
    canvas.Pen()->SetColor(m_backColor);
    canvas.Pen()->SetWidth(m_interiorOffset);
    canvas.Rectangle(rect);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Brush()->SetStyle(bsSolid);
    InflateRect(&rect, -m_interiorOffset, -m_interiorOffset);
    return rect;
}

void TKvCustomProgressBar::DrawBar(TCanvas& canvas, const TRect& rect) const
{
    switch (m_barStyle) {
    case bsTraditional:
        PaintTraditionalBar(canvas, rect, m_orientation, m_barColor, m_backColor, m_percent, m_showPercent);
        break;
    case bsLED:
        PaintSegmentedBar(canvas, rect, m_orientation, m_barColor, m_backColor, m_numSegments, m_percent);
        break;
    case bsGradient:
        PaintGradientBar(canvas, rect, m_orientation, m_barColor, GradientStop(m_barColorStop, DefaultBarColorStop),
                         m_backColor, GradientStop(m_backColorStop, DefaultBackColorStop), m_gradientDirection,
                         m_percent, m_showPercent);
        break;
    }
}

// Visual styles are never on here, so the bar always takes the classic frame; ThemeAware only
// travels with the form data.
void TKvCustomProgressBar::Paint()
{
    TBitmap image;
    image.SetSize(Width(), Height());
    TCanvas& canvas = *image.Canvas();
    canvas.Font()->Assign(Font());
    const TRect rect = DrawFrame(canvas);
    DrawBar(canvas, rect);
    Canvas()->Draw(0, 0, &image);
}
