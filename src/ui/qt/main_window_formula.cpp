// The formula command of the main window: it shows the formula tool window, whose own
// handlers write the formula and run this window's tail.
#include "ui/qt/main_window.h"

#include <QLineEdit>

#include "ui/qt/formula_window.h"

namespace morvane::qt {

void TfrmMain::Formula1Click(QObject *) {
    frmFormula->show();
    frmFormula->raise();
    frmFormula->activateWindow();
    frmFormula->edtFormula->setFocus(Qt::OtherFocusReason);
    frmFormula->UpdatePreview();
}

} // namespace morvane::qt
