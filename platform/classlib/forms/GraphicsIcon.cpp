#include "platform/classlib/forms/GraphicsIcon.h"

#include "platform/classlib/core/Streams.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>

namespace {

constexpr std::size_t DirectorySize = 6;
constexpr std::size_t EntrySize = 16;
constexpr std::size_t InfoHeaderSize = 40;
// Bigger icons than this are not icons.
constexpr int MaxIconSide = 256;

[[noreturn]] void RaiseInvalidIcon() { throw EInvalidGraphic("Invalid icon"); }

std::uint32_t Get16(std::span<const std::uint8_t> data, std::size_t at)
{
    if (at + 2 > data.size())
        RaiseInvalidIcon();
    return data[at] | (data[at + 1] << 8);
}

std::uint32_t Get32(std::span<const std::uint8_t> data, std::size_t at)
{
    if (at + 4 > data.size())
        RaiseInvalidIcon();
    return Get16(data, at) | (Get16(data, at + 2) << 16);
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

struct TIconEntry {
    int Width;
    int Height;
    int BitCount;
    std::span<const std::uint8_t> Image;
};

std::vector<TIconEntry> ReadDirectory(std::span<const std::uint8_t> file)
{
    if (Get16(file, 0) != 0 || Get16(file, 2) != 1)
        RaiseInvalidIcon();
    const std::size_t count = Get16(file, 4);
    if (count == 0)
        RaiseInvalidIcon();
    std::vector<TIconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = DirectorySize + i * EntrySize;
        const std::size_t size = Get32(file, at + 8);
        const std::size_t offset = Get32(file, at + 12);
        if (offset > file.size() || size > file.size() - offset)
            RaiseInvalidIcon();
        const int width = file[at] == 0 ? 256 : file[at];
        const int height = file[at + 1] == 0 ? 256 : file[at + 1];
        entries.push_back({width, height, static_cast<int>(Get16(file, at + 6)), file.subspan(offset, size)});
    }
    return entries;
}

// Nearest the system icon size, then the deepest colours.
const TIconEntry& BestEntry(const std::vector<TIconEntry>& entries)
{
    const TIconEntry* best = &entries.front();
    const auto distance = [](const TIconEntry& e) {
        return std::abs(e.Width - SystemIconSize) + std::abs(e.Height - SystemIconSize);
    };
    for (const TIconEntry& entry : entries) {
        const int nearer = distance(*best) - distance(entry);
        if (nearer > 0 || (nearer == 0 && entry.BitCount > best->BitCount))
            best = &entry;
    }
    return *best;
}

// The colour image (32 bits, top-down, alpha only from 32-bit sources) and the one-bit mask
// (rows of whole words, top-down) of a DIB-format icon image.
HICON DecodeImage(std::span<const std::uint8_t> image)
{
    const std::uint32_t headerSize = Get32(image, 0);
    const auto width = static_cast<std::int32_t>(Get32(image, 4));
    const auto doubleHeight = static_cast<std::int32_t>(Get32(image, 8));
    const std::uint32_t bitCount = Get16(image, 14);
    const std::uint32_t compression = Get32(image, 16);
    const std::uint32_t colorsUsed = Get32(image, 32);
    const int height = doubleHeight / 2;
    if (headerSize < InfoHeaderSize || headerSize > image.size() || width < 1 || width > MaxIconSide || height < 1 ||
        height > MaxIconSide || compression != 0 ||
        (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32))
        RaiseInvalidIcon();
    const std::size_t paletteCount = bitCount <= 8 ? (colorsUsed ? colorsUsed : 1u << bitCount) : 0;
    if (paletteCount > 256)
        RaiseInvalidIcon();
    const std::size_t paletteAt = headerSize;
    const std::size_t colourAt = paletteAt + paletteCount * 4;
    const std::size_t colourStride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    const std::size_t maskAt = colourAt + colourStride * height;
    const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    if (maskAt + maskStride * height > image.size())
        RaiseInvalidIcon();

    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    const std::size_t wordStride = (static_cast<std::size_t>(width) + 15) / 16 * 2;
    std::vector<std::uint8_t> mask(wordStride * height);
    for (int y = 0; y < height; ++y) {
        const std::size_t source = static_cast<std::size_t>(height - 1 - y); // the file is bottom-up
        const std::uint8_t* row = image.data() + colourAt + source * colourStride;
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            if (bitCount == 32) {
                std::memcpy(&pixel, row + x * 4, 4);
            } else if (bitCount == 24) {
                pixel = row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
            } else {
                const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
                const std::size_t index = (row[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                if (index < paletteCount)
                    pixel = Get32(image, paletteAt + index * 4) & 0xFFFFFF;
            }
            pixels[static_cast<std::size_t>(y) * width + x] = pixel;
        }
        std::memcpy(mask.data() + y * wordStride, image.data() + maskAt + source * maskStride, wordStride);
    }
    const GdiObject colour(CreateBitmap(width, height, 1, 32, pixels.data()));
    const GdiObject maskBitmap(CreateBitmap(width, height, 1, 1, mask.data()));
    const ICONINFO info{TRUE, 0, 0, maskBitmap.Get(), colour.Get()};
    const HICON icon = CreateIconIndirect(&info);
    if (!icon)
        RaiseInvalidIcon();
    return icon;
}

// A one-image, 32-bit .ico file of the icon.
std::vector<std::uint8_t> EncodeIcon(HICON icon, int width, int height)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    const std::size_t wordStride = (static_cast<std::size_t>(width) + 15) / 16 * 2;
    std::vector<std::uint8_t> mask(wordStride * height);
    {
        ICONINFO info{};
        const bool described = GetIconInfo(icon, &info);
        const GdiObject maskBitmap(info.hbmMask);
        const GdiObject colour(info.hbmColor);
        if (!described || !colour)
            throw EInvalidGraphic("Cannot save a monochrome icon");
        (void)GetBitmapBits(colour.Get(), static_cast<LONG>(pixels.size() * 4), pixels.data());
        (void)GetBitmapBits(maskBitmap.Get(), static_cast<LONG>(mask.size()), mask.data());
    }

    const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const std::size_t imageSize = InfoHeaderSize + pixels.size() * 4 + maskStride * height;
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.push_back(static_cast<std::uint8_t>(width & 0xFF));
    out.push_back(static_cast<std::uint8_t>(height & 0xFF));
    Put16(out, 0); // no palette, reserved
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(imageSize));
    Put32(out, DirectorySize + EntrySize);
    Put32(out, InfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height * 2));
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i)
        Put32(out, 0); // compression, sizes, resolutions, colours
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            Put32(out, pixels[static_cast<std::size_t>(y) * width + x]);
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = mask.data() + y * wordStride;
        out.insert(out.end(), row, row + wordStride);
        out.resize(out.size() + (maskStride - wordStride), 0);
    }
    return out;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TIcon, TGraphic, DefaultCreator<TIcon>, nullptr)

TIcon::TIcon() = default;

TIcon::~TIcon()
{
    if (m_handle)
        (void)DestroyIcon(m_handle);
}

void TIcon::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TIcon*>(source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    Adopt(other->m_handle ? CopyIcon(other->m_handle) : nullptr, other->m_file);
}

void TIcon::SetWidth(int width)
{
    if (width != m_width)
        throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(int height)
{
    if (height != m_height)
        throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHandle(HICON icon) { Adopt(icon, {}); }

HICON TIcon::ReleaseHandle()
{
    HICON icon = m_handle;
    m_handle = nullptr;
    Adopt(nullptr, {});
    return icon;
}

int TIcon::ImageCount() const
{
    if (m_file.empty())
        return m_handle ? 1 : 0;
    return static_cast<int>(Get16(m_file, 4));
}

void TIcon::Adopt(HICON icon, std::vector<std::uint8_t> file)
{
    if (m_handle && m_handle != icon)
        (void)DestroyIcon(m_handle);
    m_handle = icon;
    m_file = std::move(file);
    m_width = 0;
    m_height = 0;
    if (m_handle) {
        ICONINFO info{};
        const bool described = GetIconInfo(m_handle, &info);
        const GdiObject maskBitmap(info.hbmMask);
        const GdiObject colour(info.hbmColor);
        if (described) {
            BITMAP mask{};
            (void)GetObjectA(maskBitmap.Get(), sizeof(mask), &mask);
            m_width = mask.bmWidth;
            m_height = colour ? mask.bmHeight : mask.bmHeight / 2;
        }
    }
    Changed();
}

void TIcon::LoadFromStream(TStream& stream)
{
    const std::int64_t size = stream.Size() - stream.Position();
    std::vector<std::uint8_t> file(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    stream.ReadBuffer(file.data(), file.size());
    const std::vector<TIconEntry> entries = ReadDirectory(file);
    const HICON icon = DecodeImage(BestEntry(entries).Image);
    Adopt(icon, std::move(file));
}

void TIcon::SaveToStream(TStream& stream)
{
    if (m_file.empty() && m_handle)
        m_file = EncodeIcon(m_handle, m_width, m_height);
    stream.WriteBuffer(m_file.data(), m_file.size());
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect)
{
    if (m_handle)
        (void)DrawIconEx(canvas.Handle(), rect.left, rect.top, m_handle, rect.right - rect.left,
                         rect.bottom - rect.top, 0, nullptr, DI_NORMAL);
}

void RegisterIconGraphic()
{
    TPicture::RegisterFileFormat("ico", "Icons", TIcon::StaticClass());
    RegisterClass(TIcon::StaticClass());
}
