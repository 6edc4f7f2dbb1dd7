#include "ui/qt/image_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "ui/canvas.h"

namespace morvane {

TImageView::TImageView(int width, int height, QWidget* parent)
    : QWidget(parent), image_(width, height, QImage::Format_RGB32) {
    image_.fill(Qt::white);
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers the whole control
    setMouseTracking(true);                // moves without a button, as the graph expects
}

void TImageView::CopyFrom(const Canvas& canvas) {
    // The canvas stores 0xFFRRGGBB per pixel, the layout of QImage::Format_RGB32.
    const int rows = std::min(canvas.Height(), image_.height());
    const int columns = std::min(canvas.Width(), image_.width());
    const auto bytes = static_cast<std::size_t>(columns) * sizeof(Colour);
    for (int y = 0; y < rows; ++y)
        std::memcpy(image_.scanLine(y), canvas.Data() + static_cast<std::ptrdiff_t>(y) * canvas.Width(),
                    bytes);
    update();
}

namespace {
// The pixel under the pointer: positions can be fractional on scaled screens, and rounding
// would hand the next column (or the first one outside) to the graph.
QPoint PixelAt(const QMouseEvent& event) {
    const QPointF p = event.position();
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}
} // namespace

void TImageView::ShowPointerText(const QString& text, QPoint at) {
    pointerText_ = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else if (isVisible())
        QToolTip::showText(mapToGlobal(at), text, this);
}

bool TImageView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && !pointerText_.isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), pointerText_, this);
        return true;
    }
    return QWidget::event(event);
}

void TImageView::leaveEvent(QEvent* event) {
    pointerText_.clear();
    QWidget::leaveEvent(event);
}

void TImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // On a scaled window the picture is stretched; smoothly, rather than with jagged steps.
    if (devicePixelRatioF() != 1.0)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(event->rect(), image_, event->rect());
}

void TImageView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = PixelAt(*event);
    emit MouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TImageView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = PixelAt(*event);
    emit MouseMove(event->modifiers(), p.x(), p.y());
}

void TImageView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = PixelAt(*event);
    emit MouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

} // namespace morvane
