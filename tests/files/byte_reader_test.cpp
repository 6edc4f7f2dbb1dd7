#include "files/byte_reader.h"

#include <chrono>
#include <filesystem>
#include <numeric>
#include <sstream>

#include <gtest/gtest.h>

#include "document/error.h"
#include "file_test_support.h"
#include "files/atomic_file.h"

namespace morvane::files {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;
using morvane::testing::WriteAll;

std::vector<std::uint8_t> Counting(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    std::iota(v.begin(), v.end(), std::uint8_t{0});
    return v;
}

// Counts the calls, to see that bytes are fetched in blocks.
class CountingSource final : public ByteSource {
public:
    explicit CountingSource(std::vector<std::uint8_t> bytes, int &calls)
        : bytes_(std::move(bytes)), calls_(calls) {}
    std::size_t ReadSome(std::uint8_t *destination, std::size_t n) override {
        ++calls_;
        const std::size_t k = std::min(n, bytes_.size() - pos_);
        std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + k), destination);
        pos_ += k;
        return k;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    int &calls_;
};

TEST(ByteReader, ReadsEveryByteOnceAcrossBlockBoundaries) {
    for (const std::size_t size : {0u, 1u, 9u, 10u, 11u, 1000u}) {
        for (const std::size_t block : {1u, 3u, 10u, 4096u}) {
            SCOPED_TRACE("size " + std::to_string(size) + " block " + std::to_string(block));
            const std::vector<std::uint8_t> bytes = Counting(size);
            std::istringstream in(std::string(bytes.begin(), bytes.end()));
            ByteReader reader(StreamSource(in), block);
            std::vector<std::uint8_t> got;
            std::uint8_t b = 0;
            while (reader.ReadByte(b))
                got.push_back(b);
            EXPECT_EQ(got, bytes);
            EXPECT_EQ(reader.Position(), size);
            EXPECT_FALSE(reader.ReadByte(b)); // stays at the end
        }
    }
}

TEST(ByteReader, ReadSkipAndPeekStopAtTheEnd) {
    const std::vector<std::uint8_t> bytes = Counting(10);
    ByteReader reader(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
    std::array<std::uint8_t, 4> four{};
    EXPECT_EQ(reader.Read(four), 4u);
    EXPECT_EQ(four, (std::array<std::uint8_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(reader.Skip(3), 3u);
    EXPECT_EQ(reader.Peek().size(), 3u);
    EXPECT_EQ(reader.Peek()[0], 7);
    reader.Advance(100); // clamped to what is there
    EXPECT_TRUE(reader.Peek().empty());
    EXPECT_EQ(reader.Read(four), 0u);
    EXPECT_EQ(reader.Skip(5), 0u);
    EXPECT_EQ(reader.Position(), 10u);
}

TEST(ByteReader, ShortReadAtTheEnd) {
    const std::vector<std::uint8_t> bytes = Counting(6);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    ByteReader reader(StreamSource(in), 4);
    std::array<std::uint8_t, 4> four{};
    EXPECT_EQ(reader.Read(four), 4u);
    four = {};
    EXPECT_EQ(reader.Read(four), 2u);
    EXPECT_EQ(four, (std::array<std::uint8_t, 4>{4, 5, 0, 0}));
}

TEST(ByteReader, FetchesInBlocksNotBytes) {
    int calls = 0;
    ByteReader reader(std::make_unique<CountingSource>(Counting(200000), calls), 65536);
    std::uint8_t b = 0;
    std::size_t n = 0;
    while (reader.ReadByte(b))
        ++n;
    EXPECT_EQ(n, 200000u);
    EXPECT_EQ(calls, 5); // four blocks, the last one short, and the read that finds the end
}

TEST(ByteReader, FileSourceReadsAFileAndNamesOneItCannotOpen) {
    TempFolder folder;
    const std::vector<std::uint8_t> bytes = Counting(300);
    WriteAll(folder.File("a.bin"), bytes);
    ByteReader reader(OpenFileSource(folder.File("a.bin")), 7);
    std::vector<std::uint8_t> got(400);
    EXPECT_EQ(reader.Read(got), 300u);
    got.resize(300);
    EXPECT_EQ(got, bytes);
    try {
        OpenFileSource(folder.File("absent.bin"));
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open \"" + folder.File("absent.bin") + "\": No such file or directory");
    }
}

TEST(ByteReader, FileLargerThanTheCapIsRefused) {
    TempFolder folder;
    const std::string path = folder.File("cap.bin");
    WriteAll(path, Counting(300));
    const std::vector<std::uint8_t> bytes = Counting(300);
    EXPECT_EQ(ReadWholeFile(path, 300), std::string(bytes.begin(), bytes.end()));
    try {
        ReadWholeFile(path, 299);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot read \"" + path + "\": the file is larger than 299 bytes");
    }
}

TEST(AtomicFile, RemovesItsOwnStaleTemporaryFilesOfTheSameTarget) {
    TempFolder folder;
    const std::string path = folder.File("t.bin");
    const std::vector<std::string> names = {".t.bin.tmp-12-0-345", ".t.bin.tmp-12-1-346",
                                            ".u.bin.tmp-12-0-345", ".t.bin.tmp-12-0",
                                            ".t.bin.tmp-12-0-34x"};
    for (const std::string &name : names)
        WriteAll(folder.File(name), {1});
    // All but the second are two minutes old.
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const std::size_t i : {0u, 2u, 3u, 4u})
        std::filesystem::last_write_time(folder.File(names[i]), old);
    WriteFileAtomically(path, Counting(3));
    EXPECT_EQ(folder.Names(),
              (std::vector<std::string>{".t.bin.tmp-12-0", ".t.bin.tmp-12-0-34x",
                                        ".t.bin.tmp-12-1-346", ".u.bin.tmp-12-0-345", "t.bin"}));
}

TEST(AtomicFile, TargetAppearsOnlyOnCommit) {
    TempFolder folder;
    const std::string path = folder.File("t.bin");
    WriteAll(path, {9, 9});
    {
        AtomicFile file(path);
        file.Write(Counting(5));
        EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{9, 9}));
        file.Commit();
    }
    EXPECT_EQ(ReadAll(path), Counting(5));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"t.bin"});
}

TEST(AtomicFile, AbandonedWriteRemovesItsTemporaryFile) {
    TempFolder folder;
    const std::string path = folder.File("t.bin");
    {
        AtomicFile file(path);
        file.Write(Counting(5));
        EXPECT_EQ(folder.Names().size(), 1u); // the temporary file
    }
    EXPECT_TRUE(folder.Names().empty());
}

TEST(AtomicFile, FolderAsTargetIsRefused) {
    TempFolder folder;
    std::filesystem::create_directory(folder.File("sub"));
    EXPECT_THROW(AtomicFile file(folder.File("sub")), Error);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"sub"});
}

TEST(AtomicFile, WriteFailureKeepsTheTarget) {
    TempFolder folder;
    const std::string path = folder.File("t.bin");
    WriteAll(path, {1, 2, 3});
    {
        morvane::testing::FileSizeLimit limit(100);
        EXPECT_THROW(WriteFileAtomically(path, Counting(250)), Error);
    }
    EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"t.bin"});
}

TEST(AtomicFile, RelativePathInTheCurrentFolder) {
    TempFolder folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    WriteFileAtomically("here.bin", Counting(3));
    std::filesystem::current_path(previous);
    EXPECT_EQ(ReadAll(folder.File("here.bin")), Counting(3));
}

} // namespace
} // namespace morvane::files
