#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include "ui/dialogs.h"

class QWidget;

namespace morvane {

class TfrmUserGuide;

// The dialogs port shown with real Qt dialogs, modal over the active window.
class QtDialogs final : public Dialogs {
public:
    QtDialogs() = default;

    Answer Confirm(const std::string &text, bool withCancel) override;
    void Message(const std::string &text) override;
    bool OpenFile(FileDialogState &dialog) override;
    bool SaveFile(FileDialogState &dialog) override;
    SelectorAnswer SelectWavetable(const std::vector<std::string> &names) override;
    AudioSetupAnswer AudioSetup(const AudioSetupChoices &choices) override;
    void ShowHelp(const std::vector<std::string> &lines) override;
    // One guide window at a time: asked again, it comes to the front at the guide's start.
    void ShowUserGuide(const std::string &path) override;
    // Defined with the exchange dialogs (qt_dialogs_exchange.cpp).
    MidiSetupAnswer MidiSetup(const MidiSetupChoices &choices) override;
    void RunWithProgress(ProgressJob job) override;
    ImportAudioAnswer ImportAudio(const ImportAudioChoices &choices) override;

private:
    bool RunFileDialog(FileDialogState &dialog, bool save);

    QPointer<TfrmUserGuide> guide_; // deleted when the user closes it
};

// "System Exclusive Files|*.syx|All files|*.*" as Qt name filters:
// "System Exclusive Files (*.syx)", "All files (*)". Several patterns of one entry are
// separated by ';' in the old form and by spaces in Qt's.
QStringList QtNameFilters(const std::string &filter);

} // namespace morvane
