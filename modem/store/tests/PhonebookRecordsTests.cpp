#include "modem/store/CallHistoryRecords.h"
#include "modem/store/PhonebookRecords.h"

#include "StoreFixture.h"

namespace {

class PhonebookRecordsTest : public StoreFixture {
protected:
    std::int64_t Add(const std::string& name, const std::string& number, int group, bool ticked = false)
    {
        const std::int64_t key = m_records.Add({name, number, "", "", group});
        if (ticked)
            Tick(key);
        return key;
    }

    void Tick(std::int64_t key)
    {
        TADOQuery& shown = Query(TModemQuery::QAll);
        shown.Close();
        shown.Open();
        for (shown.First(); !shown.Eof(); shown.Next())
            if (shown.RecordKey() == key) {
                shown.Edit();
                shown.FieldByName("SEL")->SetAsBoolean(true);
                shown.Post();
            }
    }

    TPhonebookRecords m_records{ProgramFolder()};
};

TEST_F(PhonebookRecordsTest, AContactIsChangedByItsKeyWhateverThePageQueryShows)
{
    const std::int64_t ann = Add("Ann", "5550001", 1);
    const std::int64_t zoe = Add("Zoe", "5550009", 3);
    TADOQuery& shown = Query(TModemQuery::QAll);
    shown.Close();
    shown.Open();
    shown.SetFilter("(GROUP = 1)");
    shown.SetFiltered(true);
    ASSERT_EQ(shown.RecordKey(), ann) << "the page shows another contact than the one being changed";

    const TContact changed{"Zoe Park", "+445550009", "1 High St", "office, 2nd floor", 2};
    EXPECT_TRUE(m_records.Change(zoe, changed));
    EXPECT_EQ(m_records.Contact(zoe), changed);
    EXPECT_EQ(m_records.Contact(ann), (TContact{"Ann", "5550001", "", "", 1}));
    EXPECT_EQ(TableRows("PB", {"NAME", "GROUP", "SEL"}),
              (std::vector<std::string>{"Ann|1|False", "Zoe Park|2|False"}));

    EXPECT_TRUE(m_records.Delete(zoe));
    EXPECT_FALSE(m_records.Contact(zoe));
    EXPECT_FALSE(m_records.Change(zoe, changed)) << "a contact deleted meanwhile is not brought back";
    EXPECT_FALSE(m_records.Delete(zoe));
    EXPECT_EQ(TableRows("PB", {"NAME"}), std::vector<std::string>{"Ann"});
}

TEST_F(PhonebookRecordsTest, DeleteAllTakesOnlyTheGroupOfItsTabOrEveryone)
{
    Add("Ann", "1", 1);
    Add("Bob", "2", 2);
    Add("Cid", "3", 1);
    Add("Dan", "4", 0);
    EXPECT_EQ(m_records.DeleteAll(1), 2);
    EXPECT_EQ(TableRows("PB", {"NAME"}), (std::vector<std::string>{"Bob", "Dan"}));
    EXPECT_EQ(m_records.DeleteAll(3), 0);
    EXPECT_EQ(m_records.DeleteAll(std::nullopt), 2);
    EXPECT_TRUE(TableRows("PB", {"NAME"}).empty());
}

TEST_F(PhonebookRecordsTest, TickedContactsAreTakenInNameOrderAndEveryTickIsCleared)
{
    Add("carl", "5550003", 2, true);
    Add("Ann", "5550001", 1, true);
    Add("Bob", "5550002", 0);
    Add("Bea", "5550004", 3, true);
    EXPECT_EQ(m_records.TakeTicked(), (std::vector<TTickedContact>{{"Ann", "5550001"}, {"Bea", "5550004"},
                                                                  {"carl", "5550003"}}));
    EXPECT_TRUE(m_records.TakeTicked().empty());

    Add("Eve", "5550005", 3, true);
    Query(TModemQuery::QAll).SetFilter("(GROUP = 1)");
    Query(TModemQuery::QAll).SetFiltered(true);
    m_records.ClearTicks();
    for (const std::string& row : TableRows("PB", {"SEL"}))
        EXPECT_EQ(row, "False") << "ticks outside the page's filter go too";
}

TEST_F(PhonebookRecordsTest, CallHistoryRowsAreReadAndDeletedByKeyInTheirOwnLog)
{
    TCallHistoryRecords calls(ProgramFolder());
    for (TModemQuery log : {TModemQuery::QIN, TModemQuery::QOUT, TModemQuery::QOUT}) {
        TADOQuery& query = Query(log);
        query.Append();
        query.FieldByName("NAME")->SetAsString("Unknown");
        query.FieldByName("NUM")->SetAsString(log == TModemQuery::QIN ? "5551111" : "*72#");
        query.Post();
    }
    TADOQuery& dialled = Query(TModemQuery::QOUT);
    dialled.First();
    const std::int64_t key = *dialled.RecordKey();
    EXPECT_EQ(calls.Number(TCallList::Outgoing, key), "*72#");
    EXPECT_FALSE(calls.Number(TCallList::Missed, key));
    EXPECT_TRUE(calls.Delete(TCallList::Outgoing, key));
    EXPECT_FALSE(calls.Number(TCallList::Outgoing, key));
    EXPECT_EQ(TableRows("CO", {"NUM"}), std::vector<std::string>{"*72#"});

    EXPECT_EQ(calls.DeleteAll(TCallList::Incoming), 1);
    EXPECT_TRUE(TableRows("CI", {"NUM"}).empty());
    EXPECT_EQ(TableRows("CO", {"NUM"}).size(), 1U) << "only the log asked for is emptied";
}

} // namespace
