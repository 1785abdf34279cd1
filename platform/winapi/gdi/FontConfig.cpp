#include "platform/winapi/gdi/FontConfig.h"

#include <fontconfig/fontconfig.h>

#include "platform/rtl/Strings.h"

#include <string>

namespace {

struct PatternRelease {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternRelease>;

Pattern RequestPattern(std::string_view family, bool bold, bool italic)
{
    Pattern pattern(FcPatternCreate());
    if (!pattern)
        return nullptr;
    const std::string familyText(family);
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(familyText.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    return pattern;
}

std::optional<FontFile> Describe(FcPattern* found)
{
    FcChar8* path = nullptr;
    FcChar8* foundFamily = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &path) != FcResultMatch ||
        FcPatternGetString(found, FC_FAMILY, 0, &foundFamily) != FcResultMatch)
        return std::nullopt;
    FontFile file;
    file.path = reinterpret_cast<const char*>(path);
    file.family = reinterpret_cast<const char*>(foundFamily);
    int index = 0;
    if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch)
        file.index = index;
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(found, FC_SLANT, 0, &slant);
    // fontconfig marks a face it would embolden as bold; that boldness is ours to make.
    FcBool embolden = FcFalse;
    FcPatternGetBool(found, FC_EMBOLDEN, 0, &embolden);
    file.bold = weight >= FC_WEIGHT_DEMIBOLD && !embolden;
    file.italic = slant != FC_SLANT_ROMAN;
    return file;
}

bool HasFamily(FcPattern* found, std::string_view family)
{
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (SameText(reinterpret_cast<const char*>(name), family))
            return true;
    return false;
}

} // namespace

void FontConfig::ConfigRelease::operator()(FcConfig* config) const { FcConfigDestroy(config); }

FontConfig::FontConfig() : m_config(FcInitLoadConfigAndFonts()) {}

FontConfig::~FontConfig() = default;

std::optional<FontFile> FontConfig::Match(std::string_view family, bool bold, bool italic, bool exact) const
{
    if (!m_config)
        return std::nullopt;
    Pattern pattern = RequestPattern(family, bold, italic);
    if (!pattern)
        return std::nullopt;
    FcConfigSubstitute(m_config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern found(FcFontMatch(m_config.get(), pattern.get(), &result));
    if (!found)
        return std::nullopt;
    std::optional<FontFile> file = Describe(found.get());
    const bool named = HasFamily(found.get(), family);
    if (!file || (exact && !named))
        return std::nullopt;
    if (named)
        file->family = family;
    return file;
}
