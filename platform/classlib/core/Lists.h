#pragma once

#include <functional>
#include <vector>

class TObject;

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };

// Orders two items of a TList: negative, zero or positive like strcmp.
using TListSortCompare = std::function<int(void* item1, void* item2)>;

// A list of untyped pointers that owns nothing. Index errors raise EListError
// "List index out of bounds (%d)". Descendants that must act when an item enters or leaves the
// list (an owning object list, for one) override Notify, which is called for every non-null item
// added, extracted or deleted.
class TList {
public:
    TList() = default;
    virtual ~TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    // Growing adds null items; shrinking deletes the items past the new count.
    void SetCount(int count);
    [[nodiscard]] void* Items(int index) const;
    void SetItems(int index, void* item);
    [[nodiscard]] void* First() const { return Items(0); }
    [[nodiscard]] void* Last() const { return Items(Count() - 1); }

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    // Deletes the first occurrence of `item` and returns the index it had, or -1.
    int Remove(void* item);
    // Takes the first occurrence of `item` out without deleting it; null when absent.
    void* Extract(void* item);
    void Clear();
    [[nodiscard]] int IndexOf(void* item) const;
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    // Removes every null item.
    void Pack();
    // Stable, so items that compare equal keep their order.
    void Sort(const TListSortCompare& compare);

protected:
    virtual void Notify(void* item, TListNotification action);

private:
    void CheckIndex(int index) const;

    std::vector<void*> m_items;
};

// A list of class-library objects that, while OwnsObjects is on (the default), frees every object
// deleted from it or left in it when it is destroyed. Extract hands an object back without
// freeing it.
class TObjectList : public TList {
public:
    explicit TObjectList(bool ownsObjects = true) : m_ownsObjects(ownsObjects) {}
    ~TObjectList() override;

    [[nodiscard]] bool OwnsObjects() const { return m_ownsObjects; }
    void SetOwnsObjects(bool ownsObjects) { m_ownsObjects = ownsObjects; }

    [[nodiscard]] TObject* Items(int index) const { return static_cast<TObject*>(TList::Items(index)); }
    void SetItems(int index, TObject* object) { TList::SetItems(index, object); }
    [[nodiscard]] TObject* First() const { return Items(0); }
    [[nodiscard]] TObject* Last() const { return Items(Count() - 1); }
    int Add(TObject* object) { return TList::Add(object); }
    void Insert(int index, TObject* object) { TList::Insert(index, object); }
    int Remove(TObject* object) { return TList::Remove(object); }
    TObject* Extract(TObject* object) { return static_cast<TObject*>(TList::Extract(object)); }
    [[nodiscard]] int IndexOf(TObject* object) const { return TList::IndexOf(object); }

protected:
    void Notify(void* item, TListNotification action) override;

private:
    bool m_ownsObjects;
};
