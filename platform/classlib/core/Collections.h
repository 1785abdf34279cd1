#pragma once

#include "platform/classlib/core/Persistent.h"

#include <string>
#include <vector>

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// An element of a collection; the collection owns it. Created through the collection's item
// class (Add, Insert) or directly with the collection; freeing an item takes it out.
class TCollectionItem : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    [[nodiscard]] TCollection* Collection() const { return m_collection; }
    // Moves the item from its collection to another (or to none).
    void SetCollection(TCollection* collection);
    // Unique within the collection for the collection's life, never reused.
    [[nodiscard]] int ID() const { return m_id; }
    [[nodiscard]] int Index() const;
    // Moves the item; the other items shift. Raises EListError for an index out of range.
    virtual void SetIndex(int index);
    [[nodiscard]] std::string DisplayName() const { return GetDisplayName(); }
    virtual void SetDisplayName(const std::string& name);

    [[nodiscard]] TPersistent* GetOwner() const override;
    [[nodiscard]] std::string GetNamePath() const override;

protected:
    // Tells the collection this item (or, with allItems, every item) changed.
    void Changed(bool allItems);
    // The class name unless a descendant has something better.
    [[nodiscard]] virtual std::string GetDisplayName() const { return ClassName(); }

private:
    friend class TCollection;

    TCollection* m_collection = nullptr;
    int m_id = 0;
};

// An owning, ordered list of items of one class. Changes are reported through the virtual
// Update (the item, or null for "everything"), held back while an update is open.
class TCollection : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TCollection(TClass itemClass);
    ~TCollection() override;

    [[nodiscard]] TClass ItemClass() const { return m_itemClass; }
    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    // Raises EListError "List index out of bounds (%d)".
    [[nodiscard]] TCollectionItem* Items(int index) const;
    // Assigns `value` to the item at `index`.
    void SetItems(int index, const TCollectionItem* value);
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    [[nodiscard]] TCollectionItem* FindItemID(int id) const;

    virtual void BeginUpdate();
    virtual void EndUpdate();
    [[nodiscard]] int UpdateCount() const { return m_updateCount; }

    // Copies another collection item by item (through each item's Assign).
    void Assign(const TPersistent* source) override;
    [[nodiscard]] TPersistent* Owner() const { return GetOwner(); }
    [[nodiscard]] std::string GetNamePath() const override;

protected:
    // Reports a change unless an update is open.
    void Changed();
    virtual void Update(TCollectionItem* item);
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);

private:
    friend class TCollectionItem;

    TCollectionItem* ConstructItem();
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void MoveItem(TCollectionItem* item, int index);

    TClass m_itemClass;
    std::vector<TCollectionItem*> m_items;
    int m_nextID = 0;
    int m_updateCount = 0;
    // While Add constructs an item, the item joins the list at once (its constructor may read its
    // ID) but the collection reports it only once the whole object exists.
    bool m_constructingItem = false;
};

// A collection that knows its owner (a component or a persistent property), for name paths and
// form data.
class TOwnedCollection : public TCollection {
    CLASSLIB_DECLARE_CLASS;

    TOwnedCollection(TPersistent* owner, TClass itemClass);
    [[nodiscard]] TPersistent* GetOwner() const override { return m_owner; }

private:
    TPersistent* m_owner;
};

// Creator for collection item classes: constructs with the collection given.
template <class T>
TObject* CollectionItemCreator(TObject* collection)
{
    return new T(static_cast<TCollection*>(collection));
}
