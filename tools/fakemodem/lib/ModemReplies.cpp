#include "tools/fakemodem/lib/ModemReplies.h"

#include <cstdio>
#include <ctime>

namespace ModemReplies {

namespace {

std::string Line(std::string_view text)
{
    std::string line = "\r\n";
    line += text;
    line += "\r\n";
    return line;
}

} // namespace

std::string Ok()
{
    return Line("OK");
}

std::string Connect()
{
    return Line("CONNECT");
}

std::string Error()
{
    return Line("ERROR");
}

std::string NoCarrier()
{
    return Line("NO CARRIER");
}

std::string Ring()
{
    return Line("RING");
}

std::string SignalQuality(int value)
{
    return Line(std::to_string(value) + ",99") + Ok();
}

std::string CallList(CallDirection direction, CallStatus status, std::string_view number)
{
    const bool international = !number.empty() && number.front() == '+';
    std::string entry = "+CLCC: 1,";
    entry += direction == CallDirection::Incoming ? "1," : "0,";
    entry += std::to_string(static_cast<int>(status));
    entry += ",0,0,\"";
    entry += number;
    entry += "\",";
    entry += international ? "145" : "129";
    return Line(entry) + Ok();
}

std::string SmsPrompt()
{
    return "\r\n> ";
}

std::string SmsConfirmation(int reference)
{
    return Line("$QCMGS: " + std::to_string(reference)) + Ok();
}

std::string CmsError(int code)
{
    return Line("+CMS ERROR: " + std::to_string(code));
}

std::string SmsPromptThenError(int code)
{
    return SmsPrompt() + "\r\n" + CmsError(code);
}

std::string NewSms(std::string_view number, std::string_view text, std::string_view timestamp)
{
    std::string header = "$QCMT: \"REC UNREAD\",\"";
    header += number;
    header += "\",\"";
    header += timestamp;
    header += "\",";
    header += std::to_string(text.size());
    std::string notice = Line(header);
    notice += text;
    notice += "\r\n";
    return notice;
}

std::string SmsTimestampNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof(stamp), "%y/%m/%d,%H:%M:%S+00", &local);
    return stamp;
}

std::string Printable(std::string_view bytes)
{
    std::string text;
    for (const char byte : bytes) {
        switch (byte) {
        case '\r': text += "\\r"; break;
        case '\n': text += "\\n"; break;
        case '\x1a': text += "^Z"; break;
        case '\x1b': text += "^["; break;
        default:
            if (static_cast<unsigned char>(byte) < 0x20 || byte == '\x7f') {
                char escaped[8];
                std::snprintf(escaped, sizeof(escaped), "\\x%02x", static_cast<unsigned char>(byte));
                text += escaped;
            } else {
                text += byte;
            }
        }
    }
    return text;
}

} // namespace ModemReplies
