#include "modem/core/Delay.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/user/WinUser.h"

#include <cstdint>

void Delay(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        // A signed difference, so that a wait across the counter's wrap still ends.
        const auto elapsed = static_cast<std::int32_t>(GetTickCount() - start);
        if (elapsed >= 0 && static_cast<DWORD>(elapsed) >= ms)
            return;
        const DWORD remaining = ms - static_cast<DWORD>(elapsed < 0 ? 0 : elapsed);
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, remaining, QS_ALLINPUT);
    }
}
