#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QTextBrowser;

namespace morvane::qt {

// The user guide in a window of its own: Qt renders the Markdown file with its pictures, links
// between pages of the guide open here, links to the web with the desktop's browser. The window
// can be resized and stays open beside the main window (it is not modal).
class TfrmUserGuide final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmUserGuide)

public:
    explicit TfrmUserGuide(QWidget *parent = nullptr);

    // Shows the guide at `path` from its start.
    void OpenGuide(const QString &path);

    QTextBrowser *txtGuide = nullptr;
    QPushButton *btnGuideHome = nullptr;
    QPushButton *btnGuideClose = nullptr;
};

} // namespace morvane::qt
