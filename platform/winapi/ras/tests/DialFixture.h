#pragma once

#include "platform/winapi/ras/Ras.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"
#include "tests/support/devices/FakeDevices.h"

#include <gtest/gtest.h>

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// What the dial-up service reported through the notifier, from whichever thread it called.
struct DialEvent {
    RASCONNSTATE state;
    DWORD error;
    std::thread::id thread;
    bool operator==(const DialEvent& other) const { return state == other.state && error == other.error; }
};

class DialRecorder {
public:
    static DialRecorder& Instance();
    static void Notifier(UINT unMsg, RASCONNSTATE state, DWORD error);

    void Clear();
    [[nodiscard]] std::vector<DialEvent> Events();
    // Waits (generously) until `done` holds for the events so far.
    bool WaitFor(const std::function<bool(const std::vector<DialEvent>&)>& done);
    // Waits for an event with this state and error.
    bool WaitForEvent(RASCONNSTATE state, DWORD error);
    // Waits for the end of a dial: an error or RASCS_Disconnected.
    bool WaitForEnd();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<DialEvent> m_events;
};

// A fake account and machine for dialling: a phonebook in the user's application data with the
// entry "USB MODEM" on COM7, COM7 mapped to a fake device, the fake pppd and chat scripts as the
// programs, and a fake sysfs root for the interface counters. Hangs up whatever a test dialled.
class DialTest : public ::testing::Test {
protected:
    DialTest();
    ~DialTest() override;

    [[nodiscard]] std::string PhonebookPath() const;
    void WritePhonebook(const std::string& text) const;
    [[nodiscard]] static std::string Entry(const std::string& name, const std::string& port);

    // Dials the entry; the result of RasDialA, the handle in *handle.
    DWORD Dial(const std::string& entry, const std::string& number, const std::string& user,
               const std::string& password, HRASCONN* handle);
    // Dials "USB MODEM" with "#777", "plum" and `password`, expecting RasDialA to accept.
    HRASCONN DialModem(const std::string& password = "plum");

    // The fake pppd's process id, once it has written it.
    [[nodiscard]] pid_t FakePppdPid() const;
    [[nodiscard]] std::string FakePppdFile(const std::string& name) const;
    void WriteCounters(const std::string& interfaceName, std::uint64_t sent, std::uint64_t received) const;

    TempDir m_dir;
    FakeDevices m_devices;
    ScopedEnvironment m_env;
    std::string m_devicePath;
    std::vector<HRASCONN> m_handles;
};

[[nodiscard]] bool ProcessIsGone(pid_t pid);
[[nodiscard]] std::string ErrorText(DWORD code);
