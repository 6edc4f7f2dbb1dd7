// Every control and menu item of the main window and of each dialog explains itself, and the
// user guide opens inside the program with its pictures.
#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include "ui/qt/audio_setup_dialog.h"
#include "ui/qt/audition_window.h"
#include "ui/qt/formula_window.h"
#include "ui/qt/harmonics_window.h"
#include "ui/qt/help_dialog.h"
#include "ui/qt/import_audio_dialog.h"
#include "ui/qt/midi_output_dialog.h"
#include "ui/qt/progress_dialog.h"
#include "ui/qt/user_guide_window.h"
#include "ui/qt/waterfall_window.h"
#include "ui/qt/wave_tables_dialog.h"
#include "window_fixture.h"

namespace morvane::testing {
namespace {

// The names of the controls and menu items of `form` that explain nothing. A control is a named
// widget that shows with the form, other than a container; a menu item's own tooltip is its
// caption until one is set, so that counts as none. A menu item with a shortcut must name it.
QStringList WithoutTooltip(QWidget &form) {
    QStringList missing;
    for (QWidget *widget : form.findChildren<QWidget *>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(QStringLiteral("qt_")) ||
            qobject_cast<QMenu *>(widget) || qobject_cast<QMenuBar *>(widget) ||
            qobject_cast<QGroupBox *>(widget) || name == QStringLiteral("ClientArea") ||
            !widget->isVisibleTo(&form))
            continue;
        if (widget->toolTip().isEmpty())
            missing.append(name);
    }
    for (QAction *action : form.findChildren<QAction *>()) {
        if (action->objectName().isEmpty() || action->isSeparator())
            continue;
        QString caption = action->text();
        caption.remove(QLatin1Char('&'))
            .remove(QStringLiteral("..."))
            .replace(QLatin1Char(' '), QString());
        QString tip = action->toolTip();
        if (tip.isEmpty() || tip.replace(QLatin1Char(' '), QString()) == caption)
            missing.append(action->objectName());
        const QString shortcut = action->shortcut().toString(QKeySequence::PortableText);
        if (!shortcut.isEmpty() &&
            !action->toolTip().contains(QLatin1Char('(') + shortcut + QLatin1Char(')')))
            missing.append(action->objectName() + QStringLiteral(" without ") + shortcut);
    }
    return missing;
}

TEST_F(WindowTest, EveryControlAndMenuItemOfTheMainWindowHasATooltip) {
    EXPECT_EQ(WithoutTooltip(*window), QStringList());
    EXPECT_EQ(WithoutTooltip(*window->frmFormula), QStringList());
    // The examples the texts follow, and a menu that shows them.
    EXPECT_EQ(window->btnPasteAdd->toolTip(),
              QString::fromUtf8("P+ — add the clipboard wave to the current wave's samples, "
                                "sample by sample (Ctrl+F1)"));
    EXPECT_EQ(window->Pastesum->toolTip(), window->btnPasteAdd->toolTip());
    EXPECT_TRUE(window->Pastespecial1->toolTipsVisible());
}

TEST_F(WindowTest, EveryControlOfTheToolWindowsHasATooltip) {
    window->Waterfall1->trigger();
    EXPECT_EQ(WithoutTooltip(*window->frmWaterfall), QStringList());
    window->Harmonics1->trigger();
    EXPECT_EQ(WithoutTooltip(*window->frmHarmonics), QStringList());
    window->Formula1->trigger();
    EXPECT_EQ(WithoutTooltip(*window->frmFormula), QStringList());
    window->Audition1->trigger();
    EXPECT_EQ(WithoutTooltip(*window->frmAudition), QStringList());
}

TEST(Tooltips, EveryControlOfEachDialogHasATooltip) {
    qt::TfrmHelp help({"Shortcuts:"});
    EXPECT_EQ(WithoutTooltip(help), QStringList());
    qt::TfrmWaveTables selector;
    selector.AddNames({"Alpha"});
    EXPECT_EQ(WithoutTooltip(selector), QStringList());
    qt::TfrmAudioSetup audio(ui::AudioSetupChoices{{"Device"}, {{"44.1 kHz, stereo"}}, 0});
    EXPECT_EQ(WithoutTooltip(audio), QStringList());
    ui::MidiSetupChoices ports;
    ports.Entries = {{midi::MidiPort{}, false, "ALSA: Blofeld (not connected)"}};
    ports.Notes = {"JACK: no JACK server is running."};
    qt::TfrmMidiOutput midiOut(ports);
    EXPECT_EQ(WithoutTooltip(midiOut), QStringList());
    ui::ImportAudioChoices import;
    import.FrameLengths = {2048};
    import.FrameLengthTexts = {"2048"};
    qt::TfrmImportAudio importAudio(import);
    EXPECT_EQ(WithoutTooltip(importAudio), QStringList());
    qt::TfrmProgress progress(ui::ProgressJob{"Sending", 1, {}, {}});
    EXPECT_EQ(WithoutTooltip(progress), QStringList());
    qt::TfrmUserGuide guide;
    EXPECT_EQ(WithoutTooltip(guide), QStringList());
}

TEST(UserGuideWindow, ShowsTheGuideWithEveryPictureAndCanBeResized) {
    qt::TfrmUserGuide guide;
    EXPECT_FALSE(guide.isModal());
    EXPECT_NE(guide.minimumSize(), guide.maximumSize());
    guide.OpenGuide(QStringLiteral(MORVANE_TEST_DATA_DIR "/../../docs/guide.md"));
    const QTextDocument *document = guide.txtGuide->document();
    EXPECT_TRUE(document->toPlainText().startsWith(QStringLiteral("Morvane user guide")));
    int pictures = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            SCOPED_TRACE(name.toStdString());
            const QVariant data =
                guide.txtGuide->loadResource(QTextDocument::ImageResource, QUrl(name));
            EXPECT_FALSE(QImage::fromData(data.toByteArray()).isNull());
            ++pictures;
        }
    EXPECT_GE(pictures, 4);
}

} // namespace
} // namespace morvane::testing
