#include "png/PngCodec.h"
#include "png/tests/PngTestSupport.h"

#include "platform/classlib/core/Streams.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <functional>
#include <typeinfo>

namespace {

// A 2 x 2 8-bit grey image: rows (10, 20) and (30, 40), unfiltered.
const TBytes GreyRows = {0, 10, 20, 0, 30, 40};

TBytes GreyImage()
{
    return TPngBuilder().Signature().Header(2, 2, 8, COLOR_GRAYSCALE).ImageData(GreyRows).End().Bytes();
}

TBytes WithHeaderData(const TBytes& ihdr)
{
    return TPngBuilder().Signature().Chunk("IHDR", ihdr).ImageData(GreyRows).End().Bytes();
}

TBytes HeaderData(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colorType,
                  std::uint8_t compression = 0, std::uint8_t interlace = 0)
{
    TBytes data = BigEndian32(width);
    const TBytes h = BigEndian32(height);
    data.insert(data.end(), h.begin(), h.end());
    data.insert(data.end(), {depth, colorType, compression, 0, interlace});
    return data;
}

std::string LoadError(const TBytes& file)
{
    TPNGObject image;
    try {
        LoadFromBytes(image, file);
    } catch (const Exception& error) {
        return typeid(error).name();
    }
    return "loaded";
}

template <class E>
std::string Name()
{
    return typeid(E).name();
}

TEST(PngLoad, RefusesMalformedFilesWithTheMatchingError)
{
    const TBytes image = GreyImage();
    TBytes noEnd = TPngBuilder().Signature().Header(2, 2, 8, 0).ImageData(GreyRows).Bytes();
    TBytes badSecondCrc = TPngBuilder().Signature().Header(2, 2, 8, 0).ImageData(GreyRows, {4}).End().Bytes();
    badSecondCrc[8 + 25 + 16 + 8 + 4 + 3] ^= 1; // the second IDAT chunk's last data byte
    const TBytes dictionary = {0, 10, 20, 0, 30, 40};
    TBytes fdict = Deflate(dictionary);
    // Flags with the preset-dictionary bit and a valid header check.
    const int flags = (fdict[1] & 0xC0) | 0x20;
    fdict[1] = static_cast<std::uint8_t>(flags + (31 - (fdict[0] * 256 + flags) % 31) % 31);
    TBytes corrupt = Deflate(GreyRows);
    corrupt[2] = 0xFF;

    const struct {
        const char* What;
        TBytes File;
        std::string Error;
    } cases[] = {
        {"no signature", TBytes(image.begin() + 1, image.end()), Name<EPNGInvalidFileHeader>()},
        {"first chunk not IHDR", TPngBuilder().Signature().Chunk("gAMA", BigEndian32(45455)).Bytes(),
         Name<EPNGIHDRNotFirst>()},
        {"IHDR of 12 bytes", WithHeaderData(TBytes(12, 1)), Name<EPngInvalidIHDR>()},
        {"width 65536", WithHeaderData(HeaderData(65536, 1, 8, 0)), Name<EPNGSizeExceeds>()},
        {"height 65536", WithHeaderData(HeaderData(1, 65536, 8, COLOR_RGBALPHA)), Name<EPNGSizeExceeds>()},
        {"width 2^31 - 1", WithHeaderData(HeaderData(0x7FFFFFFF, 0x7FFFFFFF, 16, COLOR_RGBALPHA)),
         Name<EPNGSizeExceeds>()},
        {"width 0", WithHeaderData(HeaderData(0, 2, 8, 0)), Name<EPngInvalidIHDR>()},
        {"height 0", WithHeaderData(HeaderData(2, 0, 8, 0)), Name<EPngInvalidIHDR>()},
        {"RGB of 4 bits", WithHeaderData(HeaderData(2, 2, 4, COLOR_RGB)), Name<EPngInvalidIHDR>()},
        {"palette of 16 bits", WithHeaderData(HeaderData(2, 2, 16, COLOR_PALETTE)), Name<EPngInvalidIHDR>()},
        {"compression 1", WithHeaderData(HeaderData(2, 2, 8, 0, 1)), Name<EPNGUnknownCompression>()},
        {"interlace 2", WithHeaderData(HeaderData(2, 2, 8, 0, 0, 2)), Name<EPNGUnknownInterlace>()},
        {"no image data", TPngBuilder().Signature().Header(2, 2, 8, 0).End().Bytes(), Name<EPNGNoImageData>()},
        {"unknown critical chunk",
         TPngBuilder().Signature().Header(2, 2, 8, 0).Chunk("ABCD", {1}).ImageData(GreyRows).End().Bytes(),
         Name<EPNGUnknownCriticalChunk>()},
        {"no IEND", noEnd, Name<EPngUnexpectedEnd>()},
        {"chunk length 0xFFFFFFF0",
         TPngBuilder().Signature().Header(2, 2, 8, 0).Raw(BigEndian32(0xFFFFFFF0)).Raw({'a', 'b', 'C', 'D'}).Bytes(),
         Name<EPngUnexpectedEnd>()},
        {"chunk longer than the file",
         TPngBuilder().Signature().Header(2, 2, 8, 0).Raw(BigEndian32(1000)).Raw({'a', 'b', 'C', 'D', 0, 0}).Bytes(),
         Name<EPngUnexpectedEnd>()},
        {"IDAT longer than the file",
         TPngBuilder().Signature().Header(2, 2, 8, 0).Raw(BigEndian32(1000)).Raw({'I', 'D', 'A', 'T', 0}).Bytes(),
         Name<EPngUnexpectedEnd>()},
        {"bad CRC in the second IDAT", badSecondCrc, Name<EPngInvalidCRC>()},
        {"image data broken by another chunk",
         [] {
             const TBytes compressed = Deflate(GreyRows);
             return TPngBuilder()
                 .Signature()
                 .Header(2, 2, 8, 0)
                 .Chunk("IDAT", TBytes(compressed.begin(), compressed.begin() + 4))
                 .Chunk("tEXt", {'a', 0, 'b'})
                 .Chunk("IDAT", TBytes(compressed.begin() + 4, compressed.end()))
                 .End()
                 .Bytes();
         }(),
         Name<EPNGMissingMultipleIDAT>()},
        {"corrupt compressed data", TPngBuilder().Signature().Header(2, 2, 8, 0).Chunk("IDAT", corrupt).End().Bytes(),
         Name<EPNGZLIBError>()},
        {"preset dictionary", TPngBuilder().Signature().Header(2, 2, 8, 0).Chunk("IDAT", fdict).End().Bytes(),
         Name<EPNGZLIBError>()},
        {"palette of 10 bytes",
         TPngBuilder().Signature().Header(2, 2, 8, 3).Chunk("PLTE", TBytes(10)).ImageData(GreyRows).End().Bytes(),
         Name<EPNGInvalidPalette>()},
        {"palette of 257 entries",
         TPngBuilder().Signature().Header(2, 2, 8, 3).Chunk("PLTE", TBytes(771)).ImageData(GreyRows).End().Bytes(),
         Name<EPNGInvalidPalette>()},
        {"tRNS of 257 bytes",
         TPngBuilder().Signature().Header(2, 2, 8, 3).Chunk("tRNS", TBytes(257)).ImageData(GreyRows).End().Bytes(),
         Name<EPNGInvalidPalette>()},
    };
    for (const auto& test : cases)
        EXPECT_EQ(LoadError(test.File), test.Error) << test.What;
}

TEST(PngLoad, LargeImagesUpToTheSideLimitDecode)
{
    // Sides past 32767 and more than 2^26 pixels, in formats whose storage stays small.
    const struct {
        const char* What;
        std::uint32_t Width;
        std::uint32_t Height;
        std::uint8_t Depth;
        std::uint8_t ColorType;
    } cases[] = {
        {"40000 x 1 RGB", 40000, 1, 8, COLOR_RGB},
        {"1 x 40000 grey and alpha", 1, 40000, 8, COLOR_GRAYSCALEALPHA},
        {"65535 x 1100 of 1 bit", 65535, 1100, 1, COLOR_GRAYSCALE},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.What);
        const int channels = test.ColorType == COLOR_RGB ? 3 : test.ColorType == COLOR_GRAYSCALEALPHA ? 2 : 1;
        const std::size_t rowBytes = (std::size_t{test.Width} * test.Depth * channels + 7) / 8;
        TBytes rows((rowBytes + 1) * test.Height, 0);
        // The last byte of the image turns on the bottom-right pixel's last sample.
        rows.back() = 0xFF;
        TPNGObject image;
        ASSERT_NO_THROW(LoadFromBytes(image, TPngBuilder()
                                                 .Signature()
                                                 .Header(test.Width, test.Height, test.Depth, test.ColorType)
                                                 .ImageData(rows)
                                                 .End()
                                                 .Bytes()));
        EXPECT_EQ(image.Width(), static_cast<int>(test.Width));
        EXPECT_EQ(image.Height(), static_cast<int>(test.Height));
        const int right = static_cast<int>(test.Width) - 1, bottom = static_cast<int>(test.Height) - 1;
        const TColor expected = test.ColorType == COLOR_RGB ? 0xFF0000 : test.ColorType == COLOR_GRAYSCALE ? 0xFFFFFF : 0;
        EXPECT_EQ(image.PixelColor(right, bottom), expected);
        if (test.ColorType == COLOR_GRAYSCALEALPHA) {
            EXPECT_EQ(image.HeaderChunk().Storage().AlphaRow(test.Height - 1)[0], 0xFF);
        }
    }
}

TEST(PngLoad, ErrorsCarryTheirTexts)
{
    TPNGObject image;
    TBytes corrupt = Deflate(GreyRows);
    corrupt[2] = 0xFF;
    try {
        LoadFromBytes(image, TPngBuilder().Signature().Header(2, 2, 8, 0).Chunk("IDAT", corrupt).End().Bytes());
        FAIL() << "loaded";
    } catch (const EPNGZLIBError& error) {
        EXPECT_EQ(error.Message().rfind("Could not decompress the image because it contains invalid compressed "
                                        "data.\r\n Description: ",
                                        0),
                  0u);
        EXPECT_NE(error.Message().find(zError(Z_DATA_ERROR)), std::string::npos);
    }
    EXPECT_THROW((void)image.SetWidth(3), EPngError);
    try {
        TPNGObject().SetHeight(1);
    } catch (const EPngError& error) {
        EXPECT_EQ(error.Message(), "The \"Portable Network Graphics\" image can not be resize by changing width "
                                   "and height properties. Try assigning the image from a bitmap.");
    }
    EXPECT_THROW((void)TPNGObject().HeaderChunk(), EPNGHeaderNotPresent);
}

TEST(PngLoad, ABadSignatureLeavesTheImageEmpty)
{
    TPNGObject image;
    LoadFromBytes(image, GreyImage());
    TBytes broken = GreyImage();
    broken[0] = 0;
    EXPECT_THROW(LoadFromBytes(image, broken), EPNGInvalidFileHeader);
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.Width(), 0);
}

TEST(PngLoad, AFailedLoadLeavesAnImageThatIsSafeToUse)
{
    TBytes truncated = TPngBuilder().Signature().Header(4, 4, 8, COLOR_RGBALPHA).Bytes();
    TPNGObject image;
    EXPECT_THROW(LoadFromBytes(image, truncated), EPngUnexpectedEnd);
    EXPECT_EQ(image.PixelColor(0, 0), 0);
    image.SetPixelColor(0, 0, 0xFFFFFF);
    (void)SaveToBytes(image);
}

TEST(PngLoad, ImageDataSplitOverManyChunksDecodesAsOne)
{
    TPNGObject whole;
    LoadFromBytes(whole, GreyImage());
    TPNGObject split;
    // The decoder gathers the whole run at once; the chunk after it is still the loader's to read.
    LoadFromBytes(split, TPngBuilder()
                             .Signature()
                             .Header(2, 2, 8, 0)
                             .ImageData(GreyRows, {1, 3, 2})
                             .Chunk("tEXt", {'a', 0, 'b'})
                             .End()
                             .Bytes());
    EXPECT_TRUE(PixelsOf(whole) == PixelsOf(split));
    EXPECT_EQ(split.PixelColor(1, 1), 0x282828);
    ASSERT_NE(split.Chunks().ItemFromClass<TChunktEXt>(), nullptr);
    EXPECT_EQ(split.Chunks().ItemFromClass<TChunktEXt>()->Text(), "b");
    // However many chunks were read, a save writes one run.
    const TBytes saved = SaveToBytes(split);
    int runs = 0;
    for (std::size_t at = 8; at < saved.size();) {
        const std::uint32_t length = (saved[at] << 24) | (saved[at + 1] << 16) | (saved[at + 2] << 8) | saved[at + 3];
        runs += std::string(saved.begin() + at + 4, saved.begin() + at + 8) == "IDAT";
        at += 12 + length;
    }
    EXPECT_EQ(runs, 1);
}

TEST(PngLoad, DataAfterTheLastRowInALongChunkCountsForItsCrc)
{
    // The compressed stream ends well inside an IDAT chunk longer than one 65535-byte read.
    TBytes data = Deflate(GreyRows);
    data.resize(data.size() + 70000, 0);
    TPNGObject image;
    ASSERT_NO_THROW(LoadFromBytes(image, TPngBuilder().Signature().Header(2, 2, 8, 0).Chunk("IDAT", data).End().Bytes()));
    EXPECT_EQ(image.PixelColor(0, 1), 0x1E1E1E);
    ASSERT_EQ(image.Chunks().Count(), 3u);
    EXPECT_EQ(image.Chunks().Item(2)->Name(), "IEND");
}

TEST(PngLoad, CompressedDataEndingBeforeTheLastRowLoadsWhatItHas)
{
    TBytes data = Deflate(TBytes(GreyRows.begin(), GreyRows.begin() + 3));
    data.insert(data.end(), {1, 2, 3, 4, 5});
    TPNGObject image;
    ASSERT_NO_THROW(LoadFromBytes(image, TPngBuilder().Signature().Header(2, 2, 8, 0).Chunk("IDAT", data).End().Bytes()));
    EXPECT_EQ(image.PixelColor(1, 0), 0x141414);
    EXPECT_EQ(image.PixelColor(1, 1), 0);
}

TEST(PngLoad, UnknownAncillaryChunksAreKeptAndCHRMIsDropped)
{
    const TBytes file = TPngBuilder()
                            .Signature()
                            .Header(2, 2, 8, 0)
                            .Chunk("cHRM", TBytes(32, 7))
                            .Chunk("abCD", {1, 2, 3})
                            .ImageData(GreyRows)
                            .Chunk("IDAT", {9, 9})
                            .End()
                            .Bytes();
    TPNGObject image;
    LoadFromBytes(image, file);
    std::string names;
    for (std::size_t i = 0; i < image.Chunks().Count(); ++i)
        names += image.Chunks().Item(i)->Name() + " ";
    EXPECT_EQ(names, "IHDR abCD IDAT IEND ");
    const TBytes saved = SaveToBytes(image);
    const TBytes expected = TPngBuilder().Chunk("abCD", {1, 2, 3}).Bytes();
    EXPECT_NE(std::search(saved.begin(), saved.end(), expected.begin(), expected.end()), saved.end());
}

TEST(PngLoad, UnknownFilterTypesLeaveTheRowAsItIs)
{
    TPNGObject image;
    LoadFromBytes(image, TPngBuilder().Signature().Header(2, 1, 8, 0).ImageData({5, 10, 20}).End().Bytes());
    EXPECT_EQ(image.PixelColor(1, 0), 0x141414);
}

TEST(PngSave, AnEmptyImageWritesTheSignatureAlone)
{
    TPNGObject image;
    EXPECT_EQ(SaveToBytes(image), (TBytes{137, 80, 78, 71, 13, 10, 26, 10}));
}

TEST(PngSave, ImageDataIsCutIntoChunksOfTheChosenSize)
{
    // 300 x 300 RGB of varied bytes, stored uncompressed: well over two chunks of 65535 bytes.
    const std::uint32_t width = 300, height = 300;
    TBytes rows;
    for (std::uint32_t y = 0; y < height; ++y) {
        rows.push_back(0);
        for (std::uint32_t x = 0; x < width * 3; ++x)
            rows.push_back(static_cast<std::uint8_t>(x * 7 + y * 13));
    }
    TPNGObject image;
    LoadFromBytes(image, TPngBuilder().Signature().Header(width, height, 8, COLOR_RGB).ImageData(rows).End().Bytes());
    image.SetDeflateLevel(0);
    image.SetImageChunkSize(1000);
    EXPECT_EQ(image.ImageChunkSize(), 65535u);
    const TBytes saved = SaveToBytes(image);
    std::vector<std::uint32_t> sizes;
    TBytes compressed;
    for (std::size_t at = 8; at < saved.size();) {
        const std::uint32_t length = (saved[at] << 24) | (saved[at + 1] << 16) | (saved[at + 2] << 8) | saved[at + 3];
        if (std::string(saved.begin() + at + 4, saved.begin() + at + 8) == "IDAT") {
            sizes.push_back(length);
            compressed.insert(compressed.end(), saved.begin() + at + 8, saved.begin() + at + 8 + length);
        }
        at += 12 + length;
    }
    ASSERT_GE(sizes.size(), 3u);
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i)
        EXPECT_EQ(sizes[i], 65535u);
    EXPECT_LE(sizes.back(), 65535u);
    TBytes inflated(rows.size() + 1);
    uLongf inflatedSize = inflated.size();
    ASSERT_EQ(uncompress(inflated.data(), &inflatedSize, compressed.data(), compressed.size()), Z_OK);
    EXPECT_EQ(inflatedSize, rows.size());
}

// Samples of 16-bit files as big-endian bytes, for building them.
TBytes Samples16(std::initializer_list<unsigned> values)
{
    TBytes bytes;
    for (unsigned value : values)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
    return bytes;
}

TBytes Prepended(std::uint8_t first, TBytes rest)
{
    rest.insert(rest.begin(), first);
    return rest;
}

TEST(PngSave, SixteenBitImagesKeepTheirLevelsAndTheirKeyInOtherDecoders)
{
    // The codec holds the high byte of a 16-bit sample; other decoders see every saved sample as
    // that byte widened (v x 257), and the key still matching the pixels that had it.
    const struct {
        const char* What;
        std::uint8_t ColorType;
        TBytes Row;
        TBytes Key;
        std::vector<std::uint16_t> Expected;
    } cases[] = {
        {"grey with a key", COLOR_GRAYSCALE, Samples16({0x1234, 0xFFFF, 0x8001}), Samples16({0x1234}),
         {0x1212, 0x1212, 0x1212, 0, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0x8080, 0x8080, 0x8080, 0xFFFF}},
        {"RGB with a key", COLOR_RGB, Samples16({0x1234, 0x5678, 0x9ABC, 0xFFFF, 0xFFFF, 0xFFFF, 0x1234, 0x5678, 0x0000}),
         Samples16({0x1234, 0x5678, 0x9ABC}),
         {0x1212, 0x5656, 0x9A9A, 0, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0x1212, 0x5656, 0x0000, 0xFFFF}},
        {"grey and alpha", COLOR_GRAYSCALEALPHA, Samples16({0xFFFF, 0xFFFF, 0x4000, 0xFEFF}), {},
         {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0x4040, 0x4040, 0x4040, 0xFEFE}},
        {"RGBA", COLOR_RGBALPHA, Samples16({0xFFFF, 0x0000, 0x7FFF, 0xFFFF, 0x0102, 0x0304, 0x0506, 0x0000}), {},
         {0xFFFF, 0x0000, 0x7F7F, 0xFFFF, 0x0101, 0x0303, 0x0505, 0x0000}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.What);
        const auto width = static_cast<std::uint32_t>(test.Expected.size() / 4);
        TPngBuilder file;
        file.Signature().Header(width, 1, 16, test.ColorType);
        if (!test.Key.empty())
            file.Chunk("tRNS", test.Key);
        TPNGObject image;
        LoadFromBytes(image, file.ImageData(Prepended(0, test.Row)).End().Bytes());
        EXPECT_EQ(DecodeWithSpng16(SaveToBytes(image)), test.Expected);
    }
}

TEST(PngSave, ASixteenBitKeyChosenByColourMatchesItsPixels)
{
    TPNGObject image;
    LoadFromBytes(image, TPngBuilder()
                             .Signature()
                             .Header(2, 1, 16, COLOR_RGB)
                             .Chunk("tRNS", Samples16({0xFFFF, 0xFFFF, 0xFFFF}))
                             .ImageData(Prepended(0, Samples16({0xFFFF, 0xFFFF, 0xFFFF, 0x0000, 0x8000, 0x0000})))
                             .End()
                             .Bytes());
    image.Chunks().ItemFromClass<TChunktRNS>()->SetKeyColor(0x008000);
    const std::vector<std::uint16_t> expected = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0, 0x8080, 0, 0};
    EXPECT_EQ(DecodeWithSpng16(SaveToBytes(image)), expected);
}

TEST(PngPixels, AccessStaysInsideTheImage)
{
    TPNGObject image;
    LoadFromBytes(image, GreyImage());
    EXPECT_EQ(image.PixelColor(2, 0), 0);
    EXPECT_EQ(image.PixelColor(0, -1), 0);
    image.SetPixelColor(2, 0, 0xFFFFFF);
    image.SetPixelColor(-1, 0, 0xFFFFFF);
    EXPECT_EQ(image.PixelColor(1, 0), 0x141414);
    EXPECT_EQ(image.RowPointer(2), nullptr);
}

TEST(PngPixels, LowDepthGreysReadAsFullLevelsAndTwoBitsAreHeldAsFour)
{
    // 2-bit grey row 0 1 2 3.
    TPNGObject image;
    LoadFromBytes(image, TPngBuilder().Signature().Header(4, 1, 2, 0).ImageData({0, 0x1B}).End().Bytes());
    EXPECT_EQ(image.HeaderChunk().Storage().BitsPerPixel(), 4u);
    EXPECT_EQ(image.PixelColor(0, 0), 0x000000);
    EXPECT_EQ(image.PixelColor(1, 0), 0x555555);
    EXPECT_EQ(image.PixelColor(3, 0), 0xFFFFFF);
    const TBytes saved = SaveToBytes(image);
    EXPECT_EQ(saved[8 + 8 + 8], 4) << "saved with bit depth 4";
    TPNGObject reloaded;
    LoadFromBytes(reloaded, saved);
    EXPECT_TRUE(PixelsOf(image) == PixelsOf(reloaded));
}

TEST(PngPixels, WritingPicksTheNearestColourTheBitFieldCanHold)
{
    // 1-bit palette of four entries: only indexes 0 and 1 fit a pixel.
    TPNGObject image;
    LoadFromBytes(image, TPngBuilder()
                             .Signature()
                             .Header(8, 1, 1, COLOR_PALETTE)
                             .Chunk("PLTE", {0, 0, 0, 255, 255, 255, 250, 0, 0, 255, 0, 0})
                             .ImageData({0, 0xFF})
                             .End()
                             .Bytes());
    image.SetPixelColor(3, 0, 0x0000FF);
    EXPECT_EQ(image.RowPointer(0)[0], 0xEF);
    EXPECT_EQ(image.PixelColor(3, 0), 0);
    EXPECT_EQ(image.PixelColor(4, 0), 0xFFFFFF);
}

TEST(PngPixels, IndexesPastThePaletteReadAsBlack)
{
    TPNGObject image;
    LoadFromBytes(image, TPngBuilder()
                             .Signature()
                             .Header(2, 1, 8, COLOR_PALETTE)
                             .Chunk("PLTE", {10, 20, 30})
                             .Chunk("tRNS", {128})
                             .ImageData({0, 0, 5})
                             .End()
                             .Bytes());
    EXPECT_EQ(image.PixelColor(0, 0), 0x1E140A);
    EXPECT_EQ(image.PixelColor(1, 0), 0);
    EXPECT_THROW((void)image.Chunks().ItemFromClass<TChunkPLTE>()->PaletteEntry(5), EPngError);
}

TEST(PngCopy, ACopySavesTheSamePixelsAsTheOriginal)
{
    TPNGObject original;
    LoadFromBytes(original, ReadFileBytes(TestDataPath("pngsuite/g03n2c08.png")));
    TPNGObject copy;
    copy.Assign(&original);
    TPNGObject reloaded;
    LoadFromBytes(reloaded, SaveToBytes(copy));
    EXPECT_TRUE(PixelsOf(original) == PixelsOf(reloaded));
    EXPECT_EQ(copy.Interlacing(), original.Interlacing());
}

TEST(PngAdam7, TinyImagesUseOnlyThePassesThatHavePixels)
{
    // 1 x 1: pass 1 holds the only pixel; every other pass reads nothing.
    TPNGObject tiny;
    LoadFromBytes(tiny, TPngBuilder().Signature().Header(1, 1, 8, 0, 1).ImageData({0, 77}).End().Bytes());
    EXPECT_EQ(tiny.PixelColor(0, 0), 0x4D4D4D);
    tiny.SetRowFilters({TFilter::pfNone});
    const TBytes saved = SaveToBytes(tiny);
    TPNGObject reloaded;
    LoadFromBytes(reloaded, saved);
    EXPECT_EQ(reloaded.PixelColor(0, 0), 0x4D4D4D);
    EXPECT_TRUE(DecodeWithLibpng(saved) == PixelsOf(tiny));
}

} // namespace
