#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

// The name of a row of a parameterised test table: its place in the table, then the text that
// describes it with every run of other characters made one underscore ("%d of %s", row 1:
// "1_d_of_s"). Stable from build to build (the test runner's own printout of a row is a dump of
// its bytes, pointers and all) and short enough to copy from a log.
inline std::string RowName(std::size_t index, std::string_view text)
{
    constexpr std::size_t MaxLength = 40;
    std::string name = std::to_string(index);
    for (const char c : text) {
        if (name.size() >= MaxLength)
            break;
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (name.back() != '_')
            name += '_';
    }
    if (name.back() == '_')
        name.pop_back();
    return name;
}
