#include "platform/imaging/webp_animation.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace Quarlo::Imaging {

namespace {

constexpr size_t kRiffHeaderSize = 12;  // "RIFF", size, "WEBP"
constexpr size_t kChunkHeaderSize = 8;  // tag, size

struct DemuxDeleter {
  void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct AnimDecoderDeleter {
  void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};
using DemuxPtr = std::unique_ptr<WebPDemuxer, DemuxDeleter>;
using AnimDecoderPtr = std::unique_ptr<WebPAnimDecoder, AnimDecoderDeleter>;

DemuxPtr OpenDemux(std::span<const uint8_t> bytes) {
  WebPData data{bytes.data(), bytes.size()};
  return DemuxPtr(WebPDemuxPartial(&data, nullptr));
}

uint32_t ReadLittle32(const uint8_t* at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (uint32_t(at[3]) << 24);
}

void WriteLittle32(uint8_t* at, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) *at++ = uint8_t(value >> shift);
}

// The animation decoder wants a whole file. For one cut short, keeps the chunks that arrived whole
// (the header chunks and every complete frame) under a corrected RIFF size; empty when none was cut.
std::vector<uint8_t> WholeChunksOnly(std::span<const uint8_t> bytes) {
  if (bytes.size() < kRiffHeaderSize) return {};
  size_t declaredEnd = size_t(ReadLittle32(bytes.data() + 4)) + 8;
  size_t end = std::min(declaredEnd, bytes.size());
  size_t at = kRiffHeaderSize;
  while (at + kChunkHeaderSize <= end) {
    size_t size = ReadLittle32(bytes.data() + at + 4);
    size_t next = at + kChunkHeaderSize + size + (size & 1);
    if (at + kChunkHeaderSize + size > end) break;
    at = std::min(next, end);
  }
  if (at >= declaredEnd || at <= kRiffHeaderSize) return {};
  std::vector<uint8_t> whole(bytes.begin(), bytes.begin() + at);
  if (whole.size() % 2 != 0) whole.push_back(0);
  WriteLittle32(whole.data() + 4, uint32_t(whole.size() - 8));
  return whole;
}

AnimDecoderPtr OpenAnimDecoder(std::span<const uint8_t> bytes) {
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) return nullptr;
  options.color_mode = MODE_bgrA;
  options.use_threads = 0;
  WebPData data{bytes.data(), bytes.size()};
  return AnimDecoderPtr(WebPAnimDecoderNew(&data, &options));
}

ComposedAnimation Failure(AnimationStatus status) {
  ComposedAnimation result;
  result.status = status;
  return result;
}

// Copies frame after frame out of the decoder while the cap allows.
void ReadFrames(WebPAnimDecoder* decoder, const WebPAnimInfo& info, uint64_t frameBytesCap,
                const std::atomic<bool>* cancel, ComposedAnimation& result) {
  size_t canvasBytes = size_t(info.canvas_width) * info.canvas_height * 4;
  int previousEnd = 0;
  for (uint32_t index = 0; index < info.frame_count; ++index) {
    if (CancelRequested(cancel)) {
      result = Failure(AnimationStatus::Cancelled);
      return;
    }
    if (!FrameFitsCap(frameBytesCap, canvasBytes, index)) {
      result.truncated = true;
      return;
    }
    uint8_t* canvas = nullptr;
    int end = 0;
    if (!WebPAnimDecoderGetNext(decoder, &canvas, &end)) return;
    auto pixels = std::make_shared<const PixelBytes>(canvas, canvas + canvasBytes);
    // The decoder reports when each frame ends; its duration is the difference.
    uint32_t duration = end > previousEnd ? uint32_t(end - previousEnd) : 0;
    previousEnd = end;
    result.frames.push_back({std::move(pixels), WebpDelayMs(duration)});
  }
}

}  // namespace

bool IsAnimatedWebp(std::span<const uint8_t> bytes) {
  WebPBitstreamFeatures features;
  return WebPGetFeatures(bytes.data(), bytes.size(), &features) == VP8_STATUS_OK && features.has_animation;
}

ComposedAnimation DecodeWebpAnimation(std::span<const uint8_t> bytes, uint64_t frameBytesCap,
                                      const std::atomic<bool>* cancel) {
  {
    // The demuxer accepts canvases of up to 2^32 pixels; refuse ours before anything is allocated.
    DemuxPtr demux = OpenDemux(bytes);
    if (!demux) return Failure(AnimationStatus::Damaged);
    uint64_t pixels = uint64_t(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH)) *
                      WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
    if (pixels == 0) return Failure(AnimationStatus::Damaged);
    if (pixels > kMaxAnimationPixels) return Failure(AnimationStatus::TooLarge);
  }
  std::vector<uint8_t> salvaged;
  AnimDecoderPtr decoder = OpenAnimDecoder(bytes);
  if (!decoder) {
    salvaged = WholeChunksOnly(bytes);
    if (!salvaged.empty()) decoder = OpenAnimDecoder(salvaged);
  }
  if (!decoder) return Failure(AnimationStatus::Damaged);
  WebPAnimInfo info;
  if (!WebPAnimDecoderGetInfo(decoder.get(), &info)) return Failure(AnimationStatus::Damaged);
  ComposedAnimation result;
  result.width = info.canvas_width;
  result.height = info.canvas_height;
  try {
    ReadFrames(decoder.get(), info, frameBytesCap, cancel, result);
  } catch (const std::bad_alloc&) {
    // Out of memory after the first frame ends the animation there.
    if (result.frames.empty()) return Failure(AnimationStatus::OutOfMemory);
  }
  if (result.status == AnimationStatus::Cancelled) return result;
  if (result.frames.empty()) return Failure(AnimationStatus::Damaged);
  result.status = AnimationStatus::Ok;
  result.hasTransparency = AnyFrameTransparent(result.frames);
  return result;
}

std::span<const uint8_t> FirstWebpFrame(std::span<const uint8_t> bytes) {
  DemuxPtr demux = OpenDemux(bytes);
  if (!demux) return {};
  WebPIterator frame;
  if (!WebPDemuxGetFrame(demux.get(), 1, &frame)) return {};
  std::span<const uint8_t> data;
  if (frame.complete) data = {frame.fragment.bytes, frame.fragment.size};
  WebPDemuxReleaseIterator(&frame);
  return data;
}

}  // namespace Quarlo::Imaging
