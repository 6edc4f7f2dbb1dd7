// The toolkit behaviours the commands rely on, checked on the real window: programmatic
// changes of check boxes, track bars and the name field run their handlers, programmatic
// choices in lists and combo boxes do not, the graph keeps the mouse while a button is held,
// and an error no handler catches goes to the general error box while the loop goes on.
#include <stdexcept>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>

#include "ui/qt/image_view.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

QString Q(const char *text) {
    return QString::fromLatin1(text);
}

TEST_F(WindowTest, CheckBoxSetByProgramRunsItsClickHandler) {
    window->chbRandomAllSlice->setChecked(true);
    EXPECT_TRUE(window->Makemodificationforselectedwaveforms1->isChecked());
    window->chbRandomAllSlice->setChecked(true); // no change, no click
    EXPECT_TRUE(window->Makemodificationforselectedwaveforms1->isChecked());
    window->chbRandomAllSlice->setChecked(false);
    EXPECT_FALSE(window->Makemodificationforselectedwaveforms1->isChecked());
}

TEST_F(WindowTest, TrackBarSetByProgramRunsItsChangeHandler) {
    window->trbMorphWaves1->setValue(12);
    EXPECT_EQ(window->Label4->text(), Q("Select wave from: 12"));
    window->trbMorphWaves2->setValue(40);
    EXPECT_EQ(window->Label5->text(), Q("Select wave to: 40"));
}

TEST_F(WindowTest, ComboChoiceByProgramRunsNoHandler) {
    window->cmbWavetableSlot->setCurrentIndex(15);
    window->cmbDeviceID->setCurrentIndex(9);
    EXPECT_FALSE(window->IsModified());
    for (int w = 0; w < 64; ++w) {
        EXPECT_EQ(window->Table().Message(w)[3], 0) << w;
        EXPECT_EQ(window->Table().Message(w)[5], 0) << w;
    }
}

TEST_F(WindowTest, NameSetByProgramRunsItsChangeHandlerWhenItDiffers) {
    QSignalSpy changes(window->edtName, &QLineEdit::textChanged);
    window->edtName->setText(Q("untitled"));
    EXPECT_EQ(changes.count(), 0);
    window->edtName->setText(Q("Glass"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(window->Table().Message(40) + 392), 14),
              "Glass         ");
}

// Mouse events through the window, as the platform delivers them, so that Qt's own rule of
// which widget gets them applies.
class GraphMouseTest : public WindowTest {
protected:
    QPoint InWindow(QWidget *widget, QPoint p) const { return widget->mapTo(window.get(), p); }
};

TEST_F(GraphMouseTest, GraphKeepsMovesAndTheReleaseWhileAButtonIsHeld) {
    QSignalSpy downs(window->imgWaveTables, &qt::TImageView::MouseDown);
    QSignalSpy moves(window->imgWaveTables, &qt::TImageView::MouseMove);
    QSignalSpy ups(window->imgWaveTables, &qt::TImageView::MouseUp);
    QWindow *handle = window->windowHandle();
    ASSERT_NE(handle, nullptr);

    const QPoint start = InWindow(window->imgWaveTables, QPoint(30, 100));
    QTest::mouseMove(handle, start);
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0][2].toInt(), 30);
    EXPECT_EQ(downs[0][3].toInt(), 100);

    // Over the wave list, left of the graph: still the graph's move, in its coordinates.
    const QPoint overList = InWindow(window->lbWaveTableIndex, QPoint(20, 100));
    moves.clear();
    QTest::mouseMove(handle, overList);
    ASSERT_GE(moves.count(), 1);
    const QPoint expected = window->imgWaveTables->mapFrom(window.get(), overList);
    EXPECT_LT(expected.x(), 0);
    EXPECT_EQ(moves.last()[1].toInt(), expected.x());
    EXPECT_EQ(moves.last()[2].toInt(), expected.y());

    // Below the window altogether.
    const QPoint outside(start.x(), window->height() + 40);
    QTest::mouseMove(handle, outside);
    EXPECT_EQ(moves.last()[2].toInt(), window->imgWaveTables->mapFrom(window.get(), outside).y());

    QTest::mouseRelease(handle, Qt::LeftButton, {}, overList);
    ASSERT_EQ(ups.count(), 1);
    EXPECT_EQ(ups[0][2].toInt(), expected.x());

    // After the release the graph lets go: a move over the list is the list's.
    moves.clear();
    QTest::mouseMove(handle, overList + QPoint(0, 5));
    EXPECT_EQ(moves.count(), 0);
}

TEST_F(GraphMouseTest, RightButtonIsReportedToo) {
    QSignalSpy downs(window->imgWaveTables, &qt::TImageView::MouseDown);
    QSignalSpy ups(window->imgWaveTables, &qt::TImageView::MouseUp);
    QWindow *handle = window->windowHandle();
    const QPoint p = InWindow(window->imgWaveTables, QPoint(60, 60));
    QTest::mousePress(handle, Qt::RightButton, {}, p);
    QTest::mouseRelease(handle, Qt::RightButton, {}, p);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    ASSERT_EQ(ups.count(), 1);
    EXPECT_EQ(ups[0][0].value<Qt::MouseButton>(), Qt::RightButton);
}

// An object whose events fail, standing for any event handler that does not guard itself.
// (A throw from a widget's mouse handling works the same way but unwinds through Qt's own
// event-point bookkeeping, which then leaks a few bytes; the window's handlers therefore
// catch their errors before Qt's frames and show them in the same box.)
class FailingObject final : public QObject {
protected:
    bool event(QEvent *e) override {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Invalid floating point operation");
        return QObject::event(e);
    }
};

TEST_F(WindowTest, UncaughtErrorShowsTheGeneralErrorBoxAndTheLoopGoesOn) {
    FailingObject failing;
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    QTRY_VERIFY_WITH_TIMEOUT(ran, 2000);
    ASSERT_EQ(dialogs.Messages, std::vector<std::string>{"Invalid floating point operation"});
    // The window still answers.
    window->Undo1->trigger();
    EXPECT_EQ(window->Memo1Lines().last(), Q("No more data in history"));
}

} // namespace
} // namespace morvane::testing
