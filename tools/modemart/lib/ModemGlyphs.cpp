#include "tools/modemart/lib/ModemGlyphs.h"

using namespace ModemPalette;

namespace {

// A grid shape in the picture.
TArtShape On(const TPlacement& at, TArtShape shape)
{
    return Placed(std::move(shape), at.scale, at.left, at.top);
}

} // namespace

void DrawModemStick(TArtCanvas& art, const TPlacement& at, TColor waves)
{
    for (const double radius : {4.5, 8.5})
        Flat(art, On(at, Arc(19, 11.5, radius, radius + 2.1, 222, 318)), waves);
    Lit(art, On(at, RoundedBox(1, 16, 9.5, 25, 1)), Steel);
    // The plug's two contact windows show only where the stick is drawn large.
    if (at.scale >= 2)
        for (const double y : {18.0, 21.5})
            Flat(art, On(at, RoundedBox(3, y, 5.5, y + 1.5, 0.3)), Steel.dark);
    Lit(art, On(at, RoundedBox(7.5, 12.5, 31, 28.5, 4)), Blue);
    Flat(art, On(at, Circle(25.5, 17.5, 1.9)), Green.light);
}

void DrawSmallModemStick(TArtCanvas& art)
{
    // The waves set pixel by pixel: two arcs, each a flat top and falling ends.
    art.HLine(7, 12, 1, Blue.base);
    art.HLine(5, 7, 2, Blue.base);
    art.HLine(12, 14, 2, Blue.base);
    art.Pixel(4, 3, Blue.base);
    art.Pixel(14, 3, Blue.base);
    art.HLine(8, 11, 4, Blue.base);
    art.Pixel(7, 5, Blue.base);
    art.Pixel(11, 5, Blue.base);
    Lit(art, RoundedBox(0, 8.5, 5, 13.5, 0.5), Steel);
    Lit(art, RoundedBox(3.5, 7, 16, 15, 2), Blue);
    Flat(art, RoundedBox(12, 9, 14, 10.5, 0.3), Green.light);
}

void DrawSpeechBubble(TArtCanvas& art, const TPlacement& at)
{
    Lit(art, On(at, Union({RoundedBox(2, 4, 30, 23, 7), Convex({{7, 19}, {16, 19}, {6, 29}})})), Amber);
    for (const double x : {9.5, 16.0, 22.5})
        Flat(art, On(at, Circle(x, 13.5, 2.2)), White);
}

void DrawHandset(TArtCanvas& art, const TPlacement& at)
{
    const TArtShape handle = Arc(24, 8, 11, 17.5, 88, 182);
    const TArtShape earpiece = RoundedBox(5, 1.5, 14, 11.5, 3);
    const TArtShape mouthpiece = RoundedBox(20.5, 18.5, 30.5, 27.5, 3);
    Lit(art, On(at, Union({handle, earpiece, mouthpiece})), Green);
}

void DrawAddressBook(TArtCanvas& art, const TPlacement& at)
{
    Lit(art, On(at, RoundedBox(9, 4, 29, 30, 2)), Paper);
    Lit(art, On(at, RoundedBox(5, 2, 26, 29, 2.5)), Red);
    Flat(art, On(at, RoundedBox(6, 3, 9, 28, 1)), Mix(Red.base, Red.dark, 0.35));
    for (const double y : {7.0, 14.5, 22.0})
        Lit(art, On(at, RoundedBox(2.5, y, 9.5, y + 3, 1.5)), Steel);
    Flat(art, On(at, Circle(17, 11.5, 3.6)), White);
    Flat(art, On(at, Minus(RoundedBox(10.5, 16.5, 23.5, 28, 6), RoundedBox(0, 23, 32, 32, 0))), White);
}

void DrawEnvelope(TArtCanvas& art, const TPlacement& at, bool unread)
{
    if (unread) {
        Lit(art, On(at, RoundedBox(1, 7, 29, 27, 2)), Paper);
        Flat(art, On(at, Stroke({{2.5, 8.5}, {15, 18.5}, {27.5, 8.5}}, 2.4)), Paper.dark);
        Lit(art, On(at, Circle(25.5, 7.5, 5.5)), Red);
        return;
    }
    // Opened: the flap stands up behind the pocket.
    Lit(art, On(at, Convex({{1, 15}, {15, 3}, {29, 15}})), {Paper.base, Paper.base, Paper.dark});
    Lit(art, On(at, RoundedBox(1, 13, 29, 29, 2)), Paper);
    Flat(art, On(at, Stroke({{2.5, 14.5}, {15, 23}, {27.5, 14.5}}, 2.4)), Paper.dark);
}

void DrawSpeaker(TArtCanvas& art, const TPlacement& at, bool muted)
{
    Lit(art, On(at, Union({RoundedBox(2.5, 11, 11, 21, 1.5), Convex({{8, 11}, {18.5, 3.5}, {18.5, 28.5}, {8, 21}})})), Blue);
    if (muted) {
        Flat(art, On(at, Union({Stroke({{22, 11}, {30, 21}}, 3.4), Stroke({{30, 11}, {22, 21}}, 3.4)})), Red.base);
        return;
    }
    Flat(art, On(at, Arc(18, 16, 4.5, 6.7, -50, 50)), Blue.base);
    Flat(art, On(at, Arc(18, 16, 9, 11.2, -55, 55)), Blue.base);
}

void DrawCloseMark(TArtCanvas& art, const TPlacement& at)
{
    Lit(art, On(at, Circle(16, 16, 15)), Red);
    Flat(art, On(at, Stroke({{10.5, 10.5}, {21.5, 21.5}}, 4.2)), White);
    Flat(art, On(at, Stroke({{21.5, 10.5}, {10.5, 21.5}}, 4.2)), White);
}

void DrawCallArrow(TArtCanvas& art, const TPlacement& at, TCallKind kind)
{
    switch (kind) {
    case TCallKind::Dialled:
        Lit(art, On(at, Union({Stroke({{6, 26}, {20, 12}}, 6.5), Convex({{11, 5}, {27, 5}, {27, 21}})})), Green);
        break;
    case TCallKind::Received:
        Lit(art, On(at, Union({Stroke({{26, 6}, {12, 20}}, 6.5), Convex({{5, 11}, {5, 27}, {21, 27}})})), Blue);
        break;
    case TCallKind::Missed:
        Lit(art, On(at, Union({Stroke({{3.5, 9}, {13, 19}, {20, 12}}, 6.5), Convex({{14, 5}, {28.5, 5}, {28.5, 19.5}})})),
            Red);
        break;
    }
}
