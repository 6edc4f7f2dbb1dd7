// The editor: one main window over the real dialogs and the system clock. It takes no
// command-line options.
#include "edit/random.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_dialogs.h"

int main(int argc, char **argv) {
    morvane::TApplication app(argc, argv);
    morvane::QtDialogs dialogs;
    morvane::SystemClock clock;
    app.SetErrorDialogs(&dialogs);
    morvane::TfrmMain window(morvane::MainWindowPorts{&dialogs, &clock});
    window.show();
    return morvane::TApplication::exec();
}
