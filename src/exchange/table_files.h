#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/wave_message.h"
#include "exchange/resynthesis.h"

// Whole tables to and from every file the program knows, for the command line: ".syx", ".mid",
// Morvane's own ".wav" (32-bit sign and magnitude), the 2048-sample export and any audio file
// the import reads.
namespace morvane::exchange {

enum class TableFormat { Syx, Midi, MorvaneWav, Wav2048 };

// "syx", "mid", "wav", "wav2048"; none for another word.
std::optional<TableFormat> ParseTableFormat(const std::string &word);
// By the file's name: ".syx"; ".mid" or ".midi"; ".wav" is Morvane's own unless the name
// before the extension ends in "2048" ("pad-2048.wav", "pad.2048.wav"), which picks the
// export for other synths. Letter case does not matter. None for other names.
std::optional<TableFormat> TableFormatFromName(const std::string &path);

// Pitch-tracked resynthesis of an audio file into 64 waves, instead of cutting it into frames.
struct ResynthOptions {
    std::optional<double> PitchHz;      // none: found in the file
    std::optional<double> StartSeconds; // none: the default region's (silence left out)
    std::optional<double> EndSeconds;
    PhaseMode Phase = PhaseMode::Align;
};

struct LoadOptions {
    std::string MidiName;           // the wavetable of a MIDI file; empty: the first found
    std::optional<int> FrameLength; // audio files: none for the proposed one, 0 the whole file
    bool Normalise = true;          // audio files: loudest sample to full scale
    std::optional<ResynthOptions> Resynth; // audio files only: resynthesise the recording
};

// What the file holds, recognised by its bytes: a MIDI file ("MThd"), Morvane's own WAV (its
// 44-byte header and 8,192 sample-and-magnitude samples of the table's range), a ".syx"
// (messages from F0), or else an audio file for the import. The table starts as a new table
// (names "untitled", slot 0); the file then fills what it holds. Audio and own WAV files give
// the table the file's name. Throws morvane::Error with the user's text.
Wavetable LoadTableFile(const std::string &path, const LoadOptions &options = {});
// What the window's box would say about a file it loads only in part (skipped or cut messages,
// waves the instrument cannot take); empty when nothing is to be said. Incomplete: messages were
// skipped or cut, so the table is not all the file was meant to hold.
struct LoadReport {
    std::string Text;
    bool Incomplete = false;
};
// The same, with that report.
Wavetable LoadTableFile(const std::string &path, const LoadOptions &options, LoadReport &report);

// Writes the whole table (waves 1 to 64). `slot` 80..118 is stamped into ".syx" and ".mid";
// none: the slot the table holds, or 80 when it holds none. Throws morvane::Error.
void SaveTableFile(const std::string &path, TableFormat format, const Wavetable &table,
                   std::optional<int> slot = std::nullopt);

// What a file holds, one "key: value" line each.
std::vector<std::string> DescribeTableFile(const std::string &path);
// The pitch of an audio file over its default region: "pitch: 220.50 Hz (A3 +4 cents), period
// 200.00 samples". Throws morvane::Error with the refusal when none is found, or when the file
// is no audio file.
std::string DescribePitch(const std::string &path);

} // namespace morvane::exchange
