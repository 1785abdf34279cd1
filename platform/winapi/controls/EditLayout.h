#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// Breaks an edit control's text into display lines: at "\r\n" (or a lone "\n") in a multi-line
// control, and, when wrapping, after the last blank that fits the width (or inside a word longer
// than the line).
struct EditLine {
    std::size_t start;
    std::size_t end;  // the text shown, without the line break
    std::size_t next; // where the following line starts
};

// The pixel offsets of every byte position in [from, to] from `from` (continuation bytes of a
// character share the offset of the character's end).
using EditMeasure = std::function<std::vector<int>(std::size_t from, std::size_t to)>;

[[nodiscard]] std::vector<EditLine> LayoutEditLines(std::string_view text, bool multiLine, int wrapWidth,
                                                    const EditMeasure& measure);
