#include "modem/store/SmsRecords.h"

#include "StoreFixture.h"

namespace {

using Rows = std::vector<std::string>;

// A new-message report laid out as the modem writes it: the number three characters after the
// first quote, the date's fields after the quote that ends it, then the length and the message
// on their own lines.
std::string Report(const std::string& number, const std::string& length, const std::string& text)
{
    return "\r\n$QCMT: 0,\"x," + number + "\",\"24/05/01,09:15:30+32\"," + length + "\r\n" + text + "\r\n";
}

TEST(SMSFormatTest, SplitsReportsWhateverTheirLengthSaysAndRefusesTheShapeless)
{
    struct Case {
        std::string report;
        bool parsed;
        std::string number, date, text;
    };
    const Case cases[] = {
        {Report("13812345678", "5", "Hello"), true, "13812345678", "2024-05-01 09:15:30", "Hello"},
        // Line breaks and the characters that once stood for them are the message's own.
        {Report("5551234", "13", "Hi *\r\n# there"), true, "5551234", "2024-05-01 09:15:30", "Hi *\r\n# there"},
        {Report("", "2", "Yo"), true, "", "2024-05-01 09:15:30", "Yo"},
        // A length that is wrong or no number takes the message up to the report's closing line break.
        {Report("5551234", "99", "cut"), true, "5551234", "2024-05-01 09:15:30", "cut"},
        {Report("5551234", "x5", "Hello"), true, "5551234", "2024-05-01 09:15:30", "Hello"},
        {Report("5551234", "", "Hello"), true, "5551234", "2024-05-01 09:15:30", "Hello"},
        {Report("5551234", "123456", "Hello"), true, "5551234", "2024-05-01 09:15:30", "Hello"},
        {Report("5551234", "99999999999999999999999", "Hi"), true, "5551234", "2024-05-01 09:15:30", "Hi"},
        {Report("5551234", "1200", std::string(1200, 'x')), true, "5551234", "2024-05-01 09:15:30",
         std::string(1200, 'x')},
        // 8-bit text that is not UTF-8 is Latin-1; UTF-8 stays as it is.
        {Report("5551234", "4", "Gr\xFC\xDF"), true, "5551234", "2024-05-01 09:15:30", "Gr\xC3\xBC\xC3\x9F"},
        {Report("5551234", "6", "Gr\xC3\xBC\xC3\x9F"), true, "5551234", "2024-05-01 09:15:30", "Gr\xC3\xBC\xC3\x9F"},
        {Report("5551234", "2", "\xE2\x82"), true, "5551234", "2024-05-01 09:15:30", "\xC3\xA2\xC2\x82"},
        {"\r\n$QCMT: no quotes here at all\r\n", false, "", "", ""},
        {"\r\n$QCMT: 0,\"x,5551234", false, "", "", ""},
        {"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"", false, "", "", ""},
        {"", false, "", "", ""},
        {"\r\n$QCMT: 0,\"x,1\",\"", false, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        const TReceivedSms sms = SMSFormat(c.report);
        EXPECT_EQ(sms.parsed, c.parsed);
        EXPECT_EQ(sms.number, c.number);
        EXPECT_EQ(sms.dateText, c.date);
        EXPECT_EQ(sms.text, c.text);
    }
}

TEST(SMSBufFormatTest, SplitsAtTheFirstTwoStars)
{
    struct Case {
        const char* item;
        const char *number, *name, *text;
    };
    const Case cases[] = {
        {"5551234*Bob*Hello", "5551234", "Bob", "Hello"},
        {"5551234*Bob*2*3=6 * yes", "5551234", "Bob", "2*3=6 * yes"},
        {"5551234**", "5551234", "", ""},
        {"5551234*Bob", "5551234", "Bob", ""},
        {"5551234", "5551234", "", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        const TSmsItem item = SMSBufFormat(c.item);
        EXPECT_EQ(item.number, c.number) << c.item;
        EXPECT_EQ(item.name, c.name) << c.item;
        EXPECT_EQ(item.text, c.text) << c.item;
    }
}

class SmsRecordsTest : public StoreFixture {
protected:
    TNameLookup m_lookup{ProgramFolder()};
    std::vector<unsigned> m_delays;
    TSmsRecords m_records{{Query(TModemQuery::QIB), Query(TModemQuery::QOB), Query(TModemQuery::QSB)},
                          m_lookup, m_view, [this](unsigned ms) { m_delays.push_back(ms); }};
};

TEST_F(SmsRecordsTest, ReceivedMessagesAreKeptWhateverTheirShape)
{
    AddContact("Alice", "+8613812345678");
    m_records.StoreReceived(Report("13812345678", "12", "Hello\r\nworld"));
    m_records.StoreReceived(Report("5550100", "2", "Hi"));
    m_records.StoreReceived(Report("", "4", "Boo!"));
    m_records.StoreReceived("\r\n$QCMT: 0,\"x,5551234\",\"24/05/01,09:15:30+32\",1x\r\nKept\r\n");
    const std::string shapeless = "\r\n$QCMT: no quotes\r\nLost?\r\n";
    m_records.StoreReceived(shapeless);
    EXPECT_EQ(TableRows("IB", {"NAME", "NUM", "TEXT", "DT", "R"}),
              (Rows{"Alice|13812345678|Hello\r\nworld|2024-05-01 12:00:00|True",
                    "Unknown|5550100|Hi|2024-05-01 12:00:00|True",
                    "Unknown|Anonymous|Boo!|2024-05-01 12:00:00|True",
                    "Unknown|5551234|Kept|2024-05-01 12:00:00|True",
                    "Unknown|Anonymous|" + shapeless + "|2024-05-01 12:00:00|True"}));
    EXPECT_EQ(m_view.shown, (Rows{"sms 0", "sms 0", "sms 0", "sms 0", "sms 0"}));
}

TEST_F(SmsRecordsTest, FailedAndSentItemsGoToTheirBoxes)
{
    m_records.StoreFailed("5550100*Bob*Call me*now");
    m_records.StoreFailed("5550101*5550101*Hello");
    m_records.StoreSent("5550102*Carol*See you");
    m_records.StoreSent("5550103*+5550103*Hi");
    EXPECT_EQ(TableRows("OB", {"NAME", "NUM", "TEXT", "DT", "R"}),
              (Rows{"Bob|5550100|Call me*now|2024-05-01 12:00:00|True",
                    "Unknown|5550101|Hello|2024-05-01 12:00:00|True"}));
    EXPECT_EQ(TableRows("SB", {"NAME", "NUM", "TEXT", "R"}),
              (Rows{"Carol|5550102|See you|True", "Unknown|5550103|Hi|True"}));
    EXPECT_EQ(m_view.shown, (Rows{"sms 1", "sms 1", "sms 2", "sms 2"}));
}

TEST_F(SmsRecordsTest, EachRowIsShownByRunningItsQueryAgain)
{
    TADOQuery& sent = Query(TModemQuery::QSB);
    m_records.StoreSent("5550102*Carol*See you");
    EXPECT_EQ(m_delays, std::vector<unsigned>{100});
    EXPECT_TRUE(sent.Active());
    EXPECT_EQ(sent.RecNo(), 1);
    EXPECT_EQ(sent.FieldByName("TEXT")->AsString(), "See you");
}

TEST_F(SmsRecordsTest, ANewDatabaseComesWithThreeTemplates)
{
    const Rows templates = TableRows("TP", Rows{"TEXT"});
    EXPECT_EQ(templates.size(), 3u);
    for (const std::string& text : templates) {
        EXPECT_FALSE(text.empty());
        EXPECT_LE(text.size(), 160u);
    }
}

} // namespace
