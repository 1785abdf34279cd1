#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <vector>

TEST(Lines, EndPointIsExcludedInEveryDirection)
{
    struct Case {
        POINT from, to;
    };
    const Case cases[] = {{{2, 5}, {12, 5}}, {{12, 5}, {2, 5}}, {{5, 2}, {5, 12}}, {{5, 12}, {5, 2}},
                          {{2, 2}, {12, 12}}, {{1, 1}, {14, 6}}};
    for (const Case& c : cases) {
        Canvas canvas(16, 16);
        MoveToEx(canvas.Dc(), c.from.x, c.from.y, nullptr);
        ASSERT_TRUE(LineTo(canvas.Dc(), c.to.x, c.to.y));
        EXPECT_EQ(canvas.At(c.from.x, c.from.y), Black);
        EXPECT_EQ(canvas.At(c.to.x, c.to.y), White);
        const int expected = std::max(std::abs(c.to.x - c.from.x), std::abs(c.to.y - c.from.y));
        EXPECT_EQ(canvas.Count(Black), expected);
        POINT position{};
        GetCurrentPositionEx(canvas.Dc(), &position);
        EXPECT_EQ(position.x, c.to.x);
    }
}

TEST(Lines, ShallowLineStepsAtTheMidpoint)
{
    Canvas canvas(8, 4);
    MoveToEx(canvas.Dc(), 0, 0, nullptr);
    LineTo(canvas.Dc(), 4, 2);
    EXPECT_EQ(canvas.At(0, 0), Black);
    EXPECT_EQ(canvas.At(1, 0), Black);
    EXPECT_EQ(canvas.At(2, 1), Black);
    EXPECT_EQ(canvas.At(3, 1), Black);
}

TEST(Lines, XorLinesDrawnTwiceVanish)
{
    Canvas canvas(40, 40, RGB(10, 120, 200));
    HPEN pen = CreatePen(PS_DOT, 1, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(canvas.Dc(), pen);
    SetROP2(canvas.Dc(), R2_XORPEN);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    auto draw = [&] {
        const POINT points[] = {{1, 1}, {38, 3}, {20, 37}, {2, 30}};
        Polyline(canvas.Dc(), points, 4);
        MoveToEx(canvas.Dc(), 37, 37, nullptr);
        LineTo(canvas.Dc(), 3, 20);
    };
    draw();
    EXPECT_LT(canvas.Count(RGB(10, 120, 200)), 40 * 40);
    draw();
    EXPECT_EQ(canvas.Count(RGB(10, 120, 200)), 40 * 40);
    SelectObject(canvas.Dc(), old);
    DeleteObject(pen);
}

TEST(Lines, DottedPenLeavesGapsAndNullPenDrawsNothing)
{
    Canvas canvas(40, 4);
    HPEN dot = CreatePen(PS_DOT, 1, Red);
    HGDIOBJ old = SelectObject(canvas.Dc(), dot);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    MoveToEx(canvas.Dc(), 0, 1, nullptr);
    LineTo(canvas.Dc(), 40, 1);
    const int red = canvas.Count(Red);
    EXPECT_GT(red, 10);
    EXPECT_LT(red, 30);
    SelectObject(canvas.Dc(), GetStockObject(NULL_PEN));
    MoveToEx(canvas.Dc(), 0, 2, nullptr);
    LineTo(canvas.Dc(), 40, 2);
    EXPECT_EQ(canvas.Count(Red), red);
    SelectObject(canvas.Dc(), old);
    DeleteObject(dot);
}

TEST(Lines, WidePenCoversItsWidth)
{
    Canvas canvas(30, 30);
    HPEN pen = CreatePen(PS_SOLID, 5, Blue);
    HGDIOBJ old = SelectObject(canvas.Dc(), pen);
    MoveToEx(canvas.Dc(), 5, 15, nullptr);
    LineTo(canvas.Dc(), 25, 15);
    for (int y = 13; y <= 17; ++y)
        EXPECT_EQ(canvas.At(15, y), Blue) << y;
    EXPECT_EQ(canvas.At(15, 10), White);
    SelectObject(canvas.Dc(), old);
    DeleteObject(pen);
}
