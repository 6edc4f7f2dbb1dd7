#pragma once

#include <cstdint>
#include <vector>

namespace morvane {

// 32-bit colour as 0xFFRRGGBB, the layout of a 32-bit RGB picture.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r & 0xFF) << 16) |
           (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
}

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

    const Colour* Data() const { return pixels_.data(); }
    Colour* Data() { return pixels_.data(); }
    int PenX() const { return penX_; }
    int PenY() const { return penY_; }

private:
    void HorizontalRun(int x0, int x1, int y, Colour c); // x0..x1 inclusive, clipped
    void VerticalRun(int x, int y0, int y1, Colour c);   // y0..y1 inclusive, clipped

    int width_;
    int height_;
    int penX_ = 0;
    int penY_ = 0;
    std::vector<Colour> pixels_;
};

} // namespace morvane
