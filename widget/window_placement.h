#pragma once
// Where windows go on the screen: dialogs centred over their owner and kept inside the monitor's work
// area. Pure arithmetic in screen pixels, so it is tested without a display.

#include "widget/geometry.h"

namespace Quarlo::Widget {

// The top-left corner that centres a window of this size over anchor, clamped into work: x = clamp(centred
// x, work.left, max(work.left, work.right - width)), likewise y. A window larger than the work area keeps
// its top-left corner on the work area's.
Point CentreInWorkArea(Rect anchor, Size window, Rect work);

// The top-left corner that keeps a window of this size inside work, moving it as little as possible.
Point ClampIntoWorkArea(Point topLeft, Size window, Rect work);

// The area of the intersection of two rectangles (0 when they do not overlap); picks a window's monitor.
float OverlapArea(Rect a, Rect b);

}  // namespace Quarlo::Widget
