#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace winapi_gdi::detail {

// Handles of the user32 and common-controls objects the GDI files keep (icons, image lists): a
// number that is never given out twice, so a destroyed or made-up handle finds nothing. Each
// table has its own range, so a handle of the wrong kind finds nothing either.
template <class T>
class UserHandleTable {
public:
    explicit UserHandleTable(std::uintptr_t base) : m_next(base) {}

    template <class Handle>
    [[nodiscard]] Handle Add(std::shared_ptr<T> object)
    {
        std::lock_guard lock(m_mutex);
        const std::uintptr_t value = ++m_next;
        m_objects.emplace(value, std::move(object));
        return reinterpret_cast<Handle>(value);
    }

    [[nodiscard]] std::shared_ptr<T> Find(const void* handle) const
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
        return found == m_objects.end() ? nullptr : found->second;
    }

    // The object leaves the table; it goes when the last user lets go of it.
    bool Remove(const void* handle)
    {
        std::shared_ptr<T> removed;
        std::lock_guard lock(m_mutex);
        const auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == m_objects.end())
            return false;
        removed = std::move(found->second);
        m_objects.erase(found);
        return true;
    }

private:
    mutable std::mutex m_mutex;
    std::unordered_map<std::uintptr_t, std::shared_ptr<T>> m_objects;
    std::uintptr_t m_next;
};

} // namespace winapi_gdi::detail
