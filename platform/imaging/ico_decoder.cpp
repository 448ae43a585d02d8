#include "platform/imaging/ico_decoder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/byte_cursor.h"
#include "platform/imaging/bmp_decoder.h"
#include "platform/imaging/png_decoder.h"

namespace Quarlo::Imaging {

namespace {

using Platform::ByteCursor;

constexpr uint16_t kIconType = 1;
constexpr size_t kEntryHeadSize = 8;  // width, height, colours, reserved, planes, bit count
// Real icons hold a few dozen sizes and depths at most; directory entries beyond these are ignored,
// so that a hostile directory cannot make every one of 65,535 entries parse the same large image.
constexpr uint32_t kMaxFrames = 64;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::unique_ptr<Decoder> OpenEntry(std::span<const uint8_t> image, DecodeResult& result) {
  if (image.size() >= sizeof kPngSignature &&
      std::memcmp(image.data(), kPngSignature, sizeof kPngSignature) == 0)
    return OpenPngDecoder(image, result);
  return OpenIconBitmapDecoder(image, result);
}

// The frames are the directory's entries that open, the largest first (the first on ties), the
// others in directory order.
class IcoDecoder final : public Decoder {
 public:
  explicit IcoDecoder(std::vector<std::unique_ptr<Decoder>> frames) : frames_(std::move(frames)) {
    header_ = frames_.front()->Header();
    header_.frameCount = uint32_t(frames_.size());
    header_.bitsPerPixel = 32;
    header_.hasAlpha = true;
  }

  const PictureHeader& Header() const override { return header_; }

  DecodeResult Frame(uint32_t index, FrameInfo& info) override {
    if (index >= frames_.size()) return Refusal(ReaderFault::Malformed);
    info = FrameInfo{};
    info.width = frames_[index]->Header().width;
    info.height = frames_[index]->Header().height;
    return {};
  }

  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override {
    if (request.frame >= frames_.size()) return Refusal(ReaderFault::Malformed);
    DecodeRequest own = request;
    own.frame = 0;
    return frames_[request.frame]->Decode(own, out);
  }

 private:
  std::vector<std::unique_ptr<Decoder>> frames_;
  PictureHeader header_;
};

uint64_t Area(const Decoder& decoder) { return uint64_t(decoder.Header().width) * decoder.Header().height; }

}  // namespace

std::unique_ptr<Decoder> OpenIcoDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  ByteCursor directory(bytes);
  const uint16_t reserved = directory.U16(), type = directory.U16();
  if (!directory.Ok() || reserved != 0 || type != kIconType) {
    result = Refusal(ReaderFault::NotThisFormat);
    return nullptr;
  }
  const uint32_t count = std::min<uint32_t>(directory.U16(), kMaxFrames);
  // With no frame to show, the first entry's failure says why.
  std::optional<DecodeResult> firstFailure;
  if (!directory.Ok()) firstFailure = Refusal(ReaderFault::Truncated);
  std::vector<std::unique_ptr<Decoder>> frames;
  for (uint32_t i = 0; i < count && directory.Ok(); ++i) {
    directory.Skip(kEntryHeadSize);
    const uint32_t size = directory.U32(), offset = directory.U32();
    DecodeResult opened = Refusal(ReaderFault::Truncated);
    std::unique_ptr<Decoder> frame;
    // A size running past the end is taken as far as the data goes.
    if (directory.Ok() && offset < bytes.size())
      frame = OpenEntry(bytes.subspan(offset, std::min<size_t>(size, bytes.size() - offset)), opened);
    if (frame) {
      frames.push_back(std::move(frame));
    } else if (!firstFailure) {
      firstFailure = opened;
    }
  }
  if (frames.empty()) {
    result = firstFailure.value_or(Refusal(ReaderFault::Malformed));
    return nullptr;
  }
  auto largest = std::max_element(frames.begin(), frames.end(),
                                  [](const auto& a, const auto& b) { return Area(*a) < Area(*b); });
  std::rotate(frames.begin(), largest, largest + 1);
  result = {};
  return std::make_unique<IcoDecoder>(std::move(frames));
}

}  // namespace Quarlo::Imaging
