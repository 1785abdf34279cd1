#include "tools/ringtones/lib/MidiFile.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr int MicrosecondsPerMinute = 60'000'000;

void Append32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void Append16(std::string& out, std::uint16_t value)
{
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value & 0xFF);
}

// A delta time as a variable-length quantity: seven bits a byte, high bit set on all but the last.
void AppendDelta(std::string& out, std::uint32_t value)
{
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0)
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    out += bytes;
}

struct Event {
    int tick;
    int order; // note-offs before note-ons at the same tick
    std::string bytes;
};

} // namespace

std::string WriteMidiFile(const MidiTune& tune)
{
    std::vector<Event> events;
    std::string tempo = "\xFF\x51\x03";
    const auto microsecondsPerQuarter = static_cast<std::uint32_t>(MicrosecondsPerMinute / tune.beatsPerMinute);
    for (int shift = 16; shift >= 0; shift -= 8)
        tempo += static_cast<char>((microsecondsPerQuarter >> shift) & 0xFF);
    events.push_back({0, 0, tempo});
    events.push_back({0, 0, {'\xC0', static_cast<char>(tune.program)}});
    for (const MidiNote& note : tune.notes) {
        events.push_back({note.start, 2, {'\x90', static_cast<char>(note.key), static_cast<char>(note.velocity)}});
        events.push_back({note.start + note.length, 1, {'\x80', static_cast<char>(note.key), '\0'}});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return std::tie(a.tick, a.order) < std::tie(b.tick, b.order); });

    std::string track;
    int now = 0;
    for (const Event& event : events) {
        AppendDelta(track, static_cast<std::uint32_t>(event.tick - now));
        track += event.bytes;
        now = event.tick;
    }
    AppendDelta(track, static_cast<std::uint32_t>(std::max(0, tune.endTick - now)));
    track += std::string("\xFF\x2F\x00", 3);

    std::string file = "MThd";
    Append32(file, 6);
    Append16(file, 0); // format 0
    Append16(file, 1); // one track
    Append16(file, MidiTune::TicksPerQuarter);
    file += "MTrk";
    Append32(file, static_cast<std::uint32_t>(track.size()));
    return file + track;
}
