#pragma once

#include <string>

#include <QApplication>

namespace morvane::ui {
class Dialogs;
}

namespace morvane::qt {

// The application object. It gives the main window its key preview (every key event that
// reaches a widget of the window is shown to the window first; menu shortcuts are matched
// before and never arrive here) and the general error box: an exception that no handler
// catches is shown with its text, and the event loop goes on.
class TApplication final : public QApplication {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TApplication)

public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

    // Where the general error box is shown; without one the text goes to stderr.
    void SetErrorDialogs(ui::Dialogs *dialogs) { errorDialogs_ = dialogs; }
    // The general error box of the running application (stderr when there is none).
    static void ShowGeneralError(const std::string &text);

private:
    ui::Dialogs *errorDialogs_ = nullptr;
};

} // namespace morvane::qt
