#include "render/path_drawing.h"

#include <cstddef>

#include "render/canvas.h"

namespace morvane::render {

namespace {
constexpr Colour kPathGreen = Rgb(0, 192, 0);
constexpr Colour kPolygonGrey = Rgb(192, 192, 192);
constexpr int kSplineSteps = 20; // t = j / 20, 21 values per piece
constexpr int kSmallHalf = 3;    // 6 x 6 squares at the inner points
constexpr int kLastHalf = 5;     // 10 x 10 square at the last point
} // namespace

int BSplineCoordinate(Extended p0, Extended p1, Extended p2, Extended t) {
    // Rounded to nearest even. The order of the products decides the result at exact halves,
    // so it is kept as written: the squares first, then the product with the midpoint.
    const Extended a = NearbyInt((p0 + p1) / 2 * ((t - 1) * (t - 1)));
    const Extended b = NearbyInt(2 * p1 * (1 - t) * t);
    const Extended c = NearbyInt((p1 + p2) / 2 * (t * t));
    return static_cast<int>(TruncToInt64(a + b + c));
}

void DrawMotionPath(Canvas &canvas, std::span<const PathPoint> points, bool spline) {
    const std::size_t n = points.size();
    if (n < 1)
        return;
    canvas.Brush = kPathGreen;
    canvas.MoveTo(points[0].X, points[0].Y);
    canvas.Pen = spline ? kPolygonGrey : kPathGreen;
    for (const PathPoint &p : points)
        canvas.LineTo(p.X, p.Y);
    for (std::size_t k = 0; k < n; ++k) {
        const PathPoint &p = points[k];
        const int h = k + 1 < n ? kSmallHalf : kLastHalf;
        canvas.Rectangle(p.X - h, p.Y - h, p.X + h, p.Y + h);
    }
    if (!spline)
        return;
    canvas.Pen = kPathGreen;
    for (std::size_t k = 0; k + 2 < n; ++k) {
        const PathPoint &p0 = points[k];
        const PathPoint &p1 = points[k + 1];
        const PathPoint &p2 = points[k + 2];
        canvas.MoveTo((p0.X + p1.X) / 2, (p0.Y + p1.Y) / 2);
        for (int j = 0; j <= kSplineSteps; ++j) {
            const Extended t = Extended(j) / kSplineSteps;
            canvas.LineTo(BSplineCoordinate(p0.X, p1.X, p2.X, t),
                          BSplineCoordinate(p0.Y, p1.Y, p2.Y, t));
        }
    }
}

} // namespace morvane::render
