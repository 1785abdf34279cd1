#include "tools/skinpack/lib/LzhEncoder.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <stdexcept>

namespace {

constexpr int RingSize = 4096;
constexpr int Prelude = RingSize - 60; // ring bytes that start as spaces
constexpr int MinMatch = 3;
constexpr int MaxMatch = 60;
constexpr int LiteralCount = 256;
constexpr int SymbolCount = LiteralCount + MaxMatch - MinMatch + 1;
constexpr int NodeCount = 2 * SymbolCount - 1;
constexpr int Root = NodeCount - 1;
constexpr unsigned RebuildAt = 0x8000;

class BitWriter {
public:
    void Put(std::uint64_t bits, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            m_byte = static_cast<std::uint8_t>(m_byte << 1 | ((bits >> i) & 1));
            if (++m_used == 8) {
                m_out.push_back(m_byte);
                m_byte = 0;
                m_used = 0;
            }
        }
    }

    std::vector<std::uint8_t> Finish()
    {
        if (m_used != 0)
            m_out.push_back(static_cast<std::uint8_t>(m_byte << (8 - m_used)));
        return std::move(m_out);
    }

private:
    std::vector<std::uint8_t> m_out;
    std::uint8_t m_byte = 0;
    int m_used = 0;
};

// The symbol model, kept in step with the decoder's: the same start, the same increment with
// the same node exchanges, the same rebuild when the total reaches RebuildAt.
class SymbolModel {
public:
    SymbolModel()
    {
        for (int leaf = 0; leaf < SymbolCount; ++leaf) {
            m_count[leaf] = 1;
            m_child[leaf] = LeafMark(leaf);
        }
        for (int child = 0, node = SymbolCount; node < NodeCount; child += 2, ++node) {
            m_count[node] = m_count[child] + m_count[child + 1];
            m_child[node] = child;
        }
        m_count[NodeCount] = ~0u;
        LinkParents();
    }

    void Encode(int symbol, BitWriter& out)
    {
        std::uint64_t path = 0;
        int depth = 0;
        for (int node = m_leafNode[symbol]; node != Root; node = m_parent[node]) {
            const int side = node - m_child[m_parent[node]];
            path |= static_cast<std::uint64_t>(side) << depth;
            ++depth;
        }
        out.Put(path, depth);
        Count(symbol);
    }

private:
    static int LeafMark(int symbol) { return NodeCount + symbol; }
    static bool IsLeafMark(int child) { return child >= NodeCount; }

    void LinkParents()
    {
        for (int node = 0; node < NodeCount; ++node) {
            const int child = m_child[node];
            if (IsLeafMark(child)) {
                m_leafNode[child - NodeCount] = node;
            } else {
                m_parent[child] = node;
                m_parent[child + 1] = node;
            }
        }
        m_parent[Root] = -1;
    }

    void Count(int symbol)
    {
        if (m_count[Root] == RebuildAt)
            Rebuild();
        for (int node = m_leafNode[symbol]; node != -1; node = m_parent[node]) {
            const unsigned count = ++m_count[node];
            if (count <= m_count[node + 1])
                continue;
            int swapWith = node + 1;
            while (count > m_count[swapWith + 1])
                ++swapWith;
            m_count[node] = m_count[swapWith];
            m_count[swapWith] = count;
            Exchange(node, swapWith);
            node = swapWith;
        }
    }

    // Exchanges the subtrees that hang at two node places; the places keep their parents.
    void Exchange(int a, int b)
    {
        std::swap(m_child[a], m_child[b]);
        Relink(a);
        Relink(b);
    }

    void Relink(int node)
    {
        const int child = m_child[node];
        if (IsLeafMark(child)) {
            m_leafNode[child - NodeCount] = node;
        } else {
            m_parent[child] = node;
            m_parent[child + 1] = node;
        }
    }

    void Rebuild()
    {
        int leaves = 0;
        for (int node = 0; node < NodeCount; ++node) {
            if (IsLeafMark(m_child[node])) {
                m_count[leaves] = (m_count[node] + 1) / 2;
                m_child[leaves] = m_child[node];
                ++leaves;
            }
        }
        for (int child = 0, node = SymbolCount; node < NodeCount; child += 2, ++node) {
            const unsigned count = m_count[child] + m_count[child + 1];
            int place = node;
            while (count < m_count[place - 1]) {
                m_count[place] = m_count[place - 1];
                m_child[place] = m_child[place - 1];
                --place;
            }
            m_count[place] = count;
            m_child[place] = child;
        }
        LinkParents();
    }

    std::array<unsigned, NodeCount + 1> m_count{};
    std::array<int, NodeCount> m_child{};
    std::array<int, NodeCount> m_parent{};
    std::array<int, SymbolCount> m_leafNode{};
};

// The prefix code of a position's upper six bits: the shorter codes go to the nearer positions.
struct PositionPrefix {
    std::array<std::uint8_t, 64> bits{};
    std::array<std::uint8_t, 64> length{};
};

PositionPrefix MakePositionPrefix()
{
    struct Group {
        int length;
        int values;
    };
    // Codes of one length take 2^(8 - length) of the 256 values of the decoder's first byte each.
    constexpr Group groups[] = {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}};
    PositionPrefix prefix;
    int upper = 0;
    int firstByte = 0;
    for (const Group& group : groups) {
        for (int value = 0; value < group.values; ++value, ++upper) {
            prefix.bits[upper] = static_cast<std::uint8_t>(firstByte >> (8 - group.length));
            prefix.length[upper] = static_cast<std::uint8_t>(group.length);
            firstByte += 1 << (8 - group.length);
        }
    }
    return prefix;
}

const PositionPrefix PositionCodes = MakePositionPrefix();

// Finds the longest earlier match with hash chains over the ring's prelude and the input.
class MatchFinder {
public:
    explicit MatchFinder(const std::vector<std::uint8_t>& text) : m_text(text)
    {
        m_head.fill(-1);
        m_previous.fill(-1);
    }

    void Insert(int position)
    {
        if (position + MinMatch > static_cast<int>(m_text.size()))
            return;
        const unsigned hash = Hash(position);
        m_previous[position & (RingSize - 1)] = m_head[hash];
        m_head[hash] = position;
    }

    struct Match {
        int length = 0;
        int distance = 0;
    };

    Match Longest(int position) const
    {
        const int available = std::min<int>(MaxMatch, static_cast<int>(m_text.size()) - position);
        Match best;
        if (available < MinMatch)
            return best;
        int candidate = m_head[Hash(position)];
        for (int steps = 0; candidate >= 0 && steps < MaxChain; ++steps) {
            const int distance = position - candidate;
            if (distance <= 0 || distance > RingSize)
                break;
            int length = 0;
            while (length < available && m_text[candidate + length] == m_text[position + length])
                ++length;
            if (length > best.length) {
                best = {length, distance};
                if (length == available)
                    break;
            }
            const int next = m_previous[candidate & (RingSize - 1)];
            if (next >= candidate)
                break;
            candidate = next;
        }
        return best.length >= MinMatch ? best : Match{};
    }

private:
    static constexpr int MaxChain = 256;
    static constexpr int HashBits = 15;

    unsigned Hash(int position) const
    {
        const unsigned key = m_text[position] | m_text[position + 1] << 8 | m_text[position + 2] << 16;
        return (key * 2654435761u) >> (32 - HashBits);
    }

    const std::vector<std::uint8_t>& m_text;
    std::array<int, 1 << HashBits> m_head{};
    std::array<int, RingSize> m_previous{};
};

} // namespace

std::vector<std::uint8_t> LzhEncode(const std::uint8_t* data, std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max() - Prelude))
        throw std::length_error("LzhEncode: the input is larger than 2 GiB");
    // The decoder's ring starts with spaces, so matches may reach back into them.
    std::vector<std::uint8_t> text(Prelude + size, ' ');
    std::copy(data, data + size, text.begin() + Prelude);

    auto finder = std::make_unique<MatchFinder>(text);
    auto model = std::make_unique<SymbolModel>();
    BitWriter out;
    for (int position = 0; position < Prelude; ++position)
        finder->Insert(position);
    for (int position = Prelude; position < static_cast<int>(text.size());) {
        const MatchFinder::Match match = finder->Longest(position);
        if (match.length == 0) {
            model->Encode(text[position], out);
            finder->Insert(position++);
            continue;
        }
        model->Encode(LiteralCount + match.length - MinMatch, out);
        const int encoded = match.distance - 1;
        const int upper = encoded >> 6;
        out.Put(PositionCodes.bits[upper], PositionCodes.length[upper]);
        out.Put(encoded & 0x3F, 6);
        for (int k = 0; k < match.length; ++k)
            finder->Insert(position++);
    }
    return out.Finish();
}
