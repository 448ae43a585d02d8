#pragma once
// The GIF backend, on giflib reading from memory.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Called by the decoder registry for bytes with the GIF signature (the bytes must outlive the
// decoder). Opening walks every record once without decompressing, so the header knows the frame
// count: frames whose data ends early are not counted, and a file without one whole frame is
// Damaged. The header's size is frame 0's, its canvas the logical screen (0 when the file gives
// none), 8 bits per pixel, alpha when some frame has a transparent index. Frame(i) reports the
// placement, delay (a frame without a control block reads 10) and disposal; Decode yields frame
// request.frame alone at its own size, the transparent index at alpha 0 and indices past the colour
// table opaque black. giflib errors become statuses; nothing aborts.
std::unique_ptr<Decoder> OpenGifDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
