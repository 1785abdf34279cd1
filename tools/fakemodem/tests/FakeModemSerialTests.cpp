#include "tools/fakemodem/lib/FakeModem.h"

#include "tests/support/devices/FakeDevices.h"
#include "tools/fakemodem/lib/ConsoleCommands.h"

#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/devices/ComPorts.h"
#include "platform/winapi/devices/WinReg.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr DWORD LongWait = 60'000;
const char* const SerialComm = "hardware\\devicemap\\serialcomm";
const char* const ModemInstances = "system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_00\\";

struct Overlapped : OVERLAPPED {
    Overlapped()
        : OVERLAPPED{}
    {
        hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~Overlapped() { CloseHandle(hEvent); }
    Overlapped(const Overlapped&) = delete;
    Overlapped& operator=(const Overlapped&) = delete;
};

// The values of a registry key, or nothing when it cannot be opened.
std::optional<std::map<std::string, std::string>> KeyValues(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::map<std::string, std::string> values;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof(name);
        BYTE data[512];
        DWORD dataLength = sizeof(data);
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, data, &dataLength) != ERROR_SUCCESS)
            break;
        values[std::string(name, nameLength)] = std::string(reinterpret_cast<char*>(data)).c_str();
    }
    RegCloseKey(key);
    return values;
}

std::vector<std::string> SubKeys(const std::string& path)
{
    HKEY key = nullptr;
    std::vector<std::string> names;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

// The simulated modem found and opened the way the manager does it: its overlay named to the
// device view, the port opened by COM name with the manager's time-outs (a read ends after
// 100 ms of quiet). Nothing of the machine's own USB devices takes part.
class FakeModemOnSerialPort : public ::testing::Test {
protected:
    FakeModemOnSerialPort()
    {
        SetCommLockFolder(m_dir.Path().string());
        ModemSettings settings;
        settings.dialDelay = 200ms;
        m_modem = m_devices.PlugInModem(settings);
    }
    ~FakeModemOnSerialPort() override
    {
        if (m_port != INVALID_HANDLE_VALUE)
            CloseHandle(m_port);
        m_modem.reset();
        SetCommLockFolder("");
    }

    void OpenPort()
    {
        m_port = CreateFileA("\\\\.\\COM12", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(m_port, INVALID_HANDLE_VALUE) << GetLastError();
        COMMTIMEOUTS timeouts{100, 0, 0, 0, 0};
        ASSERT_TRUE(SetCommTimeouts(m_port, &timeouts));
    }

    void Write(const std::string& bytes)
    {
        Overlapped overlapped;
        DWORD written = 0;
        if (!WriteFile(m_port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &overlapped)) {
            ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
            ASSERT_TRUE(GetOverlappedResult(m_port, &overlapped, &written, TRUE));
        }
        ASSERT_EQ(written, bytes.size());
    }

    // One read as the manager's reader issues it: the block the quiet interval ends.
    std::string ReadBlock()
    {
        std::string buffer(2048, '\0');
        Overlapped overlapped;
        DWORD got = 0;
        if (!ReadFile(m_port, buffer.data(), 2048, &got, &overlapped)) {
            EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
            EXPECT_EQ(WaitForSingleObject(overlapped.hEvent, LongWait), WAIT_OBJECT_0) << Transcript();
            EXPECT_TRUE(GetOverlappedResult(m_port, &overlapped, &got, FALSE)) << GetLastError();
        }
        buffer.resize(got);
        return buffer;
    }

    // Sends a command and returns the block that answers it.
    std::string Exchange(const std::string& command)
    {
        Write(command);
        return ReadBlock();
    }

    std::string Transcript() { return m_modem->GetTranscript().Text(); }

    TempDir m_dir;
    FakeDevices m_devices;
    std::unique_ptr<FakeModem> m_modem;
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

TEST_F(FakeModemOnSerialPort, IsListedInTheRegistryAsTheManagerReadsIt)
{
    EXPECT_EQ(ComPortDevicePath("COM12"), m_modem->DevicePath());
    const auto serialComm = KeyValues(SerialComm);
    ASSERT_TRUE(serialComm);
    ASSERT_EQ(serialComm->size(), 1u);
    const auto& [name, port] = *serialComm->begin();
    // The manager keeps a value whose lower-cased name has "qcusb" at characters 9 to 13.
    ASSERT_GE(name.size(), 13u);
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower.substr(8, 5), "qcusb") << name;
    EXPECT_EQ(port, "COM12");

    const auto instances = SubKeys(ModemInstances);
    ASSERT_EQ(instances.size(), 1u);
    const auto parameters = KeyValues(ModemInstances + instances[0] + "\\Device Parameters");
    ASSERT_TRUE(parameters);
    EXPECT_EQ(parameters->at("PortName"), "COM12");
    const auto instance = KeyValues(ModemInstances + instances[0]);
    ASSERT_TRUE(instance);
    EXPECT_EQ(instance->at("FriendlyName"), "Simulated CDMA USB Modem (COM12)");
}

TEST_F(FakeModemOnSerialPort, EachReplyArrivesAsOneBlockWithItsExactBytes)
{
    OpenPort();
    m_modem->SetSignal(7);
    EXPECT_EQ(Exchange("ATE0\r\n"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(Exchange("AT+CSQ\r\n"), "\r\n7,99\r\n\r\nOK\r\n");
    m_modem->SetSignal(25);
    EXPECT_EQ(Exchange("AT+CSQ\r\n"), "\r\n25,99\r\n\r\nOK\r\n");
    EXPECT_EQ(Exchange("AT$QCNMI=1,2,0\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(Exchange("AT+CMUT=1\r"), "\r\nOK\r\n");
    EXPECT_EQ(Exchange("AT+FOO\r"), "\r\nERROR\r\n");
    EXPECT_EQ(Exchange("ATE1\r"), "\r\nOK\r\n");
    EXPECT_EQ(Exchange("AT+CLVL=12\r"), "AT+CLVL=12\r\r\nOK\r\n");
    EXPECT_EQ(m_modem->ExpectCommand("AT+CSQ"), "AT+CSQ");
    EXPECT_EQ(m_modem->ExpectCommand("AT+CLVL="), "AT+CLVL=12");
    const auto status = m_modem->Status();
    EXPECT_TRUE(status.messageRouting);
    EXPECT_TRUE(status.muted);
    EXPECT_EQ(status.volume, 12);
}

TEST_F(FakeModemOnSerialPort, ADialIsAnsweredAfterItsDelayInABlockOfItsOwn)
{
    OpenPort();
    Exchange("ATE0\r\n");
    Write("AT+CDV5551234\r");
    EXPECT_EQ(ReadBlock(), "\r\nOK\r\n");
    EXPECT_EQ(m_modem->Status().call, CallState::Active);
    EXPECT_EQ(Exchange("AT+VTS=7\r"), "\r\nOK\r\n");
    m_modem->NoCarrier();
    EXPECT_EQ(ReadBlock(), "\r\nNO CARRIER\r\n");
}

TEST_F(FakeModemOnSerialPort, ADataCallGoesAsAChatScriptExpectsAndCarriesTheLine)
{
    // What a dialler's chat script sends and waits for: '' AT, OK ATDT#777, CONNECT.
    OpenPort();
    EXPECT_EQ(Exchange("AT\r"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(Exchange("ATDT#777\r"), "ATDT#777\r");
    EXPECT_EQ(ReadBlock(), "\r\nCONNECT\r\n");
    // pppd's first frame is carried to the far end, not answered.
    const std::string frame = "\x7e\xff\x7d\x23\xc0\x21\x7d\x21\x7e";
    Write(frame);
    m_modem->WaitForStatus([&](const ModemStatus& status) { return status.dataBytes == frame.size(); },
                           "the frame carried");
    EXPECT_TRUE(m_modem->Status().dataMode);
    m_modem->NoCarrier();
    EXPECT_EQ(ReadBlock(), "\r\nNO CARRIER\r\n");
    EXPECT_EQ(Exchange("AT\r"), "AT\r\r\nOK\r\n");
    EXPECT_NE(Transcript().find("carried 9 bytes of data"), std::string::npos) << Transcript();
}

TEST_F(FakeModemOnSerialPort, ASignalValueAtCsqCannotReportIsRefused)
{
    OpenPort();
    Exchange("ATE0\r");
    for (const int value : {0, 31, 99})
        EXPECT_NO_THROW(m_modem->SetSignal(value)) << value;
    for (const int value : {-1, 32, 50, 98, 100})
        EXPECT_THROW(m_modem->SetSignal(value), std::invalid_argument) << value;
    std::ostringstream out;
    (void)RunConsoleCommand(*m_modem, "signal 31", out);
    EXPECT_EQ(out.str(), "");
    (void)RunConsoleCommand(*m_modem, "signal 50", out);
    EXPECT_EQ(out.str(), "usage: signal <0..31|99>\n");
    EXPECT_EQ(Exchange("AT+CSQ\r"), "\r\n31,99\r\n\r\nOK\r\n");
}

TEST_F(FakeModemOnSerialPort, AnSmsIsSentWithPromptTextAndConfirmation)
{
    OpenPort();
    Exchange("ATE0\r\n");
    // The manager's split write: the command line, a pause in which the prompt comes, the text.
    EXPECT_EQ(Exchange("AT$QCMGS=\"5551234\"\r"), "\r\n> ");
    EXPECT_EQ(Exchange("Hello, world\x1a"), "\r\n$QCMGS: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(m_modem->ExpectCommand("AT$QCMGS="), "AT$QCMGS=\"5551234\"");
    EXPECT_EQ(m_modem->ExpectSmsText(), "Hello, world");
    EXPECT_EQ(m_modem->Status().sentMessages, (std::vector<SentSms>{{"5551234", "Hello, world"}}));

    m_modem->SetSmsOutcome(SmsOutcome::CmsError, 515);
    EXPECT_EQ(Exchange("AT$QCMGS=\"5550000\"\r"), "\r\n> ");
    EXPECT_EQ(Exchange("Not this one\x1a"), "\r\n+CMS ERROR: 515\r\n");
    EXPECT_EQ(m_modem->Status().sentMessages.size(), 1u);

    m_modem->SetSmsOutcome(SmsOutcome::NoConfirmation);
    EXPECT_EQ(Exchange("AT$QCMGS=\"5550000\"\r"), "\r\n> ");
    Write("Later\x1a");
    m_modem->ExpectSmsText();
    m_modem->ConfirmSmsLate();
    EXPECT_EQ(ReadBlock(), "\r\n$QCMGS: 2\r\n\r\nOK\r\n");
}

TEST_F(FakeModemOnSerialPort, ARingIsFollowedByTheCallersNumberAndAnAnswer)
{
    OpenPort();
    Exchange("ATE0\r\n");
    m_modem->Ring("5551234");
    EXPECT_EQ(ReadBlock(), "\r\nRING\r\n");
    EXPECT_EQ(Exchange("AT+CLCC\r"), "\r\n+CLCC: 1,1,4,0,0,\"5551234\",129\r\n\r\nOK\r\n");
    EXPECT_EQ(Exchange("AT$QCCAV\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(Exchange("AT$QCCHV\r"), "\r\nOK\r\n");
    m_modem->DeliverSms("5551234", "Call me");
    const std::string notice = ReadBlock();
    const std::string head = "\r\n$QCMT: \"REC UNREAD\",\"5551234\",\"";
    const std::string tail = "+00\",7\r\nCall me\r\n";
    ASSERT_GT(notice.size(), head.size() + tail.size()) << notice;
    EXPECT_EQ(notice.substr(0, head.size()), head);
    EXPECT_EQ(notice.substr(notice.size() - tail.size()), tail);
}

TEST_F(FakeModemOnSerialPort, UnplugRemovesTheModemAndEndsThePendingReadAndPlugBringsItBack)
{
    OpenPort();
    char buffer[64];
    Overlapped overlapped;
    DWORD got = 0;
    ASSERT_FALSE(ReadFile(m_port, buffer, sizeof(buffer), &got, &overlapped));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);

    m_modem->Unplug();
    ASSERT_EQ(WaitForSingleObject(overlapped.hEvent, LongWait), WAIT_OBJECT_0);
    EXPECT_FALSE(GetOverlappedResult(m_port, &overlapped, &got, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_REMOVED);
    EXPECT_FALSE(ComPortDevicePath("COM12"));
    EXPECT_TRUE(KeyValues(SerialComm).value_or(std::map<std::string, std::string>{}).empty());
    EXPECT_TRUE(SubKeys(ModemInstances).empty());
    EXPECT_TRUE(m_modem->DevicePath().empty());
    CloseHandle(m_port);
    m_port = INVALID_HANDLE_VALUE;

    m_modem->Plug();
    ASSERT_FALSE(m_modem->DevicePath().empty());
    EXPECT_EQ(ComPortDevicePath("COM12"), m_modem->DevicePath());
    OpenPort();
    // Powered on afresh: echo is on again.
    EXPECT_EQ(Exchange("AT\r"), "AT\r\r\nOK\r\n");
}

TEST_F(FakeModemOnSerialPort, StoppingRemovesTheOverlay)
{
    const std::string overlay = m_modem->OverlayPath();
    EXPECT_TRUE(std::filesystem::exists(overlay));
    m_modem->Stop();
    EXPECT_FALSE(std::filesystem::exists(overlay));
    EXPECT_FALSE(ComPortDevicePath("COM12"));
}

TEST_F(FakeModemOnSerialPort, AnExpectationNotMetSaysWhatWasAwaitedAndShowsTheTranscript)
{
    OpenPort();
    Exchange("AT+CSQ\r\n");
    try {
        m_modem->ExpectCommand("AT+CLCC", 200ms);
        FAIL() << "expected a failure";
    } catch (const FakeModemError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("a command beginning with \"AT+CLCC\" within 200 ms"), std::string::npos) << message;
        EXPECT_NE(message.find("<- AT+CSQ\\r"), std::string::npos) << message;
        EXPECT_NE(message.find("-> AT+CSQ\\r\\r\\n21,99\\r\\n\\r\\nOK\\r\\n"), std::string::npos) << message;
    }
}

} // namespace
