#include "script/import_audio_answer.h"

#include <algorithm>

#include "script/script_parser.h"

namespace morvane::script {

ImportAudioChoice ParseImportAudio(const std::vector<std::string> &words) {
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
    if (words[2] != "normalise" && words[2] != "keep")
        throw ScriptError("importaudio needs normalise or keep, not " + Quote(words[2]));
    choice.Normalise = words[2] == "normalise";
    if (words[3] != "ok" && words[3] != "cancel")
        throw ScriptError("importaudio needs ok or cancel, not " + Quote(words[3]));
    choice.Ok = words[3] == "ok";
    return choice;
}

namespace {

std::string LengthWord(int length) {
    return length == 0 ? "whole" : std::to_string(length);
}

} // namespace

ui::ImportAudioAnswer AnswerImportAudio(const ui::ImportAudioChoices &choices,
                                        const ImportAudioChoice &choice, std::string &line,
                                        std::string &failure) {
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
