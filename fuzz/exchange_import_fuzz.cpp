// The exchange import over any input: the chunk walk hands out only bytes of the file, every
// tag gives a frame length a frame can have, the ".wt" reader takes only frames that are all
// there, and an audio file that is taken in (libsndfile's memory path or ".wt") holds finite
// samples, no more than the limit, and imports into values within the 21-bit range without
// touching a header or a name.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "document/error.h"
#include "document/wave_message.h"
#include "exchange/audio_import.h"
#include "exchange/chunk_reader.h"
#include "exchange/limits.h"
#include "fuzz_support.h"

namespace {

using namespace morvane;

bool Inside(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

void CheckLength(const std::optional<int> &length) {
    if (length)
        fuzz::Check(*length >= exchange::kMinFrameLength && *length <= exchange::kMaxSamples);
}

void CheckChunks(std::span<const std::uint8_t> bytes) {
    const exchange::FileChunks chunks = exchange::ReadChunks(bytes);
    if (chunks.Kind == exchange::Container::None)
        fuzz::Check(chunks.Chunks.empty() && !chunks.Truncated);
    if (chunks.Truncated)
        fuzz::Check(chunks.TruncatedPresent < chunks.TruncatedDeclared);
    const std::uint64_t samples = bytes.size() / 2;
    for (const exchange::Chunk &chunk : chunks.Chunks) {
        fuzz::Check(Inside(chunk.Data, bytes));
        CheckLength(exchange::ClmFrameLength(chunk.Data));
        CheckLength(exchange::SrgeFrameLength(chunk.Data));
        CheckLength(exchange::CueSpacing(chunk.Data, samples));
        CheckLength(exchange::SmplLoopLength(chunk.Data, samples));
    }
}

void CheckSurge(std::span<const std::uint8_t> bytes) {
    if (!exchange::IsSurgeWt(bytes))
        return;
    try {
        const exchange::SurgeWt wt = exchange::ReadSurgeWt(bytes, "\"fuzz.wt\"");
        fuzz::Check(wt.FrameSize >= exchange::kMinFrameLength && wt.FrameCount >= 1);
        const std::size_t width = wt.Int16 ? 2 : 4;
        fuzz::Check(wt.Data.size() ==
                    static_cast<std::size_t>(wt.FrameSize) * wt.FrameCount * width);
        fuzz::Check(Inside(wt.Data, bytes));
    } catch (const Error &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    CheckChunks(bytes);
    CheckSurge(bytes);

    exchange::AudioFile file;
    try {
        file = exchange::ReadAudioBytes(bytes, "\"fuzz\"");
    } catch (const Error &e) {
        fuzz::Check(std::string(e.what()).rfind("\"fuzz\"", 0) == 0);
        return 0;
    }
    fuzz::Check(!file.Samples.empty());
    fuzz::Check(static_cast<std::int64_t>(file.Samples.size()) <= exchange::kMaxSamples);
    fuzz::Check(static_cast<std::size_t>(file.TaggedFrameLength) <= file.Samples.size());
    for (double s : file.Samples)
        fuzz::Check(std::isfinite(s));

    const std::vector<int> offered = exchange::OfferedFrameLengths(file);
    fuzz::Check(!offered.empty());
    const int proposed = exchange::ProposedFrameLength(file);
    fuzz::Check(std::find(offered.begin(), offered.end(), proposed) != offered.end());
    (void)exchange::FramesFoundText(file, proposed);

    // Resampling costs time: the import runs on the shorter files only.
    constexpr std::size_t kImportedAtMost = std::size_t{1} << 16;
    if (file.Samples.size() > kImportedAtMost)
        return 0;
    exchange::ImportSettings settings;
    settings.FrameLength = proposed;
    settings.Normalise = size % 2 == 0;
    settings.First = 1 + data[0] % kWaveCount;
    settings.Last = 1 + data[size - 1] % kWaveCount;
    Wavetable table = fuzz::NewTable();
    const Wavetable original = table;
    try {
        exchange::ImportAudioFrames(file, settings, table);
    } catch (const Error &) {
        fuzz::Check(table == original);
        return 0;
    }
    for (int w = 0; w < kWaveCount; ++w) {
        const auto message = table.Message(w);
        const auto before = original.Message(w);
        for (int k = 0; k < kSampleCount; ++k) {
            const std::int32_t v = ReadSample(table, w, k);
            fuzz::Check(v >= -kMaxSample && v <= kMaxSample);
        }
        for (std::size_t i = 0; i < kOffsetSamples; ++i)
            fuzz::Check(message[i] == before[i]);
        for (std::size_t i = kOffsetSamples + 3 * kSampleCount; i < kMessageSize; ++i)
            fuzz::Check(message[i] == before[i]);
    }
    return 0;
}
