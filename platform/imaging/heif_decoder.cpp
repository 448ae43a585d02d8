#include "platform/imaging/heif_decoder.h"

#include <libheif/heif.h>

#include <cerrno>
#include <cstring>

#include "platform/imaging/colour.h"
#include "platform/imaging/pixel_ops.h"

namespace Quarlo::Imaging {

namespace {

DecodeResult ResultOf(const heif_error& error) {
  if (error.code == heif_error_Ok) return {};
  int32_t code = int32_t(error.code) * 1000 + int32_t(error.subcode);
  switch (error.code) {
    case heif_error_Memory_allocation_error:
      return {DecodeStatus::OutOfMemory, code};
    case heif_error_Unsupported_feature:
    case heif_error_Unsupported_filetype:
      return {DecodeStatus::Unsupported, code};
    default:
      return {DecodeStatus::Damaged, code};
  }
}

// The TIFF-structured part of a HEIF "Exif" item: a 32-bit big-endian offset, then the block.
ExifValues ReadHeifExif(const heif_image_handle* handle) {
  heif_item_id id = 0;
  if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) < 1) return {};
  size_t size = heif_image_handle_get_metadata_size(handle, id);
  if (size < 4) return {};
  std::vector<uint8_t> data(size);
  if (heif_image_handle_get_metadata(handle, id, data.data()).code != heif_error_Ok) return {};
  uint64_t offset =
      (uint32_t(data[0]) << 24) | (uint32_t(data[1]) << 16) | (uint32_t(data[2]) << 8) | data[3];
  if (offset > size - 4) return {};
  ExifValues values = ReadExif(std::span<const uint8_t>(data).subspan(4 + offset));
  // libheif applies the container's rotation and mirroring; the EXIF tag must not turn it again.
  values.orientation.reset();
  return values;
}

bool IsBt709(const heif_color_profile_nclx& nclx) {
  return nclx.color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
         nclx.color_primaries == heif_color_primaries_unspecified;
}

class HeifDecoder final : public Decoder {
 public:
  explicit HeifDecoder(std::span<const uint8_t> bytes) : bytes_(bytes), context_(heif_context_alloc()) {}
  ~HeifDecoder() override {
    if (handle_) heif_image_handle_release(handle_);
    if (context_) heif_context_free(context_);
  }

  DecodeResult Open() {
    if (!context_) return {DecodeStatus::OutOfMemory, ENOMEM};
    DecodeResult result =
        ResultOf(heif_context_read_from_memory_without_copy(context_, bytes_.data(), bytes_.size(), nullptr));
    if (!result.Ok()) return result;
    result = ResultOf(heif_context_get_primary_image_handle(context_, &handle_));
    if (!result.Ok()) return result;
    int width = heif_image_handle_get_width(handle_), height = heif_image_handle_get_height(handle_);
    if (width <= 0 || height <= 0) return {DecodeStatus::Damaged, 0};
    header_.width = uint32_t(width);
    header_.height = uint32_t(height);
    header_.hasAlpha = heif_image_handle_has_alpha_channel(handle_);
    int bits = std::max(heif_image_handle_get_luma_bits_per_pixel(handle_), 8);
    header_.bitsPerPixel = uint32_t(bits) * (header_.hasAlpha ? 4 : 3);
    ReadColour();
    header_.exif = ReadHeifExif(handle_);
    return {};
  }

  const PictureHeader& Header() const override { return header_; }

  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override {
    if (request.frame != 0) return {DecodeStatus::Damaged, 0};
    heif_decoding_options* options = heif_decoding_options_alloc();
    if (!options) return {DecodeStatus::OutOfMemory, ENOMEM};
    options->convert_hdr_to_8bit = 1;
    heif_image* image = nullptr;
    heif_chroma chroma = header_.hasAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
    DecodeResult result = ResultOf(heif_decode_image(handle_, &image, heif_colorspace_RGB, chroma, options));
    heif_decoding_options_free(options);
    if (!result.Ok()) return result;
    result = CopyOut(image, out);
    heif_image_release(image);
    return result;
  }

 private:
  void ReadColour() {
    if (heif_image_handle_get_color_profile_type(handle_) == heif_color_profile_type_prof ||
        heif_image_handle_get_color_profile_type(handle_) == heif_color_profile_type_rICC) {
      size_t size = heif_image_handle_get_raw_color_profile_size(handle_);
      header_.iccProfile.resize(size);
      if (size == 0 ||
          heif_image_handle_get_raw_color_profile(handle_, header_.iccProfile.data()).code != heif_error_Ok) {
        header_.iccProfile.clear();
      }
      return;
    }
    heif_color_profile_nclx* nclx = nullptr;
    const bool read = heif_image_handle_get_nclx_color_profile(handle_, &nclx).code == heif_error_Ok;
    if (read && nclx && !IsBt709(*nclx)) {
      const double primaries[6] = {nclx->color_primary_red_x,   nclx->color_primary_red_y,
                                   nclx->color_primary_green_x, nclx->color_primary_green_y,
                                   nclx->color_primary_blue_x,  nclx->color_primary_blue_y};
      const double white[2] = {nclx->color_primary_white_x, nclx->color_primary_white_y};
      header_.iccProfile = ProfileFromPrimaries(primaries, white);
      header_.profileFromPrimaries = !header_.iccProfile.empty();
    }
    // Freed whatever the result: a failing call may still have handed over its record.
    if (nclx) heif_nclx_color_profile_free(nclx);
  }

  DecodeResult CopyOut(const heif_image* image, Bitmap& out) {
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    int width = heif_image_get_width(image, heif_channel_interleaved);
    int height = heif_image_get_height(image, heif_channel_interleaved);
    const int channels = header_.hasAlpha ? 4 : 3;
    if (!plane || width <= 0 || height <= 0 || stride < width * channels) return {DecodeStatus::Damaged, 0};
    try {
      out.pixels = AllocatePixels(uint32_t(width), uint32_t(height));
    } catch (const std::bad_alloc&) {
      return {DecodeStatus::OutOfMemory, ENOMEM};
    }
    const bool premultiplied = heif_image_handle_is_premultiplied_alpha(handle_);
    for (int y = 0; y < height; ++y) {
      const uint8_t* in = plane + size_t(y) * stride;
      uint8_t* row = out.pixels.data() + size_t(y) * width * 4;
      uint8_t* px = row;
      for (int x = 0; x < width; ++x, in += channels, px += 4) {
        px[0] = in[2], px[1] = in[1], px[2] = in[0], px[3] = channels == 4 ? in[3] : 255;
      }
      if (channels == 4 && !premultiplied) PremultiplyRow(row, uint32_t(width));
    }
    out.width = uint32_t(width);
    out.height = uint32_t(height);
    return {};
  }

  std::span<const uint8_t> bytes_;
  heif_context* context_;
  heif_image_handle* handle_ = nullptr;
  PictureHeader header_;
};

}  // namespace

std::unique_ptr<Decoder> OpenHeifDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  auto decoder = std::make_unique<HeifDecoder>(bytes);
  result = decoder->Open();
  if (!result.Ok()) return nullptr;
  return decoder;
}

}  // namespace Quarlo::Imaging
