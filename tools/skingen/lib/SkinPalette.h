#pragma once

#include "tools/skingen/lib/ArtCanvas.h"

// The colours of the skin, in one place. The INI's [Colours] section is written from these too,
// so text and system colours always match the art.
struct SkinPalette {
    // Window frame and caption.
    static constexpr TColor CaptionTop = Rgb(92, 136, 192);
    static constexpr TColor CaptionBottom = Rgb(46, 84, 136);
    static constexpr TColor CaptionShine = Rgb(146, 184, 228);
    static constexpr TColor CaptionInactiveTop = Rgb(176, 188, 206);
    static constexpr TColor CaptionInactiveBottom = Rgb(140, 154, 174);
    static constexpr TColor CaptionInactiveShine = Rgb(206, 215, 228);
    static constexpr TColor FrameOuter = Rgb(26, 48, 80);
    static constexpr TColor FrameLight = Rgb(112, 152, 200);
    static constexpr TColor FrameMid = Rgb(66, 104, 152);
    static constexpr TColor FrameInner = Rgb(38, 66, 104);
    static constexpr TColor FrameInactiveOuter = Rgb(96, 106, 122);
    static constexpr TColor FrameInactiveLight = Rgb(186, 196, 210);
    static constexpr TColor FrameInactiveMid = Rgb(150, 161, 178);
    static constexpr TColor FrameInactiveInner = Rgb(112, 122, 138);
    static constexpr TColor TitleText = Rgb(255, 255, 255);
    static constexpr TColor TitleTextInactive = Rgb(232, 236, 242);

    // Surfaces.
    static constexpr TColor Face = Rgb(232, 237, 243);
    static constexpr TColor FaceLight = Rgb(246, 248, 251);
    static constexpr TColor White = Rgb(255, 255, 255);
    static constexpr TColor Shadow = Rgb(150, 164, 184);
    static constexpr TColor DarkShadow = Rgb(86, 100, 122);
    static constexpr TColor Outline = Rgb(122, 142, 170);
    static constexpr TColor Track = Rgb(220, 227, 236);
    static constexpr TColor Menu = Rgb(250, 251, 253);

    // Accent (selection, focus, progress).
    static constexpr TColor Accent = Rgb(52, 112, 190);
    static constexpr TColor AccentLight = Rgb(126, 180, 240);
    static constexpr TColor AccentDark = Rgb(34, 80, 146);
    static constexpr TColor Selection = Rgb(200, 221, 247);
    static constexpr TColor SelectionBorder = Rgb(118, 160, 218);

    // Text.
    static constexpr TColor Text = Rgb(22, 30, 44);
    static constexpr TColor TextHot = Rgb(18, 60, 122);
    static constexpr TColor TextPressed = Rgb(10, 36, 80);
    static constexpr TColor SelectionText = Rgb(16, 32, 60);
    static constexpr TColor DisabledText = Rgb(150, 160, 174);

    // Glyphs on light surfaces (arrows, check marks, radio dots, the indeterminate square) share
    // one ink, per state in the pushable order normal, pressed, disabled, hot.
    static constexpr TColor Glyph = AccentDark;
    static constexpr TColor GlyphInks[4] = {AccentDark, AccentDark, DisabledText, Accent};
    // The width of every arrow of the skin; its depth is half of that.
    static constexpr double ArrowSize = 8;

    // Light falls from the top left: raised edges are light there and shaded at the bottom right.
    static constexpr TColor EdgeLight = White;
    static constexpr TColor EdgeShade = Rgb(200, 209, 222);

    // Pushable surfaces: normal, pressed, disabled, hot (the order of the skin's button frames).
    static constexpr TFaceLook ButtonNormal{Rgb(255, 255, 255), Rgb(216, 226, 240), Rgb(120, 140, 168), Text};
    static constexpr TFaceLook ButtonPressed{Rgb(184, 205, 232), Rgb(214, 228, 246), Rgb(56, 98, 156), TextPressed};
    static constexpr TFaceLook ButtonDisabled{Rgb(240, 242, 245), Rgb(234, 237, 241), Rgb(186, 192, 202), DisabledText};
    static constexpr TFaceLook ButtonHot{Rgb(255, 255, 255), Rgb(198, 221, 250), Rgb(72, 126, 196), TextHot};

    // Caption buttons sit on the dark caption: translucent-looking glass with white glyphs.
    static constexpr TFaceLook CaptionNormal{Rgb(112, 154, 208), Rgb(66, 104, 156), Rgb(30, 56, 94), White};
    static constexpr TFaceLook CaptionPressed{Rgb(42, 74, 120), Rgb(64, 100, 150), Rgb(20, 40, 70), White};
    static constexpr TFaceLook CaptionHot{Rgb(146, 190, 240), Rgb(86, 132, 192), Rgb(30, 56, 94), White};
    static constexpr TFaceLook CaptionDisabled{Rgb(164, 176, 194), Rgb(140, 152, 170), Rgb(104, 116, 134), Rgb(204, 210, 220)};
    static constexpr TFaceLook CloseNormal{Rgb(212, 110, 100), Rgb(170, 58, 50), Rgb(96, 28, 24), White};
    static constexpr TFaceLook ClosePressed{Rgb(130, 34, 28), Rgb(170, 56, 46), Rgb(80, 20, 16), White};
    static constexpr TFaceLook CloseHot{Rgb(240, 134, 120), Rgb(206, 64, 52), Rgb(110, 30, 24), White};
};
