#include "tests/fuzz/decoder_body.h"

#include <memory>

#include "platform/imaging/colour.h"

namespace Quarlo::Fuzz {

namespace {

using Imaging::Bitmap;
using Imaging::DecodeResult;

constexpr uint32_t kSmallSide = 16;

bool TooLargeHere(uint64_t width, uint64_t height) { return width * height > kFuzzMaxPixels; }

void CheckBitmap(const DecodeResult& result, const Bitmap& bitmap) {
  if (result.Ok() && (bitmap.width == 0 || bitmap.height == 0 ||
                      bitmap.pixels.size() != uint64_t(bitmap.width) * bitmap.height * 4)) {
    Violated("a decoded bitmap's buffer does not match its size");
  }
}

std::string Failed(std::string_view stage, const DecodeResult& result) {
  return std::string(stage) + ":" + std::string(DecodeStatusName(result.status));
}

}  // namespace

std::string_view DecodeStatusName(Imaging::DecodeStatus status) {
  switch (status) {
    case Imaging::DecodeStatus::Ok:
      return "Ok";
    case Imaging::DecodeStatus::Damaged:
      return "Damaged";
    case Imaging::DecodeStatus::Unsupported:
      return "Unsupported";
    case Imaging::DecodeStatus::TooLarge:
      return "TooLarge";
    case Imaging::DecodeStatus::OutOfMemory:
      return "OutOfMemory";
  }
  return "Unknown";
}

std::string DecodeFrames(Imaging::OpenFunction open, FuzzInput input) {
  DecodeResult opened;
  std::unique_ptr<Imaging::Decoder> decoder = open(input, opened);
  if (bool(decoder) != opened.Ok()) Violated("open returned a decoder that disagrees with its status");
  if (!decoder) return Failed("Open", opened);
  const Imaging::PictureHeader& header = decoder->Header();
  if (TooLargeHere(header.width, header.height)) return "Opened";
  std::unique_ptr<Imaging::ColourTransform> colour =
      Imaging::ColourTransform::Create(header.iccProfile, header.model);
  std::string status = "Ok";
  for (uint32_t frame = 0; frame < header.frameCount; ++frame) {
    Imaging::FrameInfo info;
    if (!decoder->Frame(frame, info).Ok()) Violated("a counted frame has no placement");
    if (TooLargeHere(info.width, info.height)) continue;
    Bitmap full;
    DecodeResult decoded =
        decoder->Decode({.frame = frame, .colour = colour.get(), .colourManage = true}, full);
    CheckBitmap(decoded, full);
    if (!decoded.Ok() && status == "Ok") status = Failed("Decode", decoded);
    if (colour && !full.colourConverted) colour->ApplyBgra(full.pixels.data(), full.pixels.size() / 4);
    Bitmap small;
    DecodeResult reduced =
        decoder->Decode({.frame = frame, .minWidth = kSmallSide, .minHeight = kSmallSide}, small);
    CheckBitmap(reduced, small);
    if (!reduced.Ok() && status == "Ok") status = Failed("Small", reduced);
  }
  Bitmap beyond;
  if (decoder->Decode({.frame = header.frameCount}, beyond).Ok())
    Violated("a frame beyond the count decodes");
  return status;
}

}  // namespace Quarlo::Fuzz
