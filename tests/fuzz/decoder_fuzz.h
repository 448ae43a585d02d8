#pragma once
// The shared body of the decoder fuzz targets: open a backend on the input, then decode it at full
// size and with a small size hint (the thumbnail path), converting colours through whatever profile
// it carries. Pictures larger than kFuzzMaxPixels are only opened, so that the fuzzer spends its time
// on parsing rather than on allocating what the pipeline's 400-megapixel limit would allow.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/imaging/colour.h"
#include "platform/imaging/decoder.h"

namespace Quarlo::Fuzz {

constexpr uint64_t kFuzzMaxPixels = 4'000'000;

inline void DecodeBoth(Imaging::OpenFunction open, const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  Imaging::DecodeResult result;
  std::unique_ptr<Imaging::Decoder> decoder = open(bytes, result);
  if (!decoder) return;
  const Imaging::PictureHeader& header = decoder->Header();
  if (uint64_t(header.width) * header.height > kFuzzMaxPixels) return;
  std::unique_ptr<Imaging::ColourTransform> colour =
      Imaging::ColourTransform::Create(header.iccProfile, header.model);
  Imaging::Bitmap full;
  decoder->Decode({.colour = colour.get(), .colourManage = true}, full);
  if (colour && !full.colourConverted) colour->ApplyBgra(full.pixels.data(), full.pixels.size() / 4);
  Imaging::Bitmap small;
  decoder->Decode({.minWidth = 16, .minHeight = 16}, small);
}

}  // namespace Quarlo::Fuzz
