// The current wave, the wave selection with its check box and menu mark, the sample range
// with its scroll bars, and the view switch.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>

#include "motion/motion_path.h"
#include "render/canvas.h"
#include "render/drawing.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

QString Q(const char *text) {
    return QString::fromLatin1(text);
}

constexpr render::Colour kShadeFill = render::Rgb(96, 96, 96);
constexpr render::Colour kWhite = render::Rgb(255, 255, 255);

TEST_F(WindowTest, FromBeyondToSpringsBackWithTheLongCaption) {
    window->trbMorphWaves2->setValue(30);
    window->trbMorphWaves1->setValue(40);
    EXPECT_EQ(window->trbMorphWaves1->value(), 30);
    EXPECT_EQ(window->Label4->text(), Q("Select wave from: 30"));
    EXPECT_EQ(window->chbRandomAllSlice->text(), Q("make modification for waveform 30 to 30"));
    EXPECT_EQ(window->RangeWaveSelection(), (WaveRange{30, 30}));
}

TEST_F(WindowTest, ToBelowFromSpringsBackWithTheShortCaption) {
    window->trbMorphWaves1->setValue(30);
    EXPECT_EQ(window->chbRandomAllSlice->text(), Q("make modification for waveform 30 to 64"));
    window->trbMorphWaves2->setValue(20);
    EXPECT_EQ(window->trbMorphWaves2->value(), 30);
    EXPECT_EQ(window->Label5->text(), Q("Select wave to: 30"));
    EXPECT_EQ(window->chbRandomAllSlice->text(), Q("make for waveform 30 to 30"));
}

TEST_F(WindowTest, CheckedSelectionFollowsTheCheckBox) {
    window->trbMorphWaves1->setValue(5);
    window->trbMorphWaves2->setValue(9);
    window->SelectWave(20);
    EXPECT_EQ(window->CheckedWaveSelection(), (WaveRange{20, 20}));
    EXPECT_EQ(window->RangeWaveSelection(), (WaveRange{5, 9}));
    window->chbRandomAllSlice->setChecked(true);
    EXPECT_EQ(window->CheckedWaveSelection(), (WaveRange{5, 9}));
}

TEST_F(WindowTest, F11AndTheCheckBoxKeepTheMenuMarkInStep) {
    QTest::keyClick(window->lbWaveTableIndex, Qt::Key_F11);
    EXPECT_TRUE(window->chbRandomAllSlice->isChecked());
    EXPECT_TRUE(window->Makemodificationforselectedwaveforms1->isChecked());
    QTest::keyClick(window->lbWaveTableIndex, Qt::Key_F11);
    EXPECT_FALSE(window->chbRandomAllSlice->isChecked());
    EXPECT_FALSE(window->Makemodificationforselectedwaveforms1->isChecked());

    // A click on the check box changes the menu's mark too.
    QTest::mouseClick(window->chbRandomAllSlice, Qt::LeftButton, {},
                      QPoint(6, window->chbRandomAllSlice->height() / 2));
    EXPECT_TRUE(window->chbRandomAllSlice->isChecked());
    EXPECT_TRUE(window->Makemodificationforselectedwaveforms1->isChecked());
    // The menu item itself, triggered as from the menu.
    window->Makemodificationforselectedwaveforms1->trigger();
    EXPECT_FALSE(window->chbRandomAllSlice->isChecked());
    EXPECT_FALSE(window->Makemodificationforselectedwaveforms1->isChecked());
}

TEST_F(WindowTest, ScrollBarsSetTheSampleRangeAndIgnoreCrossedPositions) {
    window->ScrollBar1->setValue(10);
    EXPECT_EQ(window->GetSampleRange(), (SampleRange{10, 127}));
    EXPECT_EQ(window->lblFrom->text(), Q("from 11"));
    EXPECT_EQ(window->lblto->text(), Q("to 128"));
    // Samples 1 to 10 are shaded: Rectangle (0, 0, 30, 384), its fill inside the outline.
    EXPECT_EQ(window->GraphBitmap().Pixel(15, 100), kShadeFill);
    EXPECT_EQ(window->GraphBitmap().Pixel(28, 100), kShadeFill);
    EXPECT_NE(window->GraphBitmap().Pixel(31, 100), kShadeFill);

    window->ScrollBar1->setValue(127);
    EXPECT_EQ(window->ScrollBar1->value(), 127);
    EXPECT_EQ(window->GetSampleRange(), (SampleRange{10, 127}));
    EXPECT_EQ(window->lblFrom->text(), Q("from 11"));
    EXPECT_EQ(window->lblto->text(), Q("to 128"));

    // Equal positions are refused too; the first accepted move afterwards counts.
    window->ScrollBar2->setValue(127);
    window->ScrollBar1->setValue(20);
    window->ScrollBar2->setValue(20);
    EXPECT_EQ(window->GetSampleRange(), (SampleRange{20, 127}));
    window->ScrollBar2->setValue(21);
    EXPECT_EQ(window->GetSampleRange(), (SampleRange{20, 21}));
    EXPECT_EQ(window->lblFrom->text(), Q("from 21"));
    EXPECT_EQ(window->lblto->text(), Q("to 22"));
}

TEST_F(WindowTest, FunctionKeysSwitchTheViewAndTheMarks) {
    QTest::keyClick(window->lbWaveTableIndex, Qt::Key_F2);
    EXPECT_EQ(window->ViewMode(), 2);
    EXPECT_TRUE(window->SpeedButton2->isChecked());
    EXPECT_FALSE(window->SpeedButton1->isChecked());
    EXPECT_FALSE(window->Viewwave1->isChecked());
    EXPECT_TRUE(window->Viewmotionpath1->isChecked());
    {
        // The path now lies over the grid and the curve.
        render::Canvas expected(render::kGraphSize, render::kGraphSize);
        render::DrawGraphPicture(expected, window->Table(), 1, SampleRange{0, 127},
                                 render::kMotionPathView, window->Path().Points(), false);
        EXPECT_TRUE(std::equal(expected.Data(),
                               expected.Data() + render::kGraphSize * render::kGraphSize,
                               window->GraphBitmap().Data()));
    }

    QTest::keyClick(window->lbWaveTableIndex, Qt::Key_F1);
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_TRUE(window->SpeedButton1->isChecked());
    EXPECT_FALSE(window->SpeedButton2->isChecked());
    EXPECT_TRUE(window->Viewwave1->isChecked());
    EXPECT_FALSE(window->Viewmotionpath1->isChecked());

    // The speed buttons do the same, and so do the menu items.
    QTest::mouseClick(window->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(window->ViewMode(), 2);
    EXPECT_TRUE(window->Viewmotionpath1->isChecked());
    window->Viewmotionpath1->trigger(); // again: the view stays, the mark stays
    EXPECT_EQ(window->ViewMode(), 2);
    EXPECT_TRUE(window->Viewmotionpath1->isChecked());
    window->Viewwave1->trigger();
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_TRUE(window->Viewwave1->isChecked());
    EXPECT_FALSE(window->Viewmotionpath1->isChecked());
    EXPECT_TRUE(window->SpeedButton1->isChecked());
}

TEST_F(WindowTest, ClickingAWaveRedrawsItAndChoosingOneByProgramDoesNot) {
    // Wave 3 made flat at zero: its curve runs along the zero line.
    for (int k = 0; k < kSampleCount; ++k)
        WriteSample(window->Table(), 2, k, 0);
    const QImage before = window->imgWaveTables->Image();

    window->SelectWave(3);
    EXPECT_EQ(window->CurrentWave(), 3);
    EXPECT_EQ(window->imgWaveTables->Image(), before) << "a programmatic choice redrew";

    window->SelectWave(1);
    QListWidget *list = window->lbWaveTableIndex;
    const QRect third = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(window->CurrentWave(), 3);
    // The sine's point (93, 99) of wave 1 is gone; the flat curve passes (93, 192).
    EXPECT_EQ(window->GraphBitmap().Pixel(93, 192), render::Rgb(0, 0, 0));
    EXPECT_EQ(window->GraphBitmap().Pixel(93, 99), render::Rgb(224, 224, 224)); // a grid row
    EXPECT_NE(window->imgWaveTables->Image(), before);

    // A key that moves the selection counts as a click too.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(window->CurrentWave(), 2);
    EXPECT_EQ(window->GraphBitmap().Pixel(93, 99), render::Rgb(0, 0, 0));
}

TEST_F(WindowTest, GraphImageShowsGraphBitmapWithTheLastRowLeftOut) {
    const QImage &image = window->imgWaveTables->Image();
    ASSERT_EQ(image.size(), QSize(384, 385));
    for (int y = 0; y < 384; y += 7)
        for (int x = 0; x < 384; x += 5)
            ASSERT_EQ(image.pixel(x, y), window->GraphBitmap().Pixel(x, y)) << x << "," << y;
    for (int x = 0; x < 384; ++x)
        ASSERT_EQ(image.pixel(x, 384), kWhite) << x;
}

} // namespace
} // namespace morvane::testing
