// Offscreen rendering and PNG coding on Cairo image surfaces, whose ARGB32 layout on little-endian machines
// is the toolkit's premultiplied BGRA.

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "widget/canvas.h"
#include "widget/detail/cairo_canvas.h"
#include "widget/pixel_image.h"

namespace Quarlo::Widget {
namespace {

// Largest side Cairo's image surfaces accept.
constexpr int kMaxSide = 32767;

struct ReadCursor {
  std::span<const uint8_t> bytes;
  size_t offset = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* cursor = static_cast<ReadCursor*>(closure);
  if (cursor->bytes.size() - cursor->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, cursor->bytes.data() + cursor->offset, length);
  cursor->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t WriteBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// Copies a surface's rows into a tightly packed image.
PixelImage CopyOut(cairo_surface_t* surface, float dpi) {
  cairo_surface_flush(surface);
  PixelImage image;
  image.width = static_cast<uint32_t>(cairo_image_surface_get_width(surface));
  image.height = static_cast<uint32_t>(cairo_image_surface_get_height(surface));
  image.dpi = dpi;
  const size_t rowBytes = static_cast<size_t>(image.width) * 4;
  const auto stride = static_cast<size_t>(cairo_image_surface_get_stride(surface));
  const unsigned char* data = cairo_image_surface_get_data(surface);
  image.pixels.resize(rowBytes * image.height);
  for (uint32_t y = 0; y < image.height; ++y) {
    std::memcpy(image.pixels.data() + y * rowBytes, data + y * stride, rowBytes);
  }
  return image;
}

}  // namespace

std::vector<uint8_t> EncodeImage(const PixelImage& image, ImageOptions options) {
  if (options.format == ImageFormat::Jpeg || options.format == ImageFormat::Bmp ||
      options.format == ImageFormat::Gif) {
    return {};
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4) {
    return {};
  }
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      const_cast<uint8_t*>(image.pixels.data()), CAIRO_FORMAT_ARGB32, static_cast<int>(image.width),
      static_cast<int>(image.height), static_cast<int>(image.width * 4));
  std::vector<uint8_t> bytes;
  if (cairo_surface_write_to_png_stream(surface, WriteBytes, &bytes) != CAIRO_STATUS_SUCCESS) bytes.clear();
  cairo_surface_destroy(surface);
  return bytes;
}

PixelImage DecodeImage(std::span<const uint8_t> bytes) {
  ReadCursor cursor{bytes};
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(ReadBytes, &cursor);
  PixelImage image;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
      cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) {
    image = CopyOut(surface, 96);
  } else if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    // Opaque and grey pictures decode to other layouts; draw them onto ARGB32 to normalise.
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    if (cairo_surface_status(argb) == CAIRO_STATUS_SUCCESS) image = CopyOut(argb, 96);
    cairo_surface_destroy(argb);
  }
  cairo_surface_destroy(surface);
  return image;
}

PixelImage RenderToImage(Size size, float dpi, Color background, const std::function<void(Canvas&)>& draw) {
  const float scale = dpi > 0 ? dpi / 96.0f : 1.0f;
  auto pixels = [&](float side) {
    const double wanted = std::ceil(static_cast<double>(std::max(side, 0.0f)) * scale);
    return std::max(wanted, 1.0);
  };
  const double width = pixels(size.width);
  const double height = pixels(size.height);
  PixelImage image;
  // A picture larger than an image surface can hold fails whole rather than coming out cropped.
  if (!(width <= kMaxSide && height <= kMaxSide)) return image;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    cairo_t* cr = cairo_create(surface);
    {
      Detail::CairoCanvas canvas(cr, scale);
      canvas.Clear(background);
      if (draw) draw(canvas);
    }
    cairo_destroy(cr);
    image = CopyOut(surface, 96 * scale);
  }
  cairo_surface_destroy(surface);
  return image;
}

}  // namespace Quarlo::Widget
