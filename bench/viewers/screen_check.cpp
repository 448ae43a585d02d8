#include "bench/viewers/screen_check.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace Quarlo::Bench {
namespace {

int ChannelChange(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  }
  return most;
}

// How far apart the colour's channels lie: 0 for a grey.
int ChannelSpread(uint32_t p) {
  const int r = int((p >> 16) & 0xFF), g = int((p >> 8) & 0xFF), b = int(p & 0xFF);
  return std::max({r, g, b}) - std::min({r, g, b});
}

}  // namespace

size_t TintedColours(std::span<const uint32_t> pixels) {
  std::vector<uint32_t> colours;
  colours.reserve(pixels.size());
  for (uint32_t p : pixels) {
    if (ChannelSpread(p) >= kGreySpread) colours.push_back(p & 0xFFFFFF);
  }
  std::sort(colours.begin(), colours.end());
  return size_t(std::unique(colours.begin(), colours.end()) - colours.begin());
}

bool ShowsPicture(std::span<const uint32_t> row, std::span<const uint32_t> column) {
  return TintedColours(row) >= kPictureColours && TintedColours(column) >= kPictureColours;
}

bool ShowsOtherPicture(std::span<const uint32_t> beforeRow, std::span<const uint32_t> row,
                       std::span<const uint32_t> column) {
  if (!ShowsPicture(row, column)) return false;
  if (beforeRow.size() != row.size()) return true;
  size_t changed = 0;
  for (size_t i = 0; i < row.size(); ++i) {
    if (ChannelChange(beforeRow[i], row[i]) > kChangedChannel) ++changed;
  }
  return double(changed) >= kChangedShare * double(row.size());
}

}  // namespace Quarlo::Bench
