#include "platform/winapi/ras/tests/DialFixture.h"

#include <signal.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr auto LongWait = std::chrono::seconds(30);

fs::path SourceFolder()
{
    return fs::path(MODEM_SOURCE_DIR) / "platform" / "winapi" / "ras" / "tests";
}

void CopyProgram(const fs::path& source, const fs::path& target)
{
    fs::create_directories(target.parent_path());
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

void CopyField(char* target, std::size_t size, const std::string& text)
{
    std::strncpy(target, text.c_str(), size - 1);
    target[size - 1] = '\0';
}

} // namespace

DialRecorder& DialRecorder::Instance()
{
    static DialRecorder recorder;
    return recorder;
}

void DialRecorder::Notifier(UINT unMsg, RASCONNSTATE state, DWORD error)
{
    EXPECT_EQ(unMsg, WM_RASDIALEVENT);
    auto& recorder = Instance();
    {
        std::lock_guard lock(recorder.m_mutex);
        recorder.m_events.push_back({state, error, std::this_thread::get_id()});
    }
    recorder.m_changed.notify_all();
}

void DialRecorder::Clear()
{
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

std::vector<DialEvent> DialRecorder::Events()
{
    std::lock_guard lock(m_mutex);
    return m_events;
}

bool DialRecorder::WaitFor(const std::function<bool(const std::vector<DialEvent>&)>& done)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, LongWait, [&] { return done(m_events); });
}

bool DialRecorder::WaitForEvent(RASCONNSTATE state, DWORD error)
{
    return WaitFor([&](const auto& events) {
        for (const auto& event : events)
            if (event.state == state && event.error == error)
                return true;
        return false;
    });
}

bool DialRecorder::WaitForEnd()
{
    return WaitFor([](const auto& events) {
        for (const auto& event : events)
            if (event.error != 0 || event.state == RASCS_Disconnected)
                return true;
        return false;
    });
}

DialTest::DialTest()
{
    DialRecorder::Instance().Clear();
    m_env.Set("HOME", (m_dir / "home").string());
    m_env.Unset("XDG_DATA_HOME");
    m_env.Set("MODEM_SYSTEM_ROOT", (m_dir / "root").string());
    m_env.Set("TMPDIR", (m_dir / "tmp").string());
    m_env.Unset("XDG_RUNTIME_DIR");
    fs::create_directories(m_dir / "tmp");
    CopyProgram(SourceFolder() / "fake-pppd.sh", m_dir / "bin/fake-pppd");
    // A folder name that a shell would split and unquote: the connect option must survive it.
    CopyProgram(SourceFolder() / "fake-chat.sh", m_dir / "bin/it's a $(chat)/fake-chat");
    m_env.Set("MODEM_PPPD", (m_dir / "bin/fake-pppd").string());
    m_env.Set("MODEM_CHAT", (m_dir / "bin/it's a $(chat)/fake-chat").string());
    m_env.Set("FAKE_PPPD_DIR", m_dir.Path().string());
    m_env.Unset("FAKE_PPPD_SCENARIO");
    m_env.Unset("FAKE_CHAT_RESULT");
    m_devicePath = (m_dir / "ttyFAKE0").string();
    m_devices.MapPort("COM7", m_devicePath);
    WritePhonebook("\r\n" + Entry("USB MODEM", "COM7"));
}

DialTest::~DialTest()
{
    for (const auto handle : m_handles)
        (void)RasHangUpA(handle);
}

std::string DialTest::PhonebookPath() const
{
    return (m_dir / "home/.local/share/Microsoft/Network/Connections/Pbk/rasphone.pbk").string();
}

void DialTest::WritePhonebook(const std::string& text) const
{
    fs::create_directories(fs::path(PhonebookPath()).parent_path());
    std::ofstream(PhonebookPath(), std::ios::binary) << text;
}

std::string DialTest::Entry(const std::string& name, const std::string& port)
{
    return "[" + name + "]\r\nEncoding=1\r\nType=1\r\n\r\nMEDIA=serial\r\nPort=" + port +
           "\r\nDevice=Test Modem\r\nConnectBPS=115200\r\n\r\nDEVICE=modem\r\nPhoneNumber=\r\n\r\n";
}

DWORD DialTest::Dial(const std::string& entry, const std::string& number, const std::string& user,
                     const std::string& password, HRASCONN* handle)
{
    RASDIALPARAMSA params{};
    params.dwSize = sizeof params;
    CopyField(params.szEntryName, sizeof params.szEntryName, entry);
    CopyField(params.szPhoneNumber, sizeof params.szPhoneNumber, number);
    CopyField(params.szUserName, sizeof params.szUserName, user);
    CopyField(params.szPassword, sizeof params.szPassword, password);
    *handle = nullptr;
    const DWORD result =
        RasDialA(nullptr, nullptr, &params, 0, reinterpret_cast<LPVOID>(&DialRecorder::Notifier), handle);
    if (result == 0)
        m_handles.push_back(*handle);
    return result;
}

HRASCONN DialTest::DialModem(const std::string& password)
{
    HRASCONN handle = nullptr;
    EXPECT_EQ(Dial("USB MODEM", "#777", "plum", password, &handle), 0u);
    EXPECT_NE(handle, nullptr);
    return handle;
}

pid_t DialTest::FakePppdPid() const
{
    const auto text = m_dir.ReadFile("pid");
    return text.empty() ? 0 : static_cast<pid_t>(std::stol(text));
}

std::string DialTest::FakePppdFile(const std::string& name) const
{
    return m_dir.ReadFile(name);
}

void DialTest::WriteCounters(const std::string& interfaceName, std::uint64_t sent, std::uint64_t received) const
{
    const auto folder = "sys/class/net/" + interfaceName + "/statistics/";
    m_devices.Dir().WriteFile(folder + "tx_bytes", std::to_string(sent) + "\n");
    m_devices.Dir().WriteFile(folder + "rx_bytes", std::to_string(received) + "\n");
}

bool ProcessIsGone(pid_t pid)
{
    // Reaped: the id is free (a zombie would still answer kill with 0).
    return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH;
}

std::string ErrorText(DWORD code)
{
    char text[256] = {};
    return RasGetErrorStringA(code, text, sizeof text) == 0 ? text : "";
}
