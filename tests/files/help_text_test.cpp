#include "files/help_text.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "file_test_support.h"

namespace morvane::files {
namespace {

using morvane::testing::TempFolder;
using morvane::testing::WriteAll;

std::vector<std::uint8_t> Bytes(const std::string &s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

TEST(HelpText, BuiltInLines) {
    EXPECT_EQ(HelpBuiltInLines(), (std::vector<std::string>{
                                      "Shortcuts:", " - Motionpath", "    Create new point = Click",
                                      "    Delete pont = Ctrl + Click or right click"}));
}

TEST(HelpText, LinesSplitAtEveryKindOfLineBreak) {
    TempFolder folder;
    const std::string path = folder.File("t.txt");
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\n", {"one"}},
        {"one\ntwo\n", {"one", "two"}},
        {"one\r\ntwo\rthree\n\nfive", {"one", "two", "three", "", "five"}},
        {"\r\n\r\n", {"", ""}},
        {"  indented \r\n", {"  indented "}},
    };
    for (const auto &[text, lines] : cases) {
        SCOPED_TRACE(text);
        WriteAll(path, Bytes(text));
        const auto read = ReadTextLines(path);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, lines);
    }
    EXPECT_FALSE(ReadTextLines(folder.File("absent.txt")).has_value());
    EXPECT_FALSE(ReadTextLines(folder.Path().string()).has_value());
}

TEST(HelpText, FileReplacesTheBuiltInLines) {
    TempFolder folder;
    const std::string help = folder.File("help.txt");
    WriteAll(help, Bytes("First\r\nSecond\r\n"));
    std::vector<std::string> lines = HelpBuiltInLines();
    LoadHelpLines(lines, {help});
    EXPECT_EQ(lines, (std::vector<std::string>{"First", "Second"}));
}

TEST(HelpText, MissingFileAppendsOneLineEachTime) {
    TempFolder folder;
    std::vector<std::string> lines = HelpBuiltInLines();
    const std::vector<std::string> candidates = {folder.File("help.txt"),
                                                 folder.File("b/help.txt")};
    LoadHelpLines(lines, candidates);
    std::vector<std::string> expected = HelpBuiltInLines();
    expected.push_back("help.txt not found");
    EXPECT_EQ(lines, expected);
    LoadHelpLines(lines, candidates);
    expected.push_back("help.txt not found");
    EXPECT_EQ(lines, expected);
}

TEST(HelpText, LaterCandidateServesWhenTheFirstIsMissing) {
    TempFolder folder;
    std::filesystem::create_directory(folder.File("data"));
    std::filesystem::create_directory(folder.File("help.txt")); // a folder, not a file
    WriteAll(folder.File("data/help.txt"), Bytes("Installed"));
    std::vector<std::string> lines = HelpBuiltInLines();
    LoadHelpLines(lines, {folder.File("help.txt"), folder.File("data/help.txt")});
    EXPECT_EQ(lines, std::vector<std::string>{"Installed"});
}

TEST(HelpText, CurrentFolderComesFirst) {
    const std::vector<std::string> candidates = HelpFileCandidates();
    ASSERT_GE(candidates.size(), 2u);
    EXPECT_EQ(candidates.front(), "help.txt");
    for (std::size_t i = 1; i < candidates.size(); ++i)
        EXPECT_EQ(std::filesystem::path(candidates[i]).filename(), "help.txt");
}

TEST(HelpText, ShippedHelpListsEveryShortcut) {
    const std::string shipped = std::string(MORVANE_SOURCE_DATA_DIR) + "/help.txt";
    const auto lines = ReadTextLines(shipped);
    ASSERT_TRUE(lines.has_value()) << shipped;
    std::string text;
    for (const std::string &line : *lines)
        text += line + "\n";
    // A shortcut stands at the end of its command's line, after a space.
    const auto listed = [&lines](const std::string &key) {
        return std::any_of(lines->begin(), lines->end(), [&key](const std::string &line) {
            return line.size() > key.size() && line.ends_with(key) &&
                   line[line.size() - key.size() - 1] == ' ';
        });
    };
    for (const char *key :
         {"Ctrl+Q",  "Ctrl+Z",  "Ctrl+Y",  "Ctrl+C",  "Ctrl+V",  "Ctrl+F1", "Ctrl+F2", "Ctrl+F3",
          "Ctrl+F4", "Ctrl+F5", "Ctrl+F6", "Ctrl+F7", "Ctrl+F8", "F1",      "F2",      "F3",
          "F4",      "F5",      "F6",      "F7",      "F8",      "F9",      "F10",     "F11"})
        EXPECT_TRUE(listed(key)) << key;
    for (const char *command :
         {"New wavetable", "Load wavetable", "Import wavetable from midi",
          "Save wavetable (System Exclusive)", "Save wavetable (Midi)", "Export wavetable (Wave)",
          "Import wave to wavetable", "Morph wavetable", "Motionpath"})
        EXPECT_NE(text.find(command), std::string::npos) << command;
}

} // namespace
} // namespace morvane::files
