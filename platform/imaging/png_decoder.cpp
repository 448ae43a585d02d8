#include "platform/imaging/png_decoder.h"

#include <png.h>

#include <cerrno>
#include <cstring>

#include "platform/imaging/pixel_ops.h"
#include "platform/imaging/png_memory.h"

namespace Quarlo::Imaging {

namespace {

// PNG allows sizes up to 2^31 - 1; the pipeline's own pixel limit decides, not libpng's default.
constexpr png_uint_32 kLargestSide = 0x7FFFFFFF;

// One libpng read over the bytes, destroyed with this.
struct Session {
  PngByteReader reader;
  png_structp png = nullptr;
  png_infop info = nullptr;

  explicit Session(std::span<const uint8_t> bytes) : reader{bytes} {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngLongJumpOnError, PngIgnoreWarning);
    if (png) info = png_create_info_struct(png);
    if (!info) return;
    png_set_read_fn(png, &reader, PngReadFromBytes);
    png_set_user_limits(png, kLargestSide, kLargestSide);
  }
  ~Session() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  bool Ready() const { return info != nullptr; }
};

bool ReadInfo(Session& s) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_read_info(s.png, s.info);
  return true;
}

class PngDecoder final : public Decoder {
 public:
  explicit PngDecoder(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  DecodeResult Open() {
    Session s(bytes_);
    if (!s.Ready()) return {DecodeStatus::OutOfMemory, ENOMEM};
    if (!ReadInfo(s)) return {DecodeStatus::Damaged, kLibpngError};
    int colourType = png_get_color_type(s.png, s.info);
    int depth = png_get_bit_depth(s.png, s.info);
    header_.width = png_get_image_width(s.png, s.info);
    header_.height = png_get_image_height(s.png, s.info);
    header_.bitsPerPixel =
        colourType == PNG_COLOR_TYPE_PALETTE ? depth : depth * png_get_channels(s.png, s.info);
    header_.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(s.png, s.info, PNG_INFO_tRNS);
    header_.model = (colourType & PNG_COLOR_MASK_COLOR) ? SampleModel::Rgb : SampleModel::Gray;
    interlaced_ = png_get_interlace_type(s.png, s.info) != PNG_INTERLACE_NONE;
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileSize = 0;
    if (png_get_iCCP(s.png, s.info, &name, &compression, &profile, &profileSize) && profile) {
      header_.iccProfile.assign(profile, profile + profileSize);
    }
    png_bytep exif = nullptr;
    png_uint_32 exifSize = 0;
    if (png_get_eXIf_1(s.png, s.info, &exifSize, &exif) && exif) header_.exif = ReadExif({exif, exifSize});
    return {};
  }

  const PictureHeader& Header() const override { return header_; }

  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override {
    if (request.frame != 0) return {DecodeStatus::Damaged, 0};
    Session s(bytes_);
    if (!s.Ready()) return {DecodeStatus::OutOfMemory, ENOMEM};
    const bool reduce = request.minWidth > 0 && request.minHeight > 0 &&
                        (request.minWidth < header_.width || request.minHeight < header_.height);
    if (reduce && !interlaced_) return DecodeReduced(s, request, out);
    try {
      out.pixels = AllocatePixels(header_.width, header_.height);
      rows_.resize(header_.height);
    } catch (const std::bad_alloc&) {
      return {DecodeStatus::OutOfMemory, ENOMEM};
    }
    out.width = header_.width;
    out.height = header_.height;
    for (uint32_t y = 0; y < out.height; ++y) rows_[y] = out.pixels.data() + size_t(y) * out.width * 4;
    if (!ReadPixels(s, request.colourManage, request.cancel)) return {DecodeStatus::Damaged, kLibpngError};
    if (header_.hasAlpha) {
      for (uint32_t y = 0; y < out.height; ++y) PremultiplyRow(rows_[y], out.width);
    }
    return {};
  }

 private:
  // Every colour type becomes 8-bit BGRA with straight alpha.
  void SetTransforms(Session& s, bool colourManage) {
    png_structp png = s.png;
    int colourType = png_get_color_type(png, s.info);
    png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_scale_16(png);
    if (!(colourType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!header_.hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    // A gAMA chunk alone (no profile, no sRGB chunk) still tells how the samples were encoded.
    bool described = png_get_valid(png, s.info, PNG_INFO_iCCP) || png_get_valid(png, s.info, PNG_INFO_sRGB);
    if (colourManage && !described && png_get_valid(png, s.info, PNG_INFO_gAMA)) {
      png_set_gamma(png, PNG_DEFAULT_sRGB, PNG_DEFAULT_sRGB);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, s.info);
  }

  bool ReadPixels(Session& s, bool colourManage, const std::atomic<bool>* cancel) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_read_info(s.png, s.info);
    SetTransforms(s, colourManage);
    if (png_get_rowbytes(s.png, s.info) != size_t(header_.width) * 4) png_error(s.png, "unexpected row size");
    if (interlaced_) {
      png_read_image(s.png, rows_.data());
      return true;
    }
    for (png_bytep row : rows_) {
      if (cancel && cancel->load(std::memory_order_relaxed)) return false;
      png_read_row(s.png, row, nullptr);
    }
    return true;
  }

  // Thumbnails of non-interlaced pictures: rows go one by one into the scaler, so the whole picture
  // is never held.
  DecodeResult DecodeReduced(Session& s, const DecodeRequest& request, Bitmap& out) {
    const uint32_t width = std::min(request.minWidth, header_.width);
    const uint32_t height = std::min(request.minHeight, header_.height);
    std::unique_ptr<RowScaler> scaler;
    std::vector<uint8_t> row;
    try {
      scaler = std::make_unique<RowScaler>(header_.width, header_.height, width, height);
      row.resize(size_t(header_.width) * 4);
    } catch (const std::bad_alloc&) {
      return {DecodeStatus::OutOfMemory, ENOMEM};
    }
    if (!ReadRows(s, request, row.data(), *scaler)) return {DecodeStatus::Damaged, kLibpngError};
    try {
      out.pixels = scaler->Finish();
    } catch (const std::bad_alloc&) {
      return {DecodeStatus::OutOfMemory, ENOMEM};
    }
    out.width = width;
    out.height = height;
    return {};
  }

  bool ReadRows(Session& s, const DecodeRequest& request, uint8_t* row, RowScaler& scaler) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_read_info(s.png, s.info);
    SetTransforms(s, request.colourManage);
    if (png_get_rowbytes(s.png, s.info) != size_t(header_.width) * 4) png_error(s.png, "unexpected row size");
    for (uint32_t y = 0; y < header_.height; ++y) {
      if (request.cancel && request.cancel->load(std::memory_order_relaxed)) return false;
      png_read_row(s.png, row, nullptr);
      if (header_.hasAlpha) PremultiplyRow(row, header_.width);
      scaler.AddRow(row);
    }
    return true;
  }

  std::span<const uint8_t> bytes_;
  PictureHeader header_;
  bool interlaced_ = false;
  std::vector<png_bytep> rows_;
};

}  // namespace

std::unique_ptr<Decoder> OpenPngDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  auto decoder = std::make_unique<PngDecoder>(bytes);
  result = decoder->Open();
  if (!result.Ok()) return nullptr;
  return decoder;
}

}  // namespace Quarlo::Imaging
