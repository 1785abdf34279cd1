#include "tools/fakemodem/lib/ModemBehaviour.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr char CtrlZ = '\x1a';
constexpr char Escape = '\x1b';

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

void ModemBehaviour::Send(std::string bytes, ModemEvents& events)
{
    if (!bytes.empty())
        events.push_back({ModemEvent::Kind::Reply, std::move(bytes)});
}

void ModemBehaviour::Receive(std::string_view bytes, ModemClock::time_point now, ModemEvents& events)
{
    if (m_status.dataMode) {
        CarryData(bytes, events);
        return;
    }
    for (const char byte : bytes) {
        if (m_smsTextMode)
            ReceiveSmsByte(byte, now, events);
        else
            ReceiveCommandByte(byte, now, events);
    }
}

void ModemBehaviour::ReceiveCommandByte(char byte, ModemClock::time_point now, ModemEvents& events)
{
    switch (byte) {
    case '\r': {
        const std::string line = Trimmed(m_line);
        const bool tooLong = m_lineTooLong;
        m_line.clear();
        m_lineTooLong = false;
        if (tooLong) {
            events.push_back({ModemEvent::Kind::Command, line});
            Send(ModemReplies::Error(), events);
        } else if (!line.empty()) {
            Execute(line, now, events);
        }
        return;
    }
    case '\n':
        return; // the manager ends some commands with CR LF; the LF starts no new command
    case CtrlZ:
    case Escape:
        m_line.clear(); // the end of a text the modem refused: nothing to run
        m_lineTooLong = false;
        return;
    default:
        if (m_line.size() < MaxCommandLength)
            m_line += byte;
        else
            m_lineTooLong = true;
    }
}

void ModemBehaviour::CarryData(std::string_view bytes, ModemEvents& events)
{
    // The escape a modem knows: "+++" framed by silence, which a burst of its own stands for.
    if (bytes == "+++") {
        m_status.dataMode = false;
        Send(ModemReplies::Ok(), events);
        return;
    }
    m_status.dataBytes += bytes.size();
    events.push_back({ModemEvent::Kind::Data, std::string(bytes)});
}

void ModemBehaviour::ReceiveSmsByte(char byte, ModemClock::time_point now, ModemEvents& events)
{
    if (byte == CtrlZ) {
        FinishSms(now, events);
    } else if (byte == Escape) {
        m_smsTextMode = false;
        m_smsText.clear();
        Send(ModemReplies::Ok(), events);
    } else if (m_smsText.size() < MaxSmsTextLength) {
        m_smsText += byte;
    }
}

void ModemBehaviour::Execute(const std::string& received, ModemClock::time_point now, ModemEvents& events)
{
    events.push_back({ModemEvent::Kind::Command, received});
    // Anything before "AT" is line noise to a modem; a line without it gets no answer at all.
    const auto attention = Upper(received).find("AT");
    if (attention == std::string::npos)
        return;
    const std::string line = received.substr(attention);
    // The echo is of every byte received, noise included; ATE0 itself is still echoed.
    std::string reply = m_status.echo ? received + "\r" : std::string();
    auto override = std::find_if(m_overrides.begin(), m_overrides.end(),
                                 [&](const auto& entry) { return StartsWith(line, entry.first); });
    if (override != m_overrides.end()) {
        if (override->second.empty())
            return;
        reply += override->second;
    } else {
        const auto answer = Answer(line, now);
        if (!answer)
            return;
        reply += *answer;
    }
    Send(std::move(reply), events);
}

std::optional<std::string> ModemBehaviour::Answer(const std::string& line, ModemClock::time_point now)
{
    using namespace ModemReplies;
    const std::string command = Upper(line);
    const std::string argument = [&] {
        const auto equals = line.find('=');
        return equals == std::string::npos ? std::string() : line.substr(equals + 1);
    }();

    if (command == "AT" || command == "ATZ") {
        if (command == "ATZ")
            m_status.echo = true;
        return Ok();
    }
    if (command == "ATE0" || command == "ATE" || command == "ATE1") {
        m_status.echo = command == "ATE1";
        return Ok();
    }
    if (command == "AT+CSQ")
        return SignalQuality(m_settings.signal);
    if (StartsWith(command, "AT$QCNMI=")) {
        m_status.messageRouting = true;
        return Ok();
    }
    if (StartsWith(command, "AT+CDV"))
        return Dial(line.substr(6), CallKind::Voice, now);
    if (StartsWith(command, "ATD")) {
        // Tone and pulse are all one to a CDMA modem.
        const bool toneOrPulse = command.size() > 3 && (command[3] == 'T' || command[3] == 'P');
        return Dial(line.substr(toneOrPulse ? 4 : 3), CallKind::Data, now);
    }
    if (command == "ATH" || command == "ATH0") {
        HangUp();
        return Ok();
    }
    if (command == "AT$QCCAV") {
        if (m_status.call != CallState::Ringing)
            return Error();
        Cancel(Pending::RepeatRing);
        m_status.call = CallState::Active;
        return Ok();
    }
    if (command == "AT$QCCHV") {
        HangUp();
        return Ok();
    }
    if (command == "AT+CLCC") {
        if (m_status.call == CallState::Idle)
            return Ok();
        const auto status = m_status.call == CallState::Active   ? CallStatus::Active
                            : m_status.call == CallState::Ringing ? CallStatus::Ringing
                                                                   : CallStatus::Dialling;
        return CallList(m_status.direction, status, m_status.callNumber);
    }
    if (StartsWith(command, "AT+VTS=")) {
        if (argument.size() != 1 || std::string_view("0123456789*#").find(argument[0]) == std::string_view::npos)
            return Error();
        m_status.tones += argument;
        return Ok();
    }
    if (StartsWith(command, "AT+CLVL=")) {
        if (!AllDigits(argument) || argument.size() > 3 || std::stoi(argument) > 255)
            return Error();
        m_status.volume = std::stoi(argument);
        return Ok();
    }
    if (StartsWith(command, "AT+CMUT=")) {
        if (argument != "0" && argument != "1")
            return Error();
        m_status.muted = argument == "1";
        return Ok();
    }
    if (StartsWith(command, "AT+WMIN=")) {
        if (!AllDigits(argument) || argument.size() > 10)
            return Error();
        m_status.min = argument;
        return Ok();
    }
    if (StartsWith(command, "AT$QCMGS="))
        return StartSms(argument);
    return Error();
}

std::string ModemBehaviour::Dial(const std::string& number, CallKind kind, ModemClock::time_point now)
{
    if (number.empty() || m_status.call != CallState::Idle)
        return ModemReplies::Error();
    if (number.front() == '*' && kind == CallKind::Voice)
        ApplyFeatureCode(number.substr(1));
    m_status.call = CallState::Dialling;
    m_status.dataCall = kind == CallKind::Data;
    m_status.direction = ModemReplies::CallDirection::Outgoing;
    m_status.callNumber = number;
    if (m_settings.dialOutcome != DialOutcome::Silent)
        Schedule(now + m_settings.dialDelay, Pending::DialResult);
    return {};
}

void ModemBehaviour::ApplyFeatureCode(const std::string& code)
{
    // CDMA feature codes: *74 / *740 call waiting on / off; *72, *90, *92, *68 followed by the
    // target number switch forwarding (all, busy, no answer, no response) on, the same codes with
    // a 0 switch it off; *730 cancels every forwarding.
    static constexpr std::array<std::string_view, 4> ForwardingCodes = {"72", "90", "92", "68"};
    if (code == "74" || code == "740") {
        m_status.callWaiting = code == "74";
        return;
    }
    if (code == "730") {
        m_status.forwarding = {};
        return;
    }
    for (std::size_t kind = 0; kind < ForwardingCodes.size(); ++kind) {
        if (StartsWith(code, ForwardingCodes[kind])) {
            const std::string target = code.substr(2);
            m_status.forwarding[kind] = target == "0" ? std::string() : target;
            return;
        }
    }
}

std::string ModemBehaviour::StartSms(const std::string& arguments)
{
    const bool quoted = arguments.size() >= 2 && arguments.front() == '"' && arguments.back() == '"';
    if (!quoted || m_settings.smsOutcome == SmsOutcome::Refused)
        return ModemReplies::Error();
    m_smsNumber = arguments.substr(1, arguments.size() - 2);
    m_smsText.clear();
    m_smsTextMode = true;
    m_smsOutcome = m_settings.smsOutcome; // the send ends as it began, whatever is set meanwhile
    return m_smsOutcome == SmsOutcome::PromptThenError ? std::string() : ModemReplies::SmsPrompt();
}

void ModemBehaviour::FinishSms(ModemClock::time_point now, ModemEvents& events)
{
    m_smsTextMode = false;
    events.push_back({ModemEvent::Kind::SmsText, m_smsText});
    if (m_status.echo)
        Send(m_smsText, events);
    const auto due = now + m_settings.smsDelay;
    switch (m_smsOutcome) {
    case SmsOutcome::Sent:
        m_status.sentMessages.push_back({m_smsNumber, m_smsText});
        Schedule(due, Pending::SmsResult, ModemReplies::SmsConfirmation(m_nextReference++));
        break;
    case SmsOutcome::CmsError:
        Schedule(due, Pending::SmsResult, ModemReplies::CmsError(m_settings.cmsErrorCode));
        break;
    case SmsOutcome::PromptThenError:
        Schedule(due, Pending::SmsResult, ModemReplies::SmsPromptThenError(m_settings.cmsErrorCode));
        break;
    case SmsOutcome::NoConfirmation:
        m_status.sentMessages.push_back({m_smsNumber, m_smsText});
        break;
    case SmsOutcome::Refused:
        break; // never in text mode
    }
    m_smsText.clear();
}

void ModemBehaviour::RunDue(ModemClock::time_point now, ModemEvents& events)
{
    // Sends in the order they came due; an item may schedule another (a repeated RING).
    while (true) {
        auto next = std::min_element(m_scheduled.begin(), m_scheduled.end(),
                                     [](const Scheduled& a, const Scheduled& b) { return a.due < b.due; });
        if (next == m_scheduled.end() || next->due > now)
            return;
        const Scheduled item = *next;
        m_scheduled.erase(next);
        switch (item.what) {
        case Pending::DialResult:
            if (m_settings.dialOutcome == DialOutcome::Answer) {
                Connect(events);
            } else {
                HangUp();
                Send(m_settings.dialOutcome == DialOutcome::Error ? ModemReplies::Error() : ModemReplies::NoCarrier(),
                     events);
            }
            break;
        case Pending::SmsResult:
            Send(item.bytes, events);
            break;
        case Pending::RepeatRing:
            if (m_status.call == CallState::Ringing) {
                Send(ModemReplies::Ring(), events);
                Schedule(item.due + m_settings.ringInterval, Pending::RepeatRing);
            }
            break;
        }
    }
}

std::optional<ModemClock::time_point> ModemBehaviour::NextDue() const
{
    if (m_scheduled.empty())
        return std::nullopt;
    return std::min_element(m_scheduled.begin(), m_scheduled.end(),
                            [](const Scheduled& a, const Scheduled& b) { return a.due < b.due; })
        ->due;
}

void ModemBehaviour::Ring(const std::string& number, ModemClock::time_point now, ModemEvents& events)
{
    if (m_status.call == CallState::Idle) {
        m_status.call = CallState::Ringing;
        m_status.direction = ModemReplies::CallDirection::Incoming;
        m_status.callNumber = number;
        if (m_settings.ringInterval.count() > 0)
            Schedule(now + m_settings.ringInterval, Pending::RepeatRing);
    }
    Send(ModemReplies::Ring(), events);
}

void ModemBehaviour::DropCall(ModemEvents& events)
{
    HangUp();
    Send(ModemReplies::NoCarrier(), events);
}

void ModemBehaviour::DeliverSms(std::string_view number, std::string_view text, std::string_view timestamp,
                                ModemEvents& events)
{
    Send(ModemReplies::NewSms(number, text, timestamp), events);
}

void ModemBehaviour::ConfirmSmsLate(ModemEvents& events)
{
    Send(ModemReplies::SmsConfirmation(m_nextReference++), events);
}

void ModemBehaviour::OverrideReply(const std::string& prefix, const std::string& reply)
{
    auto existing = std::find_if(m_overrides.begin(), m_overrides.end(),
                                 [&](const auto& entry) { return entry.first == prefix; });
    if (existing != m_overrides.end())
        existing->second = reply;
    else
        m_overrides.emplace_back(prefix, reply);
}

void ModemBehaviour::ClearOverrides()
{
    m_overrides.clear();
}

void ModemBehaviour::PowerCycle()
{
    HangUp();
    m_scheduled.clear();
    m_status.echo = true;
    m_status.messageRouting = false;
    m_line.clear();
    m_lineTooLong = false;
    m_smsTextMode = false;
    m_smsText.clear();
}

void ModemBehaviour::Connect(ModemEvents& events)
{
    m_status.call = CallState::Active;
    if (!m_status.dataCall) {
        Send(ModemReplies::Ok(), events);
        return;
    }
    m_status.dataMode = true;
    Send(ModemReplies::Connect(), events);
}

void ModemBehaviour::HangUp()
{
    Cancel(Pending::DialResult);
    Cancel(Pending::RepeatRing);
    m_status.call = CallState::Idle;
    m_status.callNumber.clear();
    m_status.dataCall = false;
    m_status.dataMode = false;
}

void ModemBehaviour::Schedule(ModemClock::time_point due, Pending what, std::string bytes)
{
    m_scheduled.push_back({due, what, std::move(bytes)});
}

void ModemBehaviour::Cancel(Pending what)
{
    std::erase_if(m_scheduled, [what](const Scheduled& item) { return item.what == what; });
}
