// Files from outside the commands' dialogs: the file named at start, files dropped on the
// window, and the recent list, on the real window with a settings file of its own.
#include <filesystem>

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "files/syx_file.h"
#include "support/temp_folder.h"
#include "support/test_dialogs.h"
#include "ui/qt/main_window.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

class OpenFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        qt::MainWindowPorts ports;
        ports.dialogs = &dialogs;
        ports.clock = &clock;
        ports.settingsPath = (folder / "morvane.ini").string();
        window = std::make_unique<qt::TfrmMain>(ports);
        window->show();
    }
    void TearDown() override { window.reset(); }
    // A table whose wave 3 sample 7 holds `marker`, saved as NAME.syx in the folder.
    std::string SavedTable(const std::string &name, std::int32_t marker, Wavetable &table) {
        FillNewWavetable(table, 0);
        WriteSample(table, 2, 7, marker);
        const std::string path = (folder / (name + ".syx")).string();
        files::SyxSaveRequest request;
        request.NameField = name;
        files::SaveWavetableToFile(path, table, request);
        return path;
    }
    void Drop(const std::string &path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &drop);
    }
    std::vector<QString> RecentCaptions() const {
        std::vector<QString> captions;
        for (const QAction *action : window->RecentFile)
            if (action->isVisible())
                captions.push_back(action->text());
        return captions;
    }

    testing_support::TempFolder folder;
    testing_support::TestDialogs dialogs;
    edit::FixedClock clock{edit::TimeOfDay{1, 2, 3, 4}};
    std::unique_ptr<qt::TfrmMain> window;
};

TEST(FileArgument, TheFirstFileMadeAbsolute) {
    const QString here = QDir::currentPath();
    EXPECT_EQ(qt::TfrmMain::FileArgument({QStringLiteral("morvane")}), std::nullopt);
    EXPECT_EQ(qt::TfrmMain::FileArgument(
                  {QStringLiteral("morvane"), QStringLiteral("t.syx"), QStringLiteral("u.syx")}),
              here + QStringLiteral("/t.syx"));
    EXPECT_EQ(qt::TfrmMain::FileArgument(
                  {QStringLiteral("morvane"), QStringLiteral("--"), QStringLiteral("-t.syx")}),
              here + QStringLiteral("/-t.syx"));
    EXPECT_EQ(
        qt::TfrmMain::FileArgument({QStringLiteral("morvane"), QStringLiteral("/a/../b.mid")}),
        QStringLiteral("/b.mid"));
}

TEST_F(OpenFilesTest, AFileNamedAtStartLoadsWithoutAQuestion) {
    Wavetable saved{};
    const std::string path = SavedTable("start", 4321, saved);
    window->OpenFileAtStart(path);
    EXPECT_TRUE(dialogs.Confirmations.empty());
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(window->Table().Bytes, saved.Bytes);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(window->OpenDialog1.FileName, path); // the save proposes its name
    EXPECT_EQ(RecentCaptions(), std::vector<QString>{QString::fromStdString(path)});

    // One that is not there: the load's own error box.
    window->OpenFileAtStart((folder / "gone.syx").string());
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0], "LoadWavetableFromFile Cannot open \"" +
                                       (folder / "gone.syx").string() +
                                       "\": No such file or directory");
    EXPECT_EQ(RecentCaptions().size(), 1u);
}

// The questions a drop brings and the reopening from the list are in the script case
// open_drop_recent; here what a script can not do: a name that hides the kind, a file that goes.
TEST_F(OpenFilesTest, ADropGoesToTheCommandOfItsKindAndAsksAboutChanges) {
    Wavetable saved{};
    const std::string path = SavedTable("dropped", -777, saved);
    window->SetModified(true);
    dialogs.ConfirmAnswers = {ui::Answer::No};
    Drop(path);
    EXPECT_EQ(dialogs.Confirmations, std::vector<std::string>{"Do you want to save wavetables ?"});
    EXPECT_EQ(window->Table().Bytes, saved.Bytes);

    // A MIDI file by its content, whatever its name: the selector picks the second table.
    const fs::path midi = folder / "two.bin";
    fs::copy_file(fs::path(MORVANE_TEST_DATA_DIR) / "files" / "two_tables.mid", midi);
    dialogs.SelectorAnswers = {ui::SelectorAnswer{true, 1}};
    Drop(midi.string());
    EXPECT_TRUE(dialogs.SelectorAnswers.empty());
    EXPECT_NE(window->Table().Bytes, saved.Bytes);
    EXPECT_EQ(RecentCaptions(), (std::vector<QString>{QString::fromStdString(midi.string()),
                                                      QString::fromStdString(path)}));
}

TEST_F(OpenFilesTest, TheRecentListReopensForgetsGoneFilesAndClears) {
    Wavetable a{}, b{};
    const std::string pathA = SavedTable("a&b", 100, a);
    const std::string pathB = SavedTable("b", 200, b);
    window->OpenFileAtStart(pathA);
    window->OpenFileAtStart(pathB);
    EXPECT_EQ(window->RecentFile[0]->text(), QString::fromStdString(pathB));
    EXPECT_EQ(window->RecentFile[1]->text(),
              QString::fromStdString(folder.Path().string() + "/a&&b.syx"));
    EXPECT_TRUE(window->OpenRecent1->menuAction()->isEnabled());

    fs::remove(pathB);
    window->RecentFile[0]->trigger();
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{"The file " + pathB +
                                                         " is not there any more; it is taken "
                                                         "off the recent list."});
    EXPECT_EQ(window->Table().Bytes, b.Bytes); // the table loaded last stays
    EXPECT_EQ(RecentCaptions().size(), 1u);

    window->ClearList1->trigger();
    EXPECT_TRUE(RecentCaptions().empty());
    EXPECT_FALSE(window->OpenRecent1->menuAction()->isEnabled());
    EXPECT_EQ(ui::LoadRecentFiles(folder / "morvane.ini").Count, 0);
}

} // namespace
} // namespace morvane::testing
