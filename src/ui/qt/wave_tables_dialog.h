#pragma once

#include <string>
#include <vector>

#include <QDialog>

class QListWidget;
class QPushButton;

namespace morvane::qt {

// The wavetable selector: one name to pick from a list. Okay (also Enter and a double-click
// in the list) closes it with Accepted, Cancel (also Esc and the close box) with Rejected.
// Once names are added the first one is selected, and some name stays selected: what looks
// chosen is what Okay takes.
class TfrmWaveTables final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmWaveTables)

public:
    explicit TfrmWaveTables(QWidget *parent = nullptr);

    void AddNames(const std::vector<std::string> &names);
    // The row of the selected item, -1 when none is selected.
    int SelectedIndex() const;

    void lbWavetablesDblClick();
    void btnOKClick();

    QListWidget *lbWavetables = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
};

} // namespace morvane::qt
