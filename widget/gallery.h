#pragma once
// A page that shows what the canvas draws: shapes, gradients, paths, text in English and Korean with
// wrapping and trimming, every icon the program uses and a scaled picture. The screenshot run writes it in
// both themes for people to look at.

#include <string>

#include "widget/geometry.h"

namespace Quarlo::Widget {
class Canvas;
struct PixelImage;
struct Theme;
}  // namespace Quarlo::Widget

namespace Quarlo::Widget::Detail {

// The page's size in DIPs.
Size GallerySize();
// Draws the page at the canvas's origin in the theme's colours.
void DrawGallery(Canvas& canvas, const Theme& theme);
// Writes "gallery-light.png" and "gallery-dark.png" at dpi into an existing folder; false when a file could
// not be written.
bool WriteGalleryShots(const std::string& folder, float dpi);
// Writes an image as a PNG file; false when it cannot be encoded or written.
bool WritePngFile(const PixelImage& image, const std::string& path);

}  // namespace Quarlo::Widget::Detail
