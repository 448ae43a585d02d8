#pragma once
// How freed memory goes back to the system. glibc raises its threshold for mapping a block of its own
// each time such a block is freed, so after the first picture file is read and freed, the next file of
// that size is read into a thread's heap, which keeps its pages after the free: a 24-megapixel JPEG
// left 8 MiB resident for good beside the picture.

namespace Quarlo::Platform {

// Called once at start-up, before any loader thread runs: blocks of kLargeBlockBytes and more are
// always mapped on their own, so freeing one returns it to the system at once.
void ReturnLargeBlocksAtOnce();

inline constexpr int kLargeBlockBytes = 1 << 20;

}  // namespace Quarlo::Platform
