#pragma once
// The command lines of the probes: "[--NAME VALUE | --FLAG]... -- PROGRAM [ARGS...]", where each option is
// a whole number from 0 to 1,000,000, a text, or a flag without a value.

#include <map>
#include <string>
#include <vector>

namespace Quarlo::Bench {

struct ProbeOptions {
  std::map<std::string, int*> counts;
  std::map<std::string, std::string*> texts;
  std::map<std::string, bool*> flags;
};

// Fills in the options named and the program with its arguments; false on an unknown option, a bad
// number, a missing value or no program.
bool ParseProbeOptions(int argc, char** argv, const ProbeOptions& options, std::vector<std::string>& program);

}  // namespace Quarlo::Bench
