#include "platform/winapi/devices/ComNames.h"

#include <algorithm>
#include <cctype>

namespace {

struct TtyRange {
    const char* prefix;
    int firstCom;
    int lastCom;
};

constexpr TtyRange TtyRanges[] = {
    {"ttyUSB", 3, 49},
    {"ttyACM", 50, 99},
};

bool AllDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The decimal value of `digits`, capped so that long strings cannot overflow.
int DecimalValue(const std::string& digits)
{
    int value = 0;
    for (const char c : digits)
        value = std::min(value * 10 + (c - '0'), 100000);
    return value;
}

} // namespace

std::optional<std::string> ComNameForTty(const std::string& ttyName)
{
    for (const auto& range : TtyRanges) {
        const std::string prefix = range.prefix;
        if (ttyName.compare(0, prefix.size(), prefix) != 0)
            continue;
        const auto digits = ttyName.substr(prefix.size());
        if (!AllDigits(digits) || (digits.size() > 1 && digits[0] == '0'))
            return std::nullopt;
        const int number = range.firstCom + DecimalValue(digits);
        if (number > range.lastCom)
            return std::nullopt;
        return "COM" + std::to_string(number);
    }
    return std::nullopt;
}

std::optional<std::string> NormalizeComName(const std::string& name)
{
    std::string text = name;
    if (text.rfind("\\\\.\\", 0) == 0)
        text.erase(0, 4);
    if (text.size() < 4)
        return std::nullopt;
    std::string prefix = text.substr(0, 3);
    std::transform(prefix.begin(), prefix.end(), prefix.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto digits = text.substr(3);
    if (prefix != "COM" || !AllDigits(digits) || digits[0] == '0')
        return std::nullopt;
    const int number = DecimalValue(digits);
    if (number > 255)
        return std::nullopt;
    return "COM" + std::to_string(number);
}
