#pragma once

#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

[[nodiscard]] const TTypeInfo& BevelCutTypeInfo();

// A container with 3-D frames: the outer bevel, BorderWidth pixels in the panel's colour, the
// inner bevel, each inside the last; children are aligned inside all three. The caption is drawn
// centred vertically, aligned by Alignment.
class TCustomPanel : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomPanel(TComponent* owner);
    ~TCustomPanel() override;

    [[nodiscard]] TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut bevel);
    [[nodiscard]] TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut bevel);
    [[nodiscard]] int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    [[nodiscard]] int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    // bsSingle adds a one-pixel window border.
    [[nodiscard]] TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    // The parent's background shows through the face instead of the panel's colour.
    [[nodiscard]] bool ParentBackground() const { return ControlStyle().Contains(csParentBackground); }
    void SetParentBackground(bool parentBackground);
    // Resizing repaints the whole panel (the caption and the frames move with the size).
    [[nodiscard]] bool FullRepaint() const { return m_fullRepaint; }
    void SetFullRepaint(bool fullRepaint) { m_fullRepaint = fullRepaint; }

protected:
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(TRect& rect) const override;
    void Paint() override;
    void Dispatch(TMessage& message) override;

private:
    void Changed();

    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    TBorderStyle m_borderStyle = bsNone;
    TAlignment m_alignment = taCenter;
    bool m_fullRepaint = true;
};

class TPanel : public TCustomPanel {
    CLASSLIB_DECLARE_CLASS;
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

void RegisterPanelClasses();
