#include "platform/imaging/pixel_memory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <limits>
#include <new>

namespace Quarlo::Imaging {

void* AllocatePixelMemory(size_t bytes) {
  if (bytes < kHugePageBytes) {
    void* memory = std::malloc(bytes > 0 ? bytes : 1);
    if (!memory) throw std::bad_alloc();
    return memory;
  }
  if (bytes > std::numeric_limits<size_t>::max() - kHugePageBytes) throw std::bad_alloc();
  const size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
  void* memory = std::aligned_alloc(kHugePageBytes, rounded);
  if (!memory) throw std::bad_alloc();
  // Only advice: where huge pages are off, the buffer is made of ordinary pages as before.
  madvise(memory, rounded, MADV_HUGEPAGE);
  return memory;
}

void FreePixelMemory(void* memory) noexcept { std::free(memory); }

}  // namespace Quarlo::Imaging
