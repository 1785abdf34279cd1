// stockglyphs: draws the bit button's stock glyphs (our own art) as the bitmap resources the
// control library embeds.

#include "tools/stockglyphs/lib/StockGlyphArt.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

constexpr const char* Usage =
    "usage: stockglyphs <folder> [--preview <file.bmp>]\n"
    "  writes KVCOMMON_OK.bmp .. KVCOMMON_ALL.bmp into <folder>, and optionally every glyph\n"
    "  enlarged on a button face for looking at the result\n";

} // namespace

int main(int argc, char** argv)
{
    const bool preview = argc == 4 && std::string(argv[2]) == "--preview";
    if (argc != 2 && !preview) {
        std::cerr << Usage;
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        const auto glyphs = DrawStockGlyphs();
        for (const TStockGlyphArt& glyph : glyphs)
            glyph.bitmap->SaveToFile((folder / (glyph.resourceName + ".bmp")).string());
        if (preview)
            StockGlyphPreview(glyphs, 8)->SaveToFile(argv[3]);
    } catch (const std::exception& error) {
        std::cerr << "stockglyphs: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
