#include "modem/core/ATCommands.h"
#include "modem/core/Delay.h"
#include "modem/core/MainTimer.h"
#include "modem/core/TextPositions.h"

namespace {

// Ticks (10 s) a ringing call stays without a new RING before it counts as missed.
constexpr int RingTicks = 40;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// [2..3] "OK".
bool IsOk(std::string_view response)
{
    return TextAt(response, 2, 2) == "OK";
}

// [2] "N", [5] "C".
bool IsNoCarrier(std::string_view response)
{
    return CharAt(response, 2) == 'N' && CharAt(response, 5) == 'C';
}

// The text between the first and the second double quote; empty when there are not two.
std::string QuotedNumber(std::string_view response)
{
    const std::size_t open = response.find('"');
    if (open == std::string_view::npos)
        return {};
    const std::size_t close = response.find('"', open + 1);
    if (close == std::string_view::npos)
        return {};
    return std::string(response.substr(open + 1, close - open - 1));
}

} // namespace

void TMainTimer::DispatchResponse()
{
    if (m_link.ResponseQueue.IsEmpty())
        return;
    const TCommand record = m_link.ResponseQueue.Head();
    (void)m_link.ResponseQueue.Remove(m_link.ResponseQueue.GetHead());
    if (record.Kind == ckTimedOut) {
        if (m_onTimedOut)
            m_onTimedOut(record);
        return;
    }
    if (record.Cmd.empty())
        DispatchUnsolicited(record.Data);
    else
        DispatchAnswer(record);
}

void TMainTimer::DispatchAnswer(const TCommand& record)
{
    const std::string& cmd = record.Cmd;
    if (TextAt(cmd, 1, 2) == "TE")
        m_view.SetStatusText(0, std::string(ModemReadyText));
    if (TextAt(cmd, 3, 3) == "CLC")
        CallerNumber(record.Data);
    if (CharAt(cmd, 3) == 'C' && CharAt(cmd, 5) == 'Q')
        SignalQuality(record.Data);
    if (TextAt(cmd, 1, 2) != "TE")
        CommandResult(cmd, record.Data);
}

void TMainTimer::CallerNumber(const std::string& response)
{
    const std::string number = QuotedNumber(response);
    m_state.CallIncoming = true;
    m_state.NameListNumbers.clear();
    std::string name;
    if (number.empty())
        m_state.NameListNumbers.push_back("Anonymous");
    else if (!(name = m_records.LookupName(number)).empty())
        m_state.NameListNumbers.push_back(number);
    m_view.ShowIncomingCaller(number, name);
    m_view.SetCallTitle("Call Incoming.");
    m_state.CallSeconds = 0;
    m_view.SetCallTimerEnabled(true);
}

void TMainTimer::SignalQuality(const std::string& response)
{
    const char tens = CharAt(response, 2);
    const char units = CharAt(response, 3);
    if (!IsDigit(tens) || !(units == ',' || IsDigit(units)))
        return;
    const int value = units == ',' ? tens - '0' : (tens - '0') * 10 + (units - '0');
    if (value != 99) {
        if (!m_state.Registered) {
            SendNewMessageRouting(m_link.CommandQueue);
            m_state.Registered = true;
            m_view.SetStatusText(1, "");
        }
        if (m_view.StatusText(1) == RegisteringText)
            m_view.SetStatusText(1, "");
    }
    const int image = SignalImage(value);
    if (image < 0)
        m_view.SetStatusText(1, std::string(RegisteringText));
    m_view.ShowSignal(image < 0 ? 0 : image);
}

void TMainTimer::CommandResult(const std::string& cmd, const std::string& response)
{
    if (CharAt(cmd, 2) == '$' && CharAt(cmd, 6) == 'A' && IsOk(response))
        StartCall();
    if (CharAt(cmd, 2) == '$' && CharAt(cmd, 6) == 'H' && IsOk(response))
        HangUpConfirmed();
    if (TextAt(cmd, 4, 2) == "DV")
        DialResult(response);
    if (TextAt(cmd, 6, 2) == "GS")
        SmsSendResult(response);
}

void TMainTimer::DialResult(const std::string& response)
{
    if (IsOk(response)) {
        if (m_state.ServiceRequestPending) {
            // The network took the feature code: end the service call it made.
            m_state.ServiceRequestPending = false;
            SendATH(m_link.CommandQueue);
            m_view.EndServiceWait();
        } else {
            StartCall();
        }
    }
    if (TextAt(response, 2, 2) == "ER" || IsNoCarrier(response)) {
        if (m_state.ServiceRequestPending) {
            m_state.ServiceRequestPending = false;
            m_view.EndServiceWait();
        } else {
            m_state.CallOutgoing = false;
            m_view.SetCallTimerEnabled(false);
            m_state.CallSeconds = 0;
            m_view.SetCallTitle("Call Fail");
        }
    }
}

void TMainTimer::SmsSendResult(const std::string& response)
{
    if (!SmsAwaitingResult())
        return;
    if (CharAt(response, 2) == 'E') {
        // Refused: sent again, but only a few times, so that one message the modem always refuses
        // cannot hold up the rest of the batch for ever.
        if (++m_state.SmsAttempts >= TApplicationState::SmsMaxAttempts)
            FailSmsItem();
        else
            m_state.SmsReadyForNext = true;
    } else if (CharAt(response, 2) == '>' && CharAt(response, 13) == 'E') {
        FailSmsItem();
    }
}

void TMainTimer::DispatchUnsolicited(const std::string& response)
{
    if (TextAt(response, 2, 2) == "RI")
        Ring();
    if (IsOk(response) && m_state.CallIncoming)
        StartCall();
    if (IsNoCarrier(response))
        EndCallByNoCarrier();
    if (CharAt(response, 2) == '$' && CharAt(response, 6) == 'T')
        NewMessage(response);
    // SMS results count only for an item that awaits one: a late result of an item given up must
    // not be booked against the next batch's first item.
    if (CharAt(response, 7) == 'E' && CharAt(response, 14) == '5' && SmsAwaitingResult())
        FinishSmsItem(TSmsBox::Outbox);
    if (TextAt(response, 6, 2) == "GS" && SmsAwaitingResult())
        FinishSmsItem(TSmsBox::Sent);
}

void TMainTimer::Ring()
{
    if (!m_state.CallIncoming) {
        m_state.CallIncoming = true;
        Delay(50);
        SendCallerID(m_link.CommandQueue);
    }
    m_state.RingCountdown = RingTicks;
}

void TMainTimer::NewMessage(const std::string& response)
{
    m_records.StoreNewMessage(response);
    m_view.ShowNewMessage();
    m_view.PlayTone(TTone::Sms, false);
}

void TMainTimer::StartCall()
{
    m_view.SetCallTimerEnabled(false);
    m_view.SetCallTitle("Time: 00:00:00");
    m_state.CallSeconds = 0;
    m_state.CallConnected = true;
    m_view.SetCallTimerEnabled(true);
}

// Both logs take the numbers as they were before the first one clears the display, and a dialled
// call is logged with the number that was dialled.
std::string TMainTimer::DialledNumber(const std::string& display) const
{
    return m_state.LastDialledNumber.empty() ? display : m_state.LastDialledNumber;
}

void TMainTimer::EndIncoming(const std::string& title, TCallLog log, const std::string& number, int seconds)
{
    if (!m_state.CallIncoming)
        return;
    m_state.CallIncoming = false;
    m_view.SetCallTitle(title);
    m_records.LogCall(log, number, seconds);
}

void TMainTimer::EndOutgoing(const std::string& title, const std::string& number, int seconds, bool logged)
{
    if (!m_state.CallOutgoing)
        return;
    m_state.CallOutgoing = false;
    m_view.SetCallTitle(title);
    if (logged)
        m_records.LogCall(TCallLog::Dialled, number, seconds);
}

void TMainTimer::HangUpConfirmed()
{
    const std::string display = m_view.DialDisplay();
    const int seconds = m_state.CallSeconds;
    if (m_state.CallConnected) {
        EndIncoming("Call Received", TCallLog::Received, display, seconds);
        EndOutgoing("Call Dialled", DialledNumber(display), seconds, true);
    } else {
        EndIncoming("Call Missed", TCallLog::Missed, display, seconds);
        EndOutgoing("Call Dialled", DialledNumber(display), seconds, true);
    }
    m_view.SetCallTimerEnabled(false);
    m_state.CallSeconds = 0;
    m_state.CallConnected = false;
}

void TMainTimer::EndCallByNoCarrier()
{
    const std::string display = m_view.DialDisplay();
    const int seconds = m_state.CallSeconds;
    m_view.SetCallTimerEnabled(false);
    if (m_state.CallConnected) {
        EndIncoming("Call Received", TCallLog::Received, display, seconds);
        EndOutgoing("Call Dialled", DialledNumber(display), seconds, true);
    } else {
        EndIncoming("Call Missed", TCallLog::Missed, display, seconds);
        EndOutgoing("Call Fail", DialledNumber(display), seconds, false);
    }
    m_state.CallSeconds = 0;
    m_state.CallConnected = false;
}
