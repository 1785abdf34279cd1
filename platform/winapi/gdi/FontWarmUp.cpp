#include "platform/winapi/gdi/FontWarmUp.h"

#include "platform/winapi/gdi/FontEngine.h"
#include "platform/winapi/gdi/FontSubstitution.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// Every name that leads to a different lookup: the table's, none (the family's default face) and
// one nothing knows (the fallback), plus the symbol face we draw ourselves.
std::vector<std::string_view> FaceNames()
{
    std::vector<std::string_view> names{"", "Unknown Face Name", "Marlett"};
    for (const FontSubstitute& entry : FontSubstitutes())
        names.push_back(entry.windowsName);
    return names;
}

void Realise(std::string_view faceName, int weight, bool italic, BYTE pitchAndFamily, BYTE quality)
{
    LOGFONTA logFont{};
    logFont.lfHeight = -DefaultEmPixels;
    logFont.lfWeight = weight;
    logFont.lfItalic = italic ? 1 : 0;
    logFont.lfCharSet = ANSI_CHARSET;
    logFont.lfQuality = quality;
    logFont.lfPitchAndFamily = pitchAndFamily;
    std::copy_n(faceName.begin(), std::min<std::size_t>(faceName.size(), LF_FACESIZE - 1), logFont.lfFaceName);
    if (const auto font = RealizeFont(logFont))
        (void)font->Glyph(U'A');
}

} // namespace

void WarmUpFontEngine()
{
    constexpr BYTE families[] = {VARIABLE_PITCH | FF_SWISS, VARIABLE_PITCH | FF_ROMAN, FIXED_PITCH | FF_MODERN};
    for (const std::string_view name : FaceNames())
        for (const BYTE family : families)
            for (const int weight : {FW_NORMAL, FW_BOLD})
                for (const bool italic : {false, true})
                    Realise(name, weight, italic, family, DEFAULT_QUALITY);
    // Monochrome glyphs take their own rendering path.
    Realise("", FW_NORMAL, false, families[0], NONANTIALIASED_QUALITY);
}
