#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Mono sound as a WAVE file of 32-bit IEEE floats, the format that keeps a rendered signal as it
// is (no rounding, no clipping above full scale).
namespace morvane::exchange {

inline constexpr std::uint16_t kWaveFormatFloat = 3; // WAVE_FORMAT_IEEE_FLOAT

// The whole file: RIFF header, "fmt " (18 bytes: format 3, one channel, 32 bits), "fact" (the
// sample count, which non-PCM formats carry) and "data", little-endian.
std::vector<std::uint8_t> FloatWaveBytes(std::span<const float> samples, std::uint32_t sampleRate);

} // namespace morvane::exchange
