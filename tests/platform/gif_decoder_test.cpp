#include "platform/imaging/gif_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "platform/imaging/animation_frames.h"
#include "platform/imaging/gif_composer.h"
#include "support/gif_builder.h"

namespace {

using namespace Quarlo::Imaging;
using Quarlo::Test::EncodeGif;
using Quarlo::Test::FilledGifFrame;
using Quarlo::Test::TestGif;
using TestFrame = Quarlo::Test::TestGifFrame;

constexpr uint8_t kRed = Quarlo::Test::kGifRed, kGreen = Quarlo::Test::kGifGreen,
                  kBlue = Quarlo::Test::kGifBlue;
constexpr std::array<uint8_t, 4> kRedPixel{0, 0, 255, 255}, kGreenPixel{0, 255, 0, 255},
    kBluePixel{255, 0, 0, 255}, kClear{0, 0, 0, 0};

std::array<uint8_t, 4> PixelAt(const ComposedAnimation& animation, size_t frame, int x, int y) {
  const PixelBytes& bytes = *animation.frames.at(frame).pixels;
  size_t at = (size_t(y) * animation.width + x) * 4;
  return {bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
}

ComposedAnimation Compose(const std::vector<uint8_t>& bytes, uint64_t cap = 1 << 30) {
  DecodeResult opened;
  std::unique_ptr<Decoder> decoder = OpenGifDecoder(bytes, opened);
  EXPECT_TRUE(opened.Ok());
  if (!decoder) return {};
  return ComposeGifAnimation(*decoder, cap, nullptr);
}

TEST(GifDecoderTest, StillFrameKeepsItsOwnSizeAndTransparentIndex) {
  TestFrame frame{1, 1, 2, 1, {kRed, kGreen}, 10, 0, kGreen};
  std::vector<uint8_t> bytes = EncodeGif({8, 8, false, {frame}});
  DecodeResult opened;
  auto decoder = OpenGifDecoder(bytes, opened);
  ASSERT_TRUE(decoder);
  EXPECT_EQ(decoder->Header().width, 2u);
  EXPECT_EQ(decoder->Header().height, 1u);
  EXPECT_EQ(decoder->Header().canvasWidth, 8u);
  EXPECT_EQ(decoder->Header().frameCount, 1u);
  EXPECT_EQ(decoder->Header().bitsPerPixel, 8u);
  EXPECT_TRUE(decoder->Header().hasAlpha);
  Bitmap bitmap;
  ASSERT_TRUE(decoder->Decode({}, bitmap).Ok());
  EXPECT_EQ(bitmap.pixels, (PixelBytes{0, 0, 255, 255, 0, 0, 0, 0}));
}

TEST(GifDecoderTest, DisposalToBackgroundClearsOnlyTheFrameRectangle) {
  TestGif file{4,
               4,
               false,
               {FilledGifFrame(0, 0, 4, 4, kRed), FilledGifFrame(1, 1, 2, 2, kGreen, kDisposeBackground),
                FilledGifFrame(0, 0, 1, 1, kBlue)}};
  ComposedAnimation animation = Compose(EncodeGif(file));
  ASSERT_EQ(animation.status, AnimationStatus::Ok);
  ASSERT_EQ(animation.frames.size(), 3u);
  EXPECT_EQ(PixelAt(animation, 1, 1, 1), kGreenPixel);
  EXPECT_EQ(PixelAt(animation, 1, 0, 0), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 2, 0, 0), kBluePixel);
  EXPECT_EQ(PixelAt(animation, 2, 1, 1), kClear);  // transparent, not the background colour
  EXPECT_EQ(PixelAt(animation, 2, 2, 2), kClear);
  EXPECT_EQ(PixelAt(animation, 2, 3, 3), kRedPixel);
  EXPECT_TRUE(animation.hasTransparency);
}

TEST(GifDecoderTest, DisposalToPreviousRestoresTheEarlierScreen) {
  TestGif file{4,
               4,
               false,
               {FilledGifFrame(0, 0, 4, 4, kRed), FilledGifFrame(1, 1, 2, 2, kGreen, kDisposePrevious),
                FilledGifFrame(3, 3, 1, 1, kBlue)}};
  ComposedAnimation animation = Compose(EncodeGif(file));
  ASSERT_EQ(animation.frames.size(), 3u);
  EXPECT_EQ(PixelAt(animation, 1, 1, 1), kGreenPixel);
  EXPECT_EQ(PixelAt(animation, 2, 1, 1), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 2, 2, 2), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 2, 3, 3), kBluePixel);
  EXPECT_FALSE(animation.hasTransparency);
}

TEST(GifDecoderTest, DisposalToPreviousOnTheFirstFrameRestoresTheEmptyScreen) {
  TestGif file{
      2, 1, false, {FilledGifFrame(0, 0, 2, 1, kRed, kDisposePrevious), FilledGifFrame(1, 0, 1, 1, kBlue)}};
  ComposedAnimation animation = Compose(EncodeGif(file));
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(PixelAt(animation, 1, 0, 0), kClear);
  EXPECT_EQ(PixelAt(animation, 1, 1, 0), kBluePixel);
}

TEST(GifDecoderTest, TransparentIndexShowsWhatLiesBelow) {
  TestFrame holes{0, 0, 2, 1, {kGreen, kBlue}, 10, 0, kBlue};
  ComposedAnimation animation = Compose(EncodeGif({2, 1, false, {FilledGifFrame(0, 0, 2, 1, kRed), holes}}));
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(PixelAt(animation, 1, 0, 0), kGreenPixel);
  EXPECT_EQ(PixelAt(animation, 1, 1, 0), kRedPixel);
}

TEST(GifDecoderTest, LocalColourTableOverridesTheGlobalOne) {
  TestFrame local = FilledGifFrame(0, 0, 1, 1, 1);
  local.localTable = {{0, 0, 0}, {10, 20, 30}};
  ComposedAnimation animation = Compose(EncodeGif({1, 1, false, {FilledGifFrame(0, 0, 1, 1, kRed), local}}));
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(PixelAt(animation, 0, 0, 0), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 1, 0, 0), (std::array<uint8_t, 4>{30, 20, 10, 255}));
}

TEST(GifDecoderTest, InterlacedRowsLandInPlace) {
  TestFrame tall{0, 0, 1, 11, {}, 10};
  for (int row = 0; row < 11; ++row) tall.indices.push_back(uint8_t(row % 4));
  tall.interlace = true;
  std::vector<uint8_t> bytes = EncodeGif({1, 11, false, {tall}});
  DecodeResult opened;
  auto decoder = OpenGifDecoder(bytes, opened);
  ASSERT_TRUE(decoder);
  Bitmap bitmap;
  ASSERT_TRUE(decoder->Decode({}, bitmap).Ok());
  const std::array<uint8_t, 4> colours[] = {{0, 0, 0, 255}, kRedPixel, kGreenPixel, kBluePixel};
  for (int row = 0; row < 11; ++row) {
    SCOPED_TRACE(row);
    EXPECT_TRUE(
        std::equal(colours[row % 4].begin(), colours[row % 4].end(), bitmap.pixels.begin() + row * 4));
  }
}

TEST(GifDecoderTest, DelayRules) {
  const struct {
    std::optional<int> stored;
    uint32_t shown;
  } cases[] = {{0, 100}, {1, 100}, {2, 20}, {7, 70}, {std::nullopt, 100}, {50, 500}};
  TestGif file{1, 1, true, {}};
  for (const auto& c : cases) {
    TestFrame frame = FilledGifFrame(0, 0, 1, 1, kRed);
    frame.delay = c.stored;
    file.frames.push_back(frame);
  }
  ComposedAnimation animation = Compose(EncodeGif(file));
  ASSERT_EQ(animation.frames.size(), std::size(cases));
  for (size_t index = 0; index < std::size(cases); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(animation.frames[index].delayMs, cases[index].shown);
  }
}

TEST(GifDecoderTest, FramesOnALargerScreenSitAtTheirOffsets) {
  TestGif file{4, 3, false, {FilledGifFrame(1, 1, 1, 1, kRed), FilledGifFrame(3, 2, 1, 1, kBlue)}};
  ComposedAnimation animation = Compose(EncodeGif(file));
  ASSERT_EQ(animation.width, 4u);
  ASSERT_EQ(animation.height, 3u);
  EXPECT_EQ(PixelAt(animation, 0, 0, 0), kClear);
  EXPECT_EQ(PixelAt(animation, 0, 1, 1), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 1, 1, 1), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 1, 3, 2), kBluePixel);
  EXPECT_TRUE(animation.hasTransparency);
}

TEST(GifDecoderTest, FramePartlyOffTheScreenIsClipped) {
  TestGif file{2,
               2,
               false,
               {FilledGifFrame(0, 0, 2, 2, kRed), FilledGifFrame(1, 1, 3, 3, kBlue, kDisposeBackground),
                FilledGifFrame(0, 0, 1, 1, kGreen)}};
  ComposedAnimation animation = Compose(EncodeGif(file));
  ASSERT_EQ(animation.frames.size(), 3u);
  EXPECT_EQ(PixelAt(animation, 1, 1, 1), kBluePixel);
  EXPECT_EQ(PixelAt(animation, 1, 0, 1), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 2, 1, 1), kClear);
}

TEST(GifDecoderTest, FrameCapTruncatesALongAnimation) {
  TestGif file{8, 8, true, {}};
  for (int index = 0; index < 10; ++index)
    file.frames.push_back(FilledGifFrame(0, 0, 8, 8, uint8_t(index % 4)));
  std::vector<uint8_t> bytes = EncodeGif(file);
  const uint64_t canvas = 8 * 8 * 4;
  const struct {
    uint64_t cap;
    size_t frames;
    bool truncated;
  } cases[] = {{0, 1, true}, {canvas * 4, 4, true}, {canvas * 5 - 1, 4, true}, {canvas * 10, 10, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cap);
    ComposedAnimation animation = Compose(bytes, c.cap);
    EXPECT_EQ(animation.status, AnimationStatus::Ok);
    EXPECT_EQ(animation.frames.size(), c.frames);
    EXPECT_EQ(animation.truncated, c.truncated);
  }
}

TEST(GifDecoderTest, LaterFrameFarLargerThanTheScreenEndsTheAnimation) {
  TestGif file{4,
               4,
               false,
               {FilledGifFrame(0, 0, 4, 4, kRed), FilledGifFrame(0, 0, 64, 64, kBlue),
                FilledGifFrame(0, 0, 1, 1, kGreen)}};
  std::vector<uint8_t> bytes = EncodeGif(file);
  DecodeResult opened;
  ASSERT_EQ(OpenGifDecoder(bytes, opened)->Header().frameCount, 3u);
  ComposedAnimation animation = Compose(bytes, 4 * 4 * 4 * 3);
  EXPECT_EQ(animation.status, AnimationStatus::Ok);
  EXPECT_EQ(animation.frames.size(), 1u);
  EXPECT_FALSE(animation.truncated);
}

TEST(GifDecoderTest, CapRuleMatchesTheFullHdCase) {
  const uint64_t canvas = 1920ull * 1080 * 4;
  EXPECT_TRUE(FrameFitsCap(805'306'368, canvas, 96));
  EXPECT_FALSE(FrameFitsCap(805'306'368, canvas, 97));
  EXPECT_TRUE(FrameFitsCap(0, canvas, 0));
  EXPECT_FALSE(FrameFitsCap(0, canvas, 1));
}

TEST(GifDecoderTest, CancelFlagStopsATallFrameBetweenRows) {
  std::vector<uint8_t> bytes = EncodeGif({4, 256, false, {FilledGifFrame(0, 0, 4, 256, kRed)}});
  DecodeResult opened;
  auto decoder = OpenGifDecoder(bytes, opened);
  ASSERT_TRUE(decoder);
  std::atomic<bool> cancel{true};
  Bitmap bitmap;
  EXPECT_FALSE(decoder->Decode(DecodeRequest{.cancel = &cancel}, bitmap).Ok());
  cancel = false;
  EXPECT_TRUE(decoder->Decode(DecodeRequest{.cancel = &cancel}, bitmap).Ok());
}

TEST(GifDecoderTest, CancelFlagStopsComposition) {
  std::vector<uint8_t> bytes =
      EncodeGif({2, 2, false, {FilledGifFrame(0, 0, 2, 2, kRed), FilledGifFrame(0, 0, 1, 1, kBlue)}});
  DecodeResult opened;
  auto decoder = OpenGifDecoder(bytes, opened);
  ASSERT_TRUE(decoder);
  std::atomic<bool> cancel{true};
  EXPECT_EQ(ComposeGifAnimation(*decoder, 1 << 20, &cancel).status, AnimationStatus::Cancelled);
}

TEST(GifDecoderTest, DataEndingInsideALaterFrameKeepsTheFramesBefore) {
  TestGif file{8,
               8,
               false,
               {FilledGifFrame(0, 0, 8, 8, kRed), FilledGifFrame(0, 0, 8, 8, kGreen),
                FilledGifFrame(0, 0, 8, 8, kBlue)}};
  std::vector<uint8_t> bytes = EncodeGif(file);
  bytes.resize(bytes.size() - 8);  // cuts into the last frame's data
  ComposedAnimation animation = Compose(bytes);
  ASSERT_EQ(animation.status, AnimationStatus::Ok);
  EXPECT_EQ(animation.frames.size(), 2u);
  EXPECT_FALSE(animation.truncated);
}

TEST(GifDecoderTest, DamagedFilesFailToOpen) {
  std::vector<uint8_t> whole = EncodeGif({4, 4, false, {FilledGifFrame(0, 0, 4, 4, kRed)}});
  std::vector<uint8_t> cut(whole.begin(), whole.end() - 6);
  std::vector<uint8_t> headerOnly(whole.begin(), whole.begin() + 13);
  std::vector<uint8_t> garbage{'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0x00};
  TestGif colourless{4, 4, false, {FilledGifFrame(0, 0, 4, 4, kRed)}};
  colourless.globalTable = false;  // and no local table: the frame has no colours at all
  std::vector<uint8_t> noTable = EncodeGif(colourless);
  for (const std::vector<uint8_t>* bytes : {&cut, &headerOnly, &garbage, &noTable}) {
    DecodeResult opened;
    EXPECT_EQ(OpenGifDecoder(*bytes, opened), nullptr);
    EXPECT_EQ(opened.status, DecodeStatus::Damaged);
  }
}

}  // namespace
