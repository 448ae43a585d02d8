#pragma once
// JPEG through libjpeg-turbo: DCT-domain scaling for reduced sizes, grey, YCbCr, RGB, CMYK and
// Adobe's inverted CMYK, the APP1 EXIF block and the APP2 ICC profile.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Parses the header; failures: Damaged (libjpeg's message code in result.code).
std::unique_ptr<Decoder> OpenJpegDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
