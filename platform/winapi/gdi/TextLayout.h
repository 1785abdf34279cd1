#pragma once

#include "platform/winapi/gdi/FontInstance.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// DrawText's layout, apart from any DC: prefix characters, line breaks, word breaking, tab
// expansion and the three ellipses. Widths are pixels of the given font.
//
// Word breaking follows GDI: lines break at blanks; a word wider than the line stays whole (and
// is clipped) unless DT_EDITCONTROL asks for edit-control breaking within the word.
struct TextLayoutLine {
    std::string text;                             // as drawn: prefixes removed, ellipsis applied
    int width = 0;
    std::vector<std::pair<std::size_t, std::size_t>> underlines; // byte ranges of `text`
};

struct TextLayoutRules {
    unsigned format = 0; // DT_* flags
    int width = 0;       // room for each line
    int tabWidth = 0;    // pixels between tab stops (DT_EXPANDTABS)
    int lineHeight = 1;
    int height = 0;      // room for lines (DT_EDITCONTROL hides lines that do not fit wholly)
};

struct TextLayout {
    std::vector<TextLayoutLine> lines;
    int width = 0;              // of the widest line
    std::size_t lengthDrawn = 0; // bytes of the source text the shown lines cover
    bool shortened = false;     // an ellipsis was put in
};

[[nodiscard]] TextLayout LayOutText(FontInstance& font, std::string_view text, const TextLayoutRules& rules);
