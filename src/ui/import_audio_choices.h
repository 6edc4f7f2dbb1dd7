#pragma once

#include <functional>
#include <string>
#include <vector>

#include "exchange/audio_import.h"

// What the audio import dialog (frmImportAudio) shows and what it answers. Plain data: the
// dialog itself lives in the Qt layer, the numbers come from the exchange library through the
// two functions.
namespace morvane::ui {

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

// What the import dialog offers for a file read and the target waves first..last. The two
// functions of the result refer to `file`, which must outlive them.
ImportAudioChoices MakeImportAudioChoices(const exchange::AudioFile &file, int first, int last);

// The frame-length list's text for a choice: "2048 samples (from the 'clm ' chunk)",
// "256 samples", "Whole file as one cycle (600 samples)".
std::string FrameLengthText(const exchange::AudioFile &file, int choice);

} // namespace morvane::ui
