#pragma once

#include "platform/winapi/kernel/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>

// What pppd's log lines (and those of chat, run with -v -s, which pppd passes into the same
// log) tell about a dial. Messages are matched without regard to letter case.

// The dial states the notifier reports, in the order they are reached.
enum class DialStep { OpenPort, PortOpened, Authenticate, Authenticated, Connected };

[[nodiscard]] DWORD RasStateOfStep(DialStep step);

struct PppdLogLine {
    std::optional<DialStep> reached;
    DWORD failure = 0;          // a RAS error code this line explains, or 0
    std::string interfaceName;  // "ppp0" from "Using interface ppp0" or "Connect: ppp0 <--> ..."
};

[[nodiscard]] PppdLogLine ClassifyPppdLine(std::string_view line);

// The RAS error for pppd's exit status (see pppd(8), EXIT STATUS) when no log line explained the
// end, and for an end by a signal that was not ours.
[[nodiscard]] DWORD RasErrorForPppdExit(int exitStatus);
[[nodiscard]] DWORD RasErrorForPppdSignal();
