#pragma once

#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The one command-line reader of the subcommands: their options, their files, and what they
// say about their usage after a wrong word.
namespace morvane::cli {

// A wrong word on a subcommand's command line; the text says what was wrong.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a subcommand says after a wrong word:
//   PREFIX: PROBLEM
//   usage: morvane-cli SYNOPSIS
//   MORE
struct UsageText {
    std::string Prefix;   // "morvane-cli" or "morvane-cli send"
    std::string Synopsis; // "send FILE.syx [--port NAME] [--pause MS]"
    std::string More{};   // lines that explain the options, each ending in a newline
};

// Writes the usage with the problem to `errors` and returns 2, the exit status of a usage error.
int ReportUsage(std::ostream &errors, const UsageText &usage, const std::string &problem);

// The options of one subcommand, declared one line each, then read from its words in any
// order. A word that starts with "--" is an option ("-x" too when SingleDashOptions was given);
// every other word, "-" included, is positional. Each option's function checks and keeps its
// value and throws UsageError with the user's text when the value is wrong.
class OptionParser {
public:
    using Take = std::function<void(const std::string &word)>;

    // --keep-level: an option without a value.
    OptionParser &Flag(std::string name, std::function<void()> set);
    // --port NAME: the option and the word after it; "--port needs a value" when none follows.
    OptionParser &Value(std::string name, Take set);
    // --view table|waterfall|spectrogram: one of the words into `target`; any other is refused
    // with "--view takes table, waterfall or spectrogram, not WORD".
    OptionParser &Choice(std::string name, std::initializer_list<const char *> words,
                         std::string &target);
    // --slot N: a whole number (ParseDecimal's rule) from low to high into `target`; any other
    // word is refused with "--slot takes WHAT, not WORD" (WHAT: "a number from 80 to 118").
    OptionParser &Whole(std::string name, std::string what, std::optional<int> &target,
                        int low = std::numeric_limits<int>::min(),
                        int high = std::numeric_limits<int>::max());
    // --seconds S: a finite decimal number ("2", "0.25", "1e-3") into `target`; any other word
    // is refused with "--seconds takes WHAT, not WORD".
    OptionParser &Number(std::string name, std::string what, std::optional<double> &target);
    // The words that are no option, in their order. Without it each one is refused
    // ("unexpected word WORD").
    OptionParser &Positional(Take take);
    // Words with a single leading "-" ("-p") are options too, so that a mistyped option is
    // refused instead of taken for a file.
    OptionParser &SingleDashOptions();

    // Reads the words; throws UsageError at the first wrong one.
    void Parse(const std::vector<std::string> &args) const;

private:
    struct Option {
        std::string Name;
        bool TakesValue = false;
        Take Set; // with the value, or with the option's own name for a flag
    };
    bool IsOptionWord(const std::string &word) const;

    std::vector<Option> options_;
    Take positional_;
    bool singleDash_ = false;
};

} // namespace morvane::cli
