// Our decode path against each library's own plain decode loop, on one 24-megapixel (6000 × 4000)
// photo-like picture made at start-up (gradients, soft and hard-edged shapes, fine stripes; no noise):
//   JPEG: jpeg_read_scanlines straight into a BGRA buffer (JCS_EXT_BGRA) against LoadPictureBytes,
//         full size and as a 256-box thumbnail (DCT scaling);
//   PNG:  libpng's read loop with its BGRA transforms against LoadPictureBytes, full and thumbnail;
//   WebP: WebPDecode to BGRA as dwebp does against LoadPictureBytes (premultiplied BGRA).
// Times are wall-clock. Each benchmark also reports peakMiB: the growth of the resident set while one decode
// runs (the kernel's high-water mark is reset first), next to the 91.6 MiB of the full-size BGRA pixels.

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/loaded_picture.h"

namespace {

constexpr uint32_t kWidth = 6000, kHeight = 4000;

// Sky-like gradients, a sun, hills with hard edges, houses with stripes: compresses like a photo.
std::vector<uint8_t> MakeScene() {
  std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
  for (uint32_t y = 0; y < kHeight; ++y) {
    for (uint32_t x = 0; x < kWidth; ++x) {
      double u = double(x) / kWidth, v = double(y) / kHeight;
      double r = 70 + 110 * (1 - v), g = 110 + 90 * (1 - v), b = 170 + 70 * (1 - v);
      double sun = std::exp(-((u - 0.72) * (u - 0.72) + (v - 0.25) * (v - 0.25)) * 60);
      r += 160 * sun, g += 130 * sun, b += 20 * sun;
      if (v > 0.55 + 0.08 * std::sin(u * 11) + 0.03 * std::sin(u * 47))
        r = 60 + 40 * u, g = 120 - 30 * v, b = 50;
      bool house = std::fmod(u * 9, 1.0) < 0.45 && v > 0.62 && v < 0.8;
      if (house) {
        bool stripe = (x / 7) % 2 == 0 || (y / 23) % 5 == 0;
        r = stripe ? 200 : 150, g = stripe ? 190 : 120, b = stripe ? 170 : 100;
      }
      uint8_t* p = &rgb[(size_t(y) * kWidth + x) * 3];
      p[0] = uint8_t(std::min(255.0, r)), p[1] = uint8_t(std::min(255.0, g)),
      p[2] = uint8_t(std::min(255.0, b));
    }
  }
  return rgb;
}

const std::vector<uint8_t>& Scene() {
  static const std::vector<uint8_t> scene = MakeScene();
  return scene;
}

std::vector<uint8_t> EncodeJpeg() {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kWidth, info.image_height = kHeight, info.input_components = 3,
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < kHeight) {
    JSAMPROW row = const_cast<uint8_t*>(&Scene()[size_t(info.next_scanline) * kWidth * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  jpeg_destroy_compress(&info);
  return bytes;
}

void PngWrite(png_structp png, png_bytep data, size_t size) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

std::vector<uint8_t> EncodePng() {
  std::vector<uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &bytes, PngWrite, nullptr);
  png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < kHeight; ++y) png_write_row(png, &Scene()[size_t(y) * kWidth * 3]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

std::vector<uint8_t> EncodeWebp() {
  uint8_t* out = nullptr;
  size_t size = WebPEncodeRGB(Scene().data(), kWidth, kHeight, kWidth * 3, 85, &out);
  std::vector<uint8_t> bytes(out, out + size);
  WebPFree(out);
  return bytes;
}

const std::vector<uint8_t>& Jpeg() {
  static const std::vector<uint8_t> bytes = EncodeJpeg();
  return bytes;
}
const std::vector<uint8_t>& Png() {
  static const std::vector<uint8_t> bytes = EncodePng();
  return bytes;
}
const std::vector<uint8_t>& Webp() {
  static const std::vector<uint8_t> bytes = EncodeWebp();
  return bytes;
}

long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
  }
  return 0;
}

// Resident growth during one call: the high-water mark is reset to the current resident size first.
double PeakGrowthMiB(const std::function<void()>& decode) {
  { std::ofstream("/proc/self/clear_refs") << "5"; }
  long before = StatusKiB("VmRSS:");
  decode();
  return double(StatusKiB("VmHWM:") - before) / 1024.0;
}

void Measure(benchmark::State& state, const std::function<void()>& decode) {
  for (auto _ : state) decode();
  state.counters["peakMiB"] = PeakGrowthMiB(decode);
}

// --- JPEG ---

void PlainJpeg() {
  jpeg_decompress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, Jpeg().data(), Jpeg().size());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  std::vector<uint8_t> pixels(size_t(info.output_width) * info.output_height * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &pixels[size_t(info.output_scanline) * info.output_width * 4];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  benchmark::DoNotOptimize(pixels.data());
}

void Ours(const std::vector<uint8_t>& bytes, const char* name, bool thumbnail) {
  Quarlo::View::DecodeOptions options;
  if (thumbnail) options = Quarlo::View::ThumbnailOptions(options);
  Quarlo::View::PicturePtr picture = Quarlo::View::LoadPictureBytes(bytes, name, options);
  if (picture->error != Quarlo::View::LoadError::None) std::abort();
  benchmark::DoNotOptimize(picture.get());
}

void BM_JpegPlainLibjpeg(benchmark::State& state) { Measure(state, PlainJpeg); }
void BM_JpegOursFull(benchmark::State& state) {
  Measure(state, [] { Ours(Jpeg(), "p.jpg", false); });
}
void BM_JpegOursThumbnail(benchmark::State& state) {
  Measure(state, [] { Ours(Jpeg(), "p.jpg", true); });
}

// --- PNG ---

struct PngReader {
  const std::vector<uint8_t>* bytes;
  size_t at = 0;
};
void PngRead(png_structp png, png_bytep out, size_t size) {
  auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
  std::memcpy(out, reader->bytes->data() + reader->at, size);
  reader->at += size;
}

void PlainPng() {
  PngReader reader{&Png()};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_read_fn(png, &reader, PngRead);
  png_read_info(png, info);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  std::vector<uint8_t> pixels(size_t(width) * height * 4);
  for (uint32_t y = 0; y < height; ++y) png_read_row(png, &pixels[size_t(y) * width * 4], nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  benchmark::DoNotOptimize(pixels.data());
}

void BM_PngPlainLibpng(benchmark::State& state) { Measure(state, PlainPng); }
void BM_PngOursFull(benchmark::State& state) {
  Measure(state, [] { Ours(Png(), "p.png", false); });
}
void BM_PngOursThumbnail(benchmark::State& state) {
  Measure(state, [] { Ours(Png(), "p.png", true); });
}

// --- WebP ---

// What dwebp does by default: one WebPDecode call into a BGRA buffer, no threads.
void PlainWebp() {
  WebPDecoderConfig config;
  WebPInitDecoderConfig(&config);
  config.output.colorspace = MODE_BGRA;
  if (WebPDecode(Webp().data(), Webp().size(), &config) != VP8_STATUS_OK) std::abort();
  benchmark::DoNotOptimize(config.output.u.RGBA.rgba);
  WebPFreeDecBuffer(&config.output);
}

void BM_WebpPlainDwebp(benchmark::State& state) { Measure(state, PlainWebp); }
void BM_WebpOursFull(benchmark::State& state) {
  Measure(state, [] { Ours(Webp(), "p.webp", false); });
}
void BM_WebpOursThumbnail(benchmark::State& state) {
  Measure(state, [] { Ours(Webp(), "p.webp", true); });
}

BENCHMARK(BM_JpegPlainLibjpeg)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_JpegOursFull)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_JpegOursThumbnail)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_PngPlainLibpng)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_PngOursFull)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_PngOursThumbnail)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_WebpPlainDwebp)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_WebpOursFull)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_WebpOursThumbnail)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

}  // namespace
