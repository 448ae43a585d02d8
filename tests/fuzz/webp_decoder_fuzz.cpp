// Arbitrary bytes through the WebP backend: header, every frame at full and reduced size, colour
// conversion.

#include "platform/imaging/webp_decoder.h"
#include "tests/fuzz/decoder_body.h"

std::string Quarlo::Fuzz::WebpDecoderFuzz(FuzzInput input) {
  return DecodeFrames(Imaging::OpenWebpDecoder, input);
}
