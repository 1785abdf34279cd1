#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Events.h"
#include "platform/rtl/Exceptions.h"

#include <string>

struct HWND__;
using HWND = HWND__*;
struct TMessage;

// Raised by a media player command the device refuses, with the device's explanation.
RTL_DECLARE_EXCEPTION(EMCIDeviceError, Exception);

enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

// The class library's media player over the media control interface (winapi/mci/MMSystem.h),
// for the sounds the programs play: open a file, play it, stop, rewind, close, and be told when a
// play has ended. The player has no button bar: the programs keep it hidden.
//
// Notify asks each command that follows to report its end through OnNotify (on the thread that
// made the player), with NotifyValue saying how it ended: nvSuccessful for a play that reached the
// end, nvAborted for one stopped, nvSuperseded for one replaced by another play. It stays as set
// until changed. A command the device refuses raises EMCIDeviceError; Error keeps its code.
class TMediaPlayer : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    [[nodiscard]] const std::string& FileName() const { return m_fileName; }
    void SetFileName(const std::string& fileName) { m_fileName = fileName; }
    [[nodiscard]] bool Notify() const { return m_notify; }
    void SetNotify(bool notify) { m_notify = notify; }
    [[nodiscard]] TMPNotifyValues NotifyValue() const { return m_notifyValue; }
    [[nodiscard]] TMPModes Mode() const;
    [[nodiscard]] unsigned DeviceID() const { return m_deviceId; }
    [[nodiscard]] unsigned long Error() const { return m_error; }
    [[nodiscard]] const TNotifyEvent& OnNotify() const { return m_onNotify; }
    void SetOnNotify(const TNotifyEvent& handler) { m_onNotify = handler; }

    // Opens FileName, closing the file open before.
    void Open();
    void Close();
    // From where the device stands: the start after Open or Rewind, the end after a play ended.
    void Play();
    void Stop();
    void Rewind();

private:
    void Command(unsigned command, unsigned long flags = 0);
    void Check(unsigned long error);
    void WndProc(TMessage& message);

    HWND m_window = nullptr;
    std::string m_fileName;
    bool m_notify = false;
    TMPNotifyValues m_notifyValue = nvSuccessful;
    unsigned m_deviceId = 0;
    unsigned long m_error = 0;
    TNotifyEvent m_onNotify;
};

void RegisterMediaPlayerClasses();
