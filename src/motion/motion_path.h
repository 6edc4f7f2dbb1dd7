#pragma once

#include <array>
#include <span>

#include "render/path_drawing.h"

namespace morvane::motion {

// The mouse button of a press or release on the graph.
enum class MouseButton { Left, Right, Middle };

// The motion path over the graph: up to 20 points, not part of the document (not saved, not
// undone). One instance for the whole run.
struct MotionPath {
    static constexpr int kMaxPoints = 20;
    static constexpr int kHitDistance = 5; // a hit lies within 4 pixels on both axes (9 x 9)

    std::array<render::PathPoint, kMaxPoints> PathPoints{
        {{32, 90}, {312, 30}, {372, 170}, {40, 370}}};
    int PathCount = 4;      // points 1..PathCount form the path
    int SelectedPoint = -1; // 1-based number of the point being dragged, or -1

    const render::PathPoint &Point(int number) const; // 1-based, bounded
    // Points 1..PathCount (bounded), as they are drawn.
    std::span<const render::PathPoint> Points() const;

    // Appends (x, y) as the new last point; a full path stays as it is.
    void AddPathPoint(int x, int y);
    // The number of the last point whose 9 x 9 square holds (x, y), or -1.
    int FindPathPoint(int x, int y) const;
    // Puts the selected point at (x, y); nothing while no point is selected.
    void MoveSelectedPoint(int x, int y);
    // Removes the selected point, the later points moving down one place; selects none.
    void DeleteSelectedPoint();
};

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

} // namespace morvane::motion
