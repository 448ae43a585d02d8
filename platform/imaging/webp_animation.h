#pragma once
// Animated WebP through libwebp's demuxer and animation decoder, which compose each frame onto the
// canvas (offsets, blending, disposal) in premultiplied BGRA.

#include <atomic>
#include <cstdint>
#include <span>

#include "platform/imaging/animation_frames.h"

namespace Quarlo::Imaging {

// True for a WebP whose extended header announces an animation; the decode pipeline asks this to
// choose between DecodeWebpAnimation (no thumbnail box) and FirstWebpFrame (thumbnails).
bool IsAnimatedWebp(std::span<const uint8_t> bytes);

// Called by the decode pipeline for an animated WebP without a thumbnail box: every frame the cap
// allows, each a copy of the whole canvas with its duration (10 ms or less shown for 100 ms). A file
// cut short plays the frames that arrived whole; a frame that fails to decode ends the sequence.
ComposedAnimation DecodeWebpAnimation(std::span<const uint8_t> bytes, uint64_t frameBytesCap,
                                      const std::atomic<bool>* cancel);

// The encoded data of an animation's first frame, a bitstream that WebPDecode reads as a still at the
// frame's own size (the thumbnail of an animated WebP); empty when the first frame is not whole. It
// points into bytes.
std::span<const uint8_t> FirstWebpFrame(std::span<const uint8_t> bytes);

}  // namespace Quarlo::Imaging
