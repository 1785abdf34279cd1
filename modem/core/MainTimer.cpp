#include "modem/core/MainTimer.h"

#include "modem/core/ATCommands.h"

namespace {

constexpr int SignalPollTicks = 20;
// About two minutes of ticks without progress before an SMS batch is given up.
constexpr int SmsGiveUpTicks = 480;

std::string BatchEndText(int failures)
{
    if (failures == 0)
        return "Complete sending SMS.";
    return "Complete sending SMS. " + std::to_string(failures) + " failed.";
}

} // namespace

int SignalImage(int value)
{
    struct TBand {
        int last;
        int image;
    };
    static constexpr TBand Bands[] = {{4, 0}, {11, 1}, {19, 2}, {24, 3}, {28, 4}, {31, 5}};
    if (value < 0)
        return -1;
    for (const TBand& band : Bands)
        if (value <= band.last)
            return band.image;
    return -1;
}

TSmsItem SplitSmsItem(std::string_view item)
{
    TSmsItem split;
    const std::size_t first = item.find('*');
    if (first == std::string_view::npos) {
        split.Number = item;
        return split;
    }
    split.Number = item.substr(0, first);
    const std::size_t second = item.find('*', first + 1);
    if (second == std::string_view::npos) {
        split.Name = item.substr(first + 1);
        return split;
    }
    split.Name = item.substr(first + 1, second - first - 1);
    split.Text = item.substr(second + 1);
    return split;
}

TMainTimer::TMainTimer(TApplicationState& state, TModemLink& link, TModemView& view, TModemRecords& records)
    : m_state(state), m_link(link), m_view(view), m_records(records)
{
}

void TMainTimer::Tick()
{
    PollSignal();
    UpdateCallButtons();
    PumpSms();
    DispatchResponse();
}

void TMainTimer::PollSignal()
{
    if (++m_state.CsqTickCounter <= SignalPollTicks)
        return;
    m_state.CsqTickCounter = 0;
    if (m_state.SignalPollAllowed && !m_state.CallActive())
        SendCSQ(m_link.CommandQueue);
}

void TMainTimer::UpdateCallButtons()
{
    if (!m_view.CallButtonsInView())
        return;
    if (m_state.CallOutgoing) {
        if (m_view.ButtonEnabled(TCallButton::Call))
            for (const TCallButton button : {TCallButton::Call, TCallButton::Recall, TCallButton::Clear})
                m_view.SetButtonEnabled(button, false);
        m_view.SetButtonEnabled(TCallButton::Hang, m_state.CallConnected);
    }
    if (m_state.CallIncoming) {
        if (m_state.CallConnected && m_view.CallCaption() == "Answer") {
            m_view.SetCallCaption("Call");
            m_view.SetButtonEnabled(TCallButton::Call, false);
        } else if (!m_state.CallConnected && m_view.CallCaption() == "Call") {
            m_view.SetCallCaption("Answer");
            m_view.SetButtonEnabled(TCallButton::Call, true);
        }
        m_view.SetButtonEnabled(TCallButton::Recall, false);
        if (!m_state.CallConnected)
            CountDownRing();
        else if (m_view.ToneLooping())
            m_view.StopTone();
    }
    if (m_state.CallActive() || m_state.CallConnected) {
        m_view.SetButtonEnabled(TCallButton::Clear, false);
        return;
    }
    m_view.SetCallCaption("Call");
    for (const TCallButton button : {TCallButton::Call, TCallButton::Clear, TCallButton::Recall, TCallButton::Hang})
        m_view.SetButtonEnabled(button, true);
    if (m_view.ToneLooping())
        m_view.StopTone();
}

void TMainTimer::CountDownRing()
{
    if (--m_state.RingCountdown == 0) {
        // Rang out unanswered: a missed call.
        m_view.StopTone();
        const int seconds = m_state.CallSeconds;
        m_state.CallIncoming = false;
        m_view.SetCallTimerEnabled(false);
        m_state.CallSeconds = 0;
        m_view.SetCallTitle("Call Missed");
        m_records.LogCall(TCallLog::Missed, m_view.DialDisplay(), seconds);
        return;
    }
    if (!m_view.ToneLooping())
        m_view.PlayTone(TTone::Ring, true);
}

// The SMS pump sends the batch one item at a time: an item goes when the network is registered,
// no call is active and the previous item has its result. An item leaves the queue only with its
// result (sent, or failed into the outbox), so none is lost; a batch that makes no progress for
// two minutes is given up with its items in the outbox.
void TMainTimer::PumpSms()
{
    if (m_state.SmsQueue.empty() && m_state.SmsSending) {
        // Told once, with the failures, so that a failure of the last item is not hidden.
        m_state.SignalPollAllowed = true;
        m_state.SmsSending = false;
        m_state.SmsReadyForNext = false;
        m_view.SetStatusText(1, BatchEndText(m_state.SmsFailures));
        m_state.SmsFailures = 0;
    }
    if (!m_state.SmsQueue.empty() && !m_state.SmsSending && m_state.Registered) {
        m_state.SmsSending = true;
        m_state.SmsReadyForNext = true;
        m_state.SmsAttempts = 0;
        m_state.SmsFailures = 0;
        m_view.SetStatusText(1, "Sending SMS...");
    }
    if (!m_state.Registered && m_view.StatusText(1) != RegisteringText)
        m_view.SetStatusText(1, std::string(RegisteringText));
    if (m_state.SmsQueue.empty() || !m_state.SmsReadyForNext || m_state.CallActive()) {
        if (!m_state.SmsQueue.empty() && ++m_state.SmsWaitTicks > SmsGiveUpTicks)
            GiveUpSmsBatch();
        return;
    }
    SendNextSms();
}

void TMainTimer::SendNextSms()
{
    const TSmsItem item = SplitSmsItem(m_state.SmsQueue.front());
    if (!CanSendSms(item.Number, item.Text)) {
        FailSmsItem();
        return;
    }
    m_state.SignalPollAllowed = false;
    if (SendSMS(m_link.CommandQueue, item.Number, item.Text)) {
        m_state.SmsWaitTicks = 0;
        m_state.SmsReadyForNext = false;
    }
}

bool TMainTimer::SmsAwaitingResult() const
{
    return !m_state.SmsQueue.empty() && m_state.SmsSending && !m_state.SmsReadyForNext;
}

void TMainTimer::FinishSmsItem(TSmsBox box)
{
    const TSmsItem item = SplitSmsItem(m_state.SmsQueue.front());
    m_state.SmsQueue.erase(m_state.SmsQueue.begin());
    m_state.SmsReadyForNext = true;
    m_state.SmsAttempts = 0;
    if (box == TSmsBox::Outbox)
        ++m_state.SmsFailures;
    m_records.StoreSmsResult(box, item);
}

void TMainTimer::FailSmsItem()
{
    const std::string name = SplitSmsItem(m_state.SmsQueue.front()).Name;
    FinishSmsItem(TSmsBox::Outbox);
    m_view.SetStatusText(1, "Fail sending to " + name);
}

void TMainTimer::GiveUpSmsBatch()
{
    // What could not be sent is kept in the outbox, not thrown away; a late result of the item in
    // hand is no longer taken (nothing awaits one).
    for (const std::string& item : m_state.SmsQueue)
        m_records.StoreSmsResult(TSmsBox::Outbox, SplitSmsItem(item));
    m_state.SmsQueue.clear();
    m_state.SmsWaitTicks = 0;
    m_state.SignalPollAllowed = true;
    m_state.SmsSending = false;
    m_state.SmsReadyForNext = false;
    m_state.SmsFailures = 0;
    m_view.SetStatusText(1, "Network busy.Please try later.");
}
