#include "serial/ReadThread.h"

#include "serial/LocalBlock.h"

#include "platform/winapi/kernel/Synch.h"

#include <cstring>

namespace {

constexpr DWORD WatchedLineEvents = EV_RLSD | EV_ERR | EV_RING;

// Read time-outs that make a read return at once complete it with nothing whenever the line is
// idle; issuing the next one straight away would keep a core busy for nothing.
constexpr DWORD EmptyReadPauseMs = 20;

} // namespace

void TReadThread::Execute()
{
    if (!m_lineWait.Valid() || !m_read.Valid() || !SetCommMask(m_port, WatchedLineEvents))
        m_notifier.RequestHangup();
    else if (SetupCommEvent() && SetupReadEvent())
        WatchPort();
    PurgeComm(m_port, PURGE_RXABORT | PURGE_RXCLEAR);
}

void TReadThread::WatchPort()
{
    const HANDLE handles[] = {m_closeEvent, m_lineWait.Event(), m_read.Event()};
    for (;;) {
        switch (WaitForMultipleObjects(3, handles, FALSE, INFINITE)) {
        case WAIT_OBJECT_0:
            return;
        case WAIT_OBJECT_0 + 1:
            if (!CompleteCommEvent() || !SetupCommEvent())
                return;
            break;
        case WAIT_OBJECT_0 + 2:
            if (!CompleteRead() || !SetupReadEvent())
                return;
            break;
        default:
            ReportFailure(GetLastError());
            return;
        }
    }
}

bool TReadThread::SetupCommEvent()
{
    while (!CloseRequested()) {
        m_eventMask = 0;
        if (!WaitCommEvent(m_port, &m_eventMask, m_lineWait.Record())) {
            if (GetLastError() == ERROR_IO_PENDING)
                return true;
            ReportFailure(GetLastError());
            return false;
        }
        if (!HandleCommEvent(m_eventMask))
            return false;
    }
    return false;
}

bool TReadThread::SetupReadEvent()
{
    while (!CloseRequested()) {
        DWORD count = 0;
        if (!ReadFile(m_port, m_buffer.data(), ReadBlockSize, &count, m_read.Record())) {
            if (GetLastError() == ERROR_IO_PENDING)
                return true;
            ReportFailure(GetLastError());
            return false;
        }
        if (!HandleReadData(count))
            return false;
        if (count == 0)
            PauseAfterEmptyRead();
    }
    return false;
}

bool TReadThread::CompleteCommEvent()
{
    DWORD unused = 0;
    if (!GetOverlappedResult(m_port, m_lineWait.Record(), &unused, FALSE)) {
        ReportFailure(GetLastError());
        return false;
    }
    return HandleCommEvent(m_eventMask);
}

bool TReadThread::CompleteRead()
{
    DWORD count = 0;
    if (!GetOverlappedResult(m_port, m_read.Record(), &count, FALSE)) {
        ReportFailure(GetLastError());
        return false;
    }
    return HandleReadData(count);
}

bool TReadThread::HandleCommEvent(DWORD eventMask)
{
    bool posted = false;
    if (eventMask & EV_ERR) {
        DWORD errors = 0;
        if (!ClearCommError(m_port, &errors, nullptr)) {
            ReportFailure(GetLastError());
            return false;
        }
        posted = m_notifier.Post(WM_COMM_ERROR, 0, static_cast<LPARAM>(errors));
    }
    const DWORD modemEvents =
        ((eventMask & EV_RLSD) ? MODEM_EVENT_RLSD : 0) | ((eventMask & EV_RING) ? MODEM_EVENT_RING : 0);
    if (modemEvents != 0)
        posted = m_notifier.Post(WM_COMM_MODEM, 0, static_cast<LPARAM>(modemEvents)) || posted;
    if ((eventMask & WatchedLineEvents) == 0)
        posted = m_notifier.RequestHangup();
    return posted;
}

// A read that ends with nothing (the total time-outs ran out on an idle line) is no failure: the
// read is simply issued again. A device that has gone ends reads with an error instead.
bool TReadThread::HandleReadData(DWORD count)
{
    if (count == 0)
        return true;
    TLocalBlock block = TLocalBlock::Allocate(count + 1);
    if (!block) {
        m_notifier.RequestHangup();
        return false;
    }
    std::memcpy(block.Data(), m_buffer.data(), count);
    if (!m_notifier.Post(WM_COMM_DATA, count, reinterpret_cast<LPARAM>(block.Data()))) {
        m_notifier.RequestHangup();
        return false;
    }
    (void)block.Release(); // the window frees it now
    return true;
}

void TReadThread::PauseAfterEmptyRead() const
{
    (void)WaitForSingleObject(m_closeEvent, EmptyReadPauseMs);
}
