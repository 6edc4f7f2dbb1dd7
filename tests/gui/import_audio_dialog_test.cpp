// The audio import dialog: the frame lengths offered, the count and the mapping following the
// choice, OK only for a length that gives frames, and the answer through the Qt dialogs port.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
