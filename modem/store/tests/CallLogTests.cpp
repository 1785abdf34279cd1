#include "modem/store/CallLog.h"

#include "StoreFixture.h"

namespace {

using Rows = std::vector<std::string>;

TEST(CallDurationTest, HoursMinutesSecondsWithHoursGrowingPast99)
{
    const std::pair<int, const char*> cases[] = {
        {0, "00:00:00"},    {59, "00:00:59"},      {3599, "00:59:59"},        {3600, "01:00:00"},
        {359999, "99:59:59"}, {360000, "100:00:00"}, {3600000, "1000:00:00"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(CallDuration(seconds), text) << seconds;
}

class CallLogTest : public StoreFixture {
protected:
    TNameLookup m_lookup{ProgramFolder()};
    TCallLog m_log{{Query(TModemQuery::QIN), Query(TModemQuery::QOUT), Query(TModemQuery::QMISS)}, m_lookup, m_view};
};

TEST_F(CallLogTest, EachKindOfCallGetsItsRowStampedWithItsStart)
{
    AddContact("Alice", "+8613812345678");
    m_log.Call_Log(TCallList::Incoming, {"13812345678", 65, true});
    m_log.Call_Log(TCallList::Outgoing, {"5550100", 3600, true});
    m_log.Call_Log(TCallList::Outgoing, {"+8613812345678", 12, false});
    m_log.Call_Log(TCallList::Missed, {"13812345678", 40, false});
    m_log.Call_Log(TCallList::Incoming, {"5550199", 360000, true});

    EXPECT_EQ(TableRows("CI", {"NAME", "NUM", "DT", "DUR"}),
              (Rows{"Alice|13812345678|2024-05-01 11:58:55|00:01:05", "Unknown|5550199|2024-04-27 08:00:00|100:00:00"}));
    // A dialled call that never connected lasted nothing.
    EXPECT_EQ(TableRows("CO", {"NAME", "NUM", "DT", "DUR"}),
              (Rows{"Unknown|5550100|2024-05-01 11:00:00|01:00:00", "Alice|+8613812345678|2024-05-01 11:59:48|00:00:00"}));
    // A missed call: the time it ended ringing, and no duration.
    EXPECT_EQ(TableRows("CM", {"NAME", "NUM", "DT"}), (Rows{"Alice|13812345678|2024-05-01 12:00:00"}));
    // The call page shows each list as its row arrives, and forgets the call unless it was missed.
    EXPECT_EQ(m_view.shown, (Rows{"call 0", "clear", "call 1", "clear", "call 1", "clear", "call 2", "call 0", "clear"}));
}

TEST_F(CallLogTest, TheRowShowsInItsOpenQuery)
{
    m_log.Call_Log(TCallList::Missed, {"5550100", 0, false});
    TADOQuery& missed = Query(TModemQuery::QMISS);
    EXPECT_EQ(missed.State(), dsBrowse);
    EXPECT_EQ(missed.RecordCount(), 1);
    EXPECT_EQ(missed.FieldByName("NUM")->AsString(), "5550100");
}

} // namespace
