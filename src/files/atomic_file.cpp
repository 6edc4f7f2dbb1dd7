#include "files/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/error.h"
#include "files/byte_reader.h"

namespace morvane::files {

namespace {

namespace fs = std::filesystem;

// Distinguishes the temporary files of one process; the process id and the clock tell
// processes apart, O_EXCL settles the rest.
std::atomic<unsigned> temporaryCounter{0};

std::string TemporaryName(const fs::path &target, unsigned attempt) {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string suffix =
        ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(temporaryCounter.fetch_add(1)) +
        "-" + std::to_string((static_cast<unsigned long long>(ticks) + attempt) % 1000000007ULL);
    fs::path name = target.parent_path() / ("." + target.filename().string() + suffix);
    return name.string();
}

// Whether `name` is one of the temporary names TemporaryName gives for `target`:
// ".NAME.tmp-" followed by three groups of digits joined by '-'.
bool IsTemporaryNameOf(const std::string &name, const std::string &targetName) {
    const std::string prefix = "." + targetName + ".tmp-";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    int groups = 1;
    bool digitBefore = false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (c >= '0' && c <= '9') {
            digitBefore = true;
        } else if (c == '-' && digitBefore && groups < 3) {
            digitBefore = false;
            ++groups;
        } else {
            return false;
        }
    }
    return groups == 3 && digitBefore;
}

// A save killed half-way leaves its temporary file behind. Those of this target that are
// older than a minute belong to no save still running, so they go before the next one.
void RemoveStaleTemporaries(const fs::path &target) {
    const std::string targetName = target.filename().string();
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    if (ec)
        return;
    const auto now = fs::file_time_type::clock::now();
    for (const fs::directory_entry &entry : entries) {
        const std::string name = entry.path().filename().string();
        if (!IsTemporaryNameOf(name, targetName) || !entry.is_regular_file(ec) || ec)
            continue;
        const auto written = entry.last_write_time(ec);
        if (!ec && now - written > std::chrono::minutes(1))
            fs::remove(entry.path(), ec);
    }
}

} // namespace

AtomicFile::AtomicFile(const std::string &targetPath)
    : target_(targetPath), shownPath_(targetPath) {
    std::error_code ec;
    // Saving through a symbolic link replaces the file it points at, not the link.
    if (fs::is_symlink(targetPath, ec)) {
        const fs::path resolved = fs::weakly_canonical(targetPath, ec);
        if (!ec)
            target_ = resolved.string();
    }
    const fs::path target(target_);
    if (target.filename().empty())
        throw Error("Cannot create \"" + shownPath_ + "\": " + SystemErrorText(EISDIR));

    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        throw Error("Cannot create \"" + shownPath_ + "\": " + SystemErrorText(EISDIR));

    RemoveStaleTemporaries(target);

    constexpr unsigned kAttempts = 100;
    for (unsigned attempt = 0; attempt < kAttempts && fd_ < 0; ++attempt) {
        temporary_ = TemporaryName(target, attempt);
        // 0666 less the umask, as for any newly created file.
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            throw Error("Cannot create \"" + shownPath_ + "\": " + SystemErrorText(errno));
    }
    if (fd_ < 0)
        throw Error("Cannot create \"" + shownPath_ + "\": " + SystemErrorText(EEXIST));
    // A replaced file keeps its permissions.
    if (exists && S_ISREG(existing.st_mode))
        (void)::fchmod(fd_, existing.st_mode & 07777);
}

AtomicFile::~AtomicFile() {
    Discard();
}

void AtomicFile::Discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0)
        throw Error("Cannot write \"" + shownPath_ + "\": " + SystemErrorText(EBADF));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            Discard();
            throw Error("Cannot write \"" + shownPath_ + "\": " + SystemErrorText(error));
        }
        done += static_cast<std::size_t>(n);
    }
}

void AtomicFile::Commit() {
    if (fd_ < 0)
        throw Error("Cannot write \"" + shownPath_ + "\": " + SystemErrorText(EBADF));
    auto fail = [this](int error) {
        Discard();
        throw Error("Cannot write \"" + shownPath_ + "\": " + SystemErrorText(error));
    };
    if (::fsync(fd_) != 0)
        fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        fail(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail(errno);
    temporary_.clear();
    // Make the rename itself durable; a failure here loses nothing that was there before.
    const fs::path folder = fs::path(target_).parent_path();
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

void WriteFileAtomically(const std::string &path, std::span<const std::uint8_t> bytes) {
    AtomicFile file(path);
    file.Write(bytes);
    file.Commit();
}

} // namespace morvane::files
