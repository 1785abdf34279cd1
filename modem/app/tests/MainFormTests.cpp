#include "modem/app/MainForm.h"
#include "modem/app/Welcome.h"

#include "dialup/RASDail.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/rtl/SysMath.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "skin/SkinManage.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"
#include "tests/support/devices/FakeDevices.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// The main window created as the program creates it, on the headless screen and with no modem,
// everything it keeps on disk in a temporary folder.
class MainFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        (void)SelectHeadlessDisplay();
        Application->Initialize();
        RegisterModemClasses();
    }

    MainFormTest()
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            std::filesystem::create_directories(m_dir / name);
            m_environment.Set(name, (m_dir / name).string());
        }
        SetProgramFolder(m_dir.Path().string() + "/");
    }

    ~MainFormTest() override
    {
        CloseForm();
        SetProgramFolder("");
    }

    void StartForm()
    {
        m_form.reset(static_cast<TMainForm*>(TCustomForm::Create(TMainForm::StaticClass(), nullptr)));
        m_form->Show();
    }

    void CloseForm()
    {
        if (!m_form)
            return;
        m_form->Close();
        m_form.reset();
        // Each start makes the skin engine afresh, as a program does.
        FreeSkinManager();
    }

    // The random generator's state after a start from `seed`.
    std::uint32_t SeedAfterStartFrom(std::uint32_t seed)
    {
        SetRandSeed(seed);
        StartForm();
        const std::uint32_t after = RandSeed();
        CloseForm();
        return after;
    }

    void AddRow(const std::string& table, const std::string& name, const std::string& number)
    {
        TADOQuery writer(nullptr);
        writer.SetConnectionString(m_form->QAll->ConnectionString());
        writer.SQL()->SetText("SELECT * FROM " + table);
        writer.Open();
        writer.Append();
        writer.FieldByName("NAME")->SetAsString(name);
        writer.FieldByName("NUM")->SetAsString(number);
        writer.Post();
    }

    // The colour of each character of the dial display.
    std::vector<TColor> DisplayColours()
    {
        TRichEdit& display = *m_form->EDNum;
        std::vector<TColor> colours;
        for (int position = 0; position < static_cast<int>(display.Text().size()); ++position) {
            display.SetSelStart(position);
            display.SetSelLength(1);
            colours.push_back(display.SelAttributes()->Color());
        }
        return colours;
    }

    TempDir m_dir;
    FakeDevices m_devices;
    ScopedEnvironment m_environment;
    std::unique_ptr<TMainForm> m_form;
};

TEST_F(MainFormTest, EveryStartSeedsTheRandomGeneratorAfresh)
{
    EXPECT_NE(SeedAfterStartFrom(1), SeedAfterStartFrom(1))
        << "two starts would write the same dial-parameter id and GUID";
}

TEST_F(MainFormTest, CallThisNumberShowsTheNumberAsATypedOneWithItsColoursAndContactNames)
{
    StartForm();
    AddRow("PB", "Alice", "5551234");
    AddRow("CO", "Alice", "5551234");
    m_form->BCallM->Click();
    m_form->QOUT->Close();
    m_form->QOUT->Open();
    m_form->PCH->SetVisible(true);
    m_form->PCCH->SetActivePage(m_form->TSOUT);
    m_form->PCCHChange(m_form->PCCH);
    auto& menu = dynamic_cast<TPopupMenu&>(*m_form->FindComponent("PMCH"));
    menu.OnPopup()(&menu);
    dynamic_cast<TMenuItem&>(*m_form->FindComponent("PCD")).Click();

    EXPECT_EQ(m_form->EDNum->Text(), "5551234");
    const TColor red(0x0000FF), green(0x008000), olive(0x008080);
    EXPECT_EQ(DisplayColours(), (std::vector<TColor>{red, green, olive, red, green, olive, red}));
    ASSERT_EQ(m_form->LBName->Items()->Count(), 1);
    EXPECT_EQ(m_form->LBName->Items()->Strings(0), "Alice");
}

TEST_F(MainFormTest, AFailedDataConnectionSaysWhyInItsLog)
{
    StartForm();
    // What the dial-up service reports when pppd cannot be started.
    RasDialCallback(0, RASCS_OpenPort, ERROR_RASMAN_CANNOT_INITIALIZE);
    TStrings& log = *m_form->MDR->Lines();
    ASSERT_GE(log.Count(), 2);
    const std::string error = log.Strings(log.Count() - 2);
    const std::string reason = RasErrorString(ERROR_RASMAN_CANNOT_INITIALIZE);
    EXPECT_EQ(error.rfind("==Connection Error: " + reason + "== ", 0), 0u) << error;
    EXPECT_NE(reason.find("pppd"), std::string::npos);
    EXPECT_EQ(log.Strings(log.Count() - 1).rfind("==Disconnected== ", 0), 0u);
}

} // namespace
