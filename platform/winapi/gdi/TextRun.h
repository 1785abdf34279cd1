#pragma once

#include "platform/winapi/gdi/FontInstance.h"

#include <span>
#include <string_view>
#include <vector>

// A line of text laid out along its baseline: which glyph goes where, in whole pixels from the
// start of the line. Extents and drawing both come from here, so they cannot disagree.
struct RunGlyph {
    char32_t character;
    std::size_t offset; // first byte in the text
    std::size_t length; // bytes
    int x;              // pen position from the start of the run
    int advance;
};

struct RunOptions {
    std::span<const int> dx;    // ExtTextOut's spacing, one entry per byte; empty = the font's
    int characterExtra = 0;     // added to every character's advance
    int tabWidth = 0;           // > 0: tabs move to the next multiple of it from the run's start
};

class TextRun {
public:
    TextRun(FontInstance& font, std::string_view text, const RunOptions& options = {});

    [[nodiscard]] int Width() const { return m_width; }
    [[nodiscard]] const std::vector<RunGlyph>& Glyphs() const { return m_glyphs; }
    // The pen position where the character starting at byte `offset` begins (the width at the end).
    [[nodiscard]] int XAt(std::size_t offset) const;

private:
    std::vector<RunGlyph> m_glyphs;
    int m_width = 0;
};
