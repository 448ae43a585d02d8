#pragma once
// Small pictures encoded during a test with the codec libraries themselves, and EXIF/ICC blocks built
// byte by byte, so each test shows exactly the feature it checks.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Quarlo::Test {

// Straight (not premultiplied) RGBA samples, rows top to bottom.
struct RgbaImage {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;

  static RgbaImage Filled(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
  // A smooth photo-like picture: gradients with a few soft shapes, opaque.
  static RgbaImage Photo(uint32_t width, uint32_t height);
  void Set(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
};

struct JpegOptions {
  int quality = 90;
  bool grey = false;
  bool cmyk = false;          // samples as CMYK, with C = 255 - R, M = 255 - G, Y = 255 - B, K = 0
  bool adobeMarker = true;    // for CMYK: write the Adobe marker and store the samples inverted
  std::vector<uint8_t> exif;  // TIFF-structured EXIF block for APP1 (prefix added)
  std::vector<uint8_t> icc;   // ICC profile for APP2
};
std::vector<uint8_t> EncodeJpeg(const RgbaImage& image, const JpegOptions& options = {});

struct PngOptions {
  int colourType = 6;  // libpng's PNG_COLOR_TYPE_* (0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA)
  int bitDepth = 8;
  bool interlaced = false;
  // Palette pictures: every distinct RGBA value becomes an entry (with tRNS when some alpha < 255).
  std::vector<uint8_t> icc;
  std::string iccName = "icc";
  std::vector<uint8_t> exif;  // eXIf chunk
  std::optional<double> gamma;
  bool srgbChunk = false;
};
std::vector<uint8_t> EncodePng(const RgbaImage& image, const PngOptions& options = {});

// quality is the lossy encoder's 0 to 100 setting; lossless ignores it.
std::vector<uint8_t> EncodeWebp(const RgbaImage& image, bool lossless, bool withAlpha, int quality = 90);

// An animated WebP (lossless) of whole-canvas frames, each shown for delayMs.
std::vector<uint8_t> EncodeAnimatedWebp(const std::vector<RgbaImage>& frames, int delayMs);

// Through libtiff, into memory. bitsPerSample 8 or 16; alpha adds an unassociated alpha sample.
std::vector<uint8_t> EncodeTiff(const RgbaImage& image, int bitsPerSample, bool alpha,
                                uint16_t orientation = 1);

// A JPEG XL codestream (lossless).
std::vector<uint8_t> EncodeJxl(const RgbaImage& image, bool alpha);

// An HEIF file through libheif with the given compression (heif_compression_format value); empty when
// this libheif has no encoder for it.
std::vector<uint8_t> EncodeHeif(const RgbaImage& image, int compression);

// Fields of a test EXIF block; unset fields are not written.
struct ExifFields {
  std::optional<uint16_t> orientation;
  std::string make, model, software, lensModel, dateTimeOriginal;
  std::optional<std::pair<uint32_t, uint32_t>> exposure, fNumber, focalLength;  // rationals
  std::optional<uint16_t> iso;
  std::optional<std::array<std::pair<uint32_t, uint32_t>, 3>> latitude, longitude;
  std::string latitudeRef, longitudeRef;
  // Overrides the offset of IFD0 (an absurd offset makes the whole block unreadable).
  std::optional<uint32_t> ifd0Offset;
};
// A little-endian TIFF-structured block, without the "Exif\0\0" prefix.
std::vector<uint8_t> BuildExif(const ExifFields& fields);

// An RGB ICC profile with sRGB primaries and a plain gamma curve, described by `description`.
std::vector<uint8_t> GammaProfile(double gamma, const std::string& description, double version = 4.3);

}  // namespace Quarlo::Test
