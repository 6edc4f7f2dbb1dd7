// The Qt dialogs of the exchange commands: the MIDI output setup and the progress of a send.
#include <QApplication>

#include "ui/qt/midi_output_dialog.h"
#include "ui/qt/progress_dialog.h"
#include "ui/qt/qt_dialogs.h"

namespace morvane::qt {

namespace {

// The window the dialog belongs to: the active one, else the main window, so that the dialog
// (and a job it runs) never outlives it.
QWidget *Owner() {
    if (QWidget *active = QApplication::activeWindow())
        return active;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QStringLiteral("frmMain"))
            return widget;
    return nullptr;
}

} // namespace

ui::MidiSetupAnswer QtDialogs::MidiSetup(const ui::MidiSetupChoices &choices) {
    // Created for this choice only and released when it closes.
    TfrmMidiOutput dialog(choices, Owner());
    const bool ok = dialog.exec() == QDialog::Accepted;
    ui::MidiSetupAnswer answer = dialog.Choice();
    answer.Ok = ok;
    return answer;
}

void QtDialogs::RunWithProgress(ui::ProgressJob job) {
    // Owned by its window and deleted by itself once the job has ended.
    auto *dialog = new TfrmProgress(std::move(job), Owner());
    dialog->Start();
}

} // namespace morvane::qt
