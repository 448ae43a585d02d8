#pragma once
// GIF files written during a test with giflib's encoder, frame by frame, so that each test shows
// exactly the placement, disposal, transparency, palette and interlacing it checks.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace Quarlo::Test {

// The global colour table of every test GIF: index 0 black, 1 red, 2 green, 3 blue.
inline constexpr uint8_t kGifBlack = 0, kGifRed = 1, kGifGreen = 2, kGifBlue = 3;

struct TestGifFrame {
  int left = 0, top = 0, width = 1, height = 1;
  std::vector<uint8_t> indices;  // width × height, row by row
  std::optional<int> delay;      // hundredths of a second; no value: no graphic control block
  int disposal = 0;
  int transparent = -1;  // transparent index, -1 for none
  bool interlace = false;
  std::vector<std::array<uint8_t, 3>> localTable = {};  // RGB; empty: the global table
};

struct TestGif {
  int width = 4, height = 4;   // the logical screen
  bool loopExtension = false;  // writes a NETSCAPE2.0 loop block (loop for ever)
  std::vector<TestGifFrame> frames;
  bool globalTable = true;
};

std::vector<uint8_t> EncodeGif(const TestGif& file);

// A frame of one colour index with a control block.
TestGifFrame FilledGifFrame(int left, int top, int width, int height, uint8_t index, int disposal = 0,
                            int delay = 10);

}  // namespace Quarlo::Test
