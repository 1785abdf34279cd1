// skingen: draws our own skin (its bitmaps and INI) and the program's fallback bitmap resources.

#include "tools/skingen/lib/SkinArt.h"
#include "tools/skingen/lib/SkinPreview.h"

#include <exception>
#include <iostream>
#include <string>

namespace {

constexpr const char* Usage =
    "usage: skingen <skin folder> <resource folder> [--preview <file.bmp>]\n"
    "  writes the skin's INI and bitmaps into <skin folder> (pack it with skinpack),\n"
    "  the bitmap resources LUMORAMENU, TRACK and TRACKVERT into <resource folder>,\n"
    "  and optionally a mock-up of a skinned window for looking at the result\n";

} // namespace

int main(int argc, char** argv)
{
    const bool preview = argc == 5 && std::string(argv[3]) == "--preview";
    if (argc != 3 && !preview) {
        std::cerr << Usage;
        return 2;
    }
    try {
        TSkinBuilder skin;
        GenerateSkin(skin);
        skin.WriteTo(argv[1], SkinIniName);
        TSkinBuilder resources;
        GenerateResources(resources);
        resources.WriteTo(argv[2], "");
        if (preview)
            RenderPreview(skin)->SaveToFile(argv[4]);
    } catch (const std::exception& error) {
        std::cerr << "skingen: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
