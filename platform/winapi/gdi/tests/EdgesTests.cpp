#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <random>
#include <vector>

namespace {

const COLORREF Light = GetSysColor(COLOR_3DLIGHT);
const COLORREF Hilight = GetSysColor(COLOR_3DHILIGHT);
const COLORREF Shadow = GetSysColor(COLOR_3DSHADOW);
const COLORREF DkShadow = GetSysColor(COLOR_3DDKSHADOW);
const COLORREF Face = GetSysColor(COLOR_3DFACE);

// The colours of one 10 x 10 edge, sampled in the middle of each side.
struct Sides {
    COLORREF outerTopLeft, innerTopLeft, outerBottomRight, innerBottomRight;
};

struct EdgeCase {
    const char* name;
    UINT edge;
    UINT flags;
    Sides expected;
};

} // namespace

TEST(DrawEdge, ColoursOfEachSideAndRing)
{
    const COLORREF Frame = GetSysColor(COLOR_WINDOWFRAME);
    const COLORREF Window = GetSysColor(COLOR_WINDOW);
    const EdgeCase cases[] = {
        {"raised", EDGE_RAISED, 0, {Light, Hilight, DkShadow, Shadow}},
        {"raised soft", EDGE_RAISED, BF_SOFT, {Hilight, Light, DkShadow, Shadow}},
        {"sunken", EDGE_SUNKEN, 0, {Shadow, DkShadow, Hilight, Light}},
        {"sunken soft", EDGE_SUNKEN, BF_SOFT, {DkShadow, Shadow, Hilight, Light}},
        {"etched", EDGE_ETCHED, 0, {Shadow, Hilight, Hilight, Shadow}},
        {"bump", EDGE_BUMP, 0, {Light, DkShadow, DkShadow, Light}},
        // A lone inner ring lies on the rectangle's border; inside it nothing is drawn.
        {"raised inner", BDR_RAISEDINNER, 0, {Hilight, Red, Shadow, Red}},
        {"sunken outer", BDR_SUNKENOUTER, 0, {Shadow, Red, Hilight, Red}},
        {"flat", EDGE_SUNKEN, BF_FLAT, {Shadow, Face, Shadow, Face}},
        {"mono", EDGE_RAISED, BF_MONO, {Frame, Window, Frame, Window}},
        {"mono wins over flat", EDGE_RAISED, BF_MONO | BF_FLAT, {Frame, Window, Frame, Window}},
    };
    for (const EdgeCase& c : cases) {
        Canvas canvas(10, 10, Red);
        RECT r{0, 0, 10, 10};
        ASSERT_TRUE(DrawEdge(canvas.Dc(), &r, c.edge, c.flags | BF_RECT)) << c.name;
        const Sides& e = c.expected;
        EXPECT_EQ(canvas.At(0, 5), e.outerTopLeft) << c.name << " left";
        EXPECT_EQ(canvas.At(5, 0), e.outerTopLeft) << c.name << " top";
        EXPECT_EQ(canvas.At(1, 5), e.innerTopLeft) << c.name << " inner left";
        EXPECT_EQ(canvas.At(5, 1), e.innerTopLeft) << c.name << " inner top";
        EXPECT_EQ(canvas.At(9, 5), e.outerBottomRight) << c.name << " right";
        EXPECT_EQ(canvas.At(5, 9), e.outerBottomRight) << c.name << " bottom";
        EXPECT_EQ(canvas.At(8, 5), e.innerBottomRight) << c.name << " inner right";
        EXPECT_EQ(canvas.At(5, 8), e.innerBottomRight) << c.name << " inner bottom";
        EXPECT_EQ(canvas.At(5, 5), Red) << c.name << " middle";
        EXPECT_EQ(r.left, 0) << c.name << " rect kept without BF_ADJUST";
    }
}

TEST(DrawEdge, BottomAndRightOwnTheSharedCorners)
{
    Canvas canvas(10, 10, Red);
    RECT r{0, 0, 10, 10};
    DrawEdge(canvas.Dc(), &r, EDGE_RAISED, BF_RECT);
    EXPECT_EQ(canvas.At(0, 0), Light);
    EXPECT_EQ(canvas.At(9, 0), DkShadow);
    EXPECT_EQ(canvas.At(0, 9), DkShadow);
    EXPECT_EQ(canvas.At(9, 9), DkShadow);
    EXPECT_EQ(canvas.At(1, 1), Hilight);
    EXPECT_EQ(canvas.At(8, 1), Shadow);
    EXPECT_EQ(canvas.At(1, 8), Shadow);
}

TEST(DrawEdge, AdjustShrinksByTheDrawnWidthsOnTheDrawnSides)
{
    struct Case {
        UINT edge;
        UINT sides;
        RECT expected;
    };
    const Case cases[] = {
        {EDGE_RAISED, BF_RECT, {12, 22, 38, 48}},
        {EDGE_SUNKEN, BF_LEFT | BF_TOP, {12, 22, 40, 50}},
        {EDGE_ETCHED, BF_BOTTOMRIGHT, {10, 20, 38, 48}},
        {BDR_RAISEDINNER, BF_RECT, {11, 21, 39, 49}},
        {BDR_SUNKENOUTER, BF_TOP | BF_BOTTOM, {10, 21, 40, 49}},
        {EDGE_BUMP, BF_RIGHT, {10, 20, 38, 50}},
        {0, BF_RECT, {10, 20, 40, 50}},
    };
    for (const Case& c : cases) {
        Canvas canvas(60, 60);
        RECT r{10, 20, 40, 50};
        ASSERT_TRUE(DrawEdge(canvas.Dc(), &r, c.edge, c.sides | BF_ADJUST));
        EXPECT_EQ(r.left, c.expected.left) << c.edge << "/" << c.sides;
        EXPECT_EQ(r.top, c.expected.top) << c.edge << "/" << c.sides;
        EXPECT_EQ(r.right, c.expected.right) << c.edge << "/" << c.sides;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.edge << "/" << c.sides;
    }
}

TEST(DrawEdge, PartialSidesLeaveTheOthersAlone)
{
    Canvas canvas(10, 10, Red);
    RECT r{0, 0, 10, 10};
    DrawEdge(canvas.Dc(), &r, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
    EXPECT_EQ(canvas.At(0, 9), Hilight);
    EXPECT_EQ(canvas.At(9, 0), Hilight);
    EXPECT_EQ(canvas.At(9, 5), Red);
    EXPECT_EQ(canvas.At(5, 9), Red);
}

TEST(DrawEdge, MiddleFillsWhatTheRingsLeave)
{
    Canvas canvas(10, 10, Red);
    RECT r{0, 0, 10, 10};
    DrawEdge(canvas.Dc(), &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST);
    EXPECT_EQ(canvas.At(2, 2), Face);
    EXPECT_EQ(canvas.At(7, 7), Face);
    EXPECT_EQ(canvas.At(1, 1), DkShadow);
    Canvas mono(10, 10, Red);
    RECT m{0, 0, 10, 10};
    DrawEdge(mono.Dc(), &m, BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE | BF_MONO);
    EXPECT_EQ(mono.At(5, 5), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(mono.At(1, 1), GetSysColor(COLOR_WINDOW));
}

TEST(DrawEdge, RejectsWhatItCannotDraw)
{
    Canvas canvas(4, 4);
    RECT r{0, 0, 4, 4};
    EXPECT_FALSE(DrawEdge(canvas.Dc(), nullptr, EDGE_RAISED, BF_RECT));
    EXPECT_FALSE(DrawEdge(nullptr, &r, EDGE_RAISED, BF_RECT));
    EXPECT_FALSE(DrawEdge(canvas.Dc(), &r, EDGE_RAISED, BF_DIAGONAL | BF_TOPLEFT));
    EXPECT_EQ(canvas.Count(White), 16);
}

TEST(DrawFocusRect, InvertsAlternatePixelsOfTheBorderAndTwiceRestores)
{
    constexpr int W = 12, H = 9;
    Canvas canvas(W, H);
    std::mt19937 random(7);
    for (int i = 0; i < W * H; ++i)
        canvas.Bits()[i] = random() & 0xFFFFFF;
    const std::vector<std::uint32_t> before(canvas.Bits(), canvas.Bits() + W * H);
    const RECT rects[] = {{2, 1, 10, 8}, {3, 4, 9, 5}, {5, 0, 6, 9}, {0, 0, W, H}};
    for (const RECT& r : rects) {
        ASSERT_TRUE(DrawFocusRect(canvas.Dc(), &r));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                const bool border = inside && (x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1);
                const std::uint32_t was = before[std::size_t(y * W + x)];
                const std::uint32_t expected = border && (x + y) % 2 == 0 ? (~was & 0xFFFFFF) : was;
                ASSERT_EQ(canvas.Raw(x, y) & 0xFFFFFF, expected) << x << "," << y;
            }
        DrawFocusRect(canvas.Dc(), &r);
        ASSERT_TRUE(std::equal(before.begin(), before.end(), canvas.Bits(), [](std::uint32_t a, std::uint32_t b) {
            return (a & 0xFFFFFF) == (b & 0xFFFFFF);
        }));
    }
}
