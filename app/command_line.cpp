#include "app/command_line.h"

#include <string_view>
#include <vector>

#include "core/paths.h"

namespace App {

namespace {

constexpr std::string_view kInstallerPrefix = "--installer-";

std::string PathArgument(const std::string& argument) {
  // NormalizePath already drops trailing slashes and keeps the root's one.
  return Quarlo::View::NormalizePath(argument);
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> args) {
  CommandLine result;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& argument = args[i];
    if (argument == "--command" && i + 1 < args.size()) {
      result.command = args[++i];
    } else if (argument == "--quit") {
      result.quit = true;
    } else if (argument.size() >= kInstallerPrefix.size() && argument.starts_with(kInstallerPrefix)) {
      result.installerAction = argument.substr(kInstallerPrefix.size());
    } else if (argument.starts_with("--")) {
      continue;
    } else if (result.path.empty() && !argument.empty()) {
      result.path = PathArgument(argument);
    }
  }
  return result;
}

CommandLine ParseCommandLine(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return ParseCommandLine(args);
}

}  // namespace App
