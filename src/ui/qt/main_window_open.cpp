// Files that come from outside the commands' own dialogs: the file named on the command line,
// files dropped on the window, and the recent list of the File menu.
#include "ui/qt/main_window.h"

#include <filesystem>

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "ui/open_file_kind.h"

namespace morvane::qt {

namespace {

// The first local file a drag carries; an empty string when it carries none.
QString FirstLocalFile(const QMimeData *data) {
    if (data == nullptr || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            return url.toLocalFile();
    return {};
}

// A path as a menu caption: an ampersand shown as itself, not as a mnemonic mark.
QString MenuCaption(const std::string &path) {
    QString caption = QString::fromStdString(path);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

} // namespace

void TfrmMain::OpenFileFromOutside(const std::string &path) {
    switch (ui::OpenKindOfFile(path)) {
    case ui::OpenKind::Wavetable:
        if (AskSaveChanges())
            LoadWavetablePath(path);
        return;
    case ui::OpenKind::Midi:
        if (AskSaveChanges())
            ImportMidiPath(path);
        return;
    // The imports change waves of the open table, which one undo gives back; their commands
    // ask nothing first, and neither does a drop.
    case ui::OpenKind::OwnWave:
        ImportWavePath(path);
        return;
    case ui::OpenKind::Audio:
        ImportAudioPath(path);
        return;
    }
}

void TfrmMain::OpenFileAtStart(const std::string &path) {
    Guarded([this, &path] { OpenFileFromOutside(path); });
}

std::optional<QString> TfrmMain::FileArgument(const QStringList &arguments) {
    // arguments[0] is the program; "--" ends options the editor does not have, for a file
    // whose name begins with "-".
    qsizetype first = 1;
    if (arguments.size() > first && arguments[first] == QStringLiteral("--"))
        ++first;
    if (arguments.size() <= first || arguments[first].isEmpty())
        return std::nullopt;
    return QFileInfo(arguments[first]).absoluteFilePath();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent *event) {
    if (!FirstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent *event) {
    const QString path = FirstLocalFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    Guarded([this, &path] { OpenFileFromOutside(path.toStdString()); });
}

// ---- The recent list ---------------------------------------------------------------------

void TfrmMain::CreateRecentMenu() {
    OpenRecent1 = new QMenu(QStringLiteral("Open &recent"), this);
    OpenRecent1->setObjectName(QStringLiteral("OpenRecent1"));
    OpenRecent1->menuAction()->setObjectName(QStringLiteral("OpenRecent1"));
    File1->addMenu(OpenRecent1);
    for (std::size_t i = 0; i < RecentFile.size(); ++i) {
        QAction *action = OpenRecent1->addAction(QString());
        action->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        connect(action, &QAction::triggered, this,
                [this, action] { Guarded([this, action] { RecentFileClick(action); }); });
        RecentFile[i] = action;
    }
    OpenRecent1->addSeparator();
    ClearList1 = OpenRecent1->addAction(QStringLiteral("Clear list"));
    ClearList1->setObjectName(QStringLiteral("ClearList1"));
    connect(ClearList1, &QAction::triggered, this,
            [this] { Guarded([this] { ClearList1Click(ClearList1); }); });
    ShowRecentFiles();
}

void TfrmMain::ShowRecentFiles() {
    for (std::size_t i = 0; i < RecentFile.size(); ++i) {
        const bool used = static_cast<int>(i) < recent_.Count;
        RecentFile[i]->setText(used ? MenuCaption(recent_.Paths[i]) : QString());
        RecentFile[i]->setVisible(used);
        RecentFile[i]->setEnabled(used);
    }
    ClearList1->setEnabled(recent_.Count > 0);
    OpenRecent1->setEnabled(recent_.Count > 0); // its menu entry follows
}

void TfrmMain::LoadRecentFiles() {
    recent_ = ui::LoadRecentFiles(SettingsPath);
    ShowRecentFiles();
}

void TfrmMain::SaveRecentFiles() {
    ShowRecentFiles();
    try {
        ui::SaveRecentFiles(recent_, SettingsPath);
    } catch (const std::exception &e) {
        // The list still works for this run; being told once is enough.
        LogMessage(std::string(e.what()));
        if (!recentSaveFailed_)
            Dialogs().Message(std::string("Recent files ") + e.what());
        recentSaveFailed_ = true;
    }
}

void TfrmMain::RememberFile(const std::string &path) {
    // The list names files by their whole path, whichever folder the program was started in.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    recent_.Add(ec ? path : absolute.lexically_normal().string());
    SaveRecentFiles();
}

void TfrmMain::RecentFileClick(QObject *sender) {
    for (std::size_t i = 0; i < RecentFile.size(); ++i) {
        if (sender != RecentFile[i] || static_cast<int>(i) >= recent_.Count)
            continue;
        const std::string path = recent_.Paths[i];
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            recent_.Remove(path);
            SaveRecentFiles();
            Dialogs().Message("The file " + path +
                              " is not there any more; it is taken off the recent list.");
            return;
        }
        OpenFileFromOutside(path);
        return;
    }
}

void TfrmMain::ClearList1Click(QObject *) {
    recent_.Clear();
    SaveRecentFiles();
}

} // namespace morvane::qt
