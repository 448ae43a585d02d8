#pragma once
// Renders a host's widget tree into an image without touching its native window: for screenshots and
// for drag images. The host keeps the theme, DPI and size given here afterwards.

#include <optional>

#include "widget/color.h"
#include "widget/geometry.h"
#include "widget/pixel_image.h"
#include "widget/theme.h"

namespace Quarlo::Widget {

class Host;

struct WindowImageOptions {
  Size size;                  // DIPs; a side of 0 or less is taken from the root's desired size
  float maxWidth = kNoLimit;  // limits a width taken from the root
  float dpi = 96;
  std::optional<Theme> theme;  // applied to the host first when set
  bool transparent = false;    // else cleared to background (or the theme's window background)
  std::optional<Color> background;
  bool finishAnimations = true;

  static constexpr float kNoLimit = 1.0e9f;
};

// Lays the host's root out at the image size and draws it; an empty image when the host has no root.
PixelImage RenderWindowToImage(Host& host, const WindowImageOptions& options);

}  // namespace Quarlo::Widget
