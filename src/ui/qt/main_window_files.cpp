// The file commands of the main window: load and save ".syx", MIDI export and import, WAV
// export and import.
#include "ui/qt/main_window.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include "document/path_text.h"
#include "files/midi_file.h"
#include "files/syx_file.h"
#include "files/wave_file.h"
#include "ui/qt/wave_list.h"

namespace morvane::qt {

namespace {

const std::string kLoadPrefix = "LoadWavetableFromFile ";
const std::string kSavePrefix = "SaveWavetableToFile ";

bool FileExists(const std::string &path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

QString PathText(const std::string &utf8) {
    return QString::fromStdString(utf8);
}

// The slot and device id of a message read from a file, shown in the selectors without
// writing them into the table (the selectors' change handler does not run). A byte that has
// no item leaves its selector as it was.
void ShowSlotAndDevice(TfrmMain &w, std::uint8_t slot, std::uint8_t device) {
    const int slotItem = slot - kFirstSlot;
    if (slotItem >= 0 && slotItem < w.cmbWavetableSlot->count()) {
        const QSignalBlocker blocker(w.cmbWavetableSlot);
        w.cmbWavetableSlot->setCurrentIndex(slotItem);
    }
    if (device < w.cmbDeviceID->count()) {
        const QSignalBlocker blocker(w.cmbDeviceID);
        w.cmbDeviceID->setCurrentIndex(device);
    }
}

std::uint8_t ShownSlot(const TfrmMain &w) {
    return static_cast<std::uint8_t>(w.cmbWavetableSlot->currentText().toInt());
}

// The name SaveDialog1 proposes: the file chosen last for loading with the given extension,
// otherwise the name field's text.
std::string ProposedName(const TfrmMain &w, const char *extension) {
    if (!w.OpenDialog1.FileName.empty())
        return ChangeFileExt(w.OpenDialog1.FileName, extension);
    return w.edtName->text().toStdString();
}

// The tail of a load or an import that replaced the table: wave 1 current and drawn, the
// flag clear, the overview, the title, one snapshot.
void AfterTableReplaced(TfrmMain &w, const std::string &path) {
    w.SelectWave(1);
    w.DrawWavetable(1);
    w.SetModified(false);
    w.DrawOverview();
    w.UpdateTitle(PathText(path));
    w.PushHistory();
}

// False when nothing was loaded: the table, the list, the title and the history stay.
bool LoadWavetableFromFile(TfrmMain &w, const std::string &path) {
    files::SyxLoadResult result;
    try {
        result = files::LoadWavetableFromFile(path, w.Table());
    } catch (const std::exception &e) {
        w.Dialogs().Message(kLoadPrefix + e.what());
        return false;
    }
    w.lbWaveTableIndex->clear();
    for (int n = 1; n <= result.MessagesRead; ++n)
        w.lbWaveTableIndex->addItem(QString::fromStdString(LoadedWaveListText(n)));
    ShowSlotAndDevice(w, result.LastSlot, result.LastDevice);
    if (const std::string report = result.ReportText(); !report.empty())
        w.Dialogs().Message(report);
    if (const std::string tooMany = result.TooManyText(); !tooMany.empty())
        w.Dialogs().Message(tooMany);
    AfterTableReplaced(w, path);
    return true;
}

void SaveWavetableToFile(TfrmMain &w, const std::string &path) {
    files::SyxSaveRequest request;
    request.First = w.trbMorphWaves1->value();
    request.Last = w.trbMorphWaves2->value();
    request.NameField = TfrmMain::ToSingleByte(w.edtName->text());
    request.Slot = ShownSlot(w);
    try {
        files::SaveWavetableToFile(path, w.Table(), request);
    } catch (const std::exception &e) {
        // The file was not written: the table stays marked as changed and the title keeps
        // naming the file it came from.
        w.Dialogs().Message(kSavePrefix + e.what());
        return;
    }
    w.SetModified(false);
    w.UpdateTitle(PathText(path));
    // The file holds what the table holds; the user learns which waves the instrument refuses.
    if (const std::string overflow =
            OverflowWavesText(OverflowWaves(w.Table(), request.First, request.Last));
        !overflow.empty())
        w.Dialogs().Message(overflow + " The instrument will not read them from this file.");
    w.RememberFile(path);
}

void WriteMidiFile(TfrmMain &w, const std::string &path) {
    if (FileExists(path) &&
        w.Dialogs().Confirm("Do you want to overwrite?", false) != ui::Answer::Yes)
        return;
    // Errors reach the general error box.
    files::WriteMidiFile(path, w.Table(), TfrmMain::ToSingleByte(w.edtName->text()), ShownSlot(w));
    w.RememberFile(path);
}

// The selector shows the names without their padding; the choice is mapped back by position,
// and 14-character names that differ only in trailing spaces cannot occur.
std::vector<std::string> SelectorTexts(const std::vector<std::string> &names) {
    std::vector<std::string> texts;
    texts.reserve(names.size());
    for (const std::string &name : names) {
        const std::size_t end = name.find_last_not_of(' ');
        texts.push_back(end == std::string::npos ? std::string() : name.substr(0, end + 1));
    }
    return texts;
}

} // namespace

void TfrmMain::btnLoadwavetableClick(QObject *) {
    if (!AskSaveChanges())
        return;
    const std::string previous = OpenDialog1.FileName;
    if (!Dialogs().OpenFile(OpenDialog1))
        return;
    const std::string path = OpenDialog1.FileName;
    OpenDialog1.FileName = previous;
    LoadWavetablePath(path);
}

void TfrmMain::LoadWavetablePath(const std::string &path) {
    // The next save proposes the file loaded last, never one that failed.
    if (!LoadWavetableFromFile(*this, path))
        return;
    OpenDialog1.FileName = path;
    RememberFile(path);
}

void TfrmMain::btnSaveWavetableClick(QObject *) {
    SaveDialog1.FilterIndex = 1;
    SaveDialog1.DefaultExt = "syx";
    SaveDialog1.FileName = ProposedName(*this, ".syx");
    if (!Dialogs().SaveFile(SaveDialog1))
        return;
    const std::string path = SaveDialog1.FileName;
    if (FileExists(path) && Dialogs().Confirm("Overwrite ?", false) != ui::Answer::Yes)
        return;
    SaveWavetableToFile(*this, path);
}

void TfrmMain::btnExportWavetableClick(QObject *) {
    SaveDialog1.FilterIndex = 2;
    // A name typed without extension under the "Midi files" filter becomes a ".mid" file.
    SaveDialog1.DefaultExt = "mid";
    SaveDialog1.FileName = ProposedName(*this, ".mid");
    if (!Dialogs().SaveFile(SaveDialog1))
        return;
    const std::string path = SaveDialog1.FileName;
    if (FileExists(path) && Dialogs().Confirm("Overwrite ?", false) != ui::Answer::Yes)
        return;
    WriteMidiFile(*this, path);
}

void TfrmMain::btnImportWTfromMidiClick(QObject *) {
    if (!AskSaveChanges())
        return;
    if (!Dialogs().OpenFile(OpenDialog3))
        return;
    ImportMidiPath(OpenDialog3.FileName);
}

void TfrmMain::ImportMidiPath(const std::string &path) {
    OpenDialog3.FileName = path;
    files::MidiImportPrompts prompts;
    prompts.Choose = [this](const std::vector<std::string> &names) -> std::optional<std::size_t> {
        const ui::SelectorAnswer answer = Dialogs().SelectWavetable(SelectorTexts(names));
        // Okay with nothing selected ends the import like Cancel.
        if (!answer.Ok || answer.Index < 0)
            return std::nullopt;
        return static_cast<std::size_t>(answer.Index);
    };
    files::MidiImportResult result;
    try {
        result = files::ImportWavetableFromMidi(path, Table(), prompts);
    } catch (const files::NoWavetableInFile &e) {
        Dialogs().Message(e.what());
        return;
    } catch (const std::exception &e) {
        Dialogs().Message(kLoadPrefix + e.what());
        return;
    }
    if (!result.Imported)
        return;
    ShowSlotAndDevice(*this, result.Copy.LastSlot, result.Copy.LastDevice);
    if (const std::string report = result.Copy.ReportText(); !report.empty())
        Dialogs().Message(report);
    AfterTableReplaced(*this, path);
    RememberFile(path);
}

bool TfrmMain::MayOverwrite(std::initializer_list<std::string> paths) {
    const bool exists = std::any_of(paths.begin(), paths.end(), FileExists);
    return !exists || Dialogs().Confirm("Overwrite ?", false) == ui::Answer::Yes;
}

void TfrmMain::btnExportWTasWavClick(QObject *) {
    if (!Dialogs().SaveFile(savedialogWAVE))
        return;
    const std::string &path = savedialogWAVE.FileName;
    if (!MayOverwrite({path, files::WaveTextPath(path)}))
        return;
    files::WaveBuffers &buffers = files::WaveBuffersInstance();
    files::PrepareWaveExport(Table(), buffers);
    // Errors reach the general error box.
    files::WriteWaveFile(savedialogWAVE.FileName, buffers);
    RememberFile(savedialogWAVE.FileName);
}

void TfrmMain::btnLoadWaveClick(QObject *) {
    if (!Dialogs().OpenFile(OpenDialog2))
        return;
    ImportWavePath(OpenDialog2.FileName);
}

void TfrmMain::ImportWavePath(const std::string &path) {
    OpenDialog2.FileName = path;
    files::WaveBuffers &buffers = files::WaveBuffersInstance();
    try {
        files::ReadWaveFile(path, buffers);
    } catch (const std::exception &e) {
        // Refused or unreadable: the table and the history stay as they were.
        Dialogs().Message(e.what());
        return;
    }
    // A silent range throws before anything changed; the error reaches the general error box.
    Wavetable imported = Table();
    files::ImportWaveSamples(buffers, imported, CmbWTFrom->currentIndex() + 1,
                             CmbWTTo->currentIndex() + 1);
    // The snapshot holds the table as it was before the import.
    PushHistory();
    Table() = imported;
    DrawWavetable(CurrentWave());
    // The file went into a range of a table that may hold other edits: they are unsaved.
    SetModified(true);
    DrawOverview();
    RememberFile(path);
}

} // namespace morvane::qt
