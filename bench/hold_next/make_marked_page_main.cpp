// Writes one page of the hold-Next archive as a binary PPM to standard output, for cjpeg to encode: the
// benchmark picture of that seed (so the page costs a real decode) with the page's mark in its middle.
//   make_marked_page WIDTH HEIGHT PAGE
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/hold_next/page_mark.h"
#include "bench/viewers/bench_picture.h"

namespace {

constexpr unsigned long kMaxSide = 20000;
// The mark's side as a share of the page's shorter side.
constexpr double kMarkShare = 0.2;

bool ParseNumber(const char* text, unsigned long min, unsigned long max, uint32_t& out) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0' || value < min || value > max) return false;
  out = uint32_t(value);
  return true;
}

void Paint(std::vector<uint8_t>& row, uint32_t from, uint32_t to, uint32_t rgb) {
  for (uint32_t x = from; x < to; ++x) {
    row[x * 3] = uint8_t(rgb >> 16);
    row[x * 3 + 1] = uint8_t(rgb >> 8);
    row[x * 3 + 2] = uint8_t(rgb);
  }
}

}  // namespace

int main(int argc, char** argv) {
  uint32_t width = 0, height = 0, page = 0;
  if (argc != 4 || !ParseNumber(argv[1], 1, kMaxSide, width) || !ParseNumber(argv[2], 1, kMaxSide, height) ||
      !ParseNumber(argv[3], 0, Quarlo::Bench::kMarkedPages - 1, page)) {
    std::fprintf(stderr, "usage: make_marked_page WIDTH HEIGHT PAGE (sides 1 to %lu, page 0 to %d)\n",
                 kMaxSide, Quarlo::Bench::kMarkedPages - 1);
    return 2;
  }
  const Quarlo::Bench::BenchPicture picture(width, height, page + 1);
  const uint32_t colour = Quarlo::Bench::MarkColour(int(page));
  const uint32_t side = uint32_t(kMarkShare * (width < height ? width : height));
  const uint32_t left = (width - side) / 2, top = (height - side) / 2;
  std::vector<uint8_t> row(size_t(width) * 3);
  std::printf("P6\n%u %u\n255\n", width, height);
  for (uint32_t y = 0; y < height; ++y) {
    picture.Row(y, row);
    if (y >= top && y < top + side) {
      Paint(row, left, width / 2, colour);
      Paint(row, width / 2, left + side, Quarlo::Bench::Complement(colour));
    }
    if (std::fwrite(row.data(), 1, row.size(), stdout) != row.size()) {
      std::perror("make_marked_page: writing the page");
      return 1;
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
