#include "ui/midi_setup_choices.h"

namespace morvane::ui {

MidiSetupChoices MakeMidiSetupChoices(const midi::MidiPortList &list,
                                      const midi::MidiOutputSettings &saved) {
    MidiSetupChoices choices;
    choices.PauseMs = midi::ClampPause(saved.MidiPauseMs);
    choices.Notes = list.Unavailable;
    for (const midi::MidiPort &port : list.Ports)
        choices.Entries.push_back({port, true, midi::PortLabel(port)});
    if (saved.MidiPort.empty())
        return choices;
    if (const auto found = midi::FindPort(list.Ports, saved.MidiApi, saved.MidiPort)) {
        for (std::size_t i = 0; i < list.Ports.size(); ++i) {
            if (list.Ports[i] == *found) {
                choices.Preselected = static_cast<int>(i);
                break;
            }
        }
        return choices;
    }
    midi::MidiPort absent;
    absent.Api = saved.MidiApi;
    absent.ApiTitle = midi::ApiTitleOf(saved.MidiApi);
    absent.Name = saved.MidiPort;
    choices.Entries.push_back({absent, false, midi::PortLabel(absent) + " (not connected)"});
    choices.Preselected = static_cast<int>(choices.Entries.size()) - 1;
    return choices;
}

midi::MidiOutputSettings ApplyMidiSetup(const MidiSetupAnswer &answer) {
    midi::MidiOutputSettings settings;
    if (answer.Port) {
        settings.MidiApi = answer.Port->Api;
        settings.MidiPort = answer.Port->Name;
    }
    settings.MidiPauseMs = midi::ClampPause(answer.PauseMs);
    return settings;
}

} // namespace morvane::ui
