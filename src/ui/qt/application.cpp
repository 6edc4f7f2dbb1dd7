#include "ui/qt/application.h"

#include <cstdio>
#include <exception>

#include <QKeyEvent>
#include <QWidget>

#include "ui/dialogs.h"
#include "ui/qt/main_window.h"

namespace morvane::qt {

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject *receiver, QEvent *event) {
    try {
        // Key events propagate from the focused control to its parents inside
        // QApplication::notify without calling notify again, so each key is previewed once.
        const auto type = event->type();
        if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && receiver->isWidgetType()) {
            if (auto *window = qobject_cast<TfrmMain *>(static_cast<QWidget *>(receiver)->window()))
                window->PreviewKeyEvent(*static_cast<QKeyEvent *>(event));
        }
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ShowGeneralError(e.what());
    } catch (...) {
        ShowGeneralError("Unknown error");
    }
    return false;
}

void TApplication::ShowGeneralError(const std::string &text) {
    auto *app = qobject_cast<TApplication *>(QCoreApplication::instance());
    if (app != nullptr && app->errorDialogs_ != nullptr) {
        try {
            app->errorDialogs_->Message(text);
            return;
        } catch (...) {
            // The box itself failed; fall back to the error stream below.
        }
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace morvane::qt
