#include "platform/imaging/jpeg_decoder.h"

#include <jerror.h>
#include <jpeglib.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/imaging/colour.h"
#include "platform/imaging/pixel_ops.h"

namespace Quarlo::Imaging {

namespace {

// A progressive file with more scans than this is hostile: each scan re-walks every coefficient.
constexpr int kMaxScans = 500;
// Internal buffers (progressive coefficients) beyond this fail instead of growing without bound.
constexpr long kMaxInternalMemory = 1024L * 1024 * 1024;
constexpr int kApp1 = JPEG_APP0 + 1;
constexpr int kApp2 = JPEG_APP0 + 2;

struct ErrorState {
  jpeg_error_mgr manager;
  jmp_buf jump;
  int code = 0;
  int scans = 0;
};

// libjpeg's default error handler calls exit(); this one returns to the setjmp of the caller.
[[noreturn]] void OnError(j_common_ptr info) {
  auto* state = reinterpret_cast<ErrorState*>(info->err);
  state->code = state->manager.msg_code;
  std::longjmp(state->jump, 1);
}

// Warnings and trace messages are silent, except that a file ending early is damaged and that a
// flood of progressive scans is refused.
void OnMessage(j_common_ptr info, int level) {
  auto* state = reinterpret_cast<ErrorState*>(info->err);
  int code = state->manager.msg_code;
  if (level < 0) {
    if (code == JWRN_JPEG_EOF) OnError(info);
    state->manager.num_warnings++;
  } else if (code == JTRC_SOS && ++state->scans > kMaxScans) {
    OnError(info);
  }
}

void Silent(j_common_ptr) {}

// One libjpeg decompression object over the bytes, destroyed with this. Every libjpeg call that
// can fail (creation and the memory source included) runs below a setjmp of its caller.
struct Session {
  jpeg_decompress_struct info;
  ErrorState error;
  std::span<const uint8_t> bytes;

  explicit Session(std::span<const uint8_t> input) : bytes(input) {
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnError;
    error.manager.emit_message = OnMessage;
    error.manager.output_message = Silent;
  }
  ~Session() { jpeg_destroy_decompress(&info); }  // safe on an object that was never created
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
};

DecodeStatus StatusOf(int code) {
  return code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE ? DecodeStatus::OutOfMemory
                                                                     : DecodeStatus::Damaged;
}

// Reads the header with the EXIF and ICC markers kept. Only plain data is live across the setjmp.
bool ReadHeader(Session& session) {
  if (setjmp(session.error.jump)) return false;
  jpeg_create_decompress(&session.info);
  session.info.mem->max_memory_to_use = kMaxInternalMemory;
  jpeg_mem_src(&session.info, session.bytes.data(), static_cast<unsigned long>(session.bytes.size()));
  jpeg_save_markers(&session.info, kApp1, 0xFFFF);
  jpeg_save_markers(&session.info, kApp2, 0xFFFF);
  jpeg_read_header(&session.info, TRUE);
  return true;
}

bool CalcOutputSize(Session& session) {
  if (setjmp(session.error.jump)) return false;
  jpeg_calc_output_dimensions(&session.info);
  return true;
}

bool ReadIcc(Session& session, JOCTET** data, unsigned int* size) {
  if (setjmp(session.error.jump)) return false;
  return jpeg_read_icc_profile(&session.info, data, size);
}

bool IsCmyk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

// Smallest M of libjpeg's M/8 output scaling that still covers the wanted size.
int ScaleEighths(uint32_t width, uint32_t height, uint32_t minWidth, uint32_t minHeight) {
  if (minWidth == 0 || minHeight == 0) return 8;
  for (int m = 1; m < 8; ++m) {
    uint64_t w = (uint64_t(width) * m + 7) / 8, h = (uint64_t(height) * m + 7) / 8;
    if (w >= minWidth && h >= minHeight) return m;
  }
  return 8;
}

// Turns the CMYK samples libjpeg left in a row into BGRA, in place. Adobe writes its CMYK inverted
// (0 = full ink); plain CMYK is turned into that form first.
void ConvertCmykRow(uint8_t* row, uint32_t width, bool adobeInverted, const ColourTransform* colour,
                    uint8_t* scratch) {
  if (colour) {
    for (uint32_t i = 0; i < width * 4; ++i) scratch[i] = adobeInverted ? uint8_t(255 - row[i]) : row[i];
    colour->CmykToBgra(scratch, row, width);
    return;
  }
  for (uint32_t i = 0; i < width; ++i, row += 4) {
    uint32_t c = row[0], m = row[1], y = row[2], k = row[3];
    if (!adobeInverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    row[0] = uint8_t((y * k + 127) / 255);
    row[1] = uint8_t((m * k + 127) / 255);
    row[2] = uint8_t((c * k + 127) / 255);
    row[3] = 255;
  }
}

class JpegDecoder final : public Decoder {
 public:
  explicit JpegDecoder(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  DecodeResult Open() {
    Session session(bytes_);
    if (!ReadHeader(session)) return {StatusOf(session.error.code), session.error.code};
    const jpeg_decompress_struct& info = session.info;
    header_.width = info.image_width;
    header_.height = info.image_height;
    header_.bitsPerPixel = uint32_t(info.num_components) * 8;
    header_.reducesCheaply = true;
    header_.model = IsCmyk(info.jpeg_color_space)            ? SampleModel::Cmyk
                    : info.jpeg_color_space == JCS_GRAYSCALE ? SampleModel::Gray
                                                             : SampleModel::Rgb;
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
      if (marker->marker != kApp1) continue;
      std::span<const uint8_t> payload(marker->data, marker->data_length);
      if (!TiffStructured(payload).empty() && payload.size() > 6 && payload[0] == 'E') {
        header_.exif = ReadExif(payload);
        break;
      }
    }
    JOCTET* icc = nullptr;
    unsigned int iccSize = 0;
    if (ReadIcc(session, &icc, &iccSize) && icc) header_.iccProfile.assign(icc, icc + iccSize);
    std::free(icc);
    return {};
  }

  const PictureHeader& Header() const override { return header_; }

  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override {
    if (request.frame != 0) return {DecodeStatus::Damaged, 0};
    Session session(bytes_);
    if (!ReadHeader(session)) return {StatusOf(session.error.code), session.error.code};
    jpeg_decompress_struct& info = session.info;
    const bool cmyk = IsCmyk(info.jpeg_color_space);
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    info.scale_num = ScaleEighths(header_.width, header_.height, request.minWidth, request.minHeight);
    info.scale_denom = 8;
    if (info.scale_num < 8) {
      // Thumbnails: the fast paths cost nothing visible once the picture is reduced this much.
      info.dct_method = JDCT_IFAST;
      info.do_fancy_upsampling = FALSE;
    }
    if (!CalcOutputSize(session)) return {StatusOf(session.error.code), session.error.code};
    try {
      out.pixels = AllocatePixels(info.output_width, info.output_height);
      rows_.resize(info.output_height);
      if (cmyk) scratch_.resize(size_t(info.output_width) * 4);
    } catch (const std::bad_alloc&) {
      return {DecodeStatus::OutOfMemory, ENOMEM};
    }
    out.width = info.output_width;
    out.height = info.output_height;
    for (uint32_t y = 0; y < out.height; ++y) rows_[y] = out.pixels.data() + size_t(y) * out.width * 4;
    const bool adobe = info.saw_Adobe_marker;
    const ColourTransform* colour =
        cmyk && request.colour && request.colour->Model() == SampleModel::Cmyk ? request.colour : nullptr;
    if (!ReadPixels(session, cmyk, adobe, colour, request.cancel)) {
      return {StatusOf(session.error.code), session.error.code};
    }
    out.colourConverted = colour != nullptr;
    return {};
  }

 private:
  bool ReadPixels(Session& session, bool cmyk, bool adobe, const ColourTransform* colour,
                  const std::atomic<bool>* cancel) {
    jpeg_decompress_struct& info = session.info;
    if (setjmp(session.error.jump)) return false;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      if (cancel && cancel->load(std::memory_order_relaxed)) return false;
      JDIMENSION first = info.output_scanline;
      JDIMENSION got = jpeg_read_scanlines(&info, rows_.data() + first, info.output_height - first);
      if (got == 0) OnError(reinterpret_cast<j_common_ptr>(&info));
      if (cmyk) {
        for (JDIMENSION y = first; y < first + got; ++y) {
          ConvertCmykRow(rows_[y], info.output_width, adobe, colour, scratch_.data());
        }
      }
    }
    jpeg_finish_decompress(&info);
    return true;
  }

  std::span<const uint8_t> bytes_;
  PictureHeader header_;
  std::vector<JSAMPROW> rows_;
  std::vector<uint8_t> scratch_;
};

}  // namespace

std::unique_ptr<Decoder> OpenJpegDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  auto decoder = std::make_unique<JpegDecoder>(bytes);
  result = decoder->Open();
  if (!result.Ok()) return nullptr;
  return decoder;
}

}  // namespace Quarlo::Imaging
