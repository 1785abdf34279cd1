// Writes the manager's ring tones, sms.mid and incall.mid, into the folder given.

#include "tools/ringtones/lib/RingTones.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ringtonegen <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    for (const auto& [name, tune] : {std::pair{"sms.mid", SmsTone()}, std::pair{"incall.mid", IncomingCallTone()}}) {
        std::ofstream file(folder / name, std::ios::binary);
        file << WriteMidiFile(tune);
        if (!file.flush()) {
            std::fprintf(stderr, "ringtonegen: cannot write %s\n", (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}
