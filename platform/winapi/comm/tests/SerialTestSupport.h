#pragma once

#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

constexpr DWORD LongWait = 60'000;

// An OVERLAPPED with its own manual-reset event.
struct Overlapped : OVERLAPPED {
    Overlapped()
        : OVERLAPPED{}
    {
        hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    }
    ~Overlapped() { CloseHandle(hEvent); }
    Overlapped(const Overlapped&) = delete;
    Overlapped& operator=(const Overlapped&) = delete;
};

// A pseudo-terminal presented as COM7 through a device overlay, with lock files kept in a
// temporary folder.
class SerialPortTest : public ::testing::Test {
protected:
    SerialPortTest()
    {
        m_overlay = m_dir.WriteFile("overlay.ini", "[ports]\nCOM7=" + m_pty.SlavePath() + "\n");
        m_env.Set("MODEM_DEVICE_OVERLAY", m_overlay.string());
        SetCommLockFolder(m_dir.Path().string());
    }
    ~SerialPortTest() override
    {
        if (m_port != INVALID_HANDLE_VALUE)
            CloseHandle(m_port);
        SetCommLockFolder("");
    }

    static HANDLE OpenPort(const char* name)
    {
        return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                           nullptr);
    }

    // Opens COM7 with the manager's time-outs: a read ends after 100 ms of quiet.
    void OpenWithQuietInterval()
    {
        m_port = OpenPort("\\\\.\\COM7");
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE) << GetLastError();
        COMMTIMEOUTS timeouts{100, 0, 0, 0, 0};
        ASSERT_TRUE(SetCommTimeouts(m_port, &timeouts));
    }

    // Issues a read of up to `count` bytes and waits for it; returns what it got.
    std::string ReadBlock(DWORD count = 2048)
    {
        std::string buffer(count, '\0');
        Overlapped overlapped;
        DWORD got = 0;
        if (!ReadFile(m_port, buffer.data(), count, &got, &overlapped)) {
            EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
            EXPECT_TRUE(GetOverlappedResult(m_port, &overlapped, &got, TRUE)) << GetLastError();
        }
        buffer.resize(got);
        return buffer;
    }

    TempDir m_dir;
    ScopedEnvironment m_env;
    PseudoTerminal m_pty;
    std::filesystem::path m_overlay;
    HANDLE m_port = INVALID_HANDLE_VALUE;
};
