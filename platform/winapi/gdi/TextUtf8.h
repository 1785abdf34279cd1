#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Decodes the character at `pos` and moves `pos` past it (pos < text.size()). A byte that does
// not start a well-formed UTF-8 sequence stands for itself as Latin-1, one byte long, so stray
// 8-bit text still shows instead of vanishing.
[[nodiscard]] char32_t NextCharacter(std::string_view text, std::size_t& pos);

// UTF-16 as UTF-8, with the UTF-16 index each UTF-8 byte came from (plus one for the end), for
// the wide calls. Unpaired surrogates become U+FFFD.
struct WideAsUtf8 {
    std::string text;
    std::vector<std::size_t> wideIndex;
};
[[nodiscard]] WideAsUtf8 ToUtf8(std::u16string_view wide);
[[nodiscard]] std::u16string ToUtf16(std::string_view text);
