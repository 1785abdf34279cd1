#include "controls/KvFrameController.h"

#include "controls/KvOldPropReader.h"
#include "platform/classlib/core/Colors.h"
#include "platform/classlib/core/Filer.h"
#include "platform/classlib/core/FormReader.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The published property of each setting, by index.
constexpr std::array<std::string_view, fcpAll> SettingNames{
    "Color", "FocusColor", "DisabledColor", "ReadOnlyColor", "ReadOnlyColorOnFocus", "ParentColor",
    "FlatButtonColor", "FlatButtons", "FrameColor", "FrameHotColor", "FrameHotTrack", "FrameHotStyle",
    "FrameSides", "FrameStyle", "FrameVisible", "FramingPreference"};

// ParentColor goes first: a Color pushed after it (only when the controller has a colour of its
// own) then rightly ends the control's use of its parent's colour.
constexpr std::array<TKvFrameControllerProperty, fcpAll> FullPushOrder{
    fcpParentColor, fcpColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
    fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference};

void DescribeFrameController(TClassBuilder& c)
{
    using C = TKvFrameController;
    c.String("About", &C::About, &C::SetAbout).Stored(false);
    c.Ordinal("Color", ColorTypeInfo(), &C::Color, &C::SetColor).Default(clWindow).StoredWhen(&C::IsColorStored);
    c.Boolean("ParentColor", &C::ParentColor, &C::SetParentColor).Default(false);
    c.Ordinal("FlatButtonColor", ColorTypeInfo(), &C::FlatButtonColor, &C::SetFlatButtonColor).Default(clBtnFace);
    c.Boolean("FlatButtons", &C::FlatButtons, &C::SetFlatButtons).Default(true);
    c.Ordinal("DisabledColor", ColorTypeInfo(), &C::DisabledColor, &C::SetDisabledColor).Default(clBtnFace);
    c.Ordinal("ReadOnlyColor", ColorTypeInfo(), &C::ReadOnlyColor, &C::SetReadOnlyColor).Default(clInfoBk);
    c.Boolean("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus).Default(false);
    c.Ordinal("FocusColor", ColorTypeInfo(), &C::FocusColor, &C::SetFocusColor).Default(clWindow);
    c.Ordinal("FrameColor", ColorTypeInfo(), &C::FrameColor, &C::SetFrameColor).Default(clBtnShadow);
    c.Ordinal("FrameHotColor", ColorTypeInfo(), &C::FrameHotColor, &C::SetFrameHotColor).Default(clBtnShadow);
    c.Boolean("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack).Default(false);
    c.Enum("FrameHotStyle", FrameStyleTypeInfo(), &C::FrameHotStyle, &C::SetFrameHotStyle).Default(fsFlatBold);
    c.Set("FrameSides", SidesTypeInfo(), &C::FrameSides, &C::SetFrameSides).Default(AllSides);
    c.Enum("FrameStyle", FrameStyleTypeInfo(), &C::FrameStyle, &C::SetFrameStyle).Default(fsFlat);
    c.Boolean("FrameVisible", &C::FrameVisible, &C::SetFrameVisible).Default(false);
    c.Enum("FramingPreference", FramingPreferenceTypeInfo(), &C::FramingPreference, &C::SetFramingPreference)
        .Default(fpXPThemes);
    c.Object("RegIniFile", &C::RegIniFile, &C::SetRegIniFile);
}

} // namespace

const TTypeInfo& FrameControllerNotificationsTypeInfo()
{
    static const TTypeInfo member = EnumerationTypeInfo(
        "TKvFrameControllerPropertyConnection",
        {"fcpColor", "fcpFocusColor", "fcpDisabledColor", "fcpReadOnlyColor", "fcpReadOnlyColorOnFocus",
         "fcpParentColor", "fcpFlatButtonColor", "fcpFlatButtons", "fcpFrameColor", "fcpFrameHotColor",
         "fcpFrameHotTrack", "fcpFrameHotStyle", "fcpFrameSides", "fcpFrameStyle", "fcpFrameVisible",
         "fcpFramingPreference"});
    static const TTypeInfo info = SetTypeInfo("TKvFrameControllerNotifications", member);
    return info;
}

CLASSLIB_IMPLEMENT_CLASS(TKvFrameController, TComponent, ComponentCreator<TKvFrameController>,
                         DescribeFrameController)

TKvFrameController::TKvFrameController(TComponent* owner) : TComponent(owner) {}

TKvFrameController::~TKvFrameController()
{
    // The controls let go of the controller through their FrameController property: components
    // of the same owner are not told of each other's end while that owner frees them.
    const std::vector<TControl*> controls = m_controls;
    for (TControl* control : controls) {
        const TPropInfo* prop = GetPropInfo(*control, "FrameController");
        if (IsAttached(control) && prop && prop->Kind() == tkClass && prop->SetObject)
            SetObjectProp(*control, *prop, nullptr);
    }
}

void TKvFrameController::AttachControl(TControl* control)
{
    if (!control || IsAttached(control))
        return;
    m_controls.push_back(control);
    PushSetting(*control, fcpAll);
}

void TKvFrameController::DetachControl(TControl* control)
{
    std::erase(m_controls, control);
}

bool TKvFrameController::IsAttached(const TControl* control) const
{
    return std::ranges::find(m_controls, control) != m_controls.end();
}

void TKvFrameController::HoldUpdates() { ++m_updateCount; }

void TKvFrameController::ReleaseUpdates()
{
    if (--m_updateCount > 0)
        return;
    m_updateCount = 0;
    PushSettingToAll(fcpAll);
}

void TKvFrameController::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TKvFrameController*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    // Setters in an order whose side effects (Color moving FocusColor, hot tracking showing the
    // frame) are overwritten by the copies that follow.
    HoldUpdates();
    SetColor(other->Color());
    SetParentColor(other->ParentColor());
    SetFocusColor(other->FocusColor());
    SetFlatButtonColor(other->FlatButtonColor());
    SetFlatButtons(other->FlatButtons());
    SetDisabledColor(other->DisabledColor());
    SetReadOnlyColor(other->ReadOnlyColor());
    SetReadOnlyColorOnFocus(other->ReadOnlyColorOnFocus());
    SetFrameColor(other->FrameColor());
    SetFrameHotColor(other->FrameHotColor());
    SetFrameHotTrack(other->FrameHotTrack());
    SetFrameHotStyle(other->FrameHotStyle());
    SetFrameSides(other->FrameSides());
    SetFrameStyle(other->FrameStyle());
    SetFrameVisible(other->FrameVisible());
    SetFramingPreference(other->FramingPreference());
    ReleaseUpdates();
}

void TKvFrameController::DefineProperties(TFiler& filer)
{
    TComponent::DefineProperties(filer);
    filer.DefineProperty("FrameFlat", [this](TReader& reader) { ReadFrameFlat(reader); }, {}, false);
    filer.DefineProperty("FrameFocusStyle", [this](TReader& reader) { ReadFrameFocusStyle(reader); }, {}, false);
    filer.DefineProperty("FrameFlatStyle", &TKvOldPropReader::SkipEnumValue, {}, false);
}

void TKvFrameController::ReadFrameFlat(TReader& reader)
{
    const bool flat = reader.ReadBoolean();
    SetFrameHotTrack(flat);
    if (flat) {
        m_frameStyle = fsStatus;
        m_frameHotStyle = fsLowered;
    }
}

void TKvFrameController::ReadFrameFocusStyle(TReader& reader)
{
    // A name outside the controller's styles (fsFlatRounded, or none at all) is dropped.
    const int style = GetEnumValue(FrameStyleTypeInfo(), reader.ReadIdent());
    if (style >= 0)
        SetFrameHotStyle(static_cast<TFrameStyle>(style));
}

void TKvFrameController::Loaded()
{
    TComponent::Loaded();
    PushSettingToAll(fcpAll);
}

void TKvFrameController::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == m_regIniFile)
        m_regIniFile = nullptr;
    // A control that goes without detaching must not stay listed.
    std::erase(m_controls, component);
}

TKvFrameControllerNotifications TKvFrameController::NotificationsOf(const TControl& control)
{
    const TPropInfo* prop = GetPropInfo(control, "FrameControllerNotifications");
    if (!prop || prop->Kind() != tkSet)
        return AllFrameControllerNotifications;
    return TKvFrameControllerNotifications::FromBits(static_cast<std::uint64_t>(GetOrdProp(control, *prop)) & 0xFFFF);
}

void TKvFrameController::CopyByName(TControl& control, TKvFrameControllerProperty index) const
{
    const std::string_view name = SettingNames[index];
    const TPropInfo* own = GetPropInfo(*this, name);
    const TPropInfo* target = GetPropInfo(control, name);
    // Passed over: what the control does not publish, cannot set, or holds as another kind.
    if (!target || !target->Writable() || target->Kind() != own->Kind())
        return;
    if (own->Kind() == tkSet)
        SetSetProp(control, name, GetSetProp(*this, name));
    else
        SetOrdProp(control, *target, GetOrdProp(*this, *own));
}

void TKvFrameController::PushSetting(TControl& control, TKvFrameControllerProperty index)
{
    const TKvFrameControllerNotifications accepted = NotificationsOf(control);
    if (IKvFrameControllerClient* client = nullptr; Supports(&control, client)) {
        client->FrameControllerChanged();
        return;
    }
    if (index != fcpAll) {
        if (accepted.Contains(index))
            CopyByName(control, index);
        return;
    }
    for (const TKvFrameControllerProperty each : FullPushOrder) {
        if (each == fcpColor && m_parentColor)
            continue;
        if (accepted.Contains(each))
            CopyByName(control, each);
    }
}

void TKvFrameController::PushSettingToAll(TKvFrameControllerProperty index)
{
    if (m_updateCount > 0)
        return;
    // A push may make a control leave (or join); each control still listed is served once.
    const std::vector<TControl*> controls = m_controls;
    for (TControl* control : controls)
        if (IsAttached(control))
            PushSetting(*control, index);
}

// ---- Setters -------------------------------------------------------------------------------------

void TKvFrameController::SetColor(TColor color)
{
    if (color == m_color)
        return;
    if (m_focusColor == m_color)
        m_focusColor = color;
    m_color = color;
    m_parentColor = false;
    PushSettingToAll(fcpColor);
}

void TKvFrameController::SetParentColor(bool parentColor)
{
    if (parentColor == m_parentColor)
        return;
    m_parentColor = parentColor;
    PushSettingToAll(fcpParentColor);
    if (!parentColor)
        PushSettingToAll(fcpColor);
}

void TKvFrameController::SetFrameHotTrack(bool hotTrack)
{
    if (hotTrack == m_frameHotTrack)
        return;
    m_frameHotTrack = hotTrack;
    if (hotTrack) {
        SetFrameVisible(true);
        if (!IsLoading())
            m_frameSides = AllSides;
    }
    PushSettingToAll(fcpFrameHotTrack);
}

void TKvFrameController::SetRegIniFile(TKvRegIniFile* regIniFile)
{
    if (regIniFile == m_regIniFile)
        return;
    m_regIniFile = regIniFile;
    if (regIniFile)
        regIniFile->FreeNotification(this);
}

void TKvFrameController::SetFlatButtonColor(TColor value) { Change(m_flatButtonColor, value, fcpFlatButtonColor); }
void TKvFrameController::SetFlatButtons(bool value) { Change(m_flatButtons, value, fcpFlatButtons); }
void TKvFrameController::SetDisabledColor(TColor value) { Change(m_disabledColor, value, fcpDisabledColor); }
void TKvFrameController::SetReadOnlyColor(TColor value) { Change(m_readOnlyColor, value, fcpReadOnlyColor); }
void TKvFrameController::SetReadOnlyColorOnFocus(bool value) { Change(m_readOnlyColorOnFocus, value, fcpReadOnlyColorOnFocus); }
void TKvFrameController::SetFocusColor(TColor value) { Change(m_focusColor, value, fcpFocusColor); }
void TKvFrameController::SetFrameColor(TColor value) { Change(m_frameColor, value, fcpFrameColor); }
void TKvFrameController::SetFrameHotColor(TColor value) { Change(m_frameHotColor, value, fcpFrameHotColor); }
void TKvFrameController::SetFrameHotStyle(TFrameStyle value) { Change(m_frameHotStyle, value, fcpFrameHotStyle); }
void TKvFrameController::SetFrameSides(TSides value) { Change(m_frameSides, value, fcpFrameSides); }
void TKvFrameController::SetFrameStyle(TFrameStyle value) { Change(m_frameStyle, value, fcpFrameStyle); }
void TKvFrameController::SetFrameVisible(bool value) { Change(m_frameVisible, value, fcpFrameVisible); }
void TKvFrameController::SetFramingPreference(TFramingPreference value) { Change(m_framingPreference, value, fcpFramingPreference); }

// ---- The control's side ------------------------------------------------------------------------

TKvFrameControllerLink::~TKvFrameControllerLink()
{
    if (m_controller)
        m_controller->DetachControl(&m_control);
}

void TKvFrameControllerLink::Set(TKvFrameController* controller)
{
    if (controller == m_controller)
        return;
    if (m_controller)
        m_controller->DetachControl(&m_control);
    // Stored before joining: the push that joining makes reads the controller through the control.
    m_controller = controller;
    if (controller) {
        controller->AttachControl(&m_control);
        controller->FreeNotification(&m_control);
    }
}

void TKvFrameControllerLink::Notification(const TComponent* component, TOperation operation)
{
    if (operation == opRemove && component == m_controller)
        m_controller = nullptr;
}

bool TakeFramedBorderSettings(TControl& control, const TKvFrameController& controller,
                              TKvFrameControllerNotifications accepted, const TKvFramedBorderFields& fields)
{
    if (!controller.FrameVisible())
        return false;
    if (accepted.Contains(fcpFrameStyle))
        fields.BorderOuter = controller.FrameStyle();
    if (accepted.Contains(fcpFrameSides))
        fields.BorderSides = controller.FrameSides();
    if (accepted.Contains(fcpFrameColor)) {
        fields.FlatColor = controller.FrameColor();
        fields.FlatColorAdjustment = 0;
    }
    if (accepted.Contains(fcpColor))
        control.SetColor(controller.Color());
    if (accepted.Contains(fcpParentColor))
        control.SetParentColor(controller.ParentColor());
    if (accepted.Contains(fcpColor)) {
        fields.BorderHighlight = LightenLuminance(control.Color(), 100);
        fields.BorderShadow = DarkenLuminance(control.Color(), 50);
    }
    return true;
}

void RegisterFrameControllerClasses()
{
    RegisterClasses({TKvFrameController::StaticClass(), TKvRegIniFile::StaticClass()});
}
