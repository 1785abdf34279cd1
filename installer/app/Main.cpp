#include "installer/app/Main.h"

#include "installer/app/InstallerGlyphs.h"
#include "installer/core/DeviceDetection.h"
#include "installer/core/DriverTool.h"
#include "installer/core/InstallEngine.h"
#include "installer/core/InstallPaths.h"
#include "installer/core/Payload.h"
#include "installer/core/SystemDeviceProbe.h"

#include "controls/KvButton.h"
#include "controls/KvControlLibrary.h"
#include "controls/KvEdit.h"
#include "controls/KvLEDDisplay.h"
#include "controls/KvLabel.h"
#include "controls/KvProgressBar.h"
#include "controls/KvRadChk.h"
#include "controls/KvTabsPages.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/FileCtrl.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/StandardClasses.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"

TFMain* FMain = nullptr;

namespace {

void DescribeFMain(TClassBuilder& c)
{
#define FMAIN_FIELD(name) c.Field(#name, &TFMain::name)
    FMAIN_FIELD(PageMain);
    FMAIN_FIELD(Path);
    FMAIN_FIELD(Wait);
    FMAIN_FIELD(Label1);
    FMAIN_FIELD(EPath);
    FMAIN_FIELD(BBrowse);
    FMAIN_FIELD(BNext);
    FMAIN_FIELD(BCancel);
    FMAIN_FIELD(LED);
    FMAIN_FIELD(Progress);
    FMAIN_FIELD(LOS);
    FMAIN_FIELD(Run);
    FMAIN_FIELD(BFinish);
    FMAIN_FIELD(BHelp);
    FMAIN_FIELD(PCancel);
    FMAIN_FIELD(ImgLogo);
    FMAIN_FIELD(Timer1);
    FMAIN_FIELD(Timer2);
#undef FMAIN_FIELD
    c.Method("FormShow", &TFMain::FormShow);
    c.Method("FormClose", &TFMain::FormClose);
    c.Method("BBrowseClick", &TFMain::BBrowseClick);
    c.Method("BNextClick", &TFMain::BNextClick);
    c.Method("BCancelClick", &TFMain::BCancelClick);
    c.Method("PCancelClick", &TFMain::PCancelClick);
    c.Method("BFinishClick", &TFMain::BFinishClick);
    c.Method("BHelpClick", &TFMain::BHelpClick);
    c.Method("Timer1Timer", &TFMain::Timer1Timer);
    c.Method("Timer2Timer", &TFMain::Timer2Timer);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TFMain, TForm, ComponentCreator<TFMain>, DescribeFMain)

TFMain::TFMain(TComponent* owner)
    : TForm(owner),
      m_systemProbe(std::make_unique<TSystemDeviceProbe>()),
      m_systemTool(std::make_unique<TDriverToolRunner>()),
      m_systemLauncher(std::make_unique<TShellLauncher>())
{
    m_services = {DefaultShortcutFolders(), m_systemProbe.get(), m_systemTool.get(), m_systemLauncher.get(),
                  [](const std::string& caption, std::string& folder) { return SelectDirectory(caption, "", folder); }};
}

void TFMain::Loaded()
{
    TForm::Loaded();
    DrawInstallerGlyphs(*ImgLogo);
    EPath->SetText(DefaultInstallFolder());
}

TFMain::~TFMain() = default;

void TFMain::FormShow(TObject*)
{
    ShowMessage(WelcomeText);
}

void TFMain::FormClose(TObject*, TCloseAction& action)
{
    if (BFinish->Enabled())
        return;
    if (MessageDlg(CancelQuestion, mtCustom, {mbYes, mbNo}, 0) != mrYes) {
        action = caNone;
        return;
    }
    RemoveDriverTool(m_installDir);
    action = caFree;
}

void TFMain::BBrowseClick(TObject*)
{
    std::string folder;
    if (!m_services.selectFolder(BrowseCaption, folder))
        return;
    EPath->SetText(BrowsedFolderText(folder));
    BNext->SetEnabled(true);
}

void TFMain::BNextClick(TObject*)
{
    m_installDir = TInstallEngine(InstallerPayload(), m_services.shortcutFolders).Install(EPath->Text());
    const TDriverWatchSettings settings{m_installDir, GetOSVersionCode(), GetInstallLanguage()};
    m_watch = std::make_unique<TDriverWatch>(static_cast<IDriverWatchView&>(*this), *m_services.probe, *m_services.tool, settings);
    m_watch->Start();
    PageMain->SetActivePage(Wait);
}

void TFMain::BCancelClick(TObject*)
{
    Close();
}

void TFMain::PCancelClick(TObject*)
{
    Close();
}

void TFMain::BFinishClick(TObject*)
{
    if (Run->Checked())
        m_services.launcher->StartProgram(JoinPath(m_installDir, ManagerProgramFile), m_installDir);
    Close();
}

void TFMain::BHelpClick(TObject*)
{
    OpenDriverGuide();
}

void TFMain::Timer1Timer(TObject*)
{
    if (m_watch)
        m_watch->Tick();
}

void TFMain::Timer2Timer(TObject*)
{
    if (m_watch)
        m_watch->Deadline();
}

void TFMain::ShowNotice(const std::string& text, bool scroll)
{
    LED->SetCaption(text);
    LED->SetScrolling(scroll);
}

int TFMain::Percent() const
{
    return Progress->Percent();
}

void TFMain::SetPercent(int percent)
{
    Progress->SetPercent(static_cast<std::uint16_t>(percent));
}

// Finish becomes the default button: the one Enter presses and the frame marks.
void TFMain::EnableFinish()
{
    BFinish->SetEnabled(true);
    SetActiveControl(BFinish);
}

void TFMain::ShowSystemNotice()
{
    LOS->SetVisible(true);
}

void TFMain::OpenDriverGuide()
{
    const std::string guide = JoinPath(m_installDir, DriverGuideFile);
    if (!m_services.launcher->OpenDocument(guide))
        (void)MessageDlg("Cannot open \"" + guide + "\": no program to open documents was found (xdg-open, "
                         "in the Debian package xdg-utils).",
                         mtError, {mbOK}, 0);
}

void TFMain::SetTickEnabled(bool enabled)
{
    Timer1->SetEnabled(enabled);
}

void TFMain::SetDeadlineEnabled(bool enabled)
{
    Timer2->SetEnabled(enabled);
}

void RegisterInstallerClasses()
{
    RegisterStandardClasses();
    RegisterControlLibraryClasses();
    RegisterClasses({TFMain::StaticClass()});
}
