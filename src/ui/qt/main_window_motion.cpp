// The graph's mouse handling (drawing waves, editing the motion path) and the motion
// commands of the main window.
#include "ui/qt/main_window.h"

#include <exception>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>

#include "motion/motion_generation.h"
#include "ui/mouse_drawing.h"
#include "ui/pointer_text.h"
#include "ui/qt/image_view.h"

namespace morvane::qt {

namespace {

motion::MouseButton PathButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return motion::MouseButton::Left;
    case Qt::RightButton:
        return motion::MouseButton::Right;
    default:
        // Middle and any further button: neither adds the right button's deletion nor
        // differs from the left button anywhere else.
        return motion::MouseButton::Middle;
    }
}

bool CtrlHeld(Qt::KeyboardModifiers shift) {
    return shift.testFlag(Qt::ControlModifier);
}

} // namespace

void TfrmMain::imgWaveTablesMouseDown(QObject *, Qt::MouseButton button,
                                      Qt::KeyboardModifiers shift, int x, int y) {
    if (ViewMode() == render::kMotionPathView) {
        try {
            const motion::PathMouseResult result = motion::PathMouseDown(
                Path(), PathStroke, PathButton(button), CtrlHeld(shift), x, y);
            if (result.Redraw)
                DrawWavetable(CurrentWave());
        } catch (const std::exception &e) {
            Dialogs().Message(std::string("MouseMove ") + e.what());
        }
        return;
    }
    // Any button draws, whatever the keys.
    try {
        const int wave = CurrentWave();
        const ui::mouse::DrawingResult result = ui::mouse::WaveMouseDown(
            Table(), wave, GetSampleRange(), WaveDrawing, StrokeLast, x, y);
        if (result.Redraw)
            DrawWavetable(wave);
        if (result.Modified)
            SetModified(true);
    } catch (const std::exception &e) {
        Dialogs().Message(std::string("MouseDown ") + e.what());
    }
}

void TfrmMain::imgWaveTablesMouseMove(QObject *, Qt::KeyboardModifiers, int x, int y) {
    if (ViewMode() == render::kMotionPathView) {
        try {
            const motion::PathMouseResult result = motion::PathMouseMove(Path(), PathStroke, x, y);
            if (result.Redraw)
                DrawWavetable(CurrentWave());
            if (result.Modified)
                SetModified(true);
        } catch (const std::exception &e) {
            Dialogs().Message(std::string("MouseMove ") + e.what());
        }
        return;
    }
    try {
        const int wave = CurrentWave();
        const ui::mouse::DrawingResult result = ui::mouse::WaveMouseMove(
            Table(), wave, GetSampleRange(), WaveDrawing, StrokeLast, x, y);
        if (result.Redraw)
            DrawWavetable(wave);
        if (result.Modified)
            SetModified(true);
    } catch (const std::exception &e) {
        Dialogs().Message(std::string("MouseMove ") + e.what());
    }
}

void TfrmMain::imgWaveTablesMouseUp(QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    if (ViewMode() == render::kMotionPathView) {
        // The path is not part of the document: nothing goes on the undo history.
        if (motion::PathMouseUp(Path(), PathStroke).Redraw)
            DrawWavetable(CurrentWave());
        return;
    }
    const ui::mouse::DrawingResult result = ui::mouse::WaveMouseUp(WaveDrawing);
    if (result.Redraw)
        DrawWavetable(CurrentWave());
    if (result.Modified)
        SetModified(true);
    // Every release in the wave view is one undo step, also after a press that drew nothing.
    if (result.PushSnapshot)
        PushHistory();
}

void TfrmMain::btnNewWTMotionClick(QObject *) {
    if (Dialogs().Confirm("Are you sure ?", false) != ui::Answer::Yes)
        return;
    // The four start-up points come back only with the next start of the program.
    Path().PathCount = 0;
    DrawWavetable(CurrentWave());
}

void TfrmMain::btnMakeWTMotionClick(QObject *) {
    motion::MotionSettings settings;
    settings.Linear = rdbLinear->isChecked();
    settings.Shape = cmbMotionPathType->currentIndex() == 1 ? motion::PullShape::Smooth
                                                            : motion::PullShape::Sharp;
    settings.Continuous = chbFlat->isChecked();
    settings.Width = trbSensitivity->value();
    const WaveRange waves = RangeWaveSelection();
    settings.From = waves.From;
    settings.To = waves.To;

    const motion::MotionOutcome outcome = motion::MakeWTMotion(Table(), Path(), settings);
    if (outcome == motion::MotionOutcome::NotRun)
        return;
    Memo1->clear();
    if (outcome == motion::MotionOutcome::NoSegments)
        return;
    // This command leaves the modified flag as it was.
    DrawWavetable(CurrentWave());
    DrawOverview();
    PushHistory();
}

void TfrmMain::rdbSplineClick(QObject *) {
    DrawWavetable(CurrentWave());
}

void TfrmMain::ShowGraphPointer(int x, int y) {
    imgWaveTables->ShowPointerText(
        QString::fromStdString(ui::GraphPointerText(Table(), CurrentWave(), ViewMode(), x, y)),
        QPoint(x, y));
}

void TfrmMain::trbSensitivityChange(QObject *) {
    Label16->setText(QStringLiteral("FX width: ") + QString::number(trbSensitivity->value()));
}

} // namespace morvane::qt
