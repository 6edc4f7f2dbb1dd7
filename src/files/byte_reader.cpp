#include "files/byte_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <istream>

#include <fcntl.h>
#include <unistd.h>

#include "document/error.h"

namespace morvane::files {

namespace {

class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::string &path) : path_(path) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0)
            throw Error("Cannot open \"" + path + "\": " + SystemErrorText(errno));
    }
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource &) = delete;
    FileSource &operator=(const FileSource &) = delete;

    std::size_t ReadSome(std::uint8_t *destination, std::size_t n) override {
        for (;;) {
            const ssize_t got = ::read(fd_, destination, n);
            if (got >= 0)
                return static_cast<std::size_t>(got);
            if (errno != EINTR)
                throw Error("Cannot read \"" + path_ + "\": " + SystemErrorText(errno));
        }
    }

private:
    std::string path_;
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

std::unique_ptr<ByteSource> OpenFileSource(const std::string &path) {
    return std::make_unique<FileSource>(path);
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
