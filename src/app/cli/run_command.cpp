// morvane-cli run FILE: the real main window on Qt's offscreen platform, driven by a script,
// with every dialog answered by the script.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include <QTemporaryDir>
#include <QtGlobal>

#include "cli/commands.h"
#include "cli/main_window_target.h"
#include "cli/script_runner.h"
#include "edit/random.h"
#include "files/byte_reader.h"
#include "script/scripted_dialogs.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"

namespace morvane::cli {

namespace {

// Qt's own notes (fonts, platform plugin capabilities) would mix with the script's output on
// standard error; only its critical messages are shown.
void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

} // namespace

int RunScriptCommand(int &argc, char **argv, const std::vector<std::string> &args) {
    if (args.size() != 1) {
        std::cerr << "usage: morvane-cli run FILE   (- reads standard input)\n";
        return 2;
    }
    const std::string &fileName = args[0];
    std::string text;
    if (fileName == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        // Only a regular file of at most files::kMaxFileBytes: a folder, a FIFO or /dev/zero is
        // refused at once.
        try {
            text = files::ReadWholeFile(fileName);
        } catch (const std::exception &e) {
            std::cerr << "morvane-cli: can not read " << fileName << ": " << e.what() << '\n';
            return 2;
        }
    }

    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    qt::TApplication app(argc, argv);

    script::ScriptedDialogs dialogs(std::cout);
    app.SetErrorDialogs(&dialogs);
    // Runs are reproducible: the random generator is seeded from a clock the script sets.
    edit::FixedClock clock(edit::TimeOfDay{});
    // Runs never touch the user's settings: the window reads and writes a file of its own.
    QTemporaryDir settingsFolder;
    if (!settingsFolder.isValid()) {
        std::cerr << "morvane-cli: can not make a temporary folder for the settings\n";
        return 1;
    }
    qt::MainWindowPorts ports;
    ports.dialogs = &dialogs;
    ports.clock = &clock;
    ports.waveOut = nullptr; // the window's silent null device: scripts never make a sound
    ports.settingsPath = settingsFolder.filePath(QStringLiteral("morvane.ini")).toStdString();
    auto window = std::make_unique<qt::TfrmMain>(ports);
    MainWindowTarget target(*window);
    int status = 0;
    {
        ScriptRunner runner(target, dialogs, clock, std::cout);
        status = runner.Run(fileName == "-" ? std::string("-") : fileName, text, std::cerr);
    }
    window.reset();
    app.SetErrorDialogs(nullptr);
    return status;
}

} // namespace morvane::cli
