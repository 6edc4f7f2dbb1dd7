// The MIDI import's two scans over a 64 MiB file of many wavetables, next to reading the same
// file into memory. The file is written once into a temporary folder and stays in the page
// cache, so the figures compare the scans' own cost with the plain read's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "files/byte_reader.h"
#include "files/midi_file.h"

namespace {

using namespace morvane;
namespace fs = std::filesystem;

constexpr std::size_t kFileSize = 64u << 20; // 64 MiB

// Exported tables with distinct names and samples, back to back, until the file is full.
struct BenchFile {
    fs::path Folder;
    std::string Path;
    std::string LastName;
    std::size_t Size = 0;

    BenchFile() {
        Folder = fs::temp_directory_path() / ("morvane-bench-midi-" + std::to_string(::getpid()));
        fs::create_directories(Folder);
        Path = (Folder / "many.mid").string();
        std::ofstream out(Path, std::ios::binary | std::ios::trunc);
        Wavetable table;
        FillNewWavetable(table, 0);
        for (int n = 0; Size + files::kMidiFileSize <= kFileSize; ++n) {
            char name[16];
            std::snprintf(name, sizeof name, "Table %05d", n);
            for (int w = 0; w < kWaveCount; ++w)
                WriteSample(table, w, n % kSampleCount, (n * 977 + w) % kMaxSample);
            StampHeaders(table, 1, kWaveCount, name, static_cast<std::uint8_t>(80 + n % 39));
            const std::vector<std::uint8_t> bytes = files::MidiFileBytes(table);
            out.write(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            Size += bytes.size();
            LastName = std::string(name).append(kNameLength - std::string(name).size(), ' ');
        }
    }
    ~BenchFile() {
        std::error_code ec;
        fs::remove_all(Folder, ec);
    }
};

const BenchFile &File() {
    static const BenchFile file;
    return file;
}

void BM_ReadFileIntoMemory(benchmark::State &state) {
    const BenchFile &f = File();
    std::vector<std::uint8_t> memory(f.Size);
    for (auto _ : state) {
        const int fd = ::open(f.Path.c_str(), O_RDONLY | O_CLOEXEC);
        std::size_t done = 0;
        while (done < memory.size()) {
            const ssize_t n = ::read(fd, memory.data() + done, memory.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(memory.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.Size));
}
BENCHMARK(BM_ReadFileIntoMemory)->Unit(benchmark::kMillisecond);

void BM_ScanPass1Names(benchmark::State &state) {
    const BenchFile &f = File();
    std::size_t names = 0;
    for (auto _ : state) {
        files::ByteReader reader(files::OpenFileSource(f.Path));
        const files::MidiNames found = files::ScanWavetableNames(reader);
        names = found.Names.size();
        benchmark::DoNotOptimize(names);
    }
    state.counters["names"] = static_cast<double>(names);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.Size));
}
BENCHMARK(BM_ScanPass1Names)->Unit(benchmark::kMillisecond);

void BM_ScanPass2CopyLastTable(benchmark::State &state) {
    const BenchFile &f = File();
    Wavetable table;
    int count = 0;
    for (auto _ : state) {
        files::ByteReader reader(files::OpenFileSource(f.Path));
        count = files::CopyWavetableFromMidi(reader, f.LastName, table).Count;
        benchmark::DoNotOptimize(table);
    }
    state.counters["copied"] = count;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.Size));
}
BENCHMARK(BM_ScanPass2CopyLastTable)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
