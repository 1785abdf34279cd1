#pragma once

#include "controls/KvGrafx.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"

#include <cstdint>
#include <string_view>

// The common unit of the control library: colour arithmetic and the frame, outline and glyph
// routines every control draws with.

// ---- Colours -------------------------------------------------------------------------------------

// A fact about the display read on first use (rather than when the program starts, before any
// display is there) and kept; assigning a value replaces it, as the panel does with the colour
// scheme when the theme changes.
template <class T>
class TDisplayFact {
public:
    constexpr explicit TDisplayFact(T (*read)()) : m_read(read) {}
    operator T()
    {
        if (!m_known)
            *this = m_read();
        return m_value;
    }
    TDisplayFact& operator=(T value)
    {
        m_value = value;
        m_known = true;
        return *this;
    }

private:
    T (*m_read)();
    T m_value{};
    bool m_known = false;
};

// Hue, saturation and luminance on the 0..240 scale of the Windows colour dialog. Every routine
// resolves system colours first; amounts are luminance units of that scale.
void SplitHueSatLum(TColor color, std::uint8_t& hue, std::uint8_t& saturation, std::uint8_t& luminance);
[[nodiscard]] std::uint8_t HueOf(TColor color);
// Hue is read against 239, not 240, as the library always has: its shades depend on it.
[[nodiscard]] TColor JoinHueSatLum(std::uint8_t hue, std::uint8_t saturation, std::uint8_t luminance);
[[nodiscard]] TColor DarkenLuminance(TColor color, std::uint8_t amount);
// Luminance may go up to 255, past the scale, which pushes the channels toward white.
[[nodiscard]] TColor LightenLuminance(TColor color, std::uint8_t amount);
// Darkens for a negative amount, lightens for a positive one; 0 returns color as given.
[[nodiscard]] TColor ShiftLuminance(TColor color, int amount);
// weight 255 gives color1, 0 gives color2.
[[nodiscard]] TColor MixColors(TColor color1, TColor color2, std::uint8_t weight);
// Too close in hue and luminance to tell apart (saturation is not compared).
[[nodiscard]] bool ColoursAlike(TColor color1, TColor color2);
// The fully saturated colour a third of the hue circle away, at the given luminance.
[[nodiscard]] TColor OppositeHueColor(TColor color, std::uint8_t luminance);

// The Windows XP colour scheme: 1 olive ("HOMESTEAD"), 2 silver ("METALLIC"), 0 anything else.
[[nodiscard]] std::uint8_t ColorSchemeOfName(std::string_view name);
[[nodiscard]] std::uint8_t CurrentXPColorScheme();
// More than 256 colours.
[[nodiscard]] bool ScreenHasFullColour();

extern TDisplayFact<bool> FullColourScreen;
extern TDisplayFact<std::uint8_t> XPColorScheme;

// ---- Text and layout vocabulary ----------------------------------------------------------------

// Raised draws the shadow colour 1 pixel down-right and the highlight colour 1 pixel up-left under
// the text, recessed the reverse; shadow draws a copy offset by the shadow depth.
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TAlignmentVertical { avTop, avCenter, avBottom };

[[nodiscard]] const TTypeInfo& TextStyleTypeInfo();
[[nodiscard]] const TTypeInfo& AlignmentVerticalTypeInfo();
enum TOrientation { orHorizontal, orVertical };

[[nodiscard]] const TTypeInfo& OrientationTypeInfo();
// A hot-tracked control shows its hot-track colour as it is or that colour's complement.
enum TKvHotTrackColorType { htctComplement, htctActual };

[[nodiscard]] const TTypeInfo& KvHotTrackColorTypeTypeInfo();

// ---- Frames --------------------------------------------------------------------------------------

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TSet<TSide>;
inline constexpr TSides AllSides{sdLeft, sdTop, sdRight, sdBottom};

enum TFrameStyleEx {
    fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold,
    fsFlatRounded
};

// The frame styles of edits: fsNone to fsFlatBold (no fsFlatRounded).
using TFrameStyle = TFrameStyleEx;
enum TFramingPreference { fpCustomFraming, fpXPThemes };

// The published-property types of these declarations, for form data.
[[nodiscard]] const TTypeInfo& SidesTypeInfo();
[[nodiscard]] const TTypeInfo& FrameStyleExTypeInfo();
[[nodiscard]] const TTypeInfo& FrameStyleTypeInfo();
[[nodiscard]] const TTypeInfo& FramingPreferenceTypeInfo();

// Every routine that frames a rectangle leaves in `rect` the rectangle inside what it drew.

// Moves each chosen side of `rect` inwards by `by` pixels.
void ShrinkSides(TRect& rect, TSides sides, int by);
// What a frame style takes from each side it is drawn on; the status and popup frames are as
// wide as the bevel.
[[nodiscard]] int FrameStyleWidth(TFrameStyleEx style, int bevelWidth);

// One line per chosen side: left and top in ulColor, right and bottom in lrColor. clNone skips
// the lines of that colour, but the rectangle still shrinks by one on every chosen side.
void DrawEdgeLines(TCanvas& canvas, TRect& rect, TColor ulColor, TColor lrColor, TSides sides);
void DrawEdgeRings(TCanvas& canvas, TRect& rect, TColor ulColor, TColor lrColor, int width, TSides sides);
void DrawSunkenRaisedEdges(TCanvas& canvas, TRect& rect, bool sunken, TSides sides);
void DrawButtonEdge(TCanvas& canvas, TRect& rect, bool down);
void DrawButtonEdgeSides(TCanvas& canvas, TRect& rect, bool down, TSides sides);
void DrawTintedButtonEdge(TCanvas& canvas, TRect& rect, TColor color, bool down);
void DrawTintedButtonEdgeSides(TCanvas& canvas, TRect& rect, TColor color, bool down, TSides sides);
// A frame style in system colours.
void DrawFrameStyle(TCanvas& canvas, TRect& rect, TFrameStyleEx style);
void DrawFrameStyleSides(TCanvas& canvas, TRect& rect, TFrameStyleEx style, TSides sides);
// A frame style in shades of one colour.
void DrawTintedFrameStyle(TCanvas& canvas, TRect& rect, TColor color, TFrameStyleEx style);
void DrawTintedFrameStyleSides(TCanvas& canvas, TRect& rect, TColor color, TFrameStyleEx style, TSides sides);
void DrawBoxOutline(TCanvas& canvas, TRect& rect, TColor color);
// Every second pixel of the outline in black, starting one pixel in.
void DrawDottedOutline(TCanvas& canvas, TRect& rect);
// A flat outline with cut corners. The inside is 2 pixels in from the left, right and bottom
// sides but only 1 from the top.
void DrawRoundedOutline(TCanvas& canvas, TRect& rect, TColor color, TSides sides);

// How DrawFramedBorders frames a control: an outer frame, a border ring and an inner frame.
struct TFramedBorders {
    TFrameStyleEx BorderOuter = fsNone;
    TFrameStyleEx BorderInner = fsNone;
    int BorderWidth = 0;
    TSides BorderSides = AllSides;
    int BevelWidth = 1;
    TColor BorderColor = clBtnFace;
    TColor BorderHighlight = clBtnHighlight;
    TColor BorderShadow = clBtnShadow;
    TColor FlatColor = clBtnShadow;
    int FlatColorAdjustment = 0;
    TColor Color = clBtnFace;
    TColor ParentColor = clBtnFace;
    bool Transparent = false;
    bool SoftInnerFlatBorder = false;
};
void DrawFramedBorders(TCanvas& canvas, TRect& rect, const TFramedBorders& borders);

// How form data names the gradient styles.
[[nodiscard]] const TTypeInfo& GradientDirectionTypeInfo();

// An edit's non-client frame over (0, 0, width, height): unless noBackground a ring of color two
// pixels wide, then the frame over its outer pixels.
void DrawStyleFrame(TCanvas& canvas, int width, int height, TFrameStyleEx style, TColor color, TColor frameColor,
                    TSides sides, bool noBackground);
// Invalidates the window's frame over rect when any of the window can be seen.
void RedrawWindowFrame(HWND window, const TRect& rect);
// A gradient ring two pixels wide; nothing on a screen of 256 colours or fewer.
void DrawHotFrame(TCanvas& canvas, const TRect& rect, TGradientDirection direction, TColor startColor,
                  TColor stopColor);

enum THotTrackStyle { htsInterior, htsFrame };
enum TCheckDrawState { cdsNormal, cdsPressed, cdsHot, cdsDisabled };

// The square of a check box and its mark.
struct TCheckGlyph {
    TCheckBoxState State = cbUnchecked;
    TColor ReadOnlyColor = clInfoBk;
    bool ReadOnlyColorOnFocus = false;
    bool ReadOnly = false;
    TColor HotDark = clBtnShadow;
    TColor HotLight = clBtnHighlight;
    TColor DisabledColor = clBtnFace;
    TColor FocusColor = clWindow;
    TColor FillColor = clWindow;
    TColor CheckColor = clWindowText;
    TColor FrameColor = clBtnShadow;
    THotTrackStyle HotTrackStyle = htsInterior;
    bool Focused = false;
    TCheckDrawState DrawState = cdsNormal;
};
void DrawCheckGlyph(TCanvas& canvas, const TRect& rect, const TCheckGlyph& glyph);

enum TArrowDirection { adUp, adDown, adLeft, adRight };
// The down arrow of a drop button.
void DrawDropArrow(TCanvas& canvas, const TRect& rect, bool themed, bool enabled, bool pressed);
void DrawScrollArrow(TCanvas& canvas, const TRect& rect, bool themed, bool enabled, bool pressed,
                     TArrowDirection direction);
// The X of a close button.
void DrawCloseCross(TCanvas& canvas, const TRect& rect, bool themed, bool enabled, bool pressed);

// A font turned by angle degrees; the caller deletes the handle.
[[nodiscard]] HFONT CreateRotatedFont(TFont& font, int angle);
[[nodiscard]] bool FontIsTrueType(TFont& font);
