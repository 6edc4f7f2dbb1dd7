// The graph's mouse handling and the motion commands through the real window: the events take
// Qt's own path from the image to the handlers, and the graph follows the path's mode.
#include <cmath>

#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>

#include "edit/history.h"
#include "render/canvas.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

constexpr render::Colour kGreen = render::Rgb(0, 192, 0);
constexpr render::Colour kGrey = render::Rgb(192, 192, 192);
constexpr render::Colour kGrid = render::Rgb(224, 224, 224);

TEST_F(WindowTest, GraphHasACrossHairCursor) {
    EXPECT_EQ(window->imgWaveTables->cursor().shape(), Qt::CrossCursor);
}

TEST_F(WindowTest, MouseStrokeOnTheImageDrawsAndIsOneUndoStep) {
    const Wavetable before = window->Table();
    qt::TImageView *image = window->imgWaveTables;
    QTest::mousePress(image, Qt::LeftButton, Qt::NoModifier, QPoint(30, 192));
    EXPECT_EQ(ReadSample(window->Table(), 0, 10), 128);
    EXPECT_TRUE(window->WaveDrawing);
    EXPECT_TRUE(window->IsModified());
    QTest::mouseMove(image, QPoint(100, 96));
    QTest::mouseRelease(image, Qt::LeftButton, Qt::NoModifier, QPoint(100, 96));
    EXPECT_FALSE(window->WaveDrawing);
    EXPECT_EQ(ReadSample(window->Table(), 0, 33), 524415);
    EXPECT_EQ(window->grbHistory->title(), QStringLiteral("History: 2 / 2"));
    // The graph shows the drawn sample: 524,415 sits in cell 64 - 32 = 32, row 96.
    EXPECT_EQ(window->GraphBitmap().Pixel(99, 96), render::Rgb(0, 0, 0));
    window->Undo1Click(nullptr);
    EXPECT_EQ(window->Table(), before);
}

TEST_F(WindowTest, FastStrokeLeavesNoGapAndThePointerTooltipFollows) {
    const Wavetable before = window->Table();
    qt::TImageView *image = window->imgWaveTables;
    QTest::mousePress(image, Qt::LeftButton, Qt::NoModifier, QPoint(30, 192)); // sample 11: 128
    QTest::mouseMove(image, QPoint(100, 96)); // sample 34: 524,415, in one jump
    QTest::mouseRelease(image, Qt::LeftButton, Qt::NoModifier, QPoint(100, 96));
    // The line climbs 524,287 / 23 per sample; 23 is odd, so no value falls on a half.
    for (int s = 10; s <= 33; ++s)
        EXPECT_EQ(ReadSample(window->Table(), 0, s), 128 + std::lround(524287.0 * (s - 10) / 23.0))
            << s;
    EXPECT_EQ(ReadSample(window->Table(), 0, 34), ReadSample(before, 0, 34));
    EXPECT_EQ(image->PointerText(), QStringLiteral("Sample 34: 524,415 (50.0 %)"));
    // Without a button the pointer only reads: sample 21 in the middle of the line.
    QTest::mouseMove(image, QPoint(62, 300));
    const std::int32_t value = ReadSample(window->Table(), 0, 20);
    EXPECT_EQ(value, 128 + std::lround(524287.0 * 10 / 23.0));
    EXPECT_EQ(image->PointerText(), QStringLiteral("Sample 21: %1 (%2 %)")
                                        .arg(QLocale(QLocale::English).toString(value))
                                        .arg(value * 100.0 / 1048575, 0, 'f', 1));
    EXPECT_EQ(window->grbHistory->title(), QStringLiteral("History: 2 / 2"));
    window->Undo1Click(nullptr);
    EXPECT_EQ(window->Table(), before);
    window->SpeedButton2Click(nullptr);
    QTest::mouseMove(image, QPoint(120, 200));
    EXPECT_EQ(image->PointerText(), QStringLiteral("Pixel 120, 200"));
}

TEST_F(WindowTest, MotionPathViewEditsThePathNotTheWave) {
    const Wavetable before = window->Table();
    window->SpeedButton2Click(nullptr);
    qt::TImageView *image = window->imgWaveTables;
    QTest::mousePress(image, Qt::LeftButton, Qt::NoModifier, QPoint(312, 30));
    EXPECT_EQ(window->Path().SelectedPoint, 2);
    QTest::mouseMove(image, QPoint(300, 60));
    QTest::mouseRelease(image, Qt::LeftButton, Qt::NoModifier, QPoint(300, 60));
    EXPECT_EQ(window->Path().Point(2), (render::PathPoint{300, 60}));
    EXPECT_EQ(window->Path().SelectedPoint, -1);
    EXPECT_FALSE(window->PathStroke);
    QTest::mouseClick(image, Qt::LeftButton, Qt::ControlModifier, QPoint(40, 370));
    EXPECT_EQ(window->Path().PathCount, 3);
    EXPECT_EQ(window->Table(), before);
    EXPECT_EQ(window->grbHistory->title(), QStringLiteral("History: 1 / 1"));
    // The path is drawn on top: the large square now sits on point 3.
    EXPECT_EQ(window->GraphBitmap().Pixel(372, 170), kGreen);
    EXPECT_EQ(window->GraphBitmap().Pixel(367, 165), kGreen);
}

TEST_F(WindowTest, GraphFollowsTheLinearAndBSplineButtons) {
    window->SpeedButton2Click(nullptr); // the path over the grid
    const render::Canvas &graph = window->GraphBitmap();
    EXPECT_EQ(graph.Pixel(46, 87), kGreen); // on the first line of the path
    window->rdbSpline->click();
    EXPECT_EQ(graph.Pixel(46, 87), kGrey);   // now the control polygon
    EXPECT_EQ(graph.Pixel(172, 60), kGreen); // the curve starts at the first midpoint
    window->rdbLinear->click();
    EXPECT_EQ(graph.Pixel(46, 87), kGreen);
    // In the wave view the grid lies over the path: row 90 is a grid line.
    window->SpeedButton1Click(nullptr);
    EXPECT_EQ(graph.Pixel(32, 90), kGrid);
    EXPECT_EQ(graph.Pixel(31, 89), kGreen);
}

TEST_F(WindowTest, MakeMotionClearsTheLogPushesAndLeavesTheFlag) {
    ASSERT_FALSE(window->Memo1->toPlainText().isEmpty());
    window->btnMakeWTMotionClick(window->btnMakeWTMotion);
    EXPECT_TRUE(window->Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(window->grbHistory->title(), QStringLiteral("History: 2 / 2"));
    EXPECT_EQ(ReadSample(window->Table(), 0, 10), 557183);
}

TEST_F(WindowTest, NewMotionAsksFirst) {
    dialogs.ConfirmAnswers = {ui::Answer::No, ui::Answer::Yes};
    window->btnNewWTMotion->click();
    EXPECT_EQ(window->Path().PathCount, 4);
    window->btnNewWTMotion->click();
    EXPECT_EQ(window->Path().PathCount, 0);
    EXPECT_EQ(dialogs.Confirmations,
              (std::vector<std::string>{"Are you sure ?", "Are you sure ?"}));
}

TEST_F(WindowTest, FxWidthLabelFollowsTheTrackBar) {
    window->trbSensitivity->setValue(128);
    EXPECT_EQ(window->Label16->text(), QStringLiteral("FX width: 128"));
}

} // namespace
} // namespace morvane::testing
