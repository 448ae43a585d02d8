#include "app/frame.h"

#include <algorithm>
#include <cmath>

namespace App {

using namespace Quarlo::Widget;

namespace {

constexpr Size kUnboundedFallback{800, 600};

bool Shows(const Widget* bar) { return bar && bar->IsVisible(); }

}  // namespace

void Frame::SetBarsReserveSpace(bool reserve) {
  if (reserve == barsReserveSpace_) return;
  barsReserveSpace_ = reserve;
  InvalidateMeasure();
}

Size Frame::MeasureOverride(Size available) {
  for (const auto& child : Children()) child->Measure(available);
  return Size{std::isinf(available.width) ? kUnboundedFallback.width : available.width,
              std::isinf(available.height) ? kUnboundedFallback.height : available.height};
}

void Frame::ArrangeOverride(Size final) {
  const float top = Shows(topBar_) ? kBarHeight : 0;
  const float bottom = Shows(bottomBar_) ? kBarHeight : 0;
  const Rect between{0, top, final.width, std::max(final.height - top - bottom, 0.0f)};
  for (const auto& child : Children()) {
    Widget* widget = child.get();
    if (widget == topBar_) {
      widget->Arrange(Rect{0, 0, final.width, kBarHeight});
    } else if (widget == bottomBar_) {
      widget->Arrange(Rect{0, final.height - kBarHeight, final.width, kBarHeight});
    } else if (widget == content_ && !barsReserveSpace_) {
      widget->Arrange(Rect{0, 0, final.width, final.height});
    } else {
      widget->Arrange(between);
    }
  }
}

}  // namespace App
