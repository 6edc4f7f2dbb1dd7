#include "exchange/wavetable_export.h"

#include <bit>
#include <cstring>

#include "exchange/resample.h"
#include "exchange/riff_writer.h"
#include "files/atomic_file.h"

namespace morvane::exchange {

namespace {

constexpr std::uint16_t kFormatIeeeFloat = 3;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 32;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;

std::vector<std::uint8_t> FormatChunk() {
    std::vector<std::uint8_t> fmt;
    RiffWriter::PutU16(fmt, kFormatIeeeFloat);
    RiffWriter::PutU16(fmt, kChannels);
    RiffWriter::PutU32(fmt, kExportSampleRate);
    RiffWriter::PutU32(fmt, kExportSampleRate * kBlockAlign);
    RiffWriter::PutU16(fmt, kBlockAlign);
    RiffWriter::PutU16(fmt, kBitsPerSample);
    RiffWriter::PutU16(fmt, 0); // no extension: a format other than PCM states its size
    return fmt;
}

std::array<float, kExportFrameLength> Upsample(const Wavetable &table, int waveIndex,
                                               PeriodResampler &resampler) {
    std::array<double, kSampleCount> wave{};
    for (int k = 0; k < kSampleCount; ++k)
        wave[static_cast<std::size_t>(k)] =
            static_cast<double>(ReadSample(table, waveIndex, k)) / kMaxSample;
    std::array<double, kExportFrameLength> up{};
    resampler.Run(wave, up);
    std::array<float, kExportFrameLength> frame{};
    for (std::size_t n = 0; n < up.size(); ++n)
        frame[n] = static_cast<float>(up[n]);
    return frame;
}

} // namespace

std::array<float, kExportFrameLength> UpsampleWave(const Wavetable &table, int waveIndex) {
    PeriodResampler resampler(kSampleCount, kExportFrameLength);
    return Upsample(table, waveIndex, resampler);
}

std::vector<std::uint8_t> Wavetable2048Bytes(const Wavetable &table) {
    RiffWriter riff;
    riff.AddChunk("fmt ", FormatChunk());
    std::vector<std::uint8_t> fact;
    RiffWriter::PutU32(fact, std::uint32_t{kWaveCount} * kExportFrameLength);
    riff.AddChunk("fact", fact);
    const std::string_view clm(kClmText);
    riff.AddChunk("clm ",
                  std::span(reinterpret_cast<const std::uint8_t *>(clm.data()), clm.size()));
    std::vector<std::uint8_t> srge;
    RiffWriter::PutU32(srge, kSrgeVersion);
    RiffWriter::PutU32(srge, kExportFrameLength);
    riff.AddChunk("srge", srge);

    PeriodResampler resampler(kSampleCount, kExportFrameLength);
    std::vector<std::uint8_t> data;
    data.reserve(std::size_t{4} * kWaveCount * kExportFrameLength);
    for (int w = 0; w < kWaveCount; ++w)
        for (float sample : Upsample(table, w, resampler))
            RiffWriter::PutU32(data, std::bit_cast<std::uint32_t>(sample));
    riff.AddChunk("data", data);
    return riff.Bytes();
}

void ExportWavetable2048(const std::string &path, const Wavetable &table) {
    files::WriteFileAtomically(path, Wavetable2048Bytes(table));
}

} // namespace morvane::exchange
