#pragma once

#include <cstdint>
#include <string>

#include "files/byte_reader.h"

namespace morvane::exchange {

// The shortest frame that is still a cycle worth resampling.
inline constexpr int kMinFrameLength = 4;
// The most samples an imported file may hold: 2^22, eight times a 256-frame table of 2048
// samples, so that a mistaken choice of file cannot take the machine's memory.
inline constexpr std::int64_t kMaxSamples = std::int64_t{1} << 22;
// The largest file read at all; a compressed file of kMaxSamples is far smaller. The same cap
// as every other reader's (files::kMaxFileBytes).
inline constexpr std::int64_t kMaxFileBytes = static_cast<std::int64_t>(files::kMaxFileBytes);

// 524288 -> "524,288", for the texts the user reads.
std::string GroupedNumber(std::uint64_t value);
// 220.5 with 2 decimals -> "220.50", whatever the locale; never "-0.00".
std::string FixedDecimals(double value, int decimals);

} // namespace morvane::exchange
