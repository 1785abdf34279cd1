#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/LocaleSettings.h"
#include "tests/support/RowNames.h"

namespace {

struct FormatCase {
    const char* Format;
    std::vector<FormatArg> Args;
    const char* Expected;
};

class FormatDirectives : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDirectives, ProduceTheClassLibraryText)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(Format(c.Format, c.Args), c.Expected) << c.Format;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatDirectives,
    testing::Values(
        FormatCase{"plain %% text", {}, "plain % text"},
        FormatCase{"%d of %s", {3, "x"}, "3 of x"},
        FormatCase{"%0.2d:%0.2d:%0.2d", {1, 2, 33}, "01:02:33"},
        FormatCase{"%2.2d:%2.2d", {123, 5}, "123:05"},
        FormatCase{"%.3d", {-5}, "-005"},
        FormatCase{"[%5d][%-5d]", {42, 42}, "[   42][42   ]"},
        FormatCase{"%*d|%-*d|%.*d", {4, 7, 3, 7, 3, 7}, "   7|7  |007"},
        FormatCase{"%d", {9223372036854775807LL}, "9223372036854775807"},
        FormatCase{"%u", {-1}, "4294967295"},
        FormatCase{"%u", {18446744073709551615ULL}, "18446744073709551615"},
        FormatCase{"%x %X %.4x", {255, 255, 10}, "FF FF 000A"},
        FormatCase{"%x", {-1}, "FFFFFFFF"},
        FormatCase{"%f", {3.14159}, "3.14"},
        FormatCase{"%.0f %.3f", {2.5, -0.0005}, "3 -0.001"},
        FormatCase{"%f", {-0.001}, "0.00"},
        FormatCase{"%e", {1234.5}, "1.23450000000000E+003"},
        FormatCase{"%.3e", {-0.00012345}, "-1.23E-004"},
        FormatCase{"%g|%g|%g", {0.5, 1e20, 1234567.0}, "0.5|1E20|1234567"},
        FormatCase{"%.3g", {1234.0}, "1.23E3"},
        FormatCase{"%n", {1234567.891}, "1,234,567.89"},
        FormatCase{"%.0n", {-999999.5}, "-1,000,000"},
        FormatCase{"%m|%m", {1234.5, -2.0}, "$1,234.50|($2.00)"},
        FormatCase{"%m", {Currency::FromScaled(12345)}, "$1.23"},
        FormatCase{"%f", {Currency::FromScaled(-922337203685477580LL)}, "-92233720368547.76"},
        FormatCase{"%s|%5s|%-5s|%.2s", {"abc", "ab", "ab", "abc"}, "abc|   ab|ab   |ab"},
        FormatCase{"%4s|%.1s", {"é", "éa"}, "   é|é"},
        FormatCase{"%1:s %0:s %s", {"a", "b"}, "b a b"},
        FormatCase{"%s", {static_cast<const char*>(nullptr)}, ""}),
    [](const auto& info) { return RowName(info.index, info.param.Format); });

TEST(Format, TakesCharactersAndStdStrings)
{
    EXPECT_EQ(Format("%s%s|%3s", {'c', std::string("++"), 'x'}), "c++|  x");
}

TEST(Format, PointerIsUpperCaseHexPaddedToPointerWidth)
{
    const void* pointer = reinterpret_cast<const void*>(0xABCD);
    EXPECT_EQ(Format("%p", {pointer}), std::string(sizeof(void*) * 2 - 4, '0') + "ABCD");
}

TEST(Format, UsesDecimalSeparatorOfTheLocale)
{
    const char saved = DecimalSeparator;
    const char savedThousands = ThousandSeparator;
    DecimalSeparator = ',';
    ThousandSeparator = '.';
    EXPECT_EQ(Format("%.1f %n", {1.25, 1234.5}), "1,3 1.234,50");
    DecimalSeparator = saved;
    ThousandSeparator = savedThousands;
}

struct BadFormat {
    const char* Format;
    std::vector<FormatArg> Args;
    const char* Message;
};

class FormatErrors : public testing::TestWithParam<BadFormat> {};

TEST_P(FormatErrors, RaiseConvertErrorWithTheFormatQuoted)
{
    const BadFormat& c = GetParam();
    try {
        (void)Format(c.Format, c.Args);
        FAIL() << "no exception for " << c.Format;
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), c.Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatErrors,
    testing::Values(BadFormat{"%d", {"x"}, "Format '%d' invalid or incompatible with argument"},
                    BadFormat{"%f", {1}, "Format '%f' invalid or incompatible with argument"},
                    BadFormat{"%s", {true}, "Format '%s' invalid or incompatible with argument"},
                    BadFormat{"%q", {1}, "Format '%q' invalid or incompatible with argument"},
                    BadFormat{"50%", {}, "Format '50%' invalid or incompatible with argument"},
                    BadFormat{"%*d", {"x", 1}, "Format '%*d' invalid or incompatible with argument"},
                    BadFormat{"%999999999d", {1}, "Format '%999999999d' invalid or incompatible with argument"},
                    BadFormat{"%d %d", {1}, "No argument for format '%d %d'"},
                    BadFormat{"%5:d", {1}, "No argument for format '%5:d'"}),
    [](const auto& info) { return RowName(info.index, info.param.Format); });

}  // namespace
