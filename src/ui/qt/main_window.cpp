// The main window: its controls and menu, the start-up, the current wave and the selections,
// the view switch, the keyboard, undo and redo, the title and the small commands.
#include "ui/qt/main_window.h"

#include <array>
#include <exception>
#include <stdexcept>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
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
#include <QSessionManager>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "document/path_text.h"
#include "edit/history.h"
#include "files/user_guide.h"
#include "ui/qt/formula_window.h"
#include "ui/qt/harmonics_window.h"
#include "ui/qt/image_view.h"
#include "ui/qt/tooltips.h"
#include "ui/qt/wave_list.h"
#include "ui/window_scale.h"

namespace morvane::qt {

namespace {

constexpr int kClientWidth = 866;
constexpr int kClientHeight = 573;
constexpr int kGraphImageHeight = 385; // the graph image is one row taller than GraphBitmap
constexpr int kPlaySpeedAtStart = 25;
const QColor kGreenText(0, 128, 0);

const QString kDesignCaption = QStringLiteral("Morvane for Waldorf Blofeld 1.1");
const QString kFirstLogLine = QStringLiteral("Hello Blofeld WT World!");
const QString kCreditLine =
    QStringLiteral("Morvane 1.11 (free), a wavetable editor for the Waldorf Blofeld - click for "
                   "the user guide");
const char *const kAboutText = "Waldorf Blofeld Morvane 1.11 (free)\n\n"
                               "A wavetable editor for the Waldorf Blofeld synthesizer.\n"
                               "Help > User guide explains every control, with pictures.";

// The help dialog's own lines, shown when no help file can be read.
const std::vector<std::string> kBuiltInHelp{"Shortcuts:", " - Motionpath",
                                            "    Create new point = Click",
                                            "    Delete pont = Ctrl + Click or right click"};

QString Text(const char *latin1) {
    return QString::fromLatin1(latin1);
}
QString Number(int n) {
    return QString::number(n);
}

template <typename W>
W *Place(W *widget, const char *name, int left, int top, int width, int height) {
    widget->setObjectName(Text(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QPushButton *Button(QWidget *parent, const char *name, const char *caption, int left, int top,
                    int width, int height) {
    return Place(new QPushButton(Text(caption), parent), name, left, top, width, height);
}

QLabel *Label(QWidget *parent, const char *name, const char *caption, int left, int top, int width,
              int height = 13) {
    return Place(new QLabel(Text(caption), parent), name, left, top, width, height);
}

QCheckBox *CheckBox(QWidget *parent, const char *name, const char *caption, int left, int top,
                    int width, int height = 17) {
    return Place(new QCheckBox(Text(caption), parent), name, left, top, width, height);
}

QComboBox *ComboBox(QWidget *parent, const char *name, const QStringList &items, int selected,
                    int left, int top, int width, int height = 21) {
    auto *combo = Place(new QComboBox(parent), name, left, top, width, height);
    combo->addItems(items);
    combo->setCurrentIndex(selected);
    return combo;
}

QSlider *TrackBar(QWidget *parent, const char *name, int min, int max, int position, int left,
                  int top, int width, int height) {
    auto *slider = Place(new QSlider(Qt::Horizontal, parent), name, left, top, width, height);
    slider->setRange(min, max);
    slider->setValue(position);
    slider->setSingleStep(1);
    slider->setPageStep(2);
    return slider;
}

QGroupBox *GroupBox(QWidget *parent, const char *name, const char *caption, int left, int top,
                    int width, int height) {
    return Place(new QGroupBox(Text(caption), parent), name, left, top, width, height);
}

QStringList NumberItems(int first, int last) {
    QStringList items;
    for (int n = first; n <= last; ++n)
        items.append(Number(n));
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

// The virtual key code of a key event, as the key handling counts keys: Ctrl 17, the digits
// of the main row 48..57, letters 65..90; keypad digits 96..105; others 0.
int VirtualKeyCode(const QKeyEvent &event) {
    const int key = event.key();
    if (key == Qt::Key_Control)
        return ui::kVkControl;
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? ui::kVkNumpad0 : ui::kVk0) + (key - Qt::Key_0);
    if (!keypad && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key; // Qt's letter codes are the upper-case ASCII codes, as virtual keys are
    return 0;
}

} // namespace

// ---- Construction ------------------------------------------------------------------------

TfrmMain::TfrmMain(const MainWindowPorts &ports, QWidget *parent)
    : QMainWindow(parent), AudioWaveOut(ports.waveOut), SettingsPath(ports.settingsPath),
      dialogs_(ports.dialogs), clock_(ports.clock),
      history_(std::make_unique<edit::HistoryStack>()),
      graphBitmap_(render::kGraphSize, render::kGraphSize),
      overviewBitmap_(render::kOverviewWidth, render::kOverviewHeight) {
    // Screens above 1 device pixel per pixel draw the graph from its steps. The overview is made
    // of 2 x 2 dots, which scaling up already shows exactly.
    graphBitmap_.EnableRecording();
    if (dialogs_ == nullptr || clock_ == nullptr)
        throw std::invalid_argument("TfrmMain needs a dialogs port and a clock");
    AuditionStreamOut = ports.streamOut;
    MidiInFactory = ports.midiIn;
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
    ConnectHandlers();
    frmHarmonics = new TfrmHarmonics(*this);
    setAcceptDrops(true); // files dropped anywhere on the window, see dropEvent
    // The name field would take a dropped file's path as text.
    edtName->setAcceptDrops(false);
    frmFormula = new TfrmFormula(*this);

    // Centred on the desktop.
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    FormCreate(this);
    // The settings file is known once the start-up has read the audio settings.
    const int scale = ui::LoadWindowScale(SettingsPath);
    for (QAction *scaleItem : WindowScaleItems)
        scaleItem->setChecked(scaleItem->data().toInt() == scale);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::CreateControls() {
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(ClientArea);
    QWidget *c = ClientArea;

    GroupBox2 = GroupBox(c, "GroupBox2", "New/Load wavetable", 4, 2, 128, 98);
    btnNewWavetable = Button(GroupBox2, "btnNewWavetable", "New wavetable", 6, 16, 116, 25);
    btnLoadwavetable = Button(GroupBox2, "btnLoadwavetable", "Load wavetable", 6, 42, 116, 25);
    btnImportWTfromMidi =
        Button(GroupBox2, "btnImportWTfromMidi", "Import WT from midi", 6, 68, 116, 25);

    grpWavetable = GroupBox(c, "grpWavetable", "Save wavetable(syx,mid)", 4, 100, 128, 178);
    Label7 = Label(grpWavetable, "Label7", "Wavetable Name", 8, 16, 113);
    edtName = Place(new QLineEdit(grpWavetable), "edtName", 8, 30, 113, 21);
    edtName->setMaxLength(static_cast<int>(kNameLength));
    Label6 = Label(grpWavetable, "Label6", "WT slot", 8, 54, 49);
    cmbWavetableSlot = ComboBox(grpWavetable, "cmbWavetableSlot",
                                NumberItems(kFirstSlot, kLastSlot), 0, 8, 68, 53);
    Label18 = Label(grpWavetable, "Label18", "Device ID", 66, 54, 55);
    cmbDeviceID =
        ComboBox(grpWavetable, "cmbDeviceID", NumberItems(0, kDeviceIdCount - 1), 0, 66, 68, 55);
    btnSaveWavetable = Button(grpWavetable, "btnSaveWavetable", "SaveSelcWT(syx)", 8, 94, 113, 25);
    btnExportWavetable =
        Button(grpWavetable, "btnExportWavetable", "Export WT (midi)", 8, 120, 113, 25);
    btnExportWTasWav = Button(grpWavetable, "btnExportWTasWav", "ExpWT (wav,txt)", 8, 146, 113, 25);

    GroupBox3 = GroupBox(c, "GroupBox3", "Import wave to WT", 4, 279, 128, 96);
    Label10 = Label(GroupBox3, "Label10", "From:", 8, 20, 33);
    CmbWTFrom = ComboBox(GroupBox3, "CmbWTFrom", NumberItems(1, kWaveCount), 0, 44, 16, 77);
    Label11 = Label(GroupBox3, "Label11", "To:", 8, 44, 33);
    CmbWTTo =
        ComboBox(GroupBox3, "CmbWTTo", NumberItems(1, kWaveCount), kWaveCount - 1, 44, 40, 77);
    btnLoadWave = Button(GroupBox3, "btnLoadWave", "Import wave", 8, 65, 113, 25);

    grbHistory = GroupBox(c, "grbHistory", "History 1 / 1", 4, 376, 128, 49);
    BitBtn1 = Button(grbHistory, "BitBtn1", "Undo", 8, 17, 54, 25);
    BitBtn2 = Button(grbHistory, "BitBtn2", "Redo", 67, 17, 54, 25);

    Label17 = Label(c, "Label17", "Wavetable graph", 4, 426, 128);
    imgColoredWaveTables =
        Place(new TImageView(render::kOverviewWidth, render::kOverviewHeight, c),
              "imgColoredWaveTables", 4, 440, render::kOverviewWidth, render::kOverviewHeight);
    Memo1 = Place(new QPlainTextEdit(c), "Memo1", 37, 528, 164, 33);
    Memo1->setPlainText(kFirstLogLine);
    // The hidden log keeps its last lines only, so that repeated refusals cannot fill memory.
    Memo1->setMaximumBlockCount(kLogLinesKept);
    Memo1->setVisible(false);

    Label9 = Label(c, "Label9", "Wavetable", 141, 1, 75);
    lbWaveTableIndex = Place(new TWaveList(c), "lbWaveTableIndex", 137, 16, 79, 544);

    btnCopy = Button(c, "btnCopy", "Copy wave", 221, 3, 86, 25);
    btnPaste = Button(c, "btnPaste", "Paste wave", 307, 3, 86, 25);
    btnPaste->setEnabled(false);
    // Eight buttons spread evenly with their left edges from 393 to 580.
    const std::array<std::pair<const char *, const char *>, 8> pasteButtons{
        {{"btnPasteAdd", "P+"},
         {"btnPasteSub", "P-"},
         {"btnPasteMulti", "P*"},
         {"btnPasteOR", "Por"},
         {"btnPasteAND", "Pand"},
         {"btnPasteXOR", "P xor"},
         {"btnPastemin", "Pmin"},
         {"btnPastemax", "Pmax"}}};
    std::array<QPushButton **, 8> pasteMembers{&btnPasteAdd, &btnPasteSub, &btnPasteMulti,
                                               &btnPasteOR,  &btnPasteAND, &btnPasteXOR,
                                               &btnPastemin, &btnPastemax};
    for (std::size_t i = 0; i < pasteButtons.size(); ++i) {
        const int left = 393 + (static_cast<int>(i) * (580 - 393) + 3) / 7;
        *pasteMembers[i] =
            Button(c, pasteButtons[i].first, pasteButtons[i].second, left, 3, 26, 25);
        (*pasteMembers[i])->setEnabled(false);
        // Five characters in 26 pixels: a smaller face, and no padding around it.
        QFont small = (*pasteMembers[i])->font();
        small.setPixelSize(9);
        (*pasteMembers[i])->setFont(small);
        (*pasteMembers[i])->setStyleSheet(QStringLiteral("padding: 0px;"));
    }

    SpeedButton1 = Place(new QToolButton(c), "SpeedButton1", 221, 36, 87, 22);
    SpeedButton1->setText(QStringLiteral("View wave"));
    SpeedButton2 = Place(new QToolButton(c), "SpeedButton2", 308, 36, 87, 22);
    SpeedButton2->setText(QStringLiteral("View motionpath"));
    auto *viewGroup = new QButtonGroup(this);
    viewGroup->setObjectName(QStringLiteral("ViewButtons"));
    for (QToolButton *speed : {SpeedButton1, SpeedButton2}) {
        speed->setCheckable(true);
        speed->setAutoRaise(false);
        SetTextColour(speed, kGreenText);
        viewGroup->addButton(speed);
    }
    viewGroup->setExclusive(true);
    SpeedButton1->setChecked(true);

    btnShowClipboard = Button(c, "btnShowClipboard", "Show Clipboard", 398, 28, 90, 25);
    btnShowClipboard->setEnabled(false);
    btnShiftLeft = Button(c, "btnShiftLeft", "", 508, 30, 25, 25);
    btnShiftRight = Button(c, "btnShiftRight", "", 532, 30, 25, 25);
    btnShiftUp = Button(c, "btnShiftUp", "", 556, 30, 25, 25);
    btnShiftDown = Button(c, "btnShiftDown", "", 580, 30, 25, 25);
    btnShiftLeft->setIcon(ArrowIcon(180));
    btnShiftRight->setIcon(ArrowIcon(0));
    btnShiftUp->setIcon(ArrowIcon(270));
    btnShiftDown->setIcon(ArrowIcon(90));

    imgWaveTables = Place(new TImageView(render::kGraphSize, kGraphImageHeight, c), "imgWaveTables",
                          221, 58, render::kGraphSize, kGraphImageHeight);
    imgWaveTables->setCursor(Qt::CrossCursor);

    lblFrom = Label(c, "lblFrom", "Select from 1", 221, 449, 70);
    ScrollBar1 = Place(new QScrollBar(Qt::Horizontal, c), "ScrollBar1", 293, 452, 313, 11);
    ScrollBar1->setRange(0, kSampleCount - 1);
    ScrollBar1->setValue(0);
    lblto = Label(c, "lblto", "Select to 128", 221, 465, 70);
    ScrollBar2 = Place(new QScrollBar(Qt::Horizontal, c), "ScrollBar2", 293, 468, 313, 11);
    ScrollBar2->setRange(0, kSampleCount - 1);
    ScrollBar2->setValue(kSampleCount - 1);

    GroupBox4 = GroupBox(c, "GroupBox4", "Play wavetable", 221, 483, 385, 49);
    btnPlay = Button(GroupBox4, "btnPlay", "Play", 8, 17, 75, 25);
    chbPlayAll = CheckBox(GroupBox4, "chbPlayAll", "Sweep wavetable", 90, 21, 112);
    Label13 = Label(GroupBox4, "Label13", "Play speed", 204, 23, 62);
    // Its position is set during start-up; starting below it makes that setting a change.
    trbPlaySpeed = TrackBar(GroupBox4, "trbPlaySpeed", 1, 50, 1, 268, 15, 111, 28);
    TimerPlay = new QTimer(this);
    TimerPlay->setObjectName(QStringLiteral("TimerPlay"));

    lblFilename = Label(c, "lblFilename", "untitled", 221, 532, 385, 24);
    lblFilename->setWordWrap(true);
    lblFilename->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label8 = Label(c, "Label8", "", 137, 559, 472, 15);
    Label8->setText(kCreditLine);
    QFont creditFont = Label8->font();
    creditFont.setPixelSize(8);
    Label8->setFont(creditFont);
    Label8->setCursor(Qt::PointingHandCursor);

    grpAddwave = GroupBox(c, "grpAddwave", "Modify wave", 613, 2, 249, 233);
    Label1 = Label(grpAddwave, "Label1", "Waveform", 8, 16, 113);
    cmbWave = ComboBox(grpAddwave, "cmbWave",
                       {QStringLiteral("Sine"), QStringLiteral("Triangle"),
                        QStringLiteral("Square"), QStringLiteral("Saw"), QStringLiteral("Random")},
                       0, 8, 30, 113);
    Label2 = Label(grpAddwave, "Label2", "Harmonics", 128, 16, 113);
    QStringList harmonics;
    for (int n = 1; n <= 50; ++n)
        harmonics.append(QStringLiteral("1/") + Number(n));
    cmbAmplitude = ComboBox(grpAddwave, "cmbAmplitude", harmonics, 1, 128, 30, 113);
    chbAddtoexisting = CheckBox(grpAddwave, "chbAddtoexisting", "Add to existing wave", 8, 56, 126);
    chbAddtoexisting->setChecked(true);
    ckbAllowOverflow = CheckBox(grpAddwave, "ckbAllowOverflow", "Allow overflow", 138, 56, 103);
    lblFade = Label(grpAddwave, "lblFade", "Fade: 0", 8, 82, 50);
    trbFade = TrackBar(grpAddwave, "trbFade", -10, 10, 0, 60, 76, 181, 24);
    btnAdd = Button(grpAddwave, "btnAdd", "Add wave", 8, 104, 57, 25);
    btnDec = Button(grpAddwave, "btnDec", "Sub wave", 66, 104, 57, 25);
    btnMultiple = Button(grpAddwave, "btnMultiple", "Multi wave", 124, 104, 57, 25);
    btnOR = Button(grpAddwave, "btnOR", "OR wave", 182, 104, 57, 25);
    btnAND = Button(grpAddwave, "btnAND", "AND wave", 8, 130, 57, 25);
    btnXOR = Button(grpAddwave, "btnXOR", "XOR wave", 66, 130, 57, 25);
    btnMin = Button(grpAddwave, "btnMin", "min wave", 124, 130, 57, 25);
    btnMAX = Button(grpAddwave, "btnMAX", "MAX wave", 182, 130, 57, 25);
    btnSetVolumePlus = Button(grpAddwave, "btnSetVolumePlus", "Amplify +", 8, 164, 75, 25);
    btnSetVolumeMinus = Button(grpAddwave, "btnSetVolumeMinus", "Amplify -", 88, 164, 75, 25);
    Label3 = Label(grpAddwave, "Label3", "amplify by", 8, 200, 60);
    cmbNormalize = ComboBox(
        grpAddwave, "cmbNormalize",
        {QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("10")}, 2,
        70, 196, 49);
    Label12 = Label(grpAddwave, "Label12", "%", 122, 200, 14);
    btnFourier = Button(grpAddwave, "btnFourier", "Fourier", 168, 196, 73, 25);
    btnFourier->setVisible(false);

    GroupBox6 = GroupBox(c, "GroupBox6", "Wavetable selection", 613, 236, 249, 77);
    Label4 = Label(GroupBox6, "Label4", "Select wave from: 1", 8, 18, 112);
    trbMorphWaves1 = TrackBar(GroupBox6, "trbMorphWaves1", 1, kWaveCount, 1, 122, 12, 119, 20);
    Label5 = Label(GroupBox6, "Label5", "Select wave to: 64", 8, 38, 112);
    trbMorphWaves2 =
        TrackBar(GroupBox6, "trbMorphWaves2", 1, kWaveCount, kWaveCount, 122, 32, 119, 20);
    for (QSlider *slider : {trbMorphWaves1, trbMorphWaves2}) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
    }
    chbRandomAllSlice = CheckBox(GroupBox6, "chbRandomAllSlice",
                                 "make modification for waveform 1 to 64", 8, 55, 233);
    SetTextColour(chbRandomAllSlice, kGreenText);

    grpMorph = GroupBox(c, "grpMorph", "Morph waves", 613, 314, 249, 149);
    btnMorph = Button(grpMorph, "btnMorph", "Morph waves", 8, 16, 113, 24);
    btnRandomOrder = Button(grpMorph, "btnRandomOrder", "WT RND order", 128, 16, 113, 24);
    btnInvert = Button(grpMorph, "btnInvert", "Invert wave", 8, 42, 113, 24);
    btnReverse = Button(grpMorph, "btnReverse", "Reverse wave", 128, 42, 113, 24);
    btnSmooth = Button(grpMorph, "btnSmooth", "Smooth wave", 8, 68, 113, 24);
    btnStep = Button(grpMorph, "btnStep", "Step wave", 128, 68, 60, 24);
    cmbStepWave = ComboBox(
        grpMorph, "cmbStepWave",
        {QStringLiteral("8"), QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("64")}, 1,
        192, 70, 49);
    btnRandom4 = Button(grpMorph, "btnRandom4", "RND slice order", 8, 94, 113, 24);
    cmbSlices = ComboBox(grpMorph, "cmbSlices",
                         {QStringLiteral("4 slice"), QStringLiteral("8 slice"),
                          QStringLiteral("16 slice"), QStringLiteral("32 slice")},
                         0, 128, 96, 58);
    chbRandomSAme = CheckBox(grpMorph, "chbRandomSAme", "Same", 190, 98, 53);
    chbRandomSAme->setChecked(true);
    chbRandomSAme->setToolTip(QStringLiteral("Same for all waves"));
    BitBtn3 = Button(grpMorph, "BitBtn3", "Sort", 8, 120, 113, 24);

    GroupBox5 = GroupBox(c, "GroupBox5", "Wavetable Motionpath", 613, 464, 249, 105);
    rdbLinear =
        Place(new QRadioButton(QStringLiteral("Linear"), GroupBox5), "rdbLinear", 8, 16, 60, 17);
    rdbSpline =
        Place(new QRadioButton(QStringLiteral("BSpline"), GroupBox5), "rdbSpline", 72, 16, 68, 17);
    rdbLinear->setChecked(true);
    chbFlat = CheckBox(GroupBox5, "chbFlat", "Continuous", 150, 16, 91);
    chbFlat->setToolTip(QStringLiteral("Last & first point connected"));
    Label14 = Label(GroupBox5, "Label14", "Algorithm", 8, 42, 52);
    cmbMotionPathType =
        ComboBox(GroupBox5, "cmbMotionPathType",
                 {QStringLiteral("Sharp"), QStringLiteral("Smooth")}, 0, 62, 38, 80);
    Label16 = Label(GroupBox5, "Label16", "FX width: 1", 150, 42, 91);
    trbSensitivity = TrackBar(GroupBox5, "trbSensitivity", 1, 128, 1, 8, 60, 233, 18);
    btnNewWTMotion = Button(GroupBox5, "btnNewWTMotion", "New WT motion", 8, 79, 113, 22);
    btnMakeWTMotion = Button(GroupBox5, "btnMakeWTMotion", "Make motion!", 128, 79, 113, 22);

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

    const auto menu = [](QWidget *parent, const char *name, const char *caption) {
        auto *m = new QMenu(Text(caption), parent);
        m->setObjectName(Text(name));
        m->menuAction()->setObjectName(Text(name));
        if (auto *bar = qobject_cast<QMenuBar *>(parent))
            bar->addMenu(m);
        else
            static_cast<QMenu *>(parent)->addMenu(m);
        return m;
    };
    const auto item = [this](QMenu *m, const char *name, const char *caption,
                             const QKeySequence &shortcut = QKeySequence()) {
        auto *action = new QAction(Text(caption), this);
        action->setObjectName(Text(name));
        action->setShortcut(shortcut);
        m->addAction(action);
        return action;
    };

    File1 = menu(MainMenu1, "File1", "&File");
    Newwavetable1 = item(File1, "Newwavetable1", "&New wavetable");
    Loadwavetable1 = item(File1, "Loadwavetable1", "&Load wavetable");
    Importwavetablefrommidi1 =
        item(File1, "Importwavetablefrommidi1", "Import wavetable from midi");
    CreateRecentMenu();
    File1->addSeparator();
    Savewavetable1 = item(File1, "Savewavetable1", "Save wavetable (System Exclusive)");
    SavewavetableMidi1 = item(File1, "SavewavetableMidi1", "Save wavetable (Midi)");
    ExportwavetableWave1 = item(File1, "ExportwavetableWave1", "Export wavetable (Wave)");
    File1->addSeparator();
    Importwave1 = item(File1, "Importwave1", "Import wave to wavetable");
    File1->addSeparator();
    AudioSetup1 = item(File1, "AudioSetup1", "Audio Setup ...", QKeySequence(Qt::CTRL | Qt::Key_Q));
    File1->addSeparator();
    Exit1 = item(File1, "Exit1", "E&xit");

    Edit1 = menu(MainMenu1, "Edit1", "&Edit");
    Undo1 = item(Edit1, "Undo1", "Undo wavetable", QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1 = item(Edit1, "Redo1", "Redo wavetable", QKeySequence(Qt::CTRL | Qt::Key_Y));
    Edit1->addSeparator();
    Copy1 = item(Edit1, "Copy1", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1 = item(Edit1, "Paste1", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    Pastespecial1 = menu(Edit1, "Pastespecial1", "Paste special");
    Pastesum =
        item(Pastespecial1, "Pastesum", "Paste summation", QKeySequence(Qt::CTRL | Qt::Key_F1));
    Pastesub =
        item(Pastespecial1, "Pastesub", "Paste subtraction", QKeySequence(Qt::CTRL | Qt::Key_F2));
    Pastemul = item(Pastespecial1, "Pastemul", "Paste multiplication",
                    QKeySequence(Qt::CTRL | Qt::Key_F3));
    PasteOR = item(Pastespecial1, "PasteOR", "Paste OR", QKeySequence(Qt::CTRL | Qt::Key_F4));
    PasteAND = item(Pastespecial1, "PasteAND", "Paste AND", QKeySequence(Qt::CTRL | Qt::Key_F5));
    PasteXOR = item(Pastespecial1, "PasteXOR", "Paste XOR", QKeySequence(Qt::CTRL | Qt::Key_F6));
    Pastemin1 = item(Pastespecial1, "Pastemin1", "Paste min", QKeySequence(Qt::CTRL | Qt::Key_F7));
    PasteMAX1 = item(Pastespecial1, "PasteMAX1", "Paste MAX", QKeySequence(Qt::CTRL | Qt::Key_F8));
    Edit1->addSeparator();
    Moveleft1 = item(Edit1, "Moveleft1", "Move left", QKeySequence(Qt::Key_F5));
    MOveright1 = item(Edit1, "MOveright1", "Move right", QKeySequence(Qt::Key_F6));
    Moveup1 = item(Edit1, "Moveup1", "Move up", QKeySequence(Qt::Key_F7));
    Movedown1 = item(Edit1, "Movedown1", "Move down", QKeySequence(Qt::Key_F8));
    Edit1->addSeparator();
    Viewwave1 = item(Edit1, "Viewwave1", "View wave", QKeySequence(Qt::Key_F1));
    Viewwave1->setCheckable(true);
    Viewwave1->setChecked(true);
    Viewmotionpath1 = item(Edit1, "Viewmotionpath1", "View motionpath", QKeySequence(Qt::Key_F2));
    Viewmotionpath1->setCheckable(true);
    Edit1->addSeparator();
    Makemodificationforselectedwaveforms1 =
        item(Edit1, "Makemodificationforselectedwaveforms1",
             "Make modification for selected waveforms", QKeySequence(Qt::Key_F11));
    Makemodificationforselectedwaveforms1->setCheckable(true);

    Wave1 = menu(MainMenu1, "Wave1", "Wave");
    Play1 = item(Wave1, "Play1", "Play wave", QKeySequence(Qt::Key_F4));
    Sweepwavetable = item(Wave1, "Sweepwavetable", "Sweep wavetable", QKeySequence(Qt::Key_F3));
    Sweepwavetable->setCheckable(true);
    Wave1->addSeparator();
    Addwave1 = item(Wave1, "Addwave1", "Add wave");
    Subwave1 = item(Wave1, "Subwave1", "Sub wave");
    Multiwave1 = item(Wave1, "Multiwave1", "Multi wave");
    ORwave1 = item(Wave1, "ORwave1", "OR wave");
    ANDwave1 = item(Wave1, "ANDwave1", "AND wave");
    XORwave1 = item(Wave1, "XORwave1", "XOR wave");
    minwave1 = item(Wave1, "minwave1", "min wave");
    MAXwave1 = item(Wave1, "MAXwave1", "MAX wave");
    Wave1->addSeparator();
    Amplify1 = item(Wave1, "Amplify1", "Amplify +", QKeySequence(Qt::Key_F10));
    Amplify2 = item(Wave1, "Amplify2", "Amplify -", QKeySequence(Qt::Key_F9));
    Wave1->addSeparator();
    Harmonics1 = item(Wave1, "Harmonics1", "Harmonics ...", QKeySequence(Qt::Key_F12));
    Waterfall1 = item(Wave1, "Waterfall1", "Waterfall ...");
    Formula1 = item(Wave1, "Formula1", "Formula ...", QKeySequence(Qt::CTRL | Qt::Key_F));

    Tools1 = menu(MainMenu1, "Tools1", "Tools");
    Morph1 = item(Tools1, "Morph1", "Morph wavetable");
    Wavetablerandomoerder1 = item(Tools1, "Wavetablerandomoerder1", "Wavetable random order");
    Tools1->addSeparator();
    Invert1 = item(Tools1, "Invert1", "Invert wave");
    Reverse1 = item(Tools1, "Reverse1", "Reverse wave");
    Smoothwave1 = item(Tools1, "Smoothwave1", "Smooth wave");
    // Beyond the original menus: the audition, and the size of the whole window for large
    // screens.
    Tools1->addSeparator();
    Audition1 = item(Tools1, "Audition1", "Audition ...");
    WindowScale1 = menu(Tools1, "WindowScale1", "Window scale");
    WindowScaleItems[0] = item(WindowScale1, "WindowScaleDesktop", "Follow the desktop");
    WindowScaleItems[0]->setData(ui::kFollowDesktop);
    for (std::size_t i = 0; i < ui::kWindowScales.size(); ++i) {
        const int percent = ui::kWindowScales[i];
        const std::string name = "WindowScale" + std::to_string(percent);
        const std::string caption = std::to_string(percent) + " %";
        WindowScaleItems[i + 1] = item(WindowScale1, name.c_str(), caption.c_str());
        WindowScaleItems[i + 1]->setData(percent);
    }
    for (QAction *scaleItem : WindowScaleItems)
        scaleItem->setCheckable(true);

    // Beyond the five menus of the original window: talking to the instrument itself.
    Exchange1 = menu(MainMenu1, "Exchange1", "E&xchange");
    MidiOutput1 = item(Exchange1, "MidiOutput1", "MIDI output ...");
    SendToSynth1 = item(Exchange1, "SendToSynth1", "Send wavetable to synth",
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    Exchange1->addSeparator();
    ImportAudio1 = item(Exchange1, "ImportAudio1", "Import audio or wavetable ...");
    ExportWavetable2048 =
        item(Exchange1, "ExportWavetable2048", "Export for other synths (WAV 2048) ...");

    Help1 = menu(MainMenu1, "Help1", "Help");
    MorvaneHelp1 = item(Help1, "MorvaneHelp1", "Morvane Help");
    UserGuide1 = item(Help1, "UserGuide1", "User guide");
    Youtubedemovideo1 = item(Help1, "Youtubedemovideo1", "Youtube demovideo");
    Help1->addSeparator();
    About1 = item(Help1, "About1", "About");

    // The shortcuts work wherever the focus is in the window, also while no menu is open.
    for (QAction *action : findChildren<QAction *>())
        if (!action->shortcut().isEmpty())
            addAction(action);
}

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
    // Buttons and their menu items.
    BindClick(btnNewWavetable, &TfrmMain::btnNewWavetableClick);
    BindAction(Newwavetable1, &TfrmMain::btnNewWavetableClick);
    BindClick(btnLoadwavetable, &TfrmMain::btnLoadwavetableClick);
    BindAction(Loadwavetable1, &TfrmMain::btnLoadwavetableClick);
    BindClick(btnImportWTfromMidi, &TfrmMain::btnImportWTfromMidiClick);
    BindAction(Importwavetablefrommidi1, &TfrmMain::btnImportWTfromMidiClick);
    BindClick(btnSaveWavetable, &TfrmMain::btnSaveWavetableClick);
    BindAction(Savewavetable1, &TfrmMain::btnSaveWavetableClick);
    BindClick(btnExportWavetable, &TfrmMain::btnExportWavetableClick);
    BindAction(SavewavetableMidi1, &TfrmMain::btnExportWavetableClick);
    BindClick(btnExportWTasWav, &TfrmMain::btnExportWTasWavClick);
    BindAction(ExportwavetableWave1, &TfrmMain::btnExportWTasWavClick);
    BindClick(btnLoadWave, &TfrmMain::btnLoadWaveClick);
    BindAction(Importwave1, &TfrmMain::btnLoadWaveClick);
    BindAction(AudioSetup1, &TfrmMain::AudioSetup1Click);
    BindAction(Exit1, &TfrmMain::Exit1Click);

    BindClick(BitBtn1, &TfrmMain::Undo1Click);
    BindAction(Undo1, &TfrmMain::Undo1Click);
    BindClick(BitBtn2, &TfrmMain::Redo1Click);
    BindAction(Redo1, &TfrmMain::Redo1Click);
    BindClick(btnCopy, &TfrmMain::btnCopyClick);
    BindAction(Copy1, &TfrmMain::btnCopyClick);
    BindClick(btnPaste, &TfrmMain::btnPasteClick);
    BindAction(Paste1, &TfrmMain::btnPasteClick);
    for (QPushButton *b : {btnPasteAdd, btnPasteSub, btnPasteMulti, btnPasteOR, btnPasteAND,
                           btnPasteXOR, btnPastemin, btnPastemax})
        BindClick(b, &TfrmMain::PastesumClick);
    for (QAction *a :
         {Pastesum, Pastesub, Pastemul, PasteOR, PasteAND, PasteXOR, Pastemin1, PasteMAX1})
        BindAction(a, &TfrmMain::PastesumClick);
    BindClick(btnShiftLeft, &TfrmMain::btnShiftLeftClick);
    BindAction(Moveleft1, &TfrmMain::btnShiftLeftClick);
    BindClick(btnShiftRight, &TfrmMain::btnShiftRightClick);
    BindAction(MOveright1, &TfrmMain::btnShiftRightClick);
    BindClick(btnShiftUp, &TfrmMain::btnShiftUpClick);
    BindAction(Moveup1, &TfrmMain::btnShiftUpClick);
    BindClick(btnShiftDown, &TfrmMain::btnShiftDownClick);
    BindAction(Movedown1, &TfrmMain::btnShiftDownClick);
    BindClick(SpeedButton1, &TfrmMain::SpeedButton1Click);
    BindAction(Viewwave1, &TfrmMain::SpeedButton1Click);
    BindClick(SpeedButton2, &TfrmMain::SpeedButton2Click);
    BindAction(Viewmotionpath1, &TfrmMain::SpeedButton2Click);
    BindAction(Makemodificationforselectedwaveforms1,
               &TfrmMain::Makemodificationforselectedwaveforms1Click);

    BindClick(btnPlay, &TfrmMain::btnPlayClick);
    BindAction(Play1, &TfrmMain::btnPlayClick);
    BindAction(Sweepwavetable, &TfrmMain::chbPlayAllClick);
    for (QPushButton *b : {btnAdd, btnDec, btnMultiple, btnOR, btnAND, btnXOR, btnMin, btnMAX})
        BindClick(b, &TfrmMain::btnAddClick);
    for (QAction *a :
         {Addwave1, Subwave1, Multiwave1, ORwave1, ANDwave1, XORwave1, minwave1, MAXwave1})
        BindAction(a, &TfrmMain::btnAddClick);
    BindClick(btnSetVolumePlus, &TfrmMain::btnSetVolumePlusClick);
    BindAction(Amplify1, &TfrmMain::btnSetVolumePlusClick);
    BindClick(btnSetVolumeMinus, &TfrmMain::btnSetVolumePlusClick);
    BindAction(Amplify2, &TfrmMain::btnSetVolumePlusClick);
    BindAction(Harmonics1, &TfrmMain::Harmonics1Click);
    BindAction(Formula1, &TfrmMain::Formula1Click);

    BindClick(btnMorph, &TfrmMain::btnMorphClick);
    BindAction(Morph1, &TfrmMain::btnMorphClick);
    BindClick(btnRandomOrder, &TfrmMain::btnRandomOrderClick);
    BindAction(Wavetablerandomoerder1, &TfrmMain::btnRandomOrderClick);
    BindClick(btnInvert, &TfrmMain::btnInvertClick);
    BindAction(Invert1, &TfrmMain::btnInvertClick);
    BindClick(btnReverse, &TfrmMain::btnReverseClick);
    BindAction(Reverse1, &TfrmMain::btnReverseClick);
    BindClick(btnSmooth, &TfrmMain::btnSmoothClick);
    BindAction(Smoothwave1, &TfrmMain::btnSmoothClick);
    BindClick(btnStep, &TfrmMain::btnStepClick);
    BindClick(btnRandom4, &TfrmMain::btnRandom4Click);
    BindClick(BitBtn3, &TfrmMain::BitBtn3Click);
    BindClick(btnNewWTMotion, &TfrmMain::btnNewWTMotionClick);
    BindClick(btnMakeWTMotion, &TfrmMain::btnMakeWTMotionClick);

    BindAction(MidiOutput1, &TfrmMain::MidiOutput1Click);
    BindAction(SendToSynth1, &TfrmMain::SendToSynth1Click);
    BindAction(ImportAudio1, &TfrmMain::ImportAudio1Click);
    BindAction(ExportWavetable2048, &TfrmMain::ExportWavetable2048Click);
    BindAction(Waterfall1, &TfrmMain::Waterfall1Click);
    BindAction(Audition1, &TfrmMain::Audition1Click);

    BindAction(MorvaneHelp1, &TfrmMain::MorvaneHelp1Click);
    BindAction(UserGuide1, &TfrmMain::UserGuide1Click);
    for (QAction *scaleItem : WindowScaleItems)
        BindAction(scaleItem, &TfrmMain::WindowScaleClick);
    BindAction(Youtubedemovideo1, &TfrmMain::Youtubedemovideo1Click);
    BindAction(About1, &TfrmMain::About1Click);

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

    // Track bars and scroll bars: a position set by the program runs the change handler.
    const auto bindChange = [this](QAbstractSlider *slider, Handler handler) {
        connect(slider, &QAbstractSlider::valueChanged, this,
                [this, slider, handler] { Guarded([&] { (this->*handler)(slider); }); });
    };
    bindChange(trbMorphWaves1, &TfrmMain::trbMorphWaves1Change);
    bindChange(trbMorphWaves2, &TfrmMain::trbMorphWaves2Change);
    bindChange(ScrollBar1, &TfrmMain::ScrollBar2Change);
    bindChange(ScrollBar2, &TfrmMain::ScrollBar2Change);
    bindChange(trbFade, &TfrmMain::trbFadeChange);
    bindChange(trbSensitivity, &TfrmMain::trbSensitivityChange);
    bindChange(trbPlaySpeed, &TfrmMain::trbPlaySpeedChange);

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

// ---- Events ------------------------------------------------------------------------------

bool TfrmMain::eventFilter(QObject *watched, QEvent *event) {
    const auto type = event->type();
    if (watched == Label8 && type == QEvent::MouseButtonRelease) {
        Guarded([this] { Label8Click(Label8); });
    } else if (watched == btnShowClipboard &&
               (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint p = mouse->position().toPoint();
        if (type == QEvent::MouseButtonPress)
            Guarded([&] {
                btnShowClipboardMouseDown(btnShowClipboard, mouse->button(), mouse->modifiers(),
                                          p.x(), p.y());
            });
        else
            Guarded([&] {
                btnShowClipboardMouseUp(btnShowClipboard, mouse->button(), mouse->modifiers(),
                                        p.x(), p.y());
            });
    } else if (watched == edtName && type == QEvent::ShortcutOverride) {
        // The name field would take Ctrl+C, Ctrl+V, Ctrl+Z and Ctrl+Y for itself; the menu's
        // shortcuts come first, so the override is refused for them.
        auto *key = static_cast<QKeyEvent *>(event);
        if (IsMenuShortcut(*key)) {
            key->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmMain::IsMenuShortcut(const QKeyEvent &event) const {
    const QKeySequence pressed(event.keyCombination());
    for (const QAction *action : findChildren<QAction *>())
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    return false;
}

void TfrmMain::PreviewKeyEvent(QKeyEvent &event) {
    // X11 repeats a held key as release/press pairs; only the press repeats, as the window's
    // key handling expects, so repeated releases are not passed on.
    if (event.type() == QEvent::KeyRelease && event.isAutoRepeat())
        return;
    int key = VirtualKeyCode(event);
    const Qt::KeyboardModifiers shift = event.modifiers();
    if (event.type() == QEvent::KeyPress)
        Guarded([&] { FormKeyDown(this, key, shift); });
    else
        Guarded([&] { FormKeyUp(this, key, shift); });
}

void TfrmMain::keyPressEvent(QKeyEvent *event) {
    // btnPlay is the default button: Enter runs it unless a button has the focus, which then
    // is the one pressed.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()))
            focused->click();
        else if (btnPlay->isEnabled())
            btnPlay->click();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent *event) {
    bool canClose = true;
    Guarded([&] { FormCloseQuery(this, canClose); });
    if (canClose)
        event->accept();
    else
        event->ignore();
}

// ---- Shared helpers ----------------------------------------------------------------------

std::string TfrmMain::ToSingleByte(const QString &text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text)
        bytes += c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?';
    return bytes;
}

QString TfrmMain::FromSingleByte(const std::string &text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

int TfrmMain::CurrentWave() const {
    const int row = lbWaveTableIndex->currentRow();
    return (row < 0 ? 0 : row) + 1;
}

void TfrmMain::SelectWave(int wave) {
    if (wave >= 1 && wave <= lbWaveTableIndex->count())
        lbWaveTableIndex->setCurrentRow(wave - 1);
}

WaveRange TfrmMain::CheckedWaveSelection() const {
    return ui::CheckedWaveSelection(trbMorphWaves1->value(), trbMorphWaves2->value(),
                                    chbRandomAllSlice->isChecked(), CurrentWave());
}

WaveRange TfrmMain::RangeWaveSelection() const {
    return {trbMorphWaves1->value(), trbMorphWaves2->value()};
}

void TfrmMain::PushHistory() {
    history_->HistoryPush(table_);
    grbHistory->setTitle(QString::fromStdString(history_->Caption()));
}

void TfrmMain::LogMessage(const QString &text) {
    Memo1->appendPlainText(text);
}

void TfrmMain::LogMessage(const std::string &text) {
    LogMessage(FromSingleByte(text));
}

QStringList TfrmMain::Memo1Lines() const {
    return Memo1->toPlainText().split(QLatin1Char('\n'));
}

void TfrmMain::DrawWavetable(int wave) {
    try {
        render::DrawGraphPicture(graphBitmap_, table_, wave, sampleRange_, viewMode_,
                                 path_.Points(), rdbSpline->isChecked());
        const QString name = FromSingleByte(TrimmedNameOfFirstWave(table_));
        if (edtName->text() != name)
            edtName->setText(name); // runs edtNameChange
        FillPlayBuffers();
    } catch (const std::exception &e) {
        dialogs_->Message(std::string("DrawWavetable ") + e.what());
    }
    imgWaveTables->CopyFrom(graphBitmap_);
    emit GraphRedrawn(wave);
}

void TfrmMain::DrawOverview() {
    morvane::render::DrawOverview(overviewBitmap_, table_);
    imgColoredWaveTables->CopyFrom(overviewBitmap_);
}

void TfrmMain::UpdateTitle(const QString &path) {
    const std::string utf8 = path.toStdString();
    lblFilename->setText(QString::fromStdString(FileLabelForPath(utf8)));
    setWindowTitle(QString::fromStdString(TitleForPath(utf8)));
}

void TfrmMain::CloseWithoutQuestion() {
    closingWithoutQuestion_ = true;
    close();
    closingWithoutQuestion_ = false;
}

bool TfrmMain::AskSaveChanges() {
    if (!modified_)
        return true;
    switch (dialogs_->Confirm("Do you want to save wavetables ?", true)) {
    case ui::Answer::Yes:
        btnSaveWavetableClick(nullptr);
        return !modified_; // still set: the save was left or refused
    case ui::Answer::No:
        return true;
    case ui::Answer::Cancel:
        break;
    }
    return false;
}

void TfrmMain::NewWavetable() {
    history_->Reset();
    lbWaveTableIndex->clear();
    FillNewWavetable(table_, static_cast<std::uint8_t>(cmbDeviceID->currentText().toInt()));
    for (int n = 1; n <= kWaveCount; ++n)
        lbWaveTableIndex->addItem(QString::fromStdString(NewWaveListText(n)));
    lbWaveTableIndex->setCurrentRow(0);
    PushHistory();
    modified_ = false;
}

// ---- Handlers ----------------------------------------------------------------------------

void TfrmMain::FormCreate(QObject *) {
    random_.SeedFrom(clock_->Now());
    viewMode_ = render::kWaveView;
    keys_.Reset();
    path_.SelectedPoint = -1;
    WaveDrawing = false;
    modified_ = false;
    sampleRange_ = SampleRange{0, kSampleCount - 1};
    LoadAudioSettings();
    LoadRecentFiles();
    graphBitmap_.Fill(render::Rgb(255, 255, 255)); // GraphBitmap exists from construction on
    SweepDirection = 1;
    btnNewWavetableClick(nullptr);
    SelectWave(1);
    UpdateTitle(QString());
    trbPlaySpeed->setValue(kPlaySpeedAtStart); // runs trbPlaySpeedChange
}

void TfrmMain::btnNewWavetableClick(QObject *) {
    if (!AskSaveChanges())
        return;
    NewWavetable();
    SelectWave(1);
    DrawWavetable(1);
    DrawOverview();
    UpdateTitle(QStringLiteral("untitled"));
}

void TfrmMain::cmbDeviceIDChange(QObject *) {
    WriteDeviceAndSlot(table_, static_cast<std::uint8_t>(cmbDeviceID->currentText().toInt()),
                       static_cast<std::uint8_t>(cmbWavetableSlot->currentText().toInt()));
    modified_ = true;
}

void TfrmMain::edtNameChange(QObject *) {
    if (WriteNameToAll(table_, TrimmedPaddedName(ToSingleByte(edtName->text()))))
        modified_ = true;
}

void TfrmMain::lbWaveTableIndexClick(QObject *) {
    DrawWavetable(CurrentWave());
}

void TfrmMain::trbMorphWaves1Change(QObject *) {
    if (trbMorphWaves2->value() < trbMorphWaves1->value())
        trbMorphWaves1->setValue(trbMorphWaves2->value()); // runs this handler again
    const int from = trbMorphWaves1->value();
    const int to = trbMorphWaves2->value();
    Label4->setText(QString::fromStdString(ui::WaveFromCaption(from)));
    chbRandomAllSlice->setText(QString::fromStdString(ui::SelectionCaptionAfterFrom(from, to)));
}

void TfrmMain::trbMorphWaves2Change(QObject *) {
    if (trbMorphWaves2->value() < trbMorphWaves1->value())
        trbMorphWaves2->setValue(trbMorphWaves1->value()); // runs this handler again
    const int from = trbMorphWaves1->value();
    const int to = trbMorphWaves2->value();
    Label5->setText(QString::fromStdString(ui::WaveToCaption(to)));
    chbRandomAllSlice->setText(QString::fromStdString(ui::SelectionCaptionAfterTo(from, to)));
}

void TfrmMain::chbRandomAllSliceClick(QObject *) {
    Makemodificationforselectedwaveforms1->setChecked(
        !Makemodificationforselectedwaveforms1->isChecked());
}

void TfrmMain::Makemodificationforselectedwaveforms1Click(QObject *) {
    chbRandomAllSlice->setChecked(!chbRandomAllSlice->isChecked()); // runs its click handler
}

void TfrmMain::ScrollBar2Change(QObject *) {
    const auto range = ui::AcceptSampleRange(ScrollBar1->value(), ScrollBar2->value());
    if (!range)
        return;
    sampleRange_ = *range;
    DrawWavetable(CurrentWave());
    lblFrom->setText(QString::fromStdString(ui::SampleFromCaption(sampleRange_)));
    lblto->setText(QString::fromStdString(ui::SampleToCaption(sampleRange_)));
}

void TfrmMain::SpeedButton1Click(QObject *) {
    viewMode_ = render::kWaveView;
    DrawWavetable(CurrentWave());
    SpeedButton1->setChecked(true);
    Viewwave1->setChecked(true);
    Viewmotionpath1->setChecked(false);
}

void TfrmMain::SpeedButton2Click(QObject *) {
    viewMode_ = render::kMotionPathView;
    DrawWavetable(CurrentWave());
    SpeedButton2->setChecked(true);
    Viewwave1->setChecked(false);
    Viewmotionpath1->setChecked(true);
}

void TfrmMain::FormKeyDown(QObject *, int &key, Qt::KeyboardModifiers) {
    keys_.KeyDown(key);
}

void TfrmMain::FormKeyUp(QObject *, int &key, Qt::KeyboardModifiers) {
    const ui::KeyChoice choice = keys_.KeyUp(key);
    // Choosing an item runs no command.
    if (choice.WaveItem >= 0)
        cmbWave->setCurrentIndex(choice.WaveItem);
    if (choice.AmplitudeItem >= 0)
        cmbAmplitude->setCurrentIndex(choice.AmplitudeItem);
}

void TfrmMain::ApplyHistorySnapshot(const Wavetable *snapshot) {
    if (snapshot) {
        modified_ = true;
        table_ = *snapshot;
        DrawWavetable(CurrentWave());
        // The overview is read as the table: it follows the restored one.
        DrawOverview();
    } else {
        LogMessage(QStringLiteral("No more data in history"));
    }
    grbHistory->setTitle(QString::fromStdString(history_->Caption()));
}

void TfrmMain::Undo1Click(QObject *) {
    ApplyHistorySnapshot(history_->HistoryUndo());
}

void TfrmMain::Redo1Click(QObject *) {
    ApplyHistorySnapshot(history_->HistoryRedo());
}

void TfrmMain::Exit1Click(QObject *) {
    close();
}

void TfrmMain::MorvaneHelp1Click(QObject *) {
    dialogs_->ShowHelp(kBuiltInHelp);
}

void TfrmMain::Youtubedemovideo1Click(QObject *sender) {
    UserGuide1Click(sender);
}

void TfrmMain::About1Click(QObject *) {
    dialogs_->Message(kAboutText);
}

void TfrmMain::Label8Click(QObject *sender) {
    UserGuide1Click(sender);
}

void TfrmMain::UserGuide1Click(QObject *) {
    const std::optional<std::string> guide = files::FindUserGuide(
        files::UserGuideCandidates(QCoreApplication::applicationDirPath().toStdString()));
    if (!guide) {
        dialogs_->Message(std::string("The user guide (") + files::kUserGuideFileName +
                          ") was not found; it is installed with Morvane in share/morvane/docs.");
        return;
    }
    dialogs_->ShowUserGuide(*guide);
}

void TfrmMain::WindowScaleClick(QObject *sender) {
    const auto *chosen = qobject_cast<QAction *>(sender);
    const int percent = chosen ? chosen->data().toInt() : ui::kFollowDesktop;
    ui::SaveWindowScale(percent, SettingsPath);
    for (QAction *scaleItem : WindowScaleItems)
        scaleItem->setChecked(scaleItem == chosen);
    dialogs_->Message(ui::WindowScaleMessage(percent));
}

void TfrmMain::OpenWebPage(const QString &address) {
    QDesktopServices::openUrl(QUrl(address)); // the result is not looked at
}

} // namespace morvane::qt
