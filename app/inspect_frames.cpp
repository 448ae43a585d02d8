#include "app/inspect_frames.h"

#include <fmt/format.h>

#include "core/loaded_picture.h"

namespace App {

std::string FrameLines(const Quarlo::View::LoadedPicture& picture) {
  std::string lines;
  for (size_t index = 0; index < picture.frames.size(); ++index) {
    lines +=
        fmt::format("\t{}\t{}\t{}\n", index, picture.frames[index].delayMs, picture.framesTruncated ? 1 : 0);
  }
  return lines;
}

}  // namespace App
