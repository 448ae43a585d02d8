#pragma once
// HEIF, HEIC and AVIF through libheif: the primary image, with its rotation and mirroring already
// applied by libheif, alpha, its ICC profile or its nclx colour primaries, and its EXIF block.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Failures: Damaged, Unsupported (no codec plugin for the compression), OutOfMemory; the code is
// heif_error.code × 1000 + heif_error.subcode.
std::unique_ptr<Decoder> OpenHeifDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
