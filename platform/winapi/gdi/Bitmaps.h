#pragma once

#include "platform/winapi/gdi/GdiObjects.h"
#include "platform/winapi/gdi/Surface.h"

#include <cstdint>
#include <memory>
#include <vector>

// A bitmap: a device-dependent bitmap (32 bits, or 1 bit for monochrome masks) or a DIB section in
// the exact Windows memory layout (1, 4, 8, 24 or 32 bits, bottom-up or top-down, rows padded to
// 4 bytes, with a colour table up to 8 bits). Drawing always works on 32-bit pixels: a 32-bit DIB
// is drawn in place; other formats are unpacked into a shadow surface before use and packed back
// after drawing, because the program may write the DIB memory directly at any time. The shadow
// is made on first use: a DIB section that only holds pixels (a decoded image handed to
// StretchDIBits) never pays for it. DIB memory starts zeroed, as the system's does.
class BitmapObject : public GdiHandleObject {
public:
    // A 32-bit or one-bit device-dependent bitmap, cleared to black.
    BitmapObject(int width, int height, int bitsPixel);
    // A DIB section; false from Valid() when the header is not one we can lay out.
    BitmapObject(const BITMAPINFOHEADER& header, const RGBQUAD* colors, std::size_t colorCount);

    [[nodiscard]] DWORD Type() const override { return OBJ_BITMAP; }
    [[nodiscard]] int Describe(int size, void* buffer) const override;

    [[nodiscard]] bool Valid() const { return m_width > 0 && m_height > 0; }
    [[nodiscard]] int Width() const { return m_width; }
    [[nodiscard]] int Height() const { return m_height; }
    [[nodiscard]] int BitsPixel() const { return m_bitsPixel; }
    [[nodiscard]] bool IsDib() const { return m_isDib; }
    // A monochrome device bitmap: the text and background colour rules apply to it. A one-bit DIB
    // section maps through its colour table instead.
    [[nodiscard]] bool IsMonochrome() const { return m_bitsPixel == 1 && !m_isDib; }
    // Native memory (DIB sections): first byte, and the row pitch in bytes.
    [[nodiscard]] std::uint8_t* Bits() { return m_bits.get(); }
    [[nodiscard]] int NativeStride() const { return m_nativeStride; }
    [[nodiscard]] bool TopDown() const { return m_topDown; }
    [[nodiscard]] std::vector<RGBQUAD>& Colors() { return m_colors; }
    [[nodiscard]] const std::vector<RGBQUAD>& Colors() const { return m_colors; }

    // The pixels, current with the native memory.
    [[nodiscard]] Surface& Pixels();
    // Packs drawn pixels back into the native memory.
    void Commit();

private:
    struct FreeDeleter {
        void operator()(std::uint8_t* block) const;
    };

    void Unpack();
    int m_width = 0;
    int m_height = 0;
    int m_bitsPixel = 32;
    bool m_isDib = false;
    bool m_topDown = false;
    int m_nativeStride = 0;
    // calloc'd: large blocks come from the system already zeroed, so a section costs no fill.
    std::unique_ptr<std::uint8_t, FreeDeleter> m_bits;
    std::size_t m_bitsSize = 0;
    std::vector<RGBQUAD> m_colors;
    Surface m_pixels;
};

// The row pitch of a DIB: rows are padded to 4 bytes.
[[nodiscard]] constexpr int DibStride(int width, int bitsPixel)
{
    return ((width * bitsPixel + 31) / 32) * 4;
}
// Reads row `y` (top-down index) of packed pixels into 0x00RRGGBB pixels, and packs them back
// (colour tables: nearest entry).
void UnpackRow(const std::uint8_t* row, int bitsPixel, const std::vector<RGBQUAD>& colors, std::uint32_t* out,
               int width);
void PackRow(const std::uint32_t* in, int width, int bitsPixel, const std::vector<RGBQUAD>& colors,
             std::uint8_t* row);

// Black or white, whichever is nearer: what a colour becomes on a monochrome bitmap.
[[nodiscard]] std::uint32_t QuantiseToMonochrome(std::uint32_t pixel);

[[nodiscard]] std::shared_ptr<BitmapObject> LookupBitmap(HBITMAP bitmap);
