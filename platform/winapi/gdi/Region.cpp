#include "platform/winapi/gdi/Region.h"

#include <algorithm>
#include <cmath>

namespace {

using Spans = std::vector<std::pair<int, int>>;

struct Band {
    int top, bottom;
    Spans spans;
};

std::vector<Band> ToBands(const std::vector<RECT>& rects)
{
    std::vector<Band> bands;
    for (const RECT& r : rects) {
        if (bands.empty() || bands.back().top != r.top)
            bands.push_back({r.top, r.bottom, {}});
        bands.back().spans.emplace_back(r.left, r.right);
    }
    return bands;
}

bool Apply(int mode, bool inA, bool inB)
{
    switch (mode) {
    case RGN_AND: return inA && inB;
    case RGN_OR: return inA || inB;
    case RGN_XOR: return inA != inB;
    case RGN_DIFF: return inA && !inB;
    default: return inA;
    }
}

bool Covers(const Spans& spans, int x)
{
    for (const auto& [left, right] : spans) {
        if (x < left)
            return false;
        if (x < right)
            return true;
    }
    return false;
}

Spans CombineSpans(const Spans& a, const Spans& b, int mode)
{
    std::vector<int> xs;
    for (const auto& [l, r] : a) {
        xs.push_back(l);
        xs.push_back(r);
    }
    for (const auto& [l, r] : b) {
        xs.push_back(l);
        xs.push_back(r);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    Spans out;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        if (!Apply(mode, Covers(a, xs[i]), Covers(b, xs[i])))
            continue;
        if (!out.empty() && out.back().second == xs[i])
            out.back().second = xs[i + 1];
        else
            out.emplace_back(xs[i], xs[i + 1]);
    }
    return out;
}

// Appends a band, merging it into the previous one when they touch and have the same spans.
void AppendBand(std::vector<Band>& bands, int top, int bottom, Spans spans)
{
    if (spans.empty() || top >= bottom)
        return;
    if (!bands.empty() && bands.back().bottom == top && bands.back().spans == spans)
        bands.back().bottom = bottom;
    else
        bands.push_back({top, bottom, std::move(spans)});
}

std::vector<RECT> ToRects(const std::vector<Band>& bands)
{
    std::vector<RECT> rects;
    for (const Band& band : bands)
        for (const auto& [l, r] : band.spans)
            rects.push_back({l, band.top, r, band.bottom});
    return rects;
}

const Spans* SpansAt(const std::vector<Band>& bands, int y)
{
    for (const Band& band : bands) {
        if (y < band.top)
            return nullptr;
        if (y < band.bottom)
            return &band.spans;
    }
    return nullptr;
}

Spans Normalise(Spans spans)
{
    std::sort(spans.begin(), spans.end());
    Spans out;
    for (const auto& span : spans) {
        if (span.first >= span.second)
            continue;
        if (!out.empty() && span.first <= out.back().second)
            out.back().second = std::max(out.back().second, span.second);
        else
            out.push_back(span);
    }
    return out;
}

} // namespace

Region::Region(const RECT& rect)
{
    if (rect.left < rect.right && rect.top < rect.bottom)
        m_rects.push_back(rect);
}

Region Region::Combine(const Region& a, const Region& b, int mode)
{
    if (mode == RGN_COPY)
        return a;
    const auto bandsA = ToBands(a.m_rects);
    const auto bandsB = ToBands(b.m_rects);
    std::vector<int> ys;
    for (const auto* bands : {&bandsA, &bandsB})
        for (const Band& band : *bands) {
            ys.push_back(band.top);
            ys.push_back(band.bottom);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    static const Spans none;
    std::vector<Band> out;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        const Spans* spansA = SpansAt(bandsA, ys[i]);
        const Spans* spansB = SpansAt(bandsB, ys[i]);
        AppendBand(out, ys[i], ys[i + 1], CombineSpans(spansA ? *spansA : none, spansB ? *spansB : none, mode));
    }
    Region result;
    result.m_rects = ToRects(out);
    return result;
}

Region Region::FromSpans(std::span<const Span> spans)
{
    std::vector<Span> sorted(spans.begin(), spans.end());
    std::sort(sorted.begin(), sorted.end(), [](const Span& l, const Span& r) { return l.y < r.y; });
    std::vector<Band> bands;
    for (std::size_t i = 0; i < sorted.size();) {
        Spans row;
        const int y = sorted[i].y;
        for (; i < sorted.size() && sorted[i].y == y; ++i)
            row.emplace_back(sorted[i].left, sorted[i].right);
        AppendBand(bands, y, y + 1, Normalise(std::move(row)));
    }
    Region result;
    result.m_rects = ToRects(bands);
    return result;
}

Region Region::FromRects(std::span<const RECT> rects)
{
    std::vector<RECT> pending;
    std::vector<int> edges;
    pending.reserve(rects.size());
    edges.reserve(rects.size() * 2);
    for (const RECT& r : rects)
        if (r.left < r.right && r.top < r.bottom) {
            pending.push_back(r);
            edges.push_back(r.top);
            edges.push_back(r.bottom);
        }
    std::sort(pending.begin(), pending.end(), [](const RECT& l, const RECT& r) { return l.top < r.top; });
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    // Between two consecutive edges the same rectangles cover every line: one band each.
    std::vector<Band> bands;
    std::vector<RECT> active;
    Spans row;
    std::size_t next = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i];
        std::erase_if(active, [top](const RECT& r) { return r.bottom <= top; });
        for (; next < pending.size() && pending[next].top == top; ++next)
            active.push_back(pending[next]);
        row.clear();
        for (const RECT& r : active)
            row.emplace_back(r.left, r.right);
        AppendBand(bands, top, edges[i + 1], Normalise(row));
    }
    Region result;
    result.m_rects = ToRects(bands);
    return result;
}

Region Region::FromPolygons(std::span<const POINT> points, std::span<const int> counts, int fillMode)
{
    struct Edge {
        double x0, y0, x1, y1;
        int direction;
    };
    std::vector<Edge> edges;
    std::size_t start = 0;
    int minY = 0, maxY = 0;
    bool any = false;
    for (int count : counts) {
        if (count < 2 || start + static_cast<std::size_t>(count) > points.size())
            break;
        for (int i = 0; i < count; ++i) {
            const POINT& p = points[start + static_cast<std::size_t>(i)];
            const POINT& q = points[start + static_cast<std::size_t>((i + 1) % count)];
            minY = any ? std::min<int>(minY, p.y) : p.y;
            maxY = any ? std::max<int>(maxY, p.y) : p.y;
            any = true;
            if (p.y != q.y)
                edges.push_back({double(p.x), double(p.y), double(q.x), double(q.y), q.y > p.y ? 1 : -1});
        }
        start += static_cast<std::size_t>(count);
    }
    std::vector<Span> spans;
    std::vector<std::pair<double, int>> crossings;
    for (int y = minY; y < maxY; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (const Edge& e : edges) {
            if (yc < std::min(e.y0, e.y1) || yc >= std::max(e.y0, e.y1))
                continue;
            crossings.emplace_back(e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.direction);
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += fillMode == WINDING ? crossings[i].second : 1;
            const bool inside = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
            if (!inside)
                continue;
            // A pixel is inside when its centre is: left <= x + 0.5 < right.
            const int left = static_cast<int>(std::ceil(crossings[i].first - 0.5));
            const int right = static_cast<int>(std::ceil(crossings[i + 1].first - 0.5));
            if (left < right)
                spans.push_back({y, left, right});
        }
    }
    return FromSpans(spans);
}

RECT Region::Bounds() const
{
    if (m_rects.empty())
        return {0, 0, 0, 0};
    RECT box = m_rects.front();
    for (const RECT& r : m_rects) {
        box.left = std::min(box.left, r.left);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

int Region::Kind() const
{
    if (m_rects.empty())
        return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Region::Contains(int x, int y) const
{
    for (const RECT& r : m_rects) {
        if (y < r.top)
            return false;
        if (y < r.bottom && x >= r.left && x < r.right)
            return true;
    }
    return false;
}

bool Region::Intersects(const RECT& rect) const
{
    for (const RECT& r : m_rects) {
        if (r.top >= rect.bottom)
            return false;
        if (r.bottom > rect.top && r.left < rect.right && r.right > rect.left)
            return true;
    }
    return false;
}

void Region::Offset(int dx, int dy)
{
    for (RECT& r : m_rects) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
}

std::vector<RECT> Region::Clip(const RECT& rect) const
{
    std::vector<RECT> out;
    for (const RECT& r : m_rects) {
        if (r.top >= rect.bottom)
            break;
        const RECT c{std::max(r.left, rect.left), std::max(r.top, rect.top), std::min(r.right, rect.right),
                     std::min(r.bottom, rect.bottom)};
        if (c.left < c.right && c.top < c.bottom)
            out.push_back(c);
    }
    return out;
}

bool Region::operator==(const Region& other) const
{
    return std::equal(m_rects.begin(), m_rects.end(), other.m_rects.begin(), other.m_rects.end(),
                      [](const RECT& a, const RECT& b) {
                          return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
                      });
}
