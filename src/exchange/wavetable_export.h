#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/wave_message.h"

// The export that other synthesizers load: the 64 waves as 64 frames of 2048 samples, 32-bit
// float, mono, 44,100 Hz, tagged with the 'clm ' and 'srge' chunks that tell the frame length.
namespace morvane::exchange {

inline constexpr int kExportFrameLength = 2048;
inline constexpr std::uint32_t kExportSampleRate = 44100;
// The text of the 'clm ' chunk: the frame length after "<!>", then the flags field that
// tables carry there.
inline constexpr const char *kClmText = "<!>2048 10000000 wavetable (Morvane)";
inline constexpr std::uint32_t kSrgeVersion = 1;
// RIFF chunks before the data: "RIFF" size "WAVE", 'fmt ' (18), 'fact' (4), 'clm ' (36),
// 'srge' (8), each with its 8-byte head, then the 'data' head.
inline constexpr std::size_t kExportDataOffset = 12 + (8 + 18) + (8 + 4) + (8 + 36) + (8 + 8) + 8;
inline constexpr std::size_t kExportFileSize =
    kExportDataOffset + std::size_t{4} * kWaveCount * kExportFrameLength;

// Wave w (0..63) upsampled band-limited to 2048 samples at full scale +-1 (1.0 = 1,048,575).
std::array<float, kExportFrameLength> UpsampleWave(const Wavetable &table, int waveIndex);

// The file's bytes.
std::vector<std::uint8_t> Wavetable2048Bytes(const Wavetable &table);

// Writes the file through a temporary file, so that a failed export leaves an existing file
// as it was. Throws morvane::Error. The table is not changed.
void ExportWavetable2048(const std::string &path, const Wavetable &table);

} // namespace morvane::exchange
