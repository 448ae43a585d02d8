#pragma once
// A bounds-checked little-endian reader over a byte span. Its failure is sticky: a read past the end
// fails the cursor, and every later read returns zeros, so one check after a run of reads is enough.

#include <cstddef>
#include <cstdint>
#include <span>

namespace Quarlo::Platform {

class ByteCursor {
 public:
  explicit ByteCursor(std::span<const uint8_t> bytes, size_t position = 0)
      : bytes_(bytes), position_(position), ok_(position <= bytes.size()) {}

  uint8_t U8() { return static_cast<uint8_t>(Little(1)); }
  uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
  uint64_t U64() { return Little(8); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return static_cast<int32_t>(U32()); }

  // A fresh cursor over the same bytes at another position (failed when that lies past the end),
  // for formats whose fields point elsewhere in the data.
  ByteCursor At(size_t position) const { return ByteCursor(bytes_, position); }

  // The next count bytes, or an empty span (and a failed cursor) when fewer remain.
  std::span<const uint8_t> Bytes(size_t count) {
    if (!Take(count)) return {};
    return bytes_.subspan(position_ - count, count);
  }

  void Skip(size_t count) { Take(count); }

  size_t Position() const { return position_; }
  size_t Remaining() const { return ok_ ? bytes_.size() - position_ : 0; }
  bool Ok() const { return ok_; }

 private:
  bool Take(size_t count) {
    if (!ok_ || count > bytes_.size() - position_) {
      ok_ = false;
      return false;
    }
    position_ += count;
    return true;
  }

  uint64_t Little(size_t width) {
    if (!Take(width)) return 0;
    uint64_t value = 0;
    for (size_t i = width; i > 0; --i) value = (value << 8) | bytes_[position_ - width + i - 1];
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t position_;
  bool ok_;
};

}  // namespace Quarlo::Platform
