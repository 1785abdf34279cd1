#include "grid/core/GridLibGx.h"

#include "platform/classlib/data/DBDataSource.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

TDataSet* DataSourceDataSetOfProperty(const TObject& instance, const TPropInfo* property)
{
    if (!property || !property->PropType || property->Kind() != tkClass || !property->GetObject)
        return nullptr;
    try {
        auto* source = dynamic_cast<TDataSource*>(property->GetObject(instance));
        return source ? source->DataSet() : nullptr;
    } catch (const std::exception&) {
        return nullptr; // a property that cannot be read names no data set
    }
}

namespace {

// The count the Win32 text calls take: -1 (up to the terminator) or at most the text's length.
int ClippedCount(const std::string& text, int count)
{
    return count < 0 ? -1 : std::min(count, static_cast<int>(text.size()));
}

} // namespace

int DrawStringText(HDC dc, const std::string& text, int count, RECT& rect, UINT format)
{
    return DrawTextA(dc, text.c_str(), ClippedCount(text, count), &rect, format);
}

int DrawStringTextEx(HDC dc, const std::string& text, int count, RECT& rect, UINT format, DRAWTEXTPARAMS params)
{
    // DT_MODIFYSTRING may write into the buffer: hand it a copy with room for the ellipsis.
    std::vector<char> buffer(text.begin(), text.end());
    buffer.resize(text.size() + 5, '\0');
    params.cbSize = sizeof params;
    return DrawTextExA(dc, buffer.data(), ClippedCount(text, count), &rect, format, &params);
}

UINT QueryOutlineTextMetrics(HDC dc, UINT size, OUTLINETEXTMETRICA* metrics)
{
    return GetOutlineTextMetricsA(dc, size, metrics);
}

int ScrollWindowArea(HWND window, int dx, int dy, UINT flags, const RECT* scroll, const RECT* clip, HRGN update)
{
    return ScrollWindowEx(window, dx, dy, scroll, clip, update, nullptr, flags);
}

std::string WholePrefix(const std::string& text, std::size_t count)
{
    return text.substr(0, Utf8CharacterStart(text, count));
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && AnsiLowerCase(WholePrefix(text, prefix.size())) == AnsiLowerCase(prefix);
}

// ---- TMemoryStreamGx ---------------------------------------------------------------------------

TMemoryStreamGx::~TMemoryStreamGx() { std::free(m_memory); }

void TMemoryStreamGx::SetHalfMemoryDelta(std::uint32_t halfDelta)
{
    if (!std::has_single_bit(halfDelta))
        throw EStreamError("The growth step of a memory stream must be a power of two");
    m_halfMemoryDelta = halfDelta;
}

std::size_t TMemoryStreamGx::RoundedCapacity(std::size_t requested) const
{
    if (requested == 0 || requested == m_size)
        return requested;
    const std::size_t step = std::size_t{2} * m_halfMemoryDelta;
    return (requested + step - 1) & ~(step - 1);
}

void TMemoryStreamGx::SetCapacity(std::size_t capacity)
{
    const std::size_t wanted = RoundedCapacity(capacity);
    if (wanted == m_capacity)
        return;
    if (wanted == 0) {
        std::free(m_memory);
        m_memory = nullptr;
        m_capacity = 0;
        return;
    }
    void* grown = wanted > MaxSize ? nullptr : std::realloc(m_memory, wanted);
    if (!grown)
        throw EStreamError("Out of memory while expanding memory stream");
    m_memory = static_cast<std::uint8_t*>(grown);
    m_capacity = wanted;
}

void TMemoryStreamGx::SetSize(std::int64_t size)
{
    if (size < 0 || static_cast<std::uint64_t>(size) > MaxSize)
        throw EStreamError("Out of memory while expanding memory stream");
    const auto newSize = static_cast<std::size_t>(size);
    SetCapacity(newSize);
    m_size = newSize;
    m_position = std::min(m_position, m_size);
}

void TMemoryStreamGx::Clear()
{
    SetCapacity(0);
    m_size = 0;
    m_position = 0;
}

std::size_t TMemoryStreamGx::Read(void* buffer, std::size_t count)
{
    const std::size_t taken = m_position < m_size ? std::min(count, m_size - m_position) : 0;
    if (taken > 0)
        std::memcpy(buffer, m_memory + m_position, taken);
    m_position += taken;
    return taken;
}

std::size_t TMemoryStreamGx::Write(const void* buffer, std::size_t count)
{
    if (count == 0)
        return 0;
    if (count > MaxSize - m_position)
        throw EStreamError("Out of memory while expanding memory stream");
    const std::size_t end = m_position + count;
    if (end > m_capacity)
        SetCapacity(end);
    std::memcpy(m_memory + m_position, buffer, count);
    m_size = std::max(m_size, end);
    m_position = end;
    return count;
}

std::int64_t TMemoryStreamGx::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    if (origin == TSeekOrigin::soCurrent)
        base = static_cast<std::int64_t>(m_position);
    else if (origin == TSeekOrigin::soEnd)
        base = static_cast<std::int64_t>(m_size);
    m_position = static_cast<std::size_t>(std::max<std::int64_t>(0, base + offset));
    return static_cast<std::int64_t>(m_position);
}
