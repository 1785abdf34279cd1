#include "platform/winapi/mci/MMSystem.h"

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace {

const std::string SmsTone = std::string(MODEM_SOURCE_DIR) + "/assets/sounds/sms.mid";
const std::string CallTone = std::string(MODEM_SOURCE_DIR) + "/assets/sounds/incall.mid";

// A MIDI file of one note held for about half an hour (the slowest tempo there is), so that a
// play is still going when the test stops it.
std::string EndlessMidi()
{
    const std::string track = std::string("\0\xFF\x51\x03\xFF\xFF\xFF", 7) + std::string("\0\xC0\x00", 3)
                              + std::string("\0\x90\x3C\x40", 4)
                              + std::string("\x82\xF7\x00\x80\x3C\x00", 6) // 48000 ticks later
                              + std::string("\0\xFF\x2F\x00", 4);
    return std::string("MThd\0\0\0\x06\0\0\0\x01\x01\xE0MTrk\0\0\0", 21) + static_cast<char>(track.size()) + track;
}

std::deque<std::pair<WPARAM, LPARAM>> g_notices;

LRESULT SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == MM_MCINOTIFY) {
        g_notices.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class MciTest : public ::testing::Test {
protected:
    MciTest()
    {
        (void)SelectHeadlessDisplay();
        m_environment.Set("MODEM_AUDIO_DRIVER", "null");
        m_environment.Unset("MODEM_SOUNDFONT");
        WNDCLASSA sinkClass{};
        sinkClass.lpfnWndProc = SinkProc;
        sinkClass.lpszClassName = "MciTestSink";
        (void)RegisterClassA(&sinkClass);
        m_window = CreateWindowExA(0, "MciTestSink", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        g_notices.clear();
    }

    ~MciTest() override { (void)DestroyWindow(m_window); }

    // Opens `file`; 0 and the error in `error` when it does not open.
    MCIDEVICEID Open(const std::string& file, MCIERROR* error = nullptr)
    {
        MCI_OPEN_PARMSA open{};
        open.lpstrElementName = file.c_str();
        const MCIERROR result = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
        if (error)
            *error = result;
        return result == 0 ? open.wDeviceID : 0;
    }

    MCIERROR Command(MCIDEVICEID device, UINT command, DWORD flags = 0)
    {
        MCI_PLAY_PARMS parms{};
        parms.dwCallback = reinterpret_cast<DWORD_PTR>(m_window);
        return mciSendCommandA(device, command, flags, reinterpret_cast<DWORD_PTR>(&parms));
    }

    DWORD Mode(MCIDEVICEID device)
    {
        MCI_STATUS_PARMS status{};
        status.dwItem = MCI_STATUS_MODE;
        EXPECT_EQ(mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)), 0u);
        return static_cast<DWORD>(status.dwReturn);
    }

    // The next notification, handling window messages until it comes (at most 20 s: a play
    // renders far faster than it sounds).
    std::optional<WPARAM> NextNotice(MCIDEVICEID device)
    {
        while (g_notices.empty()) {
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 20000, QS_ALLINPUT) == WAIT_TIMEOUT)
                return std::nullopt;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                (void)DispatchMessageA(&msg);
        }
        const auto [flag, from] = g_notices.front();
        g_notices.pop_front();
        EXPECT_EQ(static_cast<MCIDEVICEID>(from), device);
        return flag;
    }

    static std::string ErrorText(MCIERROR error)
    {
        char text[128];
        return mciGetErrorStringA(error, text, sizeof text) ? text : "";
    }

    TempDir m_dir;
    ScopedEnvironment m_environment;
    HWND m_window = nullptr;
};

TEST_F(MciTest, ATonePlaysToItsEndAndAgainAfterARewind)
{
    const MCIDEVICEID device = Open(SmsTone);
    ASSERT_NE(device, 0u);
    EXPECT_EQ(Mode(device), MCI_MODE_STOP);
    ASSERT_EQ(Command(device, MCI_PLAY, MCI_NOTIFY), 0u);
    EXPECT_EQ(NextNotice(device), MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(Mode(device), MCI_MODE_STOP);

    // At its end, a play has nothing left to play.
    ASSERT_EQ(Command(device, MCI_PLAY, MCI_NOTIFY), 0u);
    EXPECT_EQ(NextNotice(device), MCI_NOTIFY_SUCCESSFUL);

    // Rewound, it plays again: the way a ringing call's tone repeats.
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(Command(device, MCI_SEEK, MCI_SEEK_TO_START), 0u);
        ASSERT_EQ(Command(device, MCI_PLAY, MCI_NOTIFY), 0u);
        EXPECT_EQ(NextNotice(device), MCI_NOTIFY_SUCCESSFUL);
    }
    EXPECT_EQ(Command(device, MCI_CLOSE), 0u);
    EXPECT_EQ(Command(device, MCI_CLOSE), MCIERR_INVALID_DEVICE_ID);
}

TEST_F(MciTest, StoppingAPlayAbortsItsNotification)
{
    m_dir.WriteFile("long.mid", EndlessMidi());
    const MCIDEVICEID device = Open((m_dir.Path() / "long.mid").string());
    ASSERT_NE(device, 0u);
    ASSERT_EQ(Command(device, MCI_PLAY, MCI_NOTIFY), 0u);
    EXPECT_EQ(Mode(device), MCI_MODE_PLAY);
    // A second play takes over the first one's notification.
    ASSERT_EQ(Command(device, MCI_PLAY, MCI_NOTIFY), 0u);
    EXPECT_EQ(NextNotice(device), MCI_NOTIFY_SUPERSEDED);
    ASSERT_EQ(Command(device, MCI_STOP), 0u);
    EXPECT_EQ(NextNotice(device), MCI_NOTIFY_ABORTED);
    EXPECT_EQ(Mode(device), MCI_MODE_STOP);
    // Closing a playing device stops it.
    ASSERT_EQ(Command(device, MCI_PLAY), 0u);
    EXPECT_EQ(Command(device, MCI_CLOSE), 0u);
}

TEST_F(MciTest, TheFileOutputHoldsTheTone)
{
    const auto wave = m_dir.Path() / "tone.wav";
    m_environment.Set("MODEM_AUDIO_DRIVER", "file:" + wave.string());
    const MCIDEVICEID device = Open(CallTone);
    ASSERT_NE(device, 0u);
    ASSERT_EQ(Command(device, MCI_PLAY, MCI_NOTIFY), 0u);
    EXPECT_EQ(NextNotice(device), MCI_NOTIFY_SUCCESSFUL);
    ASSERT_EQ(Command(device, MCI_CLOSE), 0u);
    std::ifstream file(wave, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const std::string data = bytes.str();
    ASSERT_GT(data.size(), 44u);
    EXPECT_EQ(data.substr(0, 4), "RIFF");
    // Sound, not silence: the tone is over 4 s long at 44.1 kHz.
    EXPECT_GT(data.size(), 44100u * 4 * 2);
    EXPECT_NE(data.find_first_not_of('\0', 44), std::string::npos);
}

TEST_F(MciTest, WhatCannotBePlayedIsRefusedWithItsReason)
{
    m_dir.WriteFile("text.mid", "not a MIDI file at all");
    m_dir.WriteFile("tone.wav", "RIFF");
    struct Case {
        std::string file;
        std::string driver;
        std::string soundFont;
        MCIERROR error;
    };
    const Case cases[] = {
        {(m_dir.Path() / "missing.mid").string(), "null", "", MCIERR_FILE_NOT_FOUND},
        {(m_dir.Path() / "text.mid").string(), "null", "", MCIERR_INVALID_FILE},
        {(m_dir.Path() / "tone.wav").string(), "null", "", MCIERR_INVALID_FILE},
        {SmsTone, "null", (m_dir.Path() / "missing.sf2").string(), MCIERR_SEQ_NOMIDIPRESENT},
        {SmsTone, "null", (m_dir.Path() / "text.mid").string(), MCIERR_SEQ_NOMIDIPRESENT},
        {SmsTone, "no-such-driver", "", MCIERR_HARDWARE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + c.driver + " " + c.soundFont);
        m_environment.Set("MODEM_AUDIO_DRIVER", c.driver);
        if (c.soundFont.empty())
            m_environment.Unset("MODEM_SOUNDFONT");
        else
            m_environment.Set("MODEM_SOUNDFONT", c.soundFont);
        MCIERROR error = 0;
        EXPECT_EQ(Open(c.file, &error), 0u);
        EXPECT_EQ(error, c.error);
        EXPECT_FALSE(ErrorText(error).empty());
    }
    EXPECT_EQ(Command(12345, MCI_PLAY), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(ErrorText(12345), "");
}

} // namespace
