#include "skin/SkinReader.h"

#include "platform/rtl/Strings.h"
#include "skin/LZH.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t HeaderSize = 16;

std::uint32_t ReadU32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Where the name list starts for each container version; 0 for a version we do not know.
std::uint64_t NameOffset(std::uint32_t version)
{
    switch (version) {
    case 20000:
        return 16;
    case 30000:
        return 272;
    case 40000:
        return 96;
    default:
        return 0;
    }
}

// Splits like a string list's text: CR LF, a lone CR or a lone LF ends a line, and a last line
// without an ending still counts.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end;
        if (start < text.size() && text[start] == '\r')
            ++start;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::vector<std::uint8_t> Expand(TStream& packed, std::uint32_t size)
{
    std::vector<std::uint8_t> container(size);
    std::size_t written = 0;
    // Bytes past the stated size (the decoder may finish a match beyond it) are dropped.
    const TLZHWriteProc writer = [&](const void* buffer, std::uint16_t count) -> std::uint16_t {
        const std::size_t now = std::min<std::size_t>(count, container.size() - written);
        std::memcpy(container.data() + written, buffer, now);
        written += now;
        return static_cast<std::uint16_t>(now);
    };
    const TLZHReadProc reader = [&](void* buffer, std::uint16_t count) -> std::uint16_t {
        return static_cast<std::uint16_t>(packed.Read(buffer, count));
    };
    TLZH().Unpack(static_cast<std::int32_t>(size), writer, reader);
    return container;
}

} // namespace

const std::string TSkinReader::VersionMessage = "此文件版本不同\r请升级新版本 !";

void TSkinReader::Clear()
{
    m_names.clear();
    m_sizes.clear();
    m_data.clear();
    m_version = m_nameListLength = m_reserved1 = m_reserved2 = 0;
}

bool TSkinReader::LoadFromStream(TStream& packed)
{
    Clear();
    packed.SetPosition(0);
    std::uint8_t sizeBytes[4];
    if (packed.Read(sizeBytes, sizeof sizeBytes) != sizeof sizeBytes)
        return false;
    const std::uint32_t unpackedSize = ReadU32(sizeBytes);
    if (unpackedSize > MaxUnpackedSize)
        return false;
    const bool loaded = ReadContainer(Expand(packed, unpackedSize));
    if (!loaded)
        Clear();
    return loaded;
}

bool TSkinReader::ReadContainer(const std::vector<std::uint8_t>& container)
{
    if (container.size() < HeaderSize)
        return false;
    m_version = ReadU32(container.data());
    m_nameListLength = ReadU32(container.data() + 4);
    m_reserved1 = ReadU32(container.data() + 8);
    m_reserved2 = ReadU32(container.data() + 12);
    const std::uint64_t namesAt = NameOffset(m_version);
    if (namesAt == 0) {
        if (m_onVersionMessage)
            m_onVersionMessage(VersionMessage);
        return false;
    }
    const std::uint64_t sizesAt = namesAt + m_nameListLength;
    if (sizesAt > container.size())
        return false;
    const std::string names(container.begin() + static_cast<std::ptrdiff_t>(namesAt),
                            container.begin() + static_cast<std::ptrdiff_t>(sizesAt));
    m_names = SplitLines(AnsiLowerCase(names));
    const std::uint64_t dataAt = sizesAt + 4 * std::uint64_t{m_names.size()};
    if (dataAt > container.size())
        return false;
    m_sizes.resize(m_names.size());
    for (std::size_t i = 0; i < m_sizes.size(); ++i)
        m_sizes[i] = ReadU32(container.data() + sizesAt + 4 * i);
    m_data.assign(container.begin() + static_cast<std::ptrdiff_t>(dataAt), container.end());
    return true;
}

void TSkinReader::CopyEntry(std::size_t index, TMemoryStream& target) const
{
    std::uint64_t offset = 0;
    for (std::size_t i = 0; i < index; ++i)
        offset += m_sizes[i];
    const std::uint64_t size = m_sizes[index];
    if (offset + size > m_data.size())
        return;
    target.WriteBuffer(m_data.data() + offset, static_cast<std::size_t>(size));
    target.SetPosition(0);
}

void TSkinReader::GetEntry(const std::string& name, TMemoryStream& target) const
{
    target.Clear();
    const auto found = std::find(m_names.begin(), m_names.end(), AnsiLowerCase(name));
    if (found != m_names.end())
        CopyEntry(static_cast<std::size_t>(found - m_names.begin()), target);
}

bool TSkinReader::FindEntry(const std::string& fragment, TMemoryStream& target, std::string& name) const
{
    target.Clear();
    const auto found = std::find_if(m_names.begin(), m_names.end(), [&](const std::string& entry) {
        return entry.find(fragment) != std::string::npos;
    });
    if (found == m_names.end())
        return false;
    CopyEntry(static_cast<std::size_t>(found - m_names.begin()), target);
    name = *found;
    return true;
}
