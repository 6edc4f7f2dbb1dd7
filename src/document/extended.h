#pragma once

#include <bit>
#include <concepts>
#include <cstdint>
#include <type_traits>

namespace morvane {

// The text of the error an 80-bit conversion or operation raises on a value it cannot handle.
inline constexpr char kInvalidFloatingPointOperation[] = "Invalid floating point operation";

// A number in the 80-bit extended format of the x87: a sign, a 15-bit exponent (bias 16,383)
// and a 64-bit significand with an explicit integer bit, with the format's subnormals,
// infinities and NaNs. Every operation rounds to nearest, ties to even, exactly as the x87
// does with 64-bit precision control, but is computed on integers: the same bits come out on
// every processor. A plain value type; no operation allocates.
class Extended {
public:
    constexpr Extended() = default; // +0

    // Exact: every integer of up to 64 bits fits the significand.
    template <std::integral T>
    requires(!std::same_as<T, bool>) constexpr Extended(
        T value) { // NOLINT(google-explicit-constructor): integers mix freely
        if (value == 0)
            return;
        bool negative = false;
        auto magnitude = static_cast<std::uint64_t>(value);
        if constexpr (std::is_signed_v<T>) {
            negative = value < 0;
            if (negative)
                magnitude = 0 - magnitude;
        }
        const int zeros = std::countl_zero(magnitude);
        significand_ = magnitude << zeros;
        signExponent_ =
            static_cast<std::uint16_t>((negative ? kSignBit : 0) | (kBias + 63 - zeros));
    }

    // Exact: every double is an extended value. A signalling NaN becomes quiet.
    explicit Extended(double value);

    static constexpr Extended FromBits(std::uint16_t signExponent, std::uint64_t significand) {
        Extended e;
        e.signExponent_ = signExponent;
        e.significand_ = significand;
        return e;
    }
    constexpr std::uint16_t SignExponent() const { return signExponent_; }
    constexpr std::uint64_t Significand() const { return significand_; }

    bool IsNaN() const;
    bool IsInfinite() const;
    bool IsZero() const;
    bool SignBit() const { return (signExponent_ & kSignBit) != 0; }

    double ToDouble() const; // rounded to nearest even; beyond the double range, infinite

    Extended operator-() const {
        return FromBits(static_cast<std::uint16_t>(signExponent_ ^ kSignBit), significand_);
    }
    friend Extended operator+(Extended a, Extended b);
    friend Extended operator-(Extended a, Extended b);
    friend Extended operator*(Extended a, Extended b);
    friend Extended operator/(Extended a, Extended b);
    Extended &operator+=(Extended b) { return *this = *this + b; }
    Extended &operator-=(Extended b) { return *this = *this - b; }

    // IEEE comparisons: -0 equals +0, a NaN is unordered (every comparison but != is false).
    friend bool operator==(Extended a, Extended b);
    friend bool operator<(Extended a, Extended b);
    friend bool operator<=(Extended a, Extended b);
    friend bool operator>(Extended a, Extended b) { return b < a; }
    friend bool operator>=(Extended a, Extended b) { return b <= a; }

    static constexpr int kBias = 16383;
    static constexpr std::uint16_t kSignBit = 0x8000;

private:
    std::uint64_t significand_ = 0;
    std::uint16_t signExponent_ = 0;
};

Extended Abs(Extended value);
// To an integral value: toward minus infinity, toward zero, to nearest even. The sign of a
// zero result is the operand's (floor(-0.5) is -1, trunc(-0.5) is -0).
Extended Floor(Extended value);
Extended Trunc(Extended value);
Extended NearbyInt(Extended value);
// The value truncated toward zero as a 64-bit integer. A NaN, an infinity or a result outside
// the 64-bit range throws Error("Invalid floating point operation"), as the x87 would raise.
std::int64_t TruncToInt64(Extended value);

// sin(x), correctly rounded: computed with over 110 bits to spare and rounded once. Arguments
// of magnitude 2^32 or more throw Error("Invalid floating point operation"): far beyond
// anything the program computes, and there a reduction by pi would need far more bits of it.
Extended Sin(Extended x);

// pi rounded to 64 bits, as the x87 loads it.
inline constexpr Extended kExtendedPi = Extended::FromBits(0x4000, 0xC90FDAA22168C235);

} // namespace morvane
