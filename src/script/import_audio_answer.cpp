#include "script/import_audio_answer.h"

#include <algorithm>
#include <cstdio>

#include "script/script_parser.h"

namespace morvane::script {

namespace {

void NormaliseOkWords(const std::vector<std::string> &words, ImportAudioChoice &choice) {
    const std::string &level = words[words.size() - 2];
    const std::string &button = words.back();
    if (level != "normalise" && level != "keep")
        throw ScriptError("importaudio needs normalise or keep, not " + Quote(level));
    choice.Normalise = level == "normalise";
    if (button != "ok" && button != "cancel")
        throw ScriptError("importaudio needs ok or cancel, not " + Quote(button));
    choice.Ok = button == "ok";
}

double Seconds(const std::string &key, const std::string &word) {
    const std::optional<double> seconds = ParseNumber(word);
    if (!seconds || *seconds < 0)
        throw ScriptError("importaudio " + key + " needs seconds, 0 or more, not " + Quote(word));
    return *seconds;
}

// importaudio cycles [pitch HZ|NOTE|auto] [start S] [end S] [phase keep|align|zero] ...
ImportAudioChoice ParseCycles(const std::vector<std::string> &words) {
    const char *const usage = "usage: importaudio cycles [pitch HZ|NOTE|auto] [start S] [end S] "
                              "[phase keep|align|zero] normalise|keep ok|cancel";
    if (words.size() < 4 || words.size() % 2 != 0)
        throw ScriptError(usage);
    ImportAudioChoice choice;
    choice.Cycles = true;
    ui::CyclesChoice &cycles = choice.CyclesAsked;
    std::vector<std::string> seen;
    for (std::size_t i = 2; i + 2 < words.size(); i += 2) {
        const std::string &key = words[i];
        const std::string &value = words[i + 1];
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            throw ScriptError("importaudio cycles takes " + key + " once");
        seen.push_back(key);
        if (key == "pitch") {
            // Checked by the import, as the dialog checks what is typed: a script runs without
            // the audio library too.
            cycles.Pitch = value;
        } else if (key == "start") {
            cycles.Start = Seconds(key, value);
        } else if (key == "end") {
            cycles.End = Seconds(key, value);
        } else if (key == "phase") {
            if (value == "keep")
                cycles.Phase = exchange::PhaseMode::Keep;
            else if (value == "align")
                cycles.Phase = exchange::PhaseMode::Align;
            else if (value == "zero")
                cycles.Phase = exchange::PhaseMode::Zero;
            else
                throw ScriptError("importaudio phase needs keep, align or zero, not " +
                                  Quote(value));
        } else {
            throw ScriptError(usage);
        }
    }
    NormaliseOkWords(words, choice);
    cycles.Normalise = choice.Normalise;
    return choice;
}

} // namespace

ImportAudioChoice ParseImportAudio(const std::vector<std::string> &words) {
    if (words.size() >= 2 && words[1] == "cycles")
        return ParseCycles(words);
    const char *const usage = "usage: importaudio FRAMELEN|auto|whole normalise|keep ok|cancel";
    if (words.size() != 4)
        throw ScriptError(usage);
    ImportAudioChoice choice;
    if (words[1] == "whole") {
        choice.FrameLength = 0;
    } else if (words[1] != "auto") {
        const std::optional<int> length = ParseDecimal(words[1]);
        if (!length || *length <= 0)
            throw ScriptError("importaudio needs a frame length of 1 or more, auto or whole, not " +
                              Quote(words[1]));
        choice.FrameLength = *length;
    }
    NormaliseOkWords(words, choice);
    return choice;
}

namespace {

std::string LengthWord(int length) {
    return length == 0 ? "whole" : std::to_string(length);
}

} // namespace

namespace {

std::string SecondsWord(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string PhaseWord(exchange::PhaseMode phase) {
    switch (phase) {
    case exchange::PhaseMode::Keep:
        return "keep";
    case exchange::PhaseMode::Zero:
        return "zero";
    case exchange::PhaseMode::Align:
        break;
    }
    return "align";
}

// The cycles mode answers whatever the line asks: what the dialog would refuse (a pitch text
// that is none, no pitch found, a region beyond the file) the import itself refuses with its
// message, as after OK.
ui::ImportAudioAnswer AnswerCycles(const ui::ImportAudioChoices &choices,
                                   const ImportAudioChoice &choice, std::string &line) {
    const ui::CyclesChoice &cycles = choice.CyclesAsked;
    const ui::CyclesPreview preview = choices.Cycles ? choices.Cycles(cycles) : ui::CyclesPreview{};
    line = "import-audio: " + choices.FileName + " | " + choices.FormatText + " | opens as " +
           ui::ImportAudioModeText(choices.Mode) + " | " + preview.PitchFound +
           (preview.PitchEntered.empty() ? "" : " | " + preview.PitchEntered) +
           " -> cycles pitch " + (cycles.Pitch.empty() ? "auto" : cycles.Pitch) + " start " +
           SecondsWord(cycles.Start.value_or(choices.RegionStart)) + " end " +
           SecondsWord(cycles.End.value_or(choices.RegionEnd)) + " phase " +
           PhaseWord(cycles.Phase) + " " + (choice.Normalise ? "normalise" : "keep") + " " +
           (choice.Ok ? "ok" : "cancel");
    ui::ImportAudioAnswer answer;
    answer.Ok = choice.Ok;
    answer.Normalise = choice.Normalise;
    answer.Mode = ui::ImportAudioMode::Cycles;
    answer.Cycles = cycles;
    answer.Cycles.Normalise = choice.Normalise;
    return answer;
}

} // namespace

ui::ImportAudioAnswer AnswerImportAudio(const ui::ImportAudioChoices &choices,
                                        const ImportAudioChoice &choice, std::string &line,
                                        std::string &failure) {
    if (choice.Cycles)
        return AnswerCycles(choices, choice, line);
    ui::ImportAudioAnswer answer;
    int index = choices.Proposed;
    if (choice.FrameLength) {
        const auto found = std::find(choices.FrameLengths.begin(), choices.FrameLengths.end(),
                                     *choice.FrameLength);
        if (found == choices.FrameLengths.end()) {
            failure =
                "the audio import dialog offers no frame length " + LengthWord(*choice.FrameLength);
            return answer;
        }
        index = static_cast<int>(found - choices.FrameLengths.begin());
    }
    if (index < 0 || index >= static_cast<int>(choices.FrameLengths.size())) {
        failure = "the audio import dialog offers no frame length";
        return answer;
    }
    const int length = choices.FrameLengths[static_cast<std::size_t>(index)];
    line = "import-audio: " + choices.FileName + " | " + choices.FormatText + " | " +
           choices.TagText + " | " + (choices.FramesFound ? choices.FramesFound(index) : "") +
           " -> " + LengthWord(length) + " " + (choice.Normalise ? "normalise" : "keep") + " " +
           (choice.Ok ? "ok" : "cancel");
    answer.Ok = choice.Ok;
    answer.FrameLength = length;
    answer.Normalise = choice.Normalise;
    return answer;
}

} // namespace morvane::script
