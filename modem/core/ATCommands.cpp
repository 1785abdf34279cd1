#include "modem/core/ATCommands.h"

#include "modem/core/ApplicationState.h"
#include "modem/core/SmsText.h"

#include <algorithm>
#include <array>

namespace {

bool Queue(TBuffer& commandQueue, const std::string& cmd)
{
    return commandQueue.Push(cmd, cmd, ckAnswered);
}

bool IsDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string SmsCommand(std::string_view number, std::string_view text)
{
    return "AT$QCMGS=\"" + std::string(number) + "\"\r" + CleanSmsText(text) + CtrlZ;
}

struct TFeatureCodeText {
    std::string_view code;
    bool takesNumber;
};

TFeatureCodeText FeatureCodeText(TFeatureCode code)
{
    static constexpr std::array<TFeatureCodeText, 11> Texts = {{
        {"*74", false}, {"*740", false}, {"*72", true}, {"*90", true}, {"*92", true}, {"*68", true},
        {"*720", false}, {"*900", false}, {"*920", false}, {"*680", false}, {"*730", false},
    }};
    return Texts.at(static_cast<std::size_t>(code));
}

} // namespace

bool IsDialString(std::string_view number)
{
    return number.size() <= MaxDialLength && std::all_of(number.begin(), number.end(), [](char c) {
               return (c >= '0' && c <= '9') || c == '*' || c == '#' || c == '+';
           });
}

void InitialModem(TBuffer& commandQueue, TApplicationState& state)
{
    state.ModemState = msInitialised;
    (void)commandQueue.Push("ATE0\r\n", "", ckAnswered);
}

void SendATE0(TBuffer& commandQueue)
{
    (void)Queue(commandQueue, "ATE0\r\n");
}

void SendCSQ(TBuffer& commandQueue)
{
    (void)Queue(commandQueue, "AT+CSQ\r\n");
}

void SendNewMessageRouting(TBuffer& commandQueue)
{
    (void)commandQueue.Push("AT$QCNMI=1,2,0\r\n", "", ckAnswered);
}

bool SendATD(TBuffer& commandQueue, std::string_view number)
{
    return IsDialString(number) && Queue(commandQueue, "AT+CDV" + std::string(number) + "\r");
}

void SendATA(TBuffer& commandQueue)
{
    (void)Queue(commandQueue, "AT$QCCAV\r\n");
}

void SendATH(TBuffer& commandQueue)
{
    (void)Queue(commandQueue, "AT$QCCHV\r");
}

void SendCallerID(TBuffer& commandQueue)
{
    (void)Queue(commandQueue, "AT+CLCC\r");
}

bool SendDTMF(TBuffer& commandQueue, char key)
{
    const bool isKey = (key >= '0' && key <= '9') || key == '*' || key == '#';
    return isKey && Queue(commandQueue, std::string("AT+VTS=") + key + "\r");
}

bool SendVolume(TBuffer& commandQueue, std::string_view level)
{
    static constexpr std::array<std::string_view, 5> Levels = {"0", "6", "12", "18", "24"};
    const bool known = std::find(Levels.begin(), Levels.end(), level) != Levels.end();
    return known && Queue(commandQueue, "AT+CLVL=" + std::string(level) + "\r");
}

void SendMute(TBuffer& commandQueue, bool muted)
{
    (void)Queue(commandQueue, muted ? "AT+CMUT=1\r" : "AT+CMUT=0\r");
}

bool CanSendSms(std::string_view number, std::string_view text)
{
    return IsDialString(number) && SmsCommand(number, text).size() <= TBuffer::MaxCmdLength;
}

bool SendSMS(TBuffer& commandQueue, std::string_view number, std::string_view text)
{
    return CanSendSms(number, text) && Queue(commandQueue, SmsCommand(number, text));
}

bool SendFeatureCode(TBuffer& commandQueue, TFeatureCode code, std::string_view number)
{
    const TFeatureCodeText text = FeatureCodeText(code);
    if (!text.takesNumber)
        return Queue(commandQueue, "AT+CDV" + std::string(text.code) + "\r");
    return IsDialString(number) && Queue(commandQueue, "AT+CDV" + std::string(text.code) + std::string(number) + "\r");
}

bool SendMin(TBuffer& commandQueue, std::string_view value)
{
    if (value.empty() || value.size() > 10 || !IsDigits(value))
        return false;
    const std::string cmd = "AT+WMIN=" + std::string(value) + "\r\n";
    return commandQueue.Push(cmd, "", ckAnswered);
}
