#include "tools/modemart/lib/ModemShapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double DistanceToSegment(double x, double y, const TArtPoint& a, const TArtPoint& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

TRect Bounds(const TArtShape& shape)
{
    return Rect(static_cast<LONG>(std::floor(shape.left)), static_cast<LONG>(std::floor(shape.top)),
                static_cast<LONG>(std::ceil(shape.right)), static_cast<LONG>(std::ceil(shape.bottom)));
}

// The shape shrunk by `by` on every side.
TArtShape Inset(const TArtShape& shape, double by)
{
    const double d = by * std::numbers::sqrt2 / 2;
    return {shape.left + by, shape.top + by, shape.right - by, shape.bottom - by,
            [inside = shape.inside, by, d](double x, double y) {
                return inside(x, y) && inside(x - by, y) && inside(x + by, y) && inside(x, y - by) && inside(x, y + by) &&
                       inside(x - d, y - d) && inside(x + d, y - d) && inside(x - d, y + d) && inside(x + d, y + d);
            }};
}

} // namespace

TArtShape RoundedBox(double left, double top, double right, double bottom, double radius)
{
    return {left, top, right, bottom, [=](double x, double y) {
                if (x < left || x > right || y < top || y > bottom)
                    return false;
                const double dx = std::max({left + radius - x, 0.0, x - (right - radius)});
                const double dy = std::max({top + radius - y, 0.0, y - (bottom - radius)});
                return dx * dx + dy * dy <= radius * radius;
            }};
}

TArtShape Circle(double cx, double cy, double radius)
{
    return {cx - radius, cy - radius, cx + radius, cy + radius,
            [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; }};
}

TArtShape Arc(double cx, double cy, double inner, double outer, double fromDegrees, double toDegrees)
{
    return {cx - outer, cy - outer, cx + outer, cy + outer, [=](double x, double y) {
                const double d = std::hypot(x - cx, y - cy);
                if (d < inner || d > outer)
                    return false;
                double angle = std::atan2(y - cy, x - cx) * 180 / std::numbers::pi;
                while (angle < fromDegrees)
                    angle += 360;
                return angle <= toDegrees;
            }};
}

TArtShape Convex(std::vector<TArtPoint> corners)
{
    TArtShape shape{corners[0].x, corners[0].y, corners[0].x, corners[0].y, {}};
    for (const TArtPoint& p : corners) {
        shape.left = std::min(shape.left, p.x);
        shape.top = std::min(shape.top, p.y);
        shape.right = std::max(shape.right, p.x);
        shape.bottom = std::max(shape.bottom, p.y);
    }
    shape.inside = [corners = std::move(corners)](double x, double y) {
        int sign = 0;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const TArtPoint& a = corners[i];
            const TArtPoint& b = corners[(i + 1) % corners.size()];
            const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
            const int side = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
            if (side != 0 && sign != 0 && side != sign)
                return false;
            if (side != 0)
                sign = side;
        }
        return true;
    };
    return shape;
}

TArtShape Stroke(std::vector<TArtPoint> points, double width)
{
    const double half = width / 2;
    TArtShape shape{points[0].x, points[0].y, points[0].x, points[0].y, {}};
    for (const TArtPoint& p : points) {
        shape.left = std::min(shape.left, p.x - half);
        shape.top = std::min(shape.top, p.y - half);
        shape.right = std::max(shape.right, p.x + half);
        shape.bottom = std::max(shape.bottom, p.y + half);
    }
    shape.inside = [points = std::move(points), half](double x, double y) {
        for (std::size_t i = 1; i < points.size(); ++i)
            if (DistanceToSegment(x, y, points[i - 1], points[i]) <= half)
                return true;
        return false;
    };
    return shape;
}

TArtShape Union(std::vector<TArtShape> shapes)
{
    TArtShape shape = shapes.front();
    for (const TArtShape& s : shapes) {
        shape.left = std::min(shape.left, s.left);
        shape.top = std::min(shape.top, s.top);
        shape.right = std::max(shape.right, s.right);
        shape.bottom = std::max(shape.bottom, s.bottom);
    }
    shape.inside = [shapes = std::move(shapes)](double x, double y) {
        return std::any_of(shapes.begin(), shapes.end(), [&](const TArtShape& s) { return s.inside(x, y); });
    };
    return shape;
}

TArtShape Minus(TArtShape shape, TArtShape hole)
{
    shape.inside = [inside = shape.inside, hole = hole.inside](double x, double y) { return inside(x, y) && !hole(x, y); };
    return shape;
}

TArtShape Placed(TArtShape shape, double scale, double left, double top)
{
    return {shape.left * scale + left, shape.top * scale + top, shape.right * scale + left, shape.bottom * scale + top,
            [inside = shape.inside, scale, left, top](double x, double y) {
                return inside((x - left) / scale, (y - top) / scale);
            }};
}

void Flat(TArtCanvas& art, const TArtShape& shape, TColor colour)
{
    art.Shape(Bounds(shape), shape.inside, [colour](int, int) { return colour; });
}

void Lit(TArtCanvas& art, const TArtShape& shape, const TArtTone& tone)
{
    Flat(art, shape, tone.dark);
    const TArtShape body = Inset(shape, 1.0);
    const double height = std::max(body.bottom - body.top, 1.0);
    art.Shape(Bounds(body), body.inside, [&](int, int y) {
        return Mix(tone.light, tone.base, std::clamp((y + 0.5 - body.top) / height, 0.0, 1.0));
    });
}
