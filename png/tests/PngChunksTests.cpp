#include "png/PngCodec.h"
#include "png/tests/PngTestSupport.h"

#include <gtest/gtest.h>

namespace {

const TBytes GreyRows = {0, 10, 20, 0, 30, 40};

TBytes WithChunks(std::uint8_t depth, std::uint8_t colorType, const std::vector<std::pair<std::string, TBytes>>& chunks,
                  const TBytes& rows = GreyRows)
{
    TPngBuilder builder;
    builder.Signature().Header(2, 2, depth, colorType);
    for (const auto& [name, data] : chunks)
        builder.Chunk(name, data);
    return builder.ImageData(rows).End().Bytes();
}

template <class T>
T& Chunk(TPNGObject& image)
{
    T* chunk = image.Chunks().ItemFromClass<T>();
    if (!chunk)
        throw std::runtime_error("chunk missing");
    return *chunk;
}

TEST(PngGamma, TablesFollowTheImageGammaForADisplayOf22)
{
    TPNGObject image;
    LoadFromBytes(image, WithChunks(8, 0, {{"gAMA", BigEndian32(45455)}}));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(image.GammaTable()[i], i);
    LoadFromBytes(image, WithChunks(8, 0, {{"gAMA", BigEndian32(100000)}}));
    EXPECT_EQ(image.GammaTable()[128], 186);
    EXPECT_EQ(image.InverseGamma()[186], 128);
}

TEST(PngGamma, ValuesWithoutAUsableGammaLeaveTheTablesAlone)
{
    for (const std::uint32_t value : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        TPNGObject image;
        LoadFromBytes(image, WithChunks(8, 0, {{"gAMA", BigEndian32(value)}}));
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(image.GammaTable()[i], i) << value;
    }
    TPNGObject extreme;
    LoadFromBytes(extreme, WithChunks(8, 0, {{"gAMA", BigEndian32(1)}}));
    EXPECT_EQ(extreme.GammaTable()[255], 255);
    EXPECT_EQ(extreme.GammaTable()[254], 0);
}

TEST(PngTransparency, PaletteKindFollowsTheAlphaTable)
{
    const TBytes palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    const struct {
        TBytes Alpha;
        TTransparencyKind Kind;
        TColor Key;
    } cases[] = {
        {{255, 0, 255, 255}, TTransparencyKind::tkSingleColor, 0x0000FF},
        {{255, 128, 0}, TTransparencyKind::tkPartial, 0x00FF00},
        // One semi-transparent entry needs blending, not a colour key that would punch out black.
        {{255, 128, 255}, TTransparencyKind::tkPartial, 0},
        {{0, 0}, TTransparencyKind::tkPartial, 0},
    };
    for (const auto& test : cases) {
        TPNGObject image;
        LoadFromBytes(image, WithChunks(8, COLOR_PALETTE, {{"PLTE", palette}, {"tRNS", test.Alpha}}));
        EXPECT_EQ(image.TransparencyKind(), test.Kind) << int(test.Alpha[1]);
        EXPECT_EQ(image.TransparentKeyColor(), test.Key) << int(test.Alpha[1]);
    }
    TPNGObject opaque;
    LoadFromBytes(opaque, WithChunks(8, COLOR_PALETTE, {{"PLTE", palette}}));
    EXPECT_EQ(opaque.TransparencyKind(), TTransparencyKind::tkNone);
}

TEST(PngTransparency, KeyColoursReadAsTheStoredPixelsDo)
{
    const struct {
        std::uint8_t Depth, ColorType;
        TBytes Key;
        TColor Expected;
    } cases[] = {
        {16, COLOR_GRAYSCALE, {0x12, 0x34}, 0x121212},
        {8, COLOR_GRAYSCALE, {0x00, 0x34}, 0x343434},
        {4, COLOR_GRAYSCALE, {0x00, 0x03}, 0x333333},
        {1, COLOR_GRAYSCALE, {0x00, 0x01}, 0xFFFFFF},
        {16, COLOR_RGB, {0x11, 0x99, 0x22, 0x99, 0x33, 0x99}, 0x332211},
    };
    for (const auto& test : cases) {
        TPNGObject image;
        const std::size_t rowBytes = BytesForPixels(2, test.ColorType, test.Depth);
        TBytes rows;
        for (int y = 0; y < 2; ++y) {
            rows.push_back(0);
            rows.insert(rows.end(), rowBytes, 0);
        }
        LoadFromBytes(image, WithChunks(test.Depth, test.ColorType, {{"tRNS", test.Key}}, rows));
        EXPECT_EQ(image.TransparencyKind(), TTransparencyKind::tkSingleColor);
        EXPECT_EQ(image.TransparentKeyColor(), test.Expected) << int(test.Depth);
    }
    // Gamma applies to the key as to the pixels.
    TPNGObject corrected;
    LoadFromBytes(corrected, WithChunks(8, COLOR_GRAYSCALE, {{"gAMA", BigEndian32(100000)}, {"tRNS", {0, 128}}}));
    EXPECT_EQ(corrected.TransparentKeyColor(), 0xBABABA);
}

TEST(PngTransparency, SetKeyColorWritesKeysWhereSaveAndLoadFindThem)
{
    for (const std::uint8_t colorType : {COLOR_GRAYSCALE, COLOR_RGB}) {
        const std::uint8_t depth = colorType == COLOR_RGB ? 16 : 4;
        TBytes rows;
        for (int y = 0; y < 2; ++y) {
            rows.push_back(0);
            rows.insert(rows.end(), BytesForPixels(2, colorType, depth), 0);
        }
        TPNGObject image;
        LoadFromBytes(image, WithChunks(depth, colorType, {{"tRNS", TBytes(colorType == COLOR_RGB ? 6 : 2)}}, rows));
        const TColor key = colorType == COLOR_RGB ? 0x336699 : 0x888888;
        Chunk<TChunktRNS>(image).SetKeyColor(key);
        EXPECT_EQ(image.TransparentKeyColor(), key);
        TPNGObject reloaded;
        LoadFromBytes(reloaded, SaveToBytes(image));
        EXPECT_EQ(reloaded.TransparentKeyColor(), key);
    }
}

TEST(PngTransparency, SetKeyColorOnAPaletteSearchesOnlyItsEntries)
{
    TBytes palette;
    for (int i = 0; i < 6; ++i)
        palette.insert(palette.end(), {static_cast<std::uint8_t>(i * 10 + 10), 0, 0});
    TPNGObject image;
    LoadFromBytes(image, WithChunks(8, COLOR_PALETTE, {{"PLTE", palette}, {"tRNS", {255}}}));
    TChunktRNS& transparency = Chunk<TChunktRNS>(image);
    transparency.SetKeyColor(0x00003C);
    EXPECT_EQ(TBytes(transparency.AlphaTable().begin(), transparency.AlphaTable().begin() + 6),
              (TBytes{255, 255, 255, 255, 255, 0}));
    EXPECT_EQ(transparency.DataSize(), 6u);
    EXPECT_EQ(image.TransparencyKind(), TTransparencyKind::tkSingleColor);

    // Black is only in the zeroed table past the palette's six entries: nothing becomes transparent.
    transparency.SetKeyColor(0x000000);
    EXPECT_FALSE(transparency.SingleTransparentEntry());
    const TBytes saved = SaveToBytes(image);
    const TBytes name = {'t', 'R', 'N', 'S'};
    EXPECT_EQ(std::search(saved.begin(), saved.end(), name.begin(), name.end()), saved.end());
}

TEST(PngTransparency, TwoBitGreyKeysFollowTheImageToFourBits)
{
    TPNGObject image;
    LoadFromBytes(image, WithChunks(2, COLOR_GRAYSCALE, {{"tRNS", {0, 2}}}, {0, 0x80, 0, 0x40}));
    EXPECT_EQ(image.TransparentKeyColor(), 0xAAAAAA);
    TPNGObject reloaded;
    LoadFromBytes(reloaded, SaveToBytes(image));
    EXPECT_EQ(reloaded.HeaderChunk().BitDepth(), 4);
    EXPECT_EQ(reloaded.TransparentKeyColor(), 0xAAAAAA);
    EXPECT_EQ(reloaded.PixelColor(0, 0), 0xAAAAAA);
}

TEST(PngPalette, EntriesAreGammaCorrectedOnceAndWrittenBackUncorrected)
{
    TPNGObject image;
    LoadFromBytes(image, WithChunks(8, COLOR_PALETTE, {{"gAMA", BigEndian32(100000)}, {"PLTE", {128, 0, 255}}},
                                    {0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(image.PixelColor(0, 0), 0xFF00BA);
    const TPngColorEntry entry = Chunk<TChunkPLTE>(image).PaletteEntry(0);
    EXPECT_EQ(entry.rgbRed, 186);
    TPNGObject reloaded;
    LoadFromBytes(reloaded, SaveToBytes(image));
    EXPECT_EQ(reloaded.PixelColor(0, 0), 0xFF00BA);

    TPNGObject empty;
    LoadFromBytes(empty, WithChunks(8, COLOR_PALETTE, {{"PLTE", {}}}, {0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Chunk<TChunkPLTE>(empty).EntryCount(), 0u);
    EXPECT_THROW(Chunk<TChunkIHDR>(empty).Assign(Chunk<TChunkPLTE>(empty)), EPngError);
}

TEST(PngTime, OnlySevenBytesAreATime)
{
    TPNGObject image;
    LoadFromBytes(image, WithChunks(8, 0, {{"tIME", {0x07, 0xD5, 12, 31, 23, 59, 58}}}));
    const TChunktIME& time = Chunk<TChunktIME>(image);
    EXPECT_EQ(time.Year(), 2005);
    EXPECT_EQ(time.Second(), 58);
    LoadFromBytes(image, WithChunks(8, 0, {{"tIME", {0x07, 0xD5, 12, 31, 23, 59}}}));
    EXPECT_EQ(Chunk<TChunktIME>(image).Year(), 0);
}

TEST(PngText, TextChunksRoundTrip)
{
    const std::string long10000(10000, 'x');
    const TBytes compressedLong = [&] {
        TBytes data = {'L', 'o', 'n', 'g', 0, 0};
        const TBytes deflated = Deflate(TBytes(long10000.begin(), long10000.end()));
        data.insert(data.end(), deflated.begin(), deflated.end());
        return data;
    }();
    TPNGObject image;
    LoadFromBytes(image, WithChunks(8, 0,
                                    {{"tEXt", {'T', 'i', 't', 'l', 'e', 0, 'a', 'b', 'c'}},
                                     {"tEXt", {'a', 0}},
                                     {"tEXt", {'r', 'a', 'w'}},
                                     {"zTXt", compressedLong},
                                     {"zTXt", {'E', 0, 0}}}));
    std::vector<const TChunktEXt*> texts;
    for (std::size_t i = 0; i < image.Chunks().Count(); ++i)
        if (auto* text = dynamic_cast<const TChunktEXt*>(image.Chunks().Item(i)))
            texts.push_back(text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0]->Keyword(), "Title");
    EXPECT_EQ(texts[0]->Text(), "abc");
    EXPECT_EQ(texts[1]->Keyword(), "a");
    EXPECT_EQ(texts[3]->Text(), long10000);

    TPNGObject reloaded;
    LoadFromBytes(reloaded, SaveToBytes(image));
    std::vector<const TChunktEXt*> again;
    for (std::size_t i = 0; i < reloaded.Chunks().Count(); ++i)
        if (auto* text = dynamic_cast<const TChunktEXt*>(reloaded.Chunks().Item(i)))
            again.push_back(text);
    ASSERT_EQ(again.size(), 5u);
    EXPECT_EQ(again[0]->DataSize(), 9u);
    EXPECT_EQ(again[1]->Keyword(), "a");
    EXPECT_EQ(again[1]->DataSize(), 2u);
    EXPECT_EQ(TBytes(again[2]->Data(), again[2]->Data() + again[2]->DataSize()), (TBytes{'r', 'a', 'w'}));
    EXPECT_EQ(again[3]->Text(), long10000);
}

TEST(PngText, AnEmptyCompressedTextIsSavedAsOneSpace)
{
    TPNGObject image;
    LoadFromBytes(image, WithChunks(8, 0, {{"zTXt", {'K', 0, 0, 0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01}}}));
    TChunkzTXt& text = Chunk<TChunkzTXt>(image);
    EXPECT_EQ(text.Text(), "");
    TPNGObject reloaded;
    LoadFromBytes(reloaded, SaveToBytes(image));
    EXPECT_EQ(Chunk<TChunkzTXt>(reloaded).Text(), " ");
}

TEST(PngText, CompressedTextBeyondTheCapLoadsEmpty)
{
    const std::string huge(PngMaxTextSize + 1, 'z');
    TBytes data = {'B', 'i', 'g', 0, 0};
    const TBytes deflated = Deflate(TBytes(huge.begin(), huge.end()));
    data.insert(data.end(), deflated.begin(), deflated.end());
    TPNGObject image;
    LoadFromBytes(image, WithChunks(8, 0, {{"zTXt", data}}));
    EXPECT_EQ(Chunk<TChunkzTXt>(image).Text(), "");
    EXPECT_EQ(Chunk<TChunkzTXt>(image).Keyword(), "Big");
}

} // namespace
