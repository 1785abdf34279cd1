#pragma once

#include "serial/CommWorker.h"
#include "serial/LocalBlock.h"

#include <atomic>
#include <mutex>

// Takes write requests (WM_COMM_WRITE) from its own thread queue and writes each one completely.
// It posts WM_COMM_SENT once when it first finds its queue empty and once each time the queue
// runs dry after a completed write, and keeps the component's send-empty flag.
class TWriteThread final : public TCommWorker {
public:
    TWriteThread(HANDLE port, HANDLE closeEvent, TCommNotifier& notifier, std::atomic<bool>& sendEmpty);
    ~TWriteThread() override;

    // Blocks until the thread has its message queue, so that a request posted right after the
    // start is not refused; false when the thread did not get there within `timeoutMs`.
    [[nodiscard]] bool WaitUntilReady(DWORD timeoutMs) const;
    // Hands a block to the thread. Once the thread has stopped taking requests this refuses, and
    // the block stays with the caller; every block accepted is written or freed by the thread.
    [[nodiscard]] bool PostWrite(TLocalBlock& block, WORD count);

protected:
    void Execute() override;

private:
    void ServeQueue();
    [[nodiscard]] bool HandleWriteData(const BYTE* data, DWORD count);
    // Stops taking requests and frees the blocks still queued.
    void CloseQueue();

    std::atomic<bool>& m_sendEmpty;
    TOverlappedRecord m_write;
    HANDLE m_ready;
    std::mutex m_queueLock;
    bool m_accepting = true;
};
