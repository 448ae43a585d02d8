// Every backend on its own, without the pipeline's checks in front: inputs that the fuzz targets
// found or that sit at the edges of each parser.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/loaded_picture.h"

#include "platform/imaging/bmp_decoder.h"
#include "platform/imaging/heif_decoder.h"
#include "platform/imaging/ico_decoder.h"
#include "platform/imaging/jpeg_decoder.h"
#include "platform/imaging/jxl_decoder.h"
#include "platform/imaging/png_decoder.h"
#include "platform/imaging/tiff_decoder.h"
#include "platform/imaging/webp_decoder.h"

namespace Quarlo::Imaging {
namespace {

struct Backend {
  const char* name;
  OpenFunction open;
};

const Backend kBackends[] = {
    {"JPEG", OpenJpegDecoder}, {"PNG", OpenPngDecoder},   {"BMP", OpenBmpDecoder}, {"ICO", OpenIcoDecoder},
    {"TIFF", OpenTiffDecoder}, {"HEIF", OpenHeifDecoder}, {"JXL", OpenJxlDecoder}, {"WebP", OpenWebpDecoder},
};

// The first input every fuzz run tries is empty; libjpeg reported it from jpeg_mem_src before any
// error handler could return, and jumped through an unset jump buffer.
TEST(DecoderBackendsTest, EmptyAndTinyInputsAreRefused) {
  const std::vector<std::vector<uint8_t>> inputs = {{}, {0xFF}, {0xFF, 0xD8}, {'B', 'M'}, {0, 0, 1, 0, 1, 0}};
  for (const Backend& backend : kBackends) {
    for (const std::vector<uint8_t>& input : inputs) {
      SCOPED_TRACE(std::string(backend.name) + " on " + std::to_string(input.size()) + " bytes");
      DecodeResult result;
      EXPECT_EQ(backend.open(input, result), nullptr);
      EXPECT_FALSE(result.Ok());
    }
  }
}

// Inputs the fuzz targets found, one defect per file (tests/fuzz/regressions), run through every
// backend and the pipeline; under the sanitizers a leak or an overrun fails the test program.
//   heif-nclx-record-after-error.avif: libheif handed over an nclx record with a failing result,
//   which was not freed.
TEST(DecoderBackendsTest, FuzzFindingsStayFixed) {
  const std::filesystem::path folder = std::filesystem::path(QUARLO_SOURCE_DIR) / "tests/fuzz/regressions";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    for (const Backend& backend : kBackends) {
      DecodeResult result;
      if (std::unique_ptr<Decoder> decoder = backend.open(bytes, result)) {
        Bitmap bitmap;
        decoder->Decode({}, bitmap);
      }
    }
    auto picture = View::LoadPictureBytes(bytes, entry.path().filename().string(), {});
    EXPECT_EQ(picture->frames.empty(), picture->error != View::LoadError::None);
    ++files;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace Quarlo::Imaging
