#include <QComboBox>
#include <QSlider>
#include <QTest>

#include "ui/qt/waterfall_picture.h"
#include "ui/qt/waterfall_window.h"
#include "ui/waterfall_view.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

class WaterfallTest : public WindowTest {
protected:
    qt::TfrmWaterfall &Open() {
        window->Waterfall1->trigger();
        qt::TfrmWaterfall *w = window->frmWaterfall;
        EXPECT_NE(w, nullptr);
        w->resize(820, 670);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return *w;
    }
};

TEST_F(WaterfallTest, ClicksPickTheWaveBeforeAndAfterAnEdit) {
    qt::TfrmWaterfall &w = Open();
    EXPECT_EQ(w.parent(), window.get()); // a tool window of the main one: scripts reach it
    w.trbWaterfallAngle->setValue(90);
    w.trbWaterfallScale->setValue(100);
    const ui::WaterfallGeometry g{w.imgWaterfall->width(), w.imgWaterfall->height(), 90, 100};

    // Wave 6's line at sample 32 (a new table holds half-scale sines: the value there is
    // 524,287, as every wave's).
    const auto at = ui::WaterfallProject(g, 5, 32, 524287);
    QTest::mouseClick(w.imgWaterfall, Qt::LeftButton, {}, QPointF(at.X, at.Y + 1).toPoint());
    EXPECT_EQ(window->CurrentWave(), 6);

    // Silence wave 6: its line drops to the zero line, and the same point now belongs to a wave
    // further back, which the independent hit test names.
    const QImage before = w.imgWaterfall->grab().toImage();
    for (int n = 0; n < kSampleCount; ++n)
        WriteSample(window->Table(), 5, n, 0);
    window->DrawWavetable(6);
    EXPECT_NE(w.imgWaterfall->grab().toImage(), before);
    const auto expected = ui::WaterfallHit(window->Table(), g, at.X, at.Y + 1);
    ASSERT_TRUE(expected.has_value());
    EXPECT_GT(*expected, 5);
    QTest::mouseClick(w.imgWaterfall, Qt::LeftButton, {}, QPointF(at.X, at.Y + 1).toPoint());
    EXPECT_EQ(window->CurrentWave(), *expected + 1);
}

TEST_F(WaterfallTest, SpectrogramPageClickSelectsTheColumnsWave) {
    qt::TfrmWaterfall &w = Open();
    w.cmbWaterfallView->setCurrentIndex(1);
    EXPECT_FALSE(w.trbWaterfallAngle->isEnabled());
    const int cells = w.imgSpectrogram->width() - ui::kSpectrogramLegendWidth;
    QTest::mouseClick(w.imgSpectrogram, Qt::LeftButton, {},
                      QPoint(cells * 40 / 64 + 2, w.imgSpectrogram->height() / 2));
    EXPECT_EQ(window->CurrentWave(), 41);
}

TEST_F(WaterfallTest, SavedPicturesShowTheTable) {
    // The new table's harmonic 1 lies at -6 dB, everything else at the floor: along the bottom
    // row the cells are bright, one row up they are black.
    const QImage spectrogram = qt::SavedSpectrogramPicture(*window);
    ASSERT_EQ(spectrogram.size(), QSize(800, 600));
    EXPECT_GT(qGray(spectrogram.pixel(300, 595)), 150);
    EXPECT_EQ(spectrogram.pixel(300, 580) & 0xFFFFFF, 0u);

    // The waterfall at the default angle: wave 1's curve passes its sample 32 at the peak; the
    // current wave (1) is drawn in its own colour, the background elsewhere.
    const QImage waterfall = qt::SavedWaterfallPicture(*window);
    ASSERT_EQ(waterfall.size(), QSize(800, 600));
    const auto peak = ui::WaterfallProject(ui::WaterfallGeometry{}, 0, 32, 524287);
    const QColor line = waterfall.pixelColor(QPointF(peak.X, peak.Y).toPoint());
    EXPECT_GT(line.red(), line.blue() + 60); // orange, not the blue-grey of the other waves
    const QColor below = waterfall.pixelColor(QPointF(peak.X, peak.Y + 40).toPoint());
    EXPECT_LT(below.red(), 60);
}

} // namespace
} // namespace morvane::testing
