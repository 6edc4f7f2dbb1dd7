#pragma once

#include <string>
#include <vector>

namespace morvane::cli {

// One subcommand of morvane-cli. `args` are the words after the subcommand's name; argc and
// argv are the whole command line, for a subcommand that starts the toolkit. Returns the exit
// status: 0 for success, 1 when the work failed, 2 for a usage or script error.
struct Command {
    const char *Name;
    const char *Synopsis; // "run FILE"
    const char *Summary;  // one line for --help
    int (*Run)(int &argc, char **argv, const std::vector<std::string> &args);
};

// Every subcommand, in the order --help lists them. A new subcommand adds its entry here and
// its body in a file of its own.
const std::vector<Command> &Commands();

// The text of morvane-cli --help.
std::string Usage();

int RunScriptCommand(int &argc, char **argv, const std::vector<std::string> &args);

} // namespace morvane::cli
