#include "png/PngCodec.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

CLASSLIB_IMPLEMENT_CLASS(TPNGObject, TGraphic, DefaultCreator<TPNGObject>, nullptr)

namespace {

bool HasColorTablePalette(std::uint8_t colorType)
{
    return colorType == COLOR_GRAYSCALE || colorType == COLOR_GRAYSCALEALPHA || colorType == COLOR_PALETTE;
}

TPixelFormat FormatForBits(unsigned bits)
{
    switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

// A memory DC compatible with the screen, released on every path.
class TScreenMemoryDC : public MemoryDC {
public:
    TScreenMemoryDC()
    {
        if (!Valid())
            throw EPNGOutMemory();
    }
};

} // namespace

void TPNGObject::Assign(const TPersistent* source)
{
    if (const auto* image = dynamic_cast<const TPNGObject*>(source)) {
        CopyFromImage(*image);
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        // The bitmap works out an automatic transparent colour on demand, which is not const.
        auto& readable = const_cast<TBitmap&>(*bitmap);
        LoadFromBitmapHandle(readable.Handle(), readable.Transparent(),
                             static_cast<TColor>(ColorToRGB(readable.TransparentColor())));
        return;
    }
    TGraphic::Assign(source);
}

void TPNGObject::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette)
{
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    if (!bitmap.Empty())
        bitmap.Canvas()->Draw(0, 0, this);
    bitmap.SaveToClipboardFormat(format, data, palette);
}

void TPNGObject::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette)
{
    TBitmap bitmap;
    bitmap.LoadFromClipboardFormat(format, data, palette);
    LoadFromBitmapHandle(bitmap.Handle(), false, 0);
}

void TPNGObject::AssignTo(TPersistent* dest) const
{
    if (auto* image = dynamic_cast<TPNGObject*>(dest)) {
        image->CopyFromImage(*this);
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(dest);
    if (bitmap && HasHeader() && HeaderChunk().Storage().Prepared()) {
        AssignToBitmap(*bitmap);
        return;
    }
    TGraphic::AssignTo(dest);
}

// The bitmap gets a DIB section of the storage's own format and colour table, so every pixel
// comes across as stored.
void TPNGObject::AssignToBitmap(TBitmap& bitmap) const
{
    const TImageStorage& storage = HeaderChunk().Storage();
    void* bits = nullptr;
    GdiObject section(CreateDIBSection(nullptr, storage.GdiInfo(), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits)
        throw EPNGOutMemory();
    std::memcpy(bits, storage.Bits(), storage.RowSize() * storage.Height());
    bitmap.SetHandle(section.Get());
    (void)section.Release(); // the bitmap owns it now
    bitmap.SetPixelFormat(FormatForBits(storage.BitsPerPixel()));
    if (TransparencyKind() == TTransparencyKind::tkSingleColor) {
        bitmap.SetTransparentColor(TransparentKeyColor());
        bitmap.SetTransparent(true);
    }
}

void TPNGObject::LoadFromBitmapHandle(HBITMAP bitmap, bool transparent, TColor keyColor)
{
    ClearChunkList();
    BITMAP description{};
    if (!bitmap || GetObject(bitmap, sizeof description, &description) < static_cast<int>(sizeof description)) {
        Changed();
        return;
    }
    const bool indexed = description.bmBitsPixel < 16;
    auto& header = static_cast<TChunkIHDR&>(m_chunks.Add(ChunkClassForName(*this, "IHDR")));
    TChunkPLTE* palette =
        indexed ? &static_cast<TChunkPLTE&>(m_chunks.Add(ChunkClassForName(*this, "PLTE"))) : nullptr;
    TChunktRNS* transparency =
        transparent ? &static_cast<TChunktRNS&>(m_chunks.Add(ChunkClassForName(*this, "tRNS"))) : nullptr;
    m_chunks.Add(ChunkClassForName(*this, "IDAT"));
    m_chunks.Add(ChunkClassForName(*this, "IEND"));

    const int height = std::abs(static_cast<int>(description.bmHeight));
    header.SetWidth(static_cast<std::uint32_t>(description.bmWidth));
    header.SetHeight(static_cast<std::uint32_t>(height));
    header.SetBitDepth(static_cast<std::uint8_t>(indexed ? description.bmBitsPixel : 8));
    header.SetColorType(indexed ? COLOR_PALETTE : COLOR_RGB);
    header.PrepareImageStorage();
    TImageStorage& storage = header.Storage();
    {
        const TScreenMemoryDC dc;
        (void)GetDIBits(dc.Handle(), bitmap, 0, static_cast<UINT>(height), storage.Bits(),
                        reinterpret_cast<BITMAPINFO*>(&storage.Info()), DIB_RGB_COLORS);
    }
    if (palette)
        palette->SetEntryCount(1u << description.bmBitsPixel);
    if (transparency)
        transparency->SetKeyColor(keyColor);
    Changed();
}

HPALETTE TPNGObject::Palette()
{
    if (!HasHeader() || !HasColorTablePalette(HeaderChunk().ColorType()) || !HeaderChunk().Storage().Prepared())
        return nullptr;
    if (m_palette)
        return m_palette.Get();
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* logPalette = reinterpret_cast<LOGPALETTE*>(block.data());
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = 256;
    // The entries run on past the one the structure declares.
    auto* entries = reinterpret_cast<PALETTEENTRY*>(block.data() + offsetof(LOGPALETTE, palPalEntry));
    const TPngColorEntry* table = HeaderChunk().Storage().ColorTable();
    for (unsigned i = 0; i < 256; ++i)
        entries[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    m_palette.Reset(CreatePalette(logPalette));
    return m_palette.Get();
}

void RegisterPngGraphic()
{
    TPicture::RegisterFileFormat("png", "Portable Network Graphics", TPNGObject::StaticClass());
    RegisterClass(TPNGObject::StaticClass());
}

void UnregisterPngGraphic()
{
    TPicture::UnregisterGraphicClass(TPNGObject::StaticClass());
    UnRegisterClass(TPNGObject::StaticClass());
}
