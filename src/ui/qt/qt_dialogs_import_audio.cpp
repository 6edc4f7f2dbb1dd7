// The Qt dialog of the audio import.
#include <QApplication>

#include "ui/qt/import_audio_dialog.h"
#include "ui/qt/qt_dialogs.h"

namespace morvane::qt {

ui::ImportAudioAnswer QtDialogs::ImportAudio(const ui::ImportAudioChoices &choices) {
    // Created for this import only and released when it closes, modal over the active window.
    TfrmImportAudio dialog(choices, QApplication::activeWindow());
    dialog.exec();
    return dialog.Answer();
}

} // namespace morvane::qt
