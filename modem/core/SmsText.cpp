#include "modem/core/SmsText.h"

namespace {

constexpr char CtrlZ = '\x1A';
constexpr char Escape = '\x1B';

bool BreaksCommand(char c) { return c == CtrlZ || c == Escape || c == '\r' || c == '\n'; }

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

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
    if (fitted.Text.size() > SmsTextLimit) {
        std::size_t end = SmsTextLimit;
        while (end > 0 && IsContinuationByte(fitted.Text[end]))
            --end;
        fitted.Text.resize(end);
    }
    fitted.Changed = fitted.Text != text;
    return fitted;
}

int SmsCharactersLeft(std::string_view text)
{
    return text.size() >= SmsTextLimit ? 0 : static_cast<int>(SmsTextLimit - text.size());
}
