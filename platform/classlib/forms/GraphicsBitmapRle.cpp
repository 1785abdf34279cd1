#include "platform/classlib/forms/GraphicsBitmapRle.h"

#include "platform/classlib/forms/GraphicsBitmapFile.h"

#include <algorithm>

namespace {

// The pen of the expansion: where the next pixel goes, kept at most one step past the row's end so
// that long runs and deltas cannot overflow it.
class TRlePen {
public:
    TRlePen(int bitsPixel, int width, int height, std::span<std::uint8_t> rows)
        : m_nibbles(bitsPixel == 4), m_width(width), m_height(height),
          m_rowBytes(static_cast<std::size_t>(DibRowBytes(width, bitsPixel))), m_rows(rows)
    {
    }

    [[nodiscard]] bool PastTheTop() const { return m_y >= m_height; }
    // Pixels still visible on this row.
    [[nodiscard]] int Room() const { return m_width - m_x; }

    void Put(std::uint8_t index)
    {
        if (m_x >= m_width || PastTheTop())
            return;
        std::uint8_t& byte = m_rows[static_cast<std::size_t>(m_y) * m_rowBytes +
                                    static_cast<std::size_t>(m_nibbles ? m_x / 2 : m_x)];
        if (!m_nibbles)
            byte = index;
        else if (m_x % 2 == 0)
            byte = static_cast<std::uint8_t>((byte & 0x0F) | (index << 4));
        else
            byte = static_cast<std::uint8_t>((byte & 0xF0) | (index & 0x0F));
        ++m_x;
    }

    void EndLine()
    {
        m_x = 0;
        ++m_y;
    }

    void Move(int right, int up)
    {
        m_x = std::min(m_x + right, m_width);
        m_y = std::min(m_y + up, m_height);
    }

private:
    bool m_nibbles;
    int m_width;
    int m_height;
    std::size_t m_rowBytes;
    std::span<std::uint8_t> m_rows;
    int m_x = 0;
    int m_y = 0;
};

// The escapes that follow a zero count.
constexpr std::uint8_t EndOfLine = 0;
constexpr std::uint8_t EndOfBitmap = 1;
constexpr std::uint8_t Delta = 2;

} // namespace

void ExpandDibRle(std::span<const std::uint8_t> packed, int bitsPixel, int width, int height,
                  std::span<std::uint8_t> rows)
{
    const bool nibbles = bitsPixel == 4;
    // The i-th pixel of a byte: the byte itself at 8 bits, its high then low half at 4.
    const auto pixel = [nibbles](std::uint8_t byte, int i) -> std::uint8_t {
        return !nibbles ? byte : (i % 2 == 0 ? byte >> 4 : byte & 0x0F);
    };
    TRlePen pen(bitsPixel, width, height, rows);
    std::size_t at = 0;
    while (at + 2 <= packed.size() && !pen.PastTheTop()) {
        const int count = packed[at];
        const std::uint8_t second = packed[at + 1];
        at += 2;
        if (count > 0) {
            // An encoded run: `count` pixels of one index (at 4 bits, two alternating ones).
            const int shown = std::min(count, pen.Room());
            for (int i = 0; i < shown; ++i)
                pen.Put(pixel(second, i));
            continue;
        }
        if (second == EndOfLine) {
            pen.EndLine();
        } else if (second == EndOfBitmap) {
            return;
        } else if (second == Delta) {
            if (at + 2 > packed.size())
                return;
            pen.Move(packed[at], packed[at + 1]);
            at += 2;
        } else {
            // An absolute run: `second` pixels stored as they are, padded to a 16-bit boundary.
            const std::size_t bytes = nibbles ? (second + 1u) / 2 : second;
            const std::size_t available = std::min(bytes, packed.size() - at);
            const int stored = static_cast<int>(nibbles ? std::min<std::size_t>(second, available * 2) : available);
            const int shown = std::min(stored, pen.Room());
            for (int i = 0; i < shown; ++i)
                pen.Put(pixel(packed[at + static_cast<std::size_t>(nibbles ? i / 2 : i)], i));
            if (available < bytes)
                return;
            at += bytes + (bytes & 1);
        }
    }
}
