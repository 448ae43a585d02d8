#pragma once
// Our own BMP reader: the core (OS/2 1.x), OS/2 2.x, Windows 3 and the V2 to V5 headers; 1, 2, 4, 8,
// 16, 24 and 32 bits per pixel; RLE4 and RLE8; bit-field masks; bottom-up and top-down rows. Alpha
// counts only when the file can carry it (an alpha mask, or 32 bits per pixel) and is not all zero,
// since many writers leave that byte zero in opaque pictures.

#include "platform/imaging/decoder.h"

namespace Quarlo::Imaging {

// A .bmp file (starting "BM"); failures: Damaged (code 1), Unsupported for embedded JPEG/PNG data
// and OS/2 Huffman or RLE24 compression.
std::unique_ptr<Decoder> OpenBmpDecoder(std::span<const uint8_t> bytes, DecodeResult& result);

// A device-independent bitmap inside an icon: no file header, the stored height covers the picture
// and its 1-bit AND mask, whose set bits make pixels transparent unless the picture has real alpha.
std::unique_ptr<Decoder> OpenIconBitmapDecoder(std::span<const uint8_t> dib, DecodeResult& result);

}  // namespace Quarlo::Imaging
