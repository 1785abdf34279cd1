#include "platform/winapi/gdi/GdiObjects.h"

#include "platform/winapi/kernel/WinError.h"

#include <mutex>
#include <vector>

int GdiObject::Describe(int, void*) const
{
    return 0;
}

// Handle layout: bits 0-23 slot index + 1, bits 24-47 generation, bits 48-55 object type. The
// type in the handle lets a wrong-type handle fail before any lookup of the object.
class GdiHandleTable {
public:
    static GdiHandleTable& Instance()
    {
        // Never destroyed: objects freed at program exit (the class library's Application and its
        // forms) still reach it after static destructors have begun.
        static GdiHandleTable& table = *new GdiHandleTable;
        return table;
    }

    HGDIOBJ Add(std::shared_ptr<GdiObject> object, bool stock)
    {
        std::lock_guard lock(m_mutex);
        std::size_t index;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else {
            index = m_slots.size();
            m_slots.push_back({});
        }
        Slot& slot = m_slots[index];
        slot.generation = (slot.generation + 1) & 0xFFFFFF;
        if (slot.generation == 0)
            slot.generation = 1;
        const auto value = (static_cast<std::uintptr_t>(object->Type() & 0xFF) << 48) |
                           (static_cast<std::uintptr_t>(slot.generation) << 24) | (index + 1);
        object->m_handle = reinterpret_cast<HGDIOBJ>(value);
        object->m_stock = stock;
        slot.object = std::move(object);
        return slot.object->m_handle;
    }

    std::shared_ptr<GdiObject> Find(HGDIOBJ handle)
    {
        std::lock_guard lock(m_mutex);
        Slot* slot = SlotOf(handle);
        return slot ? slot->object : nullptr;
    }

    // Returns the object taken out of the table, so that it is destroyed outside the lock.
    std::shared_ptr<GdiObject> Remove(HGDIOBJ handle, bool& found)
    {
        std::lock_guard lock(m_mutex);
        Slot* slot = SlotOf(handle);
        found = slot != nullptr;
        if (!slot || slot->object->m_stock)
            return nullptr;
        if (slot->object->m_selectCount > 0) {
            slot->object->m_deletePending = true;
            return nullptr;
        }
        return Free(*slot);
    }

    void Selected(GdiObject& object, int delta, std::shared_ptr<GdiObject>& released)
    {
        std::lock_guard lock(m_mutex);
        object.m_selectCount += delta;
        if (object.m_selectCount == 0 && object.m_deletePending) {
            if (Slot* slot = SlotOf(object.m_handle))
                released = Free(*slot);
        }
    }

private:
    struct Slot {
        std::shared_ptr<GdiObject> object;
        std::uint32_t generation = 0;
    };

    Slot* SlotOf(HGDIOBJ handle)
    {
        const auto value = reinterpret_cast<std::uintptr_t>(handle);
        const std::size_t index = value & 0xFFFFFF;
        const auto generation = static_cast<std::uint32_t>((value >> 24) & 0xFFFFFF);
        if (index == 0 || index > m_slots.size())
            return nullptr;
        Slot& slot = m_slots[index - 1];
        if (!slot.object || slot.generation != generation || slot.object->m_handle != handle)
            return nullptr;
        return &slot;
    }

    std::shared_ptr<GdiObject> Free(Slot& slot)
    {
        auto object = std::move(slot.object);
        slot.object = nullptr;
        m_free.push_back(static_cast<std::size_t>(&slot - m_slots.data()));
        return object;
    }

    std::mutex m_mutex;
    std::vector<Slot> m_slots;
    std::vector<std::size_t> m_free;
};

namespace winapi_gdi {

HGDIOBJ NewGdiHandle(std::shared_ptr<GdiObject> object)
{
    return GdiHandleTable::Instance().Add(std::move(object), false);
}

HGDIOBJ NewStockHandle(std::shared_ptr<GdiObject> object)
{
    return GdiHandleTable::Instance().Add(std::move(object), true);
}

std::shared_ptr<GdiObject> LookupGdiObject(HGDIOBJ handle)
{
    auto object = GdiHandleTable::Instance().Find(handle);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

bool DeleteGdiHandle(HGDIOBJ handle)
{
    bool found = false;
    auto released = GdiHandleTable::Instance().Remove(handle, found);
    if (!found)
        SetLastError(ERROR_INVALID_HANDLE);
    return found;
}

} // namespace winapi_gdi

SelectionRef::SelectionRef(std::shared_ptr<GdiObject> object) : m_object(std::move(object))
{
    std::shared_ptr<GdiObject> released;
    if (m_object)
        GdiHandleTable::Instance().Selected(*m_object, +1, released);
}

SelectionRef::SelectionRef(const SelectionRef& other) : SelectionRef(other.m_object)
{
}

SelectionRef& SelectionRef::operator=(const SelectionRef& other)
{
    if (this != &other) {
        SelectionRef copy(other);
        Release();
        m_object = std::move(copy.m_object);
    }
    return *this;
}

SelectionRef::~SelectionRef()
{
    Release();
}

void SelectionRef::Release()
{
    if (!m_object)
        return;
    std::shared_ptr<GdiObject> released;
    GdiHandleTable::Instance().Selected(*m_object, -1, released);
    m_object.reset();
}
