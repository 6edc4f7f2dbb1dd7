#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the audio import dialog (frmImportAudio) shows and what it answers, and the scripted
// answer to it. Plain data: the dialog itself lives in the Qt layer, the numbers come from the
// exchange library through the two functions.
namespace morvane {

struct ImportAudioChoices {
    std::string FileName;          // as messages show it, in double quotes
    std::string FormatText;        // "WAV, 16-bit integer, stereo mixed to mono, 44,100 Hz"
    std::string TagText;           // where the frame length comes from
    std::vector<int> FrameLengths; // the choices; 0 is the whole file as one cycle
    std::vector<std::string> FrameLengthTexts; // their texts, for the list
    int Proposed = 0;                          // index into FrameLengths
    int First = 1;                             // the target waves, CmbWTFrom .. CmbWTTo
    int Last = 64;
    // For the choice with this index: "256 frames of 2,048 samples", and one line per target
    // wave saying which frames it takes.
    std::function<std::string(int index)> FramesFound;
    std::function<std::vector<std::string>(int index)> Mapping;
};

struct ImportAudioAnswer {
    bool Ok = false;
    int FrameLength = 0; // one of ImportAudioChoices::FrameLengths
    bool Normalise = true;
};

namespace script {

// importaudio FRAMELEN|auto|whole normalise|keep ok|cancel
struct ImportAudioChoice {
    std::optional<int> FrameLength; // none: the proposed one; 0: the whole file
    bool Normalise = true;
    bool Ok = false;
};

// Parses the words of the line, "importaudio" and three more; throws script::ScriptError.
ImportAudioChoice ParseImportAudio(const std::vector<std::string> &words);

} // namespace script

namespace ui {

// The scripted dialog's answer: the frame length asked for must be one the dialog offers.
// Returns the answer and the line the script output shows; on a choice the dialog does not
// offer, sets `failure` and answers Cancel.
ImportAudioAnswer AnswerImportAudio(const ImportAudioChoices &choices,
                                    const script::ImportAudioChoice &choice, std::string &line,
                                    std::string &failure);

} // namespace ui

} // namespace morvane
