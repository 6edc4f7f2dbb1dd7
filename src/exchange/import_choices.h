#pragma once

#include "exchange/audio_import.h"
#include "ui/import_audio_choices.h"

namespace morvane::exchange {

// What the import dialog offers for a file read and the target waves first..last. The two
// functions of the result refer to `file`, which must outlive them.
ImportAudioChoices MakeImportAudioChoices(const AudioFile &file, int first, int last);

// The frame-length list's text for a choice: "2048 samples (from the 'clm ' chunk)",
// "256 samples", "Whole file as one cycle (600 samples)".
std::string FrameLengthText(const AudioFile &file, int choice);

} // namespace morvane::exchange
