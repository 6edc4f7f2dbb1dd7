// The Qt dialogs: filters converted from the "Name|pattern" form, the filter index chosen
// before showing, the default extension and the remembered file name; confirmation boxes
// returning the button pressed.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/temp_folder.h"
#include "ui/qt/qt_dialogs.h"

namespace morvane {
namespace {

QString Q(const char *text) {
    return QString::fromLatin1(text);
}

TEST(QtNameFilters, TurnsNamePatternPairsIntoQtFilters) {
    EXPECT_EQ(qt::QtNameFilters("System Exclusive Files|*.syx|Midi files|*.mid|All files|*.*"),
              (QStringList{Q("System Exclusive Files (*.syx)"), Q("Midi files (*.mid)"),
                           Q("All files (*)")}));
    EXPECT_EQ(qt::QtNameFilters("Sound|*.wav;*.aif"), QStringList{Q("Sound (*.wav *.aif)")});
    EXPECT_TRUE(qt::QtNameFilters("").isEmpty());
    EXPECT_TRUE(qt::QtNameFilters("Dangling name").isEmpty());
}

// Runs `act` on the modal dialog of type D as soon as it is shown.
template <typename D, typename F> void WhenShown(F act) {
    QTimer::singleShot(0, [act] {
        QTRY_VERIFY(qobject_cast<D *>(QApplication::activeModalWidget()) != nullptr);
        act(*qobject_cast<D *>(QApplication::activeModalWidget()));
    });
}

class QtFileDialogTest : public ::testing::Test {
protected:
    testing_support::TempFolder folder;
};

TEST_F(QtFileDialogTest, SaveUsesFilterIndexDefaultExtensionAndKeepsTheName) {
    qt::QtDialogs dialogs;
    ui::FileDialogState state{"SaveDialog1",
                              "System Exclusive Files|*.syx|Midi files|*.mid|All files|*.*", 2,
                              "syx", (folder / "old.mid").string()};
    QString shownFilter;
    QStringList proposed;
    WhenShown<QFileDialog>([&](QFileDialog &box) {
        shownFilter = box.selectedNameFilter();
        proposed = box.selectedFiles();
        box.setOption(QFileDialog::DontUseNativeDialog);
        auto *edit = box.findChild<QLineEdit *>(Q("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(Q("pads"));
        QMetaObject::invokeMethod(&box, "accept");
    });
    ASSERT_TRUE(dialogs.SaveFile(state));
    EXPECT_EQ(shownFilter, Q("Midi files (*.mid)"));
    ASSERT_EQ(proposed.size(), 1);
    EXPECT_TRUE(proposed[0].endsWith(Q("old.mid")));
    EXPECT_EQ(std::filesystem::path(state.FileName).filename(), "pads.syx");
    EXPECT_EQ(std::filesystem::path(state.FileName).parent_path(), folder.Path());
    EXPECT_EQ(state.FilterIndex, 2);

    // Shown again, it proposes the name chosen last; leaving it returns false.
    QStringList again;
    WhenShown<QFileDialog>([&](QFileDialog &box) {
        again = box.selectedFiles();
        QMetaObject::invokeMethod(&box, "reject");
    });
    EXPECT_FALSE(dialogs.SaveFile(state));
    ASSERT_EQ(again.size(), 1);
    EXPECT_TRUE(again[0].endsWith(Q("pads.syx")));
    EXPECT_EQ(std::filesystem::path(state.FileName).filename(), "pads.syx");
}

TEST_F(QtFileDialogTest, OpenReturnsTheChosenExistingFile) {
    const auto file = folder / "soft.syx";
    std::ofstream(file) << "x";
    qt::QtDialogs dialogs;
    ui::FileDialogState state{"OpenDialog1", "System Exclusive Files|*.syx|All files|*.*", 1, "",
                              ""};
    WhenShown<QFileDialog>([&](QFileDialog &box) {
        box.selectFile(QString::fromStdString(file.string()));
        QMetaObject::invokeMethod(&box, "accept");
    });
    ASSERT_TRUE(dialogs.OpenFile(state));
    EXPECT_EQ(std::filesystem::path(state.FileName), file);
}

TEST(QtConfirm, ReturnsTheButtonPressed) {
    qt::QtDialogs dialogs;
    QString text;
    WhenShown<QMessageBox>([&](QMessageBox &box) {
        text = box.text();
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(dialogs.Confirm("Do you want to save wavetables ?", true), ui::Answer::No);
    EXPECT_EQ(text, Q("Do you want to save wavetables ?"));

    bool hasCancel = true;
    WhenShown<QMessageBox>([&](QMessageBox &box) {
        hasCancel = box.button(QMessageBox::Cancel) != nullptr;
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(dialogs.Confirm("Overwrite ?", false), ui::Answer::Yes);
    EXPECT_FALSE(hasCancel);

    WhenShown<QMessageBox>([](QMessageBox &box) { box.button(QMessageBox::Cancel)->click(); });
    EXPECT_EQ(dialogs.Confirm("Do you want to save wavetables ?", true), ui::Answer::Cancel);
}

TEST(QtMessage, ShowsTheTextWithOneButton) {
    qt::QtDialogs dialogs;
    QString text;
    int buttons = 0;
    WhenShown<QMessageBox>([&](QMessageBox &box) {
        text = box.text();
        buttons = static_cast<int>(box.buttons().size());
        QMetaObject::invokeMethod(&box, "accept");
    });
    dialogs.Message("21 bit overflow error. You can allow overflow!");
    EXPECT_EQ(text, Q("21 bit overflow error. You can allow overflow!"));
    EXPECT_EQ(buttons, 1);
}

} // namespace
} // namespace morvane
