#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Streams.h"
#include "platform/winapi/gdi/Gdi.h"
#include "tests/support/RowNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Save(TBitmap& bitmap)
{
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return Bytes(stream.Memory(), stream.Memory() + stream.Size());
}

void Load(TBitmap& bitmap, const Bytes& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), bytes.size());
    stream.SetPosition(0);
    bitmap.LoadFromStream(stream);
}

void Put16(Bytes& b, unsigned v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A BMP file put together by hand: file header, 40-byte info header, table, pixel rows as given.
Bytes HandMadeBmp(int width, int height, int bits, const std::vector<std::uint32_t>& colours, const Bytes& rows,
                  std::uint32_t compression = BI_RGB, std::uint32_t colorsUsed = 0)
{
    Bytes b;
    const std::uint32_t offBits = 14 + 40 + 4 * std::uint32_t(colours.size());
    Put16(b, 0x4D42);
    Put32(b, offBits + std::uint32_t(rows.size()));
    Put32(b, 0);
    Put32(b, offBits);
    Put32(b, 40);
    Put32(b, std::uint32_t(width));
    Put32(b, std::uint32_t(height));
    Put16(b, 1);
    Put16(b, unsigned(bits));
    Put32(b, compression);
    Put32(b, std::uint32_t(rows.size()));
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, colorsUsed);
    Put32(b, 0);
    for (std::uint32_t c : colours)
        Put32(b, c); // B, G, R, 0 in memory
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

const TColor Pattern[4] = {clRed, clLime, clBlue, clWhite};

// A 5 x 3 picture with different colours per pixel position.
void Paint(TBitmap& bitmap)
{
    bitmap.SetSize(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            bitmap.Canvas()->SetPixels(x, y, Pattern[(x + 2 * y) % 4]);
}

struct FormatCase {
    TPixelFormat format;
    int bits;
};

class BitmapRoundTrip : public ::testing::TestWithParam<FormatCase> {};

TEST_P(BitmapRoundTrip, SavesLoadsAndSavesTheSameBytes)
{
    TBitmap original;
    original.SetPixelFormat(GetParam().format);
    Paint(original);
    const bool mono = GetParam().bits == 1;
    const Bytes first = Save(original);
    ASSERT_GT(first.size(), 54u);
    EXPECT_EQ(first[0], 'B');
    EXPECT_EQ(first[28], GetParam().bits) << "biBitCount";

    TBitmap loaded;
    Load(loaded, first);
    EXPECT_EQ(loaded.Width(), 5);
    EXPECT_EQ(loaded.Height(), 3);
    EXPECT_EQ(loaded.HandleType(), bmDIB);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const TColor expected = Pattern[(x + 2 * y) % 4];
            const TColor actual = loaded.Canvas()->Pixels(x, y);
            if (mono)
                EXPECT_EQ(actual, original.Canvas()->Pixels(x, y)) << x << "," << y;
            else
                EXPECT_EQ(actual, expected) << x << "," << y;
        }
    EXPECT_EQ(Save(loaded), first);
}

INSTANTIATE_TEST_SUITE_P(EachDepth, BitmapRoundTrip,
                         ::testing::Values(FormatCase{pf1bit, 1}, FormatCase{pf4bit, 4}, FormatCase{pf8bit, 8},
                                           FormatCase{pf24bit, 24}, FormatCase{pf32bit, 32},
                                           FormatCase{pfDevice, 32}),
                         [](const auto& info) { return RowName(info.index, std::to_string(info.param.bits) + " bit"); });

TEST(BitmapFileTest, ReadsHandMadeFilesOfEveryLayout)
{
    // 24 bits, top-down (negative height): rows as they appear, padded to 4 bytes.
    {
        const Bytes rows{0, 0, 255, 0, 255, 0, 0, 0, /* red, green */ 255, 0, 0, 255, 255, 255, 0, 0};
        TBitmap bitmap;
        Load(bitmap, HandMadeBmp(2, -2, 24, {}, rows));
        EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clRed);
        EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), clLime);
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 1), clBlue);
        EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clWhite);
    }
    // 8 bits with a two-entry table (biClrUsed), bottom-up: the first row stored is the bottom.
    {
        const Bytes rows{1, 0, 0, 0, 0, 1, 0, 0};
        TBitmap bitmap;
        Load(bitmap, HandMadeBmp(2, 2, 8, {0x00FF0000, 0x0000FF00}, rows, BI_RGB, 2));
        EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
        EXPECT_EQ(bitmap.Colors().size(), 256u);
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 1), clLime);
        EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clRed);
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clRed);
    }
    // 32 bits with the standard bit fields after the header.
    {
        Bytes file = HandMadeBmp(1, 1, 32, {0x00FF0000, 0x0000FF00, 0x000000FF}, {0x10, 0x20, 0x30, 0}, BI_BITFIELDS);
        TBitmap bitmap;
        Load(bitmap, file);
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), TColor(RGB(0x30, 0x20, 0x10)));
    }
    // The old 12-byte core header with a three-byte colour table, 1 bit.
    {
        Bytes b;
        Put16(b, 0x4D42);
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, 14 + 12 + 6);
        Put32(b, 12);
        Put16(b, 3);
        Put16(b, 1);
        Put16(b, 1);
        Put16(b, 1);
        b.insert(b.end(), {0, 0, 0, 0, 0, 255}); // black, red
        b.insert(b.end(), {0xA0, 0, 0, 0});      // 1 0 1
        TBitmap bitmap;
        Load(bitmap, b);
        EXPECT_TRUE(bitmap.Monochrome());
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clRed);
        EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), clBlack);
        EXPECT_EQ(bitmap.Canvas()->Pixels(2, 0), clRed);
    }
}

TEST(BitmapFileTest, RejectsBrokenAndOversizedFiles)
{
    const Bytes good = HandMadeBmp(2, 2, 24, {}, Bytes(16, 0));
    auto with = [&](std::size_t offset, std::uint32_t value) {
        Bytes b = good;
        std::memcpy(&b[offset], &value, 4);
        return b;
    };
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"not BM", with(0, 0x12345678)},
        {"truncated pixels", Bytes(good.begin(), good.end() - 1)},
        {"truncated header", Bytes(good.begin(), good.begin() + 30)},
        {"odd header size", with(14, 41)},
        {"zero width", with(18, 0)},
        {"too wide", with(18, MaxBitmapDimension + 1)},
        {"too many pixels", [&] {
             Bytes b = with(18, 30000);
             std::memcpy(&b[22], "\x30\x75\x00\x00", 4); // 30000 x 30000
             return b;
         }()},
        {"most negative height", with(22, 0x80000000u)},
        {"2 bits", [&] {
             Bytes b = good;
             b[28] = 2;
             return b;
         }()},
        {"RLE8 at 24 bits", with(30, BI_RLE8)},
        {"RLE4 at 8 bits", HandMadeBmp(2, 2, 8, {}, {0, 1}, BI_RLE4)},
        {"RLE8 top-down", HandMadeBmp(2, -2, 8, {}, {0, 1}, BI_RLE8)},
        {"JPEG inside", with(30, 4)},
        {"bit fields at 24 bits", HandMadeBmp(1, 1, 24, {0xFF0000, 0xFF00, 0xFF}, {0, 0, 0, 0}, BI_BITFIELDS)},
        {"overlapping bit fields", HandMadeBmp(1, 1, 16, {0xF800, 0x0FE0, 0x1F}, {0, 0, 0, 0}, BI_BITFIELDS)},
        {"split bit field", HandMadeBmp(1, 1, 16, {0xF000, 0x0700, 0x0101}, {0, 0, 0, 0}, BI_BITFIELDS)},
        {"bit field past the pixel", HandMadeBmp(1, 1, 16, {0x1F0000, 0x7E0, 0x1F}, {0, 0, 0, 0}, BI_BITFIELDS)},
        {"too many colours", HandMadeBmp(1, 1, 1, {0, 0, 0}, {0, 0, 0, 0}, BI_RGB, 3)},
        {"pixels before the header", with(10, 20)},
        {"pixels past the end", with(10, 4000)},
    };
    for (const auto& c : cases) {
        TBitmap bitmap;
        try {
            Load(bitmap, c.file);
            ADD_FAILURE() << c.what << " loaded";
        } catch (const EInvalidGraphic& error) {
            // The reason follows the class library's text, so a skin author can tell what to fix.
            const std::string prefix = "Bitmap image is not valid: ";
            EXPECT_EQ(error.Message().substr(0, prefix.size()), prefix) << c.what;
            EXPECT_GT(error.Message().size(), prefix.size() + 10) << c.what << ": " << error.Message();
        }
        EXPECT_TRUE(bitmap.Empty()) << c.what;
    }
}

// A palette whose every index has a colour of its own, for reading indexed pictures back.
std::vector<std::uint32_t> DistinctPalette(int count)
{
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < count; ++i)
        palette.push_back(std::uint32_t(0x00102030 + 0x00050301 * i)); // 0x00RRGGBB
    return palette;
}

TColor PaletteColour(int index)
{
    const std::uint32_t c = DistinctPalette(index + 1).back();
    return TColor(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
}

// Compares a loaded indexed picture with rows of hex digits, top row first.
void ExpectIndexes(TBitmap& bitmap, const std::vector<std::string>& picture, const std::string& what)
{
    ASSERT_EQ(bitmap.Height(), int(picture.size())) << what;
    for (int y = 0; y < bitmap.Height(); ++y) {
        ASSERT_EQ(bitmap.Width(), int(picture[y].size())) << what;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const int index = std::stoi(std::string(1, picture[y][x]), nullptr, 16);
            EXPECT_EQ(bitmap.Canvas()->Pixels(x, y), PaletteColour(index)) << what << " at " << x << "," << y;
        }
    }
}

TEST(BitmapFileTest, ReadsRunLengthEncodedFilesAsWindowsDraws)
{
    // Run-length data is stored bottom row first: a count and an index (two alternating
    // indexes at 4 bits), or 0 and an escape: 0 end of line, 1 end of bitmap, 2 delta (right, up),
    // 3 or more an absolute run padded to 16 bits. Skipped pixels keep index 0.
    const struct {
        const char* what;
        int bits;
        Bytes data;
        std::vector<std::string> picture;
    } cases[] = {
        {"RLE8 runs, absolute run, delta, end of line and of bitmap", 8,
         {3, 5, 1, 7, 0, 0, /**/ 0, 2, 2, 0, 2, 9, 0, 0, /**/ 0, 3, 1, 2, 3, 0, 0, 1},
         {"1230", "0099", "5557"}},
        {"RLE8 runs past the row's end are cut, rows past the top dropped", 8,
         {5, 4, 0, 0, /**/ 0, 4, 1, 2, 3, 4, 0, 0, /**/ 2, 8},
         {"12", "44"}},
        {"RLE8 delta up and then past the top", 8,
         {1, 1, 0, 2, 1, 1, 1, 3, 0, 2, 0, 5, 1, 6},
         {"000", "003", "100"}},
        {"RLE8 absolute run cut short by the end of the data", 8, {0, 5, 1, 2}, {"120"}},
        {"RLE8 a lone last byte", 8, {2, 6, 1}, {"660"}},
        {"RLE8 no end of bitmap", 8, {1, 4}, {"40"}},
        {"RLE4 alternating runs and an absolute run", 4,
         {5, 0x12, 0, 0, /**/ 0, 3, 0x34, 0x50, 2, 0x6F, 0, 1},
         {"3456f", "12121"}},
        {"RLE4 odd absolute run past the row's end", 4, {0, 3, 0xAB, 0xC0, 0, 1}, {"ab"}},
        {"RLE4 delta into the middle", 4, {0, 2, 1, 1, 1, 0xE0, 0, 1}, {"0e", "00"}},
    };
    for (const auto& c : cases) {
        const int width = int(c.picture[0].size());
        const int height = int(c.picture.size());
        const std::uint32_t compression = c.bits == 8 ? BI_RLE8 : BI_RLE4;
        TBitmap bitmap;
        ASSERT_NO_THROW(Load(bitmap, HandMadeBmp(width, height, c.bits, DistinctPalette(1 << c.bits), c.data,
                                                 compression)))
            << c.what;
        EXPECT_EQ(bitmap.PixelFormat(), c.bits == 8 ? pf8bit : pf4bit) << c.what;
        ExpectIndexes(bitmap, c.picture, c.what);
    }
}

TEST(BitmapFileTest, RunLengthDataEndsWhereTheHeaderSaysItDoes)
{
    // biSizeImage covers the first row only; what follows is not pixel data.
    Bytes file = HandMadeBmp(2, 2, 8, DistinctPalette(256), {2, 3, 0, 0, 2, 4, 0, 1}, BI_RLE8);
    const std::uint32_t firstRowOnly = 4;
    std::memcpy(&file[34], &firstRowOnly, 4);
    TBitmap bitmap;
    Load(bitmap, file);
    ExpectIndexes(bitmap, {"00", "33"}, "stated size");
}

TEST(BitmapFileTest, ReadsSixteenBitAndBitFieldPixels)
{
    const struct {
        const char* what;
        int bits;
        int height;
        std::vector<std::uint32_t> masks; // none: BI_RGB
        Bytes rows;
        std::vector<std::vector<TColor>> expected; // top row first
    } cases[] = {
        // 5-5-5: full red, full green / full blue, mid grey (16 of 31 scales to 132).
        {"16 bits 5-5-5", 16, 2, {}, {0x1F, 0x00, 0x10, 0x42, /**/ 0x00, 0x7C, 0xE0, 0x03},
         {{clRed, clLime}, {clBlue, TColor(RGB(132, 132, 132))}}},
        {"16 bits 5-5-5 top-down", 16, -2, {}, {0x00, 0x7C, 0xE0, 0x03, /**/ 0x1F, 0x00, 0x10, 0x42},
         {{clRed, clLime}, {clBlue, TColor(RGB(132, 132, 132))}}},
        // 5-6-5: green has six bits, 32 of 63 scales to 130; the top bit of 5-5-5 would be red.
        {"16 bits 5-6-5 bit fields", 16, 1, {0xF800, 0x07E0, 0x001F}, {0x00, 0x04, 0x00, 0xF8},
         {{TColor(RGB(0, 130, 0)), clRed}}},
        {"32 bits with red and blue swapped", 32, 1, {0x000000FF, 0x0000FF00, 0x00FF0000},
         {0x11, 0x22, 0x33, 0xFF, 0x01, 0x02, 0x03, 0x00},
         {{TColor(RGB(0x11, 0x22, 0x33)), TColor(RGB(0x01, 0x02, 0x03))}}},
    };
    for (const auto& c : cases) {
        TBitmap bitmap;
        ASSERT_NO_THROW(Load(bitmap, HandMadeBmp(2, c.height, c.bits, c.masks, c.rows,
                                                 c.masks.empty() ? BI_RGB : BI_BITFIELDS)))
            << c.what;
        EXPECT_EQ(bitmap.PixelFormat(), c.bits == 16 ? pf24bit : pf32bit) << c.what;
        for (std::size_t y = 0; y < c.expected.size(); ++y)
            for (std::size_t x = 0; x < 2; ++x)
                EXPECT_EQ(bitmap.Canvas()->Pixels(int(x), int(y)), c.expected[y][x]) << c.what << " " << x << "," << y;
    }
    // Three 16-bit pixels make a 6-byte row padded to 8.
    TBitmap padded;
    Load(padded, HandMadeBmp(3, 2, 16, {}, {0, 0, 0, 0, 0x1F, 0, 0xEE, 0xEE, /**/ 0, 0x7C, 0, 0, 0, 0, 0xEE, 0xEE}));
    EXPECT_EQ(padded.Canvas()->Pixels(2, 1), clBlue);
    EXPECT_EQ(padded.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(padded.Canvas()->Pixels(2, 0), clBlack);
}

TEST(BitmapTest, ScanLinesAreBottomUpDibRows)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 4);
    auto* top = static_cast<std::uint8_t*>(bitmap.ScanLine(0));
    auto* next = static_cast<std::uint8_t*>(bitmap.ScanLine(1));
    EXPECT_EQ(top - next, 12) << "rows padded to 4 bytes, the top row last in memory";
    top[3] = 0x11; // B, G, R of pixel 1
    top[4] = 0x22;
    top[5] = 0x33;
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), TColor(RGB(0x33, 0x22, 0x11)));
    bitmap.Canvas()->SetPixels(2, 1, clBlue);
    EXPECT_EQ(next[6], 0xFF);
    EXPECT_EQ(next[8], 0x00);
    EXPECT_THROW((void)bitmap.ScanLine(4), EInvalidGraphicOperation);
    EXPECT_THROW((void)bitmap.ScanLine(-1), EInvalidGraphicOperation);

    // A device bitmap turns into a DIB for its scan lines.
    TBitmap device;
    device.SetSize(2, 2);
    device.Canvas()->SetPixels(0, 0, clRed);
    auto* pixels = static_cast<std::uint32_t*>(device.ScanLine(0));
    EXPECT_EQ(device.HandleType(), bmDIB);
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFF0000u);
}

TEST(BitmapTest, MonochromeConversionAndDrawing)
{
    TBitmap bitmap;
    bitmap.SetSize(3, 1);
    bitmap.Canvas()->SetPixels(0, 0, clWhite);
    bitmap.Canvas()->SetPixels(1, 0, clRed);
    bitmap.Canvas()->SetPixels(2, 0, clSilver);
    bitmap.SetMonochrome(true);
    EXPECT_TRUE(bitmap.Monochrome());
    EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), clBlack);
    EXPECT_EQ(bitmap.Canvas()->Pixels(2, 0), clBlack) << "only white stays white";
    EXPECT_EQ(bitmap.TransparentColor(), clWhite);

    // Drawn black on white whatever the target canvas's colours.
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(3, 1);
    target.Canvas()->Font()->SetColor(clRed);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->Draw(0, 0, &bitmap);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(target.Canvas()->Pixels(1, 0), clBlack);

    bitmap.SetMonochrome(false);
    EXPECT_FALSE(bitmap.Monochrome());
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), clBlack);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clWhite);

    // The mask is white where the transparent colour is.
    TBitmap keyed;
    keyed.SetSize(2, 1);
    keyed.Canvas()->SetPixels(0, 0, clFuchsia);
    keyed.SetTransparentColor(clFuchsia);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, keyed.MaskHandle());
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST(BitmapTest, ResizeKeepsThePictureAndAssignCopies)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(2, 2);
    bitmap.Canvas()->SetPixels(1, 1, clRed);
    bitmap.SetSize(4, 3);
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(3, 2), clWhite);
    EXPECT_EQ(bitmap.PixelFormat(), pf8bit);

    TBitmap copy;
    copy.Assign(&bitmap);
    EXPECT_EQ(copy.PixelFormat(), pf8bit);
    EXPECT_EQ(copy.Canvas()->Pixels(1, 1), clRed);
    copy.Canvas()->SetPixels(1, 1, clBlue);
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clRed) << "the copy is independent";

    bitmap.SetPixelFormat(pf24bit);
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clRed);
    EXPECT_THROW(bitmap.SetSize(MaxBitmapDimension + 1, 1), EInvalidGraphic);
    EXPECT_THROW(bitmap.SetPixelFormat(pf16bit), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 4);
}

TEST(BitmapTest, ChangesFireOnChange)
{
    TBitmap bitmap;
    int changes = 0;
    bitmap.SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { ++changes; }));
    bitmap.SetSize(2, 2);
    EXPECT_GT(changes, 0);
    const int afterSize = changes;
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    EXPECT_GT(changes, afterSize);
    EXPECT_TRUE(bitmap.Modified());
}

} // namespace
