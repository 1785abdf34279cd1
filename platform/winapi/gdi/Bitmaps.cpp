#include "platform/winapi/gdi/Bitmaps.h"

#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/DibFormat.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Objects.h"
#include "platform/winapi/kernel/WinError.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace detail = winapi_gdi::detail;

namespace {

constexpr int MaxDimension = 32767;
// Device-independent bitmaps hold decoded images, whose sides reach 65535; their memory is the
// only other bound.
constexpr int MaxDibDimension = 65535;

std::uint32_t FromQuad(const RGBQUAD& q)
{
    return (std::uint32_t(q.rgbRed) << 16) | (std::uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
}

std::size_t NearestQuad(const std::vector<RGBQUAD>& colors, std::uint32_t pixel)
{
    return NearestColorIndex(colors.data(), colors.size(), ColorFromPixel(pixel));
}

} // namespace

std::uint32_t QuantiseToMonochrome(std::uint32_t pixel)
{
    const int luminance = (int((pixel >> 16) & 0xFF) * 30 + int((pixel >> 8) & 0xFF) * 59 + int(pixel & 0xFF) * 11) / 100;
    return luminance >= 128 ? 0xFFFFFFu : 0u;
}

std::vector<RGBQUAD> DefaultColorTable(int bitsPixel)
{
    std::vector<RGBQUAD> table;
    auto add = [&](int r, int g, int b) { table.push_back({BYTE(b), BYTE(g), BYTE(r), 0}); };
    if (bitsPixel == 1) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (bitsPixel == 4) {
        static const int vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                       {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                       {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                       {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const auto& c : vga)
            add(c[0], c[1], c[2]);
    } else if (bitsPixel == 8) {
        // A 6x6x6 colour cube and a grey ramp: every colour has a close entry.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    add(r * 51, g * 51, b * 51);
        for (int i = 0; i < 40; ++i)
            add(i * 255 / 39, i * 255 / 39, i * 255 / 39);
    }
    return table;
}

bool DibFormat::Parse(const BITMAPINFO* info, UINT usage, DibFormat& out)
{
    if (!info || usage != DIB_RGB_COLORS)
        return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biWidth > MaxDibDimension || h.biHeight == 0 ||
        h.biHeight < -MaxDibDimension || h.biHeight > MaxDibDimension)
        return false;
    const int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        return false;
    if (h.biCompression == BI_BITFIELDS) {
        const auto* masks = reinterpret_cast<const DWORD*>(reinterpret_cast<const std::uint8_t*>(info) + h.biSize);
        if (bpp != 32 || masks[0] != 0xFF0000 || masks[1] != 0xFF00 || masks[2] != 0xFF)
            return false;
    } else if (h.biCompression != BI_RGB) {
        return false;
    }
    out.width = h.biWidth;
    out.topDown = h.biHeight < 0;
    out.height = out.topDown ? -h.biHeight : h.biHeight;
    out.bitsPixel = bpp;
    out.stride = DibStride(out.width, bpp);
    out.colors.clear();
    if (bpp <= 8) {
        const std::size_t full = std::size_t(1) << bpp;
        const std::size_t count = h.biClrUsed == 0 ? full : std::min<std::size_t>(h.biClrUsed, full);
        const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const std::uint8_t*>(info) + h.biSize);
        out.colors.assign(table, table + count);
    }
    return true;
}

void UnpackRow(const std::uint8_t* row, int bitsPixel, const std::vector<RGBQUAD>& colors, std::uint32_t* out,
               int width)
{
    auto indexed = [&](std::size_t index) { return index < colors.size() ? FromQuad(colors[index]) : 0u; };
    for (int x = 0; x < width; ++x) {
        switch (bitsPixel) {
        case 1: out[x] = indexed((row[x >> 3] >> (7 - (x & 7))) & 1); break;
        case 4: out[x] = indexed((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF); break;
        case 8: out[x] = indexed(row[x]); break;
        case 24: out[x] = row[x * 3] | (std::uint32_t(row[x * 3 + 1]) << 8) | (std::uint32_t(row[x * 3 + 2]) << 16); break;
        default: std::memcpy(&out[x], row + x * 4, 4); break;
        }
    }
}

void PackRow(const std::uint32_t* in, int width, int bitsPixel, const std::vector<RGBQUAD>& colors, std::uint8_t* row)
{
    if (bitsPixel <= 8)
        std::memset(row, 0, static_cast<std::size_t>(DibStride(width, bitsPixel)));
    for (int x = 0; x < width; ++x) {
        switch (bitsPixel) {
        case 1: row[x >> 3] |= std::uint8_t(NearestQuad(colors, in[x]) << (7 - (x & 7))); break;
        case 4: row[x >> 1] |= std::uint8_t(NearestQuad(colors, in[x]) << ((x & 1) ? 0 : 4)); break;
        case 8: row[x] = std::uint8_t(NearestQuad(colors, in[x])); break;
        case 24:
            row[x * 3] = std::uint8_t(in[x]);
            row[x * 3 + 1] = std::uint8_t(in[x] >> 8);
            row[x * 3 + 2] = std::uint8_t(in[x] >> 16);
            break;
        default: std::memcpy(row + x * 4, &in[x], 4); break;
        }
    }
}

BitmapObject::BitmapObject(int width, int height, int bitsPixel)
{
    if (width <= 0 || height <= 0 || width > MaxDimension || height > MaxDimension)
        return;
    m_width = width;
    m_height = height;
    m_bitsPixel = bitsPixel == 1 ? 1 : 32;
    m_pixels.Resize(width, height);
    if (m_bitsPixel == 1)
        m_colors = DefaultColorTable(1);
}

BitmapObject::BitmapObject(const BITMAPINFOHEADER& header, const RGBQUAD* colors, std::size_t colorCount)
{
    const int bpp = header.biBitCount;
    if (header.biWidth <= 0 || header.biWidth > MaxDibDimension || header.biHeight == 0 ||
        header.biHeight < -MaxDibDimension || header.biHeight > MaxDibDimension)
        return;
    m_isDib = true;
    m_bitsPixel = bpp;
    m_topDown = header.biHeight < 0;
    m_width = header.biWidth;
    m_height = m_topDown ? -header.biHeight : header.biHeight;
    m_nativeStride = DibStride(m_width, bpp);
    m_bitsSize = static_cast<std::size_t>(m_nativeStride) * static_cast<std::size_t>(m_height);
    m_bits.reset(static_cast<std::uint8_t*>(std::calloc(m_bitsSize, 1)));
    if (!m_bits)
        throw std::bad_alloc();
    m_colors.assign(colors, colors + colorCount);
    if (bpp == 32) {
        auto* top = reinterpret_cast<std::uint32_t*>(m_bits.get() + (m_topDown ? 0 : std::size_t(m_height - 1) * std::size_t(m_nativeStride)));
        m_pixels = Surface(top, m_width, m_height, m_topDown ? m_nativeStride : -m_nativeStride);
    }
}

void BitmapObject::FreeDeleter::operator()(std::uint8_t* block) const
{
    std::free(block);
}

Surface& BitmapObject::Pixels()
{
    if (m_isDib && m_bitsPixel != 32) {
        if (m_pixels.Width() == 0)
            m_pixels.Resize(m_width, m_height);
        Unpack();
    }
    return m_pixels;
}

void BitmapObject::Unpack()
{
    for (int y = 0; y < m_height; ++y) {
        const std::size_t offset = std::size_t(m_topDown ? y : m_height - 1 - y) * std::size_t(m_nativeStride);
        UnpackRow(m_bits.get() + offset, m_bitsPixel, m_colors, m_pixels.Row(y), m_width);
    }
}

void BitmapObject::Commit()
{
    if (!m_isDib) {
        if (m_bitsPixel == 1)
            for (int y = 0; y < m_height; ++y)
                std::transform(m_pixels.Row(y), m_pixels.Row(y) + m_width, m_pixels.Row(y), QuantiseToMonochrome);
        return;
    }
    // Without a shadow nothing was drawn: the memory is already current.
    if (m_bitsPixel == 32 || m_pixels.Width() == 0)
        return;
    for (int y = 0; y < m_height; ++y) {
        const std::size_t offset = std::size_t(m_topDown ? y : m_height - 1 - y) * std::size_t(m_nativeStride);
        PackRow(m_pixels.Row(y), m_width, m_bitsPixel, m_colors, m_bits.get() + offset);
    }
}

int BitmapObject::Describe(int size, void* buffer) const
{
    BITMAP bm{};
    bm.bmWidth = m_width;
    bm.bmHeight = m_height;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = WORD(m_bitsPixel);
    // A device-dependent bitmap's rows are WORD-aligned; a DIB section's are DWORD-aligned.
    bm.bmWidthBytes = m_isDib ? m_nativeStride : ((m_width * m_bitsPixel + 15) / 16) * 2;
    bm.bmBits = m_isDib ? m_bits.get() : nullptr;
    if (!buffer)
        return sizeof bm;
    if (m_isDib && size >= int(sizeof(DIBSECTION))) {
        DIBSECTION ds{};
        ds.dsBm = bm;
        ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
        ds.dsBmih.biWidth = m_width;
        ds.dsBmih.biHeight = m_topDown ? -m_height : m_height;
        ds.dsBmih.biPlanes = 1;
        ds.dsBmih.biBitCount = WORD(m_bitsPixel);
        ds.dsBmih.biSizeImage = DWORD(m_bitsSize);
        ds.dsBmih.biClrUsed = DWORD(m_colors.size());
        std::memcpy(buffer, &ds, sizeof ds);
        return sizeof ds;
    }
    if (size < int(sizeof bm))
        return 0;
    std::memcpy(buffer, &bm, sizeof bm);
    return sizeof bm;
}

std::shared_ptr<BitmapObject> LookupBitmap(HBITMAP bitmap)
{
    return winapi_gdi::LookupGdi<BitmapObject>(bitmap);
}

namespace {

HBITMAP Publish(std::shared_ptr<BitmapObject> bitmap)
{
    if (!bitmap->Valid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBITMAP>(winapi_gdi::NewGdiHandle(std::move(bitmap)));
}

// Copies rows of a packed DIB into a bitmap's pixels: DIB scan lines [start, start + lines),
// counted from the bottom for bottom-up DIBs, as Win32 counts them.
int WriteDibRows(BitmapObject& bitmap, const DibFormat& format, UINT start, UINT lines, const std::uint8_t* bits)
{
    Surface& pixels = bitmap.Pixels();
    const int width = std::min(format.width, bitmap.Width());
    std::vector<std::uint32_t> row(static_cast<std::size_t>(format.width));
    int copied = 0;
    for (UINT line = 0; line < lines; ++line) {
        const int scan = int(start + line);
        const int destY = format.topDown ? scan : bitmap.Height() - 1 - scan;
        if (scan >= format.height || destY < 0 || destY >= bitmap.Height())
            continue;
        UnpackRow(bits + std::size_t(line) * std::size_t(format.stride), format.bitsPixel, format.colors, row.data(),
                  format.width);
        std::copy_n(row.data(), width, pixels.Row(destY));
        ++copied;
    }
    bitmap.Commit();
    return copied;
}

} // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP handle = Publish(std::make_shared<BitmapObject>(width, height, int(bitsPerPixel)));
    if (handle && bits) {
        const LONG size = LONG(((width * int(bitsPerPixel) + 15) / 16) * 2 * height);
        (void)SetBitmapBits(handle, DWORD(size), bits);
    }
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    auto context = LookupDC(dc);
    if (!context)
        return nullptr;
    // A memory DC's compatible bitmap has the format of the bitmap selected into it.
    const int bpp = context->IsMonochrome() ? 1 : 32;
    if (width == 0 || height == 0)
        return winapi_gdi::DefaultBitmap();
    return Publish(std::make_shared<BitmapObject>(width, height, bpp));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD)
{
    DibFormat format;
    if (section || !DibFormat::Parse(info, usage, format)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    BITMAPINFOHEADER header = info->bmiHeader;
    auto colors = format.colors;
    if (format.bitsPixel <= 8 && colors.size() < (std::size_t(1) << format.bitsPixel))
        colors.resize(std::size_t(1) << format.bitsPixel, RGBQUAD{0, 0, 0, 0});
    auto bitmap = std::make_shared<BitmapObject>(header, colors.data(), colors.size());
    HBITMAP handle = Publish(bitmap);
    if (bits)
        *bits = handle ? bitmap->Bits() : nullptr;
    return handle;
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage)
{
    if (!header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    HBITMAP bitmap = dc ? CreateCompatibleBitmap(dc, header->biWidth, height)
                        : CreateBitmap(header->biWidth, height, 1, 1, nullptr);
    if (bitmap && (init & CBM_INIT) && bits && info)
        (void)SetDIBits(dc, bitmap, 0, UINT(height), bits, info, usage);
    return bitmap;
}

int SetDIBits(HDC, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage)
{
    auto bitmap = LookupBitmap(handle);
    DibFormat format;
    if (!bitmap || !bits || !DibFormat::Parse(info, usage, format))
        return 0;
    return WriteDibRows(*bitmap, format, start, lines, static_cast<const std::uint8_t*>(bits));
}

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage)
{
    auto bitmap = LookupBitmap(handle);
    if (!bitmap || !info || usage != DIB_RGB_COLORS || !LookupDC(dc))
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    if (h.biBitCount == 0) {
        // Asked for the bitmap's own format.
        h.biWidth = bitmap->Width();
        h.biHeight = bitmap->Height();
        h.biPlanes = 1;
        h.biBitCount = WORD(bitmap->BitsPixel());
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(DibStride(bitmap->Width(), bitmap->BitsPixel()) * bitmap->Height());
        if (!bits)
            return 1;
    }
    if (h.biWidth == 0)
        h.biWidth = bitmap->Width();
    const int bpp = h.biBitCount;
    auto table = bitmap->BitsPixel() == bpp && !bitmap->Colors().empty() ? bitmap->Colors() : DefaultColorTable(bpp);
    if (bpp <= 8) {
        std::copy(table.begin(), table.end(), info->bmiColors);
        h.biClrUsed = 0;
    }
    DibFormat format;
    if (!DibFormat::Parse(info, usage, format))
        return 0;
    h.biSizeImage = DWORD(format.ImageSize());
    if (!bits)
        return int(format.height);
    auto* out = static_cast<std::uint8_t*>(bits);
    Surface& pixels = bitmap->Pixels();
    std::vector<std::uint32_t> row(std::size_t(format.width), 0);
    int copied = 0;
    for (UINT line = 0; line < lines; ++line) {
        const int scan = int(start + line);
        const int srcY = format.topDown ? scan : bitmap->Height() - 1 - scan;
        if (scan >= format.height || srcY < 0 || srcY >= bitmap->Height())
            continue;
        std::fill(row.begin(), row.end(), 0u);
        std::copy_n(pixels.Row(srcY), std::min(format.width, bitmap->Width()), row.data());
        PackRow(row.data(), format.width, bpp, table, out + std::size_t(line) * std::size_t(format.stride));
        ++copied;
    }
    return copied;
}

LONG GetBitmapBits(HBITMAP handle, LONG size, LPVOID bits)
{
    auto bitmap = LookupBitmap(handle);
    if (!bitmap)
        return 0;
    const int stride = ((bitmap->Width() * bitmap->BitsPixel() + 15) / 16) * 2;
    const LONG total = LONG(stride * bitmap->Height());
    if (!bits)
        return total;
    std::vector<std::uint8_t> row(std::size_t(DibStride(bitmap->Width(), bitmap->BitsPixel())));
    auto* out = static_cast<std::uint8_t*>(bits);
    const auto& colors = bitmap->Colors().empty() ? DefaultColorTable(bitmap->BitsPixel()) : bitmap->Colors();
    LONG written = 0;
    for (int y = 0; y < bitmap->Height() && written + stride <= size; ++y) {
        PackRow(bitmap->Pixels().Row(y), bitmap->Width(), bitmap->BitsPixel(), colors, row.data());
        std::memcpy(out + written, row.data(), std::size_t(stride));
        written += stride;
    }
    return written;
}

LONG SetBitmapBits(HBITMAP handle, DWORD size, const void* bits)
{
    auto bitmap = LookupBitmap(handle);
    if (!bitmap || !bits)
        return 0;
    const int stride = ((bitmap->Width() * bitmap->BitsPixel() + 15) / 16) * 2;
    const auto* in = static_cast<const std::uint8_t*>(bits);
    const auto& colors = bitmap->Colors().empty() ? DefaultColorTable(bitmap->BitsPixel()) : bitmap->Colors();
    Surface& pixels = bitmap->Pixels();
    LONG read = 0;
    for (int y = 0; y < bitmap->Height() && read + stride <= LONG(size); ++y) {
        UnpackRow(in + read, bitmap->BitsPixel(), colors, pixels.Row(y), bitmap->Width());
        read += stride;
    }
    bitmap->Commit();
    return read;
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors)
{
    auto context = LookupDC(dc);
    BitmapObject* bitmap = context ? context->Bitmap() : nullptr;
    if (!bitmap || !bitmap->IsDib() || !colors || start >= bitmap->Colors().size())
        return 0;
    const UINT n = std::min<UINT>(count, UINT(bitmap->Colors().size()) - start);
    std::copy_n(bitmap->Colors().begin() + start, n, colors);
    return n;
}

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors)
{
    auto context = LookupDC(dc);
    BitmapObject* bitmap = context ? context->Bitmap() : nullptr;
    if (!bitmap || !bitmap->IsDib() || !colors || start >= bitmap->Colors().size())
        return 0;
    const UINT n = std::min<UINT>(count, UINT(bitmap->Colors().size()) - start);
    std::copy_n(colors, n, bitmap->Colors().begin() + start);
    return n;
}

BOOL GetBitmapDimensionEx(HBITMAP handle, LPSIZE size)
{
    if (!LookupBitmap(handle) || !size)
        return FALSE;
    *size = {0, 0};
    return TRUE;
}
