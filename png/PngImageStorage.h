#pragma once

#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/WinGdi.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// The decoded image held in a DIB section of the window system, so drawing hands the very pixels
// the decoder wrote to the GDI: a 40-byte bitmap info header with a
// 256-entry colour table, rows stored bottom-up and padded to 4 bytes, colour pixels as blue,
// green, red bytes, low-depth pixels packed from the high bits of each byte. Alpha, when the
// image has it, lives in a separate plane of one byte per pixel, rows top-down.

struct TPngBitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(TPngBitmapInfoHeader) == 40);

struct TPngColorEntry {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};

struct TPngBitmapInfo {
    TPngBitmapInfoHeader bmiHeader;
    TPngColorEntry bmiColors[256];
};

static_assert(sizeof(TPngColorEntry) == sizeof(RGBQUAD));
static_assert(offsetof(TPngBitmapInfo, bmiColors) == offsetof(BITMAPINFO, bmiColors));

class TImageStorage {
public:
    enum class TAlphaPlane { apNone, apSeparate };

    TImageStorage() = default;
    ~TImageStorage();
    TImageStorage(const TImageStorage&) = delete;
    TImageStorage& operator=(const TImageStorage&) = delete;

    // Replaces the storage with zeroed pixels (and a zeroed alpha plane when asked for) and a
    // zeroed colour table. Raises EPNGOutMemory when the window system makes no DIB section of it
    // or memory runs out; the storage is then released. Sides up to 65535 are accepted: a large
    // image costs only the memory its rows need (zeroed pages come from the system untouched).
    void Prepare(std::uint32_t width, std::uint32_t height, unsigned bitsPerPixel, TAlphaPlane alpha);
    void Release();
    void CopyFrom(const TImageStorage& source);

    [[nodiscard]] bool Prepared() const { return m_bits != nullptr; }
    [[nodiscard]] std::uint32_t Width() const { return m_width; }
    [[nodiscard]] std::uint32_t Height() const { return m_height; }
    [[nodiscard]] unsigned BitsPerPixel() const { return m_info.bmiHeader.biBitCount; }
    [[nodiscard]] bool UsesColorTable() const { return Prepared() && BitsPerPixel() <= 8; }
    [[nodiscard]] std::size_t RowSize() const { return m_rowSize; }

    [[nodiscard]] std::uint8_t* Bits() { return m_bits; }
    [[nodiscard]] const std::uint8_t* Bits() const { return m_bits; }
    // The DIB section whose memory Bits() is; owned by the storage. Its own colour table is the
    // one of its making (zeros): draw the bits with GdiInfo(), which holds the current table.
    [[nodiscard]] HBITMAP Section() const { return m_section.Get(); }
    // Image row y (0 is the top row), which is storage row height - 1 - y.
    [[nodiscard]] std::uint8_t* Row(std::uint32_t y) { return m_bits + RowOffset(y); }
    [[nodiscard]] const std::uint8_t* Row(std::uint32_t y) const { return m_bits + RowOffset(y); }

    [[nodiscard]] bool HasAlpha() const { return m_alpha != nullptr; }
    [[nodiscard]] std::uint8_t* AlphaRow(std::uint32_t y) { return m_alpha.get() + std::size_t{y} * m_width; }
    [[nodiscard]] const std::uint8_t* AlphaRow(std::uint32_t y) const
    {
        return m_alpha.get() + std::size_t{y} * m_width;
    }

    [[nodiscard]] TPngBitmapInfo& Info() { return m_info; }
    [[nodiscard]] const TPngBitmapInfo& Info() const { return m_info; }
    // The header and colour table as the GDI's DIB calls take them.
    [[nodiscard]] const BITMAPINFO* GdiInfo() const { return reinterpret_cast<const BITMAPINFO*>(&m_info); }
    [[nodiscard]] TPngColorEntry* ColorTable() { return m_info.bmiColors; }
    [[nodiscard]] const TPngColorEntry* ColorTable() const { return m_info.bmiColors; }

private:
    struct TFreeDeleter {
        void operator()(std::uint8_t* block) const;
    };
    using TBlock = std::unique_ptr<std::uint8_t, TFreeDeleter>;

    [[nodiscard]] std::size_t RowOffset(std::uint32_t y) const { return std::size_t{m_height - 1 - y} * m_rowSize; }
    void CreateSection();

    TPngBitmapInfo m_info{};
    GdiObject<HBITMAP> m_section;
    std::uint8_t* m_bits = nullptr;
    TBlock m_alpha;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::size_t m_rowSize = 0;
};
