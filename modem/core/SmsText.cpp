#include "modem/core/SmsText.h"

#include "platform/rtl/Utf8.h"

namespace {

constexpr char CtrlZ = '\x1A';
constexpr char Escape = '\x1B';

bool BreaksCommand(char c) { return c == CtrlZ || c == Escape || c == '\r' || c == '\n'; }

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
    fitted.Text.resize(Utf8CharacterOffset(fitted.Text, SmsTextLimit));
    fitted.Changed = fitted.Text != text;
    return fitted;
}

int SmsCharactersLeft(std::string_view text)
{
    const std::size_t length = Utf8CharacterCount(text);
    return length >= SmsTextLimit ? 0 : static_cast<int>(SmsTextLimit - length);
}
