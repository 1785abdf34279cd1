#include "png/PngCodec.h"
#include "png/PngInternal.h"

#include "platform/classlib/core/Streams.h"

using namespace png::detail;

namespace {

constexpr std::size_t HeaderDataSize = 13;
constexpr std::uint32_t MaxDimension = 65535;

bool IsAllowedDepth(std::uint8_t colorType, std::uint8_t bitDepth)
{
    switch (colorType) {
    case COLOR_GRAYSCALE: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case COLOR_PALETTE: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA: return bitDepth == 8 || bitDepth == 16;
    default: return false;
    }
}

} // namespace

TChunkIHDR::TChunkIHDR(TPNGObject& owner) : TChunk(owner)
{
    SetName("IHDR");
}

std::unique_ptr<TChunk> TChunkIHDR::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunkIHDR>(owner);
}

void TChunkIHDR::Assign(const TChunk& source)
{
    const auto* header = dynamic_cast<const TChunkIHDR*>(&source);
    if (!header)
        throw EPngError(EPNGCannotAssignChunkText);
    m_width = header->m_width;
    m_height = header->m_height;
    m_bitDepth = header->m_bitDepth;
    m_colorType = header->m_colorType;
    m_compressionMethod = header->m_compressionMethod;
    m_filterMethod = header->m_filterMethod;
    m_interlaceMethod = header->m_interlaceMethod;
    m_storage.CopyFrom(header->m_storage);
}

bool TChunkIHDR::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    (void)TChunk::LoadFromStream(stream, name, size);
    if (DataSize() < HeaderDataSize)
        throw EPngInvalidIHDR();
    ReadFields();
    CheckFields();
    Owner().SetInterlacing(m_interlaceMethod == 1 ? TInterlaceMethod::imAdam7 : TInterlaceMethod::imNone);
    PrepareImageStorage();
    return true;
}

void TChunkIHDR::ReadFields()
{
    const std::uint8_t* data = Data();
    m_width = ReadBigEndian32(data);
    m_height = ReadBigEndian32(data + 4);
    m_bitDepth = data[8];
    m_colorType = data[9];
    m_compressionMethod = data[10];
    m_filterMethod = data[11];
    m_interlaceMethod = data[12];
}

void TChunkIHDR::CheckFields() const
{
    if (m_width > MaxDimension || m_height > MaxDimension)
        throw EPNGSizeExceeds();
    // PNG forbids empty images and other pairs of colour type and depth; no storage exists for them.
    if (m_width == 0 || m_height == 0 || !IsAllowedDepth(m_colorType, m_bitDepth))
        throw EPngInvalidIHDR();
    if (m_compressionMethod != 0)
        throw EPNGUnknownCompression();
    if (m_interlaceMethod > 1)
        throw EPNGUnknownInterlace();
}

void TChunkIHDR::PrepareImageStorage()
{
    Owner().DiscardPalette();
    const bool alpha = m_colorType == COLOR_GRAYSCALEALPHA || m_colorType == COLOR_RGBALPHA;
    m_storage.Prepare(m_width, m_height, StorageBitsPerPixel(m_colorType, m_bitDepth),
                      alpha ? TImageStorage::TAlphaPlane::apSeparate : TImageStorage::TAlphaPlane::apNone);
}

void TChunkIHDR::WidenTwoBitDepth()
{
    if (m_bitDepth != 2)
        return;
    m_bitDepth = 4;
    // The stored grey levels were widened when decoded (v becomes 5v); the key follows them.
    if (m_colorType == COLOR_GRAYSCALE)
        if (TChunktRNS* transparency = Owner().Chunks().ItemFromClass<TChunktRNS>())
            transparency->WidenGreyKey(5);
}

bool TChunkIHDR::SaveToStream(TStream& stream)
{
    WidenTwoBitDepth();
    SetDataSize(HeaderDataSize);
    std::uint8_t* data = Data();
    WriteBigEndian32(data, m_width);
    WriteBigEndian32(data + 4, m_height);
    data[8] = m_bitDepth;
    data[9] = m_colorType;
    data[10] = m_compressionMethod;
    data[11] = m_filterMethod;
    m_interlaceMethod = Owner().Interlacing() == TInterlaceMethod::imAdam7 ? 1 : 0;
    data[12] = m_interlaceMethod;
    return WriteFramed(stream);
}
