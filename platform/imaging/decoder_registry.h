#pragma once
// The imaging component's decoder registry: which picture decoders this process has, which file
// extensions they claim, and which of them recognises a file by its content. Extensions only decide
// whether a file is listed; the decoder that reads a file is always chosen by its bytes.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// The container a decoder reads. The display names of the well-known ones come from one table
// (FormatName in core/file_kinds); others are named after the decoder's friendly name.
enum class ContainerFormat { Jpeg, Png, Gif, Bmp, Tiff, Ico, JpegXr, Dds, Heif, Webp, Other };

struct DecoderInfo {
  std::string friendlyName;   // e.g. "JPEG Decoder"
  ContainerFormat container;  // what the decoder reports as its container
  std::string extensions;     // comma-separated dotted list, e.g. ".jpeg,.jpe,.jpg"
};

// Every decoder usable in this process, in a fixed order. Decoders whose library lacks the codec at
// run time (HEIC without an HEVC decoder, AVIF without an AV1 decoder) are left out.
const std::vector<DecoderInfo>& InstalledDecoders();

// The installed decoder whose signature the first bytes of a file carry, or nullptr. Sixteen bytes
// are enough for every signature except the ISO media brands, which want the first 64.
const DecoderInfo* RecognizeDecoder(std::span<const uint8_t> head);

// Opens the backend of one of InstalledDecoders over the whole file's bytes (which must outlive it).
// Null with the backend's failure.
std::unique_ptr<Decoder> OpenDecoder(const DecoderInfo& decoder, std::span<const uint8_t> bytes,
                                     DecodeResult& result);

}  // namespace Quarlo::Imaging
