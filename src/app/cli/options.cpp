#include "cli/options.h"

#include <algorithm>
#include <ostream>
#include <utility>

#include "document/decimal.h"
#include "script/script_parser.h"

namespace morvane::cli {

int ReportUsage(std::ostream &errors, const UsageText &usage, const std::string &problem) {
    errors << usage.Prefix << ": " << problem << "\nusage: morvane-cli " << usage.Synopsis << "\n"
           << usage.More;
    return 2;
}

OptionParser &OptionParser::Flag(std::string name, std::function<void()> set) {
    options_.push_back(
        {std::move(name), false, [set = std::move(set)](const std::string &) { set(); }});
    return *this;
}

OptionParser &OptionParser::Value(std::string name, Take set) {
    options_.push_back({std::move(name), true, std::move(set)});
    return *this;
}

OptionParser &OptionParser::Choice(std::string name, std::initializer_list<const char *> words,
                                   std::string &target) {
    // "table, waterfall or spectrogram"
    std::string list;
    const std::vector<std::string> allowed(words.begin(), words.end());
    for (std::size_t i = 0; i < allowed.size(); ++i)
        list += (i == 0 ? "" : i + 1 == allowed.size() ? " or " : ", ") + allowed[i];
    return Value(name, [name, allowed, list, &target](const std::string &word) {
        if (std::find(allowed.begin(), allowed.end(), word) == allowed.end())
            throw UsageError(name + " takes " + list + ", not " + word);
        target = word;
    });
}

OptionParser &OptionParser::Whole(std::string name, std::string what, std::optional<int> &target,
                                  int low, int high) {
    return Value(name, [name, what, low, high, &target](const std::string &word) {
        const std::optional<int> n = ParseDecimal(word);
        if (!n || *n < low || *n > high)
            throw UsageError(name + " takes " + what + ", not " + word);
        target = *n;
    });
}

OptionParser &OptionParser::Number(std::string name, std::string what,
                                   std::optional<double> &target) {
    return Value(name, [name, what, &target](const std::string &word) {
        const std::optional<double> x = script::ParseNumber(word);
        if (!x)
            throw UsageError(name + " takes " + what + ", not " + word);
        target = *x;
    });
}

OptionParser &OptionParser::Positional(Take take) {
    positional_ = std::move(take);
    return *this;
}

OptionParser &OptionParser::SingleDashOptions() {
    singleDash_ = true;
    return *this;
}

bool OptionParser::IsOptionWord(const std::string &word) const {
    return word.size() > 1 && word[0] == '-' && (singleDash_ || word[1] == '-');
}

void OptionParser::Parse(const std::vector<std::string> &args) const {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &word = args[i];
        const auto option = std::find_if(options_.begin(), options_.end(),
                                         [&word](const Option &o) { return o.Name == word; });
        if (option != options_.end()) {
            if (!option->TakesValue) {
                option->Set(word);
            } else if (i + 1 >= args.size()) {
                throw UsageError(word + " needs a value");
            } else {
                option->Set(args[++i]);
            }
        } else if (IsOptionWord(word)) {
            throw UsageError("unknown option " + word);
        } else if (positional_) {
            positional_(word);
        } else {
            throw UsageError("unexpected word " + word);
        }
    }
}

} // namespace morvane::cli
