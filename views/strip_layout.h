#pragma once
// The webtoon strip's layout: every picture of the list stacked top to bottom, 1000 strip units wide,
// as tall as its known height / width ratio says, or 1.4 times its width while its size is unknown.
// Built from ratios alone, so a list of thousands of pictures lays out without decoding any of them.

#include <cstddef>
#include <functional>
#include <vector>

namespace App {

// Every picture of the strip is this many units wide.
inline constexpr double kStripUnitWidth = 1000;
// The height / width ratio assumed for a picture whose size is not known yet.
inline constexpr double kAssumedRatio = 1.4;
// No picture is laid out shorter than this many units.
inline constexpr double kMinStripHeight = 1.0;

// Height divided by width of the picture at an index, or 0 (or anything not positive and finite)
// when it is not known.
using RatioSource = std::function<double(size_t index)>;

struct StripLayout {
  std::vector<double> tops;     // top of each picture, strip units
  std::vector<double> heights;  // height of each picture, strip units
  double unitWidth = kStripUnitWidth;
  double totalHeight = 0;

  bool Empty() const { return tops.empty(); }
  size_t Count() const { return tops.size(); }
  // The last index whose top is not below y; 0 above the first top or for an empty layout.
  size_t IndexAt(double y) const;
};

// Lays out count pictures with gap units between neighbours (none after the last; a negative or
// non-finite gap counts as 0).
StripLayout LayOutStrip(size_t count, const RatioSource& ratio, double gap);

}  // namespace App
