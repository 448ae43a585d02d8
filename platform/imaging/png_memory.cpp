#include "platform/imaging/png_memory.h"

#include <cstring>

namespace Quarlo::Imaging {

void PngLongJumpOnError(png_structp png, png_const_charp) { png_longjmp(png, kLibpngError); }

void PngIgnoreWarning(png_structp, png_const_charp) {}

void PngReadFromBytes(png_structp png, png_bytep out, size_t count) {
  auto* reader = static_cast<PngByteReader*>(png_get_io_ptr(png));
  if (count > reader->bytes.size() - reader->offset) png_error(png, "truncated");
  std::memcpy(out, reader->bytes.data() + reader->offset, count);
  reader->offset += count;
}

}  // namespace Quarlo::Imaging
