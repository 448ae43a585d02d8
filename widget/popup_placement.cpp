// Pop-up placement beside or below an anchor, inside the work area.

#include "widget/popup_placement.h"

#include "widget/window.h"
#include "widget/window_placement.h"

namespace Quarlo::Widget {

Point PlacePopup(Rect anchor, Size popup, PopupSide side, Rect work) {
  Point at = side == PopupSide::Beside ? Point{anchor.Right(), anchor.y} : Point{anchor.x, anchor.Bottom()};
  if (work.width <= 0 || work.height <= 0) return at;
  if (side == PopupSide::Beside) {
    if (at.x + popup.width > work.Right()) at.x = anchor.x - popup.width;
  } else if (at.y + popup.height > work.Bottom() && anchor.y - popup.height >= work.y) {
    at.y = anchor.y - popup.height;
  }
  return ClampIntoWorkArea(at, popup, work);
}

Rect WorkAreaAtCentre(Rect anchor) {
  return Window::WorkAreaFor(Rect{anchor.x + anchor.width / 2, anchor.y + anchor.height / 2, 1, 1});
}

}  // namespace Quarlo::Widget
