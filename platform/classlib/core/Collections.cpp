#include "platform/classlib/core/Collections.h"

#include "platform/rtl/Format.h"

#include <algorithm>

namespace {

[[noreturn]] void RaiseIndexError(int index)
{
    throw EListError(Format("List index out of bounds (%d)", {index}));
}

} // namespace

// ---- TCollectionItem -------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TCollectionItem, TPersistent, CollectionItemCreator<TCollectionItem>, nullptr)

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection == m_collection)
        return;
    if (m_collection)
        m_collection->RemoveItem(this);
    if (collection)
        collection->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!m_collection)
        return -1;
    const auto& items = m_collection->m_items;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
    if (!m_collection || index == Index())
        return;
    m_collection->MoveItem(this, index);
    Changed(true);
}

void TCollectionItem::SetDisplayName(const std::string&) { Changed(false); }

void TCollectionItem::Changed(bool allItems)
{
    if (m_collection && m_collection->m_updateCount == 0)
        m_collection->Update(allItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() const { return m_collection; }

std::string TCollectionItem::GetNamePath() const
{
    if (!m_collection)
        return ClassName();
    return Format("%s[%d]", {m_collection->GetNamePath(), Index()});
}

// ---- TCollection -----------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TCollection, TPersistent, nullptr, nullptr)

TCollection::TCollection(TClass itemClass) : m_itemClass(itemClass) {}

TCollection::~TCollection()
{
    // The derived part is gone: no Update calls from here on.
    m_updateCount = 1;
    Clear();
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        RaiseIndexError(index);
    return m_items[static_cast<std::size_t>(index)];
}

void TCollection::SetItems(int index, const TCollectionItem* value) { Items(index)->Assign(value); }

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = ConstructItem();
    Notify(item, cnAdded);
    Changed();
    return item;
}

TCollectionItem* TCollection::ConstructItem()
{
    struct Constructing {
        explicit Constructing(bool& flag) : m_flag(flag) { m_flag = true; }
        ~Constructing() { m_flag = false; }
        bool& m_flag;
    } constructing(m_constructingItem);
    TObject* created = m_itemClass->Create(this);
    auto* item = dynamic_cast<TCollectionItem*>(created);
    if (!item) {
        delete created;
        throw EInvalidCast("Invalid class typecast");
    }
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        RaiseIndexError(index);
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (m_items.empty())
        return;
    BeginUpdate();
    while (!m_items.empty())
        delete m_items.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    const auto found = std::find_if(m_items.begin(), m_items.end(), [id](TCollectionItem* i) { return i->m_id == id; });
    return found == m_items.end() ? nullptr : *found;
}

void TCollection::BeginUpdate() { ++m_updateCount; }

void TCollection::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        Changed();
}

void TCollection::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->m_items)
            Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TCollection::GetNamePath() const
{
    const TPersistent* owner = GetOwner();
    return owner ? owner->GetNamePath() : ClassName();
}

void TCollection::Changed()
{
    if (m_updateCount == 0)
        Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* item)
{
    m_items.push_back(item);
    item->m_collection = this;
    item->m_id = m_nextID++;
    if (m_constructingItem)
        return;
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    Notify(item, cnExtracting);
    std::erase(m_items, item);
    item->m_collection = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int index)
{
    if (index < 0 || index >= Count())
        RaiseIndexError(index);
    std::erase(m_items, item);
    m_items.insert(m_items.begin() + index, item);
}

// ---- TOwnedCollection ------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TOwnedCollection, TCollection, nullptr, nullptr)

TOwnedCollection::TOwnedCollection(TPersistent* owner, TClass itemClass) : TCollection(itemClass), m_owner(owner) {}
