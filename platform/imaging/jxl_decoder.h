#pragma once
// JPEG XL through libjxl: the first frame, grey or colour, with alpha, the colour profile of the
// decoded samples and the orientation from the codestream header (turned by the pipeline).

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Failures: Damaged with the JxlDecoderStatus that stopped decoding.
std::unique_ptr<Decoder> OpenJxlDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
