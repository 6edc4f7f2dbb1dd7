#include "document/path_text.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(PathText, ReverseStringReversesCharacters) {
    EXPECT_EQ(ReverseString(""), "");
    EXPECT_EQ(ReverseString("a"), "a");
    EXPECT_EQ(ReverseString("soft.syx"), "xys.tfos");
}

TEST(PathText, ReversePathPutsTheFileNameFirstWithBackslashes) {
    EXPECT_EQ(ReversePath("C:\\Tables\\Pads\\soft.syx", '\\'), "soft.syx\\Pads\\Tables\\C:");
    EXPECT_EQ(ReversePath("C:\\a.syx", '\\'), "a.syx\\C:");
    EXPECT_EQ(ReversePath("untitled", '\\'), "untitled");
    // Empty components stay: two leading separators end the result.
    EXPECT_EQ(ReversePath("\\\\server\\share\\x.syx", '\\'), "x.syx\\share\\server\\\\");
    EXPECT_EQ(ReversePath("", '\\'), "");
    EXPECT_EQ(ReversePath("a\\", '\\'), "\\a");
}

TEST(PathText, ReversePathWorksOnSlashesByDefault) {
    EXPECT_EQ(ReversePath("/home/ann/Tables/soft.syx"), "soft.syx/Tables/ann/home/");
    EXPECT_EQ(ReversePath("Tables/soft.syx"), "soft.syx/Tables");
    // A backslash is an ordinary character of a Linux file name.
    EXPECT_EQ(ReversePath("a\\b/c"), "c/a\\b");
}

TEST(PathText, SpaceBackslashesPutsOneSpaceBeforeEachSeparator) {
    EXPECT_EQ(SpaceBackslashes("SysEx filename: C:\\Tables\\soft.syx", '\\'),
              "SysEx filename: C: \\Tables \\soft.syx");
    EXPECT_EQ(SpaceBackslashes("\\\\", '\\'), " \\ \\");
    EXPECT_EQ(SpaceBackslashes("no separator", '\\'), "no separator");
    EXPECT_EQ(SpaceBackslashes("/home/ann"), " /home /ann");
}

TEST(PathText, TitleAndLabelOfALoadedFile) {
    EXPECT_EQ(TitleForPath("C:\\Tables\\Pads\\soft.syx", '\\'),
              "Waldorf Blofeld Morvane 1.11 (free) - soft.syx\\Pads\\Tables\\C:");
    EXPECT_EQ(FileLabelForPath("C:\\Tables\\Pads\\soft.syx", '\\'),
              "SysEx filename: C: \\Tables \\Pads \\soft.syx");
    EXPECT_EQ(TitleForPath("/tmp/Pads/soft.syx"),
              "Waldorf Blofeld Morvane 1.11 (free) - soft.syx/Pads/tmp/");
    EXPECT_EQ(FileLabelForPath("/tmp/Pads/soft.syx"), "SysEx filename:  /tmp /Pads /soft.syx");
}

TEST(PathText, TitleWithoutAndWithUntitled) {
    EXPECT_EQ(TitleForPath(""), "Waldorf Blofeld Morvane 1.11 (free)");
    EXPECT_EQ(FileLabelForPath(""), "SysEx filename: ");
    EXPECT_EQ(TitleForPath("untitled"), "Waldorf Blofeld Morvane 1.11 (free) - untitled");
    EXPECT_EQ(FileLabelForPath("untitled"), "SysEx filename: untitled");
}

TEST(PathText, ChangeFileExtReplacesOrAppends) {
    EXPECT_EQ(ChangeFileExt("/t/pad.mid", ".syx"), "/t/pad.syx");
    EXPECT_EQ(ChangeFileExt("/t/pad", ".syx"), "/t/pad.syx");
    EXPECT_EQ(ChangeFileExt("/t/pad.old.syx", ".mid"), "/t/pad.old.mid");
    // A dot in a folder's name is no extension of the file.
    EXPECT_EQ(ChangeFileExt("/t.d/pad", ".syx"), "/t.d/pad.syx");
    EXPECT_EQ(ChangeFileExt("C:\\t.d\\pad", ".mid", '\\'), "C:\\t.d\\pad.mid");
    EXPECT_EQ(ChangeFileExt("untitled", ".syx"), "untitled.syx");
}

} // namespace
} // namespace morvane
