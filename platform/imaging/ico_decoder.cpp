#include "platform/imaging/ico_decoder.h"

#include <cstring>

#include "platform/imaging/bmp_decoder.h"
#include "platform/imaging/png_decoder.h"

namespace Quarlo::Imaging {

namespace {

constexpr int32_t kMalformed = 1;
constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}

std::unique_ptr<Decoder> OpenEntry(std::span<const uint8_t> image) {
  DecodeResult ignored;
  if (image.size() >= 8 && std::memcmp(image.data(), kPngSignature, 8) == 0)
    return OpenPngDecoder(image, ignored);
  return OpenIconBitmapDecoder(image, ignored);
}

class IcoDecoder final : public Decoder {
 public:
  explicit IcoDecoder(std::unique_ptr<Decoder> chosen, uint32_t count) : chosen_(std::move(chosen)) {
    header_ = chosen_->Header();
    header_.frameCount = count;
    header_.bitsPerPixel = 32;
    header_.hasAlpha = true;
  }

  const PictureHeader& Header() const override { return header_; }

  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override {
    if (request.frame != 0) return {DecodeStatus::Damaged, kMalformed};
    return chosen_->Decode(request, out);
  }

 private:
  std::unique_ptr<Decoder> chosen_;
  PictureHeader header_;
};

}  // namespace

std::unique_ptr<Decoder> OpenIcoDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  result = {DecodeStatus::Damaged, kMalformed};
  if (bytes.size() < kDirectorySize || bytes[0] != 0 || bytes[1] != 0) return nullptr;
  const uint32_t count = uint32_t(bytes[4] | (bytes[5] << 8));
  std::unique_ptr<Decoder> best;
  uint64_t bestArea = 0;
  for (uint32_t i = 0; i < count; ++i) {
    size_t entry = kDirectorySize + size_t(i) * kEntrySize;
    if (entry + kEntrySize > bytes.size()) break;
    uint64_t size = U32(bytes, entry + 8), offset = U32(bytes, entry + 12);
    if (offset >= bytes.size()) continue;
    size = std::min<uint64_t>(size, bytes.size() - offset);
    std::unique_ptr<Decoder> decoder = OpenEntry(bytes.subspan(offset, size));
    if (!decoder) continue;
    uint64_t area = uint64_t(decoder->Header().width) * decoder->Header().height;
    if (area > bestArea) {
      bestArea = area;
      best = std::move(decoder);
    }
  }
  if (!best) return nullptr;
  result = {};
  return std::make_unique<IcoDecoder>(std::move(best), count);
}

}  // namespace Quarlo::Imaging
