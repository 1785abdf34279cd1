#include "controls/KvCommon.h"

#include "platform/classlib/core/Registry.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TDisplayFact<bool> FullColourScreen{&ScreenHasFullColour};
TDisplayFact<std::uint8_t> XPColorScheme{&CurrentXPColorScheme};

namespace {

constexpr double Scale = 240.0;

// Round half to even, as the library's arithmetic always did (the default rounding mode).
[[nodiscard]] std::uint8_t RoundToByte(double value) { return static_cast<std::uint8_t>(std::nearbyint(value)); }

[[nodiscard]] std::uint8_t ChannelByte(double value) { return RoundToByte(std::min(value, 1.0) * 255.0); }

[[nodiscard]] TColor ToColor(COLORREF rgb) { return static_cast<TColor>(rgb); }

[[nodiscard]] TColor WithLuminance(TColor color, int luminance)
{
    std::uint8_t hue = 0, saturation = 0, current = 0;
    SplitHueSatLum(color, hue, saturation, current);
    return JoinHueSatLum(hue, saturation, static_cast<std::uint8_t>(std::clamp(luminance, 0, 255)));
}

[[nodiscard]] int LuminanceOf(TColor color)
{
    std::uint8_t hue = 0, saturation = 0, luminance = 0;
    SplitHueSatLum(color, hue, saturation, luminance);
    return luminance;
}

} // namespace

void SplitHueSatLum(TColor color, std::uint8_t& hue, std::uint8_t& saturation, std::uint8_t& luminance)
{
    const COLORREF rgb = ColorToRGB(color);
    const double r = GetRValue(rgb) / 255.0;
    const double g = GetGValue(rgb) / 255.0;
    const double b = GetBValue(rgb) / 255.0;
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    const double l = (high + low) / 2;
    double h = 0;
    double s = 0;
    if (high != low) {
        const double delta = high - low;
        s = l < 0.5 ? delta / (high + low) : delta / (2 - high - low);
        if (r == high)
            h = (g - b) / delta;
        else if (g == high)
            h = 2 + (b - r) / delta;
        else
            h = 4 + (r - g) / delta;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    hue = RoundToByte(h * Scale);
    saturation = RoundToByte(s * Scale);
    luminance = RoundToByte(l * Scale);
}

std::uint8_t HueOf(TColor color)
{
    std::uint8_t hue = 0, saturation = 0, luminance = 0;
    SplitHueSatLum(color, hue, saturation, luminance);
    return hue;
}

TColor JoinHueSatLum(std::uint8_t hue, std::uint8_t saturation, std::uint8_t luminance)
{
    const double l = luminance / Scale;
    const double s = saturation / Scale;
    const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
    if (m2 <= 0)
        return clBlack;
    const double m1 = 2 * l - m2;
    const double t = hue / 239.0 * 6;
    const int sector = static_cast<int>(t);
    const double v = (m2 - m1) * (t - sector);
    const double rising = m1 + v;
    const double falling = m2 - v;
    double r = m2, g = rising, b = m1; // sector 0, and 6 for the hues 239 and 240
    switch (sector) {
    case 1: r = falling; g = m2; b = m1; break;
    case 2: r = m1; g = m2; b = rising; break;
    case 3: r = m1; g = falling; b = m2; break;
    case 4: r = rising; g = m1; b = m2; break;
    case 5: r = m2; g = m1; b = falling; break;
    default: break;
    }
    return ToColor(RGB(ChannelByte(r), ChannelByte(g), ChannelByte(b)));
}

TColor DarkenLuminance(TColor color, std::uint8_t amount) { return WithLuminance(color, LuminanceOf(color) - amount); }

TColor LightenLuminance(TColor color, std::uint8_t amount) { return WithLuminance(color, LuminanceOf(color) + amount); }

TColor ShiftLuminance(TColor color, int amount)
{
    // Amounts beyond a byte go to the limit rather than wrapping round to a small change.
    const auto magnitude = static_cast<std::uint8_t>(std::min(std::abs(amount), 255));
    if (amount < 0)
        return DarkenLuminance(color, magnitude);
    if (amount > 0)
        return LightenLuminance(color, magnitude);
    return color;
}

TColor MixColors(TColor color1, TColor color2, std::uint8_t weight)
{
    const COLORREF a = ColorToRGB(color1);
    const COLORREF b = ColorToRGB(color2);
    const float w = static_cast<float>(weight) / 255.0f;
    auto mix = [w](BYTE c1, BYTE c2) {
        return static_cast<BYTE>(std::nearbyint(static_cast<float>(c1) * w + (1.0f - w) * static_cast<float>(c2)));
    };
    return ToColor(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b))));
}

bool ColoursAlike(TColor color1, TColor color2)
{
    std::uint8_t h1 = 0, s1 = 0, l1 = 0, h2 = 0, s2 = 0, l2 = 0;
    SplitHueSatLum(color1, h1, s1, l1);
    SplitHueSatLum(color2, h2, s2, l2);
    return std::abs(h1 - h2) < 20 && std::abs(l1 - l2) < 60;
}

TColor OppositeHueColor(TColor color, std::uint8_t luminance)
{
    const int hue = HueOf(color);
    return JoinHueSatLum(static_cast<std::uint8_t>(hue < 120 ? hue + 120 : hue - 120), 240, luminance);
}

std::uint8_t ColorSchemeOfName(std::string_view name)
{
    if (SameText(name, "HOMESTEAD"))
        return 1;
    if (SameText(name, "METALLIC"))
        return 2;
    return 0;
}

std::uint8_t CurrentXPColorScheme()
{
    const TRegIniFile settings("\\Software\\Microsoft\\Windows\\CurrentVersion");
    return ColorSchemeOfName(settings.ReadString("ThemeManager", "ColorName", ""));
}

bool ScreenHasFullColour()
{
    const HDC screen = GetDC(nullptr);
    const bool full = GetDeviceCaps(screen, NUMCOLORS) == -1;
    (void)ReleaseDC(nullptr, screen);
    return full;
}
