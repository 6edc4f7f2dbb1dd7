// The file commands of the main window and the two small dialogs, on the real window.
#include <deque>
#include <filesystem>
#include <iterator>
#include <optional>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "document/path_text.h"
#include "edit/history.h"
#include "edit/random.h"
#include "files/midi_file.h"
#include "files/wave_file.h"
#include "support/file_contents.h"
#include "support/temp_folder.h"
#include "support/test_dialogs.h"
#include "ui/qt/application.h"
#include "ui/qt/help_dialog.h"
#include "ui/qt/main_window.h"
#include "ui/qt/wave_list.h"
#include "ui/qt/wave_tables_dialog.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

using testing_support::ReadAll;
using testing_support::WriteAll;

std::vector<std::uint8_t> Message(std::uint8_t device, std::uint8_t slot, std::uint8_t fill,
                                  const std::string &name) {
    std::vector<std::uint8_t> m(410, fill);
    const std::uint8_t head[8] = {0xF0, 0x3E, 0x13, device, 0x12, slot, 0x00, 0x00};
    std::copy(std::begin(head), std::end(head), m.begin());
    for (std::size_t c = 0; c < 14; ++c)
        m[392 + c] = c < name.size() ? static_cast<std::uint8_t>(name[c]) : ' ';
    m[406] = m[407] = 0;
    m[408] = 0x7F;
    m[409] = 0xF7;
    return m;
}

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto *app = qobject_cast<qt::TApplication *>(QCoreApplication::instance()))
            app->SetErrorDialogs(&dialogs);
        window = std::make_unique<qt::TfrmMain>(qt::MainWindowPorts{&dialogs, &clock});
        window->show();
    }
    void TearDown() override {
        window.reset();
        if (auto *app = qobject_cast<qt::TApplication *>(QCoreApplication::instance()))
            app->SetErrorDialogs(nullptr);
        EXPECT_TRUE(dialogs.ConfirmAnswers.empty());
        EXPECT_TRUE(dialogs.FileAnswers.empty());
    }
    std::string File(const std::string &name) const { return (folder / name).string(); }
    std::string Title() const { return window->windowTitle().toStdString(); }
    std::string Label() const { return window->lblFilename->text().toStdString(); }
    Wavetable NewTable() const {
        Wavetable t;
        FillNewWavetable(t, 0);
        return t;
    }

    testing_support::TempFolder folder;
    testing_support::TestDialogs dialogs;
    edit::FixedClock clock{edit::TimeOfDay{1, 2, 3, 4}};
    std::unique_ptr<qt::TfrmMain> window;
};

TEST_F(FileCommands, LoadingThreeMessagesListsThemAndShowsTheLastHeader) {
    std::vector<std::uint8_t> bytes = Message(1, 90, 0x11, "One");
    const std::vector<std::uint8_t> second = Message(2, 91, 0x12, "Two");
    const std::vector<std::uint8_t> third = Message(7, 95, 0x13, "Three");
    bytes.insert(bytes.end(), second.begin(), second.end());
    bytes.insert(bytes.end(), third.begin(), third.end());
    const std::string path = File("three.syx");
    WriteAll(path, bytes);
    const int historyBefore = window->History().HistoryCount();

    dialogs.FileAnswers.push_back(path);
    window->btnLoadwavetable->click();

    ASSERT_EQ(window->lbWaveTableIndex->count(), 3);
    EXPECT_EQ(window->lbWaveTableIndex->item(0)->text(), QStringLiteral("1 wavetable"));
    EXPECT_EQ(window->lbWaveTableIndex->item(2)->text(), QStringLiteral("3 wavetable"));
    EXPECT_EQ(window->CurrentWave(), 1);
    EXPECT_EQ(window->cmbWavetableSlot->currentText(), QStringLiteral("95"));
    EXPECT_EQ(window->cmbDeviceID->currentText(), QStringLiteral("7"));
    // The selectors were not written into the messages: wave 1 keeps device 1, slot 90.
    EXPECT_EQ(window->Table().Message(0)[3], 1);
    EXPECT_EQ(window->Table().Message(0)[5], 90);
    // The redraw spread wave 1's name over all 64 messages, then the flag was cleared.
    EXPECT_EQ(window->edtName->text(), QStringLiteral("One"));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(window->Table().Message(63) + 392), 14),
              "One           ");
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(Title(), "Waldorf Blofeld Morvane 1.11 (free) - " + ReversePath(path));
    EXPECT_EQ(Label(), SpaceBackslashes("SysEx filename: " + path));
    EXPECT_EQ(window->History().HistoryCount(), historyBefore + 1);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(FileCommands, LoadAsksFirstWhenTheTableChangedAndCancelStops) {
    window->SetModified(true);
    dialogs.ConfirmAnswers.push_back(ui::Answer::Cancel);
    window->btnLoadwavetable->click();
    EXPECT_EQ(dialogs.Confirmations, std::vector<std::string>{"Do you want to save wavetables ?"});
    EXPECT_TRUE(dialogs.FileDialogsShown.empty());
    EXPECT_TRUE(window->IsModified());
}

TEST_F(FileCommands, LoadOfMoreThan64MessagesSaysHowManyItHeld) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 66; ++i) {
        const std::vector<std::uint8_t> m = Message(0, 80, static_cast<std::uint8_t>(i), "M");
        bytes.insert(bytes.end(), m.begin(), m.end());
    }
    const std::string path = File("many.syx");
    WriteAll(path, bytes);
    dialogs.FileAnswers.push_back(path);
    window->btnLoadwavetable->click();
    EXPECT_EQ(dialogs.Messages,
              std::vector<std::string>{
                  "The file holds 66 wave messages; only the first 64 were loaded."});
    EXPECT_EQ(window->lbWaveTableIndex->count(), 64);
    EXPECT_EQ(window->Table().Message(63)[8], 63);
}

// Everything a failed load must leave as it was.
struct DocumentState {
    Wavetable Table;
    std::string Title, Label, FirstItem, OpenName;
    int Items, Current, Position, Count;
    bool Modified;
    bool operator==(const DocumentState &) const = default;
};

TEST_F(FileCommands, FailedLoadsAndImportsChangeNothingAndSayWhyOnce) {
    // A document with a name, an edit and two history steps.
    const std::string good = File("good.syx");
    WriteAll(good, Message(2, 95, 0x11, "Good"));
    dialogs.FileAnswers.push_back(good);
    window->btnLoadwavetable->click();
    WriteSample(window->Table(), 0, 0, 1234);
    window->PushHistory();
    window->SetModified(true);
    auto state = [this] {
        return DocumentState{window->Table(),
                             Title(),
                             Label(),
                             window->lbWaveTableIndex->item(0)->text().toStdString(),
                             window->OpenDialog1.FileName,
                             window->lbWaveTableIndex->count(),
                             window->CurrentWave(),
                             window->History().HistoryPosition(),
                             window->History().HistoryCount(),
                             window->IsModified()};
    };
    const DocumentState before = state();

    const std::string empty = File("empty.syx");
    WriteAll(empty, {});
    const std::string cut = File("cut.syx");
    const std::vector<std::uint8_t> m = Message(1, 80, 0x22, "Cut");
    WriteAll(cut, std::vector<std::uint8_t>(m.begin(), m.begin() + 300));
    const std::string fifo = File("pipe.syx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string cutWav = File("cut.wav");
    files::WaveBuffers &buffers = files::WaveBuffersInstance();
    files::PrepareWaveExport(NewTable(), buffers);
    files::FillWaveHeader(buffers);
    std::vector<std::uint8_t> wav = files::WaveFileBytes(buffers);
    wav.resize(10000);
    WriteAll(cutWav, wav);
    const std::string none = "LoadWavetableFromFile The file holds no whole wave message.";
    struct Case {
        QAbstractButton *Button;
        std::string Path, Text;
    };
    for (const Case &c : std::vector<Case>{
             {window->btnLoadwavetable, File("absent.syx"),
              "LoadWavetableFromFile Cannot open \"" + File("absent.syx") +
                  "\": No such file or directory"},
             {window->btnLoadwavetable, folder.Path().string(),
              "LoadWavetableFromFile Cannot open \"" + folder.Path().string() +
                  "\": Is a directory"},
             {window->btnLoadwavetable, fifo,
              "LoadWavetableFromFile Cannot open \"" + fifo + "\": it is not a regular file"},
             {window->btnLoadwavetable, "/dev/zero",
              "LoadWavetableFromFile Cannot open \"/dev/zero\": it is not a regular file"},
             {window->btnLoadwavetable, empty, none},
             {window->btnLoadwavetable, cut, none + " The file ends inside message 1."},
             {window->btnImportWTfromMidi, File("absent.mid"),
              "LoadWavetableFromFile Cannot open \"" + File("absent.mid") +
                  "\": No such file or directory"},
             {window->btnImportWTfromMidi, cut, "No wavetable in file."},
             {window->btnLoadWave, cutWav,
              "The file is shorter than its header says: it holds 9956 of 32768 bytes of "
              "samples."}}) {
        SCOPED_TRACE(c.Path);
        dialogs.Messages.clear();
        if (c.Button != window->btnLoadWave)
            dialogs.ConfirmAnswers.push_back(ui::Answer::No); // "Do you want to save wavetables ?"
        dialogs.FileAnswers.push_back(c.Path);
        c.Button->click();
        EXPECT_EQ(dialogs.Messages, std::vector<std::string>{c.Text});
        EXPECT_EQ(state(), before); // the next save does not propose the failed file either
    }
}

TEST_F(FileCommands, PartLoadSaysWhatWasSkippedAndOverflowSaveSaysSoAfterWriting) {
    std::vector<std::uint8_t> bytes = Message(3, 90, 0x11, "Part");
    std::vector<std::uint8_t> damaged = Message(3, 90, 0x12, "Part");
    damaged[3] = 0x80; // the device byte
    bytes.insert(bytes.end(), damaged.begin(), damaged.end());
    std::vector<std::uint8_t> overflow = Message(3, 91, 0x13, "Part");
    overflow[8] = 0x9F; // a sample byte from an "Allow overflow" save
    bytes.insert(bytes.end(), overflow.begin(), overflow.end());
    bytes.insert(bytes.end(), overflow.begin(), overflow.begin() + 20);
    const std::string path = File("part.syx");
    WriteAll(path, bytes);
    dialogs.FileAnswers.push_back(path);
    window->btnLoadwavetable->click();
    EXPECT_EQ(dialogs.Messages,
              std::vector<std::string>{"2 wave messages were loaded. The file ends inside message "
                                       "4. 1 damaged message was skipped. Wave 2 holds values the "
                                       "instrument cannot take."});
    EXPECT_EQ(window->lbWaveTableIndex->count(), 2);
    EXPECT_EQ(window->Table().Message(1)[8], 0x9F);
    EXPECT_EQ(window->History().HistoryCount(), 2);

    // The save writes the bytes as they are, then says so.
    dialogs.Messages.clear();
    const std::string saved = File("saved.syx");
    dialogs.FileAnswers.push_back(saved);
    window->btnSaveWavetable->click();
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{"Wave 2 holds values the instrument "
                                                         "cannot take. The instrument will not "
                                                         "read them from this file."});
    const std::vector<std::uint8_t> written = ReadAll(saved);
    ASSERT_EQ(written.size(), 64u * 410u);
    EXPECT_EQ(written[410 + 8], 0x9F);
    EXPECT_FALSE(window->IsModified());
}

TEST_F(FileCommands, SaveProposesTheNameFieldThenTheLoadedFile) {
    window->edtName->setText(QStringLiteral("Bells"));
    dialogs.FileAnswers.push_back(std::nullopt); // the user leaves the dialog
    window->btnSaveWavetable->click();
    ASSERT_EQ(dialogs.FileDialogsShown.size(), 1u);
    EXPECT_EQ(dialogs.FileDialogsShown[0].Name, "SaveDialog1");
    EXPECT_EQ(dialogs.FileDialogsShown[0].FilterIndex, 1);
    EXPECT_EQ(dialogs.FileDialogsShown[0].Proposed, "Bells");
    EXPECT_TRUE(window->IsModified()); // the name change set it; leaving the dialog keeps it

    window->OpenDialog1.FileName = "/somewhere/pads.mid";
    dialogs.FileAnswers.push_back(std::nullopt);
    window->btnSaveWavetable->click();
    EXPECT_EQ(dialogs.FileDialogsShown[1].Proposed, "/somewhere/pads.syx");
}

TEST_F(FileCommands, SaveWritesTheSelectedRangeAndClearsTheFlag) {
    window->edtName->setText(QStringLiteral("Range"));
    window->trbMorphWaves1->setValue(5);
    window->trbMorphWaves2->setValue(10);
    const std::string path = File("range.syx");
    dialogs.FileAnswers.push_back(path);
    window->btnSaveWavetable->click();
    const std::vector<std::uint8_t> file = ReadAll(path);
    ASSERT_EQ(file.size(), 2460u);
    EXPECT_EQ(file[6], 4);
    EXPECT_EQ(file[410 * 5 + 6], 9);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(Title(), TitleForPath(path));
}

TEST_F(FileCommands, OverwriteQuestionNoKeepsFileAndFlag) {
    const std::string path = File("old.syx");
    WriteAll(path, {1, 2, 3});
    window->SetModified(true);
    dialogs.FileAnswers.push_back(path);
    dialogs.ConfirmAnswers.push_back(ui::Answer::No);
    window->btnSaveWavetable->click();
    EXPECT_EQ(dialogs.Confirmations, std::vector<std::string>{"Overwrite ?"});
    EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_TRUE(window->IsModified());

    // The save question of a new table then stops its command.
    dialogs.ConfirmAnswers.push_back(ui::Answer::Yes); // "Do you want to save wavetables ?"
    dialogs.FileAnswers.push_back(path);
    dialogs.ConfirmAnswers.push_back(ui::Answer::No); // "Overwrite ?"
    const Wavetable before = window->Table();
    window->Table().Message(0)[8] = 0x05;
    const Wavetable changed = window->Table();
    window->btnNewWavetable->click();
    EXPECT_EQ(window->Table(), changed);
    EXPECT_NE(window->Table(), before);
}

TEST_F(FileCommands, FailedSaveKeepsTheFlagAndTheTitle) {
    window->SetModified(true);
    const std::string titleBefore = Title();
    const std::string path = File("no/such/folder/x.syx");
    dialogs.FileAnswers.push_back(path);
    window->btnSaveWavetable->click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].rfind("SaveWavetableToFile Cannot create", 0), 0u)
        << dialogs.Messages[0];
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(Title(), titleBefore);
}

TEST_F(FileCommands, MidiExportAsksTwiceOverAnExistingFile) {
    const std::string path = File("pad.mid");
    WriteAll(path, {7});
    window->SetModified(true);
    const std::string titleBefore = Title();

    dialogs.FileAnswers.push_back(path);
    dialogs.ConfirmAnswers.push_back(ui::Answer::Yes);
    dialogs.ConfirmAnswers.push_back(ui::Answer::No);
    window->btnExportWavetable->click();
    EXPECT_EQ(dialogs.Confirmations,
              (std::vector<std::string>{"Overwrite ?", "Do you want to overwrite?"}));
    EXPECT_EQ(ReadAll(path), std::vector<std::uint8_t>{7});
    EXPECT_EQ(dialogs.FileDialogsShown[0].FilterIndex, 2);
    EXPECT_EQ(dialogs.FileDialogsShown[0].DefaultExt, "mid");

    dialogs.FileAnswers.push_back(path);
    dialogs.ConfirmAnswers.push_back(ui::Answer::Yes);
    dialogs.ConfirmAnswers.push_back(ui::Answer::Yes);
    window->btnExportWavetable->click();
    EXPECT_EQ(ReadAll(path).size(), 26536u);
    // The export leaves the flag and the title alone.
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(Title(), titleBefore);
}

TEST_F(FileCommands, MidiExportErrorReachesTheGeneralErrorBox) {
    const std::string path = File("missing/pad.mid");
    dialogs.FileAnswers.push_back(path);
    window->btnExportWavetable->click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("No such file or directory"), std::string::npos);
}

TEST_F(FileCommands, MidiImportOfTwoTablesChoosesTheSecond) {
    Wavetable first = NewTable();
    StampHeaders(first, 1, 64, "First", 80);
    Wavetable second = NewTable();
    for (int w = 0; w < 64; ++w)
        WriteSample(second, w, 0, 1000 + w);
    WriteDeviceAndSlot(second, 9, 101);
    StampHeaders(second, 1, 64, "Second", 101);
    std::vector<std::uint8_t> bytes = files::MidiFileBytes(first);
    const std::vector<std::uint8_t> more = files::MidiFileBytes(second);
    bytes.insert(bytes.end(), more.begin(), more.end());
    const std::string path = File("two.mid");
    WriteAll(path, bytes);
    window->OpenDialog1.FileName.clear();

    dialogs.FileAnswers.push_back(path);
    dialogs.SelectorAnswers.push_back({true, 1});
    window->btnImportWTfromMidi->click();
    EXPECT_EQ(dialogs.FileDialogsShown[0].Name, "OpenDialog3");
    ASSERT_EQ(dialogs.SelectorNames.size(), 1u);
    EXPECT_EQ(dialogs.SelectorNames[0], (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(window->Table(), second);
    EXPECT_EQ(window->cmbWavetableSlot->currentText(), QStringLiteral("101"));
    EXPECT_EQ(window->cmbDeviceID->currentText(), QStringLiteral("9"));
    EXPECT_EQ(window->edtName->text(), QStringLiteral("Second"));
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(Title(), TitleForPath(path));
    // The wave list's texts stay.
    EXPECT_EQ(window->lbWaveTableIndex->item(0)->text(), QStringLiteral("01. Wave"));
}

TEST_F(FileCommands, MidiImportConfirmedWithoutSelectionChangesNothing) {
    Wavetable other = NewTable();
    WriteSample(other, 0, 0, 4242);
    StampHeaders(other, 1, 64, "Other", 80);
    const std::string path = File("one.mid");
    WriteAll(path, files::MidiFileBytes(other));
    const Wavetable before = window->Table();
    const std::string titleBefore = Title();
    const int historyBefore = window->History().HistoryCount();

    dialogs.FileAnswers.push_back(path);
    dialogs.SelectorAnswers.push_back({true, -1});
    window->btnImportWTfromMidi->click();
    EXPECT_EQ(window->Table(), before);
    EXPECT_EQ(Title(), titleBefore);
    EXPECT_EQ(window->History().HistoryCount(), historyBefore);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(FileCommands, MidiImportOfAFileWithoutWavetables) {
    const std::string path = File("notes.mid");
    WriteAll(path, {0x4D, 0x54, 0x68, 0x64, 0x90, 0x40, 0x7F});
    dialogs.FileAnswers.push_back(path);
    window->btnImportWTfromMidi->click();
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{"No wavetable in file."});
    EXPECT_TRUE(dialogs.SelectorNames.empty());
}

TEST_F(FileCommands, WaveExportAndImportRoundTrip) {
    const std::string path = File("pad.wav");
    dialogs.FileAnswers.push_back(path);
    window->btnExportWTasWav->click();
    EXPECT_EQ(dialogs.FileDialogsShown[0].Name, "savedialogWAVE");
    EXPECT_EQ(ReadAll(path).size(), 32812u);
    EXPECT_TRUE(fs::exists(path + ".txt"));
    EXPECT_FALSE(window->IsModified());

    const int historyBefore = window->History().HistoryCount();
    const Wavetable before = window->Table();
    window->CmbWTFrom->setCurrentIndex(9);
    window->CmbWTTo->setCurrentIndex(11);
    dialogs.FileAnswers.push_back(path);
    window->btnLoadWave->click();
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(window->History().HistoryCount(), historyBefore + 1);
    EXPECT_TRUE(window->IsModified()) << "the import is unsaved work";
    for (int w = 0; w < 64; ++w) {
        SCOPED_TRACE("wave " + std::to_string(w + 1));
        if (w >= 9 && w <= 11) {
            EXPECT_EQ(ReadSample(window->Table(), w, 95), -1048575);
            EXPECT_EQ(ReadSample(window->Table(), w, 0), 51449);
        } else {
            EXPECT_TRUE(std::equal(window->Table().Message(w), window->Table().Message(w) + 410,
                                   before.Message(w)));
        }
    }
    // One undo gives back the table from before the import.
    window->BitBtn1->click();
    EXPECT_EQ(window->Table(), before);
}

TEST_F(FileCommands, WaveExportsAskBeforeReplacingEitherFileOfTheirPair) {
    // Only the dump exists: No writes nothing, Yes writes both.
    const std::string path = File("pad.wav");
    WriteAll(path + ".txt", {9});
    dialogs.FileAnswers = {path, path};
    dialogs.ConfirmAnswers = {ui::Answer::No, ui::Answer::Yes};
    window->btnExportWTasWav->click();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(ReadAll(path + ".txt"), std::vector<std::uint8_t>{9});
    window->btnExportWTasWav->click();
    EXPECT_EQ(ReadAll(path).size(), 32812u);
    EXPECT_GT(ReadAll(path + ".txt").size(), 1u);
    EXPECT_EQ(dialogs.Confirmations, std::vector<std::string>(2, "Overwrite ?"));

    // The 2048 export: No keeps the file, a new name asks nothing.
    const std::string other = File("pad-2048.wav");
    WriteAll(other, {1, 2});
    dialogs.FileAnswers = {other, File("new-2048.wav")};
    dialogs.ConfirmAnswers = {ui::Answer::No};
    window->ExportWavetable2048->trigger();
    EXPECT_EQ(ReadAll(other), (std::vector<std::uint8_t>{1, 2}));
    window->ExportWavetable2048->trigger();
    EXPECT_EQ(fs::file_size(File("new-2048.wav")), 524406u);
    EXPECT_EQ(dialogs.Confirmations.size(), 3u);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(FileCommands, WaveImportRefusalAndSilentRange) {
    const std::string refused = File("stereo.wav");
    std::vector<std::uint8_t> header(44, 0);
    header[20] = 1; // PCM
    header[22] = 2; // stereo
    header[24] = 0x44;
    header[25] = 0xAC; // 44,100
    header[34] = 16;   // 16 bits
    WriteAll(refused, header);
    const Wavetable before = window->Table();
    dialogs.FileAnswers.push_back(refused);
    window->btnLoadWave->click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0], std::string("No 32Bit.") + files::kAcceptedWaveFormats);
    EXPECT_EQ(window->Table(), before);

    // A header with no samples: the range is silent.
    header[22] = 1;
    header[34] = 32;
    const std::string silent = File("silent.wav");
    WriteAll(silent, header);
    dialogs.FileAnswers.push_back(silent);
    window->btnLoadWave->click();
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[1], "Division by zero");
    EXPECT_EQ(window->Table(), before);
}

TEST(WavetableSelector, LayoutAndResults) {
    qt::TfrmWaveTables selector;
    EXPECT_EQ(selector.windowTitle(), QStringLiteral("Wavetable selector"));
    EXPECT_EQ(selector.size(), QSize(257, 257));
    EXPECT_EQ(selector.lbWavetables->geometry(), QRect(8, 8, 241, 201));
    EXPECT_EQ(selector.btnOK->geometry(), QRect(40, 224, 75, 25));
    EXPECT_EQ(selector.btnOK->text(), QStringLiteral("Okay"));
    EXPECT_TRUE(selector.btnOK->isDefault());
    EXPECT_EQ(selector.btnCancel->geometry(), QRect(144, 224, 75, 25));
    EXPECT_EQ(selector.btnCancel->text(), QStringLiteral("&Cancel"));
    selector.AddNames({"Alpha", "Beta", "Gamma"});
    EXPECT_EQ(selector.lbWavetables->count(), 3);
    // The first name is selected for real, not merely drawn as the current one.
    EXPECT_EQ(selector.SelectedIndex(), 0);
    EXPECT_EQ(selector.lbWavetables->currentRow(), 0);
    // A Ctrl+click on it does not leave it looking chosen with nothing selected.
    QListWidget *list = selector.lbWavetables;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(selector.SelectedIndex(), list->currentRow());
    EXPECT_EQ(selector.SelectedIndex(), 0);
}

TEST(WavetableSelector, DoubleClickOnTheSecondNameIsOk) {
    qt::TfrmWaveTables selector;
    selector.AddNames({"Alpha", "Beta", "Gamma"});
    QTimer::singleShot(0, &selector, [&selector] {
        QListWidget *list = selector.lbWavetables;
        const QRect rect = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    });
    EXPECT_EQ(selector.exec(), QDialog::Accepted);
    EXPECT_EQ(selector.SelectedIndex(), 1);
}

TEST(WavetableSelector, EscapeCancelsAndEnterTakesTheFirstName) {
    {
        qt::TfrmWaveTables selector;
        selector.AddNames({"Alpha"});
        QTimer::singleShot(0, &selector,
                           [&selector] { QTest::keyClick(&selector, Qt::Key_Escape); });
        EXPECT_EQ(selector.exec(), QDialog::Rejected);
    }
    {
        qt::TfrmWaveTables selector;
        selector.AddNames({"Alpha", "Beta"});
        QTimer::singleShot(0, &selector,
                           [&selector] { QTest::keyClick(selector.lbWavetables, Qt::Key_Return); });
        EXPECT_EQ(selector.exec(), QDialog::Accepted);
        EXPECT_EQ(selector.SelectedIndex(), 0);
    }
}

class HelpDialog : public ::testing::Test {
protected:
    void SetUp() override {
        previous = fs::current_path();
        fs::current_path(folder.Path());
    }
    void TearDown() override { fs::current_path(previous); }
    fs::path previous;
    testing_support::TempFolder folder;
};

TEST_F(HelpDialog, LayoutAndBuiltInLines) {
    qt::TfrmHelp help({"Shortcuts:", " - Motionpath"});
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Help"));
    EXPECT_EQ(help.size(), QSize(440, 219));
    EXPECT_EQ(help.Memo1->geometry(), QRect(0, 0, 440, 219));
    EXPECT_EQ(help.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(help.Memo1->isReadOnly());
    EXPECT_EQ(help.Lines(), (std::vector<std::string>{"Shortcuts:", " - Motionpath"}));
}

TEST_F(HelpDialog, HelpFileInTheCurrentFolderReplacesTheLines) {
    WriteAll("help.txt", {'O', 'n', 'e', '\r', '\n', ' ', 'T', 'w', 'o', '\r', '\n'});
    qt::TfrmHelp help({"Shortcuts:"});
    help.FormActivate();
    EXPECT_EQ(help.Lines(), (std::vector<std::string>{"One", " Two"}));
}

TEST_F(HelpDialog, WithoutALocalFileTheShippedHelpIsShown) {
    qt::TfrmHelp help({"Shortcuts:"});
    help.FormActivate();
    const std::vector<std::string> lines = help.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Morvane - wavetable editor for the Waldorf Blofeld");
}

TEST_F(HelpDialog, ActivationReadsTheFile) {
    WriteAll("help.txt", {'A', 'c', 't', 'i', 'v', 'e'});
    qt::TfrmHelp help({"Shortcuts:"});
    QTimer::singleShot(0, &help, [&help] {
        help.activateWindow();
        (void)QTest::qWaitForWindowActive(&help);
        QApplication::processEvents();
        help.close();
    });
    help.exec();
    EXPECT_EQ(help.Lines(), std::vector<std::string>{"Active"});
}

} // namespace
} // namespace morvane
