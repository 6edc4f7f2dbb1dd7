// The main window: the construction, the start-up, the current wave and the selections, the
// view switch, the keyboard, undo and redo, the title and the small commands. The controls and
// the menu are made in main_window_form.cpp, the handlers wired in main_window_wiring.cpp.
#include "ui/qt/main_window.h"

#include <array>
#include <exception>
#include <stdexcept>

#include <QAction>
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
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
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
#include "ui/qt/wave_list.h"
#include "ui/window_scale.h"

namespace morvane::qt {

namespace {

constexpr int kPlaySpeedAtStart = 25;

const char *const kAboutText = "Waldorf Blofeld Morvane 1.11 (free)\n\n"
                               "A wavetable editor for the Waldorf Blofeld synthesizer.\n"
                               "Help > User guide explains every control, with pictures.";

// The help dialog's own lines, shown when no help file can be read.
const std::vector<std::string> kBuiltInHelp{"Shortcuts:", " - Motionpath",
                                            "    Create new point = Click",
                                            "    Delete pont = Ctrl + Click or right click"};

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
      MidiOutFactory(ports.midiOut ? ports.midiOut : midi::CreateNoMidiOut),
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
    CreateForm();
    ConnectHandlers();
    frmHarmonics = new TfrmHarmonics(*this);
    setAcceptDrops(true); // files dropped anywhere on the window, see dropEvent
    // The name field would take a dropped file's path as text.
    edtName->setAcceptDrops(false);
    frmFormula = new TfrmFormula(*this);

    CentreOnScreen();

    FormCreate(this);
    // The settings file is known once the start-up has read the audio settings.
    const int scale = ui::LoadWindowScale(SettingsPath);
    for (QAction *scaleItem : WindowScaleItems)
        scaleItem->setChecked(scaleItem->data().toInt() == scale);
}

TfrmMain::~TfrmMain() = default;

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
