#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "document/wave_message.h"
#include "exchange/audio_import.h"

// Pitch-tracked resynthesis: a recording of a note becomes a table of single cycles. The
// fundamental period is tracked over the part of the file the user picks, one cycle of exactly
// the tracked (fractional) period is taken at each of evenly spaced points, and each cycle is
// resampled band-limited to one 128-sample wave.
//
// Everything here runs on the user-interface thread (the transforms share FFTW's planner, which
// is not thread-safe). Positions and periods are in samples of the file, fractional where said.
namespace morvane::exchange {

// The pitches that are looked for and accepted by hand, in Hz.
inline constexpr double kLowestPitchHz = 20.0;
inline constexpr double kHighestPitchHz = 2000.0;
// An untagged file longer than this is taken for a recording when its length is no multiple of
// a standard frame length.
inline constexpr std::int64_t kLongestTableLikeFile = 4096;

// A stretch of the file: samples Start .. End - 1. A valid region has 0 <= Start < End <= the
// file's length.
struct Region {
    std::int64_t Start = 0;
    std::int64_t End = 0;
    friend bool operator==(const Region &, const Region &) = default;
};

// The whole file less the silence at either end (samples below -60 dB of the file's peak); the
// whole file when it is silent throughout.
Region DefaultRegion(const AudioFile &file);
// The region from start and end times in seconds; a time left out is the default region's.
// Throws morvane::Error with the user's text when a time is negative, not a number, beyond the
// file's end, or the end does not come after the start.
Region ChooseRegion(const AudioFile &file, std::optional<double> startSeconds,
                    std::optional<double> endSeconds);
// A sample position in seconds at the file's rate.
double SecondsAt(const AudioFile &file, double samplePosition);

// A frequency in Hz from "220.5" (a decimal number, optionally followed by "Hz") or a note name
// "A3", "C#2", "Bb1" (letter, optional # or b, octave -1..9; A4 = 440 Hz, equal temperament).
// Nothing when the text is neither or the pitch lies outside kLowestPitchHz..kHighestPitchHz.
std::optional<double> ParsePitch(const std::string &text);
// The message for a text that ParsePitch refuses.
std::string BadPitchText(const std::string &text);

// The nearest equal-tempered note with sharps and the deviation in whole cents:
// "A3 +2 cents", "C#2 -13 cents", "E4 +0 cents".
std::string NoteText(double hz);
// "220.50 Hz (A3 +0 cents)": Hz to 2 decimals, as the window shows the pitch found.
std::string PitchText(double hz);
// "pitch: 220.50 Hz (A3 +0 cents), period 200.00 samples": period to 2 decimals.
std::string PitchLine(double periodSamples, int sampleRate);

// Where the cycles are taken: Count cycles (1..64), cycle i starting at the fractional position
// Start[i] and being Period[i] samples long, both within the region. The cycles are evenly
// spaced over the region, in order.
struct PitchTrack {
    int Count = 0;
    std::array<double, kWaveCount> Start{};
    std::array<double, kWaveCount> Period{};
    double MedianPeriod = 0.0; // the pitch shown: the median of the cycles' periods
};

// Tracks the period at `count` (1..64) evenly spaced points of the region. With pitchHz given,
// that pitch picks the octave and every point looks for its period within a semitone of it;
// where it finds none (noise), the given period is taken as it is. Without, the pitch is found
// in 20 Hz..2 kHz, and an unpitched or silent region throws morvane::Error "No steady pitch found
// in ..." naming the file and the region and suggesting to enter the pitch by hand. Also throws
// when the region is invalid or shorter than one period.
PitchTrack TrackPitch(const AudioFile &file, Region region, int count = kWaveCount,
                      std::optional<double> pitchHz = std::nullopt);

// How the phase of each cycle is treated.
enum class PhaseMode {
    Keep,  // the cycle as it is, starting where it was taken
    Align, // rotated so that its fundamental has phase 0 (sine phase), so that a scan does not
           // comb; the alternating component (harmonic 64), which cannot be turned, is left out
    Zero,  // magnitudes kept, every harmonic in sine phase
};

struct ResynthSettings {
    Region Span;                   // where the cycles come from
    std::optional<double> PitchHz; // the pitch entered by hand, if any
    PhaseMode Phase = PhaseMode::Align;
    bool Normalise = true; // the loudest sample to full scale, or the file's level kept
    int First = 1;         // target wave numbers 1..64; one cycle per wave
    int Last = kWaveCount;
};

// The waves as they go into the table, for the preview and for storing.
struct ResynthWaves {
    int First = 1; // wave number of Waves[0]
    int Count = 0; // Last - First + 1
    std::array<std::array<std::int32_t, kSampleCount>, kWaveCount> Waves{};
    PitchTrack Track;
    double PitchHz = 0.0; // at the file's rate, from Track.MedianPeriod
};

// Tracks the pitch and makes one wave per target wave. Throws morvane::Error with the user's
// text before anything is made when the range is no range of waves, the region is invalid or
// no steady pitch is found. Values beyond full scale (the level kept) are clipped.
ResynthWaves Resynthesise(const AudioFile &file, const ResynthSettings &settings);
// Writes the waves' samples into waves First .. First + Count - 1 (headers and names stay).
void StoreResynthesis(const ResynthWaves &waves, Wavetable &table);

// An untagged file longer than 4,096 samples whose length is no multiple of a standard frame
// length: almost always a recording of a note rather than a table.
bool LooksLikeRecording(const AudioFile &file);

} // namespace morvane::exchange
