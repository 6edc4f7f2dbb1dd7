#pragma once

#include <memory>

#include "midi/midi_in.h"

namespace morvane::midi {

// The system's MIDI input through RtMidi: the input ports of every API RtMidi was built with
// (on Debian the ALSA sequencer and JACK), listed as the output lists them. System exclusive,
// clock and active sensing are filtered out before they reach the receiver.
std::unique_ptr<MidiIn> CreateRtMidiIn();

} // namespace morvane::midi
