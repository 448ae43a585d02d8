#include <gtest/gtest.h>

#include "core/loaded_picture.h"

// Fixtures are written with designated initializers that name only the fields a case changes.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "core/picture_list.h"
#include "core/zip_reader.h"
#include "support/fixture_pictures.h"
#include "support/fuzz_regressions.h"
#include "support/gif_builder.h"
#include "support/special_files.h"
#include "support/temp_folder.h"
#include "support/zip_builder.h"

namespace Quarlo::View {
namespace {

namespace Fx = Quarlo::Test;
using Fx::RgbaImage;

struct Bgra {
  int b, g, r, a;
  bool operator==(const Bgra&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Bgra& p) {
  return os << "{b" << p.b << " g" << p.g << " r" << p.r << " a" << p.a << "}";
}

Bgra PixelAt(const LoadedPicture& picture, int x, int y, size_t frame = 0) {
  const uint8_t* p = picture.frames.at(frame).pixels->data() + (size_t(y) * picture.width + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

bool Near(const Bgra& a, const Bgra& b, int tolerance) {
  return std::abs(a.b - b.b) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.r - b.r) <= tolerance && a.a == b.a;
}

PicturePtr Decode(const std::vector<uint8_t>& bytes, const DecodeOptions& options = {},
                  std::string_view name = "x") {
  return LoadPictureBytes(bytes, name, options);
}

DecodeOptions Box(int32_t side) {
  DecodeOptions options;
  options.maxWidth = options.maxHeight = side;
  return options;
}

// Three columns and two rows of distinct colours: every turn and mirror moves them somewhere else.
RgbaImage Asymmetric() {
  RgbaImage image = RgbaImage::Filled(3, 2, 0, 0, 0);
  for (uint32_t i = 0; i < 6; ++i) image.Set(i % 3, i / 3, uint8_t(10 + i * 40), uint8_t(i * 7), 200);
  return image;
}

TEST(LoadPictureTest, JpegDecodesToOpaqueBgraWithItsSizes) {
  auto picture = Decode(Fx::EncodeJpeg(RgbaImage::Filled(64, 48, 200, 100, 50)), {}, "photo.jpg");
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->format, "JPEG");
  EXPECT_EQ(picture->key, "photo.jpg");
  EXPECT_EQ(picture->width, 64);
  EXPECT_EQ(picture->height, 48);
  EXPECT_EQ(picture->sourceWidth, 64);
  EXPECT_EQ(picture->bitsPerPixel, 24);
  EXPECT_FALSE(picture->hasTransparency);
  ASSERT_EQ(picture->frames.size(), 1u);
  EXPECT_EQ(picture->frames[0].delayMs, 0u);
  EXPECT_TRUE(Near(PixelAt(*picture, 10, 10), {50, 100, 200, 255}, 3)) << PixelAt(*picture, 10, 10);
  EXPECT_EQ(picture->metadata.orientation, 1u);
  EXPECT_EQ(picture->cost, 64u * 48 * 4 + 256);
  ASSERT_EQ(picture->tiles.size(), 1u);
  ASSERT_EQ(picture->tiles[0].size(), 1u);
  EXPECT_EQ(picture->tiles[0][0].pixels, picture->frames[0].pixels);
}

TEST(LoadPictureTest, GreyAndCmykJpegsComeOutAsColour) {
  RgbaImage red = RgbaImage::Filled(32, 16, 220, 30, 40);
  auto grey = Decode(Fx::EncodeJpeg(RgbaImage::Filled(16, 16, 90, 90, 90), {.grey = true}));
  ASSERT_EQ(grey->error, LoadError::None);
  EXPECT_EQ(grey->bitsPerPixel, 8);
  EXPECT_TRUE(Near(PixelAt(*grey, 3, 3), {90, 90, 90, 255}, 2));
  for (bool adobe : {true, false}) {
    SCOPED_TRACE(adobe ? "Adobe inverted CMYK" : "plain CMYK");
    auto cmyk = Decode(Fx::EncodeJpeg(red, {.quality = 100, .cmyk = true, .adobeMarker = adobe}));
    ASSERT_EQ(cmyk->error, LoadError::None);
    EXPECT_EQ(cmyk->bitsPerPixel, 32);
    EXPECT_TRUE(Near(PixelAt(*cmyk, 5, 5), {40, 30, 220, 255}, 4)) << PixelAt(*cmyk, 5, 5);
  }
}

TEST(LoadPictureTest, TurnedJpegThumbnailFitsTheBoxAfterTheTurn) {
  Fx::JpegOptions options{.quality = 50, .exif = Fx::BuildExif({.orientation = 6})};
  auto bytes = Fx::EncodeJpeg(RgbaImage::Filled(4000, 3000, 30, 60, 90), options);
  auto full = Decode(bytes);
  ASSERT_EQ(full->error, LoadError::None);
  EXPECT_EQ(full->width, 3000);
  EXPECT_EQ(full->height, 4000);
  EXPECT_EQ(full->sourceWidth, 4000);
  EXPECT_EQ(full->sourceHeight, 3000);
  EXPECT_EQ(full->metadata.orientation, 6u);
  auto thumbnail = Decode(bytes, ThumbnailOptions({}));
  ASSERT_EQ(thumbnail->error, LoadError::None);
  EXPECT_EQ(thumbnail->width, 192);
  EXPECT_EQ(thumbnail->height, 256);
  EXPECT_EQ(thumbnail->sourceWidth, 4000);
  EXPECT_TRUE(Near(PixelAt(*thumbnail, 100, 100), {90, 60, 30, 255}, 4)) << PixelAt(*thumbnail, 100, 100);
  DecodeOptions unturned = ThumbnailOptions({});
  unturned.applyOrientation = false;
  auto plain = Decode(bytes, unturned);
  EXPECT_EQ(plain->width, 256);
  EXPECT_EQ(plain->height, 192);
}

TEST(LoadPictureTest, ThumbnailsHaveTheBoxSizeWhateverTheDctScaleGives) {
  // 1/8 scale gives 256 × 126 here; the box wants 256 × 125.
  auto thumbnail =
      Decode(Fx::EncodeJpeg(RgbaImage::Filled(2048, 1001, 30, 60, 90), {.quality = 50}), Box(256));
  ASSERT_EQ(thumbnail->error, LoadError::None);
  EXPECT_EQ(thumbnail->width, 256);
  EXPECT_EQ(thumbnail->height, 125);
  auto small = Decode(Fx::EncodeJpeg(RgbaImage::Filled(200, 100, 30, 60, 90)), Box(256));
  EXPECT_EQ(small->width, 200);  // smaller than the box: left as it is
  EXPECT_EQ(small->height, 100);
}

DecodeOptions PreviewBox(int32_t width, int32_t height) {
  return DecodeOptions{.maxWidth = width, .maxHeight = height, .preview = true};
}

// A preview covers the box with DCT-reduced pixels in its one tile, while every size it reports is the
// full picture's: the view fits, zooms and describes it as the full picture.
TEST(LoadPictureTest, JpegPreviewHasTheFullSizesAndSmallerPixelsThatCoverTheBox) {
  const struct {
    const char* name;
    uint32_t orientation;
    int32_t width, height;            // as shown, after the turn
    int32_t pixelWidth, pixelHeight;  // at 2/8 the stored 4000 × 3000, turned
  } cases[] = {
      {"upright", 1, 4000, 3000, 1000, 750},
      {"turned a quarter", 6, 3000, 4000, 750, 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fx::JpegOptions options{.quality = 50, .exif = Fx::BuildExif({.orientation = c.orientation})};
    auto bytes = Fx::EncodeJpeg(RgbaImage::Filled(4000, 3000, 30, 60, 90), options);
    auto turnedBox = c.orientation == 6 ? PreviewBox(700, 900) : PreviewBox(900, 700);
    auto preview = Decode(bytes, turnedBox);
    ASSERT_EQ(preview->error, LoadError::None);
    EXPECT_TRUE(preview->preview);
    EXPECT_EQ(preview->width, c.width);
    EXPECT_EQ(preview->height, c.height);
    EXPECT_EQ(preview->sourceWidth, 4000);
    EXPECT_EQ(preview->format, "JPEG");
    ASSERT_EQ(preview->frames.size(), 1u);
    EXPECT_EQ(preview->frames[0].pixels, nullptr);  // nothing takes the small pixels for the picture's
    ASSERT_EQ(preview->tiles.size(), 1u);
    ASSERT_EQ(preview->tiles[0].size(), 1u);
    const PictureTile& tile = preview->tiles[0][0];
    EXPECT_EQ(tile.width, c.width);
    EXPECT_EQ(tile.height, c.height);
    EXPECT_EQ(tile.PixelWidth(), c.pixelWidth);
    EXPECT_EQ(tile.PixelHeight(), c.pixelHeight);
    ASSERT_NE(tile.pixels, nullptr);
    ASSERT_EQ(tile.pixels->size(), size_t(c.pixelWidth) * c.pixelHeight * 4);
    const uint8_t* p = tile.pixels->data() + (size_t(100) * c.pixelWidth + 100) * 4;
    EXPECT_TRUE(Near({p[0], p[1], p[2], p[3]}, {90, 60, 30, 255}, 4));
    EXPECT_TRUE(tile.levels.empty());
    EXPECT_EQ(preview->cost, kPictureOverheadCost + uint64_t(c.pixelWidth) * c.pixelHeight * 4);
  }
}

// The full picture after a preview takes the preview's pixels as its halved copy of that size (and
// halves the smaller copies from them), so the two together hold no view twice; a preview of another
// size is left alone.
TEST(LoadPictureTest, FullPictureTakesItsPreviewAsTheHalvedCopyOfItsSize) {
  auto bytes = Fx::EncodeJpeg(RgbaImage::Filled(4000, 3000, 30, 60, 90), {.quality = 50});
  const struct {
    const char* name;
    DecodeOptions box;
    bool taken;
  } cases[] = {
      {"a quarter of the size", PreviewBox(900, 700), true},  // 1000 × 750: the second copy
      {"three eighths", PreviewBox(1400, 1000), false},       // 1500 × 1125: no copy has that size
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto preview = Decode(bytes, c.box);
    ASSERT_TRUE(preview->preview);
    DecodeOptions full;
    full.shownPreview = preview;
    auto picture = Decode(bytes, full);
    ASSERT_EQ(picture->error, LoadError::None);
    ASSERT_EQ(picture->tiles.at(0).size(), 1u);
    const std::vector<PictureLevel>& levels = picture->tiles[0][0].levels;
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[1].width, 1000);
    EXPECT_EQ(levels[1].height, 750);
    EXPECT_EQ(levels[1].pixels == preview->tiles[0][0].pixels, c.taken);
    EXPECT_EQ(levels[2].width, 500);
    EXPECT_EQ(levels[2].height, 375);
    const uint8_t* p = levels[2].pixels->data() + (size_t(100) * 500 + 100) * 4;
    EXPECT_TRUE(Near({p[0], p[1], p[2], p[3]}, {90, 60, 30, 255}, 4));
  }
}

TEST(LoadPictureTest, PreviewIsTheWholePictureWhereNothingIsSaved) {
  auto jpeg = Fx::EncodeJpeg(RgbaImage::Filled(640, 480, 30, 60, 90), {.quality = 50});
  auto png = Fx::EncodePng(RgbaImage::Filled(640, 480, 30, 60, 90));
  auto wide = Fx::EncodeJpeg(RgbaImage::Filled(8000, 64, 30, 60, 90), {.quality = 50});
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    DecodeOptions options;
    int32_t width, height;
  } cases[] = {
      {"picture within the box", jpeg, PreviewBox(800, 600), 640, 480},
      {"backend without reduced decoding", png, PreviewBox(320, 240), 640, 480},
      {"preview too large for one tile", wide, PreviewBox(6000, 64), 8000, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = Decode(c.bytes, c.options);
    ASSERT_EQ(picture->error, LoadError::None);
    EXPECT_FALSE(picture->preview);
    EXPECT_EQ(picture->width, c.width);
    EXPECT_EQ(picture->height, c.height);
    uint64_t pixels = 0;
    for (const PictureTile& tile : picture->tiles.at(0)) {
      EXPECT_EQ(tile.PixelWidth(), tile.width);
      pixels += uint64_t(tile.width) * tile.height;
    }
    EXPECT_EQ(pixels, uint64_t(c.width) * c.height);
  }
  // A box alone still shrinks a thumbnail to it, and the thumbnail options never ask for a preview.
  EXPECT_FALSE(ThumbnailOptions(PreviewBox(800, 600)).preview);
}

TEST(LoadPictureTest, EveryExifOrientationMovesThePixelsAsTheTableSays) {
  const RgbaImage source = Asymmetric();
  // Expected output: for each output pixel, the index (x + 3y) of the input pixel it shows.
  struct Case {
    uint16_t orientation;
    int width, height;
    std::vector<int> from;
  };
  const Case cases[] = {
      {1, 3, 2, {0, 1, 2, 3, 4, 5}}, {2, 3, 2, {2, 1, 0, 5, 4, 3}}, {3, 3, 2, {5, 4, 3, 2, 1, 0}},
      {4, 3, 2, {3, 4, 5, 0, 1, 2}}, {5, 2, 3, {0, 3, 1, 4, 2, 5}}, {6, 2, 3, {3, 0, 4, 1, 5, 2}},
      {7, 2, 3, {5, 2, 4, 1, 3, 0}}, {8, 2, 3, {2, 5, 1, 4, 0, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.orientation);
    auto bytes =
        Fx::EncodePng(source, {.colourType = 2, .exif = Fx::BuildExif({.orientation = c.orientation})});
    auto picture = Decode(bytes);
    ASSERT_EQ(picture->error, LoadError::None);
    EXPECT_EQ(picture->metadata.orientation, c.orientation);
    ASSERT_EQ(picture->width, c.width);
    ASSERT_EQ(picture->height, c.height);
    for (int i = 0; i < 6; ++i) {
      const uint8_t* expected = &source.rgba[size_t(c.from[i]) * 4];
      EXPECT_EQ(PixelAt(*picture, i % c.width, i / c.width),
                (Bgra{expected[2], expected[1], expected[0], 255}))
          << i;
    }
    DecodeOptions off;
    off.applyOrientation = false;
    auto stored = Decode(bytes, off);
    EXPECT_EQ(stored->width, 3);
    EXPECT_EQ(PixelAt(*stored, 2, 1), (Bgra{200, 35, 210, 255}));
  }
}

TEST(LoadPictureTest, PngKindsDecodeToPremultipliedBgra) {
  RgbaImage image = RgbaImage::Filled(5, 3, 200, 100, 50, 128);
  image.Set(0, 0, 10, 20, 30, 255);
  image.Set(1, 0, 0, 0, 0, 0);
  struct Case {
    const char* name;
    Fx::PngOptions options;
    Bgra at00, at10, at44;  // pixels (0,0), (1,0), (4,2)
    int bitsPerPixel;
    bool transparent;
  };
  const Case cases[] = {
      {"RGBA 8", {.colourType = 6}, {30, 20, 10, 255}, {0, 0, 0, 0}, {25, 50, 100, 128}, 32, true},
      {"RGBA 16",
       {.colourType = 6, .bitDepth = 16},
       {30, 20, 10, 255},
       {0, 0, 0, 0},
       {25, 50, 100, 128},
       64,
       true},
      {"RGBA interlaced",
       {.colourType = 6, .interlaced = true},
       {30, 20, 10, 255},
       {0, 0, 0, 0},
       {25, 50, 100, 128},
       32,
       true},
      {"palette with tRNS", {.colourType = 3}, {30, 20, 10, 255}, {0, 0, 0, 0}, {25, 50, 100, 128}, 8, true},
      {"RGB", {.colourType = 2}, {30, 20, 10, 255}, {0, 0, 0, 255}, {50, 100, 200, 255}, 24, false},
      {"grey with alpha", {.colourType = 4}, {10, 10, 10, 255}, {0, 0, 0, 0}, {100, 100, 100, 128}, 16, true},
      {"grey 16",
       {.colourType = 0, .bitDepth = 16},
       {10, 10, 10, 255},
       {0, 0, 0, 255},
       {200, 200, 200, 255},
       16,
       false},
      {"grey 1 bit",
       {.colourType = 0, .bitDepth = 1},
       {0, 0, 0, 255},
       {0, 0, 0, 255},
       {255, 255, 255, 255},
       1,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = Decode(Fx::EncodePng(image, c.options));
    ASSERT_EQ(picture->error, LoadError::None);
    EXPECT_EQ(picture->format, "PNG");
    EXPECT_EQ(picture->bitsPerPixel, c.bitsPerPixel);
    EXPECT_EQ(picture->hasTransparency, c.transparent);
    EXPECT_EQ(PixelAt(*picture, 0, 0), c.at00);
    EXPECT_EQ(PixelAt(*picture, 1, 0), c.at10);
    EXPECT_EQ(PixelAt(*picture, 4, 2), c.at44);
  }
}

TEST(LoadPictureTest, TaggedPictureIsConvertedToSrgbOnlyWithColourManagement) {
  // A linear-light profile: stored 128 is far brighter in sRGB terms (about 188).
  RgbaImage image = RgbaImage::Filled(4, 4, 128, 128, 128);
  for (double version : {2.1, 4.3}) {
    SCOPED_TRACE(version);
    auto bytes =
        Fx::EncodePng(image, {.colourType = 2, .icc = Fx::GammaProfile(1.0, "Linear Test RGB", version)});
    auto managed = Decode(bytes);
    ASSERT_EQ(managed->error, LoadError::None);
    EXPECT_EQ(managed->metadata.colorProfile, "Linear Test RGB");
    EXPECT_TRUE(Near(PixelAt(*managed, 1, 1), {188, 188, 188, 255}, 3)) << PixelAt(*managed, 1, 1);
    DecodeOptions off;
    off.colorManage = false;
    auto unmanaged = Decode(bytes, off);
    EXPECT_EQ(unmanaged->metadata.colorProfile, "Linear Test RGB");
    EXPECT_EQ(PixelAt(*unmanaged, 1, 1), (Bgra{128, 128, 128, 255}));
  }
  // Translucent pixels are converted by their colour, not by their premultiplied value.
  RgbaImage translucent = RgbaImage::Filled(4, 4, 128, 128, 128, 128);
  auto converted = Decode(Fx::EncodePng(translucent, {.icc = Fx::GammaProfile(1.0, "Linear Test RGB")}));
  ASSERT_EQ(converted->error, LoadError::None);
  EXPECT_TRUE(Near(PixelAt(*converted, 1, 1), {94, 94, 94, 128}, 2)) << PixelAt(*converted, 1, 1);
  // A profile that calls itself sRGB is trusted and left alone.
  auto named = Decode(Fx::EncodePng(image, {.colourType = 2, .icc = Fx::GammaProfile(1.0, "fake sRGB")}));
  EXPECT_EQ(named->metadata.colorProfile, "fake sRGB");
  EXPECT_EQ(PixelAt(*named, 1, 1), (Bgra{128, 128, 128, 255}));
}

TEST(LoadPictureTest, TaggedJpegIsConvertedToo) {
  auto bytes = Fx::EncodeJpeg(RgbaImage::Filled(16, 16, 128, 128, 128),
                              {.quality = 100, .icc = Fx::GammaProfile(1.0, "Linear Test RGB")});
  auto picture = Decode(bytes);
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->metadata.colorProfile, "Linear Test RGB");
  EXPECT_TRUE(Near(PixelAt(*picture, 4, 4), {188, 188, 188, 255}, 3)) << PixelAt(*picture, 4, 4);
}

TEST(LoadPictureTest, WebpStillsDecodeThroughTheirOwnPath) {
  RgbaImage image = RgbaImage::Filled(40, 20, 200, 100, 50, 128);
  auto alpha = Decode(Fx::EncodeWebp(image, true, true), {}, "a.webp");
  ASSERT_EQ(alpha->error, LoadError::None);
  EXPECT_EQ(alpha->format, "WebP");
  EXPECT_EQ(alpha->bitsPerPixel, 32);
  EXPECT_TRUE(alpha->hasTransparency);
  EXPECT_TRUE(Near(PixelAt(*alpha, 3, 3), {25, 50, 100, 128}, 1)) << PixelAt(*alpha, 3, 3);
  auto opaque = Decode(Fx::EncodeWebp(image, false, false), {}, "b.webp");
  ASSERT_EQ(opaque->error, LoadError::None);
  EXPECT_EQ(opaque->bitsPerPixel, 24);
  EXPECT_FALSE(opaque->hasTransparency);
  auto thumbnail = Decode(Fx::EncodeWebp(RgbaImage::Filled(1000, 500, 9, 9, 9), false, false), Box(256));
  ASSERT_EQ(thumbnail->error, LoadError::None);
  EXPECT_EQ(thumbnail->width, 256);
  EXPECT_EQ(thumbnail->height, 128);
  EXPECT_EQ(thumbnail->sourceWidth, 1000);
}

TEST(LoadPictureTest, LibraryFormatsDecodeToTheSamePixels) {
  RgbaImage image = RgbaImage::Filled(24, 16, 200, 100, 50, 128);
  image.Set(0, 0, 10, 20, 30, 255);
  const Bgra corner{30, 20, 10, 255}, body{25, 50, 100, 128};
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* format;
    int bitsPerPixel;
    bool alpha;
  };
  const Case cases[] = {
      {"TIFF 8-bit RGBA", Fx::EncodeTiff(image, 8, true), "TIFF", 32, true},
      {"TIFF 16-bit RGBA", Fx::EncodeTiff(image, 16, true), "TIFF", 64, true},
      {"TIFF 8-bit RGB", Fx::EncodeTiff(image, 8, false), "TIFF", 24, false},
      {"JPEG XL RGBA", Fx::EncodeJxl(image, true), "JPEG XL", 32, true},
      {"JPEG XL RGB", Fx::EncodeJxl(image, false), "JPEG XL", 24, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = Decode(c.bytes);
    ASSERT_EQ(picture->error, LoadError::None) << picture->errorCode;
    EXPECT_EQ(picture->format, c.format);
    EXPECT_EQ(picture->bitsPerPixel, c.bitsPerPixel);
    EXPECT_EQ(picture->width, 24);
    EXPECT_EQ(picture->height, 16);
    EXPECT_EQ(picture->hasTransparency, c.alpha);
    EXPECT_TRUE(Near(PixelAt(*picture, 0, 0), corner, 1)) << PixelAt(*picture, 0, 0);
    EXPECT_TRUE(Near(PixelAt(*picture, 5, 5), c.alpha ? body : Bgra{50, 100, 200, 255}, 1))
        << PixelAt(*picture, 5, 5);
  }
}

TEST(LoadPictureTest, TiffOrientationTagTurnsThePicture) {
  auto picture = Decode(Fx::EncodeTiff(Asymmetric(), 8, false, 6));
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->metadata.orientation, 6u);
  EXPECT_EQ(picture->width, 2);
  EXPECT_EQ(picture->height, 3);
  // Orientation 6 shows input pixel 3 (column 0, row 1) at the top left.
  EXPECT_EQ(PixelAt(*picture, 0, 0), (Bgra{200, 21, 130, 255}));
}

TEST(LoadPictureTest, HeifAndAvifDecodeWhereTheirCodecsExist) {
  RgbaImage image = RgbaImage::Filled(64, 64, 40, 160, 220);
  struct Case {
    const char* name;
    int compression;
    const char* format;
  };
  const Case cases[] = {{"HEIC", 1 /* heif_compression_HEVC */, "HEIF"},
                        {"AVIF", 4 /* heif_compression_AV1 */, "AVIF"}};
  int decoded = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = Fx::EncodeHeif(image, c.compression);
    if (bytes.empty()) continue;
    auto picture = Decode(bytes);
    if (picture->error == LoadError::NoCodec) continue;  // encoder present, decoder plugin missing
    ASSERT_EQ(picture->error, LoadError::None) << picture->errorCode;
    ++decoded;
    EXPECT_EQ(picture->format, c.format);
    EXPECT_EQ(picture->width, 64);
    EXPECT_EQ(picture->bitsPerPixel, 24);
    EXPECT_TRUE(Near(PixelAt(*picture, 32, 32), {220, 160, 40, 255}, 8)) << PixelAt(*picture, 32, 32);
  }
  if (decoded == 0) GTEST_SKIP() << "libheif has neither HEVC nor AV1 here";
}

TEST(LoadPictureTest, GifIsAnAnimationOnlyWithoutABox) {
  Fx::TestGif two{.width = 600,
                  .height = 300,
                  .frames = {Fx::FilledGifFrame(0, 0, 600, 300, Fx::kGifRed),
                             Fx::FilledGifFrame(0, 0, 600, 300, Fx::kGifBlue)}};
  auto bytes = Fx::EncodeGif(two);
  auto animation = Decode(bytes);
  ASSERT_EQ(animation->error, LoadError::None);
  EXPECT_EQ(animation->format, "GIF");
  EXPECT_EQ(animation->bitsPerPixel, 8);
  ASSERT_EQ(animation->frames.size(), 2u);
  EXPECT_EQ(animation->cost, 2u * 600 * 300 * 4 + 256);
  EXPECT_EQ(animation->tiles.size(), 2u);
  auto thumbnail = Decode(bytes, ThumbnailOptions({}));
  ASSERT_EQ(thumbnail->error, LoadError::None);
  ASSERT_EQ(thumbnail->frames.size(), 1u);
  EXPECT_EQ(thumbnail->width, 256);
  EXPECT_EQ(thumbnail->height, 128);
  EXPECT_EQ(PixelAt(*thumbnail, 100, 100), (Bgra{0, 0, 255, 255}));
  Fx::TestGif one{.width = 8, .height = 8, .frames = {Fx::FilledGifFrame(0, 0, 8, 8, Fx::kGifGreen)}};
  auto still = Decode(Fx::EncodeGif(one));
  ASSERT_EQ(still->error, LoadError::None);
  EXPECT_EQ(still->frames.size(), 1u);
  EXPECT_EQ(still->frames[0].delayMs, 0u);
}

TEST(LoadPictureTest, AnimatedWebpIsItsFirstFrameAsAThumbnail) {
  auto bytes = Fx::EncodeAnimatedWebp(
      {RgbaImage::Filled(400, 200, 255, 0, 0), RgbaImage::Filled(400, 200, 0, 0, 255)}, 50);
  auto animation = Decode(bytes, {}, "a.webp");
  ASSERT_EQ(animation->error, LoadError::None);
  EXPECT_EQ(animation->format, "WebP");
  EXPECT_EQ(animation->bitsPerPixel, 32);
  EXPECT_EQ(animation->frames.size(), 2u);
  auto thumbnail = Decode(bytes, ThumbnailOptions({}), "a.webp");
  ASSERT_EQ(thumbnail->error, LoadError::None);
  ASSERT_EQ(thumbnail->frames.size(), 1u);
  EXPECT_EQ(thumbnail->format, "WebP");
  EXPECT_EQ(thumbnail->width, 256);
  EXPECT_EQ(thumbnail->height, 128);
  EXPECT_EQ(thumbnail->sourceWidth, 400);
  EXPECT_EQ(PixelAt(*thumbnail, 10, 10), (Bgra{0, 0, 255, 255}));
}

TEST(LoadPictureTest, RaisedCancelFlagStopsRowByRowDecoding) {
  std::atomic<bool> cancel{true};
  DecodeOptions options;
  options.cancel = &cancel;
  RgbaImage image = RgbaImage::Photo(64, 64);
  for (const auto& bytes : {Fx::EncodeJpeg(image), Fx::EncodePng(image)}) {
    EXPECT_EQ(Decode(bytes, options)->error, LoadError::Damaged);
    DecodeOptions thumbnail = Box(16);
    thumbnail.cancel = &cancel;
    EXPECT_EQ(Decode(bytes, thumbnail)->error, LoadError::Damaged);
  }
  cancel = false;
  EXPECT_EQ(Decode(Fx::EncodePng(image), options)->error, LoadError::None);
}

TEST(LoadPictureTest, ContentDecidesTheDecoderNotTheName) {
  auto jpegAsPng = Decode(Fx::EncodeJpeg(RgbaImage::Filled(8, 8, 1, 2, 3)), {}, "photo.png");
  EXPECT_EQ(jpegAsPng->error, LoadError::None);
  EXPECT_EQ(jpegAsPng->format, "JPEG");
  auto webpAsPng = Decode(Fx::EncodeWebp(RgbaImage::Filled(8, 8, 1, 2, 3), true, false), {}, "photo.png");
  EXPECT_EQ(webpAsPng->error, LoadError::None);
  EXPECT_EQ(webpAsPng->format, "WebP");
}

std::vector<uint8_t> Truncated(std::vector<uint8_t> bytes, size_t keep) {
  bytes.resize(keep);
  return bytes;
}

TEST(LoadPictureTest, BrokenInputGivesTheRightError) {
  auto jpeg = Fx::EncodeJpeg(RgbaImage::Photo(64, 64));
  auto png = Fx::EncodePng(RgbaImage::Photo(64, 64));
  auto webp = Fx::EncodeWebp(RgbaImage::Photo(64, 64), false, false);
  std::vector<uint8_t> badCrc = png;
  badCrc[20] ^= 0xFF;  // inside IHDR
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::string_view fileName;
    LoadError error;
  };
  const Case cases[] = {
      {"empty", {}, "a.jpg", LoadError::Damaged},
      {"unknown content",
       {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'},
       "a.jpg",
       LoadError::NoCodec},
      {"unknown content named webp", {'h', 'e', 'l', 'l', 'o'}, "a.webp", LoadError::Damaged},
      {"JPEG cut in the header", Truncated(jpeg, 40), "a.jpg", LoadError::Damaged},
      {"JPEG cut in the data", Truncated(jpeg, jpeg.size() / 2), "a.jpg", LoadError::Damaged},
      {"PNG cut in the data", Truncated(png, png.size() / 2), "a.png", LoadError::Damaged},
      {"PNG with a damaged header", badCrc, "a.png", LoadError::Damaged},
      {"WebP cut in the data", Truncated(webp, webp.size() / 2), "a.webp", LoadError::Damaged},
      {"WebP signature alone", Truncated(webp, 16), "a.webp", LoadError::Damaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = Decode(c.bytes, {}, c.fileName);
    EXPECT_EQ(picture->error, c.error);
    EXPECT_TRUE(picture->frames.empty());
    EXPECT_TRUE(picture->format.empty());
    EXPECT_EQ(picture->cost, 256u);
    EXPECT_EQ(picture->width, 0);
  }
}

// A PNG whose header declares the given size and whose data holds one row of zeros: decoding it
// would need the whole pixel buffer.
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height) {
  auto bytes = Fx::EncodePng(RgbaImage::Filled(1, 1, 0, 0, 0), {.colourType = 2});
  for (int i = 0; i < 4; ++i)
    bytes[16 + i] = uint8_t(width >> (24 - 8 * i)), bytes[20 + i] = uint8_t(height >> (24 - 8 * i));
  // Fix the IHDR CRC so that only the size is unusual.
  uint32_t crc = 0xFFFFFFFF;
  for (int i = 12; i < 29; ++i) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  crc ^= 0xFFFFFFFF;
  for (int i = 0; i < 4; ++i) bytes[29 + i] = uint8_t(crc >> (24 - 8 * i));
  return bytes;
}

// The inputs the fuzz targets found (tests/fuzz/regressions) through the whole pipeline: each gives a
// picture or an error, never both or neither; under the sanitizers a leak or an overrun fails the program.
TEST(LoadPictureTest, FuzzFindingsGiveAPictureOrAnError) {
  const std::vector<Fx::RegressionInput> inputs = Fx::FuzzRegressionInputs();
  ASSERT_FALSE(inputs.empty());
  for (const Fx::RegressionInput& input : inputs) {
    auto picture = LoadPictureBytes(input.bytes, input.name, {});
    EXPECT_EQ(picture->frames.empty(), picture->error != LoadError::None) << input.name;
  }
}

TEST(LoadPictureTest, PicturesOverFourHundredMegapixelsAreRefusedBeforeDecoding) {
  auto over = Decode(PngClaiming(20000, 20001));
  EXPECT_EQ(over->error, LoadError::TooLarge);
  EXPECT_TRUE(over->frames.empty());
  auto huge = Decode(PngClaiming(0x7FFFFFFF, 0x7FFFFFFF));
  EXPECT_EQ(huge->error, LoadError::TooLarge);
  // libjpeg reads frame headers up to 65500 × 65500.
  auto jpeg = Fx::EncodeJpeg(RgbaImage::Filled(8, 8, 1, 2, 3));
  for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = jpeg[i + 7] = 0xFF;
      jpeg[i + 6] = jpeg[i + 8] = 0xDC;
      break;
    }
  }
  EXPECT_EQ(Decode(jpeg)->error, LoadError::TooLarge);
  // A grey TIFF claiming 30000 × 30000 with one strip that is not there.
  std::vector<uint8_t> tiff = {'I', 'I', 42, 0, 8, 0, 0, 0, 9, 0};
  auto entry = [&tiff](uint16_t tag, uint16_t type, uint32_t value) {
    for (uint32_t v : {uint32_t(tag) | (uint32_t(type) << 16), 1u, value}) {
      for (int i = 0; i < 4; ++i) tiff.push_back(uint8_t(v >> (8 * i)));
    }
  };
  entry(256, 4, 30000), entry(257, 4, 30000), entry(258, 3, 8), entry(259, 3, 1), entry(262, 3, 1);
  entry(273, 4, 200), entry(277, 3, 1), entry(278, 4, 30000), entry(279, 4, 900000000);
  tiff.insert(tiff.end(), 4, 0);
  EXPECT_EQ(Decode(tiff)->error, LoadError::TooLarge);
}

TEST(LoadPictureTest, DecompressionBombWithinTheLimitDecodesAndThumbnailsSmall) {
  // 8000 × 8000 of one colour: a few hundred kilobytes of PNG, 256 MB of pixels.
  auto bytes = Fx::EncodePng(RgbaImage::Filled(8000, 8000, 10, 20, 30), {.colourType = 2});
  EXPECT_LT(bytes.size(), 1u << 20);
  auto thumbnail = Decode(bytes, Box(256));
  ASSERT_EQ(thumbnail->error, LoadError::None);
  EXPECT_EQ(thumbnail->width, 256);
  EXPECT_EQ(thumbnail->height, 256);
  EXPECT_EQ(PixelAt(*thumbnail, 128, 128), (Bgra{30, 20, 10, 255}));
}

TEST(LoadPictureTest, MetadataComesFromTheExifBlock) {
  Fx::ExifFields fields{
      .orientation = 1,
      .make = std::string("Canon  \0\0", 9),
      .model = "EOS 5D",
      .software = "Editor 2",
      .lensModel = "EF 50mm",
      .dateTimeOriginal = "2024:05:01 10:20:30",
      .exposure = std::pair{1u, 200u},
      .fNumber = std::pair{28u, 10u},
      .focalLength = std::pair{50u, 1u},
      .iso = 400,
      .latitude = std::array{std::pair{37u, 1u}, std::pair{33u, 1u}, std::pair{594u, 10u}},
      .longitude = std::array{std::pair{126u, 1u}, std::pair{58u, 1u}, std::pair{0u, 1u}},
      .latitudeRef = "S",
      .longitudeRef = "E",
  };
  auto picture = Decode(Fx::EncodeJpeg(RgbaImage::Filled(8, 8, 1, 2, 3), {.exif = Fx::BuildExif(fields)}));
  ASSERT_EQ(picture->error, LoadError::None);
  const PictureMetadata& m = picture->metadata;
  EXPECT_EQ(m.cameraMaker, "Canon");
  EXPECT_EQ(m.cameraModel, "EOS 5D");
  EXPECT_EQ(m.software, "Editor 2");
  EXPECT_EQ(m.lensModel, "EF 50mm");
  EXPECT_EQ(m.dateTaken, "2024:05:01 10:20:30");
  EXPECT_EQ(m.exposure, "1/200 s");
  EXPECT_EQ(m.fNumber, "f/2.8");
  EXPECT_EQ(m.focalLength, "50 mm");
  EXPECT_EQ(m.isoSpeed, "400");
  ASSERT_TRUE(m.latitudeValid);
  ASSERT_TRUE(m.longitudeValid);
  EXPECT_NEAR(m.latitude, -37.5665, 1e-4);
  EXPECT_NEAR(m.longitude, 126.9667, 1e-4);
}

TEST(LoadPictureTest, OddExifValuesFallBackToDefaults) {
  struct Case {
    const char* name;
    Fx::ExifFields fields;
  };
  const Case cases[] = {
      {"orientation 9", {.orientation = 9}},
      {"orientation 0", {.orientation = 0}},
      {"IFD offset past the end", {.orientation = 6, .make = "X", .ifd0Offset = 0x7FFFFFF0}},
      {"IFD offset inside the header", {.orientation = 6, .ifd0Offset = 2}},
      {"latitude without longitude",
       {.latitude = std::array{std::pair{1u, 1u}, std::pair{0u, 1u}, std::pair{0u, 1u}}}},
      {"ISO 0 and a zero denominator", {.exposure = std::pair{1u, 0u}, .iso = 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture =
        Decode(Fx::EncodeJpeg(RgbaImage::Filled(8, 4, 1, 2, 3), {.exif = Fx::BuildExif(c.fields)}));
    ASSERT_EQ(picture->error, LoadError::None);
    EXPECT_EQ(picture->metadata.orientation, 1u);
    EXPECT_EQ(picture->width, 8);
    EXPECT_FALSE(picture->metadata.latitudeValid);
    EXPECT_FALSE(picture->metadata.longitudeValid);
    EXPECT_TRUE(picture->metadata.isoSpeed.empty());
    EXPECT_TRUE(picture->metadata.exposure.empty());
  }
  auto plain = Decode(Fx::EncodePng(RgbaImage::Filled(2, 2, 1, 2, 3)));
  EXPECT_EQ(plain->metadata.orientation, 1u);
  EXPECT_TRUE(plain->metadata.cameraMaker.empty());
  EXPECT_TRUE(plain->metadata.colorProfile.empty());
}

TEST(LoadPictureTest, WideFramesAreCutIntoTiles) {
  RgbaImage image = RgbaImage::Filled(9000, 100, 0, 0, 0);
  image.Set(8999, 99, 255, 0, 0);
  image.Set(4096, 0, 0, 255, 0);
  auto picture = Decode(Fx::EncodePng(image, {.colourType = 2}));
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_TRUE(picture->tiled);
  ASSERT_EQ(picture->frames.size(), 1u);
  EXPECT_EQ(picture->frames[0].pixels, nullptr);
  ASSERT_EQ(picture->tiles.size(), 1u);
  const auto& tiles = picture->tiles[0];
  ASSERT_EQ(tiles.size(), 3u);
  EXPECT_EQ(tiles[0].width, 4096);
  EXPECT_EQ(tiles[1].x, 4096);
  EXPECT_EQ(tiles[1].width, 4096);
  EXPECT_EQ(tiles[2].x, 8192);
  EXPECT_EQ(tiles[2].width, 808);
  EXPECT_EQ(tiles[2].height, 100);
  EXPECT_EQ(tiles[2].pixels->size(), 808u * 100 * 4);
  const uint8_t* last = tiles[2].pixels->data() + (99 * 808 + 807) * 4;
  EXPECT_EQ((Bgra{last[0], last[1], last[2], last[3]}), (Bgra{0, 0, 255, 255}));
  EXPECT_EQ((*tiles[1].pixels)[1], 255);                                   // green at the tile's own (0, 0)
  EXPECT_EQ(picture->cost, 9000u * 100 * 4 + 256 + LevelBytes(*picture));  // frames, overhead, halved copies
}

TEST(LoadPictureTest, FilesAreReadWholeAndTheirErrorsKept) {
  Fx::TempFolder folder;
  auto path = folder.AddFile("p.png", Fx::EncodePng(RgbaImage::Filled(3, 3, 1, 2, 3)));
  auto picture = LoadPictureFile(path, {});
  EXPECT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->key, path);
  auto missing = LoadPictureFile(folder.Path() + "/none.png", {});
  EXPECT_EQ(missing->error, LoadError::CannotRead);
  EXPECT_EQ(missing->errorCode, ENOENT);
  auto directory = LoadPictureFile(folder.Path(), {});
  EXPECT_EQ(directory->error, LoadError::CannotRead);
}

// Only regular files (links followed) hold pictures. A pipe that nobody writes to must not block the
// loader thread for ever, nor a device feed it endless or empty bytes.
TEST(LoadPictureTest, OnlyRegularFilesAreReadAndOthersFailPromptly) {
  using namespace std::chrono_literals;
  Fx::TempFolder folder;
  const std::string real = folder.AddFile("real.png", Fx::EncodePng(RgbaImage::Filled(3, 3, 1, 2, 3)));
  const std::string pipe = Fx::MakeFifo(folder.At("pipe.png"));
  const struct {
    const char* what;
    std::string path;
  } refused[] = {
      {"named pipe", pipe},
      {"socket", Fx::MakeSocket(folder.At("socket.png"))},
      {"null device", "/dev/null"},
      {"zero device", "/dev/zero"},
      {"link to a device", Fx::MakeLink(folder.At("null.png"), "/dev/null")},
      {"dangling link", Fx::MakeLink(folder.At("dangling.png"), folder.At("nowhere.png"))},
      {"folder", folder.AddFolder("folder.png")},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.what);
    PicturePtr picture;
    EXPECT_TRUE(Fx::EndsWithin(5s, [&] { picture = LoadPictureFile(c.path, {}); }, {pipe}));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->error, LoadError::CannotRead);
    PicturePtr thumbnail;
    EXPECT_TRUE(Fx::EndsWithin(
        5s, [&] { thumbnail = LoadPicture({.name = "x.png", .path = c.path}, nullptr, {}, true); }, {pipe}));
    EXPECT_EQ(thumbnail->error, LoadError::CannotRead);
  }
  EXPECT_EQ(LoadPictureFile(Fx::MakeLink(folder.At("link.png"), real), {})->error, LoadError::None);
}

TEST(LoadPictureTest, ItemsComeFromFoldersAndArchives) {
  auto png = Fx::EncodePng(RgbaImage::Filled(3, 3, 1, 2, 3));
  Fx::TempFolder folder;
  PictureItem file{.name = "p.png", .path = folder.AddFile("p.png", png)};
  auto fromFile = LoadPicture(file, nullptr, {}, true);
  EXPECT_EQ(fromFile->error, LoadError::None);
  EXPECT_EQ(fromFile->key, KeyOf(file));

  ZipReader reader;
  ASSERT_EQ(reader.OpenBytes(Fx::BuildZip({{.name = "a/p.png", .data = png},
                                           {.name = "locked.png", .data = png, .flags = 1},
                                           {.name = "odd.png", .data = png, .method = 12}})
                                 .bytes),
            ZipStatus::Ok);
  PictureItem entry{.name = "a/p.png", .entryIndex = 0};
  auto fromArchive = LoadPicture(entry, &reader, {}, false);
  EXPECT_EQ(fromArchive->error, LoadError::None);
  EXPECT_EQ(fromArchive->key, KeyOf(entry));
  EXPECT_EQ(LoadPicture({.name = "locked.png", .entryIndex = 1}, &reader, {}, false)->error,
            LoadError::Encrypted);
  EXPECT_EQ(LoadPicture({.name = "odd.png", .entryIndex = 2}, &reader, {}, false)->error, LoadError::NoCodec);
}

}  // namespace
}  // namespace Quarlo::View
