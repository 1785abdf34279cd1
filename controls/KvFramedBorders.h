#pragma once

#include "controls/KvCommon.h"
#include "controls/KvFrameController.h"

#include <initializer_list>

// What a framed-border setting changed: the frames' extent (style or sides), their light and
// dark shades, or the flat frame's colour. Each control repaints as much as that needs.
enum class TKvFramedBorderChange { Frames, Shades, Flat };

// The frame settings that a frame controller restyles, shared by the framed controls (border,
// label, progress bar, panel), together with the control's tie to its controller. A control
// derives from it beside its control class and hands its Notification on.
class TKvFramedBorders : public IKvFrameControllerClient {
public:
    TKvFramedBorders(const TKvFramedBorders&) = delete;
    TKvFramedBorders& operator=(const TKvFramedBorders&) = delete;

    [[nodiscard]] TFrameStyleEx BorderOuter() const { return m_borderOuter; }
    virtual void SetBorderOuter(TFrameStyleEx style);
    [[nodiscard]] TFrameStyleEx BorderInner() const { return m_borderInner; }
    virtual void SetBorderInner(TFrameStyleEx style);
    [[nodiscard]] TSides BorderSides() const { return m_borderSides; }
    virtual void SetBorderSides(TSides sides);
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

    // Takes the controller's frame style, sides and colours, when it shows frames.
    void FrameControllerChanged() override;

protected:
    TKvFramedBorders(TControl& control, TFrameStyleEx borderOuter);
    ~TKvFramedBorders() = default;

    // Repaints the control after a setting changed.
    virtual void FramedBordersChanged(TKvFramedBorderChange change) = 0;
    // The control hands on what its Notification hears.
    void FrameControllerNotification(const TComponent* component, TOperation operation)
    {
        m_frameController.Notification(component, operation);
    }
    // The fields a controller's settings go into.
    [[nodiscard]] TKvFramedBorderFields ControllerFields()
    {
        return {m_borderOuter, m_borderSides, m_flatColor, m_flatColorAdjustment, m_borderHighlight, m_borderShadow};
    }

private:
    template <class T>
    void Change(T& field, T value, TKvFramedBorderChange change);

    TControl& m_control;
    TFrameStyleEx m_borderOuter;
    TFrameStyleEx m_borderInner = fsNone;
    TSides m_borderSides = AllSides;
    TColor m_borderHighlight = clBtnHighlight;
    TColor m_borderShadow = clBtnShadow;
    TColor m_flatColor = clBtnShadow;
    int m_flatColorAdjustment = 30;
    TKvFrameControllerLink m_frameController;
    TKvFrameControllerNotifications m_notifications = AllFrameControllerNotifications;
};

// The framed-border settings a control can publish, each under its own name.
enum class TKvFramedBorderProperty {
    BorderOuter, BorderInner, BorderSides, BorderHighlight, BorderShadow, FlatColor, FlatColorAdjustment,
    FrameController, FrameControllerNotifications
};

namespace controls::detail {

// A TKvFramedBorders member seen as one of the control class C, as its property table wants.
template <class C, class M>
auto AsMemberOf(M TKvFramedBorders::*member) -> M C::*
{
    return member;
}

} // namespace controls::detail

// Publishes the given framed-border settings of the control class C, in the order given (the
// order form data is written in); BorderOuter defaults to `outerDefault`.
template <class C>
void PublishFramedBorders(TClassBuilder& c, std::initializer_list<TKvFramedBorderProperty> properties,
                          TFrameStyleEx outerDefault = fsNone)
{
    using F = TKvFramedBorders;
    using P = TKvFramedBorderProperty;
    using controls::detail::AsMemberOf;
    for (const P property : properties) {
        switch (property) {
        case P::BorderOuter:
            c.Enum("BorderOuter", FrameStyleExTypeInfo(), AsMemberOf<C>(&F::BorderOuter),
                   AsMemberOf<C>(&F::SetBorderOuter))
                .Default(outerDefault);
            break;
        case P::BorderInner:
            c.Enum("BorderInner", FrameStyleExTypeInfo(), AsMemberOf<C>(&F::BorderInner),
                   AsMemberOf<C>(&F::SetBorderInner))
                .Default(fsNone);
            break;
        case P::BorderSides:
            c.Set("BorderSides", SidesTypeInfo(), AsMemberOf<C>(&F::BorderSides), AsMemberOf<C>(&F::SetBorderSides))
                .Default(AllSides);
            break;
        case P::BorderHighlight:
            c.Ordinal("BorderHighlight", ColorTypeInfo(), AsMemberOf<C>(&F::BorderHighlight),
                      AsMemberOf<C>(&F::SetBorderHighlight))
                .Default(clBtnHighlight);
            break;
        case P::BorderShadow:
            c.Ordinal("BorderShadow", ColorTypeInfo(), AsMemberOf<C>(&F::BorderShadow),
                      AsMemberOf<C>(&F::SetBorderShadow))
                .Default(clBtnShadow);
            break;
        case P::FlatColor:
            c.Ordinal("FlatColor", ColorTypeInfo(), AsMemberOf<C>(&F::FlatColor), AsMemberOf<C>(&F::SetFlatColor))
                .Default(clBtnShadow);
            break;
        case P::FlatColorAdjustment:
            c.Integer("FlatColorAdjustment", AsMemberOf<C>(&F::FlatColorAdjustment),
                      AsMemberOf<C>(&F::SetFlatColorAdjustment))
                .Default(30);
            break;
        case P::FrameController:
            c.Object("FrameController", AsMemberOf<C>(&F::FrameController), AsMemberOf<C>(&F::SetFrameController));
            break;
        case P::FrameControllerNotifications:
            c.Set("FrameControllerNotifications", FrameControllerNotificationsTypeInfo(),
                  AsMemberOf<C>(&F::FrameControllerNotifications), AsMemberOf<C>(&F::SetFrameControllerNotifications))
                .Default(AllFrameControllerNotifications);
            break;
        }
    }
}
