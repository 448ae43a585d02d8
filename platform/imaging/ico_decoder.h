#pragma once
// Icons (.ico): the directory's largest image (first on ties), stored either as a PNG or as a
// device-independent bitmap with its AND mask.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Opens every directory entry to learn its real size; the frames are the entries that open, the
// largest as frame 0 (the picture's header), so the frame count is what Decode accepts. Failures
// (ReaderFault in the code): Unsupported for bytes without an icon directory; otherwise, when no
// entry opens, the first entry's own failure (Damaged for a directory of none).
std::unique_ptr<Decoder> OpenIcoDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
