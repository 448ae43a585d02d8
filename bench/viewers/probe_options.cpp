#include "bench/viewers/probe_options.h"

#include <cstdlib>

namespace Quarlo::Bench {
namespace {

constexpr long kMaxCount = 1000000;

bool ParseCount(const char* text, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > kMaxCount) return false;
  out = int(value);
  return true;
}

}  // namespace

bool ParseProbeOptions(int argc, char** argv, const ProbeOptions& options,
                       std::vector<std::string>& program) {
  int i = 1;
  for (; i < argc && std::string(argv[i]) != "--"; ++i) {
    const std::string name = argv[i];
    if (auto flag = options.flags.find(name); flag != options.flags.end()) {
      *flag->second = true;
    } else if (i + 1 >= argc) {
      return false;
    } else if (auto text = options.texts.find(name); text != options.texts.end()) {
      *text->second = argv[++i];
    } else if (auto count = options.counts.find(name);
               count == options.counts.end() || !ParseCount(argv[++i], *count->second)) {
      return false;
    }
  }
  for (++i; i < argc; ++i) program.push_back(argv[i]);
  return !program.empty();
}

}  // namespace Quarlo::Bench
