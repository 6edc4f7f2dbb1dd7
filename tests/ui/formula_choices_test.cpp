#include "ui/formula_choices.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include <gtest/gtest.h>

#include "document/wave_message.h"
#include "edit/formula.h"
#include "edit/random.h"
#include "render/canvas.h"
#include "render/formula_preview.h"
#include "support/temp_folder.h"

namespace morvane::ui {
namespace {

namespace fs = std::filesystem;

using List = std::vector<std::string>;

TEST(FormulaHistory, NewestFirstWithoutRepeatsAndAtMostTwenty) {
    List history;
    RememberFormula(history, " sin(x) ");
    RememberFormula(history, "x");
    RememberFormula(history, "");
    RememberFormula(history, "sin(x)");
    EXPECT_EQ(history, (List{"sin(x)", "x"}));
    for (int k = 0; k < 25; ++k)
        RememberFormula(history, "x*" + std::to_string(k));
    ASSERT_EQ(history.size(), kFormulaHistorySize);
    EXPECT_EQ(history.front(), "x*24");
    EXPECT_EQ(history.back(), "x*5");
}

TEST(FormulaHistory, SavedBesideTheOtherSectionsAndReadBack) {
    const testing_support::TempFolder folder;
    const fs::path path = folder / "morvane.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << "[AudioOutput]\nAudioDevice=2\n";
    }
    const List history{"(x<y)*2-1", " sin(2*pi*w) ", "a==b ? 1 : 0"};
    SaveFormulaHistory(history, path);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().rfind("[AudioOutput]\nAudioDevice=2\n\n[Formulas]\nFormula1=(x<y)*2-1\n"
                               "Formula2=\" sin(2*pi*w) \"\nFormula3=a==b ? 1 : 0\nFormula4=\n",
                               0),
              0u);
    EXPECT_EQ(LoadFormulaHistory(path), (List{"(x<y)*2-1", "sin(2*pi*w)", "a==b ? 1 : 0"}));
    fs::remove(path);
    EXPECT_TRUE(LoadFormulaHistory(path).empty());
}

TEST(FormulaExamples, EachParsesAndStaysWithinFullScaleOverATable) {
    for (const FormulaExample &example : kFormulaExamples) {
        SCOPED_TRACE(std::string(example.Caption));
        edit::Formula formula(example.Expression);
        edit::RandomGenerator random;
        for (int wave = 1; wave <= kWaveCount; ++wave)
            for (int n = 0; n < kSampleCount; ++n)
                ASSERT_FALSE(edit::IsFormulaOverflow(
                    formula.Evaluate(edit::PointOf(n, wave, 1, kWaveCount), random)));
    }
}

TEST(FormulaPreview, FullScaleAtTheEdgesAndZeroInTheMiddle) {
    EXPECT_EQ(render::PreviewRow(kMaxSample), 0);
    EXPECT_EQ(render::PreviewRow(-kMaxSample), render::kPreviewHeight - 1);
    EXPECT_EQ(render::PreviewRow(0), 32);
    // One row is 32,767.97 units: just below and above half a row.
    EXPECT_EQ(render::PreviewRow(16383), 32);
    EXPECT_EQ(render::PreviewRow(16385), 31);
    EXPECT_EQ(render::PreviewRow(2 * kMaxSample), 0); // allowed overflow stays inside the picture

    Wavetable table{};
    for (int k = 0; k < kSampleCount; ++k)
        WriteSample(table, 4, k, k < 64 ? kMaxSample : -kMaxSample);
    render::Canvas canvas(render::kPreviewWidth, render::kPreviewHeight);
    render::DrawFormulaPreview(canvas, table, 5, false);
    EXPECT_EQ(canvas.Pixel(0, 0), render::Rgb(0, 0, 160));
    EXPECT_EQ(canvas.Pixel(127, 64), render::Rgb(0, 0, 160));
    EXPECT_EQ(canvas.Pixel(10, 32), render::Rgb(192, 192, 192));
    EXPECT_EQ(canvas.Pixel(10, 64), render::Rgb(255, 255, 255));
    render::DrawFormulaPreview(canvas, table, 5, true);
    EXPECT_EQ(canvas.Pixel(0, 0), render::Rgb(200, 0, 0));
}

} // namespace
} // namespace morvane::ui
