#include "support/gif_builder.h"

#include <gif_lib.h>

#include <utility>

namespace Quarlo::Test {

namespace {

int Append(GifFileType* gif, const GifByteType* bytes, int count) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

ColorMapObject* MakeTable(const std::vector<std::array<uint8_t, 3>>& colours) {
  std::vector<GifColorType> table;
  for (const auto& [red, green, blue] : colours) table.push_back({red, green, blue});
  return GifMakeMapObject(int(table.size()), table.data());
}

void PutLoopExtension(GifFileType* gif) {
  static const uint8_t kName[] = "NETSCAPE2.0";
  static const uint8_t kLoop[] = {1, 0, 0};
  EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
  EGifPutExtensionBlock(gif, 11, kName);
  EGifPutExtensionBlock(gif, 3, kLoop);
  EGifPutExtensionTrailer(gif);
}

void PutFrame(GifFileType* gif, const TestGifFrame& frame) {
  if (frame.delay) {
    GraphicsControlBlock control{frame.disposal, false, *frame.delay, frame.transparent};
    GifByteType block[4];
    size_t length = EGifGCBToExtension(&control, block);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), block);
  }
  ColorMapObject* local = frame.localTable.empty() ? nullptr : MakeTable(frame.localTable);
  EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlace, local);
  GifFreeMapObject(local);
  std::vector<int> rows;
  if (frame.interlace) {
    for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
      for (int row = start; row < frame.height; row += step) rows.push_back(row);
    }
  } else {
    for (int row = 0; row < frame.height; ++row) rows.push_back(row);
  }
  for (int row : rows) {
    std::vector<GifPixelType> line(frame.indices.begin() + row * frame.width,
                                   frame.indices.begin() + (row + 1) * frame.width);
    EGifPutLine(gif, line.data(), frame.width);
  }
}

}  // namespace

std::vector<uint8_t> EncodeGif(const TestGif& file) {
  std::vector<uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, Append, &error);
  EGifSetGifVersion(gif, true);
  ColorMapObject* global =
      file.globalTable ? MakeTable({{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}) : nullptr;
  EGifPutScreenDesc(gif, file.width, file.height, 8, 0, global);
  GifFreeMapObject(global);
  if (file.loopExtension) PutLoopExtension(gif);
  for (const TestGifFrame& frame : file.frames) PutFrame(gif, frame);
  EGifCloseFile(gif, &error);
  return bytes;
}

TestGifFrame FilledGifFrame(int left, int top, int width, int height, uint8_t index, int disposal,
                            int delay) {
  TestGifFrame frame;
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.indices.assign(size_t(width) * height, index);
  frame.delay = delay;
  frame.disposal = disposal;
  return frame;
}

}  // namespace Quarlo::Test
