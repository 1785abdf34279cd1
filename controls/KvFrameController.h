#pragma once

#include "controls/KvCommon.h"
#include "controls/KvRegIniFile.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Interfaces.h"
#include "platform/classlib/forms/Controls.h"

#include <cstdint>
#include <vector>

class TReader;

// One set of frame and colour settings that a whole form of controls follows: every control that
// names the controller in its FrameController property gets the settings pushed to it, either
// through IKvFrameControllerClient or, for a control without it, through its published
// properties of the same names.

// The index of a setting; it is also the bit of that setting in a control's
// FrameControllerNotifications. fcpAll means every setting at once and is no bit.
enum TKvFrameControllerProperty {
    fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpParentColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
    fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference, fcpAll
};
// The sixteen settings a control can accept (fcpColor to fcpFramingPreference).
using TKvFrameControllerPropertyConnection = TKvFrameControllerProperty;
using TKvFrameControllerNotifications = TSet<TKvFrameControllerPropertyConnection>;
inline constexpr TKvFrameControllerNotifications AllFrameControllerNotifications =
    TKvFrameControllerNotifications::FromBits(0xFFFF);

[[nodiscard]] const TTypeInfo& FrameControllerNotificationsTypeInfo();

// What a control implements to read the controller's settings itself when they change. The
// controller reaches it through GetInterface with this IID; the reference counting is the
// component's (none).
class IKvFrameControllerClient {
public:
    static constexpr TGUID IID = TGUID::Parse("{64B1C9EA-C954-428A-95C4-4EA2EB0F1E16}");

    virtual void FrameControllerChanged() = 0;

    // A client's GetInterface starts with this: it answers the client's own IID.
    static bool Answer(IKvFrameControllerClient& client, const TGUID& iid, void*& object)
    {
        if (iid != IID)
            return false;
        object = &client;
        return true;
    }

protected:
    ~IKvFrameControllerClient() = default;
};

class TKvFrameController : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvFrameController(TComponent* owner);
    ~TKvFrameController() override;

    // A control joins (and gets every setting at once) or leaves. Attaching a listed control
    // again does nothing. Controls call these from their FrameController setters and when they
    // go, and ask the controller for free notification.
    void AttachControl(TControl* control);
    void DetachControl(TControl* control);
    [[nodiscard]] bool IsAttached(const TControl* control) const;

    // Nothing is pushed while updates are held; the outermost release pushes everything.
    void HoldUpdates();
    void ReleaseUpdates();

    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;
    void Loaded() override;

    [[nodiscard]] TColor Color() const { return m_color; }
    virtual void SetColor(TColor color);
    [[nodiscard]] bool ParentColor() const { return m_parentColor; }
    virtual void SetParentColor(bool parentColor);
    [[nodiscard]] TColor FlatButtonColor() const { return m_flatButtonColor; }
    virtual void SetFlatButtonColor(TColor color);
    [[nodiscard]] bool FlatButtons() const { return m_flatButtons; }
    virtual void SetFlatButtons(bool flatButtons);
    [[nodiscard]] TColor DisabledColor() const { return m_disabledColor; }
    virtual void SetDisabledColor(TColor color);
    [[nodiscard]] TColor ReadOnlyColor() const { return m_readOnlyColor; }
    virtual void SetReadOnlyColor(TColor color);
    [[nodiscard]] bool ReadOnlyColorOnFocus() const { return m_readOnlyColorOnFocus; }
    virtual void SetReadOnlyColorOnFocus(bool onFocus);
    [[nodiscard]] TColor FocusColor() const { return m_focusColor; }
    virtual void SetFocusColor(TColor color);
    [[nodiscard]] TColor FrameColor() const { return m_frameColor; }
    virtual void SetFrameColor(TColor color);
    [[nodiscard]] TColor FrameHotColor() const { return m_frameHotColor; }
    virtual void SetFrameHotColor(TColor color);
    [[nodiscard]] bool FrameHotTrack() const { return m_frameHotTrack; }
    // Switching hot tracking on shows the frame, on all four sides unless loading.
    virtual void SetFrameHotTrack(bool hotTrack);
    [[nodiscard]] TFrameStyle FrameHotStyle() const { return m_frameHotStyle; }
    virtual void SetFrameHotStyle(TFrameStyle style);
    [[nodiscard]] TSides FrameSides() const { return m_frameSides; }
    virtual void SetFrameSides(TSides sides);
    [[nodiscard]] TFrameStyle FrameStyle() const { return m_frameStyle; }
    virtual void SetFrameStyle(TFrameStyle style);
    [[nodiscard]] bool FrameVisible() const { return m_frameVisible; }
    virtual void SetFrameVisible(bool visible);
    [[nodiscard]] TFramingPreference FramingPreference() const { return m_framingPreference; }
    virtual void SetFramingPreference(TFramingPreference preference);
    [[nodiscard]] TKvRegIniFile* RegIniFile() const { return m_regIniFile; }
    virtual void SetRegIniFile(TKvRegIniFile* regIniFile);

    [[nodiscard]] bool IsColorStored() const { return !m_parentColor; }
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string&) {}

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void PushSetting(TControl& control, TKvFrameControllerProperty index);
    virtual void PushSettingToAll(TKvFrameControllerProperty index);

private:
    // The settings a control accepts: its published FrameControllerNotifications, or all.
    [[nodiscard]] static TKvFrameControllerNotifications NotificationsOf(const TControl& control);
    void CopyByName(TControl& control, TKvFrameControllerProperty index) const;
    // Stores a changed value and pushes it.
    template <class T>
    void Change(T& field, T value, TKvFrameControllerProperty index)
    {
        if (value == field)
            return;
        field = value;
        PushSettingToAll(index);
    }
    void ReadFrameFlat(TReader& reader);
    void ReadFrameFocusStyle(TReader& reader);

    std::vector<TControl*> m_controls;
    int m_updateCount = 0;
    TColor m_color = clWindow;
    bool m_parentColor = false;
    TColor m_flatButtonColor = clBtnFace;
    bool m_flatButtons = true;
    TColor m_disabledColor = clBtnFace;
    TColor m_readOnlyColor = clInfoBk;
    bool m_readOnlyColorOnFocus = false;
    TColor m_focusColor = clWindow;
    TColor m_frameColor = clBtnShadow;
    TColor m_frameHotColor = clBtnShadow;
    bool m_frameHotTrack = false;
    TFrameStyle m_frameHotStyle = fsFlatBold;
    TSides m_frameSides = AllSides;
    TFrameStyle m_frameStyle = fsFlat;
    bool m_frameVisible = false;
    TFramingPreference m_framingPreference = fpXPThemes;
    TKvRegIniFile* m_regIniFile = nullptr;
};

// A control's end of its tie to a frame controller. Joining makes the controller push its
// settings at once; the control leaves when it changes controller and when it goes (with this
// link), and forgets a controller that goes first.
class TKvFrameControllerLink {
public:
    explicit TKvFrameControllerLink(TControl& control) : m_control(control) {}
    ~TKvFrameControllerLink();
    TKvFrameControllerLink(const TKvFrameControllerLink&) = delete;
    TKvFrameControllerLink& operator=(const TKvFrameControllerLink&) = delete;

    [[nodiscard]] TKvFrameController* Controller() const { return m_controller; }
    void Set(TKvFrameController* controller);
    // The control hands on what its Notification hears.
    void Notification(const TComponent* component, TOperation operation);

private:
    TControl& m_control;
    TKvFrameController* m_controller = nullptr;
};

// The parts of a framed control (border, label, panel) that follow a controller's settings.
struct TKvFramedBorderFields {
    TFrameStyleEx& BorderOuter;
    TSides& BorderSides;
    TColor& FlatColor;
    int& FlatColorAdjustment;
    TColor& BorderHighlight;
    TColor& BorderShadow;
};

// Takes the accepted settings of a controller that shows frames: the outer frame's style, sides
// and flat colour go straight into the fields, the control's colour through its setters, and the
// frame's light and dark shades follow that colour. Returns false (nothing taken) when the
// controller shows no frames.
bool TakeFramedBorderSettings(TControl& control, const TKvFrameController& controller,
                              TKvFrameControllerNotifications accepted, const TKvFramedBorderFields& fields);

// Makes TKvFrameController and TKvRegIniFile known to form data.
void RegisterFrameControllerClasses();
