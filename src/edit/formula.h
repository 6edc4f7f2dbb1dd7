#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/error.h"
#include "document/sample_range.h"
#include "document/wave_message.h"
#include "edit/combine.h"
#include "edit/overflow.h"

namespace morvane::edit {

class RandomGenerator;

// An expression the parser refuses. The text is the parser's message with the place of the
// fault ("Unexpected operator "*" found at position 3"); Position is that place, 0-based, or
// -1 when the fault has no place (an empty expression).
class FormulaError : public Error {
public:
    FormulaError(const std::string &text, int position) : Error(text), Position(position) {}
    int Position;
};

// The variables of one sample. For sample n (0..127) of wave i (1..64):
//   x = n / 64 - 1, w = n / 128, y = -1 at the first wave of the range, +1 at its last, 0 when
//   the range is one wave, z = (y + 1) / 2.
struct FormulaPoint {
    double X = 0;
    double W = 0;
    double N = 0;
    double I = 0;
    double Y = 0;
    double Z = 0;
};
FormulaPoint PointOf(int sample, int wave, int from, int to);

// The sample a value of the formula gives: v * 1,048,575 rounded to the nearest whole number,
// ties to even, for values in -1..1 (others are brought into +-1,048,575, not a number to 0).
std::int32_t SampleOfValue(double value);

// True when the value follows the overflow rule: outside -1..1, or not a number.
constexpr bool IsFormulaOverflow(double value) {
    return !(value >= -1.0 && value <= 1.0);
}

// The clipped sample of a value outside -1..1 (allowed overflow): +-1,048,575, and 0 for a
// value that is not a number.
std::int32_t ClippedSampleOfValue(double value);

// One parsed expression of muParser's language with the constants pi and e, the variables x,
// w, n, i, y and z, and rand(): Random(2^32) / 2^32 of the generator given to Evaluate, drawn
// each time the expression calls it. Parsing happens once, in the constructor; an expression
// that does not parse, or names a variable or function it does not know, throws FormulaError.
// Not thread-safe: one instance is used by one thread at a time.
class Formula {
public:
    explicit Formula(std::string_view expression);
    ~Formula();
    Formula(const Formula &) = delete;
    Formula &operator=(const Formula &) = delete;

    // The value at one point; rand() draws from `random`.
    double Evaluate(const FormulaPoint &point, RandomGenerator &random);

private:
    struct Parser;
    std::unique_ptr<Parser> parser_;
};

struct FormulaSettings {
    bool AddToExisting = false;          // unchecked: the formula's sample replaces the wave's
    CombineMode Mode = CombineMode::Add; // the operation when AddToExisting
    bool AllowOverflow = false;
};

// What a formula command did, so that the window can run its tail.
struct FormulaResult {
    std::vector<int> RefusedWaves; // wave numbers left as they were because of an overflow
    int WrittenWaves = 0;          // waves that took the formula
};

// Writes the formula over samples range.First..range.Last of each wave from..to (wave numbers,
// ascending), y running from -1 at `from` to +1 at `to`. rand() draws wave by wave, sample by
// sample, from `random`; seeding is the caller's. With AddToExisting the formula's sample is
// combined with the wave's by Mode (see Combine). A value outside -1..1 or not a number, or a
// combined sample beyond +-1,048,575: with AllowOverflow the sample is clipped to +-1,048,575
// (0 for not a number); without, the wave is restored from `backup` and listed as refused.
// Every sample of a refused wave is still evaluated, so that the draws of rand() do not depend
// on where an overflow happened.
FormulaResult ApplyFormula(Wavetable &table, Formula &formula, const FormulaSettings &settings,
                           int from, int to, SampleRange range, RandomGenerator &random,
                           WaveBackup &backup);

} // namespace morvane::edit
