#include "platform/classlib/forms/ExtCtrlsPanel.h"

#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <array>

namespace {

void DescribePanel(TClassBuilder& c)
{
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
        .Default(taCenter);
    c.Enum("BevelInner", BevelCutTypeInfo(), &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner).Default(bvNone);
    c.Enum("BevelOuter", BevelCutTypeInfo(), &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
        .Default(bvRaised);
    c.Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
    c.Integer("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
    c.Enum("BorderStyle", BorderStyleTypeInfo(), &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle)
        .Default(bsNone);
    c.Boolean("ParentBackground", &TCustomPanel::ParentBackground, &TCustomPanel::SetParentBackground).Default(false);
    c.Boolean("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
    c.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
}

constexpr UINT ALIGNMENT_FLAGS[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

// `width` nested one-pixel frames, light on the top and left, dark on the bottom and right;
// `rect` shrinks by them.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    canvas.Pen()->SetWidth(1);
    for (int i = 0; i < width; ++i) {
        const int right = rect.right - 1;
        const int bottom = rect.bottom - 1;
        canvas.Pen()->SetColor(topColor);
        const std::array<TPoint, 3> topLeft{TPoint{rect.left, bottom}, TPoint{rect.left, rect.top},
                                            TPoint{right, rect.top}};
        canvas.Polyline(topLeft);
        canvas.Pen()->SetColor(bottomColor);
        const std::array<TPoint, 3> bottomRight{TPoint{right, rect.top}, TPoint{right, bottom},
                                                TPoint{rect.left - 1, bottom}};
        canvas.Polyline(bottomRight);
        InflateRect(&rect, -1, -1);
    }
}

void Bevel(TCanvas& canvas, TRect& rect, TBevelCut cut, int width)
{
    if (cut == bvNone)
        return;
    const bool lowered = cut == bvLowered;
    Frame3D(canvas, rect, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, width);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomPanel, TCustomControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TPanel, TCustomPanel, ComponentCreator<TPanel>, DescribePanel)

const TTypeInfo& BevelCutTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
    return info;
}

void RegisterPanelClasses() { RegisterClass(TPanel::StaticClass()); }

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                  csDoubleClicks, csReplicatable});
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

TCustomPanel::~TCustomPanel() = default;

void TCustomPanel::Changed()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut bevel)
{
    m_bevelInner = bevel;
    Changed();
}

void TCustomPanel::SetBevelOuter(TBevelCut bevel)
{
    m_bevelOuter = bevel;
    Changed();
}

void TCustomPanel::SetBevelWidth(int width)
{
    m_bevelWidth = std::max(1, width);
    Changed();
}

void TCustomPanel::SetBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    Changed();
}

void TCustomPanel::SetBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Invalidate();
}

void TCustomPanel::SetParentBackground(bool parentBackground)
{
    TControlStyle style = ControlStyle();
    if (parentBackground)
        style.Include(csParentBackground);
    else
        style.Exclude(csParentBackground);
    SetControlStyle(style);
    Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (m_borderStyle == bsSingle)
        params.Style |= WS_BORDER;
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& rect) const
{
    TCustomControl::AdjustClientRect(rect);
    int inset = m_borderWidth;
    if (m_bevelOuter != bvNone)
        inset += m_bevelWidth;
    if (m_bevelInner != bvNone)
        inset += m_bevelWidth;
    InflateRect(&rect, -inset, -inset);
}

void TCustomPanel::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    Bevel(canvas, rect, m_bevelOuter, m_bevelWidth);
    Frame3D(canvas, rect, Color(), Color(), m_borderWidth);
    Bevel(canvas, rect, m_bevelInner, m_bevelWidth);
    if (ParentBackground()) {
        const SavedDC saved(canvas.Handle());
        (void)IntersectClipRect(canvas.Handle(), rect.left, rect.top, rect.right, rect.bottom);
        DrawParentBackground(this, canvas.Handle());
    } else {
        canvas.Brush()->SetColor(Color());
        canvas.Brush()->SetStyle(bsSolid);
        canvas.FillRect(rect);
    }
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->Assign(Font());
    const int fontHeight = canvas.TextHeight("W");
    rect.top = (rect.bottom + rect.top - fontHeight) / 2;
    rect.bottom = rect.top + fontHeight;
    const std::string caption = Caption();
    const HDC dc = canvas.Handle();
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, ColorToRGB(Font()->Color()));
    (void)DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &rect,
                    DT_EXPANDTABS | DT_VCENTER | ALIGNMENT_FLAGS[m_alignment]);
}

void TCustomPanel::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    case WM_WINDOWPOSCHANGED:
        if (m_fullRepaint)
            Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}
