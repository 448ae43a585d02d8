#pragma once
// The 1920 × 1080 image surface the drawing benchmarks paint into, standing in for a window's back buffer.

#include <cairo.h>

namespace Quarlo::Bench {

inline constexpr int kScreenWidth = 1920;
inline constexpr int kScreenHeight = 1080;

struct Screen {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kScreenWidth, kScreenHeight);
  cairo_t* cr = cairo_create(surface);
  Screen() = default;
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
  ~Screen() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
};

}  // namespace Quarlo::Bench
