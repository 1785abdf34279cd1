#include "platform/classlib/core/Resources.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

class TResourceTable {
public:
    static TResourceTable& Instance()
    {
        static TResourceTable table;
        return table;
    }

    void Add(std::span<const TResourceEntry> entries)
    {
        std::lock_guard lock(m_mutex);
        for (const TResourceEntry& entry : entries)
            m_entries.push_back(&entry);
    }

    const TResourceEntry* Find(std::string_view name, std::string_view type)
    {
        std::lock_guard lock(m_mutex);
        const auto found = std::find_if(m_entries.rbegin(), m_entries.rend(), [&](const TResourceEntry* entry) {
            return SameText(entry->Name, name) && SameText(entry->Type, type);
        });
        return found == m_entries.rend() ? nullptr : *found;
    }

private:
    std::mutex m_mutex;
    std::vector<const TResourceEntry*> m_entries;
};

const TResourceEntry* Entry(HRSRC resource) { return reinterpret_cast<const TResourceEntry*>(resource); }

} // namespace

void RegisterResources(std::span<const TResourceEntry> entries) { TResourceTable::Instance().Add(entries); }

HRSRC FindResource(HMODULE, std::string_view name, std::string_view type)
{
    return reinterpret_cast<HRSRC>(const_cast<TResourceEntry*>(TResourceTable::Instance().Find(name, type)));
}

HGLOBAL_RESOURCE LoadResource(HMODULE, HRSRC resource) { return resource ? Entry(resource)->Data : nullptr; }

const void* LockResource(HGLOBAL_RESOURCE data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource)
{
    return resource ? static_cast<DWORD>(Entry(resource)->Size) : 0;
}

TResourceStream::TResourceStream(HMODULE module, std::string_view name, std::string_view type)
{
    HRSRC resource = FindResource(module, name, type);
    if (!resource)
        throw EResNotFound(Format("Resource %s not found", {name}));
    m_data = {Entry(resource)->Data, Entry(resource)->Size};
}

std::size_t TResourceStream::Read(void* buffer, std::size_t count)
{
    const std::size_t available = m_position < m_data.size() ? m_data.size() - m_position : 0;
    count = std::min(count, available);
    if (count > 0)
        std::memcpy(buffer, m_data.data() + m_position, count);
    m_position += count;
    return count;
}

std::size_t TResourceStream::Write(const void*, std::size_t)
{
    throw EStreamError("Can't write to a read-only resource stream");
}

void TResourceStream::SetSize(std::int64_t) { throw EStreamError("Can't write to a read-only resource stream"); }

std::int64_t TResourceStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    if (origin == TSeekOrigin::soCurrent)
        base = static_cast<std::int64_t>(m_position);
    else if (origin == TSeekOrigin::soEnd)
        base = static_cast<std::int64_t>(m_data.size());
    const std::int64_t target = base + offset;
    if (target >= 0)
        m_position = static_cast<std::size_t>(target);
    return static_cast<std::int64_t>(m_position);
}
