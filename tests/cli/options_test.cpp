#include "cli/options.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace morvane::cli {
namespace {

using ::testing::ElementsAre;
using Words = std::vector<std::string>;

// A command with one option of each kind, as a subcommand declares them.
struct Parsed {
    bool Keep = false;
    std::string Name;
    std::string Phase = "keep";
    std::optional<int> Note;
    std::optional<double> Seconds;
    Words Files;

    OptionParser Parser() {
        OptionParser parser;
        parser.Flag("--keep-level", [this] { Keep = true; })
            .Value("--name", [this](const std::string &name) { Name = name; })
            .Choice("--phase", {"keep", "align", "zero"}, Phase)
            .Whole("--note", "a note from 0 to 127", Note, 0, 127)
            .Number("--seconds", "a number of seconds", Seconds)
            .Positional([this](const std::string &file) { Files.push_back(file); });
        return parser;
    }
};

// The text of the usage error the words give, empty when they are read.
std::string Refusal(const Words &words, bool singleDash = false) {
    Parsed parsed;
    OptionParser parser = parsed.Parser();
    if (singleDash)
        parser.SingleDashOptions();
    try {
        parser.Parse(words);
    } catch (const UsageError &e) {
        return e.what();
    }
    return "";
}

TEST(OptionParser, ReadsOptionsAndFilesInAnyOrder) {
    Parsed parsed;
    parsed.Parser().Parse({"a.syx", "--phase", "zero", "--keep-level", "-", "--note", "+60",
                           "--name", "--keep-level", "--seconds", "1e-3", "-x"});
    EXPECT_TRUE(parsed.Keep);
    EXPECT_EQ(parsed.Name, "--keep-level"); // a value is taken as it stands
    EXPECT_EQ(parsed.Phase, "zero");
    EXPECT_EQ(parsed.Note, 60);
    EXPECT_EQ(parsed.Seconds, 0.001);
    EXPECT_THAT(parsed.Files, ElementsAre("a.syx", "-", "-x"));
}

TEST(OptionParser, RefusesTheFirstWrongWordWithItsText) {
    EXPECT_EQ(Refusal({"a", "--loud"}), "unknown option --loud");
    EXPECT_EQ(Refusal({"--"}), "unknown option --");
    EXPECT_EQ(Refusal({"-x"}, true), "unknown option -x");
    EXPECT_EQ(Refusal({"-"}, true), "");
    EXPECT_EQ(Refusal({"a", "--name"}), "--name needs a value");
    EXPECT_EQ(Refusal({"--phase", "Zero"}), "--phase takes keep, align or zero, not Zero");
    EXPECT_EQ(Refusal({"--note", "128"}), "--note takes a note from 0 to 127, not 128");
    EXPECT_EQ(Refusal({"--note", "-1"}), "--note takes a note from 0 to 127, not -1");
    EXPECT_EQ(Refusal({"--note", "0"}), "");
    EXPECT_EQ(Refusal({"--note", "1.5"}), "--note takes a note from 0 to 127, not 1.5");
    EXPECT_EQ(Refusal({"--seconds", "inf"}), "--seconds takes a number of seconds, not inf");
    EXPECT_EQ(Refusal({"--loud", "--note", "999"}), "unknown option --loud");
    bool ran = false;
    EXPECT_THROW(OptionParser().Flag("--x", [&ran] { ran = true; }).Parse({"--x", "file"}),
                 UsageError);
    EXPECT_TRUE(ran);
}

TEST(OptionParser, ReportUsageWritesProblemSynopsisAndMore) {
    std::ostringstream errors;
    EXPECT_EQ(ReportUsage(errors, {"morvane-cli send", "send FILE.syx", "  --pause MS\n"},
                          "send takes one file"),
              2);
    EXPECT_EQ(errors.str(),
              "morvane-cli send: send takes one file\nusage: morvane-cli send FILE.syx\n"
              "  --pause MS\n");
}

} // namespace
} // namespace morvane::cli
