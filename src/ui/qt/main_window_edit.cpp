// The editing commands of the main window: generator and combine, per-wave transforms,
// table-wide operations and the wave clipboard.
#include "ui/qt/main_window.h"

namespace morvane {

void TfrmMain::btnAddClick(QObject*) {}

void TfrmMain::trbFadeChange(QObject*) {}

void TfrmMain::btnSetVolumePlusClick(QObject*) {}

void TfrmMain::btnInvertClick(QObject*) {}

void TfrmMain::btnReverseClick(QObject*) {}

void TfrmMain::btnSmoothClick(QObject*) {}

void TfrmMain::btnStepClick(QObject*) {}

void TfrmMain::btnShiftLeftClick(QObject*) {}

void TfrmMain::btnShiftRightClick(QObject*) {}

void TfrmMain::btnShiftUpClick(QObject*) {}

void TfrmMain::btnShiftDownClick(QObject*) {}

void TfrmMain::btnMorphClick(QObject*) {}

void TfrmMain::btnRandomOrderClick(QObject*) {}

void TfrmMain::btnRandom4Click(QObject*) {}

void TfrmMain::BitBtn3Click(QObject*) {}

void TfrmMain::btnCopyClick(QObject*) {}

void TfrmMain::btnPasteClick(QObject*) {}

void TfrmMain::PastesumClick(QObject*) {}

void TfrmMain::btnShowClipboardMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int,
                                         int) {}

void TfrmMain::btnShowClipboardMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int,
                                       int) {}

} // namespace morvane
