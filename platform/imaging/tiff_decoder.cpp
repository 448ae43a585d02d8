#include "platform/imaging/tiff_decoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/imaging/pixel_ops.h"

namespace Quarlo::Imaging {

namespace {

constexpr int32_t kLibtiffError = 1;
// libtiff's own buffers (strips, tiles) above this are refused rather than allocated.
constexpr tmsize_t kMaxLibtiffAllocation = 256 * 1024 * 1024;

struct MemoryFile {
  std::span<const uint8_t> bytes;
  uint64_t position = 0;
  bool failed = false;
};

tmsize_t Read(thandle_t handle, void* out, tmsize_t size) {
  auto* file = static_cast<MemoryFile*>(handle);
  if (size <= 0 || file->position >= file->bytes.size()) return 0;
  uint64_t count = std::min<uint64_t>(uint64_t(size), file->bytes.size() - file->position);
  std::memcpy(out, file->bytes.data() + file->position, count);
  file->position += count;
  return tmsize_t(count);
}
tmsize_t Write(thandle_t, void*, tmsize_t) { return 0; }
toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<MemoryFile*>(handle);
  uint64_t base = whence == SEEK_CUR ? file->position : whence == SEEK_END ? file->bytes.size() : 0;
  file->position = base + offset;
  return file->position;
}
int Close(thandle_t) { return 0; }
toff_t Size(thandle_t handle) { return static_cast<MemoryFile*>(handle)->bytes.size(); }

int OnError(TIFF*, void* user, const char*, const char*, va_list) {
  static_cast<MemoryFile*>(user)->failed = true;
  return 1;  // handled: nothing reaches stderr
}
int OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// One libtiff handle over the bytes, closed with this.
struct Session {
  MemoryFile file;
  TIFF* tiff = nullptr;

  explicit Session(std::span<const uint8_t> bytes) : file{bytes} {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return;
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &file);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibtiffAllocation);
    // "m": no memory mapping (the bytes are already in memory and read through Read).
    tiff =
        TIFFClientOpenExt("memory", "rm", &file, Read, Write, Seek, Close, Size, nullptr, nullptr, options);
    TIFFOpenOptionsFree(options);
  }
  ~Session() {
    if (tiff) TIFFClose(tiff);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
};

class TiffDecoder final : public Decoder {
 public:
  explicit TiffDecoder(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  DecodeResult Open() {
    Session s(bytes_);
    if (!s.tiff) return {DecodeStatus::Damaged, kLibtiffError};
    uint32_t width = 0, height = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISBLACK, extraCount = 0;
    uint16_t* extra = nullptr;
    TIFFGetField(s.tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(s.tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(s.tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(s.tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(s.tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(s.tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
    char message[1024];
    if (!TIFFRGBAImageOK(s.tiff, message)) return {DecodeStatus::Unsupported, kLibtiffError};
    header_.width = width;
    header_.height = height;
    header_.bitsPerPixel = uint32_t(bits) * samples;
    header_.hasAlpha =
        extraCount > 0 && extra && (extra[0] == EXTRASAMPLE_ASSOCALPHA || extra[0] == EXTRASAMPLE_UNASSALPHA);
    header_.model = photometric == PHOTOMETRIC_SEPARATED ? SampleModel::Cmyk
                    : photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE
                        ? SampleModel::Gray
                        : SampleModel::Rgb;
    uint32_t iccSize = 0;
    void* icc = nullptr;
    if (TIFFGetField(s.tiff, TIFFTAG_ICCPROFILE, &iccSize, &icc) && icc) {
      const uint8_t* data = static_cast<const uint8_t*>(icc);
      header_.iccProfile.assign(data, data + iccSize);
    }
    header_.exif = ReadTiffFileExif(bytes_);
    return {};
  }

  const PictureHeader& Header() const override { return header_; }

  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override {
    if (request.frame != 0) return {DecodeStatus::Damaged, 0};
    Session s(bytes_);
    if (!s.tiff) return {DecodeStatus::Damaged, kLibtiffError};
    char message[1024];
    TIFFRGBAImage image;
    if (!TIFFRGBAImageBegin(&image, s.tiff, 0, message)) return {DecodeStatus::Unsupported, kLibtiffError};
    // The stored row order is kept: the EXIF orientation step turns the picture, as for other formats.
    image.req_orientation = image.orientation;
    try {
      out.pixels = AllocatePixels(header_.width, header_.height);
      // libtiff goes on past a strip or tile it cannot read; what it leaves unwritten must not
      // show stale memory.
      std::fill(out.pixels.begin(), out.pixels.end(), uint8_t(0));
    } catch (const std::bad_alloc&) {
      TIFFRGBAImageEnd(&image);
      return {DecodeStatus::OutOfMemory, ENOMEM};
    }
    int ok = TIFFRGBAImageGet(&image, reinterpret_cast<uint32_t*>(out.pixels.data()), header_.width,
                              header_.height);
    TIFFRGBAImageEnd(&image);
    if (!ok || s.file.failed) {
      out.pixels.clear();
      return {DecodeStatus::Damaged, kLibtiffError};
    }
    // libtiff packs R, G, B, A (alpha already premultiplied); the canvas wants B, G, R, A.
    for (size_t i = 0; i < out.pixels.size(); i += 4) std::swap(out.pixels[i], out.pixels[i + 2]);
    out.width = header_.width;
    out.height = header_.height;
    return {};
  }

 private:
  std::span<const uint8_t> bytes_;
  PictureHeader header_;
};

}  // namespace

std::unique_ptr<Decoder> OpenTiffDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  auto decoder = std::make_unique<TiffDecoder>(bytes);
  result = decoder->Open();
  if (!result.Ok()) return nullptr;
  return decoder;
}

}  // namespace Quarlo::Imaging
