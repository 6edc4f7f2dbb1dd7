// The audio import dialog: the frame lengths offered, the count and the mapping following the
// choice, OK only for a length that gives frames; a recording in the pitch-tracked cycles mode
// with its pitches, region picture and preview; and the answer through the Qt dialogs port.
#include <filesystem>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../exchange/exchange_test_support.h"
#include "exchange/audio_import.h"
#include "ui/qt/image_view.h"
#include "ui/qt/import_audio_dialog.h"
#include "ui/qt/qt_dialogs.h"

namespace morvane {
namespace {

// Three frames of 1000 samples: 1000 gives 3 frames, 128 gives 23, 4096 none.
ui::ImportAudioChoices Choices() {
    ui::ImportAudioChoices choices;
    choices.FileName = "\"odd.wav\"";
    choices.FormatText = "WAV, 32-bit float, mono, 44,100 Hz";
    choices.TagText = "'clm ' chunk: 1,000 samples per frame";
    choices.FrameLengths = {1000, 128, 4096, 0};
    choices.FrameLengthTexts = {"1000 samples (from the 'clm ' chunk)", "128 samples",
                                "4096 samples", "Whole file as one cycle (3,000 samples)"};
    choices.Proposed = 0;
    choices.First = 3;
    choices.Last = 4;
    const std::vector<std::string> found = {"3 frames of 1,000 samples", "23 frames of 128 samples",
                                            "No whole frame of 4,096 samples in 3,000 samples",
                                            "1 frame of 3,000 samples"};
    choices.FramesFound = [found](int index) { return found[static_cast<std::size_t>(index)]; };
    choices.Mapping = [](int index) -> std::vector<std::string> {
        if (index == 2)
            return {};
        return {"Wave 3: frame 1", "Wave 4: frame " + std::to_string(index == 0 ? 3 : 23)};
    };
    return choices;
}

QString Q(const char *text) {
    return QString::fromLatin1(text);
}

TEST(ImportAudioDialog, ShowsTheFileAndFollowsTheFrameLength) {
    qt::TfrmImportAudio dialog(Choices());
    EXPECT_EQ(dialog.objectName(), Q("frmImportAudio"));
    EXPECT_EQ(dialog.windowTitle(), Q("Import audio or wavetable"));
    EXPECT_EQ(dialog.lblFile->text(), Q("\"odd.wav\""));
    EXPECT_EQ(dialog.lblTag->text(), Q("'clm ' chunk: 1,000 samples per frame"));
    ASSERT_EQ(dialog.cmbFrameLength->count(), 4);
    EXPECT_EQ(dialog.cmbFrameLength->currentIndex(), 0);
    EXPECT_EQ(dialog.cmbFrameLength->itemText(3), Q("Whole file as one cycle (3,000 samples)"));
    EXPECT_EQ(dialog.lblFramesFound->text(), Q("3 frames of 1,000 samples"));
    EXPECT_EQ(dialog.Label2->text(), Q("Waves 3 to 4 take:"));
    ASSERT_EQ(dialog.lbMapping->count(), 2);
    EXPECT_EQ(dialog.lbMapping->item(1)->text(), Q("Wave 4: frame 3"));
    EXPECT_TRUE(dialog.chbNormalise->isChecked());
    EXPECT_TRUE(dialog.btnOK->isEnabled());

    dialog.cmbFrameLength->setCurrentIndex(2);
    EXPECT_EQ(dialog.lblFramesFound->text(), Q("No whole frame of 4,096 samples in 3,000 samples"));
    EXPECT_EQ(dialog.lbMapping->count(), 0);
    EXPECT_FALSE(dialog.btnOK->isEnabled());

    dialog.cmbFrameLength->setCurrentIndex(1);
    EXPECT_TRUE(dialog.btnOK->isEnabled());
    EXPECT_EQ(dialog.lbMapping->item(1)->text(), Q("Wave 4: frame 23"));
    dialog.chbNormalise->setChecked(false);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    const ui::ImportAudioAnswer answer = dialog.Answer();
    EXPECT_TRUE(answer.Ok);
    EXPECT_EQ(answer.FrameLength, 128);
    EXPECT_FALSE(answer.Normalise);
}

// Half a second of a half-scale saw of harmonics 1 to 8 at 220.5 Hz between 0.1 s of silence
// on either side: 30,870 samples, no multiple of a frame length, so a recording.
exchange::AudioFile Recording() {
    std::vector<double> samples(4410, 0.0);
    for (int n = 0; n < 22050; ++n) {
        double saw = 0;
        for (int k = 1; k <= 8; ++k)
            saw += std::sin(2 * std::numbers::pi * k * 220.5 * n / 44100.0) / k;
        samples.push_back(0.25 * saw);
    }
    samples.resize(samples.size() + 4410, 0.0);
    return exchange::ReadAudioBytes(exchange::test::MakeWav(samples, {}), "\"note.wav\"");
}

TEST(ImportAudioDialog, TakesPitchTrackedCyclesFromARecording) {
    const exchange::AudioFile note = Recording();
    qt::TfrmImportAudio dialog(ui::MakeImportAudioChoices(note, 1, 64));
    // A picture of the dialog, saved for looking at.
    std::filesystem::create_directories(MORVANE_TEST_OUTPUT_DIR);
    EXPECT_TRUE(dialog.grab().save(Q(MORVANE_TEST_OUTPUT_DIR "/import_audio_cycles.png"), "PNG"));
    EXPECT_EQ(dialog.cmbMode->currentText(), Q("Pitch-tracked cycles"));
    EXPECT_TRUE(dialog.cmbFrameLength->isHidden());
    EXPECT_FALSE(dialog.imgRecording->isHidden());
    EXPECT_TRUE(dialog.lblPitchFound->text().endsWith(Q(" Hz (A3 +4 cents)")));
    EXPECT_NEAR(dialog.edtRegionStart->value(), 0.1, 0.001);
    EXPECT_NEAR(dialog.edtRegionEnd->value(), 0.6, 0.001);
    EXPECT_EQ(dialog.lblCycleMiddle->text(), Q("Wave 32"));
    EXPECT_TRUE(dialog.btnOK->isEnabled());
    // The region's edges in red on the waveform: 0.1 / 0.7 and 0.6 / 0.7 of its width.
    const QImage &picture = dialog.imgRecording->Image();
    const int left = render::kRecordingWidth * 1 / 7;
    const int right = render::kRecordingWidth * 6 / 7;
    EXPECT_EQ(picture.pixel(left, 2), picture.pixel(right, 2));
    EXPECT_NE(picture.pixel(left, 2), picture.pixel(left - 3, 2));
    // The previews hold a curve: they are not left white.
    QImage white(dialog.imgCycleLast->Image().size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_NE(dialog.imgCycleLast->Image().convertToFormat(QImage::Format_RGB32), white);

    // A pitch entered by hand is shown as a note; text that is none keeps OK from working.
    QTest::keyClicks(dialog.edtPitch, QStringLiteral("A3"));
    EXPECT_EQ(dialog.lblPitchEntered->text(), Q("Pitch entered: 220.00 Hz (A3 +0 cents)"));
    EXPECT_TRUE(dialog.btnOK->isEnabled());
    dialog.edtPitch->setText(QStringLiteral("loud"));
    EXPECT_TRUE(dialog.lblCyclesProblem->text().contains(Q("loud")));
    EXPECT_FALSE(dialog.btnOK->isEnabled());
    dialog.edtPitch->clear();
    EXPECT_TRUE(dialog.lblCyclesProblem->text().isEmpty());

    dialog.edtRegionEnd->setValue(0.4);
    dialog.cmbPhase->setCurrentIndex(2);
    dialog.chbNormalise->setChecked(false);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    ui::ImportAudioAnswer answer = dialog.Answer();
    EXPECT_TRUE(answer.Ok);
    EXPECT_EQ(answer.Mode, ui::ImportAudioMode::Cycles);
    EXPECT_EQ(answer.Cycles.Pitch, "");
    EXPECT_FALSE(answer.Cycles.Start.has_value()); // left at the region proposed
    EXPECT_EQ(answer.Cycles.End, 0.4);
    EXPECT_EQ(answer.Cycles.Phase, exchange::PhaseMode::Zero);
    EXPECT_FALSE(answer.Normalise);

    // Back to frames: the whole file as one cycle, as before.
    dialog.cmbMode->setCurrentIndex(0);
    EXPECT_FALSE(dialog.cmbFrameLength->isHidden());
    EXPECT_TRUE(dialog.imgRecording->isHidden());
    EXPECT_EQ(dialog.Answer().Mode, ui::ImportAudioMode::Frames);
    EXPECT_EQ(dialog.Answer().FrameLength, exchange::kWholeFile);
}

TEST(ImportAudioDialog, AnswersThroughTheQtDialogsPort) {
    qt::QtDialogs dialogs;
    QTimer::singleShot(0, [] {
        QTRY_VERIFY(qobject_cast<qt::TfrmImportAudio *>(QApplication::activeModalWidget()) !=
                    nullptr);
        auto *dialog = qobject_cast<qt::TfrmImportAudio *>(QApplication::activeModalWidget());
        dialog->cmbFrameLength->setCurrentIndex(3);
        dialog->btnOK->click();
    });
    ui::ImportAudioAnswer answer = dialogs.ImportAudio(Choices());
    EXPECT_TRUE(answer.Ok);
    EXPECT_EQ(answer.FrameLength, 0);
    EXPECT_TRUE(answer.Normalise);

    QTimer::singleShot(0, [] {
        QTRY_VERIFY(qobject_cast<qt::TfrmImportAudio *>(QApplication::activeModalWidget()) !=
                    nullptr);
        qobject_cast<qt::TfrmImportAudio *>(QApplication::activeModalWidget())->btnCancel->click();
    });
    answer = dialogs.ImportAudio(Choices());
    EXPECT_FALSE(answer.Ok);
}

} // namespace
} // namespace morvane
