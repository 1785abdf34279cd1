#include "platform/winapi/devices/ComNames.h"
#include "platform/winapi/devices/InstallLanguage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(ComNames, TtyNamesMapToStableComNumbers)
{
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"ttyUSB0", "COM3"},     {"ttyUSB46", "COM49"}, {"ttyUSB47", std::nullopt},
        {"ttyACM0", "COM50"},    {"ttyACM49", "COM99"}, {"ttyACM50", std::nullopt},
        {"ttyUSB01", std::nullopt}, {"ttyUSB", std::nullopt}, {"ttyS0", std::nullopt},
        {"ttyUSB99999999999999999999", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [tty, com] : cases)
        EXPECT_EQ(ComNameForTty(tty), com) << tty;
}

TEST(ComNames, NamesNormaliseOrAreRejected)
{
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"COM5", "COM5"},         {"com12", "COM12"},      {"\\\\.\\COM7", "COM7"}, {"COM255", "COM255"},
        {"COM256", std::nullopt}, {"COM0", std::nullopt},  {"COM05", std::nullopt}, {"COM", std::nullopt},
        {"COMX", std::nullopt},   {"LPT1", std::nullopt},  {"COM1 ", std::nullopt},
    };
    for (const auto& [name, canonical] : cases)
        EXPECT_EQ(NormalizeComName(name), canonical) << name;
}

TEST(InstallLanguage, LocaleNamesMapToWindowsLanguageIds)
{
    const std::pair<const char*, const char*> cases[] = {
        {"en_US.UTF-8", "0409"}, {"zh_CN.UTF-8", "0804"}, {"zh_CN.GBK", "0804"}, {"zh_TW.UTF-8", "0404"},
        {"en_GB", "0809"},       {"de_DE@euro", "0407"},  {"de_LU", "0407"},     {"de", "0407"},
        {"pt_PT.UTF-8", "0816"}, {"pt_BR", "0416"},       {"fr_CA", "0C0C"},     {"ja_JP.eucJP", "0411"},
        {"C", "0409"},           {"POSIX", "0409"},       {"C.UTF-8", "0409"},   {"", "0409"},
        {"xx_YY", "0409"},
    };
    for (const auto& [locale, id] : cases)
        EXPECT_EQ(LanguageIdFromLocale(locale), id) << locale;
}

} // namespace
