#pragma once

#include "modem/core/Buffer.h"
#include "modem/core/ReceivePath.h"

#include "platform/winapi/kernel/Synch.h"

// What the GUI thread and the worker thread share: the command and response queues under their
// one lock, the codes received from the modem, and the event that wakes the worker whenever any
// of them changes (a command queued, a code received, room made in the response queue, a request
// to stop). The worker blocks on that event; it never polls.
class TModemLink {
public:
    static constexpr int QueueCapacity = 10;

    TModemLink();
    ~TModemLink();
    TModemLink(const TModemLink&) = delete;
    TModemLink& operator=(const TModemLink&) = delete;

    [[nodiscard]] HANDLE WorkEvent() const { return m_workEvent; }
    void WakeWorker() const { (void)SetEvent(m_workEvent); }

    // Empties both queues and drops the codes not yet taken (the port is gone or was given up).
    void Clear();

private:
    // The one lock of both queues, made before them and deleted after them.
    struct TQueueLock {
        TQueueLock() { InitializeCriticalSection(&Section); }
        ~TQueueLock() { DeleteCriticalSection(&Section); }
        TQueueLock(const TQueueLock&) = delete;
        TQueueLock& operator=(const TQueueLock&) = delete;
        CRITICAL_SECTION Section;
    };
    TQueueLock m_queueLock;

public:
    TBuffer CommandQueue;
    TBuffer ResponseQueue;
    TReceivedCodes Received;

private:
    HANDLE m_workEvent;
};
