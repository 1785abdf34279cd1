// Installer as a user meets it: on a private X server, driven through its keys with xdotool,
// installing into a temporary home over a device view that shows the modem with its driver. The
// screenshots stay in the build tree for a person to look at.

#include "platform/winapi/display/headless/PngWriter.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreenshot.h"
#include "tests/support/WindowManager.h"
#include "tests/support/Xdotool.h"
#include "tests/support/Xvfb.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Generous: the installer writes its whole payload, slowly under the sanitizers.
constexpr auto Patience = 120s;

// On the bare server and under a window manager.
class InstallerOnXTest : public testing::TestWithParam<Desktop> {
protected:
    void SetUp() override
    {
        if (!XvfbServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
        if (!DesktopAvailable(GetParam()))
            GTEST_SKIP() << "openbox is not installed (Debian package openbox)";
        m_server = std::make_unique<XvfbServer>(1024, 768);
        m_windowManager = StartDesktop(GetParam(), m_server->Name(), m_dir.Path());
        m_keys = Xdotool::Find(m_server->Name(), m_dir / "xdotool.txt");
        if (!m_keys)
            GTEST_SKIP() << "xdotool is not installed";
        fs::create_directories(m_dir / "home");
        fs::create_directories(m_dir / "sys");
        // The modem is there and its driver bound: the watch ends at its first tick.
        m_dir.WriteFile("overlay.ini", "[HKEY_LOCAL_MACHINE\\hardware\\devicemap\\serialcomm]\n"
                                       "\\Device\\qcusbser3=COM3\n");
    }

    void TearDown() override
    {
        StopInstalledManager();
        m_installer.reset();
        m_windowManager.reset();
    }

    void StartInstaller()
    {
        m_installer = std::make_unique<ChildProgram>(
            INSTALLER_PROGRAM, std::vector<std::string>{},
            PrivateDesktopEnvironment(m_server->Name(), m_dir.Path()),
            m_dir / "stderr.txt");
    }

    // The screen once it has changed from `before` and then stood still for a moment, shorter than
    // a caret's blink (or as it is when the patience runs out). `still` 0: as soon as it changed,
    // for a page whose display scrolls on and never stands still.
    Screenshot AwaitChange(const Screenshot& before, std::chrono::milliseconds still = 250ms)
    {
        const auto changed = [&](const Screenshot& shot) { return shot.pixels != before.pixels; };
        Screenshot shot = AwaitStillScreen(m_server->Name(), changed, still, Patience);
        EXPECT_TRUE(changed(shot)) << ReadWholeFile(m_dir / "stderr.txt");
        return shot;
    }

    Screenshot Press(const std::string& key, const Screenshot& before)
    {
        EXPECT_TRUE(m_keys->Key(key)) << key;
        return AwaitChange(before);
    }

    static void Save(const Screenshot& shot, const std::string& name)
    {
        const fs::path path = fs::path(MODEM_TEST_PICTURES) / ("installer-x-" + name + ".png");
        EXPECT_TRUE(WritePngFile(path, shot.width, shot.height, shot.pixels.data(),
                                 static_cast<std::ptrdiff_t>(shot.width) * 4));
    }

    struct ShownBox {
        Xdotool::Place place;
        std::uint32_t caption = 0; // the colour in the middle of its caption
    };

    // The message box over the installer's window (which has the same title), once the server
    // shows it painted: where its caption is, the screen no longer shows what `before` did.
    [[nodiscard]] std::optional<ShownBox> PaintedBox(const Screenshot& before) const
    {
        for (const Xdotool::Place& window : m_keys->ShownWindows("Norra Installer")) {
            if (window.width == MainWindowWidth)
                continue;
            const auto shot = TakeXScreenshot(m_server->Name());
            const int x = window.left + window.width / 2, y = window.top + CaptionMiddle;
            if (shot && shot->At(x, y) != before.At(x, y))
                return ShownBox{window, shot->At(x, y)};
        }
        return std::nullopt;
    }

    // Waits on the box, failing when the installer has ended or the patience runs out.
    [[nodiscard]] ShownBox AwaitBox(const Screenshot& before, const std::string& when)
    {
        std::optional<ShownBox> box;
        const auto deadline = std::chrono::steady_clock::now() + Patience;
        while (!(box = PaintedBox(before)) && m_installer->Running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(50ms);
        EXPECT_TRUE(box) << "no message box painted" << when << "\n" << ReadWholeFile(m_dir / "stderr.txt");
        return box.value_or(ShownBox{});
    }

    // Waits until the box has gone and the installer's window has painted over where it was.
    void AwaitBoxGone(const ShownBox& box, const std::string& when)
    {
        const int x = box.place.left + box.place.width / 2, y = box.place.top + CaptionMiddle;
        const auto gone = [&] {
            const auto shot = TakeXScreenshot(m_server->Name());
            return m_keys->ShownWindows("Norra Installer").size() == 1 && shot && shot->At(x, y) != box.caption;
        };
        const auto deadline = std::chrono::steady_clock::now() + Patience;
        while (!gone() && m_installer->Running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(50ms);
        EXPECT_TRUE(gone()) << "the message box stays, or its place is not painted again" << when;
        EXPECT_TRUE(m_installer->Running()) << when << "\n" << ReadWholeFile(m_dir / "stderr.txt");
    }

    static constexpr int MainWindowWidth = 535;
    static constexpr int CaptionMiddle = 12;
    static constexpr int BoxBottomFrame = 3;

    [[nodiscard]] fs::path InstallDir() const { return m_dir / "home/Norra"; }

    // The manager Finish started runs on its own; it is ended here, found by its program file.
    void StopInstalledManager() const
    {
        for (const pid_t pid : ManagerProcesses())
            ::kill(pid, SIGKILL);
    }

    [[nodiscard]] bool ManagerRunning() const { return !ManagerProcesses().empty(); }

    [[nodiscard]] std::vector<pid_t> ManagerProcesses() const
    {
        const fs::path manager = InstallDir() / "Modem";
        std::vector<pid_t> found;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator("/proc", error)) {
            const auto exe = fs::read_symlink(entry.path() / "exe", error);
            if (!error && exe == manager)
                found.push_back(std::stoi(entry.path().filename().string()));
        }
        return found;
    }

    TempDir m_dir;
    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<WindowManager> m_windowManager;
    std::optional<Xdotool> m_keys;
    std::unique_ptr<ChildProgram> m_installer;
};

TEST_P(InstallerOnXTest, BrowseNextTheDriverWatchAndFinishStartingTheManager)
{
    const Screenshot black = *TakeXScreenshot(m_server->Name());
    StartInstaller();
    Screenshot shot = AwaitChange(black);
    Save(shot, "welcome");
    shot = Press("Return", shot);
    Save(shot, "folder-page");

    shot = Press("alt+b", shot);
    Save(shot, "folder-dialog");
    shot = Press("Return", shot); // the dialog starts at the home folder

    // Next writes the whole payload before the page changes; the install folder's record in
    // Modem.ini is its last file step.
    EXPECT_TRUE(m_keys->Key("alt+n"));
    const auto deadline = std::chrono::steady_clock::now() + Patience;
    while (ReadWholeFile(InstallDir() / "Modem.ini").find("Path=") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(100ms);
    shot = AwaitChange(shot, 0ms);
    ASSERT_TRUE(fs::exists(InstallDir() / "Modem")) << ReadWholeFile(m_dir / "stderr.txt");
    EXPECT_TRUE(fs::exists(InstallDir() / "USB MODEM.mdb"));
    EXPECT_TRUE(fs::exists(m_dir / "home/Desktop/Modem.desktop"));
    EXPECT_TRUE(fs::exists(m_dir / "root/usr/local/share/applications/Kestra/Norra/Uninstall.desktop"));
    std::this_thread::sleep_for(1s); // a few steps of the scrolling notice
    Save(*TakeXScreenshot(m_server->Name()), "progress-page");

    // The window is centred on the screen: the check box and Finish at their places in it.
    const int left = (1024 - 535) / 2;
    const int top = (768 - 324) / 2;
    EXPECT_TRUE(m_keys->Click(left + 188, top + 209)); // Run client software immediately
    std::this_thread::sleep_for(1s);
    Save(*TakeXScreenshot(m_server->Name()), "run-checked");
    EXPECT_TRUE(m_keys->Click(left + 138, top + 254)); // Finish
    const auto started = std::chrono::steady_clock::now() + Patience;
    while (!ManagerRunning() && std::chrono::steady_clock::now() < started)
        std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(ManagerRunning());
    EXPECT_EQ(m_installer->AwaitExit(), 0) << ReadWholeFile(m_dir / "stderr.txt");
}

// The welcome box, and the question Cancel asks: each opened by the mouse and by the keyboard
// and answered with each button, twenty times over; Yes ends the installer.
TEST_P(InstallerOnXTest, TheWelcomeAndTheCancelQuestionOpenAndAnswerEveryWay)
{
    const Screenshot black = *TakeXScreenshot(m_server->Name());
    StartInstaller();
    ShownBox box = AwaitBox(black, " (welcome)");
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(m_keys->ClickMessageBoxButton(box.place, 0, 1, BoxBottomFrame));
    AwaitBoxGone(box, " (welcome)");
    ASSERT_FALSE(HasFailure());

    enum class Way { Mouse, Keyboard };
    const struct {
        Way open, answer;
    } steps[] = {{Way::Mouse, Way::Mouse}, {Way::Keyboard, Way::Keyboard}, {Way::Keyboard, Way::Mouse}, {Way::Mouse, Way::Keyboard}};
    const int left = (1024 - MainWindowWidth) / 2;
    const int top = (768 - 324) / 2;
    for (int round = 1; round <= 20; ++round)
        for (const auto& step : steps) {
            const std::string when = " (round " + std::to_string(round) + ")";
            const Screenshot before = *TakeXScreenshot(m_server->Name());
            if (step.open == Way::Mouse)
                ASSERT_TRUE(m_keys->Click(left + 288 + 44, top + 59 + 111 + 45)); // Cancel
            else
                ASSERT_TRUE(m_keys->Key("alt+c"));
            box = AwaitBox(before, when);
            ASSERT_FALSE(HasFailure());
            if (step.answer == Way::Mouse)
                ASSERT_TRUE(m_keys->ClickMessageBoxButton(box.place, 1, 2, BoxBottomFrame)); // No
            else
                ASSERT_TRUE(m_keys->Key("Escape"));
            AwaitBoxGone(box, when);
            ASSERT_FALSE(HasFailure());
        }

    for (const Way answer : {Way::Mouse, Way::Keyboard}) {
        const Screenshot before = *TakeXScreenshot(m_server->Name());
        ASSERT_TRUE(m_keys->Key("alt+c"));
        box = AwaitBox(before, " (yes)");
        ASSERT_FALSE(HasFailure());
        if (answer == Way::Mouse)
            ASSERT_TRUE(m_keys->ClickMessageBoxButton(box.place, 0, 2, BoxBottomFrame)); // Yes
        else
            ASSERT_TRUE(m_keys->Key("Return"));
        EXPECT_EQ(m_installer->AwaitExit(), 0) << ReadWholeFile(m_dir / "stderr.txt");
        StartInstaller();
        box = AwaitBox(black, " (welcome again)");
        ASSERT_FALSE(HasFailure());
        ASSERT_TRUE(m_keys->Key("Return"));
        AwaitBoxGone(box, " (welcome again)");
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, InstallerOnXTest, testing::Values(Desktop::Bare, Desktop::Managed),
                         [](const testing::TestParamInfo<Desktop>& row) { return DesktopName(row.param); });

} // namespace
