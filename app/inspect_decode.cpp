#include "app/inspect_decode.h"

#include <chrono>
#include <cstdio>

#include "core/loaded_picture.h"
#include "core/picture_list.h"

namespace App {

std::string DecodeColumns(const Quarlo::View::PictureItem& item, Quarlo::View::ZipReader* reader,
                          bool thumbnail) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  Quarlo::View::PicturePtr picture =
      Quarlo::View::LoadPicture(item, reader, Quarlo::View::DecodeOptions{}, thumbnail);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  char columns[160];
  std::snprintf(
      columns, sizeof columns, "\t%d\t%d\t%zu\t%s\t%d\t%d\t%u\t%d\t%.1f", picture->width, picture->height,
      picture->frames.size(), picture->format.empty() ? "-" : picture->format.c_str(), picture->bitsPerPixel,
      picture->hasTransparency ? 1 : 0, picture->metadata.orientation, static_cast<int>(picture->error), ms);
  return columns;
}

}  // namespace App
