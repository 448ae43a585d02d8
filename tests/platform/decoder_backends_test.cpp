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

}  // namespace
}  // namespace Quarlo::Imaging
