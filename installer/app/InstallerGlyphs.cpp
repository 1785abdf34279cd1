#include "installer/app/InstallerGlyphs.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/ImgList.h"

#include <functional>
#include <initializer_list>

namespace {

constexpr int GlyphSize = 16;
constexpr TColor Transparent = clFuchsia;

void Polyline(TCanvas& canvas, std::initializer_list<TPoint> points, TColor colour, int width)
{
    canvas.Pen()->SetColor(colour);
    canvas.Pen()->SetWidth(width);
    const TPoint* point = points.begin();
    canvas.MoveTo(point->x, point->y);
    for (++point; point != points.end(); ++point)
        canvas.LineTo(point->x, point->y);
}

void DrawMagnifier(TCanvas& canvas)
{
    Polyline(canvas, {{10, 10}, {14, 14}}, 0x2060A0, 3);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetColor(0x804020);
    canvas.Brush()->SetColor(0xF8E8C8);
    canvas.Ellipse(1, 1, 12, 12);
    canvas.Pen()->SetColor(clWhite);
    canvas.MoveTo(4, 6);
    canvas.LineTo(6, 4);
}

void DrawArrow(TCanvas& canvas)
{
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetColor(0x106010);
    canvas.Brush()->SetColor(0x30B030);
    const TPoint arrow[] = {{1, 5}, {8, 5}, {8, 1}, {15, 8}, {8, 15}, {8, 11}, {1, 11}};
    canvas.Polygon(arrow);
}

void DrawCross(TCanvas& canvas)
{
    Polyline(canvas, {{3, 3}, {13, 13}}, 0x2020C0, 3);
    Polyline(canvas, {{13, 3}, {3, 13}}, 0x2020C0, 3);
}

void DrawTick(TCanvas& canvas)
{
    Polyline(canvas, {{2, 8}, {6, 12}, {14, 3}}, 0x108010, 3);
}

} // namespace

void DrawInstallerGlyphs(TCustomImageList& images)
{
    images.SetSize(GlyphSize, GlyphSize);
    const std::function<void(TCanvas&)> painters[] = {DrawMagnifier, DrawArrow, DrawCross, DrawTick};
    for (const auto& paint : painters) {
        TBitmap glyph;
        glyph.SetSize(GlyphSize, GlyphSize);
        TCanvas& canvas = *glyph.Canvas();
        canvas.Brush()->SetColor(Transparent);
        canvas.FillRect(TRect{0, 0, GlyphSize, GlyphSize});
        paint(canvas);
        images.AddMasked(&glyph, Transparent);
    }
}
