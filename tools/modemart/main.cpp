// modemart: draws the modem manager's pictures (our own art) into assets/modem.

#include "tools/modemart/lib/ModemArt.h"

#include <exception>
#include <iostream>
#include <string>

namespace {

constexpr const char* Usage =
    "usage: modemart <folder> [--preview <file.png>]\n"
    "  writes the program icon, the splash picture, the button faces and the image lists into\n"
    "  <folder>, and optionally every picture enlarged, for looking at the result\n";

} // namespace

int main(int argc, char** argv)
{
    const bool preview = argc == 4 && std::string(argv[2]) == "--preview";
    if (argc != 2 && !preview) {
        std::cerr << Usage;
        return 2;
    }
    try {
        const auto files = DrawModemArt();
        WriteModemArt(files, argv[1]);
        if (preview) {
            const std::filesystem::path previewFile = argv[3];
            WriteModemArt({{previewFile.filename().string(), 0, 0, 1, {}, EncodePng(ModemArtPreview(files, 6))}},
                          previewFile.parent_path());
        }
    } catch (const std::exception& error) {
        std::cerr << "modemart: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
