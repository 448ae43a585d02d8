#include "platform/imaging/animation_frames.h"

namespace Quarlo::Imaging {

bool FrameFitsCap(uint64_t frameBytesCap, uint64_t canvasBytes, size_t frameIndex) {
  if (frameIndex == 0) return true;
  if (canvasBytes == 0) return false;
  // frameBytesCap >= canvasBytes × (k + 1), written without the multiplication that could overflow.
  return frameBytesCap / canvasBytes >= uint64_t(frameIndex) + 1;
}

uint32_t GifDelayMs(uint32_t hundredths) {
  uint32_t ms = hundredths * 10;
  return ms <= 10 ? 100 : ms;
}

uint32_t WebpDelayMs(uint32_t durationMs) { return durationMs <= 10 ? 100 : durationMs; }

bool AnyFrameTransparent(const std::vector<ComposedFrame>& frames) {
  for (const ComposedFrame& frame : frames) {
    const PixelBytes& bytes = *frame.pixels;
    for (size_t at = 3; at < bytes.size(); at += 4) {
      if (bytes[at] != 255) return true;
    }
  }
  return false;
}

}  // namespace Quarlo::Imaging
