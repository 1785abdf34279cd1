#include <gtest/gtest.h>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LocaleSettings.h"
#include "tests/support/RowNames.h"

namespace {

struct Ymd {
    int Year, Month, Day;
    double Serial;
};

class DateSerials : public testing::TestWithParam<Ymd> {};

TEST_P(DateSerials, EncodeAndDecodeRoundTrip)
{
    const Ymd& c = GetParam();
    EXPECT_EQ(EncodeDate(c.Year, c.Month, c.Day), c.Serial);
    std::uint16_t y = 0, m = 0, d = 0;
    DecodeDate(c.Serial + (c.Serial < 0 ? -0.75 : 0.75), y, m, d);  // the time runs away from zero
    EXPECT_EQ(y, c.Year);
    EXPECT_EQ(m, c.Month);
    EXPECT_EQ(d, c.Day);
}

INSTANTIATE_TEST_SUITE_P(Table, DateSerials,
                         testing::Values(Ymd{1899, 12, 30, 0}, Ymd{1900, 1, 1, 2}, Ymd{1900, 3, 1, 61},
                                         Ymd{2000, 2, 29, 36585}, Ymd{2000, 3, 1, 36586}, Ymd{1899, 12, 29, -1},
                                         Ymd{1, 1, 1, -693593}, Ymd{9999, 12, 31, 2958465}, Ymd{2024, 12, 31, 45657}),
                         [](const auto& info) {
                             const Ymd& c = info.param;
                             return RowName(info.index, std::to_string(c.Year) + " " + std::to_string(c.Month) + " " +
                                                            std::to_string(c.Day));
                         });

TEST(DateTimeEncoding, EveryDayOfFourCenturiesRoundTrips)
{
    for (double day = EncodeDate(1800, 1, 1); day <= EncodeDate(2200, 12, 31); ++day) {
        std::uint16_t y = 0, m = 0, d = 0;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day);
    }
}

TEST(DateTimeEncoding, RejectsInvalidArguments)
{
    EXPECT_THROW((void)EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW((void)EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW((void)EncodeDate(2023, 13, 1), EConvertError);
    try {
        (void)EncodeTime(24, 0, 0, 0);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Invalid argument to time encode");
    }
    TDateTime value = 5;
    EXPECT_FALSE(TryEncodeDate(2023, 4, 31, value));
    EXPECT_EQ(value, 5);
    std::uint16_t y = 1, m = 1, d = 1;
    DecodeDate(-800000, y, m, d);
    EXPECT_EQ(y + m + d, 0);
}

TEST(DateTimeEncoding, TimeRoundsToTheMillisecondAndRunsForwardBeforeTheEpoch)
{
    std::uint16_t h = 0, n = 0, s = 0, ms = 0;
    DecodeTime(EncodeTime(13, 45, 30, 250), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 134530250);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(h, 6);
    const TDateTime almostMidnight = EncodeDate(2020, 1, 1) + 0.9999999999;
    std::uint16_t y = 0, mo = 0, d = 0;
    DecodeDate(almostMidnight, y, mo, d);
    DecodeTime(almostMidnight, h, n, s, ms);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(h + n + s + ms, 0);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 9)), 1);  // a Sunday
    EXPECT_EQ(DayOfWeek(-1), 6);
}

TDateTime FixedNow()
{
    return EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 42);
}

TEST(DateTimeClock, SourceCanBeReplaced)
{
    SetDateTimeSource(FixedNow);
    EXPECT_EQ(Date(), EncodeDate(2024, 3, 5));
    EXPECT_NEAR(Time(), EncodeTime(14, 7, 9, 42), 1e-9);
    SetDateTimeSource(nullptr);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

struct FormatCase {
    const char* Format;
    const char* Expected;
};

class FormatDateTimeCases : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTimeCases, MatchTheClassLibrary)
{
    const TDateTime value = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 42);
    EXPECT_EQ(FormatDateTime(GetParam().Format, value), GetParam().Expected) << GetParam().Format;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatDateTimeCases,
    testing::Values(FormatCase{"hh:nn:ss", "14:07:09"}, FormatCase{"h:m:s", "14:7:9"},
                    FormatCase{"hh:mm", "14:07"}, FormatCase{"d/m/yy", "5/3/24"},
                    FormatCase{"dd.mm.yyyy", "05.03.2024"}, FormatCase{"ddd dddd", "Tue Tuesday"},
                    FormatCase{"mmm mmmm", "Mar March"}, FormatCase{"ddddd", "3/5/2024"},
                    FormatCase{"dddddd", "Tuesday, March 5, 2024"}, FormatCase{"t|tt", "2:07 PM|2:07:09 PM"},
                    FormatCase{"c", "3/5/2024 2:07:09 PM"}, FormatCase{"", "3/5/2024 2:07:09 PM"},
                    FormatCase{"h am/pm", "2 pm"}, FormatCase{"h A/P", "2 P"}, FormatCase{"hh ampm", "02 PM"},
                    FormatCase{"hh 'at' nn", "14 at 07"}, FormatCase{"\"h\"h", "h14"},
                    FormatCase{"z zzz", "42 042"}, FormatCase{"YYYY-MM-DD", "2024-03-05"},
                    FormatCase{"hh:nn a", "14:07 a"}),
    [](const auto& info) { return RowName(info.index, info.param.Format); });

TEST(FormatDateTime, UsesSeparatorsAndMidnightOmitsTheTime)
{
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "3/5/2024");
    EXPECT_EQ(TimeToStr(EncodeTime(0, 5, 0, 0)), "12:05:00 AM");
    DateSeparator = '-';
    TimeSeparator = '.';
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", EncodeDate(2024, 3, 5)), "2024-03-05 00.00");
    DateSeparator = '/';
    TimeSeparator = ':';
}

TEST(FormatDateTime, SelfReferringSettingsDoNotRecurseForever)
{
    const std::string saved = ShortDateFormat;
    ShortDateFormat = "ddddd";
    EXPECT_EQ(DateToStr(1), "");
    ShortDateFormat = saved;
}

TEST(StrToDate, ReadsShortDateOrder)
{
    EXPECT_EQ(StrToDate("3/5/2024"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate(" 12 / 31 / 1999 "), EncodeDate(1999, 12, 31));
    SetDateTimeSource(FixedNow);
    EXPECT_EQ(StrToDate("3/5"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("1/2/30"), EncodeDate(2030, 1, 2));
    EXPECT_EQ(StrToDate("1/2/80"), EncodeDate(1980, 1, 2));
    const std::string saved = ShortDateFormat;
    ShortDateFormat = "dd/MM/yyyy";
    EXPECT_EQ(StrToDate("3/5/2024"), EncodeDate(2024, 5, 3));
    ShortDateFormat = saved;
    SetDateTimeSource(nullptr);
    for (const char* text : {"", "2/30/2024", "13/1/2024", "1/2/3/4", "a/b/c", "1-2-2024", "5"}) {
        try {
            (void)StrToDate(text);
            ADD_FAILURE() << text;
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), std::string("'") + text + "' is not a valid date");
        }
    }
}

TEST(StrToTime, ReadsTwentyFourAndTwelveHourClocks)
{
    EXPECT_EQ(StrToTime("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToTime("2:07:09 PM"), EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(StrToTime("12:00 am"), 0);
    EXPECT_EQ(StrToTime("11 PM"), EncodeTime(23, 0, 0, 0));
    EXPECT_EQ(StrToTime("1:02:03.456"), EncodeTime(1, 2, 3, 456));
    EXPECT_THROW((void)StrToTime("25:00"), EConvertError);
    EXPECT_THROW((void)StrToTime("13:00 PM"), EConvertError);
    EXPECT_THROW((void)StrToTime("14"), EConvertError);
    EXPECT_EQ(StrToDateTime("3/5/2024 2:07 PM"), EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(StrToDateTime("12/29/1899 06:00"), -1.25);
    EXPECT_EQ(StrToDateTime("06:00"), 0.25);
    EXPECT_THROW((void)StrToDateTime("3/5/2024 x"), EConvertError);
}

}  // namespace
