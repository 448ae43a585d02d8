// Arbitrary bytes through the TIFF backend: header, every frame at full and reduced size, colour
// conversion.

#include "platform/imaging/tiff_decoder.h"
#include "tests/fuzz/decoder_body.h"

std::string Quarlo::Fuzz::TiffDecoderFuzz(FuzzInput input) {
  return DecodeFrames(Imaging::OpenTiffDecoder, input);
}
