// Arbitrary bytes through the BMP backend: header, full decode, reduced decode and colour conversion.

#include "platform/imaging/bmp_decoder.h"
#include "tests/fuzz/decoder_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Quarlo::Fuzz::DecodeBoth(Quarlo::Imaging::OpenBmpDecoder, data, size);
  return 0;
}
