// morvane-cli: the editor's batch tool. Each subcommand is an entry of cli::Commands().
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char **argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        std::cerr << morvane::cli::Usage();
        return 2;
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        std::cout << morvane::cli::Usage();
        return 0;
    }
    for (const auto &command : morvane::cli::Commands())
        if (words[0] == command.Name)
            return command.Run(argc, argv,
                               std::vector<std::string>(words.begin() + 1, words.end()));
    std::cerr << "morvane-cli: unknown command " << words[0] << "\n\n" << morvane::cli::Usage();
    return 2;
}
