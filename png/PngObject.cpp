#include "png/PngCodec.h"
#include "png/PngInternal.h"

#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/core/Streams.h"
#include "platform/winapi/gdi/Gdi.h"

#include <algorithm>
#include <climits>
#include <cstring>

using namespace png::detail;

namespace {

bool IsCritical(const std::string& name)
{
    return !name.empty() && (name[0] & 0x20) == 0;
}

unsigned NearestColorIndex(const TPngColorEntry* table, unsigned count, TColor color)
{
    unsigned best = 0;
    long bestDistance = LONG_MAX;
    for (unsigned i = 0; i < count; ++i) {
        const long red = long{table[i].rgbRed} - RedOf(color);
        const long green = long{table[i].rgbGreen} - GreenOf(color);
        const long blue = long{table[i].rgbBlue} - BlueOf(color);
        const long distance = red * red + green * green + blue * blue;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

TPNGObject::TPNGObject()
{
    ResetGammaTables();
}

TPNGObject::~TPNGObject()
{
    DiscardPalette();
}

void TPNGObject::DiscardPalette()
{
    m_palette.Reset();
}

void TPNGObject::ResetGammaTables()
{
    for (unsigned i = 0; i < 256; ++i) {
        m_gamma[i] = static_cast<std::uint8_t>(i);
        m_inverseGamma[i] = static_cast<std::uint8_t>(i);
    }
}

void TPNGObject::ClearChunkList()
{
    ResetGammaTables();
    m_chunks.Clear();
    DiscardPalette();
}

void TPNGObject::LoadFromStream(TStream& stream)
{
    ClearChunkList();
    std::uint8_t signature[sizeof PngSignature];
    if (!ReadExactly(stream, signature, sizeof signature) ||
        std::memcmp(signature, PngSignature, sizeof signature) != 0)
        throw EPNGInvalidFileHeader();
    LoadChunks(stream);
    Changed();
}

void TPNGObject::LoadChunks(TStream& stream)
{
    bool imageDataLoaded = false;
    for (bool first = true;; first = false) {
        std::size_t length = 0;
        char nameBytes[4];
        if (!ReadChunkLength(stream, length) || !ReadExactly(stream, nameBytes, sizeof nameBytes))
            throw EPngUnexpectedEnd();
        const std::string name(nameBytes, sizeof nameBytes);
        if (first && name != "IHDR")
            throw EPNGIHDRNotFirst();
        // The first IDAT chunk decodes the whole run of image data; a later run is stray data.
        if (name == "cHRM" || (name == "IDAT" && imageDataLoaded)) {
            stream.Seek(static_cast<std::int64_t>(length) + 4, TSeekOrigin::soCurrent);
            continue;
        }
        TChunk& chunk = m_chunks.Add(ChunkClassForName(*this, name));
        if (chunk.ChunkTypeName().empty() && IsCritical(name))
            throw EPNGUnknownCriticalChunk();
        const bool loaded = chunk.LoadFromStream(stream, name, length);
        if (dynamic_cast<TChunkIDAT*>(&chunk))
            imageDataLoaded = true;
        if (!loaded || name == "IEND")
            break;
    }
    if (!imageDataLoaded)
        throw EPNGNoImageData();
}

void TPNGObject::SaveToStream(TStream& stream)
{
    stream.WriteBuffer(PngSignature, sizeof PngSignature);
    for (std::size_t i = 0; i < m_chunks.Count(); ++i)
        (void)m_chunks.Item(i)->SaveToStream(stream);
}

int TPNGObject::Width() const
{
    return HasHeader() ? static_cast<int>(HeaderChunk().Width()) : 0;
}

int TPNGObject::Height() const
{
    return HasHeader() ? static_cast<int>(HeaderChunk().Height()) : 0;
}

void TPNGObject::SetWidth(int)
{
    throw EPngError(EPNGCannotChangeSizeText);
}

void TPNGObject::SetHeight(int)
{
    throw EPngError(EPNGCannotChangeSizeText);
}

bool TPNGObject::HasHeader() const
{
    return m_chunks.Count() != 0 && dynamic_cast<TChunkIHDR*>(m_chunks.Item(0)) != nullptr;
}

TChunkIHDR& TPNGObject::HeaderChunk() const
{
    if (!HasHeader())
        throw EPNGHeaderNotPresent();
    return static_cast<TChunkIHDR&>(*m_chunks.Item(0));
}

TTransparencyKind TPNGObject::TransparencyKind() const
{
    if (!HasHeader())
        return TTransparencyKind::tkNone;
    const TChunktRNS* transparency = m_chunks.ItemFromClass<TChunktRNS>();
    switch (HeaderChunk().ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB: return transparency ? TTransparencyKind::tkSingleColor : TTransparencyKind::tkNone;
    case COLOR_PALETTE:
        if (!transparency)
            return TTransparencyKind::tkNone;
        return transparency->SingleTransparentEntry() ? TTransparencyKind::tkSingleColor
                                                      : TTransparencyKind::tkPartial;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA: return TTransparencyKind::tkPartial;
    default: return TTransparencyKind::tkNone;
    }
}

TColor TPNGObject::TransparentKeyColor() const
{
    const TChunktRNS* transparency = m_chunks.ItemFromClass<TChunktRNS>();
    return transparency ? transparency->KeyColor() : 0;
}

const TImageStorage* TPNGObject::PixelStorage(int x, int y) const
{
    if (!HasHeader())
        return nullptr;
    const TImageStorage& storage = HeaderChunk().Storage();
    if (!storage.Prepared() || x < 0 || y < 0 || static_cast<std::uint32_t>(x) >= storage.Width() ||
        static_cast<std::uint32_t>(y) >= storage.Height())
        return nullptr;
    return &storage;
}

TColor TPNGObject::PixelColor(int x, int y) const
{
    const TImageStorage* storage = PixelStorage(x, y);
    if (!storage)
        return 0;
    const std::uint8_t* row = storage->Row(static_cast<std::uint32_t>(y));
    const unsigned bits = storage->BitsPerPixel();
    if (bits == 24) {
        const std::uint8_t* pixel = row + std::size_t{3} * static_cast<std::uint32_t>(x);
        return MakeColor(pixel[2], pixel[1], pixel[0]);
    }
    const unsigned value = PackedValue(row, static_cast<std::uint32_t>(x), bits);
    if (IsGreyscale(HeaderChunk().ColorType())) {
        const std::uint8_t grey = m_gamma[value * 255 / ((1u << bits) - 1)];
        return MakeColor(grey, grey, grey);
    }
    // The colour table already holds gamma-corrected colours, and black past the palette's end.
    const TPngColorEntry& entry = storage->ColorTable()[value];
    return MakeColor(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
}

void TPNGObject::SetPixelColor(int x, int y, TColor color)
{
    const TImageStorage* found = PixelStorage(x, y);
    if (!found)
        return;
    TImageStorage& storage = HeaderChunk().Storage();
    std::uint8_t* row = storage.Row(static_cast<std::uint32_t>(y));
    const auto rgb = static_cast<TColor>(ColorToRGB(color));
    const unsigned bits = storage.BitsPerPixel();
    if (bits == 24) {
        std::uint8_t* pixel = row + std::size_t{3} * static_cast<std::uint32_t>(x);
        pixel[0] = BlueOf(rgb);
        pixel[1] = GreenOf(rgb);
        pixel[2] = RedOf(rgb);
        return;
    }
    // Only indexes the pixel's bit field can hold, and only entries the palette has.
    unsigned entries = 1u << bits;
    if (const TChunkPLTE* palette = m_chunks.ItemFromClass<TChunkPLTE>();
        palette && HeaderChunk().ColorType() == COLOR_PALETTE && palette->EntryCount() != 0)
        entries = std::min(entries, palette->EntryCount());
    SetPackedValue(row, static_cast<std::uint32_t>(x), bits, NearestColorIndex(storage.ColorTable(), entries, rgb));
}

std::uint8_t* TPNGObject::RowPointer(int y) const
{
    if (!PixelStorage(0, y))
        return nullptr;
    return HeaderChunk().Storage().Row(static_cast<std::uint32_t>(y));
}

void TPNGObject::CopyFromImage(const TPNGObject& source)
{
    if (&source == this)
        return;
    m_interlacing = source.m_interlacing;
    SetImageChunkSize(source.m_imageChunkSize);
    m_deflateLevel = source.m_deflateLevel;
    m_rowFilters = source.m_rowFilters;
    ClearChunkList();
    for (std::size_t i = 0; i < source.m_chunks.Count(); ++i) {
        const TChunk& chunk = *source.m_chunks.Item(i);
        m_chunks.Add(chunk.NewInstance(*this)).Assign(chunk);
    }
    // The pixels are copied as stored, gamma-corrected, so saving the copy needs the same tables.
    m_gamma = source.m_gamma;
    m_inverseGamma = source.m_inverseGamma;
    Changed();
}

TPixelLayout TPNGObject::PixelLayout() const
{
    if (!HasHeader())
        return {};
    const TChunkIHDR& header = HeaderChunk();
    const std::uint8_t depth = header.BitDepth();
    TPixelLayout layout;
    layout.RowBytes = BytesForPixels(header.Width(), header.ColorType(), depth);
    switch (header.ColorType()) {
    case COLOR_GRAYSCALE: layout.FilterDistance = depth == 16 ? 2 : 1; break;
    case COLOR_RGB: layout.FilterDistance = depth * 3u / 8; break;
    case COLOR_GRAYSCALEALPHA: layout.FilterDistance = depth / 4u; break;
    case COLOR_RGBALPHA: layout.FilterDistance = depth / 2u; break;
    default: layout.FilterDistance = 1; break;
    }
    layout.FilterDistance = std::max<std::size_t>(layout.FilterDistance, 1);
    return layout;
}

void TPNGObject::SetDeflateLevel(int value)
{
    m_deflateLevel = std::clamp(value, 0, 9);
}

void TPNGObject::SetImageChunkSize(std::size_t value)
{
    m_imageChunkSize = std::clamp<std::size_t>(value, 65535, PngMaxChunkLength);
}
