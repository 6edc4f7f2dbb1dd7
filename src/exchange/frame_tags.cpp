#include "exchange/frame_tags.h"

#include <array>
#include <bit>
#include <cmath>
#include <optional>
#include <string>

#include "document/error.h"
#include "exchange/limits.h"
#include "files/byte_reader.h"

namespace morvane::exchange {

// The frame tag of a RIFF file, in the order of precedence. A tag that names a frame length
// but gives none that makes sense is refused rather than guessed around.
void FindFrameTag(const FileChunks &chunks, AudioFile &file) {
    const auto total = static_cast<std::uint64_t>(file.Samples.size());
    if (const Chunk *clm = chunks.Find("clm ")) {
        const std::optional<int> length = ClmFrameLength(clm->Data);
        if (!length)
            throw Error(file.ShownName +
                        " has a 'clm ' chunk that gives no frame length (it should begin "
                        "\"<!>\" and the number of samples per frame, as \"<!>2048\").");
        file.Source = FrameSource::Clm;
        file.TaggedFrameLength = *length;
        return;
    }
    if (const Chunk *srge = chunks.Find("srge")) {
        const std::optional<int> length = SrgeFrameLength(srge->Data);
        if (!length)
            throw Error(file.ShownName +
                        " has a 'srge' chunk that gives no frame length (its frame size must "
                        "lie between " +
                        std::to_string(kMinFrameLength) + " and " + GroupedNumber(kMaxSamples) +
                        ").");
        file.Source = FrameSource::Srge;
        file.TaggedFrameLength = *length;
        return;
    }
    if (chunks.Find("uhWT") != nullptr) {
        constexpr int kUhwtFrameLength = 2048; // that synth's tables are always 2048 per frame
        file.Source = FrameSource::Uhwt;
        file.TaggedFrameLength = kUhwtFrameLength;
        return;
    }
    // Cue points and loops are common in ordinary samples too: one that does not describe
    // frames is no tag, and the file counts as untagged.
    if (const Chunk *cue = chunks.Find("cue ")) {
        if (const std::optional<int> spacing = CueSpacing(cue->Data, total)) {
            file.Source = FrameSource::Cue;
            file.TaggedFrameLength = *spacing;
            return;
        }
    }
    if (const Chunk *smpl = chunks.Find("smpl")) {
        if (const std::optional<int> length = SmplLoopLength(smpl->Data, total)) {
            file.Source = FrameSource::Smpl;
            file.TaggedFrameLength = *length;
            return;
        }
    }
}

void ReadSurgeFrames(std::span<const std::uint8_t> bytes, AudioFile &file) {
    const SurgeWt wt = ReadSurgeWt(bytes, file.ShownName);
    const std::size_t count = static_cast<std::size_t>(wt.FrameSize) * wt.FrameCount;
    file.Samples.resize(count);
    files::ByteReader reader(wt.Data);
    // 16-bit frames use half the range unless flag 08 says otherwise.
    const double scale16 = wt.FullRange16 ? 1.0 / 32768.0 : 1.0 / 16384.0;
    for (std::size_t n = 0; n < count; ++n) {
        if (wt.Int16) {
            std::array<std::uint8_t, 2> b{};
            reader.Read(b);
            const auto value = static_cast<std::int16_t>(b[0] | (b[1] << 8));
            file.Samples[n] = value * scale16;
        } else {
            std::array<std::uint8_t, 4> b{};
            reader.Read(b);
            const std::uint32_t bits = std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) |
                                       (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
            const auto value = std::bit_cast<float>(bits);
            // A float that is no number would poison the whole transform.
            file.Samples[n] = std::isfinite(value) ? value : 0.0;
        }
    }
    file.FormatText =
        std::string("Surge wavetable, ") + (wt.Int16 ? "16-bit integer" : "32-bit float") + ", " +
        std::to_string(wt.FrameCount) + " frames of " + std::to_string(wt.FrameSize) + " samples";
    if (!wt.IsSample) {
        file.Source = FrameSource::WtHeader;
        file.TaggedFrameLength = wt.FrameSize;
    }
}

} // namespace morvane::exchange
