#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include <unistd.h>

#include "document/wave_message.h"
#include "files/byte_reader.h"

namespace morvane::fuzz {

// Hands out the input in blocks of a fixed size, so that the readers meet block boundaries
// at every position.
class ChunkedSource final : public files::ByteSource {
public:
    ChunkedSource(std::span<const std::uint8_t> bytes, std::size_t chunk)
        : bytes_(bytes), chunk_(chunk == 0 ? 1 : chunk) {}
    std::size_t ReadSome(std::uint8_t *destination, std::size_t n) override {
        const std::size_t k = std::min({n, chunk_, bytes_.size() - pos_});
        if (k != 0)
            std::memcpy(destination, bytes_.data() + pos_, k);
        pos_ += k;
        return k;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

// A reader over the input in small blocks whose size the input's last byte chooses.
inline files::ByteReader ChunkedReader(std::span<const std::uint8_t> bytes) {
    const std::size_t chunk = bytes.empty() ? 1 : 1 + bytes.back() % 61;
    return files::ByteReader(std::make_unique<ChunkedSource>(bytes, chunk), chunk);
}

// A new table, computed once: every run starts from a copy.
inline const Wavetable &NewTable() {
    static const Wavetable table = [] {
        Wavetable t;
        FillNewWavetable(t, 0);
        return t;
    }();
    return table;
}

// A broken promise of the code under test: stop with a crash the fuzzer records.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A scratch file of this process named after `stem`, on a memory file system where there is
// one, so that saves that flush to disk stay cheap.
inline std::filesystem::path ScratchFile(const std::string &stem) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    return folder / (stem + "-" + std::to_string(::getpid()) + ".ini");
}

inline std::string ReadBack(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteText(const std::filesystem::path &path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace morvane::fuzz
