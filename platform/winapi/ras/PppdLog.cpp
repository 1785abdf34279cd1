#include "platform/winapi/ras/PppdLog.h"
#include "platform/winapi/ras/Ras.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {

std::string Lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// A line that explains a failure: both parts present (the second may be empty). The first
// matching row wins, so a specific row goes before a general one.
struct FailureRow {
    std::string_view part;
    std::string_view alsoPart;
    DWORD error;
};

constexpr FailureRow FailureRows[] = {
    {"failed (busy)", "", ERROR_LINE_BUSY},
    {"failed (no carrier)", "", ERROR_NO_CARRIER},
    {"failed (no answer)", "", ERROR_NO_ANSWER},
    {"failed (no dialtone)", "", ERROR_NO_DIALTONE},
    {"failed (error)", "", ERROR_FROM_DEVICE},
    {"connect script failed", "", ERROR_NO_ANSWER},
    {"authentication failed", "", ERROR_AUTHENTICATION_FAILURE},
    {"authentication failure", "", ERROR_AUTHENTICATION_FAILURE},
    {"is locked by pid", "", ERROR_PORT_NOT_AVAILABLE},
    {"failed to open", "no such", ERROR_PORT_NOT_FOUND},
    {"failed to open", "", ERROR_PORT_NOT_AVAILABLE},
    {"the /dev/ppp device", "", ERROR_DEVICE_DOES_NOT_EXIST},
    {"kernel support for ppp", "", ERROR_DEVICE_DOES_NOT_EXIST},
    {"root privilege", "", ERROR_RASMAN_CANNOT_INITIALIZE},
    {"must be root", "", ERROR_RASMAN_CANNOT_INITIALIZE},
    {"modem hangup", "", ERROR_PORT_DISCONNECTED},
    {"echo-requests", "", ERROR_REQUEST_TIMEOUT},
    {"timeout sending config-requests", "", ERROR_PPP_TIMEOUT},
    {"looped back", "", ERROR_PPP_LOOPBACK_DETECTED},
};

DWORD FailureOf(std::string_view lower)
{
    for (const auto& row : FailureRows)
        if (Contains(lower, row.part) && Contains(lower, row.alsoPart))
            return row.error;
    return 0;
}

std::optional<DialStep> StepOf(std::string_view lower)
{
    // chat only talks once pppd has opened the port for it.
    for (const std::string_view chatLine : {"abort on (", "timeout set to", "send (", "expect ("})
        if (lower.starts_with(chatLine))
            return DialStep::PortOpened;
    if (lower.starts_with("serial connection established"))
        return DialStep::PortOpened;
    if (lower.starts_with("connect: ppp"))
        return DialStep::Authenticate;
    if (Contains(lower, "authentication succeeded"))
        return DialStep::Authenticated;
    if (lower.starts_with("local ") && Contains(lower, "ip address"))
        return DialStep::Connected;
    return std::nullopt;
}

std::string InterfaceOf(std::string_view line, std::string_view lower)
{
    for (const std::string_view prefix : {"using interface ", "connect: "}) {
        if (!lower.starts_with(prefix))
            continue;
        auto name = line.substr(prefix.size());
        name = name.substr(0, name.find(' '));
        if (name.starts_with("ppp"))
            return std::string(name);
    }
    return "";
}

std::string_view Trimmed(std::string_view line)
{
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front())))
        line.remove_prefix(1);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.remove_suffix(1);
    return line;
}

} // namespace

DWORD RasStateOfStep(DialStep step)
{
    switch (step) {
    case DialStep::OpenPort:
        return RASCS_OpenPort;
    case DialStep::PortOpened:
        return RASCS_PortOpened;
    case DialStep::Authenticate:
        return RASCS_Authenticate;
    case DialStep::Authenticated:
        return RASCS_Authenticated;
    case DialStep::Connected:
        return RASCS_Connected;
    }
    return RASCS_OpenPort;
}

PppdLogLine ClassifyPppdLine(std::string_view line)
{
    line = Trimmed(line);
    const auto lower = Lower(line);
    PppdLogLine result;
    result.failure = FailureOf(lower);
    if (!result.failure)
        result.reached = StepOf(lower);
    result.interfaceName = InterfaceOf(line, lower);
    return result;
}

DWORD RasErrorForPppdExit(int exitStatus)
{
    // Indexed by pppd's exit status.
    static constexpr DWORD Errors[] = {
        ERROR_REMOTE_DISCONNECTION,     // 0: the link ended at the peer's request
        ERROR_UNKNOWN,                  // 1: fatal error
        ERROR_WRONG_INFO_SPECIFIED,     // 2: error in the options
        ERROR_RASMAN_CANNOT_INITIALIZE, // 3: not setuid-root and not run by root
        ERROR_DEVICE_DOES_NOT_EXIST,    // 4: no kernel PPP support
        ERROR_USER_DISCONNECTION,       // 5: SIGINT, SIGTERM or SIGHUP
        ERROR_PORT_NOT_AVAILABLE,       // 6: the port could not be locked
        ERROR_PORT_NOT_AVAILABLE,       // 7: the port could not be opened
        ERROR_NO_ANSWER,                // 8: the connect script failed
        ERROR_UNKNOWN,                  // 9: the pty command failed
        ERROR_PPP_LCP_TERMINATED,       // 10: PPP negotiation failed
        ERROR_AUTHENTICATION_FAILURE,   // 11: the peer failed to authenticate itself
        ERROR_PORT_DISCONNECTED,        // 12: idle time-out
        ERROR_PORT_DISCONNECTED,        // 13: connect-time limit
        ERROR_PORT_DISCONNECTED,        // 14: call-back negotiated
        ERROR_REQUEST_TIMEOUT,          // 15: the peer stopped answering echo requests
        ERROR_PORT_DISCONNECTED,        // 16: the modem hung up
        ERROR_PPP_LOOPBACK_DETECTED,    // 17: the line is looped back
        ERROR_NO_ANSWER,                // 18: the init script failed
        ERROR_AUTHENTICATION_FAILURE,   // 19: we failed to authenticate ourselves
        ERROR_PORT_DISCONNECTED,        // 20: traffic limit
        ERROR_AUTHENTICATION_FAILURE,   // 21: CNID authentication failed
    };
    if (exitStatus < 0 || static_cast<std::size_t>(exitStatus) >= std::size(Errors))
        return ERROR_UNKNOWN;
    return Errors[exitStatus];
}

DWORD RasErrorForPppdSignal()
{
    return ERROR_USER_DISCONNECTION;
}
