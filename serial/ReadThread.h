#pragma once

#include "serial/CommWorker.h"

#include <array>

// Waits at once for line events (carrier, ring, line errors) and for incoming bytes, and posts
// what it gets to the component's hidden window: each block the port's read time-outs end
// becomes one WM_COMM_DATA.
class TReadThread final : public TCommWorker {
public:
    static constexpr DWORD ReadBlockSize = 2048;

    using TCommWorker::TCommWorker;

protected:
    void Execute() override;

private:
    // Each Setup issues its operation again and again while it completes at once; true when one
    // is left pending.
    [[nodiscard]] bool SetupCommEvent();
    [[nodiscard]] bool SetupReadEvent();
    void WatchPort();
    [[nodiscard]] bool CompleteCommEvent();
    [[nodiscard]] bool CompleteRead();
    [[nodiscard]] bool HandleCommEvent(DWORD eventMask);
    [[nodiscard]] bool HandleReadData(DWORD count);
    void PauseAfterEmptyRead() const;

    TOverlappedRecord m_lineWait;
    TOverlappedRecord m_read;
    DWORD m_eventMask = 0;
    std::array<BYTE, ReadBlockSize> m_buffer{};
};
