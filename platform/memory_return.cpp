#include "platform/memory_return.h"

#include <malloc.h>

namespace Quarlo::Platform {

// Setting the threshold explicitly also switches glibc's own raising of it off.
void ReturnLargeBlocksAtOnce() { mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes); }

}  // namespace Quarlo::Platform
