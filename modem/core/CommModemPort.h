#pragma once

#include "modem/core/ModemEngine.h"

#include "serial/Pelcomm.h"

#include <mutex>

// The serial component as the engine's port. The worker writes from its own thread while the GUI
// thread opens and closes the port, so every call goes through one lock: a write never meets a
// port half opened or half closed. The port watch opens and closes the port through here too.
class TCommModemPort final : public TModemPort {
public:
    explicit TCommModemPort(TComm& comm) : m_comm(comm) {}

    // TComm::StartComm under the lock; raises what it raises.
    void StartComm();
    void StopComm() override;
    [[nodiscard]] bool WriteCommData(const void* data, std::size_t length) override;

private:
    TComm& m_comm;
    std::mutex m_lock;
};
