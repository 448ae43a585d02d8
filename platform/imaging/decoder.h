#pragma once
// The interface every picture decoder backend implements: one backend per library (or per reader of
// our own), opened on the encoded bytes of one file. Opening parses only the header, so the caller can
// check sizes against its limits before any pixel memory is taken; decoding then yields premultiplied
// BGRA. Backends never abort, never throw across this interface, and never read outside the span.

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/imaging/exif.h"
#include "platform/imaging/pixel_memory.h"

namespace Quarlo::Imaging {

class ColourTransform;

enum class DecodeStatus {
  Ok,
  Damaged,      // the content is this backend's format but is broken or incomplete
  Unsupported,  // the content is not this backend's format, or uses a feature it cannot read
  TooLarge,     // the backend's own size limit refused it
  OutOfMemory,  // an allocation failed
};

struct DecodeResult {
  DecodeStatus status = DecodeStatus::Ok;
  int32_t code = 0;  // the library's own code for diagnosis (see LoadedPicture::errorCode); 0 if none
  bool Ok() const { return status == DecodeStatus::Ok; }
};

// How the stored samples are modelled; picks the ICC transform for the embedded profile.
enum class SampleModel { Rgb, Gray, Cmyk };

struct PictureHeader {
  uint32_t width = 0, height = 0;  // stored size of the picture the pipeline decodes (frame 0)
  uint32_t frameCount = 1;
  uint32_t bitsPerPixel = 0;  // bits per pixel of the stored samples (palette: the index depth)
  bool hasAlpha = false;      // the stored format can carry transparency
  SampleModel model = SampleModel::Rgb;
  // Animation canvas (a GIF's logical screen); 0 when the file gives none.
  uint32_t canvasWidth = 0, canvasHeight = 0;
  std::vector<uint8_t> iccProfile;  // the embedded ICC profile, empty when none
  // The profile was built from colour primaries the file states (HEIF nclx), not embedded: it is used
  // for conversion but has no name to show.
  bool profileFromPrimaries = false;
  // Decoding at a reduced size costs a fraction of a whole decode (JPEG's DCT scaling), not merely
  // less memory, so a quick preview before the whole picture pays.
  bool reducesCheaply = false;
  ExifValues exif;  // what the container's EXIF block (or the TIFF directory) says
};

// Placement of one frame of an animation on its canvas.
struct FrameInfo {
  uint32_t width = 0, height = 0;
  int32_t left = 0, top = 0;
  uint32_t delayCs = 10;  // display time in hundredths of a second
  uint32_t disposal = 0;  // GIF disposal method
};

// Premultiplied BGRA, rows top to bottom, stride = width × 4.
struct Bitmap {
  uint32_t width = 0, height = 0;
  PixelBytes pixels;
  // The backend already converted to sRGB through the request's transform (CMYK sources do this
  // while their samples are still CMYK); otherwise the caller converts the BGRA result.
  bool colourConverted = false;
};

struct DecodeRequest {
  uint32_t frame = 0;
  // The smallest size the caller will scale the result down to (0: full size). A backend that can
  // decode at a reduced size (JPEG's DCT scaling, or rows scaled as they are read) returns any size
  // between this and the stored size; the others return the stored size.
  uint32_t minWidth = 0, minHeight = 0;
  // Conversion from the embedded profile to sRGB, or null. Backends whose samples are CMYK apply it
  // themselves and set Bitmap::colourConverted; the others leave it to the caller.
  const ColourTransform* colour = nullptr;
  // Colour management is on: a backend may honour colour facts other than a profile (a PNG's gAMA).
  bool colourManage = false;
  // Raised when the result is no longer wanted (the picture cache's shutdown, another list or other
  // options); a backend that decodes row by row looks at it now and then and gives up (Damaged), so
  // that a huge picture does not hold up the viewer's closing. Null: never.
  const std::atomic<bool>* cancel = nullptr;
};

class Decoder {
 public:
  virtual ~Decoder() = default;

  // The pipeline reads this right after opening, before any decoding.
  virtual const PictureHeader& Header() const = 0;

  // Placement of frame index on the canvas; the animation composer calls it for each frame before
  // decoding it. Still backends report their one frame at 0, 0 with the header size.
  virtual DecodeResult Frame(uint32_t index, FrameInfo& info);

  // Decodes one frame to premultiplied BGRA; the pipeline calls it once per still picture, the
  // animation composer once per frame. May be called again after a failure; it fails again.
  virtual DecodeResult Decode(const DecodeRequest& request, Bitmap& out) = 0;
};

// Opens a decoder over bytes, which must outlive it. Each backend has one of these (OpenJpegDecoder,
// OpenPngDecoder, ...); the registry calls the one whose signature the bytes carry.
using OpenFunction = std::unique_ptr<Decoder> (*)(std::span<const uint8_t> bytes, DecodeResult& result);

}  // namespace Quarlo::Imaging
