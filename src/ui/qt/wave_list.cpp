#include "ui/qt/wave_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace morvane::qt {

namespace {
constexpr int kItemHeight = 12; // pixels per wave, 45 waves in view

// Every row of the wave list is kItemHeight pixels high, whatever the font asks for.
class FixedHeightDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
    }
};
} // namespace

TWaveList::TWaveList(QWidget *parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new FixedHeightDelegate(this));
    // A font that fits the row.
    QFont rowFont = font();
    rowFont.setPixelSize(kItemHeight - 2);
    setFont(rowFont);
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

} // namespace morvane::qt
