#include "files/byte_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <istream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/error.h"

namespace morvane::files {

namespace {

std::string TooLargeText(const std::string &path, std::uint64_t maxBytes) {
    return "Cannot read \"" + path + "\": the file is larger than " + std::to_string(maxBytes) +
           " bytes";
}

class FileSource final : public ByteSource {
public:
    FileSource(const std::string &path, std::uint64_t maxBytes)
        : path_(path), left_(maxBytes), maxBytes_(maxBytes) {
        // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused just below.
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd_ < 0)
            throw Error("Cannot open \"" + path + "\": " + SystemErrorText(errno));
        struct stat status {};
        std::string refusal;
        if (::fstat(fd_, &status) != 0)
            refusal = "Cannot open \"" + path + "\": " + SystemErrorText(errno);
        else if (S_ISDIR(status.st_mode))
            refusal = "Cannot open \"" + path + "\": " + SystemErrorText(EISDIR);
        else if (!S_ISREG(status.st_mode))
            refusal = "Cannot open \"" + path + "\": it is not a regular file";
        else if (static_cast<std::uint64_t>(status.st_size) > maxBytes)
            refusal = TooLargeText(path, maxBytes);
        if (!refusal.empty()) {
            ::close(fd_);
            throw Error(refusal);
        }
    }
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource &) = delete;
    FileSource &operator=(const FileSource &) = delete;

    std::size_t ReadSome(std::uint8_t *destination, std::size_t n) override {
        // One byte beyond the cap is asked for, so that a file that grew past it is noticed.
        const std::uint64_t wanted = left_ < n ? left_ + 1 : n;
        for (;;) {
            const ssize_t got = ::read(fd_, destination, static_cast<std::size_t>(wanted));
            if (got >= 0) {
                if (static_cast<std::uint64_t>(got) > left_)
                    throw Error(TooLargeText(path_, maxBytes_));
                left_ -= static_cast<std::uint64_t>(got);
                return static_cast<std::size_t>(got);
            }
            if (errno != EINTR)
                throw Error("Cannot read \"" + path_ + "\": " + SystemErrorText(errno));
        }
    }

private:
    std::string path_;
    std::uint64_t left_;
    std::uint64_t maxBytes_;
    int fd_ = -1;
};

class IstreamSource final : public ByteSource {
public:
    explicit IstreamSource(std::istream &in) : in_(in) {}

    std::size_t ReadSome(std::uint8_t *destination, std::size_t n) override {
        if (!in_.good())
            return 0;
        in_.read(reinterpret_cast<char *>(destination), static_cast<std::streamsize>(n));
        if (in_.bad())
            throw Error("Read error");
        return static_cast<std::size_t>(in_.gcount());
    }

private:
    std::istream &in_;
};

} // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::string &path, std::uint64_t maxBytes) {
    return std::make_unique<FileSource>(path, maxBytes);
}

std::string ReadWholeFile(const std::string &path, std::uint64_t maxBytes) {
    ByteReader reader(OpenFileSource(path, maxBytes));
    std::string text;
    for (;;) {
        const std::span<const std::uint8_t> block = reader.Peek();
        if (block.empty())
            return text;
        text.append(reinterpret_cast<const char *>(block.data()), block.size());
        reader.Advance(block.size());
    }
}

std::unique_ptr<ByteSource> StreamSource(std::istream &in) {
    return std::make_unique<IstreamSource>(in);
}

ByteReader::ByteReader(std::unique_ptr<ByteSource> source, std::size_t blockSize)
    : source_(std::move(source)), block_(std::max<std::size_t>(blockSize, 1)) {
    data_ = block_.data();
}

ByteReader::ByteReader(std::span<const std::uint8_t> bytes)
    : data_(bytes.data()), size_(bytes.size()) {}

bool ByteReader::Refill() {
    consumedBefore_ += pos_;
    pos_ = 0;
    size_ = 0;
    if (!source_)
        return false;
    size_ = source_->ReadSome(block_.data(), block_.size());
    return size_ != 0;
}

std::size_t ByteReader::Read(std::span<std::uint8_t> destination) {
    std::size_t done = 0;
    while (done < destination.size()) {
        const std::span<const std::uint8_t> available = Peek();
        if (available.empty())
            break;
        const std::size_t n = std::min(available.size(), destination.size() - done);
        std::memcpy(destination.data() + done, available.data(), n);
        Advance(n);
        done += n;
    }
    return done;
}

std::size_t ByteReader::Skip(std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const std::span<const std::uint8_t> available = Peek();
        if (available.empty())
            break;
        const std::size_t step = std::min(available.size(), n - done);
        Advance(step);
        done += step;
    }
    return done;
}

std::string SystemErrorText(int errorNumber) {
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which may or may not live in the buffer.
    return std::string(::strerror_r(errorNumber, buffer, sizeof buffer));
}

} // namespace morvane::files
