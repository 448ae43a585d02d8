#include "tests/fuzz/fuzz_targets.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace Quarlo::Fuzz {

namespace {

constexpr std::array kTargets = {
    FuzzTarget{"animation", AnimationFuzz},
    FuzzTarget{"bmp_decoder", BmpDecoderFuzz},
    FuzzTarget{"clipboard_image", ClipboardImageFuzz},
    FuzzTarget{"heif_decoder", HeifDecoderFuzz},
    FuzzTarget{"hive_text", HiveTextFuzz},
    FuzzTarget{"ico_decoder", IcoDecoderFuzz},
    FuzzTarget{"jpeg_decoder", JpegDecoderFuzz},
    FuzzTarget{"jxl_decoder", JxlDecoderFuzz},
    FuzzTarget{"load_picture", LoadPictureFuzz},
    FuzzTarget{"picture_metadata", PictureMetadataFuzz},
    FuzzTarget{"png_decoder", PngDecoderFuzz},
    FuzzTarget{"tiff_decoder", TiffDecoderFuzz},
    FuzzTarget{"webp_decoder", WebpDecoderFuzz},
    FuzzTarget{"zip_reader", ZipReaderFuzz},
};

}  // namespace

std::span<const FuzzTarget> FuzzTargets() { return kTargets; }

const FuzzTarget* FindFuzzTarget(std::string_view name) {
  auto found =
      std::find_if(kTargets.begin(), kTargets.end(), [&](const FuzzTarget& t) { return t.name == name; });
  return found == kTargets.end() ? nullptr : &*found;
}

void Violated(std::string_view what) {
  std::fprintf(stderr, "fuzz invariant broken: %.*s\n", int(what.size()), what.data());
  std::abort();
}

}  // namespace Quarlo::Fuzz
