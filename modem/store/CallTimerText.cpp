#include "modem/store/CallTimerText.h"

#include "modem/store/CallLog.h"

std::string CallTimeTitle(int seconds) { return "Time: " + CallDuration(seconds); }

std::string CallProgressTitle(const std::string& current, int seconds, std::string_view start)
{
    return seconds % 3 != 0 ? current + "." : std::string(start);
}

std::string ConnectionTime(unsigned long milliseconds) { return CallDuration(static_cast<int>(milliseconds / 1000)); }
