#include "ui/qt/wave_list.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace morvane {

TWaveList::TWaveList(QWidget *parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void TWaveList::mousePressEvent(QMouseEvent *event) {
    QListWidget::mousePressEvent(event);
    if (itemAt(event->position().toPoint()) != nullptr)
        emit UserSelect();
}

void TWaveList::mouseMoveEvent(QMouseEvent *event) {
    // Dragging with the button held moves the selection like a click on each item passed.
    const int before = currentRow();
    QListWidget::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) && currentRow() != before)
        emit UserSelect();
}

void TWaveList::keyPressEvent(QKeyEvent *event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        emit UserSelect();
}

} // namespace morvane
