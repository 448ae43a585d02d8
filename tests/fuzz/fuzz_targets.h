#pragma once
// The fuzz targets' bodies, shared by the libFuzzer programs (fuzz_main.cpp, one program per body)
// and by the replay test, which runs every checked-in corpus and regression input through them under
// the sanitizer build. A body takes any bytes without crashing or reading outside them, aborts
// (Violated) when an invariant of the code under test breaks, and returns a short status word for
// what the input gave: the replay test compares it with the one pinned in expected/<name>.txt.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace Quarlo::Fuzz {

using FuzzInput = std::span<const uint8_t>;

struct FuzzTarget {
  std::string_view name;  // the program is <name>_fuzz, built from <name>_fuzz.cpp
  std::string (*body)(FuzzInput input);
};

// Every target, in name order.
std::span<const FuzzTarget> FuzzTargets();
// The target of that name, or null.
const FuzzTarget* FindFuzzTarget(std::string_view name);

// Reports a broken invariant on stderr and aborts, which both libFuzzer and the test runner catch.
[[noreturn]] void Violated(std::string_view what);

// The bodies, each in its <name>_fuzz.cpp.
std::string AnimationFuzz(FuzzInput input);
std::string BmpDecoderFuzz(FuzzInput input);
std::string ClipboardImageFuzz(FuzzInput input);
std::string HeifDecoderFuzz(FuzzInput input);
std::string HiveTextFuzz(FuzzInput input);
std::string IcoDecoderFuzz(FuzzInput input);
std::string JpegDecoderFuzz(FuzzInput input);
std::string JxlDecoderFuzz(FuzzInput input);
std::string LoadPictureFuzz(FuzzInput input);
std::string PictureMetadataFuzz(FuzzInput input);
std::string PngDecoderFuzz(FuzzInput input);
std::string TiffDecoderFuzz(FuzzInput input);
std::string WebpDecoderFuzz(FuzzInput input);
std::string ZipReaderFuzz(FuzzInput input);

}  // namespace Quarlo::Fuzz
