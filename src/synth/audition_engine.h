#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

#include "document/wave_message.h"

// The audition voice: plays the 64 waves of a table as a wavetable synthesizer does, with a
// continuous position in the table, band-limited at every pitch. Qt-free and real-time safe on
// the rendering side.
//
// Threads. One "owner" thread (the window, or the render command) constructs the engine and calls
// SetTable and SetParams; one real-time thread calls Render; any number of other threads (the
// MIDI input callback, the on-screen keyboard) post events. Render, the event calls and
// Position() never allocate, lock, throw or do I/O. The table and the parameters reach Render
// through wait-free triple buffers, the events through a preallocated lock-free queue.
namespace morvane::synth {

// How the position blends the waves of the table.
enum class Interpolation {
    Stepped,  // the wave at round-down(position)
    Linear,   // a crossfade of the two neighbouring waves
    Spectral, // magnitudes and phases of the two neighbours interpolated, harmonic by harmonic
};

enum class LfoShape { Triangle, Sine };

inline constexpr int kVoiceCount = 8;              // polyphony; the oldest voice is taken
inline constexpr double kMinPosition = 1.0;        // wave 1 ...
inline constexpr double kMaxPosition = kWaveCount; // ... to wave 64
inline constexpr double kMinLfoRate = 0.01;        // Hz
inline constexpr double kMaxLfoRate = 20.0;        // Hz
inline constexpr double kPitchBendRange = 2.0;     // semitones either way
inline constexpr double kConcertA = 440.0;         // Hz of MIDI note 69
inline constexpr int kConcertANote = 69;           // A4
inline constexpr int kEventCapacity = 1024;        // posted events not yet rendered
inline constexpr int kTableLength = 2048;          // samples per cycle of a mip-map wave
inline constexpr int kLevelCount = 7;              // mip-map levels: 64, 32, ... 1 harmonics
inline constexpr int kSpectralSteps = 8;           // spectral in-betweens per pair of waves
inline constexpr int kGridWaves = (kWaveCount - 1) * kSpectralSteps + 1; // 505 per level

// Everything the window sets, as one plain value. Positions are in wave numbers (1..64, may be
// fractional); offsets are in waves and may be negative. The sum
//   Position + ModWheelDepth * wheel + LfoDepth * lfo(t) + envelope(t)
// (wheel 0..1 from CC1; lfo -1..1, one free-running LFO for all voices; envelope from
// EnvelopeFrom to EnvelopeTo over EnvelopeSeconds after each note starts, then held) is clamped
// to 1..64. SetParams clamps every field to its
// range and replaces non-finite values by the defaults below.
struct AuditionParams {
    Interpolation Mode = Interpolation::Linear;
    double Position = 1.0;      // base position, 1..64
    double ModWheelDepth = 0.0; // waves added at full mod wheel, -63..63
    double LfoRate = 1.0;       // Hz, kMinLfoRate..kMaxLfoRate
    LfoShape LfoWave = LfoShape::Triangle;
    double LfoDepth = 0.0;        // peak waves, 0..63
    double EnvelopeFrom = 0.0;    // offset at note start, -63..63
    double EnvelopeTo = 0.0;      // offset after EnvelopeSeconds, -63..63
    double EnvelopeSeconds = 1.0; // 0..60; 0 jumps to EnvelopeTo at once
    double AttackSeconds = 0.005; // amplitude rise from 0 to full, 0..10
    double ReleaseSeconds = 0.05; // amplitude fall from the current level to 0, 0..10
    double Gain = 0.25;           // linear, applied to the sum of the voices, 0..1
    // Pick the mip-map level by pitch, so that no harmonic passes Nyquist. Off plays the full
    // table (all 64 harmonics) at every pitch: only for tables known to have no harmonics above
    // Nyquist at the pitch played, e.g. to compare rendered cycles with the waves exactly.
    bool BandLimit = true;

    friend bool operator==(const AuditionParams &, const AuditionParams &) = default;
};

// The parameters as SetParams uses them: every field in its range, non-finite ones replaced.
AuditionParams ClampParams(const AuditionParams &params);

// Equal temperament: 440 * 2^((note - 69 + bendSemitones) / 12).
double NoteFrequency(double note);

class AuditionEngine {
public:
    // Plans the transforms and allocates every buffer: three table slots of 29 MB each, whose
    // pages are touched only as SetTable first fills them. FFTW's planner is not thread-safe:
    // construct engines on the editor's main thread, where its other transforms are planned.
    // Owner thread. The engine is silent until the first SetTable; sampleRate in Hz (> 0; any
    // other value is taken as 44,100).
    explicit AuditionEngine(double sampleRate);
    ~AuditionEngine();
    AuditionEngine(const AuditionEngine &) = delete;
    AuditionEngine &operator=(const AuditionEngine &) = delete;

    double SampleRate() const { return SampleRateHz; }

    // Builds the mip-map and the spectral in-betweens of the table (some tens of milliseconds)
    // and hands them to Render: the first Render call that starts after SetTable returns plays
    // the new table. Sounding voices keep their phase. Owner thread only.
    void SetTable(const Wavetable &table);
    // Takes effect at the next Render call. Owner thread only.
    void SetParams(const AuditionParams &params);

    // Events, from any thread, wait-free for practical purposes (lock-free queue); they take
    // effect at the start of the next Render call. A note on or a controller is dropped, and
    // the call returns false, when kEventCapacity events are already waiting; a note off or all
    // notes off is never lost (it waits aside and returns true), so that no note hangs. Events
    // posted while no Render runs wait for the first one.
    // note 0..127, velocity 1..127 (out-of-range values are clamped; velocity 0 is a note off).
    bool NoteOn(int note, int velocity);
    // A note at any frequency (Hz, > 0): for the render command. NoteOff(-1) does not end it;
    // AllNotesOff does.
    bool ToneOn(double frequency, int velocity);
    bool NoteOff(int note);
    bool ModWheel(int value);  // CC1, 0..127
    bool PitchBend(int value); // -8192..8191, full range = kPitchBendRange semitones
    bool AllNotesOff();        // releases every voice
    // The sustain pedal (CC64): while down, released keys keep sounding until it comes up.
    bool Sustain(bool down);
    // One channel-voice message from a MIDI port, any channel: note on/off (a note on with
    // velocity 0 is a note off), CC1, CC64 (>= 64 down), CC120/CC123 (all sound/notes off),
    // pitch bend. Other
    // messages, and malformed or short ones, are ignored (returns true). Any thread.
    bool PostMidi(std::span<const std::uint8_t> message);

    // Mixes frames mono samples into out (overwriting it). Real-time thread: no allocation,
    // lock, throw or I/O. frames >= 0, any size.
    void Render(float *out, int frames);

    // The position (1..64) of the most recently started voice still sounding, or of the base
    // position with the mod wheel and the LFO when none sounds; updated by every Render call.
    // Any thread.
    double Position() const { return CurrentPosition.load(std::memory_order_relaxed); }
    // Voices sounding (attack, hold or release) after the last Render call. Any thread.
    int ActiveVoices() const { return ActiveVoiceCount.load(std::memory_order_relaxed); }
    // The note each voice plays after the last Render call (-1: free; -2: a ToneOn). For tests
    // and displays. Any thread.
    std::array<int, kVoiceCount> VoiceNotes() const;

private:
    struct Impl;
    double SampleRateHz;
    std::unique_ptr<Impl> State;
    std::atomic<double> CurrentPosition{kMinPosition};
    std::atomic<int> ActiveVoiceCount{0};
    std::array<std::atomic<int>, kVoiceCount> VoiceNoteView;
};

} // namespace morvane::synth
