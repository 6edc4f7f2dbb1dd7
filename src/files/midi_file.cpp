#include "files/midi_file.h"

#include <algorithm>
#include <cstring>
#include <ostream>
#include <unordered_set>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "document/error.h"
#include "files/atomic_file.h"

namespace morvane::files {

namespace {

// MThd, length 6, format 0, one track, 384 ticks per quarter note; MTrk with its length;
// delta 0, Set Tempo 500,000 microseconds per quarter note (120 beats per minute); delta 0.
constexpr std::uint32_t kTrackLength = kMidiFileSize - kMidiTrackStart; // 26,514
constexpr std::array<std::uint8_t, kMidiHeaderSize> kMidiHeader = {
    0x4D,
    0x54,
    0x68,
    0x64,
    0x00,
    0x00,
    0x00,
    0x06,
    0x00,
    0x00,
    0x00,
    0x01,
    0x01,
    0x80,
    0x4D,
    0x54,
    0x72,
    0x6B,
    static_cast<std::uint8_t>(kTrackLength >> 24),
    static_cast<std::uint8_t>(kTrackLength >> 16),
    static_cast<std::uint8_t>(kTrackLength >> 8),
    static_cast<std::uint8_t>(kTrackLength),
    0x00,
    0xFF,
    0x51,
    0x03,
    0x07,
    0xA1,
    0x20,
    0x00};
// 768 ticks (one second at 384 ticks and 120 beats per minute) as a variable-length quantity.
constexpr std::array<std::uint8_t, 2> kOneSecond = {0x86, 0x00};
// Marker "end", delta 0, End of Track.
constexpr std::array<std::uint8_t, kMidiTrailerSize> kMidiTrailer = {0xFF, 0x06, 0x03, 0x65, 0x6E,
                                                                     0x64, 0x00, 0xFF, 0x2F, 0x00};
static_assert(kMessageSize - 1 == 409 && kWaveEventLength1 == 0x83 && kWaveEventLength2 == 0x19,
              "83 19 is 409 as a variable-length quantity");

// Index of the first F0 or F7 in [p, end), or end.
const std::uint8_t *FindMarker(const std::uint8_t *p, const std::uint8_t *end) {
#if defined(__SSE2__)
    const __m128i start = _mm_set1_epi8(static_cast<char>(kSysExStart));
    const __m128i stop = _mm_set1_epi8(static_cast<char>(kSysExEnd));
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, start), _mm_cmpeq_epi8(v, stop)));
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && *p != kSysExStart && *p != kSysExEnd)
        ++p;
    return p;
}

class NameCollector final : public CandidateSink {
public:
    bool Candidate(const ScanBuffer &buffer, std::size_t end) override {
        if (buffer[1] != kWaveEventLength1 || buffer[2] != kWaveEventLength2)
            return true;
        // The events of one table follow each other with the same name, which was handled
        // at its first event.
        const std::uint8_t *raw = buffer.data() + end - kNameBeforeEnd;
        if (havePrevious_ && std::memcmp(raw, previous_.data(), kNameLength) == 0)
            return true;
        std::memcpy(previous_.data(), raw, kNameLength);
        havePrevious_ = true;
        std::string name = CandidateName(buffer, end);
        std::string folded = name;
        std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        });
        if (seen_.insert(std::move(folded)).second)
            Names.push_back(std::move(name));
        return true;
    }

    std::vector<std::string> Names;

private:
    std::unordered_set<std::string> seen_; // names folded to lower case
    std::array<std::uint8_t, kNameLength> previous_{};
    bool havePrevious_ = false;
};

class MessageCopier final : public CandidateSink {
public:
    MessageCopier(const std::string &chosen, Wavetable &table, MidiCopy &result)
        : chosen_(chosen), table_(table), result_(result) {}

    bool Candidate(const ScanBuffer &buffer, std::size_t end) override {
        if (result_.Count >= kWaveCount)
            return false;
        if (chosen_.size() != kNameLength ||
            std::memcmp(buffer.data() + end - kNameBeforeEnd, chosen_.data(), kNameLength) != 0)
            return true;
        // Pass 2 does not test the length bytes; message bytes 1..409 are buffer[3..411],
        // which may hold leftovers of an earlier candidate when this one is shorter.
        const std::span<std::uint8_t, kMessageSize> message = table_.MessageSpan(result_.Count);
        message[kOffsetStart] = kSysExStart;
        std::memcpy(message.data() + 1, buffer.data() + kEventMessageOffset, kMessageSize - 1);
        ++result_.Count;
        result_.LastSlot = message[kOffsetSlot];
        result_.LastDevice = message[kOffsetDevice];
        return result_.Count < kWaveCount;
    }

private:
    const std::string &chosen_;
    Wavetable &table_;
    MidiCopy &result_;
};

} // namespace

std::vector<std::uint8_t> MidiFileBytes(const Wavetable &table) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kMidiFileSize);
    bytes.insert(bytes.end(), kMidiHeader.begin(), kMidiHeader.end());
    for (int w = 0; w < kWaveCount; ++w) {
        const std::uint8_t *m = table.Message(w);
        bytes.push_back(kSysExStart);
        bytes.push_back(kWaveEventLength1);
        bytes.push_back(kWaveEventLength2);
        bytes.insert(bytes.end(), m + 1, m + kMessageSize);
        bytes.insert(bytes.end(), kOneSecond.begin(), kOneSecond.end());
    }
    bytes.insert(bytes.end(), kMidiTrailer.begin(), kMidiTrailer.end());
    return bytes;
}

namespace {
std::vector<std::uint8_t> StampAndBuild(Wavetable &table, const std::string &nameField,
                                        std::uint8_t slot) {
    StampHeaders(table, 1, kWaveCount, nameField, slot);
    FillChecksums(table);
    return MidiFileBytes(table);
}
} // namespace

void WriteMidiFile(const std::string &path, Wavetable &table, const std::string &nameField,
                   std::uint8_t slot) {
    const std::vector<std::uint8_t> bytes = StampAndBuild(table, nameField, slot);
    WriteFileAtomically(path, bytes);
}

void WriteMidiToStream(std::ostream &out, Wavetable &table, const std::string &nameField,
                       std::uint8_t slot) {
    const std::vector<std::uint8_t> bytes = StampAndBuild(table, nameField, slot);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out)
        throw Error("Write error");
}

void ScanSysEx(ByteReader &reader, CandidateSink &sink) {
    // The scan as a byte-by-byte loop: F0 restarts the buffer at 0; F7 is stored and ends a
    // candidate; every other byte is stored at the index; the index grows by one per byte.
    // Runs of other bytes are copied at once, and the index saturates at the buffer's size
    // since every byte from there on is dropped.
    ScanBuffer buffer{};
    std::size_t index = 0;
    bool afterStart = false; // an F0 was met in this pass
    for (;;) {
        const std::span<const std::uint8_t> block = reader.Peek();
        if (block.empty())
            return;
        const std::uint8_t *p = block.data();
        const std::uint8_t *const end = p + block.size();
        while (p < end) {
            const std::uint8_t *marker = FindMarker(p, end);
            const auto run = static_cast<std::size_t>(marker - p);
            if (index < kScanBufferSize) {
                const std::size_t stored = std::min(run, kScanBufferSize - index);
                std::memcpy(buffer.data() + index, p, stored);
            }
            index = std::min(index + run, kScanBufferSize);
            p = marker;
            if (p == end)
                break;
            if (*p == kSysExStart) {
                buffer[0] = kSysExStart;
                index = 1;
                afterStart = true;
            } else if (index < kScanBufferSize) {
                buffer[index] = kSysExEnd;
                if (afterStart && index >= kMinCandidateEnd && !sink.Candidate(buffer, index))
                    return;
                ++index;
            }
            ++p;
        }
        reader.Advance(block.size());
    }
}

std::string CandidateName(const ScanBuffer &buffer, std::size_t end) {
    if (end < kMinCandidateEnd || end >= kScanBufferSize)
        return {};
    return std::string(reinterpret_cast<const char *>(buffer.data() + end - kNameBeforeEnd),
                       kNameLength);
}

MidiNames ScanWavetableNames(ByteReader &reader) {
    NameCollector collector;
    MidiNames result;
    try {
        ScanSysEx(reader, collector);
    } catch (const std::exception &e) {
        result.Error = e.what();
    }
    result.Names = std::move(collector.Names);
    return result;
}

MidiCopy CopyWavetableFromMidi(ByteReader &reader, const std::string &chosenName,
                               Wavetable &table) {
    MidiCopy result;
    MessageCopier copier(chosenName, table, result);
    try {
        ScanSysEx(reader, copier);
    } catch (const std::exception &e) {
        result.Error = e.what();
    }
    return result;
}

MidiImportResult ImportWavetableFromMidi(const std::string &path, Wavetable &table,
                                         const MidiImportPrompts &prompts) {
    static const std::string kPrefix = "LoadWavetableFromFile ";
    MidiImportResult result;
    MidiNames found;
    {
        std::unique_ptr<ByteSource> source;
        try {
            source = OpenFileSource(path);
        } catch (const std::exception &e) {
            prompts.Message(kPrefix + e.what());
            return result;
        }
        ByteReader reader(std::move(source));
        found = ScanWavetableNames(reader);
    }
    if (!found.Error.empty())
        prompts.Message(kPrefix + found.Error);
    if (found.Names.empty()) {
        prompts.Message("No wavetable in file.");
        return result;
    }
    const std::optional<std::size_t> choice = prompts.Choose(found.Names);
    if (!choice || *choice >= found.Names.size())
        return result;
    const std::string chosen = found.Names[*choice];

    result.Imported = true;
    try {
        ByteReader reader(OpenFileSource(path));
        result.Copy = CopyWavetableFromMidi(reader, chosen, table);
    } catch (const std::exception &e) {
        result.Copy.Error = e.what();
    }
    if (!result.Copy.Error.empty())
        prompts.Message(kPrefix + result.Copy.Error);
    return result;
}

} // namespace morvane::files
