#pragma once

#include <array>

#include "document/extended.h"

namespace morvane {

class Canvas;

struct PathPoint {
    int X = 0; // graph pixels, 0..383 from the left
    int Y = 0; // graph pixels, 0..383 from the top
    friend bool operator==(const PathPoint &, const PathPoint &) = default;
};

// The mouse button of a press or release on the graph.
enum class MouseButton { Left, Right, Middle };

// The motion path over the graph: up to 20 points, not part of the document (not saved, not
// undone). One instance for the whole run.
struct MotionPath {
    static constexpr int kMaxPoints = 20;
    static constexpr int kHitDistance = 5; // a hit lies within 4 pixels on both axes (9 x 9)

    std::array<PathPoint, kMaxPoints> PathPoints{{{32, 90}, {312, 30}, {372, 170}, {40, 370}}};
    int PathCount = 4;      // points 1..PathCount form the path
    int SelectedPoint = -1; // 1-based number of the point being dragged, or -1

    const PathPoint &Point(int number) const; // 1-based, bounded

    // Appends (x, y) as the new last point; a full path stays as it is.
    void AddPathPoint(int x, int y);
    // The number of the last point whose 9 x 9 square holds (x, y), or -1.
    int FindPathPoint(int x, int y) const;
    // Puts the selected point at (x, y); nothing while no point is selected.
    void MoveSelectedPoint(int x, int y);
    // Removes the selected point, the later points moving down one place; selects none.
    void DeleteSelectedPoint();
};

// Draws the path into the graph picture: the polyline and its squares, and in B-spline mode
// the green quadratic B-spline over the grey control polygon.
void DrawMotionPath(Canvas &canvas, const MotionPath &path, bool spline);

// One coordinate of the drawn B-spline piece over p0, p1, p2 at parameter t: the three terms
// (p0 + p1) / 2 * (t - 1)^2, 2 * p1 * (1 - t) * t and (p1 + p2) / 2 * t^2 in extended
// precision, the squares taken before the product, each rounded on its own (ties to even),
// then added.
int BSplineCoordinate(Extended p0, Extended p1, Extended p2, Extended t);

namespace motion {

// What a mouse routine asks of the window afterwards.
struct PathMouseResult {
    bool Redraw = false;   // DrawWavetable for the current wave
    bool Modified = false; // set the document's modified flag
    friend bool operator==(const PathMouseResult &, const PathMouseResult &) = default;
};

// The graph's mouse events in the motion-path view. `pathStroke` is the window's PathStroke
// flag: a stroke on the graph is in progress. Coordinates are graph pixels and may lie outside
// the graph while a button is held.
PathMouseResult PathMouseDown(MotionPath &path, bool &pathStroke, MouseButton button, bool ctrl,
                              int x, int y);
PathMouseResult PathMouseMove(MotionPath &path, bool pathStroke, int x, int y);
PathMouseResult PathMouseUp(MotionPath &path, bool &pathStroke);

} // namespace motion

} // namespace morvane
