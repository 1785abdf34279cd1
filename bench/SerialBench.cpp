// The serial stand-in over a pseudo-terminal: how fast bytes make the round trip through the port
// and an echoing far end, and how long a short modem reply takes to reach a reader.

#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"
#include "tests/support/PseudoTerminal.h"

#include <benchmark/benchmark.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <thread>

namespace {

// The far end: answers every byte it receives with `reply` (or echoes it when reply is empty).
class FarEnd {
public:
    FarEnd(const PseudoTerminal& pty, std::string reply)
        : m_pty(pty)
        , m_reply(std::move(reply))
        , m_stop(eventfd(0, EFD_CLOEXEC))
        , m_thread([this] { Run(); })
    {
    }
    ~FarEnd()
    {
        const std::uint64_t one = 1;
        (void)write(m_stop, &one, sizeof(one));
        m_thread.join();
        close(m_stop);
    }

private:
    void Run()
    {
        char buffer[8192];
        for (;;) {
            pollfd fds[2] = {{m_pty.MasterFd(), POLLIN, 0}, {m_stop, POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 || fds[1].revents)
                return;
            const ssize_t got = read(m_pty.MasterFd(), buffer, sizeof(buffer));
            if (got <= 0)
                return;
            // A reply answers a command's closing carriage return.
            if (m_reply.empty())
                m_pty.Write(std::string_view(buffer, static_cast<std::size_t>(got)));
            else if (std::string_view(buffer, static_cast<std::size_t>(got)).find('\r') != std::string_view::npos)
                m_pty.Write(m_reply);
        }
    }

    const PseudoTerminal& m_pty;
    const std::string m_reply;
    const int m_stop;
    std::thread m_thread;
};

class Port {
public:
    Port(const PseudoTerminal& pty, COMMTIMEOUTS timeouts)
        : m_handle(CreateFileA(pty.SlavePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr))
    {
        if (m_handle == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot open the pseudo-terminal as a port");
        SetCommTimeouts(m_handle, &timeouts);
        m_read.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_write.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~Port()
    {
        CloseHandle(m_handle);
        CloseHandle(m_read.hEvent);
        CloseHandle(m_write.hEvent);
    }

    void Write(const std::string& bytes)
    {
        DWORD done = 0;
        if (!WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &done, &m_write))
            GetOverlappedResult(m_handle, &m_write, &done, TRUE);
    }

    // Reads until `count` bytes have come, in as many blocks as the port's time-outs make.
    void ReadExactly(std::string& buffer, std::size_t count)
    {
        std::size_t total = 0;
        while (total < count) {
            DWORD got = 0;
            if (!ReadFile(m_handle, buffer.data() + total, static_cast<DWORD>(count - total), &got, &m_read)
                && !GetOverlappedResult(m_handle, &m_read, &got, TRUE))
                throw std::runtime_error("read failed");
            total += got;
        }
    }

    // One read of up to the buffer's size; returns how many bytes it brought.
    std::size_t ReadBlock(std::string& buffer)
    {
        DWORD got = 0;
        if (!ReadFile(m_handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got, &m_read)
            && !GetOverlappedResult(m_handle, &m_read, &got, TRUE))
            throw std::runtime_error("read failed");
        return got;
    }

private:
    HANDLE m_handle;
    OVERLAPPED m_read{};
    OVERLAPPED m_write{};
};

void BM_EchoRoundTrip(benchmark::State& state)
{
    const auto blockSize = static_cast<std::size_t>(state.range(0));
    PseudoTerminal pty;
    Port port(pty, COMMTIMEOUTS{0, 0, 0, 0, 0});
    FarEnd farEnd(pty, "");
    const std::string block(blockSize, 'U');
    std::string received(blockSize, '\0');
    for (auto _ : state) {
        port.Write(block);
        port.ReadExactly(received, blockSize);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * blockSize));
}
BENCHMARK(BM_EchoRoundTrip)->Arg(64)->Arg(1024)->Arg(4096)->UseRealTime();

// A command and its 10-byte reply, read with a count of 10: the stand-in's own delay.
void BM_TenByteReply(benchmark::State& state)
{
    PseudoTerminal pty;
    Port port(pty, COMMTIMEOUTS{0, 0, 0, 0, 0});
    FarEnd farEnd(pty, "\r\nOK\r\n1234");
    const std::string command = "AT\r";
    std::string received(10, '\0');
    for (auto _ : state) {
        port.Write(command);
        port.ReadExactly(received, 10);
    }
}
BENCHMARK(BM_TenByteReply)->UseRealTime();

// The same with the manager's time-outs: the reply is one block once the line has been quiet for
// 100 ms, so this measures that interval plus the stand-in's delay.
void BM_TenByteReplyQuietInterval(benchmark::State& state)
{
    PseudoTerminal pty;
    Port port(pty, COMMTIMEOUTS{100, 0, 0, 0, 0});
    FarEnd farEnd(pty, "\r\nOK\r\n1234");
    const std::string command = "AT\r";
    std::string received(2048, '\0');
    for (auto _ : state) {
        port.Write(command);
        if (port.ReadBlock(received) != 10)
            state.SkipWithError("the reply did not come as one block");
    }
}
BENCHMARK(BM_TenByteReplyQuietInterval)->UseRealTime()->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
