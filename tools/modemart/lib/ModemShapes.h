#pragma once

#include "tools/modemart/lib/ModemPalette.h"

#include <functional>
#include <vector>

// Shapes in picture coordinates (doubles, so that one drawing serves every size): a test of
// whether a point lies inside and the bounds it stays within.
struct TArtShape {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    std::function<bool(double, double)> inside;
};

struct TArtPoint {
    double x;
    double y;
};

[[nodiscard]] TArtShape RoundedBox(double left, double top, double right, double bottom, double radius);
[[nodiscard]] TArtShape Circle(double cx, double cy, double radius);
// The band between two radii from `fromDegrees` to `toDegrees`, clockwise on screen (0 is east,
// 90 south).
[[nodiscard]] TArtShape Arc(double cx, double cy, double inner, double outer, double fromDegrees, double toDegrees);
// Corners in any order of turning.
[[nodiscard]] TArtShape Convex(std::vector<TArtPoint> corners);
// A polyline of the given width with round joins and ends.
[[nodiscard]] TArtShape Stroke(std::vector<TArtPoint> points, double width);
[[nodiscard]] TArtShape Union(std::vector<TArtShape> shapes);
[[nodiscard]] TArtShape Minus(TArtShape shape, TArtShape hole);
// The shape scaled about the origin and then moved: how a drawing made on a 32 x 32 grid lands
// in a picture of another size.
[[nodiscard]] TArtShape Placed(TArtShape shape, double scale, double left, double top);

void Flat(TArtCanvas& art, const TArtShape& shape, TColor colour);
// The lit look of the palette: outline, then the body shaded from light to base.
void Lit(TArtCanvas& art, const TArtShape& shape, const TArtTone& tone);
