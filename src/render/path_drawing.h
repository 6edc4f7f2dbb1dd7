#pragma once

#include <span>

#include "document/extended.h"

namespace morvane::render {

class Canvas;

// A point of the motion path, in graph pixels. The path itself and its editing live in
// motion/; only the picture of it is drawn here.
struct PathPoint {
    int X = 0; // graph pixels, 0..383 from the left
    int Y = 0; // graph pixels, 0..383 from the top
    friend bool operator==(const PathPoint &, const PathPoint &) = default;
};

// Draws the path through `points` into the graph picture: the polyline and its squares, and in
// B-spline mode the green quadratic B-spline over the grey control polygon.
void DrawMotionPath(Canvas &canvas, std::span<const PathPoint> points, bool spline);

// One coordinate of the drawn B-spline piece over p0, p1, p2 at parameter t: the three terms
// (p0 + p1) / 2 * (t - 1)^2, 2 * p1 * (1 - t) * t and (p1 + p2) / 2 * t^2 in extended
// precision, the squares taken before the product, each rounded on its own (ties to even),
// then added.
int BSplineCoordinate(Extended p0, Extended p1, Extended p2, Extended t);

} // namespace morvane::render
