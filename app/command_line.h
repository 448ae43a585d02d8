#pragma once
// The process command line as a record.

#include <span>
#include <string>

namespace App {

struct CommandLine {
  std::string path;             // first argument not starting with "--", made absolute; empty if none
  std::string command;          // value after "--command" (last occurrence wins)
  bool quit = false;            // "--quit" was given
  std::string installerAction;  // text after "--installer-" (last occurrence wins)
};

// Parses the arguments after the program name. Relative paths are made absolute against the current
// directory.
CommandLine ParseCommandLine(std::span<const std::string> args);

// Same, from main's argc/argv (argv[0] skipped).
CommandLine ParseCommandLine(int argc, char** argv);

}  // namespace App
