#include "platform/imaging/webp_decoder.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cerrno>

#include "platform/imaging/pixel_ops.h"

namespace Quarlo::Imaging {

namespace {

// The EXIF chunk of a WebP file, through libwebp's own chunk walk.
ExifValues ReadWebpExif(std::span<const uint8_t> bytes) {
  WebPData data = {bytes.data(), bytes.size()};
  WebPDemuxer* demux = WebPDemux(&data);
  ExifValues values;
  if (!demux) return values;
  WebPChunkIterator chunk;
  if ((WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS) & EXIF_FLAG) &&
      WebPDemuxGetChunk(demux, "EXIF", 1, &chunk)) {
    values = ReadExif({chunk.chunk.bytes, chunk.chunk.size});
    WebPDemuxReleaseChunkIterator(&chunk);
  }
  WebPDemuxDelete(demux);
  return values;
}

class WebpDecoder final : public Decoder {
 public:
  explicit WebpDecoder(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  DecodeResult Open() {
    WebPBitstreamFeatures features;
    VP8StatusCode status = WebPGetFeatures(bytes_.data(), bytes_.size(), &features);
    if (status != VP8_STATUS_OK) return {DecodeStatus::Damaged, status};
    if (features.has_animation) return {DecodeStatus::Unsupported, VP8_STATUS_UNSUPPORTED_FEATURE};
    if (features.width <= 0 || features.height <= 0)
      return {DecodeStatus::Damaged, VP8_STATUS_BITSTREAM_ERROR};
    header_.width = uint32_t(features.width);
    header_.height = uint32_t(features.height);
    header_.hasAlpha = features.has_alpha;
    header_.bitsPerPixel = features.has_alpha ? 32 : 24;
    header_.exif = ReadWebpExif(bytes_);
    return {};
  }

  const PictureHeader& Header() const override { return header_; }

  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override {
    if (request.frame != 0) return {DecodeStatus::Damaged, 0};
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return {DecodeStatus::Damaged, VP8_STATUS_INVALID_PARAM};
    uint32_t width = header_.width, height = header_.height;
    if (request.minWidth > 0 && request.minHeight > 0 &&
        (request.minWidth < width || request.minHeight < height)) {
      width = std::min(request.minWidth, width);
      height = std::min(request.minHeight, height);
      config.options.use_scaling = 1;
      config.options.scaled_width = int(width);
      config.options.scaled_height = int(height);
    }
    // libwebp's threaded mode (filtering on a second thread) measured no faster on a 24-megapixel
    // picture with the picture and thumbnail lanes already decoding side by side, so it stays off.
    try {
      out.pixels = AllocatePixels(width, height);
    } catch (const std::bad_alloc&) {
      return {DecodeStatus::OutOfMemory, ENOMEM};
    }
    config.output.colorspace = MODE_bgrA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = out.pixels.data();
    config.output.u.RGBA.stride = int(width * 4);
    config.output.u.RGBA.size = out.pixels.size();
    VP8StatusCode status = WebPDecode(bytes_.data(), bytes_.size(), &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) {
      out.pixels.clear();
      return {status == VP8_STATUS_OUT_OF_MEMORY ? DecodeStatus::OutOfMemory : DecodeStatus::Damaged, status};
    }
    out.width = width;
    out.height = height;
    return {};
  }

 private:
  std::span<const uint8_t> bytes_;
  PictureHeader header_;
};

}  // namespace

std::unique_ptr<Decoder> OpenWebpDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  auto decoder = std::make_unique<WebpDecoder>(bytes);
  result = decoder->Open();
  if (!result.Ok()) return nullptr;
  return decoder;
}

}  // namespace Quarlo::Imaging
