#pragma once
// The memory that decoded pixels live in. A decoder writes every byte of its output, so the buffer
// is taken without the zero fill std::vector would do first: on a 24-megapixel picture that fill
// alone costs a few milliseconds. Code that relies on zeros (a transparent canvas, pixels a stream
// may skip) clears the buffer itself. Large buffers are backed by huge pages where the system offers
// them: a 24-megapixel picture otherwise takes some 30,000 page faults as it is first written, which
// cost more than decoding it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace Quarlo::Imaging {

// Buffers of at least this size are aligned to it and asked to be backed by huge pages.
inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// The memory of pixel buffers; AllocatePixelMemory throws std::bad_alloc when none is left.
void* AllocatePixelMemory(size_t bytes);
void FreePixelMemory(void* memory) noexcept;

// std::allocator whose value-less construct() default-initialises, leaving trivial types unset.
template <typename T>
class DefaultInitAllocator : public std::allocator<T> {
 public:
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };

  DefaultInitAllocator() noexcept = default;
  template <typename U>
  DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}

  T* allocate(size_t count) { return static_cast<T*>(AllocatePixelMemory(count * sizeof(T))); }
  void deallocate(T* memory, size_t) noexcept { FreePixelMemory(memory); }

  template <typename U>
  void construct(U* at) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(at)) U;
  }
  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};

// Premultiplied BGRA, 8 bits per channel, rows top to bottom, stride = width × 4.
using PixelBytes = std::vector<uint8_t, DefaultInitAllocator<uint8_t>>;
// A finished buffer shared by the picture, its tiles and the views that draw it.
using PixelBuffer = std::shared_ptr<const PixelBytes>;

}  // namespace Quarlo::Imaging
