#include "app/bar.h"

#include "widget/canvas.h"
#include "widget/theme.h"

namespace App {

using namespace Quarlo::Widget;

Bar::Bar() { SetBorder(BorderKind::Subtle, 1); }

void Bar::Paint(Canvas& canvas) {
  Color fill = GetTheme().Get(ThemeColor::WindowBackground);
  fill.a = kBarOpacity;
  canvas.FillRect(Rect{0, 0, ActualSize().width, ActualSize().height}, fill);
  Border::Paint(canvas);
}

}  // namespace App
