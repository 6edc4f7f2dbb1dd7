#pragma once

#include <string>
#include <vector>

#include <QDialog>

class QPlainTextEdit;

namespace morvane::qt {

// The help dialog: a text box over the whole client area with the help text. It starts with
// the lines it is given; each time it becomes the active window it reads "help.txt" (the
// current folder first, then the installed copy) or, when none can be read, appends
// "help.txt not found".
class TfrmHelp final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmHelp)

public:
    explicit TfrmHelp(const std::vector<std::string> &lines, QWidget *parent = nullptr);

    // Runs on every activation; public so that it can be run without a window system.
    void FormActivate();

    // The lines of Memo1 (none while it is empty).
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string> &lines);

    QPlainTextEdit *Memo1 = nullptr;

protected:
    bool event(QEvent *event) override;
};

} // namespace morvane::qt
