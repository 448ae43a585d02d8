#include "support/fuzz_regressions.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace Quarlo::Test {

std::vector<RegressionInput> FuzzRegressionInputs() {
  const std::filesystem::path folder = std::filesystem::path(QUARLO_SOURCE_DIR) / "tests/fuzz/regressions";
  std::vector<RegressionInput> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.push_back(
        {entry.path().filename().string(),
         std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
  }
  std::sort(inputs.begin(), inputs.end(),
            [](const RegressionInput& a, const RegressionInput& b) { return a.name < b.name; });
  return inputs;
}

}  // namespace Quarlo::Test
