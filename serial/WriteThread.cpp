#include "serial/WriteThread.h"

#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"

TWriteThread::TWriteThread(HANDLE port, HANDLE closeEvent, TCommNotifier& notifier, std::atomic<bool>& sendEmpty)
    : TCommWorker(port, closeEvent, notifier), m_sendEmpty(sendEmpty), m_ready(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    if (!m_ready)
        throw EThread("Thread creation error");
}

TWriteThread::~TWriteThread()
{
    CloseHandle(m_ready);
}

bool TWriteThread::WaitUntilReady(DWORD timeoutMs) const
{
    return WaitForSingleObject(m_ready, timeoutMs) == WAIT_OBJECT_0;
}

bool TWriteThread::PostWrite(TLocalBlock& block, WORD count)
{
    std::lock_guard lock(m_queueLock);
    if (!m_accepting || !PostThreadMessageA(ThreadID(), WM_COMM_WRITE, count, reinterpret_cast<LPARAM>(block.Data())))
        return false;
    (void)block.Release(); // the thread frees it now
    return true;
}

void TWriteThread::Execute()
{
    MSG msg;
    (void)PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // makes this thread's queue
    SetEvent(m_ready);
    if (m_write.Valid())
        ServeQueue();
    else
        m_notifier.RequestHangup();
    PurgeComm(m_port, PURGE_TXABORT | PURGE_TXCLEAR);
    m_sendEmpty = true;
    CloseQueue();
}

void TWriteThread::ServeQueue()
{
    bool notify = true;
    for (;;) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            m_sendEmpty = true;
            if (notify && !m_notifier.Post(WM_COMM_SENT, 0, 0)) {
                m_notifier.RequestHangup();
                return;
            }
            const DWORD woken = MsgWaitForMultipleObjects(1, &m_closeEvent, FALSE, INFINITE, QS_ALLINPUT);
            if (woken == WAIT_OBJECT_0)
                return;
            if (woken != WAIT_OBJECT_0 + 1) {
                ReportFailure(GetLastError());
                return;
            }
            notify = false;
            continue;
        }
        const bool isWrite = msg.hwnd == nullptr && msg.message == WM_COMM_WRITE;
        const TLocalBlock block = isWrite ? TLocalBlock::Adopt(msg.lParam) : TLocalBlock();
        if (CloseRequested())
            return;
        if (msg.hwnd) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (!isWrite)
            continue;
        if (!HandleWriteData(block.Data(), static_cast<DWORD>(msg.wParam)))
            return;
        notify = true;
    }
}

bool TWriteThread::HandleWriteData(const BYTE* data, DWORD count)
{
    const HANDLE handles[] = {m_closeEvent, m_write.Event()};
    for (;;) {
        DWORD written = 0;
        if (!WriteFile(m_port, data, count, &written, m_write.Record())) {
            if (GetLastError() != ERROR_IO_PENDING) {
                ReportFailure(GetLastError());
                return false;
            }
            const DWORD woken = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
            if (woken == WAIT_OBJECT_0)
                return false;
            if (woken != WAIT_OBJECT_0 + 1 || !GetOverlappedResult(m_port, m_write.Record(), &written, TRUE)) {
                ReportFailure(GetLastError());
                return false;
            }
        }
        if (written >= count)
            return true;
        data += written;
        count -= written;
    }
}

void TWriteThread::CloseQueue()
{
    {
        std::lock_guard lock(m_queueLock);
        m_accepting = false;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_COMM_WRITE, WM_COMM_WRITE, PM_REMOVE))
        if (msg.hwnd == nullptr)
            (void)TLocalBlock::Adopt(msg.lParam);
}
