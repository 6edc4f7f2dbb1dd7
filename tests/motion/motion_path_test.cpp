#include "motion/motion_path.h"

#include <gtest/gtest.h>

namespace morvane::motion {
namespace {

using motion::PathMouseDown;
using motion::PathMouseMove;
using motion::PathMouseResult;
using motion::PathMouseUp;

constexpr PathMouseResult kNothing{false, false};
constexpr PathMouseResult kRedraw{true, false};
constexpr PathMouseResult kRedrawModified{true, true};

MotionPath PathOf(std::initializer_list<render::PathPoint> points) {
    MotionPath path;
    path.PathCount = 0;
    for (const render::PathPoint &p : points)
        path.AddPathPoint(p.X, p.Y);
    return path;
}

TEST(MotionPathPoints, StartsWithTheFourDefaultPoints) {
    const MotionPath path;
    ASSERT_EQ(path.PathCount, 4);
    EXPECT_EQ(path.Point(1), (render::PathPoint{32, 90}));
    EXPECT_EQ(path.Point(2), (render::PathPoint{312, 30}));
    EXPECT_EQ(path.Point(3), (render::PathPoint{372, 170}));
    EXPECT_EQ(path.Point(4), (render::PathPoint{40, 370}));
    EXPECT_EQ(path.SelectedPoint, -1);
}

TEST(MotionPathPoints, AddStopsAtTwentyPoints) {
    MotionPath path = PathOf({});
    for (int k = 1; k <= 20; ++k)
        path.AddPathPoint(10 * k, 5 * k);
    ASSERT_EQ(path.PathCount, 20);
    path.AddPathPoint(7, 7);
    EXPECT_EQ(path.PathCount, 20);
    EXPECT_EQ(path.Point(20), (render::PathPoint{200, 100}));
}

TEST(MotionPathPoints, HitSquareIsNinePixelsWide) {
    const MotionPath path = PathOf({{100, 200}});
    EXPECT_EQ(path.FindPathPoint(100, 200), 1);
    EXPECT_EQ(path.FindPathPoint(104, 204), 1);
    EXPECT_EQ(path.FindPathPoint(96, 196), 1);
    EXPECT_EQ(path.FindPathPoint(105, 200), -1);
    EXPECT_EQ(path.FindPathPoint(95, 200), -1);
    EXPECT_EQ(path.FindPathPoint(100, 205), -1);
    EXPECT_EQ(path.FindPathPoint(100, 195), -1);
}

TEST(MotionPathPoints, OverlappingPointsGiveTheLaterOne) {
    const MotionPath path = PathOf({{100, 100}, {50, 50}, {103, 102}, {300, 300}});
    EXPECT_EQ(path.FindPathPoint(101, 101), 3);
    EXPECT_EQ(path.FindPathPoint(97, 97), 1); // outside point 3's square
}

TEST(MotionPathPoints, DeleteKeepsTheOrderOfTheRest) {
    MotionPath path;
    path.SelectedPoint = 2;
    path.DeleteSelectedPoint();
    ASSERT_EQ(path.PathCount, 3);
    EXPECT_EQ(path.Point(1), (render::PathPoint{32, 90}));
    EXPECT_EQ(path.Point(2), (render::PathPoint{372, 170}));
    EXPECT_EQ(path.Point(3), (render::PathPoint{40, 370}));
    EXPECT_EQ(path.SelectedPoint, -1);
}

TEST(MotionPathPoints, MoveNeedsASelection) {
    MotionPath path;
    path.MoveSelectedPoint(1, 1);
    EXPECT_EQ(MotionPath{}.PathPoints, path.PathPoints);
    path.SelectedPoint = 4;
    path.MoveSelectedPoint(1, 2);
    EXPECT_EQ(path.Point(4), (render::PathPoint{1, 2}));
}

TEST(MotionPathMouse, ClickOnEmptyPlaceAddsAPointThatIsNotDragged) {
    MotionPath path;
    bool stroke = false;
    EXPECT_EQ(PathMouseDown(path, stroke, MouseButton::Left, false, 200, 200), kRedraw);
    EXPECT_TRUE(stroke);
    ASSERT_EQ(path.PathCount, 5);
    EXPECT_EQ(path.Point(5), (render::PathPoint{200, 200}));
    EXPECT_EQ(path.SelectedPoint, -1);
    // Moves of this stroke redraw and mark the document modified, but drag nothing.
    EXPECT_EQ(PathMouseMove(path, stroke, 250, 250), kRedrawModified);
    EXPECT_EQ(path.Point(5), (render::PathPoint{200, 200}));
    EXPECT_EQ(PathMouseUp(path, stroke), kRedraw);
    EXPECT_FALSE(stroke);
}

TEST(MotionPathMouse, RightOrCtrlClickOnEmptyPlaceAddsToo) {
    MotionPath path;
    bool stroke = false;
    PathMouseDown(path, stroke, MouseButton::Right, false, 200, 200);
    PathMouseUp(path, stroke);
    PathMouseDown(path, stroke, MouseButton::Left, true, 100, 300);
    PathMouseUp(path, stroke);
    ASSERT_EQ(path.PathCount, 6);
    EXPECT_EQ(path.Point(5), (render::PathPoint{200, 200}));
    EXPECT_EQ(path.Point(6), (render::PathPoint{100, 300}));
}

TEST(MotionPathMouse, ClickFivePixelsRightOfAPointAddsANewOne) {
    MotionPath path;
    bool stroke = false;
    PathMouseDown(path, stroke, MouseButton::Left, false, 37, 90);
    EXPECT_EQ(path.PathCount, 5);
    EXPECT_EQ(path.SelectedPoint, -1);
    EXPECT_EQ(path.Point(1), (render::PathPoint{32, 90}));
}

TEST(MotionPathMouse, RightClickOrCtrlClickOnAPointDeletesIt) {
    MotionPath path;
    bool stroke = false;
    EXPECT_EQ(PathMouseDown(path, stroke, MouseButton::Right, false, 314, 28), kRedraw);
    EXPECT_TRUE(stroke);
    ASSERT_EQ(path.PathCount, 3);
    EXPECT_EQ(path.Point(2), (render::PathPoint{372, 170}));
    EXPECT_EQ(path.SelectedPoint, -1);
    EXPECT_EQ(PathMouseMove(path, stroke, 10, 10), kRedrawModified);
    EXPECT_EQ(path.Point(2), (render::PathPoint{372, 170}));
    PathMouseUp(path, stroke);

    PathMouseDown(path, stroke, MouseButton::Middle, true, 40, 370);
    ASSERT_EQ(path.PathCount, 2);
    EXPECT_EQ(path.Point(2), (render::PathPoint{372, 170}));
}

TEST(MotionPathMouse, LeftOrMiddleDragMovesThePointAndStopsAtTheEdges) {
    for (MouseButton button : {MouseButton::Left, MouseButton::Middle}) {
        SCOPED_TRACE(static_cast<int>(button));
        MotionPath path;
        bool stroke = false;
        PathMouseDown(path, stroke, button, false, 372, 170);
        EXPECT_EQ(path.SelectedPoint, 3);
        EXPECT_EQ(PathMouseMove(path, stroke, 380, 100), kRedrawModified);
        EXPECT_EQ(path.Point(3), (render::PathPoint{380, 100}));
        EXPECT_EQ(PathMouseMove(path, stroke, 383, 0), kRedrawModified);
        EXPECT_EQ(path.Point(3), (render::PathPoint{383, 0}));
        // Outside the graph: ignored, the point stays at the last position inside.
        EXPECT_EQ(PathMouseMove(path, stroke, 384, 50), kNothing);
        EXPECT_EQ(PathMouseMove(path, stroke, 300, -1), kNothing);
        EXPECT_EQ(path.Point(3), (render::PathPoint{383, 0}));
        // Back inside while the button is still down: it follows again.
        PathMouseMove(path, stroke, 250, 260);
        EXPECT_EQ(path.Point(3), (render::PathPoint{250, 260}));
        EXPECT_EQ(PathMouseUp(path, stroke), kRedraw);
        EXPECT_EQ(path.SelectedPoint, -1);
        EXPECT_EQ(PathMouseMove(path, stroke, 10, 10), kNothing);
        EXPECT_EQ(path.Point(3), (render::PathPoint{250, 260}));
        EXPECT_EQ(path.PathCount, 4);
    }
}

TEST(MotionPathMouse, PressOutsideTheGraphStartsNoStroke) {
    for (const render::PathPoint &p : {render::PathPoint{384, 10}, render::PathPoint{-1, 10},
                                       render::PathPoint{10, 384}, render::PathPoint{10, -1}}) {
        SCOPED_TRACE(p.X * 1000 + p.Y);
        MotionPath path;
        bool stroke = false;
        EXPECT_EQ(PathMouseDown(path, stroke, MouseButton::Left, false, p.X, p.Y), kNothing);
        EXPECT_FALSE(stroke);
        EXPECT_EQ(path.PathCount, 4);
        EXPECT_EQ(PathMouseMove(path, stroke, 20, 20), kNothing);
        EXPECT_EQ(PathMouseUp(path, stroke), kNothing);
    }
}

TEST(MotionPathMouse, FullPathRedrawsWithoutAdding) {
    MotionPath path = PathOf({});
    for (int k = 0; k < 20; ++k)
        path.AddPathPoint(15 * k, 15 * k);
    bool stroke = false;
    EXPECT_EQ(PathMouseDown(path, stroke, MouseButton::Left, false, 300, 10), kRedraw);
    EXPECT_EQ(path.PathCount, 20);
    EXPECT_TRUE(stroke);
}

TEST(MotionPathMouse, EmptiedPathTakesPointOneOnTheNextClick) {
    MotionPath path;
    path.PathCount = 0; // "New WT motion" answered with Yes
    bool stroke = false;
    PathMouseDown(path, stroke, MouseButton::Left, false, 32, 90);
    ASSERT_EQ(path.PathCount, 1);
    EXPECT_EQ(path.Point(1), (render::PathPoint{32, 90}));
    EXPECT_EQ(path.SelectedPoint, -1);
}

} // namespace
} // namespace morvane::motion
