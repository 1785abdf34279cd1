#pragma once

#include "modem/core/ApplicationState.h"
#include "modem/core/ModemLink.h"
#include "modem/core/ModemRecords.h"
#include "modem/core/ModemView.h"

#include <functional>
#include <string>
#include <string_view>

// What the status bar's panel 0 shows once the modem has answered its first command.
inline constexpr std::string_view ModemReadyText = "USB Modem ready.";

// What the status bar shows while no usable signal has been seen.
inline constexpr std::string_view RegisteringText = "Modem is registering to network...";

// The signal bar image (0-5) for a signal value; -1 for a value that is no reading (99, or out
// of range), shown as image 0 with RegisteringText.
[[nodiscard]] int SignalImage(int value);

// Splits an SMS queue item "number*name*text" at its first two "*" (the text may hold more).
[[nodiscard]] TSmsItem SplitSmsItem(std::string_view item);

// The handler of the 250 ms main timer, the heart of the manager, on the GUI thread. Each tick,
// in order: the signal poll, the call buttons and the ring tone, the SMS pump, and the dispatch
// of at most one record of the response queue (an answer, a time-out, or a code the modem sent
// by itself). The answer to the echo-off command that starts each session shows ModemReadyText:
// only a modem that answers is ready. Answers are recognised by characters at fixed positions of the received text and
// of the command, every look bounds-checked.
//
// A timed-out record is handed to OnTimedOut (the engine closes the port and starts again).
class TMainTimer {
public:
    TMainTimer(TApplicationState& state, TModemLink& link, TModemView& view, TModemRecords& records);

    void SetOnTimedOut(std::function<void(const TCommand&)> handler) { m_onTimedOut = std::move(handler); }

    void Tick();

    // Steps of a tick, also used on their own by the engine.
    void PollSignal();
    void UpdateCallButtons();
    void PumpSms();
    void DispatchResponse();
    // The call ended without a regular answer (the line dropped, the modem went away): as NO
    // CARRIER, the call is logged and the call display reset.
    void EndCallByNoCarrier();

private:
    // Answers to commands.
    void DispatchAnswer(const TCommand& record);
    void CallerNumber(const std::string& response);
    void SignalQuality(const std::string& response);
    void CommandResult(const std::string& cmd, const std::string& response);
    void DialResult(const std::string& response);
    void SmsSendResult(const std::string& response);
    // Codes the modem sent by itself.
    void DispatchUnsolicited(const std::string& response);
    void Ring();
    void NewMessage(const std::string& response);

    // The call.
    void StartCall();
    void HangUpConfirmed();
    void CountDownRing();
    void EndIncoming(const std::string& title, TCallLog log, const std::string& number, int seconds);
    void EndOutgoing(const std::string& title, const std::string& number, int seconds, bool logged);
    [[nodiscard]] std::string DialledNumber(const std::string& display) const;

    // The SMS pump.
    [[nodiscard]] bool SmsAwaitingResult() const;
    void SendNextSms();
    void FinishSmsItem(TSmsBox box);
    void FailSmsItem();
    void GiveUpSmsBatch();

    TApplicationState& m_state;
    TModemLink& m_link;
    TModemView& m_view;
    TModemRecords& m_records;
    std::function<void(const TCommand&)> m_onTimedOut;
};
