#pragma once

#include "platform/classlib/forms/Controls.h"

#include <memory>

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
enum TBevelStyle { bsLowered, bsRaised };
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };

[[nodiscard]] const TTypeInfo& ShapeTypeTypeInfo();
[[nodiscard]] const TTypeInfo& BevelStyleTypeInfo();
[[nodiscard]] const TTypeInfo& BevelShapeTypeInfo();

// A figure drawn with its pen and filled with its brush, inset by half the pen width so that the
// outline stays inside the control; squares, rounded squares and circles are centred.
class TShape : public TGraphicControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TShape(TComponent* owner);
    ~TShape() override;

    [[nodiscard]] TPen* Pen() const { return m_pen.get(); }
    void SetPen(TPen* pen) { m_pen->Assign(pen); }
    [[nodiscard]] TBrush* Brush() const { return m_brush.get(); }
    void SetBrush(TBrush* brush) { m_brush->Assign(brush); }
    [[nodiscard]] TShapeType Shape() const { return m_shape; }
    void SetShape(TShapeType shape);

protected:
    void Paint() override;

private:
    void StyleChanged(TObject*) { Invalidate(); }

    std::unique_ptr<TPen> m_pen;
    std::unique_ptr<TBrush> m_brush;
    TShapeType m_shape = stRectangle;
};

// The classic etched box, frame or line in the button shadow and highlight colours.
class TBevel : public TGraphicControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TBevel(TComponent* owner);

    [[nodiscard]] TBevelShape Shape() const { return m_shape; }
    void SetShape(TBevelShape shape);
    [[nodiscard]] TBevelStyle Style() const { return m_style; }
    void SetStyle(TBevelStyle style);

protected:
    void Paint() override;

private:
    TBevelShape m_shape = bsBox;
    TBevelStyle m_style = bsLowered;
};

// Makes TShape and TBevel known to form data.
void RegisterShapeClasses();
