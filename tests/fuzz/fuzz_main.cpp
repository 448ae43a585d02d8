// The libFuzzer entry of one target; the build compiles this file once per body and names the body
// in QUARLO_FUZZ_TARGET.

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Quarlo::Fuzz::FuzzTarget* target = Quarlo::Fuzz::FindFuzzTarget(QUARLO_FUZZ_TARGET);
  if (!target) Quarlo::Fuzz::Violated("no fuzz body named " QUARLO_FUZZ_TARGET);
  target->body({data, size});
  return 0;
}
