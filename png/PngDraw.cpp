#include "png/PngBlend.h"
#include "png/PngCodec.h"

#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"

namespace {

// A bitmap owned for a scope; one that cannot be made is out of memory. Declared before the DCs
// that select it, so the DCs let go of it first.
GdiObject<HBITMAP> OwnedBitmap(HBITMAP bitmap)
{
    if (!bitmap)
        throw EPNGOutMemory();
    return GdiObject(bitmap);
}

// A memory DC compatible with `dc` holding `bitmap`; one that cannot be made is out of memory.
class TBitmapDC : public MemoryDC {
public:
    TBitmapDC(HDC dc, const GdiObject<HBITMAP>& bitmap) : MemoryDC(dc, bitmap.Get())
    {
        if (!Valid())
            throw EPNGOutMemory();
    }
};

struct TArea {
    int Left;
    int Top;
    int Width;
    int Height;
};

TArea AreaOf(const TRect& rect)
{
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void DrawOpaque(HDC dc, const TImageStorage& storage, const TArea& area)
{
    (void)StretchDIBits(dc, area.Left, area.Top, area.Width, area.Height, 0, 0, static_cast<int>(storage.Width()),
                        static_cast<int>(storage.Height()), storage.Bits(), storage.GdiInfo(), DIB_RGB_COLORS,
                        SRCCOPY);
}

// The image stretched into the area with the key colour's pixels left out: a mask white where
// the key is keeps the background there, the image with its key pixels blackened fills the rest.
void DrawColorKeyed(HDC dc, const TImageStorage& storage, COLORREF key, const TArea& area)
{
    if (area.Width <= 0 || area.Height <= 0)
        return;
    const int sourceWidth = static_cast<int>(storage.Width());
    const int sourceHeight = static_cast<int>(storage.Height());
    const auto image = OwnedBitmap(CreateDIBitmap(dc, &storage.GdiInfo()->bmiHeader, CBM_INIT, storage.Bits(),
                                                  storage.GdiInfo(), DIB_RGB_COLORS));
    const auto mask = OwnedBitmap(CreateBitmap(area.Width, area.Height, 1, 1, nullptr));
    const auto inverseMask = OwnedBitmap(CreateBitmap(area.Width, area.Height, 1, 1, nullptr));
    const auto work = OwnedBitmap(CreateCompatibleBitmap(dc, area.Width, area.Height));
    const TBitmapDC imageDC(dc, image);
    const TBitmapDC maskDC(dc, mask);
    const TBitmapDC inverseDC(dc, inverseMask);
    const TBitmapDC workDC(dc, work);

    const COLORREF oldBack = SetBkColor(imageDC.Handle(), key);
    (void)StretchBlt(maskDC.Handle(), 0, 0, area.Width, area.Height, imageDC.Handle(), 0, 0, sourceWidth,
                     sourceHeight, SRCCOPY);
    (void)SetBkColor(imageDC.Handle(), oldBack);
    (void)BitBlt(inverseDC.Handle(), 0, 0, area.Width, area.Height, maskDC.Handle(), 0, 0, NOTSRCCOPY);
    (void)BitBlt(workDC.Handle(), 0, 0, area.Width, area.Height, dc, area.Left, area.Top, SRCCOPY);
    (void)BitBlt(workDC.Handle(), 0, 0, area.Width, area.Height, maskDC.Handle(), 0, 0, SRCAND);
    (void)StretchBlt(imageDC.Handle(), 0, 0, sourceWidth, sourceHeight, inverseDC.Handle(), 0, 0, area.Width,
                     area.Height, SRCAND);
    (void)StretchBlt(workDC.Handle(), 0, 0, area.Width, area.Height, imageDC.Handle(), 0, 0, sourceWidth,
                     sourceHeight, SRCPAINT);
    (void)BitBlt(dc, area.Left, area.Top, area.Width, area.Height, workDC.Handle(), 0, 0, SRCCOPY);
}

// The image at its own size at the area's top-left, blended over what the DC shows there.
void DrawAlphaBlended(HDC dc, const TPNGObject& image, const TArea& area)
{
    const int width = image.Width();
    const int height = image.Height();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const auto surface = OwnedBitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits)
        throw EPNGOutMemory();
    const TBitmapDC surfaceDC(dc, surface);
    (void)BitBlt(surfaceDC.Handle(), 0, 0, width, height, dc, area.Left, area.Top, SRCCOPY);
    BlendImageOver(image, static_cast<std::uint8_t*>(bits), std::size_t{4} * static_cast<std::size_t>(width));
    (void)BitBlt(dc, area.Left, area.Top, width, height, surfaceDC.Handle(), 0, 0, SRCCOPY);
}

} // namespace

void TPNGObject::Draw(TCanvas& canvas, const TRect& rect)
{
    DrawOnDC(canvas.Handle(), rect);
}

void TPNGObject::DrawOnDC(HDC dc, const TRect& rect) const
{
    if (!HasHeader() || !HeaderChunk().Storage().Prepared())
        return;
    const TImageStorage& storage = HeaderChunk().Storage();
    switch (TransparencyKind()) {
    case TTransparencyKind::tkNone: DrawOpaque(dc, storage, AreaOf(rect)); break;
    case TTransparencyKind::tkSingleColor:
        DrawColorKeyed(dc, storage, ColorToRGB(TransparentKeyColor()), AreaOf(rect));
        break;
    case TTransparencyKind::tkPartial: DrawAlphaBlended(dc, *this, AreaOf(rect)); break;
    }
}
