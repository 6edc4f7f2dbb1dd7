// The Exchange menu on the real window: choosing the MIDI output and sending the selected waves,
// against a recording MIDI system, both the way scripts run it (to its end at once) and the way
// the editor runs it (on a thread of its own behind a progress dialog).
#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include "files/syx_file.h"
#include "midi/midi_settings.h"
#include "support/recording_midi_out.h"
#include "support/temp_folder.h"
#include "support/test_dialogs.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/midi_output_dialog.h"
#include "ui/qt/progress_dialog.h"
#include "ui/qt/qt_dialogs.h"

namespace morvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing_support::RecordingMidiOut;
using Bytes = std::vector<std::uint8_t>;

QString Q(const char *text) {
    return QString::fromLatin1(text);
}

const midi::MidiPort kBlofeld{"alsa", "ALSA", "Blofeld:Blofeld MIDI 1 20:0"};
const midi::MidiPort kReceiver{"jack", "JACK", "receiver:in"};

// The window's MIDI system: each command gets a MidiOut of its own that hands everything to
// one recorder, which the test reads once the send is over.
class SharedMidiOut final : public midi::MidiOut {
public:
    SharedMidiOut(RecordingMidiOut &recorder, std::atomic<int> &sent)
        : recorder_(recorder), sent_(sent) {}
    midi::MidiPortList Ports() override { return recorder_.Ports(); }
    void Open(const midi::MidiPort &port) override { recorder_.Open(port); }
    void Send(std::span<const std::uint8_t> message) override {
        recorder_.Send(message);
        ++sent_;
    }
    void Close() override { recorder_.Close(); }

private:
    RecordingMidiOut &recorder_;
    std::atomic<int> &sent_;
};

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto *app = qobject_cast<qt::TApplication *>(QCoreApplication::instance()))
            app->SetErrorDialogs(&dialogs);
        settings = folder / "morvane.ini";
        recorder.List.Ports = {kBlofeld, kReceiver};
        MakeWindow();
    }
    void TearDown() override {
        window.reset();
        if (auto *app = qobject_cast<qt::TApplication *>(QCoreApplication::instance()))
            app->SetErrorDialogs(nullptr);
    }
    void MakeWindow() {
        qt::MainWindowPorts ports;
        ports.dialogs = &dialogs;
        ports.clock = &clock;
        ports.settingsPath = settings.string();
        window = std::make_unique<qt::TfrmMain>(ports);
        window->MidiOutFactory = [this] {
            return std::make_unique<SharedMidiOut>(recorder, sentCount);
        };
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void ChoosePort(const midi::MidiPort &port, int pauseMs) {
        ui::MidiSetupAnswer answer;
        answer.Ok = true;
        answer.Port = port;
        answer.PauseMs = pauseMs;
        dialogs.MidiAnswers.push_back(answer);
        window->MidiOutput1->trigger();
    }
    // Sends run behind the real progress dialog instead of at once.
    void ShowRealProgress() {
        dialogs.Progress = [this](ui::ProgressJob job) {
            qtDialogs.RunWithProgress(std::move(job));
        };
    }
    // What "SaveSelcWT(syx)" writes for the window's selection, name and slot now, computed on
    // a copy of the table by the file writer.
    Bytes SavedBytes() const {
        Wavetable copy = window->Table();
        files::SyxSaveRequest request;
        request.First = window->trbMorphWaves1->value();
        request.Last = window->trbMorphWaves2->value();
        request.NameField = window->edtName->text().toStdString();
        request.Slot = static_cast<std::uint8_t>(window->cmbWavetableSlot->currentText().toInt());
        std::ostringstream out;
        files::SaveWavetableToStream(out, copy, request);
        const std::string text = out.str();
        return Bytes(text.begin(), text.end());
    }
    Bytes SentBytes() const {
        Bytes all;
        for (const auto &m : recorder.Sent)
            all.insert(all.end(), m.Bytes.begin(), m.Bytes.end());
        return all;
    }
    std::string FileText() const {
        std::ifstream in(settings, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    testing_support::TestDialogs dialogs;
    qt::QtDialogs qtDialogs;
    edit::FixedClock clock{edit::TimeOfDay{1, 2, 3, 4}};
    testing_support::TempFolder folder;
    std::filesystem::path settings;
    RecordingMidiOut recorder;
    std::atomic<int> sentCount{0};
    std::unique_ptr<qt::TfrmMain> window;
};

TEST_F(ExchangeTest, TheExchangeMenuStandsBeforeHelpWithItsTwoItems) {
    const QList<QAction *> top = window->menuBar()->actions();
    ASSERT_GE(top.size(), 6);
    EXPECT_EQ(top[top.size() - 2]->objectName(), Q("Exchange1"));
    EXPECT_EQ(top[top.size() - 2]->text(), Q("E&xchange"));
    EXPECT_EQ(top.back()->objectName(), Q("Help1"));
    const QList<QAction *> items = window->Exchange1->actions();
    ASSERT_GE(items.size(), 2); // later commands of the menu follow these two
    EXPECT_EQ(items[0], window->MidiOutput1);
    EXPECT_EQ(items[0]->objectName(), Q("MidiOutput1"));
    EXPECT_EQ(items[0]->text(), Q("MIDI output ..."));
    EXPECT_TRUE(items[0]->shortcut().isEmpty());
    EXPECT_EQ(items[1]->objectName(), Q("SendToSynth1"));
    EXPECT_EQ(items[1]->text(), Q("Send wavetable to synth"));
    EXPECT_EQ(items[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
}

TEST_F(ExchangeTest, SendingWithoutAChosenPortSaysWhereToChooseOne) {
    window->SendToSynth1->trigger();
    EXPECT_THAT(dialogs.Messages,
                ElementsAre("SendWavetableToSynth No MIDI output port is chosen. Choose the "
                            "instrument's port under Exchange > MIDI output ... first."));
    EXPECT_TRUE(recorder.Log.empty());
}

TEST_F(ExchangeTest, TheChosenPortAndPauseAreKeptInTheSettingsFileBesideTheAudioSection) {
    { std::ofstream(settings) << "[AudioOutput]\nWaveChannels=1\n"; }
    window->MidiOutput1->trigger(); // Cancel: nothing changes
    ASSERT_EQ(dialogs.MidiShown.size(), 1u);
    EXPECT_EQ(dialogs.MidiShown[0].Entries.size(), 2u);
    EXPECT_EQ(dialogs.MidiShown[0].Preselected, -1);
    EXPECT_EQ(dialogs.MidiShown[0].PauseMs, 1000);
    EXPECT_EQ(FileText(), "[AudioOutput]\nWaveChannels=1\n");

    ChoosePort(kReceiver, 40);
    EXPECT_EQ(FileText(), "[AudioOutput]\nWaveChannels=1\n\n[MidiOutput]\nMidiApi=jack\n"
                          "MidiPort=receiver:in\nMidiPauseMs=40\n");
    EXPECT_EQ(window->MidiSettings(), (midi::MidiOutputSettings{"jack", "receiver:in", 40}));

    // The next window finds the choice, and the dialog preselects it; its Refresh lists anew.
    window.reset();
    MakeWindow();
    recorder.List.Ports = {kReceiver};
    window->MidiOutput1->trigger();
    ASSERT_EQ(dialogs.MidiShown.size(), 3u);
    EXPECT_EQ(dialogs.MidiShown[2].Preselected, 0);
    EXPECT_EQ(dialogs.MidiShown[2].PauseMs, 40);
    recorder.List.Ports = {kBlofeld, kReceiver};
    ASSERT_TRUE(dialogs.MidiShown[2].Rescan);
    EXPECT_EQ(dialogs.MidiShown[2].Rescan().Preselected, 1);
}

TEST_F(ExchangeTest, TheSelectedWavesGoOutAsTheSyxSaveWouldWriteThemAndTheDocumentStays) {
    ChoosePort(kBlofeld, 20);
    window->trbMorphWaves2->setValue(10);
    window->trbMorphWaves1->setValue(5);
    window->cmbWavetableSlot->setCurrentIndex(15); // "95", without running its handler
    window->edtName->setText(Q("Pads"));
    window->SetModified(false);
    const Wavetable before = window->Table();
    const Bytes expected = SavedBytes();
    ASSERT_EQ(expected.size(), 6u * 410u);

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);

    EXPECT_TRUE(dialogs.Messages.empty()) << dialogs.Messages.front();
    ASSERT_EQ(recorder.Sent.size(), 6u);
    EXPECT_EQ(SentBytes(), expected);
    EXPECT_EQ(recorder.Sent[0].Bytes[6], 4);
    EXPECT_EQ(recorder.Sent[0].Bytes[5], 95);
    EXPECT_EQ(window->Table(), before); // not stamped
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(window->Memo1Lines().back(), Q("6 waves were sent to Blofeld:Blofeld MIDI 1 20:0."));
    EXPECT_TRUE(window->SendToSynth1->isEnabled());
}

TEST_F(ExchangeTest, AFailedSendShowsOneBoxWithTheCountThatWentOut) {
    ChoosePort(kBlofeld, 20);
    window->trbMorphWaves1->setValue(61);
    recorder.FailAt = 3;
    window->SendToSynth1->trigger();
    EXPECT_THAT(dialogs.Messages,
                ElementsAre("SendWavetableToSynth The port went away. 2 of 4 waves were sent."));

    dialogs.Messages.clear();
    recorder.List.Ports = {kReceiver}; // the instrument was switched off
    window->SendToSynth1->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_THAT(dialogs.Messages[0], HasSubstr("\"Blofeld:Blofeld MIDI 1 20:0\" is not available"));
    EXPECT_THAT(dialogs.Messages[0], HasSubstr("0 of 4 waves were sent."));
}

TEST_F(ExchangeTest, AWaveThatMidiCannotCarryIsRefusedByItsNumber) {
    ChoosePort(kBlofeld, 20);
    window->Table().SamplePtr(0, 0)[0] = 0xC0; // a sample stored beyond the 21-bit range
    window->SendToSynth1->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_THAT(dialogs.Messages[0], HasSubstr("SendWavetableToSynth Wave 1 holds the byte C0"));
    EXPECT_TRUE(recorder.Sent.empty());
    EXPECT_THAT(recorder.Log, ::testing::Not(::testing::Contains(::testing::StartsWith("open"))));
}

TEST_F(ExchangeTest, InTheEditorTheSendRunsBehindAProgressDialogAndTheWindowGoesOn) {
    ChoosePort(kReceiver, 20);
    window->trbMorphWaves1->setValue(59);
    const Bytes expected = SavedBytes();
    ShowRealProgress();

    window->SendToSynth1->trigger();
    EXPECT_TRUE(window->SendingToSynth);
    EXPECT_FALSE(window->SendToSynth1->isEnabled());
    QPointer<qt::TfrmProgress> progress = window->findChild<qt::TfrmProgress *>();
    ASSERT_TRUE(progress);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->windowTitle(), Q("Send wavetable to synth"));
    EXPECT_EQ(progress->maximum(), 6);
    // The window takes commands meanwhile: the send goes on with the bytes it started with.
    window->btnInvert->click();

    QTRY_VERIFY_WITH_TIMEOUT(!window->SendingToSynth, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(progress.isNull(), 5000);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(SentBytes(), expected);
    EXPECT_TRUE(window->SendToSynth1->isEnabled());
    EXPECT_EQ(window->Memo1Lines().back(), Q("6 waves were sent to receiver:in."));
}

TEST_F(ExchangeTest, CancelStopsAfterTheWaveInFlightAndSaysHowManyWent) {
    ChoosePort(kReceiver, 500);
    ShowRealProgress();
    window->SendToSynth1->trigger();
    QPointer<qt::TfrmProgress> progress = window->findChild<qt::TfrmProgress *>();
    ASSERT_TRUE(progress);
    QTRY_VERIFY_WITH_TIMEOUT(sentCount.load() >= 1, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(progress->labelText(), Q("Sending wave 1 of 64"), 5000);
    progress->btnCancel->click();
    EXPECT_EQ(progress->labelText(), Q("Stopping after the wave in flight ..."));
    EXPECT_FALSE(progress->btnCancel->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!window->SendingToSynth, 5000);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0], "Sending was cancelled. " + std::to_string(sentCount.load()) +
                                       " of 64 waves were sent.");
    EXPECT_LE(sentCount.load(), 2);
    EXPECT_EQ(recorder.Log.back(), "close");
}

TEST_F(ExchangeTest, ClosingTheWindowDuringASendStopsItWithoutABox) {
    ChoosePort(kReceiver, 2000);
    ShowRealProgress();
    window->SendToSynth1->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(sentCount.load() >= 1, 5000);
    window.reset(); // waits for the send to stop; its result has no window to go to
    EXPECT_EQ(sentCount.load(), 1);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(recorder.Log.back(), "close");
}

TEST(MidiOutputDialog, ShowsThePortsThePauseAndKeepsTheChoiceOverRefresh) {
    ui::MidiSetupChoices choices;
    choices.Entries = {{kBlofeld, true, "ALSA: Blofeld:Blofeld MIDI 1 20:0"},
                       {kReceiver, true, "JACK: receiver:in"}};
    choices.Notes = {"ALSA: no ALSA sequencer is available."};
    choices.Preselected = 0;
    choices.PauseMs = 250;
    int rescans = 0;
    choices.Rescan = [&] {
        ++rescans;
        ui::MidiSetupChoices again;
        again.Entries = {{kReceiver, true, "JACK: receiver:in"},
                         {kBlofeld, true, "ALSA: Blofeld:Blofeld MIDI 1 20:0"}};
        again.Preselected = 1;
        return again;
    };
    qt::TfrmMidiOutput dialog(choices);
    EXPECT_EQ(dialog.windowTitle(), Q("MIDI output"));
    EXPECT_EQ(dialog.objectName(), Q("frmMidiOutput"));
    ASSERT_EQ(dialog.cmbMidiPort->count(), 2);
    EXPECT_EQ(dialog.cmbMidiPort->currentText(), Q("ALSA: Blofeld:Blofeld MIDI 1 20:0"));
    EXPECT_EQ(dialog.lblMidiNotes->text(), Q("ALSA: no ALSA sequencer is available."));
    EXPECT_EQ(dialog.edtMidiPause->value(), 250);
    EXPECT_EQ(dialog.edtMidiPause->minimum(), 20);
    EXPECT_EQ(dialog.edtMidiPause->maximum(), 2000);

    dialog.cmbMidiPort->setCurrentIndex(1);
    dialog.edtMidiPause->setValue(5000); // the box holds no more than 2000
    dialog.btnRefresh->click();
    EXPECT_EQ(rescans, 1);
    EXPECT_EQ(dialog.cmbMidiPort->itemText(0), Q("JACK: receiver:in"));
    EXPECT_EQ(dialog.cmbMidiPort->currentIndex(), 0); // receiver:in stays chosen
    EXPECT_TRUE(dialog.lblMidiNotes->isHidden());
    const ui::MidiSetupAnswer answer = dialog.Choice();
    EXPECT_EQ(answer.Port, kReceiver);
    EXPECT_EQ(answer.PauseMs, 2000);

    qt::TfrmMidiOutput empty(ui::MidiSetupChoices{});
    EXPECT_EQ(empty.cmbMidiPort->currentIndex(), -1);
    EXPECT_FALSE(empty.Choice().Port);
    EXPECT_EQ(empty.Choice().PauseMs, 1000);
}

} // namespace
} // namespace morvane
