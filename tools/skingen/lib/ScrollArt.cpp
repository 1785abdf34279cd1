// Scroll bars, track bar and up-down buttons.

#include "tools/skingen/lib/SkinFamilies.h"
#include "tools/skingen/lib/SkinPalette.h"

namespace {

// The thickness of a scroll bar: the system's scroll arrow size, so the engine uses the art 1:1.
constexpr int Thickness = 16;
constexpr int TrackLength = 24;

// Arrow buttons in the frame order normal, pressed, disabled, hot.
constexpr TFaceLook ArrowLooks[4] = {SkinPalette::ButtonNormal, SkinPalette::ButtonPressed, SkinPalette::ButtonDisabled,
                                     SkinPalette::ButtonHot};
// Thumbs in the order normal, pressed, hot.
constexpr TFaceLook ThumbLooks[3] = {
    {Rgb(250, 252, 255), Rgb(206, 218, 234), SkinPalette::Outline, SkinPalette::Shadow},
    {Rgb(180, 202, 232), Rgb(206, 222, 244), SkinPalette::AccentDark, SkinPalette::Accent},
    {SkinPalette::White, Rgb(196, 220, 250), SkinPalette::Accent, SkinPalette::Accent},
};

// Three short ridges across the thumb's middle.
void Grip(TArtCanvas& canvas, const TRect& cell, bool vertical, TColor colour)
{
    const int cx = (cell.left + cell.right) / 2, cy = (cell.top + cell.bottom) / 2;
    for (int i = -1; i <= 1; ++i) {
        if (vertical) {
            canvas.HLine(cx - 3, cx + 3, cy + 2 * i - 1, colour);
            canvas.HLine(cx - 3, cx + 3, cy + 2 * i, SkinPalette::White);
        } else {
            canvas.VLine(cx + 2 * i - 1, cy - 3, cy + 3, colour);
            canvas.VLine(cx + 2 * i, cy - 3, cy + 3, SkinPalette::White);
        }
    }
}

// The 23 frames: arrows left, right, up, down (four states each), the horizontal grip and the
// vertical grip (normal, pressed, hot) and a plain corner square.
std::unique_ptr<TBitmap> ScrollArrows()
{
    auto strip = NewStrip(Thickness, Thickness, 23);
    TArtCanvas canvas(*strip, SkinPalette::Track);
    for (int direction = 0; direction < 4; ++direction)
        for (int state = 0; state < 4; ++state) {
            const TRect cell = StripFrame(*strip, 23, direction * 4 + state);
            canvas.Box(Rect(cell.left, cell.top, cell.right, cell.bottom), 3, ArrowLooks[state]);
            ArrowGlyph(canvas, cell, direction, SkinPalette::ArrowSize, SkinPalette::GlyphInks[state]);
        }
    for (int state = 0; state < 3; ++state) {
        Grip(canvas, StripFrame(*strip, 23, 16 + state), false, ThumbLooks[state].glyph);
        Grip(canvas, StripFrame(*strip, 23, 19 + state), true, ThumbLooks[state].glyph);
    }
    canvas.Fill(StripFrame(*strip, 23, 22), SkinPalette::Face);
    return strip;
}

// Tracks: 1 enabled, 2 pressed, 3 disabled, 4 hot; a soft groove along the bar.
std::unique_ptr<TBitmap> ScrollTrack(bool vertical)
{
    auto strip = vertical ? NewStrip(Thickness, TrackLength, 4) : NewStrip(TrackLength, Thickness, 4);
    TArtCanvas canvas(*strip, SkinPalette::Track);
    const TColor grounds[4] = {SkinPalette::Track, Rgb(204, 214, 228), Rgb(236, 238, 241), Rgb(214, 223, 235)};
    for (int frame = 0; frame < 4; ++frame) {
        const TRect cell = StripFrame(*strip, 4, frame);
        const TColor edge = Mix(grounds[frame], SkinPalette::Shadow, 0.35);
        if (vertical) {
            canvas.HorizontalGradient(cell, Mix(grounds[frame], SkinPalette::Shadow, 0.15), grounds[frame]);
            canvas.VLine(cell.left, cell.top, cell.bottom, edge);
            canvas.VLine(cell.right - 1, cell.top, cell.bottom, edge);
        } else {
            canvas.VerticalGradient(cell, Mix(grounds[frame], SkinPalette::Shadow, 0.15), grounds[frame]);
            canvas.HLine(cell.left, cell.right, cell.top, edge);
            canvas.HLine(cell.left, cell.right, cell.bottom - 1, edge);
        }
    }
    return strip;
}

std::unique_ptr<TBitmap> ScrollThumb(bool vertical)
{
    auto strip = vertical ? NewStrip(Thickness, TrackLength, 3) : NewStrip(TrackLength, Thickness, 3);
    TArtCanvas canvas(*strip, SkinPalette::Track);
    for (int frame = 0; frame < 3; ++frame) {
        const TRect cell = StripFrame(*strip, 3, frame);
        const TRect body = vertical ? Rect(cell.left + 1, cell.top, cell.right - 1, cell.bottom)
                                    : Rect(cell.left, cell.top + 1, cell.right, cell.bottom - 1);
        canvas.Box(body, 4, ThumbLooks[frame]);
    }
    return strip;
}

// Track bar thumbs (1 normal, 2 the one the engine draws, 3 hot, 4 pressed, 5 disabled). A
// thumb is a rounded bar, or a bar with a point towards the ticks (`point` 0 none, 1 left,
// 2 right, 3 up, 4 down).
std::unique_ptr<TBitmap> TrackThumb(int width, int height, int point)
{
    auto strip = NewStrip(width, height, 5);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    const TFaceLook looks[5] = {SkinPalette::ButtonNormal, SkinPalette::ButtonNormal, SkinPalette::ButtonHot,
                                SkinPalette::ButtonPressed, SkinPalette::ButtonDisabled};
    for (int frame = 0; frame < 5; ++frame) {
        const TRect cell = StripFrame(*strip, 5, frame);
        const TFaceLook& look = looks[frame];
        const LONG l = cell.left, t = cell.top, r = cell.right, b = cell.bottom;
        const LONG tip = (point == 1 || point == 2) ? width / 2 : height / 2;
        switch (point) {
        case 0:
            canvas.Box(cell, 3, look);
            break;
        case 1:
            canvas.Polygon({{l, t + height / 2}, {l + tip, t}, {r, t}, {r, b}, {l + tip, b}}, look.border);
            canvas.Polygon({{l + 1, t + height / 2}, {l + tip, t + 1}, {r - 1, t + 1}, {r - 1, b - 1}, {l + tip, b - 1}}, look.bottom);
            break;
        case 2:
            canvas.Polygon({{r, t + height / 2}, {r - tip, t}, {l, t}, {l, b}, {r - tip, b}}, look.border);
            canvas.Polygon({{r - 1, t + height / 2}, {r - tip, t + 1}, {l + 1, t + 1}, {l + 1, b - 1}, {r - tip, b - 1}}, look.bottom);
            break;
        case 3:
            canvas.Polygon({{l + width / 2, t}, {r, t + tip}, {r, b}, {l, b}, {l, t + tip}}, look.border);
            canvas.Polygon({{l + width / 2, t + 1}, {r - 1, t + tip}, {r - 1, b - 1}, {l + 1, b - 1}, {l + 1, t + tip}}, look.bottom);
            break;
        default:
            canvas.Polygon({{l + width / 2, b}, {r, b - tip}, {r, t}, {l, t}, {l, b - tip}}, look.border);
            canvas.Polygon({{l + width / 2, b - 1}, {r - 1, b - tip}, {r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - tip}}, look.bottom);
            break;
        }
        if (point != 0)
            canvas.Recolour(Rect(l + 2, t + 2, r - 2, b - 2), [&](TColor c) { return c == look.bottom ? Mix(look.top, look.bottom, 0.5) : c; });
    }
    return strip;
}

// Up-down halves: frames 1-4 the first half (up or left), 5-8 the second, each normal, pressed,
// disabled, hot. The glyph strip holds the arrows alone.
std::unique_ptr<TBitmap> UpDownHalves(int width, int height)
{
    auto strip = NewStrip(width, height, 8);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    for (int frame = 0; frame < 8; ++frame)
        canvas.Box(StripFrame(*strip, 8, frame), 2, ArrowLooks[frame % 4]);
    return strip;
}

std::unique_ptr<TBitmap> UpDownGlyphs(int width, int height, bool horizontal)
{
    auto strip = NewStrip(width, height, 8);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    for (int frame = 0; frame < 8; ++frame) {
        const int direction = horizontal ? frame / 4 : 2 + frame / 4;
        ArrowGlyph(canvas, StripFrame(*strip, 8, frame), direction, SkinPalette::ArrowSize, SkinPalette::GlyphInks[frame % 4]);
    }
    return strip;
}

} // namespace

void ArrowGlyph(TArtCanvas& canvas, const TRect& frame, int direction, double size, TColor colour)
{
    const LONG cx = (frame.left + frame.right) / 2, cy = (frame.top + frame.bottom) / 2;
    const LONG h = static_cast<LONG>(size / 2), d = static_cast<LONG>(size / 4 + 0.5);
    switch (direction) {
    case 0:
        canvas.Polygon({{cx - d, cy}, {cx + d, cy - h}, {cx + d, cy + h}}, colour);
        break;
    case 1:
        canvas.Polygon({{cx + d, cy}, {cx - d, cy - h}, {cx - d, cy + h}}, colour);
        break;
    case 2:
        canvas.Polygon({{cx, cy - d}, {cx - h, cy + d}, {cx + h, cy + d}}, colour);
        break;
    default:
        canvas.Polygon({{cx, cy + d}, {cx - h, cy - d}, {cx + h, cy - d}}, colour);
        break;
    }
}

std::unique_ptr<TBitmap> TrackChannel(bool vertical)
{
    constexpr int length = 40, breadth = 6;
    auto strip = vertical ? NewStrip(breadth, length, 1) : NewStrip(length, breadth, 1);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    const TRect all = Rect(0, 0, strip->Width(), strip->Height());
    // The channel is stretched opaque: its rounded ends sit on the face colour, not on the key.
    canvas.Fill(all, SkinPalette::Face);
    canvas.RoundRect(all, 2.5, SkinPalette::Shadow);
    const TRect groove = Rect(1, 1, all.right - 1, all.bottom - 1);
    if (vertical)
        canvas.HorizontalGradient(groove, Rgb(200, 209, 222), SkinPalette::FaceLight);
    else
        canvas.VerticalGradient(groove, Rgb(200, 209, 222), SkinPalette::FaceLight);
    return strip;
}

void DrawScrollBars(TSkinBuilder& skin)
{
    SetElement(skin, "Scrollbar", {.image = skin.AddImage("Scrollbar.bmp", ScrollArrows()), .frames = 23, .trans = 1});
    SetElement(skin, "HorzScroll", {.image = skin.AddImage("HorzScroll.bmp", ScrollTrack(false)), .left = 2, .top = 2,
                                    .right = 2, .bottom = 2, .frames = 4});
    SetElement(skin, "VertScroll", {.image = skin.AddImage("VertScroll.bmp", ScrollTrack(true)), .left = 2, .top = 2,
                                    .right = 2, .bottom = 2, .frames = 4});
    SetElement(skin, "HorzScrollThumb", {.image = skin.AddImage("HorzScrollThumb.bmp", ScrollThumb(false)), .left = 5,
                                         .top = 5, .right = 5, .bottom = 5, .frames = 3, .trans = 1});
    skin.Set("HorzScrollThumb", "FrameCount", 3);
    SetElement(skin, "VertScrollThumb", {.image = skin.AddImage("VertScrollThumb.bmp", ScrollThumb(true)), .left = 5,
                                         .top = 5, .right = 5, .bottom = 5, .frames = 3, .trans = 1});
    skin.Set("VertScrollThumb", "FrameCount", 3);
}

void DrawTrackBar(TSkinBuilder& skin)
{
    struct TThumb {
        const char* section;
        const char* file;
        int width, height, point;
    };
    constexpr TThumb thumbs[] = {
        {"Trackbar.ThumbHorz", "TrackThumbHorz.bmp", 11, 20, 0},   {"Trackbar.ThumbVert", "TrackThumbVert.bmp", 20, 11, 0},
        {"Trackbar.ThumbLeft", "TrackThumbLeft.bmp", 20, 11, 1},   {"Trackbar.ThumbRight", "TrackThumbRight.bmp", 20, 11, 2},
        {"Trackbar.ThumbUp", "TrackThumbUp.bmp", 11, 20, 3},       {"Trackbar.ThumbDown", "TrackThumbDown.bmp", 11, 20, 4},
    };
    for (const TThumb& thumb : thumbs)
        SetElement(skin, thumb.section, {.image = skin.AddImage(thumb.file, TrackThumb(thumb.width, thumb.height, thumb.point)),
                                         .frames = 5, .trans = 1});
    SetElement(skin, "Track", {.image = skin.AddImage("Track.bmp", TrackChannel(false)), .left = 3, .right = 3});
    SetElement(skin, "TRACKVERT", {.image = skin.AddImage("TrackVert.bmp", TrackChannel(true)), .top = 3, .bottom = 3});
}

void DrawUpDown(TSkinBuilder& skin)
{
    SetElement(skin, "UpDown.Horz", {.image = skin.AddImage("UpDownHorz.bmp", UpDownHalves(12, 16)), .left = 2,
                                     .top = 2, .right = 2, .bottom = 2, .frames = 0, .trans = 1, .secondKey = "GlyphImage",
                                     .secondImage = skin.AddImage("UpDownHorzGlyph.bmp", UpDownGlyphs(12, 16, true))});
    SetElement(skin, "UpDown.Vert", {.image = skin.AddImage("UpDownVert.bmp", UpDownHalves(16, 10)), .left = 2,
                                     .top = 2, .right = 2, .bottom = 2, .frames = 0, .trans = 1, .secondKey = "GlyphImage",
                                     .secondImage = skin.AddImage("UpDownVertGlyph.bmp", UpDownGlyphs(16, 10, false))});
}
