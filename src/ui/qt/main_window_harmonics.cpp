// The main window's side of the harmonic window: the menu item that opens it.
#include "ui/qt/main_window.h"

#include "ui/qt/harmonics_window.h"

namespace morvane::qt {

void TfrmMain::Harmonics1Click(QObject *) {
    frmHarmonics->Open();
}

} // namespace morvane::qt
