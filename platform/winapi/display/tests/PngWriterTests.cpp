#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/display/headless/PngWriter.h"
#include "platform/winapi/gdi/Surface.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <map>

namespace {

std::uint32_t BigEndian(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

// A reading of the file that checks what every decoder checks: signature, chunk CRCs, IHDR, and
// the deflated scanlines. Returns the raw scanlines.
std::string DecodeScanlines(const std::string& png, std::uint32_t& width, std::uint32_t& height)
{
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::map<std::string, std::string> chunks;
    std::vector<std::string> order;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = BigEndian(png, at);
        const std::string type = png.substr(at + 4, 4);
        const std::string data = png.substr(at + 8, length);
        const auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
        EXPECT_EQ(BigEndian(png, at + 8 + length), crc) << type;
        chunks[type] += data;
        order.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ(order, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    const std::string& header = chunks["IHDR"];
    EXPECT_EQ(header.size(), 13u);
    width = BigEndian(header, 0);
    height = BigEndian(header, 4);
    EXPECT_EQ(header.substr(8), std::string("\x08\x02\x00\x00\x00", 5));
    std::string raw(static_cast<std::size_t>(height) * (1 + 3 * width), '\0');
    uLongf rawSize = raw.size();
    const std::string& idat = chunks["IDAT"];
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                         reinterpret_cast<const Bytef*>(idat.data()), idat.size()),
              Z_OK);
    EXPECT_EQ(rawSize, raw.size());
    return raw;
}

TEST(PngWriter, WritesEveryPixelAsRgbRowsWithoutFilters)
{
    // Three by two, with a stride wider than the row.
    const std::uint32_t pixels[2][4] = {{0xFF102030, 0x00405060, 0xFF708090, 0xDEADBEEF},
                                        {0xFFA0B0C0, 0xFFD0E0F0, 0xFF010203, 0xDEADBEEF}};
    const std::string png = EncodePng(3, 2, &pixels[0][0], sizeof pixels[0]);
    std::uint32_t width = 0, height = 0;
    const std::string raw = DecodeScanlines(png, width, height);
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(raw, std::string("\x00\x10\x20\x30\x40\x50\x60\x70\x80\x90"
                               "\x00\xA0\xB0\xC0\xD0\xE0\xF0\x01\x02\x03",
                               20));
}

TEST(PngWriter, SavesAWindowAndTheComposedScreen)
{
    HeadlessDisplay display;
    display.SetScreenRect(RECT{0, 0, 64, 48}, RECT{0, 0, 64, 40});
    display.CreateTopLevel(1, TopLevelDesc{RECT{8, 8, 24, 16}, TopLevelKind::Normal, "", 0});
    display.ShowTopLevel(1, true);
    Surface surface(16, 8);
    surface.Fill(0xFF00FF00);
    display.Present(1, surface, {RECT{0, 0, 16, 8}});

    TempDir folder;
    ASSERT_TRUE(display.SaveWindowPng(1, folder / "window.png"));
    ASSERT_TRUE(display.SaveScreenPng(folder / "screen.png"));
    EXPECT_FALSE(display.SaveScreenPng(folder / "missing" / "screen.png"));

    std::uint32_t width = 0, height = 0;
    DecodeScanlines(folder.ReadFile("window.png"), width, height);
    EXPECT_EQ(width, 16u);
    EXPECT_EQ(height, 8u);
    const std::string screen = DecodeScanlines(folder.ReadFile("screen.png"), width, height);
    EXPECT_EQ(width, 64u);
    EXPECT_EQ(height, 48u);
    const auto rgbAt = [&](int x, int y) { return screen.substr(y * (1 + 3 * 64) + 1 + 3 * x, 3); };
    EXPECT_EQ(rgbAt(8, 8), std::string("\x00\xFF\x00", 3));
    EXPECT_EQ(rgbAt(0, 0), std::string("\x3A\x6E\xA5", 3));
}

} // namespace
