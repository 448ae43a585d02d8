#include "support/fixture_pictures.h"

#include <jpeglib.h>
#include <jxl/encode.h>
#include <lcms2.h>
#include <libheif/heif.h>
#include <png.h>
#include <tiffio.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>

namespace Quarlo::Test {

RgbaImage RgbaImage::Filled(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  RgbaImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 4)};
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    image.rgba[i] = r, image.rgba[i + 1] = g, image.rgba[i + 2] = b, image.rgba[i + 3] = a;
  }
  return image;
}

RgbaImage RgbaImage::Photo(uint32_t width, uint32_t height) {
  RgbaImage image = Filled(width, height, 0, 0, 0);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      double u = double(x) / width, v = double(y) / height;
      double sky = 1 - v;
      double sun = std::exp(-((u - 0.7) * (u - 0.7) + (v - 0.3) * (v - 0.3)) * 40);
      double hill = v > 0.6 + 0.1 * std::sin(u * 9) ? 1 : 0;
      uint8_t r = uint8_t(std::min(255.0, 60 + 120 * sky + 150 * sun - 30 * hill));
      uint8_t g = uint8_t(std::min(255.0, 90 + 100 * sky + 120 * sun + 40 * hill));
      uint8_t b = uint8_t(std::min(255.0, 140 + 110 * sky - 90 * hill));
      image.Set(x, y, r, g, b);
    }
  }
  return image;
}

void RgbaImage::Set(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
  p[0] = r, p[1] = g, p[2] = b, p[3] = a;
}

std::vector<uint8_t> EncodeJpeg(const RgbaImage& image, const JpegOptions& options) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = image.width;
  info.image_height = image.height;
  info.input_components = options.grey ? 1 : options.cmyk ? 4 : 3;
  info.in_color_space = options.grey ? JCS_GRAYSCALE : options.cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  if (options.cmyk) {
    jpeg_set_colorspace(&info, JCS_CMYK);
    info.write_Adobe_marker = options.adobeMarker;
  }
  jpeg_set_quality(&info, options.quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  if (!options.exif.empty()) {
    std::vector<uint8_t> app1 = {'E', 'x', 'i', 'f', 0, 0};
    app1.insert(app1.end(), options.exif.begin(), options.exif.end());
    jpeg_write_marker(&info, JPEG_APP0 + 1, app1.data(), unsigned(app1.size()));
  }
  if (!options.icc.empty()) jpeg_write_icc_profile(&info, options.icc.data(), unsigned(options.icc.size()));
  std::vector<uint8_t> row(size_t(image.width) * 4);
  while (info.next_scanline < info.image_height) {
    const uint8_t* in = &image.rgba[size_t(info.next_scanline) * image.width * 4];
    for (uint32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = in + x * 4;
      if (options.grey) {
        row[x] = p[0];
      } else if (options.cmyk) {
        uint8_t c = 255 - p[0], m = 255 - p[1], y = 255 - p[2], k = 0;
        uint8_t* o = &row[x * 4];
        if (options.adobeMarker)
          o[0] = 255 - c, o[1] = 255 - m, o[2] = 255 - y, o[3] = 255 - k;
        else
          o[0] = c, o[1] = m, o[2] = y, o[3] = k;
      } else {
        std::memcpy(&row[x * 3], p, 3);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  jpeg_destroy_compress(&info);
  return bytes;
}

namespace {

void PngWrite(png_structp png, png_bytep data, size_t size) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}
void PngFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> EncodePng(const RgbaImage& image, const PngOptions& options) {
  std::vector<uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("png encode failed");
  }
  png_set_write_fn(png, &bytes, PngWrite, PngFlush);
  png_set_IHDR(png, info, image.width, image.height, options.bitDepth, options.colourType,
               options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::map<uint32_t, uint8_t> indices;
  if (options.colourType == PNG_COLOR_TYPE_PALETTE) {
    std::vector<png_color> palette;
    std::vector<png_byte> alpha;
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
      uint32_t key;
      std::memcpy(&key, &image.rgba[i], 4);
      if (indices.count(key)) continue;
      indices[key] = uint8_t(palette.size());
      palette.push_back({image.rgba[i], image.rgba[i + 1], image.rgba[i + 2]});
      alpha.push_back(image.rgba[i + 3]);
    }
    png_set_PLTE(png, info, palette.data(), int(palette.size()));
    bool anyAlpha = false;
    for (png_byte a : alpha) anyAlpha |= a != 255;
    if (anyAlpha) png_set_tRNS(png, info, alpha.data(), int(alpha.size()), nullptr);
  }
  if (!options.icc.empty()) {
    png_set_iCCP(png, info, options.iccName.c_str(), 0, options.icc.data(), png_uint_32(options.icc.size()));
  }
  if (options.gamma) png_set_gAMA(png, info, *options.gamma);
  if (options.srgbChunk) png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
  if (!options.exif.empty()) {
    png_set_eXIf_1(png, info, png_uint_32(options.exif.size()), const_cast<png_bytep>(options.exif.data()));
  }
  png_write_info(png, info);
  const int channels = options.colourType == 0 || options.colourType == 3 ? 1
                       : options.colourType == 4                          ? 2
                       : options.colourType == 2                          ? 3
                                                                          : 4;
  const int bytesPerSample = options.bitDepth == 16 ? 2 : 1;
  std::vector<std::vector<uint8_t>> rows(image.height, std::vector<uint8_t>(size_t(image.width) * 8 + 8));
  for (uint32_t y = 0; y < image.height; ++y) {
    uint8_t* out = rows[y].data();
    for (uint32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = &image.rgba[(size_t(y) * image.width + x) * 4];
      uint8_t samples[4];
      if (options.colourType == 3) {
        uint32_t key;
        std::memcpy(&key, p, 4);
        samples[0] = indices[key];
      } else if (channels <= 2) {
        samples[0] = p[0], samples[1] = p[3];
      } else {
        std::memcpy(samples, p, 4);
      }
      if (options.bitDepth < 8) {
        int value = options.colourType == 3 ? samples[0] : samples[0] >> (8 - options.bitDepth);
        size_t bit = size_t(x) * options.bitDepth;
        out[bit / 8] |= uint8_t(value << (8 - options.bitDepth - bit % 8));
        continue;
      }
      for (int c = 0; c < channels; ++c) {
        uint8_t* o = out + (size_t(x) * channels + c) * bytesPerSample;
        o[0] = samples[c];
        if (bytesPerSample == 2) o[1] = samples[c];  // v × 257
      }
    }
  }
  std::vector<png_bytep> pointers;
  for (auto& row : rows) pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

std::vector<uint8_t> EncodeWebp(const RgbaImage& image, bool lossless, bool withAlpha, int quality) {
  uint8_t* out = nullptr;
  size_t size = 0;
  const int stride = int(image.width * 4);
  if (withAlpha) {
    size = lossless
               ? WebPEncodeLosslessRGBA(image.rgba.data(), int(image.width), int(image.height), stride, &out)
               : WebPEncodeRGBA(image.rgba.data(), int(image.width), int(image.height), stride,
                                float(quality), &out);
  } else {
    std::vector<uint8_t> rgb;
    for (size_t i = 0; i < image.rgba.size(); i += 4)
      rgb.insert(rgb.end(), &image.rgba[i], &image.rgba[i] + 3);
    int rgbStride = int(image.width * 3);
    size = lossless ? WebPEncodeLosslessRGB(rgb.data(), int(image.width), int(image.height), rgbStride, &out)
                    : WebPEncodeRGB(rgb.data(), int(image.width), int(image.height), rgbStride,
                                    float(quality), &out);
  }
  std::vector<uint8_t> bytes(out, out + size);
  WebPFree(out);
  return bytes;
}

std::vector<uint8_t> EncodeAnimatedWebp(const std::vector<RgbaImage>& frames, int delayMs) {
  WebPAnimEncoderOptions options;
  WebPAnimEncoderOptionsInit(&options);
  WebPAnimEncoder* encoder = WebPAnimEncoderNew(int(frames[0].width), int(frames[0].height), &options);
  WebPConfig config;
  WebPConfigInit(&config);
  config.lossless = 1;
  int timestamp = 0;
  for (const RgbaImage& frame : frames) {
    WebPPicture picture;
    WebPPictureInit(&picture);
    picture.use_argb = 1;
    picture.width = int(frame.width);
    picture.height = int(frame.height);
    WebPPictureImportRGBA(&picture, frame.rgba.data(), int(frame.width * 4));
    WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
    WebPPictureFree(&picture);
    timestamp += delayMs;
  }
  WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
  WebPData data;
  WebPDataInit(&data);
  WebPAnimEncoderAssemble(encoder, &data);
  std::vector<uint8_t> bytes(data.bytes, data.bytes + data.size);
  WebPDataClear(&data);
  WebPAnimEncoderDelete(encoder);
  return bytes;
}

namespace {

struct TiffMemory {
  std::vector<uint8_t> bytes;
  uint64_t position = 0;
};
tmsize_t TiffRead(thandle_t h, void* out, tmsize_t size) {
  auto* m = static_cast<TiffMemory*>(h);
  uint64_t n = std::min<uint64_t>(size, m->position < m->bytes.size() ? m->bytes.size() - m->position : 0);
  std::memcpy(out, m->bytes.data() + m->position, n);
  m->position += n;
  return tmsize_t(n);
}
tmsize_t TiffWrite(thandle_t h, void* data, tmsize_t size) {
  auto* m = static_cast<TiffMemory*>(h);
  if (m->position + size > m->bytes.size()) m->bytes.resize(m->position + size);
  std::memcpy(m->bytes.data() + m->position, data, size);
  m->position += size;
  return size;
}
toff_t TiffSeek(thandle_t h, toff_t offset, int whence) {
  auto* m = static_cast<TiffMemory*>(h);
  m->position = (whence == SEEK_CUR ? m->position : whence == SEEK_END ? m->bytes.size() : 0) + offset;
  return m->position;
}
int TiffClose(thandle_t) { return 0; }
toff_t TiffSize(thandle_t h) { return static_cast<TiffMemory*>(h)->bytes.size(); }

}  // namespace

std::vector<uint8_t> EncodeTiff(const RgbaImage& image, int bitsPerSample, bool alpha, uint16_t orientation) {
  TiffMemory memory;
  TIFF* tiff = TIFFClientOpen("memory", "w", &memory, TiffRead, TiffWrite, TiffSeek, TiffClose, TiffSize,
                              nullptr, nullptr);
  const uint16_t samples = alpha ? 4 : 3;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, image.width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, image.height);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bitsPerSample);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, orientation);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  if (alpha) {
    uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
  }
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 16);
  const int bytes = bitsPerSample / 8;
  std::vector<uint8_t> row(size_t(image.width) * samples * bytes);
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x) {
      for (int c = 0; c < samples; ++c) {
        uint8_t v = image.rgba[(size_t(y) * image.width + x) * 4 + c];
        if (bytes == 2) {
          uint16_t wide = uint16_t(v * 257);
          std::memcpy(&row[(size_t(x) * samples + c) * 2], &wide, 2);
        } else {
          row[size_t(x) * samples + c] = v;
        }
      }
    }
    TIFFWriteScanline(tiff, row.data(), y, 0);
  }
  TIFFClose(tiff);
  return memory.bytes;
}

std::vector<uint8_t> EncodeJxl(const RgbaImage& image, bool alpha) {
  JxlEncoder* encoder = JxlEncoderCreate(nullptr);
  JxlBasicInfo info;
  JxlEncoderInitBasicInfo(&info);
  info.xsize = image.width;
  info.ysize = image.height;
  info.bits_per_sample = 8;
  info.num_color_channels = 3;
  info.alpha_bits = alpha ? 8 : 0;
  info.num_extra_channels = alpha ? 1 : 0;
  info.uses_original_profile = JXL_TRUE;
  JxlEncoderSetBasicInfo(encoder, &info);
  JxlColorEncoding colour;
  JxlColorEncodingSetToSRGB(&colour, JXL_FALSE);
  JxlEncoderSetColorEncoding(encoder, &colour);
  JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder, nullptr);
  JxlEncoderSetFrameLossless(settings, JXL_TRUE);
  JxlPixelFormat format = {alpha ? 4u : 3u, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
  std::vector<uint8_t> samples;
  for (size_t i = 0; i < image.rgba.size(); i += 4)
    samples.insert(samples.end(), &image.rgba[i], &image.rgba[i] + format.num_channels);
  JxlEncoderAddImageFrame(settings, &format, samples.data(), samples.size());
  JxlEncoderCloseInput(encoder);
  std::vector<uint8_t> bytes(4096);
  uint8_t* next = bytes.data();
  size_t available = bytes.size();
  while (JxlEncoderProcessOutput(encoder, &next, &available) == JXL_ENC_NEED_MORE_OUTPUT) {
    size_t used = next - bytes.data();
    bytes.resize(bytes.size() * 2);
    next = bytes.data() + used;
    available = bytes.size() - used;
  }
  bytes.resize(next - bytes.data());
  JxlEncoderDestroy(encoder);
  return bytes;
}

namespace {

heif_error HeifWrite(heif_context*, const void* data, size_t size, void* user) {
  auto* out = static_cast<std::vector<uint8_t>*>(user);
  out->insert(out->end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

}  // namespace

std::vector<uint8_t> EncodeHeif(const RgbaImage& image, int compression) {
  heif_context* context = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  if (heif_context_get_encoder_for_format(context, heif_compression_format(compression), &encoder).code) {
    heif_context_free(context);
    return {};
  }
  heif_encoder_set_lossy_quality(encoder, 95);
  heif_image* picture = nullptr;
  heif_image_create(int(image.width), int(image.height), heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                    &picture);
  heif_image_add_plane(picture, heif_channel_interleaved, int(image.width), int(image.height), 8);
  int stride = 0;
  uint8_t* plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x)
      std::memcpy(plane + size_t(y) * stride + x * 3, &image.rgba[(size_t(y) * image.width + x) * 4], 3);
  }
  std::vector<uint8_t> bytes;
  if (heif_context_encode_image(context, picture, encoder, nullptr, nullptr).code == heif_error_Ok) {
    heif_writer writer = {1, HeifWrite};
    heif_context_write(context, &writer, &bytes);
  }
  heif_image_release(picture);
  heif_encoder_release(encoder);
  heif_context_free(context);
  return bytes;
}

namespace {

enum : uint16_t { kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

struct Tag {
  uint16_t id, type;
  uint32_t count;
  std::vector<uint8_t> value;
};

void Put16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
  out[at] = uint8_t(v), out[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
}

Tag AsciiTag(uint16_t id, const std::string& text) {
  std::vector<uint8_t> value(text.begin(), text.end());
  value.push_back(0);
  return {id, kAscii, uint32_t(value.size()), value};
}
Tag ShortTag(uint16_t id, uint16_t v) { return {id, kShort, 1, {uint8_t(v), uint8_t(v >> 8)}}; }
Tag RationalTag(uint16_t id, const std::vector<std::pair<uint32_t, uint32_t>>& values) {
  std::vector<uint8_t> value(values.size() * 8);
  for (size_t i = 0; i < values.size(); ++i)
    Put32(value, i * 8, values[i].first), Put32(value, i * 8 + 4, values[i].second);
  return {id, kRational, uint32_t(values.size()), value};
}

size_t IfdSize(const std::vector<Tag>& tags) { return 2 + tags.size() * 12 + 4; }

// Writes one directory at `at`, putting values longer than four bytes at the end of out.
void WriteIfd(std::vector<uint8_t>& out, size_t at, std::vector<Tag> tags) {
  std::sort(tags.begin(), tags.end(), [](const Tag& a, const Tag& b) { return a.id < b.id; });
  Put16(out, at, uint16_t(tags.size()));
  for (size_t i = 0; i < tags.size(); ++i) {
    size_t entry = at + 2 + i * 12;
    Put16(out, entry, tags[i].id);
    Put16(out, entry + 2, tags[i].type);
    Put32(out, entry + 4, tags[i].count);
    if (tags[i].value.size() <= 4) {
      std::memcpy(&out[entry + 8], tags[i].value.data(), tags[i].value.size());
    } else {
      if (out.size() % 2) out.push_back(0);
      Put32(out, entry + 8, uint32_t(out.size()));
      out.insert(out.end(), tags[i].value.begin(), tags[i].value.end());
    }
  }
}

}  // namespace

std::vector<uint8_t> BuildExif(const ExifFields& f) {
  std::vector<Tag> ifd0, exif, gps;
  if (f.orientation) ifd0.push_back(ShortTag(0x0112, *f.orientation));
  if (!f.make.empty()) ifd0.push_back(AsciiTag(0x010F, f.make));
  if (!f.model.empty()) ifd0.push_back(AsciiTag(0x0110, f.model));
  if (!f.software.empty()) ifd0.push_back(AsciiTag(0x0131, f.software));
  if (!f.dateTimeOriginal.empty()) exif.push_back(AsciiTag(0x9003, f.dateTimeOriginal));
  if (!f.lensModel.empty()) exif.push_back(AsciiTag(0xA434, f.lensModel));
  if (f.exposure) exif.push_back(RationalTag(0x829A, {*f.exposure}));
  if (f.fNumber) exif.push_back(RationalTag(0x829D, {*f.fNumber}));
  if (f.focalLength) exif.push_back(RationalTag(0x920A, {*f.focalLength}));
  if (f.iso) exif.push_back(ShortTag(0x8827, *f.iso));
  if (f.latitude) gps.push_back(RationalTag(2, {f.latitude->begin(), f.latitude->end()}));
  if (f.longitude) gps.push_back(RationalTag(4, {f.longitude->begin(), f.longitude->end()}));
  if (!f.latitudeRef.empty()) gps.push_back(AsciiTag(1, f.latitudeRef));
  if (!f.longitudeRef.empty()) gps.push_back(AsciiTag(3, f.longitudeRef));
  if (!exif.empty()) ifd0.push_back({0x8769, kLong, 1, {0, 0, 0, 0}});
  if (!gps.empty()) ifd0.push_back({0x8825, kLong, 1, {0, 0, 0, 0}});
  const size_t ifd0At = 8, exifAt = ifd0At + IfdSize(ifd0),
               gpsAt = exifAt + (exif.empty() ? 0 : IfdSize(exif));
  const size_t dataAt = gpsAt + (gps.empty() ? 0 : IfdSize(gps));
  for (Tag& tag : ifd0) {
    if (tag.id == 0x8769) Put32(tag.value, 0, uint32_t(exifAt));
    if (tag.id == 0x8825) Put32(tag.value, 0, uint32_t(gpsAt));
  }
  std::vector<uint8_t> out(dataAt, 0);
  out[0] = 'I', out[1] = 'I', out[2] = 42, out[3] = 0;
  Put32(out, 4, f.ifd0Offset.value_or(uint32_t(ifd0At)));
  WriteIfd(out, ifd0At, ifd0);
  if (!exif.empty()) WriteIfd(out, exifAt, exif);
  if (!gps.empty()) WriteIfd(out, gpsAt, gps);
  return out;
}

std::vector<uint8_t> GammaProfile(double gamma, const std::string& description, double version) {
  cmsCIExyY white = {0.3127, 0.3290, 1.0};
  cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
  cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
  cmsToneCurve* curves[3] = {curve, curve, curve};
  cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
  cmsFreeToneCurve(curve);
  cmsSetProfileVersion(profile, version);
  cmsMLU* text = cmsMLUalloc(nullptr, 1);
  cmsMLUsetASCII(text, "en", "US", description.c_str());
  cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
  cmsMLUfree(text);
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  std::vector<uint8_t> bytes(size);
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsCloseProfile(profile);
  return bytes;
}

}  // namespace Quarlo::Test
