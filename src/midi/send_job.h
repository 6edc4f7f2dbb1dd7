#pragma once

#include <functional>
#include <string>

#include "document/cancel_flag.h"
#include "midi/midi_out.h"
#include "midi/midi_settings.h"
#include "midi/paced_sender.h"
#include "midi/sysex_messages.h"

namespace morvane::midi {

// Called on the sending thread with the step (1-based) and the text of the progress dialog.
using JobReport = std::function<void(int step, const std::string &text)>;

// Sending waves to the instrument as a job of its own, on the thread that calls it: makes a
// MIDI output with makeOut, finds the settings' port, sends the messages with the settings'
// pause on the system clock and reports "Sending wave 3 of 64" before each. The flag stops it
// after the message in flight. No error escapes, a failure to make the output included: each
// ends in the result with the count sent before it.
SendResult RunSendJob(const MidiOutFactory &makeOut, const MidiOutputSettings &settings,
                      const MessageList &messages, const CancelFlag &cancel,
                      const JobReport &report);

} // namespace morvane::midi
