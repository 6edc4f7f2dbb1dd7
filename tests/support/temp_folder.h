#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace morvane::testing_support {

// A fresh folder of its own below the system's temporary folder, removed with everything in it
// when the object goes. Its name holds the process, a counter and the time, so that test
// programs running side by side and the tests of one program never share one.
//
//     TempFolder folder;
//     SaveSomething(folder.File("pad.syx"));          // a path in it, as a string
//     const std::filesystem::path ini = folder / "morvane.ini";
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("morvane-test-" + std::to_string(::getpid()) + "-" +
                 std::to_string(counter.fetch_add(1)) + "-" + std::to_string(ticks));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path &name) const {
        return path_ / name;
    }
    std::string File(const std::string &name) const { return (path_ / name).string(); }
    // The names of the entries in the folder, sorted: to see that no temporary file was left.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

} // namespace morvane::testing_support
