#include "platform/classlib/core/Lists.h"

#include "platform/classlib/core/Objects.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <string>

namespace {

[[noreturn]] void RaiseIndexError(int index)
{
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace

void TList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        RaiseIndexError(index);
}

void TList::SetCount(int count)
{
    if (count < 0)
        throw EListError("List count out of bounds (" + std::to_string(count) + ")");
    while (Count() > count)
        Delete(Count() - 1);
    m_items.resize(static_cast<std::size_t>(count), nullptr);
}

void* TList::Items(int index) const
{
    CheckIndex(index);
    return m_items[static_cast<std::size_t>(index)];
}

void TList::SetItems(int index, void* item)
{
    CheckIndex(index);
    void*& slot = m_items[static_cast<std::size_t>(index)];
    if (slot == item)
        return;
    void* old = slot;
    slot = item;
    if (old)
        Notify(old, TListNotification::lnDeleted);
    if (item)
        Notify(item, TListNotification::lnAdded);
}

int TList::Add(void* item)
{
    const int index = Count();
    Insert(index, item);
    return index;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        RaiseIndexError(index);
    m_items.insert(m_items.begin() + index, item);
    if (item)
        Notify(item, TListNotification::lnAdded);
}

void TList::Delete(int index)
{
    CheckIndex(index);
    void* item = m_items[static_cast<std::size_t>(index)];
    m_items.erase(m_items.begin() + index);
    if (item)
        Notify(item, TListNotification::lnDeleted);
}

int TList::Remove(void* item)
{
    const int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* item)
{
    const int index = IndexOf(item);
    if (index < 0)
        return nullptr;
    m_items.erase(m_items.begin() + index);
    if (item)
        Notify(item, TListNotification::lnExtracted);
    return item;
}

void TList::Clear()
{
    SetCount(0);
    m_items.shrink_to_fit();
}

int TList::IndexOf(void* item) const
{
    const auto found = std::find(m_items.begin(), m_items.end(), item);
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

void TList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(m_items[static_cast<std::size_t>(index1)], m_items[static_cast<std::size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    void* item = m_items[static_cast<std::size_t>(curIndex)];
    m_items.erase(m_items.begin() + curIndex);
    m_items.insert(m_items.begin() + newIndex, item);
}

void TList::Pack()
{
    std::erase(m_items, nullptr);
}

void TList::Sort(const TListSortCompare& compare)
{
    std::stable_sort(m_items.begin(), m_items.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Notify(void*, TListNotification) {}

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* item, TListNotification action)
{
    if (m_ownsObjects && action == TListNotification::lnDeleted)
        delete static_cast<TObject*>(item);
}
