#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <cstdint>
#include <cstring>
#include <vector>

TEST(Regions, CombineModes)
{
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        int mode;
        int kind;
        POINT in, out;
    };
    const Case cases[] = {{RGN_AND, SIMPLEREGION, {7, 7}, {2, 2}},
                          {RGN_OR, COMPLEXREGION, {12, 12}, {12, 2}},
                          {RGN_XOR, COMPLEXREGION, {2, 2}, {7, 7}},
                          {RGN_DIFF, COMPLEXREGION, {2, 7}, {7, 7}},
                          {RGN_COPY, SIMPLEREGION, {0, 0}, {10, 10}}};
    for (const Case& c : cases) {
        EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.kind) << c.mode;
        EXPECT_TRUE(PtInRegion(out, c.in.x, c.in.y)) << c.mode;
        EXPECT_FALSE(PtInRegion(out, c.out.x, c.out.y)) << c.mode;
    }
    // Combining back gives the canonical form: equal regions compare equal.
    HRGN parts = CreateRectRgn(0, 0, 5, 10);
    HRGN right = CreateRectRgn(5, 0, 10, 10);
    CombineRgn(parts, parts, right, RGN_OR);
    EXPECT_TRUE(EqualRgn(parts, a));
    RECT box{};
    EXPECT_EQ(GetRgnBox(parts, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(CombineRgn(out, a, a, RGN_DIFF), NULLREGION);
    for (HRGN r : {a, b, out, parts, right})
        DeleteObject(r);
}

TEST(Regions, PolygonRegionFillModesAndOffset)
{
    // Two overlapping squares traced the same way: the overlap is a hole only with ALTERNATE.
    const POINT points[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const int counts[] = {4, 4};
    HRGN alternate = CreatePolyPolygonRgn(points, counts, 2, ALTERNATE);
    HRGN winding = CreatePolyPolygonRgn(points, counts, 2, WINDING);
    EXPECT_FALSE(PtInRegion(alternate, 7, 7));
    EXPECT_TRUE(PtInRegion(winding, 7, 7));
    EXPECT_TRUE(PtInRegion(alternate, 2, 2));
    EXPECT_FALSE(PtInRegion(alternate, 10, 2));
    EXPECT_EQ(OffsetRgn(winding, 100, 0), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(winding, 107, 7));
    RECT probe{0, 0, 3, 3};
    EXPECT_TRUE(RectInRegion(alternate, &probe));
    DeleteObject(alternate);
    DeleteObject(winding);
}

TEST(Regions, RegionDataRoundTrips)
{
    HRGN a = CreateEllipticRgn(0, 0, 20, 12);
    const DWORD size = GetRegionData(a, 0, nullptr);
    std::vector<char> data(size);
    ASSERT_EQ(GetRegionData(a, size, reinterpret_cast<RGNDATA*>(data.data())), size);
    HRGN b = ExtCreateRegion(nullptr, size, reinterpret_cast<RGNDATA*>(data.data()));
    EXPECT_TRUE(EqualRgn(a, b));
    // A count that claims more rectangles than the buffer holds is refused.
    reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount += 1;
    EXPECT_EQ(ExtCreateRegion(nullptr, size, reinterpret_cast<RGNDATA*>(data.data())), nullptr);
    DeleteObject(a);
    DeleteObject(b);
}

// Rectangles in any order, overlapping, touching or empty: the region is their union,
// in the same canonical form as combining them one by one.
TEST(Regions, RegionDataOfLooseRectanglesIsTheirUnion)
{
    std::vector<RECT> rects = {{0, 0, 10, 1}, {10, 0, 20, 1}, {5, 0, 8, 3}, {3, 3, 3, 9}, {4, 5, 9, 5},
                               {0, 1, 20, 2}, {-4, 7, 6, 12}, {2, 9, 9, 10}, {30, -5, 31, 40}};
    std::uint32_t seed = 7;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % std::uint32_t(range));
    };
    for (int i = 0; i < 300; ++i) {
        const int left = next(60), top = next(60);
        rects.push_back({left, top, left + next(12), top + 1 + next(4)});
    }
    HRGN expected = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
        HRGN part = CreateRectRgnIndirect(&r);
        CombineRgn(expected, expected, part, RGN_OR);
        DeleteObject(part);
    }
    std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    *header = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(rects.size()), DWORD(rects.size() * sizeof(RECT)), {}};
    std::memcpy(data.data() + sizeof(RGNDATAHEADER), rects.data(), rects.size() * sizeof(RECT));
    HRGN made = ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(EqualRgn(made, expected));
    EXPECT_EQ(GetRegionData(made, 0, nullptr), GetRegionData(expected, 0, nullptr));
    EXPECT_TRUE(PtInRegion(made, 15, 0));
    EXPECT_FALSE(PtInRegion(made, 29, -3));
    DeleteObject(made);
    DeleteObject(expected);
}

TEST(Regions, DrawingIsClippedToAComplexRegion)
{
    Canvas canvas(20, 20);
    HRGN clip = CreateRectRgn(0, 0, 10, 10);
    HRGN hole = CreateRectRgn(3, 3, 6, 6);
    CombineRgn(clip, clip, hole, RGN_DIFF);
    EXPECT_EQ(SelectClipRgn(canvas.Dc(), clip), COMPLEXREGION);
    ExcludeClipRect(canvas.Dc(), 0, 0, 1, 1);
    RECT all{0, 0, 20, 20};
    FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Count(Black), 100 - 9 - 1);
    EXPECT_EQ(canvas.At(4, 4), White);
    EXPECT_EQ(canvas.At(0, 0), White);
    EXPECT_EQ(canvas.At(12, 2), White);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(canvas.Dc(), copy), 1);
    EXPECT_FALSE(PtInRegion(copy, 0, 0));
    RECT r{4, 4, 5, 5};
    EXPECT_FALSE(RectVisible(canvas.Dc(), &r));
    SelectClipRgn(canvas.Dc(), nullptr);
    EXPECT_EQ(GetClipRgn(canvas.Dc(), copy), 0);
    EXPECT_TRUE(RectVisible(canvas.Dc(), &r));
    for (HRGN h : {clip, hole, copy})
        DeleteObject(h);
}
