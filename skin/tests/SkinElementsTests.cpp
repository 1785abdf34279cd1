#include "skin/SkinElements.h"

#include "SkinTestImages.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/core/Resources.h"
#include "platform/winapi/user/WinUser.h"
#include "skin/QuickIni.h"
#include "skin/SkinDraw.h"
#include "skin/SkinElementReader.h"
#include "skin/SkinReader.h"
#include "skin/SkinRoutines.h"
#include "tools/skinpack/lib/SkinPackageWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

TColor Rgb(int r, int g, int b)
{
    return static_cast<TColor>(RGB(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b)));
}

constexpr TColor PlainColour = 0x030201;
constexpr TColor TopColour = 0xC85028; // red 40, green 80, blue 200
constexpr TColor ComboColour = 0x960000;
const std::vector<TColor> SunkColours = {0x111111, 0x222222, 0x333333, 0x444444};

const char* const PlainSections[] = {
    "Progress.Chunk",     "GroupBoxEdge",        "StatusBarEdges",     "ToolBars",           "Headerbar",
    "MenuItem",           "MenuBackground",      "Scrollbar",          "HorzScroll",         "VertScroll",
    "HorzScrollThumb",    "VertScrollThumb",     "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
    "Trackbar.ThumbRight", "Trackbar.ThumbUp",   "Trackbar.ThumbDown", "Track",
};

// Keys of every section this skin names, on top of "Image=plain.bmp" for the plain ones.
const std::map<std::string, std::string> ExtraKeys = {
    {"Personality",
     "Left=left.bmp\r\nLeftTopHeight=3\r\nLeftBotHeight=4\r\nLeftFrame=2\r\nLeftStretch=5\r\nLeftTrans=0\r\n"
     "Right=side.bmp\r\nTop=top.bmp\r\nTopTopHeight=5\r\nTopBotHeight=6\r\nTopFrame=2\r\nBottom=side.bmp\r\n"
     "TextBack=textback.bmp\r\nTextShift=26\r\nTextShiftVert=2\r\nTextRightClip=104\r\nTextAlignment=1\r\n"
     "Textbackground=1\r\nTXTBackleft=3\r\nTXTBackRight=4\r\nActiveTextR=10\r\nActiveTextG=20\r\nActiveTextB=300\r\n"
     "InActiveTextR=1\r\nInActiveTextG=-1\r\nInActiveTextB=3\r\nmenuBar=plain.bmp\r\nTileMenu=2\r\n"
     "TileLeftMenu=5\r\nTileRightMenu=6\r\n"},
    {"Fonts", "FontHeight=13\r\n"},
    {"Colours",
     "WindowText=1 0 0\r\nButtonFace=200 200 200\r\nScrollbar=3 0 0\r\nHilightText=4 0 0\r\nHilight=5 0 0\r\n"
     "Menubar=6 0 0\r\nMenu=7 0 0\r\nMenuText=8 0 0\r\nButtonText=9 0 0\r\nButtonHilight=10 0 0\r\n"
     "Buttonlight=11 0 0\r\nButtonShadow=12 0 0\r\nButtonDkShadow=13 0 0\r\nMenuBarText=14 0 0\r\n"
     "TitleTextActive=15 0 0\r\nTitleTextNoActive=16 0 0\r\n"},
    {"Buttons",
     "Bitmap=buttons.bmp\r\nLeftWidth=3\r\nRightWidth=4\r\nTopHeight=5\r\nBottomHeight=6\r\nTrans=1\r\nTile=2\r\n"
     "CheckButton=check.bmp\r\nRadioButton=radio.bmp\r\nNormalColour=255\r\nNormalColour2=1 2 3\r\n"},
    {"ButtonClose", "Action=0\r\nButtonImage=close.bmp\r\nAlign=1\r\nXCoord=20\r\nYCoord=4\r\nCombineOp=2\r\n"},
    {"ButtonMin", "Action=1\r\nButtonImage=min.bmp\r\n"},
    {"Buttons.Help", "Action=3\r\nButtonImage=min.bmp\r\n"},
    {"ButtonHidden", "Action=-1\r\nButtonImage=min.bmp\r\n"},
    {"ButtonShown", "Action=-1\r\nVisibility=0\r\nButtonImage=min.bmp\r\n"},
    {"Button.Radio", "Action=0\r\nButtonImage=min.bmp\r\n"},
    {"Button.CheckBox", "Action=0\r\nButtonImage=min.bmp\r\n"},
    {"MDICONTROLS", "Image=mdi.bmp\r\n"},
    {"Progress", "Bitmap=plain.bmp\r\nTile=2\r\nFrame=9\r\n"},
    {"Progress.Chunk", "Frame=3\r\n"},
    {"GroupBox", "Image=plain.bmp\r\nBackgroundAlignment=2\r\nBackgroundLeftShift=5\r\nBackgroundRightShift=6\r\n"},
    {"Tabs", "Image=plain.bmp\r\n"},
    {"Tab.Pane", "Image=plain.bmp\r\nLeftWidth=9\r\nTopHeight=3\r\nRightWidth=5\r\nBottomHeight=40\r\n"},
    {"ComboButton", "Image=combo.bmp\r\n"},
    {"SunkEdge", "Image=sunk.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\n"},
    {"ExtraImages", "Image=extra.bmp\r\n"},
    {"Headerbar", "Frame=0\r\n"},
    {"MenuItem", "Tile=2\r\nNormalColour=255\r\nMouseOverColour=0x00FF00\r\nPressedColour2=1 2 3\r\n"},
    {"HorzScrollThumb", "FrameCount=7\r\n"},
    {"UpDown.Horz", "Image=plain.bmp\r\nGlyphImage=glyph.bmp\r\n"},
    {"UpDown.Vert", "Image=plain.bmp\r\n"},
};

// A 3 x 2 RLE8 picture: the bottom row three pixels of TopColour, the top row of PlainColour.
std::vector<std::uint8_t> Rle8Bmp()
{
    const std::uint8_t rle[] = {3, 1, 0, 0, 3, 0, 0, 1};
    std::vector<std::uint8_t> b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 14 + 40 + 8, 0, 0, 0, 40, 0, 0, 0, 3, 0, 0, 0,
                                   2, 0, 0, 0, 1, 0, 8, 0, BI_RLE8, 0, 0, 0, sizeof rle, 0, 0, 0, 0, 0, 0, 0,
                                   0, 0, 0, 0, 2, 0, 0, 0}; // two colours
    b.resize(14 + 40, 0);
    for (const TColor colour : {PlainColour, TopColour})
        b.insert(b.end(), {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour), 0});
    b.insert(b.end(), std::begin(rle), std::end(rle));
    return b;
}

std::string FullIni()
{
    std::map<std::string, std::string> sections = ExtraKeys;
    for (const char* name : PlainSections)
        sections[name] = "Image=plain.bmp\r\n" + sections[name];
    std::string text;
    for (const auto& [name, keys] : sections)
        text += "[" + name + "]\r\n" + keys;
    return text;
}

TSkinPackageEntry BmpEntry(const std::string& name, TBitmap& bitmap)
{
    return {name, BmpBytes(bitmap)};
}

std::vector<TSkinPackageEntry> FullBitmaps()
{
    std::vector<TSkinPackageEntry> entries;
    const auto add = [&entries](const std::string& name, std::unique_ptr<TBitmap> bitmap) {
        entries.push_back(BmpEntry(name, *bitmap));
    };
    add("plain.bmp", SolidBitmap(20, 10, PlainColour));
    add("left.bmp", SolidBitmap(6, 20, PlainColour));
    add("side.bmp", SolidBitmap(6, 20, PlainColour));
    add("top.bmp", SolidBitmap(30, 10, TopColour));
    add("textback.bmp", SolidBitmap(30, 10, PlainColour));
    add("buttons.bmp", SolidBitmap(50, 10, PlainColour));
    add("check.bmp", SolidBitmap(52, 13, PlainColour));
    add("radio.bmp", SolidBitmap(160, 16, PlainColour));
    add("close.bmp", SolidBitmap(126, 21, PlainColour));
    add("min.bmp", SolidBitmap(60, 21, PlainColour));
    add("mdi.bmp", MakeBitmap(120, 10, [](int x, int) { return Rgb(x / 10, 0, 0); }));
    add("combo.bmp", SolidBitmap(40, 10, ComboColour));
    add("sunk.bmp", StripBitmap(10, 10, SunkColours));
    add("extra.bmp", SolidBitmap(50, 10, 0xFF00FF));
    add("glyph.bmp", SolidBitmap(8, 8, PlainColour));
    return entries;
}

// A "TRACKVERT" bitmap resource in place of the program's own.
void RegisterTrackResource()
{
    static const std::vector<std::uint8_t> bytes = [] {
        auto bitmap = SolidBitmap(5, 7, 0x0A0B0C);
        return BmpBytes(*bitmap);
    }();
    static const TResourceEntry entries[] = {{RT_BITMAP, "TRACKVERT", bytes.data(), bytes.size()}};
    RegisterResources(entries);
}

class SkinElementsTest : public testing::Test {
protected:
    void Load(const std::string& ini, std::vector<TSkinPackageEntry> bitmaps)
    {
        RegisterTrackResource();
        bitmaps.insert(bitmaps.begin(), TSkinPackageEntry{"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())});
        const auto package = PackSkinContainer(BuildSkinContainer(bitmaps, TSkinPackageVersion::v40000));
        TMemoryStream stream;
        stream.WriteBuffer(package.data(), package.size());
        ASSERT_TRUE(m_package.LoadFromStream(stream));
        m_ini.LoadFromText(ini);
        m_skin.ReadSkin(m_ini, m_package);
    }

    [[nodiscard]] TDataSkinObject& Element(const std::string& name)
    {
        TDataSkinObject* element = m_skin.Element(name);
        if (!element)
            throw std::runtime_error("no element " + name);
        return *element;
    }

    TSkinReader m_package;
    TQuickIni m_ini;
    TSkinElements m_skin;
};

TEST_F(SkinElementsTest, EveryElementOfAFullSkinIsRead)
{
    Load(FullIni(), FullBitmaps());
    for (const char* name : PlainSections)
        EXPECT_FALSE(Element(name).Image.Empty()) << name;
    for (const char* name : {"Progress", "MenuBar", "GroupBox", "Tabs", "Tab.Pane", "ComboButton", "SunkEdge",
                             "ExtraImages", "UpDown.Horz", "UpDown.Vert", "TRACKVERT", "ComboxArrow", "Toolbar"})
        EXPECT_FALSE(Element(name).Image.Empty()) << name;
    EXPECT_EQ(Element("Progress.Chunk").Name, "Progress.Chunk");
    EXPECT_NE(m_skin.BorderElement("Progress"), nullptr);
    EXPECT_NE(m_skin.ButtonFaceBrush(), nullptr);
}

TEST_F(SkinElementsTest, EveryColourIsTakenFromTheSkin)
{
    Load(FullIni(), FullBitmaps());
    const TSkinColours& c = m_skin.Colours();
    const TColor read[] = {c.WindowText,   c.ButtonFace,    c.Scrollbar,   c.HilightText,    c.Hilight,   c.Menubar,
                           c.Menu,         c.MenuText,      c.ButtonText,  c.ButtonHilight,  c.Buttonlight,
                           c.ButtonShadow, c.ButtonDkShadow, c.MenuBarText, c.TitleTextActive, c.TitleTextNoActive};
    const TColor expected[] = {Rgb(1, 0, 0),  Rgb(200, 200, 200), Rgb(3, 0, 0),  Rgb(4, 0, 0),  Rgb(5, 0, 0),
                               Rgb(6, 0, 0),  Rgb(7, 0, 0),       Rgb(8, 0, 0),  Rgb(9, 0, 0),  Rgb(10, 0, 0),
                               Rgb(11, 0, 0), Rgb(12, 0, 0),      Rgb(13, 0, 0), Rgb(14, 0, 0), Rgb(15, 0, 0),
                               Rgb(16, 0, 0)};
    for (std::size_t i = 0; i < std::size(read); ++i)
        EXPECT_EQ(read[i], expected[i]) << i;
}

TEST_F(SkinElementsTest, BordersTitleAndButtonsTakeTheirKeys)
{
    Load(FullIni(), FullBitmaps());
    const TDataSkinBorder& left = m_skin.Left();
    EXPECT_EQ(left.TopHeight, 3);
    EXPECT_EQ(left.BottomHeight, 4);
    EXPECT_EQ(left.Frame, 2);
    EXPECT_EQ(left.Tile, 1);
    EXPECT_EQ(left.Trans, 0);
    const TDataSkinBorder& top = m_skin.Top();
    EXPECT_EQ(top.LeftWidth, 5);
    EXPECT_EQ(top.RightWidth, 6);
    EXPECT_EQ(top.Trans, 1);
    EXPECT_EQ(m_skin.Right().Frame, 1);

    const TDataSkinTitle& title = m_skin.Title();
    EXPECT_EQ(title.LeftWidth, 26);
    EXPECT_EQ(title.TopHeight, 2);
    EXPECT_EQ(title.RightWidth, 104);
    EXPECT_EQ(title.BottomHeight, 0);
    EXPECT_EQ(title.TextAlignment, 1);
    EXPECT_EQ(title.Textbackground, 1);
    EXPECT_EQ(title.FontHeight, 13);
    EXPECT_EQ(title.TXTBackleft, 3);
    EXPECT_EQ(title.TXTBackRight, 4);
    EXPECT_EQ(title.ActiveTextColour, Rgb(10, 20, 300 & 0xFF));
    EXPECT_EQ(title.InactiveTextColour, TitleColourNotSet);
    EXPECT_EQ(title.Frame, 2);

    const TDataSkinButton& buttons = m_skin.Buttons();
    EXPECT_EQ(buttons.Frame, 5);
    EXPECT_EQ(buttons.Tile, 0);
    EXPECT_EQ(buttons.LeftWidth, 3);
    EXPECT_EQ(buttons.BottomHeight, 6);
    EXPECT_EQ(buttons.CheckButtonFrame, 4);
    EXPECT_EQ(buttons.RadioButtonFrame, 10);
    EXPECT_EQ(buttons.NormalColour, 255);
    EXPECT_EQ(buttons.MouseOverColour, -1);
    EXPECT_TRUE(buttons.HasNormalColour2);
    EXPECT_FALSE(buttons.HasPressedColour2);
    EXPECT_EQ(buttons.NormalColour2, Rgb(1, 2, 3));
    EXPECT_EQ(buttons.PressedColour2, Rgb(9, 0, 0));
}

TEST_F(SkinElementsTest, ElementReadersCapTileAndFixFrameCounts)
{
    Load(FullIni(), FullBitmaps());
    EXPECT_EQ(Element("Progress").Tile, 1);
    EXPECT_EQ(Element("MenuItem").Tile, 0);
    const TDataSkinObject& menuBar = Element("MenuBar");
    EXPECT_EQ(menuBar.Tile, 1);
    EXPECT_EQ(menuBar.LeftWidth, 5);
    EXPECT_EQ(menuBar.RightWidth, 6);
    const TDataSkinObject& pane = Element("Tab.Pane");
    EXPECT_EQ(pane.LeftWidth, 4);
    EXPECT_EQ(pane.TopHeight, 3);
    EXPECT_EQ(pane.RightWidth, 4);
    EXPECT_EQ(pane.BottomHeight, 4);
    const TDataSkinObject& item = Element("MenuItem");
    EXPECT_EQ(item.NormalColour, 255);
    EXPECT_EQ(item.MouseOverColour, 0x00FF00);
    EXPECT_EQ(item.PressedColour, -1);
    EXPECT_EQ(item.PressedColour2, Rgb(1, 2, 3));
    EXPECT_EQ(item.NormalColour2, Rgb(9, 0, 0));
    const TDataSkinBoxLabel* box = m_skin.BoxLabel("GroupBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->BackgroundAlignment, 2);
    EXPECT_EQ(box->BackgroundLeftShift, 5);
    EXPECT_EQ(box->BackgroundRightShift, 6);
    EXPECT_TRUE(m_skin.BorderElement("Tabs")->Glyph.Empty());
    EXPECT_EQ(m_skin.BorderElement("UpDown.Horz")->Glyph.Width(), 8);

    const std::map<std::string, int> frames = {
        {"Progress", 2},        {"Progress.Chunk", 3},   {"MenuBar", 2},         {"GroupBoxEdge", 2},
        {"ToolBars", 5},        {"Tabs", 5},             {"Tab.Pane", 1},        {"StatusBarEdges", 3},
        {"GroupBox", 1},        {"ComboButton", 4},      {"SunkEdge", 4},        {"ExtraImages", 5},
        {"Headerbar", 5},       {"MenuItem", 5},         {"MenuBackground", 1},  {"Scrollbar", 23},
        {"HorzScroll", 4},      {"VertScroll", 4},       {"UpDown.Vert", 8},     {"UpDown.Horz", 8},
        {"Trackbar.ThumbUp", 5}, {"HorzScrollThumb", 7}, {"VertScrollThumb", 3}, {"Toolbar", 1},
        {"TRACKVERT", 1},       {"Track", 1},
    };
    for (const auto& [name, frame] : frames)
        EXPECT_EQ(Element(name).Frame, frame) << name;
}

TEST_F(SkinElementsTest, TheTrackResourceStandsInForAMissingSection)
{
    Load(FullIni(), FullBitmaps());
    const TDataSkinObject& track = Element("TRACKVERT");
    EXPECT_EQ(track.Image.Width(), 5);
    EXPECT_EQ(track.Image.Height(), 7);
    EXPECT_EQ(track.LeftWidth, 3);
    EXPECT_EQ(track.BottomHeight, 3);
    EXPECT_EQ(track.Tile, 0);
    EXPECT_EQ(Element("Track").Image.Width(), 20);
}

TEST_F(SkinElementsTest, SystemButtonsComeFromButtonSectionsInOrder)
{
    Load(FullIni(), FullBitmaps());
    const auto& buttons = m_skin.SysButtons();
    std::vector<std::string> names;
    for (const auto& button : buttons)
        names.push_back(button->Name);
    // Sections are written in name order by this test.
    EXPECT_EQ(names, (std::vector<std::string>{"BUTTONCLOSE", "BUTTONMIN", "BUTTONSHOWN", "BUTTONS.HELP",
                                               "MDICONTROLS7", "MDICONTROLS8", "MDICONTROLS9"}));
    ASSERT_EQ(buttons.size(), 7u);
    EXPECT_EQ(buttons[0]->Frame, 6);
    EXPECT_EQ(buttons[0]->Align, 1);
    EXPECT_EQ(buttons[0]->XCoord, 20);
    EXPECT_EQ(buttons[0]->YCoord, 4);
    EXPECT_EQ(buttons[0]->CombineOp, 2);
    EXPECT_EQ(buttons[0]->Visibility1, 0);
    EXPECT_EQ(buttons[1]->Frame, 3);
    EXPECT_EQ(buttons[1]->CombineOp, -1);
    EXPECT_EQ(buttons[2]->Frame, 6);
    EXPECT_EQ(buttons[2]->Visibility1, -1);
    EXPECT_TRUE(buttons[3]->Image.Empty());
    const int xCoords[] = {42, 28, 14};
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& mdi = *buttons[static_cast<std::size_t>(4 + i)];
        EXPECT_EQ(mdi.Action, 7 + i);
        EXPECT_EQ(mdi.XCoord, xCoords[i]);
        EXPECT_EQ(mdi.Frame, 4);
        EXPECT_EQ(mdi.Align, 100);
        EXPECT_EQ(mdi.Visibility1, 100);
        EXPECT_EQ(mdi.Image.Width(), 40);
        EXPECT_EQ(PixelAt(const_cast<TBitmap&>(mdi.Image), 0, 0), Rgb(4 * i, 0, 0));
        EXPECT_EQ(PixelAt(const_cast<TBitmap&>(mdi.Image), 39, 9), Rgb(4 * i + 3, 0, 0));
    }
}

TEST_F(SkinElementsTest, ComboImagesAreComposedFromSunkEdgeAndComboButton)
{
    Load(FullIni(), FullBitmaps());
    const int arrow = GetSystemMetrics(SM_CXHSCROLL) + 2;
    TDataSkinBorder& button = *m_skin.BorderElement("ComboButton");
    TDataSkinObject& sunk = Element("SunkEdge");
    ASSERT_EQ(button.Image.Width(), 200);
    ASSERT_EQ(button.Image.Height(), 21);
    EXPECT_EQ(button.Style, 2);
    EXPECT_EQ(button.LeftWidth, 2);
    EXPECT_EQ(button.RightWidth, arrow + 2);
    EXPECT_EQ(button.TopHeight, 2);
    EXPECT_EQ(sunk.LeftWidth, arrow + 2);
    EXPECT_EQ(sunk.RightWidth, 2);
    // The mirrored INI picture: a solid picture mirrors onto itself.
    EXPECT_EQ(PixelAt(button.Glyph, 0, 0), ComboColour);
    for (int cell = 0; cell < 4; ++cell) {
        const int left = cell * 50;
        EXPECT_EQ(PixelAt(button.Image, left, 0), SunkColours[static_cast<std::size_t>(cell)]) << cell;
        EXPECT_EQ(PixelAt(button.Image, left + 10, 10), SkinKeyColour) << cell;
        EXPECT_EQ(PixelAt(button.Image, left + 49 - arrow, 10), SunkColours[static_cast<std::size_t>(cell)]) << cell;
        EXPECT_EQ(PixelAt(button.Image, left + 49, 10), ComboColour) << cell;
        EXPECT_EQ(PixelAt(button.Image, left + 50 - arrow, 10), ComboColour) << cell;
    }
    for (int x : {0, 7, 120, 199})
        EXPECT_EQ(PixelAt(sunk.Image, x, 5), PixelAt(button.Image, 199 - x, 5)) << x;

    TDataSkinObject& arrowElement = Element("ComboxArrow");
    EXPECT_EQ(arrowElement.Image.Width(), 68);
    EXPECT_EQ(arrowElement.Image.Height(), 17);
    EXPECT_EQ(arrowElement.Frame, 4);
    for (int cell = 0; cell < 4; ++cell)
        for (int x : {0, 16})
            EXPECT_EQ(PixelAt(arrowElement.Image, cell * 17 + x, 8), PixelAt(button.Image, cell * 50 + 31 + x, 10));
}

TEST_F(SkinElementsTest, WithoutSunkEdgeTheArrowIsTheComboButtonOnButtonFace)
{
    const std::string ini = "[Colours]\r\nButtonFace=200 200 200\r\n[ComboButton]\r\nImage=combo.bmp\r\n";
    auto combo = MakeBitmap(8, 4, [](int x, int) { return x < 4 ? SkinKeyColour : ComboColour; });
    Load(ini, {BmpEntry("combo.bmp", *combo)});
    TDataSkinObject& arrow = Element("ComboxArrow");
    EXPECT_EQ(arrow.Frame, 4);
    EXPECT_EQ(PixelAt(arrow.Image, 0, 0), Rgb(200, 200, 200));
    EXPECT_EQ(PixelAt(arrow.Image, 7, 0), ComboColour);
    // The mirrored second picture.
    EXPECT_EQ(PixelAt(m_skin.BorderElement("ComboButton")->Glyph, 0, 0), ComboColour);
}

TEST_F(SkinElementsTest, ToolbarGradientFollowsTheTitleColour)
{
    Load(FullIni(), FullBitmaps());
    EXPECT_EQ(m_skin.TitleColour(), TopColour);
    const TColor top = BlendColors(Rgb(200, 200, 200), clWhite, 150);
    // The title colour is saturated (204 > 110): the bottom blends it with white.
    const TColor bottom = BlendColors(TopColour, clWhite, (5625 - 25 * 204) / 140 + 50);
    TDataSkinObject& toolbar = Element("Toolbar");
    ASSERT_EQ(toolbar.Image.Width(), 10);
    ASSERT_EQ(toolbar.Image.Height(), 40);
    const TGradientTable& table = GradientTable(40, top, bottom);
    EXPECT_EQ(PixelAt(toolbar.Image, 0, 0), table.front());
    EXPECT_EQ(PixelAt(toolbar.Image, 9, 39), table.back());
    EXPECT_EQ(PixelAt(toolbar.Image, 5, 20), table[20]);
}

TEST_F(SkinElementsTest, AnEmptySkinKeepsEveryDefault)
{
    Load("", {});
    const TSkinColours& c = m_skin.Colours();
    EXPECT_EQ(c.ButtonFace, clBtnFace);
    EXPECT_EQ(c.Menubar, clBtnFace);
    EXPECT_EQ(c.ButtonDkShadow, cl3DDkShadow);
    EXPECT_EQ(c.TitleTextNoActive, clInactiveCaptionText);
    for (const char* name : {"Progress", "MenuBar", "GroupBox", "Tabs", "ComboButton", "SunkEdge", "MenuItem"})
        EXPECT_EQ(m_skin.Element(name), nullptr) << name;
    EXPECT_TRUE(Element("ComboxArrow").Image.Empty());
    EXPECT_EQ(Element("Toolbar").Image.Height(), 40);
    EXPECT_EQ(m_skin.Buttons().CheckButtonFrame, 4);
    EXPECT_EQ(m_skin.Title().FontHeight, 14);
    // The frame is the standard one: a caption bar active and inactive in the caption colours,
    // the icon, the four standard buttons, and the three MDI buttons.
    EXPECT_EQ(m_skin.Top().Frame, 2);
    EXPECT_EQ(m_skin.Top().Image.Height(), 2 * (GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CYCAPTION)));
    EXPECT_EQ(m_skin.TitleColour(), ColorToRGB(clActiveCaption));
    EXPECT_EQ(m_skin.SysButtons().size(), 8u);
}

// A BMP file that claims a height of 0.
std::vector<std::uint8_t> ZeroHeightBmp()
{
    auto bitmap = SolidBitmap(10, 1, PlainColour);
    std::vector<std::uint8_t> bytes = BmpBytes(*bitmap);
    for (int i = 0; i < 4; ++i)
        bytes[22 + static_cast<std::size_t>(i)] = 0;
    return bytes;
}

TEST_F(SkinElementsTest, FrameCountsBelowOneAndPicturesOfHeightZeroNeverDivideByZero)
{
    const std::string ini = "[Personality]\r\nTop=top.bmp\r\nTopFrame=0\r\nLeft=top.bmp\r\nLeftFrame=-4\r\n"
                            "[Progress.Chunk]\r\nImage=top.bmp\r\nFrame=-2\r\n"
                            "[HorzScrollThumb]\r\nImage=top.bmp\r\nFrameCount=0\r\n"
                            "[Headerbar]\r\nImage=top.bmp\r\nFrame=-1\r\n"
                            "[Buttons]\r\nRadioButton=flat.bmp\r\nCheckButtonFrame=-3\r\n"
                            "[ButtonFlat]\r\nAction=2\r\nButtonImage=flat.bmp\r\n"
                            "[Track]\r\nImage=flat.bmp\r\nFrame=0\r\n";
    auto top = SolidBitmap(30, 10, TopColour);
    Load(ini, {BmpEntry("top.bmp", *top), {"flat.bmp", ZeroHeightBmp()}});
    EXPECT_EQ(m_skin.Top().Frame, 1);
    EXPECT_EQ(m_skin.Left().Frame, 1);
    EXPECT_EQ(Element("Progress.Chunk").Frame, 1);
    EXPECT_EQ(Element("HorzScrollThumb").Frame, 1);
    EXPECT_EQ(Element("Headerbar").Frame, 5);
    EXPECT_EQ(Element("Track").Frame, 1);
    EXPECT_TRUE(Element("Track").Image.Empty());
    EXPECT_EQ(m_skin.Buttons().RadioButtonFrame, 4);
    EXPECT_EQ(m_skin.Buttons().CheckButtonFrame, 4);
    EXPECT_EQ(m_skin.TitleColour(), TopColour);
    ASSERT_EQ(m_skin.SysButtons().size(), 4u);
    EXPECT_EQ(m_skin.SysButtons()[0]->Frame, 6);
    EXPECT_TRUE(m_skin.SysButtons()[0]->Image.Empty());
}

TEST(SkinRgbTest, NumbersFillRedGreenAndBlueInTurn)
{
    struct Case {
        const char* text;
        TColor expected;
    };
    const Case cases[] = {
        {"227 238 253", Rgb(227, 238, 253)},
        {"10 20", Rgb(10, 0, 0)},
        {"10 20 x", Rgb(10, 20, 0)},
        {"  5,6,7  ", Rgb(5, 6, 7)},
        {"1 2 3 4", Rgb(1, 2, 3)},
        {"300 0 0", Rgb(44, 0, 0)},
        {"x", Rgb(0, 0, 0)},
        {"", -7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseSkinRgb(c.text, -7), c.expected) << c.text;
    // An endless number wraps instead of overflowing.
    EXPECT_EQ(ParseSkinRgb("99999999999999999999 1 2", -7) & 0xFFFF00, Rgb(0, 1, 2));
}

TEST_F(SkinElementsTest, ImagesNeedALowerCaseBmpExtensionAndAReadablePicture)
{
    const std::string ini = "[MenuItem]\r\nImage=Plain.BMP\r\n[Scrollbar]\r\nImage=C:\\skins\\PLAIN.bmp\r\n"
                            "[HorzScroll]\r\nImage=broken.bmp\r\n[VertScroll]\r\nImage=missing.bmp\r\n"
                            "[VertScrollThumb]\r\nImage=rle.bmp\r\n";
    auto plain = SolidBitmap(20, 10, PlainColour);
    testing::internal::CaptureStderr();
    Load(ini, {BmpEntry("plain.bmp", *plain), {"broken.bmp", {'B', 'M', 1, 2, 3}}, {"rle.bmp", Rle8Bmp()}});
    const std::string complaints = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Element("MenuItem").Image.Empty());
    EXPECT_EQ(Element("Scrollbar").Image.Width(), 20);
    EXPECT_TRUE(Element("HorzScroll").Image.Empty());
    EXPECT_NE(complaints.find("\"broken.bmp\" is left out. Bitmap image is not valid: "), std::string::npos)
        << complaints;
    EXPECT_TRUE(Element("VertScroll").Image.Empty());
    // Paint programs store palette pictures run-length encoded by default.
    TBitmap& rle = Element("VertScrollThumb").Image;
    ASSERT_EQ(rle.Width(), 3);
    EXPECT_EQ(rle.Canvas()->Pixels(0, 1), TopColour);
    EXPECT_EQ(rle.Canvas()->Pixels(2, 1), TopColour);
    EXPECT_EQ(rle.Canvas()->Pixels(1, 0), PlainColour);
    EXPECT_EQ(complaints.find("rle.bmp"), std::string::npos) << complaints;
}

} // namespace
