// Window placement arithmetic.

#include "widget/window_placement.h"

#include <algorithm>
#include <cmath>

namespace Quarlo::Widget {

Point ClampIntoWorkArea(Point topLeft, Size window, Rect work) {
  const float maxX = std::max(work.x, work.Right() - window.width);
  const float maxY = std::max(work.y, work.Bottom() - window.height);
  return Point{std::clamp(topLeft.x, work.x, maxX), std::clamp(topLeft.y, work.y, maxY)};
}

Point CentreInWorkArea(Rect anchor, Size window, Rect work) {
  const Point centred{std::round(anchor.x + (anchor.width - window.width) / 2),
                      std::round(anchor.y + (anchor.height - window.height) / 2)};
  return ClampIntoWorkArea(centred, window, work);
}

float OverlapArea(Rect a, Rect b) {
  const float width = std::min(a.Right(), b.Right()) - std::max(a.x, b.x);
  const float height = std::min(a.Bottom(), b.Bottom()) - std::max(a.y, b.y);
  return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace Quarlo::Widget
