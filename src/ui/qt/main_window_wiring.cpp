// The main window's wiring: which signal of which control runs which handler. Every handler
// runs through Guarded, so that an error it does not catch itself reaches the user.
#include "ui/qt/main_window.h"

#include <variant>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "ui/qt/image_view.h"
#include "ui/qt/wave_list.h"

namespace morvane::qt {

namespace {

using F = TfrmMain;

// A command with its button and its menu item; either may be missing.
struct CommandRow {
    std::variant<std::monostate, QPushButton * F::*, QToolButton * F::*> Button;
    QAction *F::*Item;
    void (F::*Handler)(QObject *);
};

const CommandRow kCommands[] = {
    {&F::btnNewWavetable, &F::Newwavetable1, &F::btnNewWavetableClick},
    {&F::btnLoadwavetable, &F::Loadwavetable1, &F::btnLoadwavetableClick},
    {&F::btnImportWTfromMidi, &F::Importwavetablefrommidi1, &F::btnImportWTfromMidiClick},
    {&F::btnSaveWavetable, &F::Savewavetable1, &F::btnSaveWavetableClick},
    {&F::btnExportWavetable, &F::SavewavetableMidi1, &F::btnExportWavetableClick},
    {&F::btnExportWTasWav, &F::ExportwavetableWave1, &F::btnExportWTasWavClick},
    {&F::btnLoadWave, &F::Importwave1, &F::btnLoadWaveClick},
    {{}, &F::AudioSetup1, &F::AudioSetup1Click},
    {{}, &F::Exit1, &F::Exit1Click},

    {&F::BitBtn1, &F::Undo1, &F::Undo1Click},
    {&F::BitBtn2, &F::Redo1, &F::Redo1Click},
    {&F::btnCopy, &F::Copy1, &F::btnCopyClick},
    {&F::btnPaste, &F::Paste1, &F::btnPasteClick},
    {&F::btnPasteAdd, &F::Pastesum, &F::PastesumClick},
    {&F::btnPasteSub, &F::Pastesub, &F::PastesumClick},
    {&F::btnPasteMulti, &F::Pastemul, &F::PastesumClick},
    {&F::btnPasteOR, &F::PasteOR, &F::PastesumClick},
    {&F::btnPasteAND, &F::PasteAND, &F::PastesumClick},
    {&F::btnPasteXOR, &F::PasteXOR, &F::PastesumClick},
    {&F::btnPastemin, &F::Pastemin1, &F::PastesumClick},
    {&F::btnPastemax, &F::PasteMAX1, &F::PastesumClick},
    {&F::btnShiftLeft, &F::Moveleft1, &F::btnShiftLeftClick},
    {&F::btnShiftRight, &F::MOveright1, &F::btnShiftRightClick},
    {&F::btnShiftUp, &F::Moveup1, &F::btnShiftUpClick},
    {&F::btnShiftDown, &F::Movedown1, &F::btnShiftDownClick},
    {&F::SpeedButton1, &F::Viewwave1, &F::SpeedButton1Click},
    {&F::SpeedButton2, &F::Viewmotionpath1, &F::SpeedButton2Click},
    {{}, &F::Makemodificationforselectedwaveforms1, &F::Makemodificationforselectedwaveforms1Click},

    {&F::btnPlay, &F::Play1, &F::btnPlayClick},
    {{}, &F::Sweepwavetable, &F::chbPlayAllClick},
    {&F::btnAdd, &F::Addwave1, &F::btnAddClick},
    {&F::btnDec, &F::Subwave1, &F::btnAddClick},
    {&F::btnMultiple, &F::Multiwave1, &F::btnAddClick},
    {&F::btnOR, &F::ORwave1, &F::btnAddClick},
    {&F::btnAND, &F::ANDwave1, &F::btnAddClick},
    {&F::btnXOR, &F::XORwave1, &F::btnAddClick},
    {&F::btnMin, &F::minwave1, &F::btnAddClick},
    {&F::btnMAX, &F::MAXwave1, &F::btnAddClick},
    {&F::btnSetVolumePlus, &F::Amplify1, &F::btnSetVolumePlusClick},
    {&F::btnSetVolumeMinus, &F::Amplify2, &F::btnSetVolumePlusClick},
    {{}, &F::Harmonics1, &F::Harmonics1Click},
    {{}, &F::Formula1, &F::Formula1Click},

    {&F::btnMorph, &F::Morph1, &F::btnMorphClick},
    {&F::btnRandomOrder, &F::Wavetablerandomoerder1, &F::btnRandomOrderClick},
    {&F::btnInvert, &F::Invert1, &F::btnInvertClick},
    {&F::btnReverse, &F::Reverse1, &F::btnReverseClick},
    {&F::btnSmooth, &F::Smoothwave1, &F::btnSmoothClick},
    {&F::btnStep, nullptr, &F::btnStepClick},
    {&F::btnRandom4, nullptr, &F::btnRandom4Click},
    {&F::BitBtn3, nullptr, &F::BitBtn3Click},
    {&F::btnNewWTMotion, nullptr, &F::btnNewWTMotionClick},
    {&F::btnMakeWTMotion, nullptr, &F::btnMakeWTMotionClick},

    {{}, &F::MidiOutput1, &F::MidiOutput1Click},
    {{}, &F::SendToSynth1, &F::SendToSynth1Click},
    {{}, &F::ImportAudio1, &F::ImportAudio1Click},
    {{}, &F::ExportWavetable2048, &F::ExportWavetable2048Click},
    {{}, &F::Waterfall1, &F::Waterfall1Click},
    {{}, &F::Audition1, &F::Audition1Click},

    {{}, &F::MorvaneHelp1, &F::MorvaneHelp1Click},
    {{}, &F::UserGuide1, &F::UserGuide1Click},
    {{}, &F::Youtubedemovideo1, &F::Youtubedemovideo1Click},
    {{}, &F::About1, &F::About1Click},
};

// Track bars and scroll bars: a position set by the program runs the change handler.
struct ChangeRow {
    std::variant<QSlider * F::*, QScrollBar * F::*> Slider;
    void (F::*Handler)(QObject *);
};

const ChangeRow kChanges[] = {
    {&F::trbMorphWaves1, &F::trbMorphWaves1Change},
    {&F::trbMorphWaves2, &F::trbMorphWaves2Change},
    {&F::ScrollBar1, &F::ScrollBar2Change},
    {&F::ScrollBar2, &F::ScrollBar2Change},
    {&F::trbFade, &F::trbFadeChange},
    {&F::trbSensitivity, &F::trbSensitivityChange},
    {&F::trbPlaySpeed, &F::trbPlaySpeedChange},
};

} // namespace

void TfrmMain::Guarded(const std::function<void()> &body) {
    // The general error box: the error's text, and the event loop goes on.
    try {
        body();
    } catch (const std::exception &e) {
        dialogs_->Message(e.what());
    }
}

void TfrmMain::BindClick(QObject *control, Handler handler) {
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, button, handler] { Guarded([&] { (this->*handler)(button); }); });
    }
}

void TfrmMain::BindAction(QAction *action, Handler handler) {
    connect(action, &QAction::triggered, this, [this, action, handler] {
        // A menu item's check mark is the handler's business; Qt flips a checkable action
        // before it signals, so the flip is taken back first.
        if (action->isCheckable()) {
            const QSignalBlocker blocker(action);
            action->setChecked(!action->isChecked());
        }
        Guarded([&] { (this->*handler)(action); });
    });
}

void TfrmMain::ConnectHandlers() {
    for (const CommandRow &row : kCommands) {
        std::visit(
            [&](auto button) {
                if constexpr (!std::is_same_v<decltype(button), std::monostate>)
                    BindClick(this->*button, row.Handler);
            },
            row.Button);
        if (row.Item != nullptr)
            BindAction(this->*row.Item, row.Handler);
    }
    for (QAction *scaleItem : WindowScaleItems)
        BindAction(scaleItem, &TfrmMain::WindowScaleClick);
    for (const ChangeRow &row : kChanges) {
        QAbstractSlider *slider = std::visit(
            [this](auto member) -> QAbstractSlider * { return this->*member; }, row.Slider);
        connect(
            slider, &QAbstractSlider::valueChanged, this,
            [this, slider, handler = row.Handler] { Guarded([&] { (this->*handler)(slider); }); });
    }
    ConnectControlSignals();
    ConnectSessionManager();
}

void TfrmMain::ConnectControlSignals() {
    // Check boxes: a change from the program runs the click handler as a user's click does.
    connect(chbRandomAllSlice, &QCheckBox::toggled, this,
            [this] { Guarded([this] { chbRandomAllSliceClick(chbRandomAllSlice); }); });
    connect(chbPlayAll, &QCheckBox::toggled, this,
            [this] { Guarded([this] { chbPlayAllClick(chbPlayAll); }); });
    // Radio buttons: the one that becomes checked runs the handler.
    for (QRadioButton *radio : {rdbLinear, rdbSpline})
        connect(radio, &QRadioButton::toggled, this, [this, radio](bool on) {
            if (on)
                Guarded([this, radio] { rdbSplineClick(radio); });
        });
    // Lists and combo boxes: only the user's choice runs a handler.
    connect(lbWaveTableIndex, &TWaveList::UserSelect, this,
            [this] { Guarded([this] { lbWaveTableIndexClick(lbWaveTableIndex); }); });
    for (QComboBox *combo : {cmbDeviceID, cmbWavetableSlot})
        connect(combo, &QComboBox::activated, this,
                [this, combo] { Guarded([this, combo] { cmbDeviceIDChange(combo); }); });
    // The name field: every change of its text, also one made by the program.
    connect(edtName, &QLineEdit::textChanged, this,
            [this] { Guarded([this] { edtNameChange(edtName); }); });
    connect(TimerPlay, &QTimer::timeout, this,
            [this] { Guarded([this] { TimerPlayTimer(TimerPlay); }); });
    ConnectGraphMouse();
}

void TfrmMain::ConnectGraphMouse() {
    connect(imgWaveTables, &TImageView::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                Guarded([&] { imgWaveTablesMouseDown(imgWaveTables, button, shift, x, y); });
                ShowGraphPointer(x, y);
            });
    connect(imgWaveTables, &TImageView::MouseMove, this,
            [this](Qt::KeyboardModifiers shift, int x, int y) {
                Guarded([&] { imgWaveTablesMouseMove(imgWaveTables, shift, x, y); });
                ShowGraphPointer(x, y);
            });
    connect(imgWaveTables, &TImageView::MouseUp, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                Guarded([&] { imgWaveTablesMouseUp(imgWaveTables, button, shift, x, y); });
            });
}

void TfrmMain::ConnectSessionManager() {
#ifndef QT_NO_SESSIONMANAGER
    // The desktop's logout closes no window by itself: unsaved work is offered for saving here,
    // and Cancel (or a save left undone) stops the logout.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
            if (!modified_ || !manager.allowsInteraction())
                return;
            bool goOn = false;
            Guarded([&] { goOn = AskSaveChanges(); });
            manager.release();
            if (!goOn)
                manager.cancel();
        });
    }
#endif
}

} // namespace morvane::qt
