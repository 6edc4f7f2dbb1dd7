#include "exchange/chunk_reader.h"

#include <algorithm>
#include <cstring>

#include "document/error.h"
#include "exchange/limits.h"
#include "files/byte_reader.h"

namespace morvane::exchange {

namespace {

using files::ByteReader;

bool ReadId(ByteReader &reader, FourCc &id) {
    std::array<std::uint8_t, 4> bytes{};
    if (reader.Read(bytes) != bytes.size())
        return false;
    std::memcpy(id.data(), bytes.data(), bytes.size());
    return true;
}

bool ReadU32(ByteReader &reader, bool bigEndian, std::uint32_t &value) {
    std::array<std::uint8_t, 4> b{};
    if (reader.Read(b) != b.size())
        return false;
    value = bigEndian ? (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
                            (std::uint32_t{b[2]} << 8) | std::uint32_t{b[3]}
                      : (std::uint32_t{b[3]} << 24) | (std::uint32_t{b[2]} << 16) |
                            (std::uint32_t{b[1]} << 8) | std::uint32_t{b[0]};
    return true;
}

bool ReadU16(ByteReader &reader, std::uint16_t &value) {
    std::array<std::uint8_t, 2> b{};
    if (reader.Read(b) != b.size())
        return false;
    value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool Is(const FourCc &id, const char (&text)[5]) {
    return std::memcmp(id.data(), text, 4) == 0;
}

// A frame length that a tag may give: a cycle of at least a few samples, and no longer than a
// file may be.
std::optional<int> Plausible(std::uint64_t length) {
    if (length < static_cast<std::uint64_t>(kMinFrameLength) ||
        length > static_cast<std::uint64_t>(kMaxSamples))
        return std::nullopt;
    return static_cast<int>(length);
}

} // namespace

const Chunk *FileChunks::Find(const char (&id)[5]) const {
    for (const Chunk &chunk : Chunks)
        if (Is(chunk.Id, id))
            return &chunk;
    return nullptr;
}

FileChunks ReadChunks(std::span<const std::uint8_t> file) {
    FileChunks result;
    ByteReader reader(file);
    FourCc outer{};
    FourCc form{};
    std::uint32_t outerSize = 0;
    if (!ReadId(reader, outer))
        return result;
    const bool riff = Is(outer, "RIFF");
    const bool aiff = Is(outer, "FORM");
    if (!(riff || aiff) || !ReadU32(reader, aiff, outerSize) || !ReadId(reader, form))
        return result;
    if (riff && !Is(form, "WAVE"))
        return result;
    if (aiff && !Is(form, "AIFF") && !Is(form, "AIFC"))
        return result;
    result.Kind = riff ? Container::Riff : Container::Aiff;

    constexpr std::uint32_t kStreamingSize = 0xFFFFFFFFu;
    for (;;) {
        Chunk chunk;
        std::uint32_t size = 0;
        if (!ReadId(reader, chunk.Id) || !ReadU32(reader, aiff, size))
            break; // fewer than 8 bytes left: no further chunk
        const std::uint64_t start = reader.Position();
        const std::uint64_t present = file.size() - start;
        std::uint64_t length = size;
        if (riff && size == kStreamingSize && Is(chunk.Id, "data"))
            length = present;
        if (length > present) {
            result.Truncated = true;
            result.TruncatedId = chunk.Id;
            result.TruncatedDeclared = length;
            result.TruncatedPresent = present;
            break;
        }
        chunk.Data =
            file.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
        result.Chunks.push_back(chunk);
        // Chunks are padded to an even length; a missing pad byte at the very end is harmless.
        reader.Skip(static_cast<std::size_t>(length + (length & 1u)));
    }
    return result;
}

std::optional<int> ClmFrameLength(std::span<const std::uint8_t> data) {
    static constexpr char kPrefix[] = "<!>";
    constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
    if (data.size() <= kPrefixLength || std::memcmp(data.data(), kPrefix, kPrefixLength) != 0)
        return std::nullopt;
    std::uint64_t value = 0;
    std::size_t i = kPrefixLength;
    constexpr std::size_t kMaxDigits = 9; // keeps the value far inside 64 bits
    for (; i < data.size() && data[i] >= '0' && data[i] <= '9'; ++i) {
        if (i - kPrefixLength >= kMaxDigits)
            return std::nullopt;
        value = value * 10 + (data[i] - '0');
    }
    if (i == kPrefixLength)
        return std::nullopt;
    // The number ends at a blank, a terminating zero or the end of the chunk; "<!>20x" is no
    // frame length.
    if (i < data.size() && data[i] != ' ' && data[i] != '\0' && data[i] != '\t')
        return std::nullopt;
    return Plausible(value);
}

std::optional<int> SrgeFrameLength(std::span<const std::uint8_t> data) {
    ByteReader reader(data);
    std::uint32_t version = 0;
    std::uint32_t frameSize = 0;
    if (!ReadU32(reader, false, version) || !ReadU32(reader, false, frameSize))
        return std::nullopt;
    return Plausible(frameSize);
}

std::optional<int> CueSpacing(std::span<const std::uint8_t> data, std::uint64_t totalSamples) {
    ByteReader reader(data);
    std::uint32_t count = 0;
    if (!ReadU32(reader, false, count))
        return std::nullopt;
    constexpr std::size_t kCuePointSize = 24; // id, position, chunk id, chunk, block, offset
    // Only the points the chunk really holds are read, whatever the count says.
    const std::size_t held = std::min<std::size_t>(count, (data.size() - 4) / kCuePointSize);
    std::vector<std::uint64_t> offsets;
    std::vector<std::uint64_t> positions;
    for (std::size_t n = 0; n < held; ++n) {
        std::uint32_t id = 0, position = 0, chunkStart = 0, blockStart = 0, sampleOffset = 0;
        FourCc chunkId{};
        if (!ReadU32(reader, false, id) || !ReadU32(reader, false, position) ||
            !ReadId(reader, chunkId) || !ReadU32(reader, false, chunkStart) ||
            !ReadU32(reader, false, blockStart) || !ReadU32(reader, false, sampleOffset))
            return std::nullopt;
        offsets.push_back(sampleOffset);
        positions.push_back(position);
    }
    // The sample offset is the point's place in the data; some writers leave it zero and put
    // the place in the play-order position instead.
    const bool offsetsUsed =
        std::any_of(offsets.begin(), offsets.end(), [](std::uint64_t v) { return v != 0; });
    std::vector<std::uint64_t> &points = offsetsUsed ? offsets : positions;
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 2 || points.back() >= totalSamples)
        return std::nullopt;
    const std::uint64_t spacing = points[1] - points[0];
    for (std::size_t n = 1; n < points.size(); ++n)
        if (points[n] - points[n - 1] != spacing)
            return std::nullopt;
    if (points[0] % spacing != 0)
        return std::nullopt;
    return Plausible(spacing);
}

std::optional<int> SmplLoopLength(std::span<const std::uint8_t> data, std::uint64_t totalSamples) {
    constexpr std::size_t kLoopCountOffset = 28; // after manufacturer .. SMPTE offset
    constexpr std::size_t kLoopsOffset = 36;
    constexpr std::size_t kLoopStartOffset = 8; // within a loop: id, type, start, end, ...
    ByteReader reader(data);
    std::uint32_t loopCount = 0;
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    if (reader.Skip(kLoopCountOffset) != kLoopCountOffset || !ReadU32(reader, false, loopCount) ||
        loopCount == 0)
        return std::nullopt;
    const std::size_t toLoop = kLoopsOffset - kLoopCountOffset - 4 + kLoopStartOffset;
    if (reader.Skip(toLoop) != toLoop || !ReadU32(reader, false, start) ||
        !ReadU32(reader, false, end))
        return std::nullopt;
    if (end <= start || end > totalSamples)
        return std::nullopt;
    const std::uint64_t length = end == totalSamples ? end - start : std::uint64_t{end} - start + 1;
    return Plausible(length);
}

bool IsSurgeWt(std::span<const std::uint8_t> file) {
    return file.size() >= 4 && std::memcmp(file.data(), "vawt", 4) == 0;
}

SurgeWt ReadSurgeWt(std::span<const std::uint8_t> file, const std::string &shownName) {
    ByteReader reader(file);
    FourCc magic{};
    std::uint32_t frameSize = 0;
    std::uint16_t frameCount = 0;
    std::uint16_t flags = 0;
    if (!ReadId(reader, magic) || !Is(magic, "vawt") || !ReadU32(reader, false, frameSize) ||
        !ReadU16(reader, frameCount) || !ReadU16(reader, flags))
        throw Error(shownName + " is cut short: its .wt header is incomplete.");
    SurgeWt wt;
    wt.IsSample = (flags & 0x01u) != 0;
    wt.Int16 = (flags & 0x04u) != 0;
    wt.FullRange16 = (flags & 0x08u) != 0;
    if (frameSize == 0 || frameCount == 0)
        throw Error(shownName + " holds no frames: its .wt header gives " +
                    std::to_string(frameCount) + " frames of " + std::to_string(frameSize) +
                    " samples.");
    const std::uint64_t samples = std::uint64_t{frameSize} * frameCount;
    if (samples > static_cast<std::uint64_t>(kMaxSamples))
        throw Error(shownName + " is too long: it holds more than " + GroupedNumber(kMaxSamples) +
                    " samples.");
    if (frameSize < static_cast<std::uint32_t>(kMinFrameLength))
        throw Error(shownName + " has frames of " + std::to_string(frameSize) +
                    " samples; a frame needs at least " + std::to_string(kMinFrameLength) + ".");
    const std::uint64_t bytes = samples * (wt.Int16 ? 2u : 4u);
    const std::uint64_t present = file.size() - kSurgeWtHeaderSize;
    if (bytes > present)
        throw Error(shownName + " is cut short: its frames need " + GroupedNumber(bytes) +
                    " bytes, only " + GroupedNumber(present) + " are there.");
    wt.FrameSize = static_cast<int>(frameSize);
    wt.FrameCount = frameCount;
    wt.Data = file.subspan(kSurgeWtHeaderSize, static_cast<std::size_t>(bytes));
    return wt;
}

std::string IdText(const FourCc &id) {
    std::string text;
    for (char c : id)
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    return text;
}

} // namespace morvane::exchange
