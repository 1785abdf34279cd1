#pragma once

#include <cstdint>
#include <string_view>

// What the data connection page does with a notification of the dial-up service: a state of the
// dial, or an error code (600 and up).
enum class TDialStep {
    Log,             // a state worth a line in the connection log (LogText)
    Connected,       // the connection is up
    Disconnected,    // the connection has ended
    ErrorWithText,   // an error whose own text the log shows ("No answer", "Authentication failed")
    Error,           // any other error, logged as "Connection Error"
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
