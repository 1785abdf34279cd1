#include "platform/classlib/forms/GraphicsBitmap.h"

#include "platform/classlib/forms/GraphicsBitmapFile.h"
#include "platform/classlib/core/Resources.h"
#include "platform/classlib/core/Streams.h"
#include "platform/winapi/gdi/DibFormat.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/user/Clipboard.h"

#include <cstring>
#include <optional>

namespace detail = classlib_forms::detail;

// ---- The bitmap's canvas ------------------------------------------------------------------------

// Draws into the bitmap through a memory DC made on first use and let go whenever the bitmap
// changes its handle.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : m_bitmap(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        if (!m_context)
            return;
        SetHandle(nullptr);
        m_context.reset();
    }

protected:
    void CreateHandle() override
    {
        if (!m_bitmap.m_handle)
            return;
        SetHandle(m_context.emplace(nullptr, m_bitmap.m_handle).Handle());
    }

private:
    TBitmap& m_bitmap;
    std::optional<MemoryDC> m_context;
};

// ---- Images -------------------------------------------------------------------------------------

namespace classlib_forms::detail {

struct TBitmapImage {
    HBITMAP Handle = nullptr;
    std::uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int BitsPixel = 32;
    TBitmapHandleType Type = bmDDB;
    std::vector<RGBQUAD> Colors;
};

} // namespace classlib_forms::detail

namespace {

using TImage = detail::TBitmapImage;

int BitsForFormat(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf24bit: return 24;
    case pf32bit:
    case pfDevice: return 32;
    default: throw EInvalidGraphic("Pixel format not supported");
    }
}

std::vector<RGBQUAD> TableFor(int bitsPixel)
{
    return bitsPixel <= 8 ? DefaultColorTable(bitsPixel) : std::vector<RGBQUAD>{};
}

struct TInfo {
    BITMAPINFOHEADER Header{};
    RGBQUAD Colors[256]{};
};

TInfo InfoFor(int width, int height, int bitsPixel, const std::vector<RGBQUAD>& colors)
{
    TInfo info;
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height; // bottom-up
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(bitsPixel);
    info.Header.biCompression = BI_RGB;
    info.Header.biClrUsed = static_cast<DWORD>(colors.size());
    std::copy(colors.begin(), colors.end(), info.Colors);
    return info;
}

TImage NewImage(int width, int height, TBitmapHandleType type, int bitsPixel, std::vector<RGBQUAD> colors)
{
    TImage image;
    image.Width = width;
    image.Height = height;
    image.BitsPixel = bitsPixel;
    image.Type = type;
    if (type == bmDDB) {
        image.Handle = CreateBitmap(width, height, 1, bitsPixel == 1 ? 1 : 32, nullptr);
        image.BitsPixel = bitsPixel == 1 ? 1 : 32;
    } else {
        image.Colors = std::move(colors);
        const TInfo info = InfoFor(width, height, bitsPixel, image.Colors);
        void* bits = nullptr;
        image.Handle = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                        nullptr, 0);
        image.Bits = static_cast<std::uint8_t*>(bits);
    }
    if (!image.Handle)
        throw EOutOfResources("Out of system resources");
    return image;
}

void FillWhite(HBITMAP bitmap, int width, int height)
{
    const MemoryDC target(nullptr, bitmap);
    PatBlt(target.Handle(), 0, 0, width, height, WHITENESS);
}

} // namespace

// ---- TBitmap ------------------------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    m_canvas.reset();
    FreeImage();
}

void TBitmap::FreeContext()
{
    if (m_canvas)
        m_canvas->FreeContext();
}

void TBitmap::FreeImage()
{
    FreeContext();
    if (m_handle)
        DeleteObject(m_handle);
    m_handle = nullptr;
    m_mask.Reset();
    m_palette.Reset();
    m_bits = nullptr;
    m_width = m_height = 0;
    m_colors.clear();
}

void TBitmap::Adopt(TImage image)
{
    FreeImage();
    m_handle = image.Handle;
    m_bits = image.Bits;
    m_width = image.Width;
    m_height = image.Height;
    m_bitsPixel = image.BitsPixel;
    m_handleType = image.Type;
    m_colors = std::move(image.Colors);
    Changed();
}

void TBitmap::Reformat(int width, int height, TBitmapHandleType type, int bitsPixel, std::vector<RGBQUAD> colors)
{
    if (width < 0 || height < 0 || width > MaxBitmapDimension || height > MaxBitmapDimension)
        throw EInvalidGraphic("Invalid image size");
    if (width == 0 || height == 0) {
        // An empty bitmap keeps its format for when it gets a size.
        FreeImage();
        m_width = width;
        m_height = height;
        m_handleType = type;
        m_bitsPixel = type == bmDDB && bitsPixel != 1 ? 32 : bitsPixel;
        m_colors = std::move(colors);
        Changed();
        return;
    }
    TImage image = NewImage(width, height, type, bitsPixel, std::move(colors));
    FillWhite(image.Handle, width, height);
    if (m_handle) {
        FreeContext();
        // Fresh DCs: colour to monochrome keys on the source's background colour (white).
        const MemoryDC source(nullptr, m_handle);
        const MemoryDC target(nullptr, image.Handle);
        BitBlt(target.Handle(), 0, 0, std::min(width, m_width), std::min(height, m_height), source.Handle(), 0, 0, SRCCOPY);
    }
    Adopt(std::move(image));
}

void TBitmap::SetSize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    Reformat(width, height, m_handleType, m_bitsPixel, m_colors.empty() ? TableFor(m_bitsPixel) : m_colors);
}

void TBitmap::SetHandleType(TBitmapHandleType type)
{
    if (type == m_handleType)
        return;
    const int bits = type == bmDDB ? (m_bitsPixel == 1 ? 1 : 32) : m_bitsPixel;
    Reformat(m_width, m_height, type, bits, TableFor(bits));
}

TPixelFormat TBitmap::PixelFormat() const
{
    if (m_handleType == bmDDB)
        return pfDevice;
    switch (m_bitsPixel) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == PixelFormat())
        return;
    const int bits = BitsForFormat(format);
    Reformat(m_width, m_height, format == pfDevice ? bmDDB : bmDIB, bits, TableFor(bits));
}

void TBitmap::SetMonochrome(bool monochrome)
{
    if (monochrome == Monochrome())
        return;
    if (monochrome)
        Reformat(m_width, m_height, m_handleType, 1, TableFor(1));
    else
        Reformat(m_width, m_height, bmDDB, 32, {});
}

TCanvas* TBitmap::Canvas()
{
    if (!m_canvas) {
        m_canvas = std::make_unique<TBitmapCanvas>(*this);
        m_canvas->SetOnChange(TNotifyEvent(this, &TBitmap::CanvasChanged));
    }
    return m_canvas.get();
}

void TBitmap::CanvasChanged(TObject*)
{
    Changed();
}

void TBitmap::Changed()
{
    // The mask shows the old pixels.
    m_mask.Reset();
    TGraphic::Changed();
}

void TBitmap::SetHandle(HBITMAP bitmap)
{
    if (!bitmap) {
        FreeImage();
        Changed();
        return;
    }
    DIBSECTION section{};
    const int size = GetObject(bitmap, sizeof section, &section);
    if (size < static_cast<int>(sizeof(BITMAP)))
        throw EInvalidGraphic("Bitmap image is not valid");
    TImage image;
    image.Handle = bitmap;
    image.Width = section.dsBm.bmWidth;
    image.Height = section.dsBm.bmHeight;
    image.BitsPixel = section.dsBm.bmBitsPixel;
    image.Bits = static_cast<std::uint8_t*>(section.dsBm.bmBits);
    image.Type = image.Bits ? bmDIB : bmDDB;
    if (image.Type == bmDIB && image.BitsPixel <= 8) {
        image.Colors.resize(std::size_t{1} << image.BitsPixel);
        const MemoryDC selected(nullptr, bitmap);
        GetDIBColorTable(selected.Handle(), 0, static_cast<UINT>(image.Colors.size()), image.Colors.data());
    }
    Adopt(std::move(image));
}

HBITMAP TBitmap::ReleaseHandle()
{
    FreeContext();
    HBITMAP handle = m_handle;
    m_handle = nullptr;
    FreeImage();
    Changed();
    return handle;
}

HBITMAP TBitmap::MaskHandle()
{
    if (m_mask || Empty())
        return m_mask.Get();
    const COLORREF key = ColorToRGB(TransparentColor());
    FreeContext();
    m_mask.Reset(CreateBitmap(m_width, m_height, 1, 1, nullptr));
    const MemoryDC source(nullptr, m_handle);
    const MemoryDC target(nullptr, m_mask.Get());
    SetBkColor(source.Handle(), key);
    BitBlt(target.Handle(), 0, 0, m_width, m_height, source.Handle(), 0, 0, SRCCOPY);
    return m_mask.Get();
}

HPALETTE TBitmap::Palette()
{
    if (m_palette || m_colors.empty())
        return m_palette.Get();
    std::vector<std::uint8_t> memory(sizeof(LOGPALETTE) + m_colors.size() * sizeof(PALETTEENTRY));
    auto* logPalette = reinterpret_cast<LOGPALETTE*>(memory.data());
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = static_cast<WORD>(m_colors.size());
    for (std::size_t i = 0; i < m_colors.size(); ++i)
        logPalette->palPalEntry[i] = {m_colors[i].rgbRed, m_colors[i].rgbGreen, m_colors[i].rgbBlue, 0};
    m_palette.Reset(CreatePalette(logPalette));
    return m_palette.Get();
}

TColor TBitmap::TransparentColor()
{
    if (m_transparentMode == tmFixed && m_transparentColor != clDefault)
        return m_transparentColor;
    if (Monochrome())
        return clWhite;
    if (Empty())
        return clDefault;
    return Canvas()->Pixels(0, m_height - 1);
}

void TBitmap::SetTransparentColor(TColor color)
{
    if (color == m_transparentColor)
        return;
    m_transparentColor = color;
    m_transparentMode = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == m_transparentMode)
        return;
    if (mode == tmAuto)
        m_transparentColor = clDefault;
    m_transparentMode = mode;
    Changed();
}

void* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= m_height || Empty())
        throw EInvalidGraphicOperation("Scan line index out of range");
    SetHandleType(bmDIB);
    const std::size_t stride = static_cast<std::size_t>(DibRowBytes(m_width, m_bitsPixel));
    return m_bits + static_cast<std::size_t>(m_height - 1 - row) * stride;
}

void TBitmap::Assign(const TPersistent* source)
{
    if (!source) {
        FreeImage();
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        if (bitmap == this)
            return;
        m_transparentColor = bitmap->m_transparentColor;
        m_transparentMode = bitmap->m_transparentMode;
        SetTransparent(bitmap->Transparent());
        FreeImage();
        Reformat(bitmap->m_width, bitmap->m_height, bitmap->m_handleType, bitmap->m_bitsPixel, bitmap->m_colors);
        if (bitmap->m_handle) {
            // A bitmap is selected into one DC at a time.
            if (bitmap->m_canvas)
                bitmap->m_canvas->FreeContext();
            const MemoryDC from(nullptr, bitmap->m_handle);
            const MemoryDC to(nullptr, m_handle);
            BitBlt(to.Handle(), 0, 0, m_width, m_height, from.Handle(), 0, 0, SRCCOPY);
        }
        return;
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(const_cast<TPersistent*>(source))) {
        FreeImage();
        SetSize(graphic->Width(), graphic->Height());
        if (!Empty())
            Canvas()->Draw(0, 0, graphic);
        return;
    }
    TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect)
{
    HDC dest = canvas.Handle();
    const COLORREF key = Transparent() ? ColorToRGB(TransparentColor()) : 0;
    FreeContext();
    const MemoryDC source(nullptr, m_handle);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // A monochrome image draws black on white whatever the canvas's colours.
    const COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dest, RGB(255, 255, 255));
    if (Transparent())
        TransparentBlt(dest, rect.left, rect.top, width, height, source.Handle(), 0, 0, m_width, m_height, key);
    else
        StretchBlt(dest, rect.left, rect.top, width, height, source.Handle(), 0, 0, m_width, m_height, canvas.CopyMode());
    SetTextColor(dest, oldText);
    SetBkColor(dest, oldBack);
}

void TBitmap::AdoptDib(TDibImage&& dib)
{
    TImage image = NewImage(dib.Width, dib.Height, bmDIB, dib.BitsPixel, std::move(dib.Colors));
    std::memcpy(image.Bits, dib.Bits.data(), dib.Bits.size());
    Adopt(std::move(image));
}

void TBitmap::LoadFromStream(TStream& stream)
{
    AdoptDib(ReadDibImage(stream, TDibSource::File));
}

void TBitmap::SaveToStream(TStream& stream)
{
    // An empty image has no BMP form; form data writes it as a zero length.
    if (Empty())
        return;
    TDibImage dib;
    dib.Width = m_width;
    dib.Height = m_height;
    dib.BitsPixel = m_bitsPixel;
    dib.Colors = m_handleType == bmDIB ? m_colors : TableFor(m_bitsPixel);
    dib.Bits.resize(static_cast<std::size_t>(DibRowBytes(m_width, m_bitsPixel)) * static_cast<std::size_t>(m_height));
    FreeContext();
    if (m_handleType == bmDIB) {
        std::memcpy(dib.Bits.data(), m_bits, dib.Bits.size());
    } else {
        TInfo info = InfoFor(m_width, m_height, m_bitsPixel, dib.Colors);
        const MemoryDC selected(nullptr, m_handle);
        GetDIBits(selected.Handle(), m_handle, 0, static_cast<UINT>(m_height), dib.Bits.data(),
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    }
    WriteDibImage(stream, dib);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, std::string_view name)
{
    TResourceStream stream(instance, name, RT_BITMAP);
    const std::span<const std::uint8_t> bytes = stream.Memory();
    const bool isFile = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    AdoptDib(ReadDibImage(stream, isFile ? TDibSource::File : TDibSource::PackedDib));
}

void TBitmap::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette)
{
    TBitmap copy;
    copy.Assign(this);
    format = CF_BITMAP;
    data = copy.ReleaseHandle();
    palette = nullptr;
}

void TBitmap::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE)
{
    if (!data || (format != CF_BITMAP && format != CF_DIB))
        throw EInvalidGraphic("Unsupported clipboard format");
    if (format == CF_BITMAP) {
        CopyFromHandle(static_cast<HBITMAP>(data));
        return;
    }
    const auto* dib = static_cast<const std::uint8_t*>(GlobalLock(data));
    if (!dib)
        throw EInvalidGraphic("Bitmap image is not valid");
    TMemoryStream stream;
    stream.WriteBuffer(dib, GlobalSize(data));
    (void)GlobalUnlock(data);
    stream.SetPosition(0);
    AdoptDib(ReadDibImage(stream, TDibSource::PackedDib));
}

void TBitmap::CopyFromHandle(HBITMAP bitmap)
{
    BITMAP info{};
    if (GetObject(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 || info.bmHeight <= 0)
        throw EInvalidGraphic("Bitmap image is not valid");
    TImage image = NewImage(info.bmWidth, info.bmHeight, bmDDB, info.bmBitsPixel == 1 ? 1 : 32, {});
    {
        const MemoryDC from(nullptr, bitmap);
        const MemoryDC to(nullptr, image.Handle);
        BitBlt(to.Handle(), 0, 0, info.bmWidth, info.bmHeight, from.Handle(), 0, 0, SRCCOPY);
    }
    Adopt(std::move(image));
}

void TBitmap::ReadData(TStream& stream)
{
    std::int32_t size = 0;
    stream.ReadBuffer(&size, sizeof size);
    if (size < 0 || size > stream.Size() - stream.Position())
        throw EInvalidGraphic("Bitmap image is not valid");
    if (size == 0) {
        FreeImage();
        Changed();
        return;
    }
    TMemoryStream bytes;
    bytes.CopyFrom(stream, size);
    bytes.SetPosition(0);
    LoadFromStream(bytes);
}

void TBitmap::WriteData(TStream& stream)
{
    TMemoryStream bytes;
    SaveToStream(bytes);
    const auto size = static_cast<std::int32_t>(bytes.Size());
    stream.WriteBuffer(&size, sizeof size);
    stream.WriteBuffer(bytes.Memory(), static_cast<std::size_t>(size));
}

// ---- Published properties -----------------------------------------------------------------------

const TTypeInfo& PixelFormatTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TPixelFormat", {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit", "pfCustom"});
    return info;
}

const TTypeInfo& TransparentModeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TTransparentMode", {"tmAuto", "tmFixed"});
    return info;
}

CLASSLIB_IMPLEMENT_CLASS(TBitmap, TGraphic, DefaultCreator<TBitmap>, nullptr)

bool TransparentStretchBlt(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC src, int srcX,
                           int srcY, int srcWidth, int srcHeight, HDC mask, int maskX, int maskY)
{
    // dest ^ src, then AND the mask (1 keeps, 0 clears), then ^ src again: the masked-out pixels
    // come back as they were, the others become the source. The mask's 0 and 1 take the
    // destination's text and background colours, so those must be black and white.
    const COLORREF text = SetTextColor(dest, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dest, RGB(255, 255, 255));
    bool ok = StretchBlt(dest, destX, destY, destWidth, destHeight, src, srcX, srcY, srcWidth, srcHeight, SRCINVERT);
    ok = StretchBlt(dest, destX, destY, destWidth, destHeight, mask, maskX, maskY, srcWidth, srcHeight, SRCAND) && ok;
    ok = StretchBlt(dest, destX, destY, destWidth, destHeight, src, srcX, srcY, srcWidth, srcHeight, SRCINVERT) && ok;
    (void)SetTextColor(dest, text);
    (void)SetBkColor(dest, back);
    return ok;
}
