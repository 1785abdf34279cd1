#pragma once

#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

[[nodiscard]] const TTypeInfo& PixelFormatTypeInfo();
[[nodiscard]] const TTypeInfo& TransparentModeTypeInfo();

// Limits on BMP input: each side at most MaxBitmapDimension pixels, and at most MaxBitmapPixels
// pixels in all (64 MB at 32 bits). They are checked before anything is allocated, and the pixel
// data must be present in the stream in full.
constexpr int MaxBitmapDimension = 32767;
constexpr std::int64_t MaxBitmapPixels = std::int64_t{16} * 1024 * 1024;

class TBitmapCanvas;
struct TDibImage;
namespace classlib_forms::detail {
struct TBitmapImage;
}

// A bitmap image: a device-dependent bitmap (pfDevice: 32 bits, or one bit when Monochrome) or a
// DIB section (pf1bit, pf4bit, pf8bit with a colour table, pf24bit, pf32bit) held bottom-up as
// BMP files and the class library's DIBs were, so that ScanLine(0) is the top row at the end of
// the memory. Changing the size or the format keeps the picture (new areas are white); colour to
// monochrome turns white pixels white and every other pixel black.
//
// LoadFromStream reads every BMP form Windows reads (BITMAPFILEHEADER, then a BITMAPCOREHEADER or
// a BITMAPINFOHEADER or one of its longer versions): 1, 4 and 8 bits with a colour table, RLE4
// and RLE8, 16 bits (5-5-5, or any masks with BI_BITFIELDS; loaded as pf24bit), 24 bits and 32
// bits (bit fields other than 8-8-8 are unpacked to it), bottom-up or top-down. Anything else,
// anything over the limits above, and truncated uncompressed rows raise EInvalidGraphic "Bitmap
// image is not valid: " and the reason; damaged run-length data is read as far as it goes.
// SaveToStream writes BITMAPFILEHEADER + BITMAPINFOHEADER + the full colour table + bottom-up
// rows, in the bitmap's own depth (a colour device bitmap as 32 bits).
//
// Transparent drawing leaves out the pixels of TransparentColor: by default (tmAuto) the colour
// of the bottom-left pixel, white for monochrome bitmaps.
class TBitmap : public TGraphic {
    CLASSLIB_DECLARE_CLASS;

    TBitmap();
    ~TBitmap() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] bool Empty() const override { return m_width == 0 || m_height == 0; }
    [[nodiscard]] int Width() const override { return m_width; }
    void SetWidth(int width) override { SetSize(width, m_height); }
    [[nodiscard]] int Height() const override { return m_height; }
    void SetHeight(int height) override { SetSize(m_width, height); }
    // Raises EInvalidGraphic "Invalid image size" outside 0..MaxBitmapDimension and
    // EOutOfResources "Out of system resources" when the image cannot be made.
    void SetSize(int width, int height);

    [[nodiscard]] TCanvas* Canvas();
    // The bitmap, owned by this object; null while empty.
    [[nodiscard]] HBITMAP Handle() const { return m_handle; }
    // Takes ownership of `bitmap` (null empties the image).
    void SetHandle(HBITMAP bitmap);
    // Gives up the bitmap to the caller; the image is empty afterwards.
    [[nodiscard]] HBITMAP ReleaseHandle();
    // A monochrome mask, white where TransparentColor is; owned by this object and made afresh
    // after every change.
    [[nodiscard]] HBITMAP MaskHandle();
    [[nodiscard]] TBitmapHandleType HandleType() const { return m_handleType; }
    void SetHandleType(TBitmapHandleType type);
    [[nodiscard]] TPixelFormat PixelFormat() const;
    // Raises EInvalidGraphic "Pixel format not supported" for pf15bit, pf16bit and pfCustom.
    void SetPixelFormat(TPixelFormat format);
    [[nodiscard]] bool Monochrome() const { return m_bitsPixel == 1; }
    void SetMonochrome(bool monochrome);
    [[nodiscard]] HPALETTE Palette() override;

    [[nodiscard]] TColor TransparentColor();
    void SetTransparentColor(TColor color);
    [[nodiscard]] TTransparentMode TransparentMode() const { return m_transparentMode; }
    void SetTransparentMode(TTransparentMode mode);

    // Row `row` (0 = top) of the DIB memory; a device bitmap becomes a DIB first. Raises
    // EInvalidGraphicOperation "Scan line index out of range".
    [[nodiscard]] void* ScanLine(int row);
    // The colour table of an indexed DIB.
    [[nodiscard]] const std::vector<RGBQUAD>& Colors() const { return m_colors; }

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // A "BITMAP" resource: a BMP file, or a packed DIB as Windows resources hold them. Raises
    // EResNotFound when there is none.
    void LoadFromResourceName(HINSTANCE instance, std::string_view name);

    // Writes CF_BITMAP: a copy of the bitmap, and no palette (an indexed bitmap's colour table
    // goes with it). Reads CF_BITMAP (a device bitmap in that bitmap's depth) and CF_DIB (a packed
    // DIB, under the limits of BMP input).
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;

    // Form data holds the BMP file after a 32-bit length.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

protected:
    void Draw(TCanvas& canvas, const TRect& rect) override;
    void Changed() override;

private:
    friend class TBitmapCanvas;

    void Reformat(int width, int height, TBitmapHandleType type, int bitsPixel, std::vector<RGBQUAD> colors);
    void Adopt(classlib_forms::detail::TBitmapImage image);
    void AdoptDib(TDibImage&& dib);
    void CopyFromHandle(HBITMAP bitmap);
    void FreeImage();
    void FreeContext();
    void CanvasChanged(TObject*);

    HBITMAP m_handle = nullptr;
    std::uint8_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_bitsPixel = 32;
    TBitmapHandleType m_handleType = bmDDB;
    std::vector<RGBQUAD> m_colors;
    GdiObject<HBITMAP> m_mask;
    GdiObject<HPALETTE> m_palette;
    TColor m_transparentColor = clDefault;
    TTransparentMode m_transparentMode = tmAuto;
    std::unique_ptr<TBitmapCanvas> m_canvas;
};

RTL_DECLARE_EXCEPTION(EOutOfResources, Exception);

// Stretches (srcX, srcY, srcWidth, srcHeight) of src onto dest, leaving dest untouched where the
// monochrome mask (same coordinates as the source) is 1.
bool TransparentStretchBlt(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC src, int srcX,
                           int srcY, int srcWidth, int srcHeight, HDC mask, int maskX, int maskY);
