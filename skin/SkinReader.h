#pragma once

#include "platform/classlib/core/Streams.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Expands a packed skin package and hands out its entries (the skin's INI text and the bitmaps
// it names) by name.
//
// A package is a 32-bit little-endian unpacked size followed by the LZ-Huffman stream (TLZH).
// Unpacked, it is a container: a 16-byte header (version, name-list length, two reserved words),
// reserved bytes that depend on the version, the name list (one entry name a line), a table of
// 32-bit entry sizes in name order, and the entries' bytes back to back.
//
// Limits: the unpacked size is at most MaxUnpackedSize, checked before anything is allocated; a
// container whose header, name list or size table runs past its end does not load. An entry whose
// size runs past the data is treated as missing. The reader owns copies of everything it needs;
// the packed stream is only read during LoadFromStream.
class TSkinReader {
public:
    using TMessageEvent = std::function<void(const std::string& text)>;

    static constexpr std::uint32_t MaxUnpackedSize = 64u << 20;
    // Shown to the user when the container's version is not one this reader knows.
    static const std::string VersionMessage;

    // Expands the package from the stream's start. False when it is too short to hold its size,
    // claims more than MaxUnpackedSize, has an unknown version (the message goes to
    // OnVersionMessage first) or a malformed container. Whatever was loaded before is dropped in
    // every case, so a failed load leaves no entries.
    [[nodiscard]] bool LoadFromStream(TStream& packed);

    // Replaces the target's content with the first entry whose name equals `name` (in any case)
    // and rewinds it; the target stays empty when there is no such entry.
    void GetEntry(const std::string& name, TMemoryStream& target) const;
    // As GetEntry for the first entry whose lower-case name contains `fragment` as given (not
    // lower-cased); stores that name in `name` and returns True. Returns False and leaves `name`
    // alone when no name contains it.
    [[nodiscard]] bool FindEntry(const std::string& fragment, TMemoryStream& target, std::string& name) const;

    // The entry names, lower-cased, in package order.
    [[nodiscard]] const std::vector<std::string>& Names() const { return m_names; }
    [[nodiscard]] int Count() const { return static_cast<int>(m_names.size()); }
    // The size the package states for entry `index` (in Names() order), or 0 past the last.
    [[nodiscard]] std::uint32_t EntrySize(std::size_t index) const
    {
        return index < m_sizes.size() ? m_sizes[index] : 0;
    }
    [[nodiscard]] std::uint32_t Version() const { return m_version; }
    [[nodiscard]] std::uint32_t NameListLength() const { return m_nameListLength; }
    [[nodiscard]] std::uint32_t Reserved1() const { return m_reserved1; }
    [[nodiscard]] std::uint32_t Reserved2() const { return m_reserved2; }
    [[nodiscard]] std::int64_t DataSize() const { return static_cast<std::int64_t>(m_data.size()); }

    [[nodiscard]] const TMessageEvent& OnVersionMessage() const { return m_onVersionMessage; }
    void SetOnVersionMessage(TMessageEvent handler) { m_onVersionMessage = std::move(handler); }

private:
    void Clear();
    [[nodiscard]] bool ReadContainer(const std::vector<std::uint8_t>& container);
    void CopyEntry(std::size_t index, TMemoryStream& target) const;

    std::vector<std::string> m_names;
    std::vector<std::uint32_t> m_sizes;
    std::vector<std::uint8_t> m_data;
    std::uint32_t m_version = 0;
    std::uint32_t m_nameListLength = 0;
    std::uint32_t m_reserved1 = 0;
    std::uint32_t m_reserved2 = 0;
    TMessageEvent m_onVersionMessage;
};
