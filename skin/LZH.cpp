#include "skin/LZH.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>

namespace {

constexpr int RingSize = 4096;
constexpr int RingMask = RingSize - 1;
constexpr int LongestMatch = 60;
constexpr int Threshold = 2;
constexpr int SymbolCount = 256 - Threshold + LongestMatch; // literals, then match lengths
constexpr int NodeCount = 2 * SymbolCount - 1;
constexpr int Root = NodeCount - 1;
constexpr unsigned MaxFreq = 0x8000;

// The fixed prefix code of the upper six bits of a match position: for each value of the next
// eight input bits, the six bits it stands for and how many of the eight bits the code uses.
struct PositionCode {
    std::array<std::uint8_t, 256> upper{};
    std::array<std::uint8_t, 256> length{};
};

constexpr PositionCode MakePositionCode()
{
    // Each group: the code length and how many of the 256 entries each of its values takes.
    struct Group {
        std::uint8_t length;
        int entriesPerValue;
        int values;
    };
    constexpr Group groups[] = {{3, 32, 1}, {4, 16, 3}, {5, 8, 8}, {6, 4, 12}, {7, 2, 24}, {8, 1, 16}};
    PositionCode code;
    int entry = 0;
    int upper = 0;
    for (const Group& group : groups) {
        for (int value = 0; value < group.values; ++value, ++upper) {
            for (int n = 0; n < group.entriesPerValue; ++n, ++entry) {
                code.upper[entry] = static_cast<std::uint8_t>(upper);
                code.length[entry] = group.length;
            }
        }
    }
    return code;
}

constexpr PositionCode Positions = MakePositionCode();

// Most-significant-bit-first input over the reader; bytes that do not come read as zero.
class BitInput {
public:
    explicit BitInput(const TLZHReadProc& reader) : m_reader(reader) {}

    // True once the reader has run dry and every bit it gave has been used: whatever would be
    // decoded from here on is made of padding alone.
    bool Exhausted()
    {
        Fill();
        return m_dry && m_givenBits <= 0;
    }

    unsigned Bit()
    {
        Fill();
        const unsigned bit = m_buffer >> 15;
        m_buffer = static_cast<std::uint16_t>(m_buffer << 1);
        --m_count;
        --m_givenBits;
        return bit;
    }

    unsigned Byte()
    {
        Fill();
        const unsigned byte = m_buffer >> 8;
        m_buffer = static_cast<std::uint16_t>(m_buffer << 8);
        m_count -= 8;
        m_givenBits -= 8;
        return byte;
    }

private:
    void Fill()
    {
        while (m_count <= 8) {
            std::uint8_t byte = 0;
            if (!m_dry && m_reader(&byte, 1) == 1)
                m_givenBits += 8;
            else
                m_dry = true;
            m_buffer = static_cast<std::uint16_t>(m_buffer | (byte << (8 - m_count)));
            m_count += 8;
        }
    }

    const TLZHReadProc& m_reader;
    std::uint16_t m_buffer = 0;
    int m_count = 0;
    int m_givenBits = 0; // bits of the buffer that came from the reader; below 0 once padding is used
    bool m_dry = false;  // the reader has given all it had
};

// The adaptive Huffman tree of symbols. Nodes are kept in ascending order of frequency, sibling
// pairs side by side; a leaf's `son` entry holds NodeCount + its symbol.
class HuffmanTree {
public:
    HuffmanTree()
    {
        for (int symbol = 0; symbol < SymbolCount; ++symbol) {
            m_freq[symbol] = 1;
            m_son[symbol] = static_cast<std::uint16_t>(symbol + NodeCount);
            m_parent[symbol + NodeCount] = static_cast<std::uint16_t>(symbol);
        }
        for (int i = 0, j = SymbolCount; j <= Root; i += 2, ++j) {
            m_freq[j] = static_cast<std::uint16_t>(m_freq[i] + m_freq[i + 1]);
            m_son[j] = static_cast<std::uint16_t>(i);
            m_parent[i] = m_parent[i + 1] = static_cast<std::uint16_t>(j);
        }
        m_freq[NodeCount] = 0xFFFF;
        m_parent[Root] = 0;
    }

    int DecodeSymbol(BitInput& input)
    {
        unsigned node = m_son[Root];
        while (node < NodeCount)
            node = m_son[node + input.Bit()];
        const int symbol = static_cast<int>(node) - NodeCount;
        Update(symbol);
        return symbol;
    }

private:
    void Update(int symbol)
    {
        if (m_freq[Root] == MaxFreq)
            Rebuild();
        unsigned node = m_parent[symbol + NodeCount];
        do {
            const unsigned freq = ++m_freq[node];
            if (freq > m_freq[node + 1]) {
                unsigned last = node + 1;
                while (freq > m_freq[last + 1])
                    ++last;
                m_freq[node] = m_freq[last];
                m_freq[last] = static_cast<std::uint16_t>(freq);
                SwapSubtrees(node, last);
                node = last;
            }
            node = m_parent[node];
        } while (node != 0);
    }

    void AdoptChildren(unsigned son, unsigned parent)
    {
        m_parent[son] = static_cast<std::uint16_t>(parent);
        if (son < NodeCount)
            m_parent[son + 1] = static_cast<std::uint16_t>(parent);
    }

    void SwapSubtrees(unsigned a, unsigned b)
    {
        const unsigned sonA = m_son[a];
        const unsigned sonB = m_son[b];
        AdoptChildren(sonA, b);
        AdoptChildren(sonB, a);
        m_son[a] = static_cast<std::uint16_t>(sonB);
        m_son[b] = static_cast<std::uint16_t>(sonA);
    }

    // Halves the leaves' frequencies and builds the inner nodes anew, so that the counts never
    // overflow and old statistics fade.
    void Rebuild()
    {
        int leaves = 0;
        for (int i = 0; i < NodeCount; ++i) {
            if (m_son[i] >= NodeCount) {
                m_freq[leaves] = static_cast<std::uint16_t>((m_freq[i] + 1) / 2);
                m_son[leaves] = m_son[i];
                ++leaves;
            }
        }
        for (int i = 0, j = SymbolCount; j < NodeCount; i += 2, ++j) {
            const unsigned freq = m_freq[i] + m_freq[i + 1];
            int at = j - 1;
            while (freq < m_freq[at])
                --at;
            ++at;
            for (int k = j; k > at; --k) {
                m_freq[k] = m_freq[k - 1];
                m_son[k] = m_son[k - 1];
            }
            m_freq[at] = static_cast<std::uint16_t>(freq);
            m_son[at] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0; i < NodeCount; ++i)
            AdoptChildren(m_son[i], static_cast<unsigned>(i));
    }

    std::array<std::uint16_t, NodeCount + 1> m_freq{};
    std::array<std::uint16_t, NodeCount + SymbolCount> m_parent{};
    std::array<std::uint16_t, NodeCount> m_son{};
};

unsigned DecodePosition(BitInput& input)
{
    unsigned bits = input.Byte();
    const unsigned upper = Positions.upper[bits];
    for (int extra = Positions.length[bits] - 2; extra > 0; --extra)
        bits = (bits << 1) | input.Bit();
    return (upper << 6) | (bits & 0x3F);
}

struct DecoderTables {
    HuffmanTree tree;
    std::array<std::uint8_t, RingSize + LongestMatch - 1> ring{};
};

class Decoder {
public:
    Decoder(DecoderTables& tables, const TLZHWriteProc& writer, const TLZHReadProc& reader)
        : m_tables(tables), m_writer(writer), m_input(reader)
    {
        m_tables.ring.fill(' ');
    }

    void Run(std::int64_t outputSize)
    {
        while (m_written < outputSize) {
            if (m_input.Exhausted()) {
                // Decoding padding would only cost time (seconds for a few bytes that claim tens
                // of MiB) to make meaningless bytes: zeros say the same at once.
                WriteZeros(outputSize - m_written);
                return;
            }
            const int symbol = m_tables.tree.DecodeSymbol(m_input);
            if (symbol < 256) {
                Emit(static_cast<std::uint8_t>(symbol));
                continue;
            }
            const unsigned position = DecodePosition(m_input);
            const unsigned from = (m_r - position - 1) & RingMask;
            const int length = symbol - 255 + Threshold;
            for (int k = 0; k < length; ++k)
                Emit(m_tables.ring[(from + k) & RingMask]);
        }
    }

private:
    void WriteZeros(std::int64_t count)
    {
        static constexpr std::array<std::uint8_t, RingSize> zeros{};
        for (; count > 0; count -= static_cast<std::int64_t>(zeros.size())) {
            const auto now = static_cast<std::uint16_t>(std::min<std::int64_t>(count, zeros.size()));
            m_writer(zeros.data(), now);
            m_written += now;
        }
    }

    void Emit(std::uint8_t byte)
    {
        m_writer(&byte, 1);
        m_tables.ring[m_r] = byte;
        m_r = (m_r + 1) & RingMask;
        ++m_written;
    }

    DecoderTables& m_tables;
    const TLZHWriteProc& m_writer;
    BitInput m_input;
    unsigned m_r = RingSize - LongestMatch;
    std::int64_t m_written = 0;
};

} // namespace

void TLZH::Unpack(std::int32_t outputSize, const TLZHWriteProc& writer, const TLZHReadProc& reader)
{
    if (outputSize <= 0)
        return;
    std::unique_ptr<DecoderTables> tables;
    try {
        tables = std::make_unique<DecoderTables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    Decoder(*tables, writer, reader).Run(outputSize);
}
