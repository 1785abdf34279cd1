#pragma once

#include "tools/fakemodem/lib/ModemReplies.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the simulated modem does with the bytes the host sends: the AT command interpreter, the
// SMS text mode, the call and the network services, and the replies that come later (a dialled
// call is answered after a delay, an SMS is confirmed after a delay, RING repeats while a call
// rings). A data call (ATD, ATDT or ATDP and the number, as a dialler's chat script sends it) is
// answered with CONNECT and puts the line in data mode: what the host sends then is carried (and
// counted) for the far end instead of being read as commands, until "+++" alone in a burst
// returns to command mode (OK), ATH hangs up, or the far end drops the call (NO CARRIER). It has no thread and no device: it is fed bytes and the time, and says what it sends.
// Not thread-safe; FakeModem serialises every call.
//
// Limits: a command line longer than MaxCommandLength is answered with ERROR at its carriage
// return; SMS text past MaxSmsTextLength is dropped.

using ModemClock = std::chrono::steady_clock;

constexpr std::size_t MaxCommandLength = 1024;
constexpr std::size_t MaxSmsTextLength = 4096;

// What AT+CSQ can report: 0 to 31, or 99 for no reading.
[[nodiscard]] constexpr bool IsSignalValue(int value)
{
    return (value >= 0 && value <= 31) || value == 99;
}

// How the far end answers a dialled number (feature codes included). Busy and no answer both end
// the call with NO CARRIER, the failure this modem reports for a call not completed; ERROR is for
// a call the network refuses; Silent never answers (the host's time-out).
enum class DialOutcome { Answer, Busy, NoAnswer, Error, Silent };

// How an SMS send ends:
//   Sent             prompt, then after the text a $QCMGS confirmation
//   CmsError         prompt, then after the text +CMS ERROR
//   Refused          ERROR instead of the prompt (the text that follows is ignored)
//   PromptThenError  no prompt at first; after the text, the prompt and +CMS ERROR in one block
//   NoConfirmation   prompt, then nothing: the confirmation comes late, on request
enum class SmsOutcome { Sent, CmsError, Refused, PromptThenError, NoConfirmation };

struct ModemSettings {
    int signal = 21;                                   // 0..31, or 99 for no reading
    DialOutcome dialOutcome = DialOutcome::Answer;
    std::chrono::milliseconds dialDelay{1000};         // from the dial command to its result
    SmsOutcome smsOutcome = SmsOutcome::Sent;
    int cmsErrorCode = 500;
    std::chrono::milliseconds smsDelay{300};           // from Ctrl-Z to the result
    std::chrono::milliseconds ringInterval{0};         // RING repeats this often; 0: once
};

enum class CallState { Idle, Dialling, Ringing, Active };

struct SentSms {
    std::string number;
    std::string text;
    bool operator==(const SentSms&) const = default;
};

// What the modem holds now, for tests and the program's status.
struct ModemStatus {
    bool echo = true;
    CallState call = CallState::Idle;
    bool dataCall = false;                              // the call was dialled with ATD
    bool dataMode = false;                              // connected, host bytes go to the far end
    std::size_t dataBytes = 0;                          // host bytes carried in data mode, all calls
    ModemReplies::CallDirection direction = ModemReplies::CallDirection::Outgoing;
    std::string callNumber;
    bool messageRouting = false;                        // $QCNMI received
    int volume = 0;
    bool muted = false;
    std::string tones;                                  // DTMF keys sent, in order
    std::string min;                                    // the last AT+WMIN value
    bool callWaiting = false;
    std::array<std::string, 4> forwarding;              // all, busy, no answer, no response; empty: off
    std::vector<SentSms> sentMessages;
};

// One thing the modem did, in order: a command line it read, an SMS text it took, data it carried
// in data mode, a burst it sent.
struct ModemEvent {
    enum class Kind { Command, SmsText, Data, Reply };
    Kind kind;
    std::string bytes;
    bool operator==(const ModemEvent&) const = default;
};
using ModemEvents = std::vector<ModemEvent>;

class ModemBehaviour {
public:
    [[nodiscard]] ModemSettings& Settings() { return m_settings; }
    [[nodiscard]] const ModemStatus& Status() const { return m_status; }

    // Bytes from the host.
    void Receive(std::string_view bytes, ModemClock::time_point now, ModemEvents& events);
    // Sends what has come due by `now`.
    void RunDue(ModemClock::time_point now, ModemEvents& events);
    [[nodiscard]] std::optional<ModemClock::time_point> NextDue() const;

    // Unsolicited codes.
    void Ring(const std::string& number, ModemClock::time_point now, ModemEvents& events);
    void DropCall(ModemEvents& events);
    void DeliverSms(std::string_view number, std::string_view text, std::string_view timestamp, ModemEvents& events);
    void ConfirmSmsLate(ModemEvents& events);

    // A command line beginning with `prefix` is answered with `reply` (nothing when empty)
    // instead of the modem's own answer, until cleared.
    void OverrideReply(const std::string& prefix, const std::string& reply);
    void ClearOverrides();

    // Power on again (after a re-plug): echo on, no call, command mode, nothing pending. The
    // settings, overrides and counters stay.
    void PowerCycle();

private:
    enum class Pending { DialResult, SmsResult, RepeatRing };
    enum class CallKind { Voice, Data };
    struct Scheduled {
        ModemClock::time_point due;
        Pending what;
        std::string bytes;
    };

    void ReceiveCommandByte(char byte, ModemClock::time_point now, ModemEvents& events);
    void ReceiveSmsByte(char byte, ModemClock::time_point now, ModemEvents& events);
    void CarryData(std::string_view bytes, ModemEvents& events);
    void Execute(const std::string& line, ModemClock::time_point now, ModemEvents& events);
    [[nodiscard]] std::optional<std::string> Answer(const std::string& line, ModemClock::time_point now);
    [[nodiscard]] std::string Dial(const std::string& number, CallKind kind, ModemClock::time_point now);
    [[nodiscard]] std::string StartSms(const std::string& arguments);
    void FinishSms(ModemClock::time_point now, ModemEvents& events);
    void ApplyFeatureCode(const std::string& code);
    void Connect(ModemEvents& events);
    void HangUp();
    void Schedule(ModemClock::time_point due, Pending what, std::string bytes = {});
    void Cancel(Pending what);
    static void Send(std::string bytes, ModemEvents& events);

    ModemSettings m_settings;
    ModemStatus m_status;
    std::vector<std::pair<std::string, std::string>> m_overrides;
    std::vector<Scheduled> m_scheduled;
    std::string m_line;
    bool m_lineTooLong = false;
    bool m_smsTextMode = false;
    SmsOutcome m_smsOutcome = SmsOutcome::Sent;
    std::string m_smsNumber;
    std::string m_smsText;
    int m_nextReference = 1;
};
