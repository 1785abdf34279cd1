#pragma once

#include "platform/classlib/core/Streams.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/display/headless/PngWriter.h"
#include "skin/SkinData.h"
#include "skin/SkinElements.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreenshot.h"
#include "tests/support/Xdotool.h"
#include "tests/support/WindowManager.h"
#include "tests/support/Xvfb.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

// What the manager's skin says its frames look like, read from the package without a screen.
struct TSkinFrame {
    int titleHeight = 0;
    int leftWidth = 0;
    int bottomHeight = 0;
    std::uint32_t titleColour = 0; // as the screen shows it, 0xRRGGBB
};

inline TSkinFrame ReadSkinFrame()
{
    (void)SelectHeadlessDisplay();
    TSkinData skin(nullptr);
    TFileStream package((std::filesystem::path(MODEM_SOURCE_DIR) / "assets/skin/modem.skn").string(), fmOpenRead);
    EXPECT_TRUE(skin.LoadSkinFromStream(package));
    TSkinElements& elements = skin.Elements();
    const auto colour = static_cast<std::uint32_t>(skin.TitleColour());
    return TSkinFrame{elements.Top().Image.Height() / std::max(elements.Top().Frame, 1),
                      elements.Left().Image.Width() / std::max(elements.Left().Frame, 1),
                      elements.Bottom().Image.Height() / std::max(elements.Bottom().Frame, 1),
                      ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF)};
}

// The manager as a user meets it: the program itself on a private X server beside the simulated
// modem, driven with the pointer and the keys through xdotool. It runs from a copy in a temporary
// folder ("app"), where it keeps its database and settings; the user's folders lie there too.
// Every test runs on the bare server and under a window manager.
class ManagerOnXFixture : public testing::TestWithParam<Desktop> {
protected:
    // Generous: the program starts slowly under the sanitizers on a loaded machine.
    static constexpr std::chrono::seconds Patience{120};

    void SetUp() override
    {
        namespace fs = std::filesystem;
        if (!XvfbServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
        if (!DesktopAvailable(GetParam()))
            GTEST_SKIP() << "openbox is not installed (Debian package openbox)";
        m_server = std::make_unique<XvfbServer>(1024, 768);
        m_windowManager = StartDesktop(GetParam(), m_server->Name(), m_dir.Path());
        m_input = Xdotool::Find(m_server->Name(), m_dir / "xdotool.txt");
        if (!m_input)
            GTEST_SKIP() << "xdotool is not installed";
        for (const char* folder : {"app", "home", "sys", "root"})
            fs::create_directories(m_dir / folder);
        std::error_code error;
        fs::create_hard_link(MODEM_PROGRAM, m_dir / "app/Modem", error);
        if (error)
            fs::copy_file(MODEM_PROGRAM, m_dir / "app/Modem");
        FakeModemOptions options;
        options.overlayPath = (m_dir / "overlay.ini").string();
        options.comName = "COM7";
        options.settings.signal = 26;
        options.settings.smsDelay = std::chrono::milliseconds(20);
        m_modem = std::make_unique<FakeModem>(options);
        m_modem->GetTranscript().SetListener([this](const std::string& line) {
            if (line.find("AT+CSQ") != std::string::npos)
                m_lastSignalPoll = std::chrono::steady_clock::now().time_since_epoch().count();
        });
    }

    void TearDown() override
    {
        m_manager.reset();
        m_modem.reset();
        m_windowManager.reset();
    }

    // Waits until `done` holds, looking now and then. The manager must keep answering meanwhile:
    // while the modem is plugged in, its main timer polls the signal every few seconds, so a
    // program that stops polling for far longer has hung. Then the test fails (and the program is
    // ended) rather than wait on, as it does when the patience runs out.
    [[nodiscard]] testing::AssertionResult AwaitAnswering(const std::function<bool()>& done, const std::string& what)
    {
        constexpr auto Silence = std::chrono::seconds(30);
        const auto deadline = std::chrono::steady_clock::now() + Patience;
        m_lastSignalPoll = std::max(m_lastSignalPoll.load(), std::chrono::steady_clock::now().time_since_epoch().count());
        while (!done()) {
            const auto now = std::chrono::steady_clock::now();
            const auto lastPoll = std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(m_lastSignalPoll));
            if (m_manager && !m_manager->Running())
                return testing::AssertionFailure() << "the manager ended while waiting for " << what << "\n" << Errors();
            if (m_modemPolled && now - lastPoll > Silence) {
                if (const auto shot = TakeXScreenshot(m_server->Name()))
                    Save(*shot, "not-answering-" + DesktopName(GetParam()));
                m_manager.reset();
                return testing::AssertionFailure() << "the manager stopped answering (no signal poll for "
                                                   << Silence.count() << " s) while waiting for " << what;
            }
            if (now > deadline)
                return testing::AssertionFailure() << "no " << what << " in " << Patience.count() << " s\n" << Errors();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return testing::AssertionSuccess();
    }

    void StartManager()
    {
        m_manager = std::make_unique<ChildProgram>(
            (m_dir / "app/Modem").string(), std::vector<std::string>{},
            ManagerEnvironment(),
            m_dir / "stderr.txt");
    }

    // The private desktop, with a silent sound driver for the ring tones.
    [[nodiscard]] ChildProgram::Environment ManagerEnvironment() const
    {
        ChildProgram::Environment environment = PrivateDesktopEnvironment(m_server->Name(), m_dir.Path());
        environment.emplace_back("MODEM_AUDIO_DRIVER", "null");
        return environment;
    }

    // What the program wrote on its standard error.
    [[nodiscard]] std::string Errors() const { return ReadWholeFile(m_dir / "stderr.txt"); }

    // The screen as build/test/modem-<name>.png, for a person to look at.
    static void Save(const Screenshot& shot, const std::string& name)
    {
        const auto path = std::filesystem::path(MODEM_TEST_PICTURES) / ("modem-" + name + ".png");
        EXPECT_TRUE(WritePngFile(path, shot.width, shot.height, shot.pixels.data(),
                                 static_cast<std::ptrdiff_t>(shot.width) * 4));
    }

    TempDir m_dir;
    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<WindowManager> m_windowManager;
    std::optional<Xdotool> m_input;
    std::unique_ptr<FakeModem> m_modem;
    std::unique_ptr<ChildProgram> m_manager;
    std::atomic<std::chrono::steady_clock::rep> m_lastSignalPoll{0};
    bool m_modemPolled = true; // false once a test unplugs the modem: nothing polls it then
};

#define INSTANTIATE_ON_EVERY_DESKTOP(fixture)                                                            \
    INSTANTIATE_TEST_SUITE_P(Desktops, fixture, testing::Values(Desktop::Bare, Desktop::Managed),        \
                             [](const testing::TestParamInfo<Desktop>& row) { return DesktopName(row.param); })
