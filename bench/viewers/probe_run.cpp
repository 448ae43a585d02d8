#include "bench/viewers/probe_run.h"

#include <cstdio>
#include <memory>

namespace Quarlo::Bench {

int ProbeFailed(const std::string& text) {
  std::printf("failed %s\n", text.c_str());
  return 1;
}

int RunProbe(int argc, char** argv, const char* usage, const ProbeOptions& options,
             std::vector<std::string>& program, const std::function<int(XScreen&)>& watch) {
  if (!ParseProbeOptions(argc, argv, options, program)) {
    std::fprintf(stderr, "usage: %s\n", usage);
    return 2;
  }
  // The benchmark script reads the findings as they come, line by line.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string error;
  const std::unique_ptr<XScreen> screen = XScreen::Open(error);
  if (!screen) return ProbeFailed(error);
  return watch(*screen);
}

}  // namespace Quarlo::Bench
