#pragma once
// What the decoder backends' fuzz targets share: open a backend on the input, then decode every frame
// it counts at full size (converting colours through whatever profile it carries) and with a small
// size hint (the thumbnail path). Pictures larger than kFuzzMaxPixels are only opened, so that the
// fuzzer spends its time on parsing rather than on filling buffers: every code path of the backends is
// reached by small pictures, while a megapixel costs tens of milliseconds under the fuzzer's
// instrumentation (which runs even through the buffers' no-op construction loops).

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/imaging/decoder.h"
#include "tests/fuzz/fuzz_targets.h"

namespace Quarlo::Fuzz {

constexpr uint64_t kFuzzMaxPixels = 1 << 18;

// "Ok", "Damaged", "Unsupported", ...
std::string_view DecodeStatusName(Imaging::DecodeStatus status);

// The first failure as "Open:<status>", "Decode:<status>" (full size) or "Small:<status>" (with the
// size hint); "Opened" when the picture is too large to decode here; "Ok" when every frame decoded.
// Aborts when the backend breaks its interface: a failed open that returns a decoder (or the
// reverse), a counted frame without a placement, a bitmap whose buffer does not match its size, or a
// frame beyond the count that decodes.
std::string DecodeFrames(Imaging::OpenFunction open, FuzzInput input);

}  // namespace Quarlo::Fuzz
