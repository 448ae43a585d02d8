// Feeds arbitrary bytes to the GIF backend (header walk, every frame's decode, composition) and to
// the animated WebP path. Nothing may crash, hang or read outside the input, whatever the bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/imaging/gif_composer.h"
#include "platform/imaging/gif_decoder.h"
#include "platform/imaging/webp_animation.h"

namespace {

// Small enough that hostile canvases fail quickly, large enough for several frames of real files.
constexpr uint64_t kFuzzFrameBytesCap = 16 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  Quarlo::Imaging::DecodeResult opened;
  if (std::unique_ptr<Quarlo::Imaging::Decoder> gif = Quarlo::Imaging::OpenGifDecoder(bytes, opened)) {
    const Quarlo::Imaging::PictureHeader& header = gif->Header();
    if (uint64_t(header.width) * header.height <= Quarlo::Imaging::kMaxAnimationPixels / 64 &&
        uint64_t(header.canvasWidth) * header.canvasHeight <= Quarlo::Imaging::kMaxAnimationPixels / 64) {
      Quarlo::Imaging::ComposeGifAnimation(*gif, kFuzzFrameBytesCap, nullptr);
    }
  }
  Quarlo::Imaging::DecodeWebpAnimation(bytes, kFuzzFrameBytesCap, nullptr);
  Quarlo::Imaging::FirstWebpFrame(bytes);
  return 0;
}
