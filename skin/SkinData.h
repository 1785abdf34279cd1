#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/Streams.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/winapi/user/WinUser.h"
#include "skin/SkinElements.h"
#include "skin/SkinTypes.h"

#include <functional>
#include <memory>
#include <string>

class TControl;
class TImageList;
class TSkinControl;
class TSkinData;

// The events through which an application takes part in skinning.
// (Sender, class name of the window, var DoSkin): decides whether a window is skinned.
using TOnFormSkin = TEvent<TObject*, const std::string&, bool&>;
// (Sender, window, name): before and after a window is skinned.
using TOnSkinForm = TEvent<TObject*, HWND, const std::string&>;
// (Sender: the skinned form, skin data, parent control, control, upper-case class name, var
// skinner): the application's say on which skinner a control gets. A skinner handed back takes
// the control over; none leaves the choice to the skin data's lists.
using TOnSkinControl =
    TEvent<TObject*, TSkinData*, TControl*, TControl*, const std::string&, std::unique_ptr<TSkinControl>&>;

// The component an application drops on a form to have its windows skinned. It holds the packed
// skin (streamed with the form as "SkinStream", or read from a skin file), the settings that say
// what is skinned, and the skin's elements once read. When the owning form has been read it
// registers with the skin manager, which then skins the windows.
//
// "SkinStream" in form data is a signed 32-bit byte count and that many bytes; a count of 0 or
// less leaves the packed skin as it was. A package that does not load leaves the skin pending: no
// window is skinned with it until a good one is loaded.
class TSkinData : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    [[nodiscard]] bool Active() const { return m_active; }
    void SetActive(bool active);
    [[nodiscard]] int DisableTag() const { return m_disableTag; }
    void SetDisableTag(int tag) { m_disableTag = tag; }
    [[nodiscard]] TSkinControlTypes SkinControls() const { return m_skinControls; }
    void SetSkinControls(TSkinControlTypes controls) { m_skinControls = controls; }
    [[nodiscard]] TSkinOptions Options() const { return m_options; }
    void SetOptions(TSkinOptions options) { m_options = options; }
    [[nodiscard]] TStringList* Skin3rd() const { return m_skin3rd.get(); }
    void SetSkin3rd(TStringList* list);
    [[nodiscard]] std::string SkinFile() const { return m_skinFile; }
    void SetSkinFile(const std::string& fileName);
    // "(none)" at run time; the value is for a designer.
    [[nodiscard]] std::string SkinStore() const { return "(none)"; }
    void SetSkinStore(const std::string&) {}
    [[nodiscard]] TSkinFormType SkinFormtype() const { return m_formType; }
    void SetSkinFormtype(TSkinFormType type) { m_formType = type; }
    [[nodiscard]] std::string Version() const { return "4.42.12.06"; }
    void SetVersion(const std::string&) {}
    [[nodiscard]] bool MenuUpdate() const { return m_menuUpdate; }
    void SetMenuUpdate(bool update) { m_menuUpdate = update; }
    [[nodiscard]] bool MenuMerge() const { return m_menuMerge; }
    void SetMenuMerge(bool merge) { m_menuMerge = merge; }

    [[nodiscard]] const TOnFormSkin& OnFormSkin() const { return m_onFormSkin; }
    void SetOnFormSkin(const TOnFormSkin& handler) { m_onFormSkin = handler; }
    [[nodiscard]] const TNotifyEvent& OnSkinChanged() const { return m_onSkinChanged; }
    void SetOnSkinChanged(const TNotifyEvent& handler) { m_onSkinChanged = handler; }
    [[nodiscard]] const TOnSkinControl& OnSkinControl() const { return m_onSkinControl; }
    void SetOnSkinControl(const TOnSkinControl& handler) { m_onSkinControl = handler; }
    [[nodiscard]] const TOnSkinForm& OnBeforeSkinForm() const { return m_onBeforeSkinForm; }
    void SetOnBeforeSkinForm(const TOnSkinForm& handler) { m_onBeforeSkinForm = handler; }
    [[nodiscard]] const TOnSkinForm& OnAfterSkinForm() const { return m_onAfterSkinForm; }
    void SetOnAfterSkinForm(const TOnSkinForm& handler) { m_onAfterSkinForm = handler; }

    void DefineProperties(TFiler& filer) override;
    void Loaded() override;

    // Reads the held package into elements; False (the skin stays pending) when it does not load.
    bool LoadSkin();
    // Replaces the held package with `packed` from its start and reads it (as a skin file would).
    bool LoadSkinFromStream(TStream& packed);
    // True until a package has been read whole.
    [[nodiscard]] bool Pending() const { return m_pending; }
    [[nodiscard]] TSkinElements& Elements() { return *m_elements; }
    [[nodiscard]] TMemoryStream& PackedSkin() { return m_packed; }

    // The 16 x 16 glyphs of skinned system menus (0 restore, 1 maximise, 2 minimise, 3 close),
    // from the program's "LUMORAMENU" bitmap with white as the mask; empty without it.
    [[nodiscard]] TImageList* MenuImages();

    // The form skinner paints no frame while this is off.
    [[nodiscard]] bool FramePainting() const { return m_framePainting; }
    void SetFramePainting(bool on) { m_framePainting = on; }

    // What the manager asks: may a window of this class be skinned? DoSkin is left alone unless
    // the application's handler or a refusing rule says otherwise.
    void FormSkinDecision(HWND window, const std::string& className, bool& doSkin);
    // Fires OnSkinChanged.
    void NotifySkinChanged();
    // A pixel of the top border's picture, or ButtonFace without one.
    [[nodiscard]] TColor TitleColour() { return m_elements->TitleColour(); }
    // The control object of one of this program's windows, or null.
    [[nodiscard]] static TControl* ControlOfWindow(HWND window);

    // Where the package's "unknown version" message goes; ShowMessage unless replaced.
    void SetOnVersionMessage(std::function<void(const std::string&)> handler) { m_onVersionMessage = std::move(handler); }

private:
    void ReadSkinStream(TStream& stream);
    void WriteSkinStream(TStream& stream);
    void SkinChangedNotice();
    [[nodiscard]] bool Designing() const { return ComponentState().Contains(csDesigning); }
    [[nodiscard]] bool Reading() const
    {
        return ComponentState().Contains(csReading) || ComponentState().Contains(csLoading);
    }

    bool m_active = false;
    int m_disableTag = DefaultDisableTag;
    TSkinControlTypes m_skinControls = DefaultSkinControls();
    TSkinOptions m_options = DefaultSkinOptions();
    std::unique_ptr<TStringList> m_skin3rd;
    std::string m_skinFile;
    TSkinFormType m_formType = sfMainform;
    bool m_menuUpdate = true;
    bool m_menuMerge = false;
    TOnFormSkin m_onFormSkin;
    TNotifyEvent m_onSkinChanged;
    TOnSkinControl m_onSkinControl;
    TOnSkinForm m_onBeforeSkinForm;
    TOnSkinForm m_onAfterSkinForm;

    TMemoryStream m_packed;
    bool m_pending = true;
    bool m_framePainting = true;
    std::unique_ptr<TSkinElements> m_elements;
    std::unique_ptr<TImageList> m_menuImages;
    std::function<void(const std::string&)> m_onVersionMessage;
};

// The class names of other libraries' controls and the kind of skinner each takes, one
// "class=kind" line each, as a new TSkinData lists them.
[[nodiscard]] const std::vector<std::string>& DefaultSkin3rd();
