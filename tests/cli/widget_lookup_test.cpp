#include "cli/widget_lookup.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "script/script_parser.h"

namespace morvane::cli {
namespace {

TEST(WidgetLookup, MenuCaptionsLoseTheirMnemonicMarksButKeepADoubledAmpersand) {
    EXPECT_EQ(PlainCaption(QStringLiteral("&File")), QStringLiteral("File"));
    EXPECT_EQ(PlainCaption(QStringLiteral("Save && E&xit")), QStringLiteral("Save & Exit"));
    EXPECT_EQ(PlainCaption(QStringLiteral("End&")), QStringLiteral("End"));
}

TEST(WidgetLookup, FindsTheFirstObjectOfTheNameThatAScriptCanActOn) {
    QWidget window;
    // A plain object of the same name comes first and is passed over.
    QObject plain(&window);
    plain.setObjectName(QStringLiteral("chkLoop"));
    auto *box = new QCheckBox(QStringLiteral("Loop"), &window);
    box->setObjectName(QStringLiteral("chkLoop"));
    auto *timer = new QTimer(&window);
    timer->setObjectName(QStringLiteral("Timer1"));
    auto *picture = new QLabel(&window);
    picture->setObjectName(QStringLiteral("imgGraph"));

    EXPECT_EQ(FindControl(window, "chkLoop"), box);
    EXPECT_EQ(KindOf(box), ControlKind::CheckBox);
    EXPECT_EQ(Utf8(CaptionOf(box)), "Loop");
    EXPECT_EQ(KindOf(FindControl(window, "Timer1")), ControlKind::Timer);
    // Pictures go by their name, whatever widget shows them.
    EXPECT_STREQ(KindWord(KindOf(picture)), "image");
    EXPECT_THROW(FindControl(window, "btnNone"), script::ScriptError);
}

} // namespace
} // namespace morvane::cli
