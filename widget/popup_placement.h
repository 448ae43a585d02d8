#pragma once
// Where pop-up windows open: below an anchor (menus, drop-down lists, tooltips) or beside it (submenus),
// flipped to the other side when they would leave the monitor's work area, then kept inside it. Pure
// arithmetic in screen pixels, so it is tested without a display.

#include <cstdint>

#include "widget/geometry.h"

namespace Quarlo::Widget {

enum class PopupSide : int32_t { Below = 0, Beside = 1 };

// The top-left corner of a popup of this size (screen pixels) opened on one side of anchor. Beside puts
// its left edge at the anchor's right, or its right edge at the anchor's left when the work area's right
// edge would cut it; Below puts its top at the anchor's bottom, or its bottom at the anchor's top when the
// work area's bottom would cut it and the top stays inside. The result is then clamped into work. An empty
// work area (the monitor could not be asked) leaves the anchor's corner unchanged.
Point PlacePopup(Rect anchor, Size popup, PopupSide side, Rect work);

// The work area of the monitor that contains the centre of anchor.
Rect WorkAreaAtCentre(Rect anchor);

}  // namespace Quarlo::Widget
