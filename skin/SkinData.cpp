#include "skin/SkinData.h"

#include "platform/classlib/core/Filer.h"
#include "platform/classlib/core/Resources.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/classlib/forms/ImgList.h"
#include "skin/QuickIni.h"
#include "skin/SkinManage.h"
#include "skin/SkinReader.h"
#include "skin/SkinControl.h"

#include <filesystem>

namespace {

const TTypeInfo& SkinControlTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TSkinControlType",
        {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
         "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcSpin",
         "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu", "xcFastReport"});
    return info;
}

const TTypeInfo& SkinControlTypesInfo()
{
    static const TTypeInfo info = SetTypeInfo("TSkinControlTypes", SkinControlTypeInfo());
    return info;
}

const TTypeInfo& SkinOptionTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TSkinOption", {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview", "xoParentBackGround",
                        "xoNoFocusRect", "xoToolbarBK", "xoMDIChildBorder", "xoMenuBG", "xoFormScrollbar"});
    return info;
}

const TTypeInfo& SkinOptionsInfo()
{
    static const TTypeInfo info = SetTypeInfo("TSkinOptions", SkinOptionTypeInfo());
    return info;
}

const TTypeInfo& SkinFormTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TSkinFormType", {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"});
    return info;
}

void DescribeSkinData(TClassBuilder& c)
{
    c.Boolean("Active", &TSkinData::Active, &TSkinData::SetActive);
    c.Integer("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag);
    c.Set("SkinControls", SkinControlTypesInfo(), &TSkinData::SkinControls, &TSkinData::SetSkinControls);
    c.Set("Options", SkinOptionsInfo(), &TSkinData::Options, &TSkinData::SetOptions);
    c.Object("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd);
    c.String("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile);
    c.String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore);
    c.Enum("SkinFormtype", SkinFormTypeInfo(), &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype);
    c.String("Version", &TSkinData::Version, &TSkinData::SetVersion);
    c.Boolean("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate);
    c.Boolean("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge);
    c.Event("OnFormSkin", &TSkinData::OnFormSkin, &TSkinData::SetOnFormSkin);
    c.Event("OnSkinChanged", &TSkinData::OnSkinChanged, &TSkinData::SetOnSkinChanged);
    c.Event("OnSkinControl", &TSkinData::OnSkinControl, &TSkinData::SetOnSkinControl);
    c.Event("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm, &TSkinData::SetOnBeforeSkinForm);
    c.Event("OnAfterSkinForm", &TSkinData::OnAfterSkinForm, &TSkinData::SetOnAfterSkinForm);
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    std::size_t i = 0;
    for (; prefix[i]; ++i)
        if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TSkinData, TComponent, ComponentCreator<TSkinData>, DescribeSkinData)

const std::vector<std::string>& DefaultSkin3rd()
{
    static const std::vector<std::string> lines = {
    "TCategoryButtons=scrollbar", "TPngBitBtn=pngbitbtn", "TVirtualStringTree=scrollbar",
    "TVirtualDrawTree=scrollbar", "TTBXDockablePanel=Panel", "TAdvPanelGroup=scrollbar",
    "TComboboxex=combobox", "TRxSpeedButton=speedbutton", "THTMLViewer=scrollbar", "TDBCtrlGrid=scrollbar",
    "TfrSpeedButton=speedbutton", "TfrTBButton=speedbutton", "TControlBar=Panel", "TTBDock=Panel",
    "TTBToolbar=Panel", "TImageEnMView=scrollbar", "TImageEnView=scrollbar", "TAdvMemo=scrollbar",
    "TDBAdvMemo=scrollbar", "TcxDBLookupComboBox=combobox", "TcxDBComboBox=combobox",
    "TcxDBDateEdit=combobox", "TcxDBImageComboBox=combobox", "TcxDBCalcEdit=combobox",
    "TcxDBBlobEdit=combobox", "TcxDBPopupEdit=combobox", "TcxDBFontNameComboBox=combobox",
    "TcxDBShellComboBox=combobox", "TRxLookupEdit=combobox", "TRxDBLookupCombo=combobox", "TKvGroup=panel",
    "TKvButton=button", "TKvBitbtn=bitbtn", "TKvMenuButton=menubtn", "TKvCheckGroup=CheckGroup",
    "TKvRadioGroup=Radiogroup", "TKvButtonEdit=Edit", "TKvDBRadioGroup=Radiogroup",
    "TKvDBRadioButton=Radiobutton", "TKvDateTimeEdit=combobox", "TKvColorEdit=combobox",
    "TKvDateTimePicker=combobox", "TKvDBDateTimeEdit=combobox", "TKvDbColorEdit=combobox",
    "TKvDBDateTimePicker=combobox", "TLMDButton=bitbtn", "TLMDGroupBox=Groupbox", "TDBCheckboxGx=Checkbox",
    "TDBCheckboxGx=Checkbox", "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox",
    "TLMDRadiobutton=Radiobutton", "TLMDCalculator=panel", "TLMDGROUPBOX=Panel", "TLMDSIMPLEPANEL=Panel",
    "TLMDDBCalendar=Panel", "TLMDButtonPanel=Panel", "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel",
    "TLMDTechnicalLine=Panel", "TLMDLMDClock=Panel", "TLMDTrackbar=panel", "TLMDListCombobox=combobox",
    "TLMDCheckListCombobox=combobox", "TLMDHeaderListCombobox=combobox", "TLMDImageCombobox=combobox",
    "TLMDColorCombobox=combobox", "TLMDFontCombobox=combobox", "TLMDFontSizeCombobox=combobox",
    "TLMDFontSizeCombobox=combobox", "TLMDPrinterCombobox=combobox", "TLMDDriveCombobox=combobox",
    "TLMDCalculatorComboBox=combobox", "TLMDTrackBarComboBox=combobox", "TLMDCalendarComboBox=combobox",
    "TLMDTreeComboBox=combobox", "TLMDRADIOGROUP=radiogroup", "TLMDCheckGroup=CheckGroup",
    "TLMDDBRADIOGROUP=radiogroup", "TLMDDBCheckGroup=CheckGroup", "TLMDCalculatorEdit=edit", "TLMDEDIT=Edit",
    "TLMDMASKEDIT=Edit", "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit", "TLMDCALENDAREDIT=Edit",
    "TLMDFILEOPENEDIT=Edit", "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit", "TLMDDBEDIT=Edit",
    "TLMDDBMASKEDIT=Edit", "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit", "TLMDDBEDITDBLookup=Edit",
    "TLMDEDITDBLookup=Edit", "TDBLookupCombobox=Combobox", "TWWDBCombobox=Combobox",
    "TWWDBLookupCombo=Combobox", "TWWDBCombobox=Combobox", "TWWKeyCombo=Combobox",
    "TWWTempKeyCombo=combobox", "TWWDBDateTimePicker=Combobox", "TWWRADIOGROUP=radiogroup", "TWWDBEDIT=Edit",
    "TcxButton=bitbtn", "TcxDBRadioGroup=radiogroup", "TcxRadioGroup=radiogroup", "TcxGroupbox=groupbox",
    "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit", "TOVCDBSLIDEREDIT=Edit",
    "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit", "TO32DBFLEXEDIT=Edit", "TOVCNUMERICFIELD=Edit",
    "TOVCDBNUMERICFIELD=Edit", "trmtoolbarsize=Panel", "trmtoolbar=panel", "trmtoolbaredit=panel",
    "trmtoolbarborder=panel", "trmtoolbaralign=panel", "trmtoolbarstandard=panel",
    "trmtoolbaraddintools=panel",
    };
    return lines;
}

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner), m_skin3rd(std::make_unique<TStringList>()), m_elements(std::make_unique<TSkinElements>()),
      m_onVersionMessage([](const std::string& text) { ShowMessage(text); })
{
    for (const std::string& line : DefaultSkin3rd())
        (void)m_skin3rd->Add(line);
}

TImageList* TSkinData::MenuImages()
{
    if (m_menuImages)
        return m_menuImages.get();
    m_menuImages = std::make_unique<TImageList>(nullptr, 16, 16);
    TBitmap glyphs;
    try {
        glyphs.LoadFromResourceName(nullptr, "LUMORAMENU");
    } catch (const EResNotFound&) {
        return m_menuImages.get();
    } catch (const EInvalidGraphic&) {
        return m_menuImages.get();
    }
    (void)m_menuImages->AddMasked(&glyphs, clWhite);
    return m_menuImages.get();
}

TSkinData::~TSkinData()
{
    if (TSkinManage* manager = SkinManager())
        manager->Unregister(this);
}

void TSkinData::SetSkin3rd(TStringList* list)
{
    if (list)
        m_skin3rd->Assign(list);
}

void TSkinData::DefineProperties(TFiler& filer)
{
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "SkinStream", [this](TStream& stream) { ReadSkinStream(stream); },
        [this](TStream& stream) { WriteSkinStream(stream); }, true);
}

void TSkinData::ReadSkinStream(TStream& stream)
{
    stream.SetPosition(0);
    std::int32_t count = 0;
    if (stream.Read(&count, sizeof count) != sizeof count || count <= 0)
        return;
    const std::int64_t available = stream.Size() - stream.Position();
    m_packed.Clear();
    m_packed.CopyFrom(stream, std::min<std::int64_t>(count, available));
    if (!Designing())
        (void)LoadSkin();
}

void TSkinData::WriteSkinStream(TStream& stream)
{
    const auto count = static_cast<std::int32_t>(m_packed.Size());
    stream.WriteBuffer(&count, sizeof count);
    if (count <= 0)
        return;
    const std::int64_t position = m_packed.Position();
    m_packed.SetPosition(0);
    stream.CopyFrom(m_packed, count);
    m_packed.SetPosition(position);
}

bool TSkinData::LoadSkin()
{
    if (Designing())
        return false;
    TSkinReader package;
    package.SetOnVersionMessage(m_onVersionMessage);
    m_packed.SetPosition(0);
    // A package that does not read leaves the elements as they were: windows wearing the skin
    // go on wearing it whole.
    if (!package.LoadFromStream(m_packed))
        return false;
    TMemoryStream iniText;
    std::string iniName;
    (void)package.FindEntry(".ini", iniText, iniName);
    TQuickIni ini;
    ini.LoadFromStream(&iniText);
    // The caption buttons name the elements about to be replaced.
    if (TSkinManage* manager = SkinManager())
        manager->DropCaptionButtons(this);
    m_elements->ReadSkin(ini, package);
    m_pending = false;
    return true;
}

bool TSkinData::LoadSkinFromStream(TStream& packed)
{
    TMemoryStream worn;
    m_packed.SetPosition(0);
    worn.CopyFrom(m_packed, m_packed.Size());
    m_packed.Clear();
    packed.SetPosition(0);
    m_packed.CopyFrom(packed, packed.Size());
    if (!LoadSkin()) {
        // The package of the skin still worn is the one kept (and streamed with the form).
        m_packed.Clear();
        worn.SetPosition(0);
        m_packed.CopyFrom(worn, worn.Size());
        return false;
    }
    SkinChangedNotice();
    return true;
}

void TSkinData::SetSkinFile(const std::string& fileName)
{
    m_skinFile = fileName;
    if (Designing()) {
        if (!fileName.empty())
            m_packed.Clear();
        return;
    }
    std::error_code error;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, error))
        return;
    TFileStream file(fileName, fmOpenRead);
    (void)LoadSkinFromStream(file);
}

void TSkinData::SkinChangedNotice()
{
    if (Designing() || Reading())
        return;
    if (!SkinManager())
        Loaded();
    TSkinManage& manager = *SkinManager();
    manager.SetCurrentSkinData(this);
    manager.DropCaptionButtons(this);
    if (manager.StartCount() == 1)
        manager.ScheduleAction(TSkinManage::ActionSkinChanged, TSkinManage::ActionDelay);
}

void TSkinData::Loaded()
{
    TComponent::Loaded();
    if (Designing())
        return;
    TSkinManage& manager = EnsureSkinManager();
    manager.Register(this);
    if (m_formType != sfMainform) {
        manager.SetOn(true);
        manager.SetStartCount(manager.StartCount() + 1);
        if (m_active)
            if (auto* form = dynamic_cast<TWinControl*>(Owner()); form && form->HandleAllocated())
                (void)manager.SkinWindow(form->Handle());
        return;
    }
    manager.InstallHook();
    if (m_active) {
        if (m_pending)
            m_active = false;
        else
            manager.ScheduleAction(TSkinManage::ActionSkinAll, TSkinManage::ActionDelay);
    }
    if (m_skinControls.Contains(xcMainMenu))
        m_skinControls.Exclude(xcMenuItem);
    else
        m_skinControls.Exclude(xcSystemMenu);
}

void TSkinData::SetActive(bool active)
{
    if (active == m_active)
        return;
    if (Designing() || Reading()) {
        m_active = active;
        return;
    }
    switch (m_formType) {
    case sfMainform: {
        if (active && m_pending)
            return;
        m_active = active;
        TSkinManage& manager = EnsureSkinManager();
        manager.SetCurrentSkinData(this);
        manager.ScheduleAction(active ? TSkinManage::ActionSkinAll : TSkinManage::ActionUnskinAll,
                               TSkinManage::ActionDelay);
        if (active)
            manager.SetStartCount(1);
        break;
    }
    case sfOnlyThisForm: {
        m_active = active;
        TSkinManage& manager = EnsureSkinManager();
        manager.SetCurrentSkinData(this);
        if (active && m_pending)
            return;
        manager.ScheduleAction(active ? TSkinManage::ActionSkinAll : TSkinManage::ActionUnskinAll,
                               TSkinManage::ActionDelay);
        break;
    }
    case sfDialog:
    case sfDLL:
        m_active = active;
        break;
    }
}

void TSkinData::FormSkinDecision(HWND, const std::string& className, bool& doSkin)
{
    if (m_onFormSkin) {
        m_onFormSkin(this, className, doSkin);
        return;
    }
    if (className == "SysMonthCal32" || (m_skinControls.Contains(xcFastReport) && StartsWithNoCase(className, "Tfr")))
        doSkin = false;
}

void TSkinData::NotifySkinChanged()
{
    if (m_onSkinChanged)
        m_onSkinChanged(this);
}

TControl* TSkinData::ControlOfWindow(HWND window)
{
    return window ? TWinControl::FindControl(window) : nullptr;
}
