#include "grid/core/DBSumLst.h"
#include "grid/core/tests/TestDataGrid.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace {

class FooterSums : public GridDataFixture {
protected:
    void Rows(std::initializer_list<std::optional<double>> amounts)
    {
        for (const auto& amount : amounts)
            Exec("INSERT INTO T (NAME, AMOUNT) VALUES ('r', " + (amount ? std::to_string(*amount) : "NULL") + ")");
        Show("SELECT * FROM T ORDER BY ID");
    }

    TDBSum& AddSum(TDBSumListProducer& producer, TGroupOperation operation, const std::string& field = "AMOUNT")
    {
        TDBSum& sum = *producer.SumCollection()->Add();
        sum.SetFieldName(field);
        sum.SetGroupOperation(operation);
        return sum;
    }

    // Sum, average, count of AMOUNT and count of records.
    void AddAll(TDBSumListProducer& producer)
    {
        AddSum(producer, goSum);
        AddSum(producer, goAvg);
        AddSum(producer, goCount);
        AddSum(producer, goCount, "");
    }

    static std::vector<std::int64_t> Totals(const TDBSumListProducer& producer)
    {
        std::vector<std::int64_t> totals;
        for (int i = 0; i < producer.SumCollection()->Count(); ++i)
            totals.push_back(producer.SumCollection()->SumAt(i)->TotalValue());
        return totals;
    }

    void SetAmount(std::optional<double> amount)
    {
        if (amount)
            m_query->FieldByName("AMOUNT")->SetAsFloat(*amount);
        else
            m_query->FieldByName("AMOUNT")->Clear();
    }
};

using Amounts = std::vector<std::int64_t>;

} // namespace

TEST_F(FooterSums, WorkedValues)
{
    Rows({1.25, 2.5});
    TDBSumListProducer producer;
    AddAll(producer);
    producer.SetDataSet(m_query.get());
    EXPECT_EQ(Totals(producer), (Amounts{37'500, 18'750, 20'000, 20'000}));
}

TEST_F(FooterSums, AveragesAndCountsSkipNulls)
{
    Rows({2, std::nullopt, 4});
    TDBSumListProducer producer;
    AddAll(producer);
    producer.SetDataSet(m_query.get());
    EXPECT_EQ(Totals(producer), (Amounts{60'000, 30'000, 20'000, 30'000}));
    EXPECT_EQ(producer.GetSumByOpAndFName(goAvg, "amount"), producer.SumCollection()->SumAt(1));
    EXPECT_EQ(producer.GetSumByOpAndFName(goAvg, "QTY"), nullptr);
}

TEST_F(FooterSums, AverageTiesRoundToEven)
{
    Rows({1, 0.0005});
    TDBSumListProducer producer;
    AddSum(producer, goAvg);
    producer.SetDataSet(m_query.get());
    EXPECT_EQ(Totals(producer), (Amounts{5'002})) << "10,005 / 2";
}

TEST_F(FooterSums, AnEditAddsTheDifferenceWithoutAFullPass)
{
    Rows({5, 1});
    TDBSumListProducer producer;
    AddSum(producer, goSum);
    producer.SetDataSet(m_query.get());
    int passes = 0;
    producer.SetOnRecalcAll(TNotifyEvent::FromFunction([&](TObject*) { ++passes; }));
    Edit([&] { SetAmount(7); });
    EXPECT_EQ(Totals(producer), (Amounts{80'000}));
    EXPECT_EQ(passes, 0);
}

TEST_F(FooterSums, DeletingTheLastValueOfAnAverageLeavesZero)
{
    Rows({3});
    TDBSumListProducer producer;
    AddSum(producer, goAvg);
    producer.SetDataSet(m_query.get());
    m_query->Delete();
    EXPECT_EQ(Totals(producer), (Amounts{0}));
}

// After every change the running totals equal a fresh full pass.
TEST_F(FooterSums, IncrementalTotalsMatchAFullPass)
{
    Rows({1.5, std::nullopt, -2.25});
    TDBSumListProducer running;
    AddAll(running);
    running.SetDataSet(m_query.get());
    std::mt19937 random(7);
    const auto amount = [&]() -> std::optional<double> {
        const int roll = static_cast<int>(random() % 7);
        return roll == 0 ? std::nullopt : std::optional<double>((roll - 3) * 1.75);
    };
    for (int step = 0; step < 60; ++step) {
        const int action = static_cast<int>(random() % 5);
        if (!m_query->IsEmpty())
            m_query->SetRecNo(1 + static_cast<int>(random() % static_cast<unsigned>(m_query->RecordCount())));
        if (action == 0 || m_query->IsEmpty()) {
            m_query->Append();
            SetAmount(amount());
            m_query->Post();
        } else if (action == 1) {
            Edit([&] { SetAmount(amount()); });
        } else if (action == 2) {
            m_query->Delete();
        } else if (action == 3) {
            m_query->Edit();
            SetAmount(amount());
            m_query->Cancel();
        } else {
            m_query->Insert();
            SetAmount(amount());
            m_query->Cancel();
        }
        TDBSumListProducer fresh;
        AddAll(fresh);
        fresh.SetDataSet(m_query.get());
        ASSERT_EQ(Totals(running), Totals(fresh)) << "step " << step << ", action " << action;
    }
}

TEST_F(FooterSums, AFailedDeleteLeavesTheTotals)
{
    Exec("CREATE TRIGGER KeepRows BEFORE DELETE ON T WHEN OLD.NAME = 'keep' BEGIN SELECT RAISE(ABORT, 'kept'); END");
    Exec("INSERT INTO T (NAME, AMOUNT) VALUES ('keep', 4)");
    Rows({6});
    TDBSumListProducer producer;
    AddSum(producer, goSum);
    AddSum(producer, goAvg);
    producer.SetDataSet(m_query.get());
    m_query->First();
    EXPECT_ANY_THROW(m_query->Delete());
    EXPECT_EQ(Totals(producer), (Amounts{100'000, 50'000}));
    m_query->Last();
    m_query->Delete();
    EXPECT_EQ(Totals(producer), (Amounts{40'000, 40'000}));
}

TEST_F(FooterSums, TheApplicationsHandlersKeepRunning)
{
    Rows({1});
    std::vector<std::string> log;
    m_query->SetAfterPost(TDataSetNotifyEvent::FromFunction([&](TDataSet*) { log.push_back("application"); }));
    auto first = std::make_unique<TDBSumListProducer>();
    auto second = std::make_unique<TDBSumListProducer>();
    AddSum(*first, goSum);
    AddSum(*second, goSum);
    first->SetDataSet(m_query.get());
    second->SetDataSet(m_query.get());
    first->SetSumListChanged(TNotifyEvent::FromFunction([&](TObject*) { log.push_back("first"); }));
    Edit([&] { SetAmount(2); });
    EXPECT_EQ(log, (std::vector<std::string>{"first", "application"})) << "the totals are ready for the handler";
    first.reset();
    Edit([&] { SetAmount(3); });
    EXPECT_EQ(Totals(*second), (Amounts{30'000}));
    second.reset();
    Edit([&] { SetAmount(4); });
    EXPECT_EQ(log.back(), "application");
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(FooterSums, AFilterChangeSeenOnScrollRecalculates)
{
    Rows({1, 2, 3});
    TDBSumListProducer producer;
    AddSum(producer, goSum);
    producer.SetDataSet(m_query.get());
    int passes = 0;
    producer.SetOnRecalcAll(TNotifyEvent::FromFunction([&](TObject*) { ++passes; }));
    m_query->Next();
    EXPECT_EQ(passes, 0);
    m_query->SetFilter("AMOUNT > 1");
    m_query->SetFiltered(true);
    m_query->First();
    EXPECT_EQ(Totals(producer), (Amounts{50'000}));
    const int afterFilter = passes;
    m_query->Next();
    EXPECT_EQ(passes, afterFilter) << "the same filter again";
}

TEST_F(FooterSums, RecalculatingKeepsTheCurrentRecord)
{
    Rows({1, 2, 3});
    TDBSumListProducer producer;
    AddSum(producer, goSum);
    producer.SetDataSet(m_query.get());
    m_query->SetRecNo(3);
    AddSum(producer, goCount, "");
    EXPECT_EQ(Totals(producer), (Amounts{60'000, 30'000}));
    EXPECT_EQ(m_query->RecNo(), 3);
}

TEST_F(FooterSums, ClosingClearsAndReopeningRecalculates)
{
    Rows({1, 2});
    TDBSumListProducer producer;
    AddSum(producer, goSum);
    producer.SetDataSet(m_query.get());
    m_query->Close();
    EXPECT_EQ(Totals(producer), (Amounts{0}));
    m_query->Open();
    EXPECT_EQ(Totals(producer), (Amounts{30'000}));
    producer.SetActive(false);
    EXPECT_FALSE(producer.EventsOverloaded());
    Edit([&] { SetAmount(9); });
    EXPECT_EQ(Totals(producer), (Amounts{0}));
}

TEST_F(FooterSums, AnAmountTooLargeForFixedPointRaises)
{
    Rows({1e300});
    TDBSumListProducer producer;
    AddSum(producer, goSum);
    bool told = false;
    producer.SetSumListChanged(TNotifyEvent::FromFunction([&](TObject*) { told = true; }));
    EXPECT_THROW(producer.SetDataSet(m_query.get()), EInvalidOp);
    EXPECT_TRUE(told);
    EXPECT_EQ(Totals(producer), (Amounts{0}));
}

TEST_F(FooterSums, AnUnknownFieldRaisesTheDataSetsError)
{
    Rows({1});
    TDBSumListProducer producer;
    producer.SetDataSet(m_query.get());
    EXPECT_THROW(AddSum(producer, goSum, "NOPE"), EDatabaseError);
}
