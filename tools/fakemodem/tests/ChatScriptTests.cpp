// The dial-up stand-in's own chat script, played against the simulated modem the way chat plays
// it, so that a dial can be tried end to end without chat or a modem.
#include "tools/fakemodem/lib/FakeModem.h"

#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/ras/DialCommand.h"
#include "tests/support/TempDir.h"
#include "tests/support/devices/FakeDevices.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A line of a chat script as words, '' quoting as chat reads it.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (const char c : line) {
        if (c == '\'') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

// chat on the simulated modem's line: waits for each expected text (failing on an ABORT text or
// on a quiet line), then sends its reply and a carriage return.
class ChatPlayer {
public:
    explicit ChatPlayer(HANDLE port) : m_port(port) {}

    // Reads until the line has been quiet for one read's time-out.
    void Drain()
    {
        while (!ReadBlock().empty()) {
        }
    }

    // The text chat would stop with: "" when the script ran to its end, else the abort or
    // "timeout".
    std::string Play(const std::string& script)
    {
        std::istringstream lines(script);
        std::string line;
        while (std::getline(lines, line)) {
            const auto words = Words(line);
            if (words.size() != 2 || words[0] == "TIMEOUT")
                continue;
            if (words[0] == "ABORT") {
                m_aborts.push_back(words[1]);
                continue;
            }
            if (const std::string failure = Expect(words[0]); !failure.empty())
                return failure;
            Send(words[1] + "\r");
        }
        return {};
    }

private:
    std::string Expect(const std::string& text)
    {
        for (int quietReads = 0; !text.empty() && m_heard.find(text) == std::string::npos;) {
            const std::string block = ReadBlock();
            quietReads = block.empty() ? quietReads + 1 : 0;
            if (quietReads == 50)
                return "timeout";
            m_heard += block;
            for (const std::string& abort : m_aborts)
                if (m_heard.find(abort) != std::string::npos)
                    return abort;
        }
        m_heard.erase(0, m_heard.find(text) + text.size());
        return {};
    }

    std::string ReadBlock()
    {
        std::string buffer(2048, '\0');
        OVERLAPPED overlapped{};
        overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        DWORD got = 0;
        if (!ReadFile(m_port, buffer.data(), 2048, &got, &overlapped) && GetLastError() == ERROR_IO_PENDING)
            (void)GetOverlappedResult(m_port, &overlapped, &got, TRUE);
        CloseHandle(overlapped.hEvent);
        buffer.resize(got);
        return buffer;
    }

    void Send(const std::string& bytes)
    {
        OVERLAPPED overlapped{};
        overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        DWORD written = 0;
        if (!WriteFile(m_port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &overlapped) &&
            GetLastError() == ERROR_IO_PENDING)
            (void)GetOverlappedResult(m_port, &overlapped, &written, TRUE);
        CloseHandle(overlapped.hEvent);
    }

    HANDLE m_port;
    std::vector<std::string> m_aborts;
    std::string m_heard;
};

class ChatOnFakeModem : public ::testing::Test {
protected:
    ChatOnFakeModem()
    {
        SetCommLockFolder(m_dir.Path().string());
        ModemSettings settings;
        settings.dialDelay = 100ms;
        m_modem = m_devices.PlugInModem(settings);
        m_port = CreateFileA("\\\\.\\COM12", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
        COMMTIMEOUTS timeouts{50, 0, 100, 0, 0};
        (void)SetCommTimeouts(m_port, &timeouts);
    }
    ~ChatOnFakeModem() override
    {
        if (m_port != INVALID_HANDLE_VALUE)
            CloseHandle(m_port);
        m_modem.reset();
        SetCommLockFolder("");
    }

    TempDir m_dir;
    FakeDevices m_devices;
    std::unique_ptr<FakeModem> m_modem;
    HANDLE m_port = INVALID_HANDLE_VALUE;
};

TEST_F(ChatOnFakeModem, TheDialScriptConnectsOrStopsOnTheFarEndsAnswer)
{
    ASSERT_NE(m_port, INVALID_HANDLE_VALUE) << GetLastError();
    const struct {
        DialOutcome outcome;
        const char* chatEnds;
    } cases[] = {
        {DialOutcome::Answer, ""},
        {DialOutcome::Busy, "NO CARRIER"},
        {DialOutcome::Error, "ERROR"},
    };
    for (const auto& c : cases) {
        m_modem->SetDialOutcome(c.outcome, 100ms);
        EXPECT_EQ(ChatPlayer(m_port).Play(ChatScript("#777")), c.chatEnds) << m_modem->GetTranscript().Text();
        EXPECT_EQ(m_modem->Status().dataMode, c.outcome == DialOutcome::Answer);
        // The far end hangs up, and its NO CARRIER is not left for the next dial to read.
        m_modem->NoCarrier();
        ChatPlayer(m_port).Drain();
    }
    EXPECT_EQ(m_modem->ExpectCommand("ATDT"), "ATDT#777");
}

} // namespace
