// Encoding and judging single-instance messages.

#include "widget/detail/instance_frame.h"

namespace Quarlo::Widget::Detail {
namespace {

void AppendLittleEndian(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

uint32_t ReadLittleEndian(std::string_view bytes) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

}  // namespace

std::string EncodeInstanceFrame(std::string_view text) {
  std::string frame;
  frame.reserve(kInstanceHeaderSize + text.size());
  AppendLittleEndian(frame, kInstanceTag);
  AppendLittleEndian(frame, static_cast<uint32_t>(text.size()));
  frame += text;
  return frame;
}

FrameProgress InspectInstanceFrame(std::string_view received) {
  // The tag is judged as soon as it is whole, so a stranger is turned away before it sends more.
  if (received.size() >= 4 && ReadLittleEndian(received) != kInstanceTag) return {FrameState::Malformed, 0};
  if (received.size() < kInstanceHeaderSize)
    return {FrameState::Partial, kInstanceHeaderSize - received.size()};
  const uint32_t length = ReadLittleEndian(received.substr(4));
  if (length > kInstanceTextLimit) return {FrameState::Malformed, 0};
  const size_t total = kInstanceHeaderSize + length;
  if (received.size() < total) return {FrameState::Partial, total - received.size()};
  return {received.size() == total ? FrameState::Complete : FrameState::Malformed, 0};
}

}  // namespace Quarlo::Widget::Detail
