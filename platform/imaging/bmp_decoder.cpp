#include "platform/imaging/bmp_decoder.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/imaging/pixel_ops.h"

namespace Quarlo::Imaging {

namespace {

constexpr int32_t kMalformed = 1;
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint32_t kMaxHeaderSize = 4096;  // larger claims are damage, not a future header version
constexpr uint32_t kMaxPaletteEntries = 256;

enum Compression : uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitfields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitfields = 6
};
constexpr uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'

DecodeResult Malformed() { return {DecodeStatus::Damaged, kMalformed}; }

// Little-endian reads that report failure instead of reading past the end.
struct Reader {
  std::span<const uint8_t> bytes;
  bool Has(uint64_t at, uint64_t count) const { return at <= bytes.size() && count <= bytes.size() - at; }
  uint16_t U16(size_t at) const { return uint16_t(bytes[at] | (bytes[at + 1] << 8)); }
  uint32_t U32(size_t at) const {
    return uint32_t(bytes[at]) | (uint32_t(bytes[at + 1]) << 8) | (uint32_t(bytes[at + 2]) << 16) |
           (uint32_t(bytes[at + 3]) << 24);
  }
};

// One channel of a bit-field mask: where it sits and how to stretch it to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  bool Contiguous() const { return mask == 0 || ((max + 1) & max) == 0; }
  uint8_t Of(uint32_t value, uint8_t absent) const {
    if (!mask) return absent;
    return uint8_t((uint64_t((value & mask) >> shift) * 255 + max / 2) / max);
  }
};

struct Layout {
  int64_t width = 0, height = 0;  // height negative: rows top-down
  uint32_t bpp = 0, compression = kRgb;
  uint32_t paletteAt = 0, paletteEntries = 0, paletteEntrySize = 4;
  uint64_t pixelsAt = 0;
  Channel red, green, blue, alpha;
  bool alphaMask = false;  // the header names an alpha channel
  bool iconMask = false;   // an AND mask follows the pixels (icons)
};

class BmpDecoder final : public Decoder {
 public:
  BmpDecoder(std::span<const uint8_t> bytes, bool icon) : in_{bytes}, icon_(icon) {}

  DecodeResult Open();
  const PictureHeader& Header() const override { return header_; }
  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override;

 private:
  DecodeResult ReadInfoHeader(size_t at);
  DecodeResult ReadMasks(size_t at, uint32_t headerSize);
  void ReadPalette();
  bool DecodeRows(uint8_t* pixels);
  bool DecodeRle(uint8_t* pixels);
  void ApplyIconMask(uint8_t* pixels, bool realAlpha);
  uint8_t* Row(uint8_t* pixels, uint64_t storedRow) const;

  Reader in_;
  bool icon_;
  Layout layout_;
  PictureHeader header_;
  std::vector<uint8_t> palette_;  // BGRA entries
};

DecodeResult BmpDecoder::Open() {
  size_t infoAt = 0;
  if (!icon_) {
    if (!in_.Has(0, kFileHeaderSize) || in_.bytes[0] != 'B' || in_.bytes[1] != 'M') return Malformed();
    layout_.pixelsAt = in_.U32(10);
    infoAt = kFileHeaderSize;
  }
  DecodeResult result = ReadInfoHeader(infoAt);
  if (!result.Ok()) return result;
  header_.width = uint32_t(layout_.width);
  header_.height = uint32_t(layout_.height < 0 ? -layout_.height : layout_.height);
  header_.bitsPerPixel = layout_.bpp;
  header_.hasAlpha = layout_.bpp == 32 || layout_.alphaMask || layout_.compression == kRle4 ||
                     layout_.compression == kRle8 || icon_;
  return {};
}

DecodeResult BmpDecoder::ReadInfoHeader(size_t at) {
  if (!in_.Has(at, 4)) return Malformed();
  uint32_t size = in_.U32(at);
  if (size < kCoreHeaderSize || size > kMaxHeaderSize || !in_.Has(at, size)) return Malformed();
  Layout& l = layout_;
  if (size == kCoreHeaderSize) {
    l.width = in_.U16(at + 4);
    l.height = int16_t(in_.U16(at + 6));
    l.bpp = in_.U16(at + 10);
    l.paletteEntrySize = 3;
  } else {
    if (size < 16) return Malformed();
    l.width = int32_t(in_.U32(at + 4));
    l.height = int32_t(in_.U32(at + 8));
    l.bpp = in_.U16(at + 14);
    if (size >= 20) l.compression = in_.U32(at + 16);
    if (size >= 36) l.paletteEntries = in_.U32(at + 32);
    // OS/2 2.x headers reuse 3 and 4 for Huffman and RLE24, which nothing reads any more.
    bool os2 = size != kInfoHeaderSize && size < 52;
    if (os2 && (l.compression == 3 || l.compression == 4)) return {DecodeStatus::Unsupported, kMalformed};
  }
  if (icon_) {
    l.height /= 2;
    l.iconMask = true;
  }
  if (l.width <= 0 || l.height == 0 || l.height == INT32_MIN) return Malformed();
  if (l.compression == kJpeg || l.compression == kPng) return {DecodeStatus::Unsupported, kMalformed};
  const bool rle = l.compression == kRle8 || l.compression == kRle4;
  const bool fields = l.compression == kBitfields || l.compression == kAlphaBitfields;
  if (l.compression > kAlphaBitfields || (l.compression == kRle8 && l.bpp != 8) ||
      (l.compression == kRle4 && l.bpp != 4) || (fields && l.bpp != 16 && l.bpp != 32) ||
      (rle && l.height < 0)) {
    return Malformed();
  }
  switch (l.bpp) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return Malformed();
  }
  DecodeResult masks = ReadMasks(at, size);
  if (!masks.Ok()) return masks;
  if (l.bpp <= 8) {
    uint32_t entries =
        l.paletteEntries == 0 || l.paletteEntries > (1u << l.bpp) ? (1u << l.bpp) : l.paletteEntries;
    l.paletteEntries = std::min(entries, kMaxPaletteEntries);
    ReadPalette();
  }
  if (size >= kV5HeaderSize && in_.U32(at + 56) == kProfileEmbedded) {
    uint64_t profileAt = uint64_t(at) + in_.U32(at + 112), profileSize = in_.U32(at + 116);
    if (in_.Has(profileAt, profileSize)) {
      header_.iccProfile.assign(in_.bytes.begin() + profileAt, in_.bytes.begin() + profileAt + profileSize);
    }
  }
  if (icon_ || l.pixelsAt == 0) l.pixelsAt = l.paletteAt + uint64_t(l.paletteEntries) * l.paletteEntrySize;
  if (l.pixelsAt > in_.bytes.size()) return Malformed();
  return {};
}

// Default masks for 16 (5-5-5) and 32 bits (8-8-8); bit fields come inside the V2+ headers or, for
// the plain Windows 3 header, right after it (where the palette would be).
DecodeResult BmpDecoder::ReadMasks(size_t at, uint32_t size) {
  Layout& l = layout_;
  uint32_t r = 0, g = 0, b = 0, a = 0;
  l.paletteAt = uint32_t(at + size);
  if (l.bpp == 16) r = 0x7C00, g = 0x03E0, b = 0x001F;
  if (l.bpp == 32) r = 0xFF0000, g = 0xFF00, b = 0xFF, a = 0xFF000000;
  const bool fields = l.compression == kBitfields || l.compression == kAlphaBitfields;
  if (fields) {
    size_t masksAt = at + kInfoHeaderSize;
    size_t count = l.compression == kAlphaBitfields ? 4 : 3;
    if (size == kInfoHeaderSize) {
      if (!in_.Has(masksAt, count * 4)) return Malformed();
      l.paletteAt = uint32_t(masksAt + count * 4);
    } else if (size < 52) {
      return Malformed();
    }
    r = in_.U32(masksAt), g = in_.U32(masksAt + 4), b = in_.U32(masksAt + 8);
    a = (count == 4 || size >= 56) ? in_.U32(masksAt + 12) : 0;
  } else if (size >= 56 && l.bpp == 32 && l.compression == kRgb) {
    a = in_.U32(at + 52) ? in_.U32(at + 52) : a;
  }
  l.red = Channel(r), l.green = Channel(g), l.blue = Channel(b), l.alpha = Channel(a);
  l.alphaMask = a != 0 && (fields || size >= 56);
  if (!l.red.Contiguous() || !l.green.Contiguous() || !l.blue.Contiguous() || !l.alpha.Contiguous())
    return Malformed();
  return {};
}

void BmpDecoder::ReadPalette() {
  palette_.assign(kMaxPaletteEntries * 4, 0);
  for (uint32_t i = 0; i < kMaxPaletteEntries; ++i) palette_[i * 4 + 3] = 255;  // missing entries: black
  for (uint32_t i = 0; i < layout_.paletteEntries; ++i) {
    uint64_t at = layout_.paletteAt + uint64_t(i) * layout_.paletteEntrySize;
    if (!in_.Has(at, 3)) break;
    std::memcpy(&palette_[i * 4], in_.bytes.data() + at, 3);
  }
}

uint8_t* BmpDecoder::Row(uint8_t* pixels, uint64_t storedRow) const {
  uint64_t y = layout_.height < 0 ? storedRow : header_.height - 1 - storedRow;
  return pixels + y * header_.width * 4;
}

bool BmpDecoder::DecodeRows(uint8_t* pixels) {
  const Layout& l = layout_;
  const uint64_t stride = (uint64_t(header_.width) * l.bpp + 31) / 32 * 4;
  if (!in_.Has(l.pixelsAt, stride * header_.height)) return false;
  for (uint64_t row = 0; row < header_.height; ++row) {
    const uint8_t* src = in_.bytes.data() + l.pixelsAt + row * stride;
    uint8_t* dst = Row(pixels, row);
    for (uint32_t x = 0; x < header_.width; ++x, dst += 4) {
      if (l.bpp <= 8) {
        uint32_t bit = x * l.bpp;
        uint32_t index = (src[bit / 8] >> (8 - l.bpp - bit % 8)) & ((1u << l.bpp) - 1);
        std::memcpy(dst, &palette_[index * 4], 4);
      } else if (l.bpp == 24) {
        dst[0] = src[x * 3], dst[1] = src[x * 3 + 1], dst[2] = src[x * 3 + 2], dst[3] = 255;
      } else {
        uint32_t v = l.bpp == 16 ? uint32_t(src[x * 2] | (src[x * 2 + 1] << 8))
                                 : in_.U32(size_t(src - in_.bytes.data()) + x * 4);
        dst[0] = l.blue.Of(v, 0), dst[1] = l.green.Of(v, 0), dst[2] = l.red.Of(v, 0),
        dst[3] = l.alpha.Of(v, 255);
      }
    }
  }
  return true;
}

// RLE8 and RLE4: runs and literal groups; pixels the stream skips (delta, early end of line or
// file) stay transparent.
bool BmpDecoder::DecodeRle(uint8_t* pixels) {
  const bool four = layout_.compression == kRle4;
  uint64_t at = layout_.pixelsAt, x = 0, row = 0;
  auto put = [&](uint32_t index) {
    if (x < header_.width && row < header_.height)
      std::memcpy(Row(pixels, row) + x * 4, &palette_[(index & 0xFF) * 4], 4);
    ++x;
  };
  while (row < header_.height) {
    if (!in_.Has(at, 2)) return false;
    uint8_t count = in_.bytes[at], value = in_.bytes[at + 1];
    at += 2;
    if (count > 0) {
      for (uint32_t i = 0; i < count; ++i) put(four ? (i % 2 ? value & 0x0F : value >> 4) : value);
    } else if (value == 0) {
      x = 0, ++row;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (!in_.Has(at, 2)) return false;
      x += in_.bytes[at], row += in_.bytes[at + 1];
      at += 2;
    } else {
      uint64_t bytes = four ? (value + 1) / 2 : value;
      if (!in_.Has(at, bytes)) return false;
      for (uint32_t i = 0; i < value; ++i) {
        uint8_t b = in_.bytes[at + (four ? i / 2 : i)];
        put(four ? (i % 2 ? b & 0x0F : b >> 4) : b);
      }
      at += (bytes + 1) & ~uint64_t(1);  // literal groups are padded to 16 bits
    }
  }
  return true;
}

void BmpDecoder::ApplyIconMask(uint8_t* pixels, bool realAlpha) {
  const uint64_t stride = (uint64_t(header_.width) + 31) / 32 * 4;
  const uint64_t xorStride = (uint64_t(header_.width) * layout_.bpp + 31) / 32 * 4;
  const uint64_t maskAt = layout_.pixelsAt + xorStride * header_.height;
  for (uint64_t row = 0; row < header_.height; ++row) {
    uint8_t* dst = Row(pixels, row);
    bool have = in_.Has(maskAt + row * stride, stride);
    for (uint32_t x = 0; x < header_.width; ++x, dst += 4) {
      if (realAlpha) continue;
      bool transparent = have && (in_.bytes[maskAt + row * stride + x / 8] >> (7 - x % 8)) & 1;
      dst[3] = transparent ? 0 : 255;
    }
  }
}

DecodeResult BmpDecoder::Decode(const DecodeRequest& request, Bitmap& out) {
  if (request.frame != 0) return Malformed();
  // Uncompressed rows must all be there before any pixel memory is taken.
  const uint64_t stride = (uint64_t(header_.width) * layout_.bpp + 31) / 32 * 4;
  const bool rle = layout_.compression == kRle8 || layout_.compression == kRle4;
  if (!rle && !in_.Has(layout_.pixelsAt, stride * header_.height)) return Malformed();
  try {
    out.pixels = AllocatePixels(header_.width, header_.height);
  } catch (const std::bad_alloc&) {
    return {DecodeStatus::OutOfMemory, ENOMEM};
  }
  uint8_t* pixels = out.pixels.data();
  // Pixels an RLE stream skips stay transparent, so its buffer starts cleared.
  if (rle) std::fill(out.pixels.begin(), out.pixels.end(), uint8_t(0));
  if (!(rle ? DecodeRle(pixels) : DecodeRows(pixels))) {
    out.pixels.clear();
    return Malformed();
  }
  out.width = header_.width;
  out.height = header_.height;
  const bool alphaPossible = layout_.bpp == 32 && (layout_.alphaMask || layout_.compression == kRgb);
  bool realAlpha = false;
  if (alphaPossible) {
    for (size_t i = 3; i < out.pixels.size() && !realAlpha; i += 4) realAlpha = out.pixels[i] != 0;
  }
  if (layout_.iconMask) {
    ApplyIconMask(pixels, realAlpha);
  } else if (alphaPossible && !realAlpha) {
    for (size_t i = 3; i < out.pixels.size(); i += 4) out.pixels[i] = 255;
  }
  for (uint32_t y = 0; y < out.height; ++y) PremultiplyRow(pixels + size_t(y) * out.width * 4, out.width);
  return {};
}

std::unique_ptr<Decoder> Open(std::span<const uint8_t> bytes, bool icon, DecodeResult& result) {
  auto decoder = std::make_unique<BmpDecoder>(bytes, icon);
  result = decoder->Open();
  if (!result.Ok()) return nullptr;
  return decoder;
}

}  // namespace

std::unique_ptr<Decoder> OpenBmpDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  return Open(bytes, false, result);
}

std::unique_ptr<Decoder> OpenIconBitmapDecoder(std::span<const uint8_t> dib, DecodeResult& result) {
  return Open(dib, true, result);
}

}  // namespace Quarlo::Imaging
