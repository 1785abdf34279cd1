#pragma once

#include "modem/core/Buffer.h"

#include <cstdint>
#include <string>
#include <string_view>

struct TApplicationState;

// Every AT command the manager sends, each formed by one small sender and pushed onto the command
// queue; the worker writes it, and the dispatcher knows the answer by fixed positions of the
// command text, so these texts are a protocol, not decoration. Unless noted the record's Data is
// the command text itself. A push the full queue refuses is dropped (a sender returns false).
//
// Nothing typed or stored reaches the modem unchecked: a number must be a dial string (digits,
// "*", "#" and "+", at most MaxDialLength), else the sender queues nothing and returns false, so
// that a quote, a carriage return or a Ctrl-Z can never end a command early or start another one.

constexpr std::size_t MaxDialLength = 40;
constexpr char CtrlZ = '\x1A';

// Digits, "*", "#" and "+" only, at most MaxDialLength; the empty number passes (callers check
// lengths themselves, and a dial command for it is harmless).
[[nodiscard]] bool IsDialString(std::string_view number);

// "ATE0\r\n" with empty Data; the modem is initialised from here on (ModemState 2).
void InitialModem(TBuffer& commandQueue, TApplicationState& state);
void SendATE0(TBuffer& commandQueue);
void SendCSQ(TBuffer& commandQueue);
// "AT$QCNMI=1,2,0\r\n" with empty Data: new messages are delivered as unsolicited codes.
void SendNewMessageRouting(TBuffer& commandQueue);
bool SendATD(TBuffer& commandQueue, std::string_view number);
void SendATA(TBuffer& commandQueue);
void SendATH(TBuffer& commandQueue);
void SendCallerID(TBuffer& commandQueue);
// For the keys 0-9, "*" and "#"; any other character queues nothing.
bool SendDTMF(TBuffer& commandQueue, char key);
// The speaker levels "0", "6", "12", "18" and "24"; anything else queues nothing.
bool SendVolume(TBuffer& commandQueue, std::string_view level);
void SendMute(TBuffer& commandQueue, bool muted);

// Whether an SMS to `number` with `text` can ever be sent: a dial string, and a command that fits
// a queue record once the text is cleaned.
[[nodiscard]] bool CanSendSms(std::string_view number, std::string_view text);
// "AT$QCMGS=\"" + number + "\"\r" + text + Ctrl-Z, the text cleaned by CleanSmsText (SmsText.h). Returns
// whether it was queued: false when the queue is full or CanSendSms does not hold.
[[nodiscard]] bool SendSMS(TBuffer& commandQueue, std::string_view number, std::string_view text);

// The network's feature codes for call waiting and forwarding, dialled as "AT+CDV" + code
// (+ number) + "\r".
enum class TFeatureCode : std::uint8_t {
    CallWaitingOn,      // *74
    CallWaitingOff,     // *740
    ForwardAll,         // *72 + number
    ForwardBusy,        // *90 + number
    ForwardNoAnswer,    // *92 + number
    ForwardNoResponse,  // *68 + number
    ForwardAllOff,      // *720
    ForwardBusyOff,     // *900
    ForwardNoAnswerOff, // *920
    ForwardNoResponseOff, // *680
    CancelAllForwarding,  // *730
};
// `number` is used by the four forwarding codes that take one (and must be a dial string); the
// others ignore it.
bool SendFeatureCode(TBuffer& commandQueue, TFeatureCode code, std::string_view number = {});

// "AT+WMIN=" + value + "\r\n" with empty Data; `value` must be 1 to 10 digits.
bool SendMin(TBuffer& commandQueue, std::string_view value);
