#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exchange/audio_import.h"
#include "exchange/resynthesis.h"
#include "render/recording_picture.h"

// What the audio import dialog (frmImportAudio) shows and what it answers. Plain data: the
// dialog itself lives in the Qt layer, the numbers come from the exchange library through the
// functions.
namespace morvane::ui {

// How the file becomes waves: cut into frames of a fixed length (a table), or one cycle of the
// tracked pitch at each of evenly spaced points (a recording of a note).
enum class ImportAudioMode { Frames, Cycles };

// The choices of the pitch-tracked mode.
struct CyclesChoice {
    std::string Pitch; // entered by hand: Hz or a note name; empty or "auto" for the pitch found
    std::optional<double> Start; // the region in seconds; none: the default region's
    std::optional<double> End;
    exchange::PhaseMode Phase = exchange::PhaseMode::Align;
    bool Normalise = true;
};

// What the pitch-tracked mode shows for a choice, computed through the resynthesis itself.
struct CyclesPreview {
    std::string PitchFound;       // "Pitch found: 220.50 Hz (A3 +0 cents)", or "Pitch found: none"
    std::string PitchEntered;     // "Pitch entered: 261.63 Hz (C4 +0 cents)"; empty when none
    std::string Problem;          // why nothing would be imported; empty when the waves are made
    exchange::ResynthWaves Waves; // the waves OK would write, when Problem is empty
};

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

    // The mode the dialog opens in: pitch-tracked cycles for a file that looks like a recording.
    ImportAudioMode Mode = ImportAudioMode::Frames;
    double Seconds = 0;     // the file's length
    double RegionStart = 0; // the default region in seconds: the file less silence at its ends
    double RegionEnd = 0;
    // The file's waveform, one column per pixel of the dialog's picture.
    std::vector<render::SampleSpan> Recording;
    // The pitch found, the pitch entered and the waves made for a choice of the cycles mode.
    std::function<CyclesPreview(const CyclesChoice &)> Cycles;
};

struct ImportAudioAnswer {
    bool Ok = false;
    int FrameLength = 0; // one of ImportAudioChoices::FrameLengths
    bool Normalise = true;
    ImportAudioMode Mode = ImportAudioMode::Frames;
    CyclesChoice Cycles; // for the cycles mode; its Normalise is the answer's
};

// The mode's name as the dialog lists it. Inline, so that the script layer can name it in a
// build without the audio library.
inline std::string ImportAudioModeText(ImportAudioMode mode) {
    return mode == ImportAudioMode::Cycles ? "Pitch-tracked cycles" : "Frames";
}
// The phase choice's name: "Keep", "Align" and "Zero" as the dialog lists them.
std::string PhaseModeText(exchange::PhaseMode phase);

// What the import dialog offers for a file read and the target waves first..last. The
// functions of the result refer to `file`, which must outlive them.
ImportAudioChoices MakeImportAudioChoices(const exchange::AudioFile &file, int first, int last);

// The frame-length list's text for a choice: "2048 samples (from the 'clm ' chunk)",
// "256 samples", "Whole file as one cycle (600 samples)".
std::string FrameLengthText(const exchange::AudioFile &file, int choice);

// The resynthesis of a cycles choice into waves first..last. Throws morvane::Error with the
// user's text for a pitch text that is neither Hz nor a note, or a region the file refuses.
exchange::ResynthSettings CyclesSettings(const exchange::AudioFile &file,
                                         const CyclesChoice &choice, int first, int last);

// Writes what the dialog answered into waves first..last of `table`: the frames at the length
// chosen, or the cycles of the recording. Throws morvane::Error with the user's text before
// anything changes (no whole frame, a pitch text that is neither, a region refused, no steady
// pitch found).
void ImportAudio(const exchange::AudioFile &file, const ImportAudioAnswer &answer, int first,
                 int last, Wavetable &table);

} // namespace morvane::ui
