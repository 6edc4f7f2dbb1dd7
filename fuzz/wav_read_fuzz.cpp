// The WAV reader and the import's conversion over any input: a refusal changes no sample, an
// accepted file gives samples that are the file's or zero, and every imported value lies
// within the 21-bit range.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "document/error.h"
#include "document/wave_message.h"
#include "files/wave_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace morvane;
    const std::span<const std::uint8_t> bytes(data, size);

    // The buffers start with leftovers of an earlier file.
    static files::WaveBuffers buffers;
    for (files::WaveSample &s : buffers.WaveSamples)
        s = {0x5A, 0x5A, 0x05, 0x80};
    const files::WaveBuffers before = buffers;

    files::ByteReader blocks = fuzz::ChunkedReader(bytes);
    try {
        files::ReadWaveFile(blocks, buffers);
    } catch (const Error &) {
        // A refused header or a file shorter than its data chunk leaves the samples.
        fuzz::Check(buffers.WaveSamples == before.WaveSamples);
        return 0;
    }
    fuzz::Check(size >= files::kWaveHeaderSize);
    for (std::size_t s = 0; s < buffers.WaveSamples.size(); ++s) {
        const std::size_t at = files::kWaveHeaderSize + 4 * s;
        if (at + 4 <= size)
            fuzz::Check(std::memcmp(buffers.WaveSamples[s].data(), data + at, 4) == 0);
        else
            fuzz::Check(buffers.WaveSamples[s] == files::WaveSample{});
    }

    // The range comes from the header's unused bytes (the reader does not check them).
    const int first = 1 + data[0] % kWaveCount;
    const int last = 1 + data[1] % kWaveCount;
    Wavetable table = fuzz::NewTable();
    const Wavetable original = table;
    try {
        files::ImportWaveSamples(buffers, table, first, last);
    } catch (const Error &) {
        fuzz::Check(table == original);
        return 0;
    }
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 0; k < kSampleCount; ++k) {
            const std::int32_t v = ReadSample(table, w, k);
            fuzz::Check(v >= -kMaxSample && v <= kMaxSample);
        }
    return 0;
}
