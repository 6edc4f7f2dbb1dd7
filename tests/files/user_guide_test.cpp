#include "files/user_guide.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "file_test_support.h"

namespace morvane::files {
namespace {

using morvane::testing::TempFolder;
using morvane::testing::WriteAll;

TEST(UserGuide, CandidatesFoundAndTitle) {
    const std::vector<std::string> candidates = UserGuideCandidates("/opt/morvane/bin");
    ASSERT_GE(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], "/opt/morvane/share/morvane/docs/guide.md");
    // A build finds the source tree's guide, whose first heading is the guide's title.
    const std::optional<std::string> found = FindUserGuide(candidates);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(std::filesystem::equivalent(*found, MORVANE_TEST_DATA_DIR "/../../docs/guide.md"));
    EXPECT_EQ(UserGuideTitle(*found), "Morvane user guide");

    TempFolder folder;
    std::filesystem::create_directory(folder.File("guide.md")); // a folder, not a file
    const std::string text = "Intro\n#Not a heading\n## Part\n# Title here\n# Second\n";
    WriteAll(folder.File("b.md"), std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(
        FindUserGuide({folder.File("absent.md"), folder.File("guide.md"), folder.File("b.md")}),
        folder.File("b.md"));
    EXPECT_EQ(FindUserGuide({folder.File("absent.md")}), std::nullopt);
    EXPECT_EQ(UserGuideTitle(folder.File("b.md")), "Title here");
    EXPECT_EQ(UserGuideTitle(folder.File("absent.md")), "");
}

} // namespace
} // namespace morvane::files
