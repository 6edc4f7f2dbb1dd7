// The window as it stands after start-up: every control of the layout at its place with its
// caption, items and default, every menu item with its caption, shortcut and mark, and the
// state the start-up leaves.
#include <string>
#include <vector>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "edit/history.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

QString Q(const char *text) {
    return QString::fromLatin1(text);
}

template <typename W> W *Find(qt::TfrmMain &window, const char *name) {
    auto *w = window.findChild<W *>(Q(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Left, top, width, height in the client area; width -1 where only the place is given.
struct Place {
    const char *Name;
    int Left, Top, Width, Height;
};

const std::vector<Place> kLayout = {
    {"GroupBox2", 4, 2, 128, 98},
    {"grpWavetable", 4, 100, 128, 178},
    {"GroupBox3", 4, 279, 128, 96},
    {"grbHistory", 4, 376, 128, 49},
    {"Label17", 4, 426, -1, -1},
    {"imgColoredWaveTables", 4, 440, 128, 129},
    {"Memo1", 37, 528, 164, 33},
    {"Label9", 141, 1, -1, -1},
    {"lbWaveTableIndex", 137, 16, 79, 544},
    {"btnCopy", 221, 3, 86, 25},
    {"btnPaste", 307, 3, 86, 25},
    {"btnPasteAdd", 393, 3, -1, -1},
    {"btnPastemax", 580, 3, -1, -1},
    {"SpeedButton1", 221, 36, 87, 22},
    {"SpeedButton2", 308, 36, 87, 22},
    {"btnShowClipboard", 398, 28, 90, 25},
    {"btnShiftLeft", 508, 30, 25, 25},
    {"btnShiftRight", 532, 30, 25, 25},
    {"btnShiftUp", 556, 30, 25, 25},
    {"btnShiftDown", 580, 30, 25, 25},
    {"imgWaveTables", 221, 58, 384, 385},
    {"lblFrom", 221, 449, -1, -1},
    {"ScrollBar1", 293, 452, 313, 11},
    {"lblto", 221, 465, -1, -1},
    {"ScrollBar2", 293, 468, 313, 11},
    {"GroupBox4", 221, 483, 385, 49},
    {"lblFilename", 221, 532, 385, 24},
    {"Label8", 137, 559, 472, 15},
    {"grpAddwave", 613, 2, 249, 233},
    {"GroupBox6", 613, 236, 249, 77},
    {"grpMorph", 613, 314, 249, 149},
    {"GroupBox5", 613, 464, 249, 105},
};

TEST_F(WindowTest, ClientAreaIsFixedAndHasNoMaximiseBox) {
    EXPECT_EQ(window->ClientArea->size(), QSize(866, 573));
    EXPECT_EQ(window->centralWidget(), window->ClientArea);
    EXPECT_EQ(window->ClientArea->mapTo(window.get(), QPoint(0, 0)).y(),
              window->menuBar()->height());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(window->font().pointSize(), 8);
}

TEST_F(WindowTest, EveryControlOfTheLayoutSitsAtItsRectangle) {
    for (const Place &place : kLayout) {
        SCOPED_TRACE(place.Name);
        auto *w = Find<QWidget>(*window, place.Name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->mapTo(window->ClientArea, QPoint(0, 0)), QPoint(place.Left, place.Top));
        if (place.Width >= 0) {
            EXPECT_EQ(w->size(), QSize(place.Width, place.Height));
        }
    }
}

TEST_F(WindowTest, PasteSpecialButtonsRunFrom393To580InOrder) {
    const std::vector<std::pair<const char *, const char *>> buttons = {
        {"btnPasteAdd", "P+"},   {"btnPasteSub", "P-"},   {"btnPasteMulti", "P*"},
        {"btnPasteOR", "Por"},   {"btnPasteAND", "Pand"}, {"btnPasteXOR", "P xor"},
        {"btnPastemin", "Pmin"}, {"btnPastemax", "Pmax"}};
    int previousRight = 0;
    for (const auto &[name, caption] : buttons) {
        SCOPED_TRACE(name);
        auto *b = Find<QPushButton>(*window, name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), Q(caption));
        EXPECT_FALSE(b->isEnabled());
        const QRect r(b->mapTo(window->ClientArea, QPoint(0, 0)), b->size());
        EXPECT_EQ(r.top(), 3);
        EXPECT_GE(r.left(), 393);
        EXPECT_LE(r.left(), 580);
        EXPECT_GE(r.left(), previousRight) << "overlaps the button before";
        previousRight = r.left() + r.width();
    }
    EXPECT_LE(previousRight, 613) << "runs into the group box on the right";
}

struct Caption {
    const char *Name;
    const char *Parent; // the group box that holds the control, or "" for the client area
    const char *Text;
};

const std::vector<Caption> kCaptions = {
    {"GroupBox2", "", "New/Load wavetable"},
    {"btnNewWavetable", "GroupBox2", "New wavetable"},
    {"btnLoadwavetable", "GroupBox2", "Load wavetable"},
    {"btnImportWTfromMidi", "GroupBox2", "Import WT from midi"},
    {"grpWavetable", "", "Save wavetable(syx,mid)"},
    {"Label7", "grpWavetable", "Wavetable Name"},
    {"Label6", "grpWavetable", "WT slot"},
    {"Label18", "grpWavetable", "Device ID"},
    {"btnSaveWavetable", "grpWavetable", "SaveSelcWT(syx)"},
    {"btnExportWavetable", "grpWavetable", "Export WT (midi)"},
    {"btnExportWTasWav", "grpWavetable", "ExpWT (wav,txt)"},
    {"GroupBox3", "", "Import wave to WT"},
    {"Label10", "GroupBox3", "From:"},
    {"Label11", "GroupBox3", "To:"},
    {"btnLoadWave", "GroupBox3", "Import wave"},
    {"BitBtn1", "grbHistory", "Undo"},
    {"BitBtn2", "grbHistory", "Redo"},
    {"Label17", "", "Wavetable graph"},
    {"Label9", "", "Wavetable"},
    {"btnCopy", "", "Copy wave"},
    {"btnPaste", "", "Paste wave"},
    {"SpeedButton1", "", "View wave"},
    {"SpeedButton2", "", "View motionpath"},
    {"btnShowClipboard", "", "Show Clipboard"},
    {"btnShiftLeft", "", ""},
    {"btnShiftRight", "", ""},
    {"btnShiftUp", "", ""},
    {"btnShiftDown", "", ""},
    {"lblFrom", "", "Select from 1"},
    {"lblto", "", "Select to 128"},
    {"GroupBox4", "", "Play wavetable"},
    {"btnPlay", "GroupBox4", "Play"},
    {"chbPlayAll", "GroupBox4", "Sweep wavetable"},
    {"Label13", "GroupBox4", "Play speed"},
    {"grpAddwave", "", "Modify wave"},
    {"chbAddtoexisting", "grpAddwave", "Add to existing wave"},
    {"ckbAllowOverflow", "grpAddwave", "Allow overflow"},
    {"lblFade", "grpAddwave", "Fade: 0"},
    {"btnFourier", "grpAddwave", "Fourier"},
    {"btnAdd", "grpAddwave", "Add wave"},
    {"btnDec", "grpAddwave", "Sub wave"},
    {"btnMultiple", "grpAddwave", "Multi wave"},
    {"btnOR", "grpAddwave", "OR wave"},
    {"btnAND", "grpAddwave", "AND wave"},
    {"btnXOR", "grpAddwave", "XOR wave"},
    {"btnMin", "grpAddwave", "min wave"},
    {"btnMAX", "grpAddwave", "MAX wave"},
    {"btnSetVolumePlus", "grpAddwave", "Amplify +"},
    {"btnSetVolumeMinus", "grpAddwave", "Amplify -"},
    {"Label1", "grpAddwave", "Waveform"},
    {"Label2", "grpAddwave", "Harmonics"},
    {"Label3", "grpAddwave", "amplify by"},
    {"Label12", "grpAddwave", "%"},
    {"GroupBox6", "", "Wavetable selection"},
    {"Label4", "GroupBox6", "Select wave from: 1"},
    {"Label5", "GroupBox6", "Select wave to: 64"},
    {"chbRandomAllSlice", "GroupBox6", "make modification for waveform 1 to 64"},
    {"grpMorph", "", "Morph waves"},
    {"btnMorph", "grpMorph", "Morph waves"},
    {"btnRandomOrder", "grpMorph", "WT RND order"},
    {"btnInvert", "grpMorph", "Invert wave"},
    {"btnReverse", "grpMorph", "Reverse wave"},
    {"btnSmooth", "grpMorph", "Smooth wave"},
    {"btnStep", "grpMorph", "Step wave"},
    {"BitBtn3", "grpMorph", "Sort"},
    {"btnRandom4", "grpMorph", "RND slice order"},
    {"chbRandomSAme", "grpMorph", "Same"},
    {"GroupBox5", "", "Wavetable Motionpath"},
    {"rdbLinear", "GroupBox5", "Linear"},
    {"rdbSpline", "GroupBox5", "BSpline"},
    {"chbFlat", "GroupBox5", "Continuous"},
    {"Label14", "GroupBox5", "Algorithm"},
    {"Label16", "GroupBox5", "FX width: 1"},
    {"btnNewWTMotion", "GroupBox5", "New WT motion"},
    {"btnMakeWTMotion", "GroupBox5", "Make motion!"},
};

QString TextOf(QWidget *w) {
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    ADD_FAILURE() << "no caption: " << w->objectName().toStdString();
    return {};
}

TEST_F(WindowTest, EveryControlHasItsCaptionInsideItsGroupBox) {
    for (const Caption &c : kCaptions) {
        SCOPED_TRACE(c.Name);
        auto *w = Find<QWidget>(*window, c.Name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(TextOf(w), Q(c.Text));
        const QString parent = Q(c.Parent);
        if (parent.isEmpty()) {
            EXPECT_EQ(w->parentWidget(), window->ClientArea);
        } else {
            ASSERT_NE(w->parentWidget(), nullptr);
            EXPECT_EQ(w->parentWidget()->objectName(), parent);
            // Inside the box, and not over its caption row.
            const QRect box(QPoint(0, 0), w->parentWidget()->size());
            EXPECT_TRUE(box.contains(w->geometry())) << "outside its group box";
            EXPECT_GE(w->geometry().top(), 10);
        }
    }
}

TEST_F(WindowTest, NoTwoVisibleControlsOfOneParentOverlap) {
    for (QWidget *parent : window->ClientArea->findChildren<QGroupBox *>()) {
        const auto children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (int i = 0; i < children.size(); ++i)
            for (int j = i + 1; j < children.size(); ++j) {
                if (children[i]->isHidden() || children[j]->isHidden())
                    continue;
                EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                    << children[i]->objectName().toStdString() << " and "
                    << children[j]->objectName().toStdString();
            }
    }
}

QStringList Items(QComboBox *combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

QStringList Numbers(int first, int last) {
    QStringList items;
    for (int n = first; n <= last; ++n)
        items.append(QString::number(n));
    return items;
}

TEST_F(WindowTest, ComboBoxesHoldTheirItemsAndDefaults) {
    struct Combo {
        const char *Name;
        QStringList Items;
        const char *Shown;
    };
    QStringList harmonics;
    for (int n = 1; n <= 50; ++n)
        harmonics.append(QStringLiteral("1/%1").arg(n));
    const std::vector<Combo> combos = {
        {"cmbWavetableSlot", Numbers(80, 118), "80"},
        {"cmbDeviceID", Numbers(0, 127), "0"},
        {"CmbWTFrom", Numbers(1, 64), "1"},
        {"CmbWTTo", Numbers(1, 64), "64"},
        {"cmbWave", {Q("Sine"), Q("Triangle"), Q("Square"), Q("Saw"), Q("Random")}, "Sine"},
        {"cmbAmplitude", harmonics, "1/2"},
        {"cmbNormalize", {Q("1"), Q("3"), Q("5"), Q("10")}, "5"},
        {"cmbStepWave", {Q("8"), Q("16"), Q("32"), Q("64")}, "16"},
        {"cmbSlices", {Q("4 slice"), Q("8 slice"), Q("16 slice"), Q("32 slice")}, "4 slice"},
        {"cmbMotionPathType", {Q("Sharp"), Q("Smooth")}, "Sharp"},
    };
    for (const Combo &c : combos) {
        SCOPED_TRACE(c.Name);
        auto *combo = Find<QComboBox>(*window, c.Name);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(Items(combo), c.Items);
        EXPECT_EQ(combo->currentText(), Q(c.Shown));
        EXPECT_FALSE(combo->isEditable());
    }
    // Each selector sits in its group box.
    EXPECT_EQ(window->cmbWave->parentWidget(), window->grpAddwave);
    EXPECT_EQ(window->cmbAmplitude->parentWidget(), window->grpAddwave);
    EXPECT_EQ(window->cmbNormalize->parentWidget(), window->grpAddwave);
    EXPECT_EQ(window->cmbStepWave->parentWidget(), window->grpMorph);
    EXPECT_EQ(window->cmbSlices->parentWidget(), window->grpMorph);
    EXPECT_EQ(window->cmbMotionPathType->parentWidget(), window->GroupBox5);
    EXPECT_EQ(window->CmbWTFrom->parentWidget(), window->GroupBox3);
    EXPECT_EQ(window->cmbDeviceID->parentWidget(), window->grpWavetable);
}

TEST_F(WindowTest, TrackBarsAndScrollBarsHaveTheirRangesAndPositions) {
    struct Range {
        const char *Name;
        int Min, Max, Position;
    };
    const std::vector<Range> ranges = {
        {"trbFade", -10, 10, 0},       {"trbMorphWaves1", 1, 64, 1}, {"trbMorphWaves2", 1, 64, 64},
        {"trbSensitivity", 1, 128, 1}, {"trbPlaySpeed", 1, 50, 25},  {"ScrollBar1", 0, 127, 0},
        {"ScrollBar2", 0, 127, 127},
    };
    for (const Range &r : ranges) {
        SCOPED_TRACE(r.Name);
        auto *slider = Find<QAbstractSlider>(*window, r.Name);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->minimum(), r.Min);
        EXPECT_EQ(slider->maximum(), r.Max);
        EXPECT_EQ(slider->value(), r.Position);
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    }
    EXPECT_EQ(window->trbMorphWaves1->tickInterval(), 1);
    EXPECT_NE(window->trbMorphWaves1->tickPosition(), QSlider::NoTicks);
    EXPECT_NE(window->trbMorphWaves2->tickPosition(), QSlider::NoTicks);
}

TEST_F(WindowTest, CheckBoxesRadioButtonsAndStatesAtStart) {
    EXPECT_TRUE(window->chbAddtoexisting->isChecked());
    EXPECT_FALSE(window->ckbAllowOverflow->isChecked());
    EXPECT_FALSE(window->chbRandomAllSlice->isChecked());
    EXPECT_TRUE(window->chbRandomSAme->isChecked());
    EXPECT_EQ(window->chbRandomSAme->toolTip(), Q("Same for all waves"));
    EXPECT_FALSE(window->chbFlat->isChecked());
    EXPECT_EQ(window->chbFlat->toolTip(), Q("Last & first point connected"));
    EXPECT_FALSE(window->chbPlayAll->isChecked());
    EXPECT_TRUE(window->rdbLinear->isChecked());
    EXPECT_FALSE(window->rdbSpline->isChecked());
    EXPECT_TRUE(window->SpeedButton1->isChecked());
    EXPECT_FALSE(window->SpeedButton2->isChecked());

    EXPECT_FALSE(window->btnPaste->isEnabled());
    EXPECT_FALSE(window->btnShowClipboard->isEnabled());
    EXPECT_TRUE(window->btnCopy->isEnabled());
    EXPECT_TRUE(window->btnFourier->isHidden());
    EXPECT_TRUE(window->Memo1->isHidden());
    EXPECT_EQ(window->edtName->maxLength(), 14);
    EXPECT_EQ(window->imgWaveTables->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(window->Label8->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(window->Label8->text().isEmpty());
    EXPECT_TRUE(window->lblFilename->wordWrap());
    for (QPushButton *shift :
         {window->btnShiftLeft, window->btnShiftRight, window->btnShiftUp, window->btnShiftDown})
        EXPECT_FALSE(shift->icon().isNull()) << shift->objectName().toStdString();

    auto *timer = window->findChild<QTimer *>(Q("TimerPlay"));
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
}

// One row of the menu: an item by name, "-" for a separator, ">Name" for a submenu.
struct MenuRow {
    const char *Name;
    const char *Caption;
    QKeySequence Shortcut;
    bool Checkable = false;
    bool Checked = false;
};

void ExpectMenu(QMenu *menu, const std::vector<MenuRow> &rows) {
    ASSERT_NE(menu, nullptr);
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(rows.size()))
        << menu->objectName().toStdString();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MenuRow &row = rows[i];
        QAction *action = actions[static_cast<qsizetype>(i)];
        SCOPED_TRACE(std::string(menu->objectName().toStdString()) + " row " + std::to_string(i));
        if (std::string(row.Name) == "-") {
            EXPECT_TRUE(action->isSeparator());
            continue;
        }
        std::string name = row.Name;
        if (name.front() == '>') {
            name.erase(0, 1);
            EXPECT_NE(action->menu(), nullptr);
        }
        EXPECT_EQ(action->objectName().toStdString(), name);
        EXPECT_EQ(action->text(), Q(row.Caption));
        EXPECT_EQ(action->shortcut(), row.Shortcut);
        EXPECT_EQ(action->isCheckable(), row.Checkable);
        EXPECT_EQ(action->isChecked(), row.Checked);
    }
}

TEST_F(WindowTest, MenuBarHoldsEveryCommandInOrder) {
    ASSERT_EQ(window->menuBar()->objectName(), Q("MainMenu1"));
    // The five menus in this order (further menus of later features may stand between them).
    std::vector<QAction *> top;
    for (QAction *action : window->menuBar()->actions())
        for (const char *name : {"File1", "Edit1", "Wave1", "Tools1", "Help1"})
            if (action->objectName() == Q(name))
                top.push_back(action);
    ASSERT_EQ(top.size(), 5u);
    const std::vector<const char *> names = {"File1", "Edit1", "Wave1", "Tools1", "Help1"};
    const std::vector<const char *> titles = {"&File", "&Edit", "Wave", "Tools", "Help"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(top[i]->objectName(), Q(names[i]));
        EXPECT_EQ(top[i]->text(), Q(titles[i]));
    }

    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    ExpectMenu(top[0]->menu(), {{"Newwavetable1", "&New wavetable", {}},
                                {"Loadwavetable1", "&Load wavetable", {}},
                                {"Importwavetablefrommidi1", "Import wavetable from midi", {}},
                                {">OpenRecent1", "Open &recent", {}},
                                {"-", "", {}},
                                {"Savewavetable1", "Save wavetable (System Exclusive)", {}},
                                {"SavewavetableMidi1", "Save wavetable (Midi)", {}},
                                {"ExportwavetableWave1", "Export wavetable (Wave)", {}},
                                {"-", "", {}},
                                {"Importwave1", "Import wave to wavetable", {}},
                                {"-", "", {}},
                                {"AudioSetup1", "Audio Setup ...", ctrl(Qt::Key_Q)},
                                {"-", "", {}},
                                {"Exit1", "E&xit", {}}});
    ExpectMenu(
        top[1]->menu(),
        {{"Undo1", "Undo wavetable", ctrl(Qt::Key_Z)},
         {"Redo1", "Redo wavetable", ctrl(Qt::Key_Y)},
         {"-", "", {}},
         {"Copy1", "&Copy", ctrl(Qt::Key_C)},
         {"Paste1", "&Paste", ctrl(Qt::Key_V)},
         {">Pastespecial1", "Paste special", {}},
         {"-", "", {}},
         {"Moveleft1", "Move left", QKeySequence(Qt::Key_F5)},
         {"MOveright1", "Move right", QKeySequence(Qt::Key_F6)},
         {"Moveup1", "Move up", QKeySequence(Qt::Key_F7)},
         {"Movedown1", "Move down", QKeySequence(Qt::Key_F8)},
         {"-", "", {}},
         {"Viewwave1", "View wave", QKeySequence(Qt::Key_F1), true, true},
         {"Viewmotionpath1", "View motionpath", QKeySequence(Qt::Key_F2), true, false},
         {"-", "", {}},
         {"Makemodificationforselectedwaveforms1", "Make modification for selected waveforms",
          QKeySequence(Qt::Key_F11), true, false}});
    ExpectMenu(window->Pastespecial1, {{"Pastesum", "Paste summation", ctrl(Qt::Key_F1)},
                                       {"Pastesub", "Paste subtraction", ctrl(Qt::Key_F2)},
                                       {"Pastemul", "Paste multiplication", ctrl(Qt::Key_F3)},
                                       {"PasteOR", "Paste OR", ctrl(Qt::Key_F4)},
                                       {"PasteAND", "Paste AND", ctrl(Qt::Key_F5)},
                                       {"PasteXOR", "Paste XOR", ctrl(Qt::Key_F6)},
                                       {"Pastemin1", "Paste min", ctrl(Qt::Key_F7)},
                                       {"PasteMAX1", "Paste MAX", ctrl(Qt::Key_F8)}});
    ExpectMenu(top[2]->menu(),
               {{"Play1", "Play wave", QKeySequence(Qt::Key_F4)},
                {"Sweepwavetable", "Sweep wavetable", QKeySequence(Qt::Key_F3), true, false},
                {"-", "", {}},
                {"Addwave1", "Add wave", {}},
                {"Subwave1", "Sub wave", {}},
                {"Multiwave1", "Multi wave", {}},
                {"ORwave1", "OR wave", {}},
                {"ANDwave1", "AND wave", {}},
                {"XORwave1", "XOR wave", {}},
                {"minwave1", "min wave", {}},
                {"MAXwave1", "MAX wave", {}},
                {"-", "", {}},
                {"Amplify1", "Amplify +", QKeySequence(Qt::Key_F10)},
                {"Amplify2", "Amplify -", QKeySequence(Qt::Key_F9)},
                {"-", "", {}},
                {"Harmonics1", "Harmonics ...", QKeySequence(Qt::Key_F12)},
                {"Waterfall1", "Waterfall ...", {}},
                {"Formula1", "Formula ...", ctrl(Qt::Key_F)}});
    ExpectMenu(top[3]->menu(), {{"Morph1", "Morph wavetable", {}},
                                {"Wavetablerandomoerder1", "Wavetable random order", {}},
                                {"-", "", {}},
                                {"Invert1", "Invert wave", {}},
                                {"Reverse1", "Reverse wave", {}},
                                {"Smoothwave1", "Smooth wave", {}},
                                {"-", "", {}},
                                {"Audition1", "Audition ...", {}},
                                {">WindowScale1", "Window scale", {}}});
    ExpectMenu(top[4]->menu(), {{"MorvaneHelp1", "Morvane Help", {}},
                                {"UserGuide1", "User guide", {}},
                                {"Youtubedemovideo1", "Youtube demovideo", {}},
                                {"-", "", {}},
                                {"About1", "About", {}}});
}

TEST_F(WindowTest, StartUpLeavesANewTableOnWaveOne) {
    EXPECT_EQ(window->windowTitle(), Q("Waldorf Blofeld Morvane 1.11 (free)"));
    EXPECT_EQ(window->lblFilename->text(), Q("SysEx filename: "));
    EXPECT_EQ(window->grbHistory->title(), Q("History: 1 / 1"));
    EXPECT_EQ(window->History().HistoryPosition(), 1);
    EXPECT_EQ(window->History().HistoryCount(), 1);
    EXPECT_EQ(window->Memo1Lines(), QStringList{Q("Hello Blofeld WT World!")});
    EXPECT_EQ(window->ViewMode(), 1);
    EXPECT_EQ(window->CurrentWave(), 1);
    EXPECT_EQ(window->GetSampleRange(), (SampleRange{0, 127}));
    EXPECT_EQ(window->CheckedWaveSelection(), (WaveRange{1, 1}));
    EXPECT_EQ(window->RangeWaveSelection(), (WaveRange{1, 64}));
    EXPECT_FALSE(window->Makemodificationforselectedwaveforms1->isChecked());
    EXPECT_FALSE(window->IsModified());
    EXPECT_FALSE(window->WaveDrawing);
    EXPECT_FALSE(window->KeyState().CtrlDown());
    EXPECT_EQ(window->Path().SelectedPoint, -1);
    EXPECT_EQ(window->SweepDirection, 1);
    EXPECT_EQ(window->edtName->text(), Q("untitled"));
    // Seeded once from the clock: ((1 * 60 + 2) * 60 + 3) * 1000 + 4.
    EXPECT_EQ(window->Random().Seed, 3723004u);

    ASSERT_EQ(window->lbWaveTableIndex->count(), 64);
    EXPECT_EQ(window->lbWaveTableIndex->item(0)->text(), Q("01. Wave"));
    EXPECT_EQ(window->lbWaveTableIndex->item(8)->text(), Q("09. Wave"));
    EXPECT_EQ(window->lbWaveTableIndex->item(9)->text(), Q("10. Wave"));
    EXPECT_EQ(window->lbWaveTableIndex->item(63)->text(), Q("64. Wave"));
    EXPECT_EQ(window->lbWaveTableIndex->currentRow(), 0);
    for (int row : {0, 1, 44})
        EXPECT_EQ(
            window->lbWaveTableIndex->visualItemRect(window->lbWaveTableIndex->item(row)).height(),
            12)
            << row;

    // The new table: half-scale sines named "untitled", slot 0, device 0.
    const Wavetable &table = window->Table();
    for (int w = 0; w < 64; ++w) {
        SCOPED_TRACE(w);
        const std::uint8_t *m = table.Message(w);
        EXPECT_EQ(m[0], 0xF0);
        EXPECT_EQ(m[3], 0);
        EXPECT_EQ(m[5], 0);
        EXPECT_EQ(m[6], w);
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(m + 392), 14), "untitled      ");
        EXPECT_EQ(m[409], 0xF7);
        EXPECT_EQ(ReadSample(table, w, 0), 25725);
        EXPECT_EQ(ReadSample(table, w, 31), 524287);
        EXPECT_EQ(ReadSample(table, w, 63), 0);
        EXPECT_EQ(ReadSample(table, w, 64), -25726);
        EXPECT_EQ(ReadSample(table, w, 95), -524288);
    }
}

} // namespace
} // namespace morvane::testing
