#include "platform/winapi/user/ClipboardData.h"

#include "platform/winapi/gdi/DibFormat.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/TextUtf8.h"

#include <cstring>

namespace winapi_user::detail {

namespace {

// Holds a block locked for as long as it is read or written.
class LockedBlock {
public:
    explicit LockedBlock(HGLOBAL block) : m_block(block), m_data(static_cast<char*>(GlobalLock(block))) {}
    ~LockedBlock()
    {
        if (m_data)
            (void)GlobalUnlock(m_block);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;

    [[nodiscard]] char* Data() const { return m_data; }
    [[nodiscard]] SIZE_T Size() const { return m_data ? GlobalSize(m_block) : 0; }

private:
    HGLOBAL m_block;
    char* m_data;
};

// Where the parts of a packed DIB lie, checked against its length.
struct DibLayout {
    std::size_t bitsOffset = 0;
    std::size_t bitsSize = 0;
};

std::optional<DibLayout> InspectDib(const std::string& dib)
{
    BITMAPINFOHEADER header{};
    if (dib.size() < sizeof header)
        return std::nullopt;
    std::memcpy(&header, dib.data(), sizeof header);
    if (header.biSize < sizeof header || header.biSize > dib.size())
        return std::nullopt;
    const std::uint64_t colors = header.biBitCount <= 8 && header.biClrUsed == 0
                                     ? (std::uint64_t{1} << (header.biBitCount & 0xF))
                                     : header.biClrUsed;
    if (header.biBitCount <= 8 && colors > (std::uint64_t{1} << (header.biBitCount & 0xF)))
        return std::nullopt;
    const std::uint64_t masks = header.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0;
    const std::uint64_t bitsOffset = header.biSize + masks + colors * sizeof(RGBQUAD);
    if (bitsOffset > dib.size())
        return std::nullopt;
    // The header and its table are within the data: the parser may read them.
    DibFormat format;
    if (!DibFormat::Parse(reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS, format))
        return std::nullopt;
    if (format.ImageSize() > dib.size() - bitsOffset)
        return std::nullopt;
    return DibLayout{static_cast<std::size_t>(bitsOffset), format.ImageSize()};
}

class ScreenDC {
public:
    ScreenDC() : m_dc(GetDC(nullptr)) {}
    ~ScreenDC() { (void)ReleaseDC(nullptr, m_dc); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    [[nodiscard]] HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

} // namespace

bool IsTextFormat(UINT format)
{
    return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

bool IsGdiFormat(UINT format)
{
    return format == CF_BITMAP || format == CF_PALETTE || (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

void FreeClipboardHandle(UINT format, HANDLE handle)
{
    if (IsGdiFormat(format))
        (void)DeleteObject(static_cast<HGDIOBJ>(handle));
    else
        (void)GlobalFree(handle);
}

std::string BlockBytes(HGLOBAL block)
{
    const LockedBlock locked(block);
    return locked.Data() ? std::string(locked.Data(), locked.Size()) : std::string();
}

HGLOBAL BlockOf(std::string_view bytes)
{
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block)
        return nullptr;
    const LockedBlock locked(block);
    if (!bytes.empty())
        std::memcpy(locked.Data(), bytes.data(), bytes.size());
    return block;
}

std::string TextOfBlock(UINT format, HGLOBAL block)
{
    const std::string bytes = BlockBytes(block);
    if (format != CF_UNICODETEXT)
        return bytes.substr(0, bytes.find('\0'));
    std::u16string wide(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(char16_t));
    return ToUtf8(std::u16string_view(wide).substr(0, wide.find(u'\0'))).text;
}

HGLOBAL TextBlock(UINT format, std::string_view utf8)
{
    if (format != CF_UNICODETEXT)
        return BlockOf(std::string(utf8) + '\0');
    const std::u16string wide = ToUtf16(utf8) + u'\0';
    return BlockOf(std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(char16_t)));
}

std::optional<std::string> BmpFileOfDib(const std::string& dib)
{
    const auto layout = InspectDib(dib);
    if (!layout)
        return std::nullopt;
    const std::size_t used = layout->bitsOffset + layout->bitsSize;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfSize = static_cast<DWORD>(sizeof file + used);
    file.bfOffBits = static_cast<DWORD>(sizeof file + layout->bitsOffset);
    std::string bmp(reinterpret_cast<const char*>(&file), sizeof file);
    return bmp.append(dib, 0, used);
}

std::optional<std::string> DibOfBmpFile(std::string_view bmp)
{
    BITMAPFILEHEADER file{};
    if (bmp.size() < sizeof file)
        return std::nullopt;
    std::memcpy(&file, bmp.data(), sizeof file);
    if (file.bfType != 0x4D42)
        return std::nullopt;
    std::string dib(bmp.substr(sizeof file));
    const auto layout = InspectDib(dib);
    // The file may place the bits elsewhere than right after the table: only the packed form is
    // a DIB on the clipboard.
    if (!layout || file.bfOffBits != sizeof file + layout->bitsOffset)
        return std::nullopt;
    dib.resize(layout->bitsOffset + layout->bitsSize);
    return dib;
}

HGLOBAL DibOfBitmap(HBITMAP bitmap)
{
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) != sizeof info)
        return nullptr;
    const int bpp = info.bmBitsPixel == 1 || info.bmBitsPixel == 4 || info.bmBitsPixel == 8 || info.bmBitsPixel == 24
                        ? info.bmBitsPixel
                        : 32;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bpp);
    header.biCompression = BI_RGB;
    const std::size_t table = bpp <= 8 ? (std::size_t{1} << bpp) * sizeof(RGBQUAD) : 0;
    const std::size_t stride = ((static_cast<std::size_t>(info.bmWidth) * bpp + 31) / 32) * 4;
    const std::size_t bits = stride * static_cast<std::size_t>(info.bmHeight);
    header.biSizeImage = static_cast<DWORD>(bits);
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof header + table + bits);
    if (!block)
        return nullptr;
    bool copied = false;
    {
        const LockedBlock locked(block);
        std::memcpy(locked.Data(), &header, sizeof header);
        const ScreenDC screen;
        copied = GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), locked.Data() + sizeof header + table,
                           reinterpret_cast<BITMAPINFO*>(locked.Data()), DIB_RGB_COLORS) == info.bmHeight;
    }
    if (!copied)
        return GlobalFree(block);
    return block;
}

HBITMAP BitmapOfDib(HGLOBAL dib)
{
    const std::string bytes = BlockBytes(dib);
    const auto layout = InspectDib(bytes);
    if (!layout)
        return nullptr;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data());
    const ScreenDC screen;
    return CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT, bytes.data() + layout->bitsOffset, info,
                          DIB_RGB_COLORS);
}

} // namespace winapi_user::detail
