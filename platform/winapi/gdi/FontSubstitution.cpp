#include "platform/winapi/gdi/FontSubstitution.h"

#include "platform/winapi/gdi/FontConfig.h"
#include "platform/rtl/Strings.h"

#include <map>
#include <mutex>
#include <tuple>

namespace {

constexpr BYTE Sans = VARIABLE_PITCH | FF_SWISS;
constexpr BYTE Serif = VARIABLE_PITCH | FF_ROMAN;
constexpr BYTE Mono = FIXED_PITCH | FF_MODERN;

// Every face a program names for interface text (dialog faces, Tahoma, the system face) is one
// family, so that controls, captions, menus and message boxes read alike side by side: DejaVu
// Sans Condensed, a design of the same school as Tahoma with close metrics at 8 pt. Metric-
// compatible families stand for Arial, Times New Roman and Courier New; the wide Verdana goes to
// DejaVu Sans, which shares its design.
constexpr std::string_view InterfaceFamily = "DejaVu Sans Condensed";
constexpr FontSubstitute Table[] = {
    {"MS Sans Serif", {InterfaceFamily, "Liberation Sans"}, Sans},
    {"MS Shell Dlg", {InterfaceFamily, "Liberation Sans"}, Sans},
    {"MS Shell Dlg 2", {InterfaceFamily, "Liberation Sans"}, Sans},
    {"Microsoft Sans Serif", {InterfaceFamily, "Liberation Sans"}, Sans},
    {"Tahoma", {InterfaceFamily, "Liberation Sans"}, Sans},
    {"System", {InterfaceFamily, "Liberation Sans"}, Sans},
    {"Segoe UI", {InterfaceFamily, "Liberation Sans"}, Sans},
    {"Arial", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"Helvetica", {"Liberation Sans", "DejaVu Sans"}, Sans},
    {"Verdana", {"DejaVu Sans", "Liberation Sans"}, Sans},
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif"}, Serif},
    {"MS Serif", {"Liberation Serif", "DejaVu Serif"}, Serif},
    {"Courier New", {"Liberation Mono", "DejaVu Sans Mono"}, Mono},
    {"Courier", {"Liberation Mono", "DejaVu Sans Mono"}, Mono},
    {"Fixedsys", {"Liberation Mono", "DejaVu Sans Mono"}, Mono},
    {"Terminal", {"Liberation Mono", "DejaVu Sans Mono"}, Mono},
};

// The table entry that stands for a nameless request of this pitch and family.
const FontSubstitute& DefaultFor(BYTE pitchAndFamily)
{
    if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
        return *FindFontSubstitute("Courier New");
    if ((pitchAndFamily & 0xF0) == FF_ROMAN)
        return *FindFontSubstitute("Times New Roman");
    return *FindFontSubstitute("MS Sans Serif");
}

} // namespace

std::span<const FontSubstitute> FontSubstitutes() { return Table; }

const FontSubstitute* FindFontSubstitute(std::string_view windowsName)
{
    for (const FontSubstitute& entry : Table)
        if (SameText(entry.windowsName, windowsName))
            return &entry;
    return nullptr;
}

std::optional<FontFile> FindFontFile(std::string_view faceName, bool bold, bool italic, BYTE pitchAndFamily)
{
    static std::mutex lock;
    static FontConfig config;
    static std::map<std::tuple<std::string, bool, bool, const FontSubstitute*>, std::optional<FontFile>> found;

    // The pitch and family matter only through the default face they choose, so requests that
    // differ in other bits share one lookup: the lookups a program can cause stay few.
    const FontSubstitute& fallback = DefaultFor(pitchAndFamily);
    std::lock_guard guard(lock);
    auto key = std::make_tuple(std::string(faceName), bold, italic, &fallback);
    if (auto known = found.find(key); known != found.end())
        return known->second;

    const FontSubstitute* substitute = faceName.empty() ? &fallback : FindFontSubstitute(faceName);
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
