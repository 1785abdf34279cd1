#pragma once

#include "platform/winapi/gdi/FontInstance.h"

#include <memory>
#include <string>

// Turns logical fonts into realised ones. The same request gives the same instance while anyone
// still uses it (and a few recent ones stay cached), so glyphs are rendered once.
//
// Sizes follow GDI at 96 DPI: a negative lfHeight is the character height (the em) in pixels, a
// positive one the cell height (ascent + descent), 0 a default. Sizes are capped at MaxEmPixels so
// that a wild LOGFONT cannot make a glyph of gigabytes. Bold and italic are synthesised when the
// face lacks them; lfEscapement turns the baseline (tenths of a degree, counter-clockwise).
[[nodiscard]] std::shared_ptr<FontInstance> RealizeFont(const LOGFONTA& logFont);

constexpr int MaxEmPixels = 1024;
constexpr int DefaultEmPixels = 12;
// Interface text up to this size (12 pt) is drawn crisp, in whole pixels, as the classic look
// draws it; larger text is smoothed unless the font asks otherwise.
constexpr int CrispTextPixels = 16;

namespace winapi_gdi::detail {

// Whether a font of this quality and height is drawn without grey edges: a font may ask for either
// way; by default small text is crisp.
[[nodiscard]] bool RendersCrisp(BYTE quality, LONG lfHeight);

// A logical font reduced to what changes the realised one.
struct FontRequest {
    std::string faceName;
    int height = 0;
    int width = 0;
    int escapement = 0; // 0..3599
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool monochrome = false;
    BYTE charSet = ANSI_CHARSET;
    BYTE pitchAndFamily = DEFAULT_PITCH;
    int weight = FW_NORMAL;

    auto operator<=>(const FontRequest&) const = default;
};

[[nodiscard]] FontRequest RequestFor(const LOGFONTA& logFont);

// The em in pixels for lfHeight, given the face's design units per em and its cell height in
// design units.
[[nodiscard]] int EmPixelsFor(int lfHeight, int unitsPerEm, int cellUnits);

// The two kinds of realised font: faces from font files, and the symbol face drawn by us.
[[nodiscard]] std::shared_ptr<FontInstance> CreateFreeTypeFont(const FontRequest& request);
[[nodiscard]] std::shared_ptr<FontInstance> CreateMarlettFont(const FontRequest& request);

} // namespace winapi_gdi::detail
