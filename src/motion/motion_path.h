#pragma once

#include <array>

namespace morvane {

class Canvas;

struct PathPoint {
    int X = 0; // graph pixels, 0..383 from the left
    int Y = 0; // graph pixels, 0..383 from the top
    friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

// The motion path over the graph: up to 20 points, not part of the document (not saved, not
// undone). One instance for the whole run.
struct MotionPath {
    static constexpr int kMaxPoints = 20;

    std::array<PathPoint, kMaxPoints> PathPoints{{{32, 90}, {312, 30}, {372, 170}, {40, 370}}};
    int PathCount = 4;       // points 1..PathCount form the path
    int SelectedPoint = -1;  // 1-based number of the point being dragged, or -1

    const PathPoint& Point(int number) const; // 1-based, bounded
};

// Draws the path into the graph picture: the polyline and its squares, and in B-spline mode
// the green quadratic B-spline over the grey control polygon.
void DrawMotionPath(Canvas& canvas, const MotionPath& path, bool spline);

// Each of the three B-spline terms rounded on its own, ties to even, then added.
int BSplineCoordinate(long double p0, long double p1, long double p2, long double t);

} // namespace morvane
