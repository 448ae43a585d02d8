// Our decode path against each library's own plain decode loop, on one 24-megapixel (6000 × 4000)
// photo-like picture made at start-up (gradients, soft and hard-edged shapes, fine stripes; no noise):
//   JPEG: jpeg_read_scanlines straight into a BGRA buffer (JCS_EXT_BGRA) against LoadPictureBytes,
//         full size and as a 256-box thumbnail (DCT scaling);
//   PNG:  libpng's read loop with its BGRA transforms against LoadPictureBytes, full and thumbnail;
//   WebP: WebPDecode as dwebp does against LoadPictureBytes, both to premultiplied BGRA.
// The pictures are encoded by the test fixtures. The plain loops decode into unfilled buffers, as
// ours do, so that neither side pays for zeroing memory the decoder overwrites.
// Times are wall-clock. Each benchmark also reports peakMiB: the growth of the resident set while one decode
// runs (the kernel's high-water mark is reset first), next to the 91.6 MiB of the full-size BGRA pixels.

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>
#include <webp/decode.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/loaded_picture.h"
#include "platform/imaging/pixel_memory.h"
#include "support/fixture_pictures.h"

namespace {

constexpr uint32_t kWidth = 6000, kHeight = 4000;

// Sky-like gradients, a sun, hills with hard edges, houses with stripes: compresses like a photo.
Quarlo::Test::RgbaImage MakeScene() {
  Quarlo::Test::RgbaImage scene{kWidth, kHeight, std::vector<uint8_t>(size_t(kWidth) * kHeight * 4)};
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
      scene.Set(x, y, uint8_t(std::min(255.0, r)), uint8_t(std::min(255.0, g)), uint8_t(std::min(255.0, b)));
    }
  }
  return scene;
}

const Quarlo::Test::RgbaImage& Scene() {
  static const Quarlo::Test::RgbaImage scene = MakeScene();
  return scene;
}

const std::vector<uint8_t>& Jpeg() {
  static const std::vector<uint8_t> bytes = Quarlo::Test::EncodeJpeg(Scene(), {.quality = 90});
  return bytes;
}
const std::vector<uint8_t>& Png() {
  static const std::vector<uint8_t> bytes =
      Quarlo::Test::EncodePng(Scene(), {.colourType = PNG_COLOR_TYPE_RGB});
  return bytes;
}
const std::vector<uint8_t>& Webp() {
  static const std::vector<uint8_t> bytes =
      Quarlo::Test::EncodeWebp(Scene(), /*lossless=*/false, /*withAlpha=*/false, /*quality=*/85);
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

// One untimed decode first: it also makes and encodes the picture, which must not count.
void Measure(benchmark::State& state, const std::function<void()>& decode) {
  decode();
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
  Quarlo::Imaging::PixelBytes pixels(size_t(info.output_width) * info.output_height * 4);
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
  Quarlo::Imaging::PixelBytes pixels(size_t(width) * height * 4);
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

// What dwebp does by default: one WebPDecode call into a buffer libwebp allocates, no threads; the
// output is premultiplied BGRA, as ours is.
void PlainWebp() {
  WebPDecoderConfig config;
  WebPInitDecoderConfig(&config);
  config.output.colorspace = MODE_bgrA;
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
