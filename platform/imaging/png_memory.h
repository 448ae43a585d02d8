#pragma once
// libpng over bytes held in memory, with its errors turned into a long jump back to the caller's setjmp
// (libpng must never abort the program) and its warnings ignored. Shared by the PNG decoder and the
// shared thumbnails' stamp reader.

#include <png.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace Quarlo::Imaging {

// The value setjmp returns after libpng reported an error.
inline constexpr int kLibpngError = 1;

struct PngByteReader {
  std::span<const uint8_t> bytes;
  size_t offset = 0;
};

// Error and warning callbacks for png_create_read_struct and png_create_write_struct.
[[noreturn]] void PngLongJumpOnError(png_structp png, png_const_charp message);
void PngIgnoreWarning(png_structp png, png_const_charp message);
// The read callback for png_set_read_fn with a PngByteReader; reading past the end is a libpng error.
void PngReadFromBytes(png_structp png, png_bytep out, size_t count);

}  // namespace Quarlo::Imaging
