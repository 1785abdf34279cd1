#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LocaleSettings.h"
#include "tests/support/RowNames.h"

namespace {

template <typename Call>
std::string ConvertErrorOf(Call call)
{
    try {
        call();
    } catch (const EConvertError& error) {
        return error.Message();
    }
    return "no EConvertError";
}

TEST(IntegerText, IntToStrAndIntToHex)
{
    EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), "-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(0x123456789LL, 1), "123456789");
}

TEST(StrToInt, AcceptsTheClassLibrarySyntax)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("  -17"), -17);
    EXPECT_EQ(StrToInt("+8"), 8);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
}

TEST(StrToInt, RefusesAnythingElseWithTheClassLibraryMessage)
{
    for (const char* text : {"", " ", "12 ", "1.5", "abc", "2147483648", "-2147483649", "$", "0x", "--1", "$100000000"})
        EXPECT_EQ(ConvertErrorOf([&] { (void)StrToInt(text); }), std::string("'") + text + "' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { (void)StrToInt64("9223372036854775808"); }),
              "'9223372036854775808' is not a valid integer value");
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_EQ(StrToInt64Def("12", 7), 12);
    int value = 5;
    EXPECT_FALSE(TryStrToInt("x", value));
    EXPECT_EQ(value, 5);
}

TEST(StrToFloat, ParsesWithTheLocaleDecimalSeparator)
{
    EXPECT_DOUBLE_EQ(StrToFloat(" 1.5 "), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat("-2.5e3"), -2500);
    EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("7."), 7);
    for (const char* text : {"", "1,5", "1e", "nan", "inf", "0x10", "1.2.3", "1e999", "- 1"})
        EXPECT_EQ(ConvertErrorOf([&] { (void)StrToFloat(text); }),
                  std::string("'") + text + "' is not a valid floating point value");
    DecimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
    double value = 0;
    EXPECT_FALSE(TryStrToFloat("1.5", value));
    DecimalSeparator = '.';
    EXPECT_DOUBLE_EQ(StrToFloatDef("?", 2.5), 2.5);
}

struct FloatCase {
    double Value;
    TFloatFormat Format;
    int Precision;
    int Digits;
    const char* Expected;
};

class FloatToStrFCases : public testing::TestWithParam<FloatCase> {};

TEST_P(FloatToStrFCases, MatchTheClassLibrary)
{
    const FloatCase& c = GetParam();
    EXPECT_EQ(FloatToStrF(c.Value, c.Format, c.Precision, c.Digits), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FloatToStrFCases,
    testing::Values(FloatCase{0, ffGeneral, 15, 0, "0"},
                    FloatCase{0.1 + 0.2, ffGeneral, 15, 0, "0.3"},
                    FloatCase{-1234.5, ffGeneral, 15, 0, "-1234.5"},
                    FloatCase{1e15, ffGeneral, 15, 0, "1E15"},
                    FloatCase{1e16, ffGeneral, 15, 0, "1E16"},
                    FloatCase{123456789012345678.0, ffGeneral, 15, 0, "1.23456789012346E17"},
                    FloatCase{0.0001, ffGeneral, 15, 0, "0.0001"},
                    FloatCase{0.00001, ffGeneral, 15, 0, "1E-5"},
                    FloatCase{1.5e-10, ffGeneral, 15, 2, "1.5E-10"},
                    FloatCase{1234.5, ffExponent, 4, 2, "1.235E+03"},
                    FloatCase{0, ffExponent, 3, 0, "0.00E+0"},
                    FloatCase{-0.000123, ffExponent, 2, 3, "-1.2E-004"},
                    FloatCase{2.675, ffFixed, 15, 2, "2.67"},  // the double lies just below the tie
                    FloatCase{0.125, ffFixed, 15, 2, "0.13"},
                    FloatCase{-0.004, ffFixed, 15, 2, "0.00"},
                    FloatCase{99.995, ffFixed, 15, 2, "100.00"},
                    FloatCase{1234567.891, ffNumber, 15, 2, "1,234,567.89"},
                    FloatCase{123.0, ffNumber, 15, 0, "123"},
                    FloatCase{-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
                    FloatCase{0.5, ffCurrency, 15, 0, "$1"},
                    FloatCase{std::nan(""), ffFixed, 15, 2, "NAN"},
                    FloatCase{-INFINITY, ffGeneral, 15, 0, "-INF"}),
    [](const auto& info) { return RowName(info.index, info.param.Expected); });

TEST(FloatToStr, ShowsFifteenSignificantDigits)
{
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(100), "100");
}

TEST(FloatToStrF, FollowsCurrencySettings)
{
    CurrencyString = "EUR";
    CurrencyFormat = 3;
    NegCurrFormat = 8;
    EXPECT_EQ(FloatToStrF(5, ffCurrency, 15, 2), "5.00 EUR");
    EXPECT_EQ(FloatToStrF(-5, ffCurrency, 15, 2), "-5.00 EUR");
    CurrencyString = "$";
    CurrencyFormat = 0;
    NegCurrFormat = 0;
}

struct PictureCase {
    const char* Picture;
    double Value;
    const char* Expected;
};

class FormatFloatCases : public testing::TestWithParam<PictureCase> {};

TEST_P(FormatFloatCases, MatchTheClassLibrary)
{
    const PictureCase& c = GetParam();
    EXPECT_EQ(FormatFloat(c.Picture, c.Value), c.Expected) << c.Picture;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatFloatCases,
    testing::Values(PictureCase{"0", 1234.5, "1235"},
                    PictureCase{"0.00", 1234.5, "1234.50"},
                    PictureCase{"#.##", 0.5, ".5"},
                    PictureCase{"#", 0, ""},
                    PictureCase{"#,##0.00", 1234567.891, "1,234,567.89"},
                    PictureCase{"#,##0", -1234, "-1,234"},
                    PictureCase{"000.0", 1.25, "001.3"},
                    PictureCase{"0.##", 1, "1"},
                    PictureCase{"0.0#", 1.5, "1.5"},
                    PictureCase{"0.0#", 1.567, "1.57"},
                    PictureCase{"0.00E+00", 1234.5, "1.23E+03"},
                    PictureCase{"0.00E-00", 0.0012345, "1.23E-03"},
                    PictureCase{"0.0E+0", 0, "0.0E+0"},
                    PictureCase{"##0.0E+0", 12345, "123.5E+2"},
                    PictureCase{"0.00;(0.00)", -5.5, "(5.50)"},
                    PictureCase{"0.00;(0.00);\"zero\"", 0, "zero"},
                    PictureCase{"0.00;(0.00);\"zero\"", -0.001, "zero"},
                    PictureCase{"0.00;;'none'", -2, "-2.00"},
                    PictureCase{"'Total: '#,##0.00' EUR'", 1500, "Total: 1,500.00 EUR"},
                    PictureCase{"0.0 \"a;b\"", 1, "1.0 a;b"},
                    PictureCase{"", 1.5, "1.5"}),
    [](const auto& info) { return RowName(info.index, std::string(info.param.Picture) + " gives " + info.param.Expected); });

TEST(CurrencyValues, ConvertAndFormatExactly)
{
    EXPECT_EQ(Currency::FromDouble(1.23456).Scaled(), 12346);
    EXPECT_EQ(Currency::FromDouble(0.00005).Scaled(), 0);  // ties go to even
    EXPECT_EQ(Currency::FromDouble(-0.00015).Scaled(), -1);  // the double lies just below the tie
    EXPECT_THROW((void)Currency::FromDouble(1e20), EOverflow);
    EXPECT_EQ(StrToCurr("12.5").Scaled(), 125000);
    EXPECT_EQ(ConvertErrorOf([] { (void)StrToCurr("1e30"); }), "'1e30' is not a valid floating point value");
    const Currency largest = Currency::FromScaled(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(CurrToStr(largest), "922337203685477.5807");
    EXPECT_EQ(CurrToStrF(Currency::FromScaled(-12345678), ffCurrency, 2), "($1,234.57)");
    EXPECT_EQ(FormatCurr("#,##0.0000", Currency::FromScaled(std::numeric_limits<std::int64_t>::min())),
              "-922,337,203,685,477.5808");
    EXPECT_EQ(Currency::FromScaled(10000) + Currency::FromScaled(5), Currency::FromScaled(10005));
}

}  // namespace
