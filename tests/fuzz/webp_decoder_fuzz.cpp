// Arbitrary bytes through the still WebP backend: header, full decode, reduced decode and colour conversion.

#include "platform/imaging/webp_decoder.h"
#include "tests/fuzz/decoder_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Quarlo::Fuzz::DecodeBoth(Quarlo::Imaging::OpenWebpDecoder, data, size);
  return 0;
}
