#pragma once

#include "platform/classlib/core/Thread.h"
#include "platform/winapi/comm/Comm.h"
#include "serial/CommMessages.h"

// What the reader and the writer share: the open port, the close event that stops them, and the
// notifier of the hidden window. The component owns all three and keeps them alive until the
// thread has ended.
class TCommWorker : public TThread {
public:
    TCommWorker(HANDLE port, HANDLE closeEvent, TCommNotifier& notifier);

protected:
    [[nodiscard]] bool CloseRequested() const;
    // A failed call ends the thread; the owner hears of it unless the port was closed under the
    // thread (ERROR_INVALID_HANDLE) or the component is stopping it anyway.
    void ReportFailure(DWORD error);

    HANDLE m_port;
    HANDLE m_closeEvent;
    TCommNotifier& m_notifier;
};

// An OVERLAPPED with its own manual-reset event, made signalled as the workers expect.
class TOverlappedRecord {
public:
    TOverlappedRecord();
    ~TOverlappedRecord();
    TOverlappedRecord(const TOverlappedRecord&) = delete;
    TOverlappedRecord& operator=(const TOverlappedRecord&) = delete;

    [[nodiscard]] bool Valid() const { return m_record.hEvent != nullptr; }
    [[nodiscard]] OVERLAPPED* Record() { return &m_record; }
    [[nodiscard]] HANDLE Event() const { return m_record.hEvent; }

private:
    OVERLAPPED m_record{};
};
