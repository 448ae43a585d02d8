// Arbitrary bytes through the ICO backend: header, every frame at full and reduced size, colour
// conversion.

#include "platform/imaging/ico_decoder.h"
#include "tests/fuzz/decoder_body.h"

std::string Quarlo::Fuzz::IcoDecoderFuzz(FuzzInput input) {
  return DecodeFrames(Imaging::OpenIcoDecoder, input);
}
