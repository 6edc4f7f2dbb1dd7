#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "document/wave_message.h"
#include "edit/combine.h"
#include "edit/formula.h"
#include "edit/overflow.h"
#include "render/canvas.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace morvane::qt {

class TImageView;
class TfrmMain;

// The formula tool window: an expression written over the current wave, or over the wave
// selection while "make modification" is checked, with a live preview of the first, middle
// and last wave of that range. A non-modal child of the main window (Qt::Tool), so that the
// script runner finds its controls by name. It has its own "Add to existing wave", off at
// start so that a formula replaces the wave unless asked; the selection and "Allow overflow"
// are the main window's. An apply runs the main window's tail. The remembered expressions live in
// section "Formulas" of the settings file.
class TfrmFormula final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmFormula)

public:
    explicit TfrmFormula(TfrmMain &main);

    // ---- Handlers ---------------------------------------------------------------------------
    // Writes the formula; a parse error goes to lblFormulaError and nothing changes.
    void btnFormulaApplyClick(QObject *sender);
    // The preview and the scope line, after every change of the text, the operation, the
    // selection, the check boxes and the document.
    void UpdatePreview();
    void lbFormulaExamplesClick(QObject *sender);
    void cmbFormulaHistoryChange(QObject *sender);

    // ---- Controls ---------------------------------------------------------------------------
    QLabel *lblFormula = nullptr;
    QLineEdit *edtFormula = nullptr;
    QLabel *lblFormulaOperation = nullptr;
    QCheckBox *chbFormulaAddtoexisting = nullptr; // "Add to existing wave"; off: replace
    QComboBox *cmbFormulaOperation = nullptr;     // used while it is checked
    QPushButton *btnFormulaApply = nullptr;
    QLabel *lblFormulaError = nullptr; // the parser's message; empty while the text parses
    QLabel *lblFormulaScope = nullptr; // the waves, samples and rules the apply will use
    QLabel *lblFormulaFirst = nullptr; // captions of the three previews: "Wave 1" ...
    QLabel *lblFormulaMiddle = nullptr;
    QLabel *lblFormulaLast = nullptr;
    TImageView *imgFormulaFirst = nullptr;
    TImageView *imgFormulaMiddle = nullptr;
    TImageView *imgFormulaLast = nullptr;
    QLabel *lblFormulaExamples = nullptr;
    QListWidget *lbFormulaExamples = nullptr;
    QLabel *lblFormulaHistory = nullptr;
    QComboBox *cmbFormulaHistory = nullptr; // the last 20 expressions applied, newest first

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The box, the operation and the main window's "Allow overflow".
    edit::FormulaSettings Settings() const;
    void LoadHistory();
    void FillHistoryBox();

    TfrmMain &main_;
    Wavetable preview_{};              // the table as the apply would leave it
    edit::WaveBackup previewBackup_{}; // the preview's own backup; the document's stays alone
    render::Canvas previewCanvas_;
    std::vector<std::string> history_;
    bool historyLoaded_ = false;
};

} // namespace morvane::qt
