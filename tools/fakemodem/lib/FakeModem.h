#pragma once

#include "tools/fakemodem/lib/ModemBehaviour.h"
#include "tools/fakemodem/lib/Transcript.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class ModemPty;
class OverlayFile;

struct FakeModemOptions {
    std::string overlayPath;                             // empty: OverlayFile::DefaultPath()
    std::string comName = "COM3";
    std::string description = "Simulated CDMA USB Modem";
    ModemSettings settings;
};

// The simulated CDMA USB modem: a pseudo-terminal whose far end answers the manager's AT
// commands (ModemBehaviour), presented through the registry overlay (OverlayFile) as a plugged-in
// modem. Its own thread reads commands and sends replies, each reply in one write, so that the
// serial stand-in's quiet interval turns it into one block. Every member is thread-safe.
//
// Scripting from a test: set behaviours (SetSignal, SetDialOutcome, ...), inject unsolicited
// codes (Ring, NoCarrier, DeliverSms, ...), wait for what the host sends (ExpectCommand,
// ExpectSmsText, WaitForStatus). The waits throw FakeModemError with the transcript when they
// time out.
class FakeModemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FakeModem {
public:
    // Opens the pseudo-terminal, writes the overlay and starts the modem's thread. Throws
    // std::runtime_error when the pseudo-terminal or the overlay cannot be made.
    explicit FakeModem(FakeModemOptions options = {});
    // Stop().
    ~FakeModem();
    FakeModem(const FakeModem&) = delete;
    FakeModem& operator=(const FakeModem&) = delete;

    // Ends the thread, hangs the line up and removes the overlay. Idempotent.
    void Stop();

    [[nodiscard]] std::string OverlayPath() const;
    [[nodiscard]] std::string ComName() const;
    // The pseudo-terminal's slave path; empty while unplugged.
    [[nodiscard]] std::string DevicePath() const;

    // Pulled out: the overlay goes, the line is hung up (the host's pending read ends with an
    // error). Plugged in again: a new line, the overlay back, the modem as after power-on. Both
    // are no-ops when already so; Plug throws when no pseudo-terminal can be had.
    void Unplug();
    void Plug();

    // Behaviours. A signal value is 0..31, or 99 for no reading (std::invalid_argument otherwise).
    void SetSignal(int value);
    void SetDialOutcome(DialOutcome outcome, std::chrono::milliseconds delay);
    void SetSmsOutcome(SmsOutcome outcome, int cmsErrorCode = 500);
    void SetSmsDelay(std::chrono::milliseconds delay);
    void SetRingInterval(std::chrono::milliseconds interval);
    // A command beginning with `prefix` gets `reply` (no answer at all when empty) instead.
    void OverrideReply(const std::string& prefix, const std::string& reply);
    void ClearOverrides();

    // Unsolicited codes, each one burst.
    void Ring(const std::string& callerNumber);
    void NoCarrier();
    void DeliverSms(const std::string& number, const std::string& text);
    void ConfirmSmsLate();
    void Send(const std::string& bytes);

    // The next command line (without its carriage return) that begins with `prefix`, received
    // after the one the previous Expect returned; commands in between are passed over.
    std::string ExpectCommand(std::string_view prefix, std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // The text of the next SMS the host sent (after its Ctrl-Z), in the same order.
    std::string ExpectSmsText(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Waits until `condition` holds for the modem's status; `what` names it in the failure.
    void WaitForStatus(const std::function<bool(const ModemStatus&)>& condition, std::string_view what,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30));

    [[nodiscard]] ModemStatus Status() const;
    [[nodiscard]] Transcript& GetTranscript() { return m_transcript; }

private:
    enum class Request { None, Plug, Unplug };

    void Run();
    void PollOnce();
    void ReadFromHost();
    void Handle(ModemEvents& events);
    void Flush();
    void Wake() const;
    void CarryOut(Request request);
    void Await(Request request);
    void Inject(const std::function<void(ModemEvents&)>& action);
    std::string Expect(ModemEvent::Kind kind, std::string_view prefix, std::chrono::milliseconds timeout,
                       const std::string& what);
    [[nodiscard]] std::string Failure(const std::string& what, std::chrono::milliseconds timeout) const;

    Transcript m_transcript;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    ModemBehaviour m_behaviour;
    std::unique_ptr<OverlayFile> m_overlay;
    std::unique_ptr<ModemPty> m_pty;
    std::deque<std::string> m_output;
    std::vector<ModemEvent> m_received;
    std::size_t m_expectCursor = 0;
    Request m_request = Request::None;
    std::exception_ptr m_requestError;
    bool m_stopping = false; // the thread is to end (or has ended by itself)
    bool m_stopped = false;  // Stop has run
    int m_wakeFd = -1;
    std::thread m_thread;
};
