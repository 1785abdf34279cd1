#include "platform/winapi/gdi/FontSubstitution.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <tuple>

namespace {

constexpr BYTE Sans = VARIABLE_PITCH | FF_SWISS;
constexpr BYTE Serif = VARIABLE_PITCH | FF_ROMAN;
constexpr BYTE Mono = FIXED_PITCH | FF_MODERN;

// Metric-compatible families where they exist (Liberation for Arial, Times New Roman, Courier
// New); the wide Verdana goes to DejaVu Sans, which shares its design, and the narrower Tahoma to
// DejaVu Sans Condensed. The dialog faces use Arial's widths, which the forms were laid out for.
constexpr FontSubstitute Table[] = {
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"MS Shell Dlg", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"MS Shell Dlg 2", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"Microsoft Sans Serif", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"Tahoma", {"DejaVu Sans Condensed", "Liberation Sans"}, Sans},
    {"Arial", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"Helvetica", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"Verdana", {"DejaVu Sans", "Liberation Sans"}, Sans},
    {"System", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"Segoe UI", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif"}, Serif},
    {"MS Serif", {"Liberation Serif", "DejaVu Serif"}, Serif},
    {"Courier New", {"Liberation Mono", "DejaVu Sans Mono"}, Mono},
    {"Courier", {"Liberation Mono", "DejaVu Sans Mono"}, Mono},
    {"Fixedsys", {"Liberation Mono", "DejaVu Sans Mono"}, Mono},
    {"Terminal", {"Liberation Mono", "DejaVu Sans Mono"}, Mono},
};

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The table entry that stands for a nameless request of this pitch and family.
const FontSubstitute& DefaultFor(BYTE pitchAndFamily)
{
    if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
        return *FindFontSubstitute("Courier New");
    if ((pitchAndFamily & 0xF0) == FF_ROMAN)
        return *FindFontSubstitute("Times New Roman");
    return *FindFontSubstitute("MS Sans Serif");
}

class FontConfig {
public:
    FontConfig() : m_config(FcInitLoadConfigAndFonts()) {}
    ~FontConfig()
    {
        if (m_config)
            FcConfigDestroy(m_config);
    }
    FontConfig(const FontConfig&) = delete;
    FontConfig& operator=(const FontConfig&) = delete;

    // The best installed match for a family; `exact` demands that family itself.
    std::optional<FontFile> Match(std::string_view family, bool bold, bool italic, bool exact)
    {
        if (!m_config)
            return std::nullopt;
        FcPattern* pattern = FcPatternCreate();
        std::string familyText(family);
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyText.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(m_config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* found = FcFontMatch(m_config, pattern, &result);
        FcPatternDestroy(pattern);
        if (!found)
            return std::nullopt;
        std::optional<FontFile> file = Describe(found);
        // A file may carry several family names ("DejaVu Sans", "DejaVu Sans Condensed").
        bool named = false;
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            named = named || EqualNoCase(reinterpret_cast<const char*>(name), family);
        FcPatternDestroy(found);
        if (!file || (exact && !named))
            return std::nullopt;
        if (named)
            file->family = family;
        return file;
    }

private:
    static std::optional<FontFile> Describe(FcPattern* found)
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

    FcConfig* m_config;
};

} // namespace

std::span<const FontSubstitute> FontSubstitutes() { return Table; }

const FontSubstitute* FindFontSubstitute(std::string_view windowsName)
{
    for (const FontSubstitute& entry : Table)
        if (EqualNoCase(entry.windowsName, windowsName))
            return &entry;
    return nullptr;
}

std::optional<FontFile> FindFontFile(std::string_view faceName, bool bold, bool italic, BYTE pitchAndFamily)
{
    static std::mutex lock;
    static FontConfig config;
    static std::map<std::tuple<std::string, bool, bool, BYTE>, std::optional<FontFile>> found;

    std::lock_guard guard(lock);
    auto key = std::make_tuple(std::string(faceName), bold, italic, pitchAndFamily);
    if (auto known = found.find(key); known != found.end())
        return known->second;

    const FontSubstitute* substitute = faceName.empty() ? &DefaultFor(pitchAndFamily) : FindFontSubstitute(faceName);
    std::optional<FontFile> file;
    if (substitute) {
        for (std::string_view family : substitute->families)
            if (!file && !family.empty())
                file = config.Match(family, bold, italic, true);
        if (file)
            file->pitchAndFamily = substitute->pitchAndFamily;
    } else {
        file = config.Match(faceName, bold, italic, true);
    }
    // An unknown or uninstalled face falls back to the dialog face, as GDI falls back to a
    // default font rather than failing.
    if (!file) {
        const FontSubstitute& fallback = DefaultFor(pitchAndFamily);
        for (std::string_view family : fallback.families)
            if (!file)
                file = config.Match(family, bold, italic, true);
        if (!file)
            file = config.Match("sans-serif", bold, italic, false);
        if (file)
            file->pitchAndFamily = fallback.pitchAndFamily;
    }
    found.emplace(std::move(key), file);
    return file;
}
