#pragma once

#include "platform/winapi/kernel/WinTypes.h"

// Waits `ms` milliseconds of the kernel clock while the calling thread's messages keep being
// handled (timers, posted messages, messages sent from other threads, paint), so that the window
// stays responsive; handlers may run nested inside it. Between messages it blocks until the next
// message or the end of the wait, so a long Delay costs no processor time. For the GUI thread; a
// thread without windows pauses with Sleep instead.
void Delay(DWORD ms);
