// Caret and word stops without ICU.

#include "widget/models/simple_text_boundary.h"

#include <algorithm>
#include <vector>

#include "widget/input/ime_composition.h"
#include "widget/models/grapheme_break.h"

namespace Quarlo::Widget::Models {
namespace {

bool IsSpace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == ' ' || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

bool IsAsciiSymbol(char32_t c) {
  return c < 0x80 && c != '_' && !(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') &&
         !(c >= 'a' && c <= 'z');
}

// The class of the cluster that starts at start: that of its first character.
WordClass ClusterClass(std::string_view text, size_t start) {
  size_t at = start;
  return WordClassOf(Input::DecodeCodePoint(text, at));
}

// Symbols and ideographs are words of one cluster; other classes run on.
bool RunsOn(WordClass c) { return c != WordClass::Symbol && c != WordClass::Ideograph; }

}  // namespace

WordClass WordClassOf(char32_t c) {
  if (IsSpace(c)) return WordClass::Space;
  if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x20000 && c <= 0x2FFFF))
    return WordClass::Ideograph;
  if (c >= 0x3040 && c <= 0x30FF) return WordClass::Kana;
  if (IsAsciiSymbol(c) || (c >= 0x80 && c <= 0x9F) || (c >= 0x2000 && c <= 0x206F) ||
      (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFF0F))
    return WordClass::Symbol;
  return WordClass::Letter;
}

size_t SimpleTextBoundary::NextCharacterStop(std::string_view text, size_t index) const {
  const std::vector<size_t> stops = GraphemeBoundaries(text);
  const auto it = std::upper_bound(stops.begin(), stops.end(), index);
  return it == stops.end() ? text.size() : *it;
}

size_t SimpleTextBoundary::PreviousCharacterStop(std::string_view text, size_t index) const {
  const std::vector<size_t> stops = GraphemeBoundaries(text);
  const auto it = std::lower_bound(stops.begin(), stops.end(), std::min(index, text.size()));
  return it == stops.begin() ? 0 : *std::prev(it);
}

size_t SimpleTextBoundary::NextWordStop(std::string_view text, size_t index) const {
  if (index >= text.size()) return text.size();
  const std::vector<size_t> stops = GraphemeBoundaries(text);
  // The cluster that holds index decides the class of the word.
  auto it = std::upper_bound(stops.begin(), stops.end(), index);
  const WordClass word = ClusterClass(text, *std::prev(it));
  if (!RunsOn(word)) return *it;
  while (*it < text.size() && ClusterClass(text, *it) == word) ++it;
  return *it;
}

size_t SimpleTextBoundary::PreviousWordStop(std::string_view text, size_t index) const {
  index = std::min(index, text.size());
  if (index == 0) return 0;
  const std::vector<size_t> stops = GraphemeBoundaries(text);
  // The cluster just before index decides the class.
  auto it = std::prev(std::lower_bound(stops.begin(), stops.end(), index));
  const WordClass word = ClusterClass(text, *it);
  if (!RunsOn(word)) return *it;
  while (it != stops.begin() && ClusterClass(text, *std::prev(it)) == word) --it;
  return *it;
}

std::string SimpleTextBoundary::Name() const { return "simple"; }

}  // namespace Quarlo::Widget::Models
