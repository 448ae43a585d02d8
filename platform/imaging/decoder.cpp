#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

DecodeResult Decoder::Frame(uint32_t index, FrameInfo& info) {
  if (index >= Header().frameCount) return {DecodeStatus::Damaged, 0};
  info = FrameInfo{};
  info.width = Header().width;
  info.height = Header().height;
  return {};
}

}  // namespace Quarlo::Imaging
