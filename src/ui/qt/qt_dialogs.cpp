#include "ui/qt/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace morvane {

namespace {
const QString kBoxTitle = QStringLiteral("Morvane");

QWidget* DialogParent() { return QApplication::activeWindow(); }

QString FromLocal(const std::string& text) { return QString::fromLocal8Bit(text); }
} // namespace

QStringList QtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*"); // every file, also those without a dot
        }
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

Answer QtDialogs::Confirm(const std::string& text, bool withCancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    const auto pressed = QMessageBox::question(DialogParent(), QStringLiteral("Confirm"),
                                               QString::fromUtf8(text), buttons);
    if (pressed == QMessageBox::Yes)
        return Answer::Yes;
    if (pressed == QMessageBox::No)
        return Answer::No;
    // Escape or the close box: Cancel where there is one, otherwise No.
    return withCancel ? Answer::Cancel : Answer::No;
}

void QtDialogs::Message(const std::string& text) {
    // Texts are ASCII with UTF-8 file paths in them.
    QMessageBox::information(DialogParent(), kBoxTitle, QString::fromUtf8(text));
}

bool QtDialogs::OpenFile(FileDialogState& dialog) { return RunFileDialog(dialog, false); }

bool QtDialogs::SaveFile(FileDialogState& dialog) { return RunFileDialog(dialog, true); }

bool QtDialogs::RunFileDialog(FileDialogState& dialog, bool save) {
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

SelectorAnswer QtDialogs::SelectWavetable(const std::vector<std::string>& names) {
    QStringList items;
    for (const auto& name : names)
        items.append(QString::fromLatin1(name));
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(DialogParent(), QStringLiteral("Wavetable selector"), QString(),
                              items, 0, false, &ok);
    SelectorAnswer answer;
    answer.Ok = ok;
    if (ok)
        answer.Index = static_cast<int>(items.indexOf(chosen));
    return answer;
}

AudioSetupAnswer QtDialogs::AudioSetup(const AudioSetupChoices& choices) {
    AudioSetupAnswer answer;
    QStringList devices;
    for (const auto& device : choices.Devices)
        devices.append(FromLocal(device));
    bool ok = false;
    const QString device = QInputDialog::getItem(DialogParent(), QStringLiteral("Audio Setup"),
                                                 QStringLiteral("Audio devices"), devices, 0,
                                                 false, &ok);
    if (!ok)
        return answer;
    answer.Device = static_cast<int>(devices.indexOf(device));
    QStringList formats;
    if (answer.Device >= 0 && static_cast<std::size_t>(answer.Device) < choices.Formats.size())
        for (const auto& format : choices.Formats[static_cast<std::size_t>(answer.Device)])
            formats.append(FromLocal(format));
    const int preselected =
        (choices.PreselectedFormat >= 0 && choices.PreselectedFormat < formats.size())
            ? choices.PreselectedFormat
            : 0;
    const QString format = QInputDialog::getItem(DialogParent(), QStringLiteral("Audio Setup"),
                                                 QStringLiteral("Audio formats"), formats,
                                                 preselected, false, &ok);
    if (!ok)
        return answer;
    answer.Ok = true;
    answer.FormatText = format.toLocal8Bit().toStdString();
    return answer;
}

void QtDialogs::ShowHelp(const std::vector<std::string>& lines) {
    QStringList text;
    for (const auto& line : lines)
        text.append(QString::fromLatin1(line));
    QMessageBox box(DialogParent());
    box.setWindowTitle(QStringLiteral("Help"));
    box.setText(text.join(QLatin1Char('\n')));
    box.exec();
}

} // namespace morvane
