#pragma once

// PNG images held as an ordered list of chunk objects, read from and written to streams.
//
// Limits on outside input (LoadFromStream): a chunk length above 2^31 - 1 or beyond the bytes left
// in the stream raises EPngUnexpectedEnd before anything is allocated; width and height are at most
// 65535 (EPNGSizeExceeds beyond), and an image's storage then takes up to 4 bytes a pixel
// (EPNGOutMemory only when that memory cannot be had); inflated text chunks are capped at
// PngMaxTextSize (a larger one loads with an empty text). A failed load leaves the chunks read so
// far; every operation stays safe on such an image.
//
// TPNGObject is a graphic of the class library: pictures hold it, canvases draw it, and form data
// naming "TPNGObject" reaches it through the picture registry once RegisterPngGraphic has run.

#include "png/PngErrors.h"
#include "png/PngImageStorage.h"

#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TStream;
class TPNGObject;

inline constexpr std::size_t PngMaxTextSize = std::size_t{8} << 20;

enum TPNGColorType : std::uint8_t {
    COLOR_GRAYSCALE = 0,
    COLOR_RGB = 2,
    COLOR_PALETTE = 3,
    COLOR_GRAYSCALEALPHA = 4,
    COLOR_RGBALPHA = 6,
};

enum class TInterlaceMethod { imNone, imAdam7 };
enum class TFilter : std::uint8_t { pfNone, pfSub, pfUp, pfAverage, pfPaeth };
enum class TTransparencyKind { tkNone, tkSingleColor, tkPartial };

// A set of row filters.
class TFilters {
public:
    constexpr TFilters() = default;
    constexpr TFilters(std::initializer_list<TFilter> filters)
    {
        for (TFilter filter : filters)
            m_bits = static_cast<std::uint8_t>(m_bits | Bit(filter));
    }
    [[nodiscard]] constexpr bool Contains(TFilter filter) const { return (m_bits & Bit(filter)) != 0; }
    [[nodiscard]] constexpr bool Empty() const { return m_bits == 0; }
    [[nodiscard]] int Count() const;
    [[nodiscard]] constexpr bool operator==(const TFilters&) const = default;

private:
    static constexpr std::uint8_t Bit(TFilter filter) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(filter)); }
    std::uint8_t m_bits = 0;
};

// One chunk: its four-character name and its data. Subclasses interpret the data; a plain TChunk
// keeps the bytes of a chunk no class is registered for and writes them back unchanged.
class TChunk {
public:
    explicit TChunk(TPNGObject& owner);
    virtual ~TChunk();
    TChunk(const TChunk&) = delete;
    TChunk& operator=(const TChunk&) = delete;

    // The registered name of the class ("" for the plain chunk).
    [[nodiscard]] virtual std::string_view ChunkTypeName() const { return {}; }
    // A new chunk of the same class owned by `owner`.
    [[nodiscard]] virtual std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const;
    virtual void Assign(const TChunk& source);
    // Reads `size` data bytes and the CRC that follows the name already read.
    virtual bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size);
    virtual bool SaveToStream(TStream& stream);

    [[nodiscard]] const std::string& Name() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    [[nodiscard]] std::uint8_t* Data() { return m_data.data(); }
    [[nodiscard]] const std::uint8_t* Data() const { return m_data.data(); }
    [[nodiscard]] std::size_t DataSize() const { return m_data.size(); }
    void SetDataSize(std::size_t size);
    [[nodiscard]] TPNGObject& Owner() const { return m_owner; }

protected:
    // Length, name, data and CRC as they are now.
    bool WriteFramed(TStream& stream);
    // The image's header; raises EPNGHeaderNotPresent without one.
    [[nodiscard]] class TChunkIHDR& Header() const;

private:
    TPNGObject& m_owner;
    std::string m_name;
    std::vector<std::uint8_t> m_data;
};

class TChunkIEND : public TChunk {
public:
    explicit TChunkIEND(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "IEND"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
};

// The header: the image's geometry and format, and the decoded image itself.
class TChunkIHDR : public TChunk {
public:
    explicit TChunkIHDR(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "IHDR"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size) override;
    bool SaveToStream(TStream& stream) override;

    // Makes zeroed storage for the current fields (EPNGOutMemory when it cannot be had).
    void PrepareImageStorage();
    void ReleaseImageStorage() { m_storage.Release(); }

    [[nodiscard]] std::uint32_t Width() const { return m_width; }
    void SetWidth(std::uint32_t value) { m_width = value; }
    [[nodiscard]] std::uint32_t Height() const { return m_height; }
    void SetHeight(std::uint32_t value) { m_height = value; }
    [[nodiscard]] std::uint8_t BitDepth() const { return m_bitDepth; }
    void SetBitDepth(std::uint8_t value) { m_bitDepth = value; }
    [[nodiscard]] std::uint8_t ColorType() const { return m_colorType; }
    void SetColorType(std::uint8_t value) { m_colorType = value; }
    [[nodiscard]] std::uint8_t CompressionMethod() const { return m_compressionMethod; }
    [[nodiscard]] std::uint8_t FilterMethod() const { return m_filterMethod; }
    [[nodiscard]] std::uint8_t InterlaceMethod() const { return m_interlaceMethod; }

    [[nodiscard]] TImageStorage& Storage() { return m_storage; }
    [[nodiscard]] const TImageStorage& Storage() const { return m_storage; }

private:
    void ReadFields();
    void CheckFields() const;
    // The storage holds 2-bit images with 4 bits per pixel and they are written that way.
    void WidenTwoBitDepth();

    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::uint8_t m_bitDepth = 0;
    std::uint8_t m_colorType = 0;
    std::uint8_t m_compressionMethod = 0;
    std::uint8_t m_filterMethod = 0;
    std::uint8_t m_interlaceMethod = 0;
    TImageStorage m_storage;
};

// Image data. Loading the first IDAT chunk decodes the whole run of image data into the header's
// storage; saving writes the whole image as a run of IDAT chunks.
class TChunkIDAT : public TChunk {
public:
    explicit TChunkIDAT(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "IDAT"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
    bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size) override;
    bool SaveToStream(TStream& stream) override;
};

class TChunkPLTE : public TChunk {
public:
    explicit TChunkPLTE(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "PLTE"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size) override;
    bool SaveToStream(TStream& stream) override;

    [[nodiscard]] unsigned EntryCount() const { return m_entryCount; }
    void SetEntryCount(unsigned value) { m_entryCount = value; }
    // Raises EPngError for an index at or past EntryCount.
    [[nodiscard]] TPngColorEntry PaletteEntry(unsigned index) const;

private:
    unsigned m_entryCount = 0;
};

class TChunktRNS : public TChunk {
public:
    explicit TChunktRNS(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "tRNS"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size) override;
    bool SaveToStream(TStream& stream) override;

    // Per palette index, or the key colour's 16-bit big-endian samples for grey and RGB images.
    [[nodiscard]] const std::array<std::uint8_t, 256>& AlphaTable() const { return m_alphaTable; }
    [[nodiscard]] bool SingleTransparentEntry() const { return m_singleTransparentEntry; }
    // The transparent colour as the stored pixels show it.
    [[nodiscard]] TColor KeyColor() const;
    void SetKeyColor(TColor color);
    // A 2-bit grey key follows the image to 4 bits per sample.
    void WidenGreyKey(unsigned factor);

private:
    [[nodiscard]] unsigned Sample(unsigned index) const;
    void SetSample(unsigned index, unsigned value);
    [[nodiscard]] std::uint8_t SampleToLevel(unsigned sample) const;
    [[nodiscard]] unsigned LevelToSample(std::uint8_t level) const;
    void SetPaletteKey(TColor color);
    void WriteKeyAsPixelsAreWritten();

    std::array<std::uint8_t, 256> m_alphaTable{};
    bool m_singleTransparentEntry = false;
};

class TChunkgAMA : public TChunk {
public:
    explicit TChunkgAMA(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "gAMA"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size) override;

    // The image gamma times 100000.
    [[nodiscard]] std::uint32_t GammaValue() const;
    void SetGammaValue(std::uint32_t value);
};

class TChunktIME : public TChunk {
public:
    explicit TChunktIME(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "tIME"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size) override;
    bool SaveToStream(TStream& stream) override;

    [[nodiscard]] std::uint16_t Year() const { return m_year; }
    void SetYear(std::uint16_t value) { m_year = value; }
    [[nodiscard]] std::uint8_t Month() const { return m_month; }
    void SetMonth(std::uint8_t value) { m_month = value; }
    [[nodiscard]] std::uint8_t Day() const { return m_day; }
    void SetDay(std::uint8_t value) { m_day = value; }
    [[nodiscard]] std::uint8_t Hour() const { return m_hour; }
    void SetHour(std::uint8_t value) { m_hour = value; }
    [[nodiscard]] std::uint8_t Minute() const { return m_minute; }
    void SetMinute(std::uint8_t value) { m_minute = value; }
    [[nodiscard]] std::uint8_t Second() const { return m_second; }
    void SetSecond(std::uint8_t value) { m_second = value; }

private:
    std::uint16_t m_year = 0;
    std::uint8_t m_month = 0;
    std::uint8_t m_day = 0;
    std::uint8_t m_hour = 0;
    std::uint8_t m_minute = 0;
    std::uint8_t m_second = 0;
};

// Text: keyword, a zero byte, the text. Data without a zero byte is kept and written back as read.
class TChunktEXt : public TChunk {
public:
    explicit TChunktEXt(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "tEXt"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size) override;
    bool SaveToStream(TStream& stream) override;

    [[nodiscard]] const std::string& Keyword() const { return m_keyword; }
    void SetKeyword(const std::string& value);
    [[nodiscard]] const std::string& Text() const { return m_text; }
    void SetText(const std::string& value);

protected:
    // The length of the keyword when the data holds its terminating zero byte.
    [[nodiscard]] std::size_t KeywordEnd() const;
    void ParseKeyword();

    std::string m_keyword;
    std::string m_text;
    bool m_parsed = false;
};

// Compressed text: keyword, a zero byte, the method byte 0, the deflated text.
class TChunkzTXt : public TChunktEXt {
public:
    explicit TChunkzTXt(TPNGObject& owner);
    [[nodiscard]] std::string_view ChunkTypeName() const override { return "zTXt"; }
    [[nodiscard]] std::unique_ptr<TChunk> NewInstance(TPNGObject& owner) const override;
    bool LoadFromStream(TStream& stream, const std::string& name, std::size_t size) override;
    bool SaveToStream(TStream& stream) override;
};

// The image's chunks in file order, owned.
class TPNGList {
public:
    [[nodiscard]] std::size_t Count() const { return m_items.size(); }
    // Nothing outside 0 .. Count - 1.
    [[nodiscard]] TChunk* Item(std::size_t index) const;
    TChunk& Add(std::unique_ptr<TChunk> chunk);
    void Clear() { m_items.clear(); }

    // The first chunk that is a T or derives from it.
    template <class T>
    [[nodiscard]] T* ItemFromClass() const
    {
        for (const auto& item : m_items)
            if (auto* found = dynamic_cast<T*>(item.get()))
                return found;
        return nullptr;
    }

private:
    std::vector<std::unique_ptr<TChunk>> m_items;
};

struct TPixelLayout {
    std::size_t RowBytes = 0;
    std::size_t FilterDistance = 0;
};

using TGammaTable = std::array<std::uint8_t, 256>;

class TPNGObject : public TGraphic {
    CLASSLIB_DECLARE_CLASS;

    TPNGObject();
    ~TPNGObject() override;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // From a TPNGObject: CopyFromImage. From a TBitmap: LoadFromBitmapHandle with the bitmap's
    // transparency and transparent colour.
    void Assign(const TPersistent* source) override;

    [[nodiscard]] int Width() const override;
    [[nodiscard]] int Height() const override;
    // Raise EPngError: an image is resized by assigning it from a bitmap.
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    [[nodiscard]] bool Empty() const override { return m_chunks.Count() == 0; }
    [[nodiscard]] bool Transparent() const override { return TransparencyKind() != TTransparencyKind::tkNone; }
    // A 256-entry palette of the colour table for greyscale and palette images (cached, owned by
    // the image); none for the others.
    [[nodiscard]] HPALETTE Palette() override;
    // Draws the image into `rect` of the canvas: stretched when opaque or colour-keyed, at its
    // own size at rect's top-left when blended.
    void Draw(TCanvas& canvas, const TRect& rect) override;
    // The same onto a device context.
    void DrawOnDC(HDC dc, const TRect& rect) const;

    // The image drawn onto a bitmap of its size (blended over white) goes to the clipboard as
    // that bitmap does; a bitmap read from the clipboard becomes the image, without transparency.
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;

    // Replaces the image with the pixels of `bitmap`: a palette image below 16 bits per pixel,
    // RGB otherwise; with `transparent`, `keyColor` becomes the transparent colour.
    void LoadFromBitmapHandle(HBITMAP bitmap, bool transparent, TColor keyColor);

    [[nodiscard]] bool HasHeader() const;
    // Raises EPNGHeaderNotPresent without one.
    [[nodiscard]] TChunkIHDR& HeaderChunk() const;
    [[nodiscard]] TTransparencyKind TransparencyKind() const;
    [[nodiscard]] TColor TransparentKeyColor() const;

    // 0 outside the image.
    [[nodiscard]] TColor PixelColor(int x, int y) const;
    // Ignored outside the image; the alpha plane never changes.
    void SetPixelColor(int x, int y, TColor color);
    // Image row y in the storage; nothing when there is no storage or y is outside.
    [[nodiscard]] std::uint8_t* RowPointer(int y) const;

    void CopyFromImage(const TPNGObject& source);
    void ClearChunkList();
    [[nodiscard]] TPixelLayout PixelLayout() const;
    // Forgets the cached palette; the image storage calls it whenever it is rebuilt.
    void DiscardPalette();

    [[nodiscard]] TPNGList& Chunks() { return m_chunks; }
    [[nodiscard]] const TPNGList& Chunks() const { return m_chunks; }

    [[nodiscard]] TFilters RowFilters() const { return m_rowFilters; }
    void SetRowFilters(TFilters value) { m_rowFilters = value; }
    [[nodiscard]] int DeflateLevel() const { return m_deflateLevel; }
    void SetDeflateLevel(int value);
    [[nodiscard]] TInterlaceMethod Interlacing() const { return m_interlacing; }
    void SetInterlacing(TInterlaceMethod value) { m_interlacing = value; }
    [[nodiscard]] std::size_t ImageChunkSize() const { return m_imageChunkSize; }
    void SetImageChunkSize(std::size_t value);

    [[nodiscard]] TGammaTable& GammaTable() { return m_gamma; }
    [[nodiscard]] const TGammaTable& GammaTable() const { return m_gamma; }
    [[nodiscard]] TGammaTable& InverseGamma() { return m_inverseGamma; }
    [[nodiscard]] const TGammaTable& InverseGamma() const { return m_inverseGamma; }
    void ResetGammaTables();

    // To a TPNGObject: a copy. To a TBitmap: a bitmap of the image's pixels in the storage's
    // format, transparent with the key colour when the image has a single transparent colour.
    // Public because a bitmap assigned from any graphic draws it rather than asking it.
    void AssignTo(TPersistent* dest) const override;

private:
    void LoadChunks(TStream& stream);
    [[nodiscard]] const TImageStorage* PixelStorage(int x, int y) const;
    void AssignToBitmap(TBitmap& bitmap) const;

    TPNGList m_chunks;
    TFilters m_rowFilters{TFilter::pfSub};
    int m_deflateLevel = 7;
    TInterlaceMethod m_interlacing = TInterlaceMethod::imNone;
    std::size_t m_imageChunkSize = 65535;
    TGammaTable m_gamma{};
    TGammaTable m_inverseGamma{};
    GdiObject<HPALETTE> m_palette;
};

// Registers TPNGObject with the picture registry (extension "png", "Portable Network Graphics")
// and the class registry, so pictures in form data naming it load through it. Programs call it
// at start-up; calling it again is harmless.
void RegisterPngGraphic();
void UnregisterPngGraphic();

// Bytes a row of n pixels takes in the file; 0 for an unknown colour type.
[[nodiscard]] std::size_t BytesForPixels(std::size_t n, std::uint8_t colorType, std::uint8_t bitDepth);

// The chunk classes by name. Registered at start: IEND, IHDR, IDAT, PLTE, gAMA, tRNS, tIME, tEXt, zTXt.
using TChunkFactory = std::unique_ptr<TChunk> (*)(TPNGObject& owner);
void RegisterChunkClass(std::string_view name, TChunkFactory factory);
// A chunk of the first class registered under `name` (case matters), else a plain TChunk; named `name`.
[[nodiscard]] std::unique_ptr<TChunk> ChunkClassForName(TPNGObject& image, const std::string& name);
