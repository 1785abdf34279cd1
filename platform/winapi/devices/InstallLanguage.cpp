#include "platform/winapi/devices/InstallLanguage.h"

#include "platform/winapi/devices/RegistryTree.h"

#include <cstdlib>
#include <string_view>

namespace {

struct LanguageId {
    const char* language;
    const char* territory; // empty: the language's main id
    const char* id;
};

// The main id of each language comes first among its entries.
constexpr LanguageId LanguageIds[] = {
    {"en", "", "0409"}, {"en", "US", "0409"}, {"en", "GB", "0809"}, {"en", "AU", "0C09"},
    {"en", "CA", "1009"}, {"en", "NZ", "1409"}, {"en", "IE", "1809"}, {"en", "ZA", "1C09"},
    {"en", "IN", "4009"},
    {"zh", "", "0804"}, {"zh", "CN", "0804"}, {"zh", "TW", "0404"}, {"zh", "HK", "0C04"},
    {"zh", "SG", "1004"}, {"zh", "MO", "1404"},
    {"de", "", "0407"}, {"de", "CH", "0807"}, {"de", "AT", "0C07"},
    {"fr", "", "040C"}, {"fr", "BE", "080C"}, {"fr", "CA", "0C0C"}, {"fr", "CH", "100C"},
    {"es", "", "0C0A"}, {"es", "MX", "080A"},
    {"pt", "", "0416"}, {"pt", "PT", "0816"},
    {"nl", "", "0413"}, {"nl", "BE", "0813"},
    {"it", "", "0410"}, {"ja", "", "0411"}, {"ko", "", "0412"}, {"ru", "", "0419"},
    {"pl", "", "0415"}, {"sv", "", "041D"}, {"tr", "", "041F"}, {"cs", "", "0405"},
    {"da", "", "0406"}, {"el", "", "0408"}, {"fi", "", "040B"}, {"he", "", "040D"},
    {"hu", "", "040E"}, {"nb", "", "0414"}, {"no", "", "0414"}, {"ar", "", "0401"},
    {"th", "", "041E"}, {"vi", "", "042A"}, {"id", "", "0421"}, {"uk", "", "0422"},
};

constexpr const char* DefaultLanguageId = "0409";

} // namespace

std::string LanguageIdFromLocale(const std::string& localeName)
{
    // language[_territory][.codeset][@modifier]
    const std::string_view name(localeName);
    const auto nameEnd = name.find_first_of(".@");
    const auto base = name.substr(0, nameEnd);
    const auto underscore = base.find('_');
    const auto language = base.substr(0, underscore);
    const auto territory = underscore == std::string_view::npos ? std::string_view() : base.substr(underscore + 1);

    const char* languageMain = nullptr;
    for (const auto& entry : LanguageIds) {
        if (!SameRegistryName(language, entry.language))
            continue;
        if (!languageMain)
            languageMain = entry.id;
        if (!territory.empty() && SameRegistryName(territory, entry.territory))
            return entry.id;
    }
    return languageMain ? languageMain : DefaultLanguageId;
}

std::string SystemInstallLanguage()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return LanguageIdFromLocale(value);
    }
    return DefaultLanguageId;
}
