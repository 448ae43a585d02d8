#pragma once
// What the viewer probe decides from pixels read back from the X server: whether a window shows a picture
// yet, and whether it has gone on to another picture. Pixels are 0xRRGGBB; the probe reads only the
// window's centre row and centre column, which keeps a read-back well under a millisecond.

#include <cstddef>
#include <cstdint>
#include <span>

namespace Quarlo::Bench {

// A benchmark picture (bench_picture.h) fitted down to a window still shows hundreds of tinted colours
// along either centre line, also a portrait page that covers less than half of a landscape window's row.
// An empty window, a "Loading" text, a spinner or a tool bar show greys and a few dozen tints at most.
constexpr size_t kPictureColours = 160;
// A colour whose channels lie closer together than this is a grey (anti-aliased text is all greys).
constexpr int kGreySpread = 16;
// Another picture has replaced the one before when at least this share of the row's pixels changed by more
// than kChangedChannel in some channel; a repaint of the same picture changes none by that much.
constexpr double kChangedShare = 0.5;
constexpr int kChangedChannel = 60;

// How many distinct colours that are not greys the pixels hold.
size_t TintedColours(std::span<const uint32_t> pixels);
bool ShowsPicture(std::span<const uint32_t> row, std::span<const uint32_t> column);
// Whether the centre lines row and column show a picture other than the one whose centre row was
// beforeRow; a row of another length (the window was resized) counts as another picture.
bool ShowsOtherPicture(std::span<const uint32_t> beforeRow, std::span<const uint32_t> row,
                       std::span<const uint32_t> column);

}  // namespace Quarlo::Bench
