#include "exchange/riff_writer.h"

#include <stdexcept>

namespace morvane::exchange {

namespace {
constexpr std::size_t kRiffSizeOffset = 4; // after "RIFF"
constexpr std::size_t kRiffHeaderSize = 8; // "RIFF" and the size, which counts what follows
} // namespace

RiffWriter::RiffWriter() {
    bytes_ = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
}

void RiffWriter::AddChunk(std::string_view id, std::span<const std::uint8_t> data) {
    if (id.size() != 4)
        throw std::invalid_argument("a chunk id has four characters");
    if (data.size() > 0xFFFFFFFEu)
        throw std::length_error("a RIFF chunk holds less than 4 GiB");
    bytes_.insert(bytes_.end(), id.begin(), id.end());
    PutU32(bytes_, static_cast<std::uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    if (data.size() % 2 != 0)
        bytes_.push_back(0);
}

std::vector<std::uint8_t> RiffWriter::Bytes() const {
    std::vector<std::uint8_t> file = bytes_;
    const auto size = static_cast<std::uint32_t>(file.size() - kRiffHeaderSize);
    for (std::size_t i = 0; i < 4; ++i)
        file[kRiffSizeOffset + i] = static_cast<std::uint8_t>(size >> (8 * i));
    return file;
}

void RiffWriter::PutU16(std::vector<std::uint8_t> &out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void RiffWriter::PutU32(std::vector<std::uint8_t> &out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace morvane::exchange
