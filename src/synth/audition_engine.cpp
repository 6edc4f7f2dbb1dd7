#include "synth/audition_engine.h"

#include <algorithm>
#include <cmath>

namespace morvane::synth {

namespace {

// A finite value clamped to [lo, hi]; a non-finite one becomes the fallback.
double Clamp(double value, double lo, double hi, double fallback) {
    if (!std::isfinite(value))
        return fallback;
    return std::clamp(value, lo, hi);
}

} // namespace

AuditionParams ClampParams(const AuditionParams &params) {
    const AuditionParams defaults;
    constexpr double span = kMaxPosition - kMinPosition; // the widest offset, 63 waves
    AuditionParams p = params;
    p.Position = Clamp(p.Position, kMinPosition, kMaxPosition, defaults.Position);
    p.ModWheelDepth = Clamp(p.ModWheelDepth, -span, span, defaults.ModWheelDepth);
    p.LfoRate = Clamp(p.LfoRate, kMinLfoRate, kMaxLfoRate, defaults.LfoRate);
    p.LfoDepth = Clamp(p.LfoDepth, 0.0, span, defaults.LfoDepth);
    p.EnvelopeFrom = Clamp(p.EnvelopeFrom, -span, span, defaults.EnvelopeFrom);
    p.EnvelopeTo = Clamp(p.EnvelopeTo, -span, span, defaults.EnvelopeTo);
    p.EnvelopeSeconds = Clamp(p.EnvelopeSeconds, 0.0, 60.0, defaults.EnvelopeSeconds);
    p.AttackSeconds = Clamp(p.AttackSeconds, 0.0, 10.0, defaults.AttackSeconds);
    p.ReleaseSeconds = Clamp(p.ReleaseSeconds, 0.0, 10.0, defaults.ReleaseSeconds);
    p.Gain = Clamp(p.Gain, 0.0, 1.0, defaults.Gain);
    return p;
}

double NoteFrequency(double note) {
    return kConcertA * std::exp2((note - kConcertANote) / 12.0);
}

} // namespace morvane::synth
