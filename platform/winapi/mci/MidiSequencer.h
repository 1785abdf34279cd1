#pragma once

#include "platform/winapi/kernel/WinTypes.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

struct HWND__;
using HWND = HWND__*;

namespace winapi_mci::detail {

// Where a sequencer's sound goes (MMSystem.h: MODEM_AUDIO_DRIVER).
struct AudioOutput {
    enum class Kind { Driver, Null, File };
    Kind kind = Kind::Driver;
    std::string name; // Driver: FluidSynth's driver name, "" for the desktop's; File: the WAV path
};
[[nodiscard]] AudioOutput AudioOutputFromEnvironment();

// The General MIDI sound font to play with (MODEM_SOUNDFONT, else the system's); "" when none,
// or when the file named is no SoundFont.
[[nodiscard]] std::string FindSoundFont();

// One open "sequencer" device: a MIDI file on a FluidSynth synthesiser. Its commands come from
// the thread that opened it; a play runs on a thread of its own, which posts the notification.
class MidiSequencer {
public:
    MidiSequencer();
    ~MidiSequencer();
    MidiSequencer(const MidiSequencer&) = delete;
    MidiSequencer& operator=(const MidiSequencer&) = delete;

    // 0 or an MCIERR_* code; a device that failed to open must not be used.
    [[nodiscard]] DWORD Open(const std::string& file);
    // Plays from the current position; with a window, MM_MCINOTIFY goes to it at the end.
    [[nodiscard]] DWORD Play(HWND notifyWindow, UINT deviceId);
    [[nodiscard]] DWORD Stop();
    [[nodiscard]] DWORD SeekToStart();
    [[nodiscard]] DWORD Mode() const;

private:
    [[nodiscard]] DWORD OpenOutput(const AudioOutput& output);
    // Runs while the player plays: renders the sound itself when no driver does, and notifies the
    // window when the end is reached.
    void PlayThread();
    // Joins a play thread that has ended and frees its player.
    void ReleasePlayer();
    // Posts MM_MCINOTIFY to the window waiting for the play, if any; under m_mutex.
    void NotifyLocked(WPARAM flag);

    struct Fluid;
    std::unique_ptr<Fluid> m_fluid;
    std::string m_file;
    AudioOutput::Kind m_output = AudioOutput::Kind::Driver;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    bool m_playing = false;
    bool m_stopRequested = false;
    bool m_atEnd = false;
    int m_position = 0; // MIDI ticks
    HWND m_notifyWindow = nullptr;
    UINT m_deviceId = 0;
};

} // namespace winapi_mci::detail
