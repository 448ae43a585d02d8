#include <cerrno>
#include <cmath>
#include <new>

#include "core/file_kinds.h"
#include "core/loaded_picture.h"
#include "core/picture_list.h"
#include "core/zip_reader.h"
#include "platform/file_read.h"
#include "platform/imaging/colour.h"
#include "platform/imaging/decoder_registry.h"
#include "platform/imaging/gif_composer.h"
#include "platform/imaging/pixel_ops.h"
#include "platform/imaging/webp_animation.h"
#include "platform/imaging/webp_decoder.h"

namespace Quarlo::View {

namespace {

using Imaging::Bitmap;
using Imaging::ComposedAnimation;
using Imaging::Decoder;
using Imaging::DecodeRequest;
using Imaging::DecodeResult;
using Imaging::DecodeStatus;
using Imaging::PictureHeader;

constexpr size_t kWebpMinimumBytes = 16;

void Fail(LoadedPicture& picture, LoadError error, int32_t code) {
  picture.error = error;
  picture.errorCode = code;
  picture.frames.clear();
  picture.format.clear();
}

LoadError ErrorOf(DecodeStatus status) {
  switch (status) {
    case DecodeStatus::Ok:
      return LoadError::None;
    case DecodeStatus::Unsupported:
      return LoadError::NoCodec;
    case DecodeStatus::TooLarge:
      return LoadError::TooLarge;
    case DecodeStatus::OutOfMemory:
      return LoadError::OutOfMemory;
    case DecodeStatus::Damaged:
      break;
  }
  return LoadError::Damaged;
}

void Fail(LoadedPicture& picture, const DecodeResult& result) {
  Fail(picture, ErrorOf(result.status), result.code);
}

LoadError ErrorOf(ZipStatus status) {
  switch (status) {
    case ZipStatus::CannotRead:
      return LoadError::CannotRead;
    case ZipStatus::Encrypted:
      return LoadError::Encrypted;
    case ZipStatus::UnsupportedMethod:
      return LoadError::NoCodec;
    case ZipStatus::TooLarge:
      return LoadError::TooLarge;
    default:
      return LoadError::Damaged;
  }
}

bool HasWebpSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= kWebpMinimumBytes && std::equal(bytes.begin(), bytes.begin() + 4, "RIFF") &&
         std::equal(bytes.begin() + 8, bytes.begin() + 12, "WEBP");
}

bool TooManyPixels(uint64_t width, uint64_t height) { return width * height > kMaxPicturePixels; }

struct Size2 {
  uint32_t width, height;
};

// The decoded size: the stored size, or fitted into the box when the picture is larger than it. A
// picture that will turn a quarter is fitted so that the turned result fits.
Size2 TargetSize(uint32_t width, uint32_t height, const DecodeOptions& options, bool turned) {
  if (!options.HasBox()) return {width, height};
  double boxWidth = turned ? options.maxHeight : options.maxWidth;
  double boxHeight = turned ? options.maxWidth : options.maxHeight;
  if (width <= boxWidth && height <= boxHeight) return {width, height};
  double scale = std::min(boxWidth / width, boxHeight / height);
  auto scaled = [scale](uint32_t side) { return std::max<uint32_t>(1, uint32_t(std::lround(side * scale))); };
  return {scaled(width), scaled(height)};
}

PixelBuffer Share(PixelBytes&& pixels) { return std::make_shared<const PixelBytes>(std::move(pixels)); }

bool SameSize(Size2 a, Size2 b) { return a.width == b.width && a.height == b.height; }

// A preview's one tile covers the whole picture (full is its size after orientation) with pixels of a
// smaller size; its frame holds no buffer, so nothing takes those pixels for the picture's own.
void TakePreview(PixelBytes&& pixels, Size2 pixelSize, Size2 full, LoadedPicture& picture) {
  picture.preview = true;
  picture.width = int32_t(full.width);
  picture.height = int32_t(full.height);
  picture.frames.push_back({nullptr, 0});
  picture.tiles.push_back({PictureTile{0,
                                       0,
                                       picture.width,
                                       picture.height,
                                       Share(std::move(pixels)),
                                       {},
                                       int32_t(pixelSize.width),
                                       int32_t(pixelSize.height)}});
}

bool IsSrgbName(const std::string& name) {
  return name.size() >= 4 && name.find("sRGB") != std::string::npos;
}

// Decodes frame 0 of an opened picture as a still: limit, metadata, colour, box, transparency and
// orientation. WebP keeps the stored orientation and colours.
void DecodeStill(Decoder& decoder, const DecodeOptions& options, bool webp, LoadedPicture& picture) {
  const PictureHeader& header = decoder.Header();
  if (header.width == 0 || header.height == 0) return Fail(picture, LoadError::Damaged, 0);
  if (TooManyPixels(header.width, header.height)) return Fail(picture, LoadError::TooLarge, 0);
  picture.sourceWidth = int32_t(header.width);
  picture.sourceHeight = int32_t(header.height);
  picture.bitsPerPixel = int32_t(header.bitsPerPixel);
  picture.metadata = MetadataFromExif(header.exif);
  std::unique_ptr<Imaging::ColourTransform> colour;
  if (webp) {
    picture.metadata.orientation = 1;
  } else {
    if (!header.profileFromPrimaries)
      picture.metadata.colorProfile = Imaging::ProfileDescription(header.iccProfile);
    if (options.colorManage && !header.iccProfile.empty() && !IsSrgbName(picture.metadata.colorProfile)) {
      colour = Imaging::ColourTransform::Create(header.iccProfile, header.model);
    }
  }
  const uint32_t orientation = options.applyOrientation ? picture.metadata.orientation : 1;
  const Size2 stored{header.width, header.height};
  Size2 target = TargetSize(header.width, header.height, options, orientation >= 5);
  // A preview pays only where reduced decoding is cheap, and one too large for a tile would save little:
  // otherwise the whole picture is decoded at once.
  const bool wantsPreview = options.preview && header.reducesCheaply && !SameSize(target, stored) &&
                            target.width <= uint32_t(kTileSide) && target.height <= uint32_t(kTileSide);
  if (options.preview && !wantsPreview) target = stored;
  DecodeRequest request;
  if (!SameSize(target, stored)) {
    request.minWidth = target.width;
    request.minHeight = target.height;
  }
  request.colour = colour.get();
  request.colourManage = options.colorManage;
  request.cancel = options.cancel;
  Bitmap bitmap;
  DecodeResult result = decoder.Decode(request, bitmap);
  if (!result.Ok()) return Fail(picture, result);
  if (bitmap.width == 0 || bitmap.height == 0 ||
      bitmap.pixels.size() < uint64_t(bitmap.width) * bitmap.height * 4) {
    return Fail(picture, LoadError::Damaged, 0);
  }
  if (colour && !bitmap.colourConverted && colour->Model() != Imaging::SampleModel::Cmyk) {
    colour->ApplyBgra(bitmap.pixels.data(), size_t(bitmap.width) * bitmap.height);
  }
  PixelBytes pixels = std::move(bitmap.pixels);
  const Size2 decoded{bitmap.width, bitmap.height};
  // A backend that cannot decode reduced gave the whole picture, which is then kept as it is.
  const bool preview = wantsPreview && decoded.width < stored.width && decoded.height < stored.height;
  const bool covers = decoded.width >= target.width && decoded.height >= target.height;
  if (!wantsPreview && covers && !SameSize(decoded, target)) {
    pixels = Imaging::ScaleDown(pixels, bitmap.width, bitmap.height, target.width, target.height);
  } else {
    target = decoded;
  }
  picture.hasTransparency = header.hasAlpha && Imaging::AnyAlphaBelowOpaque(pixels);
  const bool turned = orientation >= 5 && orientation <= 8;
  if (orientation >= 2 && orientation <= 8) {
    pixels = Imaging::Orient(pixels, target.width, target.height, orientation);
    if (turned) std::swap(target.width, target.height);
  }
  if (preview)
    return TakePreview(std::move(pixels), target, turned ? Size2{stored.height, stored.width} : stored,
                       picture);
  picture.width = int32_t(target.width);
  picture.height = int32_t(target.height);
  picture.frames.push_back({Share(std::move(pixels)), 0});
}

void TakeAnimation(ComposedAnimation&& animation, int32_t bitsPerPixel, LoadedPicture& picture) {
  switch (animation.status) {
    case Imaging::AnimationStatus::Ok:
      break;
    case Imaging::AnimationStatus::TooLarge:
      return Fail(picture, LoadError::TooLarge, 0);
    case Imaging::AnimationStatus::OutOfMemory:
      return Fail(picture, LoadError::OutOfMemory, ENOMEM);
    default:
      return Fail(picture, LoadError::Damaged, 0);
  }
  if (animation.frames.empty()) return Fail(picture, LoadError::Damaged, 0);
  picture.width = picture.sourceWidth = int32_t(animation.width);
  picture.height = picture.sourceHeight = int32_t(animation.height);
  picture.bitsPerPixel = bitsPerPixel;
  picture.framesTruncated = animation.truncated;
  picture.hasTransparency = animation.hasTransparency;
  for (Imaging::ComposedFrame& frame : animation.frames)
    picture.frames.push_back({std::move(frame.pixels), frame.delayMs});
}

// WebP always takes the program's own path, still or animated.
void DecodeWebp(std::span<const uint8_t> bytes, const DecodeOptions& options, LoadedPicture& picture) {
  if (!HasWebpSignature(bytes)) return Fail(picture, LoadError::Damaged, 0);
  picture.format = "WebP";
  std::span<const uint8_t> still = bytes;
  if (Imaging::IsAnimatedWebp(bytes)) {
    if (options.WantsAnimation()) {
      return TakeAnimation(Imaging::DecodeWebpAnimation(bytes, options.frameBytesCap, options.cancel), 32,
                           picture);
    }
    still = Imaging::FirstWebpFrame(bytes);
    if (still.empty()) return Fail(picture, LoadError::Damaged, 0);
  }
  DecodeResult result;
  std::unique_ptr<Decoder> decoder = Imaging::OpenWebpDecoder(still, result);
  if (!decoder)
    return Fail(picture,
                result.status == DecodeStatus::OutOfMemory ? LoadError::OutOfMemory : LoadError::Damaged,
                result.code);
  DecodeStill(*decoder, options, true, picture);
}

void DecodeRecognized(const Imaging::DecoderInfo& info, std::span<const uint8_t> bytes,
                      const DecodeOptions& options, LoadedPicture& picture) {
  DecodeResult result;
  std::unique_ptr<Decoder> decoder = Imaging::OpenDecoder(info, bytes, result);
  if (!decoder) return Fail(picture, result);
  if (info.container == Imaging::ContainerFormat::Gif && decoder->Header().frameCount >= 2 &&
      options.WantsAnimation()) {
    TakeAnimation(Imaging::ComposeGifAnimation(*decoder, options.frameBytesCap, options.cancel), 8, picture);
  } else {
    DecodeStill(*decoder, options, false, picture);
  }
  if (picture.error == LoadError::None) picture.format = FormatName(info);
}

// Chooses the decoder by content: the WebP signature, then the registry's signatures; a name ending
// in .webp sends unrecognised bytes to the WebP path (which reports them damaged).
void DecodeBytes(std::span<const uint8_t> bytes, std::string_view name, const DecodeOptions& options,
                 LoadedPicture& picture) {
  if (bytes.empty()) return Fail(picture, LoadError::Damaged, 0);
  if (HasWebpSignature(bytes)) return DecodeWebp(bytes, options, picture);
  if (const Imaging::DecoderInfo* info = Imaging::RecognizeDecoder(bytes)) {
    return DecodeRecognized(*info, bytes, options, picture);
  }
  if (ExtensionOf(name) == "webp") return DecodeWebp(bytes, options, picture);
  Fail(picture, LoadError::NoCodec, 0);
}

// Cuts frames wider or taller than the tile threshold into tiles, band by band from the top; smaller
// frames are one tile that shares the frame's buffer.
void MakeTiles(LoadedPicture& picture) {
  if (picture.preview) return;  // made with its one tile
  const bool cut = picture.width > kTileThreshold || picture.height > kTileThreshold;
  for (PictureFrame& frame : picture.frames) {
    std::vector<PictureTile>& tiles = picture.tiles.emplace_back();
    if (!cut) {
      tiles.push_back({0, 0, picture.width, picture.height, frame.pixels, {}});
      continue;
    }
    for (int32_t y = 0; y < picture.height; y += kTileSide) {
      for (int32_t x = 0; x < picture.width; x += kTileSide) {
        int32_t w = std::min(kTileSide, picture.width - x), h = std::min(kTileSide, picture.height - y);
        PixelBytes pixels(size_t(w) * h * 4);
        for (int32_t row = 0; row < h; ++row) {
          const uint8_t* from = frame.pixels->data() + (size_t(y + row) * picture.width + x) * 4;
          std::copy(from, from + size_t(w) * 4, pixels.data() + size_t(row) * w * 4);
        }
        tiles.push_back({x, y, w, h, Share(std::move(pixels)), {}});
      }
    }
  }
  if (!cut) return;
  for (PictureFrame& frame : picture.frames) frame.pixels.reset();
  picture.tiled = true;
}

// The bytes of the frames' pixels; a preview's are those of its smaller tile.
uint64_t PixelBytesOf(const LoadedPicture& picture) {
  if (!picture.preview) return uint64_t(picture.frames.size()) * uint64_t(picture.width) * picture.height * 4;
  uint64_t bytes = 0;
  for (const std::vector<PictureTile>& frame : picture.tiles) {
    for (const PictureTile& tile : frame)
      bytes += uint64_t(tile.PixelWidth()) * uint64_t(tile.PixelHeight()) * 4;
  }
  return bytes;
}

// Tiles and cost once decoding is over; an allocation failure anywhere turns into OutOfMemory.
template <typename Decode>
PicturePtr Finish(std::string key, const DecodeOptions& options, Decode&& decode) {
  auto picture = std::make_shared<LoadedPicture>();
  picture->key = std::move(key);
  try {
    decode(*picture);
    if (picture->error == LoadError::None && picture->frames.empty()) Fail(*picture, LoadError::Damaged, 0);
    if (picture->error == LoadError::None) MakeTiles(*picture);
    AddLevels(*picture, options.shownPreview.get());
  } catch (const std::bad_alloc&) {
    picture->tiles.clear();
    picture->tiled = false;
    Fail(*picture, LoadError::OutOfMemory, ENOMEM);
  }
  picture->cost = kPictureOverheadCost;
  if (picture->error == LoadError::None) {
    picture->cost += PixelBytesOf(*picture) + LevelBytes(*picture);
  } else {
    picture->width = picture->height = 0;
  }
  return picture;
}

// A file of 2 GiB or more gives no system error, which counts as damage.
LoadError ErrorOf(Platform::FileReadStatus status) {
  switch (status) {
    case Platform::FileReadStatus::Ok:
      return LoadError::None;
    case Platform::FileReadStatus::OutOfMemory:
      return LoadError::OutOfMemory;
    case Platform::FileReadStatus::TooLarge:
      return LoadError::Damaged;
    case Platform::FileReadStatus::NotFound:
    case Platform::FileReadStatus::NotRegular:
    case Platform::FileReadStatus::ReadError:
      break;
  }
  return LoadError::CannotRead;
}

PicturePtr LoadFile(const std::string& path, std::string key, const DecodeOptions& options) {
  return Finish(std::move(key), options, [&](LoadedPicture& picture) {
    Platform::FileRead read = Platform::ReadWholeFile(path);
    if (!read.Ok()) return Fail(picture, ErrorOf(read.status), read.error);
    DecodeBytes(read.bytes, path, options, picture);
  });
}

}  // namespace

PicturePtr LoadPictureBytes(std::span<const uint8_t> bytes, std::string_view name,
                            const DecodeOptions& options) {
  return Finish(std::string(name), options,
                [&](LoadedPicture& picture) { DecodeBytes(bytes, name, options, picture); });
}

PicturePtr LoadPictureFile(const std::string& path, const DecodeOptions& options) {
  return LoadFile(path, path, options);
}

PicturePtr LoadPicture(const PictureItem& item, ZipReader* reader, const DecodeOptions& options,
                       bool thumbnail) {
  const DecodeOptions effective = thumbnail ? ThumbnailOptions(options) : options;
  if (!reader) return LoadFile(item.path, KeyOf(item), effective);
  return Finish(KeyOf(item), effective, [&](LoadedPicture& picture) {
    std::vector<uint8_t> bytes;
    ZipStatus status = reader->ReadEntry(item.entryIndex, bytes);
    if (status != ZipStatus::Ok) return Fail(picture, ErrorOf(status), 0);
    DecodeBytes(bytes, item.name, effective, picture);
  });
}

}  // namespace Quarlo::View
