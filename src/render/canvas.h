#pragma once

#include <cstdint>
#include <vector>

namespace morvane::render {

// 32-bit colour as 0xFFRRGGBB, the layout of a 32-bit RGB picture.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r & 0xFF) << 16) |
           (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
}

// One drawing step of a canvas, in its pixel coordinates: a line from (X0, Y0) to (X1, Y1), a
// rectangle covering X0..X1-1 and Y0..Y1-1 (outline in Pen, inside in Fill), or one pixel at
// (X0, Y0) in Pen. A screen at a higher resolution than the canvas replays the steps to draw the
// same picture sharply.
struct CanvasStep {
    enum class Kind : std::uint8_t { Line, Rectangle, Pixel };
    Kind What = Kind::Line;
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;
    Colour Pen = 0;
    Colour Fill = 0;
};

// An off-screen 32-bit picture with the drawing rules the graph relies on: a one-pixel pen,
// a brush, move-to, line-to that leaves out its end point, rectangles covering l..r-1 and
// t..b-1 (outline in the pen, inside in the brush), and clipping at the edges. The pixels are
// allocated once, when the canvas is made.
class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    Colour Pen = Rgb(0, 0, 0);
    Colour Brush = Rgb(255, 255, 255);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int l, int t, int r, int b);

    Colour Pixel(int x, int y) const;
    void SetPixel(int x, int y, Colour c);
    void Fill(Colour c);

    const Colour *Data() const { return pixels_.data(); }
    Colour *Data() { return pixels_.data(); }
    int PenX() const { return penX_; }
    int PenY() const { return penY_; }

    // With recording on, the canvas also keeps the steps that make its current picture, from
    // the last one that covered it whole (a rectangle over all of it, or Fill): a screen of
    // higher resolution replays them. The list keeps its capacity, so a redraw allocates nothing
    // once warm. Pixels written through Data() are not seen: their writer records them.
    void EnableRecording();
    bool Recording() const { return recording_; }
    const std::vector<CanvasStep> &Steps() const { return steps_; }
    void Record(const CanvasStep &step);

private:
    void HorizontalRun(int x0, int x1, int y, Colour c); // x0..x1 inclusive, clipped
    void VerticalRun(int x, int y0, int y1, Colour c);   // y0..y1 inclusive, clipped
    void PutPixel(int x, int y, Colour c);

    int width_;
    int height_;
    int penX_ = 0;
    int penY_ = 0;
    std::vector<Colour> pixels_;
    bool recording_ = false;
    std::vector<CanvasStep> steps_;
};

} // namespace morvane::render
