#pragma once

#include "controls/KvFramedBorders.h"
#include "platform/classlib/forms/Controls.h"

// A windowless rectangle that shows only frames: an outer frame, a border ring and an inner
// frame, each on the chosen sides. A frame controller may restyle it.
class TKvBorder : public TGraphicControl, public TKvFramedBorders {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvBorder(TComponent* owner);

    [[nodiscard]] int BorderWidth() const { return m_borderWidth; }
    virtual void SetBorderWidth(int width);
    [[nodiscard]] int BevelWidth() const { return m_bevelWidth; }
    virtual void SetBevelWidth(int width);
    [[nodiscard]] TColor BorderColor() const { return m_borderColor; }
    virtual void SetBorderColor(TColor color);
    [[nodiscard]] const TNotifyEvent& OnMouseEnter() const { return m_onMouseEnter; }
    void SetOnMouseEnter(const TNotifyEvent& handler) { m_onMouseEnter = handler; }
    [[nodiscard]] const TNotifyEvent& OnMouseLeave() const { return m_onMouseLeave; }
    void SetOnMouseLeave(const TNotifyEvent& handler) { m_onMouseLeave = handler; }
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string&) {}

    // The client area is what the frames leave inside.
    [[nodiscard]] TRect ClientRect() const override;
    bool GetInterface(const TGUID& iid, void*& object) override;

protected:
    // Shrinks `rect` by the border ring and both frames on their sides; an inverted result
    // becomes empty at the origin.
    virtual void AdjustForBorders(TRect& rect) const;
    // The colour the frames treat as the control's own.
    [[nodiscard]] virtual TColor GetInteriorColor() const;
    void Paint() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void FramedBordersChanged(TKvFramedBorderChange change) override;

private:
    // Stores a changed value, then repaints.
    template <class T>
    void ChangeAndRepaint(T& field, T value)
    {
        if (value == field)
            return;
        field = value;
        Repaint();
    }

    int m_borderWidth = 0;
    int m_bevelWidth = 1;
    TColor m_borderColor = clBtnFace;
    TNotifyEvent m_onMouseEnter;
    TNotifyEvent m_onMouseLeave;
};
