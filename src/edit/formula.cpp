#include "edit/formula.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <muParser.h>

#include "edit/random.h"

namespace morvane::edit {

namespace {

constexpr double kSampleScale = kMaxSample;      // a value of 1.0 is full positive scale
constexpr double kHalfWave = kSampleCount / 2.0; // x = n / 64 - 1
constexpr double kRandomRange = 4294967296.0;    // 2^32: rand() = Random(2^32) / 2^32

// rand(): the generator steps once per call. Random(2^32) is (seed * 2^32) >> 32, the stepped
// seed itself, which Random(1) leaves in Seed.
double RandomCallback(void *data) {
    auto *random = *static_cast<RandomGenerator **>(data);
    random->Random(1);
    return random->Seed / kRandomRange;
}

// muParser's message, with the place of the fault where the message does not name it.
FormulaError ToFormulaError(const mu::ParserError &e) {
    std::string text = e.GetMsg();
    const int position = e.GetPos();
    if (position >= 0 && text.find("position") == std::string::npos)
        text += " at position " + std::to_string(position);
    return FormulaError(text, position);
}

} // namespace

struct Formula::Parser {
    mu::Parser Engine;
    FormulaPoint Point;
    // The generator rand() draws from during one Evaluate; the callback reaches it through
    // this field, so that no global state is needed.
    RandomGenerator *Random = nullptr;
};

FormulaPoint PointOf(int sample, int wave, int from, int to) {
    FormulaPoint p;
    p.N = sample;
    p.X = sample / kHalfWave - 1;
    p.W = sample / static_cast<double>(kSampleCount);
    p.I = wave;
    p.Y = to > from ? -1 + 2.0 * (wave - from) / (to - from) : 0.0;
    p.Z = (p.Y + 1) / 2;
    return p;
}

std::int32_t SampleOfValue(double value) {
    if (std::isnan(value))
        return 0; // no defined conversion; the callers never pass one
    const double scaled = value * kSampleScale;
    const double below = std::floor(scaled);
    const double fraction = scaled - below;
    double rounded = below + 1;
    if (fraction < 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) == 0))
        rounded = below;
    return static_cast<std::int32_t>(std::clamp(rounded, -kSampleScale, kSampleScale));
}

std::int32_t ClippedSampleOfValue(double value) {
    if (std::isnan(value))
        return 0;
    if (value > 1)
        return kMaxSample;
    if (value < -1)
        return -kMaxSample;
    return SampleOfValue(value);
}

Formula::Formula(std::string_view expression) : parser_(std::make_unique<Parser>()) {
    mu::Parser &engine = parser_->Engine;
    try {
        engine.DefineConst("pi", std::numbers::pi);
        engine.DefineConst("e", std::numbers::e);
        engine.DefineVar("x", &parser_->Point.X);
        engine.DefineVar("w", &parser_->Point.W);
        engine.DefineVar("n", &parser_->Point.N);
        engine.DefineVar("i", &parser_->Point.I);
        engine.DefineVar("y", &parser_->Point.Y);
        engine.DefineVar("z", &parser_->Point.Z);
        // Not optimisable: every call must draw, so the parser may not fold it into a constant.
        engine.DefineFunUserData("rand", RandomCallback, &parser_->Random, false);
        engine.SetExpr(std::string(expression));
        // muParser parses on the first evaluation; a throwaway generator serves its rand().
        RandomGenerator trial;
        parser_->Random = &trial;
        engine.Eval();
        parser_->Random = nullptr;
    } catch (const mu::ParserError &e) {
        throw ToFormulaError(e);
    }
}

Formula::~Formula() = default;

double Formula::Evaluate(const FormulaPoint &point, RandomGenerator &random) {
    parser_->Point = point;
    parser_->Random = &random;
    try {
        const double value = parser_->Engine.Eval();
        parser_->Random = nullptr;
        return value;
    } catch (const mu::ParserError &e) {
        parser_->Random = nullptr;
        throw ToFormulaError(e);
    }
}

FormulaResult ApplyFormula(Wavetable &table, Formula &formula, const FormulaSettings &settings,
                           int from, int to, SampleRange range, RandomGenerator &random,
                           WaveBackup &backup) {
    FormulaResult result;
    const int firstWave = std::max(from, 1);
    const int lastWave = std::min(to, kWaveCount);
    const int first = std::max(range.First, 0);
    const int last = std::min(range.Last, kSampleCount - 1);
    for (int wave = firstWave; wave <= lastWave; ++wave) {
        backup.Save(table, wave - 1);
        bool overflow = false;
        for (int k = first; k <= last; ++k) {
            const double value = formula.Evaluate(PointOf(k, wave, from, to), random);
            std::int32_t sample = 0;
            if (!IsFormulaOverflow(value))
                sample = SampleOfValue(value);
            else if (settings.AllowOverflow)
                sample = ClippedSampleOfValue(value);
            else
                overflow = true;
            if (settings.AddToExisting) {
                sample = Combine(settings.Mode, sample, ReadSample(table, wave - 1, k));
                if (IsOutOfRange(sample)) {
                    if (settings.AllowOverflow)
                        sample = std::clamp(sample, -kMaxSample, kMaxSample);
                    else
                        overflow = true;
                }
            }
            WriteSample(table, wave - 1, k, sample);
        }
        if (overflow) {
            backup.Restore(table, wave - 1);
            result.RefusedWaves.push_back(wave);
        } else {
            ++result.WrittenWaves;
        }
    }
    return result;
}

} // namespace morvane::edit
