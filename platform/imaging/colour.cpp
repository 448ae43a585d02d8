#include "platform/imaging/colour.h"

#include <lcms2.h>

#include <cstring>

namespace Quarlo::Imaging {

namespace {

// Pixels go through lcms in slices of straight-alpha BGRA.
constexpr size_t kSlicePixels = 4096;

struct ProfileCloser {
  void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

uint32_t BigEndian32(std::span<const uint8_t> b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

// The data colour space of a profile's header. Read from the bytes, not through cmsGetColorSpace:
// lcms hands the stored 32 bits back as its enum type, which cannot hold every value a file may
// carry (loading such a value is undefined behaviour).
constexpr size_t kColourSpaceField = 16, kProfileHeaderSize = 128;

bool SpaceFits(std::span<const uint8_t> icc, SampleModel model) {
  if (icc.size() < kProfileHeaderSize) return false;
  const uint32_t space = BigEndian32(icc, kColourSpaceField);
  switch (model) {
    case SampleModel::Rgb:
      return space == uint32_t(cmsSigRgbData);
    case SampleModel::Gray:
      return space == uint32_t(cmsSigGrayData);
    case SampleModel::Cmyk:
      return space == uint32_t(cmsSigCmykData);
  }
  return false;
}

// The ASCII text of an ICC v2 "desc" element: count at 8, text from 12.
std::string AsciiDescription(std::span<const uint8_t> data) {
  uint32_t length = BigEndian32(data, 8);
  std::string text;
  for (size_t i = 12; i < data.size() && i - 12 < length && data[i] != 0; ++i) text += char(data[i]);
  return text;
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// The first record of an ICC v4 "mluc" element, UTF-16 big-endian, converted to UTF-8. Unpaired
// surrogates become U+FFFD.
std::string MlucDescription(std::span<const uint8_t> data) {
  if (data.size() < 28) return {};
  uint64_t length = BigEndian32(data, 20), offset = BigEndian32(data, 24);
  std::string text;
  for (uint64_t i = offset; i + 1 < data.size() && i + 1 < offset + length; i += 2) {
    uint32_t unit = (uint32_t(data[i]) << 8) | data[i + 1];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < data.size() && i + 3 < offset + length) {
      uint32_t low = (uint32_t(data[i + 2]) << 8) | data[i + 3];
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(text, (unit >= 0xD800 && unit < 0xE000) ? 0xFFFD : unit);
  }
  return text;
}

}  // namespace

std::unique_ptr<ColourTransform> ColourTransform::Create(std::span<const uint8_t> icc, SampleModel model) {
  if (icc.empty()) return nullptr;
  Profile source(cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size())));
  if (!source || !SpaceFits(icc, model)) return nullptr;
  Profile srgb(cmsCreate_sRGBProfile());
  if (!srgb) return nullptr;
  cmsUInt32Number inputFormat = model == SampleModel::Rgb    ? TYPE_BGRA_8
                                : model == SampleModel::Gray ? TYPE_GRAY_8
                                                             : TYPE_CMYK_8;
  cmsUInt32Number outputFormat = TYPE_BGRA_8;
  cmsUInt32Number flags = model == SampleModel::Rgb ? cmsFLAGS_COPY_ALPHA : 0;
  cmsHTRANSFORM transform =
      cmsCreateTransform(source.get(), inputFormat, srgb.get(), outputFormat, INTENT_PERCEPTUAL, flags);
  if (!transform) return nullptr;
  std::unique_ptr<ColourTransform> result(new ColourTransform(transform, model));
  if (model == SampleModel::Gray) {
    uint8_t levels[256], bgra[256 * 4];
    for (int i = 0; i < 256; ++i) levels[i] = static_cast<uint8_t>(i);
    cmsDoTransform(transform, levels, bgra, 256);
    for (int i = 0; i < 256; ++i) std::memcpy(result->greyToSrgb_[i], bgra + i * 4, 3);
  }
  return result;
}

ColourTransform::~ColourTransform() { cmsDeleteTransform(transform_); }

void ColourTransform::ApplyBgra(uint8_t* bgra, size_t count) const {
  if (model_ == SampleModel::Rgb) {
    // lcms 2.14's premultiplied 8-bit formats lose the colour of translucent pixels, so each slice is
    // made straight, converted and multiplied again.
    uint8_t slice[kSlicePixels * 4];
    for (size_t done = 0; done < count; done += kSlicePixels) {
      const size_t n = std::min(kSlicePixels, count - done);
      uint8_t* pixels = bgra + done * 4;
      std::memcpy(slice, pixels, n * 4);
      for (size_t i = 0; i < n; ++i) {
        uint32_t a = slice[i * 4 + 3];
        if (a == 255 || a == 0) continue;
        for (int c = 0; c < 3; ++c)
          slice[i * 4 + c] = uint8_t(std::min<uint32_t>((slice[i * 4 + c] * 255 + a / 2) / a, 255));
      }
      cmsDoTransform(transform_, slice, slice, static_cast<cmsUInt32Number>(n));
      for (size_t i = 0; i < n; ++i) {
        uint32_t a = pixels[i * 4 + 3];
        if (a == 0) continue;
        for (int c = 0; c < 3; ++c)
          pixels[i * 4 + c] = a == 255 ? slice[i * 4 + c] : uint8_t((slice[i * 4 + c] * a + 127) / 255);
      }
    }
    return;
  }
  if (model_ != SampleModel::Gray) return;
  for (size_t i = 0; i < count; ++i, bgra += 4) {
    uint32_t a = bgra[3];
    if (a == 0) continue;
    uint32_t grey = a == 255 ? bgra[0] : std::min<uint32_t>((bgra[0] * 255 + a / 2) / a, 255);
    const uint8_t* mapped = greyToSrgb_[grey];
    for (int c = 0; c < 3; ++c)
      bgra[c] = static_cast<uint8_t>(a == 255 ? mapped[c] : (mapped[c] * a + 127) / 255);
  }
}

void ColourTransform::CmykToBgra(const uint8_t* cmyk, uint8_t* bgra, size_t count) const {
  if (model_ != SampleModel::Cmyk) return;
  cmsDoTransform(transform_, cmyk, bgra, static_cast<cmsUInt32Number>(count));
  for (size_t i = 0; i < count; ++i) bgra[i * 4 + 3] = 255;
}

std::string ProfileDescription(std::span<const uint8_t> icc) {
  if (icc.size() <= 131) return {};
  uint64_t tagCount = BigEndian32(icc, 128);
  for (uint64_t i = 0; i < tagCount; ++i) {
    uint64_t entry = 132 + i * 12;
    if (entry + 12 > icc.size()) break;
    if (std::memcmp(icc.data() + entry, "desc", 4) != 0) continue;
    uint64_t offset = BigEndian32(icc, entry + 4), size = BigEndian32(icc, entry + 8);
    if (size <= 11 || offset > icc.size() || size > icc.size() - offset) return {};
    std::span<const uint8_t> data = icc.subspan(offset, size);
    if (std::memcmp(data.data(), "desc", 4) == 0) return AsciiDescription(data);
    if (std::memcmp(data.data(), "mluc", 4) == 0) return MlucDescription(data);
    return {};
  }
  return {};
}

std::vector<uint8_t> ProfileFromPrimaries(const double primaries[6], const double white[2]) {
  cmsCIExyY whitePoint = {white[0], white[1], 1.0};
  cmsCIExyYTRIPLE triple = {{primaries[0], primaries[1], 1.0},
                            {primaries[2], primaries[3], 1.0},
                            {primaries[4], primaries[5], 1.0}};
  // The sRGB transfer curve: IEC 61966-2-1 as lcms's parametric type 4.
  const cmsFloat64Number params[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
  cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, params);
  if (!curve) return {};
  cmsToneCurve* curves[3] = {curve, curve, curve};
  Profile profile(cmsCreateRGBProfile(&whitePoint, &triple, curves));
  cmsFreeToneCurve(curve);
  if (!profile) return {};
  cmsUInt32Number size = 0;
  if (!cmsSaveProfileToMem(profile.get(), nullptr, &size) || size == 0) return {};
  std::vector<uint8_t> bytes(size);
  if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size)) return {};
  return bytes;
}

}  // namespace Quarlo::Imaging
