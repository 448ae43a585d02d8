// Arbitrary bytes through the PNG backend: header, every frame at full and reduced size, colour
// conversion.

#include "platform/imaging/png_decoder.h"
#include "tests/fuzz/decoder_body.h"

std::string Quarlo::Fuzz::PngDecoderFuzz(FuzzInput input) {
  return DecodeFrames(Imaging::OpenPngDecoder, input);
}
