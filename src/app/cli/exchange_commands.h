#pragma once

#include <string>
#include <vector>

// The subcommands that move whole tables between files: convert, info and render.
namespace morvane::cli {

int ConvertCommand(int &argc, char **argv, const std::vector<std::string> &args);
int InfoCommand(int &argc, char **argv, const std::vector<std::string> &args);
int RenderCommand(int &argc, char **argv, const std::vector<std::string> &args);

} // namespace morvane::cli
