#pragma once
// One message on the single-instance channel: an 8-byte header (the tag 0x514C5349, "QLSI", then the
// text's length in bytes, both 32-bit little-endian) followed by the text's bytes, taken exactly as they
// are (embedded NUL bytes included). The receiver answers with one byte: 1 accepted, 0 refused.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Quarlo::Widget::Detail {

inline constexpr uint32_t kInstanceTag = 0x514C5349;
inline constexpr size_t kInstanceHeaderSize = 8;
// The longest text a message carries (64 KiB): enough for any path or command, small enough to hold whole.
inline constexpr size_t kInstanceTextLimit = 65536;
inline constexpr char kInstanceAccepted = 1;
inline constexpr char kInstanceRefused = 0;

// The whole message for a text of at most kInstanceTextLimit bytes.
std::string EncodeInstanceFrame(std::string_view text);

enum class FrameState : int32_t {
  Partial,    // well-formed so far; `missing` more bytes complete it
  Complete,   // exactly one whole message
  Malformed,  // a wrong tag or a length above the limit: refuse without reading on
};

struct FrameProgress {
  FrameState state = FrameState::Partial;
  size_t missing = 0;
};

// Judges the bytes received so far on one connection (never more than one message's worth).
FrameProgress InspectInstanceFrame(std::string_view received);

// The text of a Complete message.
inline std::string_view InstanceFrameText(std::string_view complete) {
  return complete.substr(kInstanceHeaderSize);
}

}  // namespace Quarlo::Widget::Detail
