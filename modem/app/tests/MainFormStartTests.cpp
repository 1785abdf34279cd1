#include "modem/app/MainForm.h"
#include "modem/app/Welcome.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/rtl/SysMath.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "skin/SkinManage.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>

namespace {

// The main window created as the program creates it, on the headless screen and with no modem,
// everything it keeps on disk in a temporary folder.
class MainFormStartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        (void)SelectHeadlessDisplay();
        Application->Initialize();
        RegisterModemClasses();
    }

    MainFormStartTest()
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            std::filesystem::create_directories(m_dir / name);
            m_environment.Set(name, (m_dir / name).string());
        }
        SetProgramFolder(m_dir.Path().string() + "/");
        std::filesystem::create_directories(m_dir / "sys");
        SetSysfsRoot((m_dir / "sys").string());
    }

    ~MainFormStartTest() override
    {
        SetSysfsRoot("");
        SetProgramFolder("");
    }

    // The random generator's state after a start from `seed`.
    static std::uint32_t SeedAfterStartFrom(std::uint32_t seed)
    {
        SetRandSeed(seed);
        std::unique_ptr<TMainForm> form(static_cast<TMainForm*>(TCustomForm::Create(TMainForm::StaticClass(), nullptr)));
        const std::uint32_t after = RandSeed();
        form->Close();
        form.reset();
        FreeSkinManager();
        return after;
    }

    TempDir m_dir;
    ScopedEnvironment m_environment;
};

TEST_F(MainFormStartTest, EveryStartSeedsTheRandomGeneratorAfresh)
{
    EXPECT_NE(SeedAfterStartFrom(1), SeedAfterStartFrom(1))
        << "two starts would write the same dial-parameter id and GUID";
}

} // namespace
