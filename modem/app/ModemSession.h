#pragma once

#include "modem/app/ManagerRecords.h"

#include "platform/winapi/kernel/WinTypes.h"

#include "modem/core/Buffer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TComm;
class TModemView;
class TObject;
enum class TFeatureCode : std::uint8_t;

// The manager's engine on the main window's serial component: the state, the queues, the worker
// and the main timer's logic. It keeps the engine's own types out of the window, whose store side
// names some of them differently.
class TModemSession {
public:
    TModemSession(TComm& comm, TModemView& view, IManagerRecords& records);
    ~TModemSession();
    TModemSession(const TModemSession&) = delete;
    TModemSession& operator=(const TModemSession&) = delete;

    // ModemState: 0 port opened, 1 no port, 2 modem initialised, 4 port released.
    [[nodiscard]] std::uint8_t ModemState() const;
    void SetModemState(std::uint8_t state);

    // The serial component's open and close, under the lock the worker writes through.
    void StartComm();
    void StopComm();

    void CreateWorker();
    void ResumeWorker();
    [[nodiscard]] bool HasWorker() const;
    // Everything that ran on the open port stops; the state goes back to idle.
    void PortLost();
    void InitialModem();
    void SetSignalPollAllowed(bool allowed);
    // The signal poll counts its ticks afresh.
    void ResetSignalPoll();
    // Asks the modem for its signal now, as the signal poll does.
    void PollSignal();

    [[nodiscard]] bool CallActive() const;
    void MainTimerTick();
    // The call timer's second.
    void CountCallSecond();
    void ComReceiveData(TObject* sender, const void* buffer, WORD length);

    // ---- What the data connection, call and SMS pages read and set --------------------------
    // The queue the AT command senders (ATCommands.h) push onto.
    [[nodiscard]] TBuffer& CommandQueue();
    // Pauses the worker before the port goes to the data connection.
    void SuspendWorker();
    struct TCallFlags {
        bool Incoming = false;
        bool Outgoing = false;
        bool Connected = false;
        int Seconds = 0;
    };
    [[nodiscard]] TCallFlags CallFlags() const;
    void SetCallOutgoing(bool outgoing);
    [[nodiscard]] std::string LastDialledNumber() const;
    void SetLastDialledNumber(const std::string& number);
    // The numbers behind the call page's name list, item by item (the SMS page's too).
    [[nodiscard]] std::vector<std::string>& NameListNumbers();
    // Turns the speaker mute over; returns whether it is now muted.
    bool ToggleMuted();
    // Appends an item "number*name*text" (SmsQueueItem) to the SMS send queue; the main timer
    // sends the queue in order.
    void QueueSms(const std::string& item);

    // A call-waiting or forwarding request (`number` for the codes that take one). Refused - false,
    // nothing queued - unless the modem is ready, the number is a dial string and the command queue
    // takes it; otherwise it is pending until the modem answers.
    [[nodiscard]] bool RequestService(TFeatureCode code, const std::string& number = {});
    // Gives up waiting for the answer to a service request; false when none was pending.
    bool AbandonServiceRequest();
    // The modem's new MIN (1 to 10 digits); false when refused, as a service request is.
    [[nodiscard]] bool SendNewMin(const std::string& value);

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
};
