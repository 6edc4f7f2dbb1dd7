#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "midi/midi_out.h"
#include "midi/midi_settings.h"
#include "midi/paced_sender.h"

// The subcommands that talk to the instrument over MIDI: send and ports.
namespace morvane::cli {

int SendCommand(int &argc, char **argv, const std::vector<std::string> &args);
int PortsCommand(int &argc, char **argv, const std::vector<std::string> &args);

// The bodies, with the MIDI system, the saved MIDI output, the clock and the streams given, so
// that tests can run them against a recording fake. `cancel` stops a send after the message in
// flight (the command raises it on Ctrl+C).
int RunSend(const std::vector<std::string> &args, midi::MidiOut &out,
            const midi::MidiOutputSettings &saved, midi::PaceClock &clock, const CancelFlag &cancel,
            std::ostream &output, std::ostream &errors);
int RunPorts(const std::vector<std::string> &args, midi::MidiOut &out,
             const midi::MidiOutputSettings &saved, std::ostream &output, std::ostream &errors);

} // namespace morvane::cli
