#include "modem/store/RingTones.h"

#include "platform/classlib/forms/MPlayer.h"

#include <cstdio>

TRingTones::TRingTones(TMediaPlayer& player, std::string programFolder, TReportFunction report)
    : m_player(player), m_programFolder(std::move(programFolder)), m_report(std::move(report))
{
}

void TRingTones::MediaPlay(const std::string& file)
{
    const std::string path = m_programFolder + file;
    try {
        m_player.SetFileName(path);
        m_player.Open();
        m_player.Play();
    } catch (const EMCIDeviceError& error) {
        Report("Cannot play " + path + ": " + error.Message());
    }
}

void TRingTones::MediaStop()
{
    m_player.SetNotify(false);
    // Nothing to stop when the tone never opened.
    if (m_player.Mode() == mpNotReady)
        return;
    try {
        m_player.Stop();
    } catch (const EMCIDeviceError& error) {
        Report(error.Message());
    }
}

void TRingTones::MediaPlayerNotify(TObject*)
{
    if (!m_player.Notify() || m_player.Mode() != mpStopped)
        return;
    try {
        m_player.Rewind();
        m_player.Play();
    } catch (const EMCIDeviceError& error) {
        Report(error.Message());
    }
}

void TRingTones::Report(const std::string& message)
{
    // Once: the call tone is asked for again at every tick while the phone rings.
    if (!m_reported.insert(message).second)
        return;
    if (m_report)
        m_report(message);
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}
