#pragma once

#include <array>
#include <cstdint>

#include "document/wave_message.h"

namespace morvane::testing_support {

// A separate copy of the program's generator rule, written from its definition, so that the
// tests can predict the draws: seed := seed * 134,775,813 + 1 mod 2^32, then the high 32 bits
// of seed * n.
struct TestLcg {
    std::uint32_t Seed = 0;
    std::uint32_t Next(std::uint32_t n) {
        Seed = static_cast<std::uint32_t>((std::uint64_t{Seed} * 134775813u + 1u) & 0xFFFFFFFFu);
        return static_cast<std::uint32_t>((std::uint64_t{Seed} * n) >> 32);
    }
};

inline Wavetable NewTable() {
    Wavetable t;
    FillNewWavetable(t, 0);
    return t;
}

// A table whose samples are all zero, with the headers of a new table.
inline Wavetable ZeroTable() {
    Wavetable t = NewTable();
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 0; k < kSampleCount; ++k)
            WriteSample(t, w, k, 0);
    return t;
}

// Sample number s (1..128) of wave number w (1..64).
inline std::int32_t At(const Wavetable &t, int w, int s) {
    return ReadSample(t, w - 1, s - 1);
}
inline void Set(Wavetable &t, int w, int s, std::int32_t v) {
    WriteSample(t, w - 1, s - 1, v);
}

// The three bytes of a sample written directly, for encodings the codec never produces.
inline void SetRaw(Wavetable &t, int w, int s, std::uint8_t h, std::uint8_t m, std::uint8_t l) {
    WriteSampleBytes(t, w - 1, s - 1, SampleTriple{h, m, l});
}

inline SampleTriple ReadRaw(const Wavetable &t, int w, int s) {
    return ReadSampleBytes(t, w - 1, s - 1);
}

// Whether two tables agree in every byte of wave number w.
inline bool SameWave(const Wavetable &a, const Wavetable &b, int w) {
    for (std::size_t i = 0; i < kMessageSize; ++i)
        if (a.Message(w - 1)[i] != b.Message(w - 1)[i])
            return false;
    return true;
}

} // namespace morvane::testing_support
