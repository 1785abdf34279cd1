#pragma once

#include "modem/app/MainForm.h"
#include "modem/app/Welcome.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "skin/SkinManage.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"
#include "tests/support/devices/FakeDevices.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

// The manager's main window on the headless screen, started as the program starts it, without a
// modem: what it keeps on disk, and the user's folders, lie in a temporary folder. The pages are
// opened and read as a user would meet them, through clicks and the shown pixels.
class MainWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        (void)SelectHeadlessDisplay();
        Application->Initialize();
        RegisterModemClasses();
    }

    MainWindowFixture()
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            const auto folder = m_dir / name;
            std::filesystem::create_directories(folder);
            m_environment.Set(name, folder.string());
        }
        SetProgramFolder(m_dir.Path().string() + "/");
        SetCommLockFolder(m_dir.Path().string());
        FW = static_cast<TFW*>(TCustomForm::Create(TFW::StaticClass(), nullptr));
        m_form.reset(static_cast<TMainForm*>(TCustomForm::Create(TMainForm::StaticClass(), nullptr)));
        m_form->Show();
        Application->ProcessMessages();
    }

    ~MainWindowFixture() override
    {
        m_form->Close();
        m_form.reset();
        FreeSkinManager();
        SetCommLockFolder("");
        SetProgramFolder("");
    }

    [[nodiscard]] HeadlessDisplay& Screen() const { return dynamic_cast<HeadlessDisplay&>(Display()); }

    // A click at a point of the control, as the user's hand makes it; the messages it causes are
    // handled.
    void Click(TControl& control, POINT point, MouseButton button = MouseButton::Left)
    {
        const TPoint screen = control.ClientToScreen(TPoint{point.x, point.y});
        RECT window{};
        (void)GetWindowRect(m_form->Handle(), &window);
        Screen().InjectClick(TopLevelId(m_form->Handle()), POINT{screen.x - window.left, screen.y - window.top},
                             button);
        Application->ProcessMessages();
    }

    // The shown colour at a point of the control, as 0xRRGGBB.
    [[nodiscard]] std::uint32_t Shown(TControl& control, POINT point) const
    {
        const TPoint screen = control.ClientToScreen(TPoint{point.x, point.y});
        RECT window{};
        (void)GetWindowRect(m_form->Handle(), &window);
        return Screen()
                   .WindowPixel(TopLevelId(m_form->Handle()), screen.x - window.left, screen.y - window.top)
                   .value_or(0xDEADBEEF) &
               0xFFFFFF;
    }

    // The window as it is now, into build/modem-app-<name>.png, for a person to look at.
    void SaveScreenshot(const std::string& name)
    {
        Application->ProcessMessages();
        const auto path = std::filesystem::path(MODEM_TEST_PICTURES) / ("modem-app-" + name + ".png");
        EXPECT_TRUE(Screen().SaveWindowPng(TopLevelId(m_form->Handle()), path));
    }

    TempDir m_dir;
    FakeDevices m_devices;
    ScopedEnvironment m_environment;
    std::unique_ptr<TMainForm> m_form;
};
