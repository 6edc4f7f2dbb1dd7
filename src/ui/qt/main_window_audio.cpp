// The playback commands of the main window: play and stop, the sweep, the play buffers, the
// audio setup and the settings file.
#include "ui/qt/main_window.h"

namespace morvane {

void TfrmMain::btnPlayClick(QObject*) {}

void TfrmMain::TimerPlayTimer(QObject*) {}

void TfrmMain::trbPlaySpeedChange(QObject*) {}

void TfrmMain::chbPlayAllClick(QObject*) {}

void TfrmMain::AudioSetup1Click(QObject*) {}

void TfrmMain::FillPlayBuffers() {}

void TfrmMain::LoadAudioSettings() {}

void TfrmMain::FormCloseQuery(QObject*, bool&) {}

} // namespace morvane
