#pragma once
// The extended grapheme cluster rules of Unicode (UAX #29) over small built-in property tables: enough to
// keep Hangul syllables and jamo sequences, combining marks, emoji with skin tones and joiners, and flags in
// one piece when no ICU is at hand.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace Quarlo::Widget::Models {

enum class GraphemeClass : uint8_t {
  Other,
  CR,
  LF,
  Control,
  Extend,
  ZWJ,
  SpacingMark,
  RegionalIndicator,
  L,
  V,
  T,
  LV,
  LVT,
  ExtendedPictographic,
};

GraphemeClass GraphemeClassOf(char32_t c);

// Every cluster boundary of UTF-8 text, from 0 to its size, in order. An invalid byte is a cluster of its
// own.
std::vector<size_t> GraphemeBoundaries(std::string_view text);

}  // namespace Quarlo::Widget::Models
