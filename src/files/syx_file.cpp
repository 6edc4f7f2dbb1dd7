#include "files/syx_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ostream>

#include "document/error.h"
#include "files/atomic_file.h"

namespace morvane::files {

namespace {

constexpr std::array<std::uint8_t, 3> kWaveMessageStart = {kSysExStart, kWaldorfId, kBlofeldId};

// Whether the `have` bytes at the window's start agree with the start of a wave message.
bool BeginsWaveMessage(const std::uint8_t *window, std::size_t have) {
    const std::size_t n = std::min(have, kWaveMessageStart.size());
    return n >= 1 && std::memcmp(window, kWaveMessageStart.data(), n) == 0;
}

std::string Counted(int n, const char *one, const char *many) {
    return std::to_string(n) + (n == 1 ? one : many);
}

} // namespace

std::string SyxLoadResult::TooManyText() const {
    if (MessagesBeyond <= 0)
        return {};
    return "The file holds " + std::to_string(MessagesRead + MessagesBeyond) +
           " wave messages; only the first " + std::to_string(MessagesRead) + " were loaded.";
}

std::string SyxLoadResult::ReportText() const {
    std::string skipped;
    if (EndsInside > 0)
        skipped += " The file ends inside message " + std::to_string(EndsInside) + ".";
    if (Damaged > 0)
        skipped += " " + Counted(Damaged, " damaged message was skipped.",
                                 " damaged messages were skipped.");
    const std::string overflow = OverflowWavesText(Overflow);
    if (skipped.empty() && overflow.empty())
        return {};
    std::string text;
    if (MessagesRead == 0)
        text = "The file holds no whole wave message.";
    else
        text = Counted(MessagesRead, " wave message was loaded.", " wave messages were loaded.");
    text += skipped;
    if (!overflow.empty())
        text += " " + overflow;
    return text;
}

SyxLoadResult LoadWavetable(ByteReader &reader, Wavetable &table) {
    SyxLoadResult result;
    // A window of one message's length slides over the input: a candidate that is not a
    // whole message gives up only its F0, since a real message may begin inside it.
    std::array<std::uint8_t, kMessageSize> window{};
    std::size_t have = 0;
    auto drop = [&](std::size_t n) {
        std::memmove(window.data(), window.data() + n, have - n);
        have -= n;
    };
    for (;;) {
        have += reader.Read(std::span<std::uint8_t>(window.data() + have, kMessageSize - have));
        if (have == 0)
            break;
        const void *hit = std::memchr(window.data(), kSysExStart, have);
        if (hit == nullptr) {
            have = 0;
            continue;
        }
        const auto at =
            static_cast<std::size_t>(static_cast<const std::uint8_t *>(hit) - window.data());
        if (at > 0) {
            drop(at);
            continue;
        }
        const int number = result.MessagesRead + result.MessagesBeyond + result.Damaged + 1;
        if (have < kMessageSize) {
            // The input ended; what is left cannot hold a whole message.
            if (BeginsWaveMessage(window.data(), have)) {
                result.EndsInside = number;
                break;
            }
            drop(1);
            continue;
        }
        const std::span<const std::uint8_t, kMessageSize> candidate(window);
        if (!IsWellFormedWaveMessage(candidate)) {
            if (BeginsWaveMessage(window.data(), have))
                ++result.Damaged;
            drop(1);
            continue;
        }
        have = 0;
        if (result.MessagesRead == kWaveCount) {
            ++result.MessagesBeyond; // the table is full: count the rest, store nothing
            continue;
        }
        const std::span<std::uint8_t, kMessageSize> message =
            table.MessageSpan(result.MessagesRead);
        std::copy(candidate.begin(), candidate.end(), message.begin());
        if (HoldsOverflowSamples(message))
            result.Overflow |= WaveSet{1} << result.MessagesRead;
        ++result.MessagesRead;
        result.LastSlot = message[kOffsetSlot];
        result.LastDevice = message[kOffsetDevice];
    }
    if (result.MessagesRead == 0) {
        const std::string why = result.ReportText();
        throw Error(why.empty() ? "The file holds no whole wave message." : why);
    }
    return result;
}

namespace {
SyxLoadResult LoadInto(ByteReader &reader, Wavetable &table) {
    // Waves beyond the messages read keep what the table held.
    Wavetable loaded = table;
    const SyxLoadResult result = LoadWavetable(reader, loaded);
    table = loaded;
    return result;
}
} // namespace

SyxLoadResult LoadWavetableFromStream(std::istream &in, Wavetable &table) {
    ByteReader reader(StreamSource(in));
    return LoadInto(reader, table);
}

SyxLoadResult LoadWavetableFromFile(const std::string &path, Wavetable &table) {
    ByteReader reader(OpenFileSource(path));
    return LoadInto(reader, table);
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
