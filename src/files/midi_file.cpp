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
        const EventCheck check = CheckWaveEvent(buffer, end);
        if (check == EventCheck::Damaged)
            ++Skipped.Damaged;
        if (check != EventCheck::WellFormed)
            return true;
        ++Skipped.Events;
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
    MidiSkipped Skipped;

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
        const EventCheck check = CheckWaveEvent(buffer, end);
        if (check == EventCheck::Damaged)
            ++result_.Skipped.Damaged;
        if (check != EventCheck::WellFormed)
            return true;
        ++result_.Skipped.Events;
        if (result_.Count >= kWaveCount || chosen_.size() != kNameLength ||
            std::memcmp(buffer.data() + end - kNameBeforeEnd, chosen_.data(), kNameLength) != 0)
            return true;
        const std::span<std::uint8_t, kMessageSize> message = table_.MessageSpan(result_.Count);
        message[kOffsetStart] = kSysExStart;
        std::memcpy(message.data() + 1, buffer.data() + kEventMessageOffset, kMessageSize - 1);
        if (HoldsOverflowSamples(message))
            result_.Overflow |= WaveSet{1} << result_.Count;
        ++result_.Count;
        result_.LastSlot = message[kOffsetSlot];
        result_.LastDevice = message[kOffsetDevice];
        // The rest of the file is still scanned, for what the report says it skipped.
        return true;
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

bool ScanSysEx(ByteReader &reader, CandidateSink &sink) {
    // The scan as a byte-by-byte loop: F0 restarts the buffer at 0; F7 is stored and ends a
    // candidate; every other byte is stored at the index; the index grows by one per byte.
    // Runs of other bytes are copied at once, and the index saturates at the buffer's size
    // since every byte from there on is dropped.
    ScanBuffer buffer{};
    std::size_t index = 0;
    bool afterStart = false; // an F0 was met in this pass
    bool open = false;       // an F0 was met and no F7 since
    for (;;) {
        const std::span<const std::uint8_t> block = reader.Peek();
        if (block.empty()) {
            // A candidate cut by the end of the input that began as a wave event.
            return open && (index < 2 || buffer[1] == kWaveEventLength1) &&
                   (index < 3 || buffer[2] == kWaveEventLength2);
        }
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
                open = true;
            } else {
                open = false;
                if (index < kScanBufferSize) {
                    buffer[index] = kSysExEnd;
                    if (afterStart && index >= kMinCandidateEnd && !sink.Candidate(buffer, index))
                        return false;
                    ++index;
                }
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

EventCheck CheckWaveEvent(const ScanBuffer &buffer, std::size_t end) {
    if (buffer[1] != kWaveEventLength1 || buffer[2] != kWaveEventLength2)
        return EventCheck::NotWaveEvent;
    if (end != kWaveEventEnd)
        return EventCheck::Damaged;
    std::array<std::uint8_t, kMessageSize> message{};
    message[kOffsetStart] = kSysExStart;
    std::memcpy(message.data() + 1, buffer.data() + kEventMessageOffset, kMessageSize - 1);
    return IsWellFormedWaveMessage(message) ? EventCheck::WellFormed : EventCheck::Damaged;
}

std::string MidiSkipped::Text() const {
    std::string text;
    if (EndsInside > 0)
        text += " The file ends inside message " + std::to_string(EndsInside) + ".";
    if (Damaged == 1)
        text += " 1 damaged message was skipped.";
    else if (Damaged > 1)
        text += " " + std::to_string(Damaged) + " damaged messages were skipped.";
    return text;
}

std::string MidiCopy::ReportText() const {
    const std::string skipped = Skipped.Text();
    const std::string overflow = OverflowWavesText(Overflow);
    if (skipped.empty() && overflow.empty())
        return {};
    std::string text = std::to_string(Count) +
                       (Count == 1 ? " wave message was loaded." : " wave messages were loaded.");
    text += skipped;
    if (!overflow.empty())
        text += " " + overflow;
    return text;
}

MidiNames ScanWavetableNames(ByteReader &reader) {
    NameCollector collector;
    const bool cut = ScanSysEx(reader, collector);
    MidiNames result;
    result.Names = std::move(collector.Names);
    result.Skipped = collector.Skipped;
    if (cut)
        result.Skipped.EndsInside = result.Skipped.Events + result.Skipped.Damaged + 1;
    return result;
}

MidiCopy CopyWavetableFromMidi(ByteReader &reader, const std::string &chosenName,
                               Wavetable &table) {
    MidiCopy result;
    MessageCopier copier(chosenName, table, result);
    if (ScanSysEx(reader, copier))
        result.Skipped.EndsInside = result.Skipped.Events + result.Skipped.Damaged + 1;
    return result;
}

MidiImportResult ImportWavetableFromMidi(const std::string &path, Wavetable &table,
                                         const MidiImportPrompts &prompts) {
    MidiImportResult result;
    MidiNames found;
    {
        ByteReader reader(OpenFileSource(path));
        found = ScanWavetableNames(reader);
    }
    if (found.Names.empty()) {
        throw NoWavetableInFile("No wavetable in file." + found.Skipped.Text());
    }
    const std::optional<std::size_t> choice = prompts.Choose(found.Names);
    if (!choice || *choice >= found.Names.size())
        return result;
    const std::string chosen = found.Names[*choice];

    // Waves beyond the messages copied keep what the table held.
    Wavetable copied = table;
    ByteReader reader(OpenFileSource(path));
    result.Copy = CopyWavetableFromMidi(reader, chosen, copied);
    if (result.Copy.Count == 0) {
        // The file changed between the passes.
        throw NoWavetableInFile("No wavetable in file." + result.Copy.Skipped.Text());
    }
    table = copied;
    result.Imported = true;
    return result;
}

} // namespace morvane::files
