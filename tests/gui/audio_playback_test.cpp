// Play and stop, the sweep, the play buffers, the audio setup and the settings file, on the
// real main window over a silent wave-out device.
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "audio/wave_out.h"
#include "edit/random.h"
#include "support/file_contents.h"
#include "support/temp_folder.h"
#include "support/test_dialogs.h"
#include "ui/dialogs.h"
#include "ui/qt/audio_setup_dialog.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/wave_list.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

using testing_support::ReadText;

class AudioWindowTest : public ::testing::Test {
protected:
    void TearDown() override { window.reset(); }
    fs::path SettingsFile() const { return folder_ / "morvane.ini"; }
    fs::path Folder() const { return folder_.Path(); }
    void Open() {
        qt::MainWindowPorts ports{&dialogs, &clock};
        ports.waveOut = &device;
        ports.settingsPath = SettingsFile().string();
        window = std::make_unique<qt::TfrmMain>(ports);
    }
    void ChooseWave(int wave) {
        window->SelectWave(wave);
        window->lbWaveTableIndexClick(window->lbWaveTableIndex);
    }
    int CurrentIndex() const { return window->lbWaveTableIndex->currentRow(); }
    // The first 256 values of buffer 1 as the stereo fill at 44,100 Hz must make them from
    // wave `wave`: each sample / 128 twice, for left and right.
    void ExpectBuffersHold(int wave) const {
        ASSERT_TRUE(window->AudioGen);
        const audio::AudioBuffer &buffer = window->AudioGen->Buffers[0];
        for (int s = 0; s < kSampleCount; ++s) {
            const int expected = ReadSample(window->Table(), wave - 1, s) / 128;
            SCOPED_TRACE("sample " + std::to_string(s + 1));
            ASSERT_EQ(buffer[static_cast<std::size_t>(2 * s)].load(), expected);
            ASSERT_EQ(buffer[static_cast<std::size_t>(2 * s + 1)].load(), expected);
        }
    }

    testing_support::TestDialogs dialogs;
    edit::FixedClock clock{edit::TimeOfDay{1, 2, 3, 4}};
    audio::NullWaveOut device{
        {{"Speakers", audio::kAllWaveFormats16}, {"Headphones", audio::kWaveFormat4S16}}};
    std::unique_ptr<qt::TfrmMain> window;

private:
    testing_support::TempFolder folder_;
};

TEST_F(AudioWindowTest, PlayAndStopFollowTheCaption) {
    Open();
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Play"));
    EXPECT_FALSE(window->AudioGen);
    window->FillPlayBuffers(); // no generator: nothing happens
    EXPECT_FALSE(window->AudioGen);

    window->btnPlay->click();
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Stop"));
    ASSERT_TRUE(window->AudioGen);
    audio::TAudioGen *first = window->AudioGen.Get();
    EXPECT_TRUE(first->Running);
    EXPECT_FALSE(window->TimerPlay->isActive()); // no sweep

    window->btnPlay->click();
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Play"));
    EXPECT_FALSE(first->Running);
    EXPECT_EQ(window->AudioGen.Get(), first); // kept after Stop

    // The next Play makes a new generator.
    window->Play1->trigger();
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Stop"));
    EXPECT_NE(window->AudioGen.Get(), first);
    window->Play1->trigger();
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Play"));
}

TEST_F(AudioWindowTest, BuffersFollowTheCurrentWaveAndStopReturnsToTheStartWave) {
    Open();
    // Make wave 10 different from the others.
    for (int s = 0; s < kSampleCount; ++s)
        WriteSample(window->Table(), 9, s, (s - 64) * 5000 + 77);
    ChooseWave(3);
    window->btnPlayClick(window->btnPlay);
    EXPECT_EQ(window->PlayStartWave, 2);
    ExpectBuffersHold(3);

    ChooseWave(10); // choosing another wave switches the sound at once
    ExpectBuffersHold(10);

    window->btnPlayClick(window->btnPlay);
    EXPECT_EQ(CurrentIndex(), 2);
    // Redraws go on refilling the stopped generator's buffers.
    ExpectBuffersHold(3);
}

TEST_F(AudioWindowTest, SweepRunsBackAndForthAndStopsWithPlay) {
    Open();
    EXPECT_EQ(window->trbPlaySpeed->value(), 25);
    EXPECT_EQ(window->TimerPlay->interval(), 101);
    ChooseWave(62);
    window->chbPlayAll->click();
    EXPECT_FALSE(window->TimerPlay->isActive()); // idle: no timer
    window->btnPlay->click();
    EXPECT_TRUE(window->TimerPlay->isActive());
    EXPECT_EQ(window->SweepDirection, +1);

    std::vector<int> visited;
    for (int tick = 0; tick < 5; ++tick) {
        window->TimerPlayTimer(window->TimerPlay);
        visited.push_back(CurrentIndex());
    }
    EXPECT_EQ(visited, (std::vector<int>{62, 63, 63, 62, 61}));
    ExpectBuffersHold(62); // each step is heard

    window->btnPlay->click();
    EXPECT_FALSE(window->TimerPlay->isActive());
    EXPECT_EQ(CurrentIndex(), 61); // wave 62, current when Play was pressed
}

TEST_F(AudioWindowTest, BoxAndMenuMarkAlwaysAgree) {
    Open();
    EXPECT_FALSE(window->chbPlayAll->isChecked());
    EXPECT_FALSE(window->Sweepwavetable->isChecked());
    window->chbPlayAll->click();
    EXPECT_TRUE(window->chbPlayAll->isChecked());
    EXPECT_TRUE(window->Sweepwavetable->isChecked());
    window->Sweepwavetable->trigger();
    EXPECT_FALSE(window->chbPlayAll->isChecked());
    EXPECT_FALSE(window->Sweepwavetable->isChecked());
    window->Sweepwavetable->trigger();
    EXPECT_TRUE(window->chbPlayAll->isChecked());
    EXPECT_TRUE(window->Sweepwavetable->isChecked());
    EXPECT_FALSE(window->TimerPlay->isActive());
}

TEST_F(AudioWindowTest, CheckingTheBoxWhilePlayingSweepsTheWayItLastWent) {
    Open();
    ChooseWave(20);
    window->btnPlay->click();
    EXPECT_FALSE(window->TimerPlay->isActive());
    window->SweepDirection = -1;
    window->Sweepwavetable->trigger();
    EXPECT_TRUE(window->TimerPlay->isActive());
    window->TimerPlayTimer(window->TimerPlay);
    EXPECT_EQ(CurrentIndex(), 18);
    window->chbPlayAll->click(); // clearing it stops the sweep, playing goes on
    EXPECT_FALSE(window->TimerPlay->isActive());
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Stop"));
    window->btnPlay->click();
}

TEST_F(AudioWindowTest, PlaySpeedSetsTheTimerInterval) {
    Open();
    window->trbPlaySpeed->setValue(50);
    EXPECT_EQ(window->TimerPlay->interval(), 1);
    window->trbPlaySpeed->setValue(1);
    EXPECT_EQ(window->TimerPlay->interval(), 197);
}

TEST_F(AudioWindowTest, AudioSetupAppliesOkAndIgnoresCancel) {
    Open();
    dialogs.AudioAnswers.push_back({true, 1, "22.05 kHz, mono"});
    window->AudioSetup1->trigger();
    ASSERT_EQ(dialogs.AudioOffered.size(), 1u);
    EXPECT_EQ(dialogs.AudioOffered[0].Devices,
              (std::vector<std::string>{"Speakers", "Headphones"}));
    EXPECT_EQ(dialogs.AudioOffered[0].Formats[0].size(), 10u);
    EXPECT_EQ(dialogs.AudioOffered[0].Formats[1], (std::vector<std::string>{"44.1 kHz, stereo"}));
    EXPECT_EQ(dialogs.AudioOffered[0].PreselectedFormat, 5); // 44,100 Hz stereo saved
    EXPECT_EQ(window->AudioSettings, (audio::AudioSettings{1, 1, 22050, 2, 16}));

    dialogs.AudioAnswers.push_back({false, 0, "96 kHz, stereo"});
    window->AudioSetup1Click(window->AudioSetup1);
    EXPECT_EQ(window->AudioSettings, (audio::AudioSettings{1, 1, 22050, 2, 16}));
    EXPECT_EQ(dialogs.AudioOffered[1].PreselectedFormat, 2); // now 22,050 Hz mono
}

TEST_F(AudioWindowTest, CtrlQOpensTheAudioSetup) {
    Open();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(dialogs.AudioOffered.size(), 1u);
}

TEST_F(AudioWindowTest, SettingsAreReadAtStartAndWrittenAtClose) {
    {
        std::ofstream out(SettingsFile(), std::ios::binary);
        out << "[AudioOutput]\nWaveAudioDevice=1\nWaveChannels=1\nWaveSamplesPerSec=11025\n"
               "WaveBlockAlign=2\nWaveBitsPerSample=16\n[Mine]\nKeep=1\n";
    }
    Open();
    EXPECT_EQ(window->AudioSettings, (audio::AudioSettings{1, 1, 11025, 2, 16}));
    window->AudioSettings.WaveSamplesPerSec = 48000;
    window->btnPlay->click();
    audio::TAudioGen *generator = window->AudioGen.Get();
    window->close(); // nothing unsaved: no question
    EXPECT_FALSE(generator->Running);
    EXPECT_EQ(ReadText(SettingsFile()),
              "[AudioOutput]\nWaveAudioDevice=1\nWaveChannels=1\nWaveSamplesPerSec=48000\n"
              "WaveBlockAlign=2\nWaveBitsPerSample=16\n[Mine]\nKeep=1\n");
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(AudioWindowTest, CloseWithUnsavedWorkAsksAndOnlyANoOrADoneSaveCloses) {
    const std::string settings = "[AudioOutput]\nWaveChannels=1\n";
    {
        std::ofstream out(SettingsFile(), std::ios::binary);
        out << settings;
    }
    Open();
    window->show();
    window->btnPlay->click();
    audio::TAudioGen *generator = window->AudioGen.Get();
    window->btnInvert->click();
    ASSERT_TRUE(window->IsModified());

    // Cancel, and Yes with the save dialog left: open, playing, the settings file untouched.
    dialogs.ConfirmAnswers = {ui::Answer::Cancel, ui::Answer::Yes};
    dialogs.FileAnswers = {std::nullopt};
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(generator->Running);
    EXPECT_EQ(ReadText(SettingsFile()), settings);

    // Yes and a file: saved, then closed as before.
    const fs::path saved = Folder() / "work.syx";
    dialogs.ConfirmAnswers = {ui::Answer::Yes};
    dialogs.FileAnswers = {saved.string()};
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(generator->Running);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(fs::file_size(saved), 64u * 410u);
    // The saved file went to the front of the recent list, kept at once.
    EXPECT_EQ(ReadText(SettingsFile()),
              "[AudioOutput]\nWaveChannels=1\nWaveAudioDevice=0\nWaveSamplesPerSec=44100\n"
              "WaveBlockAlign=4\nWaveBitsPerSample=16\n\n[RecentFiles]\nFile1=" +
                  saved.string() + "\nFile2=\nFile3=\nFile4=\nFile5=\nFile6=\nFile7=\nFile8=\n");
    EXPECT_EQ(dialogs.Confirmations,
              std::vector<std::string>(3, "Do you want to save wavetables ?"));
}

TEST_F(AudioWindowTest, WithoutASettingsFileTheDefaultsAreWrittenAtClose) {
    Open();
    EXPECT_EQ(window->AudioSettings, audio::AudioSettings{});
    window->close();
    EXPECT_EQ(ReadText(SettingsFile()),
              "[AudioOutput]\nWaveAudioDevice=0\nWaveChannels=2\nWaveSamplesPerSec=44100\n"
              "WaveBlockAlign=4\nWaveBitsPerSample=16\n");
}

TEST_F(AudioWindowTest, FailedOpenIsToldOnceAndPlayStaysPlay) {
    Open();
    window->AudioSettings.WaveAudioDevice = 5; // the device has two
    window->btnPlay->click();
    const QString line = QStringLiteral("Audio device could not be opened: Invalid device");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Memo1Lines().contains(line); }, 5000));
    EXPECT_EQ(dialogs.Messages,
              std::vector<std::string>{"Play: the sound output number 5 (there is no such device) "
                                       "could not be opened: Invalid device"});
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Play"));
    ASSERT_TRUE(window->AudioGen);
    window->AudioGen->Join();
    EXPECT_TRUE(window->AudioGen->Finished());

    // A device that is there but refuses: named as the system lists it.
    window->AudioSettings.WaveAudioDevice = 1;
    window->AudioSettings.WaveBitsPerSample = 8;
    window->btnPlay->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.Messages.size() == 2; }, 5000));
    EXPECT_EQ(dialogs.Messages.back(),
              "Play: the sound output \"Headphones\" could not be opened: Unsupported wave format "
              "(2 channels, 44100 Hz, 8 bits, block align 4)");
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Play"));
    EXPECT_EQ(window->Memo1Lines().count(line), 1);
}

// The dialog itself.
ui::AudioSetupChoices TwoDevices(int preselected) {
    ui::AudioSetupChoices choices;
    choices.Devices = {"Speakers", "USB Audio \xC3\xA9"};
    choices.Formats = {{"11.025 kHz, mono", "11.025 kHz, stereo", "22.05 kHz, mono",
                        "22.05 kHz, stereo", "44.1 kHz, mono", "44.1 kHz, stereo", "48 kHz, mono",
                        "48 kHz, stereo", "96 kHz, mono", "96 kHz, stereo"},
                       {"44.1 kHz, mono", "44.1 kHz, stereo"}};
    choices.PreselectedFormat = preselected;
    return choices;
}

TEST(AudioSetupDialog, OpensOnTheFirstDeviceAndFillsTheFormatsOnceShown) {
    qt::TfrmAudioSetup dialog(TwoDevices(7));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Audio Setup"));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Audio devices"));
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("Audio formats"));
    EXPECT_EQ(dialog.BitBtn1->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.BitBtn2->text(), QStringLiteral("Cancel"));
    ASSERT_EQ(dialog.cmbAudioDevice->count(), 2);
    EXPECT_EQ(dialog.cmbAudioDevice->itemText(1), QStringLiteral("USB Audio \u00E9"));
    EXPECT_EQ(dialog.cmbAudioDevice->currentIndex(), 0);
    EXPECT_EQ(dialog.cmbAudioFormats->count(), 0); // not before it is on screen

    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.cmbAudioFormats->count() == 10; }, 5000));
    EXPECT_FALSE(dialog.Timer1->isActive()); // one shot
    EXPECT_EQ(dialog.cmbAudioFormats->currentText(), QStringLiteral("48 kHz, stereo"));

    // The user picks the second device: two formats, and index 7 points past them.
    dialog.cmbAudioDevice->setCurrentIndex(1);
    emit dialog.cmbAudioDevice->activated(1);
    EXPECT_EQ(dialog.cmbAudioFormats->count(), 2);
    EXPECT_EQ(dialog.cmbAudioFormats->currentIndex(), -1);
    ui::AudioSetupAnswer answer = dialog.Answer();
    EXPECT_EQ(answer.Device, 1);
    EXPECT_EQ(answer.FormatText, "");

    dialog.cmbAudioFormats->setCurrentIndex(0);
    dialog.BitBtn1->click();
    answer = dialog.Answer();
    EXPECT_TRUE(answer.Ok);
    EXPECT_EQ(answer.Device, 1);
    EXPECT_EQ(answer.FormatText, "44.1 kHz, mono");
}

TEST(AudioSetupDialog, PreselectionMayNameAnotherEntryOfAShorterList) {
    ui::AudioSetupChoices choices = TwoDevices(1); // 11,025 Hz stereo saved
    std::swap(choices.Formats[0], choices.Formats[1]);
    qt::TfrmAudioSetup dialog(choices);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.cmbAudioFormats->count() == 2; }, 5000));
    EXPECT_EQ(dialog.cmbAudioFormats->currentText(), QStringLiteral("44.1 kHz, stereo"));
    dialog.BitBtn2->click();
    EXPECT_FALSE(dialog.Answer().Ok);
}

TEST(AudioSetupDialog, WithNoDeviceItSaysSoInsteadOfTwoEmptyLists) {
    qt::TfrmAudioSetup dialog(ui::AudioSetupChoices{{}, {}, 5});
    dialog.show();
    dialog.activateWindow();
    QTest::qWait(50);
    EXPECT_TRUE(dialog.lblNoOutput->isVisible());
    EXPECT_EQ(dialog.lblNoOutput->text(), QStringLiteral("No sound output found"));
    EXPECT_FALSE(dialog.cmbAudioDevice->isVisible());
    EXPECT_FALSE(dialog.cmbAudioFormats->isVisible());
    EXPECT_EQ(dialog.cmbAudioDevice->count(), 0);
    EXPECT_EQ(dialog.cmbAudioFormats->count(), 0);
    dialog.BitBtn1->click();
    const ui::AudioSetupAnswer answer = dialog.Answer();
    EXPECT_TRUE(answer.Ok);
    EXPECT_EQ(answer.Device, -1);
    EXPECT_EQ(answer.FormatText, "");
}

TEST(AudioSetupDialog, TheQtPortShowsItModallyAndReturnsTheChoice) {
    qt::QtDialogs port;
    // Once the modal dialog is up and its formats are in, press OK as the user would.
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<qt::TfrmAudioSetup *>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->cmbAudioFormats->count() == 10) {
            poll.stop();
            dialog->BitBtn1->click();
        }
    });
    poll.start();
    const ui::AudioSetupAnswer answer = port.AudioSetup(TwoDevices(4));
    EXPECT_TRUE(answer.Ok);
    EXPECT_EQ(answer.Device, 0);
    EXPECT_EQ(answer.FormatText, "44.1 kHz, mono");
}

} // namespace
} // namespace morvane
