#pragma once

#include "platform/classlib/core/Colors.h"
#include "platform/classlib/forms/GraphicsBitmap.h"

#include <functional>
#include <initializer_list>
#include <memory>

// Colour helpers for the skin art. Colours are 0x00BBGGRR values, as everywhere in the class library.
[[nodiscard]] constexpr TColor Rgb(int red, int green, int blue)
{
    return static_cast<TColor>(red | (green << 8) | (blue << 16));
}
// `share` of `to` mixed into `from` (0 gives `from`, 1 gives `to`).
[[nodiscard]] TColor Mix(TColor from, TColor to, double share);
// "R G B", the way a skin INI writes colours.
[[nodiscard]] std::string RgbText(TColor colour);

// Pixels of this colour are transparent wherever the skin engine draws with its key colour.
constexpr TColor KeyColour = Rgb(255, 0, 255);

// The four looks of anything that can be pushed: body gradient, outline and the colour of the
// glyph or text drawn on it.
struct TFaceLook {
    TColor top;
    TColor bottom;
    TColor border;
    TColor glyph;
};

// A 24-bit bitmap ground filled with the key colour and cut into equal frames, side by side or
// one below the other, the way skin images hold their states.
[[nodiscard]] std::unique_ptr<TBitmap> NewStrip(int frameWidth, int frameHeight, int frames, bool vertical = false);
[[nodiscard]] TRect StripFrame(const TBitmap& strip, int frames, int index, bool vertical = false);

// Direct pixel access to a 24-bit bitmap's rows (the canvas's pixel property goes through a DC
// for every pixel, far too slow for drawing whole skins pixel by pixel).
[[nodiscard]] TColor ReadPixel(TBitmap& bitmap, int x, int y);
void WritePixel(TBitmap& bitmap, int x, int y, TColor colour);

// Drawing on a skin bitmap. Straight lines and fills go through the bitmap's canvas; curved
// shapes are drawn with 4 x 4 supersampled coverage so that small glyphs stay smooth. Edge pixels
// of a shape are blended with what lies below; where that is the key colour they are blended
// with the matte colour instead (the colour the element is usually drawn on), or left
// transparent when the shape covers less than a third of the pixel.
class TArtCanvas {
public:
    explicit TArtCanvas(TBitmap& bitmap, TColor matte);

    void Fill(const TRect& rect, TColor colour);
    void Frame(const TRect& rect, TColor colour);
    void Pixel(int x, int y, TColor colour);
    [[nodiscard]] TColor PixelAt(int x, int y);
    void HLine(int left, int right, int y, TColor colour); // right is exclusive
    void VLine(int x, int top, int bottom, TColor colour); // bottom is exclusive
    void VerticalGradient(const TRect& rect, TColor top, TColor bottom);
    void HorizontalGradient(const TRect& rect, TColor left, TColor right);

    // A box with rounded corners: a one-pixel outline, a softer inner ring and a vertical
    // gradient body. Outside the corners the bitmap keeps what it had (usually the key colour).
    void Box(const TRect& rect, double radius, const TFaceLook& look);
    void RoundRect(const TRect& rect, double radius, TColor colour);
    void Disc(double centreX, double centreY, double radius, TColor colour);
    void Line(double x1, double y1, double x2, double y2, double width, TColor colour);
    void Polygon(std::initializer_list<TPoint> points, TColor colour);
    // Any shape: `inside` tells whether a point lies in it; `colour` may vary by pixel.
    void Shape(const TRect& bounds, const std::function<bool(double, double)>& inside,
               const std::function<TColor(int, int)>& colour);

    // Replaces every pixel of the rectangle that is not the key colour.
    void Recolour(const TRect& rect, const std::function<TColor(TColor)>& change);

private:
    // Paints `colour` with the share of each pixel that `inside` covers, within `bounds`.
    void Cover(const TRect& bounds, const std::function<bool(double, double)>& inside,
               const std::function<TColor(int, int)>& colour);
    void Blend(int x, int y, TColor colour, double coverage);

    TBitmap& m_bitmap;
    TColor m_matte;
};
