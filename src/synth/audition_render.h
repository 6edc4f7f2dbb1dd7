#pragma once

#include <vector>

#include "document/wave_message.h"
#include "synth/audition_engine.h"

// One note of the audition rendered without a sound device, through the same engine and the same
// Render calls as the device's stream.
namespace morvane::synth {

inline constexpr int kRenderPeriod = 256; // frames per Render call, as a device period

struct AuditionRender {
    double Frequency = 261.6255653005986; // Hz, below SampleRate / 2 (default: note 60)
    double From = kMinPosition;           // position when the note starts, 1..64
    double To = kMinPosition;             // position when it ends, reached linearly
    Interpolation Mode = Interpolation::Linear;
    double Seconds = 2.0;      // the note is held this long, then released
    double SampleRate = 44100; // Hz
};

// The note at full velocity and gain 1 (a full-scale wave gives samples of +-1), with the
// engine's default attack, held for Seconds while the position moves from From to To, then its
// release (the default ReleaseSeconds) until silent: round(SampleRate * (Seconds +
// ReleaseSeconds)) mono samples. Owner thread (builds an engine of its own).
std::vector<float> RenderAudition(const Wavetable &table, const AuditionRender &request);

} // namespace morvane::synth
