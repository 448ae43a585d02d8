#include "platform/imaging/jxl_decoder.h"

#include <jxl/decode.h>
#include <jxl/thread_parallel_runner.h>

#include <cerrno>

#include "platform/imaging/pixel_ops.h"

namespace Quarlo::Imaging {

namespace {

constexpr JxlPixelFormat kRgba8 = {4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};

struct Session {
  JxlDecoder* decoder = JxlDecoderCreate(nullptr);
  void* runner = nullptr;

  Session(std::span<const uint8_t> bytes, int events) {
    if (!decoder) return;
    JxlDecoderSubscribeEvents(decoder, events);
    JxlDecoderSetKeepOrientation(decoder, JXL_TRUE);
    JxlDecoderSetInput(decoder, bytes.data(), bytes.size());
    JxlDecoderCloseInput(decoder);
  }
  ~Session() {
    if (decoder) JxlDecoderDestroy(decoder);
    if (runner) JxlThreadParallelRunnerDestroy(runner);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void UseThreads() {
    runner = JxlThreadParallelRunnerCreate(nullptr, JxlThreadParallelRunnerDefaultNumWorkerThreads());
    if (runner) JxlDecoderSetParallelRunner(decoder, JxlThreadParallelRunner, runner);
  }
};

bool IsSrgb(const JxlColorEncoding& e) {
  return (e.color_space == JXL_COLOR_SPACE_RGB || e.color_space == JXL_COLOR_SPACE_GRAY) &&
         e.white_point == JXL_WHITE_POINT_D65 && e.transfer_function == JXL_TRANSFER_FUNCTION_SRGB &&
         (e.color_space == JXL_COLOR_SPACE_GRAY || e.primaries == JXL_PRIMARIES_SRGB);
}

DecodeResult Failed(JxlDecoderStatus status) { return {DecodeStatus::Damaged, int32_t(status)}; }

class JxlBackend final : public Decoder {
 public:
  explicit JxlBackend(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  DecodeResult Open() {
    Session s(bytes_, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING);
    if (!s.decoder) return {DecodeStatus::OutOfMemory, ENOMEM};
    for (;;) {
      JxlDecoderStatus status = JxlDecoderProcessInput(s.decoder);
      if (status == JXL_DEC_BASIC_INFO) {
        JxlBasicInfo info;
        if (JxlDecoderGetBasicInfo(s.decoder, &info) != JXL_DEC_SUCCESS) return Failed(status);
        TakeBasicInfo(info);
      } else if (status == JXL_DEC_COLOR_ENCODING) {
        // Plain sRGB needs no conversion; anything else is described by an ICC profile.
        JxlColorEncoding encoding;
        if (JxlDecoderGetColorAsEncodedProfile(s.decoder, &kRgba8, JXL_COLOR_PROFILE_TARGET_DATA,
                                               &encoding) == JXL_DEC_SUCCESS &&
            IsSrgb(encoding)) {
          return header_.width && header_.height ? DecodeResult{} : Failed(status);
        }
        size_t size = 0;
        if (JxlDecoderGetICCProfileSize(s.decoder, &kRgba8, JXL_COLOR_PROFILE_TARGET_DATA, &size) ==
                JXL_DEC_SUCCESS &&
            size > 0) {
          header_.iccProfile.resize(size);
          if (JxlDecoderGetColorAsICCProfile(s.decoder, &kRgba8, JXL_COLOR_PROFILE_TARGET_DATA,
                                             header_.iccProfile.data(), size) != JXL_DEC_SUCCESS) {
            header_.iccProfile.clear();
          }
        }
        return header_.width && header_.height ? DecodeResult{} : Failed(status);
      } else {
        return Failed(status);
      }
    }
  }

  const PictureHeader& Header() const override { return header_; }

  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override {
    if (request.frame != 0) return {DecodeStatus::Damaged, 0};
    Session s(bytes_, JXL_DEC_FULL_IMAGE);
    if (!s.decoder) return {DecodeStatus::OutOfMemory, ENOMEM};
    if (uint64_t(header_.width) * header_.height >= 1024 * 1024) s.UseThreads();
    try {
      out.pixels = AllocatePixels(header_.width, header_.height);
    } catch (const std::bad_alloc&) {
      return {DecodeStatus::OutOfMemory, ENOMEM};
    }
    for (;;) {
      JxlDecoderStatus status = JxlDecoderProcessInput(s.decoder);
      if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
        size_t size = 0;
        if (JxlDecoderImageOutBufferSize(s.decoder, &kRgba8, &size) != JXL_DEC_SUCCESS ||
            size != out.pixels.size() ||
            JxlDecoderSetImageOutBuffer(s.decoder, &kRgba8, out.pixels.data(), size) != JXL_DEC_SUCCESS) {
          out.pixels.clear();
          return Failed(status);
        }
      } else if (status == JXL_DEC_FULL_IMAGE) {
        break;  // the first frame is the picture
      } else {
        out.pixels.clear();
        return Failed(status);
      }
    }
    for (size_t i = 0; i < out.pixels.size(); i += 4) std::swap(out.pixels[i], out.pixels[i + 2]);
    out.width = header_.width;
    out.height = header_.height;
    if (header_.hasAlpha && !alphaPremultiplied_) {
      for (uint32_t y = 0; y < out.height; ++y)
        PremultiplyRow(out.pixels.data() + size_t(y) * out.width * 4, out.width);
    }
    return {};
  }

 private:
  void TakeBasicInfo(const JxlBasicInfo& info) {
    header_.width = info.xsize;
    header_.height = info.ysize;
    header_.hasAlpha = info.alpha_bits > 0;
    header_.bitsPerPixel = info.bits_per_sample * info.num_color_channels + info.alpha_bits;
    header_.model = info.num_color_channels == 1 ? SampleModel::Gray : SampleModel::Rgb;
    header_.exif.orientation = uint32_t(info.orientation);
    alphaPremultiplied_ = info.alpha_premultiplied;
  }

  std::span<const uint8_t> bytes_;
  PictureHeader header_;
  bool alphaPremultiplied_ = false;
};

}  // namespace

std::unique_ptr<Decoder> OpenJxlDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  auto decoder = std::make_unique<JxlBackend>(bytes);
  result = decoder->Open();
  if (!result.Ok()) return nullptr;
  return decoder;
}

}  // namespace Quarlo::Imaging
