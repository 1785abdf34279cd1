#pragma once

#include "platform/winapi/display/headless/PngWriter.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreenshot.h"
#include "tests/support/Xdotool.h"
#include "tests/support/Xvfb.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

// The manager as a user meets it: the program itself on a private X server beside the simulated
// modem, driven with the pointer and the keys through xdotool. It runs from a copy in a temporary
// folder ("app"), where it keeps its database and settings; the user's folders lie there too.
class ManagerOnXFixture : public testing::Test {
protected:
    // Generous: the program starts slowly under the sanitizers on a loaded machine.
    static constexpr std::chrono::seconds Patience{120};

    void SetUp() override
    {
        namespace fs = std::filesystem;
        if (!XvfbServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
        m_server = std::make_unique<XvfbServer>(1024, 768);
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
    }

    void TearDown() override
    {
        m_manager.reset();
        m_modem.reset();
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
        const auto path = std::filesystem::path(MODEM_SCREENSHOTS) / ("modem-" + name + ".png");
        EXPECT_TRUE(WritePngFile(path, shot.width, shot.height, shot.pixels.data(),
                                 static_cast<std::ptrdiff_t>(shot.width) * 4));
    }

    TempDir m_dir;
    std::unique_ptr<XvfbServer> m_server;
    std::optional<Xdotool> m_input;
    std::unique_ptr<FakeModem> m_modem;
    std::unique_ptr<ChildProgram> m_manager;
};
