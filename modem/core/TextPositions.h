#pragma once

#include <cstddef>
#include <string_view>

// The modem's answers and the command texts are recognised by the characters at fixed 0-based
// positions. Texts are often shorter than the position looked at (a plain OK is six characters),
// so every look is bounds-checked: a position past the end reads as no character and matches
// nothing.

// The character at `index`, or '\0' past the end.
[[nodiscard]] constexpr char CharAt(std::string_view text, std::size_t index)
{
    return index < text.size() ? text[index] : '\0';
}

// The `count` characters from `index`, shorter (or empty) where the text ends.
[[nodiscard]] constexpr std::string_view TextAt(std::string_view text, std::size_t index, std::size_t count)
{
    return index < text.size() ? text.substr(index, count) : std::string_view();
}
