#pragma once
// Colour management: conversion from a picture's embedded ICC profile to sRGB (lcms2), and the
// profile description shown as the picture's colour profile name.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

class ColourTransform {
 public:
  // The pipeline builds one per decode from the header's profile. Null when the profile cannot be
  // parsed, its colour space does not match the samples (an RGB profile on a grey JPEG), or lcms
  // cannot link it to sRGB.
  static std::unique_ptr<ColourTransform> Create(std::span<const uint8_t> icc, SampleModel model);
  ~ColourTransform();
  ColourTransform(const ColourTransform&) = delete;
  ColourTransform& operator=(const ColourTransform&) = delete;

  SampleModel Model() const { return model_; }

  // Converts premultiplied BGRA pixels to sRGB in place; the pipeline calls it on RGB and grey
  // pictures after decoding. Alpha is kept.
  void ApplyBgra(uint8_t* bgra, size_t count) const;

  // Converts CMYK samples (4 bytes each, 0 = no ink) to opaque sRGB BGRA; CMYK backends call it per row.
  void CmykToBgra(const uint8_t* cmyk, uint8_t* bgra, size_t count) const;

 private:
  ColourTransform(void* transform, SampleModel model) : transform_(transform), model_(model) {}

  void* transform_;  // cmsHTRANSFORM
  SampleModel model_;
  uint8_t greyToSrgb_[256][3] = {};  // grey profiles convert through this table (B, G, R)
};

// The profile's description ("sRGB IEC61966-2.1", "Display P3"...): the ASCII text of a version 2
// "desc" tag or the first record of a version 4 "mluc" tag; empty when there is none or it is malformed.
std::string ProfileDescription(std::span<const uint8_t> icc);

// An RGB profile with the given primaries and white point (CIE xy) and the sRGB tone curve; used for
// pictures that describe their colours by primaries instead of an embedded profile (HEIF nclx).
// Empty when lcms cannot build it.
std::vector<uint8_t> ProfileFromPrimaries(const double primaries[6], const double white[2]);

}  // namespace Quarlo::Imaging
