#pragma once
// The mark that tells the pages of the hold-Next archive apart on screen: a square in the middle of each page
// whose left half has the page's own colour and whose right half the complement of it. A colour read back
// from the screen names a page only when both halves agree, so a background, a placeholder or a half-drawn
// frame never passes for a page.

#include <cstdint>
#include <optional>

namespace Quarlo::Bench {

// Pages that have a mark of their own.
inline constexpr int kMarkedPages = 343;

// The left half's colour (0xRRGGBB) of page 0 .. kMarkedPages - 1.
uint32_t MarkColour(int page);
// The colour of the right half: every channel turned around.
uint32_t Complement(uint32_t rgb);
// The page whose mark shows left and right (screen colours, 0xRRGGBB), or nothing.
std::optional<int> PageOfMark(uint32_t left, uint32_t right);

}  // namespace Quarlo::Bench
