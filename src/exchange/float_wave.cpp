#include "exchange/float_wave.h"

#include <bit>
#include <stdexcept>

#include "exchange/riff_writer.h"

namespace morvane::exchange {

namespace {
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBytesPerSample = 4;
constexpr std::uint16_t kBitsPerSample = 8 * kBytesPerSample;
constexpr std::uint16_t kNoExtension = 0; // cbSize of the 18-byte format chunk
} // namespace

std::vector<std::uint8_t> FloatWaveBytes(std::span<const float> samples, std::uint32_t sampleRate) {
    if (samples.size() > 0xFFFFFFF0u / kBytesPerSample)
        throw std::length_error("a WAVE file holds less than 4 GiB");
    const auto count = static_cast<std::uint32_t>(samples.size());
    std::vector<std::uint8_t> format;
    RiffWriter::PutU16(format, kWaveFormatFloat);
    RiffWriter::PutU16(format, kChannels);
    RiffWriter::PutU32(format, sampleRate);
    RiffWriter::PutU32(format, sampleRate * kChannels * kBytesPerSample); // bytes per second
    RiffWriter::PutU16(format, kChannels * kBytesPerSample);              // block align
    RiffWriter::PutU16(format, kBitsPerSample);
    RiffWriter::PutU16(format, kNoExtension);
    std::vector<std::uint8_t> fact;
    RiffWriter::PutU32(fact, count);
    std::vector<std::uint8_t> data;
    data.reserve(samples.size() * kBytesPerSample);
    for (const float sample : samples)
        RiffWriter::PutU32(data, std::bit_cast<std::uint32_t>(sample));
    RiffWriter writer;
    writer.AddChunk("fmt ", format);
    writer.AddChunk("fact", fact);
    writer.AddChunk("data", data);
    return writer.Bytes();
}

} // namespace morvane::exchange
