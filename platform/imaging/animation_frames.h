#pragma once
// What the animation decoders (GIF, animated WebP) hand to the decode pipeline: whole-canvas frames in
// premultiplied BGRA with their display times, plus the rules both formats share (the frame memory
// cap, the delay floors, the transparency scan).

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/pixel_memory.h"

namespace Quarlo::Imaging {

enum class AnimationStatus {
  Ok,           // at least one frame
  Damaged,      // nothing decodable before the first frame was complete
  TooLarge,     // canvas above the pixel limit; nothing was allocated
  OutOfMemory,  // an allocation of the first frame failed
  Cancelled,    // the caller's cancel flag was raised; the frames are incomplete and must be dropped
};

struct ComposedFrame {
  PixelBuffer pixels;    // width × height × 4 bytes, rows top-down, no padding
  uint32_t delayMs = 0;  // display time after the floors below
};

struct ComposedAnimation {
  AnimationStatus status = AnimationStatus::Damaged;
  uint32_t width = 0;  // canvas size
  uint32_t height = 0;
  std::vector<ComposedFrame> frames;
  bool truncated = false;        // the frame memory cap stopped the decoding early
  bool hasTransparency = false;  // some alpha byte of some frame is below 255
};

// The largest canvas an animation may have, as for stills.
inline constexpr uint64_t kMaxAnimationPixels = 400'000'000;

// Frame k (from 0) is decoded only when it is the first or when k + 1 whole canvases fit in the cap.
bool FrameFitsCap(uint64_t frameBytesCap, uint64_t canvasBytes, size_t frameIndex);

// A GIF delay is given in hundredths of a second; 0 and 1 (and a missing control block, which reads
// as 10) are shown for 100 ms, as browsers do, because such files were written for "as fast as possible".
uint32_t GifDelayMs(uint32_t hundredths);

// WebP durations are in milliseconds; 10 ms or less is treated as the same "as fast as possible" hint.
uint32_t WebpDelayMs(uint32_t durationMs);

// True when some fourth byte (alpha) of some frame is below 255.
bool AnyFrameTransparent(const std::vector<ComposedFrame>& frames);

// True when the caller asked the decode to stop (a null flag never does).
inline bool CancelRequested(const std::atomic<bool>* cancel) {
  return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

}  // namespace Quarlo::Imaging
