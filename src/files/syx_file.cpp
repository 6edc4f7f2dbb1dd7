#include "files/syx_file.h"

#include <cstring>
#include <ostream>

#include "document/error.h"
#include "files/atomic_file.h"

namespace morvane::files {

namespace {

// Finds the next F0 between messages; true with the F0 consumed, false at the end.
bool SkipToMessageStart(ByteReader &reader) {
    for (;;) {
        const std::span<const std::uint8_t> block = reader.Peek();
        if (block.empty())
            return false;
        const void *hit = std::memchr(block.data(), kSysExStart, block.size());
        if (hit == nullptr) {
            reader.Advance(block.size());
            continue;
        }
        reader.Advance(
            static_cast<std::size_t>(static_cast<const std::uint8_t *>(hit) - block.data()) + 1);
        return true;
    }
}

} // namespace

std::string SyxLoadResult::TooManyText() const {
    if (MessagesBeyond <= 0)
        return {};
    return "The file holds " + std::to_string(MessagesRead + MessagesBeyond) +
           " wave messages; only the first " + std::to_string(MessagesRead) + " were loaded.";
}

SyxLoadResult LoadWavetable(ByteReader &reader, Wavetable &table) {
    SyxLoadResult result;
    try {
        while (SkipToMessageStart(reader)) {
            if (result.MessagesRead == kWaveCount) {
                // The table is full: count the rest, store nothing.
                ++result.MessagesBeyond;
                reader.Skip(kMessageSize - 1);
                continue;
            }
            const std::span<std::uint8_t, kMessageSize> message =
                table.MessageSpan(result.MessagesRead);
            message[kOffsetStart] = kSysExStart;
            reader.Read(message.subspan(1));
            ++result.MessagesRead;
            result.LastSlot = message[kOffsetSlot];
            result.LastDevice = message[kOffsetDevice];
        }
    } catch (const std::exception &e) {
        result.Error = e.what();
    }
    return result;
}

SyxLoadResult LoadWavetableFromStream(std::istream &in, Wavetable &table) {
    ByteReader reader(StreamSource(in));
    return LoadWavetable(reader, table);
}

SyxLoadResult LoadWavetableFromFile(const std::string &path, Wavetable &table) {
    std::unique_ptr<ByteSource> source;
    try {
        source = OpenFileSource(path);
    } catch (const std::exception &e) {
        SyxLoadResult failed;
        failed.Error = e.what();
        return failed;
    }
    ByteReader reader(std::move(source));
    return LoadWavetable(reader, table);
}

std::vector<std::uint8_t> SyxBytes(const Wavetable &table, int first, int last) {
    if (first < 1)
        first = 1;
    if (last > kWaveCount)
        last = kWaveCount;
    if (last < first)
        return {};
    const auto begin =
        table.Bytes.begin() + static_cast<std::ptrdiff_t>(kMessageSize) * (first - 1);
    const auto end = table.Bytes.begin() + static_cast<std::ptrdiff_t>(kMessageSize) * last;
    return std::vector<std::uint8_t>(begin, end);
}

namespace {
std::vector<std::uint8_t> StampAndCollect(Wavetable &table, const SyxSaveRequest &request) {
    StampHeaders(table, request.First, request.Last, request.NameField, request.Slot);
    FillChecksums(table);
    return SyxBytes(table, request.First, request.Last);
}
} // namespace

void SaveWavetableToFile(const std::string &path, Wavetable &table, const SyxSaveRequest &request) {
    const std::vector<std::uint8_t> bytes = StampAndCollect(table, request);
    WriteFileAtomically(path, bytes);
}

void SaveWavetableToStream(std::ostream &out, Wavetable &table, const SyxSaveRequest &request) {
    const std::vector<std::uint8_t> bytes = StampAndCollect(table, request);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out)
        throw Error("Write error");
}

} // namespace morvane::files
