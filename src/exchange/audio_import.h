#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/wave_message.h"

// Import of audio files and of other synthesizers' wavetables: any file libsndfile reads, and
// Surge's ".wt". The file is cut into frames, each frame is resampled band-limited to one
// 128-sample wave, and the frames are spread over a range of waves.
namespace morvane::exchange {

// Where the frame length of a file comes from, in the order the tags are looked for.
enum class FrameSource { Clm, Srge, Uhwt, Cue, Smpl, WtHeader, Untagged };

// The frame lengths offered for an untagged file; 0 stands for the whole file as one cycle.
inline constexpr int kWholeFile = 0;
inline constexpr int kStandardFrameLengths[] = {128, 256, 512, 1024, 2048, 4096};
// What an untagged file is proposed, unless it is shorter or its length is no multiple.
inline constexpr int kProposedFrameLength = 2048;
// A 64-wave table of 256-sample frames, recognised as such when untagged.
inline constexpr int kTable256Samples = kWaveCount * 256;

// The rate taken for a file that gives none (a Surge .wt): pitches are shown at it.
inline constexpr int kAssumedSampleRate = 44100;

// An audio file as read: its samples mixed to mono at full scale +-1, its rate and its frame tag.
struct AudioFile {
    std::string ShownName;  // the file's name as messages show it, in double quotes
    std::string FormatText; // "WAV, 16-bit integer, 2 channels mixed to mono, 44,100 Hz"
    std::vector<double> Samples;
    int SampleRate = kAssumedSampleRate; // frames per second; Surge .wt files carry none
    FrameSource Source = FrameSource::Untagged;
    int TaggedFrameLength = 0; // the tag's frame length; 0 when untagged
};

// Reads a file; throws morvane::Error with the user's text when it is empty, cannot be read,
// is cut short, holds no sample, is too long, carries a tag that gives no frame length, or is
// tagged with frames longer than the file.
AudioFile ReadAudioFile(const std::string &path);
// The same for bytes in memory; `shownName` names them in messages.
AudioFile ReadAudioBytes(std::span<const std::uint8_t> bytes, const std::string &shownName);

// "'clm ' chunk", "'cue ' points", ..., "no tag".
std::string FrameSourceText(FrameSource source);

// The frame length proposed for the file: the tag's, or for an untagged file 2048, 256 for a
// file of 64 frames of 256 samples, and the whole file when it is shorter than 2048 samples
// or no multiple of 2048.
int ProposedFrameLength(const AudioFile &file);
// The choices offered: the tag's length first when it is not a standard one, then the standard
// lengths, then kWholeFile.
std::vector<int> OfferedFrameLengths(const AudioFile &file);
// The frame length in samples for a choice (kWholeFile: the file's length).
std::int64_t FrameLengthInSamples(const AudioFile &file, int choice);
// Whole frames in the file; samples after the last whole frame are not used.
std::int64_t FrameCount(const AudioFile &file, int choice);

// Which frames make one target wave: the mix (1 - Weight) * frame From + Weight * frame To.
// A wave that takes one frame as it is has From == To and Weight 0.
struct WaveSource {
    int From = 0; // 0-based frame numbers
    int To = 0;
    double Weight = 0.0;
    friend bool operator==(const WaveSource &, const WaveSource &) = default;
};

// The frames of a file spread over waveCount target waves. More frames than waves: evenly
// spaced frames are taken, the first and the last included (a single wave takes the first).
// Fewer: the frames are placed evenly, the first on the first wave and the last on the last,
// and the waves between two placed frames are their linear morph; a single frame fills every
// wave. Equal counts map frame i to wave i.
std::vector<WaveSource> MapFramesToWaves(std::int64_t frameCount, int waveCount);

// The lines the import dialog shows for wave numbers first..last: "Wave 1: frame 1",
// "Wave 2: frames 1 and 2 morphed, 33 % of frame 2".
std::vector<std::string> DescribeMapping(std::int64_t frameCount, int first, int last);
// "256 frames of 2048 samples", or why there are none.
std::string FramesFoundText(const AudioFile &file, int choice);

struct ImportSettings {
    int FrameLength = kWholeFile; // a choice as OfferedFrameLengths gives them
    bool Normalise = true; // loudest sample to full scale, or the file's level kept (1.0 = full)
    int First = 1;         // wave numbers 1..64
    int Last = kWaveCount;
};

// Cuts the file into frames, resamples the frames that the mapping uses to 128 samples,
// spreads them over waves First..Last and writes the samples (headers and names stay).
// Throws morvane::Error before anything changes when the range is empty or holds no whole
// frame. Values beyond full scale (the file's level kept) are clipped.
void ImportAudioFrames(const AudioFile &file, const ImportSettings &settings, Wavetable &table);

} // namespace morvane::exchange
