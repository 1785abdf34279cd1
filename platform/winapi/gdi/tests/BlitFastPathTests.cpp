#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <array>
#include <random>
#include <vector>

// Blits with no brush or a solid one run whole rows at a time; a pattern brush takes the
// pixel-by-pixel path. A pattern brush whose every pixel is the same therefore runs the same
// operation the slow way, and both must give the same bits.

namespace {

constexpr std::uint32_t PatternPixel = 0x00336699;

HBRUSH UniformPatternBrush(std::uint32_t pixel)
{
    std::array<std::uint32_t, 64> tile;
    tile.fill(pixel);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, tile.data());
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);
    return brush;
}

void Randomise(std::uint32_t* bits, int count, unsigned seed)
{
    std::mt19937 random(seed);
    for (int i = 0; i < count; ++i)
        bits[i] = random();
}

struct Geometry {
    const char* name;
    int x, y, width, height, srcX, srcY, srcWidth, srcHeight;
    bool clipped;
};

constexpr int DestWidth = 24, DestHeight = 16, SrcWidth = 20, SrcHeight = 12;

const Geometry Geometries[] = {
    {"copy", 2, 1, 15, 10, 3, 2, 15, 10, false},
    {"partly outside the source", 0, 0, 24, 16, -3, -2, 24, 16, false},
    {"stretched", 1, 1, 22, 14, 2, 1, 9, 6, false},
    {"shrunk", 0, 0, 7, 5, 0, 0, 20, 12, false},
    {"mirrored", 20, 1, -18, 12, 0, 0, 20, 12, false},
    {"partly off the destination", -5, 10, 20, 10, 0, 0, 20, 12, false},
    {"clipped to several rectangles", 0, 0, 24, 16, 0, 0, 20, 12, true},
};

// The destination after one blit of `rop`, with `brush` selected.
std::vector<std::uint32_t> Blit(const Geometry& g, HDC src, DWORD rop, HBRUSH brush)
{
    Canvas dest(DestWidth, DestHeight);
    Randomise(dest.Bits(), DestWidth * DestHeight, 11);
    if (g.clipped) {
        IntersectClipRect(dest.Dc(), 1, 1, 22, 15);
        ExcludeClipRect(dest.Dc(), 5, 4, 9, 8);
    }
    HGDIOBJ old = SelectObject(dest.Dc(), brush);
    const BOOL done = g.width == g.srcWidth && g.height == g.srcHeight
                          ? BitBlt(dest.Dc(), g.x, g.y, g.width, g.height, src, g.srcX, g.srcY, rop)
                          : StretchBlt(dest.Dc(), g.x, g.y, g.width, g.height, src, g.srcX, g.srcY, g.srcWidth,
                                       g.srcHeight, rop);
    EXPECT_TRUE(done) << g.name << " " << std::hex << rop;
    SelectObject(dest.Dc(), old);
    return {dest.Bits(), dest.Bits() + DestWidth * DestHeight};
}

// The same operation for the pixel-by-pixel path: a table that reads no pattern is rewritten to
// read an all-ones pattern (the upper half of the table), which gives the same result.
struct PlainVersion {
    DWORD rop;
    HBRUSH brush;

    explicit PlainVersion(DWORD fastRop)
    {
        const DWORD table = (fastRop >> 16) & 0xFF;
        const bool usesPattern = ((table >> 4) ^ table) & 0x0F;
        rop = usesPattern ? fastRop : (table & 0xF0) << 16;
        brush = UniformPatternBrush(usesPattern ? PatternPixel : 0xFFFFFFFFu);
    }
    ~PlainVersion() { DeleteObject(brush); }
    PlainVersion(const PlainVersion&) = delete;
    PlainVersion& operator=(const PlainVersion&) = delete;
};

std::vector<std::uint32_t> PlainBlit(const Geometry& g, HDC src, DWORD rop)
{
    const PlainVersion plain(rop);
    return Blit(g, src, plain.rop, plain.brush);
}

void ExpectFastAndPlainAgree(HDC src)
{
    const DWORD rops[] = {SRCCOPY,  SRCINVERT,   SRCAND,    SRCPAINT,  NOTSRCCOPY, SRCERASE, NOTSRCERASE,
                          MERGEPAINT, MERGECOPY, PATCOPY,   PATINVERT, DSTINVERT,  WHITENESS, 0x00B8074A};
    HBRUSH solid = CreateSolidBrush(RGB(0x33, 0x66, 0x99));
    for (const Geometry& g : Geometries)
        for (DWORD rop : rops)
            EXPECT_EQ(Blit(g, src, rop, solid), PlainBlit(g, src, rop)) << g.name << " " << std::hex << rop;
    DeleteObject(solid);
}

} // namespace

TEST(BlitFastPath, AgreesWithThePixelByPixelPathOnRandomPixels)
{
    Canvas src(SrcWidth, SrcHeight);
    Randomise(src.Bits(), SrcWidth * SrcHeight, 5);
    ExpectFastAndPlainAgree(src.Dc());
}

TEST(BlitFastPath, AgreesForAMonochromeSource)
{
    std::vector<BYTE> bits(std::size_t(SrcHeight) * 4);
    std::mt19937 random(3);
    for (BYTE& b : bits)
        b = BYTE(random());
    HBITMAP mono = CreateBitmap(SrcWidth, SrcHeight, 1, 1, bits.data());
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, mono);
    ExpectFastAndPlainAgree(src);
    SelectObject(src, old);
    DeleteDC(src);
    DeleteObject(mono);
}

TEST(BlitFastPath, PatBltAgrees)
{
    HBRUSH solid = CreateSolidBrush(RGB(0x33, 0x66, 0x99));
    const auto patBlt = [](DWORD rop, HBRUSH brush) {
        Canvas dest(DestWidth, DestHeight);
        Randomise(dest.Bits(), DestWidth * DestHeight, 13);
        SelectObject(dest.Dc(), brush);
        EXPECT_TRUE(PatBlt(dest.Dc(), 3, 2, 30, 9, rop));
        SelectObject(dest.Dc(), GetStockObject(WHITE_BRUSH));
        return std::vector<std::uint32_t>(dest.Bits(), dest.Bits() + DestWidth * DestHeight);
    };
    for (DWORD rop : {PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, 0x00A000C9u}) {
        const PlainVersion plain(rop);
        EXPECT_EQ(patBlt(rop, solid), patBlt(plain.rop, plain.brush)) << std::hex << rop;
    }
    DeleteObject(solid);
}
