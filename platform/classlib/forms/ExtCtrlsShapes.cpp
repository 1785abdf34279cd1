#include "platform/classlib/forms/ExtCtrlsShapes.h"

#include <algorithm>
#include <array>

namespace {

void DescribeShape(TClassBuilder& c)
{
    c.Object("Brush", &TShape::Brush, &TShape::SetBrush);
    c.Object("Pen", &TShape::Pen, &TShape::SetPen);
    c.Enum("Shape", ShapeTypeTypeInfo(), &TShape::Shape, &TShape::SetShape).Default(stRectangle);
}

void DescribeBevel(TClassBuilder& c)
{
    c.Enum("Shape", BevelShapeTypeInfo(), &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
    c.Enum("Style", BevelStyleTypeInfo(), &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
}

} // namespace

const TTypeInfo& ShapeTypeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TShapeType", {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"});
    return info;
}

const TTypeInfo& BevelStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TBevelStyle", {"bsLowered", "bsRaised"});
    return info;
}

const TTypeInfo& BevelShapeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"});
    return info;
}

CLASSLIB_IMPLEMENT_CLASS(TShape, TGraphicControl, ComponentCreator<TShape>, DescribeShape)
CLASSLIB_IMPLEMENT_CLASS(TBevel, TGraphicControl, ComponentCreator<TBevel>, DescribeBevel)

// ---- TShape ----------------------------------------------------------------------------------

TShape::TShape(TComponent* owner)
    : TGraphicControl(owner), m_pen(std::make_unique<TPen>()), m_brush(std::make_unique<TBrush>())
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(0, 0, 65, 65);
    m_pen->SetOnChange(TNotifyEvent(this, &TShape::StyleChanged));
    m_brush->SetOnChange(TNotifyEvent(this, &TShape::StyleChanged));
}

TShape::~TShape()
{
    m_pen->SetOnChange({});
    m_brush->SetOnChange({});
}

void TShape::SetShape(TShapeType shape)
{
    if (shape == m_shape)
        return;
    m_shape = shape;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetPen(m_pen.get());
    canvas->SetBrush(m_brush.get());
    const int penWidth = m_pen->Width();
    int x = penWidth / 2;
    int y = x;
    int width = Width() - penWidth + 1;
    int height = Height() - penWidth + 1;
    if (penWidth == 0) {
        --width;
        --height;
    }
    const int side = std::min(width, height);
    if (m_shape == stSquare || m_shape == stRoundSquare || m_shape == stCircle) {
        x += (width - side) / 2;
        y += (height - side) / 2;
        width = side;
        height = side;
    }
    switch (m_shape) {
    case stRectangle:
    case stSquare:
        canvas->Rectangle(x, y, x + width, y + height);
        break;
    case stRoundRect:
    case stRoundSquare:
        canvas->RoundRect(x, y, x + width, y + height, side / 4, side / 4);
        break;
    case stEllipse:
    case stCircle:
        canvas->Ellipse(x, y, x + width, y + height);
        break;
    }
}

// ---- TBevel ----------------------------------------------------------------------------------

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape shape)
{
    if (shape == m_shape)
        return;
    m_shape = shape;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    TColor first = m_style == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = m_style == bsLowered ? clBtnHighlight : clBtnShadow;
    // The top-left sides in the first colour, the bottom-right sides in the second.
    const auto bevelRect = [&](const TRect& r) {
        canvas->Pen()->SetColor(first);
        const std::array<TPoint, 3> topLeft{TPoint{r.left, r.bottom}, TPoint{r.left, r.top}, TPoint{r.right, r.top}};
        canvas->Polyline(topLeft);
        canvas->Pen()->SetColor(second);
        const std::array<TPoint, 3> bottomRight{TPoint{r.right, r.top}, TPoint{r.right, r.bottom},
                                                TPoint{r.left, r.bottom}};
        canvas->Polyline(bottomRight);
    };
    const auto bevelLine = [&](TColor color, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    const int width = Width();
    const int height = Height();
    switch (m_shape) {
    case bsBox:
        bevelRect(Rect(0, 0, width - 1, height - 1));
        break;
    case bsFrame: {
        const TColor outer = first;
        first = second;
        bevelRect(Rect(1, 1, width - 1, height - 1));
        first = outer;
        second = outer;
        bevelRect(Rect(0, 0, width - 2, height - 2));
        break;
    }
    case bsTopLine:
        bevelLine(first, 0, 0, width, 0);
        bevelLine(second, 0, 1, width, 1);
        break;
    case bsBottomLine:
        bevelLine(first, 0, height - 2, width, height - 2);
        bevelLine(second, 0, height - 1, width, height - 1);
        break;
    case bsLeftLine:
        bevelLine(first, 0, 0, 0, height);
        bevelLine(second, 1, 0, 1, height);
        break;
    case bsRightLine:
        bevelLine(first, width - 2, 0, width - 2, height);
        bevelLine(second, width - 1, 0, width - 1, height);
        break;
    case bsSpacer:
        break;
    }
}

void RegisterShapeClasses() { RegisterClasses({TShape::StaticClass(), TBevel::StaticClass()}); }
