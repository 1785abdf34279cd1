#include "FormTestClasses.h"

#include <gtest/gtest.h>

namespace {

// Records what the collection reports.
class RecordingCollection : public TCollection {
public:
    RecordingCollection() : TCollection(TTestItem::StaticClass()) {}
    std::vector<std::string> updates;

protected:
    void Update(TCollectionItem* item) override
    {
        updates.push_back(item ? static_cast<TTestItem*>(item)->Caption() : "*");
    }
};

std::vector<std::string> Captions(const TCollection& collection)
{
    std::vector<std::string> captions;
    for (int i = 0; i < collection.Count(); ++i)
        captions.push_back(static_cast<TTestItem*>(collection.Items(i))->Caption());
    return captions;
}

TTestItem* AddItem(TCollection& collection, const std::string& caption)
{
    auto* item = static_cast<TTestItem*>(collection.Add());
    item->SetCaption(caption);
    return item;
}

TEST(CollectionsTest, IndexSetterMovesAndOthersShift)
{
    RecordingCollection collection;
    AddItem(collection, "a");
    AddItem(collection, "b");
    TTestItem* c = AddItem(collection, "c");
    c->SetIndex(0);
    EXPECT_EQ(Captions(collection), (std::vector<std::string>{"c", "a", "b"}));
    collection.Items(1)->SetIndex(2);
    EXPECT_EQ(Captions(collection), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_THROW(c->SetIndex(3), EListError);
    auto* inserted = static_cast<TTestItem*>(collection.Insert(1));
    EXPECT_EQ(inserted->Index(), 1);
    EXPECT_EQ(inserted->ClassType(), TTestItem::StaticClass());
    EXPECT_THROW(static_cast<void>(collection.Insert(9)), EListError);
}

TEST(CollectionsTest, IdsAreNeverReused)
{
    RecordingCollection collection;
    AddItem(collection, "a");
    TTestItem* b = AddItem(collection, "b");
    collection.Delete(0);
    TTestItem* c = AddItem(collection, "c");
    EXPECT_EQ(b->ID(), 1);
    EXPECT_EQ(c->ID(), 2);
    EXPECT_EQ(collection.FindItemID(2), c);
    EXPECT_EQ(collection.FindItemID(0), nullptr);
}

TEST(CollectionsTest, UpdatesAreHeldBackUntilTheOutermostEndUpdate)
{
    RecordingCollection collection;
    TTestItem* a = AddItem(collection, "a");
    collection.updates.clear();
    collection.BeginUpdate();
    collection.BeginUpdate();
    AddItem(collection, "b");
    a->SetIndex(1);
    collection.EndUpdate();
    EXPECT_TRUE(collection.updates.empty());
    collection.EndUpdate();
    EXPECT_EQ(collection.updates, (std::vector<std::string>{"*"}));
    collection.updates.clear();
    a->SetDisplayName("x");
    EXPECT_EQ(collection.updates, (std::vector<std::string>{"a"}));
    collection.updates.clear();
    collection.Clear();
    EXPECT_EQ(collection.updates, (std::vector<std::string>{"*"}));
}

TEST(CollectionsTest, FreeingAnItemTakesItOutAndAssignCopiesItems)
{
    RecordingCollection source;
    AddItem(source, "a")->SetWidth(5);
    TTestItem* b = AddItem(source, "b");
    delete b;
    EXPECT_EQ(source.Count(), 1);

    TTestControl owner(nullptr);
    owner.SetName("Grid");
    owner.Items()->Assign(&source);
    EXPECT_EQ(Captions(*owner.Items()), (std::vector<std::string>{"a"}));
    EXPECT_EQ(static_cast<TTestItem*>(owner.Items()->Items(0))->Width(), 5);
    EXPECT_EQ(owner.Items()->Owner(), &owner);
    EXPECT_EQ(owner.Items()->Items(0)->GetNamePath(), "Grid[0]");
    EXPECT_EQ(owner.Items()->Items(0)->DisplayName(), "TTestItem");

    TTestFont font;
    try {
        owner.Items()->Assign(&font);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Cannot assign a TTestFont to a TOwnedCollection");
    }
}

} // namespace

namespace {

// Looks at each item it is told about as its own class.
class WatchingCollection : public TCollection {
public:
    WatchingCollection() : TCollection(TTestItem::StaticClass()) {}
    std::vector<bool> addedWhole;
    std::vector<int> countsAtChange;

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override
    {
        if (action == cnAdded)
            addedWhole.push_back(dynamic_cast<TTestItem*>(item) != nullptr);
    }
    void Update(TCollectionItem*) override { countsAtChange.push_back(Count()); }
};

TEST(CollectionsTest, AnAddedItemIsReportedOnceItIsWhole)
{
    WatchingCollection collection;
    (void)collection.Add();
    (void)collection.Add();
    EXPECT_EQ(collection.addedWhole, (std::vector<bool>{true, true}));
    EXPECT_EQ(collection.countsAtChange, (std::vector<int>{1, 2}));
}

} // namespace
