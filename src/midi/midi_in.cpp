#include "midi/midi_in.h"

namespace morvane::midi {

namespace {

constexpr std::uint8_t kStatusNoteOff = 0x80;
constexpr std::uint8_t kStatusNoteOn = 0x90;
constexpr std::uint8_t kStatusControlChange = 0xB0;
constexpr std::uint8_t kStatusPitchBend = 0xE0;
constexpr std::uint8_t kControllerModWheel = 1; // the coarse mod wheel; its fine CC33 is ignored
constexpr int kBendCentre = 8192;               // the 14-bit value of the wheel at rest

} // namespace

std::optional<ChannelEvent> ParseChannelMessage(std::span<const std::uint8_t> message) noexcept {
    if (message.size() != 3)
        return std::nullopt; // every message this reads has two data bytes
    const std::uint8_t status = message[0];
    const std::uint8_t data1 = message[1];
    const std::uint8_t data2 = message[2];
    if (status < 0x80 || status >= 0xF0 || data1 > 0x7F || data2 > 0x7F)
        return std::nullopt;
    ChannelEvent event;
    event.Channel = static_cast<std::uint8_t>(status & 0x0F);
    switch (status & 0xF0) {
    case kStatusNoteOn:
        event.Type = data2 == 0 ? ChannelEvent::Kind::NoteOff : ChannelEvent::Kind::NoteOn;
        event.Note = data1;
        event.Value = data2;
        return event;
    case kStatusNoteOff:
        event.Type = ChannelEvent::Kind::NoteOff;
        event.Note = data1;
        event.Value = data2;
        return event;
    case kStatusControlChange:
        if (data1 != kControllerModWheel)
            return std::nullopt;
        event.Type = ChannelEvent::Kind::ModWheel;
        event.Value = data2;
        return event;
    case kStatusPitchBend:
        event.Type = ChannelEvent::Kind::PitchBend;
        event.Bend = static_cast<std::int16_t>((data2 << 7 | data1) - kBendCentre);
        return event;
    default:
        return std::nullopt;
    }
}

} // namespace morvane::midi
