#pragma once
// The Pango side of TextLayout: the laid-out paragraph plus what the toolkit's trimming and alignment
// rules add on top of Pango (an offset for alignment inside the box, the trimmed text, the natural width).

#include <pango/pango.h>

#include <string>

#include "widget/canvas.h"
#include "widget/detail/gobject_ptr.h"

namespace Quarlo::Widget::Detail {

struct TextLayoutImpl {
  GObjectPtr<PangoLayout> layout;
  TextOptions options;
  Size maximum;            // as requested (sides may be infinite)
  Point offset;            // where Pango's origin lies inside the layout box (alignment Pango cannot do)
  float naturalWidth = 0;  // single-line width before trimming
  bool naturalWidthKnown = false;
  float clipHeight = 0;  // > 0: draw only the lines that fit (trimming without an ellipsis)
};

// The ellipsis placed at the end of trimmed text.
inline constexpr const char* kEllipsis = "\xe2\x80\xa6";

}  // namespace Quarlo::Widget::Detail
