#include "modem/store/PortWatch.h"

#include "modem/store/COMList.h"
#include "modem/store/InstallModem.h"
#include "platform/classlib/core/ApplicationHandleException.h"
#include "platform/classlib/core/StringLists.h"

#include <exception>

namespace {

// The modem needs a moment after its port opens before it takes commands.
constexpr unsigned ModemSettleMs = 3000;

} // namespace

TPortWatch::TPortWatch(IPortWatchEngine& engine, IPortWatchView& view) : m_engine(engine), m_view(view) {}

void TPortWatch::TAutoTimer()
{
    TStringList ports;
    TStringList names;
    GetPortList(ports, names);
    if (ports.Count() == 0) {
        if (m_engine.ModemState() != TModemState::NoPort)
            DropModem();
        m_view.EnableWorkingControls(false);
        return;
    }
    // A command that timed out closed the port while the modem stayed plugged in: start it again
    // rather than leave it dead until the user pulls it out.
    if (m_engine.ModemState() == TModemState::Initialised && !m_engine.CommOpened()) {
        m_engine.StopEngine();
        m_engine.SetModemState(TModemState::NoPort);
    }
    const TModemState state = m_engine.ModemState();
    if (state == TModemState::NoPort || state == TModemState::Released)
        OpenModem(ports.Strings(0), names.Strings(0));
}

void TPortWatch::OpenModem(const std::string& port, const std::string& deviceName)
{
    m_engine.SetSignalPollAllowed(false);
    m_view.EnableWorkingControls(false);
    if (m_engine.ModemState() == TModemState::NoPort)
        m_view.ShowPortStatus("Initializing USB Modem...");
    // An engine that gave up on the modem may have left the port open: start from a closed one.
    if (m_engine.CommOpened())
        m_engine.StopComm();
    try {
        m_engine.StartComm(port);
    } catch (const std::exception&) {
        // Silent: the next tick tries again.
        m_engine.SetModemState(TModemState::NoPort);
        return;
    }
    m_engine.SetModemState(TModemState::PortOpened);
    StartModem(port, deviceName);
}

void TPortWatch::StartModem(const std::string& port, const std::string& deviceName)
{
    m_engine.ResetSignalPoll();
    m_engine.CreateWorker();
    m_engine.Delay(ModemSettleMs);
    // A tick nested in the delay found the port gone and closed it: nothing left to start.
    if (m_engine.ModemState() != TModemState::PortOpened)
        return;
    m_engine.InitialModem();
    m_engine.SetModemState(TModemState::Initialised);
    try {
        InstallModem(port, deviceName);
    } catch (const std::exception&) {
        // Only the data connection needs the phonebook entry: the error is shown, and calls and
        // messages work all the same.
        ApplicationHandleException(nullptr);
    }
    m_engine.ResumeWorker();
    // "USB Modem ready." comes with the modem's answer to its initialisation.
    m_engine.StartMainTimer();
    m_engine.SetSignalPollAllowed(true);
    m_view.EnableWorkingControls(true);
    m_view.ShowCallServicesTab();
}

void TPortWatch::DropModem()
{
    m_engine.StopEngine();
    m_engine.StopComm();
    m_engine.SetModemState(TModemState::NoPort);
    m_view.ShowPortStatus("Connection dropped.");
    m_view.ShowNetworkStatus("");
    m_view.ShowSignalBars(0);
    m_engine.ProcessMessages();
}
