#include "platform/imaging/gif_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

#include "platform/imaging/animation_frames.h"

namespace Quarlo::Imaging {

namespace {

// The code GIF failures carry in DecodeResult (see LoadedPicture::errorCode).
constexpr int32_t kMalformedCode = 1;
// How many rows are decompressed between two looks at the cancel flag.
constexpr uint32_t kRowsPerCancelCheck = 64;

struct MemoryCursor {
  std::span<const uint8_t> data;
  size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
  auto* cursor = static_cast<MemoryCursor*>(gif->UserData);
  if (wanted <= 0 || cursor->at >= cursor->data.size()) return 0;
  size_t count = std::min<size_t>(size_t(wanted), cursor->data.size() - cursor->at);
  std::memcpy(out, cursor->data.data() + cursor->at, count);
  cursor->at += count;
  return int(count);
}

DecodeResult Malformed() { return {DecodeStatus::Damaged, kMalformedCode}; }

class GifDecoder final : public Decoder {
 public:
  explicit GifDecoder(std::span<const uint8_t> bytes) : cursor_{bytes} {}
  ~GifDecoder() override {
    if (gif_ != nullptr) DGifCloseFile(gif_, nullptr);
  }
  GifDecoder(const GifDecoder&) = delete;
  GifDecoder& operator=(const GifDecoder&) = delete;

  // Opens giflib and walks the records; fails when not one whole frame is found.
  DecodeResult Scan();

  const PictureHeader& Header() const override { return header_; }
  DecodeResult Frame(uint32_t index, FrameInfo& info) override;
  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override;

 private:
  struct StoredFrame {
    FrameInfo info;
    size_t descriptorAt = 0;    // where the image descriptor starts, to come back for the pixels
    int transparentIndex = -1;  // -1: none
  };

  bool ReadExtension(GraphicsControlBlock& control, bool& hasControl);
  bool SkipImageData();
  std::array<uint8_t, 1024> Palette(int transparentIndex) const;
  bool ReadRows(Bitmap& out, const std::array<uint8_t, 1024>& palette, const std::atomic<bool>* cancel);

  MemoryCursor cursor_;
  GifFileType* gif_ = nullptr;
  PictureHeader header_;
  std::vector<StoredFrame> frames_;
};

DecodeResult GifDecoder::Scan() {
  int error = 0;
  gif_ = DGifOpen(&cursor_, ReadFromMemory, &error);
  if (gif_ == nullptr) return Malformed();
  GraphicsControlBlock control{};
  bool hasControl = false;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif_, &type) == GIF_ERROR || type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      if (!ReadExtension(control, hasControl)) break;
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) break;
    StoredFrame frame;
    frame.descriptorAt = cursor_.at;
    if (DGifGetImageDesc(gif_) == GIF_ERROR) break;
    const GifImageDesc& image = gif_->Image;
    bool hasTable = image.ColorMap != nullptr || gif_->SColorMap != nullptr;
    if (image.Width < 1 || image.Height < 1 || !hasTable || !SkipImageData()) break;
    frame.info = {uint32_t(image.Width),
                  uint32_t(image.Height),
                  image.Left,
                  image.Top,
                  hasControl ? uint32_t(std::max(control.DelayTime, 0)) : 10u,
                  hasControl ? uint32_t(std::max(control.DisposalMode, 0)) : 0u};
    frame.transparentIndex = hasControl ? control.TransparentColor : -1;
    if (frame.transparentIndex >= 0) header_.hasAlpha = true;
    frames_.push_back(frame);
    hasControl = false;  // a control block belongs to the one image that follows it
  }
  if (frames_.empty()) return Malformed();
  header_.width = frames_[0].info.width;
  header_.height = frames_[0].info.height;
  header_.frameCount = uint32_t(frames_.size());
  header_.bitsPerPixel = 8;
  header_.canvasWidth = uint32_t(std::max(gif_->SWidth, 0));
  header_.canvasHeight = uint32_t(std::max(gif_->SHeight, 0));
  return {};
}

bool GifDecoder::ReadExtension(GraphicsControlBlock& control, bool& hasControl) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) return false;
  for (bool first = true; block != nullptr; first = false) {
    if (code == GRAPHICS_EXT_FUNC_CODE && first) {
      hasControl = DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK;
    }
    if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) return false;
  }
  return true;
}

// Passes over the compressed sub-blocks of the image just described, without decompressing them.
bool GifDecoder::SkipImageData() {
  int codeSize = 0;
  GifByteType* block = nullptr;
  if (DGifGetCode(gif_, &codeSize, &block) == GIF_ERROR) return false;
  while (block != nullptr) {
    if (DGifGetCodeNext(gif_, &block) == GIF_ERROR) return false;
  }
  return true;
}

DecodeResult GifDecoder::Frame(uint32_t index, FrameInfo& info) {
  if (index >= frames_.size()) return Malformed();
  info = frames_[index].info;
  return {};
}

// The colour table of the image just described, as premultiplied BGRA.
std::array<uint8_t, 1024> GifDecoder::Palette(int transparentIndex) const {
  std::array<uint8_t, 1024> palette{};
  for (size_t index = 0; index < 256; ++index) palette[index * 4 + 3] = 255;
  const ColorMapObject* map = gif_->Image.ColorMap != nullptr ? gif_->Image.ColorMap : gif_->SColorMap;
  int count = std::clamp(map->ColorCount, 0, 256);
  for (int index = 0; index < count; ++index) {
    palette[index * 4 + 0] = map->Colors[index].Blue;
    palette[index * 4 + 1] = map->Colors[index].Green;
    palette[index * 4 + 2] = map->Colors[index].Red;
  }
  if (transparentIndex >= 0 && transparentIndex < 256)
    std::memset(palette.data() + transparentIndex * 4, 0, 4);
  return palette;
}

// Decompresses the rows of the image just described into out, placing interlaced rows.
bool GifDecoder::ReadRows(Bitmap& out, const std::array<uint8_t, 1024>& palette,
                          const std::atomic<bool>* cancel) {
  // Interlaced images store every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
  static constexpr uint32_t kPassStart[] = {0, 4, 2, 1};
  static constexpr uint32_t kPassStep[] = {8, 8, 4, 2};
  bool interlaced = gif_->Image.Interlace;
  std::vector<GifPixelType> line(out.width);
  uint32_t rowsRead = 0;
  for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass) {
    uint32_t step = interlaced ? kPassStep[pass] : 1;
    for (uint32_t row = interlaced ? kPassStart[pass] : 0; row < out.height; row += step) {
      if (++rowsRead % kRowsPerCancelCheck == 0 && CancelRequested(cancel)) return false;
      if (DGifGetLine(gif_, line.data(), int(out.width)) == GIF_ERROR) return false;
      uint8_t* target = out.pixels.data() + size_t(row) * out.width * 4;
      for (uint32_t column = 0; column < out.width; ++column, target += 4) {
        std::memcpy(target, palette.data() + line[column] * 4, 4);
      }
    }
  }
  return true;
}

DecodeResult GifDecoder::Decode(const DecodeRequest& request, Bitmap& out) {
  if (request.frame >= frames_.size()) return Malformed();
  const StoredFrame& frame = frames_[request.frame];
  if (uint64_t(frame.info.width) * frame.info.height > kMaxAnimationPixels)
    return {DecodeStatus::TooLarge, 0};
  cursor_.at = frame.descriptorAt;
  if (DGifGetImageDesc(gif_) == GIF_ERROR) return Malformed();
  out.width = frame.info.width;
  out.height = frame.info.height;
  out.colourConverted = false;
  try {
    out.pixels.assign(size_t(out.width) * out.height * 4, 0);
  } catch (const std::bad_alloc&) {
    out.pixels.clear();
    return {DecodeStatus::OutOfMemory, 0};
  }
  if (!ReadRows(out, Palette(frame.transparentIndex), request.cancel)) {
    out.pixels.clear();
    return Malformed();
  }
  return {};
}

}  // namespace

std::unique_ptr<Decoder> OpenGifDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  auto decoder = std::make_unique<GifDecoder>(bytes);
  result = decoder->Scan();
  if (!result.Ok()) return nullptr;
  return decoder;
}

}  // namespace Quarlo::Imaging
