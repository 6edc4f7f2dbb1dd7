// The main window's form: every control with its kind, place and caption, and the menu bar,
// written as tables in the order the controls are made (that order is the tab order). What a
// table cannot say (items, ranges, marks, pictures, fonts) follows each table as code.
#include "ui/qt/main_window.h"

#include <string>
#include <type_traits>
#include <variant>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "ui/qt/image_view.h"
#include "ui/qt/tooltips.h"
#include "ui/qt/wave_list.h"
#include "ui/window_scale.h"

namespace morvane::qt {

namespace {

const QString kDesignCaption = QStringLiteral("Morvane for Waldorf Blofeld 1.1");
constexpr int kClientWidth = 866;
constexpr int kClientHeight = 573;
constexpr int kGraphImageHeight = 385; // the graph image is one row taller than GraphBitmap
const QColor kGreenText(0, 128, 0);
const QString kFirstLogLine = QStringLiteral("Hello Blofeld WT World!");

QString Text(const char *latin1) {
    return QString::fromLatin1(latin1);
}

QStringList NumberItems(int first, int last) {
    QStringList items;
    for (int n = first; n <= last; ++n)
        items.append(QString::number(n));
    return items;
}

// ---- The controls ------------------------------------------------------------------------

// The kind of a control is the type of the member it is kept in.
using ControlMember =
    std::variant<QGroupBox * TfrmMain::*, QPushButton * TfrmMain::*, QLabel * TfrmMain::*,
                 QCheckBox * TfrmMain::*, QRadioButton * TfrmMain::*, QToolButton * TfrmMain::*,
                 QComboBox * TfrmMain::*, QSlider * TfrmMain::*, QScrollBar * TfrmMain::*,
                 QLineEdit * TfrmMain::*, QPlainTextEdit * TfrmMain::*, TImageView * TfrmMain::*,
                 TWaveList * TfrmMain::*>;

struct ControlRow {
    ControlMember Member;
    QGroupBox *TfrmMain::*Parent; // nullptr: the client area
    const char *Name;
    QRect Place; // left, top, width, height in the parent
    const char *Caption;
};

template <typename M> struct MemberWidget;
template <typename W> struct MemberWidget<W * TfrmMain::*> { using Type = W; };

// A new control of kind W for `row`; the kinds that show a caption get it here.
template <typename W> W *NewControl(QWidget *parent, const ControlRow &row) {
    return new W(Text(row.Caption), parent);
}
template <> QToolButton *NewControl(QWidget *parent, const ControlRow &row) {
    auto *button = new QToolButton(parent);
    button->setText(Text(row.Caption));
    return button;
}
template <> QComboBox *NewControl(QWidget *parent, const ControlRow &) {
    return new QComboBox(parent);
}
template <> QSlider *NewControl(QWidget *parent, const ControlRow &) {
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setSingleStep(1);
    slider->setPageStep(2);
    return slider;
}
template <> QScrollBar *NewControl(QWidget *parent, const ControlRow &) {
    return new QScrollBar(Qt::Horizontal, parent);
}
template <> QLineEdit *NewControl(QWidget *parent, const ControlRow &) {
    return new QLineEdit(parent);
}
template <> QPlainTextEdit *NewControl(QWidget *parent, const ControlRow &) {
    return new QPlainTextEdit(parent);
}
// An image view's picture is as large as the view.
template <> TImageView *NewControl(QWidget *parent, const ControlRow &row) {
    return new TImageView(row.Place.width(), row.Place.height(), parent);
}
template <> TWaveList *NewControl(QWidget *parent, const ControlRow &) {
    return new TWaveList(parent);
}

using F = TfrmMain;

// clang-format off
const ControlRow kControls[] = {
    {&F::GroupBox2, nullptr, "GroupBox2", {4, 2, 128, 98}, "New/Load wavetable"},
    {&F::btnNewWavetable, &F::GroupBox2, "btnNewWavetable", {6, 16, 116, 25}, "New wavetable"},
    {&F::btnLoadwavetable, &F::GroupBox2, "btnLoadwavetable", {6, 42, 116, 25}, "Load wavetable"},
    {&F::btnImportWTfromMidi, &F::GroupBox2, "btnImportWTfromMidi", {6, 68, 116, 25}, "Import WT from midi"},

    {&F::grpWavetable, nullptr, "grpWavetable", {4, 100, 128, 178}, "Save wavetable(syx,mid)"},
    {&F::Label7, &F::grpWavetable, "Label7", {8, 16, 113, 13}, "Wavetable Name"},
    {&F::edtName, &F::grpWavetable, "edtName", {8, 30, 113, 21}, ""},
    {&F::Label6, &F::grpWavetable, "Label6", {8, 54, 49, 13}, "WT slot"},
    {&F::cmbWavetableSlot, &F::grpWavetable, "cmbWavetableSlot", {8, 68, 53, 21}, ""},
    {&F::Label18, &F::grpWavetable, "Label18", {66, 54, 55, 13}, "Device ID"},
    {&F::cmbDeviceID, &F::grpWavetable, "cmbDeviceID", {66, 68, 55, 21}, ""},
    {&F::btnSaveWavetable, &F::grpWavetable, "btnSaveWavetable", {8, 94, 113, 25}, "SaveSelcWT(syx)"},
    {&F::btnExportWavetable, &F::grpWavetable, "btnExportWavetable", {8, 120, 113, 25}, "Export WT (midi)"},
    {&F::btnExportWTasWav, &F::grpWavetable, "btnExportWTasWav", {8, 146, 113, 25}, "ExpWT (wav,txt)"},

    {&F::GroupBox3, nullptr, "GroupBox3", {4, 279, 128, 96}, "Import wave to WT"},
    {&F::Label10, &F::GroupBox3, "Label10", {8, 20, 33, 13}, "From:"},
    {&F::CmbWTFrom, &F::GroupBox3, "CmbWTFrom", {44, 16, 77, 21}, ""},
    {&F::Label11, &F::GroupBox3, "Label11", {8, 44, 33, 13}, "To:"},
    {&F::CmbWTTo, &F::GroupBox3, "CmbWTTo", {44, 40, 77, 21}, ""},
    {&F::btnLoadWave, &F::GroupBox3, "btnLoadWave", {8, 65, 113, 25}, "Import wave"},

    {&F::grbHistory, nullptr, "grbHistory", {4, 376, 128, 49}, "History 1 / 1"},
    {&F::BitBtn1, &F::grbHistory, "BitBtn1", {8, 17, 54, 25}, "Undo"},
    {&F::BitBtn2, &F::grbHistory, "BitBtn2", {67, 17, 54, 25}, "Redo"},

    {&F::Label17, nullptr, "Label17", {4, 426, 128, 13}, "Wavetable graph"},
    {&F::imgColoredWaveTables, nullptr, "imgColoredWaveTables", {4, 440, render::kOverviewWidth, render::kOverviewHeight}, ""},
    {&F::Memo1, nullptr, "Memo1", {37, 528, 164, 33}, ""},
    {&F::Label9, nullptr, "Label9", {141, 1, 75, 13}, "Wavetable"},
    {&F::lbWaveTableIndex, nullptr, "lbWaveTableIndex", {137, 16, 79, 544}, ""},

    {&F::btnCopy, nullptr, "btnCopy", {221, 3, 86, 25}, "Copy wave"},
    {&F::btnPaste, nullptr, "btnPaste", {307, 3, 86, 25}, "Paste wave"},
    // Eight buttons spread evenly with their left edges from 393 to 580.
    {&F::btnPasteAdd, nullptr, "btnPasteAdd", {393, 3, 26, 25}, "P+"},
    {&F::btnPasteSub, nullptr, "btnPasteSub", {420, 3, 26, 25}, "P-"},
    {&F::btnPasteMulti, nullptr, "btnPasteMulti", {446, 3, 26, 25}, "P*"},
    {&F::btnPasteOR, nullptr, "btnPasteOR", {473, 3, 26, 25}, "Por"},
    {&F::btnPasteAND, nullptr, "btnPasteAND", {500, 3, 26, 25}, "Pand"},
    {&F::btnPasteXOR, nullptr, "btnPasteXOR", {527, 3, 26, 25}, "P xor"},
    {&F::btnPastemin, nullptr, "btnPastemin", {553, 3, 26, 25}, "Pmin"},
    {&F::btnPastemax, nullptr, "btnPastemax", {580, 3, 26, 25}, "Pmax"},
    {&F::SpeedButton1, nullptr, "SpeedButton1", {221, 36, 87, 22}, "View wave"},
    {&F::SpeedButton2, nullptr, "SpeedButton2", {308, 36, 87, 22}, "View motionpath"},
    {&F::btnShowClipboard, nullptr, "btnShowClipboard", {398, 28, 90, 25}, "Show Clipboard"},
    {&F::btnShiftLeft, nullptr, "btnShiftLeft", {508, 30, 25, 25}, ""},
    {&F::btnShiftRight, nullptr, "btnShiftRight", {532, 30, 25, 25}, ""},
    {&F::btnShiftUp, nullptr, "btnShiftUp", {556, 30, 25, 25}, ""},
    {&F::btnShiftDown, nullptr, "btnShiftDown", {580, 30, 25, 25}, ""},
    {&F::imgWaveTables, nullptr, "imgWaveTables", {221, 58, render::kGraphSize, kGraphImageHeight}, ""},
    {&F::lblFrom, nullptr, "lblFrom", {221, 449, 70, 13}, "Select from 1"},
    {&F::ScrollBar1, nullptr, "ScrollBar1", {293, 452, 313, 11}, ""},
    {&F::lblto, nullptr, "lblto", {221, 465, 70, 13}, "Select to 128"},
    {&F::ScrollBar2, nullptr, "ScrollBar2", {293, 468, 313, 11}, ""},

    {&F::GroupBox4, nullptr, "GroupBox4", {221, 483, 385, 49}, "Play wavetable"},
    {&F::btnPlay, &F::GroupBox4, "btnPlay", {8, 17, 75, 25}, "Play"},
    {&F::chbPlayAll, &F::GroupBox4, "chbPlayAll", {90, 21, 112, 17}, "Sweep wavetable"},
    {&F::Label13, &F::GroupBox4, "Label13", {204, 23, 62, 13}, "Play speed"},
    {&F::trbPlaySpeed, &F::GroupBox4, "trbPlaySpeed", {268, 15, 111, 28}, ""},

    {&F::lblFilename, nullptr, "lblFilename", {221, 532, 385, 24}, "untitled"},
    {&F::Label8, nullptr, "Label8", {137, 559, 472, 15},
     "Morvane 1.11 (free), a wavetable editor for the Waldorf Blofeld - click for the user guide"},

    {&F::grpAddwave, nullptr, "grpAddwave", {613, 2, 249, 233}, "Modify wave"},
    {&F::Label1, &F::grpAddwave, "Label1", {8, 16, 113, 13}, "Waveform"},
    {&F::cmbWave, &F::grpAddwave, "cmbWave", {8, 30, 113, 21}, ""},
    {&F::Label2, &F::grpAddwave, "Label2", {128, 16, 113, 13}, "Harmonics"},
    {&F::cmbAmplitude, &F::grpAddwave, "cmbAmplitude", {128, 30, 113, 21}, ""},
    {&F::chbAddtoexisting, &F::grpAddwave, "chbAddtoexisting", {8, 56, 126, 17}, "Add to existing wave"},
    {&F::ckbAllowOverflow, &F::grpAddwave, "ckbAllowOverflow", {138, 56, 103, 17}, "Allow overflow"},
    {&F::lblFade, &F::grpAddwave, "lblFade", {8, 82, 50, 13}, "Fade: 0"},
    {&F::trbFade, &F::grpAddwave, "trbFade", {60, 76, 181, 24}, ""},
    {&F::btnAdd, &F::grpAddwave, "btnAdd", {8, 104, 57, 25}, "Add wave"},
    {&F::btnDec, &F::grpAddwave, "btnDec", {66, 104, 57, 25}, "Sub wave"},
    {&F::btnMultiple, &F::grpAddwave, "btnMultiple", {124, 104, 57, 25}, "Multi wave"},
    {&F::btnOR, &F::grpAddwave, "btnOR", {182, 104, 57, 25}, "OR wave"},
    {&F::btnAND, &F::grpAddwave, "btnAND", {8, 130, 57, 25}, "AND wave"},
    {&F::btnXOR, &F::grpAddwave, "btnXOR", {66, 130, 57, 25}, "XOR wave"},
    {&F::btnMin, &F::grpAddwave, "btnMin", {124, 130, 57, 25}, "min wave"},
    {&F::btnMAX, &F::grpAddwave, "btnMAX", {182, 130, 57, 25}, "MAX wave"},
    {&F::btnSetVolumePlus, &F::grpAddwave, "btnSetVolumePlus", {8, 164, 75, 25}, "Amplify +"},
    {&F::btnSetVolumeMinus, &F::grpAddwave, "btnSetVolumeMinus", {88, 164, 75, 25}, "Amplify -"},
    {&F::Label3, &F::grpAddwave, "Label3", {8, 200, 60, 13}, "amplify by"},
    {&F::cmbNormalize, &F::grpAddwave, "cmbNormalize", {70, 196, 49, 21}, ""},
    {&F::Label12, &F::grpAddwave, "Label12", {122, 200, 14, 13}, "%"},
    {&F::btnFourier, &F::grpAddwave, "btnFourier", {168, 196, 73, 25}, "Fourier"},

    {&F::GroupBox6, nullptr, "GroupBox6", {613, 236, 249, 77}, "Wavetable selection"},
    {&F::Label4, &F::GroupBox6, "Label4", {8, 18, 112, 13}, "Select wave from: 1"},
    {&F::trbMorphWaves1, &F::GroupBox6, "trbMorphWaves1", {122, 12, 119, 20}, ""},
    {&F::Label5, &F::GroupBox6, "Label5", {8, 38, 112, 13}, "Select wave to: 64"},
    {&F::trbMorphWaves2, &F::GroupBox6, "trbMorphWaves2", {122, 32, 119, 20}, ""},
    {&F::chbRandomAllSlice, &F::GroupBox6, "chbRandomAllSlice", {8, 55, 233, 17}, "make modification for waveform 1 to 64"},

    {&F::grpMorph, nullptr, "grpMorph", {613, 314, 249, 149}, "Morph waves"},
    {&F::btnMorph, &F::grpMorph, "btnMorph", {8, 16, 113, 24}, "Morph waves"},
    {&F::btnRandomOrder, &F::grpMorph, "btnRandomOrder", {128, 16, 113, 24}, "WT RND order"},
    {&F::btnInvert, &F::grpMorph, "btnInvert", {8, 42, 113, 24}, "Invert wave"},
    {&F::btnReverse, &F::grpMorph, "btnReverse", {128, 42, 113, 24}, "Reverse wave"},
    {&F::btnSmooth, &F::grpMorph, "btnSmooth", {8, 68, 113, 24}, "Smooth wave"},
    {&F::btnStep, &F::grpMorph, "btnStep", {128, 68, 60, 24}, "Step wave"},
    {&F::cmbStepWave, &F::grpMorph, "cmbStepWave", {192, 70, 49, 21}, ""},
    {&F::btnRandom4, &F::grpMorph, "btnRandom4", {8, 94, 113, 24}, "RND slice order"},
    {&F::cmbSlices, &F::grpMorph, "cmbSlices", {128, 96, 58, 21}, ""},
    {&F::chbRandomSAme, &F::grpMorph, "chbRandomSAme", {190, 98, 53, 17}, "Same"},
    {&F::BitBtn3, &F::grpMorph, "BitBtn3", {8, 120, 113, 24}, "Sort"},

    {&F::GroupBox5, nullptr, "GroupBox5", {613, 464, 249, 105}, "Wavetable Motionpath"},
    {&F::rdbLinear, &F::GroupBox5, "rdbLinear", {8, 16, 60, 17}, "Linear"},
    {&F::rdbSpline, &F::GroupBox5, "rdbSpline", {72, 16, 68, 17}, "BSpline"},
    {&F::chbFlat, &F::GroupBox5, "chbFlat", {150, 16, 91, 17}, "Continuous"},
    {&F::Label14, &F::GroupBox5, "Label14", {8, 42, 52, 13}, "Algorithm"},
    {&F::cmbMotionPathType, &F::GroupBox5, "cmbMotionPathType", {62, 38, 80, 21}, ""},
    {&F::Label16, &F::GroupBox5, "Label16", {150, 42, 91, 13}, "FX width: 1"},
    {&F::trbSensitivity, &F::GroupBox5, "trbSensitivity", {8, 60, 233, 18}, ""},
    {&F::btnNewWTMotion, &F::GroupBox5, "btnNewWTMotion", {8, 79, 113, 22}, "New WT motion"},
    {&F::btnMakeWTMotion, &F::GroupBox5, "btnMakeWTMotion", {128, 79, 113, 22}, "Make motion!"},
};
// clang-format on

// The items of a combo box and the one selected at start.
struct ComboRow {
    QComboBox *TfrmMain::*Member;
    QStringList Items;
    int Selected;
};

// A track bar's range and its position at start.
struct RangeRow {
    QSlider *TfrmMain::*Member;
    int Min, Max, Position;
};

const RangeRow kRanges[] = {
    // Its position is set during start-up; starting below it makes that setting a change.
    {&F::trbPlaySpeed, 1, 50, 1},           {&F::trbFade, -10, 10, 0},
    {&F::trbMorphWaves1, 1, kWaveCount, 1}, {&F::trbMorphWaves2, 1, kWaveCount, kWaveCount},
    {&F::trbSensitivity, 1, 128, 1},
};

QStringList HarmonicItems() {
    QStringList items;
    for (int n = 1; n <= 50; ++n)
        items.append(QStringLiteral("1/") + QString::number(n));
    return items;
}

void SetTextColour(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// The pictures of the four shift buttons: a black arrow pointing `degrees` clockwise from
// the right.
QIcon ArrowIcon(int degrees) {
    constexpr int kSize = 16;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kSize / 2.0, kSize / 2.0);
    painter.rotate(degrees);
    QPainterPath arrow;
    arrow.moveTo(6, 0);  // tip
    arrow.lineTo(0, -5); // upper barb
    arrow.lineTo(0, -2);
    arrow.lineTo(-6, -2); // shaft
    arrow.lineTo(-6, 2);
    arrow.lineTo(0, 2);
    arrow.lineTo(0, 5); // lower barb
    arrow.closeSubpath();
    painter.fillPath(arrow, Qt::black);
    return QIcon(pixmap);
}

// ---- The menu ----------------------------------------------------------------------------

struct Separator {};
// The parts of the menu that are built by code: the recent files and the window scales.
enum class Built { RecentFiles, WindowScales };
// A row makes a menu (later rows name it as their parent), an item, a separator, or one of
// the built parts.
using MenuEntry = std::variant<QMenu * TfrmMain::*, QAction * TfrmMain::*, Separator, Built>;
enum class Mark { None, Checkable, Checked };

struct MenuRow {
    QMenu *TfrmMain::*Parent; // nullptr: the menu bar
    MenuEntry Entry;
    const char *Name;
    const char *Caption;
    QKeyCombination Shortcut; // the default combination: none
    Mark Check;
};

constexpr QKeyCombination kNoKey{};
constexpr Separator kLine{};

// clang-format off
const MenuRow kMenu[] = {
    {nullptr, &F::File1, "File1", "&File", kNoKey, Mark::None},
    {&F::File1, &F::Newwavetable1, "Newwavetable1", "&New wavetable", kNoKey, Mark::None},
    {&F::File1, &F::Loadwavetable1, "Loadwavetable1", "&Load wavetable", kNoKey, Mark::None},
    {&F::File1, &F::Importwavetablefrommidi1, "Importwavetablefrommidi1", "Import wavetable from midi", kNoKey, Mark::None},
    {&F::File1, Built::RecentFiles, "", "", kNoKey, Mark::None},
    {&F::File1, kLine, "", "", kNoKey, Mark::None},
    {&F::File1, &F::Savewavetable1, "Savewavetable1", "Save wavetable (System Exclusive)", kNoKey, Mark::None},
    {&F::File1, &F::SavewavetableMidi1, "SavewavetableMidi1", "Save wavetable (Midi)", kNoKey, Mark::None},
    {&F::File1, &F::ExportwavetableWave1, "ExportwavetableWave1", "Export wavetable (Wave)", kNoKey, Mark::None},
    {&F::File1, kLine, "", "", kNoKey, Mark::None},
    {&F::File1, &F::Importwave1, "Importwave1", "Import wave to wavetable", kNoKey, Mark::None},
    {&F::File1, kLine, "", "", kNoKey, Mark::None},
    {&F::File1, &F::AudioSetup1, "AudioSetup1", "Audio Setup ...", Qt::CTRL | Qt::Key_Q, Mark::None},
    {&F::File1, kLine, "", "", kNoKey, Mark::None},
    {&F::File1, &F::Exit1, "Exit1", "E&xit", kNoKey, Mark::None},

    {nullptr, &F::Edit1, "Edit1", "&Edit", kNoKey, Mark::None},
    {&F::Edit1, &F::Undo1, "Undo1", "Undo wavetable", Qt::CTRL | Qt::Key_Z, Mark::None},
    {&F::Edit1, &F::Redo1, "Redo1", "Redo wavetable", Qt::CTRL | Qt::Key_Y, Mark::None},
    {&F::Edit1, kLine, "", "", kNoKey, Mark::None},
    {&F::Edit1, &F::Copy1, "Copy1", "&Copy", Qt::CTRL | Qt::Key_C, Mark::None},
    {&F::Edit1, &F::Paste1, "Paste1", "&Paste", Qt::CTRL | Qt::Key_V, Mark::None},
    {&F::Edit1, &F::Pastespecial1, "Pastespecial1", "Paste special", kNoKey, Mark::None},
    {&F::Pastespecial1, &F::Pastesum, "Pastesum", "Paste summation", Qt::CTRL | Qt::Key_F1, Mark::None},
    {&F::Pastespecial1, &F::Pastesub, "Pastesub", "Paste subtraction", Qt::CTRL | Qt::Key_F2, Mark::None},
    {&F::Pastespecial1, &F::Pastemul, "Pastemul", "Paste multiplication", Qt::CTRL | Qt::Key_F3, Mark::None},
    {&F::Pastespecial1, &F::PasteOR, "PasteOR", "Paste OR", Qt::CTRL | Qt::Key_F4, Mark::None},
    {&F::Pastespecial1, &F::PasteAND, "PasteAND", "Paste AND", Qt::CTRL | Qt::Key_F5, Mark::None},
    {&F::Pastespecial1, &F::PasteXOR, "PasteXOR", "Paste XOR", Qt::CTRL | Qt::Key_F6, Mark::None},
    {&F::Pastespecial1, &F::Pastemin1, "Pastemin1", "Paste min", Qt::CTRL | Qt::Key_F7, Mark::None},
    {&F::Pastespecial1, &F::PasteMAX1, "PasteMAX1", "Paste MAX", Qt::CTRL | Qt::Key_F8, Mark::None},
    {&F::Edit1, kLine, "", "", kNoKey, Mark::None},
    {&F::Edit1, &F::Moveleft1, "Moveleft1", "Move left", Qt::Key_F5, Mark::None},
    {&F::Edit1, &F::MOveright1, "MOveright1", "Move right", Qt::Key_F6, Mark::None},
    {&F::Edit1, &F::Moveup1, "Moveup1", "Move up", Qt::Key_F7, Mark::None},
    {&F::Edit1, &F::Movedown1, "Movedown1", "Move down", Qt::Key_F8, Mark::None},
    {&F::Edit1, kLine, "", "", kNoKey, Mark::None},
    {&F::Edit1, &F::Viewwave1, "Viewwave1", "View wave", Qt::Key_F1, Mark::Checked},
    {&F::Edit1, &F::Viewmotionpath1, "Viewmotionpath1", "View motionpath", Qt::Key_F2, Mark::Checkable},
    {&F::Edit1, kLine, "", "", kNoKey, Mark::None},
    {&F::Edit1, &F::Makemodificationforselectedwaveforms1, "Makemodificationforselectedwaveforms1", "Make modification for selected waveforms", Qt::Key_F11, Mark::Checkable},

    {nullptr, &F::Wave1, "Wave1", "Wave", kNoKey, Mark::None},
    {&F::Wave1, &F::Play1, "Play1", "Play wave", Qt::Key_F4, Mark::None},
    {&F::Wave1, &F::Sweepwavetable, "Sweepwavetable", "Sweep wavetable", Qt::Key_F3, Mark::Checkable},
    {&F::Wave1, kLine, "", "", kNoKey, Mark::None},
    {&F::Wave1, &F::Addwave1, "Addwave1", "Add wave", kNoKey, Mark::None},
    {&F::Wave1, &F::Subwave1, "Subwave1", "Sub wave", kNoKey, Mark::None},
    {&F::Wave1, &F::Multiwave1, "Multiwave1", "Multi wave", kNoKey, Mark::None},
    {&F::Wave1, &F::ORwave1, "ORwave1", "OR wave", kNoKey, Mark::None},
    {&F::Wave1, &F::ANDwave1, "ANDwave1", "AND wave", kNoKey, Mark::None},
    {&F::Wave1, &F::XORwave1, "XORwave1", "XOR wave", kNoKey, Mark::None},
    {&F::Wave1, &F::minwave1, "minwave1", "min wave", kNoKey, Mark::None},
    {&F::Wave1, &F::MAXwave1, "MAXwave1", "MAX wave", kNoKey, Mark::None},
    {&F::Wave1, kLine, "", "", kNoKey, Mark::None},
    {&F::Wave1, &F::Amplify1, "Amplify1", "Amplify +", Qt::Key_F10, Mark::None},
    {&F::Wave1, &F::Amplify2, "Amplify2", "Amplify -", Qt::Key_F9, Mark::None},
    {&F::Wave1, kLine, "", "", kNoKey, Mark::None},
    {&F::Wave1, &F::Harmonics1, "Harmonics1", "Harmonics ...", Qt::Key_F12, Mark::None},
    {&F::Wave1, &F::Waterfall1, "Waterfall1", "Waterfall ...", kNoKey, Mark::None},
    {&F::Wave1, &F::Formula1, "Formula1", "Formula ...", Qt::CTRL | Qt::Key_F, Mark::None},

    {nullptr, &F::Tools1, "Tools1", "Tools", kNoKey, Mark::None},
    {&F::Tools1, &F::Morph1, "Morph1", "Morph wavetable", kNoKey, Mark::None},
    {&F::Tools1, &F::Wavetablerandomoerder1, "Wavetablerandomoerder1", "Wavetable random order", kNoKey, Mark::None},
    {&F::Tools1, kLine, "", "", kNoKey, Mark::None},
    {&F::Tools1, &F::Invert1, "Invert1", "Invert wave", kNoKey, Mark::None},
    {&F::Tools1, &F::Reverse1, "Reverse1", "Reverse wave", kNoKey, Mark::None},
    {&F::Tools1, &F::Smoothwave1, "Smoothwave1", "Smooth wave", kNoKey, Mark::None},
    // Beyond the original menus: the audition, and the size of the whole window for large
    // screens.
    {&F::Tools1, kLine, "", "", kNoKey, Mark::None},
    {&F::Tools1, &F::Audition1, "Audition1", "Audition ...", kNoKey, Mark::None},
    {&F::Tools1, &F::WindowScale1, "WindowScale1", "Window scale", kNoKey, Mark::None},
    {&F::WindowScale1, Built::WindowScales, "", "", kNoKey, Mark::None},

    // Beyond the five menus of the original window: talking to the instrument itself.
    {nullptr, &F::Exchange1, "Exchange1", "E&xchange", kNoKey, Mark::None},
    {&F::Exchange1, &F::MidiOutput1, "MidiOutput1", "MIDI output ...", kNoKey, Mark::None},
    {&F::Exchange1, &F::SendToSynth1, "SendToSynth1", "Send wavetable to synth", Qt::CTRL | Qt::SHIFT | Qt::Key_S, Mark::None},
    {&F::Exchange1, kLine, "", "", kNoKey, Mark::None},
    {&F::Exchange1, &F::ImportAudio1, "ImportAudio1", "Import audio or wavetable ...", kNoKey, Mark::None},
    {&F::Exchange1, &F::ExportWavetable2048, "ExportWavetable2048", "Export for other synths (WAV 2048) ...", kNoKey, Mark::None},

    {nullptr, &F::Help1, "Help1", "Help", kNoKey, Mark::None},
    {&F::Help1, &F::MorvaneHelp1, "MorvaneHelp1", "Morvane Help", kNoKey, Mark::None},
    {&F::Help1, &F::UserGuide1, "UserGuide1", "User guide", kNoKey, Mark::None},
    {&F::Help1, &F::Youtubedemovideo1, "Youtubedemovideo1", "Youtube demovideo", kNoKey, Mark::None},
    {&F::Help1, kLine, "", "", kNoKey, Mark::None},
    {&F::Help1, &F::About1, "About1", "About", kNoKey, Mark::None},
};
// clang-format on

// The items of the combo boxes, the ranges of the track and scroll bars.
void FillChoices(TfrmMain &w) {
    const ComboRow combos[] = {
        {&F::cmbWavetableSlot, NumberItems(kFirstSlot, kLastSlot), 0},
        {&F::cmbDeviceID, NumberItems(0, kDeviceIdCount - 1), 0},
        {&F::CmbWTFrom, NumberItems(1, kWaveCount), 0},
        {&F::CmbWTTo, NumberItems(1, kWaveCount), kWaveCount - 1},
        {&F::cmbWave,
         {QStringLiteral("Sine"), QStringLiteral("Triangle"), QStringLiteral("Square"),
          QStringLiteral("Saw"), QStringLiteral("Random")},
         0},
        {&F::cmbAmplitude, HarmonicItems(), 1},
        {&F::cmbNormalize,
         {QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("10")},
         2},
        {&F::cmbStepWave,
         {QStringLiteral("8"), QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("64")},
         1},
        {&F::cmbSlices,
         {QStringLiteral("4 slice"), QStringLiteral("8 slice"), QStringLiteral("16 slice"),
          QStringLiteral("32 slice")},
         0},
        {&F::cmbMotionPathType, {QStringLiteral("Sharp"), QStringLiteral("Smooth")}, 0},
    };
    for (const ComboRow &row : combos) {
        (w.*row.Member)->addItems(row.Items);
        (w.*row.Member)->setCurrentIndex(row.Selected);
    }
    for (const RangeRow &row : kRanges) {
        (w.*row.Member)->setRange(row.Min, row.Max);
        (w.*row.Member)->setValue(row.Position);
    }
    for (QScrollBar *bar : {w.ScrollBar1, w.ScrollBar2})
        bar->setRange(0, kSampleCount - 1);
    w.ScrollBar2->setValue(kSampleCount - 1);
    for (QSlider *slider : {w.trbMorphWaves1, w.trbMorphWaves2}) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
    }
}

// The paste buttons wait for the first copy; the view buttons are one exclusive pair.
void SetUpButtons(TfrmMain &w) {
    for (QPushButton *button :
         {w.btnPaste, w.btnPasteAdd, w.btnPasteSub, w.btnPasteMulti, w.btnPasteOR, w.btnPasteAND,
          w.btnPasteXOR, w.btnPastemin, w.btnPastemax, w.btnShowClipboard})
        button->setEnabled(false);
    for (QPushButton *button : {w.btnPasteAdd, w.btnPasteSub, w.btnPasteMulti, w.btnPasteOR,
                                w.btnPasteAND, w.btnPasteXOR, w.btnPastemin, w.btnPastemax}) {
        // Five characters in 26 pixels: a smaller face, and no padding around it.
        QFont small = button->font();
        small.setPixelSize(9);
        button->setFont(small);
        button->setStyleSheet(QStringLiteral("padding: 0px;"));
    }

    auto *viewGroup = new QButtonGroup(&w);
    viewGroup->setObjectName(QStringLiteral("ViewButtons"));
    for (QToolButton *speed : {w.SpeedButton1, w.SpeedButton2}) {
        speed->setCheckable(true);
        speed->setAutoRaise(false);
        SetTextColour(speed, kGreenText);
        viewGroup->addButton(speed);
    }
    viewGroup->setExclusive(true);
    w.SpeedButton1->setChecked(true);

    w.btnShiftLeft->setIcon(ArrowIcon(180));
    w.btnShiftRight->setIcon(ArrowIcon(0));
    w.btnShiftUp->setIcon(ArrowIcon(270));
    w.btnShiftDown->setIcon(ArrowIcon(90));
    w.imgWaveTables->setCursor(Qt::CrossCursor);
}

// The texts, faces and marks the table does not give.
void SetUpTextsAndMarks(TfrmMain &w) {
    w.edtName->setMaxLength(static_cast<int>(kNameLength));
    w.Memo1->setPlainText(kFirstLogLine);
    // The hidden log keeps its last lines only, so that repeated refusals cannot fill memory.
    w.Memo1->setMaximumBlockCount(TfrmMain::kLogLinesKept);
    w.Memo1->setVisible(false);
    w.btnFourier->setVisible(false);

    w.TimerPlay = new QTimer(&w);
    w.TimerPlay->setObjectName(QStringLiteral("TimerPlay"));

    w.lblFilename->setWordWrap(true);
    w.lblFilename->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont creditFont = w.Label8->font();
    creditFont.setPixelSize(8);
    w.Label8->setFont(creditFont);
    w.Label8->setCursor(Qt::PointingHandCursor);

    w.chbAddtoexisting->setChecked(true);
    SetTextColour(w.chbRandomAllSlice, kGreenText);
    w.chbRandomSAme->setChecked(true);
    w.chbRandomSAme->setToolTip(QStringLiteral("Same for all waves"));
    w.rdbLinear->setChecked(true);
    w.chbFlat->setToolTip(QStringLiteral("Last & first point connected"));
}

// A menu of the menu bar (no parent) or a submenu of `parent`; its menu action carries its
// name too, so that the menu is found by name from the bar.
QMenu *NewMenu(QMenuBar &bar, QMenu *parent, const MenuRow &row) {
    QWidget *owner = parent ? static_cast<QWidget *>(parent) : &bar;
    auto *menu = new QMenu(Text(row.Caption), owner);
    menu->setObjectName(Text(row.Name));
    menu->menuAction()->setObjectName(Text(row.Name));
    if (parent)
        parent->addMenu(menu);
    else
        bar.addMenu(menu);
    return menu;
}

// An item of `parent`, owned by the window.
QAction *NewItem(TfrmMain &window, QMenu &parent, const MenuRow &row) {
    auto *action = new QAction(Text(row.Caption), &window);
    action->setObjectName(Text(row.Name));
    action->setShortcut(row.Shortcut == kNoKey ? QKeySequence() : QKeySequence(row.Shortcut));
    action->setCheckable(row.Check != Mark::None);
    action->setChecked(row.Check == Mark::Checked);
    parent.addAction(action);
    return action;
}

} // namespace

void TfrmMain::CreateForm() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kDesignCaption);
    // A single fixed border with the system menu and the minimise box, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // The layout was made for a narrow 8-point font; a condensed face keeps the captions
    // inside their fixed rectangles where the desktop has one.
    QFont windowFont = font();
    windowFont.setPointSize(8);
    windowFont.setStretch(QFont::SemiCondensed);
    setFont(windowFont);

    CreateMenu();
    CreateControls();
    ApplyTooltips(*this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmMain::CentreOnScreen() {
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TfrmMain::CreateControls() {
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(ClientArea);

    for (const ControlRow &row : kControls) {
        QWidget *parent = row.Parent == nullptr ? ClientArea : this->*row.Parent;
        std::visit(
            [&](auto member) {
                using W = typename MemberWidget<decltype(member)>::Type;
                W *control = NewControl<W>(parent, row);
                control->setObjectName(Text(row.Name));
                control->setGeometry(row.Place);
                this->*member = control;
            },
            row.Member);
    }

    FillChoices(*this);
    SetUpButtons(*this);
    SetUpTextsAndMarks(*this);

    // The file dialogs with their filters and default extensions.
    OpenDialog1 = {"OpenDialog1", "System Exclusive Files|*.syx|All files|*.*", 1, "", ""};
    SaveDialog1 = {"SaveDialog1", "System Exclusive Files|*.syx|Midi files|*.mid|All files|*.*", 1,
                   "syx", ""};
    OpenDialog2 = {"OpenDialog2", "Wav files|*.wav|All files|*.*", 1, "", ""};
    OpenDialog3 = {"OpenDialog3", "Midi files|*.mid|All files|*.*", 1, "", ""};
    savedialogWAVE = {"savedialogWAVE", "Wave files|*.wav|All files|*.*", 1, "wav", ""};

    // Key preview and the events the widgets do not signal.
    Label8->installEventFilter(this);
    btnShowClipboard->installEventFilter(this);
    edtName->installEventFilter(this);
}

void TfrmMain::CreateMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    for (const MenuRow &row : kMenu) {
        QMenu *parent = row.Parent == nullptr ? nullptr : this->*row.Parent;
        if (const auto *menu = std::get_if<QMenu * TfrmMain::*>(&row.Entry))
            this->*(*menu) = NewMenu(*MainMenu1, parent, row);
        else if (const auto *item = std::get_if<QAction * TfrmMain::*>(&row.Entry))
            this->*(*item) = NewItem(*this, *parent, row);
        else if (std::holds_alternative<Separator>(row.Entry))
            parent->addSeparator();
        else if (std::get<Built>(row.Entry) == Built::RecentFiles)
            CreateRecentMenu();
        else
            CreateWindowScaleItems();
    }

    // The shortcuts work wherever the focus is in the window, also while no menu is open.
    for (QAction *action : findChildren<QAction *>())
        if (!action->shortcut().isEmpty())
            addAction(action);
}

void TfrmMain::CreateWindowScaleItems() {
    const auto add = [this](const QString &name, const QString &caption, int percent) {
        auto *action = new QAction(caption, this);
        action->setObjectName(name);
        action->setCheckable(true);
        action->setData(percent);
        WindowScale1->addAction(action);
        return action;
    };
    WindowScaleItems[0] = add(QStringLiteral("WindowScaleDesktop"),
                              QStringLiteral("Follow the desktop"), ui::kFollowDesktop);
    for (std::size_t i = 0; i < ui::kWindowScales.size(); ++i) {
        const int percent = ui::kWindowScales[i];
        WindowScaleItems[i + 1] = add(QStringLiteral("WindowScale%1").arg(percent),
                                      QStringLiteral("%1 %").arg(percent), percent);
    }
}

} // namespace morvane::qt
