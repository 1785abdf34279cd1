#include "modem/app/ModemSession.h"

#include "modem/core/ATCommands.h"
#include "modem/core/CommModemPort.h"
#include "modem/core/ModemEngine.h"
#include "modem/core/ModemRecords.h"

#include <utility>

namespace {

TCallRecord RecordOf(TCallLog log)
{
    switch (log) {
    case TCallLog::Received:
        return TCallRecord::Received;
    case TCallLog::Dialled:
        return TCallRecord::Dialled;
    case TCallLog::Missed:
        break;
    }
    return TCallRecord::Missed;
}

// The engine's database, handed on to the window's store side.
class TRecordsBridge final : public TModemRecords {
public:
    explicit TRecordsBridge(IManagerRecords& records) : m_records(records) {}

    std::string LookupName(const std::string& number) override { return m_records.LookupName(number); }
    void LogCall(TCallLog log, const std::string& number, int seconds) override
    {
        m_records.LogCall(RecordOf(log), number, seconds);
    }
    void StoreNewMessage(const std::string& received) override { m_records.StoreNewMessage(received); }
    void StoreSmsResult(TSmsBox box, const TSmsItem& item) override
    {
        m_records.StoreSmsResult(box == TSmsBox::Sent, item.Number, item.Name, item.Text);
    }

private:
    IManagerRecords& m_records;
};

} // namespace

struct TModemSession::TImpl {
    TImpl(TComm& comm, TModemView& view, IManagerRecords& records)
        : port(comm), bridge(records), engine(port, view, bridge)
    {
    }

    TCommModemPort port;
    TRecordsBridge bridge;
    TModemEngine engine;
};

TModemSession::TModemSession(TComm& comm, TModemView& view, IManagerRecords& records)
    : m_impl(std::make_unique<TImpl>(comm, view, records))
{
}

TModemSession::~TModemSession() = default;

std::uint8_t TModemSession::ModemState() const { return m_impl->engine.State().ModemState; }

void TModemSession::SetModemState(std::uint8_t state) { m_impl->engine.State().ModemState = state; }

void TModemSession::StartComm() { m_impl->port.StartComm(); }

void TModemSession::StopComm() { m_impl->port.StopComm(); }

void TModemSession::CreateWorker() { m_impl->engine.CreateWorker(); }

void TModemSession::ResumeWorker() { m_impl->engine.ResumeWorker(); }

bool TModemSession::HasWorker() const { return m_impl->engine.HasWorker(); }

void TModemSession::PortLost() { m_impl->engine.PortLost(); }

void TModemSession::ResetSignalPoll() { m_impl->engine.State().CsqTickCounter = 0; }

void TModemSession::PollSignal() { SendCSQ(m_impl->engine.CommandQueue()); }

void TModemSession::InitialModem() { m_impl->engine.InitialModem(); }

void TModemSession::SetSignalPollAllowed(bool allowed) { m_impl->engine.State().SignalPollAllowed = allowed; }

namespace {

constexpr std::uint8_t ModemInitialised = 2;

} // namespace

bool TModemSession::RequestService(TFeatureCode code, const std::string& number)
{
    if (ModemState() != ModemInitialised || !HasWorker())
        return false;
    if (!SendFeatureCode(m_impl->engine.CommandQueue(), code, number))
        return false;
    m_impl->engine.State().ServiceRequestPending = true;
    return true;
}

bool TModemSession::AbandonServiceRequest()
{
    return std::exchange(m_impl->engine.State().ServiceRequestPending, false);
}

bool TModemSession::SendNewMin(const std::string& value)
{
    return ModemState() == ModemInitialised && HasWorker() && SendMin(m_impl->engine.CommandQueue(), value);
}

bool TModemSession::CallActive() const { return m_impl->engine.State().CallActive(); }

void TModemSession::MainTimerTick() { m_impl->engine.MainTimerTick(); }

void TModemSession::CountCallSecond() { ++m_impl->engine.State().CallSeconds; }

void TModemSession::ComReceiveData(TObject* sender, const void* buffer, WORD length)
{
    m_impl->engine.ComReceiveData(sender, buffer, length);
}

TBuffer& TModemSession::CommandQueue() { return m_impl->engine.CommandQueue(); }

void TModemSession::SuspendWorker() { m_impl->engine.SuspendWorker(); }

TModemSession::TCallFlags TModemSession::CallFlags() const
{
    const TApplicationState& state = m_impl->engine.State();
    return {state.CallIncoming, state.CallOutgoing, state.CallConnected, state.CallSeconds};
}

void TModemSession::SetCallOutgoing(bool outgoing) { m_impl->engine.State().CallOutgoing = outgoing; }

std::string TModemSession::LastDialledNumber() const { return m_impl->engine.State().LastDialledNumber; }

void TModemSession::SetLastDialledNumber(const std::string& number)
{
    m_impl->engine.State().LastDialledNumber = number;
}

std::vector<std::string>& TModemSession::NameListNumbers() { return m_impl->engine.State().NameListNumbers; }

bool TModemSession::ToggleMuted()
{
    bool& muted = m_impl->engine.State().Muted;
    muted = !muted;
    return muted;
}

void TModemSession::QueueSms(const std::string& item) { m_impl->engine.State().SmsQueue.push_back(item); }
