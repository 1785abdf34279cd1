#include "platform/winapi/comm/CommPort.h"

#include "platform/rtl/Trace.h"
#include "platform/winapi/comm/CommSettings.h"
#include "platform/winapi/comm/LineSpeed.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/kernel/Threads.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <string_view>
#include <system_error>

namespace winapi_comm::detail {
namespace {

// Bytes the port holds for reads to come; beyond this it stops taking bytes from the device, so
// that the driver's own buffer and the flow control hold back the sender.
constexpr std::size_t InputCapacity = 64 * 1024;
constexpr std::size_t ReceiveChunk = 4096;
constexpr auto LineCheckPeriod = std::chrono::milliseconds(100);
// Modem traffic is short lines; a bulk transfer is shown by its start, so a trace stays readable.
constexpr std::size_t TracedBytes = 256;

// "rx 5 \"hello\"": the direction, the count and the bytes, escaped, cut after TracedBytes.
std::string DescribeTransfer(const char* direction, const unsigned char* bytes, std::size_t count)
{
    const std::string_view shown(reinterpret_cast<const char*>(bytes), std::min(count, TracedBytes));
    return std::string(direction) + " " + std::to_string(count) + " \"" + TraceEscaped(shown) + "\"" +
           (count > shown.size() ? "..." : "");
}

bool IsAlive(IssuerToken& issuer)
{
    std::lock_guard lock(issuer.mutex);
    return issuer.alive;
}

// The issuer record of the calling thread. It is marked dead as the thread ends, before anyone
// waiting for the thread can free the records its operations would complete into.
std::shared_ptr<IssuerToken> CurrentIssuer()
{
    thread_local std::shared_ptr<IssuerToken> token;
    if (!token) {
        token = std::make_shared<IssuerToken>();
        winapi_kernel::AtThreadExit([issuer = token] {
            std::lock_guard lock(issuer->mutex);
            issuer->alive = false;
        });
    }
    return token;
}

void StoreStatus(LPOVERLAPPED overlapped, DWORD transferred, DWORD error)
{
    overlapped->InternalHigh = transferred;
    std::atomic_ref<ULONG_PTR>(overlapped->Internal).store(error, std::memory_order_release);
}

// Setting a caller's event must not disturb the last error of the thread that happens to do it.
void SetEventKeepingLastError(HANDLE event)
{
    if (!event)
        return;
    const DWORD lastError = GetLastError();
    (void)SetEvent(event);
    SetLastError(lastError);
}

std::optional<CommPort::SteadyClock::time_point> Earlier(std::optional<CommPort::SteadyClock::time_point> a,
                                                         std::optional<CommPort::SteadyClock::time_point> b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return std::min(*a, *b);
}

DWORD OpenError(int errorNumber)
{
    // A device another user holds with TIOCEXCL answers EBUSY: the port is in use.
    return errorNumber == EBUSY ? ERROR_ACCESS_DENIED : Win32ErrorFromErrno(errorNumber);
}

} // namespace

std::shared_ptr<CommPort> CommPort::Open(const std::string& devicePath)
{
    const int fd = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(OpenError(errno));
        return nullptr;
    }
    struct stat info {};
    termios settings{};
    if (fstat(fd, &info) != 0 || !isatty(fd) || tcgetattr(fd, &settings) != 0) {
        close(fd);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto lock = CommLock::Acquire(devicePath, static_cast<unsigned long>(info.st_rdev));
    if (!lock) {
        close(fd);
        return nullptr;
    }
    (void)ioctl(fd, TIOCEXCL);

    DCB dcb = DefaultDcb();
    ReadDcbFromTermios(settings, dcb);
    dcb.BaudRate = LineSpeed(fd);
    if (!IsValidDcb(dcb))
        dcb.BaudRate = DefaultDcb().BaudRate;
    ApplyDcbToTermios(dcb, settings);
    (void)tcsetattr(fd, TCSANOW, &settings);
    (void)SetLineSpeed(fd, dcb.BaudRate);

    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        close(fd);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto port = std::make_shared<CommPort>(PassKey{}, fd, wakeFd, std::move(lock), MakeLineMonitor(fd));
    port->m_dcb = dcb;
    port->m_devicePath = devicePath;
    try {
        port->m_thread = std::thread([raw = port.get()] { raw->IoLoop(); });
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    port->Trace("open");
    return port;
}

CommPort::CommPort(PassKey, int fd, int wakeFd, std::unique_ptr<CommLock> lock, std::unique_ptr<LineMonitor> lines)
    : m_fd(fd)
    , m_wakeFd(wakeFd)
    , m_lock(std::move(lock))
    , m_lines(std::move(lines))
    , m_dcb(DefaultDcb())
    , m_modemBits(m_lines->ModemBits())
    , m_errorCounts(m_lines->ErrorCounts())
{
}

void CommPort::Trace(std::string_view event) const
{
    if (TraceEnabled(TraceChannel::Comm))
        TraceLine(TraceChannel::Comm, m_devicePath + ": " + std::string(event));
}

CommPort::~CommPort()
{
    Close();
}

void CommPort::Close()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return;
        m_closed = true;
        m_closing = true;
        // The handle is gone: whatever still waits on this port learns it the way Win32 tells it.
        FailAll(ERROR_INVALID_HANDLE);
    }
    Wake();
    if (m_thread.joinable())
        m_thread.join();
    Trace("close");
    (void)ioctl(m_fd, TIOCNXCL);
    close(m_fd);
    close(m_wakeFd);
    m_lock.reset();
}

void CommPort::Wake() const
{
    const std::uint64_t one = 1;
    (void)write(m_wakeFd, &one, sizeof(one));
}

CommPort::Operation CommPort::Begin(LPOVERLAPPED overlapped)
{
    overlapped->InternalHigh = 0;
    std::atomic_ref<ULONG_PTR>(overlapped->Internal).store(STATUS_PENDING, std::memory_order_release);
    if (overlapped->hEvent)
        (void)ResetEvent(overlapped->hEvent);
    Unsignal();
    return Operation{overlapped, CurrentIssuer(), 0};
}

BOOL CommPort::FinishNow(const Operation& operation, DWORD error, LPDWORD transferred)
{
    StoreStatus(operation.overlapped, operation.done, error);
    SetEventKeepingLastError(operation.overlapped->hEvent);
    Signal();
    if (transferred)
        *transferred = operation.done;
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

void CommPort::Complete(const Operation& operation, DWORD error, LPDWORD mask, DWORD maskValue)
{
    {
        std::lock_guard issuerLock(operation.issuer->mutex);
        if (!operation.issuer->alive)
            return;
        if (mask)
            *mask = maskValue;
        StoreStatus(operation.overlapped, operation.done, error);
        SetEventKeepingLastError(operation.overlapped->hEvent);
    }
    Signal();
}

void CommPort::FailAll(DWORD error)
{
    for (const auto& read : m_reads)
        Complete(read, error);
    m_reads.clear();
    for (const auto& write : m_writes)
        Complete(write, error);
    m_writes.clear();
    if (m_eventWait) {
        Complete(*m_eventWait, error, m_eventWait->mask, 0);
        m_eventWait.reset();
    }
}

BOOL CommPort::Read(LPVOID buffer, DWORD count, LPDWORD bytesRead, LPOVERLAPPED overlapped)
{
    std::lock_guard lock(m_mutex);
    ReadOperation read;
    static_cast<Operation&>(read) = Begin(overlapped);
    read.buffer = static_cast<unsigned char*>(buffer);
    read.requested = count;
    const auto& timeouts = m_timeouts;
    const auto now = SteadyClock::now();
    if (timeouts.ReadIntervalTimeout == MAXDWORD) {
        read.immediate = timeouts.ReadTotalTimeoutMultiplier == 0 && timeouts.ReadTotalTimeoutConstant == 0;
        read.endOnFirstBytes = timeouts.ReadTotalTimeoutMultiplier == MAXDWORD
            && timeouts.ReadTotalTimeoutConstant != 0 && timeouts.ReadTotalTimeoutConstant != MAXDWORD;
    } else {
        read.intervalMs = timeouts.ReadIntervalTimeout;
    }
    if (read.endOnFirstBytes) {
        read.totalDeadline = now + std::chrono::milliseconds(timeouts.ReadTotalTimeoutConstant);
    } else if (timeouts.ReadTotalTimeoutMultiplier != 0 || timeouts.ReadTotalTimeoutConstant != 0) {
        const auto total = std::uint64_t{timeouts.ReadTotalTimeoutMultiplier} * count + timeouts.ReadTotalTimeoutConstant;
        read.totalDeadline = now + std::chrono::milliseconds(total);
    }
    ServeReads(now);
    if (m_reads.empty()) {
        if (const auto error = ProgressRead(read, now))
            return FinishNow(read, *error, bytesRead);
    }
    m_reads.push_back(std::move(read));
    Wake();
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

BOOL CommPort::Write(LPCVOID buffer, DWORD count, LPDWORD bytesWritten, LPOVERLAPPED overlapped)
{
    std::lock_guard lock(m_mutex);
    WriteOperation write;
    static_cast<Operation&>(write) = Begin(overlapped);
    if (m_vanished)
        return FinishNow(write, ERROR_DEVICE_REMOVED, bytesWritten);
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    write.data.assign(bytes, bytes + count);
    if (m_writes.empty()) {
        if (!WriteSome(write)) {
            MarkVanished();
            return FinishNow(write, ERROR_DEVICE_REMOVED, bytesWritten);
        }
        if (write.done == count) {
            Raise(EV_TXEMPTY);
            return FinishNow(write, ERROR_SUCCESS, bytesWritten);
        }
    }
    if (m_timeouts.WriteTotalTimeoutMultiplier != 0 || m_timeouts.WriteTotalTimeoutConstant != 0) {
        const auto total =
            std::uint64_t{m_timeouts.WriteTotalTimeoutMultiplier} * count + m_timeouts.WriteTotalTimeoutConstant;
        write.totalDeadline = SteadyClock::now() + std::chrono::milliseconds(total);
    }
    m_writes.push_back(std::move(write));
    Wake();
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

BOOL CommPort::WaitEvent(LPDWORD eventMask, LPOVERLAPPED overlapped)
{
    std::lock_guard lock(m_mutex);
    // A wait left behind by a thread that has ended no longer holds the port's one wait.
    if (m_eventWait && !IsAlive(*m_eventWait->issuer))
        m_eventWait.reset();
    if (m_mask == 0 || m_eventWait || !eventMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    EventOperation wait;
    static_cast<Operation&>(wait) = Begin(overlapped);
    wait.mask = eventMask;
    if (m_vanished) {
        *eventMask = 0;
        return FinishNow(wait, ERROR_DEVICE_REMOVED, nullptr);
    }
    if (m_history & m_mask) {
        *eventMask = m_history & m_mask;
        m_history = 0;
        return FinishNow(wait, ERROR_SUCCESS, nullptr);
    }
    m_eventWait = std::move(wait);
    Wake();
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

void CommPort::SetMask(DWORD mask)
{
    std::lock_guard lock(m_mutex);
    m_mask = mask;
    m_history = 0;
    if (m_eventWait) {
        Complete(*m_eventWait, ERROR_SUCCESS, m_eventWait->mask, 0);
        m_eventWait.reset();
    }
    Wake();
}

void CommPort::Purge(DWORD flags)
{
    std::lock_guard lock(m_mutex);
    if (flags & PURGE_TXABORT) {
        for (const auto& write : m_writes)
            Complete(write, ERROR_OPERATION_ABORTED);
        m_writes.clear();
    }
    if (flags & PURGE_RXABORT) {
        for (const auto& read : m_reads)
            Complete(read, ERROR_OPERATION_ABORTED);
        m_reads.clear();
    }
    if (flags & PURGE_TXCLEAR)
        (void)tcflush(m_fd, TCOFLUSH);
    if (flags & PURGE_RXCLEAR) {
        m_input.clear();
        (void)tcflush(m_fd, TCIFLUSH);
    }
    Wake();
}

// The block last accepted (at open, the one read from the device): a pseudo-terminal forces eight
// data bits and no parity whatever it is told, and callers expect back what they set.
BOOL CommPort::GetState(DCB& dcb)
{
    std::lock_guard lock(m_mutex);
    if (m_vanished) {
        SetLastError(ERROR_DEVICE_REMOVED);
        return FALSE;
    }
    dcb = m_dcb;
    return TRUE;
}

BOOL CommPort::SetState(const DCB& dcb)
{
    if (!IsValidDcb(dcb)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(m_mutex);
    termios settings{};
    if (tcgetattr(m_fd, &settings) != 0) {
        SetLastError(m_vanished ? ERROR_DEVICE_REMOVED : Win32ErrorFromErrno(errno));
        return FALSE;
    }
    // The speed first: a rate the device cannot run leaves the line as it was. The other settings
    // are read back after it, so that writing them keeps the new speed.
    if (!SetLineSpeed(m_fd, dcb.BaudRate) || tcgetattr(m_fd, &settings) != 0) {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    ApplyDcbToTermios(dcb, settings);
    if (tcsetattr(m_fd, TCSANOW, &settings) != 0) {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    const DWORD dtr = (dcb.Flags & DCB_DTR_CONTROL_MASK) >> DCB_DTR_CONTROL_SHIFT;
    const DWORD rts = (dcb.Flags & DCB_RTS_CONTROL_MASK) >> DCB_RTS_CONTROL_SHIFT;
    m_lines->SetOutputLines(TIOCM_DTR, dtr != DTR_CONTROL_DISABLE);
    if (rts != RTS_CONTROL_HANDSHAKE)
        m_lines->SetOutputLines(TIOCM_RTS, rts != RTS_CONTROL_DISABLE);
    m_dcb = dcb;
    return TRUE;
}

void CommPort::GetTimeouts(COMMTIMEOUTS& timeouts)
{
    std::lock_guard lock(m_mutex);
    timeouts = m_timeouts;
}

void CommPort::SetTimeouts(const COMMTIMEOUTS& timeouts)
{
    std::lock_guard lock(m_mutex);
    m_timeouts = timeouts;
}

void CommPort::ClearErrors(LPDWORD errors, LPCOMSTAT stat)
{
    std::lock_guard lock(m_mutex);
    RefreshLineErrors();
    if (errors)
        *errors = m_errors;
    m_errors = 0;
    if (!stat)
        return;
    int deviceIn = 0;
    int deviceOut = 0;
    if (m_vanished || ioctl(m_fd, FIONREAD, &deviceIn) != 0)
        deviceIn = 0;
    if (m_vanished || ioctl(m_fd, TIOCOUTQ, &deviceOut) != 0)
        deviceOut = 0;
    std::size_t queuedOut = 0;
    for (const auto& write : m_writes)
        queuedOut += write.data.size() - write.done;
    stat->Flags = 0;
    stat->cbInQue = static_cast<DWORD>(m_input.size() + static_cast<std::size_t>(deviceIn));
    stat->cbOutQue = static_cast<DWORD>(queuedOut + static_cast<std::size_t>(deviceOut));
}

void CommPort::IoLoop()
{
    std::unique_lock lock(m_mutex);
    while (!m_closing) {
        // Once the device has gone, it is left out of the poll: a hung-up terminal reports POLLHUP
        // for ever, and polling it would spin.
        pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {m_vanished ? -1 : m_fd, DeviceEvents(), 0}};
        const int timeoutMs = PollTimeoutMs(SteadyClock::now());
        lock.unlock();
        const int ready = poll(fds, 2, timeoutMs);
        lock.lock();
        if (ready < 0 && errno != EINTR)
            MarkVanished();
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            (void)read(m_wakeFd, &count, sizeof(count));
        }
        if (m_closing)
            break;
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL))
            Receive(fds[1].revents);
        if (fds[1].revents & POLLOUT)
            Send();
        const auto now = SteadyClock::now();
        WatchLines(now);
        ExpireTimers(now);
    }
}

short CommPort::DeviceEvents() const
{
    short events = 0;
    if (m_input.size() < InputCapacity)
        events |= POLLIN;
    if (!m_writes.empty())
        events |= POLLOUT;
    return events;
}

void CommPort::Receive(short pollEvents)
{
    unsigned char chunk[ReceiveChunk];
    const std::size_t room = std::min(sizeof(chunk), InputCapacity - m_input.size());
    ssize_t received = -1;
    int error = EAGAIN;
    if (room > 0) {
        received = read(m_fd, chunk, room);
        error = errno;
    }
    if (received > 0) {
        if (TraceEnabled(TraceChannel::Comm))
            Trace(DescribeTransfer("rx", chunk, static_cast<std::size_t>(received)));
        const bool stripNulls = (m_dcb.Flags & DCB_NULL) != 0;
        DWORD events = 0;
        for (ssize_t index = 0; index < received; ++index) {
            const unsigned char byte = chunk[index];
            if (stripNulls && byte == 0)
                continue;
            m_input.push_back(byte);
            events |= EV_RXCHAR;
            if (m_dcb.EvtChar != 0 && byte == static_cast<unsigned char>(m_dcb.EvtChar))
                events |= EV_RXFLAG;
        }
        Raise(events);
        ServeReads(SteadyClock::now());
        return;
    }
    const bool failed = received == 0 || (error != EAGAIN && error != EINTR);
    if (failed || (pollEvents & (POLLHUP | POLLERR | POLLNVAL)))
        MarkVanished();
}

void CommPort::Send()
{
    while (!m_writes.empty()) {
        auto& write = m_writes.front();
        if (!WriteSome(write)) {
            MarkVanished();
            return;
        }
        if (write.done < write.data.size())
            return;
        Complete(write, ERROR_SUCCESS);
        m_writes.pop_front();
    }
    Raise(EV_TXEMPTY);
}

bool CommPort::WriteSome(WriteOperation& write)
{
    while (write.done < write.data.size()) {
        const ssize_t written = ::write(m_fd, write.data.data() + write.done, write.data.size() - write.done);
        if (written > 0) {
            if (TraceEnabled(TraceChannel::Comm))
                Trace(DescribeTransfer("tx", write.data.data() + write.done, static_cast<std::size_t>(written)));
            write.done += static_cast<DWORD>(written);
            continue;
        }
        return written < 0 && (errno == EAGAIN || errno == EINTR);
    }
    return true;
}

void CommPort::MarkVanished()
{
    if (m_vanished)
        return;
    m_vanished = true;
    Trace("the device has gone");
    for (const auto& write : m_writes)
        Complete(write, ERROR_DEVICE_REMOVED);
    m_writes.clear();
    if (m_eventWait) {
        Complete(*m_eventWait, ERROR_DEVICE_REMOVED, m_eventWait->mask, 0);
        m_eventWait.reset();
    }
    ServeReads(SteadyClock::now());
}

std::optional<DWORD> CommPort::ProgressRead(ReadOperation& read, SteadyClock::time_point now)
{
    const auto take = std::min<std::size_t>(m_input.size(), read.requested - read.done);
    if (take > 0) {
        std::copy_n(m_input.begin(), take, read.buffer + read.done);
        m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(take));
        read.done += static_cast<DWORD>(take);
        read.lastProgress = now;
    }
    if (read.done == read.requested || read.immediate || (read.endOnFirstBytes && read.done > 0))
        return ERROR_SUCCESS;
    // What arrived before the device went is still delivered; only then does the error come.
    if (m_vanished)
        return read.done > 0 ? ERROR_SUCCESS : ERROR_DEVICE_REMOVED;
    return std::nullopt;
}

void CommPort::ServeReads(SteadyClock::time_point now)
{
    while (!m_reads.empty()) {
        std::optional<DWORD> error;
        {
            // Bytes go only into the buffer of a thread that still exists.
            auto& issuer = *m_reads.front().issuer;
            std::lock_guard issuerLock(issuer.mutex);
            if (!issuer.alive) {
                m_reads.pop_front();
                continue;
            }
            error = ProgressRead(m_reads.front(), now);
        }
        if (!error)
            return;
        Complete(m_reads.front(), *error);
        m_reads.pop_front();
    }
}

void CommPort::Raise(DWORD events)
{
    m_history |= events & m_mask;
    if (m_eventWait && m_history) {
        Complete(*m_eventWait, ERROR_SUCCESS, m_eventWait->mask, m_history);
        m_eventWait.reset();
        m_history = 0;
    }
}

bool CommPort::WatchesLines() const
{
    const bool lineEvents = m_modemBits && (m_mask & (EV_CTS | EV_DSR | EV_RLSD | EV_RING));
    const bool errorEvents = m_errorCounts && (m_mask & (EV_ERR | EV_BREAK));
    return !m_vanished && (lineEvents || errorEvents);
}

// Modem lines cannot be polled with the data, so they are sampled; a ring or a carrier change
// lasts far longer than the period.
void CommPort::WatchLines(SteadyClock::time_point now)
{
    if (!WatchesLines() || now < m_nextLineCheck)
        return;
    m_nextLineCheck = now + LineCheckPeriod;
    if (m_modemBits) {
        if (const auto bits = m_lines->ModemBits()) {
            const int changed = *bits ^ *m_modemBits;
            DWORD events = 0;
            if (changed & TIOCM_CTS)
                events |= EV_CTS;
            if (changed & TIOCM_DSR)
                events |= EV_DSR;
            if (changed & TIOCM_CAR)
                events |= EV_RLSD;
            if (*bits & ~*m_modemBits & TIOCM_RNG)
                events |= EV_RING;
            m_modemBits = bits;
            Raise(events);
        }
    }
    RefreshLineErrors();
}

void CommPort::RefreshLineErrors()
{
    if (!m_errorCounts || m_vanished)
        return;
    const auto counts = m_lines->ErrorCounts();
    if (!counts)
        return;
    DWORD errors = 0;
    if (counts->frame != m_errorCounts->frame)
        errors |= CE_FRAME;
    if (counts->overrun != m_errorCounts->overrun)
        errors |= CE_OVERRUN;
    if (counts->parity != m_errorCounts->parity)
        errors |= CE_RXPARITY;
    if (counts->bufferOverrun != m_errorCounts->bufferOverrun)
        errors |= CE_RXOVER;
    if (counts->breaks != m_errorCounts->breaks)
        errors |= CE_BREAK;
    m_errorCounts = counts;
    m_errors |= errors;
    Raise(((errors & ~CE_BREAK) ? EV_ERR : 0) | ((errors & CE_BREAK) ? EV_BREAK : 0));
}

std::optional<CommPort::SteadyClock::time_point> CommPort::ReadDeadline(const ReadOperation& read) const
{
    std::optional<SteadyClock::time_point> interval;
    if (read.intervalMs != 0 && read.done > 0 && read.lastProgress)
        interval = *read.lastProgress + std::chrono::milliseconds(read.intervalMs);
    return Earlier(read.totalDeadline, interval);
}

void CommPort::ExpireTimers(SteadyClock::time_point now)
{
    while (!m_reads.empty()) {
        const auto deadline = ReadDeadline(m_reads.front());
        if (!deadline || *deadline > now)
            break;
        Complete(m_reads.front(), ERROR_SUCCESS);
        m_reads.pop_front();
        ServeReads(now);
    }
    while (!m_writes.empty() && m_writes.front().totalDeadline && *m_writes.front().totalDeadline <= now) {
        Complete(m_writes.front(), ERROR_SUCCESS);
        m_writes.pop_front();
    }
}

int CommPort::PollTimeoutMs(SteadyClock::time_point now) const
{
    std::optional<SteadyClock::time_point> next;
    if (!m_reads.empty())
        next = ReadDeadline(m_reads.front());
    if (!m_writes.empty())
        next = Earlier(next, m_writes.front().totalDeadline);
    if (WatchesLines())
        next = Earlier(next, std::max(now, m_nextLineCheck));
    if (!next)
        return -1;
    if (*next <= now)
        return 0;
    // Rounded up, so that a deadline is never woken for a moment early and polled again at once.
    const auto waitUs = std::chrono::duration_cast<std::chrono::microseconds>(*next - now).count();
    return static_cast<int>(std::min<long long>((waitUs + 999) / 1000, 24 * 3600 * 1000));
}

} // namespace winapi_comm::detail
