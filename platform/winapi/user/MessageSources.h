#pragma once

#include "platform/winapi/user/MessageQueue.h"

#include <cstdint>
#include <optional>

// The sources of the messages a thread's queue does not hold itself (timers, paint, display
// input), as the retrieval in Messages.cpp consults them in Win32's order.
namespace winapi_user::detail {

// Timers.cpp: the next due timer of the calling thread that the filter admits, as WM_TIMER.
// Taking it (remove) schedules its next tick one interval from now, so a late thread gets one
// tick, not a backlog.
[[nodiscard]] bool TakeDueTimer(const MessageFilter& filter, bool remove, MSG& out);
// When the calling thread's earliest timer falls due (kernel clock), if it has any.
[[nodiscard]] std::optional<std::uint64_t> NextTimerDue();
[[nodiscard]] bool IsLiveTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc);
void KillWindowTimers(HWND hwnd);

// The painting module's answer to "is there a WM_PAINT for this filter?" (the calling thread's
// windows with an update region). Installed by the painting module; none means no WM_PAINT.
using PaintSource = bool (*)(const MessageFilter& filter, MSG& out);
void SetPaintSource(PaintSource source);
[[nodiscard]] bool TakePaint(const MessageFilter& filter, MSG& out);

// Input.cpp: moves the display's pending events into the queues as input messages (on the
// thread that owns the display's windows; elsewhere it does nothing).
void PumpDisplayEvents();
// Before the display's thread blocks: makes sure new display events will wake it.
void PrepareDisplayWait();
// A thread took an input message out of its queue: its key state follows.
void NoteInputRetrieved(const InputMessage& input);
// Input as it arrives: the asynchronous key state and the cursor position (screen).
void NoteAsyncKey(unsigned virtualKey, bool down);
void NoteCursorPos(POINT screenPoint);
// The calling thread's last message time and cursor position.
void NoteMessageRetrieved(const MSG& msg);

} // namespace winapi_user::detail
