#include "tools/fakemodem/lib/ConsoleCommands.h"

#include "tools/fakemodem/lib/FakeModem.h"

#include <charconv>
#include <map>
#include <optional>
#include <sstream>

namespace {

std::optional<int> ParseInt(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The rest of the line after the stream's position, without its leading blanks.
std::string Rest(std::istringstream& words)
{
    std::string rest;
    std::getline(words >> std::ws, rest);
    return rest;
}

void SetDial(FakeModem& modem, std::istringstream& words, std::ostream& out)
{
    static const std::map<std::string, DialOutcome> Outcomes = {{"answer", DialOutcome::Answer},
                                                                {"busy", DialOutcome::Busy},
                                                                {"noanswer", DialOutcome::NoAnswer},
                                                                {"error", DialOutcome::Error},
                                                                {"silent", DialOutcome::Silent}};
    std::string name;
    std::string delayText;
    words >> name >> delayText;
    const auto outcome = Outcomes.find(name);
    const auto delay = delayText.empty() ? std::optional<int>(1000) : ParseInt(delayText);
    if (outcome == Outcomes.end() || !delay || *delay < 0) {
        out << "usage: dial answer|busy|noanswer|error|silent [delay ms]\n";
        return;
    }
    modem.SetDialOutcome(outcome->second, std::chrono::milliseconds(*delay));
}

void SetSmsResult(FakeModem& modem, std::istringstream& words, std::ostream& out)
{
    static const std::map<std::string, SmsOutcome> Outcomes = {{"sent", SmsOutcome::Sent},
                                                               {"error", SmsOutcome::CmsError},
                                                               {"refused", SmsOutcome::Refused},
                                                               {"prompterror", SmsOutcome::PromptThenError},
                                                               {"late", SmsOutcome::NoConfirmation}};
    std::string name;
    std::string codeText;
    words >> name >> codeText;
    const auto outcome = Outcomes.find(name);
    const auto code = codeText.empty() ? std::optional<int>(500) : ParseInt(codeText);
    if (outcome == Outcomes.end() || !code || *code < 0) {
        out << "usage: smsresult sent|error|refused|prompterror|late [code]\n";
        return;
    }
    modem.SetSmsOutcome(outcome->second, *code);
}

} // namespace

void PrintConsoleHelp(std::ostream& out)
{
    out << "commands:\n"
           "  ring <number>          incoming call from <number>\n"
           "  sms <number> <text>    new message\n"
           "  signal <0..31|99>      signal value for AT+CSQ\n"
           "  nocarrier              the far end hangs up\n"
           "  confirm                late confirmation of an SMS (after \"smsresult late\")\n"
           "  dial answer|busy|noanswer|error|silent [delay ms]\n"
           "  smsresult sent|error|refused|prompterror|late [code]\n"
           "  unplug, plug           pull the modem out, put it back\n"
           "  help, quit\n";
}

ConsoleResult RunConsoleCommand(FakeModem& modem, const std::string& line, std::ostream& out)
{
    std::istringstream words(line);
    std::string command;
    if (!(words >> command))
        return ConsoleResult::Continue;
    if (command == "quit" || command == "exit")
        return ConsoleResult::Quit;
    if (command == "help") {
        PrintConsoleHelp(out);
    } else if (command == "ring") {
        modem.Ring(Rest(words));
    } else if (command == "sms") {
        std::string number;
        words >> number;
        if (number.empty())
            out << "usage: sms <number> <text>\n";
        else
            modem.DeliverSms(number, Rest(words));
    } else if (command == "signal") {
        const auto value = ParseInt(Rest(words));
        if (!value || !IsSignalValue(*value))
            out << "usage: signal <0..31|99>\n";
        else
            modem.SetSignal(*value);
    } else if (command == "nocarrier") {
        modem.NoCarrier();
    } else if (command == "confirm") {
        modem.ConfirmSmsLate();
    } else if (command == "dial") {
        SetDial(modem, words, out);
    } else if (command == "smsresult") {
        SetSmsResult(modem, words, out);
    } else if (command == "unplug") {
        modem.Unplug();
    } else if (command == "plug") {
        modem.Plug();
    } else {
        out << "unknown command \"" << command << "\"; \"help\" lists them\n";
    }
    return ConsoleResult::Continue;
}
