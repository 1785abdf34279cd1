#include "png/PngCodec.h"
#include "png/PngInternal.h"

#include <zlib.h>

#include <algorithm>

using namespace png::detail;

namespace {

constexpr std::size_t TextBlockSize = 4096;

// The whole inflated text, or false for damaged data or a text above PngMaxTextSize.
bool InflateText(const std::uint8_t* input, std::size_t size, std::string& output)
{
    z_stream zlib{};
    if (inflateInit(&zlib) != Z_OK)
        return false;
    zlib.next_in = const_cast<Bytef*>(input);
    zlib.avail_in = static_cast<uInt>(size);
    std::string text;
    std::uint8_t block[TextBlockSize];
    int result = Z_OK;
    while (result == Z_OK && text.size() <= PngMaxTextSize) {
        zlib.next_out = block;
        zlib.avail_out = sizeof block;
        result = inflate(&zlib, Z_NO_FLUSH);
        text.append(reinterpret_cast<const char*>(block), sizeof block - zlib.avail_out);
    }
    inflateEnd(&zlib);
    if (result != Z_STREAM_END || text.size() > PngMaxTextSize)
        return false;
    output = std::move(text);
    return true;
}

bool DeflateText(const std::string& input, int level, std::string& output)
{
    z_stream zlib{};
    if (deflateInit(&zlib, level) != Z_OK)
        return false;
    zlib.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    zlib.avail_in = static_cast<uInt>(input.size());
    std::string compressed;
    std::uint8_t block[TextBlockSize];
    int result = Z_OK;
    while (result == Z_OK) {
        zlib.next_out = block;
        zlib.avail_out = sizeof block;
        result = deflate(&zlib, Z_FINISH);
        compressed.append(reinterpret_cast<const char*>(block), sizeof block - zlib.avail_out);
    }
    deflateEnd(&zlib);
    if (result != Z_STREAM_END)
        return false;
    output = std::move(compressed);
    return true;
}

} // namespace

TChunktEXt::TChunktEXt(TPNGObject& owner) : TChunk(owner)
{
    SetName("tEXt");
}

std::unique_ptr<TChunk> TChunktEXt::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunktEXt>(owner);
}

void TChunktEXt::Assign(const TChunk& source)
{
    const auto* text = dynamic_cast<const TChunktEXt*>(&source);
    if (!text)
        throw EPngError(EPNGCannotAssignChunkText);
    TChunk::Assign(source);
    m_keyword = text->m_keyword;
    m_text = text->m_text;
    m_parsed = text->m_parsed;
}

void TChunktEXt::SetKeyword(const std::string& value)
{
    m_keyword = value;
    m_parsed = true;
}

void TChunktEXt::SetText(const std::string& value)
{
    m_text = value;
    m_parsed = true;
}

std::size_t TChunktEXt::KeywordEnd() const
{
    return static_cast<std::size_t>(std::find(Data(), Data() + DataSize(), 0) - Data());
}

void TChunktEXt::ParseKeyword()
{
    m_keyword.assign(reinterpret_cast<const char*>(Data()), std::min(KeywordEnd(), DataSize()));
    m_text.clear();
    m_parsed = false;
}

bool TChunktEXt::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    (void)TChunk::LoadFromStream(stream, name, size);
    ParseKeyword();
    // Data without the keyword's zero byte is not text as PNG defines it; it is kept as read.
    const std::size_t keywordEnd = KeywordEnd();
    if (keywordEnd < size) {
        m_text.assign(reinterpret_cast<const char*>(Data()) + keywordEnd + 1, size - keywordEnd - 1);
        m_parsed = true;
    }
    return true;
}

bool TChunktEXt::SaveToStream(TStream& stream)
{
    if (m_parsed) {
        SetDataSize(m_keyword.size() + 1 + m_text.size());
        std::copy(m_keyword.begin(), m_keyword.end(), Data());
        Data()[m_keyword.size()] = 0;
        std::copy(m_text.begin(), m_text.end(), Data() + m_keyword.size() + 1);
    }
    return WriteFramed(stream);
}

TChunkzTXt::TChunkzTXt(TPNGObject& owner) : TChunktEXt(owner)
{
    SetName("zTXt");
}

std::unique_ptr<TChunk> TChunkzTXt::NewInstance(TPNGObject& owner) const
{
    return std::make_unique<TChunkzTXt>(owner);
}

bool TChunkzTXt::LoadFromStream(TStream& stream, const std::string& name, std::size_t size)
{
    (void)TChunk::LoadFromStream(stream, name, size);
    ParseKeyword();
    // Anything but complete deflated text keeps the raw data, so a save loses nothing.
    const std::size_t methodAt = KeywordEnd() + 1;
    if (methodAt < size && Data()[methodAt] == 0)
        m_parsed = InflateText(Data() + methodAt + 1, size - methodAt - 1, m_text);
    return true;
}

bool TChunkzTXt::SaveToStream(TStream& stream)
{
    if (!m_parsed)
        return WriteFramed(stream);
    if (m_text.empty())
        m_text.assign(1, ' ');
    std::string compressed;
    if (!DeflateText(m_text, Owner().DeflateLevel(), compressed))
        return false;
    SetDataSize(m_keyword.size() + 2 + compressed.size());
    std::copy(m_keyword.begin(), m_keyword.end(), Data());
    Data()[m_keyword.size()] = 0;
    Data()[m_keyword.size() + 1] = 0;
    std::copy(compressed.begin(), compressed.end(), Data() + m_keyword.size() + 2);
    return WriteFramed(stream);
}
