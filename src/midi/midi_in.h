#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "midi/midi_out.h"

namespace morvane::midi {

// Where an input port delivers: each complete message as it came (running status resolved,
// a note-on of velocity 0 left as it is). Receive runs on the backend's own thread, one message
// at a time: it must not block, since the next message waits for it.
class MidiInReceiver {
public:
    virtual ~MidiInReceiver() = default;
    virtual void Receive(std::span<const std::uint8_t> message) noexcept = 0;
};

// The MIDI input port: lists the system's input ports and delivers the messages of the one
// opened. Used from one thread (the UI's); failures throw morvane::Error with a text for the
// user.
class MidiIn {
public:
    virtual ~MidiIn() = default;

    virtual MidiPortList Ports() = 0;
    // Opens the port (closing any port opened before) and delivers its messages to `receiver`
    // until Close; the receiver must outlive that. The port must be in the list now.
    virtual void Open(const MidiPort &port, MidiInReceiver &receiver) = 0;
    // Once Close returns, the receiver is not called any more. Nothing happens when no port is
    // open.
    virtual void Close() = 0;
};

using MidiInFactory = std::function<std::unique_ptr<MidiIn>()>;

// A MIDI input with no ports at all, for a window given no MIDI system: the list is empty and
// nothing is ever received.
std::unique_ptr<MidiIn> CreateNoMidiIn();

} // namespace morvane::midi
