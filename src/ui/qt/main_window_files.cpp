// The file commands of the main window: load and save ".syx", MIDI export and import, WAV
// export and import.
#include "ui/qt/main_window.h"

namespace morvane {

void TfrmMain::btnLoadwavetableClick(QObject*) {}

void TfrmMain::btnSaveWavetableClick(QObject*) {}

void TfrmMain::btnExportWavetableClick(QObject*) {}

void TfrmMain::btnImportWTfromMidiClick(QObject*) {}

void TfrmMain::btnExportWTasWavClick(QObject*) {}

void TfrmMain::btnLoadWaveClick(QObject*) {}

} // namespace morvane
