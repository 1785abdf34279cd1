#pragma once

#include "modem/core/SmsText.h"

#include <cstdint>
#include <string>
#include <vector>

// What ModemState says about the port.
enum TModemState : std::uint8_t {
    msPortOpened = 0,
    msNoPort = 1,
    msInitialised = 2,
    msReleasedToDataConnection = 4,
};

// The manager's shared state: written by the port watch, the receive path, the main timer and
// the pages, all on the GUI thread (the worker thread touches none of it). Start values as at
// program start.
struct TApplicationState {
    std::uint8_t ModemState = msNoPort;

    // The call: an incoming call rings or was answered, an outgoing one is dialled or connected.
    bool CallIncoming = false;
    bool CallOutgoing = false;
    bool CallConnected = false;
    bool Muted = false;
    int CallSeconds = 0;
    // Set to 40 by each RING; a ringing call that counts down to 0 unanswered is missed.
    int RingCountdown = 0;
    std::string LastDialledNumber;
    // The numbers behind the call page's name list, item by item.
    std::vector<std::string> NameListNumbers;

    // The signal poll: every 21 ticks, while allowed (switched on after each port open).
    int CsqTickCounter = 8;
    bool SignalPollAllowed = false;
    // A call-waiting or call-forwarding request awaits its answer.
    bool ServiceRequestPending = false;
    // A usable signal value was seen and new messages are routed to the manager.
    bool Registered = false;

    // The SMS pump: items "number*name*text", one per recipient, item 0 the one in hand.
    std::vector<std::string> SmsQueue;
    bool SmsSending = false;
    bool SmsReadyForNext = false;
    int SmsWaitTicks = 0;
    // Error answers to the item in hand; past SmsMaxAttempts the item counts as failed.
    int SmsAttempts = 0;
    // Items of the running batch that failed, told when the batch ends.
    int SmsFailures = 0;
    static constexpr int SmsMaxLength = static_cast<int>(SmsTextLimit);
    static constexpr int SmsMaxAttempts = 3;

    [[nodiscard]] bool CallActive() const { return CallIncoming || CallOutgoing; }
};
