#include "platform/classlib/forms/MPlayer.h"

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Synch.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

const std::string SmsTone = std::string(MODEM_SOURCE_DIR) + "/assets/sounds/sms.mid";

class MediaPlayerTest : public ::testing::Test {
protected:
    MediaPlayerTest()
    {
        (void)SelectHeadlessDisplay();
        m_environment.Set("MODEM_AUDIO_DRIVER", "null");
        m_environment.Unset("MODEM_SOUNDFONT");
        m_player = std::make_unique<TMediaPlayer>(nullptr);
        m_player->SetOnNotify(TNotifyEvent::FromFunction([this](TObject*) {
            m_notices.push_back(m_player->NotifyValue());
            if (m_onNotice)
                m_onNotice();
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

    TempDir m_dir;
    ScopedEnvironment m_environment;
    std::unique_ptr<TMediaPlayer> m_player;
    std::vector<TMPNotifyValues> m_notices;
    std::function<void()> m_onNotice;
};

TEST_F(MediaPlayerTest, APlayReportsItsEndAndRepeatsWhenRewound)
{
    EXPECT_EQ(m_player->Mode(), mpNotReady);
    m_player->SetFileName(SmsTone);
    m_player->Open();
    EXPECT_EQ(m_player->Mode(), mpStopped);
    // Looping as a ringing phone does: each end rewinds and plays again, three plays in all.
    int ended = 0;
    m_onNotice = [&] {
        EXPECT_EQ(m_player->Mode(), mpStopped);
        if (++ended == 3)
            return;
        m_player->SetNotify(false); // only the plays' ends are counted here
        m_player->Rewind();
        m_player->SetNotify(true);
        m_player->Play();
    };
    m_player->SetNotify(true);
    m_player->Play();
    AwaitUntil([&] { return ended == 3; });
    EXPECT_EQ(m_notices, std::vector<TMPNotifyValues>(3, nvSuccessful));
    EXPECT_EQ(m_player->Mode(), mpStopped);
    m_player->Close();
    EXPECT_EQ(m_player->Mode(), mpNotReady);
}

TEST_F(MediaPlayerTest, StopEndsAPlayAsAborted)
{
    // One note held for half an hour at the slowest tempo.
    const std::string track = std::string("\0\xFF\x51\x03\xFF\xFF\xFF\0\x90\x3C\x40\x82\xF7\x00\x80\x3C\x00\0\xFF\x2F\x00", 21);
    m_dir.WriteFile("long.mid", std::string("MThd\0\0\0\x06\0\0\0\x01\x01\xE0MTrk\0\0\0", 21) + static_cast<char>(track.size()) + track);
    m_player->SetFileName((m_dir.Path() / "long.mid").string());
    m_player->Open();
    m_player->SetNotify(true);
    m_player->Play();
    EXPECT_EQ(m_player->Mode(), mpPlaying);
    m_player->SetNotify(false);
    m_player->Stop();
    AwaitUntil([&] { return !m_notices.empty(); });
    EXPECT_EQ(m_notices, std::vector<TMPNotifyValues>{nvAborted});
    EXPECT_EQ(m_player->Mode(), mpStopped);
}

TEST_F(MediaPlayerTest, AFileThatCannotPlayRaisesTheDevicesReason)
{
    m_environment.Set("MODEM_SOUNDFONT", (m_dir.Path() / "none.sf2").string());
    m_player->SetFileName(SmsTone);
    try {
        m_player->Open();
        FAIL() << "opened without a sound font";
    } catch (const EMCIDeviceError& error) {
        EXPECT_NE(std::string(error.what()).find("sound font"), std::string::npos) << error.what();
    }
    EXPECT_NE(m_player->Error(), 0u);
    EXPECT_EQ(m_player->Mode(), mpNotReady);
    EXPECT_THROW(m_player->Play(), EMCIDeviceError);
}

} // namespace
