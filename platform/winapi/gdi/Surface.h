#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A 32-bit pixel buffer: each pixel a std::uint32_t 0xAARRGGBB (memory order B, G, R, A, as in a
// 32-bit DIB). Row(0) is the top row. A surface either owns its pixels (windows, compatible
// bitmaps) or views memory it does not own (a 32-bit DIB section, whose rows may run bottom-up:
// then the stride is negative).
class Surface {
public:
    Surface() = default;
    Surface(int width, int height);
    // A view of `pixels` (not owned); `strideBytes` < 0 for bottom-up memory, where `pixels` is
    // still the first byte of the top row.
    Surface(std::uint32_t* topRow, int width, int height, std::ptrdiff_t strideBytes);

    [[nodiscard]] int Width() const { return m_width; }
    [[nodiscard]] int Height() const { return m_height; }
    [[nodiscard]] std::ptrdiff_t Stride() const { return m_stride; }
    [[nodiscard]] std::uint32_t* Row(int y)
    {
        return reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::byte*>(m_top) + y * m_stride);
    }
    [[nodiscard]] const std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const std::byte*>(m_top) + y * m_stride);
    }
    // The first byte of the top row.
    [[nodiscard]] std::uint32_t* Pixels() { return m_top; }
    [[nodiscard]] const std::uint32_t* Pixels() const { return m_top; }
    [[nodiscard]] bool OwnsPixels() const { return m_external == nullptr; }

    // Reallocates an owning surface (contents become 0); keeps the common top-left part.
    void Resize(int width, int height);
    void Fill(std::uint32_t pixel);

private:
    std::vector<std::uint32_t> m_owned;
    std::uint32_t* m_external = nullptr;
    std::uint32_t* m_top = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::ptrdiff_t m_stride = 0;
};
