// Marlett, the symbol face Windows draws caption buttons, check marks and arrows with, is not
// available here; its few symbols the code uses are drawn by us as shapes in the em square.
#include "platform/winapi/gdi/FontEngine.h"
#include "platform/winapi/gdi/TextRaster.h"

#include <cmath>
#include <mutex>
#include <numbers>
#include <unordered_map>
#include <vector>

namespace detail = winapi_gdi::detail;

namespace {

// A shape in the em square: x rightwards, y downwards from the top of the em, both 0..1.
using Shape = std::vector<PointF>;

Shape Stroke(PointF from, PointF to, double width)
{
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    const double nx = -dy / length * width / 2, ny = dx / length * width / 2;
    return {{from.x + nx, from.y + ny}, {to.x + nx, to.y + ny}, {to.x - nx, to.y - ny}, {from.x - nx, from.y - ny}};
}

Shape Box(double left, double top, double right, double bottom)
{
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

// A window outline: a thick title edge and thin sides.
std::vector<Shape> Frame(double left, double top, double right, double bottom)
{
    constexpr double thin = 0.07, thick = 0.14;
    return {Box(left, top, right, top + thick), Box(left, bottom - thin, right, bottom),
            Box(left, top, left + thin, bottom), Box(right - thin, top, right, bottom)};
}

std::vector<Shape> ShapesFor(char32_t character)
{
    constexpr double pen = 0.14;
    switch (character) {
    case U'0': // minimise
        return {Box(0.22, 0.68, 0.64, 0.80)};
    case U'1': // maximise
        return Frame(0.16, 0.16, 0.84, 0.84);
    case U'2': { // restore
        std::vector<Shape> shapes = Frame(0.34, 0.14, 0.86, 0.62);
        for (Shape& shape : Frame(0.14, 0.38, 0.66, 0.86))
            shapes.push_back(std::move(shape));
        return shapes;
    }
    case U'3': // arrow left
        return {{{0.62, 0.25}, {0.62, 0.75}, {0.37, 0.5}}};
    case U'4': // arrow right
        return {{{0.38, 0.25}, {0.63, 0.5}, {0.38, 0.75}}};
    case U'5': // arrow up
        return {{{0.25, 0.62}, {0.5, 0.37}, {0.75, 0.62}}};
    case U'6': // arrow down
        return {{{0.25, 0.38}, {0.75, 0.38}, {0.5, 0.63}}};
    case U'a': // check mark
        return {Stroke({0.2, 0.5}, {0.42, 0.72}, pen * 1.3), Stroke({0.36, 0.72}, {0.82, 0.26}, pen * 1.3)};
    case U'n': { // bullet
        Shape circle;
        for (int i = 0; i < 24; ++i) {
            const double angle = i * 2 * std::numbers::pi / 24;
            circle.push_back({0.5 + 0.18 * std::cos(angle), 0.5 + 0.18 * std::sin(angle)});
        }
        return {circle};
    }
    case U'r': // close
        return {Stroke({0.24, 0.24}, {0.76, 0.76}, pen), Stroke({0.76, 0.24}, {0.24, 0.76}, pen)};
    default:
        return {};
    }
}

class MarlettFont final : public FontInstance {
public:
    explicit MarlettFont(const detail::FontRequest& request)
    {
        m_em = detail::EmPixelsFor(request.height, 1, 1);
        const double radians = request.escapement * std::numbers::pi / 1800;
        m_cos = std::cos(radians);
        m_sin = std::sin(radians);
        FillMetrics(request);
    }

    const GlyphImage& Glyph(char32_t character) override
    {
        std::lock_guard guard(m_lock);
        auto known = m_glyphs.find(character);
        if (known == m_glyphs.end())
            known = m_glyphs.emplace(character, Render(character)).first;
        return known->second;
    }

    int Advance(char32_t) override { return m_em; }

private:
    void FillMetrics(const detail::FontRequest& request)
    {
        TEXTMETRICA& tm = m_metrics.text;
        tm.tmAscent = m_em;
        tm.tmDescent = 0;
        tm.tmHeight = m_em;
        tm.tmAveCharWidth = m_em;
        tm.tmMaxCharWidth = m_em;
        tm.tmWeight = request.weight;
        tm.tmDigitizedAspectX = 96;
        tm.tmDigitizedAspectY = 96;
        tm.tmFirstChar = 0x1E;
        tm.tmLastChar = 0xFF;
        tm.tmDefaultChar = 0x1F;
        tm.tmBreakChar = 0x20;
        tm.tmUnderlined = request.underline ? 1 : 0;
        tm.tmStruckOut = request.strikeOut ? 1 : 0;
        tm.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE | TMPF_FIXED_PITCH | FF_DECORATIVE;
        tm.tmCharSet = SYMBOL_CHARSET;
        m_metrics.emSquare = 2048;
        m_metrics.emPixels = static_cast<unsigned>(m_em);
        m_metrics.fontBox = {0, m_em, m_em, 0};
        m_metrics.underlinePosition = 0;
        m_metrics.underlineSize = std::max(1, m_em / 12);
        m_metrics.strikeoutPosition = m_em / 2;
        m_metrics.strikeoutSize = m_metrics.underlineSize;
        m_metrics.escapement = request.escapement;
        m_metrics.familyName = "Marlett";
        m_metrics.styleName = "Regular";
    }

    // Em-square point to pixels around the pen position on the baseline, turned by the escapement.
    PointF Place(PointF unit) const
    {
        const double x = unit.x * m_em;
        const double y = (unit.y - 1) * m_em;
        return {x * m_cos + y * m_sin, -x * m_sin + y * m_cos};
    }

    GlyphImage Render(char32_t character) const
    {
        GlyphImage image;
        image.advance = m_em;
        std::vector<Shape> shapes = ShapesFor(character);
        if (shapes.empty())
            return image;
        std::vector<PointF> all;
        for (Shape& shape : shapes)
            for (PointF& point : shape) {
                point = Place(point);
                all.push_back(point);
            }
        CoverageMask mask(BoundsOf(all));
        for (const Shape& shape : shapes)
            mask.FillPolygon(shape);
        image.left = mask.Bounds().left;
        image.top = -mask.Bounds().top;
        image.width = mask.Width();
        image.height = mask.Height();
        image.coverage.assign(mask.Data(), mask.Data() + static_cast<std::size_t>(image.width) * image.height);
        return image;
    }

    int m_em;
    double m_cos = 1;
    double m_sin = 0;
    std::mutex m_lock;
    std::unordered_map<char32_t, GlyphImage> m_glyphs;
};

} // namespace

namespace winapi_gdi::detail {

std::shared_ptr<FontInstance> CreateMarlettFont(const FontRequest& request)
{
    return std::make_shared<MarlettFont>(request);
}

} // namespace winapi_gdi::detail
