// The audition window on the real main window, over a stream that renders when the test says
// and a MIDI input the test plays by hand.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "audio/audio_stream.h"
#include "ui/qt/audition_window.h"
#include "ui/qt/main_window.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

class FakeMidiIn final : public midi::MidiIn {
public:
    explicit FakeMidiIn(int &opens) : opens_(opens) {}
    midi::MidiPortList Ports() override { return {{{"alsa", "ALSA", "Keys 20:0"}}, {}}; }
    void Open(const midi::MidiPort &, midi::MidiInReceiver &) override { ++opens_; }
    void Close() override {}

private:
    int &opens_;
};

float Peak(const float *samples) {
    float peak = 0;
    for (std::size_t i = 0; i < 2 * audio::NullAudioStreamOut::kNullPeriodFrames; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

class AuditionWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        folder_ = fs::temp_directory_path() /
                  ("morvane-audition-gui-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(folder_);
        OpenWindow();
    }
    void TearDown() override {
        window.reset();
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    void OpenWindow() {
        window.reset();
        qt::MainWindowPorts ports{&dialogs, &clock};
        ports.waveOut = &waveOut;
        ports.streamOut = &stream;
        ports.midiIn = [this] { return std::make_unique<FakeMidiIn>(opens); };
        ports.settingsPath = (folder_ / "morvane.ini").string();
        window = std::make_unique<qt::TfrmMain>(ports);
        window->Audition1->trigger();
        audition = window->frmAudition;
    }
    std::string Settings() const {
        std::ifstream in(folder_ / "morvane.ini");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    const synth::AuditionEngine &Engine() const { return *audition->Session().Engine(); }

    fs::path folder_;
    TestDialogs dialogs;
    edit::FixedClock clock{edit::TimeOfDay{1, 2, 3, 4}};
    audio::NullWaveOut waveOut;
    audio::NullAudioStreamOut stream{audio::NullAudioStreamOut::Clock::Manual};
    int opens = 0;
    std::unique_ptr<qt::TfrmMain> window;
    qt::TfrmAudition *audition = nullptr;
};

TEST_F(AuditionWindowTest, TheKeyboardPlaysAndEditsAreHeardWhileItPlays) {
    ASSERT_NE(audition, nullptr);
    EXPECT_TRUE(audition->isVisible());
    EXPECT_FALSE(audition->isModal());
    EXPECT_EQ(audition->parent(), window.get());
    window->Table() = Wavetable{}; // silent, until the edit below
    audition->btnAuditionPlay->click();
    ASSERT_TRUE(stream.IsOpen());
    EXPECT_EQ(audition->btnAuditionPlay->text(), QStringLiteral("Stop"));
    // The first white key, low on the key: C3 at a firm velocity.
    QTest::mousePress(audition->imgKeyboard, Qt::LeftButton, {},
                      QPoint(3, audition->imgKeyboard->height() - 5));
    EXPECT_EQ(Peak(stream.Pump(4)), 0.0F);
    const auto notes = Engine().VoiceNotes();
    EXPECT_NE(std::find(notes.begin(), notes.end(), ui::kKeyboardLowNote), notes.end());
    // An edit redraws the graph; the table reaches the voice once the event loop turns.
    window->NewWavetable();
    window->DrawWavetable(1);
    QCoreApplication::processEvents();
    EXPECT_GT(Peak(stream.Pump()), 0.05F);
    QTest::mouseRelease(audition->imgKeyboard, Qt::LeftButton, {},
                        QPoint(3, audition->imgKeyboard->height() - 5));
    EXPECT_EQ(audition->imgKeyboard->HeldNote(), std::nullopt);
}

TEST_F(AuditionWindowTest, PlayAndTheAuditionStopEachOtherAndTheListFollowsThePosition) {
    audition->trbPosition->setValue(1025); // wave 10.25
    audition->btnAuditionPlay->click();
    stream.Pump();
    audition->TimerAuditionTimer(nullptr);
    EXPECT_EQ(window->CurrentWave(), 10);
    window->btnPlay->click();
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Stop"));
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(audition->btnAuditionPlay->text(), QStringLiteral("Play"));
    audition->btnAuditionPlay->click();
    EXPECT_TRUE(stream.IsOpen());
    EXPECT_EQ(window->btnPlay->text(), QStringLiteral("Play"));
    audition->close(); // closing the window ends the sound
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(audition->btnAuditionPlay->text(), QStringLiteral("Play"));
}

TEST_F(AuditionWindowTest, TheMidiInputChosenIsRememberedAndOpenedNextTime) {
    ASSERT_EQ(audition->cmbMidiInput->count(), 2);
    EXPECT_EQ(audition->cmbMidiInput->itemText(0), QStringLiteral("(none)"));
    EXPECT_EQ(audition->cmbMidiInput->itemText(1), QStringLiteral("ALSA: Keys 20:0"));
    EXPECT_EQ(opens, 0);
    audition->cmbMidiInput->setCurrentIndex(1);
    audition->cmbMidiInputChange(audition->cmbMidiInput);
    EXPECT_EQ(opens, 1);
    EXPECT_NE(Settings().find("[MidiInput]\nMidiApi=alsa\nMidiPort=Keys 20:0\n"),
              std::string::npos);
    OpenWindow();
    EXPECT_EQ(opens, 2);
    EXPECT_EQ(audition->cmbMidiInput->currentIndex(), 1);
    EXPECT_TRUE(dialogs.Messages.empty());
}

} // namespace
} // namespace morvane::testing
