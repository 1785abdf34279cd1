#include "png/PngCodec.h"
#include "png/PngInternal.h"

#include <algorithm>
#include <cmath>

using namespace png::detail;

namespace {

template <class T>
const T& Compatible(const TChunk& source)
{
    const auto* chunk = dynamic_cast<const T*>(&source);
    if (!chunk)
        throw EPngError(EPNGCannotAssignChunkText);
    return *chunk;
}

constexpr std::size_t MaxPaletteEntries = 256;

} // namespace


TChunkPLTE::TChunkPLTE(TPNGObject& owner) : TChunk(owner)
{
    SetName("PLTE");
}

std::unique_ptr<TChunk> TChunkPLTE::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunkPLTE>(owner);
}

void TChunkPLTE::Assign(const TChunk& source)
{
    m_entryCount = Compatible<TChunkPLTE>(source).m_entryCount;
}

bool TChunkPLTE::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    (void)TChunk::LoadFromStream(stream, name, size);
    if (size % 3 != 0 || size / 3 > MaxPaletteEntries)
        throw EPNGInvalidPalette();
    m_entryCount = static_cast<unsigned>(size / 3);
    const TGammaTable& gamma = Owner().GammaTable();
    TPngColorEntry* table = Header().Storage().ColorTable();
    const std::uint8_t* triple = Data();
    for (unsigned i = 0; i < m_entryCount; ++i, triple += 3)
        table[i] = {gamma[triple[2]], gamma[triple[1]], gamma[triple[0]], 0};
    return true;
}

bool TChunkPLTE::SaveToStream(TStream& stream)
{
    const unsigned count = std::min<unsigned>(m_entryCount, MaxPaletteEntries);
    SetDataSize(std::size_t{count} * 3);
    const TGammaTable& inverse = Owner().InverseGamma();
    const TPngColorEntry* table = Header().Storage().ColorTable();
    std::uint8_t* triple = Data();
    for (unsigned i = 0; i < count; ++i, triple += 3) {
        triple[0] = inverse[table[i].rgbRed];
        triple[1] = inverse[table[i].rgbGreen];
        triple[2] = inverse[table[i].rgbBlue];
    }
    return WriteFramed(stream);
}

TPngColorEntry TChunkPLTE::PaletteEntry(unsigned index) const
{
    if (index >= m_entryCount || index >= MaxPaletteEntries)
        throw EPngError(EPNGUnknownPalEntryText);
    return Header().Storage().ColorTable()[index];
}


TChunktRNS::TChunktRNS(TPNGObject& owner) : TChunk(owner)
{
    SetName("tRNS");
    m_alphaTable.fill(255);
}

std::unique_ptr<TChunk> TChunktRNS::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunktRNS>(owner);
}

void TChunktRNS::Assign(const TChunk& source)
{
    const TChunktRNS& transparency = Compatible<TChunktRNS>(source);
    m_alphaTable = transparency.m_alphaTable;
    m_singleTransparentEntry = transparency.m_singleTransparentEntry;
    TChunk::Assign(source);
}

bool TChunktRNS::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    (void)TChunk::LoadFromStream(stream, name, size);
    if (size > m_alphaTable.size())
        throw EPNGInvalidPalette();
    m_alphaTable.fill(255);
    std::copy(Data(), Data() + size, m_alphaTable.begin());
    switch (Header().ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB: m_singleTransparentEntry = true; break;
    case COLOR_PALETTE: {
        // A colour key only when one entry is fully transparent and all others opaque; any
        // semi-transparent entry needs blending.
        const auto translucent = std::count_if(Data(), Data() + size, [](std::uint8_t a) { return a != 255; });
        const auto clear = std::count(Data(), Data() + size, std::uint8_t{0});
        m_singleTransparentEntry = translucent == 1 && clear == 1;
        break;
    }
    default: m_singleTransparentEntry = false; break;
    }
    return true;
}

bool TChunktRNS::SaveToStream(TStream& stream)
{
    // An empty table marks no entry transparent: nothing to write.
    if (DataSize() == 0)
        return true;
    if (DataSize() <= m_alphaTable.size())
        std::copy(m_alphaTable.begin(), m_alphaTable.begin() + static_cast<std::ptrdiff_t>(DataSize()), Data());
    WriteKeyAsPixelsAreWritten();
    return WriteFramed(stream);
}

// A 16-bit key is compared by its high byte here, but other programs compare all 16 bits: the
// key written is the sample the encoder writes for pixels that show the key colour.
void TChunktRNS::WriteKeyAsPixelsAreWritten()
{
    const TChunkIHDR& header = Header();
    if (header.BitDepth() != 16 || (header.ColorType() != COLOR_GRAYSCALE && header.ColorType() != COLOR_RGB))
        return;
    const bool grey = header.ColorType() == COLOR_GRAYSCALE;
    const std::size_t samples = std::min<std::size_t>(DataSize(), m_alphaTable.size()) / 2;
    for (std::size_t i = 0; i < samples; ++i) {
        const std::uint8_t high = m_alphaTable[i * 2];
        // Grey pixels are written as stored; colours go back through the inverse gamma.
        const std::uint8_t written = grey ? high : Owner().InverseGamma()[Owner().GammaTable()[high]];
        Data()[i * 2] = written;
        Data()[i * 2 + 1] = written;
    }
}

unsigned TChunktRNS::Sample(unsigned index) const
{
    return (unsigned{m_alphaTable[index * 2]} << 8) | m_alphaTable[index * 2 + 1];
}

void TChunktRNS::SetSample(unsigned index, unsigned value)
{
    m_alphaTable[index * 2] = static_cast<std::uint8_t>(value >> 8);
    m_alphaTable[index * 2 + 1] = static_cast<std::uint8_t>(value);
}

// The key is compared with pixels as they are stored: the high byte of 16-bit samples, low-depth
// greys scaled to 0 .. 255, and the gamma table applied.
std::uint8_t TChunktRNS::SampleToLevel(unsigned sample) const
{
    const std::uint8_t depth = Header().BitDepth();
    unsigned level = sample & 0xFF;
    if (depth == 16)
        level = sample >> 8;
    else if (depth < 8) {
        const unsigned maximum = (1u << depth) - 1;
        level = (sample & maximum) * 255 / maximum;
    }
    return Owner().GammaTable()[level];
}

unsigned TChunktRNS::LevelToSample(std::uint8_t level) const
{
    const std::uint8_t depth = Header().BitDepth();
    const unsigned raw = Owner().InverseGamma()[level];
    if (depth == 16)
        return raw * 257;
    if (depth < 8) {
        const unsigned maximum = (1u << depth) - 1;
        return (raw * maximum + 127) / 255;
    }
    return raw;
}

TColor TChunktRNS::KeyColor() const
{
    switch (Header().ColorType()) {
    case COLOR_GRAYSCALE: {
        const std::uint8_t grey = SampleToLevel(Sample(0));
        return MakeColor(grey, grey, grey);
    }
    case COLOR_RGB: return MakeColor(SampleToLevel(Sample(0)), SampleToLevel(Sample(1)), SampleToLevel(Sample(2)));
    case COLOR_PALETTE:
        for (std::size_t i = 0; i < DataSize() && i < m_alphaTable.size(); ++i)
            if (m_alphaTable[i] == 0) {
                const TPngColorEntry& entry = Header().Storage().ColorTable()[i];
                return MakeColor(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
            }
        return 0;
    default: return 0;
    }
}

void TChunktRNS::SetKeyColor(TColor color)
{
    const TColor rgb = color & 0xFFFFFF;
    m_alphaTable.fill(0);
    m_singleTransparentEntry = true;
    // The samples live where Save and KeyColor read them: at the start of the table.
    switch (Header().ColorType()) {
    case COLOR_GRAYSCALE:
        SetDataSize(2);
        SetSample(0, LevelToSample(RedOf(rgb)));
        break;
    case COLOR_RGB:
        SetDataSize(6);
        SetSample(0, LevelToSample(RedOf(rgb)));
        SetSample(1, LevelToSample(GreenOf(rgb)));
        SetSample(2, LevelToSample(BlueOf(rgb)));
        break;
    case COLOR_PALETTE: SetPaletteKey(rgb); break;
    default: break;
    }
}

// Only the palette's own entries can be the key; without a match no entry becomes transparent.
void TChunktRNS::SetPaletteKey(TColor rgb)
{
    m_alphaTable.fill(255);
    const TChunkPLTE* palette = Owner().Chunks().ItemFromClass<TChunkPLTE>();
    const unsigned entries = palette ? std::min(palette->EntryCount(), 256u) : 0;
    const TPngColorEntry* table = Header().Storage().ColorTable();
    for (unsigned i = 0; i < entries; ++i)
        if (MakeColor(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue) == rgb) {
            m_alphaTable[i] = 0;
            SetDataSize(i + 1);
            return;
        }
    SetDataSize(0);
    m_singleTransparentEntry = false;
}

void TChunktRNS::WidenGreyKey(unsigned factor)
{
    if (DataSize() >= 2)
        SetSample(0, Sample(0) * factor);
}


TChunkgAMA::TChunkgAMA(TPNGObject& owner) : TChunk(owner)
{
    SetName("gAMA");
    SetGammaValue(1);
}

std::unique_ptr<TChunk> TChunkgAMA::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunkgAMA>(owner);
}

void TChunkgAMA::Assign(const TChunk& source)
{
    SetGammaValue(Compatible<TChunkgAMA>(source).GammaValue());
}

std::uint32_t TChunkgAMA::GammaValue() const
{
    return DataSize() == 4 ? ReadBigEndian32(Data()) : 1;
}

void TChunkgAMA::SetGammaValue(std::uint32_t value)
{
    SetDataSize(4);
    WriteBigEndian32(Data(), value);
}

bool TChunkgAMA::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    (void)TChunk::LoadFromStream(stream, name, size);
    const std::uint32_t value = GammaValue();
    // 0 and values PNG cannot hold (2^31 and above) describe no usable gamma.
    if (value == 0 || value > PngMaxChunkLength)
        return true;
    const double exponent = 1.0 / (value / 100000.0 * 2.2);
    TGammaTable& gamma = Owner().GammaTable();
    TGammaTable& inverse = Owner().InverseGamma();
    for (unsigned i = 0; i < 256; ++i) {
        // rint rounds halves to even, as the tables always have.
        const double level = std::rint(std::pow(i / 255.0, exponent) * 255.0);
        const auto g = static_cast<std::uint8_t>(std::clamp(level, 0.0, 255.0));
        gamma[i] = g;
        inverse[g] = static_cast<std::uint8_t>(i);
    }
    return true;
}


TChunktIME::TChunktIME(TPNGObject& owner) : TChunk(owner)
{
    SetName("tIME");
}

std::unique_ptr<TChunk> TChunktIME::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunktIME>(owner);
}

void TChunktIME::Assign(const TChunk& source)
{
    const TChunktIME& time = Compatible<TChunktIME>(source);
    TChunk::Assign(source);
    m_year = time.m_year;
    m_month = time.m_month;
    m_day = time.m_day;
    m_hour = time.m_hour;
    m_minute = time.m_minute;
    m_second = time.m_second;
}

bool TChunktIME::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    (void)TChunk::LoadFromStream(stream, name, size);
    if (size != 7)
        return true;
    const std::uint8_t* data = Data();
    m_year = static_cast<std::uint16_t>(data[0] * 256 + data[1]);
    m_month = data[2];
    m_day = data[3];
    m_hour = data[4];
    m_minute = data[5];
    m_second = data[6];
    return true;
}

bool TChunktIME::SaveToStream(TStream& stream)
{
    SetDataSize(7);
    std::uint8_t* data = Data();
    data[0] = static_cast<std::uint8_t>(m_year >> 8);
    data[1] = static_cast<std::uint8_t>(m_year);
    data[2] = m_month;
    data[3] = m_day;
    data[4] = m_hour;
    data[5] = m_minute;
    data[6] = m_second;
    return WriteFramed(stream);
}
