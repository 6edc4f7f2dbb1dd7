#include "script/script_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace morvane::script {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

void ExpectWords(const std::vector<std::string> &words, std::size_t least, std::size_t most,
                 const char *usage) {
    if (words.size() - 1 < least || words.size() - 1 > most)
        throw ScriptError(std::string("usage: ") + usage);
}

int NonNegative(const std::string &word, const char *what) {
    const auto n = ParseDecimal(word);
    if (!n || *n < 0)
        throw ScriptError(std::string(what) + " must be a whole number 0 or more, not " +
                          Quote(word));
    return *n;
}

MouseAction ParseMouse(const std::vector<std::string> &words) {
    static const char *usage = "mouse down|move|up X Y [left|right|middle] [ctrl] [on NAME]";
    ExpectWords(words, 3, 7, usage);
    MouseAction mouse;
    const std::string phase = Lower(words[1]);
    if (phase == "down")
        mouse.Phase = MousePhase::Down;
    else if (phase == "move")
        mouse.Phase = MousePhase::Move;
    else if (phase == "up")
        mouse.Phase = MousePhase::Up;
    else
        throw ScriptError(std::string("usage: ") + usage);
    const auto x = ParseDecimal(words[2]);
    const auto y = ParseDecimal(words[3]);
    if (!x || !y)
        throw ScriptError("mouse position must be whole numbers, not " + Quote(words[2]) + " " +
                          Quote(words[3]));
    mouse.X = *x;
    mouse.Y = *y;
    mouse.Button = mouse.Phase == MousePhase::Move ? MouseButton::None : MouseButton::Left;
    bool buttonNamed = false;
    std::size_t end = words.size();
    if (end >= 6 && words[end - 2] == "on") {
        mouse.Target = words[end - 1];
        end -= 2;
    }
    for (std::size_t i = 4; i < end; ++i) {
        const std::string word = Lower(words[i]);
        if (!buttonNamed && !mouse.Ctrl &&
            (word == "left" || word == "right" || word == "middle")) {
            mouse.Button = word == "left"    ? MouseButton::Left
                           : word == "right" ? MouseButton::Right
                                             : MouseButton::Middle;
            buttonNamed = true;
        } else if (!mouse.Ctrl && word == "ctrl") {
            mouse.Ctrl = true;
        } else {
            throw ScriptError(std::string("usage: ") + usage);
        }
    }
    return mouse;
}

HarmonicSetting ParseHarmonic(const std::vector<std::string> &words) {
    ExpectWords(words, 3, 3, "harmonic K M P");
    HarmonicSetting harmonic;
    const auto k = ParseDecimal(words[1]);
    if (!k || *k < 0 || *k > 64)
        throw ScriptError("the harmonic is a whole number from 0 to 64, not " + Quote(words[1]));
    const auto m = ParseNumber(words[2]);
    if (!m || *m < 0)
        throw ScriptError("the magnitude is a number of 0 or more, not " + Quote(words[2]));
    const auto p = ParseNumber(words[3]);
    if (!p)
        throw ScriptError("the phase is a number of degrees, not " + Quote(words[3]));
    harmonic.K = *k;
    harmonic.Magnitude = *m;
    harmonic.Phase = *p;
    return harmonic;
}

SelectorChoice ParseSelector(const std::string &word) {
    SelectorChoice choice;
    if (word == "none") {
        choice.How = SelectorChoice::Kind::None;
    } else if (word == "cancel") {
        choice.How = SelectorChoice::Kind::Cancel;
    } else if (const auto index = ParseIndexWord(word)) {
        choice.How = SelectorChoice::Kind::Index;
        choice.Index = *index;
    } else if (!word.empty() && word[0] == '#') {
        throw ScriptError("choose #N needs a whole number 0 or more, not " + Quote(word));
    } else {
        choice.How = SelectorChoice::Kind::Name;
        choice.Name = word;
    }
    return choice;
}

// A dialog's closing button word, in any case: true for ok, false for cancel.
bool OkOrCancel(const std::string &word, const std::string &what) {
    const std::string button = Lower(word);
    if (button != "ok" && button != "cancel")
        throw ScriptError(what + " is ok or cancel, not " + Quote(word));
    return button == "ok";
}

AudioSetupChoice ParseAudioSetup(const std::vector<std::string> &words) {
    ExpectWords(words, 3, 3, "audiosetup DEVICE FORMAT ok|cancel");
    AudioSetupChoice choice;
    if (words[1] == "none")
        choice.Device = -1;
    else
        choice.Device = NonNegative(words[1], "the device index");
    if (words[2] == "none") {
        choice.Format = AudioSetupChoice::FormatKind::None;
    } else if (const auto index = ParseIndexWord(words[2])) {
        choice.Format = AudioSetupChoice::FormatKind::Index;
        choice.FormatIndex = *index;
    } else {
        choice.Format = AudioSetupChoice::FormatKind::Text;
        choice.FormatText = words[2];
    }
    choice.Ok = OkOrCancel(words[3], "the audio setup button");
    return choice;
}

MidiSetupChoice ParseMidiSetup(const std::vector<std::string> &words) {
    ExpectWords(words, 3, 3, "midisetup PORT|#N|none PAUSE ok|cancel");
    MidiSetupChoice choice;
    if (words[1] == "none") {
        choice.How = MidiSetupChoice::PortKind::None;
    } else if (const auto index = ParseIndexWord(words[1])) {
        choice.How = MidiSetupChoice::PortKind::Index;
        choice.Index = *index;
    } else {
        choice.How = MidiSetupChoice::PortKind::Name;
        choice.Name = words[1];
    }
    const auto pause = ParseDecimal(words[2]);
    if (!pause || *pause < 20 || *pause > 2000)
        throw ScriptError("the MIDI pause is 20 to 2000 ms, not " + Quote(words[2]));
    choice.PauseMs = *pause;
    choice.Ok = OkOrCancel(words[3], "the MIDI output button");
    return choice;
}

struct ActionName {
    const char *Word;
    ActionKind Kind;
};

constexpr ActionName kActions[] = {
    {"click", ActionKind::Click},
    {"press", ActionKind::Press},
    {"release", ActionKind::Release},
    {"set", ActionKind::Set},
    {"key", ActionKind::Key},
    {"keydown", ActionKind::KeyDown},
    {"keyup", ActionKind::KeyUp},
    {"mouse", ActionKind::Mouse},
    {"answer", ActionKind::Answer},
    {"file", ActionKind::File},
    {"nofile", ActionKind::NoFile},
    {"choose", ActionKind::Choose},
    {"audiosetup", ActionKind::AudioSetup},
    {"midisetup", ActionKind::MidiSetup},
    {"importaudio", ActionKind::ImportAudio},
    {"tick", ActionKind::Tick},
    {"clock", ActionKind::Clock},
    {"print", ActionKind::Print},
    {"save-graph", ActionKind::SaveGraph},
    {"save-overview", ActionKind::SaveOverview},
    {"save-buffers", ActionKind::SaveBuffers},
    {"save-window", ActionKind::SaveWindow},
    {"save-waterfall", ActionKind::SaveWaterfall},
    {"save-spectrogram", ActionKind::SaveSpectrogram},
    {"wait", ActionKind::Wait},
    {"widgets", ActionKind::Widgets},
    {"harmonic", ActionKind::Harmonic},
    {"drop", ActionKind::Drop},
};

} // namespace

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
        while (i < n && IsBlank(line[i]))
            ++i;
        if (i >= n)
            break;
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                const char c = line[i];
                if (c == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (c == '\\') {
                    if (i + 1 >= n || (line[i + 1] != '"' && line[i + 1] != '\\'))
                        throw ScriptError("only \\\" and \\\\ may follow a backslash in quotes");
                    word += line[i + 1];
                    i += 2;
                    continue;
                }
                word += c;
                ++i;
            }
            if (!closed)
                throw ScriptError("a quoted word is not closed");
            if (i < n && !IsBlank(line[i]))
                throw ScriptError("a blank must follow the closing quote");
        } else {
            while (i < n && !IsBlank(line[i])) {
                if (line[i] == '"')
                    throw ScriptError("a quote inside a word; quote the whole word");
                word += line[i];
                ++i;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::string Quote(std::string_view text) {
    std::string result = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            result += '\\';
        result += c;
    }
    result += '"';
    return result;
}

std::vector<ScriptLine> SplitLines(std::string_view text) {
    // Editors on Windows often begin a UTF-8 file with a byte-order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    std::vector<ScriptLine> lines;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back({++number, std::string(line)});
        start = end + 1;
    }
    return lines;
}

std::optional<double> ParseNumber(std::string_view text) {
    if (text.empty() || text[0] == '+')
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ParseIndexWord(std::string_view text) {
    if (text.size() < 2 || text[0] != '#' || text[1] == '-' || text[1] == '+')
        return std::nullopt;
    return ParseDecimal(text.substr(1));
}

const std::vector<std::string> &KeyNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (char c = 'A'; c <= 'Z'; ++c)
            list.emplace_back(1, c);
        for (char c = '0'; c <= '9'; ++c)
            list.emplace_back(1, c);
        for (int f = 1; f <= 12; ++f)
            list.push_back("F" + std::to_string(f));
        for (int d = 0; d <= 9; ++d)
            list.push_back("Num" + std::to_string(d));
        for (const char *name :
             {"Enter", "Escape", "Tab", "Space", "Backspace", "Delete", "Insert", "Home", "End",
              "PageUp", "PageDown", "Left", "Right", "Up", "Down", "Ctrl", "Shift", "Alt"})
            list.emplace_back(name);
        return list;
    }();
    return names;
}

Chord ParseChord(std::string_view text) {
    Chord chord;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = text.find('+', start);
        parts.emplace_back(
            text.substr(start, plus == std::string_view::npos ? text.npos : plus - start));
        if (plus == std::string_view::npos)
            break;
        start = plus + 1;
    }
    auto canonical = [&](const std::string &part) -> std::string {
        const std::string lower = Lower(part);
        if (lower == "return")
            return "Enter";
        if (lower == "esc")
            return "Escape";
        if (lower == "control")
            return "Ctrl";
        for (const auto &name : KeyNames())
            if (Lower(name) == lower)
                return name;
        throw ScriptError("unknown key " + Quote(part) + " in " + Quote(text));
    };
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::string name = canonical(parts[i]);
        unsigned bit = 0;
        if (name == "Ctrl")
            bit = static_cast<unsigned>(Modifier::Ctrl);
        else if (name == "Shift")
            bit = static_cast<unsigned>(Modifier::Shift);
        else if (name == "Alt")
            bit = static_cast<unsigned>(Modifier::Alt);
        if (bit == 0 || (chord.Modifiers & bit) != 0)
            throw ScriptError("only Ctrl, Shift and Alt, each once, may come before the key in " +
                              Quote(text));
        chord.Modifiers |= bit;
    }
    chord.Key = canonical(parts.back());
    return chord;
}

edit::TimeOfDay ParseTimeOfDay(std::string_view text) {
    // HH:MM:SS.mmm, exactly 12 characters
    auto digits = [&](std::size_t at, std::size_t count) -> int {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(text[i])))
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const auto bad = [&] {
        return ScriptError("the clock reads HH:MM:SS.mmm within one day, not " + Quote(text));
    };
    if (text.size() != 12 || text[2] != ':' || text[5] != ':' || text[8] != '.')
        throw bad();
    edit::TimeOfDay time{digits(0, 2), digits(3, 2), digits(6, 2), digits(9, 3)};
    if (time.Hour < 0 || time.Hour > 23 || time.Minute < 0 || time.Minute > 59 || time.Second < 0 ||
        time.Second > 59 || time.Millisecond < 0)
        throw bad();
    return time;
}

std::optional<Action> ParseLine(std::string_view line) {
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first]))
        ++first;
    if (first == line.size() || line[first] == '#')
        return std::nullopt;
    const std::vector<std::string> words = SplitWords(line);
    Action action;
    const ActionName *known = nullptr;
    for (const auto &entry : kActions)
        if (words[0] == entry.Word)
            known = &entry;
    if (known == nullptr)
        throw ScriptError("unknown action " + Quote(words[0]));
    action.Kind = known->Kind;
    switch (action.Kind) {
    case ActionKind::Click:
    case ActionKind::Press:
    case ActionKind::Release:
    case ActionKind::Print:
        ExpectWords(words, 1, 1, (words[0] + " NAME").c_str());
        action.Name = words[1];
        break;
    case ActionKind::Set:
        ExpectWords(words, 2, 2, "set NAME VALUE");
        action.Name = words[1];
        action.Value = words[2];
        break;
    case ActionKind::Key:
        ExpectWords(words, 1, 1, "key CHORD");
        action.Keys = ParseChord(words[1]);
        break;
    case ActionKind::KeyDown:
    case ActionKind::KeyUp:
        ExpectWords(words, 1, 1, (words[0] + " KEY").c_str());
        action.Keys = ParseChord(words[1]);
        if (action.Keys.Modifiers != 0)
            throw ScriptError(words[0] + " takes one key, not the chord " + Quote(words[1]));
        break;
    case ActionKind::Mouse:
        action.Mouse = ParseMouse(words);
        break;
    case ActionKind::Answer: {
        ExpectWords(words, 1, 1, "answer yes|no|cancel");
        const std::string reply = Lower(words[1]);
        if (reply == "yes")
            action.Reply = morvane::ui::Answer::Yes;
        else if (reply == "no")
            action.Reply = morvane::ui::Answer::No;
        else if (reply == "cancel")
            action.Reply = morvane::ui::Answer::Cancel;
        else
            throw ScriptError("usage: answer yes|no|cancel");
        break;
    }
    case ActionKind::File:
        ExpectWords(words, 1, 1, "file PATH");
        if (words[1].empty())
            throw ScriptError("file needs a path; nofile cancels the dialog");
        action.Path = words[1];
        break;
    case ActionKind::NoFile:
    case ActionKind::Widgets:
        ExpectWords(words, 0, 0, words[0].c_str());
        break;
    case ActionKind::Choose:
        ExpectWords(words, 1, 1, "choose NAME|#N|none|cancel");
        action.Selector = ParseSelector(words[1]);
        break;
    case ActionKind::AudioSetup:
        action.Audio = ParseAudioSetup(words);
        break;
    case ActionKind::MidiSetup:
        action.Midi = ParseMidiSetup(words);
        break;
    case ActionKind::ImportAudio:
        action.Import = ParseImportAudio(words);
        break;
    case ActionKind::Tick:
        ExpectWords(words, 1, 2, "tick NAME [N]");
        action.Name = words[1];
        action.Count = words.size() > 2 ? NonNegative(words[2], "the tick count") : 1;
        break;
    case ActionKind::Clock:
        ExpectWords(words, 1, 1, "clock HH:MM:SS.mmm");
        action.Time = ParseTimeOfDay(words[1]);
        break;
    case ActionKind::SaveGraph:
    case ActionKind::SaveOverview:
    case ActionKind::SaveBuffers:
    case ActionKind::SaveWindow:
    case ActionKind::SaveWaterfall:
    case ActionKind::SaveSpectrogram:
    case ActionKind::Drop:
        ExpectWords(words, 1, 1, (words[0] + " PATH").c_str());
        if (words[1].empty())
            throw ScriptError(words[0] + " needs a path");
        action.Name = words[1];
        break;
    case ActionKind::Wait:
        ExpectWords(words, 1, 1, "wait MS");
        action.Count = NonNegative(words[1], "the wait");
        break;
    case ActionKind::Harmonic:
        action.Harmonic = ParseHarmonic(words);
        break;
    }
    return action;
}

std::string LanguageSummary() {
    return "  click NAME                 click a button, speed button, radio button, check box\n"
           "                             or menu item\n"
           "  press NAME / release NAME  mouse button down / up on a button\n"
           "  set NAME VALUE             combo or list: item text or #N; track or scroll bar:\n"
           "                             position; edit: text; check box or radio: on|off\n"
           "  key CHORD                  press and release a key or chord: F5, Enter, Ctrl+Z, W\n"
           "  keydown KEY / keyup KEY    one key down or up, e.g. keydown Ctrl\n"
           "  mouse down|move|up X Y [left|right|middle] [ctrl] [on NAME]\n"
           "                             a mouse event on the graph (or the picture NAME,\n"
           "                             e.g. imgHarmonics) at pixel X, Y\n"
           "  harmonic K M P             harmonic K (0..64) of the waves an edit applies to:\n"
           "                             magnitude M (1.0 = full scale), phase P degrees\n"
           "  answer yes|no|cancel       queue the answer to the next confirmation box\n"
           "  file PATH / nofile         queue the next file dialog's answer, or cancel\n"
           "  choose NAME|#N|none|cancel queue the wavetable selector's answer\n"
           "  audiosetup DEVICE FORMAT ok|cancel\n"
           "                             queue the audio setup's answer (FORMAT text, #N, none)\n"
           "  midisetup PORT PAUSE ok|cancel\n"
           "                             queue the MIDI output's answer (PORT name, #N, none;\n"
           "                             PAUSE 20..2000 ms)\n"
           "  importaudio FRAMELEN|auto|whole normalise|keep ok|cancel\n"
           "  importaudio cycles [pitch HZ|NOTE|auto] [start S] [end S]\n"
           "              [phase keep|align|zero] normalise|keep ok|cancel\n"
           "                             queue the audio import's answer\n"
           "  tick NAME [N]              fire the timer NAME N times\n"
           "  clock HH:MM:SS.mmm         the UTC time of day that seeds the random generator\n"
           "  print NAME                 print a control's state, or title, modified, current,\n"
           "                             history, harmonics\n"
           "  save-graph PATH            write the graph picture (384 x 384) as PNG\n"
           "  save-overview PATH         write the overview picture (128 x 129) as PNG\n"
           "  save-buffers PATH          write the play buffers as 16-bit little-endian samples\n"
           "  save-window PATH           write a picture of the whole window as PNG\n"
           "  save-waterfall PATH        write the waterfall of the table (800 x 600) as PNG\n"
           "  save-spectrogram PATH      write the spectrogram of the table (800 x 600) as PNG\n"
           "  wait MS                    let the event loop run for MS milliseconds\n"
           "  widgets                    list every control and menu item\n"
           "  drop PATH                  drop the file PATH on the window\n";
}

} // namespace morvane::script
