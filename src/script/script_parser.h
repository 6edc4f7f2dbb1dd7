#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "document/decimal.h"
#include "edit/random.h"
#include "ui/dialogs.h"

// The language of editor scripts run by `morvane-cli run`: one action per line, words separated
// by blanks, double quotes around a word that holds blanks. This part knows nothing of windows;
// it turns a line into an Action whose words have been checked for form, and leaves it to the
// runner to find the controls and to check values against them.
namespace morvane::script {

// A line that can not be run; the text names what is wrong, the runner adds file and line.
class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::string &text) : std::runtime_error(text) {}
};

// The words of one line. Blanks (spaces, tabs) separate words; in a word that begins with a
// double quote, blanks are kept, \" stands for a quote and \\ for a backslash, and the word ends
// at the closing quote, which must be followed by a blank or the end of the line. "" is an empty
// word. Throws ScriptError on an unterminated quote or an unknown escape.
std::vector<std::string> SplitWords(std::string_view line);

// The inverse for output: the text in double quotes, with " and \ escaped as above.
std::string Quote(std::string_view text);

// The lines of a script with their 1-based numbers; a UTF-8 byte-order mark at the start and a
// carriage return before a line feed are dropped, so scripts written on Windows run as they are.
struct ScriptLine {
    int Number = 0;
    std::string Text;
};
std::vector<ScriptLine> SplitLines(std::string_view text);

enum class ActionKind {
    Click,
    Press,
    Release,
    Set,
    Key,
    KeyDown,
    KeyUp,
    Mouse,
    Answer,
    File,
    NoFile,
    Choose,
    AudioSetup,
    MidiSetup,
    ImportAudio,
    Tick,
    Clock,
    Print,
    SaveGraph,
    SaveOverview,
    SaveBuffers,
    SaveWindow,
    SaveWaterfall,
    SaveSpectrogram,
    Wait,
    Widgets,
    Harmonic,
    Drop,
};

enum class Modifier : unsigned { None = 0, Ctrl = 1, Shift = 2, Alt = 4 };

// A key as the script names it: one of the names KeyNames() accepts, with the modifiers of a
// chord. "Ctrl", "Shift" and "Alt" are keys of their own for keydown and keyup.
struct Chord {
    unsigned Modifiers = 0; // Modifier bits
    std::string Key;        // canonical name: "A".."Z", "0".."9", "F1".."F12", "Enter", ...
};

enum class MousePhase { Down, Move, Up };
enum class MouseButton { None, Left, Right, Middle };

struct MouseAction {
    MousePhase Phase = MousePhase::Down;
    int X = 0;
    int Y = 0;
    // The button the words name; for down and up Left when none is named, for move None.
    MouseButton Button = MouseButton::Left;
    bool Ctrl = false;
    // The picture the event goes to ("on NAME"); empty for the graph imgWaveTables.
    std::string Target;
};

// `harmonic K M P`: harmonic K (0..64) to magnitude M (0 or more, 1.0 = full scale) and phase
// P in degrees.
struct HarmonicSetting {
    int K = 0;
    double Magnitude = 0;
    double Phase = 0;
};

// The wavetable selector's queued answer.
struct SelectorChoice {
    enum class Kind { Name, Index, None, Cancel };
    Kind How = Kind::Cancel;
    std::string Name; // for Name
    int Index = -1;   // for Index, 0-based
};

// The audio setup dialog's queued answer: the device entry by index (-1 for none), the format
// entry by text or by index, or none.
struct AudioSetupChoice {
    int Device = -1;
    enum class FormatKind { Text, Index, None };
    FormatKind Format = FormatKind::None;
    std::string FormatText;
    int FormatIndex = -1;
    bool Ok = false;
};

// The MIDI output dialog's queued answer: the port by name (its name as the system lists it, or
// the entry's whole text), by index, or none; the pause in milliseconds (20..2000).
struct MidiSetupChoice {
    enum class PortKind { Name, Index, None };
    PortKind How = PortKind::None;
    std::string Name;
    int Index = -1;
    int PauseMs = 1000;
    bool Ok = false;
};

// importaudio FRAMELEN|auto|whole normalise|keep ok|cancel
struct ImportAudioChoice {
    std::optional<int> FrameLength; // none: the proposed one; 0: the whole file
    bool Normalise = true;
    bool Ok = false;
};

// Parses the words of the line, "importaudio" and three more; throws ScriptError.
ImportAudioChoice ParseImportAudio(const std::vector<std::string> &words);

struct Action {
    ActionKind Kind = ActionKind::Widgets;
    std::string Name;  // control, timer, pseudo-name or path
    std::string Value; // the value of set
    int Count = 1;     // tick count, wait milliseconds
    Chord Keys;
    MouseAction Mouse;
    morvane::ui::Answer Reply = morvane::ui::Answer::Cancel;
    std::optional<std::string> Path; // file: the path; nofile: none
    SelectorChoice Selector;
    AudioSetupChoice Audio;
    MidiSetupChoice Midi;
    ImportAudioChoice Import; // importaudio
    HarmonicSetting Harmonic; // harmonic
    edit::TimeOfDay Time;
};

// The action on one line, or none for a blank line or a comment. Throws ScriptError for an
// unknown action, a missing or extra word, or a word of the wrong form.
std::optional<Action> ParseLine(std::string_view line);

// "Ctrl+Z", "F5", "W", "3", "Ctrl+Shift+F1": the key names are case-insensitive.
Chord ParseChord(std::string_view text);
// The canonical key names ParseChord accepts besides the modifiers.
const std::vector<std::string> &KeyNames();

// "HH:MM:SS.mmm" within one day.
edit::TimeOfDay ParseTimeOfDay(std::string_view text);

// A decimal number ("0.25", "-90", "1e-3") that is finite; none otherwise.
std::optional<double> ParseNumber(std::string_view text);
// "#N" with N a whole number 0 or more; none otherwise.
std::optional<int> ParseIndexWord(std::string_view text);

// The usage of the language, one action per line, for --help.
std::string LanguageSummary();

} // namespace morvane::script
