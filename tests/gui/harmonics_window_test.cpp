// The harmonic window on the real main window: opened by its key, drawn over with the mouse,
// and its processors run as commands of the document.
#include <cmath>
#include <numbers>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "edit/history.h"
#include "edit/spectrum.h"
#include "render/harmonic_bars.h"
#include "ui/qt/harmonics_window.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

constexpr double kFs = 1048575.0;

// The centre of bar k's column and the row of a linear magnitude m.
int BarX(int k) {
    return render::bars::kBarsLeft + render::bars::kBarWidth * (k - 1) + 3;
}
int MagnitudeY(double m) {
    return static_cast<int>(std::lround(render::bars::kMagnitudeBottom * (1 - m)));
}

TEST_F(WindowTest, DrawingOverTheBarsIsOneUndoStep) {
    QTest::keyClick(window.get(), Qt::Key_F12);
    qt::TfrmHarmonics &harmonics = *window->frmHarmonics;
    ASSERT_TRUE(harmonics.isVisible());
    EXPECT_EQ(harmonics.parentWidget(), window.get());
    const Wavetable before = window->Table();
    const int position = window->History().HistoryPosition();

    // One stroke from bar 3 to bar 5 at magnitude 0.1: bar 4 is passed over and set too.
    QWidget *bars = harmonics.imgHarmonics;
    QTest::mousePress(bars, Qt::LeftButton, {}, QPoint(BarX(3), MagnitudeY(0.1)));
    QTest::mouseMove(bars, QPoint(BarX(5), MagnitudeY(0.1)));
    QTest::mouseRelease(bars, Qt::LeftButton, {}, QPoint(BarX(5), MagnitudeY(0.1)));
    EXPECT_EQ(window->History().HistoryPosition(), position + 1);
    EXPECT_TRUE(window->IsModified());
    for (int n = 0; n < kSampleCount; ++n) {
        SCOPED_TRACE(n);
        double sum = ReadSample(before, 0, n);
        for (int k = 3; k <= 5; ++k) // raised from zero: sine phase
            sum += 0.1 * kFs * std::sin(2 * std::numbers::pi * k * n / kSampleCount);
        EXPECT_NEAR(ReadSample(window->Table(), 0, n), sum, 0.6);
    }
    // The bars follow: bar 4 is drawn up to its height.
    const render::Canvas &picture = harmonics.BarsBitmap();
    EXPECT_NE(picture.Pixel(BarX(4), MagnitudeY(0.1) + 2), picture.Pixel(BarX(4), 5));
    EXPECT_NEAR(edit::Magnitude(harmonics.ShownSpectrum(), 4), 0.1, 1e-6);

    // A right click sets the bar under it to zero, again one step.
    QTest::mouseClick(bars, Qt::RightButton, {}, QPoint(BarX(4), 30));
    EXPECT_EQ(window->History().HistoryPosition(), position + 2);
    EXPECT_LT(edit::Magnitude(edit::Analyse(window->Table(), 0), 4), 1e-6);

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->Table(), before);
    EXPECT_NEAR(edit::Magnitude(harmonics.ShownSpectrum(), 4), 0, 1e-6);
}

TEST_F(WindowTest, ProcessorsSweepTheSelectionAndReportOverflowOnce) {
    window->Harmonics1->trigger();
    qt::TfrmHarmonics &harmonics = *window->frmHarmonics;
    window->trbMorphWaves1->setValue(1);
    window->trbMorphWaves2->setValue(3);
    window->chbRandomAllSlice->setChecked(true);
    const int position = window->History().HistoryPosition();

    // Harmonic 2 at full scale overflows all three half-scale sines: refused, one message.
    harmonics.SetHarmonicCommand(2, 1.0, 0);
    EXPECT_EQ(dialogs.Messages,
              std::vector<std::string>{"21 bit overflow error. You can allow overflow! -->"});
    EXPECT_EQ(window->History().HistoryPosition(), position + 1);
    EXPECT_LT(edit::Magnitude(edit::Analyse(window->Table(), 1), 2), 1e-6);

    // Shift 0 -> 2 over waves 1..3: wave 2 moves its sine up by one harmonic.
    harmonics.cmbSpectralProcessor->setCurrentIndex(4);
    EXPECT_EQ(harmonics.edtProcessorStart->text(), QStringLiteral("1"));
    harmonics.edtProcessorStart->setText(QStringLiteral("0"));
    harmonics.edtProcessorEnd->setText(QStringLiteral("2"));
    QTest::mouseClick(harmonics.btnApplyProcessor, Qt::LeftButton);
    EXPECT_NEAR(edit::Magnitude(edit::Analyse(window->Table(), 0), 1), 0.5, 1e-6);
    EXPECT_NEAR(edit::Magnitude(edit::Analyse(window->Table(), 1), 2), 0.5, 1e-6);
    EXPECT_NEAR(edit::Magnitude(edit::Analyse(window->Table(), 2), 3), 0.5, 1e-6);
    EXPECT_EQ(window->History().HistoryPosition(), position + 2);

    // A value out of range changes nothing and says what is accepted.
    harmonics.edtProcessorEnd->setText(QStringLiteral("99"));
    const Wavetable before = window->Table();
    QTest::mouseClick(harmonics.btnApplyProcessor, Qt::LeftButton);
    EXPECT_EQ(dialogs.Messages.back(), "The values must lie from -64 to 64");
    EXPECT_EQ(window->Table(), before);
    EXPECT_EQ(window->History().HistoryPosition(), position + 2);
}

} // namespace
} // namespace morvane::testing
