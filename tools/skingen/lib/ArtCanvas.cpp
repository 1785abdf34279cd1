#include "tools/skingen/lib/ArtCanvas.h"

#include "platform/classlib/forms/GraphicsCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

int Red(TColor colour) { return colour & 0xFF; }
int Green(TColor colour) { return (colour >> 8) & 0xFF; }
int Blue(TColor colour) { return (colour >> 16) & 0xFF; }

constexpr int Samples = 4;

// Even-odd test of a point against a closed polygon.
bool InsidePolygon(const std::vector<TPoint>& points, double x, double y)
{
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const double xi = points[i].x, yi = points[i].y, xj = points[j].x, yj = points[j].y;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

bool InsideRoundRect(const TRect& rect, double radius, double x, double y)
{
    if (x < rect.left || x > rect.right || y < rect.top || y > rect.bottom)
        return false;
    const double dx = std::max({rect.left + radius - x, 0.0, x - (rect.right - radius)});
    const double dy = std::max({rect.top + radius - y, 0.0, y - (rect.bottom - radius)});
    return dx * dx + dy * dy <= radius * radius;
}

} // namespace

TColor Mix(TColor from, TColor to, double share)
{
    const auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return Rgb(channel(Red(from), Red(to)), channel(Green(from), Green(to)), channel(Blue(from), Blue(to)));
}

std::string RgbText(TColor colour)
{
    return std::to_string(Red(colour)) + " " + std::to_string(Green(colour)) + " " + std::to_string(Blue(colour));
}

std::unique_ptr<TBitmap> NewStrip(int frameWidth, int frameHeight, int frames, bool vertical)
{
    auto strip = std::make_unique<TBitmap>();
    strip->SetPixelFormat(pf24bit);
    strip->SetSize(vertical ? frameWidth : frameWidth * frames, vertical ? frameHeight * frames : frameHeight);
    strip->Canvas()->Brush()->SetColor(KeyColour);
    strip->Canvas()->FillRect(Rect(0, 0, strip->Width(), strip->Height()));
    return strip;
}

TRect StripFrame(const TBitmap& strip, int frames, int index, bool vertical)
{
    if (vertical) {
        const int height = strip.Height() / frames;
        return Rect(0, index * height, strip.Width(), (index + 1) * height);
    }
    const int width = strip.Width() / frames;
    return Rect(index * width, 0, (index + 1) * width, strip.Height());
}

TColor ReadPixel(TBitmap& bitmap, int x, int y)
{
    const auto* pixel = static_cast<const std::uint8_t*>(bitmap.ScanLine(y)) + 3 * x;
    return Rgb(pixel[2], pixel[1], pixel[0]);
}

void WritePixel(TBitmap& bitmap, int x, int y, TColor colour)
{
    auto* pixel = static_cast<std::uint8_t*>(bitmap.ScanLine(y)) + 3 * x;
    pixel[0] = static_cast<std::uint8_t>(Blue(colour));
    pixel[1] = static_cast<std::uint8_t>(Green(colour));
    pixel[2] = static_cast<std::uint8_t>(Red(colour));
}

TArtCanvas::TArtCanvas(TBitmap& bitmap, TColor matte) : m_bitmap(bitmap), m_matte(matte) {}

void TArtCanvas::Fill(const TRect& rect, TColor colour)
{
    m_bitmap.Canvas()->Brush()->SetStyle(bsSolid);
    m_bitmap.Canvas()->Brush()->SetColor(colour);
    m_bitmap.Canvas()->FillRect(rect);
}

void TArtCanvas::Frame(const TRect& rect, TColor colour)
{
    HLine(rect.left, rect.right, rect.top, colour);
    HLine(rect.left, rect.right, rect.bottom - 1, colour);
    VLine(rect.left, rect.top, rect.bottom, colour);
    VLine(rect.right - 1, rect.top, rect.bottom, colour);
}

void TArtCanvas::Pixel(int x, int y, TColor colour)
{
    if (x >= 0 && y >= 0 && x < m_bitmap.Width() && y < m_bitmap.Height())
        WritePixel(m_bitmap, x, y, colour);
}

TColor TArtCanvas::PixelAt(int x, int y)
{
    return ReadPixel(m_bitmap, x, y);
}

void TArtCanvas::HLine(int left, int right, int y, TColor colour)
{
    Fill(Rect(left, y, right, y + 1), colour);
}

void TArtCanvas::VLine(int x, int top, int bottom, TColor colour)
{
    Fill(Rect(x, top, x + 1, bottom), colour);
}

void TArtCanvas::VerticalGradient(const TRect& rect, TColor top, TColor bottom)
{
    const int lines = rect.bottom - rect.top;
    for (int i = 0; i < lines; ++i)
        HLine(rect.left, rect.right, rect.top + i, Mix(top, bottom, lines > 1 ? double(i) / (lines - 1) : 0.5));
}

void TArtCanvas::HorizontalGradient(const TRect& rect, TColor left, TColor right)
{
    const int lines = rect.right - rect.left;
    for (int i = 0; i < lines; ++i)
        VLine(rect.left + i, rect.top, rect.bottom, Mix(left, right, lines > 1 ? double(i) / (lines - 1) : 0.5));
}

void TArtCanvas::Box(const TRect& rect, double radius, const TFaceLook& look)
{
    RoundRect(rect, radius, look.border);
    const TRect ring = Rect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    const TRect body = Rect(rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2);
    const double inner = std::max(radius - 1, 0.0);
    const int height = std::max<int>(body.bottom - body.top, 1);
    const auto gradient = [&](int, int y) {
        return Mix(look.top, look.bottom, std::clamp(double(y - body.top) / height, 0.0, 1.0));
    };
    Cover(ring, [&](double x, double y) { return InsideRoundRect(ring, inner, x, y); },
          [&](int x, int y) { return Mix(gradient(x, y), Rgb(255, 255, 255), 0.35); });
    Cover(body, [&](double x, double y) { return InsideRoundRect(body, std::max(inner - 1, 0.0), x, y); }, gradient);
}

void TArtCanvas::RoundRect(const TRect& rect, double radius, TColor colour)
{
    Cover(rect, [&](double x, double y) { return InsideRoundRect(rect, radius, x, y); },
          [colour](int, int) { return colour; });
}

void TArtCanvas::Disc(double centreX, double centreY, double radius, TColor colour)
{
    const TRect bounds = Rect(static_cast<LONG>(std::floor(centreX - radius)), static_cast<LONG>(std::floor(centreY - radius)),
                              static_cast<LONG>(std::ceil(centreX + radius)), static_cast<LONG>(std::ceil(centreY + radius)));
    Cover(bounds,
          [&](double x, double y) {
              return (x - centreX) * (x - centreX) + (y - centreY) * (y - centreY) <= radius * radius;
          },
          [colour](int, int) { return colour; });
}

void TArtCanvas::Line(double x1, double y1, double x2, double y2, double width, TColor colour)
{
    const double half = width / 2;
    const TRect bounds = Rect(static_cast<LONG>(std::floor(std::min(x1, x2) - half)), static_cast<LONG>(std::floor(std::min(y1, y2) - half)),
                              static_cast<LONG>(std::ceil(std::max(x1, x2) + half)), static_cast<LONG>(std::ceil(std::max(y1, y2) + half)));
    const double dx = x2 - x1, dy = y2 - y1, length2 = dx * dx + dy * dy;
    Cover(bounds,
          [&](double x, double y) {
              const double t = length2 > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / length2, 0.0, 1.0) : 0.0;
              const double ex = x1 + t * dx - x, ey = y1 + t * dy - y;
              return ex * ex + ey * ey <= half * half;
          },
          [colour](int, int) { return colour; });
}

void TArtCanvas::Polygon(std::initializer_list<TPoint> points, TColor colour)
{
    const std::vector<TPoint> corners(points);
    TRect bounds = Rect(corners[0].x, corners[0].y, corners[0].x, corners[0].y);
    for (const TPoint& point : corners) {
        bounds.left = std::min(bounds.left, point.x);
        bounds.top = std::min(bounds.top, point.y);
        bounds.right = std::max(bounds.right, point.x);
        bounds.bottom = std::max(bounds.bottom, point.y);
    }
    Cover(bounds, [&](double x, double y) { return InsidePolygon(corners, x, y); }, [colour](int, int) { return colour; });
}

void TArtCanvas::Shape(const TRect& bounds, const std::function<bool(double, double)>& inside,
                       const std::function<TColor(int, int)>& colour)
{
    Cover(bounds, inside, colour);
}

void TArtCanvas::Recolour(const TRect& rect, const std::function<TColor(TColor)>& change)
{
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (const TColor colour = PixelAt(x, y); colour != KeyColour)
                Pixel(x, y, change(colour));
}

void TArtCanvas::Cover(const TRect& bounds, const std::function<bool(double, double)>& inside,
                       const std::function<TColor(int, int)>& colour)
{
    for (int y = bounds.top; y < bounds.bottom; ++y) {
        for (int x = bounds.left; x < bounds.right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx)
                    hits += inside(x + (sx + 0.5) / Samples, y + (sy + 0.5) / Samples) ? 1 : 0;
            if (hits > 0)
                Blend(x, y, colour(x, y), double(hits) / (Samples * Samples));
        }
    }
}

void TArtCanvas::Blend(int x, int y, TColor colour, double coverage)
{
    if (x < 0 || y < 0 || x >= m_bitmap.Width() || y >= m_bitmap.Height())
        return;
    TColor below = PixelAt(x, y);
    if (below == KeyColour) {
        if (coverage < 1.0 / 3)
            return;
        below = m_matte;
    }
    Pixel(x, y, Mix(below, colour, coverage));
}
