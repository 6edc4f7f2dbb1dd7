#include "motion/motion_path.h"

#include <cmath>
#include <cstdlib>

#include "ui/canvas.h"

namespace morvane {

namespace {
constexpr Colour kPathGreen = Rgb(0, 192, 0);
constexpr Colour kPolygonGrey = Rgb(192, 192, 192);
constexpr int kSplineSteps = 20;  // t = j / 20, 21 values per piece
constexpr int kSmallHalf = 3;     // 6 x 6 squares at the inner points
constexpr int kLastHalf = 5;      // 10 x 10 square at the last point
constexpr int kGraphPixels = 384; // the path lives on the 384 x 384 graph

bool InsideGraph(int x, int y) {
    return x >= 0 && x < kGraphPixels && y >= 0 && y < kGraphPixels;
}
} // namespace

const PathPoint &MotionPath::Point(int number) const {
    if (number < 1)
        number = 1;
    if (number > kMaxPoints)
        number = kMaxPoints;
    return PathPoints[static_cast<std::size_t>(number - 1)];
}

void MotionPath::AddPathPoint(int x, int y) {
    if (PathCount >= kMaxPoints)
        return;
    if (PathCount < 0)
        PathCount = 0;
    PathPoints[static_cast<std::size_t>(PathCount)] = {x, y};
    ++PathCount;
}

int MotionPath::FindPathPoint(int x, int y) const {
    int hit = -1;
    for (int k = 1; k <= PathCount && k <= kMaxPoints; ++k) {
        const PathPoint &p = Point(k);
        if (std::abs(x - p.X) < kHitDistance && std::abs(y - p.Y) < kHitDistance)
            hit = k; // a later point wins over an earlier one
    }
    return hit;
}

void MotionPath::MoveSelectedPoint(int x, int y) {
    if (SelectedPoint < 1 || SelectedPoint > PathCount || SelectedPoint > kMaxPoints)
        return;
    PathPoints[static_cast<std::size_t>(SelectedPoint - 1)] = {x, y};
}

void MotionPath::DeleteSelectedPoint() {
    // Only called right after a hit; anything else is refused rather than shifting garbage.
    if (SelectedPoint >= 1 && SelectedPoint <= PathCount && PathCount <= kMaxPoints) {
        for (int k = SelectedPoint; k < PathCount; ++k)
            PathPoints[static_cast<std::size_t>(k - 1)] = PathPoints[static_cast<std::size_t>(k)];
        --PathCount;
    }
    SelectedPoint = -1;
}

int BSplineCoordinate(Extended p0, Extended p1, Extended p2, Extended t) {
    // Rounded to nearest even. The order of the products decides the result at exact halves,
    // so it is kept as written: the squares first, then the product with the midpoint.
    const Extended a = NearbyInt((p0 + p1) / 2 * ((t - 1) * (t - 1)));
    const Extended b = NearbyInt(2 * p1 * (1 - t) * t);
    const Extended c = NearbyInt((p1 + p2) / 2 * (t * t));
    return static_cast<int>(TruncToInt64(a + b + c));
}

void DrawMotionPath(Canvas &canvas, const MotionPath &path, bool spline) {
    const int n = path.PathCount < MotionPath::kMaxPoints ? path.PathCount : MotionPath::kMaxPoints;
    if (n < 1)
        return;
    canvas.Brush = kPathGreen;
    canvas.MoveTo(path.Point(1).X, path.Point(1).Y);
    canvas.Pen = spline ? kPolygonGrey : kPathGreen;
    for (int k = 1; k <= n; ++k)
        canvas.LineTo(path.Point(k).X, path.Point(k).Y);
    for (int k = 1; k <= n; ++k) {
        const PathPoint &p = path.Point(k);
        const int h = k < n ? kSmallHalf : kLastHalf;
        canvas.Rectangle(p.X - h, p.Y - h, p.X + h, p.Y + h);
    }
    if (!spline)
        return;
    canvas.Pen = kPathGreen;
    for (int k = 1; k <= n - 2; ++k) {
        const PathPoint &p0 = path.Point(k);
        const PathPoint &p1 = path.Point(k + 1);
        const PathPoint &p2 = path.Point(k + 2);
        canvas.MoveTo((p0.X + p1.X) / 2, (p0.Y + p1.Y) / 2);
        for (int j = 0; j <= kSplineSteps; ++j) {
            const Extended t = Extended(j) / kSplineSteps;
            canvas.LineTo(BSplineCoordinate(p0.X, p1.X, p2.X, t),
                          BSplineCoordinate(p0.Y, p1.Y, p2.Y, t));
        }
    }
}

namespace motion {

PathMouseResult PathMouseDown(MotionPath &path, bool &pathStroke, MouseButton button, bool ctrl,
                              int x, int y) {
    if (!InsideGraph(x, y))
        return {};
    path.SelectedPoint = path.FindPathPoint(x, y);
    if (path.SelectedPoint < 0) {
        // Whatever the button and keys: the new point is not selected, so this stroke does
        // not drag it.
        path.AddPathPoint(x, y);
    } else if (ctrl || button == MouseButton::Right) {
        path.DeleteSelectedPoint();
    }
    pathStroke = true;
    return {true, false};
}

PathMouseResult PathMouseMove(MotionPath &path, bool pathStroke, int x, int y) {
    if (!pathStroke || !InsideGraph(x, y))
        return {};
    if (path.SelectedPoint > 0)
        path.MoveSelectedPoint(x, y);
    // Every move of a stroke counts as a change, also when nothing is dragged.
    return {true, true};
}

PathMouseResult PathMouseUp(MotionPath &path, bool &pathStroke) {
    if (!pathStroke)
        return {};
    pathStroke = false;
    path.SelectedPoint = -1;
    return {true, false};
}

} // namespace motion

} // namespace morvane
