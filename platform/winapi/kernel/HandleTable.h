#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

namespace winapi_kernel {

// How a table writes its handles: bits [indexShift, indexShift + indexBits) hold the slot index + 1,
// the `generationBits` above them the slot's generation, and tags in the bits above both tell the
// kinds of handles apart: `tag` is set in every handle of the table, and Add may set more. Each
// layer keeps the shape its callers rely on: kernel handles are multiples of four, window handles
// fit in 31 bits, GDI handles carry their object type.
struct HandleLayout {
    unsigned indexShift = 0;
    unsigned indexBits = 24;
    unsigned generationBits = 24;
    std::uintptr_t tag = 0;
};

// The one table behind every kind of handle (kernel objects, GDI objects, icons, image lists,
// windows): a handle is an index plus a generation, so a stale, closed or made-up handle, or one
// of another kind, finds nothing and the call can fail the Win32 way. A slot keeps the whole
// handle it gave out, so a handle matches only when every bit (index, generation, tag) does.
//
// Typed twice over: a table holds one class of objects and gives out one type of handle (HANDLE,
// HGDIOBJ, HWND, ...). Thread-safe. Objects leave the table as shared pointers, so the last of
// them is never destroyed under the table's lock.
template <class T, class Handle>
class HandleTable {
public:
    explicit HandleTable(HandleLayout layout = {}) : m_layout(layout) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // Enters `object` and returns its handle (never null), or null when every index is taken.
    // `tag` (added to the table's own) must leave the index and generation bits clear.
    [[nodiscard]] Handle Add(std::shared_ptr<T> object, std::uintptr_t tag = 0)
    {
        std::lock_guard lock(m_mutex);
        std::size_t index;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else {
            index = m_slots.size();
            if (index + 1 >= (std::uintptr_t{1} << m_layout.indexBits))
                return Handle{};
            m_slots.emplace_back();
        }
        Slot& slot = m_slots[index];
        slot.handle = Encode(index, slot.generation) | m_layout.tag | tag;
        slot.object = std::move(object);
        return ToHandle(slot.handle);
    }

    // The live object `handle` names, or nullptr.
    [[nodiscard]] std::shared_ptr<T> Find(Handle handle) const
    {
        std::lock_guard lock(m_mutex);
        const Slot* slot = SlotOf(FromHandle(handle));
        return slot ? slot->object : nullptr;
    }

    // Takes the object out of the table; its handles stop matching. nullptr when none matched.
    std::shared_ptr<T> Remove(Handle handle)
    {
        return RemoveIf(handle, [](T&) { return true; }).removed;
    }

    struct Removal {
        bool found = false;
        std::shared_ptr<T> removed;
    };

    // Calls `decide(object)` under the table's lock when `handle` is live, and takes the object out
    // when it answers true: for objects whose removal depends on state that the same lock guards.
    template <class Decide>
    Removal RemoveIf(Handle handle, Decide&& decide)
    {
        std::lock_guard lock(m_mutex);
        Slot* slot = SlotOf(FromHandle(handle));
        if (!slot)
            return {};
        if (!decide(*slot->object))
            return {true, nullptr};
        auto object = std::move(slot->object);
        slot->object = nullptr;
        slot->handle = 0;
        slot->generation = NextGeneration(slot->generation);
        m_free.push_back(static_cast<std::size_t>(slot - m_slots.data()));
        return {true, std::move(object)};
    }

    // The handles of every live object, in slot order.
    [[nodiscard]] std::vector<Handle> Handles() const
    {
        std::lock_guard lock(m_mutex);
        std::vector<Handle> handles;
        for (const Slot& slot : m_slots)
            if (slot.object)
                handles.push_back(ToHandle(slot.handle));
        return handles;
    }

private:
    static Handle ToHandle(std::uintptr_t value)
    {
        if constexpr (std::is_pointer_v<Handle>)
            return reinterpret_cast<Handle>(value);
        else
            return static_cast<Handle>(value);
    }

    static std::uintptr_t FromHandle(Handle handle)
    {
        if constexpr (std::is_pointer_v<Handle>)
            return reinterpret_cast<std::uintptr_t>(handle);
        else
            return static_cast<std::uintptr_t>(handle);
    }

    struct Slot {
        std::shared_ptr<T> object;
        std::uintptr_t handle = 0;
        std::uint32_t generation = 1;
    };

    [[nodiscard]] std::uintptr_t Encode(std::size_t index, std::uint32_t generation) const
    {
        return (static_cast<std::uintptr_t>(generation) << (m_layout.indexShift + m_layout.indexBits)) |
               (static_cast<std::uintptr_t>(index + 1) << m_layout.indexShift);
    }

    // Skips 0 when the generation wraps, so that a reused slot never hands out its first handle again
    // straight away.
    [[nodiscard]] std::uint32_t NextGeneration(std::uint32_t generation) const
    {
        const std::uint64_t mask = (std::uint64_t{1} << m_layout.generationBits) - 1;
        const auto next = static_cast<std::uint32_t>((generation + 1) & mask);
        return next == 0 ? 1 : next;
    }

    [[nodiscard]] Slot* SlotOf(std::uintptr_t handle)
    {
        return const_cast<Slot*>(std::as_const(*this).SlotOf(handle));
    }

    [[nodiscard]] const Slot* SlotOf(std::uintptr_t handle) const
    {
        const std::uintptr_t indexMask = (std::uintptr_t{1} << m_layout.indexBits) - 1;
        const std::size_t index = (handle >> m_layout.indexShift) & indexMask;
        if (handle == 0 || index == 0 || index > m_slots.size())
            return nullptr;
        const Slot& slot = m_slots[index - 1];
        return slot.object && slot.handle == handle ? &slot : nullptr;
    }

    HandleLayout m_layout;
    mutable std::mutex m_mutex;
    std::vector<Slot> m_slots;
    std::vector<std::size_t> m_free;
};

} // namespace winapi_kernel
