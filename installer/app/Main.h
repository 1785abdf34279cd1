#pragma once

#include "installer/core/DriverWatch.h"
#include "installer/core/ShellLauncher.h"
#include "installer/core/Shortcuts.h"

#include "platform/classlib/forms/Forms.h"

#include <functional>
#include <memory>
#include <string>

class TImageList;
class TKvBitBtn;
class TKvCheckBox;
class TKvEdit;
class TKvLEDDisplay;
class TKvLabel;
class TKvPageControl;
class TKvProgressBar;
class TKvTabSheet;
class TLabel;
class TTimer;

// What the wizard reaches outside itself; the program uses the system's, tests their own.
struct TInstallerServices {
    TShortcutFolders shortcutFolders;
    IDeviceProbe* probe = nullptr;
    IDriverTool* tool = nullptr;
    IShellLauncher* launcher = nullptr;
    // The folder dialog: true and the chosen folder when the user confirms.
    std::function<bool(const std::string& caption, std::string& folder)> selectFolder;
};

// The installer's window: the folder page, and the progress page driven by the driver watch. Its
// controls come from its form data (Main.dfm).
class TFMain : public TForm, private IDriverWatchView {
    CLASSLIB_DECLARE_CLASS;

    explicit TFMain(TComponent* owner);
    ~TFMain() override;

    TKvPageControl* PageMain = nullptr;
    TKvTabSheet* Path = nullptr;
    TKvTabSheet* Wait = nullptr;
    TLabel* Label1 = nullptr;
    TKvEdit* EPath = nullptr;
    TKvBitBtn* BBrowse = nullptr;
    TKvBitBtn* BNext = nullptr;
    TKvBitBtn* BCancel = nullptr;
    TKvLEDDisplay* LED = nullptr;
    TKvProgressBar* Progress = nullptr;
    TKvLabel* LOS = nullptr;
    TKvCheckBox* Run = nullptr;
    TKvBitBtn* BFinish = nullptr;
    TKvBitBtn* BHelp = nullptr;
    TKvBitBtn* PCancel = nullptr;
    TImageList* ImgLogo = nullptr;
    TTimer* Timer1 = nullptr;
    TTimer* Timer2 = nullptr;

    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void BBrowseClick(TObject* sender);
    void BNextClick(TObject* sender);
    void BCancelClick(TObject* sender);
    void PCancelClick(TObject* sender);
    void BFinishClick(TObject* sender);
    void BHelpClick(TObject* sender);
    void Timer1Timer(TObject* sender);
    void Timer2Timer(TObject* sender);

    [[nodiscard]] TInstallerServices& Services() { return m_services; }
    [[nodiscard]] const std::string& InstallDir() const { return m_installDir; }

protected:
    // The glyphs and the default folder, once the form data has made the controls.
    void Loaded() override;

private:
    void ShowNotice(const std::string& text, bool scroll) override;
    [[nodiscard]] int Percent() const override;
    void SetPercent(int percent) override;
    void EnableFinish() override;
    void ShowSystemNotice() override;
    void OpenDriverGuide() override;
    void SetTickEnabled(bool enabled) override;
    void SetDeadlineEnabled(bool enabled) override;

    TInstallerServices m_services;
    std::unique_ptr<IDeviceProbe> m_systemProbe;
    std::unique_ptr<IDriverTool> m_systemTool;
    std::unique_ptr<IShellLauncher> m_systemLauncher;
    std::string m_installDir;
    std::unique_ptr<TDriverWatch> m_watch;
};

extern TFMain* FMain;

// Registers the installer's form and the control library's classes with form data; once, before
// the window is made.
void RegisterInstallerClasses();

// The texts of the window's questions.
inline constexpr const char* WelcomeText =
    "This installer will install Norra dialer software and drivers for you.\n"
    "Before installation please remove Norra from your PC if you have inserted.";
inline constexpr const char* CancelQuestion = "Do you want to cancel installation without completion?";
inline constexpr const char* BrowseCaption = "Please select a folder to install";
