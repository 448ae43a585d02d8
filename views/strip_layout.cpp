#include "views/strip_layout.h"

#include <algorithm>
#include <cmath>

namespace App {

size_t StripLayout::IndexAt(double y) const {
  if (tops.empty()) return 0;
  auto after = std::upper_bound(tops.begin(), tops.end(), y);
  return after == tops.begin() ? 0 : static_cast<size_t>(after - tops.begin()) - 1;
}

StripLayout LayOutStrip(size_t count, const RatioSource& ratio, double gap) {
  if (!std::isfinite(gap) || gap < 0) gap = 0;
  StripLayout layout;
  layout.tops.reserve(count);
  layout.heights.reserve(count);
  double y = 0;
  for (size_t index = 0; index < count; ++index) {
    double r = ratio ? ratio(index) : 0;
    if (!std::isfinite(r) || r <= 0) r = kAssumedRatio;
    const double height = std::max(r * kStripUnitWidth, kMinStripHeight);
    layout.tops.push_back(y);
    layout.heights.push_back(height);
    y += height;
    if (index + 1 < count) y += gap;
  }
  layout.totalHeight = y;
  return layout;
}

}  // namespace App
