#include "render/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace morvane::render {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
              Rgb(255, 255, 255)) {}

void Canvas::EnableRecording() {
    constexpr std::size_t kTypicalSteps = 2048; // a graph with its grid, curve and a long path
    recording_ = true;
    steps_.reserve(kTypicalSteps);
}

void Canvas::Record(const CanvasStep &step) {
    if (!recording_)
        return;
    if (step.What == CanvasStep::Kind::Rectangle && step.X0 <= 0 && step.Y0 <= 0 &&
        step.X1 >= width_ && step.Y1 >= height_)
        steps_.clear(); // everything before it is covered
    steps_.push_back(step);
}

void Canvas::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void Canvas::HorizontalRun(int x0, int x1, int y, Colour c) {
    if (y < 0 || y >= height_)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, width_ - 1);
    if (x0 > x1)
        return;
    Colour *row = pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    std::fill(row + x0, row + x1 + 1, c);
}

void Canvas::VerticalRun(int x, int y0, int y1, Colour c) {
    if (x < 0 || x >= width_)
        return;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_ - 1);
    if (y0 > y1)
        return;
    Colour *p =
        pixels_.data() + static_cast<std::size_t>(y0) * static_cast<std::size_t>(width_) + x;
    for (int y = y0; y <= y1; ++y, p += width_)
        *p = c;
}

void Canvas::LineTo(int x1, int y1) {
    const int x0 = penX_;
    const int y0 = penY_;
    penX_ = x1;
    penY_ = y1;
    if (x0 == x1 && y0 == y1)
        return;
    Record({CanvasStep::Kind::Line, x0, y0, x1, y1, Pen, 0});
    if (y0 == y1) {
        if (x1 > x0)
            HorizontalRun(x0, x1 - 1, y0, Pen);
        else
            HorizontalRun(x1 + 1, x0, y0, Pen);
        return;
    }
    if (x0 == x1) {
        if (y1 > y0)
            VerticalRun(x0, y0, y1 - 1, Pen);
        else
            VerticalRun(x0, y1 + 1, y0, Pen);
        return;
    }
    // Bresenham, every pixel but the end point.
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0;
    int y = y0;
    while (x != x1 || y != y1) {
        PutPixel(x, y, Pen);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Canvas::Rectangle(int l, int t, int r, int b) {
    if (r <= l || b <= t)
        return;
    Record({CanvasStep::Kind::Rectangle, l, t, r, b, Pen, Brush});
    for (int y = t + 1; y < b - 1; ++y)
        HorizontalRun(l + 1, r - 2, y, Brush);
    HorizontalRun(l, r - 1, t, Pen);
    HorizontalRun(l, r - 1, b - 1, Pen);
    VerticalRun(l, t, b - 1, Pen);
    VerticalRun(r - 1, t, b - 1, Pen);
}

Colour Canvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

void Canvas::SetPixel(int x, int y, Colour c) {
    Record({CanvasStep::Kind::Pixel, x, y, x, y, c, 0});
    PutPixel(x, y, c);
}

void Canvas::PutPixel(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)] = c;
}

void Canvas::Fill(Colour c) {
    Record({CanvasStep::Kind::Rectangle, 0, 0, width_, height_, c, c});
    std::fill(pixels_.begin(), pixels_.end(), c);
}

} // namespace morvane::render
