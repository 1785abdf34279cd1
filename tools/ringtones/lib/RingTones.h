#pragma once

#include "tools/ringtones/lib/MidiFile.h"

// The manager's two ring tones, written by the ringtonegen tool into assets/sounds:
//   sms.mid     a new message: a short rising chime on the celesta, played once
//   incall.mid  an incoming call: a two-bar marimba figure ending in a rest, played over and over
//               while the phone rings
[[nodiscard]] MidiTune SmsTone();
[[nodiscard]] MidiTune IncomingCallTone();
