// The skin the program ships (assets/skin/modem.skn) read the way the skin data component reads
// it: whatever the drawing code or the packer changes, the engine must still find all of it.
#include "platform/classlib/core/Streams.h"
#include "skin/QuickIni.h"
#include "skin/SkinElements.h"
#include "skin/SkinReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string PackedSkin = std::string(MODEM_SOURCE_DIR) + "/assets/skin/modem.skn";

// Every element the engine keeps by name: those our skin names a picture for, and the ones the
// engine composes from them (the combo arrow, the toolbar).
const char* const ElementNames[] = {
    "Progress",           "Progress.Chunk",      "MenuBar",            "GroupBoxEdge",
    "GroupBox",           "Tabs",                "StatusBarEdges",     "Tab.Pane",
    "ToolBars",           "ComboButton",         "SunkEdge",           "ExtraImages",
    "Headerbar",          "MenuItem",            "MenuBackground",     "Scrollbar",
    "HorzScroll",         "VertScroll",          "HorzScrollThumb",    "VertScrollThumb",
    "Trackbar.ThumbHorz", "Trackbar.ThumbVert",  "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
    "Trackbar.ThumbUp",   "Trackbar.ThumbDown",  "UpDown.Horz",        "UpDown.Vert",
    "Track",              "TRACKVERT",           "ComboxArrow",        "Toolbar",
};

// System colours are negative: a colour the skin did not set keeps one of them.
bool IsSkinColour(TColor colour)
{
    return colour >= 0 && colour <= 0xFFFFFF;
}

} // namespace

TEST(OurSkin, LoadsIntoElementsWithEveryElementPresentAndEveryColourSet)
{
    TFileStream file(PackedSkin, fmOpenRead);
    TSkinReader package;
    ASSERT_TRUE(package.LoadFromStream(file));
    TMemoryStream iniText;
    std::string iniName;
    ASSERT_TRUE(package.FindEntry(".ini", iniText, iniName));
    TQuickIni ini;
    ini.LoadFromStream(&iniText);
    TSkinElements skin;
    skin.ReadSkin(ini, package);

    for (TDataSkinBorder* border : {&skin.Left(), &skin.Right(), &skin.Top(), &skin.Bottom()})
        EXPECT_FALSE(border->Image.Empty()) << border->Name;
    EXPECT_FALSE(skin.Buttons().Image.Empty());
    EXPECT_FALSE(skin.Buttons().CheckButton.Empty());
    EXPECT_FALSE(skin.Buttons().RadioButton.Empty());
    for (const char* name : ElementNames) {
        const TDataSkinObject* element = skin.Element(name);
        ASSERT_NE(element, nullptr) << name;
        EXPECT_FALSE(element->Image.Empty()) << name;
        EXPECT_GE(element->Frame, 1) << name;
        // Each frame is a whole number of pixels wide: the frame count matches the picture.
        EXPECT_EQ(element->Image.Width() % element->Frame, 0) << name;
    }
    // Six caption buttons (the icon one has no picture: it shows the window's icon) and the three
    // MDI child buttons.
    ASSERT_EQ(skin.SysButtons().size(), 9u);
    for (const auto& button : skin.SysButtons())
        EXPECT_EQ(button->Image.Empty(), button->Action == 3) << button->Name;

    const TSkinColours& c = skin.Colours();
    const TColor colours[] = {c.WindowText,    c.ButtonFace,    c.Scrollbar,    c.HilightText,
                              c.Hilight,       c.Menubar,       c.Menu,         c.MenuText,
                              c.ButtonText,    c.ButtonHilight, c.Buttonlight,  c.ButtonShadow,
                              c.ButtonDkShadow, c.MenuBarText,  c.TitleTextActive, c.TitleTextNoActive};
    for (std::size_t i = 0; i < std::size(colours); ++i)
        EXPECT_TRUE(IsSkinColour(colours[i])) << "colour " << i << " is " << colours[i];
    EXPECT_NE(skin.Title().ActiveTextColour, TitleColourNotSet);
    EXPECT_NE(skin.Title().InactiveTextColour, TitleColourNotSet);
    EXPECT_NE(skin.ButtonFaceBrush(), nullptr);
}
