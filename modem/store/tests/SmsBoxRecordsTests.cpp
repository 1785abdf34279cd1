#include "modem/store/SmsBoxRecords.h"

#include "StoreFixture.h"

namespace {

class SmsBoxRecordsTest : public StoreFixture {
protected:
    // A message written as the boxes' queries write it (a true R is stored as Jet's -1); its key.
    std::int64_t Store(TModemQuery box, const std::string& name, const std::string& text, bool unread = false)
    {
        TADOQuery& query = Query(box);
        query.Append();
        query.FieldByName("NAME")->SetAsString(name);
        query.FieldByName("NUM")->SetAsString("555" + name);
        query.FieldByName("DT")->SetAsDateTime(FixedNow);
        query.FieldByName("TEXT")->SetAsString(text);
        query.FieldByName("R")->SetAsBoolean(unread);
        query.Post();
        return *query.RecordKey();
    }

    TSmsBoxRecords m_records{ProgramFolder()};
};

TEST_F(SmsBoxRecordsTest, MessagesAreReadMarkedReadAndDeletedByKeyWithinTheirOwnBox)
{
    const std::int64_t ann = Store(TModemQuery::QIB, "Ann", "Hello", true);
    const std::int64_t bob = Store(TModemQuery::QIB, "Bob", "Hi", true);
    const std::int64_t draft = Store(TModemQuery::QOB, "Cid", "Draft");
    Store(TModemQuery::QSB, "Dan", "Sent");

    EXPECT_EQ(m_records.Message(TSmsBox::Inbox, ann), (TStoredMessage{"Ann", "555Ann", "Hello"}));
    EXPECT_EQ(m_records.Message(TSmsBox::Outbox, draft), (TStoredMessage{"Cid", "555Cid", "Draft"}));
    EXPECT_TRUE(m_records.AnyUnread());
    m_records.MarkRead(ann);
    EXPECT_TRUE(m_records.AnyUnread());
    m_records.MarkRead(bob);
    EXPECT_FALSE(m_records.AnyUnread());
    EXPECT_EQ(TableRows("IB", {"NAME", "R"}), (std::vector<std::string>{"Ann|False", "Bob|False"}));

    EXPECT_TRUE(m_records.Delete(TSmsBox::Outbox, draft));
    EXPECT_FALSE(m_records.Delete(TSmsBox::Outbox, draft)) << "gone already";
    EXPECT_EQ(m_records.Message(TSmsBox::Outbox, draft), std::nullopt);
    EXPECT_EQ(m_records.DeleteAll(TSmsBox::Inbox), 2);
    EXPECT_TRUE(TableRows("IB", {"NAME"}).empty());
    EXPECT_TRUE(TableRows("OB", {"NAME"}).empty());
    EXPECT_EQ(TableRows("SB", {"NAME"}), std::vector<std::string>{"Dan"}) << "the sent box keeps its message";
}

TEST_F(SmsBoxRecordsTest, ATemplateIsChangedByItsKey)
{
    TADOQuery& templates = Query(TModemQuery::QTEMP);
    templates.Last();
    const std::int64_t last = *templates.RecordKey();
    templates.First();

    EXPECT_TRUE(m_records.ChangeTemplate(last, "Call me later."));
    EXPECT_EQ(m_records.Template(last), "Call me later.");
    const std::vector<std::string> rows = TableRows("TP", {"TEXT"});
    ASSERT_EQ(rows.size(), 3U) << "the shipped templates";
    EXPECT_EQ(rows.back(), "Call me later.");
    EXPECT_NE(rows.front(), "Call me later.") << "the row the query shows is left alone";
    EXPECT_FALSE(m_records.ChangeTemplate(last + 100, "Nowhere"));
    EXPECT_EQ(m_records.Template(last + 100), std::nullopt);
}

} // namespace
