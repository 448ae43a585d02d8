// Arbitrary bytes through the GIF backend (header walk, every frame's decode, composition) and the
// animated WebP path. Status: "gif=<what composing gave>,webp=<...>,first=<whether a first WebP frame
// was found>".

#include <cstdint>
#include <memory>
#include <span>

#include "platform/imaging/gif_composer.h"
#include "platform/imaging/gif_decoder.h"
#include "platform/imaging/webp_animation.h"
#include "tests/fuzz/decoder_body.h"

namespace Quarlo::Fuzz {

namespace {

using Imaging::AnimationStatus;

// Small enough that hostile canvases fail quickly, large enough for several frames of real files.
constexpr uint64_t kFuzzFrameBytesCap = 16 << 20;

std::string_view AnimationStatusName(AnimationStatus status) {
  switch (status) {
    case AnimationStatus::Ok:
      return "Ok";
    case AnimationStatus::Damaged:
      return "Damaged";
    case AnimationStatus::TooLarge:
      return "TooLarge";
    case AnimationStatus::OutOfMemory:
      return "OutOfMemory";
    case AnimationStatus::Cancelled:
      return "Cancelled";
  }
  return "Unknown";
}

// The status and the number of frames composed, e.g. "Ok/3".
std::string Composed(const Imaging::ComposedAnimation& animation) {
  return std::string(AnimationStatusName(animation.status)) + "/" + std::to_string(animation.frames.size());
}

std::string Gif(FuzzInput input) {
  Imaging::DecodeResult opened;
  std::unique_ptr<Imaging::Decoder> gif = Imaging::OpenGifDecoder(input, opened);
  if (!gif) return "Open:" + std::string(DecodeStatusName(opened.status));
  const Imaging::PictureHeader& header = gif->Header();
  if (uint64_t(header.width) * header.height > Imaging::kMaxAnimationPixels / 64 ||
      uint64_t(header.canvasWidth) * header.canvasHeight > Imaging::kMaxAnimationPixels / 64) {
    return "Opened";
  }
  return Composed(Imaging::ComposeGifAnimation(*gif, kFuzzFrameBytesCap, nullptr));
}

}  // namespace

std::string AnimationFuzz(FuzzInput input) {
  const std::string webp = Composed(Imaging::DecodeWebpAnimation(input, kFuzzFrameBytesCap, nullptr));
  const bool first = !Imaging::FirstWebpFrame(input).empty();
  return "gif=" + Gif(input) + ",webp=" + webp + ",first=" + (first ? "yes" : "no");
}

}  // namespace Quarlo::Fuzz
