#pragma once

#include "controls/KvFrameController.h"
#include "platform/classlib/forms/Controls.h"

// A windowless rectangle that shows only frames: an outer frame, a border ring and an inner
// frame, each on the chosen sides. A frame controller may restyle it.
class TKvBorder : public TGraphicControl, public IKvFrameControllerClient {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvBorder(TComponent* owner);

    [[nodiscard]] TFrameStyleEx BorderOuter() const { return m_borderOuter; }
    virtual void SetBorderOuter(TFrameStyleEx style);
    [[nodiscard]] TFrameStyleEx BorderInner() const { return m_borderInner; }
    virtual void SetBorderInner(TFrameStyleEx style);
    [[nodiscard]] int BorderWidth() const { return m_borderWidth; }
    virtual void SetBorderWidth(int width);
    [[nodiscard]] int BevelWidth() const { return m_bevelWidth; }
    virtual void SetBevelWidth(int width);
    [[nodiscard]] TSides BorderSides() const { return m_borderSides; }
    virtual void SetBorderSides(TSides sides);
    [[nodiscard]] TColor BorderColor() const { return m_borderColor; }
    virtual void SetBorderColor(TColor color);
    [[nodiscard]] TColor BorderHighlight() const { return m_borderHighlight; }
    virtual void SetBorderHighlight(TColor color);
    [[nodiscard]] TColor BorderShadow() const { return m_borderShadow; }
    virtual void SetBorderShadow(TColor color);
    [[nodiscard]] TColor FlatColor() const { return m_flatColor; }
    virtual void SetFlatColor(TColor color);
    [[nodiscard]] int FlatColorAdjustment() const { return m_flatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int adjustment);
    [[nodiscard]] TKvFrameController* FrameController() const { return m_frameController.Controller(); }
    virtual void SetFrameController(TKvFrameController* controller);
    [[nodiscard]] TKvFrameControllerNotifications FrameControllerNotifications() const { return m_notifications; }
    void SetFrameControllerNotifications(TKvFrameControllerNotifications notifications)
    {
        m_notifications = notifications;
    }
    [[nodiscard]] const TNotifyEvent& OnMouseEnter() const { return m_onMouseEnter; }
    void SetOnMouseEnter(const TNotifyEvent& handler) { m_onMouseEnter = handler; }
    [[nodiscard]] const TNotifyEvent& OnMouseLeave() const { return m_onMouseLeave; }
    void SetOnMouseLeave(const TNotifyEvent& handler) { m_onMouseLeave = handler; }
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string&) {}

    // The client area is what the frames leave inside.
    [[nodiscard]] TRect ClientRect() const override;
    // Takes the controller's frame style, sides and colours, when it shows frames.
    void FrameControllerChanged() override;
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

    TFrameStyleEx m_borderOuter = fsGroove;
    TFrameStyleEx m_borderInner = fsNone;
    int m_borderWidth = 0;
    int m_bevelWidth = 1;
    TSides m_borderSides = AllSides;
    TColor m_borderColor = clBtnFace;
    TColor m_borderHighlight = clBtnHighlight;
    TColor m_borderShadow = clBtnShadow;
    TColor m_flatColor = clBtnShadow;
    int m_flatColorAdjustment = 30;
    TKvFrameControllerLink m_frameController{*this};
    TKvFrameControllerNotifications m_notifications = AllFrameControllerNotifications;
    TNotifyEvent m_onMouseEnter;
    TNotifyEvent m_onMouseLeave;
};
