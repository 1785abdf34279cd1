#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/KernelObject.h"

#include <cstdint>
#include <optional>
#include <mutex>

namespace winapi_kernel {

// One table for every kind of object. A handle carries the slot's generation in its high half
// and (index + 1) * 4 in its low half, like Win32's multiples of four; a closed slot's generation
// moves on, so its old handles stop matching.
class HandleTable {
public:
    static HandleTable& Instance()
    {
        // Never destroyed: objects freed at program exit (the class library's Application and its
        // forms) still reach it after static destructors have begun.
        static HandleTable& table = *new HandleTable;
        return table;
    }

    HANDLE Add(std::shared_ptr<KernelObject> object)
    {
        ++object->m_handleCount;
        std::lock_guard lock(m_mutex);
        std::size_t index;
        if (m_free.empty()) {
            index = m_slots.size();
            m_slots.push_back(Slot{});
        } else {
            index = m_free.back();
            m_free.pop_back();
        }
        m_slots[index].object = std::move(object);
        return Encode(index, m_slots[index].generation);
    }

    std::shared_ptr<KernelObject> Find(HANDLE handle)
    {
        std::lock_guard lock(m_mutex);
        const auto index = IndexOf(handle);
        return index ? m_slots[*index].object : nullptr;
    }

    std::shared_ptr<KernelObject> Remove(HANDLE handle)
    {
        std::shared_ptr<KernelObject> object;
        {
            std::lock_guard lock(m_mutex);
            const auto index = IndexOf(handle);
            if (!index)
                return nullptr;
            object = std::move(m_slots[*index].object);
            ++m_slots[*index].generation;
            m_free.push_back(*index);
        }
        if (--object->m_handleCount == 0)
            object->OnLastHandleClosed();
        return object;
    }

private:
    struct Slot {
        std::shared_ptr<KernelObject> object;
        std::uint32_t generation = 1;
    };

    static HANDLE Encode(std::size_t index, std::uint32_t generation)
    {
        const std::uint64_t value = (std::uint64_t{generation} << 32) | ((std::uint64_t{index} + 1) << 2);
        return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
    }

    std::optional<std::size_t> IndexOf(HANDLE handle) const
    {
        const auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
        const auto low = value & 0xFFFFFFFFu;
        if (low == 0 || (low & 3) != 0)
            return std::nullopt;
        const std::size_t index = (low >> 2) - 1;
        if (index >= m_slots.size() || !m_slots[index].object
            || m_slots[index].generation != static_cast<std::uint32_t>(value >> 32))
            return std::nullopt;
        return index;
    }

    std::mutex m_mutex;
    std::vector<Slot> m_slots;
    std::vector<std::size_t> m_free;
};

HANDLE NewHandle(std::shared_ptr<KernelObject> object)
{
    return HandleTable::Instance().Add(std::move(object));
}

std::shared_ptr<KernelObject> LookupObject(HANDLE handle)
{
    auto object = HandleTable::Instance().Find(handle);
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

} // namespace winapi_kernel

BOOL CloseHandle(HANDLE hObject)
{
    if (!winapi_kernel::HandleTable::Instance().Remove(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
