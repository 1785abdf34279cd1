// Skins changed at run time, and skins whose every field may be out of range: the skinned form
// takes them, or keeps its last good skin, and never crashes.
#include "SkinnedFormFixture.h"

#include "platform/classlib/core/Streams.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Gdi.h"
#include "skin/SkinMenuItem.h"
#include "tools/skinpack/lib/SkinFolder.h"

#include <functional>
#include <utility>

namespace {

using Entries = TSkinEntries;

TSkinPackageEntry& Ini(Entries& entries)
{
    return entries.front();
}

// Our skin in a container whose version no reader knows.
std::vector<std::uint8_t> UnknownVersionSkin()
{
    std::vector<std::uint8_t> container =
        BuildSkinContainer(ReadSkinFolder(std::string(MODEM_SOURCE_DIR) + "/assets/skin/modem"), TSkinPackageVersion::v40000);
    container[0] = 0x39; // 12345
    container[1] = 0x30;
    return PackSkinContainer(container);
}

class DamagedSkinTest : public SkinnedFormFixture {
protected:
    void Unskin()
    {
        m_data->SetActive(false);
        Advance(TSkinManage::ActionDelay);
    }
};

struct DamageCase {
    const char* what;
    std::function<void(Entries&)> change;
};

} // namespace

TEST_F(DamagedSkinTest, ASkinChangedAtRunTimeResizesAndRepaintsTheFrame)
{
    ShowSkinned();
    const SIZE client = ClientSize();
    // The bottom border's picture as the caption: a caption bar 4 high.
    const auto thin = OurSkinPackage([](Entries& entries) {
        Setting("Top", "FrameBottom.bmp")(entries);
        Setting("TopFrame", "2")(entries);
    });
    ASSERT_TRUE(LoadPackage(thin));
    EXPECT_EQ(Skinner()->Borders().top, 4);
    EXPECT_EQ(ClientSize().cx, client.cx);
    EXPECT_EQ(ClientSize().cy, client.cy);
    EXPECT_EQ(WindowSize().cy, client.cy + 4 + 4);
    // The client area starts right under the thin caption and shows the face colour there.
    EXPECT_EQ(Shown({WindowSize().cx / 2, 5}), 0xE8EDF3u);
}

TEST_F(DamagedSkinTest, DamagedSkinsSkinWithDefaultsOrNotAtAllAndNeverCrash)
{
    const DamageCase cases[] = {
        {"zero top frames", Setting("TopFrame", "0")},
        {"negative left frames", Setting("LeftFrame", "-3")},
        {"zero button frames", Setting("Frame", "0")},
        {"huge margins", Setting("LeftTopHeight", "100000")},
        {"negative margins", Setting("TopTopHeight", "-50")},
        {"buttons far away", Setting("XCoord", "-100000")},
        {"unknown alignments", Setting("Align", "77")},
        {"menu bar buttons", Setting("Align", "100")},
        {"caption text far off", Setting("TextShift", "-100000")},
        {"text clip past the window", Setting("TextRightClip", "99999")},
        {"odd text alignment", Setting("TextAlignment", "9")},
        {"visibility queries", Setting("Visibility", "1500")},
        {"no top picture", Without("FrameTop.bmp")},
        {"no border pictures",
         [](Entries& e) {
             for (const char* name : {"FrameTop.bmp", "FrameLeft.bmp", "FrameRight.bmp", "FrameBottom.bmp"})
                 Without(name)(e);
         }},
        {"no button pictures", Without("BtnClose.bmp")},
        {"huge side margins", Setting("LeftWidth", "100000")},
        {"negative side margins", Setting("RightWidth", "-7")},
        {"no menu pictures",
         [](Entries& e) {
             Without("MenuItem.bmp")(e);
             Without("MenuBackground.bmp")(e);
         }},
        {"no INI", Without("Skin.ini")},
        {"empty picture", [](Entries& e) { e.back().bytes.clear(); }},
        {"truncated picture", [](Entries& e) { e[1].bytes.resize(e[1].bytes.size() / 3); }},
    };
    ShowSkinned();
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.what);
        (void)LoadPackage(OurSkinPackage(c.change));
        ASSERT_TRUE(IsWindow(Window()));
        const RECT borders = Skinner()->Borders();
        EXPECT_GE(borders.left, 0);
        EXPECT_GE(borders.top, 0);
        // The frame is painted and the mouse goes over the caption without harm.
        (void)RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        MoveMouse({WindowSize().cx - 20, 8});
        MoveMouse({WindowSize().cx / 2, WindowSize().cy / 2});
        // Menu items are drawn from whatever the skin holds now.
        TBitmap items;
        items.SetPixelFormat(pf24bit);
        items.SetSize(120, 40);
        TSkinMenuItemInfo item;
        item.Caption = "&Item";
        item.Checked = true;
        TSkinMenuItemInfo line;
        line.Separator = true;
        for (const bool selected : {false, true}) {
            DrawSkinMenuItem(m_data, items.Canvas()->Handle(), RECT{0, 0, 120, 20}, selected, item, &items);
            DrawSkinMenuItem(m_data, items.Canvas()->Handle(), RECT{0, 20, 120, 28}, selected, line, nullptr);
        }
    }
}

TEST_F(DamagedSkinTest, TruncatedPackagesSkinWithWhatIsLeftOrKeepTheSkinWorn)
{
    ShowSkinned();
    const auto whole = OurSkinPackage([](Entries&) {});
    const SIZE window = WindowSize();
    // Too short to say its size: nothing loads, the form keeps its frame untouched.
    EXPECT_FALSE(LoadPackage(std::vector<std::uint8_t>(whole.begin(), whole.begin() + 3)));
    EXPECT_FALSE(m_data->Pending());
    EXPECT_EQ(WindowSize().cx, window.cx);
    EXPECT_EQ(WindowSize().cy, window.cy);
    // Half a package: the entries that are whole are used, the others are missing.
    (void)LoadPackage(std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)));
    EXPECT_TRUE(IsWindow(Window()));
    // A good skin afterwards is taken again.
    EXPECT_TRUE(LoadPackage(whole));
    EXPECT_FALSE(m_data->Pending());
    EXPECT_EQ(Skinner()->Borders().top, 26);
}

TEST_F(DamagedSkinTest, APackageThatDoesNotLoadLeavesTheWornSkinWhole)
{
    std::vector<std::uint8_t> noise(4000);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 7919 % 251);
    const struct {
        const char* what;
        std::vector<std::uint8_t> package;
    } cases[] = {
        {"random bytes", noise},
        {"unknown version", UnknownVersionSkin()},
    };
    std::vector<std::string> messages;
    m_data->SetOnVersionMessage([&messages](const std::string& text) { messages.push_back(text); });
    ShowSkinned();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(LoadPackage(c.package));
        EXPECT_EQ(Skinner()->Borders().top, 26);
        // The caption buttons are still there to be hovered.
        MoveMouse({WindowSize().cx - 17, 12});
        EXPECT_NE(Skinner()->HotObject(), nullptr);
        MoveMouse({WindowSize().cx / 2, WindowSize().cy / 2});
        // A resize gets a region of the new size.
        m_form->SetBounds(40, 40, WindowSize().cx + 30, WindowSize().cy + 20);
        Pump();
        const GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(GetWindowRgn(Window(), region.Get()), ERROR);
        EXPECT_TRUE(PtInRegion(region.Get(), WindowSize().cx - 10, WindowSize().cy - 2));
    }
    EXPECT_EQ(messages.size(), 1u);
    // The close button still closes.
    const POINT close{WindowSize().cx - 17, 12};
    Button(close, true);
    Button(close, false);
    EXPECT_FALSE(m_form->Visible());
}

TEST_F(DamagedSkinTest, TheRestoredClientAreaKeepsItsSizeThroughSkinChangesWhileMaximisedOrMinimised)
{
    const auto thin = OurSkinPackage([](Entries& entries) {
        Setting("Top", "FrameBottom.bmp")(entries);
        Setting("TopFrame", "2")(entries);
    });
    const struct {
        const char* what;
        int state;
        std::function<void()> change;
    } cases[] = {
        {"unskinned while maximised", SW_MAXIMIZE, [this] { Unskin(); }},
        {"unskinned while minimised", SW_MINIMIZE, [this] { Unskin(); }},
        {"another skin while maximised", SW_MAXIMIZE, [this, &thin] { (void)LoadPackage(thin); }},
        {"another skin while minimised", SW_MINIMIZE, [this, &thin] { (void)LoadPackage(thin); }},
    };
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!std::exchange(first, false)) {
            TearDown();
            SetUp();
        }
        ShowSkinned();
        (void)ShowWindow(Window(), c.state);
        Pump();
        c.change();
        RECT changed{};
        (void)GetWindowRect(Window(), &changed);
        (void)ShowWindow(Window(), SW_RESTORE);
        Pump();
        EXPECT_EQ(ClientSize().cx, m_clientBefore.cx);
        EXPECT_EQ(ClientSize().cy, m_clientBefore.cy);
        if (c.state == SW_MAXIMIZE) {
            // Maximised it had the place a fresh maximise gives it.
            (void)ShowWindow(Window(), SW_MAXIMIZE);
            Pump();
            RECT maximised{};
            (void)GetWindowRect(Window(), &maximised);
            EXPECT_TRUE(EqualRect(&changed, &maximised));
        }
    }
}

TEST_F(DamagedSkinTest, ASkinWithoutACaptionPictureIsWornWithTheStandardFrame)
{
    const DamageCase cases[] = {
        {"no top picture", Without("FrameTop.bmp")},
        {"empty INI", [](Entries& e) { Ini(e).bytes.clear(); }},
    };
    const int caption = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CYCAPTION);
    bool first = true;
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (!std::exchange(first, false)) {
            TearDown();
            SetUp();
        }
        ShowSkinned();
        ASSERT_TRUE(LoadPackage(OurSkinPackage(c.change)));
        EXPECT_EQ(Skinner()->Borders().top, caption);
        EXPECT_GT(Skinner()->Borders().left, 0);
        EXPECT_GT(Skinner()->Borders().bottom, 0);
        EXPECT_EQ(ClientSize().cy, m_clientBefore.cy);
        // The caption drags the window.
        RECT before{};
        (void)GetWindowRect(Window(), &before);
        const auto id = reinterpret_cast<WindowId>(Window());
        const POINT grip{150, caption / 2};
        m_display->InjectMouseMove(id, grip);
        m_display->InjectMouseButton(id, grip, MouseButton::Left, true);
        m_display->InjectMouseMove(id, {grip.x + 10, grip.y + 10});
        m_display->InjectMouseButton(id, {grip.x + 10, grip.y + 10}, MouseButton::Left, false);
        Pump();
        RECT after{};
        (void)GetWindowRect(Window(), &after);
        EXPECT_EQ(after.left - before.left, 10);
        // The close button, the first one from the right, closes it.
        const POINT close{WindowSize().cx - Skinner()->Borders().right - 10, caption / 2};
        Button(close, true);
        Button(close, false);
        EXPECT_FALSE(m_form->Visible());
    }
}
