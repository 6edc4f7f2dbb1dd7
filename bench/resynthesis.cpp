// Resynthesis of a long recording: a 60-second, 48 kHz stereo note (16-bit WAV, written once to
// a temporary file) read and turned into 64 waves, against a plain libsndfile read of the same
// file into memory. Target: the whole resynthesis within 1 s and within 5 times the plain read.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include <sndfile.h>
#include <unistd.h>

#include "exchange/audio_import.h"
#include "exchange/resynthesis.h"

namespace {

using namespace morvane;

constexpr int kRate = 48000;
constexpr int kSeconds = 60;
constexpr int kChannels = 2;

// A sung-like note: 196 Hz with a 5 Hz vibrato of +-1 %, 24 harmonics under a falling envelope,
// the right channel a little darker than the left, and a second of fade at either end.
std::string WriteNote() {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("morvane-bench-note-" + std::to_string(::getpid()) + ".wav"))
                                 .string();
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = kChannels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return {};
    constexpr std::int64_t kFrames = std::int64_t{kRate} * kSeconds;
    constexpr int kHarmonics = 24;
    std::vector<double> block;
    double phase = 0.0;
    for (std::int64_t n = 0; n < kFrames; ++n) {
        const double t = static_cast<double>(n) / kRate;
        const double hz = 196.0 * (1.0 + 0.01 * std::sin(2 * std::numbers::pi * 5.0 * t));
        phase += hz / kRate;
        phase -= std::floor(phase);
        const double fade = std::min({1.0, t, static_cast<double>(kSeconds) - t});
        double left = 0.0;
        double right = 0.0;
        for (int k = 1; k <= kHarmonics; ++k) {
            const double s = std::sin(2 * std::numbers::pi * k * phase) / k;
            left += s;
            right += s / (1.0 + 0.05 * k);
        }
        block.push_back(0.3 * fade * left);
        block.push_back(0.3 * fade * right);
        if (block.size() == 8192 || n + 1 == kFrames) {
            sf_write_double(file, block.data(), static_cast<sf_count_t>(block.size()));
            block.clear();
        }
    }
    sf_close(file);
    return path;
}

const std::string &NotePath() {
    static const std::string path = WriteNote();
    return path;
}

// Open, make room, read every frame as doubles, close: what any program reading the file does.
void BM_PlainSndfileRead(benchmark::State &state) {
    for (auto _ : state) {
        std::vector<double> samples;
        SF_INFO info{};
        SNDFILE *file = sf_open(NotePath().c_str(), SFM_READ, &info);
        if (file == nullptr) {
            state.SkipWithError("cannot open the note");
            break;
        }
        samples.resize(static_cast<std::size_t>(info.frames) *
                       static_cast<std::size_t>(info.channels));
        benchmark::DoNotOptimize(sf_readf_double(file, samples.data(), info.frames));
        sf_close(file);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainSndfileRead)->Unit(benchmark::kMillisecond);

void BM_ReadAndResynthesise(benchmark::State &state) {
    for (auto _ : state) {
        const exchange::AudioFile file = exchange::ReadAudioFile(NotePath());
        exchange::ResynthSettings settings;
        settings.Span = exchange::DefaultRegion(file);
        const exchange::ResynthWaves waves = exchange::Resynthesise(file, settings);
        benchmark::DoNotOptimize(waves.Waves.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReadAndResynthesise)->Unit(benchmark::kMillisecond);

// The resynthesis alone, the file already read (what the window redoes when the region or the
// pitch changes).
void BM_ResynthesiseOnly(benchmark::State &state) {
    const exchange::AudioFile file = exchange::ReadAudioFile(NotePath());
    exchange::ResynthSettings settings;
    settings.Span = exchange::DefaultRegion(file);
    for (auto _ : state) {
        const exchange::ResynthWaves waves = exchange::Resynthesise(file, settings);
        benchmark::DoNotOptimize(waves.Waves.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ResynthesiseOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (NotePath().empty())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(NotePath());
    return 0;
}
