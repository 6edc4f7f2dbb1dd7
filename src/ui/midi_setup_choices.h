#pragma once

#include "midi/midi_out.h"
#include "midi/midi_settings.h"
#include "ui/dialogs.h"

namespace morvane::ui {

// What the MIDI output dialog shows for the ports listed now and the saved choice: the listed
// ports in their order, then the saved port when it is not among them (marked "not connected"),
// with the saved port's entry preselected (found as FindPort finds it), and the saved pause.
MidiSetupChoices MakeMidiSetupChoices(const midi::MidiPortList &list,
                                      const midi::MidiOutputSettings &saved);

// The settings after the dialog closed with OK: the chosen port (none clears it) and the pause
// brought into its range.
midi::MidiOutputSettings ApplyMidiSetup(const MidiSetupAnswer &answer);

} // namespace morvane::ui
