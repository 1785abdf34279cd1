#include "grid/core/DBGridGxStyle.h"
#include "grid/core/tests/TestDataGrid.h"
#include "tests/support/controls/ControlTestHost.h"

#include <gtest/gtest.h>

namespace {

// A style on a screen of a chosen colour depth.
class TTestStyle : public TDBGridGxStyle {
public:
    explicit TTestStyle(int colorCount) { m_screenColorCount = colorCount; }
    void ScreenColorsChanged() override {}
};

class GridStyle : public ControlTestHost {};

[[nodiscard]] std::vector<int> Channels(TColor color)
{
    return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF), static_cast<int>((color >> 16) & 0xFF),
            static_cast<int>(static_cast<std::uint32_t>(color) >> 24)};
}

using Ints = std::vector<int>;

} // namespace

TEST_F(GridStyle, BlendLighterKeepsEveryChannelInItsByte)
{
    EXPECT_EQ(Channels(TDBGridGxStyle::BlendLighter(clWhite, clWhite, false)), (Ints{237, 237, 237, 0}));
    EXPECT_EQ(Channels(TDBGridGxStyle::BlendLighter(clBlack, clBlack, false)), (Ints{135, 135, 135, 0}));
    // 237 + (237 - 122) x 0.25 would be 266 and carry into the next channel.
    EXPECT_EQ(Channels(TDBGridGxStyle::BlendLighter(clWhite, clWhite, true)), (Ints{255, 255, 255, 0}));
    const TColor lightUnderLight = TDBGridGxStyle::BlendLighter(clWhite, 0xF0E8E0, true);
    for (const int channel : Channels(lightUnderLight))
        EXPECT_TRUE(channel == 0 || channel >= 240) << std::hex << lightUnderLight;
    EXPECT_EQ(TDBGridGxStyle::BlendLighter(clHighlight, clHighlight, false),
              TDBGridGxStyle::BlendLighter(static_cast<TColor>(ColorToRGB(clHighlight)),
                                           static_cast<TColor>(ColorToRGB(clHighlight)), false))
        << "system colours blend as their RGB values";
}

TEST_F(GridStyle, ATrueColourScreenCountsAsMoreThan256Colours)
{
    const TDBGridGxStyle style;
    EXPECT_EQ(style.ScreenColorCount(), -1);
}

TEST_F(GridStyle, HighlightColoursOfDataCells)
{
    struct Case {
        const char* name;
        int colorCount;
        bool lighten;
        THighlightCellGx cell;
        TColor background;
        TColor font;
    };
    const TColor window = clWhite;
    const TColor keep = clBlack;
    const Case cases[] = {
        {"unfocused current row", -1, true, {true, true, true, false, false}, clBtnShadow, clHighlightText},
        {"unfocused current, always show", -1, true, {true, true, false, true, false}, clBtnShadow, clHighlightText},
        {"unfocused other", -1, true, {true, false, false, false, false},
         TDBGridGxStyle::BlendLighter(window, clBtnShadow, false), keep},
        {"unfocused other, 256 colours", 256, true, {true, false, false, false, false}, clBtnFace, keep},
        {"focused current", -1, true, {true, true, false, false, true}, clHighlight, clHighlightText},
        {"focused other", -1, true, {true, false, false, false, true},
         TDBGridGxStyle::BlendLighter(window, clHighlight, true), keep},
        {"focused other, no lightening", -1, false, {true, false, false, false, true}, clHighlight, clHighlightText},
        {"focused other, 256 colours", 256, true, {true, false, false, false, true}, clHighlight, clHighlightText},
    };
    for (const Case& c : cases) {
        TTestStyle style(c.colorCount);
        style.SetLightenSelection(c.lighten);
        TFont font;
        font.SetColor(keep);
        TColor background = window;
        EXPECT_TRUE(style.HighlightDataCellColor(c.cell, font, background)) << c.name;
        EXPECT_EQ(background, c.background) << c.name;
        EXPECT_EQ(font.Color(), c.font) << c.name;
    }
    TTestStyle style(-1);
    TFont font;
    TColor background = window;
    EXPECT_FALSE(style.HighlightDataCellColor({}, font, background));
    EXPECT_EQ(background, window);
}

TEST_F(GridStyle, HighlightColoursOfTitleCells)
{
    TTestStyle style(-1);
    TFont font;
    TColor background = clBtnFace;
    style.HighlightTitleCellColor(true, font, background, false, thDarkGx);
    EXPECT_EQ(background, clBtnFace) << "not selected";
    style.HighlightTitleCellColor(true, font, background, true, thDarkGx);
    EXPECT_EQ(background, 0x404040);
    EXPECT_EQ(font.Color(), clWhite);
    TTestStyle oldScreen(256);
    background = clBtnFace;
    oldScreen.HighlightTitleCellColor(false, font, background, true, thOrdinaryGx);
    EXPECT_EQ(background, clBtnFace);
    oldScreen.HighlightTitleCellColor(true, font, background, true, thOrdinaryGx);
    EXPECT_EQ(background, clHighlight);
}

TEST_F(GridStyle, RegisteredGridsAreToldWhenTheStyleGoes)
{
    TTestDataGrid grid(nullptr);
    auto style = std::make_unique<TDBGridGxStyle>();
    SetDefaultGridStyle(style.get());
    style->RegisterGrid(&grid);
    style->RegisterGrid(&grid);
    EXPECT_TRUE(style->IsGridRegistered(&grid));
    style.reset();
    EXPECT_EQ(grid.Log, (std::vector<std::string>{"style gone"}));
    EXPECT_EQ(DefaultGridStyle(), nullptr);
}
