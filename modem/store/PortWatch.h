#pragma once

#include <cstdint>
#include <string>

// The values of the manager's ModemState.
enum class TModemState : std::uint8_t {
    PortOpened = 0,  // transient, within one tick of the port watch
    NoPort = 1,      // at start, after an unplug, after a failed open
    Initialised = 2, // the modem answers commands
    Released = 4,    // the data connection has the port
};

// What the port watch drives of the manager's engine: its state, the serial port, the worker
// thread and the main timer. The main window implements it over its serial component and the
// command engine.
class IPortWatchEngine {
public:
    virtual ~IPortWatchEngine() = default;

    [[nodiscard]] virtual TModemState ModemState() const = 0;
    virtual void SetModemState(TModemState state) = 0;

    // Opens the serial port `port` ("COM4"); raises when it cannot.
    virtual void StartComm(const std::string& port) = 0;
    virtual void StopComm() = 0;
    [[nodiscard]] virtual bool CommOpened() const = 0;

    // A new worker thread, not yet running; a worker made before is ended and joined first, so
    // that never two take commands from the queue.
    virtual void CreateWorker() = 0;
    virtual void ResumeWorker() = 0;
    // Everything that ran on the open port stops: the main timer, the worker (ended and joined),
    // both queues emptied, and the network, SMS and call state back to idle.
    virtual void StopEngine() = 0;
    // Queues the modem's initialisation ("ATE0").
    virtual void InitialModem() = 0;
    virtual void StartMainTimer() = 0;
    // The signal poll: its tick counter back to 0, and whether the main timer may poll.
    virtual void ResetSignalPoll() = 0;
    virtual void SetSignalPollAllowed(bool allowed) = 0;

    // Waits while the window messages go on being handled (a nested tick of the watch may run).
    virtual void Delay(unsigned milliseconds) = 0;
    virtual void ProcessMessages() = 0;
};

// What the port watch shows.
class IPortWatchView {
public:
    virtual ~IPortWatchView() = default;

    // Status bar panel 0 (port and modem) and panel 1 (network and SMS).
    virtual void ShowPortStatus(const std::string& text) = 0;
    virtual void ShowNetworkStatus(const std::string& text) = 0;
    // The signal image: bar image 0 is the empty one.
    virtual void ShowSignalBars(int image) = 0;
    // The call, dial and settings buttons and the mute image, all together.
    virtual void EnableWorkingControls(bool enabled) = 0;
    virtual void ShowCallServicesTab() = 0;
};

// The port watch (the handler of the 3-second timer TAuto): finds the modem's port, opens it and
// brings the modem up when it appears, and closes everything when it disappears. It owns the
// transitions of ModemState:
//   NoPort or Released, port listed     -> PortOpened -> Initialised in the same tick
//   NoPort, the port does not open       -> NoPort, tried again at the next tick
//   any other, port no longer listed     -> NoPort, "Connection dropped."
//   Initialised, port closed by a command time-out -> reopened at once, as after a re-plug
// Only the first listed port is used. Runs on the GUI thread; a tick nested in the Delay of another
// finds PortOpened and leaves it alone.
class TPortWatch {
public:
    TPortWatch(IPortWatchEngine& engine, IPortWatchView& view);

    void TAutoTimer();

private:
    void OpenModem(const std::string& port, const std::string& deviceName);
    void StartModem(const std::string& port, const std::string& deviceName);
    void DropModem();

    IPortWatchEngine& m_engine;
    IPortWatchView& m_view;
};
