#include "motion/motion_path.h"

#include <cmath>

#include "ui/canvas.h"

namespace morvane {

namespace {
constexpr Colour kPathGreen = Rgb(0, 192, 0);
constexpr Colour kPolygonGrey = Rgb(192, 192, 192);
constexpr int kSplineSteps = 20; // t = j / 20, 21 values per piece
constexpr int kSmallHalf = 3;    // 6 x 6 squares at the inner points
constexpr int kLastHalf = 5;     // 10 x 10 square at the last point
} // namespace

const PathPoint& MotionPath::Point(int number) const {
    if (number < 1)
        number = 1;
    if (number > kMaxPoints)
        number = kMaxPoints;
    return PathPoints[static_cast<std::size_t>(number - 1)];
}

int BSplineCoordinate(long double p0, long double p1, long double p2, long double t) {
    // std::nearbyint rounds in the current mode, which is round-to-nearest-even.
    const long double a = std::nearbyintl((p0 + p1) / 2 * (t - 1) * (t - 1));
    const long double b = std::nearbyintl(2 * p1 * (1 - t) * t);
    const long double c = std::nearbyintl((p1 + p2) / 2 * t * t);
    return static_cast<int>(a + b + c);
}

void DrawMotionPath(Canvas& canvas, const MotionPath& path, bool spline) {
    const int n = path.PathCount < MotionPath::kMaxPoints ? path.PathCount : MotionPath::kMaxPoints;
    if (n < 1)
        return;
    canvas.Brush = kPathGreen;
    canvas.MoveTo(path.Point(1).X, path.Point(1).Y);
    canvas.Pen = spline ? kPolygonGrey : kPathGreen;
    for (int k = 1; k <= n; ++k)
        canvas.LineTo(path.Point(k).X, path.Point(k).Y);
    for (int k = 1; k <= n; ++k) {
        const PathPoint& p = path.Point(k);
        const int h = k < n ? kSmallHalf : kLastHalf;
        canvas.Rectangle(p.X - h, p.Y - h, p.X + h, p.Y + h);
    }
    if (!spline)
        return;
    canvas.Pen = kPathGreen;
    for (int k = 1; k <= n - 2; ++k) {
        const PathPoint& p0 = path.Point(k);
        const PathPoint& p1 = path.Point(k + 1);
        const PathPoint& p2 = path.Point(k + 2);
        canvas.MoveTo((p0.X + p1.X) / 2, (p0.Y + p1.Y) / 2);
        for (int j = 0; j <= kSplineSteps; ++j) {
            const long double t = static_cast<long double>(j) / kSplineSteps;
            canvas.LineTo(BSplineCoordinate(p0.X, p1.X, p2.X, t), BSplineCoordinate(p0.Y, p1.Y, p2.Y, t));
        }
    }
}

} // namespace morvane
