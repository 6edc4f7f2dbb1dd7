#pragma once

#include <cstdint>

#include "document/extended.h"

namespace morvane::edit {

// The edits compute in 80-bit extended precision (Extended, the same bits on every processor)
// with the operations in a fixed order; results on exact integer boundaries depend on it.
inline constexpr Extended kPi = kExtendedPi;
inline constexpr Extended kTwoPi = Extended::FromBits(0x4001, 0xC90FDAA22168C235);       // 2 pi
inline constexpr Extended kHalfPi = Extended::FromBits(0x3FFF, 0xC90FDAA22168C235);      // pi / 2
inline constexpr Extended kThreeHalfPi = Extended::FromBits(0x4001, 0x96CBE3F9990E91A8); // 3 pi / 2

// floor toward minus infinity into a signed 32-bit integer. A NaN or a result outside the
// 32-bit range throws Error("Invalid floating point operation"), the error an 80-bit
// conversion raises, instead of converting with undefined behaviour.
std::int32_t FloorToInt32(Extended value);

// The 32-bit two's-complement value of a wider integer, as 32-bit arithmetic would give it.
constexpr std::int32_t Wrap32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

} // namespace morvane::edit
