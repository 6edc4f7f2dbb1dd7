#pragma once

#include <memory>

#include "midi/midi_out.h"

namespace morvane::midi {

// The system's MIDI output through RtMidi: the output ports of every API RtMidi was built with
// (on Debian the ALSA sequencer and JACK). Ports are listed and opened under the client name
// "Morvane". Before each message the destination is looked up again, so that a port that went
// away (the instrument switched off, its cable pulled, the JACK client closed) ends the send
// with an error instead of sending into nothing. One object is used by one thread at a time.
std::unique_ptr<MidiOut> CreateRtMidiOut();

} // namespace morvane::midi
