#pragma once

#include "platform/classlib/core/Streams.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/WinUser.h"

#include <cstdint>
#include <string>
#include <string_view>

// Thin wrappers the grid units call instead of the window, drawing and text services directly, so
// that every caller passes the library's own string and rectangle types.

// The data set behind a data-source property of `instance`; null when the property is no object
// property, holds no data source, or cannot be read.
[[nodiscard]] TDataSet* DataSourceDataSetOfProperty(const TObject& instance, const TPropInfo* property);

int DrawStringText(HDC dc, const std::string& text, int count, RECT& rect, UINT format);
int DrawStringTextEx(HDC dc, const std::string& text, int count, RECT& rect, UINT format, DRAWTEXTPARAMS params);
UINT QueryOutlineTextMetrics(HDC dc, UINT size, OUTLINETEXTMETRICA* metrics);

int ScrollWindowArea(HWND window, int dx, int dy, UINT flags, const RECT* scroll, const RECT* clip, HRGN update);

// The first `count` bytes of UTF-8 text, cut back to a whole character.
[[nodiscard]] std::string WholePrefix(const std::string& text, std::size_t count);
// Whether text begins with prefix, letter case ignored.
[[nodiscard]] bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix);

// A memory stream that grows its block in steps of 2 x HalfMemoryDelta bytes (8,192 unless the
// owner sets another power of two), so that clipboard and export streams that are written a few
// bytes at a time do not reallocate on every write. The block is the stream's own; Memory() stays
// valid until the next write or size change.
class TMemoryStreamGx : public TStream {
public:
    static constexpr std::size_t MaxSize = 0x7FFFFFFF;

    TMemoryStreamGx() = default;
    TMemoryStreamGx(const TMemoryStreamGx&) = delete;
    TMemoryStreamGx& operator=(const TMemoryStreamGx&) = delete;
    ~TMemoryStreamGx() override;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    [[nodiscard]] std::int64_t Size() override { return static_cast<std::int64_t>(m_size); }
    void SetSize(std::int64_t size) override;

    [[nodiscard]] std::size_t Capacity() const { return m_capacity; }
    void SetCapacity(std::size_t capacity);
    [[nodiscard]] const std::uint8_t* Memory() const { return m_memory; }
    [[nodiscard]] std::uint8_t* Memory() { return m_memory; }
    void Clear();

    [[nodiscard]] std::uint32_t HalfMemoryDelta() const { return m_halfMemoryDelta; }
    // Must be a power of two: the rounding clears the step's low bits.
    void SetHalfMemoryDelta(std::uint32_t halfDelta);

private:
    // The capacity a request is rounded up to (the step's multiple), or the request itself when
    // it is 0 or the current size.
    [[nodiscard]] std::size_t RoundedCapacity(std::size_t requested) const;

    std::uint8_t* m_memory = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_position = 0;
    std::uint32_t m_halfMemoryDelta = 4096;
};
