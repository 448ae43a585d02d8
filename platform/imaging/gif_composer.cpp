#include "platform/imaging/gif_composer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

namespace {

// The part of a frame that lies on the screen, in screen columns and rows.
struct Clip {
  int64_t x0, y0, x1, y1;
  bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Clip ClipFrame(const FrameInfo& info, uint32_t width, uint32_t height) {
  return {std::max<int64_t>(info.left, 0), std::max<int64_t>(info.top, 0),
          std::min<int64_t>(int64_t(info.left) + info.width, width),
          std::min<int64_t>(int64_t(info.top) + info.height, height)};
}

ComposedAnimation Failure(AnimationStatus status) {
  ComposedAnimation result;
  result.status = status;
  return result;
}

AnimationStatus StatusOf(const DecodeResult& failed) {
  if (failed.status == DecodeStatus::OutOfMemory) return AnimationStatus::OutOfMemory;
  if (failed.status == DecodeStatus::TooLarge) return AnimationStatus::TooLarge;
  return AnimationStatus::Damaged;
}

}  // namespace

GifCanvas::GifCanvas(uint32_t width, uint32_t height)
    : width_(width), height_(height), screen_(size_t(width) * height * 4, uint8_t(0)) {}

void GifCanvas::Draw(const FrameInfo& info, const PixelBytes& pixels) {
  if (info.disposal == kDisposePrevious) previous_ = screen_;
  Clip clip = ClipFrame(info, width_, height_);
  if (clip.Empty() || pixels.size() < size_t(info.width) * info.height * 4) return;
  for (int64_t y = clip.y0; y < clip.y1; ++y) {
    const uint8_t* source =
        pixels.data() + ((y - info.top) * int64_t(info.width) + (clip.x0 - info.left)) * 4;
    uint8_t* target = screen_.data() + (y * width_ + clip.x0) * 4;
    for (int64_t x = clip.x0; x < clip.x1; ++x, source += 4, target += 4) {
      // GIF pixels are either opaque or fully transparent; transparent ones show what lies below.
      if (source[3] != 0) std::memcpy(target, source, 4);
    }
  }
}

PixelBuffer GifCanvas::Snapshot() const { return std::make_shared<const PixelBytes>(screen_); }

void GifCanvas::Dispose(const FrameInfo& info) {
  if (info.disposal == kDisposeBackground) {
    // Browsers clear to transparent rather than to the background colour, and files expect it.
    ClearRect(info);
  } else if (info.disposal == kDisposePrevious && !previous_.empty()) {
    screen_.swap(previous_);
  }
}

void GifCanvas::ClearRect(const FrameInfo& info) {
  Clip clip = ClipFrame(info, width_, height_);
  if (clip.Empty()) return;
  for (int64_t y = clip.y0; y < clip.y1; ++y) {
    std::memset(screen_.data() + (y * width_ + clip.x0) * 4, 0, size_t(clip.x1 - clip.x0) * 4);
  }
}

ComposedAnimation ComposeGifAnimation(Decoder& decoder, uint64_t frameBytesCap,
                                      const std::atomic<bool>* cancel) {
  const PictureHeader& header = decoder.Header();
  ComposedAnimation result;
  result.width = header.canvasWidth > 0 ? header.canvasWidth : header.width;
  result.height = header.canvasHeight > 0 ? header.canvasHeight : header.height;
  if (result.width < 1 || result.height < 1) return Failure(AnimationStatus::Damaged);
  if (uint64_t(result.width) * result.height > kMaxAnimationPixels) return Failure(AnimationStatus::TooLarge);
  uint64_t canvasBytes = uint64_t(result.width) * result.height * 4;
  try {
    GifCanvas canvas(result.width, result.height);
    for (uint32_t index = 0; index < header.frameCount; ++index) {
      if (CancelRequested(cancel)) return Failure(AnimationStatus::Cancelled);
      if (!FrameFitsCap(frameBytesCap, canvasBytes, index)) {
        result.truncated = true;
        break;
      }
      FrameInfo info;
      Bitmap frame;
      DecodeResult decoded = decoder.Frame(index, info);
      // A later frame needing more memory than both the cap and a whole canvas cannot come from a
      // real animation; decoding it would only let a tiny file claim gigabytes.
      uint64_t frameBytes = uint64_t(info.width) * info.height * 4;
      if (index > 0 && frameBytes > std::max(frameBytesCap, canvasBytes)) break;
      if (decoded.Ok()) decoded = decoder.Decode(DecodeRequest{.frame = index, .cancel = cancel}, frame);
      if (!decoded.Ok()) {
        if (index == 0) return Failure(StatusOf(decoded));
        break;
      }
      canvas.Draw(info, frame.pixels);
      result.frames.push_back({canvas.Snapshot(), GifDelayMs(info.delayCs)});
      canvas.Dispose(info);
    }
  } catch (const std::bad_alloc&) {
    // Running out of memory after the first frame ends the animation there.
    if (result.frames.empty()) return Failure(AnimationStatus::OutOfMemory);
  }
  if (result.frames.empty()) return Failure(AnimationStatus::Damaged);
  result.status = AnimationStatus::Ok;
  result.hasTransparency = AnyFrameTransparent(result.frames);
  return result;
}

}  // namespace Quarlo::Imaging
