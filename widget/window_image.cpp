// Rendering a host's tree into an offscreen image.

#include "widget/window_image.h"

#include <algorithm>
#include <cmath>

#include "widget/animator.h"
#include "widget/host.h"

namespace Quarlo::Widget {

PixelImage RenderWindowToImage(Host& host, const WindowImageOptions& options) {
  Widget* root = host.Root();
  if (!root) return {};
  if (options.theme) host.SetTheme(*options.theme);
  host.SetDpi(options.dpi);
  Size size = options.size;
  if (size.width <= 0 || size.height <= 0) {
    const Size desired = root->Measure(Size{size.width > 0 ? size.width : options.maxWidth, kUnbounded});
    if (size.width <= 0) size.width = std::min(std::ceil(desired.width), options.maxWidth);
    if (size.height <= 0) size.height = std::ceil(desired.height);
  }
  host.SetClientSize(size);
  if (options.finishAnimations) host.GetAnimator().FinishAll();
  host.UpdateLayout();
  const Color background =
      options.transparent ? Color{0, 0, 0, 0}
                          : options.background.value_or(host.GetTheme().Get(ThemeColor::WindowBackground));
  return RenderToImage(size, options.dpi, background, [&host](Canvas& canvas) { host.RenderTree(canvas); });
}

}  // namespace Quarlo::Widget
