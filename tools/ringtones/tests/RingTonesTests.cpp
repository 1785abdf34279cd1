#include "tools/ringtones/lib/RingTones.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAsset(const std::string& name)
{
    std::ifstream file(std::filesystem::path(MODEM_SOURCE_DIR) / "assets/sounds" / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

TEST(RingTonesTest, TheCommittedTonesAreWhatTheCodeWrites)
{
    EXPECT_EQ(ReadAsset("sms.mid"), WriteMidiFile(SmsTone()));
    EXPECT_EQ(ReadAsset("incall.mid"), WriteMidiFile(IncomingCallTone()));
}

TEST(MidiFileTest, OneTrackWithTempoInstrumentNotesAndEnd)
{
    MidiTune tune;
    tune.beatsPerMinute = 120;
    tune.program = 12;
    tune.notes = {{0, 240, 60, 100}, {200, 300, 64, 90}};
    tune.endTick = 1000;
    const std::string expected = std::string("MThd\0\0\0\x06\0\0\0\x01\x01\xE0", 14)
                                 + std::string("MTrk\0\0\0\x21", 8)
                                 + std::string("\0\xFF\x51\x03\x07\xA1\x20", 7) // 500000 us a quarter
                                 + std::string("\0\xC0\x0C", 3)
                                 + std::string("\0\x90\x3C\x64", 4)
                                 + std::string("\x81\x48\x90\x40\x5A", 5)         // 200 ticks later
                                 + std::string("\x28\x80\x3C\0", 4)
                                 + std::string("\x82\x04\x80\x40\0", 5)           // 260 more: tick 500
                                 + std::string("\x83\x74\xFF\x2F\0", 5);          // the rest up to 1000
    EXPECT_EQ(WriteMidiFile(tune), expected);
}

} // namespace
