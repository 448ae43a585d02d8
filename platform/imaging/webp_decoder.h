#pragma once
// Still WebP through libwebp: lossy, lossless and alpha, decoded straight into premultiplied BGRA
// (libwebp's MODE_bgrA), scaled by libwebp itself when a smaller size is asked for.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Reads the features of a still WebP file, or of a bare frame bitstream (an animation frame's
// data); failures: Damaged with the VP8StatusCode. An animation is Unsupported here.
std::unique_ptr<Decoder> OpenWebpDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
