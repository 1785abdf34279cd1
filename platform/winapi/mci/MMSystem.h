#pragma once

#include "platform/winapi/kernel/WinTypes.h"

// The media control interface of winmm, as far as a MIDI ring tone needs it: the "sequencer"
// device that plays a standard MIDI file, through FluidSynth.
//
// Commands: MCI_OPEN (MCI_OPEN_ELEMENT names the file; MCI_OPEN_TYPE, when given, must be
// "sequencer"), MCI_PLAY (from where the device stands), MCI_STOP, MCI_SEEK with
// MCI_SEEK_TO_START, MCI_STATUS with MCI_STATUS_MODE, MCI_CLOSE. With MCI_NOTIFY a command posts
// MM_MCINOTIFY (wParam MCI_NOTIFY_*, lParam the device ID) to the window in dwCallback when it is
// done: a play when it reaches the end (SUCCESSFUL), is stopped (ABORTED) or replaced by another
// play (SUPERSEDED); the other commands at once. A play runs on threads of the device and its end
// comes only as the notification: MCI_WAIT is accepted and ignored.
//
// Where the sound goes, from MODEM_AUDIO_DRIVER:
//   unset or ""   the desktop's sound server (FluidSynth's "pulseaudio" driver, which PipeWire
//                 serves too), else ALSA's default device
//   <driver>      that FluidSynth driver ("alsa", "jack", "sdl2", ...)
//   null          nowhere: the file is rendered as fast as it goes and the sound thrown away
//   file:<path>   rendered as fast as it goes into the WAV file <path>
// and with which instruments: the General MIDI sound font MODEM_SOUNDFONT, else the system's
// default one (/usr/share/sounds/sf2/default-GM.sf2, or a known font in that folder).
//
// Failures answer with an MCIERR_* code and leave the device closed: a missing file, a file that
// is not MIDI, no sound font (MCIERR_SEQ_NOMIDIPRESENT) and no audio output (MCIERR_HARDWARE);
// mciGetErrorStringA gives each one's text.

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

constexpr UINT MM_MCINOTIFY = 0x3B9;

constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_SEEK = 0x0807;
constexpr UINT MCI_STOP = 0x0808;
constexpr UINT MCI_STATUS = 0x0814;

constexpr DWORD MCI_NOTIFY = 0x00000001;
constexpr DWORD MCI_WAIT = 0x00000002;
constexpr DWORD MCI_FROM = 0x00000004;
constexpr DWORD MCI_TO = 0x00000008;
constexpr DWORD MCI_OPEN_SHAREABLE = 0x00000100;
constexpr DWORD MCI_OPEN_ELEMENT = 0x00000200;
constexpr DWORD MCI_OPEN_TYPE = 0x00002000;
constexpr DWORD MCI_SEEK_TO_START = 0x00000100;
constexpr DWORD MCI_STATUS_ITEM = 0x00000100;
constexpr DWORD MCI_STATUS_MODE = 0x00000004;

constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 0x0001;
constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 0x0002;
constexpr WPARAM MCI_NOTIFY_ABORTED = 0x0004;
constexpr WPARAM MCI_NOTIFY_FAILURE = 0x0008;

constexpr DWORD MCI_MODE_NOT_READY = 524;
constexpr DWORD MCI_MODE_STOP = 525;
constexpr DWORD MCI_MODE_PLAY = 526;
constexpr DWORD MCI_MODE_RECORD = 527;
constexpr DWORD MCI_MODE_SEEK = 528;
constexpr DWORD MCI_MODE_PAUSE = 529;
constexpr DWORD MCI_MODE_OPEN = 530;

constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;
constexpr MCIERROR MCIERR_SEQ_NOMIDIPRESENT = MCIERR_BASE + 87;

struct MCI_GENERIC_PARMS {
    DWORD_PTR dwCallback;
};

struct MCI_OPEN_PARMSA {
    DWORD_PTR dwCallback;
    MCIDEVICEID wDeviceID;
    LPCSTR lpstrDeviceType;
    LPCSTR lpstrElementName;
    LPCSTR lpstrAlias;
};

struct MCI_PLAY_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwFrom;
    DWORD dwTo;
};

struct MCI_SEEK_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwTo;
};

struct MCI_STATUS_PARMS {
    DWORD_PTR dwCallback;
    DWORD_PTR dwReturn;
    DWORD dwItem;
    DWORD dwTrack;
};

// dwParam2 points to the command's parameter block. 0 or an MCIERR_* code.
MCIERROR mciSendCommandA(MCIDEVICEID IDDevice, UINT uMsg, DWORD_PTR fdwCommand, DWORD_PTR dwParam);
// The text of an error code (at most cchErrorText characters with the zero); FALSE for a code
// that is no MCI error.
BOOL mciGetErrorStringA(MCIERROR mcierr, LPSTR pszText, UINT cchText);
