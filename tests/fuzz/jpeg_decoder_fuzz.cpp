// Arbitrary bytes through the JPEG backend: header, every frame at full and reduced size, colour
// conversion.

#include "platform/imaging/jpeg_decoder.h"
#include "tests/fuzz/decoder_body.h"

std::string Quarlo::Fuzz::JpegDecoderFuzz(FuzzInput input) {
  return DecodeFrames(Imaging::OpenJpegDecoder, input);
}
