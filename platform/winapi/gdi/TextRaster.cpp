#include "platform/winapi/gdi/TextRaster.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int SubRows = 4; // vertical samples per pixel row for polygon edges

int RectArea(const RECT& r)
{
    return std::max<LONG>(0, r.right - r.left) * std::max<LONG>(0, r.bottom - r.top);
}

} // namespace

CoverageMask::CoverageMask(const RECT& bounds)
    : m_bounds(bounds.right > bounds.left && bounds.bottom > bounds.top ? bounds : RECT{0, 0, 0, 0}),
      m_coverage(static_cast<std::size_t>(RectArea(m_bounds)), 0)
{
}

std::uint8_t CoverageMask::At(int x, int y) const
{
    if (x < m_bounds.left || x >= m_bounds.right || y < m_bounds.top || y >= m_bounds.bottom)
        return 0;
    return m_coverage[static_cast<std::size_t>((y - m_bounds.top) * Width() + (x - m_bounds.left))];
}

void CoverageMask::AddCoverage(int x, int y, int amount)
{
    std::uint8_t& cell = m_coverage[static_cast<std::size_t>((y - m_bounds.top) * Width() + (x - m_bounds.left))];
    cell = static_cast<std::uint8_t>(cell + amount - cell * amount / 255);
}

void CoverageMask::Add(int x, int y, const std::uint8_t* image, int width, int height, int pitch)
{
    const int left = std::max<int>(x, m_bounds.left);
    const int right = std::min<int>(x + width, m_bounds.right);
    const int top = std::max<int>(y, m_bounds.top);
    const int bottom = std::min<int>(y + height, m_bounds.bottom);
    for (int row = top; row < bottom; ++row) {
        const std::uint8_t* source = image + static_cast<std::ptrdiff_t>(row - y) * pitch + (left - x);
        std::uint8_t* target = &m_coverage[static_cast<std::size_t>((row - m_bounds.top) * Width() + (left - m_bounds.left))];
        for (int i = 0; i < right - left; ++i) {
            const int amount = source[i];
            const int cell = target[i];
            target[i] = static_cast<std::uint8_t>(cell == 0 ? amount : cell + amount - cell * amount / 255);
        }
    }
}

void CoverageMask::FillRect(const RECT& rect)
{
    for (int row = std::max<int>(rect.top, m_bounds.top); row < std::min<int>(rect.bottom, m_bounds.bottom); ++row)
        for (int column = std::max<int>(rect.left, m_bounds.left); column < std::min<int>(rect.right, m_bounds.right);
             ++column)
            AddCoverage(column, row, 255);
}

void CoverageMask::FillPolygon(std::span<const PointF> points)
{
    if (points.size() < 3 || Width() == 0)
        return;
    std::vector<double> rowCoverage(static_cast<std::size_t>(Width()) + 1);
    struct Crossing {
        double x;
        int winding;
    };
    std::vector<Crossing> crossings;
    for (int row = m_bounds.top; row < m_bounds.bottom; ++row) {
        std::fill(rowCoverage.begin(), rowCoverage.end(), 0.0);
        bool any = false;
        for (int sub = 0; sub < SubRows; ++sub) {
            const double y = row + (sub + 0.5) / SubRows;
            crossings.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const PointF& a = points[i];
                const PointF& b = points[(i + 1) % points.size()];
                if ((a.y <= y) == (b.y <= y))
                    continue;
                const double x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
                crossings.push_back({x, b.y > a.y ? 1 : -1});
            }
            std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
            int winding = 0;
            for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].winding;
                if (winding == 0)
                    continue;
                // Exact horizontal coverage of the span [from, to) on this sub-row.
                const double from = std::clamp(crossings[i].x - m_bounds.left, 0.0, double(Width()));
                const double to = std::clamp(crossings[i + 1].x - m_bounds.left, 0.0, double(Width()));
                for (int column = static_cast<int>(from); column < Width() && column < to; ++column) {
                    const double covered = std::min(to, column + 1.0) - std::max(from, double(column));
                    rowCoverage[static_cast<std::size_t>(column)] += std::max(0.0, covered);
                    any = true;
                }
            }
        }
        if (!any)
            continue;
        for (int column = 0; column < Width(); ++column) {
            const int amount = static_cast<int>(std::lround(std::min(1.0, rowCoverage[column] / SubRows) * 255));
            if (amount)
                AddCoverage(m_bounds.left + column, row, amount);
        }
    }
}

void CoverageMask::ClipTo(const RECT& rect)
{
    for (int row = m_bounds.top; row < m_bounds.bottom; ++row)
        for (int column = m_bounds.left; column < m_bounds.right; ++column)
            if (row < rect.top || row >= rect.bottom || column < rect.left || column >= rect.right)
                m_coverage[static_cast<std::size_t>((row - m_bounds.top) * Width() + (column - m_bounds.left))] = 0;
}

RECT BoundsOf(std::span<const PointF> points)
{
    if (points.empty())
        return {0, 0, 0, 0};
    double left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (const PointF& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return {static_cast<LONG>(std::floor(left)), static_cast<LONG>(std::floor(top)), static_cast<LONG>(std::ceil(right)),
            static_cast<LONG>(std::ceil(bottom))};
}
