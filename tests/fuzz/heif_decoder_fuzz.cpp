// Arbitrary bytes through the HEIF/AVIF backend: header, every frame at full and reduced size, colour
// conversion.

#include "platform/imaging/heif_decoder.h"
#include "tests/fuzz/decoder_body.h"

std::string Quarlo::Fuzz::HeifDecoderFuzz(FuzzInput input) {
  return DecodeFrames(Imaging::OpenHeifDecoder, input);
}
