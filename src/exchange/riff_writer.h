#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace morvane::exchange {

// A small writer of RIFF/WAVE files, for the chunks libsndfile cannot add. Chunks are appended
// in order and padded to an even length; Bytes() gives the file with the RIFF size filled in.
class RiffWriter {
public:
    RiffWriter();

    // id: exactly four characters.
    void AddChunk(std::string_view id, std::span<const std::uint8_t> data);
    std::vector<std::uint8_t> Bytes() const;

    // Little-endian helpers for building chunk contents.
    static void PutU16(std::vector<std::uint8_t> &out, std::uint16_t value);
    static void PutU32(std::vector<std::uint8_t> &out, std::uint32_t value);

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace morvane::exchange
