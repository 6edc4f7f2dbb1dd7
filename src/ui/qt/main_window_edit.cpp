// The editing commands of the main window: generator and combine, per-wave transforms,
// table-wide operations and the wave clipboard. Each handler reads its controls, calls one
// core operation and runs its command's tail in the command's own order.
#include "ui/qt/main_window.h"

#include <algorithm>
#include <exception>
#include <string>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "edit/generator.h"
#include "edit/table_ops.h"
#include "edit/transforms.h"
#include "render/clipboard_drawing.h"
#include "ui/qt/image_view.h"

namespace morvane::qt {

namespace {

using F = TfrmMain;

// The shape of the "Waveform" item; an unselected list counts as its first item.
edit::Shape ShapeOfItem(int index) {
    constexpr int kShapes = 5; // Sine, Triangle, Square, Saw, Random
    return static_cast<edit::Shape>(std::clamp(index, 0, kShapes - 1));
}

// The controls that choose a way of combining: the generator's button and menu item, and
// paste special's.
struct CombineSenders {
    edit::CombineMode Mode;
    QPushButton *F::*GeneratorButton;
    QAction *F::*GeneratorItem;
    QPushButton *F::*PasteButton;
    QAction *F::*PasteItem;
};

const CombineSenders kCombineSenders[] = {
    {edit::CombineMode::Add, &F::btnAdd, &F::Addwave1, &F::btnPasteAdd, &F::Pastesum},
    {edit::CombineMode::Sub, &F::btnDec, &F::Subwave1, &F::btnPasteSub, &F::Pastesub},
    {edit::CombineMode::Multi, &F::btnMultiple, &F::Multiwave1, &F::btnPasteMulti, &F::Pastemul},
    {edit::CombineMode::Or, &F::btnOR, &F::ORwave1, &F::btnPasteOR, &F::PasteOR},
    {edit::CombineMode::And, &F::btnAND, &F::ANDwave1, &F::btnPasteAND, &F::PasteAND},
    {edit::CombineMode::Xor, &F::btnXOR, &F::XORwave1, &F::btnPasteXOR, &F::PasteXOR},
    {edit::CombineMode::Min, &F::btnMin, &F::minwave1, &F::btnPastemin, &F::Pastemin1},
    {edit::CombineMode::Max, &F::btnMAX, &F::MAXwave1, &F::btnPastemax, &F::PasteMAX1},
};

// The way `sender` combines, of the generator's controls or of paste special's; `none` for
// any other sender (the program's own call).
edit::CombineMode CombineModeOf(const TfrmMain &window, const QObject *sender, bool paste,
                                edit::CombineMode none) {
    for (const CombineSenders &row : kCombineSenders) {
        const QObject *button = window.*(paste ? row.PasteButton : row.GeneratorButton);
        const QObject *item = window.*(paste ? row.PasteItem : row.GeneratorItem);
        if (sender == button || sender == item)
            return row.Mode;
    }
    return none;
}

// Runs an edit; an error it throws is shown with the command's prefix.
template <typename Body> void WithErrorPrefix(TfrmMain &window, const char *prefix, Body body) {
    try {
        body();
    } catch (const std::exception &e) {
        window.Dialogs().Message(std::string(prefix) + e.what());
    }
}

// ---- The tails: what a command runs after its edit, each order spelled once.

void RedrawOverviewModified(TfrmMain &window) {
    window.DrawWavetable(window.CurrentWave());
    window.DrawOverview();
    window.SetModified(true);
}

void RedrawModifiedOverview(TfrmMain &window) {
    window.DrawWavetable(window.CurrentWave());
    window.SetModified(true);
    window.DrawOverview();
}

// The tail most edits end with: the graph, the overview, the modified flag and a snapshot.
void RedrawOverviewModifiedPush(TfrmMain &window) {
    RedrawOverviewModified(window);
    window.PushHistory();
}

// Reverse and morph set the flag before the overview.
void RedrawModifiedOverviewPush(TfrmMain &window) {
    RedrawModifiedOverview(window);
    window.PushHistory();
}

// The edits that restore each overflowing wave (generator, amplify): the log, a snapshot even
// when every wave was restored, and a refused wave said once per click, not only in the log.
void LogPushRedrawModifiedOverview(TfrmMain &window, const edit::EditResult &result) {
    for (const std::string &line : result.LogLines)
        window.LogMessage(line);
    window.PushHistory();
    RedrawModifiedOverview(window);
    if (!result.RestoredWaves.empty())
        window.Dialogs().Message(edit::kOverflowMessage);
}

// The edits of the current wave that are taken back whole on overflow (move up and down, paste
// special): the wave was restored already, and nothing is pushed.
void PushUnlessOverflow(TfrmMain &window, const edit::EditResult &result) {
    if (result.Overflow)
        window.Dialogs().Message(edit::kOverflowMessage);
    else
        window.PushHistory();
}

// Move up and move down: the current wave's samples one step up or down.
void ShiftVertically(TfrmMain &window, bool up) {
    const auto move = up ? edit::MoveUp : edit::MoveDown;
    const edit::EditResult result =
        move(window.Table(), window.CurrentWave(), window.GetSampleRange(),
             window.ckbAllowOverflow->isChecked(), window.Backup);
    PushUnlessOverflow(window, result);
    RedrawOverviewModified(window);
}

} // namespace

// ---- generator and combine -----------------------------------------------------------------

void TfrmMain::btnAddClick(QObject *sender) {
    WithErrorPrefix(*this, "Add ", [&] {
        edit::GeneratorSettings settings;
        settings.FadePosition = trbFade->value();
        const WaveRange waves = CheckedWaveSelection();
        settings.Mode = CombineModeOf(*this, sender, false, settings.Mode);
        settings.Harmonic = std::max(cmbAmplitude->currentIndex(), 0) + 1;
        settings.AddToExisting = chbAddtoexisting->isChecked();
        settings.Wave = ShapeOfItem(cmbWave->currentIndex());
        settings.AllowOverflow = ckbAllowOverflow->isChecked();
        Random().SeedFrom(TimeSource().Now());
        const edit::EditResult result = edit::GenerateWaves(Table(), settings, waves.From, waves.To,
                                                            GetSampleRange(), Random(), Backup);
        LogPushRedrawModifiedOverview(*this, result);
    });
}

void TfrmMain::trbFadeChange(QObject *) {
    lblFade->setText(QStringLiteral("Fade: ") + QString::number(trbFade->value()));
}

// ---- per-wave transforms -------------------------------------------------------------------

void TfrmMain::btnSetVolumePlusClick(QObject *sender) {
    WithErrorPrefix(*this, "Volume ", [&] {
        const bool up = sender == btnSetVolumePlus || sender == Amplify1;
        const int percent = cmbNormalize->currentText().toInt();
        const WaveRange waves = CheckedWaveSelection();
        const edit::EditResult result =
            edit::Amplify(Table(), waves.From, waves.To, GetSampleRange(), percent, up,
                          ckbAllowOverflow->isChecked(), Backup);
        LogPushRedrawModifiedOverview(*this, result);
    });
}

void TfrmMain::btnInvertClick(QObject *) {
    const WaveRange waves = CheckedWaveSelection();
    edit::Invert(Table(), waves.From, waves.To, GetSampleRange());
    RedrawOverviewModifiedPush(*this);
}

void TfrmMain::btnReverseClick(QObject *) {
    WithErrorPrefix(*this, "Reverse ", [&] {
        const WaveRange waves = CheckedWaveSelection();
        edit::Reverse(Table(), waves.From, waves.To, GetSampleRange());
        RedrawModifiedOverviewPush(*this);
    });
}

void TfrmMain::btnSmoothClick(QObject *) {
    const WaveRange waves = CheckedWaveSelection();
    edit::Smooth(Table(), waves.From, waves.To, GetSampleRange());
    RedrawOverviewModifiedPush(*this);
}

void TfrmMain::btnStepClick(QObject *) {
    const int levels = edit::StepLevels(std::max(cmbStepWave->currentIndex(), 0));
    const WaveRange waves = CheckedWaveSelection();
    edit::Step(Table(), waves.From, waves.To, GetSampleRange(), levels);
    RedrawOverviewModifiedPush(*this);
}

void TfrmMain::btnShiftLeftClick(QObject *) {
    edit::MoveLeft(Table(), CurrentWave(), GetSampleRange());
    RedrawOverviewModifiedPush(*this);
}

void TfrmMain::btnShiftRightClick(QObject *) {
    edit::MoveRight(Table(), CurrentWave(), GetSampleRange());
    RedrawOverviewModifiedPush(*this);
}

void TfrmMain::btnShiftUpClick(QObject *) {
    ShiftVertically(*this, true);
}

void TfrmMain::btnShiftDownClick(QObject *) {
    ShiftVertically(*this, false);
}

// ---- table-wide operations -----------------------------------------------------------------

void TfrmMain::btnMorphClick(QObject *) {
    WithErrorPrefix(*this, "Morph ", [&] {
        const WaveRange waves = RangeWaveSelection();
        edit::Morph(Table(), waves.From, waves.To, GetSampleRange());
        RedrawModifiedOverviewPush(*this);
    });
}

void TfrmMain::btnRandomOrderClick(QObject *) {
    const WaveRange waves = RangeWaveSelection();
    edit::RandomWaveOrder(Table(), waves.From, waves.To, Random());
    // This command neither marks the table modified nor refreshes the overview.
    DrawWavetable(CurrentWave());
    PushHistory();
}

void TfrmMain::btnRandom4Click(QObject *) {
    const int length = edit::SliceLength(std::max(cmbSlices->currentIndex(), 0));
    const WaveRange waves = CheckedWaveSelection();
    edit::RandomSliceOrder(Table(), waves.From, waves.To, GetSampleRange(), length,
                           chbRandomSAme->isChecked(), Random());
    RedrawOverviewModifiedPush(*this);
}

void TfrmMain::BitBtn3Click(QObject *) {
    const WaveRange waves = CheckedWaveSelection();
    edit::Sort(Table(), waves.From, waves.To, GetSampleRange());
    RedrawOverviewModifiedPush(*this);
}

// ---- the wave clipboard --------------------------------------------------------------------

void TfrmMain::btnCopyClick(QObject *) {
    edit::Copy(Clipboard, Table(), CurrentWave(), GetSampleRange());
    for (QPushButton *button :
         {btnPaste, btnPasteAdd, btnPasteSub, btnPasteMulti, btnPasteOR, btnPasteAND, btnPasteXOR,
          btnPastemin, btnPastemax, btnShowClipboard})
        button->setEnabled(true);
}

void TfrmMain::btnPasteClick(QObject *) {
    edit::Paste(Clipboard, Table(), CurrentWave(), GetSampleRange());
    RedrawOverviewModifiedPush(*this);
}

void TfrmMain::PastesumClick(QObject *sender) {
    WithErrorPrefix(*this, "Add ", [&] {
        // No sender of paste special's: Replace, and the wave stays.
        const edit::CombineMode mode =
            CombineModeOf(*this, sender, true, edit::CombineMode::Replace);
        const edit::EditResult result =
            edit::PasteSpecial(Clipboard, Table(), CurrentWave(), GetSampleRange(), mode,
                               ckbAllowOverflow->isChecked(), Backup);
        PushUnlessOverflow(*this, result);
        RedrawModifiedOverview(*this);
    });
}

void TfrmMain::btnShowClipboardMouseDown(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int,
                                         int) {
    try {
        render::DrawClipboardPicture(graphBitmap_, Clipboard, GetSampleRange());
    } catch (...) {
        // The preview shows what it could draw; it has nothing to report.
    }
    imgWaveTables->CopyFrom(graphBitmap_);
}

void TfrmMain::btnShowClipboardMouseUp(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int,
                                       int) {
    DrawWavetable(CurrentWave());
}

} // namespace morvane::qt
