// The manager's skin, which its main window's form data carries: read back out of the form data,
// and worn by the program itself on a private X server beside the simulated modem, with a message
// box and the four pages opened as a user opens them. The screenshots stay in the build tree for a
// person to look at.

#include "ManagerOnXFixture.h"
#include "ModemProgramFixture.h"

#include "skin/SkinStore.h"


#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int ClientWidth = 424;
constexpr int ClientHeight = 374;

struct TScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The window on the black root: the smallest rectangle holding every pixel that is not black.
std::optional<TScreenRect> WindowOnScreen(const Screenshot& shot)
{
    int left = shot.width, top = shot.height, right = -1, bottom = -1;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, y) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return std::nullopt;
    return TScreenRect{left, top, right - left + 1, bottom - top + 1};
}

// Whether a row below `top` holds a run of `colour` as long as a caption bar's.
bool HasTitleBarBelow(const Screenshot& shot, std::uint32_t colour, int top)
{
    constexpr int CaptionRun = 60;
    for (int y = top; y < shot.height; ++y) {
        int run = 0;
        for (int x = 0; x < shot.width && run < CaptionRun; ++x)
            run = shot.At(x, y) == colour ? run + 1 : 0;
        if (run >= CaptionRun)
            return true;
    }
    return false;
}

class ModemSkinOnXTest : public ManagerOnXFixture {
protected:
    // The screen once `done` holds for it and it has then stood still for a moment, shorter than a
    // caret's blink (or as it is when the patience runs out).
    Screenshot AwaitScreen(const std::function<bool(const Screenshot&)>& done)
    {
        return AwaitStillScreen(m_server->Name(), done, 250ms, Patience);
    }

    Screenshot AwaitChange(const Screenshot& before)
    {
        Screenshot shot = AwaitScreen([&](const Screenshot& screen) { return screen.pixels != before.pixels; });
        EXPECT_NE(shot.pixels, before.pixels) << Errors();
        return shot;
    }

    Screenshot Click(int x, int y, const Screenshot& before)
    {
        EXPECT_TRUE(m_input->Click(x, y)) << x << "," << y;
        return AwaitChange(before);
    }

};

TEST_P(ModemSkinOnXTest, TheWindowWearsTheSkinOnEveryPage)
{
    const TSkinFrame frame = ReadSkinFrame();
    const int titleHeight = frame.titleHeight;
    const int leftWidth = frame.leftWidth;
    const int bottomHeight = frame.bottomHeight;

    const Screenshot black = *TakeXScreenshot(m_server->Name());
    StartManager();
    const Screenshot splash = AwaitChange(black);
    Save(splash, "skin-splash");
    m_modem->WaitForStatus([](const ModemStatus& status) { return status.messageRouting; }, "messages routed");
    Screenshot shot = AwaitChange(splash);
    Save(shot, "skin-modem");
    const auto window = WindowOnScreen(shot);
    ASSERT_TRUE(window.has_value()) << Errors();

    // The frame is the skin's, not the window system's: as wide as the skin's borders, and its
    // caption bar painted from the skin's title picture.
    const std::uint32_t title = frame.titleColour;
    EXPECT_EQ(window->height, titleHeight + ClientHeight + bottomHeight);
    EXPECT_EQ(window->width, ClientWidth + 2 * leftWidth);
    EXPECT_EQ(shot.At(window->left + window->width / 2, window->top + titleHeight / 3), title);
    const int clientLeft = window->left + leftWidth;
    const int clientTop = window->top + titleHeight;

    // A number the settings refuse brings up a message box, which wears the skin too: a caption
    // bar of the title picture's colour below the main window's.
    const auto boxShown = [&](const Screenshot& screen) { return HasTitleBarBelow(screen, title, clientTop); };
    shot = Click(clientLeft + 170, clientTop + 326, shot); // Setting
    shot = Click(clientLeft + 232, clientTop + 202, shot); // the dial-up number
    ASSERT_TRUE(m_input->Key("End"));
    ASSERT_TRUE(m_input->Key("a"));
    ASSERT_FALSE(boxShown(shot)) << "the main window alone already shows a second caption bar";
    ASSERT_TRUE(m_input->Click(clientLeft + 164, clientTop + 276)); // Save
    shot = AwaitScreen(boxShown);
    Save(shot, "skin-message-box");
    ASSERT_TRUE(boxShown(shot)) << "no skinned message box\n" << Errors();
    ASSERT_TRUE(m_input->Key("Return"));
    shot = AwaitScreen([&](const Screenshot& screen) { return !boxShown(screen); });
    ASSERT_FALSE(boxShown(shot)) << "the message box did not close";

    // The page buttons along the top of the client area, each 80 pixels wide, 82 apart.
    const struct {
        const char* page;
        int button;
    } pages[] = {{"sms", 1}, {"call", 2}, {"phonebook", 3}, {"modem-again", 0}};
    for (const auto& page : pages) {
        shot = Click(clientLeft + 4 + 82 * page.button + 40, clientTop + 24, shot);
        Save(shot, std::string("skin-") + page.page);
    }

    // Closed as a user closes it, the program gives its windows back their own look and ends well.
    ASSERT_TRUE(m_input->Key("alt+F4"));
    EXPECT_EQ(m_manager->AwaitExit(), 0) << Errors();
}

INSTANTIATE_ON_EVERY_DESKTOP(ModemSkinOnXTest);

// The skin travels in the main window's form data, as the build wrote it from the package.
TEST_F(ModemProgramFixture, TheMainWindowsFormDataCarriesTheSkinPackageAndAnEmptySkinStore)
{
    StartProgram();
    auto* data = dynamic_cast<TSkinData*>(m_form->FindComponent("SkinData1"));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->Active());
    EXPECT_FALSE(data->Pending());
    EXPECT_EQ(data->SkinFormtype(), sfMainform);
    EXPECT_FALSE(data->SkinControls().Contains(xcFastReport));
    EXPECT_TRUE(data->SkinControls().Contains(xcSystemMenu));
    const std::string package = ReadWholeFile(fs::path(MODEM_SOURCE_DIR) / "assets/skin/modem.skn");
    TMemoryStream& packed = data->PackedSkin();
    ASSERT_EQ(packed.Size(), static_cast<std::int64_t>(package.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(packed.Memory()), package.size()), package);

    auto* store = dynamic_cast<TSkinStore*>(m_form->FindComponent("SkinStore1"));
    ASSERT_NE(store, nullptr);
    ASSERT_EQ(store->Store()->Count(), 1);
    EXPECT_EQ(store->Store()->Items(0)->Name(), "SkinItem0");
    EXPECT_EQ(store->Store()->Items(0)->DataSize(), 0);
}

} // namespace
