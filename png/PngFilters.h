#pragma once

// The PNG row filters: reconstruction when decoding, filtering and the choice of filter when
// encoding.

#include "png/PngCodec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

[[nodiscard]] std::uint8_t PaethPredictor(std::uint8_t left, std::uint8_t above, std::uint8_t upperLeft);

// Reverses filter `filterType` on `row` (rowBytes bytes, filter byte excluded) given the previous
// reconstructed row. An unknown filter type leaves the row as it is. The Sub filter of pixels of
// 2 to 8 bytes is reconstructed a whole pixel at a time.
void UnfilterRow(std::uint8_t filterType, std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes,
                 std::size_t distance);
// The same a byte at a time, as the format describes it: the reference UnfilterRow must match.
void UnfilterRowScalar(std::uint8_t filterType, std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes,
                       std::size_t distance);

// Filters successive raw rows with the filters of a set and picks one per row. The previous raw
// row is kept between calls; StartPass forgets it (a new interlace pass or image).
class TRowFilterChooser {
public:
    TRowFilterChooser(TFilters filters, std::size_t maxRowBytes, std::size_t distance);

    void StartPass(std::size_t rowBytes);
    // Filters `raw` (the current pass's row bytes) and returns the chosen filter.
    [[nodiscard]] TFilter Choose(const std::uint8_t* raw);
    [[nodiscard]] const std::uint8_t* Filtered(TFilter filter) const;

private:
    void Filter(TFilter filter, const std::uint8_t* raw);
    [[nodiscard]] TFilter Pick() const;
    [[nodiscard]] std::size_t Score(TFilter filter) const;

    TFilters m_filters;
    std::size_t m_rowBytes;
    std::size_t m_distance;
    // Indexed by filter; the None buffer doubles as the previous raw row.
    std::array<std::vector<std::uint8_t>, 5> m_buffers;
};
