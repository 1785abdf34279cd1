#include "tools/fakemodem/lib/FakeModem.h"

#include "tools/fakemodem/lib/ModemPty.h"
#include "tools/fakemodem/lib/OverlayFile.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

FakeModem::FakeModem(FakeModemOptions options)
{
    m_behaviour.Settings() = options.settings;
    if (options.overlayPath.empty())
        options.overlayPath = OverlayFile::DefaultPath();
    m_overlay = std::make_unique<OverlayFile>(options.overlayPath, options.comName, options.description);
    m_pty = std::make_unique<ModemPty>();
    m_overlay->Present(m_pty->SlavePath());
    m_transcript.Add(Transcript::Direction::Note, "plugged in as " + m_overlay->ComName() + " on " + m_pty->SlavePath());
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0)
        throw std::runtime_error("cannot create the simulated modem's wake-up event");
    m_thread = std::thread([this] { Run(); });
}

FakeModem::~FakeModem()
{
    Stop();
    close(m_wakeFd);
}

void FakeModem::Stop()
{
    {
        std::lock_guard guard(m_lock);
        if (m_stopped)
            return;
        m_stopped = true;
        m_stopping = true;
    }
    Wake();
    m_thread.join();
    std::lock_guard guard(m_lock);
    m_pty.reset();
    m_overlay->Withdraw();
    m_changed.notify_all();
}

std::string FakeModem::OverlayPath() const
{
    std::lock_guard guard(m_lock);
    return m_overlay->Path();
}

std::string FakeModem::ComName() const
{
    std::lock_guard guard(m_lock);
    return m_overlay->ComName();
}

std::string FakeModem::DevicePath() const
{
    std::lock_guard guard(m_lock);
    return m_pty ? m_pty->SlavePath() : std::string();
}

void FakeModem::Run()
{
    while (true) {
        {
            std::lock_guard guard(m_lock);
            if (m_stopping)
                return;
        }
        PollOnce();
    }
}

void FakeModem::PollOnce()
{
    pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {-1, 0, 0}};
    int timeout = -1;
    {
        std::lock_guard guard(m_lock);
        if (m_pty)
            fds[1] = {m_pty->MasterFd(), static_cast<short>(POLLIN | (m_output.empty() ? 0 : POLLOUT)), 0};
        if (const auto due = m_behaviour.NextDue()) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - ModemClock::now());
            timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
        }
    }
    // Only this thread closes the line (Plug and Unplug are carried out here), so the descriptor
    // polled is never one closed meanwhile.
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) {
        std::lock_guard guard(m_lock);
        m_transcript.Add(Transcript::Direction::Note, "cannot wait for the line any more; the modem stops");
        m_stopping = true;
        m_changed.notify_all();
        return;
    }
    if (fds[0].revents & POLLIN) {
        eventfd_t count = 0;
        eventfd_read(m_wakeFd, &count);
    }
    std::lock_guard guard(m_lock);
    if (fds[1].revents & POLLIN)
        ReadFromHost();
    ModemEvents events;
    m_behaviour.RunDue(ModemClock::now(), events);
    Handle(events);
    if (m_request != Request::None)
        CarryOut(m_request);
    m_changed.notify_all();
}

void FakeModem::ReadFromHost()
{
    char buffer[4096];
    while (m_pty) {
        const ssize_t got = read(m_pty->MasterFd(), buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        ModemEvents events;
        m_behaviour.Receive(std::string_view(buffer, static_cast<std::size_t>(got)), ModemClock::now(), events);
        Handle(events);
    }
}

void FakeModem::Handle(ModemEvents& events)
{
    for (auto& event : events) {
        switch (event.kind) {
        case ModemEvent::Kind::Command:
            m_transcript.Add(Transcript::Direction::FromHost, event.bytes + "\r");
            m_received.push_back(std::move(event));
            break;
        case ModemEvent::Kind::SmsText:
            m_transcript.Add(Transcript::Direction::FromHost, event.bytes + "\x1a");
            m_received.push_back(std::move(event));
            break;
        case ModemEvent::Kind::Data:
            m_transcript.Add(Transcript::Direction::Note,
                             "carried " + std::to_string(event.bytes.size()) + " bytes of data to the far end");
            break;
        case ModemEvent::Kind::Reply:
            if (m_pty)
                m_output.push_back(std::move(event.bytes));
            else
                m_transcript.Add(Transcript::Direction::Note, "unplugged, not sent: " + ModemReplies::Printable(event.bytes));
            break;
        }
    }
    events.clear();
    Flush();
}

void FakeModem::Flush()
{
    // One write per burst; only a line that is full (the host not reading) splits one.
    while (m_pty && !m_output.empty()) {
        std::string& burst = m_output.front();
        const std::size_t written = m_pty->WriteSome(burst);
        if (written == 0)
            return;
        m_transcript.Add(Transcript::Direction::ToHost, std::string_view(burst).substr(0, written));
        if (written < burst.size()) {
            burst.erase(0, written);
            return;
        }
        m_output.pop_front();
    }
}

void FakeModem::Wake() const
{
    eventfd_write(m_wakeFd, 1);
}

void FakeModem::CarryOut(Request request)
{
    m_request = Request::None;
    try {
        if (request == Request::Unplug && m_pty) {
            m_overlay->Withdraw();
            m_pty.reset();
            m_output.clear();
            m_behaviour.PowerCycle();
            m_transcript.Add(Transcript::Direction::Note, "unplugged");
        } else if (request == Request::Plug && !m_pty) {
            auto pty = std::make_unique<ModemPty>();
            m_overlay->Present(pty->SlavePath());
            m_pty = std::move(pty);
            m_transcript.Add(Transcript::Direction::Note, "plugged in as " + m_overlay->ComName() + " on " + m_pty->SlavePath());
        }
    } catch (...) {
        m_requestError = std::current_exception();
    }
}

void FakeModem::Await(Request request)
{
    std::unique_lock guard(m_lock);
    if (m_stopping)
        return;
    m_request = request;
    m_requestError = nullptr;
    Wake();
    m_changed.wait(guard, [&] { return m_request == Request::None || m_stopping; });
    if (m_requestError)
        std::rethrow_exception(std::exchange(m_requestError, nullptr));
}

void FakeModem::Unplug()
{
    Await(Request::Unplug);
}

void FakeModem::Plug()
{
    Await(Request::Plug);
}

void FakeModem::SetSignal(int value)
{
    if (!IsSignalValue(value))
        throw std::invalid_argument("a signal value is 0 to 31, or 99, not " + std::to_string(value));
    std::lock_guard guard(m_lock);
    m_behaviour.Settings().signal = value;
}

void FakeModem::SetDialOutcome(DialOutcome outcome, std::chrono::milliseconds delay)
{
    std::lock_guard guard(m_lock);
    m_behaviour.Settings().dialOutcome = outcome;
    m_behaviour.Settings().dialDelay = delay;
}

void FakeModem::SetSmsOutcome(SmsOutcome outcome, int cmsErrorCode)
{
    std::lock_guard guard(m_lock);
    m_behaviour.Settings().smsOutcome = outcome;
    m_behaviour.Settings().cmsErrorCode = cmsErrorCode;
}

void FakeModem::SetSmsDelay(std::chrono::milliseconds delay)
{
    std::lock_guard guard(m_lock);
    m_behaviour.Settings().smsDelay = delay;
}

void FakeModem::SetRingInterval(std::chrono::milliseconds interval)
{
    std::lock_guard guard(m_lock);
    m_behaviour.Settings().ringInterval = interval;
}

void FakeModem::OverrideReply(const std::string& prefix, const std::string& reply)
{
    std::lock_guard guard(m_lock);
    m_behaviour.OverrideReply(prefix, reply);
}

void FakeModem::ClearOverrides()
{
    std::lock_guard guard(m_lock);
    m_behaviour.ClearOverrides();
}

void FakeModem::Inject(const std::function<void(ModemEvents&)>& action)
{
    std::lock_guard guard(m_lock);
    ModemEvents events;
    action(events);
    Handle(events);
    Wake(); // the thread waits for what may now be scheduled, or for a line that was full
    m_changed.notify_all();
}

void FakeModem::Ring(const std::string& callerNumber)
{
    Inject([&](ModemEvents& events) { m_behaviour.Ring(callerNumber, ModemClock::now(), events); });
}

void FakeModem::NoCarrier()
{
    Inject([&](ModemEvents& events) { m_behaviour.DropCall(events); });
}

void FakeModem::DeliverSms(const std::string& number, const std::string& text)
{
    const std::string timestamp = ModemReplies::SmsTimestampNow();
    Inject([&](ModemEvents& events) { m_behaviour.DeliverSms(number, text, timestamp, events); });
}

void FakeModem::ConfirmSmsLate()
{
    Inject([&](ModemEvents& events) { m_behaviour.ConfirmSmsLate(events); });
}

void FakeModem::Send(const std::string& bytes)
{
    Inject([&](ModemEvents& events) { events.push_back({ModemEvent::Kind::Reply, bytes}); });
}

std::string FakeModem::ExpectCommand(std::string_view prefix, std::chrono::milliseconds timeout)
{
    return Expect(ModemEvent::Kind::Command, prefix, timeout,
                  "a command beginning with \"" + ModemReplies::Printable(prefix) + "\"");
}

std::string FakeModem::ExpectSmsText(std::chrono::milliseconds timeout)
{
    return Expect(ModemEvent::Kind::SmsText, {}, timeout, "an SMS text ended by Ctrl-Z");
}

std::string FakeModem::Expect(ModemEvent::Kind kind, std::string_view prefix, std::chrono::milliseconds timeout,
                              const std::string& what)
{
    std::unique_lock guard(m_lock);
    std::string found;
    const bool matched = m_changed.wait_for(guard, timeout, [&] {
        for (std::size_t index = m_expectCursor; index < m_received.size(); ++index) {
            if (m_received[index].kind == kind && StartsWith(m_received[index].bytes, prefix)) {
                found = m_received[index].bytes;
                m_expectCursor = index + 1;
                return true;
            }
        }
        return false;
    });
    if (!matched)
        throw FakeModemError(Failure(what, timeout));
    return found;
}

void FakeModem::WaitForStatus(const std::function<bool(const ModemStatus&)>& condition, std::string_view what,
                              std::chrono::milliseconds timeout)
{
    std::unique_lock guard(m_lock);
    if (!m_changed.wait_for(guard, timeout, [&] { return condition(m_behaviour.Status()); }))
        throw FakeModemError(Failure(std::string(what), timeout));
}

std::string FakeModem::Failure(const std::string& what, std::chrono::milliseconds timeout) const
{
    return "the simulated modem did not see " + what + " within " + std::to_string(timeout.count()) +
           " ms; transcript:\n" + m_transcript.Text();
}

ModemStatus FakeModem::Status() const
{
    std::lock_guard guard(m_lock);
    return m_behaviour.Status();
}
