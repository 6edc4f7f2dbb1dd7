#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace morvane::files {

// A file that replaces its target only once it is completely written: the bytes go to a
// temporary file in the target's folder, which Commit flushes to the disk and renames over
// the target. Until then, and whenever anything fails, the target stays as it was; a writer
// destroyed without Commit removes its temporary file. Every failure throws morvane::Error.
// Temporary files of the same target, named as this writer names them (".NAME.tmp-P-N-R") and
// older than a minute, are left-overs of a killed save; the constructor removes them.
class AtomicFile {
public:
    explicit AtomicFile(const std::string &targetPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    // Flushes, closes and renames over the target.
    void Commit();

    const std::string &TargetPath() const { return target_; }

private:
    void Discard() noexcept;

    std::string target_;    // the path renamed over (a symbolic link's destination)
    std::string shownPath_; // the path as the user gave it, for messages
    std::string temporary_;
    int fd_ = -1;
};

// The whole file in one go.
void WriteFileAtomically(const std::string &path, std::span<const std::uint8_t> bytes);

} // namespace morvane::files
