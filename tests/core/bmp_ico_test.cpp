// BMP and ICO through the decode pipeline: our own readers, checked on pictures assembled byte by byte.

#include <gtest/gtest.h>

// Fixtures are written with designated initializers that name only the fields a case changes.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <cstring>

#include "core/loaded_picture.h"
#include "support/fixture_pictures.h"

namespace Quarlo::View {
namespace {

struct Bgra {
  int b, g, r, a;
  bool operator==(const Bgra&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Bgra& p) {
  return os << "{b" << p.b << " g" << p.g << " r" << p.r << " a" << p.a << "}";
}

Bgra PixelAt(const LoadedPicture& picture, int x, int y) {
  const uint8_t* p = picture.frames.at(0).pixels->data() + (size_t(y) * picture.width + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

struct Dib {
  uint32_t headerSize = 40;
  int32_t width = 2, height = 2;
  uint16_t bpp = 24;
  uint32_t compression = 0;
  std::vector<uint8_t> tail;   // header fields after the first 40 bytes (masks, colour space...)
  std::vector<uint8_t> extra;  // after the header: masks or palette
  std::vector<uint8_t> pixels;
};

std::vector<uint8_t> DibBytes(const Dib& d) {
  std::vector<uint8_t> out;
  Put32(out, d.headerSize);
  if (d.headerSize == 12) {
    Put16(out, uint16_t(d.width)), Put16(out, uint16_t(d.height)), Put16(out, 1), Put16(out, d.bpp);
  } else {
    Put32(out, uint32_t(d.width)), Put32(out, uint32_t(d.height)), Put16(out, 1), Put16(out, d.bpp);
    Put32(out, d.compression);
    for (int i = 0; i < 5; ++i) Put32(out, 0);
    out.insert(out.end(), d.tail.begin(), d.tail.end());
    out.resize(d.headerSize, 0);
  }
  out.insert(out.end(), d.extra.begin(), d.extra.end());
  out.insert(out.end(), d.pixels.begin(), d.pixels.end());
  return out;
}

std::vector<uint8_t> Bmp(const Dib& d) {
  std::vector<uint8_t> dib = DibBytes(d);
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, uint32_t(14 + dib.size()));
  Put32(out, 0);
  Put32(out, uint32_t(14 + dib.size() - d.pixels.size()));
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

std::vector<uint8_t> Words(std::initializer_list<uint32_t> values) {
  std::vector<uint8_t> out;
  for (uint32_t v : values) Put32(out, v);
  return out;
}

// Palette entries are B, G, R, 0.
const std::vector<uint8_t> kPalette = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
constexpr Bgra kRed{0, 0, 255, 255}, kGreen{0, 255, 0, 255}, kBlue{255, 0, 0, 255},
    kWhite{255, 255, 255, 255};

PicturePtr Decode(const std::vector<uint8_t>& bytes) { return LoadPictureBytes(bytes, "p.bmp", {}); }

TEST(BmpDecodeTest, EveryCommonLayoutGivesTheSamePicture) {
  // Each picture is 2 × 2: top row red, green; bottom row blue, white (rows stored bottom-up).
  struct Case {
    const char* name;
    Dib dib;
    int bitsPerPixel;
  };
  const Case cases[] = {
      {"24 bits", {.pixels = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}}, 24},
      {"24 bits, top-down",
       {.height = -2, .pixels = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}},
       24},
      {"core header",
       {.headerSize = 12, .pixels = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}},
       24},
      {"32 bits, alpha all zero",
       {.bpp = 32, .pixels = {255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0}},
       32},
      {"8-bit palette", {.bpp = 8, .extra = kPalette, .pixels = {2, 3, 0, 0, 0, 1, 0, 0}}, 8},
      {"4-bit palette", {.bpp = 4, .extra = kPalette, .pixels = {0x23, 0, 0, 0, 0x01, 0, 0, 0}}, 4},
      {"16 bits 5-5-5", {.bpp = 16, .pixels = {0x1F, 0x00, 0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03}}, 16},
      {"16 bits 5-6-5 bit fields",
       {.bpp = 16,
        .compression = 3,
        .extra = Words({0xF800, 0x07E0, 0x001F}),
        .pixels = {0x1F, 0x00, 0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07}},
       16},
      {"RLE8",
       {.bpp = 8, .compression = 1, .extra = kPalette, .pixels = {1, 2, 1, 3, 0, 0, 1, 0, 1, 1, 0, 1}},
       8},
      {"RLE4", {.bpp = 4, .compression = 2, .extra = kPalette, .pixels = {2, 0x23, 0, 0, 2, 0x01, 0, 1}}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = Decode(Bmp(c.dib));
    ASSERT_EQ(picture->error, LoadError::None) << picture->errorCode;
    EXPECT_EQ(picture->format, "BMP");
    EXPECT_EQ(picture->bitsPerPixel, c.bitsPerPixel);
    ASSERT_EQ(picture->width, 2);
    ASSERT_EQ(picture->height, 2);
    EXPECT_EQ(PixelAt(*picture, 0, 0), kRed);
    EXPECT_EQ(PixelAt(*picture, 1, 0), kGreen);
    EXPECT_EQ(PixelAt(*picture, 0, 1), kBlue);
    EXPECT_EQ(PixelAt(*picture, 1, 1), kWhite);
    EXPECT_FALSE(picture->hasTransparency);
  }
}

TEST(BmpDecodeTest, AlphaCountsWhenTheFileCarriesIt) {
  // 32 bits without bit fields, alpha 128 in one pixel: premultiplied.
  auto plain = Decode(Bmp({.width = 1, .height = 1, .bpp = 32, .pixels = {200, 100, 50, 128}}));
  ASSERT_EQ(plain->error, LoadError::None);
  EXPECT_TRUE(plain->hasTransparency);
  EXPECT_EQ(PixelAt(*plain, 0, 0), (Bgra{100, 50, 25, 128}));
  // A V5 header naming an alpha mask.
  std::vector<uint8_t> masks = Words({0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000});
  auto v5 = Decode(Bmp({.headerSize = 124,
                        .width = 1,
                        .height = 1,
                        .bpp = 32,
                        .compression = 3,
                        .tail = masks,
                        .pixels = {200, 100, 50, 0}}));
  ASSERT_EQ(v5->error, LoadError::None);
  EXPECT_FALSE(v5->hasTransparency);  // all alpha zero: an opaque picture written carelessly
  auto v5Alpha = Decode(Bmp({.headerSize = 124,
                             .width = 2,
                             .height = 1,
                             .bpp = 32,
                             .compression = 3,
                             .tail = masks,
                             .pixels = {200, 100, 50, 0, 10, 20, 30, 255}}));
  EXPECT_TRUE(v5Alpha->hasTransparency);
  EXPECT_EQ(PixelAt(*v5Alpha, 0, 0), (Bgra{0, 0, 0, 0}));
  // RLE leaves skipped pixels transparent: end of line after one pixel, then end of picture.
  auto rle = Decode(Bmp({.bpp = 8, .compression = 1, .extra = kPalette, .pixels = {1, 2, 0, 0, 0, 1}}));
  ASSERT_EQ(rle->error, LoadError::None);
  EXPECT_TRUE(rle->hasTransparency);
  EXPECT_EQ(PixelAt(*rle, 0, 1), kBlue);
  EXPECT_EQ(PixelAt(*rle, 1, 1), (Bgra{0, 0, 0, 0}));
  EXPECT_EQ(PixelAt(*rle, 0, 0), (Bgra{0, 0, 0, 0}));
  // Absolute mode: a literal group of four indices.
  auto literal = Decode(Bmp({.width = 4,
                             .height = 1,
                             .bpp = 8,
                             .compression = 1,
                             .extra = kPalette,
                             .pixels = {0, 4, 2, 3, 0, 1, 0, 1}}));
  ASSERT_EQ(literal->error, LoadError::None);
  EXPECT_EQ(PixelAt(*literal, 0, 0), kBlue);
  EXPECT_EQ(PixelAt(*literal, 3, 0), kGreen);
}

TEST(BmpDecodeTest, BrokenFilesAreRefused) {
  const std::vector<uint8_t> row = {255, 0, 0, 255, 255, 255, 0, 0};
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    LoadError error;
  };
  std::vector<uint8_t> shortData = Bmp({.pixels = row});
  std::vector<uint8_t> badOffset =
      Bmp({.pixels = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}});
  badOffset[10] = 0xFF, badOffset[11] = 0xFF;
  const Case cases[] = {
      {"pixel rows missing", shortData, LoadError::Damaged},
      {"pixel offset past the end", badOffset, LoadError::Damaged},
      {"7 bits per pixel", Bmp({.bpp = 7, .pixels = row}), LoadError::Damaged},
      {"zero width", Bmp({.width = 0, .pixels = row}), LoadError::Damaged},
      {"header size past the end", Bmp({.headerSize = 4000, .pixels = row}), LoadError::Damaged},
      {"embedded JPEG", Bmp({.compression = 4, .pixels = row}), LoadError::NoCodec},
      {"RLE8 on 24 bits", Bmp({.compression = 1, .pixels = row}), LoadError::Damaged},
      {"RLE8 running out of data", Bmp({.bpp = 8, .compression = 1, .extra = kPalette, .pixels = {1, 2}}),
       LoadError::Damaged},
      {"over 400 megapixels", Bmp({.width = 30000, .height = 30000, .pixels = row}), LoadError::TooLarge},
      {"over 400 megapixels in RLE",
       Bmp({.width = 30000, .height = 30000, .bpp = 8, .compression = 1, .extra = kPalette}),
       LoadError::TooLarge},
      {"file header alone", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, LoadError::Damaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Decode(c.bytes)->error, c.error);
  }
}

// An icon directory over the given images (each PNG or DIB bytes).
std::vector<uint8_t> Ico(const std::vector<std::vector<uint8_t>>& images) {
  std::vector<uint8_t> out = {0, 0, 1, 0};
  Put16(out, uint16_t(images.size()));
  uint32_t offset = uint32_t(6 + 16 * images.size());
  for (const auto& image : images) {
    out.insert(out.end(), {0, 0, 0, 0});
    Put16(out, 1), Put16(out, 32);
    Put32(out, uint32_t(image.size())), Put32(out, offset);
    offset += uint32_t(image.size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

// A 24-bit icon bitmap of one colour with its AND mask (bit set = transparent) per row.
std::vector<uint8_t> IconBitmap(int side, uint8_t blue, const std::vector<uint8_t>& maskRows = {}) {
  Dib dib{.width = side, .height = side * 2};
  const size_t stride = (size_t(side) * 3 + 3) / 4 * 4, maskStride = (size_t(side) + 31) / 32 * 4;
  dib.pixels.assign(stride * side, 0);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) dib.pixels[y * stride + x * 3] = blue;
  std::vector<uint8_t> mask(maskStride * side, 0);
  for (size_t y = 0; y < maskRows.size() && y < size_t(side); ++y) mask[y * maskStride] = maskRows[y];
  dib.pixels.insert(dib.pixels.end(), mask.begin(), mask.end());
  return DibBytes(dib);
}

TEST(IcoDecodeTest, TheLargestImageIsShown) {
  auto png = Quarlo::Test::EncodePng(Quarlo::Test::RgbaImage::Filled(256, 256, 0, 0, 9));
  auto picture = LoadPictureBytes(Ico({IconBitmap(16, 1), IconBitmap(48, 2), png}), "a.ico", {});
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->format, "ICO");
  EXPECT_EQ(picture->width, 256);
  EXPECT_EQ(picture->height, 256);
  EXPECT_EQ(PixelAt(*picture, 5, 5), (Bgra{9, 0, 0, 255}));
  auto bitmaps =
      LoadPictureBytes(Ico({IconBitmap(16, 1), IconBitmap(48, 2), IconBitmap(32, 3)}), "b.ico", {});
  ASSERT_EQ(bitmaps->error, LoadError::None);
  EXPECT_EQ(bitmaps->width, 48);
  EXPECT_EQ(PixelAt(*bitmaps, 5, 5), (Bgra{2, 0, 0, 255}));
}

TEST(IcoDecodeTest, AndMaskMakesPixelsTransparent) {
  // Stored rows are bottom-up: the first mask row is the picture's last row; 0x80 is its first pixel.
  auto picture = LoadPictureBytes(Ico({IconBitmap(4, 7, {0x80})}), "a.ico", {});
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_TRUE(picture->hasTransparency);
  EXPECT_EQ(PixelAt(*picture, 0, 3), (Bgra{0, 0, 0, 0}));
  EXPECT_EQ(PixelAt(*picture, 1, 3), (Bgra{7, 0, 0, 255}));
  EXPECT_EQ(PixelAt(*picture, 0, 0), (Bgra{7, 0, 0, 255}));
}

TEST(IcoDecodeTest, UnreadableEntriesAreSkipped) {
  std::vector<uint8_t> junk = {1, 2, 3, 4, 5};
  auto picture = LoadPictureBytes(Ico({junk, IconBitmap(8, 4)}), "a.ico", {});
  ASSERT_EQ(picture->error, LoadError::None);
  EXPECT_EQ(picture->width, 8);
  EXPECT_EQ(LoadPictureBytes(Ico({junk}), "a.ico", {})->error, LoadError::Damaged);
  auto cut = Ico({IconBitmap(8, 4)});
  cut.resize(30);
  EXPECT_EQ(LoadPictureBytes(cut, "a.ico", {})->error, LoadError::Damaged);
}

}  // namespace
}  // namespace Quarlo::View
