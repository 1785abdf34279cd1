#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text of an SMS as the manager sends it: one message of at most SmsTextLimit characters
// (UTF-8 text, so up to four bytes each), holding no character that would end or cancel the send
// command.
inline constexpr std::size_t SmsTextLimit = 160;
// The most bytes a text of SmsTextLimit characters takes: the compose memo's own limit, which
// counts bytes.
inline constexpr std::size_t SmsTextMaxBytes = SmsTextLimit * 4;

// Without Ctrl-Z (it would end the message early and run the rest as commands), Esc (it would
// cancel the message) and the line ends CR and LF (one would end the command line).
[[nodiscard]] std::string CleanSmsText(std::string_view text);

struct TFittedSmsText {
    std::string Text;
    // Whether characters were taken out or the text was cut to the limit.
    bool Changed = false;
};
// Cleaned, then cut to SmsTextLimit characters.
[[nodiscard]] TFittedSmsText FitSmsText(std::string_view text);

// SmsTextLimit minus the text's length in characters, never below 0: the compose page's counter.
[[nodiscard]] int SmsCharactersLeft(std::string_view text);
