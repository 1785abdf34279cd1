#include "platform/classlib/forms/MPlayer.h"

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/winapi/mci/MMSystem.h"

#include <utility>

namespace {

void DescribeMediaPlayer(TClassBuilder& c)
{
    c.String("FileName", &TMediaPlayer::FileName, &TMediaPlayer::SetFileName);
    c.Event("OnNotify", &TMediaPlayer::OnNotify, &TMediaPlayer::SetOnNotify);
}

TMPNotifyValues NotifyValueOf(WPARAM flag)
{
    switch (flag) {
    case MCI_NOTIFY_SUCCESSFUL:
        return nvSuccessful;
    case MCI_NOTIFY_SUPERSEDED:
        return nvSuperseded;
    case MCI_NOTIFY_ABORTED:
        return nvAborted;
    default:
        return nvFailure;
    }
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TMediaPlayer, TComponent, ComponentCreator<TMediaPlayer>, DescribeMediaPlayer)

TMediaPlayer::TMediaPlayer(TComponent* owner)
    : TComponent(owner), m_window(AllocateHWnd([this](TMessage& message) { WndProc(message); }))
{
}

TMediaPlayer::~TMediaPlayer()
{
    if (m_deviceId)
        (void)mciSendCommandA(m_deviceId, MCI_CLOSE, 0, 0);
    if (m_window)
        DeallocateHWnd(m_window);
}

TMPModes TMediaPlayer::Mode() const
{
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_MODE;
    if (!m_deviceId || mciSendCommandA(m_deviceId, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)))
        return mpNotReady;
    switch (status.dwReturn) {
    case MCI_MODE_STOP:
        return mpStopped;
    case MCI_MODE_PLAY:
        return mpPlaying;
    case MCI_MODE_RECORD:
        return mpRecording;
    case MCI_MODE_SEEK:
        return mpSeeking;
    case MCI_MODE_PAUSE:
        return mpPaused;
    case MCI_MODE_OPEN:
        return mpOpen;
    default:
        return mpNotReady;
    }
}

void TMediaPlayer::Open()
{
    Close();
    MCI_OPEN_PARMSA open{};
    open.dwCallback = reinterpret_cast<DWORD_PTR>(m_window);
    open.lpstrElementName = m_fileName.c_str();
    const DWORD flags = MCI_OPEN_ELEMENT | (m_notify ? MCI_NOTIFY : 0);
    Check(mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open)));
    m_deviceId = open.wDeviceID;
}

void TMediaPlayer::Close()
{
    if (m_deviceId == 0)
        return;
    // The device is gone whatever the answer: its notifications no longer count.
    const MCIDEVICEID device = std::exchange(m_deviceId, 0);
    MCI_GENERIC_PARMS close{reinterpret_cast<DWORD_PTR>(m_window)};
    Check(mciSendCommandA(device, MCI_CLOSE, m_notify ? MCI_NOTIFY : 0, reinterpret_cast<DWORD_PTR>(&close)));
}

void TMediaPlayer::Play()
{
    Command(MCI_PLAY);
}

void TMediaPlayer::Stop()
{
    Command(MCI_STOP);
}

void TMediaPlayer::Rewind()
{
    Command(MCI_SEEK, MCI_SEEK_TO_START);
}

void TMediaPlayer::Command(unsigned command, unsigned long flags)
{
    // The parameter blocks of these commands all begin with the callback window.
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(m_window);
    Check(mciSendCommandA(m_deviceId, command, flags | (m_notify ? MCI_NOTIFY : 0), reinterpret_cast<DWORD_PTR>(&parms)));
}

void TMediaPlayer::Check(unsigned long error)
{
    m_error = error;
    if (error == 0)
        return;
    char text[256] = {};
    if (!mciGetErrorStringA(static_cast<MCIERROR>(error), text, sizeof text))
        throw EMCIDeviceError("The media device failed (error " + std::to_string(error) + ").");
    throw EMCIDeviceError(text);
}

void TMediaPlayer::WndProc(TMessage& message)
{
    if (message.Msg != MM_MCINOTIFY)
        return;
    // A notification of a device closed since is stale.
    if (m_deviceId == 0 || static_cast<unsigned>(message.LParam) != m_deviceId)
        return;
    m_notifyValue = NotifyValueOf(message.WParam);
    m_onNotify(this);
}

void RegisterMediaPlayerClasses()
{
    RegisterClasses({TMediaPlayer::StaticClass()});
}
