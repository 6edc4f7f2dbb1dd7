#include "document/extended.h"

#include <array>
#include <cmath>
#include <utility>

#include "document/error.h"

namespace morvane {

namespace {

__extension__ typedef unsigned __int128 U128; // GCC and Clang on 64-bit targets

constexpr int kMaxField = 0x7FFF;                         // the exponent of infinities and NaNs
constexpr int kSignificandBits = 64;                      // with the explicit integer bit
constexpr std::uint64_t kIntegerBit = 1ULL << 63;         // the explicit integer bit
constexpr std::uint64_t kQuietBit = 1ULL << 62;           // set in a quiet NaN
constexpr std::uint64_t kIndefinite = 0xC000000000000000; // the NaN of an invalid operation

int Field(Extended a) {
    return a.SignExponent() & kMaxField;
}

Extended SignedZero(bool negative) {
    return Extended::FromBits(negative ? Extended::kSignBit : 0, 0);
}

Extended Infinity(bool negative) {
    return Extended::FromBits(
        static_cast<std::uint16_t>((negative ? Extended::kSignBit : 0) | kMaxField), kIntegerBit);
}

// The x87's "real indefinite": the result of an invalid operation.
Extended DefaultNaN() {
    return Extended::FromBits(Extended::kSignBit | kMaxField, kIndefinite);
}

Extended Quiet(Extended a) {
    return Extended::FromBits(a.SignExponent(), a.Significand() | kQuietBit);
}

// The NaN an operation with a NaN operand returns, by the x87's rules: a quiet one over a
// signalling one, else the one with the larger significand; always quiet.
Extended PropagateNaN(Extended a, Extended b) {
    if (a.IsNaN() && b.IsNaN()) {
        const bool aQuiet = (a.Significand() & kQuietBit) != 0;
        const bool bQuiet = (b.Significand() & kQuietBit) != 0;
        if (aQuiet != bQuiet)
            return aQuiet ? a : b;
        if (a.Significand() != b.Significand())
            return Quiet(a.Significand() > b.Significand() ? a : b);
        return Quiet(a.SignBit() ? b : a); // equal significands: the positive one
    }
    return Quiet(a.IsNaN() ? a : b);
}

// A finite value as significand * 2^exponent (the significand of a subnormal has no top bit).
struct Unpacked {
    bool Negative;
    int Exponent;
    std::uint64_t Significand;
};

Unpacked Unpack(Extended a) {
    const int field = Field(a);
    return {a.SignBit(), (field == 0 ? 1 : field) - Extended::kBias - (kSignificandBits - 1),
            a.Significand()};
}

int LeadingZeros(U128 v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    return high != 0 ? std::countl_zero(high)
                     : 64 + std::countl_zero(static_cast<std::uint64_t>(v));
}

// v / 2^shift rounded to nearest, ties to even (shift >= 1).
U128 ShiftRightRounded(U128 v, int shift) {
    if (shift > 128)
        return 0;
    const U128 kept = shift == 128 ? 0 : v >> shift;
    const U128 dropped = shift == 128 ? v : v & ((U128{1} << shift) - 1);
    const U128 half = U128{1} << (shift - 1);
    return dropped > half || (dropped == half && (kept & 1) != 0) ? kept + 1 : kept;
}

// v / 2^shift with every bit shifted out ORed into the lowest bit, so that rounding later
// still sees that the value was not exact.
U128 ShiftRightSticky(U128 v, int shift) {
    if (shift == 0)
        return v;
    if (shift >= 128)
        return v != 0 ? 1 : 0;
    return (v >> shift) | ((v & ((U128{1} << shift) - 1)) != 0 ? 1 : 0);
}

// significand * 2^exponent rounded once to the format: to 64 bits, or to fewer where the
// result is subnormal; beyond the largest finite value, infinite. A lowest bit standing for
// discarded bits must lie far below the rounding position (callers keep 60 bits or more).
Extended RoundPack(bool negative, int exponent, U128 significand) {
    if (significand == 0)
        return SignedZero(negative);
    const int zeros = LeadingZeros(significand);
    significand <<= zeros;
    exponent -= zeros;
    int field = exponent + 128 - 1 + Extended::kBias; // with the top bit as the integer bit
    int shift = 64;
    if (field <= 0) {
        shift += 1 - field;
        field = 0;
    }
    U128 kept = ShiftRightRounded(significand, shift);
    if (kept >> 64 != 0) { // rounded up to the next power of two
        kept >>= 1;
        ++field;
    }
    if (field == 0 && (kept & kIntegerBit) != 0) // a subnormal rounded up to the smallest normal
        field = 1;
    if (field >= kMaxField)
        return Infinity(negative);
    return Extended::FromBits(
        static_cast<std::uint16_t>((negative ? Extended::kSignBit : 0) | field),
        static_cast<std::uint64_t>(kept));
}

Extended Add(Extended a, Extended b) {
    if (a.IsNaN() || b.IsNaN())
        return PropagateNaN(a, b);
    if (a.IsInfinite())
        return b.IsInfinite() && a.SignBit() != b.SignBit() ? DefaultNaN() : a;
    if (b.IsInfinite())
        return b;
    if (a.IsZero() && b.IsZero())
        return SignedZero(a.SignBit() && b.SignBit());
    if (a.IsZero())
        return b;
    if (b.IsZero())
        return a;
    Unpacked x = Unpack(a);
    Unpacked y = Unpack(b);
    if (x.Exponent < y.Exponent)
        std::swap(x, y);
    // Top bits at 126 at most, so that the sum cannot carry out of 128 bits.
    const U128 big = U128{x.Significand} << 63;
    const U128 small = ShiftRightSticky(U128{y.Significand} << 63, x.Exponent - y.Exponent);
    if (x.Negative == y.Negative)
        return RoundPack(x.Negative, x.Exponent - 63, big + small);
    if (big == small)
        return SignedZero(false); // x - x is +0 when rounding to nearest
    return big > small ? RoundPack(x.Negative, x.Exponent - 63, big - small)
                       : RoundPack(y.Negative, x.Exponent - 63, small - big);
}

U128 MulHigh(U128 a, U128 b) {
    const auto a0 = static_cast<std::uint64_t>(a);
    const auto a1 = static_cast<std::uint64_t>(a >> 64);
    const auto b0 = static_cast<std::uint64_t>(b);
    const auto b1 = static_cast<std::uint64_t>(b >> 64);
    const U128 p00 = U128{a0} * b0;
    const U128 p01 = U128{a0} * b1;
    const U128 p10 = U128{a1} * b0;
    const U128 p11 = U128{a1} * b1;
    const U128 middle =
        (p00 >> 64) + static_cast<std::uint64_t>(p01) + static_cast<std::uint64_t>(p10);
    return p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64);
}

} // namespace

Extended::Extended(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((1ULL << 52) - 1);
    const auto sign = static_cast<std::uint16_t>(negative ? kSignBit : 0);
    if (field == 0x7FF) {
        *this = fraction == 0 ? Infinity(negative)
                              : FromBits(static_cast<std::uint16_t>(sign | kMaxField),
                                         kIntegerBit | kQuietBit | (fraction << 11));
        return;
    }
    if (field == 0) // zero or subnormal: fraction * 2^-1074
        *this = RoundPack(negative, -1074, fraction);
    else
        *this = RoundPack(negative, field - 1075, fraction | (1ULL << 52));
}

bool Extended::IsNaN() const {
    return Field(*this) == kMaxField && significand_ != kIntegerBit;
}

bool Extended::IsInfinite() const {
    return Field(*this) == kMaxField && significand_ == kIntegerBit;
}

bool Extended::IsZero() const {
    return Field(*this) == 0 && significand_ == 0;
}

double Extended::ToDouble() const {
    const std::uint64_t sign = SignBit() ? 1ULL << 63 : 0;
    if (IsNaN()) // the significand's bits below the quiet bit, as far as they fit
        return std::bit_cast<double>(sign | (0xFFFULL << 51) |
                                     ((significand_ >> 11) & ((1ULL << 51) - 1)));
    if (IsInfinite())
        return std::bit_cast<double>(sign | (0x7FFULL << 52));
    if (IsZero())
        return std::bit_cast<double>(sign);
    Unpacked u = Unpack(*this);
    const int zeros = std::countl_zero(u.Significand);
    u.Significand <<= zeros;
    u.Exponent -= zeros;
    int field = u.Exponent + 63 + 1023;
    int shift = 11;
    if (field <= 0) {
        shift += 1 - field;
        field = 0;
    }
    auto kept = static_cast<std::uint64_t>(ShiftRightRounded(u.Significand, shift));
    if (kept >> 53 != 0) {
        kept >>= 1;
        ++field;
    }
    if (field == 0 && (kept >> 52) != 0)
        field = 1;
    if (field >= 0x7FF)
        return std::bit_cast<double>(sign | (0x7FFULL << 52));
    return std::bit_cast<double>(sign | (static_cast<std::uint64_t>(field) << 52) |
                                 (kept & ((1ULL << 52) - 1)));
}

Extended operator+(Extended a, Extended b) {
    return Add(a, b);
}

Extended operator-(Extended a, Extended b) {
    if (a.IsNaN() || b.IsNaN())
        return PropagateNaN(a, b);
    return Add(a, -b);
}

Extended operator*(Extended a, Extended b) {
    if (a.IsNaN() || b.IsNaN())
        return PropagateNaN(a, b);
    const bool negative = a.SignBit() != b.SignBit();
    if (a.IsInfinite() || b.IsInfinite())
        return a.IsZero() || b.IsZero() ? DefaultNaN() : Infinity(negative);
    if (a.IsZero() || b.IsZero())
        return SignedZero(negative);
    const Unpacked x = Unpack(a);
    const Unpacked y = Unpack(b);
    return RoundPack(negative, x.Exponent + y.Exponent, U128{x.Significand} * y.Significand);
}

Extended operator/(Extended a, Extended b) {
    if (a.IsNaN() || b.IsNaN())
        return PropagateNaN(a, b);
    const bool negative = a.SignBit() != b.SignBit();
    if (a.IsInfinite())
        return b.IsInfinite() ? DefaultNaN() : Infinity(negative);
    if (b.IsInfinite())
        return SignedZero(negative);
    if (b.IsZero())
        return a.IsZero() ? DefaultNaN() : Infinity(negative);
    if (a.IsZero())
        return SignedZero(negative);
    Unpacked x = Unpack(a);
    Unpacked y = Unpack(b);
    const int xZeros = std::countl_zero(x.Significand);
    const int yZeros = std::countl_zero(y.Significand);
    x.Significand <<= xZeros;
    y.Significand <<= yZeros;
    // Two steps of long division give 126 quotient bits or more; the remainder is sticky.
    const U128 dividend = U128{x.Significand} << 63;
    const U128 high = dividend / y.Significand;
    const U128 rest = (dividend % y.Significand) << 64;
    const U128 low = rest / y.Significand;
    const U128 quotient = (high << 64) | low | (rest % y.Significand != 0 ? 1 : 0);
    return RoundPack(negative, (x.Exponent - xZeros) - (y.Exponent - yZeros) - 127, quotient);
}

namespace {

// -1, 0 or 1 for ordered operands; 2 when either is a NaN.
int Compare(Extended a, Extended b) {
    if (a.IsNaN() || b.IsNaN())
        return 2;
    if (a.IsZero() && b.IsZero())
        return 0;
    if (a.SignBit() != b.SignBit())
        return a.SignBit() ? -1 : 1;
    // For values of one sign, exponent and significand together order the magnitudes.
    const U128 x = (U128{static_cast<std::uint64_t>(Field(a))} << 64) | a.Significand();
    const U128 y = (U128{static_cast<std::uint64_t>(Field(b))} << 64) | b.Significand();
    const int magnitude = x < y ? -1 : (x > y ? 1 : 0);
    return a.SignBit() ? -magnitude : magnitude;
}

enum class Rounding { Floor, Trunc, NearestEven };

Extended ToIntegral(Extended a, Rounding rounding) {
    if (a.IsNaN())
        return Quiet(a);
    if (a.IsInfinite() || a.IsZero() || Field(a) >= Extended::kBias + 63)
        return a;                 // already integral
    const Unpacked u = Unpack(a); // Exponent < 0 here
    const int shift = -u.Exponent;
    const U128 significand = u.Significand;
    U128 whole = shift >= 128 ? 0 : significand >> shift;
    const U128 fraction = shift >= 128 ? significand : significand & ((U128{1} << shift) - 1);
    switch (rounding) {
    case Rounding::Floor:
        if (u.Negative && fraction != 0)
            ++whole;
        break;
    case Rounding::Trunc:
        break;
    case Rounding::NearestEven:
        whole = ShiftRightRounded(significand, shift);
        break;
    }
    return RoundPack(u.Negative, 0, whole);
}

// 2^256 * pi / 2 rounded, least significant word first: 257 bits, enough that the reduction
// of any argument below 2^32 keeps well over 110 bits of the remainder.
constexpr std::array<std::uint64_t, 5> kHalfPiFixed = {0x04177D4C76273645, 0x52049C1114CF98E8,
                                                       0x898CC51701B839A2, 0x921FB54442D18469, 1};
constexpr int kFixedFractionBits = 256;
constexpr int kMaxSinExponent = 32; // |x| < 2^32
constexpr int kSeriesTerms = 18;    // the last term is below 2^-150 for |r| <= 0.8

using Fixed = std::array<std::uint64_t, 5>; // two's complement, 64 integer and 256 fraction bits

// The polynomial 1 - z/(d1) (1 - z/(d2) (...)) with divisors (2j + first)(2j + first + 1)
// from j = lowest on: cos(r) for first = -1, lowest = 1 (1*2, 3*4, ...); 6 (sin(r) - r)/-r^3
// for first = 0, lowest = 2 (4*5, 6*7, ...). z = r^2 is in units of 2^-128, the result in
// units of 2^-126.
U128 Series(U128 z, int first, int lowest) {
    const U128 one = U128{1} << 126;
    U128 t = one;
    for (int j = kSeriesTerms; j >= lowest; --j) {
        const auto divisor = static_cast<std::uint64_t>((2 * j + first) * (2 * j + first + 1));
        t = one - MulHigh(z, t) / divisor;
    }
    return t;
}

} // namespace

bool operator==(Extended a, Extended b) {
    return Compare(a, b) == 0;
}

bool operator<(Extended a, Extended b) {
    return Compare(a, b) == -1;
}

bool operator<=(Extended a, Extended b) {
    const int c = Compare(a, b);
    return c == -1 || c == 0;
}

Extended Abs(Extended value) {
    return Extended::FromBits(static_cast<std::uint16_t>(value.SignExponent() & kMaxField),
                              value.Significand());
}

Extended Floor(Extended value) {
    return ToIntegral(value, Rounding::Floor);
}

Extended Trunc(Extended value) {
    return ToIntegral(value, Rounding::Trunc);
}

Extended NearbyInt(Extended value) {
    return ToIntegral(value, Rounding::NearestEven);
}

std::int64_t TruncToInt64(Extended value) {
    const Extended t = Trunc(value);
    // -2^63 is the one value whose magnitude needs all 64 bits.
    if (t.IsNaN() || t.IsInfinite() || Field(t) > Extended::kBias + 63 ||
        (Field(t) == Extended::kBias + 63 && !(t.SignBit() && t.Significand() == kIntegerBit)))
        throw Error(kInvalidFloatingPointOperation);
    if (t.IsZero())
        return 0;
    const Unpacked u = Unpack(t);
    const std::uint64_t magnitude = u.Significand >> -u.Exponent;
    return u.Negative ? static_cast<std::int64_t>(0 - magnitude)
                      : static_cast<std::int64_t>(magnitude);
}

Extended Sin(Extended x) {
    if (x.IsNaN())
        return Quiet(x);
    if (x.IsInfinite())
        return DefaultNaN();
    if (x.IsZero())
        return x;
    Unpacked u = Unpack(x);
    const int zeros = std::countl_zero(u.Significand);
    u.Significand <<= zeros;
    u.Exponent -= zeros; // |x| = Significand * 2^Exponent, top bit set
    if (u.Exponent + 64 > kMaxSinExponent)
        throw Error(kInvalidFloatingPointOperation);

    // r = |x| - k pi/2, as R * 2^rExponent with R's top bit set; the quadrant is k mod 4.
    U128 r = U128{u.Significand} << 64;
    int rExponent = u.Exponent - 64;
    bool rNegative = false;
    int quadrant = 0;
    if (u.Exponent + 64 >= 0) { // |x| >= 1/2: reduce
        // The nearest k, from a double estimate: off by one at most, which the series absorbs.
        const double estimate = std::ldexp(static_cast<double>(u.Significand), u.Exponent);
        const auto k = static_cast<std::uint64_t>(std::llround(estimate * 0.63661977236758134));
        quadrant = static_cast<int>(k & 3);
        // |x| in fixed point, exactly: the significand at bit Exponent + 256 (192..223).
        Fixed fixed{};
        const int at = u.Exponent + kFixedFractionBits;
        const auto word = static_cast<std::size_t>(at / 64);
        const int bit = at % 64;
        fixed[word] = u.Significand << bit;
        if (bit != 0)
            fixed[word + 1] = u.Significand >> (64 - bit);
        // fixed -= k * pi/2
        U128 carry = 0;
        std::uint64_t borrow = 0;
        for (std::size_t i = 0; i < fixed.size(); ++i) {
            const U128 product = U128{kHalfPiFixed[i]} * k + carry;
            carry = product >> 64;
            const auto p = static_cast<std::uint64_t>(product);
            const U128 difference = U128{fixed[i]} - p - borrow;
            fixed[i] = static_cast<std::uint64_t>(difference);
            borrow = (difference >> 64) != 0 ? 1 : 0;
        }
        rNegative = (fixed[4] >> 63) != 0;
        if (rNegative) { // two's complement negation
            std::uint64_t add = 1;
            for (auto &w : fixed) {
                const U128 v = U128{~w} + add;
                w = static_cast<std::uint64_t>(v);
                add = static_cast<std::uint64_t>(v >> 64);
            }
        }
        int top = 4;
        while (top >= 0 && fixed[static_cast<std::size_t>(top)] == 0)
            --top;
        if (top < 0)
            return SignedZero(u.Negative); // cannot happen: pi is irrational
        // The 128 bits from the top one down.
        const int topBit = top * 64 + 63 - std::countl_zero(fixed[static_cast<std::size_t>(top)]);
        const int low = topBit - 127;
        const auto wordAt = [&](int i) -> U128 {
            return i >= 0 && i < 5 ? fixed[static_cast<std::size_t>(i)] : 0;
        };
        if (low >= 0) {
            const int w = low / 64;
            const int b = low % 64;
            r = ((wordAt(w + 1) << 64) | wordAt(w)) >> b;
            if (b != 0)
                r |= wordAt(w + 2) << (128 - b);
        } else {
            r = ((wordAt(1) << 64) | wordAt(0)) << -low;
        }
        rExponent = low - kFixedFractionBits;
    }

    // z = r^2 in units of 2^-128 (r < 1, so rExponent <= -128).
    const U128 square = MulHigh(r, r); // r^2 = square * 2^(2 rExponent + 128)
    const int zShift = -(2 * rExponent + 256);
    const U128 z = zShift >= 128 ? 0 : square >> zShift;
    const bool cosine = (quadrant & 1) != 0;
    const bool negative = (u.Negative != (quadrant >= 2)) != (!cosine && rNegative);
    if (cosine)
        return RoundPack(negative, -126, Series(z, -1, 1));
    // sin(r) = r - c with c = r^3/6 (1 - r^2/20 ...) kept to 120 bits of its own, so that a
    // small r, whose result lies close to r, is still decided far below r's last bit.
    const U128 cube = MulHigh(r, square); // r^3 = cube * 2^(3 rExponent + 256)
    const U128 c = MulHigh(cube, Series(z, 0, 2)) / 6;
    const int cExponent = 3 * rExponent + 256 + 2;
    const int rShiftedExponent = rExponent + 2; // two bits of room: c may reach r / 8
    const U128 difference =
        (r >> 2) -
        ShiftRightSticky(c, cExponent < rShiftedExponent ? rShiftedExponent - cExponent : 0);
    return RoundPack(negative, rShiftedExponent, difference);
}

} // namespace morvane
