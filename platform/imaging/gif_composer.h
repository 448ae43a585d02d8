#pragma once
// Composition of GIF frames onto the logical screen: each frame is painted over what the previous
// frames left, then disposed of as its control block asks (keep, clear its rectangle, or restore the
// screen as it was before the frame).

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/imaging/animation_frames.h"

namespace Quarlo::Imaging {

class Decoder;
struct FrameInfo;

// GIF disposal methods as stored in the graphic control block (0 and 1 keep the screen).
enum GifDisposal : uint32_t { kDisposeBackground = 2, kDisposePrevious = 3 };

class GifCanvas {
 public:
  // A transparent black screen; throws std::bad_alloc when it cannot be had.
  GifCanvas(uint32_t width, uint32_t height);

  // Paints one frame (premultiplied BGRA at info's size) in file order; keeps the screen first when
  // the frame will be disposed of by restoring it.
  void Draw(const FrameInfo& info, const PixelBytes& pixels);
  // A copy of the screen as it is now, for the frame list.
  PixelBuffer Snapshot() const;
  // Applies the frame's disposal after its snapshot was taken.
  void Dispose(const FrameInfo& info);

 private:
  void ClearRect(const FrameInfo& info);

  uint32_t width_;
  uint32_t height_;
  PixelBytes screen_;
  PixelBytes previous_;
};

// Called by the decode pipeline for a GIF with two frames or more and no thumbnail box: composes
// frame after frame on the canvas the header names (frame 0's size where it names none), while the
// frame memory cap allows. A failure after the first frame ends the sequence without an error.
ComposedAnimation ComposeGifAnimation(Decoder& decoder, uint64_t frameBytesCap,
                                      const std::atomic<bool>* cancel);

}  // namespace Quarlo::Imaging
