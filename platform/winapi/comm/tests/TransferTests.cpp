#include "platform/winapi/comm/tests/SerialTestSupport.h"

#include <sys/syscall.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <set>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST_F(SerialPortTest, OneBurstArrivesAsOneBlock)
{
    OpenWithQuietInterval();
    const std::string reply = "\r\n+CSQ: 21,99\r\n\r\nOK\r\n";
    auto block = std::async(std::launch::async, [&] { return ReadBlock(); });
    m_pty.Write(reply);
    EXPECT_EQ(block.get(), reply);
}

TEST_F(SerialPortTest, BurstsAQuietIntervalApartArriveAsSeparateBlocks)
{
    OpenWithQuietInterval();
    const std::string first = "\r\nRING\r\n";
    const std::string second = "\r\n+CLIP: \"5551234\",129\r\n";
    // The second burst comes only once the first block has ended, however slowly this runs.
    std::promise<void> firstBlockEnded;
    auto writer = std::async(std::launch::async, [&] {
        m_pty.Write(first);
        firstBlockEnded.get_future().wait();
        m_pty.Write(second);
    });
    std::vector<std::string> blocks;
    std::size_t total = 0;
    while (total < first.size() + second.size()) {
        blocks.push_back(ReadBlock());
        total += blocks.back().size();
        if (blocks.size() == 1)
            firstBlockEnded.set_value();
        ASSERT_FALSE(blocks.back().empty());
    }
    writer.get();
    EXPECT_EQ(blocks, (std::vector<std::string>{first, second}));
}

TEST_F(SerialPortTest, AReadEndsAtItsCountAndBufferedBytesCompleteAtOnce)
{
    OpenWithQuietInterval();
    m_pty.Write("0123456789");
    EXPECT_EQ(ReadBlock(4), "0123");
    // The rest is buffered by now or soon; once six bytes are there a read of six completes at once.
    COMSTAT stat{};
    do {
        ASSERT_TRUE(ClearCommError(m_port, nullptr, &stat));
    } while (stat.cbInQue < 6 && (std::this_thread::sleep_for(1ms), true));
    char buffer[6];
    DWORD got = 0;
    Overlapped overlapped;
    ASSERT_TRUE(ReadFile(m_port, buffer, 6, &got, &overlapped));
    EXPECT_EQ(std::string(buffer, got), "456789");
    EXPECT_EQ(WaitForSingleObject(overlapped.hEvent, 0), WAIT_OBJECT_0);
}

TEST_F(SerialPortTest, A64KibWriteCompletesWhileTheFarEndReads)
{
    OpenWithQuietInterval();
    std::string data(64 * 1024, '\0');
    for (std::size_t index = 0; index < data.size(); ++index)
        data[index] = static_cast<char>('A' + index % 26);
    auto farEnd = std::async(std::launch::async, [&] { return m_pty.Read(data.size(), 60s); });
    Overlapped overlapped;
    DWORD written = 0;
    if (!WriteFile(m_port, data.data(), static_cast<DWORD>(data.size()), &written, &overlapped)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_TRUE(GetOverlappedResult(m_port, &overlapped, &written, TRUE));
    }
    EXPECT_EQ(written, data.size());
    EXPECT_EQ(farEnd.get(), data);
}

TEST_F(SerialPortTest, ClosingThePortEndsEveryPendingOperation)
{
    OpenWithQuietInterval();
    ASSERT_TRUE(SetCommMask(m_port, EV_RLSD | EV_ERR | EV_RING));
    Overlapped lineEvent;
    DWORD mask = 0xFFFF;
    ASSERT_FALSE(WaitCommEvent(m_port, &mask, &lineEvent));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);

    Overlapped read;
    char buffer[2048];
    ASSERT_FALSE(ReadFile(m_port, buffer, sizeof(buffer), nullptr, &read));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);

    // Nobody reads the far end, so a large write stays pending.
    const std::string flood(1 << 20, 'x');
    Overlapped write;
    ASSERT_FALSE(WriteFile(m_port, flood.data(), static_cast<DWORD>(flood.size()), nullptr, &write));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);

    const HANDLE waited[] = {lineEvent.hEvent, read.hEvent, write.hEvent};
    EXPECT_EQ(WaitForMultipleObjects(3, waited, FALSE, 0), WAIT_TIMEOUT);
    auto blockedWaiter = std::async(std::launch::async, [&] {
        DWORD got = 0;
        const BOOL result = GetOverlappedResult(m_port, &read, &got, TRUE);
        return std::make_pair(result, GetLastError());
    });
    auto allWaiter = std::async(std::launch::async, [&] { return WaitForMultipleObjects(3, waited, TRUE, LongWait); });

    ASSERT_TRUE(CloseHandle(m_port));
    EXPECT_EQ(allWaiter.get(), WAIT_OBJECT_0);
    const auto [result, error] = blockedWaiter.get();
    EXPECT_FALSE(result);
    EXPECT_EQ(error, ERROR_INVALID_HANDLE);
    for (const OVERLAPPED* overlapped : {&lineEvent, &read, &write})
        EXPECT_EQ(overlapped->Internal, ERROR_INVALID_HANDLE);
    DWORD got = 0;
    EXPECT_FALSE(GetOverlappedResult(m_port, &read, &got, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    m_port = INVALID_HANDLE_VALUE;
}

TEST_F(SerialPortTest, PurgeAbortsPendingReadsAndDropsBufferedBytes)
{
    OpenWithQuietInterval();
    Overlapped read;
    char buffer[16];
    ASSERT_FALSE(ReadFile(m_port, buffer, sizeof(buffer), nullptr, &read));
    ASSERT_TRUE(PurgeComm(m_port, PURGE_RXABORT | PURGE_RXCLEAR));
    DWORD got = 0;
    EXPECT_FALSE(GetOverlappedResult(m_port, &read, &got, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
}

// The ids of this process's threads.
std::set<std::string> ThreadIds()
{
    std::set<std::string> ids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ids.insert(entry.path().filename().string());
    return ids;
}

// Whether the thread sleeps in a poll with no time-out. A thread that spins never sleeps there:
// the kernel shows it as "running" instead.
bool SleepsInAPollForEver(const std::string& threadId)
{
    std::ifstream file("/proc/self/task/" + threadId + "/syscall");
    std::string number, fds, count, timeout;
    if (!(file >> number >> fds >> count >> timeout) || number == "running")
        return false;
#ifdef SYS_poll
    if (std::stol(number) == SYS_poll)
        return static_cast<int>(std::stoul(timeout, nullptr, 16)) == -1;
#endif
    return std::stol(number) == SYS_ppoll && std::stoul(timeout, nullptr, 16) == 0;
}

// Whether `done` holds within a generous bound.
bool Eventually(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST_F(SerialPortTest, AFarEndThatGoesAwayEndsReadsWithAnErrorAndNoSpinning)
{
    const std::set<std::string> before = ThreadIds();
    OpenWithQuietInterval();
    std::set<std::string> portThreads;
    std::ranges::set_difference(ThreadIds(), before, std::inserter(portThreads, portThreads.end()));
    ASSERT_EQ(portThreads.size(), 1u) << "the port's own thread";
    Overlapped read;
    char buffer[2048];
    DWORD got = 0;
    ASSERT_FALSE(ReadFile(m_port, buffer, sizeof(buffer), &got, &read));
    m_pty.Write("NO CARRIER\r\n");
    ASSERT_TRUE(GetOverlappedResult(m_port, &read, &got, TRUE));
    EXPECT_EQ(std::string(buffer, got), "NO CARRIER\r\n");

    ASSERT_FALSE(ReadFile(m_port, buffer, sizeof(buffer), &got, &read));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    m_pty.Hangup();
    EXPECT_FALSE(GetOverlappedResult(m_port, &read, &got, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_REMOVED);
    EXPECT_EQ(got, 0u);

    // Nothing keeps polling the dead line, and every later read fails at once.
    EXPECT_TRUE(Eventually([&] { return SleepsInAPollForEver(*portThreads.begin()); }));
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_FALSE(ReadFile(m_port, buffer, sizeof(buffer), &got, &read));
        EXPECT_EQ(GetLastError(), ERROR_DEVICE_REMOVED);
    }
    EXPECT_FALSE(WriteFile(m_port, "AT\r", 3, &got, &read));
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_REMOVED);
}

} // namespace
