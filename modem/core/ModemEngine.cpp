#include "modem/core/ModemEngine.h"

#include "modem/core/ATCommands.h"

#include <string_view>

TModemEngine::TModemEngine(TModemPort& port, TModemView& view, TModemRecords& records)
    : m_port(port), m_view(view), m_mainTimer(m_state, m_link, view, records)
{
    m_mainTimer.SetOnTimedOut([this](const TCommand&) { CommandTimedOut(); });
}

void TModemEngine::ComReceiveData(TObject*, const void* buffer, WORD length)
{
    if (buffer && length)
        m_link.Received.AddBlock(std::string_view(static_cast<const char*>(buffer), length));
}

void TModemEngine::CreateWorker()
{
    StopWorker();
    m_worker.reset(new TTComm(m_link, m_port));
}

void TModemEngine::ResumeWorker()
{
    if (m_worker)
        m_worker->Resume();
}

void TModemEngine::SuspendWorker()
{
    if (m_worker)
        m_worker->Suspend();
}

void TModemEngine::StopWorker()
{
    m_worker.reset();
}

void TModemEngine::PortOpened()
{
    m_state.CsqTickCounter = 0;
    m_state.SignalPollAllowed = true;
}

void TModemEngine::InitialModem()
{
    ::InitialModem(m_link.CommandQueue, m_state);
}

void TModemEngine::PortLost()
{
    m_view.SetMainTimerEnabled(false);
    StopWorker();
    m_link.Clear();
    m_state.Registered = false;
    m_state.SignalPollAllowed = false;
    m_state.SmsSending = false;
    m_state.SmsReadyForNext = false;
    m_state.SmsWaitTicks = 0;
    m_state.SmsAttempts = 0;
    if (m_state.CallActive() || m_state.CallConnected)
        m_mainTimer.EndCallByNoCarrier();
    if (m_state.ServiceRequestPending) {
        m_state.ServiceRequestPending = false;
        m_view.EndServiceWait();
    }
}

void TModemEngine::CommandTimedOut()
{
    PortLost();
    m_port.StopComm();
    m_state.ModemState = msNoPort;
    m_view.SetStatusText(0, NotRespondingText);
}
