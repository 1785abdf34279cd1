#include "modem/core/ModemLink.h"

#include "platform/winapi/kernel/Handles.h"

#include <stdexcept>

TModemLink::TModemLink()
    : CommandQueue(QueueCapacity, m_queueLock.Section),
      ResponseQueue(QueueCapacity, m_queueLock.Section),
      m_workEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    if (!m_workEvent)
        throw std::runtime_error("cannot create the worker's event");
    CommandQueue.SetOnChange([this] { WakeWorker(); });
    ResponseQueue.SetOnChange([this] { WakeWorker(); });
    Received.SetArrivalEvent(m_workEvent);
}

TModemLink::~TModemLink()
{
    CloseHandle(m_workEvent);
}

void TModemLink::Clear()
{
    CommandQueue.Clear();
    ResponseQueue.Clear();
    Received.Clear();
}
