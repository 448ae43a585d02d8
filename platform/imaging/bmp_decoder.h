#pragma once
// Our own BMP reader: the core (OS/2 1.x), OS/2 2.x, Windows 3 and the V2 to V5 headers; 1, 2, 4, 8,
// 16, 24 and 32 bits per pixel; RLE4 and RLE8; bit-field masks; bottom-up and top-down rows. Alpha
// counts only when the file can carry it (an alpha mask, or 32 bits per pixel) and is not all zero,
// since many writers leave that byte zero in opaque pictures.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// Why the BMP or ICO reader refused bytes; DecodeResult::code carries it, and it decides the status.
enum class ReaderFault : int32_t {
  Malformed = 1,               // Damaged: ours, but a field is impossible
  NotThisFormat = 2,           // Unsupported: no signature of ours, another reader's bytes
  Truncated = 3,               // Damaged: ours, but the data ends before what it describes
  UnsupportedCompression = 4,  // Unsupported: embedded JPEG or PNG, OS/2 Huffman or RLE24
  TooLarge = 5,                // TooLarge: a side beyond the reader's limit
};

// The result that reports a fault: its status, with the fault as the code.
DecodeResult Refusal(ReaderFault fault);

// A .bmp file (starting "BM"). Failures carry a ReaderFault as their code: Unsupported for bytes
// of another format and for compressions we do not read, TooLarge beyond the side limit, Damaged
// otherwise. Opening reads the headers only; missing pixel data fails the decode.
std::unique_ptr<Decoder> OpenBmpDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

// A device-independent bitmap inside an icon: no file header, the stored height covers the picture
// and its 1-bit AND mask, whose set bits make pixels transparent unless the picture has real alpha.
// Opens only when all its pixels are there, so that an icon frame that opens decodes.
std::unique_ptr<Decoder> OpenIconBitmapDecoder(std::span<const uint8_t> dib, DecodeResult& result);

}  // namespace Quarlo::Imaging
