// Writes one benchmark picture as a binary PPM to standard output, for cjpeg to encode:
//   make_bench_picture WIDTH HEIGHT SEED
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/viewers/bench_picture.h"

namespace {

constexpr unsigned long kMaxSide = 20000;

bool ParseSide(const char* text, unsigned long max, uint32_t& out) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0' || value == 0 || value > max) return false;
  out = uint32_t(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  uint32_t width = 0, height = 0, seed = 0;
  if (argc != 4 || !ParseSide(argv[1], kMaxSide, width) || !ParseSide(argv[2], kMaxSide, height) ||
      !ParseSide(argv[3], 0xFFFFFFFFul, seed)) {
    std::fprintf(stderr, "usage: make_bench_picture WIDTH HEIGHT SEED (sides 1 to %lu, seed from 1)\n",
                 kMaxSide);
    return 2;
  }
  const Quarlo::Bench::BenchPicture picture(width, height, seed);
  std::vector<uint8_t> row(size_t(width) * 3);
  std::printf("P6\n%u %u\n255\n", width, height);
  for (uint32_t y = 0; y < height; ++y) {
    picture.Row(y, row);
    if (std::fwrite(row.data(), 1, row.size(), stdout) != row.size()) {
      std::perror("make_bench_picture: writing the picture");
      return 1;
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
