#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the data connection page does with a notification of the dial-up service: a state of the
// dial, or an error code (600 and up).
enum class TDialStep {
    Log,             // a state worth a line in the connection log (LogText)
    Connected,       // the connection is up
    Disconnected,    // the connection has ended
    ErrorWithText,   // an error whose own text the log shows ("No answer", "Authentication failed")
    Error,           // any other error, logged as "Connection Error" with the reason (ConnectionErrorLogText)
    Ignored,         // a state the page does not show
};

struct TDialProgress {
    TDialStep Step = TDialStep::Ignored;
    std::string_view LogText; // for Log: "==Openning Port==", ...
};

// Every code from 600 up is an error that ends the dial, not only those the service listed when
// the page was written: an error it ignored would leave the page waiting, the modem's port given
// away for good.
[[nodiscard]] TDialProgress DialProgressOf(std::uint32_t code);

// The log line of an error without a line of its own: "==Connection Error==", followed by the
// reason the dial-up service gave when it gave one (pppd missing, the port or /dev/ppp not to be
// opened, the peer refusing the link, ...).
[[nodiscard]] std::string ConnectionErrorLogText(std::string_view reason);
