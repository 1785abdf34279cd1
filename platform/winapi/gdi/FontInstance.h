#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A font realised at one size, weight, slant and angle: the metrics GDI reports and the glyph
// images text is drawn with. Shared by every font object asking for the same thing, and kept
// alive by whoever draws with it.

// One glyph's coverage, placed relative to the pen position on the baseline (y grows downwards):
// the image's top-left pixel goes at (pen.x + left, pen.y - top).
struct GlyphImage {
    int advance = 0; // along the baseline, whole pixels (extents add these up)
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage; // width * height bytes, 0 = none, 255 = full
};

// What GetTextMetrics and GetOutlineTextMetrics report, in pixels unless noted.
struct FontMetrics {
    TEXTMETRICA text{};
    unsigned emSquare = 2048;  // design units per em
    unsigned emPixels = 0;     // the size glyphs are rendered at
    int slopeRise = 1;         // caret slope: upright is 1/0
    int slopeRun = 0;
    int italicAngle = 0;       // tenths of a degree, negative leans right
    int lineGap = 0;
    int capHeight = 0;
    int xHeight = 0;
    RECT fontBox{};
    int underlinePosition = 0; // below the baseline, positive downwards
    int underlineSize = 1;
    int strikeoutPosition = 0; // above the baseline
    int strikeoutSize = 1;
    int escapement = 0;        // tenths of a degree, counter-clockwise
    std::string familyName;
    std::string styleName;
};

class FontInstance {
public:
    FontInstance() = default;
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;
    virtual ~FontInstance() = default;

    [[nodiscard]] const FontMetrics& Metrics() const { return m_metrics; }
    // The glyph for a character, rendered at the font's angle; cached, safe from any thread. The
    // reference stays valid as long as the instance lives.
    [[nodiscard]] virtual const GlyphImage& Glyph(char32_t character) = 0;
    // The advance of a character without rendering it.
    [[nodiscard]] virtual int Advance(char32_t character) = 0;

protected:
    FontMetrics m_metrics;
};
