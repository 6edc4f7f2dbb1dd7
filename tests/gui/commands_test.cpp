// The commands of the main window itself: new wavetable with its save question, undo and redo,
// the name field, the two selectors, help, about, the credit line and exit.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QUrl>

#include "edit/history.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

QString Q(const char *text) {
    return QString::fromLatin1(text);
}

std::string NameOf(const Wavetable &table, int w) {
    return std::string(reinterpret_cast<const char *>(table.Message(w) + 392), 14);
}

// An edit as the commands make them: one sample changed, then a push.
void Edit(qt::TfrmMain &window, int value) {
    WriteSample(window.Table(), 0, 5, value);
    window.PushHistory();
    window.SetModified(true);
}

TEST_F(WindowTest, NewWithAnUnchangedTableAsksNothing) {
    WriteSample(window->Table(), 4, 0, 1234); // changed behind the flag's back
    window->Newwavetable1->trigger();
    EXPECT_TRUE(dialogs.Confirmations.empty());
    EXPECT_EQ(ReadSample(window->Table(), 4, 0), 25725);
    EXPECT_EQ(window->windowTitle(), Q("Waldorf Blofeld Morvane 1.11 (free) - untitled"));
    EXPECT_EQ(window->lblFilename->text(), Q("SysEx filename: untitled"));
}

TEST_F(WindowTest, NewWithAChangedTableCancelledKeepsEverything) {
    Edit(*window, 777);
    window->SelectWave(7);
    dialogs.ConfirmAnswers = {ui::Answer::Cancel};
    QTest::mouseClick(window->btnNewWavetable, Qt::LeftButton);
    ASSERT_EQ(dialogs.Confirmations, std::vector<std::string>{"Do you want to save wavetables ?"});
    EXPECT_EQ(ReadSample(window->Table(), 0, 5), 777);
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(window->grbHistory->title(), Q("History: 2 / 2"));
    EXPECT_EQ(window->CurrentWave(), 7);
    EXPECT_EQ(window->windowTitle(), Q("Waldorf Blofeld Morvane 1.11 (free)"));
}

TEST_F(WindowTest, NewWithAChangedTableAnsweredNoReplacesIt) {
    Edit(*window, 777);
    Edit(*window, 778);
    window->SelectWave(7);
    dialogs.ConfirmAnswers = {ui::Answer::No};
    QTest::mouseClick(window->btnNewWavetable, Qt::LeftButton);
    EXPECT_EQ(dialogs.Confirmations.size(), 1u);
    EXPECT_EQ(ReadSample(window->Table(), 0, 5), ReadSample(window->Table(), 1, 5));
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(window->grbHistory->title(), Q("History: 1 / 1"));
    EXPECT_EQ(window->CurrentWave(), 1);
    EXPECT_EQ(window->edtName->text(), Q("untitled"));
    EXPECT_EQ(window->windowTitle(), Q("Waldorf Blofeld Morvane 1.11 (free) - untitled"));
    // The history holds only the new table.
    window->Undo1->trigger();
    EXPECT_EQ(window->Memo1Lines().last(), Q("No more data in history"));
}

TEST_F(WindowTest, NewAnsweredYesStopsWhenTheSaveIsLeft) {
    Edit(*window, 777);
    dialogs.ConfirmAnswers = {ui::Answer::Yes};
    dialogs.FileAnswers = {std::nullopt}; // the save dialog, if one is shown, is left
    window->Newwavetable1->trigger();
    EXPECT_EQ(ReadSample(window->Table(), 0, 5), 777);
    EXPECT_TRUE(window->IsModified());
}

TEST_F(WindowTest, NewKeepsTheDeviceIdAndSlotSelectors) {
    window->cmbDeviceID->setCurrentIndex(5);
    window->cmbWavetableSlot->setCurrentIndex(3);
    window->Newwavetable1->trigger();
    EXPECT_EQ(window->cmbDeviceID->currentText(), Q("5"));
    EXPECT_EQ(window->cmbWavetableSlot->currentText(), Q("83"));
    for (int w = 0; w < 64; ++w) {
        EXPECT_EQ(window->Table().Message(w)[3], 5) << w;
        EXPECT_EQ(window->Table().Message(w)[5], 0) << w;
    }
}

TEST_F(WindowTest, UndoAndRedoWalkTheHistoryWithTheirCaptions) {
    window->Undo1->trigger();
    EXPECT_EQ(window->grbHistory->title(), Q("History: 1 / 1"));
    window->Redo1->trigger();
    EXPECT_EQ(window->grbHistory->title(), Q("History: 1 / 1"));
    EXPECT_EQ(window->Memo1Lines(),
              (QStringList{Q("Hello Blofeld WT World!"), Q("No more data in history"),
                           Q("No more data in history")}));
    EXPECT_FALSE(window->IsModified()) << "a refused undo changes nothing";

    Edit(*window, 101);
    Edit(*window, 102);
    Edit(*window, 103);
    EXPECT_EQ(window->grbHistory->title(), Q("History: 4 / 4"));
    window->SetModified(false);
    window->Undo1->trigger();
    window->Undo1->trigger();
    EXPECT_EQ(window->grbHistory->title(), Q("History: 2 / 4"));
    EXPECT_EQ(ReadSample(window->Table(), 0, 5), 101);
    EXPECT_TRUE(window->IsModified());
    QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(window->grbHistory->title(), Q("History: 3 / 4"));
    EXPECT_EQ(ReadSample(window->Table(), 0, 5), 102);
    Edit(*window, 104);
    EXPECT_EQ(window->grbHistory->title(), Q("History: 4 / 4"));
    window->Redo1->trigger();
    EXPECT_EQ(window->Memo1Lines().last(), Q("No more data in history"));
    EXPECT_EQ(ReadSample(window->Table(), 0, 5), 104);
}

TEST_F(WindowTest, UndoAndRedoRedrawTheOverviewOfTheRestoredTable) {
    const QImage newTable = window->imgColoredWaveTables->Image();
    window->chbRandomAllSlice->setChecked(true); // waves 1..64
    window->btnInvert->click();
    const QImage inverted = window->imgColoredWaveTables->Image();
    ASSERT_NE(inverted, newTable);
    window->Undo1->trigger();
    EXPECT_EQ(window->imgColoredWaveTables->Image(), newTable);
    window->Redo1->trigger();
    EXPECT_EQ(window->imgColoredWaveTables->Image(), inverted);
}

TEST_F(WindowTest, ARefusedOverflowIsShownOncePerClickAndTheLogKeepsItsLastLines) {
    window->cmbAmplitude->setCurrentIndex(0); // 1/1: the new table's sine overflows
    window->chbRandomAllSlice->setChecked(true);
    const Wavetable before = window->Table();
    for (int click = 1; click <= 16; ++click) {
        window->btnAdd->click(); // 64 waves restored, 64 log lines
        ASSERT_EQ(dialogs.Messages,
                  std::vector<std::string>(static_cast<std::size_t>(click),
                                           "21 bit overflow error. You can allow overflow! -->"));
    }
    EXPECT_EQ(window->Table(), before);
    const QStringList log = window->Memo1Lines(); // 1 + 16 * 64 lines written
    EXPECT_EQ(log.size(), qt::TfrmMain::kLogLinesKept);
    EXPECT_EQ(log.count(Q("21 bit overflow error. You can allow overflow! -->")), 1000);

    // Allowed, the same click stores its values and shows nothing.
    window->ckbAllowOverflow->setChecked(true);
    window->btnAdd->click();
    EXPECT_EQ(dialogs.Messages.size(), 16u);
    EXPECT_NE(window->Table(), before);
}

TEST_F(WindowTest, UndoRedrawsTheSelectedWave) {
    window->SelectWave(2);
    WriteSample(window->Table(), 1, 31, 0);
    window->PushHistory();
    window->DrawWavetable(2);
    EXPECT_NE(window->GraphBitmap().Pixel(93, 99), render::Rgb(0, 0, 0));
    window->Undo1->trigger();
    // Wave 2's sine is back, and drawn: the curve passes (93, 99).
    EXPECT_EQ(window->GraphBitmap().Pixel(93, 99), render::Rgb(0, 0, 0));
}

TEST_F(WindowTest, NameFieldWritesTheTrimmedNameIntoEveryWave) {
    window->edtName->setFocus();
    window->edtName->selectAll();
    QTest::keyClicks(window->edtName, Q(" pad"));
    EXPECT_TRUE(window->IsModified());
    for (int w = 0; w < 64; ++w)
        EXPECT_EQ(NameOf(window->Table(), w), "pad           ") << w;
    EXPECT_EQ(window->edtName->text(), Q(" pad")) << "the field keeps what was typed";
    window->DrawWavetable(1);
    EXPECT_EQ(window->edtName->text(), Q("pad")) << "the redraw trims it";

    // Typing a text that equals the stored name leaves the flag as it was.
    window->SetModified(false);
    window->edtName->setText(Q("pad "));
    EXPECT_FALSE(window->IsModified());

    // Clearing writes fourteen spaces; nothing is pushed.
    window->edtName->clear();
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(NameOf(window->Table(), 63), std::string(14, ' '));
    EXPECT_EQ(window->grbHistory->title(), Q("History: 1 / 1"));
}

TEST_F(WindowTest, NameCharactersBeyondOneByteBecomeQuestionMarks) {
    window->edtName->setText(QString::fromUtf8("a\u20acb"));
    EXPECT_EQ(NameOf(window->Table(), 0), "a?b           ");
}

TEST_F(WindowTest, ChoosingSlotOrDeviceWritesEveryMessage) {
    // The user's choice, as the combo box reports it.
    window->cmbWavetableSlot->setCurrentIndex(15);
    emit window->cmbWavetableSlot->activated(15);
    EXPECT_TRUE(window->IsModified());
    for (int w = 0; w < 64; ++w)
        EXPECT_EQ(window->Table().Message(w)[5], 95) << w;

    window->cmbDeviceID->setFocus();
    QTest::keyClick(window->cmbDeviceID, Qt::Key_Down); // a real user's choice of "1"
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(window->cmbDeviceID, Qt::Key_Down);
    EXPECT_EQ(window->cmbDeviceID->currentText(), Q("5"));
    for (int w = 0; w < 64; ++w) {
        EXPECT_EQ(window->Table().Message(w)[3], 5) << w;
        EXPECT_EQ(window->Table().Message(w)[5], 95) << w;
    }
    EXPECT_EQ(window->grbHistory->title(), Q("History: 1 / 1"));
}

TEST_F(WindowTest, HelpAboutShowTheirTexts) {
    window->MorvaneHelp1->trigger();
    ASSERT_EQ(dialogs.HelpShown.size(), 1u);
    ASSERT_GE(dialogs.HelpShown[0].size(), 4u);
    EXPECT_EQ(dialogs.HelpShown[0][0], "Shortcuts:");
    EXPECT_EQ(dialogs.HelpShown[0][1], " - Motionpath");
    EXPECT_EQ(dialogs.HelpShown[0][2], "    Create new point = Click");
    EXPECT_EQ(dialogs.HelpShown[0][3], "    Delete pont = Ctrl + Click or right click");
    window->About1->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("Morvane 1.11"), std::string::npos);
}

TEST_F(WindowTest, CreditLineDemoEntryAndHelpItemOpenTheUserGuide) {
    QTest::mouseClick(window->Label8, Qt::LeftButton);
    window->Youtubedemovideo1->trigger();
    window->UserGuide1->trigger();
    ASSERT_EQ(dialogs.GuidesShown.size(), 3u);
    // The build finds the guide in the source tree's docs folder.
    EXPECT_EQ(QFileInfo(QString::fromStdString(dialogs.GuidesShown[0])).canonicalFilePath(),
              QFileInfo(QStringLiteral(MORVANE_TEST_DATA_DIR "/../../docs/guide.md"))
                  .canonicalFilePath());
    EXPECT_EQ(dialogs.GuidesShown[1], dialogs.GuidesShown[0]);
    EXPECT_EQ(dialogs.GuidesShown[2], dialogs.GuidesShown[0]);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(WindowTest, ExitAsksAboutUnsavedWorkCancelKeepsTheWindowNoCloses) {
    Edit(*window, 777);
    dialogs.ConfirmAnswers = {ui::Answer::Cancel, ui::Answer::No};
    window->Exit1->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(ReadSample(window->Table(), 0, 5), 777);
    window->Exit1->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.Confirmations.size(), 2u);

    // Nothing unsaved: nothing to ask.
    window->show();
    window->SetModified(false);
    window->Exit1->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.Confirmations,
              std::vector<std::string>(2, "Do you want to save wavetables ?"));
}

} // namespace
} // namespace morvane::testing
