#include "modem/core/CommModemPort.h"

void TCommModemPort::StartComm()
{
    const std::lock_guard guard(m_lock);
    m_comm.StartComm();
}

void TCommModemPort::StopComm()
{
    const std::lock_guard guard(m_lock);
    m_comm.StopComm();
}

bool TCommModemPort::WriteCommData(const void* data, std::size_t length)
{
    const std::lock_guard guard(m_lock);
    return m_comm.WriteCommData(data, length);
}
