#pragma once
// The inputs the fuzz targets found, one defect per file (tests/fuzz/regressions), for the tests that keep
// each of them fixed: the decoder backends on their own, and the whole decode pipeline.

#include <cstdint>
#include <string>
#include <vector>

namespace Quarlo::Test {

struct RegressionInput {
  std::string name;  // the file name, which says what the input broke
  std::vector<uint8_t> bytes;
};

// Every input of the folder, in name order.
std::vector<RegressionInput> FuzzRegressionInputs();

}  // namespace Quarlo::Test
