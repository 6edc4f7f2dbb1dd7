#pragma once

#include <vector>

#include <QImage>
#include <QWidget>

#include "render/canvas.h"

class QMouseEvent;
class QPainter;

namespace morvane::qt {

// Draws the recorded steps of a canvas with `painter`, in the canvas's pixel coordinates: lines
// antialiased through the pixel centres, rectangles and pixels as exact squares. On a screen of
// a higher pixel ratio this is the same picture, drawn at the screen's resolution.
void PaintCanvasSteps(QPainter &painter, const std::vector<render::CanvasStep> &steps);

// An image control that keeps a retained picture and paints it in paintEvent; nothing is drawn
// on screen directly, so a redraw never shows a half-drawn state. It reports the mouse as the
// press, move and release events of the graph, in its own pixel coordinates. While a button is
// held, Qt's implicit grab keeps moves and the release coming here even outside the control.
class TImageView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TImageView)

public:
    // A picture of width x height pixels, white until the first copy.
    explicit TImageView(int width, int height, QWidget *parent = nullptr);

    // Copies the canvas into the picture at (0, 0) in one block (rows beyond the canvas, or
    // beyond the picture, are left alone) and schedules a repaint. The canvas's recorded steps
    // come along: at a device pixel ratio above 1 the control paints them instead of scaling
    // the picture up, at the same logical positions.
    void CopyFrom(const render::Canvas &canvas);
    const QImage &Image() const { return image_; }

    // The tooltip that follows the pointer: `text` at pixel `at` of the picture, shown at once
    // and again whenever Qt asks for a tooltip over the picture; an empty text hides it and
    // gives the control's own tooltip back.
    void ShowPointerText(const QString &text, QPoint at);
    const QString &PointerText() const { return pointerText_; }

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void MouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    bool event(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage image_;
    QString pointerText_;
    std::vector<render::CanvasStep> steps_;
};

} // namespace morvane::qt
