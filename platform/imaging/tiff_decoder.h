#pragma once
// TIFF through libtiff: the first page, any layout libtiff's RGBA reader takes (strips or tiles,
// 1 to 16 bits per sample, palette, grey, RGB, CMYK, YCbCr, alpha), the ICC profile and the EXIF
// facts of the first directory. CMYK is turned into RGB by libtiff itself, without its profile.
// libtiff's messages go to a per-file handler, never to stderr.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Failures: Damaged (code 1 when libtiff reported an error), Unsupported for sample layouts the RGBA
// reader does not take (floating point, more than 16 bits).
std::unique_ptr<Decoder> OpenTiffDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
