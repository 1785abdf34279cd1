#pragma once

#include <string>
#include <string_view>

// The texts the call page and the data connection page count time with.

// The call status line of a connected call: "Time: " + CallDuration (e.g. "Time: 00:01:05",
// "Time: 100:00:00").
[[nodiscard]] std::string CallTimeTitle(int seconds);

// The status line of a call being set up, one step a second: a dot more each second, back to
// `start` ("Call Outgoing.", "Call Incoming.") every third second.
[[nodiscard]] std::string CallProgressTitle(const std::string& current, int seconds, std::string_view start);

// The data connection's time from its duration in milliseconds, "HH:MM:SS" (hours past 99 take
// the digits they need).
[[nodiscard]] std::string ConnectionTime(unsigned long milliseconds);
