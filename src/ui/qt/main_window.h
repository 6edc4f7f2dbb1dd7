#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "audio/audio_gen.h"
#include "audio/audio_settings.h"
#include "audio/audio_stream.h"
#include "audio/wave_out.h"
#include "document/sample_range.h"
#include "document/wave_message.h"
#include "edit/clipboard.h"
#include "edit/overflow.h"
#include "edit/random.h"
#include "midi/midi_in.h"
#include "midi/midi_out.h"
#include "midi/midi_settings.h"
#include "motion/motion_path.h"
#include "render/canvas.h"
#include "render/drawing.h"
#include "ui/dialogs.h"
#include "ui/key_buffer.h"
#include "ui/mouse_drawing.h"
#include "ui/recent_files.h"
#include "ui/selection.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTimer;
class QToolButton;
class QKeyEvent;
class QDragEnterEvent;
class QDropEvent;

namespace morvane::edit {
class HistoryStack;
}

namespace morvane::qt {

class TfrmAudition;
class TfrmHarmonics;
class TfrmFormula;
class TImageView;
class TWaveList;
class TfrmWaterfall;

// What the main window is given from outside: the dialogs it asks the user through and the
// clock that seeds the random generator. Both outlive the window.
struct MainWindowPorts {
    ui::Dialogs *dialogs = nullptr;
    edit::Clock *clock = nullptr;
    // The sound output (the editor passes the PortAudio backend); none: a silent null device
    // of the window's own.
    audio::WaveOut *waveOut = nullptr;
    // Makes the MIDI output, once for each listing and each send, on whichever thread does it
    // (the editor passes RtMidi); none: a MIDI system without ports.
    midi::MidiOutFactory midiOut{};
    // The callback sound output the audition plays through (the editor passes the PortAudio
    // backend); none: a silent one of the audition window's own.
    audio::AudioStreamOut *streamOut = nullptr;
    // The MIDI input the audition plays from (the editor passes RtMidi); none: a MIDI system
    // without ports.
    midi::MidiInFactory midiIn{};
    // Where the audio settings are read and written; empty: morvane.ini in its usual place.
    std::string settingsPath{};
};

// The main window: the whole user interface and the owner of the document. Every command is
// one of its handlers, run on the user-interface thread. The controls and the menu are made in
// main_window_form.cpp; the handler bodies live in one file per area: main_window.cpp
// (construction, start-up, selection, view, keys, undo/redo, title), main_window_files.cpp,
// main_window_edit.cpp, main_window_audio.cpp, main_window_motion.cpp.
//
// Controls are public members named as in the form, so that the script runner and the tests
// can read and drive them. Handlers take the sending control (nullptr when run by the program
// itself), as the commands that serve several controls tell them apart by it.
class TfrmMain final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmMain)

public:
    explicit TfrmMain(const MainWindowPorts &ports, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // ---- State the areas share --------------------------------------------------------------
    Wavetable &Table() { return table_; }
    const Wavetable &Table() const { return table_; }
    edit::HistoryStack &History() { return *history_; }
    motion::MotionPath &Path() { return path_; }
    edit::RandomGenerator &Random() { return random_; }
    ui::Dialogs &Dialogs() const { return *dialogs_; }
    const edit::Clock &TimeSource() const { return *clock_; }

    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The current wave, 1..64: the wave list's item index + 1 (1 while nothing is selected).
    int CurrentWave() const;
    // Makes wave number `wave` (1..64) current without running any handler and without a
    // redraw: the caller redraws.
    void SelectWave(int wave);
    // The waves a per-wave edit applies to: from..to when chbRandomAllSlice is checked,
    // otherwise the current wave alone.
    WaveRange CheckedWaveSelection() const;
    // trbMorphWaves1..trbMorphWaves2, whatever the check box says.
    WaveRange RangeWaveSelection() const;
    SampleRange GetSampleRange() const { return sampleRange_; }
    // 1 = wave view, 2 = motion-path view (kWaveView, kMotionPathView).
    int ViewMode() const { return viewMode_; }
    // CtrlDown and KeyBuffer of the key handling.
    const ui::CtrlKeyBuffer &KeyState() const { return keys_; }

    // Pushes the table on the undo history and shows the new position in grbHistory.
    void PushHistory();
    // The hidden message log Memo1 keeps this many of its last lines.
    static constexpr int kLogLinesKept = 1000;
    // Appends one line to the hidden message log Memo1.
    void LogMessage(const QString &text);
    void LogMessage(const std::string &text);
    QStringList Memo1Lines() const;

    // The redraw of the graph for wave number `wave` (1..64) and of the overview.
    void DrawWavetable(int wave);
    void DrawOverview();
    // The off-screen pictures, for saving them as images.
    const render::Canvas &GraphBitmap() const { return graphBitmap_; }
    const render::Canvas &OverviewBitmap() const { return overviewBitmap_; }

    // The window title and the file-name label for `path` ("" for no file).
    void UpdateTitle(const QString &path);
    // The question before a command replaces the document: true to go on.
    bool AskSaveChanges();
    // Closes the window as the end of a script does: without the question about unsaved work.
    void CloseWithoutQuestion();
    // Before a command writes these files: true when none exists or the user answers Yes to
    // "Overwrite ?".
    bool MayOverwrite(std::initializer_list<std::string> paths);
    // Fills the whole table anew, empties the history and pushes the new table.
    void NewWavetable();

    // Text conversions at the boundary with the core: names and messages are single-byte
    // characters (code < 256 as that byte, anything else '?'); paths are UTF-8.
    static std::string ToSingleByte(const QString &text);
    static QString FromSingleByte(const std::string &text);

    // ---- Handlers, main_window.cpp ----------------------------------------------------------
    void FormCreate(QObject *sender);
    void FormKeyDown(QObject *sender, int &key, Qt::KeyboardModifiers shift);
    void FormKeyUp(QObject *sender, int &key, Qt::KeyboardModifiers shift);
    void btnNewWavetableClick(QObject *sender);
    void cmbDeviceIDChange(QObject *sender);
    void edtNameChange(QObject *sender);
    void lbWaveTableIndexClick(QObject *sender);
    void trbMorphWaves1Change(QObject *sender);
    void trbMorphWaves2Change(QObject *sender);
    void chbRandomAllSliceClick(QObject *sender);
    void Makemodificationforselectedwaveforms1Click(QObject *sender);
    void ScrollBar2Change(QObject *sender);
    void SpeedButton1Click(QObject *sender);
    void SpeedButton2Click(QObject *sender);
    void Undo1Click(QObject *sender);
    void Redo1Click(QObject *sender);
    void Exit1Click(QObject *sender);
    void MorvaneHelp1Click(QObject *sender);
    void Youtubedemovideo1Click(QObject *sender);
    void About1Click(QObject *sender);
    void Label8Click(QObject *sender);
    // Help › User guide, the credit line and the demo entry: the guide in a window of its own;
    // a message when no copy of it can be found.
    void UserGuide1Click(QObject *sender);
    // Tools › Window scale: remembers the chosen item's scale for the next start.
    void WindowScaleClick(QObject *sender);
    // Opens an address with the desktop's URL handler; failures are not reported.
    void OpenWebPage(const QString &address);

    // ---- Handlers, main_window_files.cpp ----------------------------------------------------
    void btnLoadwavetableClick(QObject *sender);
    void btnSaveWavetableClick(QObject *sender);
    void btnExportWavetableClick(QObject *sender);
    void btnImportWTfromMidiClick(QObject *sender);
    void btnExportWTasWavClick(QObject *sender);
    void btnLoadWaveClick(QObject *sender);

    // ---- Handlers, main_window_edit.cpp -----------------------------------------------------
    void btnAddClick(QObject *sender);
    void trbFadeChange(QObject *sender);
    void btnSetVolumePlusClick(QObject *sender);
    void btnInvertClick(QObject *sender);
    void btnReverseClick(QObject *sender);
    void btnSmoothClick(QObject *sender);
    void btnStepClick(QObject *sender);
    void btnShiftLeftClick(QObject *sender);
    void btnShiftRightClick(QObject *sender);
    void btnShiftUpClick(QObject *sender);
    void btnShiftDownClick(QObject *sender);
    void btnMorphClick(QObject *sender);
    void btnRandomOrderClick(QObject *sender);
    void btnRandom4Click(QObject *sender);
    void BitBtn3Click(QObject *sender);
    void btnCopyClick(QObject *sender);
    void btnPasteClick(QObject *sender);
    void PastesumClick(QObject *sender);
    void btnShowClipboardMouseDown(QObject *sender, Qt::MouseButton button,
                                   Qt::KeyboardModifiers shift, int x, int y);
    void btnShowClipboardMouseUp(QObject *sender, Qt::MouseButton button,
                                 Qt::KeyboardModifiers shift, int x, int y);

    // ---- Handlers, main_window_audio.cpp ----------------------------------------------------
    void btnPlayClick(QObject *sender);
    void TimerPlayTimer(QObject *sender);
    void trbPlaySpeedChange(QObject *sender);
    void chbPlayAllClick(QObject *sender);
    void AudioSetup1Click(QObject *sender);
    // Refills the playback buffers from the current wave; nothing while no generator exists.
    void FillPlayBuffers();
    // Start-up step: the list of audio output devices and the settings file.
    void LoadAudioSettings();
    // A failed open of the sound output, reported by the generator of Play number `run`: the
    // log line, the button back to "Play" and one box naming the device and the reason.
    void PlayOpenFailed(int run, const std::string &reason);
    // Runs when the window closes; canClose may be cleared to keep it open.
    void FormCloseQuery(QObject *sender, bool &canClose);
    // Play's two halves: a new generator on the current wave, and back to the wave of the start.
    void StartPlay();
    void StopPlay();

    // ---- Handlers, main_window_motion.cpp ---------------------------------------------------
    void imgWaveTablesMouseDown(QObject *sender, Qt::MouseButton button,
                                Qt::KeyboardModifiers shift, int x, int y);
    void imgWaveTablesMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y);
    void imgWaveTablesMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                              int x, int y);
    void btnNewWTMotionClick(QObject *sender);
    void btnMakeWTMotionClick(QObject *sender);
    void rdbSplineClick(QObject *sender);
    void trbSensitivityChange(QObject *sender);
    // The tooltip that follows the pointer over the graph: the sample and its value in the wave
    // view, the pixel in the motion-path view. Runs after each press and move on the graph.
    void ShowGraphPointer(int x, int y);

    // ---- Handlers, main_window_exchange.cpp -------------------------------------------------
    void MidiOutput1Click(QObject *sender);
    void SendToSynth1Click(QObject *sender);
    // The MIDI output chosen, read from the settings file at first use.
    const midi::MidiOutputSettings &MidiSettings();
    void ImportAudio1Click(QObject *sender);
    void ExportWavetable2048Click(QObject *sender);
    // waterfall_window.cpp: opens the waterfall and spectrogram window.
    void Waterfall1Click(QObject *sender);
    // audition_window.cpp: opens the audition window.
    void Audition1Click(QObject *sender);

    // ---- Handlers, main_window_harmonics.cpp ------------------------------------------------
    void Harmonics1Click(QObject *sender);

    // ---- Files from outside, main_window_open.cpp -------------------------------------------
    // A file named on the command line, dropped on the window or chosen from the recent list:
    // the command for its kind (see ui::OpenKindOf) runs on it as if it had been chosen in that
    // command's file dialog, with the question about unsaved changes where the command asks it.
    void OpenFileFromOutside(const std::string &path);
    // The same for the file named at start; an error goes to the general error box.
    void OpenFileAtStart(const std::string &path);
    // The file the editor opens at start: the first of the program's arguments (after Qt took
    // its own), made absolute; none without arguments.
    static std::optional<QString> FileArgument(const QStringList &arguments);
    // The commands' steps after their file dialog, on a given path.
    void LoadWavetablePath(const std::string &path);
    void ImportMidiPath(const std::string &path);
    void ImportWavePath(const std::string &path);
    void ImportAudioPath(const std::string &path);
    // A file loaded, imported or saved goes to the front of the recent list, which is kept at
    // once in the settings file.
    void RememberFile(const std::string &path);
    void LoadRecentFiles();
    void RecentFileClick(QObject *sender);
    void ClearList1Click(QObject *sender);
    // ---- Handlers, main_window_formula.cpp --------------------------------------------------
    // Shows the formula window (made with the main window, hidden until then).
    void Formula1Click(QObject *sender);

    // ---- Controls ---------------------------------------------------------------------------
    QWidget *ClientArea = nullptr; // the 866 x 573 area below the menu bar

    QGroupBox *GroupBox2 = nullptr; // "New/Load wavetable"
    QPushButton *btnNewWavetable = nullptr;
    QPushButton *btnLoadwavetable = nullptr;
    QPushButton *btnImportWTfromMidi = nullptr;

    QGroupBox *grpWavetable = nullptr; // "Save wavetable(syx,mid)"
    QLabel *Label7 = nullptr;
    QLineEdit *edtName = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *cmbWavetableSlot = nullptr;
    QLabel *Label18 = nullptr;
    QComboBox *cmbDeviceID = nullptr;
    QPushButton *btnSaveWavetable = nullptr;
    QPushButton *btnExportWavetable = nullptr;
    QPushButton *btnExportWTasWav = nullptr;

    QGroupBox *GroupBox3 = nullptr; // "Import wave to WT"
    QLabel *Label10 = nullptr;
    QComboBox *CmbWTFrom = nullptr;
    QLabel *Label11 = nullptr;
    QComboBox *CmbWTTo = nullptr;
    QPushButton *btnLoadWave = nullptr;

    QGroupBox *grbHistory = nullptr;
    QPushButton *BitBtn1 = nullptr; // "Undo"
    QPushButton *BitBtn2 = nullptr; // "Redo"

    QLabel *Label17 = nullptr;
    TImageView *imgColoredWaveTables = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Label9 = nullptr;
    TWaveList *lbWaveTableIndex = nullptr;

    QPushButton *btnCopy = nullptr;
    QPushButton *btnPaste = nullptr;
    QPushButton *btnPasteAdd = nullptr;
    QPushButton *btnPasteSub = nullptr;
    QPushButton *btnPasteMulti = nullptr;
    QPushButton *btnPasteOR = nullptr;
    QPushButton *btnPasteAND = nullptr;
    QPushButton *btnPasteXOR = nullptr;
    QPushButton *btnPastemin = nullptr;
    QPushButton *btnPastemax = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QPushButton *btnShowClipboard = nullptr;
    QPushButton *btnShiftLeft = nullptr;
    QPushButton *btnShiftRight = nullptr;
    QPushButton *btnShiftUp = nullptr;
    QPushButton *btnShiftDown = nullptr;
    TImageView *imgWaveTables = nullptr;
    QLabel *lblFrom = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QLabel *lblto = nullptr;
    QScrollBar *ScrollBar2 = nullptr;

    QGroupBox *GroupBox4 = nullptr; // "Play wavetable"
    QPushButton *btnPlay = nullptr;
    QCheckBox *chbPlayAll = nullptr;
    QLabel *Label13 = nullptr;
    QSlider *trbPlaySpeed = nullptr;
    QTimer *TimerPlay = nullptr;

    QLabel *lblFilename = nullptr;
    QLabel *Label8 = nullptr;

    QGroupBox *grpAddwave = nullptr; // "Modify wave"
    QLabel *Label1 = nullptr;        // "Waveform"
    QComboBox *cmbWave = nullptr;
    QLabel *Label2 = nullptr; // "Harmonics"
    QComboBox *cmbAmplitude = nullptr;
    QCheckBox *chbAddtoexisting = nullptr;
    QCheckBox *ckbAllowOverflow = nullptr;
    QLabel *lblFade = nullptr;
    QSlider *trbFade = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnDec = nullptr;
    QPushButton *btnMultiple = nullptr;
    QPushButton *btnOR = nullptr;
    QPushButton *btnAND = nullptr;
    QPushButton *btnXOR = nullptr;
    QPushButton *btnMin = nullptr;
    QPushButton *btnMAX = nullptr;
    QPushButton *btnSetVolumePlus = nullptr;
    QPushButton *btnSetVolumeMinus = nullptr;
    QLabel *Label3 = nullptr; // "amplify by"
    QComboBox *cmbNormalize = nullptr;
    QLabel *Label12 = nullptr; // "%"
    QPushButton *btnFourier = nullptr;

    QGroupBox *GroupBox6 = nullptr; // "Wavetable selection"
    QLabel *Label4 = nullptr;
    QSlider *trbMorphWaves1 = nullptr;
    QLabel *Label5 = nullptr;
    QSlider *trbMorphWaves2 = nullptr;
    QCheckBox *chbRandomAllSlice = nullptr;

    QGroupBox *grpMorph = nullptr; // "Morph waves"
    QPushButton *btnMorph = nullptr;
    QPushButton *btnRandomOrder = nullptr;
    QPushButton *btnInvert = nullptr;
    QPushButton *btnReverse = nullptr;
    QPushButton *btnSmooth = nullptr;
    QPushButton *btnStep = nullptr;
    QComboBox *cmbStepWave = nullptr;
    QPushButton *btnRandom4 = nullptr;
    QComboBox *cmbSlices = nullptr;
    QCheckBox *chbRandomSAme = nullptr;
    QPushButton *BitBtn3 = nullptr; // "Sort"

    QGroupBox *GroupBox5 = nullptr; // "Wavetable Motionpath"
    QRadioButton *rdbLinear = nullptr;
    QRadioButton *rdbSpline = nullptr;
    QCheckBox *chbFlat = nullptr;
    QLabel *Label14 = nullptr; // "Algorithm"
    QComboBox *cmbMotionPathType = nullptr;
    QLabel *Label16 = nullptr; // "FX width: 1"
    QSlider *trbSensitivity = nullptr;
    QPushButton *btnNewWTMotion = nullptr;
    QPushButton *btnMakeWTMotion = nullptr;

    // The file dialogs; each keeps the file name chosen last for the whole run.
    ui::FileDialogState OpenDialog1;
    ui::FileDialogState SaveDialog1;
    ui::FileDialogState OpenDialog2;
    ui::FileDialogState OpenDialog3;
    ui::FileDialogState savedialogWAVE;
    ui::FileDialogState OpenDialogAudio{
        "OpenDialogAudio",
        "Audio and wavetable files|*.wav;*.aif;*.aiff;*.flac;*.ogg;*.wt|All files|*.*", 1, "", ""};
    ui::FileDialogState SaveDialog2048{"SaveDialog2048", "Wave files|*.wav|All files|*.*", 1, "wav",
                                       ""};

    // ---- Menu -------------------------------------------------------------------------------
    QMenuBar *MainMenu1 = nullptr;
    QMenu *File1 = nullptr;
    QAction *Newwavetable1 = nullptr;
    QAction *Loadwavetable1 = nullptr;
    QAction *Importwavetablefrommidi1 = nullptr;
    QAction *Savewavetable1 = nullptr;
    QAction *SavewavetableMidi1 = nullptr;
    QAction *ExportwavetableWave1 = nullptr;
    QAction *Importwave1 = nullptr;
    QMenu *OpenRecent1 = nullptr;
    std::array<QAction *, ui::kRecentFileCount> RecentFile{}; // RecentFile1..RecentFile8
    QAction *ClearList1 = nullptr;
    QAction *AudioSetup1 = nullptr;
    QAction *Exit1 = nullptr;
    QMenu *Edit1 = nullptr;
    QAction *Undo1 = nullptr;
    QAction *Redo1 = nullptr;
    QAction *Copy1 = nullptr;
    QAction *Paste1 = nullptr;
    QMenu *Pastespecial1 = nullptr;
    QAction *Pastesum = nullptr;
    QAction *Pastesub = nullptr;
    QAction *Pastemul = nullptr;
    QAction *PasteOR = nullptr;
    QAction *PasteAND = nullptr;
    QAction *PasteXOR = nullptr;
    QAction *Pastemin1 = nullptr;
    QAction *PasteMAX1 = nullptr;
    QAction *Moveleft1 = nullptr;
    QAction *MOveright1 = nullptr;
    QAction *Moveup1 = nullptr;
    QAction *Movedown1 = nullptr;
    QAction *Viewwave1 = nullptr;
    QAction *Viewmotionpath1 = nullptr;
    QAction *Makemodificationforselectedwaveforms1 = nullptr;
    QMenu *Wave1 = nullptr;
    QAction *Play1 = nullptr;
    QAction *Sweepwavetable = nullptr;
    QAction *Addwave1 = nullptr;
    QAction *Subwave1 = nullptr;
    QAction *Multiwave1 = nullptr;
    QAction *ORwave1 = nullptr;
    QAction *ANDwave1 = nullptr;
    QAction *XORwave1 = nullptr;
    QAction *minwave1 = nullptr;
    QAction *MAXwave1 = nullptr;
    QAction *Amplify1 = nullptr;
    QAction *Amplify2 = nullptr;
    QAction *Harmonics1 = nullptr;
    QAction *Waterfall1 = nullptr;
    QAction *Formula1 = nullptr;
    QMenu *Tools1 = nullptr;
    QAction *Morph1 = nullptr;
    QAction *Wavetablerandomoerder1 = nullptr;
    QAction *Invert1 = nullptr;
    QAction *Reverse1 = nullptr;
    QAction *Smoothwave1 = nullptr;
    QAction *Audition1 = nullptr;
    QMenu *WindowScale1 = nullptr;
    // "Follow the desktop", then one item per scale of ui::kWindowScales; each item's data is
    // its percentage (0 for the desktop).
    std::array<QAction *, 7> WindowScaleItems{};
    QMenu *Exchange1 = nullptr;
    QAction *MidiOutput1 = nullptr;
    QAction *SendToSynth1 = nullptr;
    QAction *ImportAudio1 = nullptr;
    QAction *ExportWavetable2048 = nullptr;
    // The tool windows, made on first use; children of this window.
    TfrmWaterfall *frmWaterfall = nullptr;
    TfrmAudition *frmAudition = nullptr;
    QMenu *Help1 = nullptr;
    QAction *MorvaneHelp1 = nullptr;
    QAction *UserGuide1 = nullptr;
    QAction *Youtubedemovideo1 = nullptr;
    QAction *About1 = nullptr;

    // ---- Fields of the areas ----------------------------------------------------------------
    bool WaveDrawing = false;          // a mouse stroke on the graph is in progress (wave view)
    ui::mouse::StrokePoint StrokeLast; // where the line to the next pointer position starts
    bool PathStroke = false; // a mouse stroke on the graph is in progress (motion-path view)
    int SweepDirection = 1;  // +1 or -1, the direction of the sweep
    int PlayStartWave = 0;   // list index of the current wave when Play was pressed
    int PlayRun = 0;         // counts the presses of Play, to match a late open failure
    // Playback (main_window_audio.cpp). The wave-out service is declared before the generator
    // so that the generator, whose thread uses it, goes first when the window is destroyed.
    audio::AudioSettings AudioSettings{};       // one instance for the run; the settings file's
    audio::WaveOut *AudioWaveOut = nullptr;     // the ports' wave-out service, or OwnWaveOut
    std::unique_ptr<audio::WaveOut> OwnWaveOut; // the null device when the ports bring none
    std::string SettingsPath;                   // the ports' override, else the usual place
    audio::AudioGenSlot AudioGen;               // the latest generator; none until the first Play
    edit::WaveClipboard Clipboard{};     // copy, paste and paste special; zero slots at start
    edit::WaveBackup Backup{};           // the per-wave backup of the edits that check overflow
    midi::MidiOutFactory MidiOutFactory; // the ports' MIDI system, or one without ports
    audio::AudioStreamOut *AuditionStreamOut = nullptr; // the ports' stream service, if any
    midi::MidiInFactory MidiInFactory; // the audition's MIDI input; one without ports if empty
    std::optional<midi::MidiOutputSettings> MidiOutput; // read at first use, see MidiSettings
    bool SendingToSynth = false;                        // a send to the synth is running
    TfrmHarmonics *frmHarmonics = nullptr; // the harmonic tool window, a child made at start-up
    TfrmFormula *frmFormula = nullptr;     // the formula tool window, a child of this window

    // Key preview: the application hands every key event that reaches a widget of this window
    // to this first (shortcuts never come here). The event goes on to the focused control.
    void PreviewKeyEvent(QKeyEvent &event);

signals:
    // After every redraw of the graph: after each command that changes samples and each change
    // of the current wave. The tool windows follow the document through it.
    void GraphRedrawn(int wave);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Handler = void (TfrmMain::*)(QObject *);

    // The form, main_window_form.cpp: the window's frame and font, the controls, the menu bar
    // and its window-scale items; then the window centred on the desktop.
    void CreateForm();
    void CentreOnScreen();
    void CreateControls();
    void CreateMenu();
    void CreateWindowScaleItems();
    // The wiring, main_window_wiring.cpp.
    void ConnectHandlers();
    void ConnectControlSignals();
    void ConnectGraphMouse();
    void ConnectSessionManager();
    // Runs a handler; an error it does not catch itself goes to the general error box.
    void Guarded(const std::function<void()> &body);
    void BindClick(QObject *control, Handler handler);
    void BindAction(QAction *action, Handler handler);
    bool IsMenuShortcut(const QKeyEvent &event) const;
    // The common steps of undo and redo once the history has answered (nullptr: nothing left).
    void ApplyHistorySnapshot(const Wavetable *snapshot);
    void CreateRecentMenu();
    // The recent items as the list stands, and the list written to the settings file.
    void ShowRecentFiles();
    void SaveRecentFiles();

    morvane::ui::Dialogs *dialogs_;
    edit::Clock *clock_;

    Wavetable table_{};
    bool closingWithoutQuestion_ = false;         // set only inside CloseWithoutQuestion
    std::unique_ptr<edit::HistoryStack> history_; // 200 snapshots, about 5 MB: on the heap, once
    motion::MotionPath path_{};
    edit::RandomGenerator random_{};
    render::Canvas graphBitmap_;    // GraphBitmap, 384 x 384
    render::Canvas overviewBitmap_; // the overview, 128 x 129, default black pen and white brush
    bool modified_ = false;
    int viewMode_ = render::kWaveView;
    SampleRange sampleRange_{};
    ui::CtrlKeyBuffer keys_{};
    ui::RecentFiles recent_{};
    bool recentSaveFailed_ = false; // the box about an unwritable list is shown once a run
};

} // namespace morvane::qt
