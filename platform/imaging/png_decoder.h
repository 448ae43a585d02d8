#pragma once
// PNG through libpng: every colour type and depth (palette, tRNS, grey with alpha, 16-bit), Adam7
// interlacing, the iCCP profile, gAMA when no profile or sRGB chunk says more, and the eXIf block.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Parses up to the first image data; failures: Damaged (code 1).
std::unique_ptr<Decoder> OpenPngDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
