#include "platform/imaging/decoder_registry.h"

#include <libheif/heif.h>

#include "platform/imaging/bmp_decoder.h"
#include "platform/imaging/gif_decoder.h"
#include "platform/imaging/heif_decoder.h"
#include "platform/imaging/ico_decoder.h"
#include "platform/imaging/jpeg_decoder.h"
#include "platform/imaging/jxl_decoder.h"
#include "platform/imaging/png_decoder.h"
#include "platform/imaging/tiff_decoder.h"
#include "platform/imaging/webp_decoder.h"

#include <array>
#include <cstring>
#include <string_view>

namespace Quarlo::Imaging {

namespace {

using Bytes = std::span<const uint8_t>;

bool StartsWith(Bytes bytes, std::string_view magic, size_t at = 0) {
  return bytes.size() >= at + magic.size() && std::memcmp(bytes.data() + at, magic.data(), magic.size()) == 0;
}

bool IsJpeg(Bytes b) { return StartsWith(b, "\xFF\xD8\xFF"); }
bool IsPng(Bytes b) { return StartsWith(b, "\x89PNG\r\n\x1A\n"); }
bool IsGif(Bytes b) { return StartsWith(b, "GIF87a") || StartsWith(b, "GIF89a"); }
bool IsBmp(Bytes b) { return StartsWith(b, "BM") && b.size() >= 18; }
bool IsTiff(Bytes b) { return StartsWith(b, std::string_view("II*\0", 4)) || StartsWith(b, std::string_view("MM\0*", 4)); }
bool IsIco(Bytes b) {
  // Reserved 0, type 1 (icon), at least one image.
  return StartsWith(b, std::string_view("\0\0\1\0", 4)) && b.size() >= 6 && (b[4] | b[5]) != 0;
}
bool IsWebp(Bytes b) { return StartsWith(b, "RIFF") && StartsWith(b, "WEBP", 8); }
bool IsJxl(Bytes b) {
  return StartsWith(b, "\xFF\x0A") || StartsWith(b, std::string_view("\0\0\0\x0CJXL \r\n\x87\n", 12));
}

// The brands of an ISO base media "ftyp" box: the major brand and the compatible ones.
bool HasBrand(Bytes b, std::string_view brand) {
  if (!StartsWith(b, "ftyp", 4)) return false;
  uint32_t boxSize = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
  size_t end = std::min<size_t>(b.size(), boxSize);
  if (StartsWith(b, brand, 8)) return true;
  for (size_t at = 16; at + 4 <= end; at += 4) {
    if (StartsWith(b, brand, at)) return true;
  }
  return false;
}
bool IsAvif(Bytes b) { return HasBrand(b, "avif") || HasBrand(b, "avis"); }
bool IsHeic(Bytes b) {
  for (std::string_view brand : {"heic", "heix", "heim", "heis", "hevc", "hevx", "hevm", "hevs", "mif1", "msf1"}) {
    if (HasBrand(b, brand)) return !IsAvif(b);
  }
  return false;
}

struct Entry {
  DecoderInfo info;
  bool (*recognises)(Bytes);
  OpenFunction open;
};

std::vector<Entry> BuildEntries() {
  heif_init(nullptr);  // loads codec plugins where the library has them; kept for the process
  std::vector<Entry> entries = {
      {{"JPEG Decoder", ContainerFormat::Jpeg, ".jpeg,.jpe,.jpg,.jfif,.exif"}, IsJpeg, OpenJpegDecoder},
      {{"PNG Decoder", ContainerFormat::Png, ".png"}, IsPng, OpenPngDecoder},
      {{"GIF Decoder", ContainerFormat::Gif, ".gif"}, IsGif, OpenGifDecoder},
      {{"BMP Decoder", ContainerFormat::Bmp, ".bmp,.dib,.rle"}, IsBmp, OpenBmpDecoder},
      {{"TIFF Decoder", ContainerFormat::Tiff, ".tiff,.tif"}, IsTiff, OpenTiffDecoder},
      {{"ICO Decoder", ContainerFormat::Ico, ".ico,.icon"}, IsIco, OpenIcoDecoder},
      {{"WebP Decoder", ContainerFormat::Webp, ".webp"}, IsWebp, OpenWebpDecoder},
      {{"JPEG XL Decoder", ContainerFormat::Other, ".jxl"}, IsJxl, OpenJxlDecoder},
  };
  if (heif_have_decoder_for_format(heif_compression_HEVC)) {
    entries.push_back({{"HEIF Decoder", ContainerFormat::Heif, ".heic,.heif,.hif"}, IsHeic, OpenHeifDecoder});
  }
  if (heif_have_decoder_for_format(heif_compression_AV1)) {
    entries.push_back({{"AVIF Decoder", ContainerFormat::Other, ".avif"}, IsAvif, OpenHeifDecoder});
  }
  return entries;
}

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = BuildEntries();
  return entries;
}

}  // namespace

std::unique_ptr<Decoder> OpenDecoder(const DecoderInfo& decoder, std::span<const uint8_t> bytes,
                                     DecodeResult& result) {
  const std::vector<DecoderInfo>& decoders = InstalledDecoders();
  const std::vector<Entry>& entries = Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (&decoders[i] == &decoder && entries[i].open) return entries[i].open(bytes, result);
  }
  result = {DecodeStatus::Unsupported, 0};
  return nullptr;
}

const std::vector<DecoderInfo>& InstalledDecoders() {
  static const std::vector<DecoderInfo> decoders = [] {
    std::vector<DecoderInfo> list;
    for (const Entry& entry : Entries()) list.push_back(entry.info);
    return list;
  }();
  return decoders;
}

const DecoderInfo* RecognizeDecoder(std::span<const uint8_t> head) {
  const std::vector<DecoderInfo>& decoders = InstalledDecoders();
  const std::vector<Entry>& entries = Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].recognises(head)) return &decoders[i];
  }
  return nullptr;
}

}  // namespace Quarlo::Imaging
