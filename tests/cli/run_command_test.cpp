// morvane-cli run before any window exists: a script that cannot be read is refused with
// status 2 and says why, instead of aborting.
#include <filesystem>
#include <iostream>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/commands.h"

namespace morvane::cli {
namespace {

namespace fs = std::filesystem;

// The status and what went to standard error.
std::pair<int, std::string> RunScript(const std::string &script) {
    std::ostringstream err;
    std::streambuf *const old = std::cerr.rdbuf(err.rdbuf());
    int argc = 0;
    const int status = RunScriptCommand(argc, nullptr, {script});
    std::cerr.rdbuf(old);
    return {status, err.str()};
}

TEST(RunCommand, AFolderADeviceOrNothingIsNoScript) {
    const std::string folder = fs::temp_directory_path().string();
    const std::string missing = (fs::temp_directory_path() / "morvane-no-such.mvs").string();
    const auto expected = [](const std::string &path, const std::string &why) {
        return std::make_pair(2, "morvane-cli: can not read " + path + ": Cannot open \"" + path +
                                     "\": " + why + "\n");
    };
    EXPECT_EQ(RunScript(folder), expected(folder, "Is a directory"));
    EXPECT_EQ(RunScript("/dev/null"), expected("/dev/null", "it is not a regular file"));
    EXPECT_EQ(RunScript(missing), expected(missing, "No such file or directory"));
}

} // namespace
} // namespace morvane::cli
