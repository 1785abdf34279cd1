#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DatabaseSchema.h"
#include "platform/classlib/core/StringLists.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

class DataSetSubscriptions : public ::testing::Test {
protected:
    DataSetSubscriptions()
    {
        RegisterDatabaseSchema("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, V INTEGER);"
                               "INSERT INTO T (V) VALUES (1); INSERT INTO T (V) VALUES (2);");
        m_query = std::make_unique<TADOQuery>(nullptr);
        m_query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "t.db").string());
        m_query->SQL()->SetText("SELECT * FROM T");
    }
    ~DataSetSubscriptions() override { RegisterDatabaseSchema({}); }

    TDataSetNotifyEvent Logger(std::string name)
    {
        return TDataSetNotifyEvent::FromFunction([this, name](TDataSet*) { m_log.push_back(name); });
    }

    TempDir m_dir;
    std::unique_ptr<TADOQuery> m_query;
    std::vector<std::string> m_log;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(DataSetSubscriptions, SubscribersHearAfterEventsBeforeTheHandlerAndBeforeDeleteAfterIt)
{
    m_query->SetAfterPost(Logger("handler post"));
    m_query->SetBeforeDelete(Logger("handler delete"));
    const auto post1 = m_query->Subscribe(dnAfterPost, Logger("first post"));
    const auto post2 = m_query->Subscribe(dnAfterPost, Logger("second post"));
    const auto del = m_query->Subscribe(dnBeforeDelete, Logger("subscriber delete"));
    m_query->Open();
    m_query->Edit();
    m_query->FieldByName("V")->SetAsInteger(5);
    m_query->Post();
    m_query->Delete();
    EXPECT_EQ(m_log, (Log{"first post", "second post", "handler post", "handler delete", "subscriber delete"}));
}

TEST_F(DataSetSubscriptions, AHandlerThatRefusesTheDeleteStopsTheSubscribers)
{
    m_query->SetBeforeDelete(TDataSetNotifyEvent::FromFunction([](TDataSet*) { throw EDatabaseError("no"); }));
    const auto del = m_query->Subscribe(dnBeforeDelete, Logger("subscriber delete"));
    const auto after = m_query->Subscribe(dnAfterDelete, Logger("after delete"));
    m_query->Open();
    EXPECT_THROW(m_query->Delete(), EDatabaseError);
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(m_query->RecordCount(), 2);
}

TEST_F(DataSetSubscriptions, EndingSubscriptionsInAnyOrderLeavesTheOthersAndTheHandler)
{
    m_query->SetAfterOpen(Logger("handler"));
    std::optional<TDataSetSubscription> a = m_query->Subscribe(dnAfterOpen, Logger("a"));
    std::optional<TDataSetSubscription> b = m_query->Subscribe(dnAfterOpen, Logger("b"));
    a.reset();
    m_query->Open();
    b.reset();
    m_query->Close();
    m_query->Open();
    EXPECT_EQ(m_log, (Log{"b", "handler", "handler"}));
}

TEST_F(DataSetSubscriptions, ASubscriberMayEndAnotherWhileBeingCalled)
{
    std::optional<TDataSetSubscription> second;
    const auto first = m_query->Subscribe(dnAfterOpen, TDataSetNotifyEvent::FromFunction([&](TDataSet*) {
        m_log.push_back("first");
        second.reset();
    }));
    second = m_query->Subscribe(dnAfterOpen, Logger("second"));
    m_query->Open();
    EXPECT_EQ(m_log, (Log{"first"}));
}

TEST_F(DataSetSubscriptions, ASubscriptionMayOutliveItsDataSet)
{
    TDataSetSubscription subscription = m_query->Subscribe(dnAfterScroll, Logger("scroll"));
    EXPECT_TRUE(subscription.Subscribed());
    m_query.reset();
    EXPECT_FALSE(subscription.Subscribed());
    subscription.Reset();
}
