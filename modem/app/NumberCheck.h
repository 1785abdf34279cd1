#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The one gate every number passes before it goes into an AT command (a dial, an SMS recipient, a
// forwarding target): digits, "*", "#" and "+" only, at most MaxDialLength (ATCommands.h), and not
// empty.
[[nodiscard]] bool IsPhoneNumber(std::string_view number);

// IsPhoneNumber, and a number that fails is refused with a message that says why; nothing is sent
// for it.
[[nodiscard]] bool AcceptNumber(const std::string& number);

// The message a refused number gets.
[[nodiscard]] std::string RefusedNumberText(const std::string& number);

// What a number may hold, for a field that keeps at most `limit` characters of it.
[[nodiscard]] std::string NumberRuleText(std::size_t limit);
