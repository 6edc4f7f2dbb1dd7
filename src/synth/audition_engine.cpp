#include "synth/audition_engine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <utility>

#include <fftw3.h>

#include "edit/spectrum.h"

namespace morvane::synth {

namespace {

constexpr int kTableStride = kTableLength + 1;   // one guard sample (a copy of sample 0) per wave
constexpr int kFullHarmonics = kSampleCount / 2; // 64: the most a 128-sample wave holds
constexpr int kBinCount = kTableLength / 2 + 1;  // complex bins of the real 2048-point transform
constexpr int kControlBlock = 32;   // samples between updates of position and pitch (0.7 ms)
constexpr double kLevelFade = 0.25; // share of a level's harmonics over which it fades out
constexpr int kFreeVoice = -1;
constexpr int kToneVoice = -2;
constexpr double kMidiMax = 127.0;        // highest data byte
constexpr double kBendDown = 8192.0;      // pitch bend steps below the centre
constexpr double kBendUp = 8191.0;        // and above it
constexpr std::uint8_t kStatusBit = 0x80; // set in status bytes, clear in data bytes
constexpr std::uint8_t kNoteOffStatus = 0x80;
constexpr std::uint8_t kNoteOnStatus = 0x90;
constexpr std::uint8_t kControlStatus = 0xB0;
constexpr std::uint8_t kBendStatus = 0xE0;
constexpr std::uint8_t kModWheelCc = 1;
constexpr std::uint8_t kSustainCc = 64;
constexpr std::uint8_t kAllSoundOffCc = 120;
constexpr std::uint8_t kAllNotesOffCc = 123;
constexpr std::uint8_t kSustainThreshold = 64; // CC64 values 64..127 are "down"

// A finite value clamped to [lo, hi]; a non-finite one becomes the fallback.
double Clamp(double value, double lo, double hi, double fallback) {
    if (!std::isfinite(value))
        return fallback;
    return std::clamp(value, lo, hi);
}

// The harmonics kept at a mip-map level: 64 at level 0, halved at each level above.
int LevelHarmonics(int level) {
    return kFullHarmonics >> level;
}

// The levels a voice reads at a frequency, and the weight of the richer one. Rich is the lowest
// level (the most harmonics, H) whose every harmonic stays below Nyquist; near the top of the
// pitch range where H is allowed (the last kLevelFade * H of the harmonics allowed, about a
// major third), the voice fades from it into the next level (H / 2), so that a bend or a glide
// never switches a band of harmonics off at once. Rich is -1 when even the fundamental reaches
// Nyquist. Without band limiting, level 0 alone.
struct LevelBlend {
    int Rich = 0;
    int Poor = 0;
    float RichWeight = 1.0f;
};

LevelBlend LevelsFor(double frequency, double sampleRate, bool bandLimit) {
    if (!bandLimit)
        return {};
    const double allowed = 0.5 * sampleRate / frequency; // harmonics below Nyquist, fractional
    for (int level = 0; level < kLevelCount; ++level) {
        const int harmonics = LevelHarmonics(level);
        if (harmonics < allowed) {
            if (level == kLevelCount - 1)
                return {level, level, 1.0f};
            const double weight = std::min(1.0, (allowed - harmonics) / (kLevelFade * harmonics));
            return {level, level + 1, static_cast<float>(weight)};
        }
    }
    return {-1, -1, 0.0f};
}

// Wait-free hand-over of a large value from one writer thread to one reader thread: the writer
// fills Back() and publishes it; the reader's Read() takes the newest published slot. Three
// preallocated slots, so neither side ever waits for the other. The slots are left as the
// allocator gives them (a page of the table is touched only when first written), and the reader
// sees nothing until the first value is published.
template <typename T> class TripleBuffer {
public:
    TripleBuffer() {
        for (auto &slot : Slots)
            slot = std::make_unique_for_overwrite<T>();
    }
    T &Back() { return *Slots[static_cast<std::size_t>(Writing)]; }
    int BackIndex() const { return Writing; } // writer: which of the three slots Back() is
    // Writer: Back() becomes the newest value; the writer continues on a slot the reader does
    // not hold.
    void Publish() {
        Writing = Middle.exchange(Writing | kFresh, std::memory_order_acq_rel) & kIndex;
    }
    // Reader: the newest published value, the one it held, or null before the first.
    const T *Read() {
        if (Middle.load(std::memory_order_acquire) & kFresh) {
            Reading = Middle.exchange(Reading, std::memory_order_acq_rel) & kIndex;
            Taken = true;
        }
        return Taken ? Slots[static_cast<std::size_t>(Reading)].get() : nullptr;
    }

private:
    static constexpr int kIndex = 3; // the slot number in Middle
    static constexpr int kFresh = 4; // Middle holds a value the reader has not taken yet
    std::array<std::unique_ptr<T>, 3> Slots;
    int Writing = 0;            // writer's own
    std::atomic<int> Middle{1}; // shared
    int Reading = 2;            // reader's own
    bool Taken = false;         // reader's own: a value was published
};

// The waves as the voices read them: per level, the 64 waves and the spectral in-betweens,
// kSpectralSteps grid points per pair of waves (wave w at grid point (w - 1) * kSpectralSteps),
// each a cycle of kTableLength samples plus the guard sample, in units of full scale.
struct MipMap {
    std::array<float, static_cast<std::size_t>(kLevelCount) * kGridWaves * kTableStride> Samples;

    const float *Wave(int level, int grid) const {
        return Samples.data() +
               (static_cast<std::size_t>(level) * kGridWaves + static_cast<std::size_t>(grid)) *
                   kTableStride;
    }
    float *Wave(int level, int grid) {
        return const_cast<float *>(std::as_const(*this).Wave(level, grid));
    }
};

enum class EventKind { NoteOn, ToneOn, NoteOff, ModWheel, PitchBend, Sustain, AllNotesOff };

struct Event {
    EventKind Kind = EventKind::AllNotesOff;
    int Note = 0;
    int Value = 0; // velocity, CC value, bend steps, pedal down (1) or up (0)
    double Frequency = 0.0;
};

// Bounded lock-free queue for many producers and one consumer (Vyukov's bounded queue): each
// cell carries a sequence number that says whose turn it is, so producers only race on one
// counter and never wait for each other's copy.
class EventQueue {
public:
    EventQueue() {
        for (std::size_t i = 0; i < Cells.size(); ++i)
            Cells[i].Sequence.store(i, std::memory_order_relaxed);
    }
    bool Push(const Event &event) {
        std::size_t position = EnqueuePosition.load(std::memory_order_relaxed);
        for (;;) {
            Cell &cell = Cells[position & kMask];
            const std::size_t sequence = cell.Sequence.load(std::memory_order_acquire);
            if (sequence == position) {
                if (EnqueuePosition.compare_exchange_weak(position, position + 1,
                                                          std::memory_order_relaxed)) {
                    cell.Data = event;
                    cell.Sequence.store(position + 1, std::memory_order_release);
                    return true;
                }
            } else if (sequence < position) {
                return false; // full: the consumer has not freed this cell yet
            } else {
                position = EnqueuePosition.load(std::memory_order_relaxed);
            }
        }
    }
    // Consumer only.
    bool Pop(Event &event) {
        Cell &cell = Cells[DequeuePosition & kMask];
        if (cell.Sequence.load(std::memory_order_acquire) != DequeuePosition + 1)
            return false;
        event = cell.Data;
        cell.Sequence.store(DequeuePosition + Cells.size(), std::memory_order_release);
        ++DequeuePosition;
        return true;
    }

private:
    static_assert((kEventCapacity & (kEventCapacity - 1)) == 0, "a power of two");
    static constexpr std::size_t kMask = kEventCapacity - 1;
    struct Cell {
        std::atomic<std::size_t> Sequence{0};
        Event Data;
    };
    std::array<Cell, kEventCapacity> Cells;
    std::atomic<std::size_t> EnqueuePosition{0};
    std::size_t DequeuePosition = 0;
};

struct Voice {
    int Note = kFreeVoice;    // 0..127, kToneVoice or kFreeVoice
    double BaseFrequency = 0; // Hz, before pitch bend
    double Velocity = 0;      // 0..1
    double Phase = 0;         // 0..1 of the cycle
    double Amplitude = 0;     // envelope level 0..1
    double ReleaseStep = 0;   // per sample, while releasing
    double Seconds = 0;       // since the note started, for the position envelope
    bool Releasing = false;
    bool Sustained = false;  // key up while the pedal is down
    std::uint64_t Order = 0; // start order: the lowest is the oldest
    double LastPosition = kMinPosition;
};

double LfoValue(LfoShape shape, double phase) {
    if (shape == LfoShape::Sine)
        return std::sin(2.0 * std::numbers::pi * phase);
    // Triangle from 0 up to 1, down to -1 and back to 0, like the sine.
    if (phase < 0.25)
        return 4.0 * phase;
    if (phase < 0.75)
        return 2.0 - 4.0 * phase;
    return 4.0 * phase - 4.0;
}

double EnvelopeOffset(const AuditionParams &p, double seconds) {
    if (p.EnvelopeSeconds <= 0.0 || seconds >= p.EnvelopeSeconds)
        return p.EnvelopeTo;
    return p.EnvelopeFrom + (p.EnvelopeTo - p.EnvelopeFrom) * (seconds / p.EnvelopeSeconds);
}

double ClampPosition(double position) {
    return std::clamp(position, kMinPosition, kMaxPosition);
}

// One sample of a cycle by linear interpolation; phase in [0, 1).
float ReadCycle(const float *wave, double phase) {
    const double x = phase * kTableLength;
    const int i = std::min(static_cast<int>(x), kTableLength - 1);
    const float fraction = static_cast<float>(x - i);
    return wave[i] + fraction * (wave[i + 1] - wave[i]);
}

// The grid points around a position and the weight of the second, by interpolation mode.
struct GridPair {
    int First = 0;
    int Second = 0;
    float Weight = 0.0f;
};

GridPair GridFor(Interpolation mode, double position) {
    const double x = position - kMinPosition; // 0..63
    switch (mode) {
    case Interpolation::Stepped:
        return {static_cast<int>(x) * kSpectralSteps, static_cast<int>(x) * kSpectralSteps, 0.0f};
    case Interpolation::Linear: {
        const int wave = std::min(static_cast<int>(x), kWaveCount - 2);
        return {wave * kSpectralSteps, (wave + 1) * kSpectralSteps, static_cast<float>(x - wave)};
    }
    case Interpolation::Spectral: {
        const double g = x * kSpectralSteps;
        const int grid = std::min(static_cast<int>(g), kGridWaves - 2);
        return {grid, grid + 1, static_cast<float>(g - grid)};
    }
    }
    return {};
}

// The waves around a position at one level, blended, at a phase.
float ReadBlend(const MipMap &table, int level, const GridPair &grid, double phase) {
    const float first = ReadCycle(table.Wave(level, grid.First), phase);
    if (grid.Weight == 0.0f)
        return first;
    return first + grid.Weight * (ReadCycle(table.Wave(level, grid.Second), phase) - first);
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

struct AuditionEngine::Impl {
    explicit Impl(double sampleRate) : SampleRate(sampleRate) {
        Bins = fftw_alloc_complex(kBinCount);
        Time = fftw_alloc_real(kTableLength);
        Inverse =
            fftw_plan_dft_c2r_1d(kTableLength, Bins, Time, FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
    }
    ~Impl() {
        fftw_destroy_plan(Inverse);
        fftw_free(Bins);
        fftw_free(Time);
    }
    Impl(const Impl &) = delete;
    Impl &operator=(const Impl &) = delete;

    void BuildTable(const Wavetable &table);
    void Apply(const Event &event, const AuditionParams &p);
    void StartVoice(int note, double frequency, int velocity);
    void Release(Voice &voice, const AuditionParams &p) const;
    void RenderVoice(Voice &voice, const MipMap *table, const AuditionParams &p, float *out,
                     int frames, double from, double to, double bendFactor) const;

    double SampleRate;
    // Owner thread: the transform and the spectra of the table being built.
    fftw_complex *Bins = nullptr;
    double *Time = nullptr;
    fftw_plan Inverse = nullptr;
    std::array<edit::Spectrum, kWaveCount> Spectra{};
    edit::Spectrum Between{}; // the in-between being built
    // What each table slot was last built from, so that an edit rebuilds only the waves it
    // changed (and the in-betweens next to them).
    std::array<Wavetable, 3> SlotSources{};
    std::array<bool, 3> SlotBuilt{};
    // Shared.
    TripleBuffer<MipMap> Tables;
    TripleBuffer<AuditionParams> Params;
    EventQueue Events;
    // Bit n: the note off of note n found the queue full and waits for the next Render.
    std::array<std::atomic<std::uint64_t>, 2> PendingOffs{};
    std::atomic<bool> PendingAllOff{false};
    // Render thread's own.
    std::array<Voice, kVoiceCount> Voices{};
    std::uint64_t NextOrder = 0;
    double Wheel = 0.0;     // 0..1, as last received
    double WheelRamp = 0.0; // the value reached at the end of the last control block
    double Bend = 0.0;      // semitones
    bool PedalDown = false;
    double LfoPhase = 0.0;
};

void AuditionEngine::Impl::BuildTable(const Wavetable &table) {
    const auto slot = static_cast<std::size_t>(Tables.BackIndex());
    std::array<bool, kWaveCount> changed{};
    for (int w = 0; w < kWaveCount; ++w) {
        const auto i = static_cast<std::size_t>(w);
        Spectra[i] = edit::Analyse(table, w);
        changed[i] =
            !SlotBuilt[slot] ||
            !std::equal(table.SamplePtr(w, 0), table.SamplePtr(w, kSampleCount - 1) + kSampleBytes,
                        SlotSources[slot].SamplePtr(w, 0));
    }
    MipMap &map = Tables.Back();
    for (int grid = 0; grid < kGridWaves; ++grid) {
        const int pair = grid / kSpectralSteps;
        const int step = grid % kSpectralSteps;
        const auto first = static_cast<std::size_t>(pair);
        if (!changed[first] && (step == 0 || !changed[first + 1]))
            continue;
        const edit::Spectrum *spectrum = &Spectra[static_cast<std::size_t>(pair)];
        if (step != 0) {
            // Magnitude and phase of each harmonic moved a fraction of the way to the next
            // wave's, the phase the short way round; a harmonic absent from one side takes the
            // other side's phase, so that it only fades. DC and the top harmonic are real.
            const edit::Spectrum &a = Spectra[static_cast<std::size_t>(pair)];
            const edit::Spectrum &b = Spectra[static_cast<std::size_t>(pair) + 1];
            const double t = static_cast<double>(step) / kSpectralSteps;
            edit::Spectrum &mix = Between;
            for (int k = 0; k < edit::kHarmonicCount; ++k) {
                const auto i = static_cast<std::size_t>(k);
                if (k == 0 || k == edit::kTopHarmonic) {
                    mix.Cos[i] = a.Cos[i] + t * (b.Cos[i] - a.Cos[i]);
                    mix.Sin[i] = 0.0;
                    continue;
                }
                const std::complex<double> za(a.Cos[i], a.Sin[i]);
                const std::complex<double> zb(b.Cos[i], b.Sin[i]);
                const double ma = std::abs(za);
                const double mb = std::abs(zb);
                double pa = std::arg(za);
                double pb = std::arg(zb);
                if (ma < edit::kNegligibleMagnitude)
                    pa = pb;
                if (mb < edit::kNegligibleMagnitude)
                    pb = pa;
                const double turn = std::remainder(pb - pa, 2.0 * std::numbers::pi);
                const std::complex<double> z = std::polar(ma + t * (mb - ma), pa + t * turn);
                mix.Cos[i] = z.real();
                mix.Sin[i] = z.imag();
            }
            spectrum = &mix;
        }
        for (int level = 0; level < kLevelCount; ++level) {
            // Zero-padded inverse transform: the 2048-sample cycle passes through the 128
            // samples of the wave (every 16th sample) with only the level's harmonics. A bin
            // below the transform's own Nyquist counts twice in the real output, hence the
            // halves; the units stay those of full scale.
            const int top = LevelHarmonics(level);
            std::fill(Bins[0], Bins[0] + 2 * kBinCount, 0.0);
            Bins[0][0] = spectrum->Cos[0];
            for (int k = 1; k <= top; ++k) {
                Bins[k][0] = 0.5 * spectrum->Cos[static_cast<std::size_t>(k)];
                Bins[k][1] = -0.5 * spectrum->Sin[static_cast<std::size_t>(k)];
            }
            fftw_execute(Inverse);
            float *wave = map.Wave(level, grid);
            for (int m = 0; m < kTableLength; ++m)
                wave[m] = static_cast<float>(Time[m]);
            wave[kTableLength] = wave[0];
        }
    }
    SlotSources[slot] = table;
    SlotBuilt[slot] = true;
    Tables.Publish();
}

void AuditionEngine::Impl::StartVoice(int note, double frequency, int velocity) {
    Voice *voice = nullptr;
    for (Voice &v : Voices)
        if (v.Note == kFreeVoice) {
            voice = &v;
            break;
        }
    const bool stolen = voice == nullptr;
    if (stolen)
        voice =
            &*std::min_element(Voices.begin(), Voices.end(),
                               [](const Voice &a, const Voice &b) { return a.Order < b.Order; });
    // A stolen voice keeps its phase and level and rises from there, so the change of note
    // does not click.
    if (!stolen) {
        voice->Phase = 0.0;
        voice->Amplitude = 0.0;
    }
    voice->Note = note;
    voice->BaseFrequency = frequency;
    voice->Velocity = velocity / kMidiMax;
    voice->Seconds = 0.0;
    voice->Releasing = false;
    voice->Sustained = false;
    voice->Order = ++NextOrder;
}

void AuditionEngine::Impl::Release(Voice &voice, const AuditionParams &p) const {
    voice.Releasing = true;
    voice.Sustained = false;
    const double samples = p.ReleaseSeconds * SampleRate;
    voice.ReleaseStep = samples >= 1.0 ? voice.Amplitude / samples : voice.Amplitude;
}

void AuditionEngine::Impl::Apply(const Event &event, const AuditionParams &p) {
    switch (event.Kind) {
    case EventKind::NoteOn:
        StartVoice(event.Note, NoteFrequency(event.Note), event.Value);
        break;
    case EventKind::ToneOn:
        StartVoice(kToneVoice, event.Frequency, event.Value);
        break;
    case EventKind::NoteOff:
        for (Voice &v : Voices)
            if (v.Note == event.Note && !v.Releasing) {
                if (PedalDown)
                    v.Sustained = true;
                else
                    Release(v, p);
            }
        break;
    case EventKind::ModWheel:
        Wheel = event.Value / kMidiMax;
        break;
    case EventKind::PitchBend:
        Bend = kPitchBendRange * event.Value / (event.Value < 0 ? kBendDown : kBendUp);
        break;
    case EventKind::Sustain:
        PedalDown = event.Value != 0;
        if (!PedalDown)
            for (Voice &v : Voices)
                if (v.Sustained)
                    Release(v, p);
        break;
    case EventKind::AllNotesOff:
        for (Voice &v : Voices)
            if (v.Note != kFreeVoice && !v.Releasing)
                Release(v, p);
        break;
    }
}

void AuditionEngine::Impl::RenderVoice(Voice &voice, const MipMap *table, const AuditionParams &p,
                                       float *out, int frames, double from, double to,
                                       double bendFactor) const {
    const double frequency = voice.BaseFrequency * bendFactor;
    const double increment = frequency / SampleRate;
    const LevelBlend levels = LevelsFor(frequency, SampleRate, p.BandLimit);
    const double attackSamples = p.AttackSeconds * SampleRate;
    const double attackStep = attackSamples >= 1.0 ? 1.0 / attackSamples : 1.0;
    const float gain = static_cast<float>(voice.Velocity * p.Gain);
    const double slope = (to - from) / frames;
    for (int i = 0; i < frames; ++i) {
        if (voice.Releasing) {
            voice.Amplitude -= voice.ReleaseStep;
            if (voice.Amplitude <= 0.0) {
                voice.Amplitude = 0.0;
                voice.Note = kFreeVoice;
                return;
            }
        } else if (voice.Amplitude < 1.0) {
            voice.Amplitude = std::min(1.0, voice.Amplitude + attackStep);
        }
        if (levels.Rich >= 0 && table != nullptr) {
            const GridPair grid = GridFor(p.Mode, from + slope * i);
            float value = ReadBlend(*table, levels.Rich, grid, voice.Phase);
            if (levels.RichWeight < 1.0f)
                value += (1.0f - levels.RichWeight) *
                         (ReadBlend(*table, levels.Poor, grid, voice.Phase) - value);
            out[i] += value * gain * static_cast<float>(voice.Amplitude);
        }
        voice.Phase += increment;
        if (voice.Phase >= 1.0)
            voice.Phase -= std::floor(voice.Phase);
    }
}

AuditionEngine::AuditionEngine(double sampleRate)
    : SampleRateHz(sampleRate > 0.0 && std::isfinite(sampleRate) ? sampleRate : 44100.0),
      State(std::make_unique<Impl>(SampleRateHz)) {
    for (auto &note : VoiceNoteView)
        note.store(kFreeVoice, std::memory_order_relaxed);
    SetParams(AuditionParams{});
}

AuditionEngine::~AuditionEngine() = default;

void AuditionEngine::SetTable(const Wavetable &table) {
    State->BuildTable(table);
}

void AuditionEngine::SetParams(const AuditionParams &params) {
    State->Params.Back() = ClampParams(params);
    State->Params.Publish();
}

bool AuditionEngine::NoteOn(int note, int velocity) {
    if (velocity <= 0)
        return NoteOff(note);
    return State->Events.Push(
        {EventKind::NoteOn, std::clamp(note, 0, 127), std::min(velocity, 127), 0.0});
}

bool AuditionEngine::ToneOn(double frequency, int velocity) {
    if (!std::isfinite(frequency) || frequency <= 0.0 || velocity <= 0)
        return false;
    return State->Events.Push({EventKind::ToneOn, kToneVoice, std::min(velocity, 127), frequency});
}

bool AuditionEngine::NoteOff(int note) {
    if (note < 0 || note > 127)
        return true; // no voice plays it
    // A lost note off would leave the note sounding: when the queue is full it waits aside.
    if (!State->Events.Push({EventKind::NoteOff, note, 0, 0.0}))
        State->PendingOffs[static_cast<std::size_t>(note / 64)].fetch_or(
            std::uint64_t{1} << (note % 64), std::memory_order_release);
    return true;
}

bool AuditionEngine::ModWheel(int value) {
    return State->Events.Push({EventKind::ModWheel, 0, std::clamp(value, 0, 127), 0.0});
}

bool AuditionEngine::PitchBend(int value) {
    return State->Events.Push({EventKind::PitchBend, 0, std::clamp(value, -8192, 8191), 0.0});
}

bool AuditionEngine::AllNotesOff() {
    if (!State->Events.Push({EventKind::AllNotesOff, 0, 0, 0.0}))
        State->PendingAllOff.store(true, std::memory_order_release);
    return true;
}

bool AuditionEngine::Sustain(bool down) {
    return State->Events.Push({EventKind::Sustain, 0, down ? 1 : 0, 0.0});
}

bool AuditionEngine::PostMidi(std::span<const std::uint8_t> message) {
    if (message.size() < 3 || (message[0] & kStatusBit) == 0 || (message[1] & kStatusBit) != 0 ||
        (message[2] & kStatusBit) != 0)
        return true;
    const std::uint8_t kind = message[0] & 0xF0; // the channel is in the low four bits
    const int data1 = message[1];
    const int data2 = message[2];
    switch (kind) {
    case kNoteOnStatus:
        return data2 == 0 ? NoteOff(data1) : NoteOn(data1, data2);
    case kNoteOffStatus:
        return NoteOff(data1);
    case kControlStatus:
        if (data1 == kModWheelCc)
            return ModWheel(data2);
        if (data1 == kSustainCc)
            return Sustain(data2 >= kSustainThreshold);
        if (data1 == kAllSoundOffCc || data1 == kAllNotesOffCc)
            return AllNotesOff();
        return true;
    case kBendStatus:
        return PitchBend((data2 << 7 | data1) - 8192); // 14 bits, low byte first
    default:
        return true;
    }
}

void AuditionEngine::Render(float *out, int frames) {
    Impl &s = *State;
    const AuditionParams &p = *s.Params.Read(); // published by the constructor
    const MipMap *table = s.Tables.Read();      // null (silence) until the first SetTable
    Event event;
    while (s.Events.Pop(event))
        s.Apply(event, p);
    for (std::size_t word = 0; word < s.PendingOffs.size(); ++word)
        for (std::uint64_t bits = s.PendingOffs[word].exchange(0, std::memory_order_acquire);
             bits != 0; bits &= bits - 1)
            s.Apply(
                {EventKind::NoteOff, static_cast<int>(word * 64) + std::countr_zero(bits), 0, 0.0},
                p);
    if (s.PendingAllOff.exchange(false, std::memory_order_acquire))
        s.Apply({EventKind::AllNotesOff, 0, 0, 0.0}, p);

    const double bendFactor = std::exp2(s.Bend / 12.0);
    double shared = ClampPosition(p.Position + p.ModWheelDepth * s.WheelRamp +
                                  p.LfoDepth * LfoValue(p.LfoWave, s.LfoPhase));
    for (int done = 0; done < frames;) {
        const int n = std::min(kControlBlock, frames - done);
        float *block = out + done;
        std::fill(block, block + n, 0.0f);
        // The terms every voice shares, at the start and the end of the block; the voices ramp
        // between them, so a jump of the wheel or the slider does not step.
        const double seconds = n / s.SampleRate;
        const double sharedFrom =
            p.ModWheelDepth * s.WheelRamp + p.LfoDepth * LfoValue(p.LfoWave, s.LfoPhase);
        s.LfoPhase += p.LfoRate * seconds;
        s.LfoPhase -= std::floor(s.LfoPhase);
        s.WheelRamp = s.Wheel;
        const double sharedTo =
            p.ModWheelDepth * s.WheelRamp + p.LfoDepth * LfoValue(p.LfoWave, s.LfoPhase);
        shared = ClampPosition(p.Position + sharedTo);
        for (Voice &voice : s.Voices) {
            if (voice.Note == kFreeVoice)
                continue;
            const double from =
                ClampPosition(p.Position + sharedFrom + EnvelopeOffset(p, voice.Seconds));
            voice.Seconds += seconds;
            const double to =
                ClampPosition(p.Position + sharedTo + EnvelopeOffset(p, voice.Seconds));
            voice.LastPosition = to;
            s.RenderVoice(voice, table, p, block, n, from, to, bendFactor);
        }
        done += n;
    }

    // What the window shows: the newest sounding voice's position, else the shared one.
    const Voice *newest = nullptr;
    int active = 0;
    for (std::size_t i = 0; i < s.Voices.size(); ++i) {
        const Voice &voice = s.Voices[i];
        VoiceNoteView[i].store(voice.Note, std::memory_order_relaxed);
        if (voice.Note == kFreeVoice)
            continue;
        ++active;
        if (newest == nullptr || voice.Order > newest->Order)
            newest = &voice;
    }
    ActiveVoiceCount.store(active, std::memory_order_relaxed);
    CurrentPosition.store(newest ? newest->LastPosition : shared, std::memory_order_relaxed);
}

std::array<int, kVoiceCount> AuditionEngine::VoiceNotes() const {
    std::array<int, kVoiceCount> notes{};
    for (std::size_t i = 0; i < notes.size(); ++i)
        notes[i] = VoiceNoteView[i].load(std::memory_order_relaxed);
    return notes;
}

} // namespace morvane::synth
