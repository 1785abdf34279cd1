#pragma once

#include <string>

// The one gate every number passes before it goes into an AT command (a dial, an SMS recipient):
// digits, "*", "#" and "+" only, at most MaxDialLength (ATCommands.h), and not empty. A number that
// fails is refused with a message that says why; nothing is sent for it.
[[nodiscard]] bool AcceptNumber(const std::string& number);

// The message a refused number gets.
[[nodiscard]] std::string RefusedNumberText(const std::string& number);
