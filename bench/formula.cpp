// A formula over the whole table (64 x 128 samples), as the formula window's apply and its
// preview run it, against the same expression written directly in C++, and against
// muParser's bulk mode evaluating the expression over the 8,192 points in one call.
#include <array>
#include <cmath>
#include <numbers>

#include <benchmark/benchmark.h>
#include <muParser.h>

#include "edit/formula.h"
#include "edit/random.h"

namespace {

constexpr int kPoints = morvane::kWaveCount * morvane::kSampleCount;
constexpr char kSweep[] = "sin(2*pi*w + z*sin(4*pi*w))";

void BM_FormulaWholeTable(benchmark::State &state) {
    morvane::Wavetable table;
    morvane::FillNewWavetable(table, 0);
    morvane::edit::RandomGenerator random;
    morvane::edit::WaveBackup backup;
    const char *expression = state.range(0) == 0 ? kSweep : "(1-z)*sin(2*pi*w) + z*(2*rand()-1)";
    for (auto _ : state) {
        // Parsing is part of every apply and every preview.
        morvane::edit::Formula formula(expression);
        benchmark::DoNotOptimize(
            morvane::edit::ApplyFormula(table, formula, {}, 1, 64, {}, random, backup));
    }
}
BENCHMARK(BM_FormulaWholeTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same sweep in plain C++: the floor under any parser.
void BM_SweepInPlainCpp(benchmark::State &state) {
    morvane::Wavetable table;
    morvane::FillNewWavetable(table, 0);
    for (auto _ : state) {
        for (int i = 1; i <= morvane::kWaveCount; ++i) {
            const double z = (i - 1) / 63.0;
            for (int n = 0; n < morvane::kSampleCount; ++n) {
                const double w = n / 128.0;
                const double v =
                    std::sin(2 * std::numbers::pi * w + z * std::sin(4 * std::numbers::pi * w));
                morvane::WriteSample(table, i - 1, n, morvane::edit::SampleOfValue(v));
            }
        }
        benchmark::DoNotOptimize(table.Bytes.data());
    }
}
BENCHMARK(BM_SweepInPlainCpp)->Unit(benchmark::kMillisecond);

// muParser's bulk mode over all points at once (the variables as arrays); Debian builds it
// with OpenMP, so it runs on several threads.
void BM_MuParserBulk(benchmark::State &state) {
    static std::array<double, kPoints> w, z, out;
    for (int k = 0; k < kPoints; ++k) {
        w[static_cast<std::size_t>(k)] = (k % morvane::kSampleCount) / 128.0;
        z[static_cast<std::size_t>(k)] = (k / morvane::kSampleCount) / 63.0;
    }
    mu::Parser parser;
    parser.DefineConst("pi", std::numbers::pi);
    parser.DefineVar("w", w.data());
    parser.DefineVar("z", z.data());
    parser.SetExpr(kSweep);
    for (auto _ : state) {
        parser.Eval(out.data(), kPoints);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MuParserBulk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
