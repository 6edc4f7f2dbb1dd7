// The formula tool window on the real main window.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "edit/history.h"
#include "support/temp_folder.h"
#include "ui/qt/formula_window.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

constexpr QRgb kCurve = 0xFF0000A0;

class FormulaWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        settings = folder / "morvane.ini";
        window->SettingsPath = settings.string();
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        form = window->frmFormula;
    }
    testing_support::TempFolder folder;
    std::filesystem::path settings;
    qt::TfrmFormula *form = nullptr;
};

TEST_F(FormulaWindowTest, CtrlFOpensItAndThePreviewFollowsTheText) {
    ASSERT_TRUE(form->isVisible());
    EXPECT_EQ(form->parent(), window.get());
    const Wavetable before = window->Table();
    form->edtFormula->setText(QStringLiteral("1"));
    EXPECT_EQ(form->imgFormulaFirst->Image().pixel(5, 0), kCurve);
    form->edtFormula->setText(QStringLiteral("-1"));
    EXPECT_EQ(form->imgFormulaLast->Image().pixel(5, 64), kCurve);
    form->edtFormula->setText(QStringLiteral("x +* 2"));
    EXPECT_EQ(form->lblFormulaError->text(),
              QStringLiteral("Unexpected operator \"*\" found at position 3"));
    QTest::mouseClick(form->btnFormulaApply, Qt::LeftButton);
    EXPECT_EQ(window->Table(), before);
    EXPECT_EQ(window->History().HistoryCount(), 1);
    EXPECT_FALSE(window->IsModified());
}

TEST_F(FormulaWindowTest, ApplyIsOneUndoStepAndIsRemembered) {
    window->chbRandomAllSlice->setChecked(true);
    const Wavetable before = window->Table();
    form->edtFormula->setText(QStringLiteral("(x<y)*2-1"));
    QTest::keyClick(form->edtFormula, Qt::Key_Return);
    EXPECT_EQ(window->History().HistoryCount(), 2);
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(ReadSample(window->Table(), 63, 0), kMaxSample);
    EXPECT_EQ(ReadSample(window->Table(), 0, 127), -kMaxSample);
    // The main window's Ctrl+Z, pressed in the formula window.
    form->btnFormulaApply->setFocus();
    QTest::keyClick(form->btnFormulaApply, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->Table(), before);

    ASSERT_EQ(form->cmbFormulaHistory->count(), 1);
    EXPECT_EQ(form->cmbFormulaHistory->itemText(0), QStringLiteral("(x<y)*2-1"));
    std::ifstream in(settings);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("[Formulas]\nFormula1=(x<y)*2-1\n"), std::string::npos);
}

TEST_F(FormulaWindowTest, OverflowShowsTheMessageOnceAndKeepsThoseWaves) {
    window->trbMorphWaves1->setValue(1);
    window->trbMorphWaves2->setValue(3);
    window->chbRandomAllSlice->setChecked(true);
    const Wavetable before = window->Table();
    form->edtFormula->setText(QStringLiteral("x*i"));
    EXPECT_EQ(form->lblFormulaFirst->text(), QStringLiteral("Wave 1"));
    EXPECT_EQ(form->lblFormulaLast->text(), QStringLiteral("Wave 3 (overflow)"));
    QTest::mouseClick(form->btnFormulaApply, Qt::LeftButton);
    EXPECT_EQ(dialogs.Messages,
              std::vector<std::string>{"21 bit overflow error. You can allow overflow! -->"});
    EXPECT_EQ(ReadSample(window->Table(), 0, 0), -kMaxSample);
    EXPECT_EQ(ReadSample(window->Table(), 1, 0), ReadSample(before, 1, 0));
    EXPECT_EQ(window->History().HistoryCount(), 2);
}

} // namespace
} // namespace morvane::testing
