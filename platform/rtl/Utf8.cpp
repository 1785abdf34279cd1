#include "platform/rtl/Utf8.h"

#include <algorithm>

std::size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    return (lead & 0xF8) == 0xF0 ? 4 : 0;
}

std::size_t Utf8CharacterCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

std::size_t Utf8CharacterOffset(std::string_view text, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at)
        if (!IsUtf8Continuation(text[at]) && characters++ == count)
            return at;
    return text.size();
}

std::size_t Utf8PreviousStart(std::string_view text, std::size_t pos)
{
    pos = std::min(pos, text.size());
    if (pos == 0)
        return 0;
    return Utf8CharacterStart(text, pos - 1);
}

std::size_t Utf8NextStart(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return text.size();
    ++pos;
    while (pos < text.size() && IsUtf8Continuation(text[pos]))
        ++pos;
    return pos;
}

std::size_t Utf8CharacterStart(std::string_view text, std::size_t pos)
{
    pos = std::min(pos, text.size());
    while (pos > 0 && pos < text.size() && IsUtf8Continuation(text[pos]))
        --pos;
    return pos;
}
