#include "platform/winapi/gdi/GdiObjects.h"

#include "platform/winapi/kernel/HandleTable.h"
#include "platform/winapi/kernel/WinError.h"

int GdiHandleObject::Describe(int, void*) const
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

    HGDIOBJ Add(std::shared_ptr<GdiHandleObject> object, bool stock)
    {
        GdiHandleObject& added = *object;
        added.m_stock = stock;
        const std::uintptr_t tag = static_cast<std::uintptr_t>(added.Type() & 0xFF) << 48;
        // Set after the table's lock is let go, which is safe: no other thread can know the handle
        // before Add returns it.
        added.m_handle = m_table.Add(std::move(object), tag);
        return added.m_handle;
    }

    std::shared_ptr<GdiHandleObject> Find(HGDIOBJ handle) const { return m_table.Find(handle); }

    // Returns the object taken out of the table, so that it is destroyed outside the lock.
    winapi_kernel::HandleTable<GdiHandleObject, HGDIOBJ>::Removal Remove(HGDIOBJ handle)
    {
        return m_table.RemoveIf(handle, [](GdiHandleObject& object) {
            if (object.m_stock)
                return false;
            if (object.m_selectCount > 0) {
                object.m_deletePending = true;
                return false;
            }
            return true;
        });
    }

    // Counts a selection in or out under the table's lock, so that it cannot cross a DeleteObject;
    // the last selection of an object already deleted takes it out of the table.
    std::shared_ptr<GdiHandleObject> Selected(GdiHandleObject& object, int delta)
    {
        bool counted = false;
        auto removal = m_table.RemoveIf(object.m_handle, [&](GdiHandleObject& live) {
            counted = true;
            live.m_selectCount += delta;
            return live.m_selectCount == 0 && live.m_deletePending;
        });
        if (!counted)
            object.m_selectCount += delta;
        return std::move(removal.removed);
    }

private:
    winapi_kernel::HandleTable<GdiHandleObject, HGDIOBJ> m_table{
        winapi_kernel::HandleLayout{.indexShift = 0, .indexBits = 24, .generationBits = 24}};
};

namespace winapi_gdi {

HGDIOBJ NewGdiHandle(std::shared_ptr<GdiHandleObject> object)
{
    return GdiHandleTable::Instance().Add(std::move(object), false);
}

HGDIOBJ NewStockHandle(std::shared_ptr<GdiHandleObject> object)
{
    return GdiHandleTable::Instance().Add(std::move(object), true);
}

std::shared_ptr<GdiHandleObject> LookupGdiObject(HGDIOBJ handle)
{
    auto object = GdiHandleTable::Instance().Find(handle);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

bool DeleteGdiHandle(HGDIOBJ handle)
{
    const auto removal = GdiHandleTable::Instance().Remove(handle);
    if (!removal.found)
        SetLastError(ERROR_INVALID_HANDLE);
    return removal.found;
}

} // namespace winapi_gdi

SelectionRef::SelectionRef(std::shared_ptr<GdiHandleObject> object) : m_object(std::move(object))
{
    if (m_object)
        (void)GdiHandleTable::Instance().Selected(*m_object, +1);
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
    const auto released = GdiHandleTable::Instance().Selected(*m_object, -1);
    m_object.reset();
}
