#include "ui/qt/image_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "render/canvas.h"

namespace morvane::qt {

TImageView::TImageView(int width, int height, QWidget *parent)
    : QWidget(parent), image_(width, height, QImage::Format_RGB32) {
    image_.fill(Qt::white);
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers the whole control
    setMouseTracking(true);                // moves without a button, as the graph expects
}

void TImageView::CopyFrom(const render::Canvas &canvas) {
    // The canvas stores 0xFFRRGGBB per pixel, the layout of QImage::Format_RGB32.
    const int rows = std::min(canvas.Height(), image_.height());
    const int columns = std::min(canvas.Width(), image_.width());
    const auto bytes = static_cast<std::size_t>(columns) * sizeof(render::Colour);
    for (int y = 0; y < rows; ++y)
        std::memcpy(image_.scanLine(y),
                    canvas.Data() + static_cast<std::ptrdiff_t>(y) * canvas.Width(), bytes);
    steps_.assign(canvas.Steps().begin(), canvas.Steps().end()); // keeps its capacity
    update();
}

namespace {
// The pixel under the pointer: positions can be fractional on scaled screens, and rounding
// would hand the next column (or the first one outside) to the graph.
QPoint PixelAt(const QMouseEvent &event) {
    const QPointF p = event.position();
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}
} // namespace

void TImageView::ShowPointerText(const QString &text, QPoint at) {
    pointerText_ = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else if (isVisible())
        QToolTip::showText(mapToGlobal(at), text, this);
}

bool TImageView::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip && !pointerText_.isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), pointerText_, this);
        return true;
    }
    return QWidget::event(event);
}

void TImageView::leaveEvent(QEvent *event) {
    pointerText_.clear();
    QWidget::leaveEvent(event);
}

void PaintCanvasSteps(QPainter &painter, const std::vector<render::CanvasStep> &steps) {
    const auto colour = [](render::Colour c) { return QColor::fromRgb(c); };
    for (const render::CanvasStep &step : steps) {
        switch (step.What) {
        case render::CanvasStep::Kind::Line:
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(colour(step.Pen), 1.0, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QLineF(step.X0 + 0.5, step.Y0 + 0.5, step.X1 + 0.5, step.Y1 + 0.5));
            break;
        case render::CanvasStep::Kind::Rectangle:
            painter.fillRect(QRect(step.X0, step.Y0, step.X1 - step.X0, step.Y1 - step.Y0),
                             colour(step.Pen));
            if (step.X1 - step.X0 > 2 && step.Y1 - step.Y0 > 2)
                painter.fillRect(
                    QRect(step.X0 + 1, step.Y0 + 1, step.X1 - step.X0 - 2, step.Y1 - step.Y0 - 2),
                    colour(step.Fill));
            break;
        case render::CanvasStep::Kind::Pixel:
            painter.fillRect(QRect(step.X0, step.Y0, 1, 1), colour(step.Pen));
            break;
        }
    }
}

void TImageView::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    if (devicePixelRatioF() > 1 && !steps_.empty()) {
        painter.setClipRect(QRect(0, 0, image_.width(), image_.height()));
        PaintCanvasSteps(painter, steps_);
        return;
    }
    // A picture without steps (the overview) is stretched smoothly on a scaled window.
    if (devicePixelRatioF() != 1.0)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(event->rect(), image_, event->rect());
}

void TImageView::mousePressEvent(QMouseEvent *event) {
    const QPoint p = PixelAt(*event);
    emit MouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TImageView::mouseMoveEvent(QMouseEvent *event) {
    const QPoint p = PixelAt(*event);
    emit MouseMove(event->modifiers(), p.x(), p.y());
}

void TImageView::mouseReleaseEvent(QMouseEvent *event) {
    const QPoint p = PixelAt(*event);
    emit MouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

} // namespace morvane::qt
