#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace morvane::files {

// Where a ByteReader gets its blocks from. ReadSome fills up to n bytes and returns how many
// it filled: 0 only at the end of the input. It throws morvane::Error with the user's text
// when the input cannot be read.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t ReadSome(std::uint8_t *destination, std::size_t n) = 0;
};

// The most bytes any reader takes from one file: 256 MiB, the cap of the exchange import. A
// whole table is 26,240 bytes, so nothing the program reads comes near it.
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t{256} << 20;

// A file opened for reading by path. Links are followed; only a regular file is opened (a
// folder, a device or a FIFO is refused without waiting on it), and one larger than maxBytes
// is refused, also when it grows while being read. Every failure throws morvane::Error with
// the user's text.
std::unique_ptr<ByteSource> OpenFileSource(const std::string &path,
                                           std::uint64_t maxBytes = kMaxFileBytes);
// The whole of such a file, for the readers that parse text at once (settings, scripts).
std::string ReadWholeFile(const std::string &path, std::uint64_t maxBytes = kMaxFileBytes);
// A stream; a stream that goes bad while being read throws morvane::Error.
std::unique_ptr<ByteSource> StreamSource(std::istream &in);

// The one cursor through which every reader of this program takes bytes from its input.
// It reads in blocks, so that byte-by-byte parsing costs no system call per byte, and it
// never hands out a byte outside what was actually read.
class ByteReader {
public:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    explicit ByteReader(std::unique_ptr<ByteSource> source, std::size_t blockSize = kBlockSize);
    // Reads from memory that outlives the reader; no copy is made.
    explicit ByteReader(std::span<const std::uint8_t> bytes);

    ByteReader(const ByteReader &) = delete;
    ByteReader &operator=(const ByteReader &) = delete;

    // One byte; false at the end of the input.
    bool ReadByte(std::uint8_t &byte) {
        if (pos_ == size_ && !Refill())
            return false;
        byte = data_[pos_++];
        return true;
    }
    // Up to destination.size() bytes; fewer only at the end of the input.
    std::size_t Read(std::span<std::uint8_t> destination);
    // Passes over up to n bytes; fewer only at the end of the input.
    std::size_t Skip(std::size_t n);
    // The unread bytes of the current block, refilled first when it is used up; empty only at
    // the end of the input. For parsers that work on runs of bytes; follow with Advance.
    std::span<const std::uint8_t> Peek() {
        if (pos_ == size_)
            Refill();
        return {data_ + pos_, size_ - pos_};
    }
    // Consumes n bytes of what Peek returned; n larger than that is clamped.
    void Advance(std::size_t n) { pos_ += n < size_ - pos_ ? n : size_ - pos_; }
    // Bytes consumed so far.
    std::uint64_t Position() const { return consumedBefore_ + pos_; }

private:
    bool Refill();

    std::unique_ptr<ByteSource> source_;
    std::vector<std::uint8_t> block_;
    const std::uint8_t *data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    std::uint64_t consumedBefore_ = 0;
};

// The text of the last system error (errno), for messages.
std::string SystemErrorText(int errorNumber);

} // namespace morvane::files
