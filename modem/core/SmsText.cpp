#include "modem/core/SmsText.h"

#include <algorithm>

namespace {

constexpr char CtrlZ = '\x1A';
constexpr char Escape = '\x1B';

bool BreaksCommand(char c) { return c == CtrlZ || c == Escape || c == '\r' || c == '\n'; }

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Characters of UTF-8 text: every byte that is not a continuation byte begins one.
std::size_t CharacterCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The byte where the character after the first `count` characters begins (the size when fewer).
std::size_t CharacterEnd(std::string_view text, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at)
        if (!IsContinuationByte(text[at]) && characters++ == count)
            return at;
    return text.size();
}

} // namespace

std::string CleanSmsText(std::string_view text)
{
    std::string clean;
    clean.reserve(text.size());
    for (const char c : text)
        if (!BreaksCommand(c))
            clean += c;
    return clean;
}

TFittedSmsText FitSmsText(std::string_view text)
{
    TFittedSmsText fitted{CleanSmsText(text), false};
    fitted.Text.resize(CharacterEnd(fitted.Text, SmsTextLimit));
    fitted.Changed = fitted.Text != text;
    return fitted;
}

int SmsCharactersLeft(std::string_view text)
{
    const std::size_t length = CharacterCount(text);
    return length >= SmsTextLimit ? 0 : static_cast<int>(SmsTextLimit - length);
}
