#include "png/PngCodec.h"
#include "png/PngInternal.h"

#include "platform/classlib/core/Streams.h"

#include <zlib.h>

#include <bit>
#include <limits>

namespace png::detail {

bool ReadExactly(TStream& stream, void* buffer, std::size_t count)
{
    return count == 0 || stream.Read(buffer, count) == count;
}

bool ReadChunkLength(TStream& stream, std::size_t& length)
{
    std::uint8_t bytes[4];
    if (!ReadExactly(stream, bytes, sizeof bytes))
        return false;
    const std::uint32_t value = ReadBigEndian32(bytes);
    // The name follows the length; the data must fit in what is left after it.
    const std::int64_t left = stream.Size() - stream.Position() - 4;
    if (value > PngMaxChunkLength || static_cast<std::int64_t>(value) > left)
        throw EPngUnexpectedEnd();
    length = value;
    return true;
}

void CheckCrc(TStream& stream, std::uint32_t expected)
{
    std::uint8_t bytes[4];
    if (!ReadExactly(stream, bytes, sizeof bytes) || ReadBigEndian32(bytes) != expected)
        throw EPngInvalidCRC();
}

std::uint32_t CrcStart(const std::string& name)
{
    return CrcUpdate(0, reinterpret_cast<const std::uint8_t*>(name.data()), name.size());
}

std::uint32_t CrcUpdate(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count)
{
    // zlib's CRC-32 is the one PNG specifies (reflected EDB88320, pre- and post-inverted). It
    // answers a null buffer, as an empty vector may give, with its start value: skip it.
    if (count == 0)
        return crc;
    return static_cast<std::uint32_t>(crc32_z(crc, bytes, count));
}

unsigned StorageBitsPerPixel(std::uint8_t colorType, std::uint8_t bitDepth)
{
    if (colorType == COLOR_RGB || colorType == COLOR_RGBALPHA)
        return 24;
    if (bitDepth == 2)
        return 4;
    return bitDepth == 16 ? 8 : bitDepth;
}

bool IsGreyscale(std::uint8_t colorType)
{
    return colorType == COLOR_GRAYSCALE || colorType == COLOR_GRAYSCALEALPHA;
}

} // namespace png::detail

using namespace png::detail;

int TFilters::Count() const
{
    return std::popcount(m_bits);
}

std::size_t BytesForPixels(std::size_t n, std::uint8_t colorType, std::uint8_t bitDepth)
{
    const std::size_t bits = n * bitDepth;
    switch (colorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: return (bits + 7) / 8;
    case COLOR_RGB: return bits * 3 / 8;
    case COLOR_GRAYSCALEALPHA: return bits * 2 / 8;
    case COLOR_RGBALPHA: return bits * 4 / 8;
    default: return 0;
    }
}

TChunk::TChunk(TPNGObject& owner) : m_owner(owner) {}

TChunk::~TChunk() = default;

std::unique_ptr<TChunk> TChunk::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunk>(owner);
}

void TChunk::Assign(const TChunk& source)
{
    m_name = source.m_name;
    m_data = source.m_data;
}

void TChunk::SetDataSize(std::size_t size)
{
    m_data.resize(size);
}

bool TChunk::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    m_name = name;
    SetDataSize(size);
    if (!ReadExactly(stream, m_data.data(), size))
        throw EPngUnexpectedEnd();
    CheckCrc(stream, CrcUpdate(CrcStart(name), m_data.data(), size));
    return true;
}

bool TChunk::SaveToStream(TStream& stream)
{
    return WriteFramed(stream);
}

bool TChunk::WriteFramed(TStream& stream)
{
    std::uint8_t length[4];
    WriteBigEndian32(length, static_cast<std::uint32_t>(m_data.size()));
    stream.WriteBuffer(length, sizeof length);
    stream.WriteBuffer(m_name.data(), m_name.size());
    stream.WriteBuffer(m_data.data(), m_data.size());
    std::uint8_t crc[4];
    WriteBigEndian32(crc, CrcUpdate(CrcStart(m_name), m_data.data(), m_data.size()));
    stream.WriteBuffer(crc, sizeof crc);
    return true;
}

TChunkIHDR& TChunk::Header() const
{
    return m_owner.HeaderChunk();
}

TChunkIEND::TChunkIEND(TPNGObject& owner) : TChunk(owner)
{
    SetName("IEND");
}

std::unique_ptr<TChunk> TChunkIEND::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunkIEND>(owner);
}

TChunk* TPNGList::Item(std::size_t index) const
{
    return index < m_items.size() ? m_items[index].get() : nullptr;
}

TChunk& TPNGList::Add(std::unique_ptr<TChunk> chunk)
{
    m_items.push_back(std::move(chunk));
    return *m_items.back();
}

namespace {

struct TChunkClass {
    std::string Name;
    TChunkFactory Factory;
};

template <class T>
std::unique_ptr<TChunk> Create(TPNGObject& owner)
{
    return std::make_unique<T>(owner);
}

std::vector<TChunkClass>& ChunkClasses()
{
    static std::vector<TChunkClass> classes{
        {"IEND", Create<TChunkIEND>}, {"IHDR", Create<TChunkIHDR>}, {"IDAT", Create<TChunkIDAT>},
        {"PLTE", Create<TChunkPLTE>}, {"gAMA", Create<TChunkgAMA>}, {"tRNS", Create<TChunktRNS>},
        {"tIME", Create<TChunktIME>}, {"tEXt", Create<TChunktEXt>}, {"zTXt", Create<TChunkzTXt>},
    };
    return classes;
}

} // namespace

void RegisterChunkClass(std::string_view name, TChunkFactory factory)
{
    ChunkClasses().push_back({std::string(name), factory});
}

std::unique_ptr<TChunk> ChunkClassForName(TPNGObject& image, const std::string& name)
{
    std::unique_ptr<TChunk> chunk;
    for (const TChunkClass& chunkClass : ChunkClasses())
        if (chunkClass.Name == name) {
            chunk = chunkClass.Factory(image);
            break;
        }
    if (!chunk)
        chunk = std::make_unique<TChunk>(image);
    chunk->SetName(name);
    return chunk;
}
