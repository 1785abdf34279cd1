#include "platform/classlib/core/Lists.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int g_values[6] = {0, 1, 2, 3, 4, 5};
void* P(int i) { return &g_values[i]; }

std::vector<int> Values(const TList& list)
{
    std::vector<int> values;
    for (int i = 0; i < list.Count(); ++i)
        values.push_back(list.Items(i) ? *static_cast<int*>(list.Items(i)) : -1);
    return values;
}

// Records what the list reports about its items, as an owning list would act on it.
class RecordingList : public TList {
public:
    std::vector<std::string> events;

protected:
    void Notify(void* item, TListNotification action) override
    {
        const char* names[] = {"added", "extracted", "deleted"};
        events.push_back(std::string(names[static_cast<int>(action)]) + " " + std::to_string(*static_cast<int*>(item)));
    }
};

TEST(List, EditsKeepOrder)
{
    TList list;
    for (int i = 1; i <= 4; ++i)
        list.Add(P(i));
    list.Insert(0, P(0));
    list.Move(0, 4);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4, 0}));
    list.Exchange(0, 4);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 2, 3, 4, 1}));
    EXPECT_EQ(list.Remove(P(3)), 2);
    EXPECT_EQ(list.Remove(P(5)), -1);
    EXPECT_EQ(list.IndexOf(P(4)), 2);
    list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_EQ(list.First(), P(0));
    EXPECT_EQ(list.Last(), P(4));
}

TEST(List, NullItemsAndPack)
{
    TList list;
    list.Add(P(1));
    list.SetCount(3);
    list.Add(P(2));
    EXPECT_EQ(Values(list), (std::vector<int>{1, -1, -1, 2}));
    list.Pack();
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(List, IndexErrorsNameTheIndex)
{
    TList list;
    list.Add(P(1));
    const auto message = [&](auto action) {
        try {
            action();
        } catch (const EListError& error) {
            return error.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { (void)list.Items(1); }), "List index out of bounds (1)");
    EXPECT_EQ(message([&] { list.Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(message([&] { list.Insert(2, nullptr); }), "List index out of bounds (2)");
    EXPECT_EQ(message([&] { list.Move(0, -1); }), "List index out of bounds (-1)");
    EXPECT_EQ(message([&] { list.Exchange(0, 1); }), "List index out of bounds (1)");
    EXPECT_EQ(message([&] { (void)TList().First(); }), "List index out of bounds (0)");
    EXPECT_EQ(message([&] { list.SetCount(-1); }), "List count out of bounds (-1)");
    EXPECT_EQ(Values(list), (std::vector<int>{1}));
}

TEST(List, NotifiesEveryItemThatComesAndGoes)
{
    RecordingList list;
    list.Add(P(1));
    list.Add(P(2));
    list.Add(nullptr);
    list.Add(P(3));
    list.SetItems(0, P(4));
    EXPECT_EQ(list.Extract(P(2)), P(2));
    EXPECT_EQ(list.Extract(P(5)), nullptr);
    list.Delete(0);
    list.Clear();
    EXPECT_EQ(list.events, (std::vector<std::string>{"added 1", "added 2", "added 3", "deleted 1", "added 4",
                                                     "extracted 2", "deleted 4", "deleted 3"}));
}

} // namespace
