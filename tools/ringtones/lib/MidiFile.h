#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A standard MIDI file of format 0 (one track), written from a list of notes: enough for a ring
// tone. Times are in ticks of TicksPerQuarter.
struct MidiNote {
    int start = 0;      // ticks from the beginning
    int length = 0;     // ticks
    int key = 60;       // MIDI key number, 60 = middle C
    int velocity = 96;  // 1..127
};

struct MidiTune {
    static constexpr int TicksPerQuarter = 480;

    int beatsPerMinute = 120;
    int program = 0;       // General MIDI instrument, 0-based
    std::vector<MidiNote> notes;
    int endTick = 0;       // the track ends here (past the last note: a rest before a repeat)
};

// The file's bytes: tempo, instrument, the notes on channel 1, end of track.
[[nodiscard]] std::string WriteMidiFile(const MidiTune& tune);
