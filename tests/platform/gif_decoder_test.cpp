#include "platform/imaging/gif_decoder.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "platform/imaging/animation_frames.h"
#include "platform/imaging/gif_composer.h"

namespace {

using namespace Quarlo::Imaging;

// Palette indices used by every test file: 0 black, 1 red, 2 green, 3 blue.
constexpr uint8_t kRed = 1, kGreen = 2, kBlue = 3;
constexpr std::array<uint8_t, 4> kRedPixel{0, 0, 255, 255}, kGreenPixel{0, 255, 0, 255},
    kBluePixel{255, 0, 0, 255}, kClear{0, 0, 0, 0};

struct TestFrame {
  int left = 0, top = 0, width = 1, height = 1;
  std::vector<uint8_t> indices;  // width × height, row by row
  std::optional<int> delay;      // hundredths; no value: no control block
  int disposal = 0;
  int transparent = NO_TRANSPARENT_COLOR;
  bool interlace = false;
  std::vector<GifColorType> localTable = {};  // empty: the global table
};

struct TestGif {
  int width = 4, height = 4;
  bool loopExtension = false;
  std::vector<TestFrame> frames;
  bool globalTable = true;
};

int Append(GifFileType* gif, const GifByteType* bytes, int count) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

ColorMapObject* MakeTable(const std::vector<GifColorType>& colors) {
  return GifMakeMapObject(int(colors.size()), colors.data());
}

void PutLoopExtension(GifFileType* gif) {
  static const uint8_t kName[] = "NETSCAPE2.0";
  static const uint8_t kLoop[] = {1, 0, 0};
  EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
  EGifPutExtensionBlock(gif, 11, kName);
  EGifPutExtensionBlock(gif, 3, kLoop);
  EGifPutExtensionTrailer(gif);
}

void PutFrame(GifFileType* gif, const TestFrame& frame) {
  if (frame.delay) {
    GraphicsControlBlock control{frame.disposal, false, *frame.delay, frame.transparent};
    GifByteType block[4];
    size_t length = EGifGCBToExtension(&control, block);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), block);
  }
  ColorMapObject* local = frame.localTable.empty() ? nullptr : MakeTable(frame.localTable);
  EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlace, local);
  GifFreeMapObject(local);
  std::vector<int> rows;
  if (frame.interlace) {
    for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
      for (int row = start; row < frame.height; row += step) rows.push_back(row);
    }
  } else {
    for (int row = 0; row < frame.height; ++row) rows.push_back(row);
  }
  for (int row : rows) {
    std::vector<GifPixelType> line(frame.indices.begin() + row * frame.width,
                                   frame.indices.begin() + (row + 1) * frame.width);
    EGifPutLine(gif, line.data(), frame.width);
  }
}

std::vector<uint8_t> Encode(const TestGif& file) {
  std::vector<uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, Append, &error);
  EGifSetGifVersion(gif, true);
  ColorMapObject* global =
      file.globalTable ? MakeTable({{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}) : nullptr;
  EGifPutScreenDesc(gif, file.width, file.height, 8, 0, global);
  GifFreeMapObject(global);
  if (file.loopExtension) PutLoopExtension(gif);
  for (const TestFrame& frame : file.frames) PutFrame(gif, frame);
  EGifCloseFile(gif, &error);
  return bytes;
}

TestFrame Filled(int left, int top, int width, int height, uint8_t index, int disposal = 0, int delay = 10) {
  TestFrame frame{left,  top,     width, height, std::vector<uint8_t>(size_t(width) * height, index),
                  delay, disposal};
  return frame;
}

std::array<uint8_t, 4> PixelAt(const ComposedAnimation& animation, size_t frame, int x, int y) {
  const std::vector<uint8_t>& bytes = *animation.frames.at(frame).pixels;
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
  std::vector<uint8_t> bytes = Encode({8, 8, false, {frame}});
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
  EXPECT_EQ(bitmap.pixels, (std::vector<uint8_t>{0, 0, 255, 255, 0, 0, 0, 0}));
}

TEST(GifDecoderTest, DisposalToBackgroundClearsOnlyTheFrameRectangle) {
  TestGif file{
      4,
      4,
      false,
      {Filled(0, 0, 4, 4, kRed), Filled(1, 1, 2, 2, kGreen, kDisposeBackground), Filled(0, 0, 1, 1, kBlue)}};
  ComposedAnimation animation = Compose(Encode(file));
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
  TestGif file{
      4,
      4,
      false,
      {Filled(0, 0, 4, 4, kRed), Filled(1, 1, 2, 2, kGreen, kDisposePrevious), Filled(3, 3, 1, 1, kBlue)}};
  ComposedAnimation animation = Compose(Encode(file));
  ASSERT_EQ(animation.frames.size(), 3u);
  EXPECT_EQ(PixelAt(animation, 1, 1, 1), kGreenPixel);
  EXPECT_EQ(PixelAt(animation, 2, 1, 1), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 2, 2, 2), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 2, 3, 3), kBluePixel);
  EXPECT_FALSE(animation.hasTransparency);
}

TEST(GifDecoderTest, DisposalToPreviousOnTheFirstFrameRestoresTheEmptyScreen) {
  TestGif file{2, 1, false, {Filled(0, 0, 2, 1, kRed, kDisposePrevious), Filled(1, 0, 1, 1, kBlue)}};
  ComposedAnimation animation = Compose(Encode(file));
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(PixelAt(animation, 1, 0, 0), kClear);
  EXPECT_EQ(PixelAt(animation, 1, 1, 0), kBluePixel);
}

TEST(GifDecoderTest, TransparentIndexShowsWhatLiesBelow) {
  TestFrame holes{0, 0, 2, 1, {kGreen, kBlue}, 10, 0, kBlue};
  ComposedAnimation animation = Compose(Encode({2, 1, false, {Filled(0, 0, 2, 1, kRed), holes}}));
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(PixelAt(animation, 1, 0, 0), kGreenPixel);
  EXPECT_EQ(PixelAt(animation, 1, 1, 0), kRedPixel);
}

TEST(GifDecoderTest, LocalColourTableOverridesTheGlobalOne) {
  TestFrame local = Filled(0, 0, 1, 1, 1);
  local.localTable = {{0, 0, 0}, {10, 20, 30}};
  ComposedAnimation animation = Compose(Encode({1, 1, false, {Filled(0, 0, 1, 1, kRed), local}}));
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(PixelAt(animation, 0, 0, 0), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 1, 0, 0), (std::array<uint8_t, 4>{30, 20, 10, 255}));
}

TEST(GifDecoderTest, InterlacedRowsLandInPlace) {
  TestFrame tall{0, 0, 1, 11, {}, 10};
  for (int row = 0; row < 11; ++row) tall.indices.push_back(uint8_t(row % 4));
  tall.interlace = true;
  std::vector<uint8_t> bytes = Encode({1, 11, false, {tall}});
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
    TestFrame frame = Filled(0, 0, 1, 1, kRed);
    frame.delay = c.stored;
    file.frames.push_back(frame);
  }
  ComposedAnimation animation = Compose(Encode(file));
  ASSERT_EQ(animation.frames.size(), std::size(cases));
  for (size_t index = 0; index < std::size(cases); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(animation.frames[index].delayMs, cases[index].shown);
  }
}

TEST(GifDecoderTest, FramesOnALargerScreenSitAtTheirOffsets) {
  TestGif file{4, 3, false, {Filled(1, 1, 1, 1, kRed), Filled(3, 2, 1, 1, kBlue)}};
  ComposedAnimation animation = Compose(Encode(file));
  ASSERT_EQ(animation.width, 4u);
  ASSERT_EQ(animation.height, 3u);
  EXPECT_EQ(PixelAt(animation, 0, 0, 0), kClear);
  EXPECT_EQ(PixelAt(animation, 0, 1, 1), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 1, 1, 1), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 1, 3, 2), kBluePixel);
  EXPECT_TRUE(animation.hasTransparency);
}

TEST(GifDecoderTest, FramePartlyOffTheScreenIsClipped) {
  TestGif file{
      2,
      2,
      false,
      {Filled(0, 0, 2, 2, kRed), Filled(1, 1, 3, 3, kBlue, kDisposeBackground), Filled(0, 0, 1, 1, kGreen)}};
  ComposedAnimation animation = Compose(Encode(file));
  ASSERT_EQ(animation.frames.size(), 3u);
  EXPECT_EQ(PixelAt(animation, 1, 1, 1), kBluePixel);
  EXPECT_EQ(PixelAt(animation, 1, 0, 1), kRedPixel);
  EXPECT_EQ(PixelAt(animation, 2, 1, 1), kClear);
}

TEST(GifDecoderTest, FrameCapTruncatesALongAnimation) {
  TestGif file{8, 8, true, {}};
  for (int index = 0; index < 10; ++index) file.frames.push_back(Filled(0, 0, 8, 8, uint8_t(index % 4)));
  std::vector<uint8_t> bytes = Encode(file);
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
  TestGif file{
      4, 4, false, {Filled(0, 0, 4, 4, kRed), Filled(0, 0, 64, 64, kBlue), Filled(0, 0, 1, 1, kGreen)}};
  std::vector<uint8_t> bytes = Encode(file);
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

TEST(GifDecoderTest, CancelFlagStopsComposition) {
  std::vector<uint8_t> bytes = Encode({2, 2, false, {Filled(0, 0, 2, 2, kRed), Filled(0, 0, 1, 1, kBlue)}});
  DecodeResult opened;
  auto decoder = OpenGifDecoder(bytes, opened);
  ASSERT_TRUE(decoder);
  std::atomic<bool> cancel{true};
  EXPECT_EQ(ComposeGifAnimation(*decoder, 1 << 20, &cancel).status, AnimationStatus::Cancelled);
}

TEST(GifDecoderTest, DataEndingInsideALaterFrameKeepsTheFramesBefore) {
  TestGif file{
      8, 8, false, {Filled(0, 0, 8, 8, kRed), Filled(0, 0, 8, 8, kGreen), Filled(0, 0, 8, 8, kBlue)}};
  std::vector<uint8_t> bytes = Encode(file);
  bytes.resize(bytes.size() - 8);  // cuts into the last frame's data
  ComposedAnimation animation = Compose(bytes);
  ASSERT_EQ(animation.status, AnimationStatus::Ok);
  EXPECT_EQ(animation.frames.size(), 2u);
  EXPECT_FALSE(animation.truncated);
}

TEST(GifDecoderTest, DamagedFilesFailToOpen) {
  std::vector<uint8_t> whole = Encode({4, 4, false, {Filled(0, 0, 4, 4, kRed)}});
  std::vector<uint8_t> cut(whole.begin(), whole.end() - 6);
  std::vector<uint8_t> headerOnly(whole.begin(), whole.begin() + 13);
  std::vector<uint8_t> garbage{'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0x00};
  TestGif colourless{4, 4, false, {Filled(0, 0, 4, 4, kRed)}};
  colourless.globalTable = false;  // and no local table: the frame has no colours at all
  std::vector<uint8_t> noTable = Encode(colourless);
  for (const std::vector<uint8_t>* bytes : {&cut, &headerOnly, &garbage, &noTable}) {
    DecodeResult opened;
    EXPECT_EQ(OpenGifDecoder(*bytes, opened), nullptr);
    EXPECT_EQ(opened.status, DecodeStatus::Damaged);
  }
}

}  // namespace
