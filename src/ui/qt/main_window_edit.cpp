// The editing commands of the main window: generator and combine, per-wave transforms,
// table-wide operations and the wave clipboard. Each handler reads its controls, calls one
// core operation and runs its command's tail in the command's own order.
#include "ui/qt/main_window.h"

#include <algorithm>
#include <exception>
#include <string>

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

// The shape of the "Waveform" item; an unselected list counts as its first item.
edit::Shape ShapeOfItem(int index) {
    constexpr int kShapes = 5; // Sine, Triangle, Square, Saw, Random
    return static_cast<edit::Shape>(std::clamp(index, 0, kShapes - 1));
}

std::string WithPrefix(const char *prefix, const std::exception &e) {
    return std::string(prefix) + e.what();
}

// The tail most edits end with, in this order: the graph, the overview, the modified flag and
// a snapshot. Commands whose tail differs spell theirs out.
void RedrawOverviewModifiedPush(TfrmMain &window) {
    window.DrawWavetable(window.CurrentWave());
    window.DrawOverview();
    window.SetModified(true);
    window.PushHistory();
}

// Reverse and morph set the flag before the overview.
void RedrawModifiedOverviewPush(TfrmMain &window) {
    window.DrawWavetable(window.CurrentWave());
    window.SetModified(true);
    window.DrawOverview();
    window.PushHistory();
}

} // namespace

// ---- generator and combine -----------------------------------------------------------------

void TfrmMain::btnAddClick(QObject *sender) {
    try {
        edit::GeneratorSettings settings;
        settings.FadePosition = trbFade->value();
        const WaveRange waves = CheckedWaveSelection();
        if (sender == btnAdd || sender == Addwave1)
            settings.Mode = edit::CombineMode::Add;
        else if (sender == btnDec || sender == Subwave1)
            settings.Mode = edit::CombineMode::Sub;
        else if (sender == btnOR || sender == ORwave1)
            settings.Mode = edit::CombineMode::Or;
        else if (sender == btnAND || sender == ANDwave1)
            settings.Mode = edit::CombineMode::And;
        else if (sender == btnXOR || sender == XORwave1)
            settings.Mode = edit::CombineMode::Xor;
        else if (sender == btnMultiple || sender == Multiwave1)
            settings.Mode = edit::CombineMode::Multi;
        else if (sender == btnMin || sender == minwave1)
            settings.Mode = edit::CombineMode::Min;
        else if (sender == btnMAX || sender == MAXwave1)
            settings.Mode = edit::CombineMode::Max;
        settings.Harmonic = std::max(cmbAmplitude->currentIndex(), 0) + 1;
        settings.AddToExisting = chbAddtoexisting->isChecked();
        settings.Wave = ShapeOfItem(cmbWave->currentIndex());
        settings.AllowOverflow = ckbAllowOverflow->isChecked();
        Random().SeedFrom(TimeSource().Now());

        const edit::EditResult result = edit::GenerateWaves(Table(), settings, waves.From, waves.To,
                                                            GetSampleRange(), Random(), Backup);
        for (const std::string &line : result.LogLines)
            LogMessage(line);
        // The tail runs even when every wave was restored.
        PushHistory();
        DrawWavetable(CurrentWave());
        SetModified(true);
        DrawOverview();
        // A refused wave is said once per click, not only in the hidden log.
        if (!result.RestoredWaves.empty())
            Dialogs().Message(edit::kOverflowMessage);
    } catch (const std::exception &e) {
        Dialogs().Message(WithPrefix("Add ", e));
    }
}

void TfrmMain::trbFadeChange(QObject *) {
    lblFade->setText(QStringLiteral("Fade: ") + QString::number(trbFade->value()));
}

// ---- per-wave transforms -------------------------------------------------------------------

void TfrmMain::btnSetVolumePlusClick(QObject *sender) {
    try {
        const bool up = sender == btnSetVolumePlus || sender == Amplify1;
        const int percent = cmbNormalize->currentText().toInt();
        const WaveRange waves = CheckedWaveSelection();
        const edit::EditResult result =
            edit::Amplify(Table(), waves.From, waves.To, GetSampleRange(), percent, up,
                          ckbAllowOverflow->isChecked(), Backup);
        for (const std::string &line : result.LogLines)
            LogMessage(line);
        PushHistory();
        DrawWavetable(CurrentWave());
        SetModified(true);
        DrawOverview();
        if (!result.RestoredWaves.empty())
            Dialogs().Message(edit::kOverflowMessage);
    } catch (const std::exception &e) {
        Dialogs().Message(WithPrefix("Volume ", e));
    }
}

void TfrmMain::btnInvertClick(QObject *) {
    const WaveRange waves = CheckedWaveSelection();
    edit::Invert(Table(), waves.From, waves.To, GetSampleRange());
    RedrawOverviewModifiedPush(*this);
}

void TfrmMain::btnReverseClick(QObject *) {
    try {
        const WaveRange waves = CheckedWaveSelection();
        edit::Reverse(Table(), waves.From, waves.To, GetSampleRange());
        RedrawModifiedOverviewPush(*this);
    } catch (const std::exception &e) {
        Dialogs().Message(WithPrefix("Reverse ", e));
    }
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
    const edit::EditResult result = edit::MoveUp(Table(), CurrentWave(), GetSampleRange(),
                                                 ckbAllowOverflow->isChecked(), Backup);
    // An overflowing move is taken back and not pushed; the wave was restored already.
    if (result.Overflow)
        Dialogs().Message(edit::kOverflowMessage);
    else
        PushHistory();
    DrawWavetable(CurrentWave());
    DrawOverview();
    SetModified(true);
}

void TfrmMain::btnShiftDownClick(QObject *) {
    const edit::EditResult result = edit::MoveDown(Table(), CurrentWave(), GetSampleRange(),
                                                   ckbAllowOverflow->isChecked(), Backup);
    if (result.Overflow)
        Dialogs().Message(edit::kOverflowMessage);
    else
        PushHistory();
    DrawWavetable(CurrentWave());
    DrawOverview();
    SetModified(true);
}

// ---- table-wide operations -----------------------------------------------------------------

void TfrmMain::btnMorphClick(QObject *) {
    try {
        const WaveRange waves = RangeWaveSelection();
        edit::Morph(Table(), waves.From, waves.To, GetSampleRange());
        RedrawModifiedOverviewPush(*this);
    } catch (const std::exception &e) {
        Dialogs().Message(WithPrefix("Morph ", e));
    }
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
    try {
        edit::CombineMode mode = edit::CombineMode::Replace; // none: the wave stays
        if (sender == Pastesum || sender == btnPasteAdd)
            mode = edit::CombineMode::Add;
        else if (sender == Pastesub || sender == btnPasteSub)
            mode = edit::CombineMode::Sub;
        else if (sender == PasteOR || sender == btnPasteOR)
            mode = edit::CombineMode::Or;
        else if (sender == PasteAND || sender == btnPasteAND)
            mode = edit::CombineMode::And;
        else if (sender == PasteXOR || sender == btnPasteXOR)
            mode = edit::CombineMode::Xor;
        else if (sender == Pastemul || sender == btnPasteMulti)
            mode = edit::CombineMode::Multi;
        else if (sender == Pastemin1 || sender == btnPastemin)
            mode = edit::CombineMode::Min;
        else if (sender == PasteMAX1 || sender == btnPastemax)
            mode = edit::CombineMode::Max;
        const edit::EditResult result =
            edit::PasteSpecial(Clipboard, Table(), CurrentWave(), GetSampleRange(), mode,
                               ckbAllowOverflow->isChecked(), Backup);
        if (result.Overflow)
            Dialogs().Message(edit::kOverflowMessage);
        else
            PushHistory();
        DrawWavetable(CurrentWave());
        SetModified(true);
        DrawOverview();
    } catch (const std::exception &e) {
        Dialogs().Message(WithPrefix("Add ", e));
    }
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
