#pragma once
// Icons (.ico): the directory's largest image (first on ties), stored either as a PNG or as a
// device-independent bitmap with its AND mask.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Opens every directory entry to learn its real size and keeps the largest; entries that cannot be
// read are skipped. Failures: Damaged (code 1) when no entry can be read.
std::unique_ptr<Decoder> OpenIcoDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
