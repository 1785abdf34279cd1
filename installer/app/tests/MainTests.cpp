// The installer's window on the headless display, driven by clicks as a user makes them, over a
// payload of small files, a fake device probe, driver tool and launcher.

#include "installer/app/Main.h"
#include "installer/core/InstallPaths.h"

#include "controls/KvButton.h"
#include "controls/KvEdit.h"
#include "controls/KvLEDDisplay.h"
#include "controls/KvLabel.h"
#include "controls/KvProgressBar.h"
#include "controls/KvRadChk.h"
#include "controls/KvTabsPages.h"
#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/core/Resources.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/TempDir.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstdint>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr unsigned char Small[] = "payload";
constexpr TResourceEntry Entries[] = {
    {"WAVE", "INCALL", Small, sizeof Small},      {"WAVE", "SMS", Small, sizeof Small},
    {"RT_RCDATA", "MYEXE", Small, sizeof Small},  {"RT_RCDATA", "MYUNIN", Small, sizeof Small},
    {"RT_RCDATA", "MYINI", Small, 0},             {"RT_RCDATA", "MYMDB", Small, sizeof Small},
    {"RT_RCDATA", "MYDOC", Small, sizeof Small},  {"RT_RCDATA", "DRIVER", Small, sizeof Small},
    {"RT_RCDATA", "CONFIG", Small, 0},            {"RT_RCDATA", "README", Small, sizeof Small},
};
[[maybe_unused]] const bool Registered = (RegisterResources(Entries), true);

class FakeDevices : public IDeviceProbe {
public:
    bool FindModemPorts(std::vector<std::string>& ports) override
    {
        if (installed)
            ports.push_back("COM3");
        return installed;
    }
    [[nodiscard]] int CountUninstalledInterfaces() override { return plugged && !installed ? 2 : 0; }
    [[nodiscard]] bool FindHardwareWizard(const std::string&) override { return plugged; }
    void HideHardwareWizard() override {}

    bool plugged = false;
    bool installed = false;
};

class FakeTool : public IDriverTool {
public:
    void Configure(const std::string& installDir) override { ConfigureDriverToolCalledFor = installDir; }
    void Start(const std::string&) override { started = true; }
    [[nodiscard]] TToolState State() const override { return started ? TToolState::Running : TToolState::NotStarted; }

    std::string ConfigureDriverToolCalledFor;
    bool started = false;
};

class FakeLauncher : public IShellLauncher {
public:
    bool OpenDocument(const std::string& path) override
    {
        documents.push_back(path);
        return opens;
    }
    void StartProgram(const std::string& program, const std::string& workingFolder) override
    {
        programs.push_back(program + " in " + workingFolder);
    }
    std::vector<std::string> documents;
    std::vector<std::string> programs;
    bool opens = true;
};

class InstallerWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        (void)SelectHeadlessDisplay();
        Application->Initialize();
        Application->SetTitle("Norra Installer");
        RegisterInstallerClasses();
    }

    InstallerWindowTest()
    {
        SetMessageDlgHandler([this](const std::string& text, const std::string& caption, TMsgDlgType, TMsgDlgButtons) {
            m_questions.push_back(caption + ": " + text);
            return m_answer;
        });
        Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors += text; });
        m_form = static_cast<TFMain*>(TCustomForm::Create(TFMain::StaticClass(), nullptr));
        TInstallerServices& services = m_form->Services();
        services.shortcutFolders = {(m_dir / "Desktop").string(), (m_dir / "applications").string()};
        services.probe = &m_devices;
        services.tool = &m_tool;
        services.launcher = &m_launcher;
        services.selectFolder = [this](const std::string& caption, std::string& folder) {
            m_questions.push_back("browse: " + caption);
            if (m_browseTo.empty())
                return false;
            folder = m_browseTo;
            return true;
        };
        m_form->Show();
        PumpMessages();
    }

    ~InstallerWindowTest() override
    {
        if (m_form && !m_closed) {
            m_form->BFinish->SetEnabled(true); // leave without the question
            m_form->Close();
            PumpMessages();
        }
        SetMessageDlgHandler(nullptr);
        Application->SetShowExceptionHook(nullptr);
    }

    void Click(TWinControl* control)
    {
        MouseInput(Headless()).Click(control->Handle(), {control->Width() / 2, control->Height() / 2});
        PumpMessages();
    }

    HeadlessDisplay& Headless() { return dynamic_cast<HeadlessDisplay&>(Display()); }

    // The shown pixels across a button's left edge at mid-height, where the ring of the default
    // (focused) button lies.
    std::vector<std::uint32_t> LeftEdge(TWinControl* button)
    {
        std::vector<std::uint32_t> pixels;
        for (int x = 0; x < 6; ++x)
            pixels.push_back(ShownPixel(Headless(), button->Handle(), POINT{x, button->Height() / 2}));
        return pixels;
    }

    // The window as it is now, into build/installer-<name>.png, for a person to look at.
    void SaveScreenshot(const std::string& name)
    {
        PumpMessages();
        const auto path = fs::path(MODEM_TEST_PICTURES) / ("installer-" + name + ".png");
        fs::create_directories(path.parent_path());
        EXPECT_TRUE(Headless().SaveWindowPng(TopLevelId(m_form->Handle()), path));
    }

    // The form frees itself when it closes for good.
    bool CloseWindow()
    {
        bool destroyed = false;
        const HWND window = m_form->Handle();
        m_form->Close();
        PumpMessages();
        destroyed = !IsWindow(window) || !IsWindowVisible(window);
        if (destroyed)
            m_closed = true;
        return destroyed;
    }

    // The timers (the watch's and the LED display's scrolling) run only when a test moves it.
    FakeClock m_clock;
    TempDir m_dir;
    FakeDevices m_devices;
    FakeTool m_tool;
    FakeLauncher m_launcher;
    TFMain* m_form = nullptr;
    bool m_closed = false;
    std::vector<std::string> m_questions;
    TModalResult m_answer = mrNo;
    std::string m_browseTo;
    std::string m_errors;
};

TEST_F(InstallerWindowTest, InstallsWatchesTheDriversAndFinishesByStartingTheManager)
{
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0], "Norra Installer: " + std::string(WelcomeText));
    EXPECT_EQ(m_form->PageMain->ActivePage(), m_form->Path);
    EXPECT_EQ(m_form->EPath->Text(), DefaultInstallFolder());
    EXPECT_FALSE(m_form->BFinish->Enabled());
    SaveScreenshot("folder-page");

    m_browseTo = (m_dir / "apps").string();
    Click(m_form->BBrowse);
    EXPECT_EQ(m_questions.back(), "browse: Please select a folder to install");
    EXPECT_EQ(m_form->EPath->Text(), m_browseTo + "/Norra");

    Click(m_form->BNext);
    ASSERT_EQ(m_errors, "");
    const std::string installDir = m_browseTo + "/Norra";
    EXPECT_EQ(m_form->InstallDir(), installDir);
    EXPECT_TRUE(fs::exists(installDir + "/Modem"));
    EXPECT_TRUE(fs::exists(m_dir / "Desktop/Modem.desktop"));
    EXPECT_EQ(TIniFile(installDir + "/Modem.ini").ReadString("Install", "Path", ""), installDir);
    EXPECT_EQ(m_form->PageMain->ActivePage(), m_form->Wait);
    EXPECT_EQ(m_form->LED->Caption(), "Please insert USB Modem");
    EXPECT_FALSE(m_form->LED->Scrolling());
    EXPECT_EQ(m_form->Progress->Percent(), 100);
    EXPECT_TRUE(m_form->Timer1->Enabled());
    EXPECT_TRUE(m_form->Timer2->Enabled());
    SaveScreenshot("progress-page");

    m_devices.plugged = true;
    m_form->Timer1Timer(nullptr);
    EXPECT_EQ(m_form->LED->Caption(), "Installing Drivers...");
    EXPECT_EQ(m_tool.ConfigureDriverToolCalledFor, installDir);
    EXPECT_TRUE(m_tool.started);
    EXPECT_FALSE(m_form->Timer2->Enabled());
    for (int i = 0; i < 40; ++i)
        m_form->Timer1Timer(nullptr);
    EXPECT_EQ(m_form->Progress->Percent(), 40);
    SaveScreenshot("installing");

    m_devices.installed = true;
    m_form->Timer1Timer(nullptr);
    EXPECT_EQ(m_form->LED->Caption(), "Installation complete");
    EXPECT_TRUE(m_form->LED->Scrolling());
    EXPECT_TRUE(m_form->BFinish->Enabled());
    EXPECT_FALSE(m_form->Timer1->Enabled());
    for (int step = 0; step < 30; ++step) {
        m_clock.Advance(50);
        PumpMessages();
    }
    SaveScreenshot("complete");
    // Finish is now the default button: Enter finishes.
    EXPECT_EQ(GetFocus(), m_form->BFinish->Handle());
    EXPECT_NE(LeftEdge(m_form->BFinish), LeftEdge(m_form->BHelp));
    EXPECT_EQ(LeftEdge(m_form->PCancel), LeftEdge(m_form->BHelp));

    Click(m_form->BHelp);
    EXPECT_EQ(m_launcher.documents, std::vector<std::string>{installDir + "/Drivers/Read me.html"});
    m_launcher.opens = false; // a desktop without a document opener
    const std::size_t questionsBeforeHelp = m_questions.size();
    Click(m_form->BHelp);
    ASSERT_EQ(m_questions.size(), questionsBeforeHelp + 1);
    EXPECT_NE(m_questions.back().find("Cannot open \"" + installDir + "/Drivers/Read me.html\""), std::string::npos)
        << m_questions.back();
    Click(m_form->Run);
    EXPECT_TRUE(m_form->Run->Checked());
    const std::size_t questions = m_questions.size();
    Click(m_form->BFinish);
    m_closed = true;
    EXPECT_EQ(m_questions.size(), questions); // no question once Finish is enabled
    EXPECT_EQ(m_launcher.programs, std::vector<std::string>{installDir + "/Modem in " + installDir});
}

TEST_F(InstallerWindowTest, CancelAsksAndOnlyYesLeavesRemovingTheDriverTool)
{
    m_browseTo = "";
    Click(m_form->BBrowse); // cancelled: nothing changes
    EXPECT_EQ(m_form->EPath->Text(), DefaultInstallFolder());

    m_answer = mrNo;
    Click(m_form->BCancel);
    EXPECT_EQ(m_questions.back(), "Norra Installer: Do you want to cancel installation without completion?");
    EXPECT_TRUE(IsWindowVisible(m_form->Handle()));

    m_browseTo = m_dir.Path().string();
    Click(m_form->BBrowse);
    Click(m_form->BNext);
    const std::string installDir = m_form->InstallDir();
    ASSERT_TRUE(fs::exists(installDir + "/Drivers/Driver"));
    m_answer = mrYes;
    Click(m_form->PCancel);
    m_closed = true;
    EXPECT_FALSE(fs::exists(installDir + "/Drivers/Driver"));
    EXPECT_FALSE(fs::exists(installDir + "/Drivers/driverforge.ini"));
    EXPECT_TRUE(fs::exists(installDir + "/Modem"));
}

} // namespace
