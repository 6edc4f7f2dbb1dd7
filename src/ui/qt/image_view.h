#pragma once

#include <QImage>
#include <QWidget>

class QMouseEvent;

namespace morvane {

class Canvas;

// An image control that keeps a retained picture and paints it in paintEvent; nothing is drawn
// on screen directly, so a redraw never shows a half-drawn state. It reports the mouse as the
// press, move and release events of the graph, in its own pixel coordinates. While a button is
// held, Qt's implicit grab keeps moves and the release coming here even outside the control.
class TImageView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TImageView)

public:
    // A picture of width x height pixels, white until the first copy.
    explicit TImageView(int width, int height, QWidget* parent = nullptr);

    // Copies the canvas into the picture at (0, 0) in one block (rows beyond the canvas, or
    // beyond the picture, are left alone) and schedules a repaint.
    void CopyFrom(const Canvas& canvas);
    const QImage& Image() const { return image_; }

    // The tooltip that follows the pointer: `text` at pixel `at` of the picture, shown at once
    // and again whenever Qt asks for a tooltip over the picture; an empty text hides it and
    // gives the control's own tooltip back.
    void ShowPointerText(const QString& text, QPoint at);
    const QString& PointerText() const { return pointerText_; }

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void MouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    bool event(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    QString pointerText_;
};

} // namespace morvane
