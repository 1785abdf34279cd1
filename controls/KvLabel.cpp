#include "controls/KvLabel.h"

#include "controls/KvBlinkingControlsList.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"

#include <cmath>
#include <numbers>

namespace {

const TTypeInfo& WordTypeInfo()
{
    static const TTypeInfo info = RangeTypeInfo("Word", 0, 65535);
    return info;
}

void DescribeKvLabel(TClassBuilder& c)
{
    using P = TKvFramedBorderProperty;
    c.String("About", &TKvLabel::About, &TKvLabel::SetAbout).Stored(false);
    // Angle before Rotation: a stored angle with its rotation reads back as written.
    c.Integer("Angle", &TKvLabel::Angle, &TKvLabel::SetAngle).Default(0);
    c.Enum("Rotation", RotationTypeInfo(), &TKvLabel::Rotation, &TKvLabel::SetRotation).Default(roNone);
    c.Enum("CenterPoint", CenterPointTypeInfo(), &TKvLabel::CenterPoint, &TKvLabel::SetCenterPoint)
        .Default(cpCenter);
    c.Enum("TextStyle", TextStyleTypeInfo(), &TKvLabel::TextStyle, &TKvLabel::SetTextStyle).Default(tsNormal);
    c.Boolean("LightTextStyle", &TKvLabel::LightTextStyle, &TKvLabel::SetLightTextStyle).Default(false);
    c.Ordinal("HighlightColor", ColorTypeInfo(), &TKvLabel::HighlightColor, &TKvLabel::SetHighlightColor)
        .Default(clBtnHighlight);
    c.Ordinal("ShadowColor", ColorTypeInfo(), &TKvLabel::ShadowColor, &TKvLabel::SetShadowColor)
        .Default(clBtnShadow);
    c.Integer("ShadowDepth", &TKvLabel::ShadowDepth, &TKvLabel::SetShadowDepth).Default(2);
    c.Integer("TextMargin", &TKvLabel::TextMargin, &TKvLabel::SetTextMargin).Default(0);
    c.Enum("CondenseCaption", CondenseCaptionTypeInfo(), &TKvLabel::CondenseCaption, &TKvLabel::SetCondenseCaption)
        .Default(ccNone);
    c.Boolean("Blinking", &TKvLabel::Blinking, &TKvLabel::SetBlinking).Default(false);
    c.Ordinal("BlinkColor", ColorTypeInfo(), &TKvLabel::BlinkColor, &TKvLabel::SetBlinkColor).Default(clHighlight);
    c.Ordinal("BlinkIntervalOn", WordTypeInfo(), &TKvLabel::BlinkIntervalOn, &TKvLabel::SetBlinkIntervalOn)
        .Default(500);
    c.Ordinal("BlinkIntervalOff", WordTypeInfo(), &TKvLabel::BlinkIntervalOff, &TKvLabel::SetBlinkIntervalOff)
        .Default(500);
    c.Boolean("FlyByEnabled", &TKvLabel::FlyByEnabled, &TKvLabel::SetFlyByEnabled).Default(false);
    c.Ordinal("FlyByColor", ColorTypeInfo(), &TKvLabel::FlyByColor, &TKvLabel::SetFlyByColor).Default(clHighlight);
    PublishFramedBorders<TKvLabel>(c, {P::BorderOuter, P::BorderInner, P::BorderSides});
    c.Integer("BorderWidth", &TKvLabel::BorderWidth, &TKvLabel::SetBorderWidth).Default(0);
    c.Integer("BevelWidth", &TKvLabel::BevelWidth, &TKvLabel::SetBevelWidth).Default(1);
    c.Ordinal("BorderColor", ColorTypeInfo(), &TKvLabel::BorderColor, &TKvLabel::SetBorderColor).Default(clBtnFace);
    PublishFramedBorders<TKvLabel>(c, {P::BorderHighlight, P::BorderShadow, P::FlatColor, P::FlatColorAdjustment});
    c.Ordinal("Color", ColorTypeInfo(), &TControl::Color, &TControl::SetColor)
        .Default(clBtnFace)
        .StoredWhen(&TControl::IsColorStored);
    PublishFramedBorders<TKvLabel>(c, {P::FrameController, P::FrameControllerNotifications});
    c.Event("OnMouseEnter", &TKvLabel::OnMouseEnter, &TKvLabel::SetOnMouseEnter);
    c.Event("OnMouseLeave", &TKvLabel::OnMouseLeave, &TKvLabel::SetOnMouseLeave);
}

// What a frame takes from a side of the rectangle. Measuring for auto size leaves out the bold
// and rounded flat frames, which are drawn over the text's margin.
int FrameExtent(TFrameStyleEx style, int bevelWidth, bool measuring)
{
    if (measuring && (style == fsFlatBold || style == fsFlatRounded))
        return 0;
    return FrameStyleWidth(style, bevelWidth);
}

// Grows only the right and bottom edges: one side's share for each chosen side.
void GrowSides(TRect& rect, TSides sides, int by)
{
    rect.right += by * ((sides.Contains(sdLeft) ? 1 : 0) + (sides.Contains(sdRight) ? 1 : 0));
    rect.bottom += by * ((sides.Contains(sdTop) ? 1 : 0) + (sides.Contains(sdBottom) ? 1 : 0));
}

int Nearest(double value) { return static_cast<int>(std::nearbyint(value)); }

// Keeps a new value; false when it is the one already kept.
template <class T>
bool Store(T& member, T value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvLabel, TLabel, ComponentCreator<TKvLabel>, DescribeKvLabel)

const TTypeInfo& RotationTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TRotation", {"roNone", "roFlat", "roCurve"});
    return info;
}

const TTypeInfo& CenterPointTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TCenterPoint", {"cpUpperLeft", "cpUpperCenter", "cpUpperRight", "cpLeftCenter", "cpCenter",
                                             "cpRightCenter", "cpLowerLeft", "cpLowerCenter", "cpLowerRight"});
    return info;
}

const TTypeInfo& CondenseCaptionTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvCondenseCaption", {"ccNone", "ccAtEnd", "ccWithinPath"});
    return info;
}

void RegisterKvLabelClasses() { RegisterClass(TKvLabel::StaticClass()); }

TKvLabel::TKvLabel(TComponent* owner) : TLabel(owner), TKvFramedBorders(*this, fsNone)
{
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    m_initialising = true;
    SetColor(clBtnFace);
    SetParentColor(true);
    m_initialising = false;
    m_fontColor = m_currentColor = Font()->Color();
    TKvBlinkingControlsList::Shared().Add(this);
}

TKvLabel::~TKvLabel()
{
    if (TKvBlinkingControlsList* list = TKvBlinkingControlsList::SharedIfMade()) {
        list->Remove(this);
        TKvBlinkingControlsList::ReleaseSharedIfEmpty();
    }
}

// ---- Properties ----------------------------------------------------------------------------------

void TKvLabel::SetAngle(int angle)
{
    // A negative angle is taken one turn on, once: -90 is 270 but -450 stays -90.
    angle = angle < 0 ? 360 + angle : angle % 360;
    if (angle == m_angle)
        return;
    m_angle = angle;
    if (angle != 0) {
        if (!IsLoading())
            TurnableFont();
        if (m_rotation == roNone)
            m_rotation = roFlat;
    }
    AdjustBounds();
    Invalidate();
}

void TKvLabel::SetRotation(TRotation rotation)
{
    if (rotation == m_rotation)
        return;
    if (rotation != roNone && !IsLoading())
        TurnableFont();
    m_rotation = rotation;
    if (rotation == roNone || rotation == roFlat)
        SetAngle(0);
    if (rotation == roFlat)
        m_centerPoint = cpCenter;
    Invalidate();
}

void TKvLabel::TurnableFont()
{
    if (!FontIsTrueType(*Font()))
        Font()->SetName("Verdana");
}

void TKvLabel::SetCenterPoint(TCenterPoint value)
{
    if (Store(m_centerPoint, value))
        Invalidate();
}

void TKvLabel::SetTextStyle(TTextStyle value)
{
    if (Store(m_textStyle, value))
        Invalidate();
}

void TKvLabel::SetLightTextStyle(bool value)
{
    if (Store(m_lightTextStyle, value))
        Invalidate();
}

void TKvLabel::SetHighlightColor(TColor value)
{
    if (Store(m_highlightColor, value))
        Invalidate();
}

void TKvLabel::SetShadowColor(TColor value)
{
    if (Store(m_shadowColor, value))
        Invalidate();
}

void TKvLabel::SetShadowDepth(int value)
{
    if (Store(m_shadowDepth, value))
        Invalidate();
}

void TKvLabel::SetTextMargin(int value)
{
    if (Store(m_textMargin, value))
        Invalidate();
}

void TKvLabel::SetBlinkColor(TColor value)
{
    if (Store(m_blinkColor, value))
        Invalidate();
}

void TKvLabel::SetFlyByColor(TColor value)
{
    if (Store(m_flyByColor, value))
        Invalidate();
}

void TKvLabel::SetBorderColor(TColor value)
{
    if (Store(m_borderColor, value))
        Invalidate();
}

void TKvLabel::SetBorderWidth(int value)
{
    if (Store(m_borderWidth, value)) {
        AdjustBounds();
        Invalidate();
    }
}

void TKvLabel::SetBevelWidth(int value)
{
    if (Store(m_bevelWidth, value)) {
        AdjustBounds();
        Invalidate();
    }
}

void TKvLabel::SetCondenseCaption(TKvCondenseCaption condense)
{
    if (condense == m_condenseCaption)
        return;
    m_condenseCaption = condense;
    if (condense != ccNone)
        SetAutoSize(false);
    Invalidate();
}

void TKvLabel::SetBlinking(bool blinking)
{
    if (blinking == m_blinking)
        return;
    m_blinking = blinking;
    if (!blinking) {
        m_blinkOn = false;
        m_currentColor = m_fontColor;
        Repaint();
    }
}

// The intervals are the shared list's, so they are common to every blinking control; the list
// lives as long as any label does.
int TKvLabel::BlinkIntervalOn() const { return static_cast<int>(TKvBlinkingControlsList::Shared().IntervalOn()); }

void TKvLabel::SetBlinkIntervalOn(int interval)
{
    TKvBlinkingControlsList::Shared().SetIntervalOn(static_cast<unsigned>(interval));
}

int TKvLabel::BlinkIntervalOff() const { return static_cast<int>(TKvBlinkingControlsList::Shared().IntervalOff()); }

void TKvLabel::SetBlinkIntervalOff(int interval)
{
    TKvBlinkingControlsList::Shared().SetIntervalOff(static_cast<unsigned>(interval));
}

// ---- Frame controller ----------------------------------------------------------------------------

void TKvLabel::FramedBordersChanged(TKvFramedBorderChange change)
{
    // The frames' extent changes the size the label takes for its caption.
    if (change == TKvFramedBorderChange::Frames)
        AdjustBounds();
    Invalidate();
}

bool TKvLabel::GetInterface(const TGUID& iid, void*& object)
{
    return IKvFrameControllerClient::Answer(*this, iid, object) || TLabel::GetInterface(iid, object);
}

void TKvLabel::Notification(TComponent* component, TOperation operation)
{
    TLabel::Notification(component, operation);
    FrameControllerNotification(component, operation);
}

void TKvLabel::SetFlyByEnabled(bool enabled)
{
    if (enabled == m_flyByEnabled)
        return;
    m_flyByEnabled = enabled;
    if (!enabled && m_flyByApplied) {
        m_flyByApplied = false;
        Font()->SetColor(m_colorBeforeFlyBy);
    }
    Invalidate();
}

void TKvLabel::UpdateBlinkState(bool on)
{
    m_blinkOn = on;
    m_currentColor = on ? m_blinkColor : m_fontColor;
    Refresh();
}

void TKvLabel::SetFontColours(TColor color)
{
    m_fontColor = color;
    if (!m_blinkOn)
        m_currentColor = color;
}

// ---- Border extents and auto size ----------------------------------------------------------------

void TKvLabel::DeflateForBorders(TRect& rect, bool withBorderWidth) const
{
    if (withBorderWidth)
        ShrinkSides(rect, BorderSides(), m_borderWidth);
    ShrinkSides(rect, BorderSides(), FrameExtent(BorderOuter(), m_bevelWidth, false));
    ShrinkSides(rect, BorderSides(), FrameExtent(BorderInner(), m_bevelWidth, false));
}

void TKvLabel::InflateForBorders(TRect& rect) const
{
    GrowSides(rect, BorderSides(), FrameExtent(BorderOuter(), m_bevelWidth, true));
    GrowSides(rect, BorderSides(), m_borderWidth);
    GrowSides(rect, BorderSides(), FrameExtent(BorderInner(), m_bevelWidth, true));
    if (m_rotation == roNone && m_textStyle == tsShadow) {
        rect.right += m_shadowDepth;
        rect.bottom += m_shadowDepth;
    }
    if (m_rotation != roFlat || m_angle == 0 || m_angle == 180)
        return;
    if (m_textStyle == tsShadow) {
        rect.right += m_shadowDepth / 2;
        rect.bottom += m_shadowDepth / 2;
    }
    double a = (m_angle % 90) * std::numbers::pi / 180;
    if (m_angle == 90 || m_angle == 270)
        a += std::numbers::pi / 2;
    const double w = rect.right - rect.left;
    const double h = rect.bottom - rect.top;
    rect.right = rect.left + Nearest(w * std::cos(a) + h * std::sin(a));
    rect.bottom = rect.top + Nearest(w * std::sin(a) + h * std::cos(a));
}

UINT TKvLabel::TextFlags() const
{
    constexpr UINT ALIGNMENT[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    constexpr UINT CONDENSE[] = {0, DT_END_ELLIPSIS, DT_PATH_ELLIPSIS};
    return ALIGNMENT[Alignment()] | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0U) |
           (ShowAccelChar() ? 0U : DT_NOPREFIX) | CONDENSE[m_condenseCaption];
}

void TKvLabel::AdjustBounds()
{
    if (!AutoSize() || ComponentState().Contains(csReading))
        return;
    TRect rect = ClientRect();
    DeflateForBorders(rect, true);
    OffsetRect(&rect, -rect.left, -rect.top);
    const std::string caption = GetLabelText();
    // An empty caption still measures one line high.
    const std::string text = caption.empty() ? std::string(1, ' ') : caption;
    const HDC screen = GetDC(nullptr);
    {
        TCanvas canvas;
        canvas.SetHandle(screen);
        canvas.Font()->Assign(Font());
        (void)DrawTextA(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &rect,
                        (TextFlags() & ~static_cast<UINT>(DT_RIGHT | DT_CENTER)) | DT_CALCRECT);
        canvas.SetHandle(nullptr);
    }
    (void)ReleaseDC(nullptr, screen);
    InflateForBorders(rect);
    const int width = rect.right - rect.left;
    const int left = Alignment() == taRightJustify ? Left() + Width() - width : Left();
    SetBounds(left, Top(), width, rect.bottom - rect.top);
}

// ---- Messages and life cycle ---------------------------------------------------------------------

void TKvLabel::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case KM_BLINKQUERY:
        TLabel::Dispatch(message);
        message.Result = m_blinking ? 1 : 0;
        return;
    case KM_BLINKTICK:
        TLabel::Dispatch(message);
        if (m_blinking)
            UpdateBlinkState(message.WParam != 0);
        return;
    case CM_FONTCHANGED:
        TLabel::Dispatch(message);
        if (!IsLoading()) {
            if (!m_blinking)
                m_fontColor = m_currentColor = Font()->Color();
            if (m_angle != 0 && !FontIsTrueType(*Font()))
                SetAngle(0);
        }
        return;
    case CM_TEXTCHANGED:
        TLabel::Dispatch(message);
        Repaint();
        return;
    case CM_MOUSEENTER:
        if (m_flyByEnabled && !m_flyByApplied) {
            m_colorBeforeFlyBy = Font()->Color();
            m_flyByApplied = true;
            Font()->SetColor(m_flyByColor);
        }
        TLabel::Dispatch(message);
        m_onMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        if (m_flyByApplied) {
            m_flyByApplied = false;
            Font()->SetColor(m_colorBeforeFlyBy);
        }
        TLabel::Dispatch(message);
        m_onMouseLeave(this);
        return;
    case CM_PARENTCOLORCHANGED:
        if (m_initialising)
            return;
        break;
    default:
        break;
    }
    TLabel::Dispatch(message);
}

void TKvLabel::Loaded()
{
    TLabel::Loaded();
    if (m_rotation == roNone && m_angle != 0)
        m_rotation = roFlat;
    if (m_rotation != roNone)
        TurnableFont();
    m_blinkOn = false;
    SetFontColours(Font()->Color());
}

// Older form data carried the border sides under another name; it is read and dropped.
void TKvLabel::DefineProperties(TFiler& filer)
{
    TLabel::DefineProperties(filer);
    filer.DefineProperty("FrameSides", [](TReader& reader) { reader.SkipValue(); }, nullptr, false);
}
