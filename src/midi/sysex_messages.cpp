#include "midi/sysex_messages.h"

#include <cstdio>

#include "document/error.h"
#include "files/byte_reader.h"

namespace morvane::midi {

namespace {

// Bytes of 80 hex and above are MIDI status bytes; inside a System Exclusive message only
// data bytes may stand.
constexpr std::uint8_t kStatusBit = 0x80;

std::string Hex(std::uint8_t value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

// Why the message can not go out as it is, or an empty text when it can. `what` names it for
// the user ("Wave 5", "Message 3"); byte positions are counted from 0 as in the file.
std::string Fault(std::span<const std::uint8_t> message, const std::string &what) {
    if (message.size() < 2 || message.front() != kSysExStart)
        return what + " does not begin with F0.";
    if (message.back() != kSysExEnd)
        return what + " does not end with F7.";
    for (std::size_t i = 1; i + 1 < message.size(); ++i) {
        if ((message[i] & kStatusBit) != 0)
            return what + " holds the byte " + Hex(message[i]) + " hex at its byte " +
                   std::to_string(i) +
                   ", which MIDI cannot carry inside a System Exclusive message.";
    }
    return {};
}

} // namespace

MessageList SplitSysEx(std::span<const std::uint8_t> bytes) {
    MessageList messages;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] != kSysExStart) {
            ++i;
            continue;
        }
        const std::string what = "Message " + std::to_string(messages.size() + 1);
        std::size_t end = i + 1;
        while (end < bytes.size() && (bytes[end] & kStatusBit) == 0)
            ++end;
        if (end == bytes.size())
            throw Error("The file ends inside " + what + " (no F7).");
        if (bytes[end] != kSysExEnd)
            throw Error(what + " holds the byte " + Hex(bytes[end]) + " hex at its byte " +
                        std::to_string(end - i) +
                        ", which MIDI cannot carry inside a System Exclusive message.");
        messages.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                              bytes.begin() + static_cast<std::ptrdiff_t>(end + 1));
        i = end + 1;
    }
    if (messages.empty())
        throw Error("The file holds no System Exclusive message.");
    return messages;
}

MessageList ReadSyxMessages(const std::string &path) {
    files::ByteReader reader(files::OpenFileSource(path));
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const std::span<const std::uint8_t> block = reader.Peek();
        if (block.empty())
            break;
        if (bytes.size() + block.size() > kMaxSyxFileSize)
            throw Error("\"" + path + "\" is larger than " +
                        std::to_string(kMaxSyxFileSize / (1024 * 1024)) +
                        " MB; it holds no dump for this instrument.");
        bytes.insert(bytes.end(), block.begin(), block.end());
        reader.Advance(block.size());
    }
    return SplitSysEx(bytes);
}

MessageList StampedSelection(const Wavetable &table, const files::SyxSaveRequest &request) {
    Wavetable copy = table;
    StampHeaders(copy, request.First, request.Last, request.NameField, request.Slot);
    FillChecksums(copy);
    const std::vector<std::uint8_t> bytes = files::SyxBytes(copy, request.First, request.Last);
    if (bytes.empty())
        throw Error("The wave selection holds no wave.");
    MessageList messages;
    const int first = request.First < 1 ? 1 : request.First;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kMessageSize) {
        const std::span<const std::uint8_t> message(bytes.data() + offset, kMessageSize);
        const int waveNumber = first + static_cast<int>(offset / kMessageSize);
        const std::string fault = Fault(message, "Wave " + std::to_string(waveNumber));
        if (!fault.empty())
            throw Error(fault);
        messages.emplace_back(message.begin(), message.end());
    }
    return messages;
}

} // namespace morvane::midi
