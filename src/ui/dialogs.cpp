#include "ui/dialogs.h"

namespace morvane::ui {

MidiSetupAnswer Dialogs::MidiSetup(const MidiSetupChoices &) {
    return {};
}

void Dialogs::RunWithProgress(ProgressJob job) {
    const midi::CancelFlag never;
    if (job.Run)
        job.Run([](int, const std::string &) {}, never);
    if (job.Finished)
        job.Finished();
}

} // namespace morvane::ui
