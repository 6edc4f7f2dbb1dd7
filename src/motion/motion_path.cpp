#include "motion/motion_path.h"

#include <cmath>
#include <cstdlib>

namespace morvane::motion {

namespace {
constexpr int kGraphPixels = 384; // the path lives on the 384 x 384 graph

bool InsideGraph(int x, int y) {
    return x >= 0 && x < kGraphPixels && y >= 0 && y < kGraphPixels;
}
} // namespace

const render::PathPoint &MotionPath::Point(int number) const {
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
        const render::PathPoint &p = Point(k);
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

std::span<const render::PathPoint> MotionPath::Points() const {
    const int n = PathCount < 0 ? 0 : PathCount < kMaxPoints ? PathCount : kMaxPoints;
    return std::span<const render::PathPoint>(PathPoints.data(), static_cast<std::size_t>(n));
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

} // namespace morvane::motion
