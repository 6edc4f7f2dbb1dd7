// The Ctrl key buffer through real key events, and menu shortcuts taking precedence over the
// window's key handling.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

#include "window_fixture.h"

namespace morvane::testing {
namespace {

QString Q(const char *text) {
    return QString::fromLatin1(text);
}

class KeysTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        target = window->lbWaveTableIndex;
        target->setFocus();
        // Start from choices no sequence below makes by accident.
        window->cmbWave->setCurrentIndex(4);
        window->cmbAmplitude->setCurrentIndex(29);
    }
    // One key event as the platform sends it while Ctrl is held. QTest's own key clicks would
    // press and release Ctrl around every key; this goes through the same shortcut matching.
    void Key(QWidget *widget, bool press, Qt::Key key,
             Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QString text;
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            text = QString(QChar(u'0' + (key - Qt::Key_0)));
        QTest::simulateEvent(widget, press, key, modifiers, text, false);
    }
    void CtrlDown(QWidget *widget) { Key(widget, true, Qt::Key_Control, Qt::NoModifier); }
    void CtrlUp(QWidget *widget) { Key(widget, false, Qt::Key_Control); }
    void CtrlKey(QWidget *widget, Qt::Key key,
                 Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        Key(widget, true, key, modifiers);
        Key(widget, false, key, modifiers);
    }
    // Holds Ctrl, types the keys, releases Ctrl.
    void CtrlSequence(std::initializer_list<Qt::Key> keys) {
        CtrlDown(target);
        for (Qt::Key key : keys)
            CtrlKey(target, key);
        CtrlUp(target);
    }
    QWidget *target = nullptr;
};

TEST_F(KeysTest, DigitsChooseTheHarmonic) {
    CtrlSequence({Qt::Key_1, Qt::Key_2});
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/12"));
    EXPECT_EQ(window->cmbWave->currentIndex(), 4);
    EXPECT_FALSE(window->KeyState().CtrlDown());
}

TEST_F(KeysTest, NumbersOutsideOneToFiftyChooseNothing) {
    CtrlSequence({Qt::Key_5, Qt::Key_5});
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/30"));
    CtrlSequence({Qt::Key_0});
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/30"));
    CtrlSequence({Qt::Key_5, Qt::Key_0});
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/50"));
}

TEST_F(KeysTest, LettersChooseTheShapeOnlyAsTheWholeBuffer) {
    CtrlSequence({Qt::Key_W});
    EXPECT_EQ(window->cmbWave->currentText(), Q("Triangle"));
    window->cmbWave->setCurrentIndex(4);
    CtrlSequence({Qt::Key_W, Qt::Key_3});
    EXPECT_EQ(window->cmbWave->currentText(), Q("Random"));
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/30"));
    CtrlSequence({Qt::Key_3, Qt::Key_W});
    EXPECT_EQ(window->cmbWave->currentText(), Q("Triangle"));
    CtrlSequence({Qt::Key_E});
    EXPECT_EQ(window->cmbWave->currentText(), Q("Square"));
    CtrlSequence({Qt::Key_R});
    EXPECT_EQ(window->cmbWave->currentText(), Q("Saw"));
    CtrlSequence({Qt::Key_T});
    EXPECT_EQ(window->cmbWave->currentText(), Q("Random"));
}

TEST_F(KeysTest, KeysWithoutCtrlAndKeypadDigitsAreIgnored) {
    QTest::keyClick(target, Qt::Key_1);
    QTest::keyClick(target, Qt::Key_2);
    EXPECT_TRUE(window->KeyState().KeyBuffer().empty());
    CtrlDown(target);
    CtrlKey(target, Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier);
    CtrlKey(target, Qt::Key_2);
    EXPECT_EQ(window->KeyState().KeyBuffer(), "2");
    CtrlUp(target);
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/2"));
}

TEST_F(KeysTest, KeysStillReachTheFocusedControl) {
    window->SelectWave(10);
    CtrlDown(target);
    CtrlKey(target, Qt::Key_Down);
    CtrlUp(target);
    // The list moved its current item although the window saw the keys first.
    EXPECT_EQ(window->lbWaveTableIndex->currentRow(), 10);

    window->edtName->setFocus();
    CtrlDown(window->edtName);
    CtrlKey(window->edtName, Qt::Key_1);
    CtrlUp(window->edtName);
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/1"));
}

TEST_F(KeysTest, ShortcutsRunTheirCommandAndNeverReachTheBuffer) {
    QSignalSpy audioSetup(window->AudioSetup1, &QAction::triggered);
    QSignalSpy copy(window->Copy1, &QAction::triggered);
    QSignalSpy undo(window->Undo1, &QAction::triggered);
    QSignalSpy pasteSum(window->Pastesum, &QAction::triggered);

    // Ctrl, 1, Ctrl+Q, release: Q would have made the buffer "sin"; it stays "1".
    CtrlSequence({Qt::Key_1, Qt::Key_Q});
    EXPECT_EQ(audioSetup.count(), 1);
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/1"));
    EXPECT_EQ(window->cmbWave->currentText(), Q("Random"));

    CtrlSequence({Qt::Key_1, Qt::Key_C, Qt::Key_2, Qt::Key_Z});
    EXPECT_EQ(copy.count(), 1);
    EXPECT_EQ(undo.count(), 1);
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/12"));

    CtrlDown(target);
    CtrlKey(target, Qt::Key_4);
    CtrlKey(target, Qt::Key_F1);
    EXPECT_EQ(pasteSum.count(), 1);
    EXPECT_EQ(window->KeyState().KeyBuffer(), "4");
    EXPECT_TRUE(window->KeyState().CtrlDown());
    CtrlUp(target);
    EXPECT_EQ(window->cmbAmplitude->currentText(), Q("1/4"));
}

TEST_F(KeysTest, MenuShortcutsWinOverTheNameField) {
    window->edtName->setFocus();
    QSignalSpy undo(window->Undo1, &QAction::triggered);
    QSignalSpy copy(window->Copy1, &QAction::triggered);
    QTest::keyClick(window->edtName, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window->edtName, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(undo.count(), 1);
    EXPECT_EQ(copy.count(), 1);
    EXPECT_EQ(window->edtName->text(), Q("untitled"));
    // Plain typing still goes into the field.
    QTest::keyClick(window->edtName, Qt::Key_End);
    QTest::keyClicks(window->edtName, Q("2"));
    EXPECT_EQ(window->edtName->text(), Q("untitled2"));
}

TEST_F(KeysTest, UndoShortcutAndButtonRunTheSameCommand) {
    QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
    QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
    QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier);
    QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
    const QStringList lines = window->Memo1Lines();
    ASSERT_EQ(lines.size(), 5);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(lines[i], Q("No more data in history"));
}

TEST_F(KeysTest, EnterPressesPlayUnlessAButtonHasTheFocus) {
    QSignalSpy play(window->btnPlay, &QPushButton::clicked);
    QSignalSpy copy(window->btnCopy, &QPushButton::clicked);
    window->edtName->setFocus();
    QTest::keyClick(window->edtName, Qt::Key_Return);
    EXPECT_EQ(play.count(), 1);
    window->btnCopy->setFocus();
    QTest::keyClick(window->btnCopy, Qt::Key_Return);
    EXPECT_EQ(play.count(), 1);
    EXPECT_EQ(copy.count(), 1);
}

} // namespace
} // namespace morvane::testing
