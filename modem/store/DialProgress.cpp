#include "modem/store/DialProgress.h"

namespace {

constexpr std::uint32_t OpenPort = 0;
constexpr std::uint32_t PortOpened = 1;
constexpr std::uint32_t Authenticate = 5;
constexpr std::uint32_t Authenticated = 14;
constexpr std::uint32_t Connected = 0x2000;
constexpr std::uint32_t Disconnected = 0x2001;
constexpr std::uint32_t FirstError = 600;
constexpr std::uint32_t NoAnswer = 678;
constexpr std::uint32_t AuthenticationFailed = 691;

} // namespace

TDialProgress DialProgressOf(std::uint32_t code)
{
    switch (code) {
    case OpenPort:
        return {TDialStep::Log, "==Openning Port=="};
    case PortOpened:
        return {TDialStep::Log, "==Port Opened=="};
    case Authenticate:
        return {TDialStep::Log, "==Starting Authentication=="};
    case Authenticated:
        return {TDialStep::Log, "==Authenticated=="};
    case Connected:
        return {TDialStep::Connected, {}};
    case Disconnected:
        return {TDialStep::Disconnected, {}};
    case NoAnswer:
    case AuthenticationFailed:
        return {TDialStep::ErrorWithText, {}};
    default:
        break;
    }
    if (code >= FirstError)
        return {TDialStep::Error, {}};
    return {};
}

std::string ConnectionErrorLogText(std::string_view reason)
{
    if (reason.empty())
        return "==Connection Error==";
    return "==Connection Error: " + std::string(reason) + "==";
}
