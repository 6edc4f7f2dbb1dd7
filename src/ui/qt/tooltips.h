#pragma once

class QWidget;

namespace morvane::qt {

// Gives every control and menu item of a form its tooltip from the one table in tooltips.cpp,
// found by the form's object name ("frmMain", "frmWaveTables", ...) and each control's. Runs
// once the form is built; makes the tooltips of the form's menus visible too.
void ApplyTooltips(QWidget &form);

} // namespace morvane::qt
