#include "platform/imaging/bmp_decoder.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/byte_cursor.h"
#include "platform/imaging/pixel_ops.h"

namespace Quarlo::Imaging {

namespace {

using Platform::ByteCursor;

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kPixelOffsetField = 10;   // in the file header
constexpr uint32_t kCoreHeaderSize = 12;   // OS/2 1.x: 16-bit sizes, 3-byte palette entries
constexpr uint32_t kShortestHeader = 16;   // OS/2 2.x headers may stop right after the bit depth
constexpr uint32_t kInfoHeaderSize = 40;   // Windows 3: bit-field masks follow the header
constexpr uint32_t kV2HeaderSize = 52;     // holds the red, green and blue masks
constexpr uint32_t kV3HeaderSize = 56;     // and the alpha mask
constexpr uint32_t kV5HeaderSize = 124;    // and a linked or embedded colour profile
constexpr uint32_t kMaxHeaderSize = 4096;  // larger claims are damage, not a future header version
constexpr uint32_t kMaxPaletteEntries = 256;
constexpr uint32_t kCorePaletteEntrySize = 3, kPaletteEntrySize = 4;
// As libpng's default limit: no real picture is wider or taller, and every offset and row size
// computed from the sides stays far inside 64 bits.
constexpr int64_t kMaxSide = 1'000'000;
// Two bytes of an RLE stream paint at most 255 pixels (one run). Skipped pixels stay transparent, so a
// stream may legally be short; a picture larger than both this floor and what its stream could paint
// is damaged, and is refused before its pixel memory is taken.
constexpr uint64_t kRleMostPixelsPerTwoBytes = 255;
constexpr uint64_t kRleSkippedAreaFloor = 256 * 256;

// Where the info header keeps its fields.
constexpr size_t kWidthField = 4, kHeightField = 8, kBitCountField = 14, kCompressionField = 16,
                 kPaletteEntriesField = 32, kMasksField = 40, kAlphaMaskField = 52, kColourSpaceField = 56,
                 kProfileOffsetField = 112, kProfileSizeField = 116;
constexpr size_t kCoreWidthField = 4, kCoreHeightField = 6, kCoreBitCountField = 10;

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

// RLE escape codes (a zero count followed by one of these).
constexpr uint8_t kRleEndOfLine = 0, kRleEndOfPicture = 1, kRleDelta = 2;

// A field of the info header, 0 when the header is too short to hold it (which is what every
// optional field means when absent).
uint32_t Field32(std::span<const uint8_t> header, size_t at) { return ByteCursor(header, at).U32(); }
uint16_t Field16(std::span<const uint8_t> header, size_t at) { return ByteCursor(header, at).U16(); }

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
  uint32_t headerSize = 0;
  uint32_t bpp = 0, compression = kRgb;
  uint32_t paletteEntries = 0, paletteEntrySize = kPaletteEntrySize;
  uint64_t pixelsAt = 0;
  Channel red, green, blue, alpha;
  bool alphaMask = false;  // the header names an alpha channel
  bool iconMask = false;   // an AND mask follows the pixels (icons)

  bool Rle() const { return compression == kRle8 || compression == kRle4; }
  bool Fields() const { return compression == kBitfields || compression == kAlphaBitfields; }
};

uint64_t RowBytes(uint64_t width, uint32_t bpp) { return (width * bpp + 31) / 32 * 4; }

uint8_t Nibble(uint8_t value, uint32_t i) { return i % 2 ? value & 0x0F : value >> 4; }

// Walks an RLE8 or RLE4 stream and hands put(x, row, index) every pixel that lands inside the
// picture. False when the stream ends before the picture does.
template <typename Put>
bool WalkRle(ByteCursor stream, bool four, uint64_t width, uint64_t height, Put put) {
  uint64_t x = 0, row = 0;
  auto inside = [&](uint32_t count) {
    return row < height && x < width ? std::min<uint64_t>(count, width - x) : 0;
  };
  while (row < height) {
    const uint8_t count = stream.U8(), value = stream.U8();
    if (!stream.Ok()) return false;
    if (count > 0) {
      for (uint64_t i = 0, n = inside(count); i < n; ++i)
        put(x + i, row, four ? Nibble(value, uint32_t(i)) : value);
      x += count;
    } else if (value == kRleEndOfLine) {
      x = 0, ++row;
    } else if (value == kRleEndOfPicture) {
      return true;
    } else if (value == kRleDelta) {
      x += stream.U8(), row += stream.U8();
      if (!stream.Ok()) return false;
    } else {
      const size_t bytes = four ? (value + 1u) / 2 : value;
      std::span<const uint8_t> literal = stream.Bytes(bytes);
      if (!stream.Ok()) return false;
      stream.Skip(bytes % 2);  // literal groups are padded to 16 bits
      for (uint64_t i = 0, n = inside(value); i < n; ++i)
        put(x + i, row, four ? Nibble(literal[i / 2], uint32_t(i)) : literal[i]);
      x += value;
    }
  }
  return true;
}

class BmpDecoder final : public Decoder {
 public:
  BmpDecoder(std::span<const uint8_t> bytes, bool icon) : in_(bytes), icon_(icon) {}

  DecodeResult Open();
  const PictureHeader& Header() const override { return header_; }
  DecodeResult Decode(const DecodeRequest& request, Bitmap& out) override;

 private:
  DecodeResult ReadInfoHeader(size_t at);
  DecodeResult ReadSizes(std::span<const uint8_t> header);
  DecodeResult CheckLayout() const;
  DecodeResult ReadMasks(std::span<const uint8_t> header, ByteCursor& after);
  void ReadPalette(ByteCursor entries);
  void ReadProfile(size_t at, std::span<const uint8_t> header);
  bool PixelsComplete() const;
  bool DecodeRows(uint8_t* pixels) const;
  void DecodeRow(ByteCursor src, uint8_t* dst) const;
  bool DecodeRle(uint8_t* pixels) const;
  void ApplyIconMask(uint8_t* pixels) const;
  uint8_t* Row(uint8_t* pixels, uint64_t storedRow) const;
  uint64_t Stride() const { return RowBytes(header_.width, layout_.bpp); }

  std::span<const uint8_t> in_;
  bool icon_;
  Layout layout_;
  PictureHeader header_;
  std::vector<uint8_t> palette_;  // BGRA entries
};

DecodeResult BmpDecoder::Open() {
  size_t infoAt = 0;
  if (!icon_) {
    ByteCursor file(in_);
    std::span<const uint8_t> magic = file.Bytes(2);
    if (!file.Ok() || magic[0] != 'B' || magic[1] != 'M') return Refusal(ReaderFault::NotThisFormat);
    layout_.pixelsAt = file.At(kPixelOffsetField).U32();
    infoAt = kFileHeaderSize;
  }
  DecodeResult result = ReadInfoHeader(infoAt);
  if (!result.Ok()) return result;
  // An icon frame opens only when all its pixels are there, so that every frame an icon counts
  // decodes; a plain file is checked when it is decoded, after the caller's size limits.
  if (icon_ && !PixelsComplete()) return Refusal(ReaderFault::Truncated);
  header_.bitsPerPixel = layout_.bpp;
  header_.hasAlpha = layout_.bpp == 32 || layout_.alphaMask || layout_.Rle() || icon_;
  return {};
}

DecodeResult BmpDecoder::ReadInfoHeader(size_t at) {
  ByteCursor cursor(in_, at);
  const uint32_t size = cursor.U32();
  if (!cursor.Ok()) return Refusal(ReaderFault::Truncated);
  if (size != kCoreHeaderSize && (size < kShortestHeader || size > kMaxHeaderSize))
    return Refusal(ReaderFault::Malformed);
  ByteCursor after(in_, at);
  const std::span<const uint8_t> header = after.Bytes(size);
  if (!after.Ok()) return Refusal(ReaderFault::Truncated);
  layout_.headerSize = size;
  DecodeResult result = ReadSizes(header);
  if (result.Ok()) result = CheckLayout();
  if (result.Ok()) result = ReadMasks(header, after);
  if (!result.Ok()) return result;
  if (layout_.bpp <= 8) ReadPalette(after);
  ReadProfile(at, header);
  Layout& l = layout_;
  if (icon_ || l.pixelsAt == 0)
    l.pixelsAt = after.Position() + uint64_t(l.paletteEntries) * l.paletteEntrySize;
  if (l.pixelsAt > in_.size()) return Refusal(ReaderFault::Truncated);
  return {};
}

DecodeResult BmpDecoder::ReadSizes(std::span<const uint8_t> header) {
  Layout& l = layout_;
  if (l.headerSize == kCoreHeaderSize) {
    l.width = Field16(header, kCoreWidthField);
    l.height = int16_t(Field16(header, kCoreHeightField));
    l.bpp = Field16(header, kCoreBitCountField);
    l.paletteEntrySize = kCorePaletteEntrySize;
  } else {
    l.width = int32_t(Field32(header, kWidthField));
    l.height = int32_t(Field32(header, kHeightField));
    l.bpp = Field16(header, kBitCountField);
    l.compression = Field32(header, kCompressionField);
    l.paletteEntries = Field32(header, kPaletteEntriesField);
    // OS/2 2.x headers reuse 3 and 4 for Huffman and RLE24, which nothing reads any more.
    const bool os2 = l.headerSize != kInfoHeaderSize && l.headerSize < kV2HeaderSize;
    if (os2 && (l.compression == kBitfields || l.compression == kJpeg))
      return Refusal(ReaderFault::UnsupportedCompression);
  }
  if (icon_) {
    l.height /= 2;
    l.iconMask = true;
  }
  if (l.width <= 0 || l.height == 0) return Refusal(ReaderFault::Malformed);
  if (l.width > kMaxSide || l.height > kMaxSide || l.height < -kMaxSide)
    return Refusal(ReaderFault::TooLarge);
  header_.width = uint32_t(l.width);
  header_.height = uint32_t(l.height < 0 ? -l.height : l.height);
  return {};
}

DecodeResult BmpDecoder::CheckLayout() const {
  const Layout& l = layout_;
  if (l.compression == kJpeg || l.compression == kPng) return Refusal(ReaderFault::UnsupportedCompression);
  if (l.compression > kAlphaBitfields || (l.compression == kRle8 && l.bpp != 8) ||
      (l.compression == kRle4 && l.bpp != 4) || (l.Fields() && l.bpp != 16 && l.bpp != 32) ||
      (l.Rle() && l.height < 0)) {
    return Refusal(ReaderFault::Malformed);
  }
  switch (l.bpp) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return {};
    default:
      return Refusal(ReaderFault::Malformed);
  }
}

// Default masks for 16 (5-5-5) and 32 bits (8-8-8). Bit fields sit in the header from V2 on; the
// ones a header does not hold follow it, where the palette would be (after is the cursor there).
DecodeResult BmpDecoder::ReadMasks(std::span<const uint8_t> header, ByteCursor& after) {
  Layout& l = layout_;
  uint32_t masks[4] = {};
  if (l.bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  if (l.bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0xFF000000;
  if (l.Fields()) {
    if (l.headerSize != kInfoHeaderSize && l.headerSize < kV2HeaderSize)
      return Refusal(ReaderFault::Malformed);
    const size_t held = l.headerSize >= kV3HeaderSize ? 4 : l.headerSize >= kV2HeaderSize ? 3 : 0;
    const size_t wanted = l.compression == kAlphaBitfields ? 4 : 3;
    for (size_t i = 0; i < std::max(held, wanted); ++i)
      masks[i] = i < held ? Field32(header, kMasksField + 4 * i) : after.U32();
    if (held < 4 && wanted < 4) masks[3] = 0;
    if (!after.Ok()) return Refusal(ReaderFault::Truncated);
  } else if (l.bpp == 32 && l.compression == kRgb) {
    if (uint32_t alpha = Field32(header, kAlphaMaskField)) masks[3] = alpha;
  }
  l.red = Channel(masks[0]), l.green = Channel(masks[1]), l.blue = Channel(masks[2]),
  l.alpha = Channel(masks[3]);
  l.alphaMask = masks[3] != 0 && (l.Fields() || l.headerSize >= kV3HeaderSize);
  if (!l.red.Contiguous() || !l.green.Contiguous() || !l.blue.Contiguous() || !l.alpha.Contiguous())
    return Refusal(ReaderFault::Malformed);
  return {};
}

// Entries the file does not hold stay opaque black.
void BmpDecoder::ReadPalette(ByteCursor entries) {
  Layout& l = layout_;
  const uint32_t full = 1u << l.bpp;
  l.paletteEntries = l.paletteEntries == 0 || l.paletteEntries > full ? full : l.paletteEntries;
  l.paletteEntries = std::min(l.paletteEntries, kMaxPaletteEntries);
  palette_.assign(kMaxPaletteEntries * 4, 0);
  for (uint32_t i = 0; i < kMaxPaletteEntries; ++i) palette_[i * 4 + 3] = 255;
  for (uint32_t i = 0; i < l.paletteEntries; ++i) {
    std::span<const uint8_t> bgr = entries.Bytes(3);
    if (!entries.Ok()) break;
    std::memcpy(&palette_[i * 4], bgr.data(), 3);
    entries.Skip(l.paletteEntrySize - 3);
  }
}

// A V5 header's embedded profile, placed relative to the header; one that lies outside the data
// is left out.
void BmpDecoder::ReadProfile(size_t at, std::span<const uint8_t> header) {
  if (layout_.headerSize < kV5HeaderSize || Field32(header, kColourSpaceField) != kProfileEmbedded) return;
  ByteCursor profile(in_, at + uint64_t(Field32(header, kProfileOffsetField)));
  std::span<const uint8_t> bytes = profile.Bytes(Field32(header, kProfileSizeField));
  if (profile.Ok()) header_.iccProfile.assign(bytes.begin(), bytes.end());
}

bool BmpDecoder::PixelsComplete() const {
  ByteCursor pixels(in_, layout_.pixelsAt);
  if (!layout_.Rle()) return pixels.Remaining() >= Stride() * header_.height;
  const uint64_t area = uint64_t(header_.width) * header_.height;
  const uint64_t paintable = pixels.Remaining() / 2 * kRleMostPixelsPerTwoBytes;
  if (area > std::max(paintable, kRleSkippedAreaFloor)) return false;
  return WalkRle(pixels, layout_.compression == kRle4, header_.width, header_.height,
                 [](uint64_t, uint64_t, uint8_t) {});
}

uint8_t* BmpDecoder::Row(uint8_t* pixels, uint64_t storedRow) const {
  uint64_t y = layout_.height < 0 ? storedRow : header_.height - 1 - storedRow;
  return pixels + y * header_.width * 4;
}

void BmpDecoder::DecodeRow(ByteCursor src, uint8_t* dst) const {
  const Layout& l = layout_;
  uint8_t bits = 0;
  uint32_t bitsLeft = 0;
  for (uint32_t x = 0; x < header_.width; ++x, dst += 4) {
    if (l.bpp <= 8) {
      if (bitsLeft == 0) bits = src.U8(), bitsLeft = 8;
      bitsLeft -= l.bpp;
      std::memcpy(dst, &palette_[((bits >> bitsLeft) & ((1u << l.bpp) - 1)) * 4], 4);
    } else if (l.bpp == 24) {
      dst[0] = src.U8(), dst[1] = src.U8(), dst[2] = src.U8(), dst[3] = 255;
    } else {
      const uint32_t v = l.bpp == 16 ? src.U16() : src.U32();
      dst[0] = l.blue.Of(v, 0), dst[1] = l.green.Of(v, 0), dst[2] = l.red.Of(v, 0),
      dst[3] = l.alpha.Of(v, 255);
    }
  }
}

bool BmpDecoder::DecodeRows(uint8_t* pixels) const {
  ByteCursor rows(in_, layout_.pixelsAt);
  const uint64_t stride = Stride();
  for (uint64_t row = 0; row < header_.height; ++row) {
    ByteCursor src(rows.Bytes(stride));
    if (!rows.Ok()) return false;
    DecodeRow(src, Row(pixels, row));
  }
  return true;
}

// Pixels the stream skips (delta, early end of line or picture) stay transparent.
bool BmpDecoder::DecodeRle(uint8_t* pixels) const {
  return WalkRle(ByteCursor(in_, layout_.pixelsAt), layout_.compression == kRle4, header_.width,
                 header_.height, [&](uint64_t x, uint64_t row, uint8_t index) {
                   std::memcpy(Row(pixels, row) + x * 4, &palette_[index * 4], 4);
                 });
}

// The 1-bit AND mask after an icon's pixels: set bits are transparent. Rows the data does not hold
// stay opaque.
void BmpDecoder::ApplyIconMask(uint8_t* pixels) const {
  const uint64_t stride = RowBytes(header_.width, 1);
  ByteCursor mask(in_, layout_.pixelsAt + Stride() * header_.height);
  for (uint64_t row = 0; row < header_.height; ++row) {
    ByteCursor bits(mask.Bytes(stride));
    const bool have = mask.Ok();
    uint8_t* dst = Row(pixels, row);
    uint8_t byte = 0;
    for (uint32_t x = 0; x < header_.width; ++x, dst += 4) {
      if (x % 8 == 0) byte = bits.U8();
      dst[3] = have && (byte >> (7 - x % 8)) & 1 ? 0 : 255;
    }
  }
}

DecodeResult BmpDecoder::Decode(const DecodeRequest& request, Bitmap& out) {
  if (request.frame != 0) return Refusal(ReaderFault::Malformed);
  // The pixel data must all be there before any pixel memory is taken.
  if (!PixelsComplete()) return Refusal(ReaderFault::Truncated);
  try {
    out.pixels = AllocatePixels(header_.width, header_.height);
  } catch (const std::bad_alloc&) {
    return {DecodeStatus::OutOfMemory, ENOMEM};
  }
  uint8_t* pixels = out.pixels.data();
  // Pixels an RLE stream skips stay transparent, so its buffer starts cleared.
  if (layout_.Rle()) std::fill(out.pixels.begin(), out.pixels.end(), uint8_t(0));
  if (!(layout_.Rle() ? DecodeRle(pixels) : DecodeRows(pixels))) {
    out.pixels.clear();
    return Refusal(ReaderFault::Truncated);
  }
  out.width = header_.width;
  out.height = header_.height;
  const bool alphaPossible = layout_.bpp == 32 && (layout_.alphaMask || layout_.compression == kRgb);
  bool realAlpha = false;
  if (alphaPossible) {
    for (size_t i = 3; i < out.pixels.size() && !realAlpha; i += 4) realAlpha = out.pixels[i] != 0;
  }
  if (layout_.iconMask && !realAlpha) {
    ApplyIconMask(pixels);
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

DecodeResult Refusal(ReaderFault fault) {
  switch (fault) {
    case ReaderFault::NotThisFormat:
    case ReaderFault::UnsupportedCompression:
      return {DecodeStatus::Unsupported, int32_t(fault)};
    case ReaderFault::TooLarge:
      return {DecodeStatus::TooLarge, int32_t(fault)};
    case ReaderFault::Malformed:
    case ReaderFault::Truncated:
      break;
  }
  return {DecodeStatus::Damaged, int32_t(fault)};
}

std::unique_ptr<Decoder> OpenBmpDecoder(std::span<const uint8_t> bytes, DecodeResult& result) {
  return Open(bytes, false, result);
}

std::unique_ptr<Decoder> OpenIconBitmapDecoder(std::span<const uint8_t> dib, DecodeResult& result) {
  return Open(dib, true, result);
}

}  // namespace Quarlo::Imaging
