#include "ui/qt/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

#include "ui/qt/audio_setup_dialog.h"
#include "ui/qt/help_dialog.h"
#include "ui/qt/user_guide_window.h"
#include "ui/qt/wave_tables_dialog.h"

namespace morvane::qt {

namespace {
const QString kBoxTitle = QStringLiteral("Morvane");

QWidget *DialogParent() {
    return QApplication::activeWindow();
}
} // namespace

QStringList QtNameFilters(const std::string &filter) {
    const QStringList parts = QString::fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*"); // every file, also those without a dot
        }
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

ui::Answer QtDialogs::Confirm(const std::string &text, bool withCancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    const auto pressed = QMessageBox::question(DialogParent(), QStringLiteral("Confirm"),
                                               QString::fromUtf8(text), buttons);
    if (pressed == QMessageBox::Yes)
        return ui::Answer::Yes;
    if (pressed == QMessageBox::No)
        return ui::Answer::No;
    // Escape or the close box: Cancel where there is one, otherwise No.
    return withCancel ? ui::Answer::Cancel : ui::Answer::No;
}

void QtDialogs::Message(const std::string &text) {
    // Texts are ASCII with UTF-8 file paths in them.
    QMessageBox::information(DialogParent(), kBoxTitle, QString::fromUtf8(text));
}

bool QtDialogs::OpenFile(ui::FileDialogState &dialog) {
    return RunFileDialog(dialog, false);
}

bool QtDialogs::SaveFile(ui::FileDialogState &dialog) {
    return RunFileDialog(dialog, true);
}

bool QtDialogs::RunFileDialog(ui::FileDialogState &dialog, bool save) {
    QFileDialog box(DialogParent());
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The commands ask their own overwrite questions.
    box.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = QtNameFilters(dialog.Filter);
    box.setNameFilters(filters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
        box.selectNameFilter(filters[dialog.FilterIndex - 1]);
    box.setDefaultSuffix(QString::fromUtf8(dialog.DefaultExt));
    if (!dialog.FileName.empty()) {
        const QFileInfo remembered(QString::fromUtf8(dialog.FileName));
        if (!remembered.path().isEmpty())
            box.setDirectory(remembered.absolutePath());
        box.selectFile(remembered.fileName());
    }
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    dialog.FileName = box.selectedFiles().constFirst().toStdString();
    const auto chosen = filters.indexOf(box.selectedNameFilter());
    if (chosen >= 0)
        dialog.FilterIndex = static_cast<int>(chosen) + 1;
    return true;
}

ui::SelectorAnswer QtDialogs::SelectWavetable(const std::vector<std::string> &names) {
    // Created for this choice only and released when it closes.
    TfrmWaveTables selector(DialogParent());
    selector.AddNames(names);
    ui::SelectorAnswer answer;
    answer.Ok = selector.exec() == QDialog::Accepted;
    if (answer.Ok)
        answer.Index = selector.SelectedIndex();
    return answer;
}

ui::AudioSetupAnswer QtDialogs::AudioSetup(const ui::AudioSetupChoices &choices) {
    TfrmAudioSetup dialog(choices, DialogParent());
    dialog.exec();
    return dialog.Answer();
}

void QtDialogs::ShowHelp(const std::vector<std::string> &lines) {
    TfrmHelp help(lines, DialogParent());
    help.exec();
}

void QtDialogs::ShowUserGuide(const std::string &path) {
    if (guide_.isNull()) {
        guide_ = new TfrmUserGuide(DialogParent());
        guide_->setAttribute(Qt::WA_DeleteOnClose);
    }
    guide_->OpenGuide(QString::fromStdString(path));
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

} // namespace morvane::qt
