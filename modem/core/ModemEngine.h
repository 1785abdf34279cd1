#pragma once

#include "modem/core/ApplicationState.h"
#include "modem/core/MainTimer.h"
#include "modem/core/ModemLink.h"
#include "modem/core/TTComm.h"

#include "platform/winapi/kernel/WinTypes.h"

class TObject;

// The port the engine drives: the worker writes to it, and the engine closes it when the modem
// stops answering.
class TModemPort : public TCommandPort {
public:
    virtual void StopComm() = 0;
};

// What the status bar's panel 0 shows when a command got no answer in time.
inline constexpr const char* NotRespondingText = "Modem not responding.";

// The manager's engine: the shared state, the command and response queues, the worker thread,
// the receive path and the main timer's logic, behind the window (TModemView) and the database
// (TModemRecords). All of it belongs to the GUI thread except the worker.
//
// The port watch drives it: after it has opened the port, CreateWorker, PortOpened, Delay,
// InitialModem, ResumeWorker and the main timer on; when the port has gone, PortLost before it
// closes the port. At most one worker exists: CreateWorker ends the old one first.
//
// A command that times out ends the worker; the engine then turns the main timer off, empties
// both queues, closes the port, ends a call in progress and any service request, shows
// NotRespondingText and sets ModemState back to "no port", so that the port watch opens and
// initialises the modem again within its next tick.
class TModemEngine {
public:
    TModemEngine(TModemPort& port, TModemView& view, TModemRecords& records);
    TModemEngine(const TModemEngine&) = delete;
    TModemEngine& operator=(const TModemEngine&) = delete;

    [[nodiscard]] TApplicationState& State() { return m_state; }
    [[nodiscard]] TModemLink& Link() { return m_link; }
    [[nodiscard]] TBuffer& CommandQueue() { return m_link.CommandQueue; }
    [[nodiscard]] TBuffer& ResponseQueue() { return m_link.ResponseQueue; }
    [[nodiscard]] TMainTimer& MainTimer() { return m_mainTimer; }

    // The serial component's OnReceiveData: the block is copied and split into codes for the
    // worker; nothing received is dropped.
    void ComReceiveData(TObject* sender, const void* buffer, WORD length);

    // A new worker, suspended, replacing (and first ending) any old one.
    void CreateWorker();
    void ResumeWorker();
    // Pauses the worker at its next wait (before the port is handed to the data connection).
    void SuspendWorker();
    // Ends the worker and waits for it; nothing when there is none.
    void StopWorker();
    [[nodiscard]] bool HasWorker() const { return m_worker != nullptr; }

    // The port has just been opened: the signal poll starts afresh.
    void PortOpened();
    // Queues the echo-off command; the modem counts as initialised.
    void InitialModem();
    // The port has gone (or is about to be closed): the worker ends, the queues and the codes
    // not yet read are dropped, the main timer stops, a call in progress ends, and the SMS batch
    // waits (its items kept) until the network is registered again.
    void PortLost();

    // The main timer's OnTimer.
    void MainTimerTick() { m_mainTimer.Tick(); }

private:
    void CommandTimedOut();

    TModemPort& m_port;
    TModemView& m_view;
    TApplicationState m_state;
    TModemLink m_link;
    TMainTimer m_mainTimer;
    // Last, so that the worker has ended before the queues it uses go.
    TTCommPtr m_worker;
};
