#include "platform/imaging/webp_animation.h"

#include <gtest/gtest.h>
#include <webp/decode.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <array>
#include <cstdlib>
#include <vector>

namespace {

using namespace Quarlo::Imaging;
using Pixel = std::array<uint8_t, 4>;  // B, G, R, A as stored (premultiplied after decoding)

constexpr Pixel kRed{0, 0, 255, 255}, kGreen{0, 255, 0, 255}, kBlue{255, 0, 0, 255}, kClear{0, 0, 0, 0};

struct TestFrame {
  int x = 0, y = 0, width = 1, height = 1;
  Pixel fill = kRed;  // straight (not premultiplied) BGRA, as the encoder takes it
  int duration = 100;
  bool blend = true;
  bool disposeToBackground = false;
};

// One lossless still of a plain colour, as a complete WebP file.
std::vector<uint8_t> EncodeStill(const TestFrame& frame) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < frame.width * frame.height; ++i)
    pixels.insert(pixels.end(), frame.fill.begin(), frame.fill.end());
  uint8_t* output = nullptr;
  size_t size = WebPEncodeLosslessBGRA(pixels.data(), frame.width, frame.height, frame.width * 4, &output);
  std::vector<uint8_t> still(output, output + size);
  WebPFree(output);
  return still;
}

// An animation assembled frame by frame, so that offsets, blending and disposal are exactly as given.
std::vector<uint8_t> EncodeAnimation(int width, int height, const std::vector<TestFrame>& frames) {
  WebPMux* mux = WebPMuxNew();
  WebPMuxAnimParams params{0, 0};
  WebPMuxSetAnimationParams(mux, &params);
  WebPMuxSetCanvasSize(mux, width, height);
  for (const TestFrame& frame : frames) {
    std::vector<uint8_t> still = EncodeStill(frame);
    WebPMuxFrameInfo info{};
    info.bitstream = {still.data(), still.size()};
    info.x_offset = frame.x;
    info.y_offset = frame.y;
    info.duration = frame.duration;
    info.id = WEBP_CHUNK_ANMF;
    info.dispose_method = frame.disposeToBackground ? WEBP_MUX_DISPOSE_BACKGROUND : WEBP_MUX_DISPOSE_NONE;
    info.blend_method = frame.blend ? WEBP_MUX_BLEND : WEBP_MUX_NO_BLEND;
    EXPECT_EQ(WebPMuxPushFrame(mux, &info, 1), WEBP_MUX_OK);
  }
  WebPData assembled{};
  EXPECT_EQ(WebPMuxAssemble(mux, &assembled), WEBP_MUX_OK);
  std::vector<uint8_t> bytes(assembled.bytes, assembled.bytes + assembled.size);
  WebPDataClear(&assembled);
  WebPMuxDelete(mux);
  return bytes;
}

Pixel PixelAt(const ComposedAnimation& animation, size_t frame, int x, int y) {
  const PixelBytes& bytes = *animation.frames.at(frame).pixels;
  size_t at = (size_t(y) * animation.width + x) * 4;
  return {bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
}

constexpr uint64_t kNoCap = 1ull << 30;

TEST(WebpAnimationTest, FramesSitAtTheirOffsetsOnATransparentCanvas) {
  std::vector<uint8_t> bytes = EncodeAnimation(6, 4, {{0, 0, 2, 2, kRed}, {4, 2, 2, 2, kBlue}});
  ASSERT_TRUE(IsAnimatedWebp(bytes));
  ComposedAnimation animation = DecodeWebpAnimation(bytes, kNoCap, nullptr);
  ASSERT_EQ(animation.status, AnimationStatus::Ok);
  EXPECT_EQ(animation.width, 6u);
  EXPECT_EQ(animation.height, 4u);
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(PixelAt(animation, 0, 1, 1), kRed);
  EXPECT_EQ(PixelAt(animation, 0, 4, 2), kClear);
  EXPECT_EQ(PixelAt(animation, 1, 1, 1), kRed);
  EXPECT_EQ(PixelAt(animation, 1, 4, 2), kBlue);
  EXPECT_EQ(PixelAt(animation, 1, 3, 3), kClear);
  EXPECT_TRUE(animation.hasTransparency);
}

TEST(WebpAnimationTest, BlendingMixesAndNoBlendReplacesEvenWithTransparency) {
  const Pixel halfGreen{0, 255, 0, 128};
  std::vector<uint8_t> bytes = EncodeAnimation(
      4, 2, {{0, 0, 4, 2, kRed}, {2, 0, 2, 2, halfGreen}, {0, 0, 2, 2, kClear, 100, /*blend=*/false}});
  ComposedAnimation animation = DecodeWebpAnimation(bytes, kNoCap, nullptr);
  ASSERT_EQ(animation.frames.size(), 3u);
  // Premultiplied "over": green 128 over opaque red leaves about half the red.
  Pixel mixed = PixelAt(animation, 1, 2, 0);
  EXPECT_EQ(mixed[0], 0);
  EXPECT_NEAR(mixed[1], 128, 1);
  EXPECT_NEAR(mixed[2], 127, 1);
  EXPECT_EQ(mixed[3], 255);
  EXPECT_EQ(PixelAt(animation, 2, 0, 0), kClear);
  EXPECT_EQ(PixelAt(animation, 2, 3, 1), mixed);
}

TEST(WebpAnimationTest, DisposeToBackgroundClearsTheFrameRectangle) {
  std::vector<uint8_t> bytes = EncodeAnimation(
      4, 2, {{0, 0, 4, 2, kRed}, {2, 0, 2, 2, kGreen, 100, true, /*dispose=*/true}, {0, 0, 2, 2, kBlue}});
  ComposedAnimation animation = DecodeWebpAnimation(bytes, kNoCap, nullptr);
  ASSERT_EQ(animation.frames.size(), 3u);
  EXPECT_EQ(PixelAt(animation, 1, 2, 0), kGreen);
  EXPECT_EQ(PixelAt(animation, 2, 0, 0), kBlue);
  EXPECT_EQ(PixelAt(animation, 2, 2, 0), kClear);
  EXPECT_EQ(PixelAt(animation, 2, 3, 1), kClear);
}

TEST(WebpAnimationTest, DurationsOfTenOrLessShowForATenthOfASecond) {
  const struct {
    int stored;
    uint32_t shown;
  } cases[] = {{0, 100}, {1, 100}, {10, 100}, {11, 11}, {50, 50}};
  std::vector<TestFrame> frames;
  for (const auto& c : cases) frames.push_back({0, 0, 1, 1, kRed, c.stored});
  ComposedAnimation animation = DecodeWebpAnimation(EncodeAnimation(1, 1, frames), kNoCap, nullptr);
  ASSERT_EQ(animation.frames.size(), std::size(cases));
  for (size_t index = 0; index < std::size(cases); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(animation.frames[index].delayMs, cases[index].shown);
  }
}

TEST(WebpAnimationTest, FrameCapTruncatesALongAnimation) {
  std::vector<TestFrame> frames;
  for (int index = 0; index < 10; ++index) frames.push_back({0, 0, 4, 4, index % 2 ? kRed : kBlue});
  std::vector<uint8_t> bytes = EncodeAnimation(4, 4, frames);
  const uint64_t canvas = 4 * 4 * 4;
  const struct {
    uint64_t cap;
    size_t frames;
    bool truncated;
  } cases[] = {{0, 1, true}, {canvas * 3, 3, true}, {canvas * 10, 10, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cap);
    ComposedAnimation animation = DecodeWebpAnimation(bytes, c.cap, nullptr);
    EXPECT_EQ(animation.frames.size(), c.frames);
    EXPECT_EQ(animation.truncated, c.truncated);
  }
}

TEST(WebpAnimationTest, FileCutShortPlaysTheFramesThatArrivedWhole) {
  std::vector<uint8_t> bytes =
      EncodeAnimation(4, 4, {{0, 0, 4, 4, kRed}, {0, 0, 4, 4, kGreen}, {0, 0, 4, 4, kBlue}});
  bytes.resize(bytes.size() - 5);
  ComposedAnimation animation = DecodeWebpAnimation(bytes, kNoCap, nullptr);
  ASSERT_EQ(animation.status, AnimationStatus::Ok);
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(PixelAt(animation, 1, 0, 0), kGreen);
}

TEST(WebpAnimationTest, DamagedDataIsRefused) {
  std::vector<uint8_t> bytes = EncodeAnimation(4, 4, {{0, 0, 4, 4, kRed}, {0, 0, 4, 4, kGreen}});
  std::vector<uint8_t> headerOnly(bytes.begin(), bytes.begin() + 30);
  std::vector<uint8_t> notWebp(64, 'x');
  for (const std::vector<uint8_t>* data : {&headerOnly, &notWebp}) {
    EXPECT_EQ(DecodeWebpAnimation(*data, kNoCap, nullptr).status, AnimationStatus::Damaged);
  }
}

TEST(WebpAnimationTest, FirstFrameDecodesAsAStillAtItsOwnSize) {
  std::vector<uint8_t> bytes = EncodeAnimation(8, 8, {{2, 2, 3, 2, kGreen}, {0, 0, 8, 8, kBlue}});
  std::span<const uint8_t> first = FirstWebpFrame(bytes);
  ASSERT_FALSE(first.empty());
  int width = 0, height = 0;
  uint8_t* pixels = WebPDecodeBGRA(first.data(), first.size(), &width, &height);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(Pixel({pixels[0], pixels[1], pixels[2], pixels[3]}), kGreen);
  WebPFree(pixels);
  EXPECT_TRUE(FirstWebpFrame(std::span<const uint8_t>(bytes).first(40)).empty());
}

TEST(WebpAnimationTest, CancelFlagStopsDecoding) {
  std::vector<uint8_t> bytes = EncodeAnimation(2, 2, {{0, 0, 2, 2, kRed}, {0, 0, 2, 2, kBlue}});
  std::atomic<bool> cancel{true};
  EXPECT_EQ(DecodeWebpAnimation(bytes, kNoCap, &cancel).status, AnimationStatus::Cancelled);
}

}  // namespace
