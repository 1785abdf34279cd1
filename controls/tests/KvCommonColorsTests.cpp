#include "controls/KvCommon.h"

#include <gtest/gtest.h>

namespace {

[[nodiscard]] TColor Rgb(int r, int g, int b)
{
    return static_cast<TColor>(RGB(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b)));
}

struct Hsl {
    int h, s, l;
    friend bool operator==(const Hsl&, const Hsl&) = default;
};

void PrintTo(const Hsl& v, std::ostream* os) { *os << "(" << v.h << ", " << v.s << ", " << v.l << ")"; }

[[nodiscard]] Hsl Split(TColor color)
{
    std::uint8_t h = 0, s = 0, l = 0;
    SplitHueSatLum(color, h, s, l);
    return {h, s, l};
}

// Expected values from the standard RGB to HLS conversion (Python's colorsys), scaled to 240
// and rounded half to even.
TEST(ColourArithmetic, SplitGivesHueSaturationAndLuminanceOnThe240Scale)
{
    const struct {
        TColor color;
        Hsl expected;
    } cases[] = {
        {clWhite, {0, 0, 240}},         {clBlack, {0, 0, 0}},           {clRed, {0, 240, 120}},
        {clBlue, {160, 240, 120}},      {clLime, {80, 240, 120}},       {Rgb(192, 192, 192), {0, 0, 181}},
        {Rgb(128, 64, 32), {13, 144, 75}}, {Rgb(10, 200, 150), {109, 217, 99}}, {Rgb(255, 0, 8), {239, 240, 120}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Split(c.color), c.expected) << std::hex << c.color;
    EXPECT_EQ(HueOf(clBlue), 160);
}

TEST(ColourArithmetic, SplitResolvesSystemColours)
{
    EXPECT_EQ(Split(clBtnFace), Split(static_cast<TColor>(ColorToRGB(clBtnFace))));
}

// The hue is read against 239, so joining is not the exact reverse of splitting.
TEST(ColourArithmetic, JoinReadsTheHueAgainst239)
{
    const struct {
        Hsl hsl;
        TColor expected;
    } cases[] = {
        {{160, 240, 120}, Rgb(4, 0, 255)},   {{80, 240, 120}, Rgb(0, 255, 2)},  {{0, 240, 120}, clRed},
        {{0, 0, 240}, clWhite},              {{0, 0, 0}, clBlack},              {{239, 240, 120}, clRed},
        {{240, 240, 120}, Rgb(255, 6, 0)},   {{120, 240, 120}, Rgb(0, 252, 255)}, {{0, 240, 60}, Rgb(128, 0, 0)},
        {{40, 120, 200}, Rgb(234, 234, 191)}, {{20, 240, 255}, clWhite},
    };
    for (const auto& c : cases) {
        const auto [h, s, l] = c.hsl;
        EXPECT_EQ(JoinHueSatLum(static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(l)),
                  c.expected)
            << h << "," << s << "," << l;
    }
}

TEST(ColourArithmetic, DarkerAndLighterStopAtTheirLimits)
{
    const TColor grey = Rgb(128, 128, 128);
    const TColor silver = Rgb(200, 200, 200);
    const struct {
        const char* what;
        TColor actual;
        TColor expected;
    } cases[] = {
        {"black stays black", DarkenLuminance(clBlack, 50), clBlack},
        {"white can reach black", DarkenLuminance(clWhite, 240), clBlack},
        {"past zero is black", DarkenLuminance(grey, 200), clBlack},
        {"half the luminance of red", DarkenLuminance(clRed, 60), Rgb(128, 0, 0)},
        {"255 lighter is white", LightenLuminance(clNavy, 255), clWhite},
        {"255 lighter than black is white", LightenLuminance(clBlack, 255), clWhite},
        {"to the top of the scale", LightenLuminance(grey, 120), clWhite},
        // Computed as a byte this would wrap round to a dark grey.
        {"past the scale is white", LightenLuminance(silver, 100), clWhite},
        {"lighter blue", LightenLuminance(clBlue, 60), JoinHueSatLum(160, 240, 180)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(ColourArithmetic, ShiftLuminanceChoosesDarkerOrLighterAndLeavesZeroAlone)
{
    EXPECT_EQ(ShiftLuminance(clBtnFace, 0), clBtnFace); // not resolved to RGB
    EXPECT_EQ(ShiftLuminance(clTeal, -50), DarkenLuminance(clTeal, 50));
    EXPECT_EQ(ShiftLuminance(clTeal, 50), LightenLuminance(clTeal, 50));
    EXPECT_EQ(ShiftLuminance(clTeal, -300), clBlack);
    EXPECT_EQ(ShiftLuminance(clTeal, 300), clWhite);
}

TEST(ColourArithmetic, MixColorsWeighsTheFirstColour)
{
    const struct {
        TColor a, b;
        std::uint8_t weight;
        TColor expected;
    } cases[] = {
        {clRed, clBlue, 255, clRed},
        {clRed, clBlue, 0, clBlue},
        {clBlack, clWhite, 128, Rgb(127, 127, 127)}, // leaning to the first
        {clWhite, clBlack, 128, Rgb(128, 128, 128)},
        {Rgb(100, 0, 50), Rgb(200, 40, 250), 64, Rgb(175, 30, 200)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MixColors(c.a, c.b, c.weight), c.expected) << static_cast<int>(c.weight);
    EXPECT_EQ(MixColors(clBtnFace, clBtnFace, 77), static_cast<TColor>(ColorToRGB(clBtnFace)));
}

TEST(ColourArithmetic, ColoursAlikeComparesHueAndLuminanceOnly)
{
    const struct {
        TColor a, b;
        bool alike;
    } cases[] = {
        {clWhite, Rgb(192, 192, 192), true},    // L 240 and 181
        {clBlack, Rgb(128, 128, 128), false},   // L 0 and 120
        {clRed, Rgb(255, 20, 20), true},
        {clRed, clBlue, false},
        {clRed, Rgb(255, 0, 8), false},         // hues 0 and 239: no wrapping round the circle
        {Rgb(128, 0, 0), Rgb(128, 100, 100), true}, // saturation differs widely
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColoursAlike(c.a, c.b), c.alike) << std::hex << c.a << " " << c.b;
}

TEST(ColourArithmetic, OppositeHueIsAThirdOfTheCircleAwayFullySaturated)
{
    EXPECT_EQ(OppositeHueColor(clRed, 120), JoinHueSatLum(120, 240, 120));
    EXPECT_EQ(OppositeHueColor(clBlue, 60), JoinHueSatLum(40, 240, 60));
    EXPECT_EQ(OppositeHueColor(Rgb(128, 128, 128), 120), JoinHueSatLum(120, 240, 120));
}

TEST(ColourArithmetic, ColourSchemeNames)
{
    const struct {
        const char* name;
        int scheme;
    } cases[] = {{"HOMESTEAD", 1}, {"HomeStead", 1}, {"Metallic", 2}, {"NormalColor", 0}, {"", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ColorSchemeOfName(c.name), c.scheme) << c.name;
}

TEST(ColourArithmetic, DisplayFactsCanBeReplaced)
{
    const std::uint8_t saved = XPColorScheme;
    XPColorScheme = 2;
    EXPECT_EQ(static_cast<std::uint8_t>(XPColorScheme), 2);
    XPColorScheme = saved;
}

} // namespace
