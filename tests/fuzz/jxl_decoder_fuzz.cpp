// Arbitrary bytes through the JPEG XL backend: header, every frame at full and reduced size, colour
// conversion.

#include "platform/imaging/jxl_decoder.h"
#include "tests/fuzz/decoder_body.h"

std::string Quarlo::Fuzz::JxlDecoderFuzz(FuzzInput input) {
  return DecodeFrames(Imaging::OpenJxlDecoder, input);
}
