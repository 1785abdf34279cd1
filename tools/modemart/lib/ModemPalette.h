#pragma once

#include "tools/skingen/lib/ArtCanvas.h"

// The one palette of the manager's pictures. Every shape is lit from above: a gradient from the
// light shade at its top to the base shade at its bottom, inside a one-pixel outline of the dark
// shade.
struct TArtTone {
    TColor light;
    TColor base;
    TColor dark;
};

namespace ModemPalette {

inline constexpr TArtTone Blue{Rgb(138, 192, 246), Rgb(40, 110, 200), Rgb(22, 56, 112)};
inline constexpr TArtTone Green{Rgb(146, 222, 124), Rgb(44, 158, 70), Rgb(20, 90, 40)};
inline constexpr TArtTone Red{Rgb(248, 136, 112), Rgb(204, 52, 44), Rgb(118, 24, 20)};
inline constexpr TArtTone Amber{Rgb(255, 218, 124), Rgb(238, 156, 28), Rgb(146, 86, 10)};
inline constexpr TArtTone Paper{Rgb(255, 255, 255), Rgb(224, 230, 240), Rgb(84, 98, 124)};
inline constexpr TArtTone Steel{Rgb(240, 242, 246), Rgb(156, 166, 180), Rgb(74, 84, 100)};
// The empty bars: a pale slot that leaves the surface showing through.
inline constexpr TArtTone Ghost{Rgb(214, 220, 228), Rgb(188, 196, 208), Rgb(132, 142, 158)};

inline constexpr TColor Ink = Rgb(34, 48, 74);
inline constexpr TColor White = Rgb(255, 255, 255);
// The backdrop of the splash picture, top and bottom, and its text band.
inline constexpr TColor NightTop = Rgb(20, 40, 84);
inline constexpr TColor NightBottom = Rgb(42, 96, 172);
inline constexpr TColor Band = Rgb(238, 242, 248);

// Faces of keys and tiles: normal, hot (under the mouse) and down.
inline constexpr TFaceLook KeyNormal{Rgb(253, 253, 254), Rgb(220, 226, 236), Rgb(128, 140, 160), Ink};
inline constexpr TFaceLook KeyHot{Rgb(255, 255, 255), Rgb(200, 222, 250), Rgb(52, 116, 198), Ink};
inline constexpr TFaceLook KeyDown{Rgb(184, 204, 232), Rgb(220, 232, 246), Rgb(30, 78, 150), Ink};
inline constexpr TFaceLook TileHot{Rgb(240, 246, 254), Rgb(208, 226, 248), Rgb(120, 160, 214), Ink};
inline constexpr TFaceLook TileDown{Rgb(182, 202, 230), Rgb(212, 226, 246), Rgb(52, 94, 158), Ink};

} // namespace ModemPalette
