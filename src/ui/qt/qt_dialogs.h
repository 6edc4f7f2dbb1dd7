#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include "ui/dialogs.h"

class QWidget;

namespace morvane::qt {

class TfrmUserGuide;

// The dialogs port shown with real Qt dialogs, modal over the active window.
class QtDialogs final : public ui::Dialogs {
public:
    QtDialogs() = default;

    ui::Answer Confirm(const std::string &text, bool withCancel) override;
    void Message(const std::string &text) override;
    bool OpenFile(ui::FileDialogState &dialog) override;
    bool SaveFile(ui::FileDialogState &dialog) override;
    ui::SelectorAnswer SelectWavetable(const std::vector<std::string> &names) override;
    ui::AudioSetupAnswer AudioSetup(const ui::AudioSetupChoices &choices) override;
    void ShowHelp(const std::vector<std::string> &lines) override;
    // One guide window at a time: asked again, it comes to the front at the guide's start.
    void ShowUserGuide(const std::string &path) override;
    // Defined with the exchange dialogs (qt_dialogs_exchange.cpp).
    ui::MidiSetupAnswer MidiSetup(const ui::MidiSetupChoices &choices) override;
    void RunWithProgress(ui::ProgressJob job) override;
    ui::ImportAudioAnswer ImportAudio(const ui::ImportAudioChoices &choices) override;

private:
    bool RunFileDialog(ui::FileDialogState &dialog, bool save);

    QPointer<TfrmUserGuide> guide_; // deleted when the user closes it
};

// "System Exclusive Files|*.syx|All files|*.*" as Qt name filters:
// "System Exclusive Files (*.syx)", "All files (*)". Several patterns of one entry are
// separated by ';' in the old form and by spaces in Qt's.
QStringList QtNameFilters(const std::string &filter);

} // namespace morvane::qt
