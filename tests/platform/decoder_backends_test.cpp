// Every backend on its own, without the pipeline's checks in front: inputs that the fuzz targets
// found or that sit at the edges of each parser.

#include <gtest/gtest.h>

#include "platform/imaging/bmp_decoder.h"
#include "platform/imaging/heif_decoder.h"
#include "platform/imaging/ico_decoder.h"
#include "platform/imaging/jpeg_decoder.h"
#include "platform/imaging/jxl_decoder.h"
#include "platform/imaging/png_decoder.h"
#include "platform/imaging/tiff_decoder.h"
#include "platform/imaging/webp_decoder.h"
#include "support/fuzz_regressions.h"

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
// backend (the pipeline's turn is in tests/core/load_picture_test.cpp); under the sanitizers a leak or an
// overrun fails the test program.
//   heif-nclx-record-after-error.avif: libheif handed over an nclx record with a failing result,
//   which was not freed.
TEST(DecoderBackendsTest, FuzzFindingsStayFixed) {
  // Inside a test body Test names GoogleTest's class, hence the full name.
  const std::vector<Quarlo::Test::RegressionInput> inputs = Quarlo::Test::FuzzRegressionInputs();
  ASSERT_FALSE(inputs.empty());
  for (const Quarlo::Test::RegressionInput& input : inputs) {
    SCOPED_TRACE(input.name);
    ASSERT_FALSE(input.bytes.empty());
    for (const Backend& backend : kBackends) {
      DecodeResult result;
      if (std::unique_ptr<Decoder> decoder = backend.open(input.bytes, result)) {
        Bitmap bitmap;
        decoder->Decode({}, bitmap);
      }
    }
  }
}

}  // namespace
}  // namespace Quarlo::Imaging
