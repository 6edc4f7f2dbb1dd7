#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "midi/midi_out.h"

namespace morvane::midi {

// A channel message the audition plays from. A note-on with velocity 0 is a note-off, as the
// MIDI standard has it (keyboards send it to save a status byte under running status).
struct ChannelEvent {
    enum class Kind : std::uint8_t { NoteOn, NoteOff, ModWheel, PitchBend };
    Kind Type = Kind::NoteOn;
    std::uint8_t Channel = 0;  // 0..15
    std::uint8_t Note = 0;     // NoteOn, NoteOff: 0..127
    std::uint8_t Value = 0;    // NoteOn, NoteOff: velocity 0..127; ModWheel: 0..127
    std::int16_t Bend = 0;     // PitchBend: -8192..8191, 0 at the centre

    friend bool operator==(const ChannelEvent &, const ChannelEvent &) = default;
};

// The event of one complete message, none for anything else (other controllers, system
// messages, a message cut short or carrying a data byte above 127). Real-time safe.
std::optional<ChannelEvent> ParseChannelMessage(std::span<const std::uint8_t> message) noexcept;

// Where an input port delivers. Receive runs on the backend's own thread, one message at a time
// (running status already resolved): it must not block, since the next message waits for it.
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

} // namespace morvane::midi
