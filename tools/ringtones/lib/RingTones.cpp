#include "tools/ringtones/lib/RingTones.h"

namespace {

constexpr int Quarter = MidiTune::TicksPerQuarter;
constexpr int Eighth = Quarter / 2;
constexpr int Sixteenth = Quarter / 4;

// General MIDI instruments, 0-based.
constexpr int Celesta = 8;
constexpr int Marimba = 12;

// Keys of the notes used.
constexpr int G4 = 67, A4 = 69, B4 = 71, C5 = 72, D5 = 74, E5 = 76, Fs5 = 78, G5 = 79, A5 = 81, B5 = 83;
constexpr int E6 = 88, Gs6 = 92, B6 = 95, E7 = 100;

} // namespace

MidiTune SmsTone()
{
    MidiTune tune;
    tune.beatsPerMinute = 132;
    tune.program = Celesta;
    // E major, rising: three quick notes and a ringing top.
    tune.notes = {{0, Sixteenth, E6, 90},
                  {Sixteenth, Sixteenth, Gs6, 90},
                  {2 * Sixteenth, Sixteenth, B6, 96},
                  {3 * Sixteenth, Quarter + Eighth, E7, 104}};
    tune.endTick = 3 * Sixteenth + Quarter + Eighth;
    return tune;
}

MidiTune IncomingCallTone()
{
    MidiTune tune;
    tune.beatsPerMinute = 126;
    tune.program = Marimba;
    // G major: a figure up and back, answered a step higher, then a rest before it comes again.
    const int bar = 4 * Quarter;
    const int first[] = {G4, B4, D5, G5, D5, B4};
    const int second[] = {A4, C5, E5, A5, Fs5, B5};
    for (int i = 0; i < 6; ++i) {
        tune.notes.push_back({i * Eighth, Eighth, first[i], i == 3 ? 110 : 92});
        tune.notes.push_back({bar + i * Eighth, Eighth, second[i], i == 5 ? 110 : 92});
    }
    tune.endTick = 2 * bar + Quarter;
    return tune;
}
