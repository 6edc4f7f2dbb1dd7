// The graph's mouse handling (drawing waves, editing the motion path) and the motion
// commands of the main window.
#include "ui/qt/main_window.h"

namespace morvane {

void TfrmMain::imgWaveTablesMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int,
                                      int) {}

void TfrmMain::imgWaveTablesMouseMove(QObject*, Qt::KeyboardModifiers, int, int) {}

void TfrmMain::imgWaveTablesMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TfrmMain::btnNewWTMotionClick(QObject*) {}

void TfrmMain::btnMakeWTMotionClick(QObject*) {}

void TfrmMain::rdbSplineClick(QObject*) {}

void TfrmMain::trbSensitivityChange(QObject*) {}

} // namespace morvane
