#pragma once
// A decoded picture: its pixels in the one format the canvas takes, its sizes, frames, tiles and
// metadata, or the classified reason it could not be decoded. Shared as a pointer to a constant
// record; once published it never changes, so any thread may keep and read it.

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/picture_levels.h"
#include "core/picture_metadata.h"
#include "platform/imaging/pixel_memory.h"

namespace Quarlo::View {

struct PictureItem;
class ZipReader;

// Pictures over this many pixels are refused before any pixel memory is taken.
constexpr uint64_t kMaxPicturePixels = 400'000'000;
// The viewer's frame memory cap for one animation (768 MiB).
constexpr uint64_t kViewerFrameBytesCap = 805'306'368;
// The side of the thumbnail box.
constexpr int32_t kThumbnailBox = 256;
// Frames wider or taller than this are cut into tiles of at most kTileSide per side.
constexpr int32_t kTileThreshold = 8192;
constexpr int32_t kTileSide = 4096;
// What the cache charges for a picture besides its pixels.
constexpr uint64_t kPictureOverheadCost = 256;

// Premultiplied BGRA, 8 bits per channel, rows top to bottom, stride = width × 4.
using Imaging::PixelBuffer;
using Imaging::PixelBytes;

struct PictureFrame {
  PixelBuffer pixels;    // width × height × 4 bytes, or null once the picture is tiled
  uint32_t delayMs = 0;  // display time; 0 for still pictures
};

struct PictureTile {
  int32_t x = 0, y = 0, width = 0, height = 0;  // position and size within the frame
  PixelBuffer pixels;                // PixelWidth() × PixelHeight() × 4, or the frame's own buffer
  std::vector<PictureLevel> levels;  // halved copies, largest first (large stills only)
  // The size of pixels when it is not width × height: a preview's pixels are smaller than the area they
  // cover and are drawn enlarged to it. 0: the tile's own size.
  int32_t pixelWidth = 0, pixelHeight = 0;

  int32_t PixelWidth() const { return pixelWidth > 0 ? pixelWidth : width; }
  int32_t PixelHeight() const { return pixelHeight > 0 ? pixelHeight : height; }
};

struct LoadedPicture;

struct DecodeOptions {
  bool applyOrientation = true;
  bool colorManage = true;
  uint64_t frameBytesCap = kViewerFrameBytesCap;
  int32_t maxWidth = 0;  // a box is in force only when both sizes are at least 1
  int32_t maxHeight = 0;
  // With a box, a still picture larger than the box becomes a preview: decoded cheaply to cover the box
  // (JPEG's DCT scaling), its width and height those of the full picture and its one tile's pixels
  // smaller. A picture that the box does not shrink, or whose backend cannot decode reduced cheaply,
  // is decoded whole as usual and is no preview.
  bool preview = false;
  // The preview of this picture still on screen, when this decode makes its full picture: where its
  // pixels have the size of one of the full picture's halved copies they become that copy, so the two
  // never hold the same view twice. Null: none.
  std::shared_ptr<const LoadedPicture> shownPreview;
  // Raised by the picture cache when the result can no longer be used (shutdown, another list);
  // decoders look at it between frames and give up early. Null: never.
  const std::atomic<bool>* cancel = nullptr;

  bool HasBox() const { return maxWidth >= 1 && maxHeight >= 1; }
  // Animations are decoded only without a box; otherwise the first frame stands for the picture.
  bool WantsAnimation() const { return maxWidth < 1; }
};

// The options of the thumbnail lane: these with no frame budget and a 256 × 256 box.
DecodeOptions ThumbnailOptions(const DecodeOptions& options);

enum class LoadError : int32_t {
  None = 0,
  CannotRead = 1,   // the file is missing or cannot be read
  NoCodec = 2,      // no decoder recognises the content
  Damaged = 3,      // damaged or incomplete (also any value not listed)
  TooLarge = 4,     // over kMaxPicturePixels
  OutOfMemory = 5,  // a pixel buffer could not be allocated
  Encrypted = 6,    // a password-protected archive entry
};

// A short English name for diagnostics ("None", "CannotRead", ...).
std::string_view LoadErrorName(LoadError error);

struct LoadedPicture {
  std::string key;                            // KeyOf the item: the path, or the archive entry name
  int32_t width = 0, height = 0;              // size of the frames after scaling and orientation
  std::vector<PictureFrame> frames;           // one for still pictures; empty on error
  bool hasTransparency = false;               // some decoded alpha is below 255
  std::string format;                         // "JPEG", "PNG", "WebP", ...; empty on error
  int32_t bitsPerPixel = 0;                   // of the stored picture (GIF animation 8, WebP 24 or 32)
  int32_t sourceWidth = 0, sourceHeight = 0;  // as stored, before scaling and orientation
  bool framesTruncated = false;               // the frame memory cap stopped an animation
  PictureMetadata metadata;
  LoadError error = LoadError::None;
  // The failing call's own code, for diagnosis only; 0 when there is none. Its meaning depends on
  // where the failure happened:
  //   file reads: the errno value (ENOENT, EACCES; EISDIR for a folder, ENODEV for a pipe, socket
  //     or device, EFBIG for files of 2 GiB or more);
  //   archive reads: 0 (the ZipStatus decides the error);
  //   JPEG: libjpeg's message code (J_MESSAGE_CODE) of the error that ended decoding;
  //   PNG: 1 for an error libpng reported;
  //   TIFF: 1 when libtiff reported an error;
  //   HEIF/AVIF: heif_error.code × 1000 + heif_error.subcode;
  //   JPEG XL: the JxlDecoderStatus that stopped decoding;
  //   WebP: the VP8StatusCode of WebPDecode or WebPGetFeatures;
  //   BMP, ICO and GIF: 1 for a malformed header or data stream;
  //   out of memory: ENOMEM.
  int32_t errorCode = 0;
  std::vector<std::vector<PictureTile>> tiles;  // one vector per frame: what the canvas draws
  bool tiled = false;                           // frames were cut into tiles and their whole buffers released
  // A stand-in shown until the full picture is decoded: every size and fact above describes the full
  // picture, but the frame's buffer is null and the one tile holds pixels of a reduced size (see
  // PictureTile). Only for drawing; anything that needs the picture's pixels waits for the full one.
  bool preview = false;
  uint64_t cost = 0;  // bytes charged to the picture cache
};

using PicturePtr = std::shared_ptr<const LoadedPicture>;

// Decodes one list item: a file of a folder (reader null) or an entry of the reader's archive. With
// the thumbnail flag the options become ThumbnailOptions(options). Never fails as a call: every
// failure is recorded in the result's error. Called on the cache's loader threads.
PicturePtr LoadPicture(const PictureItem& item, ZipReader* reader, const DecodeOptions& options,
                       bool thumbnail);

// Decodes the file at path; the key is the path. Used by LoadPicture and the inspect tool.
PicturePtr LoadPictureFile(const std::string& path, const DecodeOptions& options);

// Decodes encoded bytes held in memory; name (an entry name) is the key and gives the extension
// hint for WebP. Used by LoadPicture for archive entries, by tests and by the fuzz targets.
PicturePtr LoadPictureBytes(std::span<const uint8_t> bytes, std::string_view name,
                            const DecodeOptions& options);

}  // namespace Quarlo::View
