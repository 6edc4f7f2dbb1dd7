#pragma once

#include <QListWidget>

namespace morvane::qt {

// The wave list. Its UserSelect signal stands for the list box's click event: it comes from a
// user's click on an item or a key that moves the selection, never from the program choosing
// an item (which must run no handler).
class TWaveList final : public QListWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWaveList)

public:
    explicit TWaveList(QWidget *parent = nullptr);

signals:
    void UserSelect();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace morvane::qt
