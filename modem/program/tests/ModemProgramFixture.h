#pragma once

#include "modem/app/MainForm.h"
#include "modem/app/Welcome.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/WinUser.h"
#include "skin/SkinManage.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

inline constexpr const char* Ready = "USB Modem ready.";

// The manager's main window on the headless screen, started as the program starts it, beside a
// simulated modem on a pseudo-terminal that the device view presents as COM7. Everything the
// program keeps on disk lies in a temporary folder, the user's folders included.
class ModemProgramFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        (void)SelectHeadlessDisplay();
        Application->Initialize();
        RegisterModemClasses();
    }

    ModemProgramFixture()
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            const auto folder = m_dir / name;
            std::filesystem::create_directories(folder);
            m_environment.Set(name, folder.string());
        }
        SetProgramFolder(m_dir.Path().string() + "/");
        SetCommLockFolder(m_dir.Path().string());
        std::filesystem::create_directories(m_dir / "sys");
        SetSysfsRoot((m_dir / "sys").string());
        SetDeviceOverlayPath((m_dir / "overlay.ini").string());
        Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors += text + "\n"; });
    }

    ~ModemProgramFixture() override
    {
        CloseForm();
        // Each test starts the skin engine afresh, as a program would.
        FreeSkinManager();
        m_modem.reset();
        Application->SetShowExceptionHook(nullptr);
        SetDeviceOverlayPath("");
        SetSysfsRoot("");
        SetCommLockFolder("");
        SetProgramFolder("");
    }

    // The simulated modem plugged in, answering quickly.
    void PlugModem(int signal)
    {
        using namespace std::chrono_literals;
        FakeModemOptions options;
        options.overlayPath = (m_dir / "overlay.ini").string();
        options.comName = "COM7";
        options.settings.signal = signal;
        options.settings.smsDelay = 20ms;
        options.settings.dialDelay = 20ms;
        m_modem = std::make_unique<FakeModem>(options);
    }

    // The program's start: the splash, then the main window, shown.
    void StartProgram()
    {
        FW = static_cast<TFW*>(TCustomForm::Create(TFW::StaticClass(), nullptr));
        m_form.reset(static_cast<TMainForm*>(TCustomForm::Create(TMainForm::StaticClass(), nullptr)));
        m_form->Show();
    }

    void CloseForm()
    {
        if (!m_form)
            return;
        m_form->Close();
        m_form.reset();
    }

    [[nodiscard]] std::string PortStatus() const { return m_form->StatusText(0); }
    [[nodiscard]] std::string NetworkStatus() const { return m_form->StatusText(1); }

    // Handles the window's messages until `done` holds; false after `limit`.
    [[nodiscard]] bool PumpUntil(const std::function<bool()>& done,
                                 std::chrono::seconds limit = std::chrono::seconds(120))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            Application->ProcessMessages();
        }
        return true;
    }

    // The screen as it is now, into build/modem-<name>.png, for a person to look at.
    void SaveScreenshot(const std::string& name)
    {
        Application->ProcessMessages();
        const auto path = std::filesystem::path(MODEM_TEST_PICTURES) / ("modem-" + name + ".png");
        std::filesystem::create_directories(path.parent_path());
        auto* headless = dynamic_cast<HeadlessDisplay*>(&Display());
        ASSERT_NE(headless, nullptr);
        EXPECT_TRUE(headless->SaveScreenPng(path));
    }

    [[nodiscard]] std::string Transcript() { return m_modem ? m_modem->GetTranscript().Text() : std::string(); }

    TempDir m_dir;
    ScopedEnvironment m_environment;
    std::unique_ptr<FakeModem> m_modem;
    std::unique_ptr<TMainForm> m_form;
    std::string m_errors;
};
