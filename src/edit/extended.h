#pragma once

#include <cstdint>
#include <limits>
#include <numbers>

namespace morvane::edit {

// The edits compute in 80-bit extended precision (long double on x86-64) with the operations
// in a fixed order; results on exact integer boundaries depend on it.
static_assert(std::numeric_limits<long double>::digits == 64,
              "the edits need long double with a 64-bit significand (80-bit extended precision)");

inline constexpr long double kPi = std::numbers::pi_v<long double>;
inline constexpr long double kTwoPi = 2 * kPi;
inline constexpr long double kHalfPi = kPi / 2;
inline constexpr long double kThreeHalfPi = 3 * kPi / 2;

inline constexpr char kInvalidFloatingPointOperation[] = "Invalid floating point operation";

// floor toward minus infinity into a signed 32-bit integer. A NaN or a result outside the
// 32-bit range throws Error("Invalid floating point operation"), the error an 80-bit
// conversion raises, instead of converting with undefined behaviour.
std::int32_t FloorToInt32(long double value);

// The 32-bit two's-complement value of a wider integer, as 32-bit arithmetic would give it.
constexpr std::int32_t Wrap32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

} // namespace morvane::edit
