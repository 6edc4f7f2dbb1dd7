#include "cli/script_runner.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "cli/script_target.h"
#include "support/file_contents.h"
#include "support/temp_folder.h"

namespace morvane::cli {
namespace {

// A picture that writes every mouse event it receives to the log.
class FakeImage final : public QWidget {
public:
    FakeImage(QPlainTextEdit *log, QWidget *parent) : QWidget(parent), log_(log) {}

protected:
    void mousePressEvent(QMouseEvent *e) override { Log("down", e); }
    void mouseMoveEvent(QMouseEvent *e) override { Log("move", e); }
    void mouseReleaseEvent(QMouseEvent *e) override { Log("up", e); }

private:
    void Log(const char *what, QMouseEvent *e) {
        log_->appendPlainText(QStringLiteral("%1 %2,%3 button=%4 buttons=%5 ctrl=%6")
                                  .arg(QString::fromLatin1(what))
                                  .arg(e->position().toPoint().x())
                                  .arg(e->position().toPoint().y())
                                  .arg(static_cast<int>(e->button()))
                                  .arg(static_cast<int>(e->buttons()))
                                  .arg(e->modifiers().testFlag(Qt::ControlModifier) ? 1 : 0));
    }
    QPlainTextEdit *log_;
};

// A small window with one control of each kind, whose handlers leave traces in Memo1 or ask
// through the dialogs port.
class FakeWindow final : public QMainWindow, public ScriptTarget {
public:
    explicit FakeWindow(ui::Dialogs &dialogs) : dialogs_(dialogs) {
        setWindowTitle(QStringLiteral("Fake window"));
        auto *bar = new QMenuBar(this);
        bar->setObjectName(QStringLiteral("MainMenu1"));
        setMenuBar(bar);
        client_ = new QWidget(this);
        client_->setObjectName(QStringLiteral("ClientArea"));
        setCentralWidget(client_);
        client_->setFixedSize(400, 300);

        memo_ = new QPlainTextEdit(client_);
        memo_->setObjectName(QStringLiteral("Memo1"));
        memo_->setGeometry(300, 200, 90, 90);
        memo_->hide();

        auto *group = new QGroupBox(QStringLiteral("Things"), client_);
        group->setObjectName(QStringLiteral("GroupBox1"));
        group->setGeometry(4, 2, 200, 100);
        auto *go = new QPushButton(QStringLiteral("Go"), group);
        go->setObjectName(QStringLiteral("btnGo"));
        go->setGeometry(5, 20, 60, 25);
        connect(go, &QPushButton::clicked, this, [this] {
            const ui::Answer a = dialogs_.Confirm("Really go ?", true);
            Log(a == ui::Answer::Yes ? "went" : "stayed");
        });
        auto *off = new QPushButton(QStringLiteral("Off"), group);
        off->setObjectName(QStringLiteral("btnOff"));
        off->setGeometry(70, 20, 60, 25);
        off->setEnabled(false);
        connect(off, &QPushButton::clicked, this, [this] { Log("off clicked"); });
        auto *hidden = new QPushButton(QStringLiteral("Hidden"), group);
        hidden->setObjectName(QStringLiteral("btnHidden"));
        hidden->hide();
        connect(hidden, &QPushButton::clicked, this, [this] { Log("hidden clicked"); });
        auto *hold = new QPushButton(QStringLiteral("Hold"), group);
        hold->setObjectName(QStringLiteral("btnHold"));
        hold->setGeometry(5, 50, 60, 25);
        connect(hold, &QPushButton::pressed, this, [this] { Log("hold pressed"); });
        connect(hold, &QPushButton::released, this, [this] { Log("hold released"); });
        auto *modal = new QPushButton(QStringLiteral("Modal"), group);
        modal->setObjectName(QStringLiteral("btnModal"));
        modal->setGeometry(70, 50, 60, 25);
        connect(modal, &QPushButton::clicked, this, [this] {
            QDialog box(this);
            box.setWindowTitle(QStringLiteral("Surprise"));
            box.exec();
            Log("after the box");
        });
        auto *web = new QPushButton(QStringLiteral("Web"), group);
        web->setObjectName(QStringLiteral("btnWeb"));
        web->setGeometry(135, 50, 60, 25);
        connect(web, &QPushButton::clicked, this, [] {
            QDesktopServices::openUrl(QUrl(QStringLiteral("https://example.org/demo")));
        });

        auto *check = new QCheckBox(QStringLiteral("Sweep"), client_);
        check->setObjectName(QStringLiteral("chbSweep"));
        check->setGeometry(210, 4, 80, 20);
        connect(check, &QCheckBox::clicked, this,
                [this](bool on) { Log(on ? "sweep on" : "sweep off"); });
        auto *linear = new QRadioButton(QStringLiteral("Linear"), client_);
        linear->setObjectName(QStringLiteral("rdbLinear"));
        linear->setGeometry(210, 26, 80, 20);
        linear->setChecked(true);
        auto *spline = new QRadioButton(QStringLiteral("Spline"), client_);
        spline->setObjectName(QStringLiteral("rdbSpline"));
        spline->setGeometry(290, 26, 80, 20);
        connect(spline, &QRadioButton::clicked, this, [this] { Log("spline clicked"); });

        auto *views = new QButtonGroup(this);
        for (int i = 1; i <= 2; ++i) {
            auto *speed = new QToolButton(client_);
            speed->setObjectName(QStringLiteral("SpeedButton%1").arg(i));
            speed->setText(i == 1 ? QStringLiteral("View wave") : QStringLiteral("View path"));
            speed->setCheckable(true);
            speed->setChecked(i == 1);
            speed->setGeometry(210 + 90 * (i - 1), 50, 85, 22);
            views->addButton(speed);
        }

        auto *combo = new QComboBox(client_);
        combo->setObjectName(QStringLiteral("cmbWave"));
        combo->addItems(
            {QStringLiteral("Sine"), QStringLiteral("Triangle"), QStringLiteral("Saw")});
        combo->setGeometry(4, 110, 100, 22);
        connect(combo, &QComboBox::activated, this,
                [this](int i) { Log("wave chosen " + std::to_string(i)); });
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this](int) { Log("wave index changed"); });

        list_ = new QListWidget(client_);
        list_->setObjectName(QStringLiteral("lbWaves"));
        for (int i = 1; i <= 40; ++i)
            list_->addItem(QStringLiteral("%1. Wave").arg(i, 2, 10, QLatin1Char('0')));
        list_->setGeometry(110, 110, 90, 100);
        list_->setCurrentRow(0);
        connect(list_, &QListWidget::itemClicked, this,
                [this](QListWidgetItem *item) { Log("clicked " + item->text().toStdString()); });

        auto *edit = new QLineEdit(client_);
        edit->setObjectName(QStringLiteral("edtName"));
        edit->setMaxLength(14);
        edit->setGeometry(4, 140, 100, 22);
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString &t) { Log("name " + t.toStdString()); });

        auto *slider = new QSlider(Qt::Horizontal, client_);
        slider->setObjectName(QStringLiteral("trbFrom"));
        slider->setRange(1, 64);
        slider->setGeometry(210, 80, 150, 20);
        connect(slider, &QSlider::valueChanged, this,
                [this](int v) { Log("from " + std::to_string(v)); });
        auto *scroll = new QScrollBar(Qt::Horizontal, client_);
        scroll->setObjectName(QStringLiteral("ScrollBar1"));
        scroll->setRange(0, 127);
        scroll->setGeometry(210, 104, 150, 11);

        auto *label = new QLabel(QStringLiteral("Select from 1"), client_);
        label->setObjectName(QStringLiteral("lblFrom"));
        label->setGeometry(210, 120, 100, 14);

        auto *image = new FakeImage(memo_, client_);
        image->setObjectName(QStringLiteral("imgWaveTables"));
        image->setGeometry(210, 140, 80, 80);

        timer_ = new QTimer(this);
        timer_->setObjectName(QStringLiteral("TimerPlay"));
        timer_->setInterval(40);
        connect(timer_, &QTimer::timeout, this, [this] { Log("tick"); });

        QMenu *file = bar->addMenu(QStringLiteral("&File"));
        file->setObjectName(QStringLiteral("File1"));
        auto *undo = file->addAction(QStringLiteral("&Undo"));
        undo->setObjectName(QStringLiteral("Undo1"));
        undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
        connect(undo, &QAction::triggered, this, [this] { Log("undo"); });
        file->addSeparator();
        QMenu *special = file->addMenu(QStringLiteral("Paste special"));
        special->setObjectName(QStringLiteral("Pastespecial1"));
        auto *sum = special->addAction(QStringLiteral("Paste summation"));
        sum->setObjectName(QStringLiteral("Pastesum"));
        sum->setShortcut(QKeySequence(QStringLiteral("Ctrl+F1")));
        sum->setEnabled(false);
        auto *view = file->addAction(QStringLiteral("View wave"));
        view->setObjectName(QStringLiteral("Viewwave1"));
        view->setCheckable(true);
        view->setShortcut(QKeySequence(QStringLiteral("F1")));
        connect(view, &QAction::triggered, this, [this] { Log("view"); });
        auto *setup = file->addAction(QStringLiteral("Setup"));
        setup->setObjectName(QStringLiteral("Setup1"));
        setup->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
        connect(setup, &QAction::triggered, this, [this] { Log("setup"); });
    }

    QWidget &Window() override { return *this; }
    void CloseWithoutQuestion() override { close(); }
    QWidget &ClientArea() override { return *client_; }
    bool Modified() const override { return true; }
    int CurrentWave() const override { return list_->currentRow() + 1; }
    std::string History() const override { return "3 / 5"; }
    QImage GraphPicture() const override {
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(QColor(10, 20, 30));
        return picture;
    }
    QImage OverviewPicture() const override { return GraphPicture(); }
    std::optional<std::vector<std::int16_t>> PlayBuffers() const override {
        if (!playing)
            return std::nullopt;
        return std::vector<std::int16_t>{1, -2, 0x1234};
    }

    bool playing = false;

protected:
    // Keys that reach the window: a shortcut never does.
    void keyPressEvent(QKeyEvent *e) override {
        Log("key " + std::to_string(e->key()) +
            " ctrl=" + (e->modifiers().testFlag(Qt::ControlModifier) ? "1" : "0"));
    }
    void keyReleaseEvent(QKeyEvent *e) override { Log("keyup " + std::to_string(e->key())); }

private:
    void Log(const std::string &text) { memo_->appendPlainText(QString::fromStdString(text)); }

    ui::Dialogs &dialogs_;
    QWidget *client_;
    QPlainTextEdit *memo_;
    QListWidget *list_;
    QTimer *timer_;
};

struct Result {
    int Status = 0;
    std::string Out;
    std::string Err;
};

Result RunOn(const std::string &script, FakeWindow **keep = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    script::ScriptedDialogs dialogs(out);
    edit::FixedClock clock(edit::TimeOfDay{});
    FakeWindow window(dialogs);
    if (keep != nullptr)
        *keep = &window;
    ScriptRunner runner(window, dialogs, clock, out);
    Result result;
    result.Status = runner.Run("case.mvs", script, err);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

TEST(ScriptRunner, ClicksAnswersAndPrints) {
    const auto r = RunOn("# a comment\n"
                         "\n"
                         "answer yes\n"
                         "click btnGo\n"
                         "answer cancel\n"
                         "click btnGo\n"
                         "click btnOff\n"
                         "click btnHidden\n"
                         "click chbSweep\n"
                         "print chbSweep\n"
                         "set chbSweep on\n"
                         "set chbSweep off\n"
                         "print btnGo\n"
                         "print btnOff\n"
                         "print Memo1\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "question: Really go ? -> yes\n"
                     "question: Really go ? -> cancel\n"
                     "ignored: btnOff is disabled\n"
                     "ignored: btnHidden is hidden\n"
                     "chbSweep: checked \"Sweep\"\n"
                     "btnGo: Go\n"
                     "btnOff: Off disabled\n"
                     "Memo1: went\n"
                     "Memo1: stayed\n"
                     "Memo1: sweep on\n"
                     "Memo1: sweep off\n");
    EXPECT_EQ(r.Err, "");
}

TEST(ScriptRunner, RadioAndSpeedButtonsAreTurnedOffByAnother) {
    auto r = RunOn("set rdbSpline on\nset rdbSpline on\nprint rdbLinear\nprint rdbSpline\n"
                   "set SpeedButton2 on\nprint SpeedButton1\nprint Memo1\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "rdbLinear: unchecked \"Linear\"\nrdbSpline: checked \"Spline\"\n"
                     "SpeedButton1: unchecked \"View wave\"\nMemo1: spline clicked\n");
    r = RunOn("set rdbLinear off\n");
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Err, "case.mvs:1: rdbLinear is turned off by choosing another one of its group\n");
    r = RunOn("set chbSweep yes\n");
    EXPECT_EQ(r.Err, "case.mvs:1: chbSweep is set on or off, not \"yes\"\n");
}

TEST(ScriptRunner, ChoicesRunTheUsersHandlers) {
    const auto r = RunOn("set cmbWave Triangle\n"
                         "set cmbWave #0\n"
                         "print cmbWave\n"
                         "set lbWaves \"35. Wave\"\n"
                         "print lbWaves\n"
                         "print current\n"
                         "set lbWaves #2\n"
                         "set edtName \"a name longer than fourteen\"\n"
                         "print edtName\n"
                         "set trbFrom 64\n"
                         "print trbFrom\n"
                         "set ScrollBar1 10\n"
                         "print ScrollBar1\n"
                         "print lblFrom\n"
                         "print GroupBox1\n"
                         "print Memo1\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "cmbWave: Sine\n"
                     "lbWaves: #34 35. Wave\n"
                     "current: 35\n"
                     "edtName: a name longer \n"
                     "trbFrom: 64\n"
                     "ScrollBar1: 10\n"
                     "lblFrom: Select from 1\n"
                     "GroupBox1: Things\n"
                     "Memo1: wave index changed\n"
                     "Memo1: wave chosen 1\n"
                     "Memo1: wave index changed\n"
                     "Memo1: wave chosen 0\n"
                     "Memo1: clicked 35. Wave\n"
                     "Memo1: clicked 03. Wave\n"
                     "Memo1: name a name longer \n"
                     "Memo1: from 64\n");
}

TEST(ScriptRunner, ValuesAControlDoesNotOfferEndTheRun) {
    struct Case {
        const char *Script;
        const char *Err;
    };
    for (const Case &c : {
             Case{"set cmbWave Square\n", "case.mvs:1: cmbWave offers no item \"Square\"\n"},
             Case{"set cmbWave #3\n", "case.mvs:1: cmbWave offers no item \"#3\"\n"},
             Case{"set lbWaves #40\n", "case.mvs:1: lbWaves offers no item \"#40\"\n"},
             Case{"set trbFrom 65\n",
                  "case.mvs:1: trbFrom takes a position from 1 to 64, not \"65\"\n"},
             Case{"set trbFrom x\n",
                  "case.mvs:1: trbFrom takes a position from 1 to 64, not \"x\"\n"},
             Case{"set btnGo 1\n", "case.mvs:1: btnGo is a button; it can not be set\n"},
             Case{"click cmbWave\n", "case.mvs:1: cmbWave is a combo; use set\n"},
             Case{"click btnNothing\n", "case.mvs:1: unknown control \"btnNothing\"\n"},
             Case{"print imgWaveTables\n", "case.mvs:1: imgWaveTables is a picture; save it with "
                                           "save-graph or save-overview\n"},
             Case{"tick btnGo\n", "case.mvs:1: btnGo is not a timer\n"},
             Case{"press chbSweep\npress chbSweep\n", "case.mvs:2: chbSweep is already pressed\n"},
             Case{"release btnHold\n", "case.mvs:1: btnHold is not pressed\n"},
             Case{"keyup Ctrl\n", "case.mvs:1: Ctrl is not down\n"},
             Case{"mouse up 1 1\n", "case.mvs:1: the left button is not down\n"},
             Case{"save-buffers b.raw\n",
                  "case.mvs:1: there is no audio generator; Play makes one\n"},
         }) {
        SCOPED_TRACE(c.Script);
        const auto r = RunOn(c.Script);
        EXPECT_EQ(r.Status, 2);
        EXPECT_EQ(r.Err, c.Err);
    }
}

TEST(ScriptRunner, LanguageErrorsNameTheirLine) {
    auto r = RunOn("print btnGo\n\n# fine so far\nfrobnicate btnGo\nprint btnGo\n");
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "btnGo: Go\n"); // what ran before the error is still reported
    EXPECT_EQ(r.Err, "case.mvs:4: unknown action \"frobnicate\"\n");
    r = RunOn("set edtName \"unclosed\n");
    EXPECT_EQ(r.Err, "case.mvs:1: a quoted word is not closed\n");
    r = RunOn("click\n");
    EXPECT_EQ(r.Err, "case.mvs:1: usage: click NAME\n");
}

TEST(ScriptRunner, UnansweredAndLeftoverDialogsEndTheRun) {
    auto r = RunOn("print btnGo\nclick btnGo\nprint btnGo\n");
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "btnGo: Go\n");
    EXPECT_EQ(r.Err, "case.mvs:2: no answer queued for the question \"Really go ?\"\n");

    r = RunOn("answer yes\nanswer no\nclick btnGo\nfile x.syx\n");
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "question: Really go ? -> yes\n");
    EXPECT_EQ(r.Err, "case.mvs:2: the answer no was queued but no dialog asked for it\n");
}

TEST(ScriptRunner, AModalWindowOutsideThePortIsClosedAndEndsTheRun) {
    const auto r = RunOn("click btnModal\nprint btnGo\n");
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "case.mvs:1: a window the script can not answer opened: \"Surprise\"\n");
}

TEST(ScriptRunner, KeysTakeTheWayOfRealKeys) {
    const auto r = RunOn("key Ctrl+Z\n"
                         "key F1\n"
                         "key W\n"
                         "keydown Ctrl\n"
                         "key 3\n"
                         "key Q\n"
                         "keyup Ctrl\n"
                         "key Ctrl+F1\n"
                         "print Viewwave1\n"
                         "print Pastesum\n"
                         "print Memo1\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    // Ctrl+Z and F1 run their menu items and never reach the window; Ctrl+Q does the same
    // while Ctrl is held from keydown; Ctrl+F1 belongs to a disabled item, so the key arrives.
    // The window system reports the Ctrl key's own press with the Ctrl modifier.
    EXPECT_EQ(r.Out, "Viewwave1: checked \"View wave\"\n"
                     "Pastesum: unchecked disabled \"Paste summation\"\n"
                     "Memo1: key 16777249 ctrl=1\n"
                     "Memo1: undo\n"
                     "Memo1: keyup 90\n"
                     "Memo1: keyup 16777249\n"
                     "Memo1: view\n"
                     "Memo1: keyup 16777264\n"
                     "Memo1: key 87 ctrl=0\n"
                     "Memo1: keyup 87\n"
                     "Memo1: key 16777249 ctrl=1\n"
                     "Memo1: key 51 ctrl=1\n"
                     "Memo1: keyup 51\n"
                     "Memo1: setup\n"
                     "Memo1: keyup 81\n"
                     "Memo1: keyup 16777249\n"
                     "Memo1: key 16777249 ctrl=1\n"
                     "Memo1: key 16777264 ctrl=1\n"
                     "Memo1: keyup 16777264\n"
                     "Memo1: keyup 16777249\n");
}

TEST(ScriptRunner, MouseEventsGoToTheGraph) {
    const auto r = RunOn("mouse down 10 20\n"
                         "mouse move 500 -4\n"
                         "mouse up 500 -4\n"
                         "mouse down 1 2 right ctrl\n"
                         "mouse up 1 2 right\n"
                         "print Memo1\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "Memo1: down 10,20 button=1 buttons=1 ctrl=0\n"
                     "Memo1: move 500,-4 button=0 buttons=1 ctrl=0\n"
                     "Memo1: up 500,-4 button=1 buttons=0 ctrl=0\n"
                     "Memo1: down 1,2 button=2 buttons=2 ctrl=1\n"
                     "Memo1: up 1,2 button=2 buttons=0 ctrl=0\n");
}

TEST(ScriptRunner, TimersPressesAndWebPages) {
    const auto r = RunOn("tick TimerPlay 3\n"
                         "tick TimerPlay 0\n"
                         "print TimerPlay\n"
                         "press btnHold\n"
                         "release btnHold\n"
                         "click btnWeb\n"
                         "wait 1\n"
                         "print Memo1\n"
                         "print title\nprint modified\nprint history\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "TimerPlay: disabled interval=40\n"
                     "web-page: https://example.org/demo\n"
                     "Memo1: tick\nMemo1: tick\nMemo1: tick\n"
                     "Memo1: hold pressed\nMemo1: hold released\n"
                     "title: Fake window\nmodified: 1\nhistory: 3 / 5\n");
}

TEST(ScriptRunner, WidgetsListsControlsThenMenus) {
    const auto r = RunOn("widgets\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out,
              "widget: Memo1 memo 300,200,90,90 hidden enabled \"\"\n"
              "widget: GroupBox1 group 4,2,200,100 visible enabled \"Things\"\n"
              "widget: btnGo button 9,22,60,25 visible enabled \"Go\"\n"
              "widget: btnOff button 74,22,60,25 visible disabled \"Off\"\n"
              "widget: btnHidden button 4,2,100,30 hidden enabled \"Hidden\"\n"
              "widget: btnHold button 9,52,60,25 visible enabled \"Hold\"\n"
              "widget: btnModal button 74,52,60,25 visible enabled \"Modal\"\n"
              "widget: btnWeb button 139,52,60,25 visible enabled \"Web\"\n"
              "widget: chbSweep checkbox 210,4,80,20 visible enabled \"Sweep\"\n"
              "widget: rdbLinear radio 210,26,80,20 visible enabled \"Linear\"\n"
              "widget: rdbSpline radio 290,26,80,20 visible enabled \"Spline\"\n"
              "widget: SpeedButton1 speedbutton 210,50,85,22 visible enabled \"View wave\"\n"
              "widget: SpeedButton2 speedbutton 300,50,85,22 visible enabled \"View path\"\n"
              "widget: cmbWave combo 4,110,100,22 visible enabled \"Sine\"\n"
              "widget: lbWaves list 110,110,90,100 visible enabled \"\"\n"
              "widget: edtName edit 4,140,100,22 visible enabled \"\"\n"
              "widget: trbFrom trackbar 210,80,150,20 visible enabled \"\"\n"
              "widget: ScrollBar1 scrollbar 210,104,150,11 visible enabled \"\"\n"
              "widget: lblFrom label 210,120,100,14 visible enabled \"Select from 1\"\n"
              "widget: imgWaveTables image 210,140,80,80 visible enabled \"\"\n"
              "menu: File/Undo Undo1 \"&Undo\" Ctrl+Z unchecked enabled\n"
              "menu: File/- -\n"
              "menu: File/Paste special Pastespecial1 \"Paste special\" - unchecked enabled\n"
              "menu: File/Paste special/Paste summation Pastesum \"Paste summation\" Ctrl+F1 "
              "unchecked disabled\n"
              "menu: File/View wave Viewwave1 \"View wave\" F1 unchecked enabled\n"
              "menu: File/Setup Setup1 \"Setup\" Ctrl+Q unchecked enabled\n");
}

TEST(ScriptRunner, ToolWindowsAreFoundAndListedAfterTheMainWindow) {
    std::ostringstream out;
    std::ostringstream err;
    script::ScriptedDialogs dialogs(out);
    edit::FixedClock clock(edit::TimeOfDay{});
    FakeWindow window(dialogs);
    auto *tool = new QWidget(&window, Qt::Tool);
    tool->setObjectName(QStringLiteral("frmTool"));
    tool->setWindowTitle(QStringLiteral("Tool"));
    tool->setFixedSize(120, 80);
    auto *go = new QPushButton(QStringLiteral("Go"), tool);
    go->setObjectName(QStringLiteral("btnToolGo"));
    go->setGeometry(10, 20, 50, 25);
    int clicks = 0;
    QObject::connect(go, &QPushButton::clicked, [&clicks] { ++clicks; });
    ScriptRunner runner(window, dialogs, clock, out);

    EXPECT_EQ(runner.Run("case.mvs", "click btnToolGo\nprint frmTool\nwidgets\n", err), 0)
        << err.str();
    const std::string listed = out.str();
    EXPECT_EQ(listed.substr(0, listed.find("widget: Memo1")),
              "ignored: btnToolGo is hidden\nfrmTool: closed \"Tool\"\n");
    EXPECT_NE(listed.find("widget: imgWaveTables image 210,140,80,80 visible enabled \"\"\n"
                          "widget: frmTool window 0,0,120,80 hidden enabled \"Tool\"\n"
                          "widget: btnToolGo button 10,20,50,25 hidden enabled \"Go\"\n"
                          "menu: File/Undo"),
              std::string::npos)
        << listed;

    tool->show();
    out.str("");
    EXPECT_EQ(runner.Run("case.mvs", "click btnToolGo\nprint frmTool\n", err), 0) << err.str();
    EXPECT_EQ(out.str(), "frmTool: shown \"Tool\"\n");
    EXPECT_EQ(clicks, 1);
}

TEST(ScriptRunner, SavesPicturesAndBuffers) {
    const testing_support::TempFolder dir;
    const std::string graph = (dir / "graph.png").string();
    const std::string buffers = (dir / "buffers.raw").string();
    std::ostringstream out;
    std::ostringstream err;
    script::ScriptedDialogs dialogs(out);
    edit::FixedClock clock(edit::TimeOfDay{});
    FakeWindow window(dialogs);
    window.playing = true;
    ScriptRunner runner(window, dialogs, clock, out);
    const int status = runner.Run("case.mvs",
                                  "save-graph " + script::Quote(graph) + "\nsave-buffers " +
                                      script::Quote(buffers) + "\nclock 01:02:03.004\n",
                                  err);
    EXPECT_EQ(status, 0) << err.str();
    QImage saved(QString::fromStdString(graph));
    ASSERT_EQ(saved.size(), QSize(4, 3));
    EXPECT_EQ(saved.pixel(3, 2), qRgb(10, 20, 30));
    EXPECT_EQ(testing_support::ReadText(buffers), std::string("\x01\x00\xfe\xff\x34\x12", 6));
    EXPECT_EQ(clock.Now().Hour, 1);
    EXPECT_EQ(clock.Now().Minute, 2);
    EXPECT_EQ(clock.Now().Second, 3);
    EXPECT_EQ(clock.Now().Millisecond, 4);
}

} // namespace
} // namespace morvane::cli
