#pragma once
// The frame every probe's main() shares: its command line, line-buffered findings on stdout, the X server,
// and the one way a probe reports that it failed.

#include <functional>
#include <string>
#include <vector>

#include "bench/viewers/probe_options.h"
#include "bench/viewers/x_screen.h"

namespace Quarlo::Bench {

// Prints "failed TEXT" and returns the probes' failure status (1).
int ProbeFailed(const std::string& text);

// Parses the command line (a wrong one prints "usage: USAGE" on stderr and returns 2), opens the X server
// (a failure to is reported like any other) and returns what watch returns.
int RunProbe(int argc, char** argv, const char* usage, const ProbeOptions& options,
             std::vector<std::string>& program, const std::function<int(XScreen&)>& watch);

}  // namespace Quarlo::Bench
