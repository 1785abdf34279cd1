#include "modem/store/RingTones.h"

#include "platform/classlib/forms/MPlayer.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace {

class RingTonesTest : public ::testing::Test {
protected:
    RingTonesTest()
    {
        m_environment.Set("MODEM_AUDIO_DRIVER", "null");
        m_environment.Unset("MODEM_SOUNDFONT");
        // The short tone stands in for both, so that a loop goes round quickly.
        for (const char* name : {"sms.mid", "incall.mid"})
            std::filesystem::copy_file(std::filesystem::path(MODEM_SOURCE_DIR) / "assets/sounds/sms.mid",
                                       m_dir.Path() / name);
        m_player.SetOnNotify(TNotifyEvent::FromFunction([this](TObject* sender) {
            if (m_player.NotifyValue() == nvSuccessful && m_player.Mode() == mpStopped)
                ++m_ends;
            m_tones.MediaPlayerNotify(sender);
        }));
    }

    // Handles messages until `done` holds (at most 20 s without a message).
    void AwaitUntil(const std::function<bool()>& done)
    {
        while (!done()) {
            MSG msg;
            while (!done() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                (void)DispatchMessageA(&msg);
            if (!done()) {
                ASSERT_NE(MsgWaitForMultipleObjects(0, nullptr, FALSE, 20000, QS_ALLINPUT), WAIT_TIMEOUT);
            }
        }
    }

    void DrainMessages()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            (void)DispatchMessageA(&msg);
    }

    // First: the player below makes its window as it is constructed.
    HeadlessDisplay& m_display = SelectHeadlessDisplay();
    TempDir m_dir;
    ScopedEnvironment m_environment;
    TMediaPlayer m_player{nullptr};
    std::vector<std::string> m_reports;
    TRingTones m_tones{m_player, m_dir.Path().string() + "/", [this](const std::string& text) { m_reports.push_back(text); }};
    int m_ends = 0;
};

TEST_F(RingTonesTest, TheCallToneRepeatsUntilStopped)
{
    m_player.SetNotify(true);
    m_tones.MediaPlay("incall.mid");
    AwaitUntil([&] { return m_ends >= 3; });
    m_tones.MediaStop();
    DrainMessages();
    EXPECT_FALSE(m_player.Notify());
    EXPECT_EQ(m_player.Mode(), mpStopped);
    // Whatever was still on its way started nothing new.
    const int ends = m_ends;
    DrainMessages();
    EXPECT_EQ(m_player.Mode(), mpStopped);
    EXPECT_EQ(m_ends, ends);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(RingTonesTest, TonesComeFromTheProgramFolderWhereverItStarted)
{
    // The tests run in another folder: a bare name resolved there would not be found.
    m_tones.MediaPlay("sms.mid");
    EXPECT_EQ(m_player.FileName(), m_dir.Path().string() + "/sms.mid");
    EXPECT_NE(m_player.Mode(), mpNotReady);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(RingTonesTest, AToneThatCannotPlayIsReportedOnceAndIgnored)
{
    m_environment.Set("MODEM_SOUNDFONT", (m_dir.Path() / "none.sf2").string());
    m_player.SetNotify(true);
    for (int tick = 0; tick < 3; ++tick)
        m_tones.MediaPlay("incall.mid");
    m_tones.MediaStop();
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports[0].find("incall.mid"), std::string::npos) << m_reports[0];
    EXPECT_NE(m_reports[0].find("sound font"), std::string::npos) << m_reports[0];

    m_environment.Unset("MODEM_SOUNDFONT");
    m_tones.MediaPlay("missing.mid");
    m_tones.MediaPlay("missing.mid");
    EXPECT_EQ(m_reports.size(), 2u);
    EXPECT_EQ(m_player.Mode(), mpNotReady);
}

} // namespace
