// The tooltips of every form, in one table so that they are easy to review and translate.
// A text says what the control does, on which waves or samples it acts, and its shortcut.
// Several names in one entry share its text (a caption and the control it names, a button
// and its menu item).
#include "ui/qt/tooltips.h"

#include <QAction>
#include <QMenu>
#include <QString>
#include <QWidget>

namespace morvane::qt {

namespace {

struct Tooltip {
    const char *Form;  // the form's object name
    const char *Names; // object names, separated by blanks
    const char *Text;  // UTF-8
};

// "Selected waves" below means: waves "from" to "to" of "Wavetable selection" while its check
// box is checked, otherwise the current wave. "The range" is the sample range under the graph.
constexpr Tooltip kTooltips[] = {
    // ---- Main window: New/Load and Save ----
    {"frmMain", "btnNewWavetable Newwavetable1",
     "New wavetable — 64 sine waves named \"untitled\"; asks first when the table has unsaved "
     "changes"},
    {"frmMain", "btnLoadwavetable Loadwavetable1",
     "Load wavetable — open a .syx file of wave-dump messages into the table"},
    {"frmMain", "btnImportWTfromMidi Importwavetablefrommidi1",
     "Import WT from midi — load one wavetable from a .mid file; when the file holds several, "
     "a list lets you choose"},
    {"frmMain", "Label7 edtName",
     "Wavetable Name — the name the instrument shows, up to 14 characters; saved with every "
     "wave"},
    {"frmMain", "Label6 cmbWavetableSlot",
     "WT slot — the user wavetable slot (80 to 118) the instrument stores the table in"},
    {"frmMain", "Label18 cmbDeviceID",
     "Device ID — the instrument's device ID the messages are addressed to (0 for most "
     "setups)"},
    {"frmMain", "btnSaveWavetable Savewavetable1",
     "SaveSelcWT(syx) — save the selected waves (\"from\" to \"to\" of Wavetable selection) "
     "as a .syx file of wave-dump messages, ready to send to the instrument"},
    {"frmMain", "btnExportWavetable SavewavetableMidi1",
     "Export WT (midi) — save all 64 waves as a Standard MIDI File (.mid) holding the "
     "same messages, one second apart"},
    {"frmMain", "btnExportWTasWav ExportwavetableWave1",
     "ExpWT (wav,txt) — export the 64 waves as a .wav file, with a text dump of the samples "
     "beside it"},
    // ---- Import wave ----
    {"frmMain", "Label10 CmbWTFrom", "From: — the first wave that \"Import wave\" fills"},
    {"frmMain", "Label11 CmbWTTo", "To: — the last wave that \"Import wave\" fills"},
    {"frmMain", "btnLoadWave Importwave1",
     "Import wave — read a .wav file into waves From: to To:, 128 samples per wave"},
    // ---- History ----
    {"frmMain", "BitBtn1 Undo1",
     "Undo — go back one step in the history of the whole table (Ctrl+Z)"},
    {"frmMain", "BitBtn2 Redo1", "Redo — go forward one step in the history (Ctrl+Y)"},
    // ---- Overview, list, log, credit ----
    {"frmMain", "Label17 imgColoredWaveTables",
     "Wavetable graph — all 64 waves from above, one row per wave; colour is the sample value"},
    {"frmMain", "Memo1", "Messages of the last commands"},
    {"frmMain", "Label9 lbWaveTableIndex",
     "Wavetable — the 64 waves; click one to make it the current wave, shown in the graph and "
     "played"},
    {"frmMain", "lblFilename", "The file the table was loaded from or saved to last"},
    {"frmMain", "Label8", "Click to open the user guide"},
    // ---- Clipboard ----
    {"frmMain", "btnCopy Copy1",
     "Copy wave — copy the range of the current wave to Morvane's own clipboard (Ctrl+C)"},
    {"frmMain", "btnPaste Paste1",
     "Paste wave — write the clipboard into the current wave, from the start of the range "
     "(Ctrl+V)"},
    {"frmMain", "Pastespecial1",
     "Paste special — combine the clipboard with the current wave, sample by sample"},
    {"frmMain", "btnPasteAdd Pastesum",
     "P+ — add the clipboard wave to the current wave's samples, sample by sample (Ctrl+F1)"},
    {"frmMain", "btnPasteSub Pastesub",
     "P- — subtract the clipboard wave from the current wave's samples, sample by sample "
     "(Ctrl+F2)"},
    {"frmMain", "btnPasteMulti Pastemul",
     "P* — multiply the current wave by the clipboard wave, sample by sample, as fractions of "
     "full scale (Ctrl+F3)"},
    {"frmMain", "btnPasteOR PasteOR",
     "Por — bitwise OR of the clipboard wave and the current wave, sample by sample (Ctrl+F4)"},
    {"frmMain", "btnPasteAND PasteAND",
     "Pand — bitwise AND of the clipboard wave and the current wave, sample by sample "
     "(Ctrl+F5)"},
    {"frmMain", "btnPasteXOR PasteXOR",
     "P xor — bitwise XOR of the clipboard wave and the current wave, sample by sample "
     "(Ctrl+F6)"},
    {"frmMain", "btnPastemin Pastemin1",
     "Pmin — keep the lower of the clipboard sample and the current wave's sample (Ctrl+F7)"},
    {"frmMain", "btnPastemax PasteMAX1",
     "Pmax — keep the higher of the clipboard sample and the current wave's sample (Ctrl+F8)"},
    {"frmMain", "btnShowClipboard",
     "Show Clipboard — hold the button down to see the clipboard in the graph"},
    // ---- View and the graph ----
    {"frmMain", "SpeedButton1 Viewwave1",
     "View wave — the graph shows the current wave; draw on it with the mouse (F1)"},
    {"frmMain", "SpeedButton2 Viewmotionpath1",
     "View motionpath — the graph shows the motion path: click to add a point, drag to move "
     "one, Ctrl+click or right-click to delete one (F2)"},
    {"frmMain", "btnShiftLeft Moveleft1",
     "Move left — rotate the range of the current wave one sample to the left (F5)"},
    {"frmMain", "btnShiftRight MOveright1",
     "Move right — rotate the range of the current wave one sample to the right (F6)"},
    {"frmMain", "btnShiftUp Moveup1",
     "Move up — raise the range of the current wave by 8,000 (F7)"},
    {"frmMain", "btnShiftDown Movedown1",
     "Move down — lower the range of the current wave by 8,000 (F8)"},
    {"frmMain", "imgWaveTables",
     "The current wave: press and drag to draw its samples; one stroke is one undo step"},
    {"frmMain", "lblFrom ScrollBar1",
     "Select from — the first sample of the range that the edits, copy and drawing work on"},
    {"frmMain", "lblto ScrollBar2",
     "Select to — the last sample of the range that the edits, copy and drawing work on"},
    // ---- Play ----
    {"frmMain", "btnPlay Play1",
     "Play — play the current wave in a loop; click again (Stop) to end (F4)"},
    {"frmMain", "chbPlayAll Sweepwavetable",
     "Sweep wavetable — while playing, step through the 64 waves back and forth (F3)"},
    {"frmMain", "Label13 trbPlaySpeed",
     "Play speed — how fast the sweep steps from wave to wave: right is faster"},
    // ---- Modify wave ----
    {"frmMain", "Label1 cmbWave",
     "Waveform — the shape the generator makes: Sine, Triangle, Square, Saw or Random "
     "(hold Ctrl, type W, E, R or T for the last four, let Ctrl go)"},
    {"frmMain", "Label2 cmbAmplitude",
     "Harmonics — which harmonic the generator makes: 1/3 is the third harmonic, at a third "
     "of full level (hold Ctrl and type the number)"},
    {"frmMain", "chbAddtoexisting",
     "Add to existing wave — combine the new shape with the samples there; clear: the "
     "buttons below replace them"},
    {"frmMain", "ckbAllowOverflow",
     "Allow overflow — keep results beyond the 21-bit range instead of refusing the wave"},
    {"frmMain", "lblFade trbFade",
     "Fade — fade the new shape out towards the end of the wave (right) or in from its start "
     "(left)"},
    {"frmMain", "btnAdd Addwave1",
     "Add wave — add the generated shape to the range of the selected waves"},
    {"frmMain", "btnDec Subwave1",
     "Sub wave — subtract the generated shape from the range of the selected waves"},
    {"frmMain", "btnMultiple Multiwave1",
     "Multi wave — multiply the range of the selected waves by the generated shape"},
    {"frmMain", "btnOR ORwave1",
     "OR wave — bitwise OR of the generated shape and the selected waves"},
    {"frmMain", "btnAND ANDwave1",
     "AND wave — bitwise AND of the generated shape and the selected waves"},
    {"frmMain", "btnXOR XORwave1",
     "XOR wave — bitwise XOR of the generated shape and the selected waves"},
    {"frmMain", "btnMin minwave1",
     "min wave — keep the lower of the generated sample and the wave's sample"},
    {"frmMain", "btnMAX MAXwave1",
     "MAX wave — keep the higher of the generated sample and the wave's sample"},
    {"frmMain", "btnSetVolumePlus Amplify1",
     "Amplify + — make the range of the selected waves louder by the percentage below (F10)"},
    {"frmMain", "btnSetVolumeMinus Amplify2",
     "Amplify - — make the range of the selected waves softer by the percentage below (F9)"},
    {"frmMain", "Formula1",
     "Formula ... — write the range of the selected waves from an expression such as "
     "sin(2*pi*w), with a live preview (Ctrl+F)"},
    {"frmMain", "Label3 cmbNormalize Label12",
     "amplify by — the percentage Amplify + and Amplify - change the level by"},
    {"frmMain", "btnFourier", "Fourier — not in use"},
    {"frmMain", "Harmonics1",
     "Harmonics ... — the current wave as a spectrum: draw its harmonics' levels and phases, "
     "and sweep spectral processors across the selected waves (F12)"},
    {"frmMain", "Waterfall1",
     "Waterfall ... — the whole table at a glance: the 64 waves one behind the other, or its "
     "spectrogram; a click picks a wave"},
    // ---- Wavetable selection ----
    {"frmMain", "Label4 trbMorphWaves1",
     "Select wave from — the first wave of the selection (Morph, random order, Save, and the "
     "edits while the check box below is checked)"},
    {"frmMain", "Label5 trbMorphWaves2", "Select wave to — the last wave of the selection"},
    {"frmMain", "chbRandomAllSlice Makemodificationforselectedwaveforms1",
     "Make modification — checked: the edits act on every selected wave; clear: on the "
     "current wave only (F11)"},
    // ---- Morph waves ----
    {"frmMain", "btnMorph Morph1",
     "Morph waves — blend the waves between \"from\" and \"to\" in a straight line from the "
     "first to the last"},
    {"frmMain", "btnRandomOrder Wavetablerandomoerder1",
     "WT RND order — shuffle the waves from \"from\" to \"to\""},
    {"frmMain", "btnInvert Invert1",
     "Invert wave — turn the range of the selected waves upside down"},
    {"frmMain", "btnReverse Reverse1",
     "Reverse wave — mirror the range of the selected waves left to right"},
    {"frmMain", "btnSmooth Smoothwave1",
     "Smooth wave — soften the range of the selected waves: each sample becomes the mean of "
     "its neighbours"},
    {"frmMain", "btnStep cmbStepWave",
     "Step wave — quantise the range of the selected waves to 8, 16, 32 or 64 levels, as "
     "chosen beside it"},
    {"frmMain", "btnRandom4 cmbSlices",
     "RND slice order — swap two random slices (4 to 32 of a wave) in the range of the "
     "selected waves"},
    // The original hint of the form, kept as it stood.
    {"frmMain", "chbRandomSAme", "Same for all waves"},
    {"frmMain", "BitBtn3",
     "Sort — sort the samples of the range of the selected waves, "
     "highest first"},
    // ---- Motion path ----
    {"frmMain", "rdbLinear", "Linear — the motion path runs straight from point to point"},
    {"frmMain", "rdbSpline", "BSpline — the motion path runs as a smooth curve near its points"},
    {"frmMain", "chbFlat", "Last & first point connected"}, // the form's own hint
    {"frmMain", "Label14 cmbMotionPathType",
     "Algorithm — how the samples beside the path's position follow it: Sharp or Smooth"},
    {"frmMain", "Label16 trbSensitivity",
     "FX width — how many samples on each side of the path's position are pulled with it"},
    {"frmMain", "btnNewWTMotion", "New WT motion — remove every point of the motion path"},
    {"frmMain", "btnMakeWTMotion",
     "Make motion! — write the motion path into the waves, one position per wave, from wave 1 "
     "for as many waves as are selected"},
    // ---- Menus ----
    {"frmMain", "File1", "New, load, save, import and export wavetables"},
    {"frmMain", "Edit1", "Undo, clipboard, moves, views and the selection"},
    {"frmMain", "Wave1", "Play, and the generator's commands"},
    {"frmMain", "Tools1", "Commands on several waves, and the window scale"},
    {"frmMain", "Exchange1", "The instrument over MIDI, and other synths' files"},
    {"frmMain", "Help1", "The user guide, first steps and the version"},
    {"frmMain", "AudioSetup1",
     "Audio Setup — the sound output and its format for playing (Ctrl+Q)"},
    {"frmMain", "OpenRecent1",
     "Open recent — the last 8 files loaded, imported or saved, newest first"},
    {"frmMain",
     "RecentFile1 RecentFile2 RecentFile3 RecentFile4 RecentFile5 RecentFile6 "
     "RecentFile7 RecentFile8",
     "Open this file again with the command that suits it (load, MIDI import, wave or audio "
     "import); a file that is gone is taken off the list"},
    {"frmMain", "ClearList1", "Clear list — forget the recent files"},
    {"frmMain", "Exit1", "Exit — close Morvane; asks first when the table has unsaved changes"},
    {"frmMain", "MidiOutput1",
     "MIDI output — the port the instrument is on, and the pause between waves"},
    {"frmMain", "SendToSynth1",
     "Send wavetable to synth — send the selected waves to the instrument over MIDI, into the "
     "WT slot (Ctrl+Shift+S)"},
    {"frmMain", "ImportAudio1",
     "Import audio or wavetable — WAV, AIFF, FLAC, Ogg or another synth's wavetable into "
     "waves From: to To:"},
    {"frmMain", "ExportWavetable2048",
     "Export for other synths — the 64 waves as one WAV file of 2048-sample frames"},
    {"frmMain", "MorvaneHelp1", "Morvane Help — first steps on one page"},
    {"frmMain", "UserGuide1", "User guide — the whole guide with pictures, in a window of its own"},
    {"frmMain", "Youtubedemovideo1",
     "Youtube demovideo — opens the user guide, which shows "
     "the steps in pictures"},
    {"frmMain", "About1", "About — the version and the licence"},
    {"frmMain", "Audition1",
     "Audition — play the table as a wavetable synth does, from a MIDI keyboard or the keys on "
     "screen, with the position in the table moving smoothly"},
    {"frmMain", "WindowScale1",
     "Window scale — how large the window is drawn; takes effect at the next start"},
    {"frmMain", "WindowScaleDesktop", "Follow the desktop's own scale (the default)"},
    {"frmMain", "WindowScale100", "The window at its design size"},
    {"frmMain", "WindowScale125", "The window a quarter larger"},
    {"frmMain", "WindowScale150", "The window half as large again"},
    {"frmMain", "WindowScale200", "The window twice as large"},
    {"frmMain", "WindowScale250", "The window two and a half times as large"},
    {"frmMain", "WindowScale300", "The window three times as large"},

    // ---- Harmonics ----
    {"frmHarmonics", "imgHarmonics",
     "Harmonics 1 to 64: levels above, phases below, DC on the left. Draw with the left button "
     "to set the bars the pointer passes, the right button sets them to zero; one stroke is one "
     "undo step"},
    {"frmHarmonics", "lblHarmonicWave", "The wave the bars show: the current wave"},
    {"frmHarmonics", "lblHarmonicDC", "DC — the wave's offset, as a fraction of full scale"},
    {"frmHarmonics", "lblHarmonicValue", "The harmonic under the pointer: its level and phase"},
    {"frmHarmonics", "cmbHarmonicScale", "Linear or dB — the scale of the level bars"},
    {"frmHarmonics", "cmbSpectralProcessor",
     "The spectral processor Apply runs on the current wave, or on the selected waves"},
    {"frmHarmonics", "lblProcessorStart edtProcessorStart",
     "Start — the processor's value for the first wave of the range"},
    {"frmHarmonics", "lblProcessorEnd edtProcessorEnd",
     "End — its value for the last wave; the waves between get values in a straight line, so "
     "one Apply makes a sweep"},
    {"frmHarmonics", "btnApplyProcessor",
     "Apply — run the processor over the waves, as one undo step"},
    {"frmHarmonics", "lblProcessorRange", "The waves Apply acts on and the values it takes"},
    // ---- Waterfall ----
    {"frmWaterfall", "cmbWaterfallView",
     "Waterfall or Spectrogram — two pictures of the whole table"},
    {"frmWaterfall", "lblWaterfallAngle trbWaterfallAngle",
     "Angle — at 0 degrees the waves recede sideways, at 90 straight up"},
    {"frmWaterfall", "lblWaterfallScale trbWaterfallScale",
     "Depth — how far behind wave 1 wave 64 stands"},
    {"frmWaterfall", "imgWaterfall",
     "The 64 waves, wave 1 in front: the current wave in orange, the selection in green while "
     "F11 is on. Click a wave to make it the current one"},
    {"frmWaterfall", "imgSpectrogram",
     "Harmonics 1 to 64 upwards, waves 1 to 64 across, from -96 dB (black) to 0 dB (pale "
     "yellow). Click a column to make its wave the current one"},
    // ---- Audition ----
    {"frmAudition", "lblMidiInput cmbMidiInput",
     "MIDI input — the keyboard the audition plays from; the choice is remembered"},
    {"frmAudition", "btnMidiInputRescan",
     "Rescan — list the MIDI inputs again, after plugging a keyboard in"},
    {"frmAudition", "lblInterpolation cmbInterpolation",
     "Interpolation — between two waves: Stepped plays the wave below the position, Linear "
     "crossfades the two, Spectral blends their harmonics"},
    {"frmAudition", "lblPosition trbPosition lblPositionValue",
     "Position — where in the table the voice plays, wave 1 to 64; the LFO, the envelope and "
     "the mod wheel move it from here"},
    {"frmAudition", "lblModWheelDepth spnModWheelDepth",
     "Mod wheel — how many waves the position moves at full mod wheel (CC1)"},
    {"frmAudition", "lblLfoShape cmbLfoShape", "LFO shape — triangle or sine"},
    {"frmAudition", "lblLfoRate trbLfoRate lblLfoRateValue", "LFO rate — 0.01 Hz to 20 Hz"},
    {"frmAudition", "lblLfoDepth spnLfoDepth",
     "LFO depth — how many waves the LFO moves the position either way"},
    {"frmAudition", "lblEnvelopeFrom spnEnvelopeFrom",
     "Envelope from — the position's offset, in waves, when a note starts"},
    {"frmAudition", "lblEnvelopeTo spnEnvelopeTo",
     "Envelope to — the offset the position reaches after the envelope's time, and keeps"},
    {"frmAudition", "lblEnvelopeTime spnEnvelopeTime",
     "Envelope time — how long the position takes from the one offset to the other"},
    {"frmAudition", "lblAttack spnAttack", "Attack — how long a note takes to reach full level"},
    {"frmAudition", "lblRelease spnRelease",
     "Release — how long a note takes to fade once its key is let go"},
    {"frmAudition", "imgKeyboard",
     "Keys C3 to B5 — press to play while the audition runs; lower on a key is louder"},
    {"frmAudition", "btnAuditionPlay",
     "Play or Stop the audition, through the device of Audio Setup; stops the main window's "
     "Play"},
    {"frmAudition", "lblAuditionState",
     "The voice's position in the table, and the notes sounding"},
    // ---- Help ----
    {"frmHelp", "Memo1", "First steps; Help › User guide has the whole guide"},
    // ---- User guide ----
    {"frmUserGuide", "txtGuide", "The user guide; links open inside this window"},
    {"frmUserGuide", "btnGuideHome", "Back to the start of the guide"},
    {"frmUserGuide", "btnGuideClose", "Close the guide"},
    // ---- Wavetable selector ----
    {"frmWaveTables", "lbWavetables",
     "The wavetables found in the file; double-click one to load it"},
    {"frmWaveTables", "btnOK", "Okay — load the selected wavetable (Enter)"},
    {"frmWaveTables", "btnCancel", "Cancel — load nothing (Esc)"},
    // ---- Audio setup ----
    {"frmAudioSetup", "Label1 cmbAudioDevice", "Audio devices — where Play sends the sound"},
    {"frmAudioSetup", "Label2 cmbAudioFormats",
     "Audio formats — sample rate and channels the device is opened with"},
    {"frmAudioSetup", "BitBtn1", "OK — use and remember this device and format"},
    {"frmAudioSetup", "BitBtn2", "Cancel — keep the device as it was"},
    // ---- MIDI output ----
    {"frmMidiOutput", "Label1 cmbMidiPort",
     "MIDI output port — the port the instrument is connected to (USB or a MIDI interface)"},
    {"frmMidiOutput", "btnRefresh",
     "Refresh — list the ports again, after switching the instrument on or plugging it in"},
    {"frmMidiOutput", "lblMidiNotes", "MIDI systems that could not be asked for ports"},
    {"frmMidiOutput", "Label2 edtMidiPause lblPauseHint",
     "Pause between waves — time for the instrument to store each wave, 20 to 2,000 ms"},
    {"frmMidiOutput", "BitBtn1", "OK — use and remember this port and pause"},
    {"frmMidiOutput", "BitBtn2", "Cancel — keep the settings as they were"},
    // ---- Audio import ----
    {"frmImportAudio", "lblFile", "The file being imported"},
    {"frmImportAudio", "lblFormat", "The file's format"},
    {"frmImportAudio", "lblTag", "Where the frame length comes from"},
    {"frmImportAudio", "lblMode cmbMode",
     "Import as — Frames: a table cut into frames of a fixed length; Pitch-tracked cycles: one "
     "cycle of a recorded note's own pitch per wave"},
    {"frmImportAudio", "Label1 cmbFrameLength",
     "Frame length — samples per single-cycle frame in the file"},
    {"frmImportAudio", "lblFramesFound", "How many frames the file holds at this length"},
    {"frmImportAudio", "Label2 lbMapping", "Which frame of the file goes to which wave"},
    {"frmImportAudio", "lblPitchFound", "The pitch found in the region, and its nearest note"},
    {"frmImportAudio", "lblPitch edtPitch",
     "Pitch — enter it by hand in Hz (220.5) or as a note (A3, C#2) when the one found is wrong; "
     "empty: the pitch found"},
    {"frmImportAudio", "lblPitchEntered", "The pitch entered, and its nearest note"},
    {"frmImportAudio", "lblRegion edtRegionStart lblRegionTo edtRegionEnd lblRegionLength",
     "Region — the part of the file, in seconds, that the 64 cycles are taken from evenly"},
    {"frmImportAudio", "imgRecording",
     "The file's waveform; the shaded part between the red lines is the region"},
    {"frmImportAudio", "lblPhase cmbPhase",
     "Phase — Keep: each cycle as taken; Align: each wave turned so that its fundamental starts "
     "at phase 0, so that a scan does not comb; Zero: magnitudes kept, every harmonic in sine "
     "phase"},
    {"frmImportAudio", "lblCyclesProblem", "Why the cycles cannot be taken as chosen"},
    {"frmImportAudio",
     "lblCycleFirst imgCycleFirst lblCycleMiddle imgCycleMiddle lblCycleLast imgCycleLast",
     "The first, middle and last wave that OK writes"},
    {"frmImportAudio", "chbNormalise",
     "Normalise — raise or lower the level so that the loudest sample is at full scale"},
    {"frmImportAudio", "btnOK", "OK — import into the waves shown"},
    {"frmImportAudio", "btnCancel", "Cancel — import nothing"},
    // ---- Progress ----
    {"frmProgress", "btnCancel", "Cancel — stop after the wave on its way"},
    // ---- Formula ----
    {"frmFormula", "lblFormula edtFormula",
     "Formula — an expression in x (-1 to 1), w (0 to 1), n, i, y (-1 to 1 over the waves), z "
     "(0 to 1), pi, e and rand(); its value -1 to 1 is the sample. Enter applies it"},
    {"frmFormula", "chbFormulaAddtoexisting",
     "Add to existing wave — checked: join the formula to the wave by the operation; clear: "
     "replace the samples"},
    {"frmFormula", "lblFormulaOperation cmbFormulaOperation",
     "Operation — how the formula joins the wave while \"Add to existing wave\" is checked"},
    {"frmFormula", "btnFormulaApply",
     "Apply — write the formula over the range of the selected waves; one undo step"},
    {"frmFormula", "lblFormulaError", "The parser's message and the position of the fault"},
    {"frmFormula", "lblFormulaScope", "The waves, samples and rules Apply will use"},
    {"frmFormula",
     "lblFormulaFirst imgFormulaFirst lblFormulaMiddle imgFormulaMiddle lblFormulaLast "
     "imgFormulaLast",
     "Preview — the first, middle and last selected wave as Apply would write them; red: the "
     "wave overflows and would be left as it was"},
    {"frmFormula", "lblFormulaExamples lbFormulaExamples",
     "Examples — choose one to put its expression into the box"},
    {"frmFormula", "lblFormulaHistory cmbFormulaHistory",
     "Recent formulas — the last 20 expressions applied, newest first"},
};

void SetTooltip(QObject *object, const QString &text) {
    if (auto *menu = qobject_cast<QMenu *>(object))
        menu->menuAction()->setToolTip(text); // shown in the parent menu, not over the list
    else if (auto *action = qobject_cast<QAction *>(object))
        action->setToolTip(text);
    else if (auto *widget = qobject_cast<QWidget *>(object))
        widget->setToolTip(text);
}

} // namespace

void ApplyTooltips(QWidget &form) {
    const QString formName = form.objectName();
    for (const Tooltip &entry : kTooltips) {
        if (formName != QString::fromLatin1(entry.Form))
            continue;
        const QString text = QString::fromUtf8(entry.Text);
        for (const QString &name :
             QString::fromLatin1(entry.Names).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            for (QObject *object : form.findChildren<QObject *>(name))
                SetTooltip(object, text);
    }
    for (QMenu *menu : form.findChildren<QMenu *>())
        menu->setToolTipsVisible(true);
}

} // namespace morvane::qt
