#include "serial/CommWorker.h"

#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"

bool TCommNotifier::Post(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return PostMessageA(m_window, message, wParam, lParam) != FALSE;
}

bool TCommNotifier::RequestHangup()
{
    if (m_hangupRequested.exchange(true))
        return true;
    return Post(WM_COMM_HANGUP, 0, 0);
}

TCommWorker::TCommWorker(HANDLE port, HANDLE closeEvent, TCommNotifier& notifier)
    : m_port(port), m_closeEvent(closeEvent), m_notifier(notifier)
{
}

bool TCommWorker::CloseRequested() const
{
    return WaitForSingleObject(m_closeEvent, 0) == WAIT_OBJECT_0;
}

void TCommWorker::ReportFailure(DWORD error)
{
    if (error != ERROR_INVALID_HANDLE && !CloseRequested())
        m_notifier.RequestHangup();
}

TOverlappedRecord::TOverlappedRecord()
{
    m_record.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
}

TOverlappedRecord::~TOverlappedRecord()
{
    if (m_record.hEvent)
        CloseHandle(m_record.hEvent);
}
