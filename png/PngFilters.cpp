#include "png/PngFilters.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace {

constexpr TFilter AllFilters[] = {TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage,
                                  TFilter::pfPaeth};

std::size_t IndexOf(TFilter filter)
{
    return static_cast<std::size_t>(filter);
}

void UnfilterSub(std::uint8_t* row, std::size_t rowBytes, std::size_t distance)
{
    for (std::size_t i = distance; i < rowBytes; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + row[i - distance]);
}

// Bytewise sums of the bytes of two words, without carries between them.
template <class TWord>
TWord AddBytes(TWord a, TWord b)
{
    constexpr auto high = static_cast<TWord>(0x8080808080808080u);
    return static_cast<TWord>(((a & ~high) + (b & ~high)) ^ ((a ^ b) & high));
}

// Sub adds each pixel to the one on its left: a chain through the row, walked here a pixel rather
// than a byte per step. A pixel is read as a whole word, the bytes past it (the next pixel's)
// masked off, so the walk stops a word before the row's end and the rest goes a byte at a time.
template <std::size_t PixelBytes>
void UnfilterSubByPixels(std::uint8_t* row, std::size_t rowBytes)
{
    using TWord = std::conditional_t<(PixelBytes <= 4), std::uint32_t, std::uint64_t>;
    constexpr TWord mask =
        PixelBytes == sizeof(TWord) ? ~TWord{0} : static_cast<TWord>((TWord{1} << (PixelBytes * 8)) - 1);
    TWord left = 0;
    std::size_t i = 0;
    for (; i + sizeof(TWord) <= rowBytes; i += PixelBytes) {
        TWord pixel;
        std::memcpy(&pixel, row + i, sizeof pixel);
        left = AddBytes<TWord>(pixel & mask, left);
        std::memcpy(row + i, &left, PixelBytes);
    }
    const std::size_t done = i == 0 ? 0 : i - PixelBytes;
    UnfilterSub(row + done, rowBytes - done, PixelBytes);
}

void UnfilterSubFast(std::uint8_t* row, std::size_t rowBytes, std::size_t distance)
{
    switch (distance) {
    case 2: UnfilterSubByPixels<2>(row, rowBytes); break;
    case 3: UnfilterSubByPixels<3>(row, rowBytes); break;
    case 4: UnfilterSubByPixels<4>(row, rowBytes); break;
    case 6: UnfilterSubByPixels<6>(row, rowBytes); break;
    case 8: UnfilterSubByPixels<8>(row, rowBytes); break;
    default: UnfilterSub(row, rowBytes, distance); break;
    }
}

void UnfilterUp(std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes)
{
    for (std::size_t i = 0; i < rowBytes; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
}

void UnfilterAverage(std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes, std::size_t distance)
{
    const std::size_t head = std::min(distance, rowBytes);
    for (std::size_t i = 0; i < head; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + (prior[i] >> 1));
    for (std::size_t i = head; i < rowBytes; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + ((prior[i] + row[i - distance]) >> 1));
}

void UnfilterPaeth(std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes, std::size_t distance)
{
    const std::size_t head = std::min(distance, rowBytes);
    for (std::size_t i = 0; i < head; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
    for (std::size_t i = head; i < rowBytes; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + PaethPredictor(row[i - distance], prior[i], prior[i - distance]));
}

} // namespace

std::uint8_t PaethPredictor(std::uint8_t left, std::uint8_t above, std::uint8_t upperLeft)
{
    const int p = left + above - upperLeft;
    const int pa = std::abs(p - left);
    const int pb = std::abs(p - above);
    const int pc = std::abs(p - upperLeft);
    if (pa <= pb && pa <= pc)
        return left;
    return pb <= pc ? above : upperLeft;
}

void UnfilterRow(std::uint8_t filterType, std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes,
                 std::size_t distance)
{
    if (filterType == 1)
        UnfilterSubFast(row, rowBytes, distance);
    else
        UnfilterRowScalar(filterType, row, prior, rowBytes, distance);
}

void UnfilterRowScalar(std::uint8_t filterType, std::uint8_t* row, const std::uint8_t* prior, std::size_t rowBytes,
                       std::size_t distance)
{
    switch (filterType) {
    case 1: UnfilterSub(row, rowBytes, distance); break;
    case 2: UnfilterUp(row, prior, rowBytes); break;
    case 3: UnfilterAverage(row, prior, rowBytes, distance); break;
    case 4: UnfilterPaeth(row, prior, rowBytes, distance); break;
    default: break;
    }
}

TRowFilterChooser::TRowFilterChooser(TFilters filters, std::size_t maxRowBytes, std::size_t distance)
    : m_filters(filters), m_rowBytes(maxRowBytes), m_distance(distance)
{
    m_buffers[IndexOf(TFilter::pfNone)].assign(maxRowBytes, 0);
    for (TFilter filter : AllFilters)
        if (filter != TFilter::pfNone && filters.Contains(filter))
            m_buffers[IndexOf(filter)].assign(maxRowBytes, 0);
}

void TRowFilterChooser::StartPass(std::size_t rowBytes)
{
    m_rowBytes = std::min(rowBytes, m_buffers[0].size());
    std::fill(m_buffers[0].begin(), m_buffers[0].end(), 0);
}

TFilter TRowFilterChooser::Choose(const std::uint8_t* raw)
{
    for (TFilter filter : AllFilters)
        if (filter != TFilter::pfNone && m_filters.Contains(filter))
            Filter(filter, raw);
    std::memcpy(m_buffers[0].data(), raw, m_rowBytes);
    return Pick();
}

const std::uint8_t* TRowFilterChooser::Filtered(TFilter filter) const
{
    return m_buffers[IndexOf(filter)].data();
}

void TRowFilterChooser::Filter(TFilter filter, const std::uint8_t* raw)
{
    const std::uint8_t* prior = m_buffers[0].data();
    std::uint8_t* out = m_buffers[IndexOf(filter)].data();
    for (std::size_t i = 0; i < m_rowBytes; ++i) {
        const std::uint8_t left = i >= m_distance ? raw[i - m_distance] : 0;
        const std::uint8_t upperLeft = i >= m_distance ? prior[i - m_distance] : 0;
        std::uint8_t predicted = 0;
        switch (filter) {
        case TFilter::pfSub: predicted = left; break;
        case TFilter::pfUp: predicted = prior[i]; break;
        case TFilter::pfAverage: predicted = static_cast<std::uint8_t>((prior[i] + left) / 2); break;
        case TFilter::pfPaeth: predicted = PaethPredictor(left, prior[i], upperLeft); break;
        case TFilter::pfNone: break;
        }
        out[i] = static_cast<std::uint8_t>(raw[i] - predicted);
    }
}

// A heuristic of this codec: the filter whose output repeats itself most (a byte equal to one of
// the two before it) compresses best; ties keep the earlier filter.
TFilter TRowFilterChooser::Pick() const
{
    if (m_filters.Empty() || m_filters == TFilters{TFilter::pfNone})
        return TFilter::pfNone;
    if (m_filters.Count() == 1)
        for (TFilter filter : AllFilters)
            if (m_filters.Contains(filter))
                return filter;
    TFilter best = TFilter::pfNone;
    std::size_t bestScore = 0;
    for (TFilter filter : AllFilters) {
        if (!m_filters.Contains(filter))
            continue;
        const std::size_t score = Score(filter);
        if (score > bestScore) {
            best = filter;
            bestScore = score;
        }
    }
    return best;
}

std::size_t TRowFilterChooser::Score(TFilter filter) const
{
    const std::uint8_t* bytes = m_buffers[IndexOf(filter)].data();
    std::size_t score = 0;
    for (std::size_t j = 2; j < m_rowBytes; ++j)
        if (bytes[j] == bytes[j - 1] || bytes[j] == bytes[j - 2])
            ++score;
    return score;
}
