// Arbitrary bytes through the BMP backend: header, every frame at full and reduced size, colour
// conversion.

#include "platform/imaging/bmp_decoder.h"
#include "tests/fuzz/decoder_body.h"

std::string Quarlo::Fuzz::BmpDecoderFuzz(FuzzInput input) {
  return DecodeFrames(Imaging::OpenBmpDecoder, input);
}
